// Statement kinds: what the builder knows about a program line from its first
// word. The numbers are the ones the rest of the engine and the tools show, so
// they are fixed; 0 means the executor classifies the line at its first run.
#pragma once
#include <cstdint>
#include <string_view>

namespace maqo::engine {

enum class StatementKind : uint8_t {
  Unclassified = 0,
  // Given by the executor at a line's first execution.
  Assignment = 1,
  ComPropertyAssignment = 2,
  ComMethodCall = 3,
  Call = 4,
  // Fixed by the builder.
  IfBlock = 11,  // IFB and ELSEIF
  EndIf = 12,
  Else = 13,
  For = 14,
  ForIn = 15,
  Next = 16,
  While = 17,
  Wend = 18,
  Repeat = 19,
  Until = 21,
  Select = 22,
  Selend = 23,
  Case = 24,
  Default = 25,
  Try = 26,
  Finally = 27,
  Except = 28,
  EndTry = 29,
  Print = 31,
  Thread = 32,
  DefDll = 33,
  Dim = 34,
  HashTbl = 35,
  Break = 36,
  Continue = 37,
  Exit = 38,
  CallFile = 39,
  ExitExit = 41,
  With = 42,
  EndWith = 43,
  ComErrIgnore = 44,
  ComErrReport = 45,
  Fend = 49,
  Nop = 51,
};

inline int kindNumber(StatementKind kind) { return static_cast<int>(kind); }

// The kind fixed by a line's first word (the text up to its first space), or
// Unclassified. FOR is answered as For; whether it is a FOR ... IN is decided
// from the rest of the line.
StatementKind kindOfFirstWord(std::u16string_view firstWord);

}  // namespace maqo::engine
