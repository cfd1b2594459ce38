#include <vector>

#include "platform/directory_access.h"
#include "platform/letter_case.h"

namespace maqo::platform {

namespace {

// Letters compare as the file system compares names: without regard to case.
char16_t foldCase(char16_t c) { return upperCaseLetter(c); }

bool matchFrom(std::u16string_view p, std::u16string_view n) {
  // Iterative glob with one back-tracking point for the last "*".
  size_t pi = 0, ni = 0, starP = std::u16string_view::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == u'?' || (p[pi] != u'*' && foldCase(p[pi]) == foldCase(n[ni])))) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == u'*') {
      starP = pi++;
      starN = ni;
    } else if (starP != std::u16string_view::npos) {
      pi = starP + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == u'*') ++pi;
  return pi == p.size();
}

}  // namespace

bool MatchesWildcard(std::u16string_view pattern, std::u16string_view name) {
  if (pattern.empty()) return false;
  if (pattern == u"*.*" || pattern == u"*") return true;
  // "NAME." asks for names without an extension.
  if (pattern.size() > 1 && pattern.back() == u'.' && pattern[pattern.size() - 2] != u'.') {
    if (name.find(u'.') != std::u16string_view::npos) return false;
    return matchFrom(pattern.substr(0, pattern.size() - 1), name);
  }
  return matchFrom(pattern, name);
}

}  // namespace maqo::platform
