// The calendar clock, optionally fixed by the host.

#include "orx/ORXClock.h"

#include <ctime>

namespace {

// A function-local static: the clock may be read from other libraries'
// load-time code, before this library's globals would be initialised.
std::optional<std::int64_t>& fixedTime() {
    static std::optional<std::int64_t> fixed;
    return fixed;
}

}  // namespace

std::int64_t ORXClock::now() {
    if (const auto& fixed = fixedTime())
        return *fixed;
    return static_cast<std::int64_t>(std::time(nullptr));
}

void ORXClock::setFixedTime(std::optional<std::int64_t> seconds) {
    fixedTime() = seconds;
}
