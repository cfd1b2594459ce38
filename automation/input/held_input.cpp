#include "automation/input/held_input.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace maqo::automation {

namespace {

std::u16string decimal(uint64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::optional<uint64_t> parseDecimal(std::u16string_view text) {
  if (text.empty() || text.size() > 20) return std::nullopt;
  std::string ascii;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    ascii.push_back(static_cast<char>(c));
  }
  uint64_t value = 0;
  if (std::from_chars(ascii.data(), ascii.data() + ascii.size(), value).ec != std::errc()) return std::nullopt;
  return value;
}

std::u16string withWindow(std::u16string text, platform::WindowHandle directWindow) {
  if (directWindow != 0) text += u"," + decimal(directWindow);
  return text;
}

}  // namespace

std::u16string HeldInputList::buttonText(HeldButton button, platform::WindowHandle directWindow) {
  const char16_t* name = button == HeldButton::Left ? u"LEFTDOWN" : button == HeldButton::Right ? u"RIGHTDOWN" : u"MIDDLEDOWN";
  return withWindow(name, directWindow);
}

std::u16string HeldInputList::keyText(int code, platform::WindowHandle directWindow) {
  return withWindow(u"KBD" + decimal(static_cast<uint64_t>(code < 0 ? 0 : code)), directWindow);
}

std::optional<HeldEntry> HeldInputList::parse(const std::u16string& text) {
  HeldEntry entry;
  std::u16string_view head = text;
  const size_t comma = text.find(u',');
  if (comma != std::u16string::npos) {
    const auto window = parseDecimal(std::u16string_view(text).substr(comma + 1));
    if (!window) return std::nullopt;
    entry.directWindow = *window;
    head = head.substr(0, comma);
  }
  if (head == u"LEFTDOWN") entry.button = HeldButton::Left;
  else if (head == u"RIGHTDOWN") entry.button = HeldButton::Right;
  else if (head == u"MIDDLEDOWN") entry.button = HeldButton::Middle;
  else if (head.substr(0, 3) == u"KBD") {
    const auto code = parseDecimal(head.substr(3));
    if (!code || *code > 0x10FFFF) return std::nullopt;
    entry.keyCode = static_cast<int>(*code);
  } else {
    return std::nullopt;
  }
  return entry;
}

void HeldInputList::add(const std::u16string& entry) {
  std::lock_guard guard(lock_);
  if (std::find(entries_.begin(), entries_.end(), entry) == entries_.end()) entries_.push_back(entry);
}

void HeldInputList::remove(const std::u16string& entry) {
  std::lock_guard guard(lock_);
  entries_.erase(std::remove(entries_.begin(), entries_.end(), entry), entries_.end());
}

std::vector<std::u16string> HeldInputList::entries() const {
  std::lock_guard guard(lock_);
  return entries_;
}

std::vector<std::u16string> HeldInputList::takeAll() {
  std::lock_guard guard(lock_);
  return std::exchange(entries_, {});
}

}  // namespace maqo::automation
