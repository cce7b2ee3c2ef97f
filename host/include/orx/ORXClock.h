#pragma once
// The calendar clock of the host.

#include <cstdint>
#include <optional>

// Seconds since 1970-01-01 UTC. The host may fix the time that every reader
// sees (reproducible output); bridges only read it.
class ORXClock {
  public:
    static std::int64_t now();
    // Fixes the time; std::nullopt goes back to the system clock.
    static void setFixedTime(std::optional<std::int64_t> seconds);
};
