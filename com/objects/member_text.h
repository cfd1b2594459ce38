// Parsing of COM member texts as scripts write them: the member chain
// "A.B[1].C(2, VAR N, NAME := 3)" and its argument lists. Pure text work,
// cached by the caller per text, so a member call parses its line once.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace maqo::com::objects {

// An automation call takes at most this many arguments.
inline constexpr size_t kMaxMemberArguments = 16;

struct MemberArgument {
  std::u16string text;       // the value's expression; "EMPTYPARAM" for an omitted argument
  std::u16string name;       // the argument's name for "name := value", else empty
  bool byReference = false;  // written "VAR x": the variable receives what the server leaves
  bool operator==(const MemberArgument&) const = default;
};

// Splits an argument list (the text between the parentheses) at top-level
// commas. "name := value" is split only at a ":=" outside quotes, so a string
// argument holding ":=" stays one positional argument. Throws ScriptError
// for more than kMaxMemberArguments arguments. An empty text gives none.
std::vector<MemberArgument> ParseMemberArguments(std::u16string_view text);

struct MemberStep {
  std::u16string name;                    // the member as written (case is irrelevant to IDispatch)
  std::vector<MemberArgument> arguments;  // from "(...)" or "[...]"
  bool parenthesised = false;             // written with "(...)"
  bool indexed = false;                   // written with "[...]"
  bool operator==(const MemberStep&) const = default;
};

// A member chain: the head expression ("" when the chain starts with "." and
// so refers to the WITH object) and the members applied to it in turn.
struct MemberPath {
  std::u16string head;
  std::vector<MemberStep> steps;
};

// Splits a chain at its top-level dots. Throws ScriptError for a chain
// without member, an empty member or an unclosed argument list.
MemberPath ParseMemberPath(std::u16string_view text);

}  // namespace maqo::com::objects
