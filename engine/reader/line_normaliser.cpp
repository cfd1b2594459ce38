#include "engine/reader/line_normaliser.h"

#include <charconv>

#include "engine/reader/reader_text.h"
#include "platform/text_codec.h"

namespace maqo::engine {

using namespace reader_text;

namespace {

bool isCallBoundary(char16_t c) { return c == u' ' || c == kFullWidthSpace || c == u';'; }

// Position of a "CALL " or "CALL" + full-width space outside quotes that starts
// the line or follows a space, full-width space or ";", or npos.
size_t findWideCall(std::u16string_view line) {
  const std::u16string upper = asciiUpper(line);
  bool quoted = false;
  for (size_t i = 0; i < upper.size(); ++i) {
    if (upper[i] == u'"') {
      quoted = !quoted;
      continue;
    }
    if (quoted || upper.compare(i, 4, u"CALL") != 0 || i + 4 >= upper.size()) continue;
    if (upper[i + 4] != u' ' && upper[i + 4] != kFullWidthSpace) continue;
    if (i == 0 || isCallBoundary(upper[i - 1])) return i;
  }
  return std::u16string::npos;
}

std::u16string tabsToSpacesOutsideQuotes(std::u16string_view text) {
  std::u16string out(text);
  bool quoted = false;
  for (auto& c : out) {
    if (c == u'"') quoted = !quoted;
    else if (!quoted && c == u'\t') c = u' ';
  }
  return out;
}

}  // namespace

void LineNormaliser::startFile() {
  textBlock_ = false;
  pending_ = false;
  pendingText_.clear();
}

LineNormaliser::Result LineNormaliser::normalise(const std::u16string& line, bool lastOfFile) {
  std::u16string text = StripComment(line);
  if (!textBlock_) {
    std::u16string trimmed = TrimScript(text);
    const bool continues = !trimmed.empty() && trimmed.back() == u'_';
    if (continues) trimmed.pop_back();
    if (continues && !lastOfFile) {
      pendingText_ += trimmed;
      pending_ = true;
      return {};
    }
    if (pending_) {
      // The spaces before the "_" of the previous line are kept; the join may
      // close a string that the earlier part opened, so comments are found again.
      text = StripComment(pendingText_ + trimmed);
      pending_ = false;
      pendingText_.clear();
    } else {
      text = trimmed;
    }
  }
  const std::u16string trimmed = TrimScript(text);
  const std::u16string spaced = TrimScript(WideSpacesToSpaces(trimmed));
  const std::u16string first = FirstWord(spaced);
  if (!textBlock_ && first == u"TEXTBLOCK") {
    textBlock_ = true;
    return {asciiUpper(spaced), false};
  }
  if (first == u"ENDTEXTBLOCK") textBlock_ = false;
  if (textBlock_) return {line, true};
  return {finishLine(trimmed), false};
}

// The case and white-space rules for a line outside any TEXTBLOCK body.
std::u16string LineNormaliser::finishLine(const std::u16string& trimmed) {
  const std::u16string spaced = TrimScript(WideSpacesToSpaces(trimmed));
  if (StartsWithUpper(spaced, u"DEF_DLL ")) {
    // DLL function and type names keep the case the author wrote.
    return u"DEF_DLL" + spaced.substr(7);
  }
  if (StartsWithUpper(trimmed, u"PROCEDURE ")) {
    // The header of an included file may name a folder with full-width spaces.
    return UpperOutsideQuotes(tabsToSpacesOutsideQuotes(trimmed), false);
  }
  if (HasWideSpaceOutsideQuotes(trimmed)) {
    const size_t call = findWideCall(trimmed);
    if (call != std::u16string::npos) {
      // A CALLed path may contain full-width spaces: only the part up to the CALL is spaced.
      std::u16string head = WideSpacesToSpaces(trimmed.substr(0, call + 5));
      std::u16string joined = head + TrimScript(trimmed.substr(call + 5));
      return UpperOutsideQuotes(joined, false);
    }
  }
  std::u16string out = UpperOutsideQuotes(spaced, true);
  numberModule(out);
  return out;
}

void LineNormaliser::numberModule(std::u16string& line) {
  if (!modules_) return;
  const std::u16string first = FirstWord(line);
  if (first != u"MODULE" && first != u"CLASS") return;
  const std::u16string name = Word(line, 1);
  auto it = modules_->find(name);
  if (it == modules_->end()) it = modules_->emplace(name, static_cast<int>(modules_->size())).first;
  char buf[16];
  auto end = std::to_chars(buf, buf + sizeof buf, it->second).ptr;
  line += u" " + u16(std::string_view(buf, static_cast<size_t>(end - buf)));
}

}  // namespace maqo::engine
