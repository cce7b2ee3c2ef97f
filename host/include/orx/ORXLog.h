#pragma once
// Log events and the host's log.

#include "orx/ORXString.h"

// Numeric severity levels of log events.
enum ORXSeverityLevel : int {
    ORX_SEVERITY_INFO = 0,
    ORX_SEVERITY_STATUS = 1,
    ORX_SEVERITY_WARNING = 2,
    ORX_SEVERITY_ERROR = 3,
    ORX_SEVERITY_FATAL = 4,
};

// The level of a severity name ("FATAL", "ERROR", "WARNING", "STATUS"; any
// other name is INFO).
int ORXSeverityLevelOf(const ORXString& severityName);
// The name of a level ("FATAL", "ERROR", "WARNING", "STATUS", "INFO").
const char* ORXSeverityNameOf(int level);

// One message handed to the log: its text, its code, its severity level and
// one more text (the source; bridges pass the empty string).
class ORXLogEvent {
  public:
    ORXLogEvent(const ORXString& text, const ORXString& code, int level, const ORXString& source)
        : text_(text), code_(code), level_(level), source_(source) {}
    const ORXString& getText() const { return text_; }
    const ORXString& getCode() const { return code_; }
    int getLevel() const { return level_; }
    const ORXString& getSource() const { return source_; }

  private:
    ORXString text_, code_;
    int level_;
    ORXString source_;
};

// The host's log, which receives the events of a run.
class ORXLog {
  public:
    virtual ~ORXLog() = default;
    // Receives one event.
    virtual void reportEvent(const ORXLogEvent& event) = 0;
};
