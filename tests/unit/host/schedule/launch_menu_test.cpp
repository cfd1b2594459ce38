// The launch menu built from its settings, the tag of each item and what it
// starts, the hot key and position settings, and the entry dialog's load and
// save.
#include <gtest/gtest.h>

#include <map>

#include "host/schedule/launch_entry_form.h"
#include "host/schedule/launch_menu.h"

namespace maqo::host::schedule {
namespace {

// A "LUNCHMENU" section in memory.
class Section {
 public:
  Section(std::initializer_list<std::pair<const std::u16string, std::u16string>> values) : values_(values) {}
  LaunchSettingReader reader() const {
    return [this](std::u16string_view key) {
      const auto found = values_.find(std::u16string(key));
      return found == values_.end() ? std::u16string() : found->second;
    };
  }
  void apply(const std::vector<LaunchSettingWrite>& writes) {
    for (const LaunchSettingWrite& w : writes) {
      if (w.value) values_[w.key] = *w.value;
      else values_.erase(w.key);
    }
  }
  const std::map<std::u16string, std::u16string>& values() const { return values_; }

 private:
  std::map<std::u16string, std::u16string> values_;
};

std::vector<std::u16string> Captions(const std::vector<LaunchMenuItem>& items) {
  std::vector<std::u16string> captions;
  for (const LaunchMenuItem& item : items) captions.push_back(item.caption);
  return captions;
}

TEST(LaunchMenuBuild, ItemsUpToTheHighestSetEntry) {
  const struct {
    Section section;
    std::vector<std::u16string> captions;
  } cases[] = {
      {{}, {}},
      {{{u"T3", u"t"}}, {u"&0. ", u"&1. ", u"&2. t"}},
      // A file entry without a title keeps its place.
      {{{u"T1", u"a"}, {u"S2", u"b.mqs"}}, {u"&0. a", u"&1. "}},
      {{{u"T11", u"k"}}, {u"&0. ", u"&1. ", u"&2. ", u"&3. ", u"&4. ", u"&5. ", u"&6. ", u"&7. ", u"&8. ", u"&9. ", u"&A. k"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Captions(BuildLaunchMenu(c.section.reader())), c.captions);

  Section last{{u"T35", u"z"}};
  const auto items = BuildLaunchMenu(last.reader());
  ASSERT_EQ(items.size(), 35u);
  EXPECT_EQ(items.back().caption, u"&Y. z");
  EXPECT_EQ(items.back().tag, 34);
}

TEST(LaunchMenuBuild, SubmenuItemsAndTheirTags) {
  Section section{{u"T4", u">>"}, {u"T4-C1", u"one"}, {u"S4-C2", u"two.mqs"}, {u"T4-C2", u"two"}, {u"S4-C3", u"x.exe"},
                  {u"T5", u"file"}, {u"S5", u"f.mqs"}, {u"T5-C1", u"ignored"}, {u"P4", u"1"}};
  const auto items = BuildLaunchMenu(section.reader());
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[3].caption, u"&3. >>");
  EXPECT_EQ(Captions(items[3].children), (std::vector<std::u16string>{u"&0. one", u"&1. two", u"&2. "}));
  EXPECT_EQ(items[3].children[1].tag, 141);
  EXPECT_TRUE(items[4].children.empty());  // an entry with a target is no submenu

  const struct {
    int tag;
    std::optional<std::u16string> target;
    bool separate;
  } cases[] = {
      {141, u"two.mqs", true}, {142, u"x.exe", true}, {4, u"f.mqs", false}, {3, u"", true},
      {-1, std::nullopt, false}, {36 * 35, std::nullopt, false},
  };
  for (const auto& c : cases) {
    const auto target = LaunchTargetOfTag(c.tag, section.reader());
    ASSERT_EQ(target.has_value(), c.target.has_value()) << c.tag;
    if (!target) continue;
    EXPECT_EQ(target->target, *c.target) << c.tag;
    EXPECT_EQ(target->separateProcess, c.separate) << c.tag;
  }
}

TEST(LaunchMenuSettings, HotKeyAndPosition) {
  const struct {
    const char16_t* text;
    int key, modifier;
  } keys[] = {{u"", 14, 0}, {u"14,0", 14, 0}, {u"3,2", 3, 2}, {u"-1,2", 14, 2}, {u"5", 5, 0},
              {u"5,-1", 5, 0}, {u"99,9", 14, 0}, {u"x,y", 14, 0}};
  for (const auto& k : keys) {
    const LaunchHotKey parsed = ParseLaunchHotKey(k.text);
    EXPECT_EQ(parsed.keyIndex, k.key);
    EXPECT_EQ(parsed.modifierIndex, k.modifier);
  }
  EXPECT_EQ(LaunchHotKeyText({3, 2}), u"3,2");
  const LaunchMenuPosition at = ParseLaunchMenuPosition(u"-10, 200");
  EXPECT_EQ(at.x, -10);
  EXPECT_EQ(at.y, 200);
  EXPECT_EQ(ParseLaunchMenuPosition(u"oops").x, 0);
}

TEST(LaunchEntryDialog, LoadsAndSavesEachKind) {
  Section section{{u"T2", u"old"}, {u"S2", u"old.mqs"}, {u"P2", u"1"}};
  LaunchEntryForm file = LoadLaunchEntryForm(2, section.reader());
  EXPECT_EQ(file.kind, LaunchEntryKind::File);
  EXPECT_EQ(file.target, u"old.mqs");
  EXPECT_TRUE(file.separateProcess);
  EXPECT_EQ(LoadLaunchEntryForm(3, section.reader()).kind, LaunchEntryKind::None);

  // The entry becomes a submenu without a name; only filled rows are kept.
  LaunchEntryForm submenu;
  submenu.kind = LaunchEntryKind::Submenu;
  submenu.title = u"  ";
  submenu.rows[0] = {u" a ", u" a.mqs "};
  submenu.rows[2] = {u"", u"c.mqs"};
  section.apply(SaveLaunchEntryForm(2, submenu));
  EXPECT_EQ(section.values(), (std::map<std::u16string, std::u16string>{{u"T2", u">>"}, {u"S2", u""}, {u"P2", u"0"},
                                                                        {u"T2-C1", u"a"}, {u"S2-C1", u"a.mqs"},
                                                                        {u"T2-C3", u""}, {u"S2-C3", u"c.mqs"}}));
  const LaunchEntryForm reloaded = LoadLaunchEntryForm(2, section.reader());
  EXPECT_EQ(reloaded.kind, LaunchEntryKind::Submenu);
  EXPECT_EQ(reloaded.title, u">>");
  EXPECT_EQ(reloaded.rows[2].target, u"c.mqs");

  // None removes the entry and its rows.
  section.apply(SaveLaunchEntryForm(2, LaunchEntryForm{}));
  EXPECT_TRUE(section.values().empty());
}

}  // namespace
}  // namespace maqo::host::schedule
