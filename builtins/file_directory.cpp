#include "builtins/file_directory.h"
#include "platform/text_codec.h"

#include <algorithm>

#include "engine/eval/text_helpers.h"
#include "platform/directory_access.h"

namespace maqo::builtins {

namespace {


}  // namespace

int DeleteMatchingFiles(std::u16string_view pattern) {
  const std::u16string p = withBackslashes(pattern);
  const size_t cut = p.find_last_of(u"\\:");
  const std::u16string folder = cut == std::u16string::npos ? std::u16string() : p.substr(0, cut + 1);
  const std::u16string mask = cut == std::u16string::npos ? p : p.substr(cut + 1);
  if (mask.empty()) return 0;
  int deleted = 0;
  for (const auto& entry : platform::ListDirectory(folder.empty() ? u"." : folder, mask)) {
    if (entry.isDirectory) continue;
    if (platform::DeleteSingleFile(folder + entry.name)) ++deleted;
  }
  return deleted;
}

std::vector<std::u16string> ListFolder(std::u16string_view folderText, std::u16string_view patternText,
                                       bool withHidden, int64_t order) {
  std::vector<std::u16string> names;
  if (folderText.empty()) return names;
  std::u16string folder = withBackslashes(folderText);
  if (folder.back() != u'\\') folder += u'\\';
  const std::u16string pattern = withBackslashes(patternText);
  bool wantFolders = false;
  std::u16string mask = u"*";
  if (pattern == u"\\") {
    wantFolders = true;
  } else if (!pattern.empty() && pattern.front() == u'\\') {
    wantFolders = true;
    mask = pattern.substr(1);
  } else if (!pattern.empty()) {
    mask = pattern;
  }
  std::vector<platform::DirectoryEntry> entries;
  for (auto& entry : platform::ListDirectory(folder, mask)) {
    if (entry.isDirectory != wantFolders) continue;
    if (entry.hidden && !withHidden) continue;
    entries.push_back(std::move(entry));
  }
  std::vector<std::pair<std::u16string, size_t>> keyed;  // upper-cased name, index
  keyed.reserve(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) keyed.emplace_back(engine::UpperCase(entries[i].name), i);
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    return platform::CompareNatural(a.first, b.first) < 0;
  });
  auto keyOf = [&](size_t i) -> int64_t {
    const platform::DirectoryEntry& e = entries[i];
    switch (order) {
      case 1: return static_cast<int64_t>(e.size);
      case 2: return e.created;
      case 3: return e.modified;
      default: return e.accessed;
    }
  };
  if (order >= 1 && order <= 4)
    std::stable_sort(keyed.begin(), keyed.end(),
                     [&](const auto& a, const auto& b) { return keyOf(a.second) < keyOf(b.second); });
  names.reserve(keyed.size());
  for (const auto& k : keyed) names.push_back(entries[k.second].name);
  return names;
}

}  // namespace maqo::builtins
