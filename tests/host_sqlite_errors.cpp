// The SQLite model source on bad input: failing scripts name the line of the
// failing statement, files that are no databases are refused, and nothing
// crashes or returns half a model.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "importers/SqliteModel.h"
#include "support/TestSupport.h"

namespace {

using pdmtest::dataFile;
using pdmtest::TempDir;

// The message of the ModelFileError that `load` raises, or "" when it raises none.
template <class Load>
std::string errorOf(Load load) {
    try {
        std::unique_ptr<ORXModel> model = load();
    } catch (const importers::ModelFileError& error) {
        return error.what();
    }
    return "";
}

TEST(SqliteErrors, ScriptErrorNamesTheLineOfTheFailingStatement) {
    std::string path = dataFile("sqlite/error-line3.sql");
    EXPECT_EQ(errorOf([&] { return importers::loadSqliteScript(path); }),
              path + ": line 3: table a already exists");
}

TEST(SqliteErrors, ScriptErrorsOfEveryKind) {
    struct Case {
        std::string label;
        std::string script;
        std::string message;  // after "<path>: "
    };
    const std::vector<Case> cases = {
        {"syntax error", "CREATE TABLE b (x);\nCREAT TABLE c (y);\n",
         "line 2: near \"CREAT\": syntax error"},
        {"error late in a statement that spans lines",
         "SELECT 1;\nCREATE TABLE d (\n  x INTEGER,\n  x TEXT\n);\n",
         "line 2: duplicate column name: x"},
        {"comments before the statement",
         "/* one\ntwo */ -- three\n\nINSERT INTO nowhere VALUES (1);\n",
         "line 4: no such table: nowhere"},
        {"second statement on the same line", "CREATE TABLE e (x); CREATE TABLE e (y);",
         "line 1: table e already exists"},
        {"failure while running", "CREATE TABLE f (x NOT NULL);\n\nINSERT INTO f VALUES (NULL);",
         "line 3: NOT NULL constraint failed: f.x"},
        {"statement without its end", "CREATE TABLE g (x);\nCREATE TABLE h (\n",
         "line 2: incomplete input"},
        {"zero byte inside the script", std::string("CREATE TABLE i (x);\n\0junk", 25),
         "line 2: unexpected zero byte"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempDir dir;
        std::string path = dir.file("broken.sql");
        pdmtest::writeFile(path, c.script);
        EXPECT_EQ(errorOf([&] { return importers::loadSqliteScript(path); }),
                  path + ": " + c.message);
    }
}

TEST(SqliteErrors, FilesThatAreNoDatabases) {
    TempDir dir;
    std::string header = std::string("SQLite format 3", 16);
    std::string garbage = dir.file("garbage.db");
    pdmtest::writeFile(garbage, header + std::string(4096, 'x'));
    std::string notDatabase = dataFile("sqlite/not-a-database.db");
    std::string missing = dir.file("missing.db");

    EXPECT_EQ(errorOf([&] { return importers::loadSqliteDatabase(notDatabase); }),
              notDatabase + ": not a SQLite database");
    EXPECT_EQ(errorOf([&] { return importers::loadSqliteDatabase(missing); }),
              missing + ": cannot open the file: No such file or directory");
    EXPECT_EQ(errorOf([&] { return importers::loadSqliteDatabase(dir.path().string()); }),
              dir.path().string() + ": cannot open the file: Is a directory");
    EXPECT_EQ(errorOf([&] { return importers::loadSqliteScript(dir.file("missing.sql")); }),
              dir.file("missing.sql") + ": cannot open the file: No such file or directory");
    EXPECT_EQ(errorOf([&] { return importers::loadSqliteScript(dir.path().string()); }),
              dir.path().string() + ": cannot open the file: Is a directory");

    // A file with the header and no sound pages: refused with SQLite's words.
    std::string message = errorOf([&] { return importers::loadSqliteDatabase(garbage); });
    EXPECT_EQ(message.rfind(garbage + ": ", 0), 0u) << message;
    EXPECT_GT(message.size(), garbage.size() + 2);
}

TEST(SqliteErrors, DatabaseFilesAreKnownByTheirHeader) {
    TempDir dir;
    struct Case {
        std::string label;
        std::string content;  // no file at all when "-"
        bool database;
    };
    const std::vector<Case> cases = {
        {"header alone", std::string("SQLite format 3", 16), true},
        {"header and more", std::string("SQLite format 3", 16) + "rest", true},
        {"header without its zero byte", "SQLite format 3", false},
        {"header with another byte", "SQLite format 3!", false},
        {"lower case", std::string("sqlite format 3", 16), false},
        {"SQL text", "CREATE TABLE t (x);\n", false},
        {"empty file", "", false},
        {"no file", "-", false},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.label);
        std::string path = dir.file("file" + std::to_string(i));
        if (c.content != "-")
            pdmtest::writeFile(path, c.content);
        EXPECT_EQ(importers::isSqliteDatabaseFile(path), c.database);
    }
    EXPECT_FALSE(importers::isSqliteDatabaseFile(dir.path().string()));
}

}  // namespace
