// DELETEFILE and GETDIR without the argument record: deleting files by a
// wildcard pattern and listing a folder in the shell's natural order.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace maqo::builtins {

// Deletes every file matching pattern inside the pattern's folder part (up to
// its last "\", "/" or ":"); names match by their long form only. Folders and
// files that cannot be deleted are passed over. Returns how many were deleted.
int DeleteMatchingFiles(std::u16string_view pattern);

// GETDIR: the bare names in folder matching pattern (empty: files "*"; "\":
// folders "*"; "\" + mask: folders matching mask; else files matching it),
// hidden entries only when withHidden, in natural order of the upper-cased
// names; order 1 to 4 then sorts by size, creation, last-write or last-access
// time, equal keys keeping the name order. An empty folder gives no names.
std::vector<std::u16string> ListFolder(std::u16string_view folder, std::u16string_view pattern, bool withHidden,
                                       int64_t order);

}  // namespace maqo::builtins
