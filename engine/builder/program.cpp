#include "engine/builder/program.h"

#include <charconv>

#include "platform/text_codec.h"

namespace maqo::engine {

namespace {
constexpr char16_t kSourceRefMask = 0x5A3C;
}

std::u16string ScrambleSourceRef(std::u16string_view text) {
  std::u16string out(text);
  for (auto& c : out) c = static_cast<char16_t>(c ^ kSourceRefMask);
  return out;
}

void Program::clear() {
  ScriptLines.clear();
  Records.clear();
  SourceRefs.clear();
  SourceOf.clear();
  FuncNames.clear();
  FuncEntries.clear();
  DllDecls.clear();
  DllDeclaredNames.clear();
  Options = OptionSettings{};
  DirectErrorReported = false;
}

std::vector<int> Program::lineKinds() const {
  std::vector<int> kinds;
  kinds.reserve(Records.size());
  for (const auto& record : Records) kinds.push_back(kindNumber(record.kind));
  return kinds;
}

std::u16string Program::sourceRefText(int line) const {
  if (line < 0 || line >= static_cast<int>(SourceOf.size())) return {};
  return ScrambleSourceRef(SourceRefs[SourceOf[static_cast<size_t>(line)]]);
}

SourceRef Program::sourceRef(int line) const {
  const std::u16string text = sourceRefText(line);
  SourceRef ref;
  const size_t comma = text.find(u',');
  if (comma == std::u16string::npos) return ref;
  const std::string digits = utf16ToUtf8(std::u16string_view(text).substr(0, comma));
  std::from_chars(digits.data(), digits.data() + digits.size(), ref.number);
  ref.text = text.substr(comma + 1);
  return ref;
}

int Program::firstErrorLine() const {
  for (size_t i = 0; i < Records.size(); ++i)
    if (Records[i].error) return static_cast<int>(i);
  return -1;
}

}  // namespace maqo::engine
