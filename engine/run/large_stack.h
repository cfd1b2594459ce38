// Runs the script's main part on a thread of its own with a large stack, and
// lets code on that thread ask how much of the stack is left, so that deep
// recursion in a script ends with a clean error instead of a crash.
#pragma once
#include <cstddef>
#include <functional>

namespace maqo::engine {

// The stack the main part gets. Address space, not memory: pages are used only
// as deep as the script recurses. A build may set another size in megabytes
// with MAQO_MAIN_STACK_MB: the fuzz build stays below the 64 MB of stack that
// AddressSanitizer can clean up after an exception passes through it (beyond
// that it reports false errors once the script recurses deeply again).
#ifdef MAQO_MAIN_STACK_MB
inline constexpr size_t kMainStackBytes = size_t{MAQO_MAIN_STACK_MB} << 20;
#else
inline constexpr size_t kMainStackBytes = sizeof(void*) >= 8 ? size_t{512} << 20 : size_t{96} << 20;
#endif

// Runs body on a new thread with a stack of stackBytes and waits for it,
// calling waitStep about every 10 ms meanwhile (the caller keeps its window
// messages flowing). An exception that escapes body is thrown again here.
// Throws std::runtime_error when no such thread can be made.
void RunOnLargeStack(size_t stackBytes, const std::function<void()>& body, const std::function<void()>& waitStep);

// True when the calling thread runs on a stack of known size (a thread of
// RunOnLargeStack) and less than a safety margin of it is left. Threads of
// unknown stack size always answer false.
bool StackNearlyExhausted();

}  // namespace maqo::engine
