// The messages of COM object access, in both languages.
#pragma once
#include <string_view>

#include "engine/errors/script_error.h"

namespace maqo::com::objects::messages {

using engine::cat;

// A failed member call, assignment or enumeration (catchable).
inline engine::ScriptError comError(std::u16string_view text) {
  return {cat(u"COM_Error:", text), cat(u"COM_Error:", text)};
}
inline engine::ScriptError tooManyArguments(std::u16string_view text) {
  return comError(cat(u"too many arguments (at most 16): ", text));
}
inline engine::ScriptError badMemberText(std::u16string_view text) {
  return {cat(u"Syntax error in the member: ", text), cat(u"メンバーの記述が間違っています: ", text)};
}
// Texts that follow "COM_Error:".
inline std::u16string notAnObject(std::u16string_view text) { return cat(u"not an object: ", text); }
inline std::u16string noWithObject(std::u16string_view text) { return cat(u"no WITH object for ", text); }
// CREATEOLEOBJ could not make the object: the reason, then the name asked for.
inline engine::ScriptError createFailed(std::u16string_view reason, std::u16string_view name) {
  const std::u16string text = cat(u"CREATEOLEOBJ: ", reason, u": ", name);
  return {text, text};
}
// Objects used outside the thread's COM apartment cannot be reached.
inline engine::ScriptError needsWindows(std::u16string_view name) {
  return {cat(name, u" needs Windows"), cat(name, u" は Windows でのみ使えます")};
}

}  // namespace maqo::com::objects::messages
