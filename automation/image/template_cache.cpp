#include "automation/image/template_cache.h"

#include "automation/image/bmp_codec.h"

namespace maqo::automation {

size_t ExtensionDot(std::u16string_view path) {
  const size_t slash = path.find_last_of(u"\\/");
  const size_t dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos || (slash != std::u16string_view::npos && dot < slash)) return std::u16string_view::npos;
  return dot;
}

std::u16string TemplateFileName(std::u16string_view name) {
  const size_t dot = ExtensionDot(name);
  return std::u16string(name.substr(0, dot == std::u16string_view::npos ? name.size() : dot)) + u".BMP";
}

TemplateLoad TemplateCache::load(platform::FileSystem& files, const std::u16string& path) {
  const std::optional<platform::FileStamp> stamp = files.stamp(path);
  if (!stamp) return {TemplateStatus::NotFound, nullptr};
  const std::u16string key = files.canonicalPath(path);
  {
    std::lock_guard guard(lock_);
    auto it = entries_.find(key);
    if (it != entries_.end() && it->second.stamp.modified == stamp->modified && it->second.stamp.size == stamp->size)
      return {TemplateStatus::Ok, it->second.picture};
  }
  // Read and decode outside the lock: other threads' searches go on meanwhile.
  const platform::ReadResult read = files.readAll(path);
  if (read.status == platform::ReadStatus::NotFound) return {TemplateStatus::NotFound, nullptr};
  std::optional<platform::PixelBuffer> picture;
  if (read.status == platform::ReadStatus::Ok) picture = ReadBmp(read.bytes);
  std::lock_guard guard(lock_);
  ++fileReads_;
  if (!picture) return {TemplateStatus::NotBmp, nullptr};
  auto shared = std::make_shared<const platform::PixelBuffer>(std::move(*picture));
  entries_[key] = Entry{shared, *stamp};
  return {TemplateStatus::Ok, shared};
}

void TemplateCache::clear() {
  std::lock_guard guard(lock_);
  entries_.clear();
}

int TemplateCache::fileReads() const {
  std::lock_guard guard(lock_);
  return fileReads_;
}

}  // namespace maqo::automation
