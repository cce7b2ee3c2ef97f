#pragma once
// The log that pdm-export hands to the bridge: every event becomes one line
// on standard error.

#include <cstdio>

#include "orx/ORXLog.h"

namespace cli {

// Prints each event as "SEVERITY CODE TEXT"; events below `minimumLevel`
// are dropped.
class ConsoleLog : public ORXLog {
  public:
    explicit ConsoleLog(int minimumLevel, std::FILE* out = stderr)
        : minimumLevel_(minimumLevel), out_(out) {}
    void reportEvent(const ORXLogEvent& event) override;

  private:
    int minimumLevel_;
    std::FILE* out_;
};

}  // namespace cli
