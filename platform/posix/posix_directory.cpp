#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/directory_access.h"
#include "platform/letter_case.h"
#include "platform/posix/posix_platform.h"
#include "platform/text_codec.h"

namespace maqo::platform {

namespace {

int64_t fileTime(const struct timespec& t) {
  constexpr int64_t kEpochDifference = 11644473600LL;  // seconds from 1601 to 1970
  return (static_cast<int64_t>(t.tv_sec) + kEpochDifference) * 10000000LL + t.tv_nsec / 100;
}

std::u16string errnoText(int e) { return utf8ToUtf16(strerror(e)); }

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

char16_t foldCase(char16_t c) { return upperCaseLetter(c); }

class PosixHeldFile final : public HeldFile {
 public:
  explicit PosixHeldFile(int fd) : fd_(fd) {}
  ~PosixHeldFile() override { ::close(fd_); }  // closing drops the lock

  ReadResult readAll() override {
    ReadResult r;
    if (::lseek(fd_, 0, SEEK_SET) < 0) {
      r.error = errnoText(errno);
      return r;
    }
    char buf[65536];
    for (;;) {
      ssize_t n = ::read(fd_, buf, sizeof buf);
      if (n < 0) {
        if (errno == EINTR) continue;
        r.error = errnoText(errno);
        r.bytes.clear();
        return r;
      }
      if (n == 0) break;
      r.bytes.append(buf, static_cast<size_t>(n));
    }
    r.status = ReadStatus::Ok;
    return r;
  }

 private:
  int fd_;
};

}  // namespace

std::vector<DirectoryEntry> ListDirectory(const std::u16string& folder, std::u16string_view pattern) {
  std::vector<DirectoryEntry> entries;
  std::string dir = PosixFileSystem::resolve(folder.empty() ? u"." : folder);
  DIR* d = ::opendir(dir.c_str());
  if (!d) return entries;
  if (dir.back() != '/') dir += '/';
  while (dirent* e = ::readdir(d)) {
    const std::string raw = e->d_name;
    if (raw == "." || raw == "..") continue;
    std::u16string name = utf8ToUtf16(raw);
    if (!MatchesWildcard(pattern, name)) continue;
    struct stat st;
    if (::stat((dir + raw).c_str(), &st) != 0 && ::lstat((dir + raw).c_str(), &st) != 0) continue;
    DirectoryEntry entry;
    entry.name = std::move(name);
    entry.isDirectory = S_ISDIR(st.st_mode);
    // The native file system has no hidden attribute; dot names are its hidden files.
    entry.hidden = raw[0] == '.';
    entry.size = entry.isDirectory ? 0 : static_cast<uint64_t>(st.st_size);
    entry.created = fileTime(st.st_ctim);
    entry.modified = fileTime(st.st_mtim);
    entry.accessed = fileTime(st.st_atim);
    entries.push_back(std::move(entry));
  }
  ::closedir(d);
  return entries;
}

bool DeleteSingleFile(const std::u16string& path) {
  const std::string p = PosixFileSystem::resolve(path);
  struct stat st;
  if (::lstat(p.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return ::unlink(p.c_str()) == 0;
}

int CompareNatural(std::u16string_view a, std::u16string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (isDigit(a[i]) && isDigit(b[j])) {
      // Compare the digit runs by value: skip leading zeros, then the longer
      // run is larger, else the first differing digit decides.
      size_t si = i, sj = j;
      while (si < a.size() && a[si] == u'0') ++si;
      while (sj < b.size() && b[sj] == u'0') ++sj;
      size_t ei = si, ej = sj;
      while (ei < a.size() && isDigit(a[ei])) ++ei;
      while (ej < b.size() && isDigit(b[ej])) ++ej;
      if (ei - si != ej - sj) return ei - si < ej - sj ? -1 : 1;
      for (size_t k = 0; k < ei - si; ++k)
        if (a[si + k] != b[sj + k]) return a[si + k] < b[sj + k] ? -1 : 1;
      i = ei;
      j = ej;
      continue;
    }
    const char16_t ca = foldCase(a[i]), cb = foldCase(b[j]);
    if (ca != cb) {
      // Digits sort before other characters, as the shell sorts them.
      if (isDigit(ca) != isDigit(cb)) return isDigit(ca) ? -1 : 1;
      return ca < cb ? -1 : 1;
    }
    ++i;
    ++j;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

std::unique_ptr<HeldFile> HoldFile(const std::u16string& path, HoldAccess access, std::u16string& error) {
  const std::string p = PosixFileSystem::resolve(path);
  int flags = O_CLOEXEC;
  switch (access) {
    case HoldAccess::Read: flags |= O_RDONLY; break;
    case HoldAccess::ReadWrite: flags |= O_RDWR | O_CREAT; break;
    case HoldAccess::Write: flags |= O_WRONLY | O_CREAT; break;
  }
  int fd = ::open(p.c_str(), flags, 0666);
  if (fd < 0) {
    error = errnoText(errno);
    return nullptr;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    error = errnoText(errno);
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixHeldFile>(fd);
}

}  // namespace maqo::platform
