// The Windows implementations of the platform seams.
#pragma once
#include <mutex>
#include <string>

#include "platform/platform.h"

namespace maqo::platform {

class Win32Clock final : public Clock {
 public:
  int64_t monotonicMs() override;
  void sleepMs(int ms) override;
};

class Win32FileSystem final : public FileSystem {
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
};

class Win32Locale final : public Locale {
 public:
  unsigned ansiCodePage() override;
  unsigned oemCodePage() override;
  uint16_t systemLanguage() override;
  std::u16string decodeAnsi(std::string_view bytes) override;
  std::string encodeAnsi(std::u16string_view text, bool* lossy) override;
  std::u16string decodeOem(std::string_view bytes) override;
  int compareText(std::u16string_view a, std::u16string_view b) override;
};

// Console output as UTF-8 bytes, written straight to the handles so nothing
// translates line ends or code pages.
class Win32ConsoleUi final : public UiSink {
 public:
  void messageBox(const std::u16string& text, const std::u16string& caption) override;
  void errorDialog(const std::u16string& message) override;
  void printLine(const std::u16string& text) override;
  void beep() override;
  void pumpMessages() override;

 private:
  std::mutex lock_;
};

// The text of GetLastError's code (or of the given code).
std::u16string lastErrorText(unsigned long code);

}  // namespace maqo::platform
