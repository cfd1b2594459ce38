// Rewrites applied to every source line outside text blocks before it is
// split into statements.
#pragma once
#include <string>

namespace maqo::engine {

// "<#CR>", "<#TAB>" and "<#DBL>" in any letter case, inside strings and out,
// become "<#_CR>", "<#_TAB>" and "<#_DBL>": the source's own escapes are
// expanded whatever OPTION SPECIALCHAR says about evaluated text.
std::u16string NormaliseEscapes(std::u16string line);

// A parenthesised member chain A.ITEMS(1).NAME becomes A.ITEMS[1].NAME, the
// form the evaluator reads as an indexed member: every ")" directly followed by
// "." outside quotes turns into "]" and its matching "(" into "[". Returns
// false when the parentheses outside quotes do not pair up (the line is then
// unusable).
bool RewriteMemberChains(std::u16string& line);

}  // namespace maqo::engine
