// A file system held in memory with the semantics the engine expects of the
// real one ("\" and "/" both separators, names matched without regard to
// case, "." and ".." resolved). The reader and builder targets read scripts and
// the files they CALL from it, so those targets never touch the disk and
// every run sees the same files.
#pragma once
#include <map>
#include <string>

#include "platform/files.h"

namespace maqo::fuzz {

class MemoryFiles final : public platform::FileSystem {
 public:
  // Starts with the current folder "/FUZZ" and no files.
  MemoryFiles();

  // Puts a file (creating its folders); returns its full path.
  std::u16string put(const std::u16string& path, std::string bytes);
  // Removes every file that was not there when keep() was last called.
  void keep();
  void restore();

  platform::ReadResult readAll(const std::u16string& path) override;
  std::u16string writeAllReplacing(const std::u16string& path, const std::string& bytes) override;
  bool fileExists(const std::u16string& path) override;
  bool directoryExists(const std::u16string& path) override;
  std::optional<platform::FileStamp> stamp(const std::u16string& path) override;
  std::u16string fullPath(const std::u16string& path) override;
  std::u16string canonicalPath(const std::u16string& path) override;
  std::u16string currentDirectory() override { return current_; }
  bool setCurrentDirectory(const std::u16string& path) override;
  std::u16string copyFile(const std::u16string& from, const std::u16string& to) override;
  std::u16string executableDirectory() override { return u"/FUZZ/BIN"; }

 private:
  struct File {
    std::u16string path;  // as first written
    std::string bytes;
    int64_t modified = 0;
  };
  std::map<std::u16string, File> files_;  // by canonical path
  std::map<std::u16string, File> kept_;
  std::u16string current_;
  int64_t clock_ = 132000000000000000;
};

}  // namespace maqo::fuzz
