// Stack guard and large-stack threads.

#include "orx/ORXStack.h"

#include <pthread.h>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <string>

#include "orx/ORXException.h"

namespace {

// The lowest address the calling thread may use before the safety margin;
// 0 until it is known, 1 when it cannot be known (no guard then).
thread_local std::uintptr_t stackLimit = 0;
thread_local std::size_t stackSize = 0;

// The margin keeps room for the non-recursive calls made between two checks
// (text formatting, the file's writes), also in sanitizer builds, whose
// frames are several times larger.
constexpr std::size_t kLargestMargin = std::size_t{1} << 20;
constexpr std::size_t kSmallestMargin = std::size_t{64} << 10;

std::uintptr_t findStackLimit() {
    pthread_attr_t attributes;
    if (pthread_getattr_np(pthread_self(), &attributes) != 0)
        return 1;
    void* lowest = nullptr;
    std::size_t size = 0;
    const int result = pthread_attr_getstack(&attributes, &lowest, &size);
    pthread_attr_destroy(&attributes);
    if (result != 0 || !lowest || size == 0)
        return 1;
    stackSize = size;
    const std::size_t margin = std::clamp(size / 8, kSmallestMargin, kLargestMargin);
    return reinterpret_cast<std::uintptr_t>(lowest) + margin;
}

struct ThreadWork {
    const std::function<void()>* work;
    std::exception_ptr failure;
};

void* runWork(void* argument) {
    auto* thread = static_cast<ThreadWork*>(argument);
    try {
        (*thread->work)();
    } catch (...) {
        thread->failure = std::current_exception();
    }
    return nullptr;
}

}  // namespace

void ORXStack::check() {
    if (stackLimit == 0)
        stackLimit = findStackLimit();
    const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    if (here < stackLimit) {
        throw ORXException("The model nests too deeply to be written with this thread's stack of " +
                           std::to_string(stackSize >> 20) +
                           " MiB: a chain of objects that refer to one another is too long");
    }
}

bool ORXStack::runWithStack(std::size_t bytes, const std::function<void()>& work) {
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0)
        return false;
    const std::size_t minimum = static_cast<std::size_t>(PTHREAD_STACK_MIN);
    int error = pthread_attr_setstacksize(&attributes, std::max(bytes, minimum));
    ThreadWork thread{&work, nullptr};
    pthread_t id;
    if (error == 0)
        error = pthread_create(&id, &attributes, runWork, &thread);
    pthread_attr_destroy(&attributes);
    if (error != 0)
        return false;
    pthread_join(id, nullptr);
    if (thread.failure)
        std::rethrow_exception(thread.failure);
    return true;
}
