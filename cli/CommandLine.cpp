#include "cli/CommandLine.h"

#include <charconv>

namespace cli {

namespace {

// The flags that take a value, with their long and short spellings.
enum class Flag {
    Output,
    Target,
    Description,
    ScaleX,
    ScaleY,
    Indent,
    PdmVersion,
    Option,
    DumpModel,
    Time,
    Bridge,
    Include,
    Exclude,
    Svg,
};

struct ValueFlag {
    const char* longName;
    char shortName;  // 0 when the flag has no short form
    Flag flag;
};

constexpr ValueFlag kValueFlags[] = {
    {"--output", 'o', Flag::Output},         {"--target", 't', Flag::Target},
    {"--description", 0, Flag::Description}, {"--scale-x", 0, Flag::ScaleX},
    {"--scale-y", 0, Flag::ScaleY},          {"--indent", 0, Flag::Indent},
    {"--pdm-version", 0, Flag::PdmVersion},  {"--option", 0, Flag::Option},
    {"--dump-model", 0, Flag::DumpModel},    {"--time", 0, Flag::Time},
    {"--bridge", 0, Flag::Bridge},           {"--include", 0, Flag::Include},
    {"--exclude", 0, Flag::Exclude},         {"--svg", 0, Flag::Svg},
};

const ValueFlag* findLongFlag(const std::string& name) {
    for (const ValueFlag& f : kValueFlags) {
        if (name == f.longName)
            return &f;
    }
    return nullptr;
}

const ValueFlag* findShortFlag(char name) {
    for (const ValueFlag& f : kValueFlags) {
        if (f.shortName != 0 && f.shortName == name)
            return &f;
    }
    return nullptr;
}

void applyValue(CommandLine& line, const ValueFlag& f, const std::string& spelling,
                const std::string& value) {
    switch (f.flag) {
        case Flag::Output:
            line.settings.push_back({kFileOption, value});
            line.hasOutput = true;
            break;
        case Flag::Target:
            line.settings.push_back({kTargetOption, value});
            break;
        case Flag::Description:
            line.settings.push_back({kDescriptionOption, value});
            break;
        case Flag::ScaleX:
            line.settings.push_back({kScaleXOption, value});
            break;
        case Flag::ScaleY:
            line.settings.push_back({kScaleYOption, value});
            break;
        case Flag::Indent:
            line.settings.push_back({kIndentOption, expandTabs(value)});
            break;
        case Flag::PdmVersion:
            line.settings.push_back({kVersionOption, value});
            break;
        case Flag::Option: {
            // Values may contain '=', option names do not: split at the first.
            std::string::size_type eq = value.find('=');
            if (eq == std::string::npos || eq == 0) {
                throw UsageError(spelling + " expects NAME=VALUE, got '" + value + "'");
            }
            line.settings.push_back({value.substr(0, eq), value.substr(eq + 1)});
            // "File" given this way names the output just as -o does.
            if (value.substr(0, eq) == kFileOption)
                line.hasOutput = true;
            break;
        }
        case Flag::DumpModel:
            if (value.empty())
                throw UsageError(spelling + " expects a file name");
            line.dumpModel = value;
            break;
        case Flag::Time: {
            std::optional<std::int64_t> seconds = parseInteger(value);
            if (!seconds) {
                throw UsageError(spelling + " expects a whole number of seconds, got '" + value +
                                 "'");
            }
            line.time = seconds;
            break;
        }
        case Flag::Bridge:
            if (value.empty())
                throw UsageError(spelling + " expects a file name");
            line.bridge = value;
            break;
        case Flag::Include:
        case Flag::Exclude:
            if (value.empty())
                throw UsageError(spelling + " expects a pattern");
            (f.flag == Flag::Include ? line.model.includes : line.model.excludes).push_back(value);
            break;
        case Flag::Svg:
            if (value.empty())
                throw UsageError(spelling + " expects a file name");
            line.svg = value;
            break;
    }
}

// Flags without a value; returns false when `name` is none of them.
bool applySwitch(CommandLine& line, const std::string& name) {
    if (name == "--list-options") {
        line.listOptions = true;
    } else if (name == "--about") {
        line.about = true;
    } else if (name == "-q" || name == "--quiet") {
        line.quiet = true;
    } else if (name == "-h" || name == "--help") {
        line.help = true;
    } else if (name == "--no-diagram") {
        line.model.noDiagram = true;
    } else if (name == "--complete-links") {
        line.model.completeLinks = true;
    } else if (name == "--layout" || name == "--layout=overlapping") {
        line.model.layout = LayoutMode::Overlapping;
    } else if (name == "--layout=all") {
        line.model.layout = LayoutMode::All;
    } else if (name.rfind("--layout=", 0) == 0) {
        throw UsageError("--layout takes no value or '=all', got '" + name + "'");
    } else {
        return false;
    }
    return true;
}

void setInput(CommandLine& line, const std::string& argument) {
    if (!line.input.empty()) {
        throw UsageError("more than one INPUT: '" + line.input + "' and '" + argument + "'");
    }
    if (argument.empty())
        throw UsageError("INPUT is empty");
    line.input = argument;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool onlyInputs = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (onlyInputs || arg.size() < 2 || arg[0] != '-') {
            setInput(line, arg);
            continue;
        }
        if (arg == "--") {
            onlyInputs = true;
            continue;
        }
        if (applySwitch(line, arg))
            continue;

        // A value flag: "--name VALUE", "--name=VALUE", "-x VALUE" or "-xVALUE".
        const ValueFlag* flag = nullptr;
        std::string spelling;
        std::optional<std::string> value;
        if (arg.rfind("--", 0) == 0) {
            std::string::size_type eq = arg.find('=');
            spelling = arg.substr(0, eq);
            flag = findLongFlag(spelling);
            if (eq != std::string::npos)
                value = arg.substr(eq + 1);
        } else {
            spelling = arg.substr(0, 2);
            flag = findShortFlag(arg[1]);
            if (arg.size() > 2)
                value = arg.substr(2);
        }
        if (!flag)
            throw UsageError("unknown flag '" + spelling + "'");
        if (!value) {
            if (i + 1 >= arguments.size())
                throw UsageError(spelling + " needs a value");
            value = arguments[++i];
        }
        applyValue(line, *flag, spelling, *value);
    }
    return line;
}

std::optional<std::int64_t> parseInteger(const std::string& text) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    // from_chars takes a minus sign but not a plus sign.
    if (first != last && *first == '+') {
        ++first;
        if (first != last && *first == '-')
            return std::nullopt;
    }
    if (first == last)
        return std::nullopt;
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

std::string expandTabs(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 't') {
            out += '\t';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string usageText() {
    return "Usage: pdm-export INPUT -o OUTPUT.pdm [options]\n"
           "       pdm-export --list-options | --about\n"
           "\n"
           "Writes a PowerDesigner PDM 8 XML file from a model file (.json), a SQL script\n"
           "(.sql, run into an in-memory SQLite database), a SQLite database file or a\n"
           "PostgreSQL database (postgresql://...).\n"
           "\n"
           "Bridge options:\n"
           "  -o, --output FILE       output file (option \"File\")\n"
           "  -t, --target NAME       target database, such as \"* MySQL 4\" (default \"Auto "
           "Detect\")\n"
           "      --description MODE  \"Comment & Description\", \"Comment\" or "
           "\"Notes/Description\"\n"
           "      --scale-x N         scale in % for X coordinates (default 100)\n"
           "      --scale-y N         scale in % for Y coordinates (default 100)\n"
           "      --indent TEXT       XML indentation; \\t stands for a tab (default none)\n"
           "      --pdm-version V     PowerDesigner file version (default 12.0)\n"
           "      --option NAME=VALUE set any bridge option by its name; repeatable\n"
           "\n"
           "Program options:\n"
           "      --list-options      print the bridge's options and exit\n"
           "      --about             print the bridge's specification and exit\n"
           "      --dump-model FILE   write the model, as selected and laid out, as a model file\n"
           "      --include PATTERN   export only tables and views that match; repeatable\n"
           "      --exclude PATTERN   leave out tables and views that match; repeatable\n"
           "                          (globs on name and schema.name; prefix (?i) to ignore case)\n"
           "      --no-diagram        no diagram for a database source\n"
           "      --layout[=all]      lay out diagrams whose symbols overlap (=all: every one)\n"
           "      --complete-links    add missing reference symbols between tables on a diagram\n"
           "      --svg FILE          after the export, draw its diagrams as an SVG picture\n"
           "      --time SECONDS      time used for identifiers (else $SOURCE_DATE_EPOCH,\n"
           "                          else the current time)\n"
           "      --bridge FILE       bridge library to load instead of the installed one\n"
           "  -q, --quiet             print only warnings and errors\n"
           "  -h, --help              print this help and exit\n"
           "\n"
           "Exit status: 0 success, 1 the export failed, 2 bad command line or bad model.\n";
}

}  // namespace cli
