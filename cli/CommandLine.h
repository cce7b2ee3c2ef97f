#pragma once
// The command line of pdm-export: what the user asked for, parsed and
// checked for form; nothing here knows the bridge's options.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/ModelPreparation.h"

namespace cli {

// A command line that cannot be run; the program exits with status 2.
class UsageError : public std::runtime_error {
  public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// One option value to hand to the bridge, under the option's display name.
struct OptionSetting {
    std::string name;
    std::string value;
};

// Everything the command line asks for.
struct CommandLine {
    // The model source; empty when none was given.
    std::string input;
    // Option values in command-line order; a later one for the same name wins.
    std::vector<OptionSetting> settings;
    // True when -o/--output gave an output file.
    bool hasOutput = false;
    bool listOptions = false;
    bool about = false;
    bool help = false;
    bool quiet = false;
    // Where to write the loaded model as a model file; empty for nowhere.
    std::string dumpModel;
    // The calendar time given with --time.
    std::optional<std::int64_t> time;
    // The bridge library given with --bridge; empty for the one beside the program.
    std::string bridge;
    // Selection, imported diagram, --layout and --complete-links.
    ModelChoices model;
    // Where --svg writes the picture of the exported diagrams; empty for nowhere.
    std::string svg;
};

// The display names of the bridge options that the short flags set.
inline constexpr const char* kFileOption = "File";
inline constexpr const char* kTargetOption = "Target Database";
inline constexpr const char* kDescriptionOption = "Description";
inline constexpr const char* kScaleXOption = "Scale (in %) for X coordinates";
inline constexpr const char* kScaleYOption = "Scale (in %) for Y coordinates";
inline constexpr const char* kIndentOption = "XML Indentation (pretty printing)";
inline constexpr const char* kVersionOption = "Version";

// Parses the arguments after the program name. Raises UsageError for an
// unknown flag, a flag without its value, a malformed value or a second INPUT.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// Reads a whole signed 64-bit decimal integer (optional sign, no blanks);
// std::nullopt for anything else, out-of-range values included.
std::optional<std::int64_t> parseInteger(const std::string& text);

// `text` with every two-character sequence backslash-t replaced by a tab.
std::string expandTabs(const std::string& text);

// The help text printed by --help.
std::string usageText();

}  // namespace cli
