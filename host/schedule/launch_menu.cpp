#include "host/schedule/launch_menu.h"

#include <charconv>
#include <string>

#include "engine/eval/text_helpers.h"
#include "platform/text_codec.h"

namespace maqo::host::schedule {

namespace {

constexpr std::u16string_view kAccelerators = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXY";
static_assert(kAccelerators.size() == kLaunchEntries);

// The field of text at `index` between commas as an integer, if it is one.
std::optional<int> IntegerField(std::u16string_view text, int index) {
  for (int i = 0; i < index; ++i) {
    const size_t comma = text.find(u',');
    if (comma == std::u16string_view::npos) return std::nullopt;
    text.remove_prefix(comma + 1);
  }
  const std::string field = utf16ToUtf8(engine::TrimView(text.substr(0, text.find(u','))));
  int value = 0;
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (ec != std::errc() || end != field.data() + field.size() || field.empty()) return std::nullopt;
  return value;
}

int FieldOrDefault(std::u16string_view text, int index, int fallback, int count) {
  const std::optional<int> value = IntegerField(text, index);
  return value && *value >= 0 && *value < count ? *value : fallback;
}

}  // namespace

std::u16string LaunchKey(char16_t letter, int n) { return letter + u16(std::to_string(n)); }
std::u16string LaunchChildKey(char16_t letter, int n, int m) {
  return letter + u16(std::to_string(n) + "-C" + std::to_string(m));
}

char16_t LaunchAccelerator(int index) {
  return index >= 0 && index < kLaunchEntries ? kAccelerators[index] : u'?';
}

std::u16string LaunchCaption(int index, std::u16string_view title) {
  return std::u16string(u"&") + LaunchAccelerator(index) + u". " + std::u16string(title);
}

std::vector<LaunchMenuItem> BuildLaunchMenu(const LaunchSettingReader& read) {
  int highest = 0;
  for (int n = kLaunchEntries; n >= 1 && highest == 0; --n)
    if (!read(LaunchKey(u'T', n)).empty() || !read(LaunchKey(u'S', n)).empty()) highest = n;

  std::vector<LaunchMenuItem> items;
  for (int n = 1; n <= highest; ++n) {
    LaunchMenuItem item{LaunchCaption(n - 1, read(LaunchKey(u'T', n))), n - 1, {}};
    if (read(LaunchKey(u'S', n)).empty()) {
      int lastChild = 0;
      for (int m = kLaunchEntries; m >= 1 && lastChild == 0; --m)
        if (!read(LaunchChildKey(u'T', n, m)).empty() || !read(LaunchChildKey(u'S', n, m)).empty()) lastChild = m;
      for (int m = 1; m <= lastChild; ++m)
        item.children.push_back({LaunchCaption(m - 1, read(LaunchChildKey(u'T', n, m))), n * kLaunchEntries + (m - 1), {}});
    }
    items.push_back(std::move(item));
  }
  return items;
}

std::optional<LaunchTarget> LaunchTargetOfTag(int tag, const LaunchSettingReader& read) {
  if (tag < 0) return std::nullopt;
  if (tag < kLaunchEntries)
    return LaunchTarget{read(LaunchKey(u'S', tag + 1)), read(LaunchKey(u'P', tag + 1)) == u"1"};
  const int n = tag / kLaunchEntries, m = tag % kLaunchEntries + 1;
  if (n > kLaunchEntries) return std::nullopt;
  return LaunchTarget{read(LaunchChildKey(u'S', n, m)), read(LaunchKey(u'P', n)) == u"1"};
}

LaunchHotKey ParseLaunchHotKey(std::u16string_view text) {
  const LaunchHotKey defaults;
  return {FieldOrDefault(text, 0, defaults.keyIndex, kHotKeyNames),
          FieldOrDefault(text, 1, defaults.modifierIndex, kHotKeyModifiers)};
}

std::u16string LaunchHotKeyText(const LaunchHotKey& key) {
  return u16(std::to_string(key.keyIndex) + "," + std::to_string(key.modifierIndex));
}

LaunchMenuPosition ParseLaunchMenuPosition(std::u16string_view text) {
  const std::optional<int> x = IntegerField(text, 0), y = IntegerField(text, 1);
  if (!x || !y) return {};
  return {*x, *y};
}

}  // namespace maqo::host::schedule
