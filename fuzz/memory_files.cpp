#include "fuzz/memory_files.h"

#include <vector>

#include "platform/text_codec.h"

namespace maqo::fuzz {

namespace {

// Splits at both separators, resolving "." and ".." (".." above the root stays at the root).
std::vector<std::u16string> partsOf(std::u16string_view path) {
  std::vector<std::u16string> parts;
  std::u16string part;
  auto flush = [&] {
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(part);
    }
    part.clear();
  };
  for (char16_t c : path) {
    if (c == u'/' || c == u'\\') flush();
    else part.push_back(c);
  }
  flush();
  return parts;
}

}  // namespace

MemoryFiles::MemoryFiles() : current_(u"/FUZZ") {}

std::u16string MemoryFiles::fullPath(const std::u16string& path) {
  const bool absolute = !path.empty() && (path[0] == u'/' || path[0] == u'\\');
  std::u16string out;
  for (const auto& part : partsOf(absolute ? path : current_ + u"/" + path)) out += u"/" + part;
  return out.empty() ? u"/" : out;
}

std::u16string MemoryFiles::canonicalPath(const std::u16string& path) { return asciiUpper(fullPath(path)); }

std::u16string MemoryFiles::put(const std::u16string& path, std::string bytes) {
  const std::u16string full = fullPath(path);
  File& file = files_[asciiUpper(full)];
  if (file.path.empty()) file.path = full;
  file.bytes = std::move(bytes);
  file.modified = ++clock_;
  return file.path;
}

void MemoryFiles::keep() { kept_ = files_; }

void MemoryFiles::restore() {
  if (files_.size() != kept_.size()) files_ = kept_;
}

platform::ReadResult MemoryFiles::readAll(const std::u16string& path) {
  platform::ReadResult r;
  auto it = files_.find(canonicalPath(path));
  if (it == files_.end()) {
    r.status = platform::ReadStatus::NotFound;
    r.error = u"The system cannot find the file specified.";
    return r;
  }
  r.status = platform::ReadStatus::Ok;
  r.bytes = it->second.bytes;
  return r;
}

std::u16string MemoryFiles::writeAllReplacing(const std::u16string& path, const std::string& bytes) {
  if (!directoryExists(fullPath(path + u"/.."))) return u"The system cannot find the path specified.";
  put(path, bytes);
  return {};
}

bool MemoryFiles::fileExists(const std::u16string& path) { return files_.count(canonicalPath(path)) > 0; }

bool MemoryFiles::directoryExists(const std::u16string& path) {
  const std::u16string folder = canonicalPath(path);
  if (folder == u"/") return true;
  const std::u16string prefix = folder + u"/";
  auto it = files_.lower_bound(prefix);
  return it != files_.end() && it->first.compare(0, prefix.size(), prefix) == 0;
}

std::optional<platform::FileStamp> MemoryFiles::stamp(const std::u16string& path) {
  auto it = files_.find(canonicalPath(path));
  if (it == files_.end()) return std::nullopt;
  return platform::FileStamp{it->second.modified, it->second.bytes.size()};
}

bool MemoryFiles::setCurrentDirectory(const std::u16string& path) {
  if (!directoryExists(path)) return false;
  current_ = fullPath(path);
  return true;
}

std::u16string MemoryFiles::copyFile(const std::u16string& from, const std::u16string& to) {
  auto it = files_.find(canonicalPath(from));
  if (it == files_.end()) return u"The system cannot find the file specified.";
  const std::string bytes = it->second.bytes;
  return writeAllReplacing(to, bytes);
}

}  // namespace maqo::fuzz
