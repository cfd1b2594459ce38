#include "dialogs/log/log_path.h"

#include "platform/letter_case.h"

namespace maqo::dialogs {

namespace {

std::u16string_view trimmed(std::u16string_view s) {
  while (!s.empty() && (s.front() == u' ' || s.front() == u'\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == u' ' || s.back() == u'\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::u16string LogFileNameFor(std::u16string_view programName) {
  std::u16string name(programName);
  const size_t slash = name.find_last_of(u"\\/");
  if (slash != std::u16string::npos) name.erase(0, slash + 1);
  const size_t dot = name.rfind(u'.');
  if (dot != std::u16string::npos && dot > 0) name.erase(dot);
  return platform::upperCaseText(name + u".LOG");
}

std::u16string ResolveLogPath(std::u16string_view value, std::u16string_view fileName,
                              const engine::ReaderFolderLookup& folders,
                              const std::function<bool(const std::u16string&)>& isFolder) {
  std::u16string_view text = trimmed(value);
  if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"') text = text.substr(1, text.size() - 2);
  std::u16string path(text);
  if (path.find(u"GET_") != std::u16string::npos) {
    const engine::ReaderConstResult result = engine::EvalReaderConst(path, {}, folders);
    if (result.failed) return {};
    path = result.value;
  }
  if (path.empty()) return {};
  if (path.back() == u'\\' || path.back() == u'/') return path + std::u16string(fileName);
  if (isFolder && isFolder(path)) return path + u"\\" + std::u16string(fileName);
  return path;
}

}  // namespace maqo::dialogs
