// pdm-export against hostile inputs and surroundings: closed descriptors,
// inputs that must never be written, outputs that must never be lost, option
// values that would break the document, text that would act on a terminal.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/PdmCheck.h"
#include "support/TestSupport.h"

namespace {

using pdmtest::readFile;
using pdmtest::TempDir;
using pdmtest::writeFile;

struct Outcome {
    int status = -1;  // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs `sh -c` with `script`, in which $PDM stands for pdm-export; standard
// output and error are captured unless the script redirects them itself.
Outcome runShell(const std::string& script) {
    TempDir capture;
    const std::string command =
        "PDM=" + quoted(PDM_EXPORT_EXE) + "; unset SOURCE_DATE_EPOCH; " + script;
    const std::string line = "sh -c " + quoted(command) + " </dev/null >" + capture.file("out") +
                             " 2>" + capture.file("err");
    const int status = std::system(line.c_str());
    Outcome outcome;
    if (WIFEXITED(status))
        outcome.status = WEXITSTATUS(status);
    outcome.out = readFile(capture.file("out"));
    outcome.err = readFile(capture.file("err"));
    return outcome;
}

const char* const kOneTableModel = R"({"format": "orx-model", "version": 1, "packages": [
  {"kind": "design", "name": "Main", "elements": [{"kind": "class", "name": "Item",
    "attributes": [{"name": "Id", "type": {"dataType": "SQL_INTEGER"}}]}]}]})";

// The names in `dir`, sorted.
std::vector<std::string> filesIn(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A model of `tables` tables, each referencing the one before it through a
// foreign key with its own index.
std::string tableChainModel(int tables) {
    std::string elements;
    // Children come first: writing the first table recurses down the whole chain.
    for (int i = tables - 1; i >= 0; --i) {
        const std::string t = "t" + std::to_string(i);
        std::string table = R"({"kind": "class", "id": ")" + t + R"(", "name": "T)" +
                            std::to_string(i) + R"(", "attributes": [{"id": ")" + t +
                            R"(.id", "name": "ID", "type": {"dataType": "SQL_INTEGER"}})";
        std::string keys = R"([{"id": ")" + t + R"(.pk", "attributes": [")" + t + R"(.id"]})";
        if (i > 0) {
            const std::string parent = "t" + std::to_string(i - 1);
            table +=
                R"(, {"id": ")" + t + R"(.p", "name": "P", "type": {"dataType": "SQL_INTEGER"}})";
            keys += R"(, {"kind": "foreign", "id": ")" + t + R"(.fk", "attributes": [")" + t +
                    R"(.p"], "references": ")" + parent + R"(.pk", "index": ")" + t + R"(.ix"})";
        }
        table += "], \"keys\": " + keys + "], \"primaryKey\": \"" + t + ".pk\"";
        if (i > 0) {
            table += R"(, "indexes": [{"id": ")" + t + R"(.ix", "key": ")" + t +
                     R"(.fk", "members": [{"attribute": ")" + t + R"(.p"}]}])";
        }
        elements += (elements.empty() ? "" : ",\n") + table + "}";
        if (i > 0) {
            elements += R"(, {"kind": "association", "roles": [{"class": "t)" +
                        std::to_string(i - 1) + R"(", "isSource": true}, {"class": ")" + t +
                        R"(", "foreignKey": ")" + t + R"(.fk"}]})";
        }
    }
    return R"({"format": "orx-model", "version": 1, "packages": [{"kind": "design", "name": "Main", "elements": [)" +
           elements + "]}]}";
}

// A model with one view of `columns` columns, each taking its value from the next.
std::string viewChainModel(int columns) {
    std::string text =
        R"({"format": "orx-model", "version": 1, "packages": [{"kind": "design", "name": "Main", "elements": [
      {"kind": "class", "name": "BASE", "attributes": [{"id": "a", "name": "A", "type": {"dataType": "SQL_INTEGER"}}]},
      {"kind": "view", "name": "V", "columns": [)";
    for (int i = 0; i < columns; ++i) {
        const std::string source = i + 1 < columns ? "c" + std::to_string(i + 1) : "a";
        text += (i ? ",\n" : "") + std::string(R"({"id": "c)") + std::to_string(i) +
                R"(", "name": "C)" + std::to_string(i) + R"(", "source": ")" + source + "\"}";
    }
    return text + "]}]}]}";
}

// ---- long chains -------------------------------------------------------------------------------

TEST(Hardening, LongChainsOfTablesAndViewColumnsExportWithoutOverflowingTheStack) {
    struct Case {
        const char* name;
        std::string model;
        std::size_t elements;  // o:SPdoObjTabl or o:SPdoObjViewColn elements expected
        const char* element;
    };
    const std::vector<Case> cases = {
        {"30,000 tables in a chain", tableChainModel(30000), 30000, "o:SPdoObjTabl Id="},
        {"a view of 200,000 chained columns", viewChainModel(200000), 200000,
         "o:SPdoObjViewColn Id="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        writeFile(dir.file("m.json"), c.model);
        Outcome outcome =
            runShell("$PDM " + dir.file("m.json") + " -o " + dir.file("out.pdm") + " -q --time 0");
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        const std::string document = readFile(dir.file("out.pdm"));
        std::size_t count = 0;
        for (std::size_t at = 0; (at = document.find(c.element, at)) != std::string::npos; ++at)
            ++count;
        EXPECT_EQ(count, c.elements);
        EXPECT_EQ(pdmtest::checkPdmDocument(document), std::vector<std::string>());
    }
}

// ---- scripts are read, never written -----------------------------------------------------------

TEST(Hardening, ScriptsThatWouldWriteToDiskAreRefusedNamingTheLine) {
    TempDir dir;
    // A database a script could reach: it must keep its table.
    const std::string victim = dir.file("victim.db");
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(victim.c_str(), &db), SQLITE_OK);
        sqlite3_exec(db, "CREATE TABLE customers(id INTEGER)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    const std::string victimBefore = readFile(victim);
    const std::string created = dir.file("created.db");
    struct Case {
        const char* name;
        std::string script;
        int line;
    };
    const std::vector<Case> cases = {
        {"ATTACH of a new file", "CREATE TABLE t(a);\nATTACH DATABASE '" + created + "' AS x;\n",
         2},
        {"VACUUM INTO", "CREATE TABLE t(a);\n\n-- copy\nVACUUM INTO '" + created + "';\n", 4},
        {"ATTACH and DROP in another database",
         "ATTACH '" + victim + "' AS v;\nDROP TABLE v.customers;\n", 1},
        {"DETACH", "CREATE TABLE t(a);\nDETACH DATABASE main;\n", 2},
        {"load_extension", "SELECT load_extension('/nonexistent/ext');\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(dir.file("s.sql"), c.script);
        Outcome outcome = runShell("$PDM " + dir.file("s.sql") + " -o " + dir.file("out.pdm"));
        EXPECT_EQ(outcome.status, 2);
        EXPECT_NE(outcome.err.find(dir.file("s.sql") + ": line " + std::to_string(c.line) +
                                   ": ATTACH, DETACH, VACUUM INTO and load_extension are refused"),
                  std::string::npos)
            << outcome.err;
        EXPECT_FALSE(std::filesystem::exists(created));
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.pdm")));
        EXPECT_TRUE(readFile(victim) == victimBefore);
    }
}

// ---- standard descriptors ----------------------------------------------------------------------

TEST(Hardening, ClosedStandardDescriptorsNeverReceiveTheDocumentOrTheLog) {
    for (const char* redirection : {"2>&-", ">&- 2>&-", "<&- >&- 2>&-"}) {
        SCOPED_TRACE(redirection);
        TempDir dir;
        writeFile(dir.file("m.json"), kOneTableModel);
        Outcome outcome = runShell("$PDM " + dir.file("m.json") + " -o " + dir.file("out.pdm") +
                                   " --time 0 " + redirection);
        EXPECT_EQ(outcome.status, 0);
        const std::string document = readFile(dir.file("out.pdm"));
        EXPECT_EQ(document.find("STATUS"), std::string::npos);
        EXPECT_EQ(pdmtest::checkPdmDocument(document), std::vector<std::string>());
    }
}

TEST(Hardening, InformationThatCannotBeWrittenToStandardOutputFails) {
    for (const char* flag : {"--help", "--list-options", "--about"}) {
        for (const char* redirection : {">/dev/full", ">&-"}) {
            SCOPED_TRACE(std::string(flag) + " " + redirection);
            Outcome outcome = runShell(std::string("$PDM ") + flag + " " + redirection);
            EXPECT_EQ(outcome.status, 1);
            EXPECT_EQ(outcome.err.rfind("error: cannot write to standard output: ", 0), 0u)
                << outcome.err;
        }
    }
}

// ---- outputs that are the input ----------------------------------------------------------------

TEST(Hardening, OutputsNamingTheInputFileAreRefusedBeforeAnythingIsWritten) {
    TempDir dir;
    writeFile(dir.file("m.json"), kOneTableModel);
    writeFile(dir.file("s.sql"), "CREATE TABLE t(a INTEGER PRIMARY KEY);\n");
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(dir.file("db.sqlite").c_str(), &db), SQLITE_OK);
        sqlite3_exec(db, "CREATE TABLE t(a)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    std::filesystem::create_hard_link(dir.file("m.json"), dir.file("hard.json"));
    std::filesystem::create_symlink(dir.file("s.sql"), dir.file("link.sql"));
    struct Case {
        std::string arguments;
        std::string message;
    };
    const std::string m = dir.file("m.json"), s = dir.file("s.sql"), d = dir.file("db.sqlite");
    const std::vector<Case> cases = {
        {d + " -o " + d, "the output file '" + d + "' is the input file"},
        {s + " --dump-model " + s, "the model dump '" + s + "' is the input file"},
        {m + " -o " + m, "the output file '" + m + "' is the input file"},
        {m + " --option File=" + m, "the output file '" + m + "' is the input file"},
        {m + " -o " + dir.file("hard.json"), "is the input file"},
        {dir.file("link.sql") + " -o " + s, "is the input file"},
        {m + " -o " + dir.file("sub/../m.json"), "is the input file"},
        {m + " -o " + dir.file("new.pdm") + " --dump-model " + dir.file("./new.pdm"),
         "the output file and the model dump are the same file"},
        {m + " -o " + dir.file("new.pdm") + " --svg " + m,
         "the picture '" + m + "' is the input file"},
        {s + " -o " + dir.file("new.pdm") + " --svg " + dir.file("link.sql"), "is the input file"},
        {m + " -o " + dir.file("new.pdm") + " --svg " + dir.file("sub/../new.pdm"),
         "the output file and the picture are the same file"},
        {m + " -o " + dir.file("other.pdm") + " --dump-model " + dir.file("new.pdm") + " --svg " +
             dir.file("new.pdm"),
         "the model dump and the picture are the same file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const std::string before = readFile(m) + readFile(s) + readFile(d);
        Outcome outcome = runShell("mkdir -p " + dir.file("sub") + "; $PDM " + c.arguments);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        EXPECT_TRUE(readFile(m) + readFile(s) + readFile(d) == before);
        EXPECT_FALSE(std::filesystem::exists(dir.file("new.pdm")));
    }
}

// ---- the previous output survives a failed export ----------------------------------------------

TEST(Hardening, AFailedOrKilledExportLeavesThePreviousFileAndNoTemporaryFile) {
    const std::string previous = "<previous good document/>\n";
    struct Case {
        const char* name;
        std::string prefix;  // shell commands before pdm-export
        const char* message;
    };
    const std::vector<Case> cases = {
        {"file size limit", "ulimit -f 4;", "File too large"},
        {"disk full",
         "LD_PRELOAD=" + quoted(PDM_FAILING_WRITE_LIB) +
             " PDM_TEST_WRITE_LIMIT=3000 ASAN_OPTIONS=verify_asan_link_order=0",
         "No space left on device"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        writeFile(dir.file("m.json"), tableChainModel(40));
        writeFile(dir.file("out.pdm"), previous);
        Outcome outcome = runShell(c.prefix + " $PDM " + dir.file("m.json") + " -o " +
                                   dir.file("out.pdm") + " --time 0");
        EXPECT_EQ(outcome.status, 1) << outcome.err;
        EXPECT_NE(outcome.err.find("error: Cannot write to file '" + dir.file("out.pdm") +
                                   "': " + c.message),
                  std::string::npos)
            << outcome.err;
        EXPECT_EQ(readFile(dir.file("out.pdm")), previous);
        EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"m.json", "out.pdm"}));
    }
}

// The model dump and the picture are replaced only when written whole, as the
// output is: a full disk leaves the previous file and no temporary file.
TEST(Hardening, AFailedDumpOrPictureLeavesThePreviousFileAndNoTemporaryFile) {
    const std::string previous = "previous good file\n";
    TempDir probe;
    writeFile(probe.file("m.json"), tableChainModel(40));
    ASSERT_EQ(
        runShell("$PDM " + probe.file("m.json") + " -o " + probe.file("out.pdm") + " --time 0 -q")
            .status,
        0);
    const std::uintmax_t documentSize = std::filesystem::file_size(probe.file("out.pdm"));
    struct Case {
        const char* name;
        std::string arguments;  // after the model file
        std::uintmax_t limit;   // bytes written before the disk is full
        const char* file;       // the file that must survive
        int status;
    };
    const std::vector<Case> cases = {
        {"model dump", "--dump-model DIR/kept", 3000, "kept", 2},
        // The export itself fits; the picture written after it does not.
        {"picture", "-o DIR/out.pdm --time 0 -q --svg DIR/kept", documentSize + 100, "kept", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        writeFile(dir.file("m.json"), tableChainModel(40));
        writeFile(dir.file(c.file), previous);
        std::string arguments = c.arguments;
        for (std::size_t at; (at = arguments.find("DIR/")) != std::string::npos;)
            arguments.replace(at, 4, dir.file(""));
        Outcome outcome = runShell("LD_PRELOAD=" + quoted(PDM_FAILING_WRITE_LIB) +
                                   " PDM_TEST_WRITE_LIMIT=" + std::to_string(c.limit) +
                                   " ASAN_OPTIONS=verify_asan_link_order=0 $PDM " +
                                   dir.file("m.json") + " " + arguments);
        EXPECT_EQ(outcome.status, c.status) << outcome.err;
        EXPECT_NE(outcome.err.find("error: " + dir.file(c.file) +
                                   ": cannot write the file: No space left on device"),
                  std::string::npos)
            << outcome.err;
        EXPECT_EQ(readFile(dir.file(c.file)), previous);
        for (const std::string& name : filesIn(dir))
            EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    }
}

TEST(Hardening, AnExportEndedBySigtermLeavesThePreviousFileAndNoTemporaryFile) {
    TempDir dir;
    writeFile(dir.file("m.json"), tableChainModel(200));
    const std::string previous = "<previous good document/>\n";
    writeFile(dir.file("out.pdm"), previous);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Every write to the output waits, so the export is still writing
        // when the signal comes.
        setenv("LD_PRELOAD", PDM_FAILING_WRITE_LIB, 1);
        setenv("PDM_TEST_WRITE_PAUSE_MS", "200", 1);
        setenv("ASAN_OPTIONS", "verify_asan_link_order=0", 1);
        std::freopen("/dev/null", "w", stderr);
        execl(PDM_EXPORT_EXE, PDM_EXPORT_EXE, dir.file("m.json").c_str(), "-o",
              dir.file("out.pdm").c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // Wait for the temporary file to appear, then end the export.
    bool sawTemporary = false;
    for (int i = 0; i < 6000 && !sawTemporary; ++i) {
        sawTemporary = filesIn(dir).size() > 2;
        if (!sawTemporary)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(sawTemporary) << "the export never opened its temporary file";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ(readFile(dir.file("out.pdm")), previous);
    EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"m.json", "out.pdm"}));
}

TEST(Hardening, ASuccessfulExportReplacesTheFileKeepingItsMode) {
    TempDir dir;
    writeFile(dir.file("m.json"), kOneTableModel);
    writeFile(dir.file("out.pdm"), "old");
    chmod(dir.file("out.pdm").c_str(), 0640);
    std::filesystem::create_symlink(dir.file("out.pdm"), dir.file("link.pdm"));
    Outcome outcome =
        runShell("$PDM " + dir.file("m.json") + " -o " + dir.file("link.pdm") + " --time 0");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.pdm")));
    EXPECT_EQ(pdmtest::checkPdmDocument(readFile(dir.file("out.pdm"))), std::vector<std::string>());
    struct stat status;
    ASSERT_EQ(stat(dir.file("out.pdm").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"link.pdm", "m.json", "out.pdm"}));
}

// ---- option values -----------------------------------------------------------------------------

TEST(Hardening, IndentationIsBlanksAndTabsOnlyAtMost64) {
    struct Case {
        const char* name;
        std::string arguments;
        int status;
    };
    const std::vector<Case> cases = {
        {"markup", "--indent '<x>&'", 2},
        {"control character", "--indent \"$(printf 'a\\001')\"", 2},
        {"65 blanks", "--indent '" + std::string(65, ' ') + "'", 2},
        {"markup through --option", "--option 'XML Indentation (pretty printing)=<x>'", 2},
        {"64 blanks and tabs", "--indent '" + std::string(62, ' ') + "\\t\\t'", 0},
        {"a tab through --option", "--option \"XML Indentation (pretty printing)=$(printf '\\t')\"",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        writeFile(dir.file("m.json"), kOneTableModel);
        Outcome outcome = runShell("$PDM " + dir.file("m.json") + " -o " + dir.file("out.pdm") +
                                   " --time 0 " + c.arguments);
        EXPECT_EQ(outcome.status, c.status) << outcome.err;
        if (c.status == 2) {
            EXPECT_NE(outcome.err.find("the indentation must be blanks and tabs only, at most 64"),
                      std::string::npos)
                << outcome.err;
            EXPECT_FALSE(std::filesystem::exists(dir.file("out.pdm")));
        } else {
            EXPECT_EQ(pdmtest::checkPdmDocument(readFile(dir.file("out.pdm"))),
                      std::vector<std::string>());
        }
    }
}

// ---- what reaches the terminal -----------------------------------------------------------------

TEST(Hardening, ControlCharactersInNamesAreEscapedInTheBridgesMessages) {
    TempDir dir;
    // The view's name would clear the screen and forge a line of its own.
    writeFile(dir.file("m.json"), R"({"format": "orx-model", "version": 1, "packages": [
      {"kind": "design", "name": "Main", "elements": [{"kind": "view",
       "name": "V\u001b[2J\r\nERROR forged", "statement": "select 1"}]}]})");
    Outcome outcome =
        runShell("$PDM " + dir.file("m.json") + " -o " + dir.file("out.pdm") + " --time 0");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err.find('\x1b'), std::string::npos);
    EXPECT_EQ(outcome.err.find('\r'), std::string::npos);
    EXPECT_NE(outcome.err.find("View 'V\\x1B[2J\\x0D\\x0AERROR forged' might be inconsistent"),
              std::string::npos)
        << outcome.err;
    EXPECT_EQ(outcome.err.find("\nERROR forged"), std::string::npos);
}

// ---- inputs that never end ---------------------------------------------------------------------

TEST(Hardening, InputsThatAreNotRegularFilesAreRefused) {
    TempDir dir;
    std::filesystem::create_symlink("/dev/zero", dir.file("zero.json"));
    std::filesystem::create_symlink("/dev/zero", dir.file("zero.sql"));
    std::filesystem::create_symlink("/dev/zero", dir.file("zero.db"));
    ASSERT_EQ(mkfifo(dir.file("fifo.sql").c_str(), 0600), 0);
    for (const char* name : {"zero.json", "zero.sql", "zero.db", "fifo.sql"}) {
        SCOPED_TRACE(name);
        Outcome outcome = runShell("$PDM " + dir.file(name) + " -o " + dir.file("out.pdm"));
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.err, "error: " + dir.file(name) +
                                   ": not a regular file (a device, FIFO or socket is never read "
                                   "as a model)\n");
    }
}

}  // namespace
