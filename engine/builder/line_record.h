// What the builder parsed once for each program line, so the executor and the
// check pass never search for block ends or re-split block headers at run time.
// Every line number here is an absolute index into Program::ScriptLines; -1
// means "absent".
#pragma once
#include <string>
#include <variant>
#include <vector>

#include "engine/builder/statement_kind.h"

namespace maqo::engine {

// On every IFB line and on every ELSEIF line of its chain.
struct IfLinks {
  std::u16string condition;  // without a trailing THEN
  int nextElseIf = -1;       // the next ELSEIF of the chain
  int elseLine = -1;         // the ELSE of the chain
  int endIf = -1;
};

struct CaseLink {
  int line = -1;
  std::u16string valuesText;           // the text after CASE
  std::vector<std::u16string> values;  // split at top-level commas, trimmed, empty items dropped
};

struct SelectLinks {
  std::u16string expression;
  std::vector<CaseLink> cases;  // in line order
  int defaultLine = -1;
  int selend = -1;
};

// FOR var = from TO to [STEP step]; the texts are trimmed, step is "1" without STEP.
struct ForLinks {
  std::u16string variable, from, to, step;
  int next = -1;
};

struct ForInLinks {
  std::u16string variable, collection;
  int next = -1;
};

struct WhileLinks {
  std::u16string condition;
  int wend = -1;
};

// The condition lives on the UNTIL line; it is copied here.
struct RepeatLinks {
  std::u16string condition;
  int until = -1;
};

// On a TRY line.
struct TryLinks {
  bool except = false;  // the handler is EXCEPT (else FINALLY)
  int handler = -1;
  int endTry = -1;
};

// On the EXCEPT or FINALLY line of a TRY.
struct HandlerLinks {
  bool except = false;
  int tryLine = -1;
  int endTry = -1;
};

using BlockLinks = std::variant<std::monostate, IfLinks, SelectLinks, ForLinks, ForInLinks, WhileLinks, RepeatLinks,
                                TryLinks, HandlerLinks>;

struct LineRecord {
  StatementKind kind = StatementKind::Unclassified;
  // The line is an error marker; its text is the marker and the message.
  bool error = false;
  // For a line that a block accepted (ELSEIF, ELSE, ENDIF, CASE, DEFAULT,
  // SELEND, NEXT, WEND, UNTIL, EXCEPT, FINALLY, ENDTRY): the block's opening line.
  int opener = -1;
  // Set on opening lines of well-formed blocks and on EXCEPT / FINALLY lines.
  BlockLinks links;
};

}  // namespace maqo::engine
