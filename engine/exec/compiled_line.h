// What the executor makes of a program line at its first execution: the
// statement's kind (for the lines the builder left unclassified: assignment
// or call) and its expressions compiled once. Each thread keeps its own table
// of compiled lines (TMainTrd), so no lock is needed; the compiled trees
// themselves are immutable.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/builder/program.h"
#include "engine/errors/script_error.h"
#include "engine/eval/expression.h"
#include "engine/values/reference_text.h"

namespace maqo::engine {

// The left side of an assignment or a loop variable: NAME or NAME[i]... .
struct AssignTarget {
  std::u16string text;   // as written
  std::u16string name;   // before the index list
  std::vector<ExpressionPtr> indexes;
  bool dotted = false;   // the name holds a ".": a module member or a COM member
  SlotHints hints;       // where the name was last found
};

// One parameter of a function header.
struct FunctionParameter {
  std::u16string name;         // before "=" and "[", trimmed
  bool byReference = false;    // VAR
  bool isArray = false;        // written with "[" (arrays and hash tables, passed by name)
  ExpressionPtr defaultValue;  // after "=", evaluated in the new frame; null without one
};

// A DIM list, split the first time its line runs: each item's name, bound
// texts (evaluated at every run, as they may name variables) and initial
// values compiled.
struct LocalDeclarationItem {
  std::u16string item;  // as written, for messages
  std::u16string name;
  ReferenceParts parts;
  std::vector<ExpressionPtr> initialValues;  // null: a value left out ("1, , 3")
};
struct LocalDeclarationList {
  std::vector<LocalDeclarationItem> items;
  // The error the rest of the list raises once the items before it have run.
  std::optional<ScriptError> failure;
};

struct CompiledLine {
  // The kind the line executes as. Lines the builder left unclassified become
  // Assignment (a dotted left side that is no module member is a COM property,
  // decided when it runs, as a WITH can change what ".X" means) or Call (a
  // dotted name that is no module member is a COM method, decided by the call).
  StatementKind kind = StatementKind::Unclassified;
  // The line holds nothing to execute (an empty line, a function header).
  bool empty = false;
  // An assignment whose right side starts a script thread.
  bool threadStart = false;
  // An assignment "S = S + ..." that may append to S's text in place (see AppendsToName).
  bool appendsInPlace = false;
  // For such a line: whether S held a text after it last ran. While S holds a
  // number the line runs the ordinary way at once, without first looking S up
  // to see it is no text (a compiled line belongs to one thread; both ways
  // give the same value, so a wrong guess only costs time).
  bool appendTargetHeldText = true;

  // By kind: the condition (IFB, WHILE, REPEAT), the SELECT expression, FOR's
  // from / to / step, FOR-IN's collection, the value of an assignment, PRINT,
  // EXITEXIT, WITH, BREAK / CONTINUE counts.
  std::vector<ExpressionPtr> expressions;
  // Assignments and loop variables.
  AssignTarget target;
  // Calls, CALL and THREAD statements.
  std::unique_ptr<CallSite> call;
  // SELECT: per CASE, its values compiled, and whether each was the word EMPTY.
  std::vector<std::vector<ExpressionPtr>> caseValues;
  std::vector<std::vector<bool>> caseIsEmptyWord;
  // A function header: its parameters.
  std::vector<FunctionParameter> parameters;
  // DIM: the list, split at its first run.
  std::unique_ptr<LocalDeclarationList> localDeclarations;
};

// Compiles a program line: by the kind the builder gave it, or for a line of
// kind 0 by classifying its text.
std::unique_ptr<CompiledLine> CompileProgramLine(const Program& program, int line);

// Classifies and compiles a statement text that the builder left
// unclassified: nothing, an assignment or a call.
void ClassifyStatement(std::u16string_view text, CompiledLine& out);

// The pieces, also used for texts that are not program lines.
AssignTarget MakeAssignTarget(std::u16string_view text);
// NAME(arguments) or NAME: the text up to the first "(" is the name, the
// closing ")" may be missing.
std::unique_ptr<CallSite> MakeCallSite(std::u16string_view text);
// The parameters of a header "FUNCTION NAME(A, VAR B, C[], D = 5)".
std::vector<FunctionParameter> ParseParameters(std::u16string_view header);

// The position of the "=" of an assignment (outside quotes, brackets and
// parentheses), or npos.
size_t AssignmentEquals(std::u16string_view text);

}  // namespace maqo::engine
