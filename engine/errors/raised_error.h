// A script error on its way up from the statement that failed. The statement
// boundary that first catches a ScriptError fixes where it happened (the
// location text of the failing line) and sends it on as a RaisedError, so every
// TRY handler and the run driver further up see the failing line, not the line
// of the call that led there.
#pragma once
#include <string>

#include "engine/errors/script_error.h"

namespace maqo::engine {

class RaisedError : public ScriptError {
 public:
  RaisedError(const ScriptError& error, std::u16string location, bool inMainScript = false)
      : ScriptError(error.message(), error.catchable()), location_(std::move(location)), inMainScript_(inMainScript) {}

  // "FILE: at line n: text" / "FILE: n行目: text" of the failing statement
  // (without "FILE: " for a line of the main script).
  const std::u16string& location() const { return location_; }
  // The failing line belongs to the main script, whose name the location leaves out.
  bool inMainScript() const { return inMainScript_; }

 private:
  std::u16string location_;
  bool inMainScript_;
};

}  // namespace maqo::engine
