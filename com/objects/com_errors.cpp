#include "com/objects/com_errors.h"

#include "engine/eval/text_helpers.h"

namespace maqo::com::objects {

namespace {

std::u16string hex(int32_t code) {
  static constexpr char16_t digits[] = u"0123456789ABCDEF";
  std::u16string text = u"0x";
  const auto bits = static_cast<uint32_t>(code);
  for (int shift = 28; shift >= 0; shift -= 4) text += digits[(bits >> shift) & 0xF];
  return text;
}

}  // namespace

std::u16string ComErrorText(const platform::ComFailure& failure) {
  const std::u16string description = engine::Trim(failure.description);
  if (!description.empty()) return description;
  const int32_t code = failure.exceptionCode != 0 ? failure.exceptionCode : failure.code;
  const std::u16string system = engine::Trim(failure.systemText);
  if (!system.empty()) return system + u" (" + hex(code) + u")";
  return u"COM error " + hex(code);
}

}  // namespace maqo::com::objects
