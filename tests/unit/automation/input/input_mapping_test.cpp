// The pure rules of input synthesis: key mapping, hot-key modifier bits,
// posted-key lParams, the held-input texts and the lock's hook decisions.
#include <gtest/gtest.h>

#include "automation/input/held_input.h"
#include "automation/input/hotkey_table.h"
#include "automation/input/key_mapping.h"
#include "automation/input/lock_filter.h"

namespace maqo::automation {
namespace {

TEST(InputKeyMapping, ExtendedKeysAndCharacters) {
  struct Case {
    int code;
    MappedKey expected;
  };
  const Case cases[] = {
      {65, {65, false, false}},      {13, {13, false, false}},   {901, {13, true, false}},
      {161, {16, true, false}},      {163, {17, true, false}},   {165, {18, true, false}},
      {160, {160, false, false}},    {16, {16, false, false}},   {37, {37, true, false}},
      {40, {40, true, false}},       {33, {33, true, false}},    {36, {36, true, false}},
      {45, {45, true, false}},       {46, {46, true, false}},    {111, {111, true, false}},
      {106, {106, false, false}},    {256, {256, false, true}},  {0x3042, {0x3042, false, true}},
      {0x1F600, {0x1F600, false, true}},
  };
  for (const Case& c : cases) {
    const MappedKey got = MapKey(c.code);
    EXPECT_EQ(got.virtualKey, c.expected.virtualKey) << c.code;
    EXPECT_EQ(got.extended, c.expected.extended) << c.code;
    EXPECT_EQ(got.character, c.expected.character) << c.code;
  }
}

TEST(InputKeyMapping, HotKeyModifierBitsAndShortcutModifiers) {
  const std::pair<int, uint32_t> bits[] = {{18, 1}, {165, 1}, {164, 0}, {17, 2}, {162, 2}, {163, 2}, {16, 4},
                                           {160, 4}, {161, 4}, {91, 8}, {92, 8}, {65, 0}, {13, 0}};
  for (auto [code, bit] : bits) EXPECT_EQ(HotKeyModifierOf(code), bit) << code;
  for (int code : {16, 17, 18, 91, 92, 160, 161, 162, 163, 164, 165}) EXPECT_TRUE(IsShortcutModifier(code)) << code;
  for (int code : {15, 19, 90, 93, 159, 166, 65}) EXPECT_FALSE(IsShortcutModifier(code)) << code;
}

TEST(InputKeyMapping, PostedKeyLParams) {
  EXPECT_EQ(KeyDownLParam(0x1E, false), 0x001E0001u);
  EXPECT_EQ(KeyDownLParam(0x1C, true), 0x011C0001u);
  EXPECT_EQ(KeyUpLParam(0x1E, false), 0xC01E0001u);
  EXPECT_EQ(KeyUpLParam(0x1C, true), 0xC11C0001u);
}

TEST(InputHeldList, TextsRoundTripAndEntriesAreUnique) {
  EXPECT_EQ(HeldInputList::buttonText(HeldButton::Left, 0), u"LEFTDOWN");
  EXPECT_EQ(HeldInputList::buttonText(HeldButton::Middle, 0x1234), u"MIDDLEDOWN,4660");
  EXPECT_EQ(HeldInputList::keyText(16, 0), u"KBD16");
  EXPECT_EQ(HeldInputList::keyText(65, 77), u"KBD65,77");
  const auto key = HeldInputList::parse(u"KBD65,77");
  ASSERT_TRUE(key);
  EXPECT_FALSE(key->button);
  EXPECT_EQ(key->keyCode, 65);
  EXPECT_EQ(key->directWindow, 77u);
  const auto right = HeldInputList::parse(u"RIGHTDOWN");
  ASSERT_TRUE(right && right->button);
  EXPECT_EQ(*right->button, HeldButton::Right);
  for (const char16_t* bad : {u"", u"KBD", u"KBDx", u"LEFTDOWN,", u"UPDOWN", u"KBD1,2x"})
    EXPECT_FALSE(HeldInputList::parse(bad)) << std::string(bad, bad + std::char_traits<char16_t>::length(bad)).size();

  HeldInputList list;
  list.add(u"KBD16");
  list.add(u"KBD16");
  list.add(u"LEFTDOWN");
  EXPECT_EQ(list.entries().size(), 2u);
  list.remove(u"KBD16");
  list.remove(u"KBD99");
  EXPECT_EQ(list.takeAll(), std::vector<std::u16string>{u"LEFTDOWN"});
  EXPECT_TRUE(list.entries().empty());
}

TEST(InputHotKeyTable, SameKeyReusesItsSlotAndPressesFindWhatTheyWouldTrigger) {
  HotKeyTable table;
  const int q = table.slotFor(81, 3);
  const int w = table.slotFor(87, 4);
  EXPECT_EQ(table.slotFor(81, 3), q);
  EXPECT_NE(q, w);
  for (int slot : {q, w}) {
    table.at(slot)->function = u"F";
    table.at(slot)->registered = true;
  }
  EXPECT_EQ(table.triggeredBy(81), std::vector<int>{q});   // the key itself
  EXPECT_EQ(table.triggeredBy(17), std::vector<int>{q});   // Ctrl is in Ctrl+Alt
  EXPECT_EQ(table.triggeredBy(165), std::vector<int>{q});  // right Alt
  EXPECT_EQ(table.triggeredBy(160), std::vector<int>{w});  // Shift
  EXPECT_TRUE(table.triggeredBy(65).empty());
  table.at(q)->function.clear();  // a freed slot triggers nothing
  EXPECT_TRUE(table.triggeredBy(81).empty());
  EXPECT_EQ(table.activeSlots(), std::vector<int>{w});
}

// ---- the lock's hooks ----

constexpr uint32_t kKeyDown = 0x100, kKeyUp = 0x101, kSysKeyDown = 0x104, kMouseMove = 0x200, kLDown = 0x201,
                   kLUp = 0x202, kRDown = 0x204;

struct HookWorld {
  platform::WindowHandle foreground = 0;
  platform::WindowHandle under = 0;
  int removals = 0;
  LockFilter filter(platform::WindowHandle protectedWindow) {
    return LockFilter(
        protectedWindow, [this] { return foreground; }, [this](int, int) { return under; }, [this] { ++removals; });
  }
};

platform::HookEvent key(uint32_t message, uint32_t vk, bool ours = false) { return {message, vk, 0, 0, ours}; }
platform::HookEvent click(uint32_t message, bool ours = false) { return {message, 0, 5, 5, ours}; }

TEST(InputLockFilter, WithoutProtectedWindowEverythingButOurOwnInputIsSwallowed) {
  using platform::HookVerdict;
  HookWorld world;
  LockFilter filter = world.filter(0);
  EXPECT_EQ(filter.keyboard(key(kKeyDown, 65)), HookVerdict::Swallow);
  EXPECT_EQ(filter.keyboard(key(kKeyDown, 65, true)), HookVerdict::Pass);
  EXPECT_EQ(filter.mouse(click(kMouseMove)), HookVerdict::Swallow);
  EXPECT_EQ(filter.mouse(click(kLDown)), HookVerdict::Swallow);
  EXPECT_EQ(filter.mouse(click(kLDown, true)), HookVerdict::Pass);
}

TEST(InputLockFilter, CtrlAltDeleteRemovesTheHooks) {
  using platform::HookVerdict;
  HookWorld world;
  LockFilter filter = world.filter(0);
  filter.keyboard(key(kKeyDown, 162));
  filter.keyboard(key(kSysKeyDown, 165));
  EXPECT_EQ(world.removals, 0);
  EXPECT_EQ(filter.keyboard(key(kKeyDown, 46)), HookVerdict::Pass);
  EXPECT_EQ(world.removals, 1);
  // A released key does not count.
  HookWorld other;
  LockFilter second = other.filter(0);
  second.keyboard(key(kKeyDown, 163));
  second.keyboard(key(kKeyUp, 163));
  second.keyboard(key(kKeyDown, 164));
  second.keyboard(key(kKeyDown, 46));
  EXPECT_EQ(other.removals, 0);
}

TEST(InputLockFilter, ProtectedWindowLocksOnlyItself) {
  using platform::HookVerdict;
  HookWorld world;
  const platform::WindowHandle guarded = 0x50;
  LockFilter filter = world.filter(guarded);
  // Keys: swallowed only while the protected window is in front.
  world.foreground = 0x60;
  EXPECT_EQ(filter.keyboard(key(kKeyDown, 65)), HookVerdict::Pass);
  world.foreground = guarded;
  EXPECT_EQ(filter.keyboard(key(kKeyDown, 65)), HookVerdict::Swallow);
  // Mouse: moves pass; presses over the window are swallowed.
  world.under = guarded;
  EXPECT_EQ(filter.mouse(click(kMouseMove)), HookVerdict::Pass);
  EXPECT_EQ(filter.mouse(click(kLDown)), HookVerdict::Swallow);
  EXPECT_EQ(filter.mouse(click(kLUp)), HookVerdict::Swallow);
  // A press elsewhere lets one left release over the window through.
  world.under = 0x70;
  EXPECT_EQ(filter.mouse(click(kLDown)), HookVerdict::Pass);
  world.under = guarded;
  EXPECT_EQ(filter.mouse(click(kLUp)), HookVerdict::Pass);
  EXPECT_EQ(filter.mouse(click(kLUp)), HookVerdict::Swallow);
  EXPECT_EQ(filter.mouse(click(kRDown)), HookVerdict::Swallow);
}

}  // namespace
}  // namespace maqo::automation
