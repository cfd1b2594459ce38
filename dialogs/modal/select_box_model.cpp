#include "dialogs/modal/select_box_model.h"

#include <cmath>

#include "engine/values/number_text.h"

namespace maqo::dialogs {

namespace {

// A result-form bit asks for text; one rule everywhere, read from the low
// byte so that higher bits of the type never change the form of the result.
bool WantsText(int64_t type) { return (type & (kSelectString | kSelectNumber)) != 0; }

std::optional<int> PlainNumber(const SelectArgument& argument) {
  if (argument.isContainer || argument.values.size() != 1) return std::nullopt;
  const auto number = engine::parseNumberText(argument.values.front());
  if (!number || !std::isfinite(*number) || std::fabs(*number) > 2147483647.0) return std::nullopt;
  return static_cast<int>(std::trunc(*number));
}

void AppendItems(const SelectArgument& argument, std::vector<std::u16string>& items) {
  for (const std::u16string& value : argument.values) {
    if (!value.empty()) items.push_back(value);
  }
}

}  // namespace

SelectKind SelectKindOf(int64_t type) {
  if (type & 6) return (type & 2) ? SelectKind::CheckBoxes : SelectKind::RadioButtons;
  if (type & 8) return SelectKind::DropDownList;
  if (type & 16) return SelectKind::ListBox;
  return SelectKind::Buttons;
}

bool ChoosesSeveral(SelectKind kind) { return kind == SelectKind::CheckBoxes || kind == SelectKind::ListBox; }

SelectContent DecodeSelectArguments(int64_t type, const std::vector<SelectArgument>& arguments) {
  SelectContent content;
  size_t messageSlot = 0;
  if (arguments.size() >= 3) {
    const auto x = PlainNumber(arguments[0]);
    const auto y = PlainNumber(arguments[1]);
    if (x && y) {
      content.position = DialogPoint{*x, *y};
      messageSlot = 2;
    }
  }
  size_t next = messageSlot + 1;
  if (messageSlot < arguments.size()) {
    const SelectArgument& message = arguments[messageSlot];
    // An array in the message slot gives the message from its first element
    // and items from the rest.
    if (!message.values.empty()) content.message = message.values.front();
    if (message.isContainer) {
      SelectArgument rest{{message.values.begin() + (message.values.empty() ? 0 : 1), message.values.end()}, true};
      AppendItems(rest, content.items);
    }
  }
  for (; next < arguments.size(); ++next) AppendItems(arguments[next], content.items);
  if (!WantsText(type) && content.items.size() > kMaxBitItems) content.items.resize(kMaxBitItems);
  return content;
}

SelectResult SelectResultFor(int64_t type, const std::vector<size_t>& chosen, const std::vector<std::u16string>& items) {
  if (!WantsText(type)) {
    int64_t bits = 0;
    for (size_t i : chosen) {
      if (i < kMaxBitItems) bits |= int64_t{1} << i;
    }
    return bits;
  }
  std::u16string text;
  for (size_t i : chosen) {
    if (!text.empty()) text += u'\t';
    if (type & kSelectString) {
      text += i < items.size() ? items[i] : std::u16string();
    } else {
      for (char c : std::to_string(i)) text += static_cast<char16_t>(c);
    }
  }
  if (!(type & kSelectString) && !text.empty() && text.find(u'\t') == std::u16string::npos) {
    return static_cast<int64_t>(std::stoll(std::string(text.begin(), text.end())));
  }
  return text;
}

SelectResult SelectCancelledResult() { return int64_t{-1}; }

SelectResult SelectTimedOutResult(int64_t type) {
  if (WantsText(type)) return std::u16string();
  return int64_t{0};
}

}  // namespace maqo::dialogs
