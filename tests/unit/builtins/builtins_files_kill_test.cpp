// Whole-file writes that die half-way: a 50 MB file replaced by another is
// afterwards exactly the old content or exactly the new one, never a mix, and
// the temporary file a dead writer leaves behind is removed by the next write.
// The writer is ended from inside the write path by the progress hook, in a
// child process (a death test), as a kill would end it.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

#include "builtins/text_file_writer.h"
#include "platform/replace_write.h"
#include "tests/unit/builtins/builtins_files_support.h"

namespace maqo::builtins {
namespace {

using namespace files_test;

constexpr int kKilledExitCode = 86;
std::atomic<uint64_t> killAtBytes{0};

void killWhenReached(uint64_t written, uint64_t) {
  if (written >= killAtBytes.load()) std::_Exit(kKilledExitCode);
}

// Just over 50 MB of numbered lines, so that a mix of two versions cannot pass for either.
std::string bigContent(char mark) {
  constexpr size_t kLines = 6400;
  const std::string filler(8192, mark);
  std::string bytes;
  bytes.reserve(kLines * (filler.size() + 8));
  for (size_t i = 0; i < kLines; ++i) bytes.append(std::to_string(i)).append(":").append(filler).append("\r\n");
  return bytes;
}

// The whole file in one read, compared without printing 50 MB when it differs.
bool fileHolds(const std::u16string& path, const std::string& expected) {
  const std::filesystem::path p(path);
  std::error_code error;
  if (std::filesystem::file_size(p, error) != expected.size() || error) return false;
  std::string bytes(expected.size(), '\0');
  std::ifstream in(p, std::ios::binary);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return in.gcount() == static_cast<std::streamsize>(bytes.size()) && bytes == expected;
}

// A scratch folder shared with the test's death-test children. On Windows a
// child runs the test again from its start in a new process; it finds its
// parent's folder through the environment instead of making one of its own.
class SharedScratchFolder {
 public:
  SharedScratchFolder() {
    if (std::optional<std::filesystem::path> inherited = variable()) {
      root_ = *inherited;
      return;
    }
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    root_ = std::filesystem::temp_directory_path() / ("maqo-kill-" + std::to_string(stamp));
    std::filesystem::create_directories(root_);
    setVariable(root_);
    owner_ = true;
  }
  ~SharedScratchFolder() {
    if (!owner_) return;
    setVariable({});
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  SharedScratchFolder(const SharedScratchFolder&) = delete;
  SharedScratchFolder& operator=(const SharedScratchFolder&) = delete;

  std::u16string root() const { return root_.u16string(); }
  std::u16string write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(root_ / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return (root_ / name).u16string();
  }

 private:
#ifdef _WIN32
  static std::optional<std::filesystem::path> variable() {
    const wchar_t* value = _wgetenv(L"MAQO_KILL_TEST_FOLDER");
    if (!value || !*value) return std::nullopt;
    return std::filesystem::path(value);
  }
  static void setVariable(const std::filesystem::path& folder) {
    _wputenv_s(L"MAQO_KILL_TEST_FOLDER", folder.wstring().c_str());
  }
#else
  static std::optional<std::filesystem::path> variable() {
    const char* value = std::getenv("MAQO_KILL_TEST_FOLDER");
    if (!value || !*value) return std::nullopt;
    return std::filesystem::path(value);
  }
  static void setVariable(const std::filesystem::path& folder) {
    if (folder.empty())
      ::unsetenv("MAQO_KILL_TEST_FOLDER");
    else
      ::setenv("MAQO_KILL_TEST_FOLDER", folder.c_str(), 1);
  }
#endif
  std::filesystem::path root_;
  bool owner_ = false;
};

int temporariesIn(const std::u16string& folder) {
  int n = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(folder)))
    n += entry.path().filename().u16string().find(u".maqo-tmp-") != std::u16string::npos ? 1 : 0;
  return n;
}

TEST(BuiltinsFilesKillDuringWrite, TargetIsWhollyOldOrWhollyNew) {
  platform::FileSystem& files = platform::consolePlatform().files;
  SharedScratchFolder dir;
  const std::string oldBytes = bigContent('o'), newBytes = bigContent('n');
  ASSERT_GT(newBytes.size(), 50u << 20);
  const std::u16string path = dir.write("big.txt", oldBytes);

  const uint64_t killPoints[] = {0, newBytes.size() / 2, newBytes.size()};
  for (const uint64_t killAt : killPoints) {
    SCOPED_TRACE("killed after " + std::to_string(killAt) + " bytes");
    EXPECT_EXIT(
        {
          killAtBytes = killAt;
          platform::SetReplaceWriteProgressHook(&killWhenReached);
          files.writeAllReplacing(path, newBytes);
          std::_Exit(0);  // not killed: the hook was never reached
        },
        ::testing::ExitedWithCode(kKilledExitCode), "");
    EXPECT_TRUE(fileHolds(path, oldBytes));
    // The dead writer's temporary is there (earlier ones went with the next write).
    EXPECT_EQ(temporariesIn(dir.root()), 1);
  }

  // A later write replaces the file whole and takes the stale temporary away.
  ASSERT_EQ(files.writeAllReplacing(path, newBytes), u"");
  EXPECT_TRUE(fileHolds(path, newBytes));
  EXPECT_EQ(temporariesIn(dir.root()), 0);
}

// Two writers of one file in one process each go through a temporary of their
// own, so a reader only ever sees the file whole: empty as it started, or one
// of the two contents, never a blend or a half-written one.
TEST(BuiltinsFilesKillDuringWrite, ConcurrentWritersNeverBlendTheirContent) {
  platform::FileSystem& files = platform::consolePlatform().files;
  TempDir dir;
  const std::u16string path = dir.write("shared.txt", "");
  // Several chunks each, so that writes through one shared temporary would interleave.
  const std::string a(5 * platform::kReplaceWriteChunk / 2, 'a'), b(3 * platform::kReplaceWriteChunk / 2, 'b');
  std::atomic<int> writing{2};
  // On Windows a replace can fail while the reader below holds the file open;
  // such a write reports its failure and leaves the file as it was.
  std::atomic<int> written{0};
  auto writer = [&](const std::string& bytes) {
    for (int i = 0; i < 20; ++i)
      if (files.writeAllReplacing(path, bytes).empty()) ++written;
    --writing;
  };
  std::thread first(writer, std::cref(a)), second(writer, std::cref(b));
  int torn = 0;
  while (writing > 0) {
    const platform::ReadResult r = files.readAll(path);
    if (r.status == platform::ReadStatus::Ok && !r.bytes.empty() && r.bytes != a && r.bytes != b) ++torn;
  }
  first.join();
  second.join();
  EXPECT_EQ(torn, 0);
  if (written > 0) {
    EXPECT_TRUE(fileHolds(path, a) || fileHolds(path, b));
  } else {
    EXPECT_TRUE(fileHolds(path, ""));
  }
  EXPECT_EQ(temporariesIn(dir.root()), 0);
}

TEST(BuiltinsFilesKillDuringWrite, TemporaryNamesNameTheirWriter) {
  EXPECT_EQ(platform::ReplaceTempName(u"C:\\d\\a.ini", 42, 7), u"C:\\d\\a.ini.maqo-tmp-42-7");
  const struct {
    const char16_t* entry;
    std::optional<uint32_t> owner;
  } cases[] = {
      {u"a.ini.maqo-tmp-42-7", 42},   {u"A.INI.maqo-tmp-9-0", 9},    {u"a.ini", std::nullopt},
      {u"a.ini.maqo-tmp-", std::nullopt}, {u"a.ini.maqo-tmp-42", std::nullopt}, {u"a.ini.maqo-tmp--1", std::nullopt},
      {u"a.ini.maqo-tmp-4x-1", std::nullopt}, {u"b.ini.maqo-tmp-42-7", std::nullopt},
      {u"xa.ini.maqo-tmp-42-7", std::nullopt}, {u"a.ini.maqo-tmp-99999999999-1", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(utf8(c.entry));
    EXPECT_EQ(platform::ReplaceTempOwner(u"a.ini", c.entry), c.owner);
  }
}

}  // namespace
}  // namespace maqo::builtins
