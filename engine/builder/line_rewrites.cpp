#include "engine/builder/line_rewrites.h"

#include <vector>

#include "engine/eval/text_helpers.h"

namespace maqo::engine {

std::u16string NormaliseEscapes(std::u16string line) {
  if (line.find(u"<#") == std::u16string::npos) return line;
  line = ReplaceAll(line, u"<#CR>", u"<#_CR>", true);
  line = ReplaceAll(line, u"<#TAB>", u"<#_TAB>", true);
  return ReplaceAll(line, u"<#DBL>", u"<#_DBL>", true);
}

bool RewriteMemberChains(std::u16string& line) {
  if (FindOutside(u").", line, false) == 0) return true;
  if (CountOutside(u'(', line) != CountOutside(u')', line)) return false;
  // One pass with a stack of open parentheses pairs every ")" with its "(";
  // the pairs followed by "." are turned into brackets.
  std::vector<size_t> open;
  bool inQuote = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char16_t c = line[i];
    if (c == u'"') inQuote = !inQuote;
    if (inQuote) continue;
    if (c == u'(') {
      open.push_back(i);
    } else if (c == u')') {
      const bool member = i + 1 < line.size() && line[i + 1] == u'.';
      if (open.empty()) {
        if (member) return false;
        continue;
      }
      if (member) {
        line[open.back()] = u'[';
        line[i] = u']';
      }
      open.pop_back();
    }
  }
  return true;
}

}  // namespace maqo::engine
