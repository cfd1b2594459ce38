#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/posix/posix_platform.h"
#include "platform/replace_write.h"
#include "platform/text_codec.h"

namespace maqo::platform {

namespace {

std::u16string errnoText(int e) { return utf8ToUtf16(strerror(e)); }

bool existsExactly(const std::string& p) {
  struct stat st;
  return ::lstat(p.c_str(), &st) == 0;
}

// Finds an entry of dir whose name equals name ignoring ASCII case.
bool findFolded(const std::string& dir, const std::string& name, std::string& found) {
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return false;
  bool ok = false;
  while (dirent* e = readdir(d)) {
    if (strcasecmp(e->d_name, name.c_str()) == 0) {
      found = e->d_name;
      ok = true;
      break;
    }
  }
  closedir(d);
  return ok;
}

// Windows FILETIME units (100 ns since 1601) from a POSIX time.
int64_t toFileTime(const struct timespec& t) {
  constexpr int64_t kEpochDifference = 11644473600LL;  // seconds from 1601 to 1970
  return (static_cast<int64_t>(t.tv_sec) + kEpochDifference) * 10000000LL + t.tv_nsec / 100;
}

bool processAlive(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

// A write that was killed half-way leaves its temporary file behind (the
// target itself is whole). The next write of the same target removes the
// temporaries whose writers are gone, so none lingers to be taken for data.
void removeStaleTemporaries(const std::string& target) {
  const size_t slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
  const std::u16string name = utf8ToUtf16(slash == std::string::npos ? target : target.substr(slash + 1));
  DIR* d = ::opendir(dir.c_str());
  if (!d) return;
  const pid_t self = ::getpid();
  while (dirent* e = ::readdir(d)) {
    const std::optional<uint32_t> owner = ReplaceTempOwner(name, utf8ToUtf16(e->d_name));
    if (!owner || static_cast<pid_t>(*owner) == self || processAlive(static_cast<pid_t>(*owner))) continue;
    ::unlink((dir + "/" + e->d_name).c_str());
  }
  ::closedir(d);
}

}  // namespace

std::string PosixFileSystem::resolve(const std::u16string& path) {
  std::string p = utf16ToUtf8(path);
  for (auto& c : p)
    if (c == '\\') c = '/';
  if (p.empty() || existsExactly(p)) return p;
  // Walk the components, replacing each missing one by an entry that differs only in case.
  std::string done = p[0] == '/' ? "/" : "";
  size_t i = done.size();
  while (i <= p.size()) {
    size_t j = p.find('/', i);
    if (j == std::string::npos) j = p.size();
    std::string part = p.substr(i, j - i);
    if (!part.empty()) {
      std::string candidate = done + part;
      std::string found;
      if (!existsExactly(candidate) && part != "." && part != ".." &&
          findFolded(done.empty() ? "." : done, part, found))
        candidate = done + found;
      done = candidate;
      if (j < p.size()) done += '/';
    }
    i = j + 1;
  }
  return done;
}

ReadResult PosixFileSystem::readAll(const std::u16string& path) {
  ReadResult r;
  const std::string p = resolve(path);
  struct stat st;
  if (::stat(p.c_str(), &st) != 0) {
    r.status = errno == ENOENT || errno == ENOTDIR ? ReadStatus::NotFound : ReadStatus::Failed;
    r.error = errnoText(errno);
    return r;
  }
  if (S_ISDIR(st.st_mode)) {
    r.status = ReadStatus::Failed;
    r.error = u"Is a directory";
    return r;
  }
  int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    r.status = ReadStatus::Failed;
    r.error = errnoText(errno);
    return r;
  }
  std::string data;
  data.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      r.status = ReadStatus::Failed;
      r.error = errnoText(errno);
      ::close(fd);
      return r;
    }
    if (n == 0) break;
    data.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  r.status = ReadStatus::Ok;
  r.bytes = std::move(data);
  return r;
}

std::u16string PosixFileSystem::writeAllReplacing(const std::u16string& path, const std::string& bytes) {
  const std::string target = resolve(path);
  removeStaleTemporaries(target);
  const std::string temp =
      utf16ToUtf8(ReplaceTempName(utf8ToUtf16(target), static_cast<uint32_t>(::getpid()), NextReplaceSequence()));
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return errnoText(errno);
  ReportReplaceWriteProgress(0, bytes.size());
  size_t done = 0;
  while (done < bytes.size()) {
    const size_t chunk = std::min(bytes.size() - done, kReplaceWriteChunk);
    ssize_t n = ::write(fd, bytes.data() + done, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      int e = errno;
      ::close(fd);
      ::unlink(temp.c_str());
      return errnoText(e);
    }
    done += static_cast<size_t>(n);
    ReportReplaceWriteProgress(done, bytes.size());
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    int e = errno;
    ::unlink(temp.c_str());
    return errnoText(e);
  }
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) ::chmod(temp.c_str(), st.st_mode & 07777);
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    int e = errno;
    ::unlink(temp.c_str());
    return errnoText(e);
  }
  return {};
}

bool PosixFileSystem::fileExists(const std::u16string& path) {
  struct stat st;
  return ::stat(resolve(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool PosixFileSystem::directoryExists(const std::u16string& path) {
  struct stat st;
  return ::stat(resolve(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<FileStamp> PosixFileSystem::stamp(const std::u16string& path) {
  struct stat st;
  if (::stat(resolve(path).c_str(), &st) != 0) return std::nullopt;
  return FileStamp{toFileTime(st.st_mtim), static_cast<uint64_t>(st.st_size)};
}

std::u16string PosixFileSystem::fullPath(const std::u16string& path) {
  std::string p = utf16ToUtf8(path);
  for (auto& c : p)
    if (c == '\\') c = '/';
  if (p.empty() || p[0] != '/') p = utf16ToUtf8(currentDirectory()) + "/" + p;
  std::vector<std::string> parts;
  std::stringstream ss(p);
  std::string part;
  while (std::getline(ss, part, '/')) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string out;
  for (auto& s : parts) out += "/" + s;
  if (out.empty()) out = "/";
  if (!p.empty() && p.back() == '/' && out != "/") out += "/";
  return utf8ToUtf16(out);
}

std::u16string PosixFileSystem::canonicalPath(const std::u16string& path) {
  std::string p = resolve(fullPath(path));
  char buf[PATH_MAX];
  if (::realpath(p.c_str(), buf)) p = buf;
  return asciiUpper(utf8ToUtf16(p));
}

std::u16string PosixFileSystem::currentDirectory() {
  char buf[PATH_MAX];
  if (!::getcwd(buf, sizeof buf)) return u"/";
  return utf8ToUtf16(buf);
}

bool PosixFileSystem::setCurrentDirectory(const std::u16string& path) {
  return ::chdir(resolve(path).c_str()) == 0;
}

std::u16string PosixFileSystem::copyFile(const std::u16string& from, const std::u16string& to) {
  ReadResult r = readAll(from);
  if (r.status != ReadStatus::Ok) return r.error.empty() ? u"not found" : r.error;
  return writeAllReplacing(to, r.bytes);
}

std::u16string PosixFileSystem::executableDirectory() {
  char buf[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return currentDirectory();
  std::string p(buf, static_cast<size_t>(n));
  size_t slash = p.rfind('/');
  return utf8ToUtf16(slash == std::string::npos ? p : p.substr(0, slash));
}

}  // namespace maqo::platform
