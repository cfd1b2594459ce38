// The program tables that FReLoad builds from the reader's lines and that the
// executor, the check pass and the error reporter read. The engine object
// holds one Program; the names a script declares at build time (constants,
// text blocks, modules, globals, DEF_DLL names) live in the engine's
// GlobalStore beside it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/builder/line_record.h"
#include "engine/builder/option_settings.h"
#include "engine/values/name_table.h"

namespace maqo::engine {

enum class FunctionKind { Function = 1, Procedure = 2 };

struct FuncEntry {
  FunctionKind kind = FunctionKind::Procedure;
  int headerLine = -1;     // index in ScriptLines of the header line
  std::u16string module;   // the module it belongs to, "" outside modules
};

// Where a program line came from: its 1-based line number in its own file
// (0 for the lines the reader inserted) and the line as the reader delivered it.
struct SourceRef {
  int number = 0;
  std::u16string text;
};

struct Program {
  // One statement per entry; the index is the program line number. Block
  // openers hold their encoded form (condition, back-quotes, distances), kept
  // for display; the executor reads Records instead, which also hold the parts.
  std::vector<std::u16string> ScriptLines;
  // Parallel to ScriptLines: the statement kind and the parsed block links.
  std::vector<LineRecord> Records;
  // One entry per source line: "n,source text", scrambled (read with
  // sourceRef()). The statements of one source line share its entry, so a
  // long line of many statements is held once, not once per statement.
  std::vector<std::u16string> SourceRefs;
  // Parallel to ScriptLines: the index in SourceRefs of the line's source.
  std::vector<uint32_t> SourceOf;

  // Every FUNCTION and PROCEDURE (module members as MODULE.NAME), and a
  // pseudo-entry "CLASS " + module for errors at module level; FuncEntries is
  // indexed like FuncNames.
  TUHashedStrList FuncNames;
  std::vector<FuncEntry> FuncEntries;

  // Per DEF_DLL name in GlobalStore::DllNames (same index): the declaration
  // text after the name, "[ ]" written as "[]".
  std::vector<std::u16string> DllDecls;
  // The same names as declared (the name table upper-cases them): a DLL
  // exports its functions under case-sensitive names.
  std::vector<std::u16string> DllDeclaredNames;

  OptionSettings Options;

  // A build error was reported directly (the run must not start).
  bool DirectErrorReported = false;

  void clear();
  int lineCount() const { return static_cast<int>(ScriptLines.size()); }

  // The statement kinds of all lines, as the per-thread LineKinds arrays start.
  std::vector<int> lineKinds() const;
  // The source reference of a program line, unscrambled.
  SourceRef sourceRef(int line) const;
  // The same as the "n,source text" form.
  std::u16string sourceRefText(int line) const;
  // The first line that carries a build error, or -1.
  int firstErrorLine() const;
};

// SourceRefs entries are kept scrambled with this mask; the same operation
// scrambles and unscrambles.
std::u16string ScrambleSourceRef(std::u16string_view text);

}  // namespace maqo::engine
