#pragma once
// Running pdm-export as a user runs it: a separate process judged by its
// exit status, standard output, standard error and the files it leaves.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace pdmtest {

using Args = std::vector<std::string>;

struct Outcome {
    int status = -1;  // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs pdm-export with `arguments`, with SOURCE_DATE_EPOCH set to `epoch` or unset.
inline Outcome runExport(const Args& arguments, std::optional<std::string> epoch = std::nullopt) {
    TempDir capture;
    std::string command = PDM_EXPORT_EXE;
    for (const std::string& a : arguments) {
        std::string quoted = "'";
        for (char c : a)
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += " " + quoted + "'";
    }
    command += " </dev/null >" + capture.file("out") + " 2>" + capture.file("err");
    if (epoch)
        setenv("SOURCE_DATE_EPOCH", epoch->c_str(), 1);
    else
        unsetenv("SOURCE_DATE_EPOCH");
    int status = std::system(command.c_str());
    Outcome outcome;
    if (WIFEXITED(status) && WEXITSTATUS(status) != 127)
        outcome.status = WEXITSTATUS(status);
    else
        ADD_FAILURE() << "pdm-export did not run or exit normally: " << command;
    outcome.out = readFile(capture.file("out"));
    outcome.err = readFile(capture.file("err"));
    return outcome;
}

}  // namespace pdmtest
