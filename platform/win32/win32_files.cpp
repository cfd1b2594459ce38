#include <windows.h>

#include <vector>

#include "platform/replace_write.h"
#include "platform/text_codec.h"
#include "platform/win32/win32_platform.h"

namespace maqo::platform {

namespace {

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
std::u16string U(const wchar_t* s, size_t n) { return std::u16string(reinterpret_cast<const char16_t*>(s), n); }

bool processAlive(DWORD pid) {
  HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (!h) return GetLastError() == ERROR_ACCESS_DENIED;  // there, but not ours to open
  const bool running = WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
  CloseHandle(h);
  return running;
}

// A write that was killed half-way leaves its temporary file behind (the
// target itself is whole). The next write of the same target removes the
// temporaries whose writers are gone, so none lingers to be taken for data.
void removeStaleTemporaries(const std::u16string& target) {
  const size_t slash = target.find_last_of(u"\\:");
  const std::u16string folder = slash == std::u16string::npos ? std::u16string() : target.substr(0, slash + 1);
  const std::u16string name = slash == std::u16string::npos ? target : target.substr(slash + 1);
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(W(target + u".maqo-tmp-*"), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  const DWORD self = GetCurrentProcessId();
  do {
    const std::u16string entry = reinterpret_cast<const char16_t*>(found.cFileName);
    const std::optional<uint32_t> owner = ReplaceTempOwner(name, entry);
    if (!owner || *owner == self || processAlive(*owner)) continue;
    DeleteFileW(W(folder + entry));
  } while (FindNextFileW(find, &found));
  FindClose(find);
}

}  // namespace

std::u16string lastErrorText(unsigned long code) {
  wchar_t* buf = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
  std::u16string text = n ? U(buf, n) : u"error " + utf8ToUtf16(std::to_string(code));
  if (buf) LocalFree(buf);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) text.pop_back();
  return text;
}

ReadResult Win32FileSystem::readAll(const std::u16string& path) {
  ReadResult r;
  const std::u16string p = withBackslashes(path);
  HANDLE h = CreateFileW(W(p), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD e = GetLastError();
    r.status = (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) ? ReadStatus::NotFound : ReadStatus::Failed;
    r.error = lastErrorText(e);
    return r;
  }
  LARGE_INTEGER size{};
  GetFileSizeEx(h, &size);
  std::string data;
  try {
    data.reserve(static_cast<size_t>(size.QuadPart));
  } catch (const std::exception&) {
    CloseHandle(h);
    r.status = ReadStatus::Failed;
    r.error = u"Out Of Memory";
    return r;
  }
  std::vector<char> buf(1 << 16);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(h, buf.data(), static_cast<DWORD>(buf.size()), &got, nullptr)) {
      r.status = ReadStatus::Failed;
      r.error = lastErrorText(GetLastError());
      CloseHandle(h);
      return r;
    }
    if (got == 0) break;
    data.append(buf.data(), got);
  }
  CloseHandle(h);
  r.status = ReadStatus::Ok;
  r.bytes = std::move(data);
  return r;
}

std::u16string Win32FileSystem::writeAllReplacing(const std::u16string& path, const std::string& bytes) {
  const std::u16string target = withBackslashes(path);
  removeStaleTemporaries(target);
  const std::u16string temp = ReplaceTempName(target, GetCurrentProcessId(), NextReplaceSequence());
  HANDLE h = CreateFileW(W(temp), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return lastErrorText(GetLastError());
  ReportReplaceWriteProgress(0, bytes.size());
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(bytes.size() - done > kReplaceWriteChunk ? kReplaceWriteChunk : bytes.size() - done);
    DWORD written = 0;
    if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr)) {
      DWORD e = GetLastError();
      CloseHandle(h);
      DeleteFileW(W(temp));
      return lastErrorText(e);
    }
    done += written;
    ReportReplaceWriteProgress(done, bytes.size());
  }
  if (!FlushFileBuffers(h)) {
    DWORD e = GetLastError();
    CloseHandle(h);
    DeleteFileW(W(temp));
    return lastErrorText(e);
  }
  CloseHandle(h);
  if (!MoveFileExW(W(temp), W(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD e = GetLastError();
    DeleteFileW(W(temp));
    return lastErrorText(e);
  }
  return {};
}

bool Win32FileSystem::fileExists(const std::u16string& path) {
  DWORD a = GetFileAttributesW(W(withBackslashes(path)));
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::directoryExists(const std::u16string& path) {
  DWORD a = GetFileAttributesW(W(withBackslashes(path)));
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<FileStamp> Win32FileSystem::stamp(const std::u16string& path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExW(W(withBackslashes(path)), GetFileExInfoStandard, &d)) return std::nullopt;
  FileStamp s;
  s.modified = static_cast<int64_t>((static_cast<uint64_t>(d.ftLastWriteTime.dwHighDateTime) << 32) |
                                    d.ftLastWriteTime.dwLowDateTime);
  s.size = (static_cast<uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
  return s;
}

std::u16string Win32FileSystem::fullPath(const std::u16string& path) {
  const std::u16string p = withBackslashes(path);
  DWORD n = GetFullPathNameW(W(p), 0, nullptr, nullptr);
  if (n == 0) return p;
  std::vector<wchar_t> buf(n + 1);
  n = GetFullPathNameW(W(p), n + 1, buf.data(), nullptr);
  return U(buf.data(), n);
}

std::u16string Win32FileSystem::canonicalPath(const std::u16string& path) {
  std::u16string full = fullPath(path);
  DWORD n = GetLongPathNameW(W(full), nullptr, 0);
  if (n != 0) {
    std::vector<wchar_t> buf(n + 1);
    n = GetLongPathNameW(W(full), buf.data(), n + 1);
    if (n != 0) full = U(buf.data(), n);
  }
  CharUpperBuffW(reinterpret_cast<wchar_t*>(full.data()), static_cast<DWORD>(full.size()));
  return full;
}

std::u16string Win32FileSystem::currentDirectory() {
  DWORD n = GetCurrentDirectoryW(0, nullptr);
  std::vector<wchar_t> buf(n + 1);
  n = GetCurrentDirectoryW(n + 1, buf.data());
  return U(buf.data(), n);
}

bool Win32FileSystem::setCurrentDirectory(const std::u16string& path) {
  return SetCurrentDirectoryW(W(withBackslashes(path))) != FALSE;
}

std::u16string Win32FileSystem::copyFile(const std::u16string& from, const std::u16string& to) {
  if (CopyFileW(W(withBackslashes(from)), W(withBackslashes(to)), FALSE)) return {};
  return lastErrorText(GetLastError());
}

std::u16string Win32FileSystem::executableDirectory() {
  std::vector<wchar_t> buf(32768);
  DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
  std::u16string p = U(buf.data(), n);
  size_t slash = p.rfind(u'\\');
  return slash == std::u16string::npos ? p : p.substr(0, slash);
}

}  // namespace maqo::platform
