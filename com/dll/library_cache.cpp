#include "com/dll/library_cache.h"

#include "com/dll/dll_messages.h"
#include "platform/text_codec.h"

namespace maqo::com::dll {

uintptr_t LibraryCache::module(const std::u16string& file) {
  const std::u16string key = asciiUpper(file);
  std::lock_guard guard(lock_);
  for (const auto& [name, handle] : entries_)
    if (name == key) return handle;
  if (entries_.size() >= kMaxLibraries) throw engine::ScriptError(messages::tooManyLibraries());
  const uintptr_t handle = native_.load(file);
  if (handle == 0) throw engine::ScriptError(messages::notLoadable(file));
  entries_.emplace_back(key, handle);
  return handle;
}

void LibraryCache::releaseAll() {
  std::vector<std::pair<std::u16string, uintptr_t>> loaded;
  {
    std::lock_guard guard(lock_);
    loaded.swap(entries_);
  }
  for (const auto& entry : loaded) native_.release(entry.second);
}

size_t LibraryCache::size() {
  std::lock_guard guard(lock_);
  return entries_.size();
}

}  // namespace maqo::com::dll
