// Folder listing, single-file deletion, the shell's natural name order and
// files held open without sharing: what the file builtins need from the
// system beyond reading and replacing whole files.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace maqo::platform {

struct DirectoryEntry {
  std::u16string name;  // the long name, without folder
  bool isDirectory = false;
  bool hidden = false;
  uint64_t size = 0;
  // Times in 100-ns units since 1601-01-01 UTC, as the file system stores them.
  int64_t created = 0, modified = 0, accessed = 0;
};

// The entries of folder whose long name matches pattern ("*" and "?" as on
// Windows, without regard to case), "." and ".." excluded, in the order the
// file system gives them. Short 8.3 aliases never take part in the match, so
// "*.htm" does not list "page.html". A missing folder gives no entries.
std::vector<DirectoryEntry> ListDirectory(const std::u16string& folder, std::u16string_view pattern);

// Deletes one file (never a folder). False when it could not be deleted.
bool DeleteSingleFile(const std::u16string& path);

// The shell's natural order of names: runs of digits compare by their value,
// so "FILE2" comes before "FILE10". Negative, zero or positive.
int CompareNatural(std::u16string_view a, std::u16string_view b);

// True when name matches a wildcard pattern the way a Windows folder search
// matches long names: "*" any run, "?" one character, letters without regard to
// case, "*.*" everything, a final "." a name without extension.
bool MatchesWildcard(std::u16string_view pattern, std::u16string_view name);

// How a held file is opened.
enum class HoldAccess {
  Read,       // for reading; the file must exist
  ReadWrite,  // for reading and writing; a missing file is created
  Write,      // for writing; a missing file is created, nothing is read
};

// A file kept open without sharing from the moment it is held until release
// (other processes cannot open it; on the native build the hold is an advisory
// lock that cooperating processes honour).
class HeldFile {
 public:
  virtual ~HeldFile() = default;
  // The whole content, read from the start.
  virtual ReadResult readAll() = 0;
};

// Opens path for holding; null with the system's description in error when it
// cannot be opened (it does not exist for Read, or another process holds it).
std::unique_ptr<HeldFile> HoldFile(const std::u16string& path, HoldAccess access, std::u16string& error);

}  // namespace maqo::platform
