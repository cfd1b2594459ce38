// Runs the script's main part on a thread of its own with a large stack, and
// lets code on that thread ask how much of the stack is left, so that deep
// recursion in a script ends with a clean error instead of a crash.
#pragma once
#include <cstddef>
#include <functional>

namespace maqo::engine {

// The stack the main part gets. Address space, not memory: pages are used only
// as deep as the script recurses.
inline constexpr size_t kMainStackBytes = sizeof(void*) >= 8 ? size_t{512} << 20 : size_t{96} << 20;

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
