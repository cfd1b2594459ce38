// Shared pieces of the reader tests: a platform of fakes over the real file
// system, and a scratch folder with real files.
#pragma once
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/fake/fakes.h"
#include "platform/platform.h"
#include "platform/text_codec.h"

namespace maqo::engine::reader_test {

struct TestPlatform {
  explicit TestPlatform(uint16_t language = 0x0409)
      : locale(platform::consolePlatform().locale, language, language == 0x0411 ? 932 : 1252) {}
  platform::FakeClock clock;
  platform::FlakyFileSystem files{platform::consolePlatform().files};
  platform::FakeLocale locale;
  platform::RecordingUi ui;
  platform::Platform p{clock, files, locale, ui};
};

// A folder of its own below the system's temporary folder, removed afterwards.
class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    root_ = std::filesystem::temp_directory_path() /
            ("maqo-reader-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(root_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // Writes bytes to a file below the folder (creating folders) and returns its path.
  std::u16string write(const std::string& relative, const std::string& bytes) const {
    const std::filesystem::path file = root_ / std::filesystem::path(relative);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file.u16string();
  }
  std::u16string path(const std::string& relative) const { return fsPath(relative).u16string(); }
  std::filesystem::path fsPath(const std::string& relative) const { return root_ / std::filesystem::path(relative); }
  std::u16string root() const { return root_.u16string(); }

 private:
  std::filesystem::path root_;
};

// Bytes of UTF-16 LE text with its mark, as the host writes enciphered scripts.
inline std::string utf16File(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

}  // namespace maqo::engine::reader_test
