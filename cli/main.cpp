// pdm-export: loads a model, hands it to the PDM export bridge and reports
// what the bridge says. The bridge is reached only through the dynamic loader
// and the host interfaces, exactly as any host reaches it.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/BridgeLibrary.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleLog.h"
#include "cli/DiagramSvg.h"
#include "cli/HostError.h"
#include "cli/ModelPreparation.h"
#include "cli/OptionReport.h"
#include "cli/Safeguards.h"
#include "importers/database/MysqlModel.h"
#include "importers/database/PostgresModel.h"
#include "importers/database/SqliteModel.h"
#include "importers/modelfile/JsonModel.h"
#include "orx/ORXClock.h"
#include "orx/ORXException.h"
#include "orx/ORXModel.h"
#include "orx/ORXOption.h"
#include "orx/ORXVelmar.h"

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitExportFailed = 1;
constexpr int kExitBadInput = 2;

constexpr const char* kTimeVariable = "SOURCE_DATE_EPOCH";

// One line on standard error. Names from the model and the database reach it,
// so control characters are escaped here, once for every kind of message.
void printDiagnostic(const std::string& line) {
    std::fprintf(stderr, "%s\n", cli::terminalSafe(line).c_str());
}

void printError(const std::string& message) {
    printDiagnostic("error: " + message);
}

void printOut(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

// Whether `path` ends with `suffix` (lower case), ignoring the letter case of `path`.
bool endsWith(const std::string& path, const std::string& suffix) {
    if (path.size() < suffix.size())
        return false;
    return std::equal(suffix.begin(), suffix.end(), path.end() - suffix.size(), [](char a, char b) {
        return a == std::tolower(static_cast<unsigned char>(b));
    });
}

// A bad setting in the environment: a bad input, but not a command line mistake.
struct EnvironmentError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The time the export uses: --time, else SOURCE_DATE_EPOCH, else the clock.
std::optional<std::int64_t> chooseTime(const cli::CommandLine& line) {
    if (line.time)
        return line.time;
    const char* variable = std::getenv(kTimeVariable);
    // An empty variable counts as unset, as most tools that read it do.
    if (!variable || !*variable)
        return std::nullopt;
    std::optional<std::int64_t> seconds = cli::parseInteger(variable);
    if (!seconds) {
        throw EnvironmentError(std::string(kTimeVariable) +
                               " must be a whole number of seconds, got '" + variable + "'");
    }
    return seconds;
}

// Sets the command line's values in its order, so that the last one wins.
void applySettings(ORXOptionList& options, const std::vector<cli::OptionSetting>& settings) {
    for (const cli::OptionSetting& setting : settings) {
        if (!options.setValue(setting.name, setting.value)) {
            throw cli::UsageError("unknown option '" + setting.name +
                                  "' (--list-options shows the bridge's options)");
        }
    }
}

// The model of the current run. The program ends right after the export, and
// deleting a large model object by object would only hand its memory back to
// a process about to exit (a tenth of the whole run on large models), so the
// model is left to the operating system. Kept here it stays reachable, so
// leak checkers do not report it; hosts that delete their models still get
// the model library's exact deletion.
ORXModel* volatile keptModel = nullptr;

// Reads the database INPUT names: a PostgreSQL or MySQL/MariaDB URI, a SQL script
// (.sql, run into an in-memory SQLite database), or else a SQLite database
// file. A model file (.json) is no database: nothing then.
std::optional<importers::DatabaseImport> loadDatabase(const std::string& input) {
    if (importers::isPostgresUri(input))
        return importers::loadPostgresDatabase(input);
    if (importers::isMysqlUri(input))
        return importers::loadMysqlDatabase(input);
    cli::requireRegularFile(input);
    if (endsWith(input, ".json"))
        return std::nullopt;
    if (endsWith(input, ".sql"))
        return importers::loadSqliteScript(input);
    return importers::loadSqliteDatabase(input);
}

// Whether the target is the one detected from the model: no target was set,
// or "Auto Detect" was.
bool targetChosenByDefault(const ORXOptionList& options) {
    return options.getValue(cli::kTargetOption) == "Auto Detect";
}

int runProgram(const std::vector<std::string>& arguments) {
    cli::CommandLine line = cli::parseCommandLine(arguments);
    cli::checkIndentSettings(line);
    if (line.help) {
        printOut(cli::usageText());
        cli::finishStandardOutput();
        return kExitSuccess;
    }
    const bool informationOnly = line.listOptions || line.about;
    if (!informationOnly) {
        if (line.input.empty())
            throw cli::UsageError("no INPUT given");
        if (!line.hasOutput && line.dumpModel.empty()) {
            throw cli::UsageError("no output file given (-o FILE)");
        }
        if (!line.hasOutput && !line.svg.empty())
            throw cli::UsageError("--svg draws an export: give an output file (-o FILE)");
        cli::refuseOverwritingInput(line);
    }
    cli::BridgeLibrary bridge(line.bridge.empty() ? cli::defaultBridgePath() : line.bridge);
    ORXVelmarExportDllInterface& exporter = bridge.interface();
    ORXOptionList options;
    exporter.getOptionList(options);

    if (informationOnly) {
        if (line.about) {
            ORXBridgeSpecification specification;
            exporter.getSpecification(cli::kBridgeIdentifier, specification);
            printOut(cli::formatSpecification(specification));
        }
        if (line.listOptions) {
            if (line.about)
                printOut("\n");
            printOut(cli::formatOptionList(options));
        }
        cli::finishStandardOutput();
        return kExitSuccess;
    }

    applySettings(options, line.settings);
    std::vector<std::string> names;
    for (const cli::OptionSetting& setting : line.settings)
        names.push_back(setting.name);

    std::unique_ptr<ORXModel> loaded;
    std::optional<importers::DatabaseImport> database = loadDatabase(line.input);
    if (database) {
        loaded = std::move(database->model);
        // The server's own version, once: the catalog records only the target's name.
        if (!line.quiet)
            printDiagnostic("source: " + database->serverVersion);
        // The trigger warning concerns an export only.
        for (const std::string& warning :
             database->warnings(line.hasOutput && targetChosenByDefault(options)))
            printDiagnostic(warning);
    } else {
        loaded = importers::loadJsonModelFile(line.input);
    }
    keptModel = loaded.release();
    ORXModel* const model = keptModel;
    cli::prepareModel(*model, line.model, database.has_value(),
                      [](const std::string& warning) { printDiagnostic("warning: " + warning); });
    if (!line.dumpModel.empty())
        importers::dumpJsonModelFile(*model, line.dumpModel);
    if (!line.hasOutput)
        return kExitSuccess;

    for (const std::string& warning : cli::findDoubtfulValues(options, names)) {
        printDiagnostic(warning);
    }
    // The time matters for the export alone, so only an export checks it.
    ORXClock::setFixedTime(chooseTime(line));
    cli::ConsoleLog log(line.quiet ? ORX_SEVERITY_WARNING : ORX_SEVERITY_INFO);
    try {
        bool succeeded = false;
        cli::runWithStackFor(
            [&] { succeeded = exporter.run(cli::kBridgeIdentifier, *model, options, log); });
        if (!succeeded) {
            printError("the export failed (the bridge reported no success)");
            return kExitExportFailed;
        }
    } catch (const ORXException& failure) {
        printError(failure.getMessage().str());
        return kExitExportFailed;
    } catch (const std::exception& failure) {
        printError(failure.what());
        return kExitExportFailed;
    } catch (...) {
        printError("the export failed with an unknown exception");
        return kExitExportFailed;
    }
    if (!line.svg.empty())
        cli::writeDiagramSvg(options.getValue(cli::kFileOption).str(), line.svg);
    return kExitSuccess;
}

}  // namespace

int main(int argc, char** argv) {
    cli::ensureStandardDescriptors();
    cli::installSignalHandlers();
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    try {
        return runProgram(arguments);
    } catch (const cli::UsageError& failure) {
        printError(failure.what());
        std::fprintf(stderr, "Try 'pdm-export --help' for more information.\n");
        return kExitBadInput;
    } catch (const cli::BridgeLoadError& failure) {
        printError(failure.what());
        return kExitBadInput;
    } catch (const cli::HostError& failure) {
        printError(failure.what());
        return kExitBadInput;
    } catch (const EnvironmentError& failure) {
        printError(failure.what());
        return kExitBadInput;
    } catch (const importers::ModelFileError& failure) {
        printError(failure.what());
        return kExitBadInput;
    } catch (const std::exception& failure) {
        // Anything else before the export (memory, the bridge's option calls).
        printError(failure.what());
        return kExitExportFailed;
    }
}
