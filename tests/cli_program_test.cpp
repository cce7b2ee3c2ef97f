// pdm-export run as a user runs it: a separate process with its own command
// line and environment, judged by its exit status, standard output, standard
// error and the files it leaves behind.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "support/PdmCheck.h"
#include "support/TestSupport.h"

extern char** environ;

namespace {

using pdmtest::readFile;
using pdmtest::TempDir;
using pdmtest::writeFile;

struct Outcome {
    int status = -1;  // the exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// The variables the program reads; unset for every run unless a test sets them.
const char* const kControlledVariables[] = {"SOURCE_DATE_EPOCH"};

// Runs pdm-export with `arguments` and the test's environment, with the
// controlled variables replaced by `variables`.
Outcome runExport(const std::vector<std::string>& arguments,
                  const std::map<std::string, std::string>& variables = {}) {
    TempDir capture;
    const std::string outPath = capture.file("stdout");
    const std::string errPath = capture.file("stderr");

    std::vector<std::string> argumentTexts{PDM_EXPORT_EXE};
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : argumentTexts)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<std::string> environmentTexts;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        bool controlled = false;
        for (const char* name : kControlledVariables) {
            if (entry.rfind(std::string(name) + "=", 0) == 0)
                controlled = true;
        }
        if (!controlled)
            environmentTexts.push_back(entry);
    }
    for (const auto& [name, value] : variables)
        environmentTexts.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& e : environmentTexts)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    int spawnError = posix_spawn(&pid, PDM_EXPORT_EXE, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    Outcome outcome;
    if (spawnError != 0) {
        ADD_FAILURE() << "cannot start " << PDM_EXPORT_EXE << ": " << std::strerror(spawnError);
        return outcome;
    }
    int waitStatus = 0;
    if (waitpid(pid, &waitStatus, 0) != pid) {
        ADD_FAILURE() << "waitpid failed";
        return outcome;
    }
    if (WIFEXITED(waitStatus)) {
        outcome.status = WEXITSTATUS(waitStatus);
    } else {
        ADD_FAILURE() << "pdm-export did not exit normally (signal "
                      << (WIFSIGNALED(waitStatus) ? WTERMSIG(waitStatus) : 0) << ")";
    }
    outcome.out = readFile(outPath);
    outcome.err = readFile(errPath);
    return outcome;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::string::size_type start = 0;
    while (start < text.size()) {
        std::string::size_type end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

int countOccurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::string::size_type at = text.find(part); at != std::string::npos;
         at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// The smallest model file: no packages, nothing to write but the frame.
const char* const kEmptyModel = R"({"format": "orx-model", "version": 1, "name": "Empty"})";

// A model with one table in one design package.
const char* const kOneTableModel = R"({
  "format": "orx-model", "version": 1, "name": "Shop", "physicalName": "SHOP",
  "packages": [
    {"kind": "design", "id": "p_main", "name": "Main",
     "elements": [
       {"kind": "class", "id": "c_item", "name": "Item", "physicalName": "ITEM",
        "attributes": [
          {"id": "a_id", "name": "Id", "physicalName": "ID",
           "type": {"dataType": "SQL_INTEGER"}}
        ]}
     ]}
  ]
})";

// The first eight hexadecimal digits of the document's GUID prefix.
std::string guidTime(const std::string& document) {
    static const std::regex header(
        R"re(<\?PowerDesigner [^>]*ID="\{([0-9A-F]{8})-1337-F331-D34D-)re");
    std::smatch match;
    if (!std::regex_search(document, match, header))
        return "<no GUID in header>";
    return match[1].str();
}

std::string expectedOptionList() {
    const char* const targets[] = {
        "Auto Detect",
        "Access 95",
        "Access 2000",
        "ADABAS D",
        "ALLBASE/SQL G.1",
        "ANSI Level 2",
        "AS/400",
        "IBM DB2 UDB 5.x Common Server",
        "IBM DB2 UDB 6.x Common Server",
        "IBM DB2 UDB 7.x Common Server",
        "* IBM DB2 UDB 8.x Common Server",
        "IBM DB2 4.x for MVS/ESA",
        "IBM DB2 5.x for OS/390",
        "IBM DB2 UDB 6 for OS/390",
        "IBM DB2 UDB 7 for OS/390",
        "* IBM DB2 UDB 8 for OS/390",
        "INFORMIX SQL 7.x",
        "INFORMIX SQL 8.x",
        "INFORMIX SQL 9.x",
        "InterBase 4.0",
        "InterBase 5.x",
        "InterBase 6.x",
        "Microsoft SQL Server 6.x",
        "Microsoft SQL Server 7.x",
        "Microsoft SQL Server 2000",
        "MySQL 3.22",
        "MySQL 3.23",
        "* MySQL 4",
        "NonStop SQL",
        "ODBC 3.0",
        "ORACLE Version 7",
        "ORACLE Version 8",
        "ORACLE Version 8i (8.1.5)",
        "ORACLE Version 8i2 (8.1.6)",
        "* ORACLE Version 9i",
        "* ORACLE Version 9i2",
        "** ORACLE Version 10g",
        "PostgreSQL 7",
        "Sybase AS Anywhere 6",
        "Sybase AS Anywhere 7",
        "* Sybase SQL Anywhere 8",
        "* Sybase SQL Anywhere 9",
        "Sybase AS Enterprise 11.0",
        "* Sybase AS Enterprise 11.5-11.9",
        "Sybase AS Enterprise 12.0",
        "* Sybase AS Enterprise 12.5",
        "* Sybase AS Enterprise 12.5.1",
        "Sybase AS IQ 12.0",
        "* Sybase AS IQ 12.4.3",
        "* Sybase AS IQ 12.5",
        "Teradata",
    };
    std::string targetValues;
    for (const char* t : targets)
        targetValues += std::string("    ") + t + "\n";

    return std::string() +
           "Version (Enumerated)\n"
           "  default: 12.0\n"
           "  values:\n"
           "    8.0\n"
           "    9.0\n"
           "    9.5\n"
           "    10.0\n"
           "    11.0\n"
           "    12.0\n"
           "  Select here the version of Sybase Power Designer (PDM) file you want to generate.\n"
           "   \n"
           "\n"
           "File (File)\n"
           "  default: \n"
           "  The bridge generates a PDM file. \n"
           "   In order to load the converted model, start PowerDesigner and: \n"
           "   \n"
           "   1. Choose 'Open' from the File menu. \n"
           "   2. In the 'List files of type' list box select PowerDesigner Files. \n"
           "   3. Locate the drive and the folder that contains the file you want to open. \n"
           "       Double-click on a folder in the Folders list to switch to a different \n"
           "       folder. If necessary, switch to a different drive by selecting a drive \n"
           "       from the Drives list. \n"
           "   4. Locate the file you want to open. Type the name of the file in the \n"
           "       'File Name' text box or select it from the File Name list. \n"
           "   5. Click 'Open'. \n"
           "   \n"
           "   \n"
           "\n"
           "Target Database (Enumerated)\n"
           "  default: Auto Detect\n"
           "  values:\n" +
           targetValues +
           "  Specify the target database. 'Auto Detect' means that the bridge will try to "
           "auto-detect the target database from the originating model.\n"
           "   A database prefixed with a star (*) means it is only available for "
           "PowerDesigner 10 or newer.\n"
           "   A database prefixed with a double star (**) means it is only available for "
           "PowerDesigner 11 or newer.\n"
           "\n"
           "Description (Enumerated)\n"
           "  default: Comment & Description\n"
           "  values:\n"
           "    Comment & Description\n"
           "    Comment\n"
           "    Notes/Description\n"
           "  Specify how to export the Description and Comment properties in PowerDesigner.\n"
           "   'Comment & Description' - Export the comment property to the PowerDesigner "
           "comment field and \n"
           "   the description property to the PowerDesigner description field. This is the "
           "default.\n"
           "   'Comment' - Export the comment property (or the description property, if any), \n"
           "   to the PowerDesigner comment field.\n"
           "   'Notes/Description' - Export the comment property (or the description property, "
           "if any), \n"
           "   to the PowerDesigner description field.\n"
           "   \n"
           "\n"
           "Scale (in %) for X coordinates (Numeric)\n"
           "  default: 100\n"
           "  When graphical information is imported from another tool, it may be useful to "
           "adjust the scale of diagrams to better suit the destination tool diagramming "
           "conventions.\n"
           "   This option controls the horizontal scaling (by percentage) applied to X "
           "coordinates in diagrams.\n"
           "   The default value is 100% (i.e no change), 200% doubles the size, 50% halves the "
           "size.\n"
           "\n"
           "Scale (in %) for Y coordinates (Numeric)\n"
           "  default: 100\n"
           "  When graphical information is imported from another tool, it may be useful to "
           "adjust the scale of diagrams to better suit the destination tool diagramming "
           "conventions.\n"
           "   This option controls the vertical scaling (by percentage) applied to Y "
           "coordinates in diagrams.\n"
           "   The default value is 100% (i.e no change), 200% doubles the size, 50% halves the "
           "size.\n"
           "\n"
           "XML Indentation (pretty printing) (String)\n"
           "  default: \n"
           "  This option controls the pretty printing of the XML, for the purpose of opening "
           "the generated file in a text editor.\n"
           "   For example, specify here a tabulation character, or some space characters.\n"
           "   By default, there is no indentation which leads to a more compact file.\n"
           "   \n";
}

TEST(CliProgram, ListOptionsPrintsTheSevenOptionsInOrderWithTheirTexts) {
    Outcome run = runExport({"--list-options"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, expectedOptionList());

    // The same listing, line by line, so that a difference is easy to place.
    std::vector<std::string> expected = lines(expectedOptionList());
    std::vector<std::string> actual = lines(run.out);
    for (std::size_t i = 0; i < expected.size() && i < actual.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(i + 1));
        EXPECT_EQ(actual[i], expected[i]);
    }
    EXPECT_EQ(actual.size(), expected.size());
}

TEST(CliProgram, AboutPrintsTheBridgeSpecification) {
    Outcome run = runExport({"--about"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "Tool: PowerDesigner\n"
              "Vendor: Sybase\n"
              "Version: 5.2.0 - Jun  7 2007 18:15:28\n"
              "Description:\n"
              "FREQUENTLY ASKED QUESTIONS\n"
              " \n"
              " Q: All the symbols are in the center of the screen, what can I do ?\n"
              " A: In the tool, select 'Symbol->Auto-Layout', it will redraw the current "
              "diagram.\n"
              "    Note that you will have to do this for each diagram.\n"
              " \n"
              " Q: Some symbols seem to be missing, what can I do ?\n"
              " A: In the tool, select 'Tools->Complete Links', it will draw the missing symbols.\n"
              "    Note that you will have to do this for each diagram.\n"
              " \n");
}

TEST(CliProgram, HelpPrintsUsageAndSucceeds) {
    Outcome run = runExport({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("Usage: pdm-export INPUT -o OUTPUT.pdm", 0), 0u) << run.out;
}

// Every malformed command line exits 2 with one "error: " line that says
// what is wrong, and writes nothing.
TEST(CliProgram, BadCommandLinesExitTwoWithoutWriting) {
    TempDir dir;
    const std::string model = dir.file("model.json");
    writeFile(model, kEmptyModel);
    const std::string output = dir.file("out.pdm");
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{}, "error: no INPUT given"},
        {{model}, "error: no output file given (-o FILE)"},
        {{"-o", output}, "error: no INPUT given"},
        {{model, "-o"}, "error: -o needs a value"},
        {{model, "-o", output, "--frobnicate"}, "error: unknown flag '--frobnicate'"},
        {{model, "-o", output, "-x"}, "error: unknown flag '-x'"},
        {{model, model, "-o", output}, "error: more than one INPUT"},
        {{model, "-o", output, "--time", "soon"},
         "error: --time expects a whole number of seconds, got 'soon'"},
        {{model, "-o", output, "--time", "12x"},
         "error: --time expects a whole number of seconds, got '12x'"},
        {{model, "-o", output, "--time", "99999999999999999999"},
         "error: --time expects a whole number of seconds"},
        {{model, "-o", output, "--option", "Target Database"},
         "error: --option expects NAME=VALUE, got 'Target Database'"},
        {{model, "-o", output, "--option", "Colour=red"}, "error: unknown option 'Colour'"},
        {{model, "-o", output, "--option", "target database=Teradata"},
         "error: unknown option 'target database'"},
        {{"postgresql://localhost/shop", "-o", output},
         "error: postgresql://localhost/shop: unsupported input (this build reads .json model "
         "files, .sql scripts and SQLite databases, not PostgreSQL connections)"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& a : c.arguments)
            shown += " [" + a + "]";
        SCOPED_TRACE("arguments:" + shown);
        Outcome run = runExport(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.rfind(c.message, 0), 0u) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(std::filesystem::exists(output));
    }
}

TEST(CliProgram, InvalidSourceDateEpochIsAUsageErrorNamingTheVariable) {
    TempDir dir;
    const std::string model = dir.file("model.json");
    writeFile(model, kEmptyModel);
    Outcome run =
        runExport({model, "-o", dir.file("out.pdm")}, {{"SOURCE_DATE_EPOCH", "yesterday"}});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("error: SOURCE_DATE_EPOCH"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.pdm")));
}

// A model file the loader rejects: exit 2, the loader's message naming file
// and JSON path, and an existing output file left exactly as it was.
TEST(CliProgram, BadModelFileExitsTwoAndLeavesTheOutputAlone) {
    TempDir dir;
    const std::string output = dir.file("out.pdm");
    const std::string precious = "<previous export>\n";
    struct Case {
        std::string name;
        std::string content;  // empty: the file does not exist
        std::string pathFragment;
    };
    const Case cases[] = {
        {"unknown-key.json", R"({"format": "orx-model", "version": 1, "colour": "red"})", "colour"},
        {"not-json.json", R"({"format": "orx-model", "version": 1,)", ""},
        {"wrong-type.json", R"({"format": "orx-model", "version": "one"})", "version"},
        {"dangling.json",
         R"({"format": "orx-model", "version": 1, "packages": [
              {"kind": "design", "elements": [
                {"kind": "class", "name": "T", "primaryKey": "k_missing"}]}]})",
         "packages[0].elements[0].primaryKey"},
        {"missing.json", "", ""},
        {"missing.sqlite", "", "cannot open the file"},
        {"notes.txt", "just some text, not a database\n", "not a SQLite database"},
        {"broken.sql", "CREATE TABLE a (x INTEGER);\n\nCREATE TABLE a (y INTEGER);\n",
         "line 3: table a already exists"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string model = dir.file(c.name);
        if (!c.content.empty())
            writeFile(model, c.content);
        writeFile(output, precious);
        Outcome run = runExport({model, "-o", output});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.rfind("error: " + model + ": ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(c.pathFragment), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("STATUS "), std::string::npos) << run.err;
        EXPECT_EQ(readFile(output), precious);
    }
}

// SQL scripts and SQLite databases are model sources like model files.
TEST(CliProgram, SqlScriptsAndSqliteDatabasesExport) {
    TempDir dir;
    const std::string script = dir.file("shop.sql");
    writeFile(script,
              "CREATE TABLE customer (id INTEGER PRIMARY KEY, name VARCHAR(40) NOT NULL);\n"
              "CREATE TABLE orders (id INTEGER PRIMARY KEY,\n"
              "  customer_id INTEGER REFERENCES customer(id) ON DELETE CASCADE);\n");
    const std::string fromScript = dir.file("script.pdm");
    Outcome run = runExport({script, "-o", fromScript, "--time", "0"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("found : SQLite 3"), std::string::npos) << run.err;
    const std::string document = readFile(fromScript);
    EXPECT_EQ(pdmtest::checkPdmDocument(document), std::vector<std::string>());
    for (const char* name : {"<a:Name>customer</a:Name>", "<a:Name>orders</a:Name>",
                             "<a:Dttp>VARCHAR2(40)</a:Dttp>", "<o:SPdoObjRfjn Id="})
        EXPECT_NE(document.find(name), std::string::npos) << name;

    // The same schema in a database file (of the same base name) gives the
    // same document.
    TempDir other;
    const std::string database = other.file("shop.db");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(database.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, readFile(script).c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const std::string fromDatabase = dir.file("database.pdm");
    run = runExport({database, "-o", fromDatabase, "--time", "0"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readFile(fromDatabase), document);
}

TEST(CliProgram, MissingBridgeLibraryExitsTwoNamingTheFile) {
    TempDir dir;
    const std::string model = dir.file("model.json");
    writeFile(model, kEmptyModel);
    const std::string library = dir.file("libnothing.so");
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--bridge", library, "--list-options"},
          std::vector<std::string>{model, "-o", dir.file("out.pdm"), "--bridge", library}}) {
        SCOPED_TRACE(arguments.front());
        Outcome run = runExport(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.rfind("error: cannot load bridge library '" + library + "': ", 0), 0u)
            << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.pdm")));
    }
}

TEST(CliProgram, LibraryWithoutTheFactoryExitsTwoNamingTheSymbol) {
    // The host library lies beside the bridge and has no bridge factory.
    const std::string library =
        (std::filesystem::path(PDM_BRIDGE_LIB).parent_path() / "libORXStd.so").string();
    ASSERT_TRUE(std::filesystem::exists(library)) << library;
    Outcome run = runExport({"--bridge", library, "--about"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("error: bridge library '" + library +
                                "' has no factory getORXSybasePowerDesignerPdm08ExportInterface",
                            0),
              0u)
        << run.err;
}

TEST(CliProgram, ExplicitBridgeLibraryIsUsed) {
    Outcome run = runExport({"--bridge", PDM_BRIDGE_LIB, "--list-options"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, expectedOptionList());
}

// The warning for a value the bridge will not understand: one line per
// option, judged on the option's final value, before the export's messages;
// the export still runs.
TEST(CliProgram, DoubtfulOptionValuesDrawOneWarningEachAndStillExport) {
    TempDir dir;
    const std::string model = dir.file("model.json");
    writeFile(model, kEmptyModel);
    const std::string output = dir.file("out.pdm");
    auto warning = [](const std::string& value, const std::string& name) {
        return "warning: '" + value + "' is not a value of '" + name +
               "'; the bridge will use its default\n";
    };
    struct Case {
        std::vector<std::string> arguments;
        std::string warnings;  // the exact warning lines, in option order
    };
    const Case cases[] = {
        {{"-t", "* MySQL 4"}, ""},
        {{"-t", "MySQL 4"}, warning("MySQL 4", "Target Database")},
        {{"-t", "Auto Detect", "-t", "Teradata"}, ""},
        {{"-t", "teradata", "--option", "Target Database=Teradata"}, ""},
        {{"--option", "Target Database=Teradata", "-t", "teradata"},
         warning("teradata", "Target Database")},
        {{"-t", "nope", "-t", "still nope"}, warning("still nope", "Target Database")},
        {{"--description", "Comment"}, ""},
        {{"--description", "comment"}, warning("comment", "Description")},
        {{"--pdm-version", "9.5"}, ""},
        {{"--pdm-version", "7.0"}, warning("7.0", "Version")},
        {{"--scale-x", "150", "--scale-y", "50"}, ""},
        {{"--scale-x", " -20", "--scale-y", "+7"}, ""},
        {{"--scale-x", "120%", "--scale-y", "\t 3"}, ""},
        {{"--scale-x", "abc"}, warning("abc", "Scale (in %) for X coordinates")},
        {{"--scale-y", ""}, warning("", "Scale (in %) for Y coordinates")},
        {{"--scale-y", "- 5", "--scale-x", "%100"},
         warning("%100", "Scale (in %) for X coordinates") +
             warning("- 5", "Scale (in %) for Y coordinates")},
        {{"-t", "x", "--description", "y", "--pdm-version", "z"},
         warning("z", "Version") + warning("x", "Target Database") + warning("y", "Description")},
        {{"--indent", "anything at all"}, ""},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& a : c.arguments)
            shown += " [" + a + "]";
        SCOPED_TRACE("arguments:" + shown);
        std::filesystem::remove(output);
        std::vector<std::string> arguments{model, "-o", output, "--time", "0"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        Outcome run = runExport(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err.substr(0, c.warnings.size()), c.warnings);
        EXPECT_EQ(countOccurrences(run.err, "warning: "), countOccurrences(c.warnings, "warning: "))
            << run.err;
        EXPECT_TRUE(std::filesystem::exists(output));
    }
}

// The target database reaches the bridge as typed, from whichever flag set it
// last; the bridge's choice shows in its log.
TEST(CliProgram, OptionValuesReachTheBridgeInCommandLineOrder) {
    TempDir dir;
    const std::string model = dir.file("model.json");
    writeFile(model, kEmptyModel);
    const std::string output = dir.file("out.pdm");
    struct Case {
        std::vector<std::string> arguments;
        std::string target;  // the DBMS the bridge reports
    };
    const Case cases[] = {
        {{"-o", output}, "ORACLE Version 8i2 (8.1.6)"},
        {{"-o", output, "-t", "* MySQL 4"}, "MySQL 4"},
        {{"-o", output, "-t", "MySQL 4"}, "ORACLE Version 8i2 (8.1.6)"},
        {{"-o", output, "--target=Teradata"}, "Teradata (Not Certified)"},
        {{"-o", output, "-t", "* MySQL 4", "--option", "Target Database=Teradata"},
         "Teradata (Not Certified)"},
        {{"-o", output, "--option", "Target Database=Teradata", "-t", "* MySQL 4"}, "MySQL 4"},
        {{"-o", output, "--option=Target Database=* MySQL 4"}, "MySQL 4"},
        {{"-o" + output, "-t* MySQL 4"}, "MySQL 4"},
        {{"--output", output, "--", model}, "ORACLE Version 8i2 (8.1.6)"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& a : c.arguments)
            shown += " [" + a + "]";
        SCOPED_TRACE("arguments:" + shown);
        std::filesystem::remove(output);
        std::vector<std::string> arguments = c.arguments;
        if (std::find(arguments.begin(), arguments.end(), "--") == arguments.end()) {
            arguments.insert(arguments.begin(), model);
        }
        Outcome run = runExport(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_NE(
            run.err.find("STATUS VLE_PDPDM7_S0007 Using " + c.target + " as target database\n"),
            std::string::npos)
            << run.err;
        EXPECT_TRUE(std::filesystem::exists(output));
    }
}

TEST(CliProgram, ExportLogsEachEventAsSeverityCodeText) {
    TempDir dir;
    const std::string model = dir.file("model.json");
    writeFile(model, kEmptyModel);
    Outcome run = runExport({model, "-o", dir.file("out.pdm"), "--time", "0"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "STATUS VLE_PDPDM7_S0006 Auto detecting target database ... none found\n"
              "STATUS VLE_PDPDM7_S0007 Using ORACLE Version 8i2 (8.1.6) as target database\n"
              "STATUS VLE_PDPDM7_S0004 Pre-processing the model...\n"
              "STATUS VLE_PDPDM7_S0008 Exporting ...\n"
              "STATUS VLE_PDPDM7_S0009 Post-processing the model...\n");
}

TEST(CliProgram, QuietKeepsOnlyWarningsAndErrors) {
    TempDir dir;
    const std::string model = dir.file("model.json");
    writeFile(model, kEmptyModel);
    for (const char* flag : {"-q", "--quiet"}) {
        SCOPED_TRACE(flag);
        Outcome run = runExport({model, "-o", dir.file("out.pdm"), flag, "-t", "MySQL 4"});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err,
                  "warning: 'MySQL 4' is not a value of 'Target Database'; the bridge will use its "
                  "default\n");
        EXPECT_TRUE(std::filesystem::exists(dir.file("out.pdm")));
    }
}

TEST(CliProgram, UnopenableOutputFailsWithTheBridgeMessage) {
    TempDir dir;
    const std::string model = dir.file("model.json");
    writeFile(model, kEmptyModel);
    const std::string output = dir.file("no-such-directory/out.pdm");
    Outcome run = runExport({model, "-o", output});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("\nerror: [VLE_PDPDM7_F0001] Unable to open or create output file '" +
                           output + "'\n"),
              std::string::npos)
        << run.err;
    // The failure comes after the DBMS choice and before any pre-processing.
    EXPECT_EQ(run.err.find("Pre-processing"), std::string::npos) << run.err;
}

// The time behind the document's GUIDs: --time first, then SOURCE_DATE_EPOCH;
// the low 32 bits of the seconds, in upper-case hexadecimal.
TEST(CliProgram, TimeSourcesGiveTheGuidPrefix) {
    TempDir dir;
    const std::string model = dir.file("model.json");
    writeFile(model, kOneTableModel);
    struct Case {
        std::vector<std::string> arguments;
        std::map<std::string, std::string> variables;
        std::string prefix;
    };
    const Case cases[] = {
        {{"--time", "0"}, {}, "00000000"},
        {{"--time", "1700000000"}, {}, "6553F100"},
        {{}, {{"SOURCE_DATE_EPOCH", "1700000000"}}, "6553F100"},
        {{"--time", "+1700000000"}, {}, "6553F100"},
        {{"--time=1700000000"}, {}, "6553F100"},
        {{"--time", "0"}, {{"SOURCE_DATE_EPOCH", "1700000000"}}, "00000000"},
        {{"--time", "-1"}, {}, "FFFFFFFF"},
        {{}, {{"SOURCE_DATE_EPOCH", "4294967297"}}, "00000001"},
        {{"--time", "9223372036854775807"}, {}, "FFFFFFFF"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& a : c.arguments)
            shown += " [" + a + "]";
        for (const auto& [name, value] : c.variables)
            shown += " " + name + "=" + value;
        SCOPED_TRACE("arguments:" + shown);
        const std::string output = dir.file("out.pdm");
        std::filesystem::remove(output);
        std::vector<std::string> arguments{model, "-o", output, "-q"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        Outcome run = runExport(arguments, c.variables);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(guidTime(readFile(output)), c.prefix);
    }
}

TEST(CliProgram, SameTimeGivesTheSameBytes) {
    TempDir dir;
    const std::string model = dir.file("model.json");
    writeFile(model, kOneTableModel);
    Outcome first = runExport({model, "-o", dir.file("a.pdm"), "--time", "1234567890"});
    Outcome second =
        runExport({model, "-o", dir.file("b.pdm")}, {{"SOURCE_DATE_EPOCH", "1234567890"}});
    ASSERT_EQ(first.status, 0) << first.err;
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(first.err, second.err);
    EXPECT_FALSE(readFile(dir.file("a.pdm")).empty());
    EXPECT_EQ(readFile(dir.file("a.pdm")), readFile(dir.file("b.pdm")));
}

TEST(CliProgram, IndentFlagTurnsBackslashTIntoATab) {
    TempDir dir;
    const std::string model = dir.file("model.json");
    writeFile(model, kOneTableModel);
    Outcome tab = runExport({model, "-o", dir.file("tab.pdm"), "--time", "0", "--indent", "\\t"});
    Outcome option = runExport({model, "-o", dir.file("option.pdm"), "--time", "0", "--option",
                                "XML Indentation (pretty printing)=\t"});
    Outcome plain = runExport({model, "-o", dir.file("plain.pdm"), "--time", "0"});
    ASSERT_EQ(tab.status, 0) << tab.err;
    ASSERT_EQ(option.status, 0) << option.err;
    ASSERT_EQ(plain.status, 0) << plain.err;
    const std::string tabbed = readFile(dir.file("tab.pdm"));
    EXPECT_NE(tabbed.find("\n\t<"), std::string::npos);
    EXPECT_EQ(tabbed.find("\\t"), std::string::npos);
    EXPECT_EQ(tabbed, readFile(dir.file("option.pdm")));
    EXPECT_EQ(readFile(dir.file("plain.pdm")).find("\n\t"), std::string::npos);
}

TEST(CliProgram, DumpModelWithoutOutputOnlyDumps) {
    TempDir dir;
    const std::string model = dir.file("model.json");
    writeFile(model, kOneTableModel);
    const std::string dump = dir.file("dump.JSON");
    Outcome run = runExport({model, "--dump-model", dump});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");  // no export ran, so the bridge said nothing
    ASSERT_TRUE(std::filesystem::exists(dump));

    // The dump is a model file in its own right (upper-case suffix included),
    // and dumping it again changes nothing.
    const std::string again = dir.file("again.json");
    Outcome reload = runExport({dump, "--dump-model", again, "-o", dir.file("out.pdm"), "-q"});
    EXPECT_EQ(reload.status, 0) << reload.err;
    EXPECT_EQ(readFile(again), readFile(dump));
    EXPECT_TRUE(std::filesystem::exists(dir.file("out.pdm")));
}

TEST(CliProgram, UnwritableDumpExitsTwo) {
    TempDir dir;
    const std::string model = dir.file("model.json");
    writeFile(model, kEmptyModel);
    Outcome run = runExport(
        {model, "--dump-model", dir.file("missing/dump.json"), "-o", dir.file("out.pdm")});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("error: ", 0), 0u) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.pdm")));
}

}  // namespace
