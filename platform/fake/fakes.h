// Scriptable fakes of the platform seams for unit tests.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace maqo::platform {

// A clock that only moves when slept on or advanced.
class FakeClock final : public Clock {
 public:
  int64_t monotonicMs() override { return now_; }
  void sleepMs(int ms) override {
    now_ += ms > 0 ? ms : 0;
    ++sleeps_;
  }
  void advance(int64_t ms) { now_ += ms; }
  int sleeps() const { return sleeps_; }

 private:
  int64_t now_ = 1000;
  int sleeps_ = 0;
};

// Records everything the engine shows or prints.
class RecordingUi final : public UiSink {
 public:
  void messageBox(const std::u16string& text, const std::u16string& caption) override { messages.push_back(text); }
  void errorDialog(const std::u16string& message) override { errors.push_back(message); }
  void printLine(const std::u16string& text) override { printed.push_back(text); }
  void beep() override { ++beeps; }
  void pumpMessages() override {
    ++pumps;
    if (onPump) onPump();
  }

  std::vector<std::u16string> messages, errors, printed;
  int beeps = 0;
  int pumps = 0;
  std::function<void()> onPump;
};

// A locale with a chosen language and code page numbers; text conversion is
// delegated to a real locale of the build, so only the reported facts are fake.
class FakeLocale final : public Locale {
 public:
  FakeLocale(Locale& real, uint16_t language, unsigned acp) : real_(real), language_(language), acp_(acp) {}
  unsigned ansiCodePage() override { return acp_; }
  unsigned oemCodePage() override { return real_.oemCodePage(); }
  uint16_t systemLanguage() override { return language_; }
  std::u16string decodeAnsi(std::string_view bytes) override { return real_.decodeAnsi(bytes); }
  std::string encodeAnsi(std::u16string_view text, bool* lossy) override { return real_.encodeAnsi(text, lossy); }
  std::u16string decodeOem(std::string_view bytes) override { return real_.decodeOem(bytes); }
  int compareText(std::u16string_view a, std::u16string_view b) override { return real_.compareText(a, b); }

 private:
  Locale& real_;
  uint16_t language_;
  unsigned acp_;
};

// The real file system of the build with failures injected per path (as given
// to readAll, compared exactly): the next n reads of that path fail as if the
// file were locked by another process.
class FlakyFileSystem final : public FileSystem {
 public:
  explicit FlakyFileSystem(FileSystem& real) : real_(real) {}
  void failReads(const std::u16string& path, int times, std::u16string error = u"The process cannot access the file because it is being used by another process.") {
    failures_[path] = {times, std::move(error)};
  }
  int readAttempts(const std::u16string& path) const {
    auto it = attempts_.find(path);
    return it == attempts_.end() ? 0 : it->second;
  }

  ReadResult readAll(const std::u16string& path) override;
  std::u16string writeAllReplacing(const std::u16string& path, const std::string& bytes) override {
    return real_.writeAllReplacing(path, bytes);
  }
  bool fileExists(const std::u16string& path) override { return real_.fileExists(path); }
  bool directoryExists(const std::u16string& path) override { return real_.directoryExists(path); }
  std::optional<FileStamp> stamp(const std::u16string& path) override { return real_.stamp(path); }
  std::u16string fullPath(const std::u16string& path) override { return real_.fullPath(path); }
  std::u16string canonicalPath(const std::u16string& path) override { return real_.canonicalPath(path); }
  std::u16string currentDirectory() override { return real_.currentDirectory(); }
  bool setCurrentDirectory(const std::u16string& path) override { return real_.setCurrentDirectory(path); }
  std::u16string copyFile(const std::u16string& from, const std::u16string& to) override {
    return real_.copyFile(from, to);
  }
  std::u16string executableDirectory() override { return real_.executableDirectory(); }

 private:
  FileSystem& real_;
  std::map<std::u16string, std::pair<int, std::u16string>> failures_;
  std::map<std::u16string, int> attempts_;
};

}  // namespace maqo::platform
