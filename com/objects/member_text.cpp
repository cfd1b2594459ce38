#include "com/objects/member_text.h"

#include "com/objects/com_messages.h"
#include "engine/eval/text_helpers.h"

namespace maqo::com::objects {

using engine::FindOutside;
using engine::SplitAll;
using engine::Trim;
using engine::TrimView;

namespace {

// Position of the character that closes the group opened at text[open]
// ("(" or "["), skipping quoted text and nested groups; npos when unclosed.
size_t closingOf(std::u16string_view text, size_t open) {
  int depth = 0;
  bool quoted = false;
  for (size_t i = open; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'"') quoted = !quoted;
    if (quoted) continue;
    if (c == u'(' || c == u'[') ++depth;
    if (c == u')' || c == u']') {
      if (--depth == 0) return i;
    }
  }
  return std::u16string_view::npos;
}

MemberStep parseStep(std::u16string_view segment, std::u16string_view whole) {
  MemberStep step;
  const std::u16string_view trimmed = TrimView(segment);
  size_t open = 0;
  bool quoted = false;
  for (; open < trimmed.size(); ++open) {
    const char16_t c = trimmed[open];
    if (c == u'"') quoted = !quoted;
    if (!quoted && (c == u'(' || c == u'[')) break;
  }
  step.name = Trim(trimmed.substr(0, open));
  if (step.name.empty()) throw messages::badMemberText(whole);
  if (open == trimmed.size()) return step;
  const size_t close = closingOf(trimmed, open);
  if (close == std::u16string_view::npos || !TrimView(trimmed.substr(close + 1)).empty())
    throw messages::badMemberText(whole);
  step.parenthesised = trimmed[open] == u'(';
  step.indexed = !step.parenthesised;
  step.arguments = ParseMemberArguments(trimmed.substr(open + 1, close - open - 1));
  return step;
}

}  // namespace

std::vector<MemberArgument> ParseMemberArguments(std::u16string_view text) {
  std::vector<MemberArgument> arguments;
  if (TrimView(text).empty()) return arguments;
  for (const std::u16string& piece : SplitAll(text, u",")) {
    if (arguments.size() == kMaxMemberArguments) throw messages::tooManyArguments(text);
    MemberArgument argument;
    std::u16string_view value = TrimView(piece);
    // "name := value": the ":=" must stand outside quotes and groups.
    if (const size_t named = FindOutside(u":=", value, true, 1, true); named > 1) {
      argument.name = Trim(value.substr(0, named - 1));
      value = TrimView(value.substr(named + 1));
    }
    if (const auto named = engine::AfterVarKeyword(value)) {
      argument.byReference = true;
      value = *named;
    }
    argument.text = value.empty() ? std::u16string(u"EMPTYPARAM") : std::u16string(value);
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

MemberPath ParseMemberPath(std::u16string_view text) {
  const std::u16string_view trimmed = TrimView(text);
  std::vector<std::u16string> segments = SplitAll(trimmed, u".");
  if (segments.size() < 2) throw messages::badMemberText(text);
  MemberPath path;
  path.head = Trim(segments[0]);
  for (size_t i = 1; i < segments.size(); ++i) path.steps.push_back(parseStep(segments[i], text));
  return path;
}

}  // namespace maqo::com::objects
