#include <windows.h>
#include <shlwapi.h>

#include "platform/directory_access.h"
#include "platform/win32/win32_platform.h"
#include "platform/text_codec.h"

namespace maqo::platform {

namespace {

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

int64_t fileTime(const FILETIME& t) {
  return static_cast<int64_t>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
}

class Win32HeldFile final : public HeldFile {
 public:
  explicit Win32HeldFile(HANDLE h) : h_(h) {}
  ~Win32HeldFile() override { CloseHandle(h_); }

  ReadResult readAll() override {
    ReadResult r;
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(h_, zero, nullptr, FILE_BEGIN)) {
      r.error = lastErrorText(GetLastError());
      return r;
    }
    char buf[65536];
    for (;;) {
      DWORD got = 0;
      if (!ReadFile(h_, buf, sizeof buf, &got, nullptr)) {
        r.error = lastErrorText(GetLastError());
        r.bytes.clear();
        return r;
      }
      if (got == 0) break;
      r.bytes.append(buf, got);
    }
    r.status = ReadStatus::Ok;
    return r;
  }

 private:
  HANDLE h_;
};

}  // namespace

std::vector<DirectoryEntry> ListDirectory(const std::u16string& folder, std::u16string_view pattern) {
  std::vector<DirectoryEntry> entries;
  std::u16string dir = withBackslashes(folder.empty() ? u"." : folder);
  if (dir.back() != u'\\' && dir.back() != u':') dir += u'\\';
  // Every entry is listed and matched here against its long name: the system's
  // own pattern search also matches 8.3 aliases ("*.htm" would find "a.html").
  const std::u16string all = dir + u"*";
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileExW(W(all), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr, 0);
  if (h == INVALID_HANDLE_VALUE) return entries;
  do {
    std::u16string name(reinterpret_cast<const char16_t*>(fd.cFileName));
    if (name == u"." || name == u"..") continue;
    if (!MatchesWildcard(pattern, name)) continue;
    DirectoryEntry entry;
    entry.name = std::move(name);
    entry.isDirectory = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.hidden = (fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    entry.size = (static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    entry.created = fileTime(fd.ftCreationTime);
    entry.modified = fileTime(fd.ftLastWriteTime);
    entry.accessed = fileTime(fd.ftLastAccessTime);
    entries.push_back(std::move(entry));
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return entries;
}

bool DeleteSingleFile(const std::u16string& path) {
  const std::u16string p = withBackslashes(path);
  const DWORD attributes = GetFileAttributesW(W(p));
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  return DeleteFileW(W(p)) != 0;
}

int CompareNatural(std::u16string_view a, std::u16string_view b) {
  const std::u16string x(a), y(b);
  return StrCmpLogicalW(W(x), W(y));
}

std::unique_ptr<HeldFile> HoldFile(const std::u16string& path, HoldAccess access, std::u16string& error) {
  const std::u16string p = withBackslashes(path);
  DWORD rights = GENERIC_READ, disposition = OPEN_EXISTING;
  if (access == HoldAccess::ReadWrite) rights = GENERIC_READ | GENERIC_WRITE, disposition = OPEN_ALWAYS;
  if (access == HoldAccess::Write) rights = GENERIC_WRITE, disposition = OPEN_ALWAYS;
  HANDLE h = CreateFileW(W(p), rights, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = lastErrorText(GetLastError());
    return nullptr;
  }
  return std::make_unique<Win32HeldFile>(h);
}

}  // namespace maqo::platform
