// The messages of the script threads, in both languages.
#pragma once
#include <string>
#include <string_view>

#include "engine/errors/script_error.h"
#include "engine/values/number_text.h"

namespace maqo::engine::thread_messages {


// Every slot holds a running thread.
inline Message tooManyThreads(int slots) {
  const std::u16string count = formatInteger(slots);
  return {cat(u"Error: It exceeded maximum Thread number =", count), cat(u"Error: 最大スレッド数=", count, u" を超えました")};
}

// The system would not make the thread (address space or handles exhausted).
inline Message cannotStart(std::u16string_view function) {
  return {cat(u"The script thread could not be started: ", function),
          cat(u"スレッドを開始できませんでした: ", function)};
}

// The run stopped waiting for a thread stuck in a call that does not return.
inline Message abandoned(int slot, std::u16string_view function) {
  const std::u16string number = formatInteger(slot);
  return {cat(u"Script thread ", number, u" (", function, u") did not stop and is no longer waited for"),
          cat(u"スレッド ", number, u" (", function, u") が終了しないため、終了を待たずに続行します")};
}

}  // namespace maqo::engine::thread_messages
