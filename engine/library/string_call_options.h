// What the string builtins need from the engine beyond BuiltinHost: the
// OPTION SAMESTR switch and the mark that a byte string was produced in the
// running expression (after which "+" joins byte strings as texts). The
// engine's builtin host implements this interface as well; a host without it
// runs with SAMESTR off and no mark.
#pragma once
#include "engine/library/builtin_host.h"

namespace maqo::engine {

class StringCallOptions {
 public:
  virtual ~StringCallOptions() = default;
  // OPTION SAMESTR: searches and replacements respect case.
  virtual bool sameStr() = 0;
  // COPYB and CHRB produced a byte string in the expression being evaluated.
  virtual void markByteStringProduced() = 0;
};

inline bool SameStrOption(BuiltinHost& host) {
  auto* options = dynamic_cast<StringCallOptions*>(&host);
  return options != nullptr && options->sameStr();
}

inline void MarkByteStringProduced(BuiltinHost& host) {
  if (auto* options = dynamic_cast<StringCallOptions*>(&host)) options->markByteStringProduced();
}

}  // namespace maqo::engine
