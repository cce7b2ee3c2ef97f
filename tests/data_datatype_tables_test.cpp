// The datatype tables: every row against a transcription kept as text, and the row lookup.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "prepare/DatatypeTables.h"
#include "support/TestSupport.h"

namespace {

namespace dt = datatype_tables;

const std::vector<std::pair<std::string, const DatatypeMapRow*>> labelledTables = {
    {"access95", dt::access95}, {"adabasd", dt::adabasd},   {"allbase", dt::allbase},
    {"ansi2", dt::ansi2},       {"as400", dt::as400},       {"db2udb52", dt::db2udb52},
    {"db2mvs4", dt::db2mvs4},   {"db2mvs6", dt::db2mvs6},   {"infmx7", dt::infmx7},
    {"interbas", dt::interbas}, {"mysql322", dt::mysql322}, {"nonstop", dt::nonstop},
    {"odbc3", dt::odbc3},       {"oracle7", dt::oracle7},   {"oracle8", dt::oracle8},
    {"oracl8i2", dt::oracl8i2}, {"pgsql7", dt::pgsql7},     {"sqlany55", dt::sqlany55},
    {"sqlany6", dt::sqlany6},   {"sqlserv6", dt::sqlserv6}, {"sqlserv7", dt::sqlserv7},
    {"sqlsrv2k", dt::sqlsrv2k}, {"syase11x", dt::syase11x}, {"sybiq12", dt::sybiq12},
    {"teradata", dt::teradata}};

// The model datatype names in key order.
std::vector<std::string> modelDatatypes() {
    std::istringstream in(
        "AUTOINCREMENT SQL_BINARY SQL_CHAR SQL_DATE SQL_DOUBLE SQL_INTEGER SQL_LONGVARBINARY "
        "SQL_LONGVARCHAR SQL_NUMERIC SQL_REAL SQL_SMALLINT SQL_TIME SQL_TIMESTAMP SQL_TINYINT "
        "SQL_VARBINARY SQL_VARCHAR SQL_BIGINT SQL_BLOB SQL_BOOLEAN SQL_CLOB SQL_NCHAR "
        "SQL_NVARCHAR SQL_NLONGVARCHAR SQL_NCLOB SQL_DATALINK SQL_DECIMAL SQL_FLOAT "
        "SQL_INTERVAL_MONTH SQL_INTERVAL_YEAR SQL_INTERVAL_YEAR_TO_MONTH SQL_INTERVAL_DAY "
        "SQL_INTERVAL_HOUR SQL_INTERVAL_MINUTE SQL_INTERVAL_SECOND SQL_INTERVAL_DAY_TO_HOUR "
        "SQL_INTERVAL_DAY_TO_MINUTE SQL_INTERVAL_DAY_TO_SECOND SQL_INTERVAL_HOUR_TO_MINUTE "
        "SQL_INTERVAL_HOUR_TO_SECOND SQL_INTERVAL_MINUTE_TO_SECOND SQL_REF "
        "SQL_TIME_WITH_TIME_ZONE SQL_TIMESTAMP_WITH_TIME_ZONE");
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// A lookup and what it should yield: null `dbms` means no row.
struct Lookup {
    const DatatypeMapRow* table;
    const char* model;
    int length;
    const char* dbms;
    int takesLength, takesScale, impliedLength;
};

void expectLookups(const std::vector<Lookup>& lookups) {
    for (const Lookup& l : lookups) {
        SCOPED_TRACE(std::string(l.model ? l.model : "<null>") + " length " +
                     std::to_string(l.length) + " -> " + (l.dbms ? l.dbms : "<none>"));
        const DatatypeMapRow* row = findDatatypeRow(
            l.table, l.model, l.model ? static_cast<int>(std::strlen(l.model)) : 0, l.length);
        if (l.dbms == nullptr) {
            EXPECT_EQ(row, nullptr);
            continue;
        }
        ASSERT_NE(row, nullptr);
        EXPECT_STREQ(row->modelDatatype, l.model);
        EXPECT_STREQ(row->dbmsDatatype, l.dbms);
        EXPECT_EQ(row->takesLength, l.takesLength);
        EXPECT_EQ(row->takesScale, l.takesScale);
        EXPECT_EQ(row->impliedLength, l.impliedLength);
    }
}

// One expected row, read from tests/data/datatype_tables.txt.
struct Row {
    std::string model, dbms;
    int lengthCondition, takesLength, takesScale, impliedLength;
};

// Reads `text` ("\"TEXT\" (n,s) #N") into `row`; false when it is malformed.
bool parseRowText(std::string text, Row& row) {
    std::istringstream in(text);
    if (!(in >> std::quoted(row.dbms)))
        return false;
    row.takesLength = row.takesScale = row.impliedLength = 0;
    for (std::string word; in >> word;) {
        if (word == "(n)") {
            row.takesLength = 1;
        } else if (word == "(n,s)") {
            row.takesLength = row.takesScale = 1;
        } else if (word[0] == '#') {
            row.impliedLength = std::stoi(word.substr(1));
        } else {
            return false;
        }
    }
    return true;
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// The tables of the data file by label, each an entry per key ("CHAR" or
// "INTERVAL_*") holding the text after the key.
using Entries = std::vector<std::pair<std::string, std::string>>;
std::map<std::string, Entries> readTranscription() {
    std::map<std::string, Entries> tables;
    std::ifstream in(pdmtest::dataFile("datatype_tables.txt"));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t colon = line.find(':');
        const std::string label = line.substr(0, colon);
        std::string body = trimmed(line.substr(colon + 1));
        EXPECT_EQ(body.back(), '.') << label;
        body.pop_back();
        Entries entries;
        std::size_t except = body.find(", except ");
        if (body.rfind("as ", 0) == 0 && except != std::string::npos) {
            entries = tables.at(body.substr(3, except - 3));
            body = body.substr(except + 9);
        }
        std::istringstream list(body);
        for (std::string entry; std::getline(list, entry, ';');) {
            entry = trimmed(entry);
            const std::string key = entry.substr(0, entry.find(' '));
            auto same = [&](const auto& e) { return e.first == key; };
            auto found = std::find_if(entries.begin(), entries.end(), same);
            if (found == entries.end())
                found = entries.insert(entries.end(), {key, ""});
            found->second = trimmed(entry.substr(key.size()));
        }
        tables[label] = entries;
    }
    return tables;
}

// The rows a table's entries stand for, in order.
std::vector<Row> expandedRows(const Entries& entries) {
    std::vector<Row> rows;
    const std::vector<std::string> names = modelDatatypes();
    auto next = names.begin();
    for (const auto& [key, text] : entries) {
        const int count = key == "INTERVAL_*" ? 13 : 1;
        for (int i = 0; i < count && next != names.end(); ++i, ++next) {
            // The entries must follow the key order.
            EXPECT_TRUE(*next == key || *next == "SQL_" + key ||
                        (count == 13 && next->rfind("SQL_INTERVAL_", 0) == 0))
                << key << " in place of " << *next;
            const std::size_t slash = text.find(" / ");
            Row row{*next, "", slash == std::string::npos ? -1 : 0, 0, 0, 0};
            EXPECT_TRUE(parseRowText(text.substr(0, slash), row)) << text;
            rows.push_back(row);
            if (slash != std::string::npos) {
                row.lengthCondition = 1;
                EXPECT_TRUE(parseRowText(text.substr(slash + 3), row)) << text;
                rows.push_back(row);
            }
        }
    }
    EXPECT_TRUE(next == names.end()) << "entries end before " << *next;
    return rows;
}

// Every row of every table, cell by cell, against a transcription kept as text.
TEST(DatatypeTables, EveryRowMatchesTheTranscribedTables) {
    const std::map<std::string, Entries> expected = readTranscription();
    ASSERT_EQ(expected.size(), labelledTables.size());
    for (const auto& [label, table] : labelledTables) {
        SCOPED_TRACE(label);
        ASSERT_EQ(expected.count(label), 1u);
        const std::vector<Row> rows = expandedRows(expected.at(label));
        const DatatypeMapRow* row = table;
        for (const Row& want : rows) {
            SCOPED_TRACE(want.model + " " + std::to_string(want.lengthCondition));
            ASSERT_NE(row->modelDatatype, nullptr);
            EXPECT_STREQ(row->modelDatatype, want.model.c_str());
            EXPECT_STREQ(row->dbmsDatatype, want.dbms.c_str());
            EXPECT_EQ(row->lengthCondition, want.lengthCondition);
            EXPECT_EQ(static_cast<int>(row->takesLength), want.takesLength);
            EXPECT_EQ(static_cast<int>(row->takesScale), want.takesScale);
            EXPECT_EQ(row->impliedLength, want.impliedLength);
            ++row;
        }
        // Then the end row, all null or 0.
        EXPECT_EQ(row->modelDatatype, nullptr);
        EXPECT_EQ(row->dbmsDatatype, nullptr);
        EXPECT_EQ(row->lengthCondition + row->takesLength + row->takesScale + row->impliedLength,
                  0);
    }
}

TEST(DatatypeTables, LookupTakesTheFirstRowWhoseNameAndConditionMatch) {
    expectLookups({
        {dt::oracle8, "SQL_VARCHAR", 40, "VARCHAR2", 1, 0, 0},
        {dt::oracle8, "SQL_VARCHAR", 0, "VARCHAR2(255)", 0, 0, 255},
        {dt::oracle8, "SQL_VARCHAR", -1, "VARCHAR2", 1, 0, 0},  // negative is not zero
        {dt::pgsql7, "SQL_REAL", 0, "FLOAT4", 1, 0, 8},
        {dt::oracle8, "sql_varchar", 40, nullptr, 0, 0, 0},
        {dt::oracle8, "SQL_VARCHA", 40, nullptr, 0, 0, 0},
        {dt::oracle8, nullptr, 0, nullptr, 0, 0, 0},
        {nullptr, "SQL_VARCHAR", 0, nullptr, 0, 0, 0},
    });
    // The given length of the name decides, not a terminating zero.
    const DatatypeMapRow* row = findDatatypeRow(dt::oracle8, "SQL_VARCHAR2", 11, 40);
    ASSERT_NE(row, nullptr);
    EXPECT_STREQ(row->dbmsDatatype, "VARCHAR2");
    EXPECT_EQ(findDatatypeRow(dt::oracle8, "SQL_VARCHAR", 10, 40), nullptr);
    EXPECT_EQ(findDatatypeRow(dt::oracle8, "SQL_VARCHAR\0", 12, 40), nullptr);
    const DatatypeMapRow empty[] = {{nullptr, nullptr, 0, 0, 0, 0}};
    EXPECT_EQ(findDatatypeRow(empty, "SQL_VARCHAR", 11, 10), nullptr);
}

// The index gives the scan's row for every name of every table, for zero,
// positive and negative lengths, and nothing for names no table holds; one
// index follows the table it is asked about.
TEST(DatatypeTables, IndexAnswersAsTheScanDoes) {
    std::vector<std::string> names = modelDatatypes();
    for (const char* other : {"", "sql_varchar", "SQL_VARCHA", "SQL_VARCHAR2", "ZZZ"})
        names.emplace_back(other);
    names.emplace_back("SQL_VARCHAR\0", 12);
    DatatypeIndex index;
    for (int round = 0; round < 2; ++round) {
        for (const auto& [label, table] : labelledTables) {
            for (const std::string& name : names) {
                for (int length : {0, 1, 40, -1}) {
                    SCOPED_TRACE(label + " " + name + " " + std::to_string(length));
                    EXPECT_EQ(
                        index.find(table, name, length),
                        findDatatypeRow(table, name.data(), static_cast<int>(name.size()), length));
                }
            }
        }
    }
    EXPECT_EQ(index.find(nullptr, "SQL_VARCHAR", 0), nullptr);
    const DatatypeMapRow empty[] = {{nullptr, nullptr, 0, 0, 0, 0}};
    EXPECT_EQ(index.find(empty, "SQL_VARCHAR", 0), nullptr);
    EXPECT_NE(index.find(dt::oracle8, "SQL_VARCHAR", 0), nullptr);
}

}  // namespace
