#include "engine/errors/location_text.h"

#include "engine/builder/builder_text.h"
#include "engine/eval/text_helpers.h"
#include "platform/text_codec.h"

namespace maqo::engine {

namespace {

// The header the reader generates for a CALLed file: "PROCEDURE <path>.MQS()",
// numbered 0 because it is no line of the file.
bool isFileHeader(const Program& program, int line) {
  const std::u16string& text = program.ScriptLines[static_cast<size_t>(line)];
  if (!startsWith(text, u"PROCEDURE ") || !endsWith(text, u".MQS()")) return false;
  return program.sourceRef(line).number == 0;
}

std::u16string bareFileName(std::u16string_view path) {
  const size_t cut = path.find_last_of(u"\\/:");
  return std::u16string(cut == std::u16string_view::npos ? path : path.substr(cut + 1));
}

}  // namespace

std::u16string ScriptFileOfFunction(const Program& program, int headerLine, bool bareName) {
  if (headerLine >= program.lineCount()) headerLine = program.lineCount() - 1;
  for (int line = headerLine; line >= 0; --line) {
    if (!isFileHeader(program, line)) continue;
    std::u16string_view path = program.ScriptLines[static_cast<size_t>(line)];
    path.remove_prefix(10);                 // "PROCEDURE "
    path.remove_suffix(2);                  // "()"
    return bareName ? bareFileName(path) : std::u16string(path);
  }
  return {};
}

std::u16string FormatLocation(std::u16string_view file, int number, std::u16string_view text, bool japanese) {
  std::u16string out;
  if (!file.empty()) out.append(file).append(u": ");
  if (japanese) {
    out += u16(std::to_string(number)) + u"行目: ";
  } else {
    out += u"at line " + u16(std::to_string(number)) + u": ";
  }
  std::u16string shown = ReplaceAll(text, u"<#_DBL>", u"<#DBL>");
  shown = ReplaceAll(shown, u"<#_CR>", u"<#CR>");
  shown = ReplaceAll(shown, u"<#_TAB>", u"<#TAB>");
  return out + shown;
}

std::u16string LocationText(const Program& program, int headerLine, int line, bool japanese, bool bareFileName) {
  if (line < 0 || line >= program.lineCount()) return {};
  const SourceRef ref = program.sourceRef(line);
  return FormatLocation(ScriptFileOfFunction(program, headerLine, bareFileName), ref.number, ref.text, japanese);
}

}  // namespace maqo::engine
