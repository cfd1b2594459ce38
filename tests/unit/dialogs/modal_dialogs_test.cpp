// The modal dialogs without windows: placement, the message dialog's buttons,
// results and links, the select dialog's arguments and results, and the
// pop-up menu's tree.
#include <gtest/gtest.h>

#include "dialogs/modal/dialog_placement.h"
#include "dialogs/modal/message_box_model.h"
#include "dialogs/modal/popup_menu_model.h"
#include "dialogs/modal/select_box_model.h"

namespace maqo::dialogs {
namespace {

TEST(DialogPlacement, ExplicitPositionIsPulledOntoTheDesktop) {
  // Two monitors side by side, the second one shorter and left of the first.
  const std::vector<ScreenRect> monitors{{0, 0, 1920, 1080}, {-1280, 0, 0, 1024}};
  const struct {
    DialogPoint asked;
    int width, height;
    DialogPoint placed;
  } cases[] = {
      {{100, 200}, 300, 100, {100, 200}},
      {{1800, 1050}, 300, 100, {1620, 980}},   // right and bottom edges pulled in
      {{-2000, -50}, 300, 100, {-1280, 0}},    // left and top raised
      {{-1280, 500}, 300, 100, {-1280, 500}},  // on the second monitor
      {{0, 0}, 4000, 2000, {-1280, 0}},        // larger than the desktop: top-left stays visible
  };
  for (const auto& c : cases) {
    PlacementRequest request{c.asked, c.width, c.height, monitors, monitors[0], std::nullopt};
    EXPECT_EQ(PlaceDialog(request), c.placed) << c.asked.x << "," << c.asked.y;
  }
}

TEST(DialogPlacement, CentredOnHomeOrPreferredMonitor) {
  const std::vector<ScreenRect> monitors{{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}};
  PlacementRequest request{std::nullopt, 301, 101, monitors, monitors[0], std::nullopt};
  EXPECT_EQ(PlaceDialog(request), (DialogPoint{809, 489}));
  request.preferredMonitor = monitors[1];
  EXPECT_EQ(PlaceDialog(request), (DialogPoint{2409, 461}));
  // A monitor list that is empty (the query failed) still centres on the home monitor.
  request.monitors.clear();
  request.preferredMonitor.reset();
  EXPECT_EQ(PlaceDialog(request), (DialogPoint{809, 489}));
}

TEST(MessageBox, ButtonSetsAndOrder) {
  const struct {
    int64_t set;
    std::vector<int> values;
  } cases[] = {
      {0, {1}},
      {-5, {1}},
      {128, {1}},  // no button bit at all: OK so the dialog can be closed
      {4 + 8, {4, 8}},
      {2 + 1 + 8 + 4, {4, 8, 1, 2}},
      {127, {4, 8, 1, 2, 16, 32, 64}},
  };
  for (const auto& c : cases) {
    std::vector<int> values;
    for (const MessageButton& b : ShownButtons(c.set)) values.push_back(b.value);
    EXPECT_EQ(values, c.values) << c.set;
  }
}

TEST(MessageBox, ButtonRowWidensNarrowForms) {
  EXPECT_EQ(LayOutButtonRow(200, 7).clientWidth, 16 + 630 + 10);
  EXPECT_EQ(LayOutButtonRow(200, 7).firstLeft, 20);
  EXPECT_EQ(LayOutButtonRow(400, 2).clientWidth, 400);
  EXPECT_EQ(LayOutButtonRow(400, 2).firstLeft, (400 - 196 + 24) / 2);
}

TEST(MessageBox, ModalResultsMapToButtonValues) {
  const std::pair<int, int> cases[] = {{1, 1}, {2, 2}, {6, 4}, {7, 8}, {3, 16}, {4, 32}, {5, 64}, {0, 2}, {99, 2}};
  for (auto [modal, value] : cases) EXPECT_EQ(MessageResultFor(modal), value) << modal;
}

TEST(MessageBox, LongMessagesAreCut) {
  EXPECT_EQ(CutLongMessage(std::u16string(64000, u'x')).size(), 64000u);
  const std::u16string cut = CutLongMessage(std::u16string(64001, u'x'));
  EXPECT_EQ(cut.size(), 64003u);
  EXPECT_EQ(cut.substr(63999), u"x...");
}

TEST(MessageBox, LinksFoundInTheMessage) {
  const struct {
    std::u16string message;
    std::vector<MessageLink> links;
  } cases[] = {
      {u"see http://a.example/x, then", {{u"http://a.example/x", 0, u"see "}}},
      {u"http://a.example http://a.example", {{u"http://a.example", 0, u""}, {u"http://a.example", 0, u"Http://a.example "}}},
      {u"one\ntwo https://b.example)\r\nmailto:c@d", {{u"https://b.example", 1, u"two "}, {u"mailto:c@d", 2, u""}}},
      {u"x\ta http://t.example", {{u"http://t.example", 0, u"x       a "}}},
      // The same tabbed text on an earlier line is expanded too; the link is still found.
      {u"\tq\n\tq http://u.example", {{u"http://u.example", 1, u"        q "}}},
      {u"no links here", {}},
  };
  for (const auto& c : cases) {
    std::u16string text = c.message;
    EXPECT_EQ(FindMessageLinks(text), c.links);
  }
}

TEST(MessageBox, LinkSearchKeepsTheLabelText) {
  std::u16string text = u"a\nb\r\tc http://x";
  FindMessageLinks(text);
  EXPECT_EQ(text, u"a\r\nb\r\n        c Http://x");
}

SelectArgument Plain(std::u16string text) { return {{std::move(text)}, false}; }

TEST(SelectBox, ArgumentsSplitByValue) {
  const struct {
    const char* name;
    std::vector<SelectArgument> arguments;
    std::optional<DialogPoint> position;
    std::u16string message;
    std::vector<std::u16string> items;
  } cases[] = {
      {"message and items", {Plain(u"pick"), Plain(u"a"), Plain(u"b")}, std::nullopt, u"pick", {u"a", u"b"}},
      {"position", {Plain(u"100"), Plain(u"200"), Plain(u"pick"), Plain(u"a")}, DialogPoint{100, 200}, u"pick", {u"a"}},
      {"empty message keeps its slot", {Plain(u""), Plain(u"a"), Plain(u"")}, std::nullopt, u"", {u"a"}},
      {"position and empty message", {Plain(u"1.9"), Plain(u"-2"), Plain(u""), Plain(u"a")}, DialogPoint{1, -2}, u"", {u"a"}},
      {"numeric message and item, nothing after", {Plain(u"5"), Plain(u"6")}, std::nullopt, u"5", {u"6"}},
      {"array of items", {Plain(u"m"), {{u"x", u"", u"y"}, true}}, std::nullopt, u"m", {u"x", u"y"}},
      {"array in the message slot", {{{u"m", u"x"}, true}, Plain(u"y")}, std::nullopt, u"m", {u"x", u"y"}},
      {"numeric array is no position", {{{u"1", u"2"}, true}, Plain(u"3"), Plain(u"a")}, std::nullopt, u"1", {u"2", u"3", u"a"}},
  };
  for (const auto& c : cases) {
    const SelectContent content = DecodeSelectArguments(1, c.arguments);
    EXPECT_EQ(content.position, c.position) << c.name;
    EXPECT_EQ(content.message, c.message) << c.name;
    EXPECT_EQ(content.items, c.items) << c.name;
  }
}

TEST(SelectBox, AtMost31ItemsUnlessTheResultIsText) {
  std::vector<SelectArgument> arguments{Plain(u"m")};
  for (int i = 0; i < 40; ++i) arguments.push_back(Plain(u"i"));
  EXPECT_EQ(DecodeSelectArguments(1, arguments).items.size(), 31u);
  EXPECT_EQ(DecodeSelectArguments(1 + kSelectString, arguments).items.size(), 40u);
  EXPECT_EQ(DecodeSelectArguments(1 + kSelectNumber, arguments).items.size(), 40u);
  // A type with bits above the result-form bits still counts as an integer result.
  EXPECT_EQ(DecodeSelectArguments(256 + 1, arguments).items.size(), 31u);
}

TEST(SelectBox, KindFromType) {
  const std::pair<int64_t, SelectKind> cases[] = {
      {1, SelectKind::Buttons},          {2, SelectKind::CheckBoxes},  {4, SelectKind::RadioButtons},
      {6, SelectKind::CheckBoxes},       {8, SelectKind::DropDownList}, {16, SelectKind::ListBox},
      {2 + 16, SelectKind::CheckBoxes},  {64, SelectKind::Buttons},    {0, SelectKind::Buttons},
  };
  for (auto [type, kind] : cases) EXPECT_EQ(SelectKindOf(type), kind) << type;
}

TEST(SelectBox, Results) {
  const std::vector<std::u16string> items{u"a", u"b", u"c"};
  const struct {
    int64_t type;
    std::vector<size_t> chosen;
    SelectResult result;
  } cases[] = {
      {2, {0, 2}, int64_t{5}},
      {2 + kSelectString, {0, 2}, std::u16string(u"a\tc")},
      {4 + kSelectNumber, {1}, int64_t{1}},
      {16 + kSelectNumber, {0, 1}, std::u16string(u"0\t1")},
      {16 + kSelectNumber, {}, std::u16string()},
      {1 + kSelectString + kSelectNumber, {2}, std::u16string(u"c")},
      {2, {}, int64_t{0}},
  };
  for (const auto& c : cases) EXPECT_EQ(SelectResultFor(c.type, c.chosen, items), c.result) << c.type;
  EXPECT_EQ(SelectCancelledResult(), SelectResult(int64_t{-1}));
  EXPECT_EQ(SelectTimedOutResult(1), SelectResult(int64_t{0}));
  EXPECT_EQ(SelectTimedOutResult(1 + kSelectString), SelectResult(std::u16string()));
}

TEST(PopupMenu, BracesNestItemsNumberedByPlace) {
  const auto menu = BuildPopupMenu({u"a", u"b", u"{c", u"d}", u"e"});
  ASSERT_EQ(menu.size(), 3u);
  EXPECT_EQ(menu[1].caption, u"b");
  EXPECT_TRUE(menu[1].opensSubmenu());
  ASSERT_EQ(menu[1].children.size(), 2u);
  EXPECT_EQ(menu[1].children[1].caption, u"d");
  EXPECT_EQ(menu[1].children[1].number, 3);
  EXPECT_EQ(menu[2].caption, u"e");
  EXPECT_EQ(menu[2].number, 4);
}

TEST(PopupMenu, DepthIsLimitedAndStrayBracesIgnored) {
  std::vector<std::u16string> items{u"top"};
  for (int i = 0; i < 20; ++i) items.push_back(u"{x");
  const auto deep = BuildPopupMenu(items);
  int depth = 0;
  for (const PopupMenuItem* item = &deep[0]; item->opensSubmenu(); item = &item->children.back()) ++depth;
  EXPECT_EQ(depth, kMaxMenuDepth);

  const auto stray = BuildPopupMenu({u"{a}}", u"b}"});
  ASSERT_EQ(stray.size(), 2u);
  EXPECT_EQ(stray[0].caption, u"a");
  EXPECT_FALSE(stray[0].opensSubmenu());
}

}  // namespace
}  // namespace maqo::dialogs
