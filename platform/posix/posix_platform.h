// The native (Linux) implementations of the platform seams.
#pragma once
#include <mutex>
#include <string>

#include "platform/platform.h"

namespace maqo::platform {

class PosixClock final : public Clock {
 public:
  int64_t monotonicMs() override;
  void sleepMs(int ms) override;
};

// Windows file semantics over POSIX: "\" separators and case-insensitive names.
class PosixFileSystem final : public FileSystem {
 public:
  ReadResult readAll(const std::u16string& path) override;
  std::u16string writeAllReplacing(const std::u16string& path, const std::string& bytes) override;
  bool fileExists(const std::u16string& path) override;
  bool directoryExists(const std::u16string& path) override;
  std::optional<FileStamp> stamp(const std::u16string& path) override;
  std::u16string fullPath(const std::u16string& path) override;
  std::u16string canonicalPath(const std::u16string& path) override;
  std::u16string currentDirectory() override;
  bool setCurrentDirectory(const std::u16string& path) override;
  std::u16string copyFile(const std::u16string& from, const std::u16string& to) override;
  std::u16string executableDirectory() override;

  // The POSIX path for a script path: separators mapped, and each component matched
  // case-insensitively when the exact spelling does not exist.
  static std::string resolve(const std::u16string& path);
};

// Code pages through iconv. The system's language and code page come from
// MAQO_CODEPAGE (e.g. "932") or else from LANG: "ja..." is Japanese, anything
// else Western (1252), which is how the Windows build behaves under Wine.
class PosixLocale final : public Locale {
 public:
  PosixLocale();
  unsigned ansiCodePage() override { return acp_; }
  unsigned oemCodePage() override { return acp_ == 932 ? 932 : 437; }
  uint16_t systemLanguage() override { return acp_ == 932 ? 0x0411 : 0x0409; }
  std::u16string decodeAnsi(std::string_view bytes) override;
  std::string encodeAnsi(std::u16string_view text, bool* lossy) override;
  std::u16string decodeOem(std::string_view bytes) override;
  int compareText(std::u16string_view a, std::u16string_view b) override;

  static std::u16string decode(unsigned codePage, std::string_view bytes);
  static std::string encode(unsigned codePage, std::u16string_view text, bool* lossy);

 private:
  unsigned acp_;
};

// Console output: PRINT lines to standard output, messages to standard error, UTF-8.
class ConsoleUi final : public UiSink {
 public:
  void messageBox(const std::u16string& text, const std::u16string& caption) override;
  void errorDialog(const std::u16string& message) override;
  void printLine(const std::u16string& text) override;
  void beep() override {}
  void pumpMessages() override {}

 private:
  std::mutex lock_;
};

}  // namespace maqo::platform
