#include "cli/ConsoleLog.h"

#include <string>

#include "cli/Safeguards.h"

namespace cli {

void ConsoleLog::reportEvent(const ORXLogEvent& event) {
    if (event.getLevel() < minimumLevel_)
        return;
    std::string line = ORXSeverityNameOf(event.getLevel());
    // Framework events may come without a code; avoid a double blank then.
    if (!event.getCode().empty()) {
        line += ' ';
        line += event.getCode().str();
    }
    line += ' ';
    // Names in the text come from the model; they must not act on the terminal.
    line += terminalSafe(event.getText().str());
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), out_);
    // The bridge may crash or be killed mid-export; what it said so far counts.
    std::fflush(out_);
}

}  // namespace cli
