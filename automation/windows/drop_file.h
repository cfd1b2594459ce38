// DROPFILE: files dropped onto a window as the user drops them from the
// shell. The arguments are worked out here (window, drop point, folder, file
// names); the drop itself is the platform's FileDropper.
#pragma once
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "builtins/engine_interface.h"
#include "engine/values/script_value.h"
#include "platform/file_drop.h"

namespace maqo::automation {

using builtins::BuiltinCall;
using builtins::BuiltinHost;

// DROPFILE(id, [x, y,] folder, files...).
engine::ScriptValue DropFileBuiltin(BuiltinCall& call, BuiltinHost& host);

// Raw argument texts expanded into one list of texts: a declared array (or a
// block of one) gives its elements, a hash table its values, a variable or
// expression holding an array value its elements (a whole two-dimensional one
// row by row, NAME[r] one row), anything else its display text. Empty texts
// are left out unless keepEmpty.
std::vector<std::u16string> ExpandToList(BuiltinHost& host, std::span<const std::u16string> texts, bool keepEmpty);

// DROPFILE's entries (the second argument, then the expanded rest) read as
// [x, y,] folder, files...
struct DropEntries {
  std::optional<platform::DropPoint> point;  // when the first two entries are numbers
  std::u16string folder;                     // as given (empty: the current folder)
  std::vector<std::u16string> files;         // trimmed, empty ones left out
};
// Nothing when the point is negative (nothing is dropped then). A point that
// does not fit a 32-bit integer throws "SyntaxError-10" (not catchable).
std::optional<DropEntries> ReadDropEntries(const std::vector<std::u16string>& entries);

// The dropper DROPFILE uses: the build's own, or one a test installs for the
// lifetime of a ScopedFileDropper.
platform::FileDropper& CurrentFileDropper();

class ScopedFileDropper {
 public:
  explicit ScopedFileDropper(platform::FileDropper& dropper);
  ~ScopedFileDropper();
  ScopedFileDropper(const ScopedFileDropper&) = delete;
  ScopedFileDropper& operator=(const ScopedFileDropper&) = delete;

 private:
  platform::FileDropper* previous_;
};

}  // namespace maqo::automation
