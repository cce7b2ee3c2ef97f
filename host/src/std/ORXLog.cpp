// Severity names and levels of log events.

#include "orx/ORXLog.h"

int ORXSeverityLevelOf(const ORXString& severityName) {
    if (severityName == "FATAL")
        return ORX_SEVERITY_FATAL;
    if (severityName == "ERROR")
        return ORX_SEVERITY_ERROR;
    if (severityName == "WARNING")
        return ORX_SEVERITY_WARNING;
    if (severityName == "STATUS")
        return ORX_SEVERITY_STATUS;
    return ORX_SEVERITY_INFO;
}

const char* ORXSeverityNameOf(int level) {
    switch (level) {
        case ORX_SEVERITY_FATAL:
            return "FATAL";
        case ORX_SEVERITY_ERROR:
            return "ERROR";
        case ORX_SEVERITY_WARNING:
            return "WARNING";
        case ORX_SEVERITY_STATUS:
            return "STATUS";
        default:
            return "INFO";
    }
}
