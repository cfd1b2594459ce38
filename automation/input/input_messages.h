// The messages of the input builtins, in both languages.
#pragma once
#include <string_view>

#include "engine/errors/script_error.h"

namespace maqo::automation::input_messages {

inline engine::ScriptError hotKeyFromThread() {
  return {u"SetHotKey: Can not be used from the thread", u"SetHotKey: スレッドからの使用はできません"};
}
inline engine::ScriptError noSuchFunction(std::u16string_view name) {
  return {engine::cat(name, u":No specified function"), engine::cat(u"指定関数がありません:", name)};
}

}  // namespace maqo::automation::input_messages
