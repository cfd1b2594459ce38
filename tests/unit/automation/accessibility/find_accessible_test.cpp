#include "automation/accessibility/find_accessible.h"

#include <gtest/gtest.h>

#include "automation/accessibility/accessible_roles.h"
#include "automation/accessibility/accessible_text.h"
#include "platform/fake/fake_accessible.h"

namespace maqo::automation::accessibility {
namespace {

using platform::fake::FakeAccessibleRow;
using platform::fake::FakeAccessibleTree;
namespace sk = search_kind;

FakeAccessibleRow Row(int id, int parent, int r, std::u16string name, uint32_t st = 0, int left = 0) {
  return platform::fake::MakeFakeRow(id, parent, r, std::move(name), st, {left, id * 20, 80, 16});
}

// A dialog: two "Save" buttons (the first unavailable), check boxes, edits.
std::vector<FakeAccessibleRow> Dialog() {
  auto rows = std::vector<FakeAccessibleRow>{
      Row(0, -1, role::kClient, u"Dialog"),
      Row(1, 0, role::kPushButton, u"&Save", state::kUnavailable),
      Row(2, 0, role::kPushButton, u"&Save"),
      Row(3, 0, role::kPushButton, u"Save"),
      Row(4, 0, role::kCheckButton, u"Mixed one", state::kMixed),
      Row(5, 0, role::kCheckButton, u"Ticked", state::kChecked),
      Row(6, 0, role::kText, u"Field", state::kFocused),
      Row(7, 0, role::kStaticText, u"Label"),
      Row(8, 0, role::kText, u"ReadOnly", state::kReadOnly),
  };
  rows[6].value = u"abc";
  return rows;
}

AccessibleOutcome Find(FakeAccessibleTree& tree, uint32_t kind, std::u16string text, int number = 1, int mode = 1,
                       AccessibleResume* resume = nullptr) {
  AccessibleResume local;
  AccessibleSearch s;
  s.kind = kind;
  s.text = std::move(text);
  s.number = number;
  s.mode = mode;
  auto root = tree.root();
  return FindAccessible(*root, s, resume ? *resume : local, AccessibleWalkEnv{});
}

TEST(FindAccessible, ClickSkipsUnavailableAndContinueAdvances) {
  FakeAccessibleTree tree(Dialog());
  AccessibleResume resume;
  EXPECT_TRUE(Find(tree, sk::kClick, u"SAVE", 1, 1, &resume).found);
  EXPECT_TRUE(Find(tree, sk::kClick | sk::kContinue, u"SAVE", 1, 1, &resume).found);
  EXPECT_FALSE(Find(tree, sk::kClick | sk::kContinue, u"SAVE", 1, 1, &resume).found);
  EXPECT_TRUE(Find(tree, sk::kClick, u"SAVE", 1, 1, &resume).found);  // without it: the first again
  EXPECT_EQ(tree.log, (std::vector<std::u16string>{u"focus &Save", u"action &Save", u"focus Save", u"action Save",
                                                   u"focus &Save", u"action &Save"}));
}

TEST(FindAccessible, FromLastTakesTheLastMatchFirst) {
  FakeAccessibleTree tree(Dialog());
  for (auto& id : {1, 2, 3}) tree.row(id).byNavigation = false;
  EXPECT_TRUE(Find(tree, sk::kClick | sk::kFromLast, u"SAVE").found);
  EXPECT_EQ(tree.log.back(), u"action Save");
}

TEST(FindAccessible, AlreadyInDesiredStateIsNotClicked) {
  FakeAccessibleTree tree(Dialog());
  EXPECT_TRUE(Find(tree, sk::kClick, u"TICKED", 1, 1).found);
  EXPECT_EQ(tree.log, std::vector<std::u16string>{u"focus Ticked"});
}

TEST(FindAccessible, CheckStateTexts) {
  struct Case { std::u16string name; std::u16string state; } cases[] = {
      {u"MIXED ONE", u"2"}, {u"TICKED", u"1"}, {u"SAVE", u"0"}};
  for (const auto& c : cases) {
    FakeAccessibleTree tree(Dialog());
    auto out = Find(tree, sk::kCheckQuery, c.name, 1, 0);
    EXPECT_TRUE(out.found);
    EXPECT_EQ(out.text, c.state);
    EXPECT_TRUE(tree.log.empty());
  }
}

TEST(FindAccessible, EditReadsAppendsAndReplaces) {
  struct Case { int number; int mode; std::u16string text; std::u16string expected; } cases[] = {
      {1, 0, u"", u"abc"}, {0, 0, u"", u"abc"}, {1, 1, u"x", u"abcx"}, {1, 2, u"x", u"x"}};
  for (const auto& c : cases) {
    FakeAccessibleTree tree(Dialog());
    auto out = Find(tree, sk::kEdit, c.text, c.number, c.mode);
    EXPECT_TRUE(out.found);
    EXPECT_EQ(out.text, c.expected);
    EXPECT_EQ(tree.row(6).value, c.mode ? c.expected : u"abc");
  }
  FakeAccessibleTree tree(Dialog());
  Find(tree, sk::kEditNoFocus, u"y", 1, 2);
  EXPECT_EQ(tree.log, std::vector<std::u16string>{u"value Field=y"});
}

TEST(FindAccessible, StaticTextsCountLabelsAndReadOnlyTexts) {
  FakeAccessibleTree tree(Dialog());
  EXPECT_EQ(Find(tree, sk::kStatic, u"", 1, 0).text, u"Label");
  EXPECT_EQ(Find(tree, sk::kStatic, u"", 2, 0).text, u"ReadOnly");
  EXPECT_FALSE(Find(tree, sk::kStatic, u"", 3, 0).found);
}

TEST(FindAccessible, CollectListsElementsReachableTwiceOnceAndRespectsMaximum) {
  FakeAccessibleTree tree(Dialog());
  auto all = Find(tree, sk::kCollectClickable, u"", 0, 0);
  // Each element once although it is reachable by navigation and by index;
  // the unavailable "&Save" only when asked for.
  EXPECT_EQ(all.collected, (std::vector<std::u16string>{u"Save", u"Save", u"Mixed one", u"Ticked"}));
  auto withUnavailable = Find(tree, sk::kCollectClickable, u"", 0, 0x4000000);
  EXPECT_EQ(withUnavailable.collected.size(), 5u);
  AccessibleSearch s;
  s.kind = sk::kCollectText;
  s.maxCount = 1;
  AccessibleResume resume;
  auto root = tree.root();
  EXPECT_EQ(FindAccessible(*root, s, resume, {}).collected, std::vector<std::u16string>{u"Label"});
}

TEST(FindAccessible, WrappingNavigationEndsAndStopRequestEndsWalk) {
  FakeAccessibleTree tree(Dialog());
  tree.navigationWraps = true;
  EXPECT_EQ(Find(tree, sk::kCollectClickable, u"", 0, 0).collected.size(), 4u);
  AccessibleSearch s;
  s.kind = sk::kClick;
  s.text = u"SAVE";
  AccessibleResume resume;
  auto root = tree.root();
  EXPECT_FALSE(FindAccessible(*root, s, resume, {[] { return true; }, nullptr, nullptr}).found);
  EXPECT_TRUE(tree.log.empty());
}

TEST(AccessibleText, CleaningAndClickableRoles) {
  struct Case { std::u16string in, out; } cases[] = {
      {u"  a\u4383b ", u"a b"}, {u",,,", u""}, {u"\u3000\u3000", u""}, {u"--x", u"--x"}, {u"|", u""}};
  for (const auto& c : cases) EXPECT_EQ(CleanElementText(c.in), c.out);
  EXPECT_TRUE(IsClickable(role::kLink, 0));
  EXPECT_FALSE(IsClickable(role::kText, 0));
  EXPECT_TRUE(IsClickable(role::kText, state::kLinked));
  EXPECT_TRUE(IsClickable(role::kClient, state::kFocusable));
  EXPECT_FALSE(IsClickable(role::kClient, state::kFocusable | state::kReadOnly));
}

TEST(AccessibleText, ElementTextRule) {
  EXPECT_EQ(ElementText(TextSource::Default, role::kPushButton, u"n", u"v", false), u"n");
  EXPECT_EQ(ElementText(TextSource::Default, role::kPushButton, u"", u"v", false), u"v");
  EXPECT_EQ(ElementText(TextSource::Default, role::kCell, u"n", u"v", false), u"v");
  EXPECT_EQ(ElementText(TextSource::Default, role::kText, u"n", u"v", false), u"n");
  EXPECT_EQ(ElementText(TextSource::Default, role::kText, u"n", u"v", true), u"v");
  EXPECT_EQ(ElementText(TextSource::Default, role::kStaticText, u"n", u"", false), u"n");
  EXPECT_EQ(ElementText(TextSource::Default, role::kCell, u"n", std::nullopt, false), u"n");
  EXPECT_EQ(ElementText(TextSource::ValueOnly, role::kPushButton, u"n", u"v", false), u"v");
  EXPECT_EQ(ElementText(TextSource::NameOnly, role::kCell, u"n", u"v", false), u"n");
}

TEST(AccessibleText, NameMatchReadsPrivateBlankAsSpace) {
  controls::ItemQuery q{u"SAVE AS", false, false};
  EXPECT_TRUE(AccNameMatches(u"&Save as...", q, nullptr));
  EXPECT_TRUE(AccNameMatches(u"Save\uF8F0as", q, nullptr));
  EXPECT_FALSE(AccNameMatches(u"Save", q, nullptr));
  EXPECT_TRUE(AccNameMatches(u"Save as copy", controls::ItemQuery{u"SAVE AS", true, false}, nullptr));
}

}  // namespace
}  // namespace maqo::automation::accessibility
