// THensuFmt: a scope frame. One for the global scope (held by the engine's
// GlobalStore), one per running user-function call and one per script thread.
// A frame belongs to the thread that runs it; only the global frame is shared,
// and GlobalStore guards it with its lock.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/values/script_value.h"
#include "engine/values/variable_table.h"

namespace maqo::engine {

// The moment GETTIME captured, read by the G_TIME_* names.
struct TimeStamp {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t millisecond = 0;
  uint16_t dayOfWeek = 0;  // 0 = Sunday .. 6 = Saturday
};

struct THensuFmt {
  // Set when an error ends execution in this frame.
  bool stopFlag = false;
  // Set by a read that failed (GetValue, hash-table and dimension checks), so a
  // caller can tell a failed read from an Empty value. GetValue clears it first.
  bool readFailed = false;
  // 0..63 when the frame belongs to a script thread, -1 otherwise.
  int threadSlot = -1;
  // The first program line of the running function and the offset of the
  // current statement within it.
  int firstLine = 0;
  int lineOffset = 0;
  // G_IMG_X / G_IMG_Y: the last image-search hit in this frame.
  int32_t imageX = 0;
  int32_t imageY = 0;
  TimeStamp timeStamp;
  int tryDepth = 0;
  // While set (a FOR-IN loop evaluating its collection), list-returning
  // builtins fill NAME_TMP instead of NAME.
  bool collecting = false;
  // The name of the result array a builtin filled last.
  std::u16string resultArrayName;
  // Set when an error was taken over by an enclosing TRY.
  bool caught = false;
  std::u16string tryErrorMessage;  // TRY_ERRMSG
  std::u16string tryErrorLine;     // TRY_ERRLINE
  // The module (or class) whose function runs; empty outside modules.
  std::u16string moduleName;
  // The innermost WITH target: a module name as a string, or an object.
  ScriptValue withTarget;
  VariableTable locals;
  HashTableList hashTables;
  // Call context and the pieces of the error-line text (error reporting).
  std::vector<std::u16string> callContext;
  std::vector<std::u16string> errorLineParts;

  int localSlotCount() const { return locals.count(); }
};

}  // namespace maqo::engine
