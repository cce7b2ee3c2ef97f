#pragma once
// The calling thread's stack: a guard for recursive work, and a way to run
// work on a thread whose stack is as large as the work needs.

#include <cstddef>
#include <functional>

namespace ORXStack {

// Raises an ORXException when less than a safety margin of the calling
// thread's stack is left, so that a recursion too deep for the stack ends
// with a message instead of a crash. Cheap enough for every recursive call.
void check();

// Runs `work` on a new thread with a stack of `bytes` (at least the
// system's minimum), waits for it and raises again whatever it raised.
// Returns false, without running `work`, when no such thread can be started
// (the address space or a limit may not allow so large a stack).
bool runWithStack(std::size_t bytes, const std::function<void()>& work);

}  // namespace ORXStack
