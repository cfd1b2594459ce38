// The single-line IF: 'IF cond THEN s1 ELSE s2' is built as the block
// IFB cond / s1 / ELSE / s2 / ENDIF; 'IF cond' and 'IF cond THEN' alone open a
// block IF that needs its own ENDIF.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "engine/errors/script_error.h"

namespace maqo::engine {

struct SingleLineIf {
  std::optional<Message> error;  // set: the line is this error, nothing else
  std::u16string condition;
  bool hasParts = false;   // false: a block IF opened on this line
  std::u16string thenPart;  // empty: nothing to do
  std::u16string elsePart;
};

// line begins with "IF ".
SingleLineIf ParseSingleLineIf(std::u16string_view line);

}  // namespace maqo::engine
