// Which scripts the run target lets run. A fuzzed script must not touch the
// machine it runs on: no processes, no files outside its scratch folder, no
// power, sound, sensors, input or windows, no real waits. Builtins are reached
// only by a name written in the script text (or in a file it CALLs): EVAL,
// the one way to call a builtin whose name is computed at run time, is refused
// itself. So a script is refused when its text names any builtin outside a
// short allow-list of builtins that only compute (strings, arrays, math, time
// texts) or, on this build, only answer that they need Windows.
#pragma once
#include <string>
#include <string_view>

namespace maqo::fuzz {

// The first builtin that the text names and a fuzzed run may not call, or
// empty. Conservative: names inside strings and comments count, and a name
// counts wherever the text splits into letters and digits around it.
std::u16string RefusedBuiltinIn(std::u16string_view text);

// Aborts unless RefusedBuiltinIn refuses the calls it exists to refuse: the
// run target calls this once before it runs anything.
void CheckRefusals();

}  // namespace maqo::fuzz
