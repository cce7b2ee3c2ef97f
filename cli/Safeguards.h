#pragma once
// What pdm-export does to stay safe whatever it is given: standard
// descriptors that are open, signals that leave no temporary file behind,
// inputs that are only read, outputs that never overwrite the input, and
// text from the model that cannot forge terminal lines.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandLine.h"
#include "orx/ORXModel.h"

namespace cli {

// Opens /dev/null on any of descriptors 0, 1 and 2 that is closed, so that
// no file the program opens later becomes standard output or error. Standard
// output is opened read-only then, so that writing to it still fails.
void ensureStandardDescriptors();

// Ignores SIGXFSZ, so that a file size limit is an ordinary write error, and
// has SIGINT and SIGTERM remove the output's temporary file before the
// program ends as the signal would end it.
void installSignalHandlers();

// Flushes standard output; raises std::runtime_error naming the system's
// reason when what was printed could not be written.
void finishStandardOutput();

// Raises importers::ModelFileError unless `path` is a regular file (or a
// symbolic link to one): a device such as /dev/zero would be read forever.
void requireRegularFile(const std::string& path);

// Raises UsageError when the output file, the model dump or the picture
// named by `line` is the input file (same device and inode, or the same path
// for a file that does not exist yet), or when two of them name the same file.
void refuseOverwritingInput(const CommandLine& line);

// Raises UsageError unless the indentation settings of `line` hold only
// blanks and tabs, at most kMaximumIndent of them.
void checkIndentSettings(const CommandLine& line);
inline constexpr std::size_t kMaximumIndent = 64;

// Runs `work` (the export of a model) on a thread whose stack grows with
// the number of objects the process has made: the bridge's writers recurse
// along chains of objects that refer to one another, as deep as the longest
// chain. Raises what `work` raises.
void runWithStackFor(const std::function<void()>& work);

// `text` with control characters (C0, DEL and the C1 range in UTF-8) written
// as \xNN, so that names from a model cannot move the cursor or start a line
// of their own on a terminal.
std::string terminalSafe(std::string_view text);

}  // namespace cli
