// The file system as the engine sees it: Windows semantics on both builds.
// Paths are UTF-16; "\" and "/" are both separators; names are matched
// case-insensitively where the exact spelling does not exist (native build).
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace maqo::platform {

// A file's modification time in 100-ns units since 1601-01-01 UTC (a Windows FILETIME)
// and its size, used to tell whether a file changed.
struct FileStamp {
  int64_t modified = 0;
  uint64_t size = 0;
};

enum class ReadStatus { Ok, NotFound, Failed };

struct ReadResult {
  ReadStatus status = ReadStatus::Failed;
  std::string bytes;      // the whole file when status is Ok
  std::u16string error;   // the system's description when status is Failed
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Reads a whole file, opened without denying other processes any access.
  virtual ReadResult readAll(const std::u16string& path) = 0;
  // Writes a whole file through a temporary file beside it that replaces the
  // target, so a crash never leaves it half-written. Returns an empty string
  // on success, else the system's description of the failure.
  virtual std::u16string writeAllReplacing(const std::u16string& path, const std::string& bytes) = 0;
  virtual bool fileExists(const std::u16string& path) = 0;  // an existing file, not a folder
  virtual bool directoryExists(const std::u16string& path) = 0;
  virtual std::optional<FileStamp> stamp(const std::u16string& path) = 0;
  // Absolute form of a path with "." and ".." resolved, in the platform's separator.
  virtual std::u16string fullPath(const std::u16string& path) = 0;
  // The same file reached two ways gives the same text (case folded, links resolved
  // where the platform can); used to include a file once.
  virtual std::u16string canonicalPath(const std::u16string& path) = 0;
  virtual std::u16string currentDirectory() = 0;
  virtual bool setCurrentDirectory(const std::u16string& path) = 0;
  // Copies a file, overwriting the target. Returns an empty string on success.
  virtual std::u16string copyFile(const std::u16string& from, const std::u16string& to) = 0;
  // The folder of the running executable.
  virtual std::u16string executableDirectory() = 0;
};

}  // namespace maqo::platform
