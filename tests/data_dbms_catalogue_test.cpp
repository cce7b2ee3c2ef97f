// The DBMS catalogue: its rows, the rows chosen by the "Target Database"
// enumeration and auto-detection by database type.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "prepare/DbmsCatalogue.h"

namespace {

namespace dt = datatype_tables;

// The tables a catalogue row may name.
const std::vector<const DatatypeMapRow*> allTables = {
    dt::access95, dt::adabasd,  dt::allbase,  dt::ansi2,    dt::as400,   dt::db2udb52, dt::db2mvs4,
    dt::db2mvs6,  dt::infmx7,   dt::interbas, dt::mysql322, dt::nonstop, dt::odbc3,    dt::oracle7,
    dt::oracle8,  dt::oracl8i2, dt::pgsql7,   dt::sqlany55, dt::sqlany6, dt::sqlserv6, dt::sqlserv7,
    dt::sqlsrv2k, dt::syase11x, dt::sybiq12,  dt::teradata,
};

std::string text(const char* s) {
    return s == nullptr ? "<null>" : s;
}

void expectSameRow(const DbmsDescriptor& actual, const DbmsDescriptor& expected) {
    EXPECT_EQ(text(actual.detectName), text(expected.detectName));
    EXPECT_EQ(text(actual.definitionUrl), text(expected.definitionUrl));
    EXPECT_EQ(actual.datatypeTable, expected.datatypeTable);
    EXPECT_EQ(text(actual.displayName), text(expected.displayName));
    EXPECT_EQ(text(actual.dbmsCode), text(expected.dbmsCode));
    EXPECT_EQ(text(actual.dbmsGuid), text(expected.dbmsGuid));
    EXPECT_EQ(actual.triggerKind, expected.triggerKind);
}

bool isGuid(const char* s) {
    if (s == nullptr || std::strlen(s) != 36)
        return false;
    for (int i = 0; i < 36; ++i) {
        const char c = s[i];
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != '-')
                return false;
        } else if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) {
            return false;
        }
    }
    return true;
}

int detect(const char* databaseType) {
    return detectDbmsRow(databaseType,
                         databaseType == nullptr ? 0 : static_cast<int>(std::strlen(databaseType)));
}

TEST(DbmsCatalogue, SelectedRowsHoldTheirDescriptorsFieldByField) {
    struct Case {
        int row;
        DbmsDescriptor expected;
    };
    const std::vector<Case> cases = {
        {0,
         {"ORACLE 8.1.6", "file:///oracl8i2.xdb", dt::oracl8i2, "ORACLE Version 8i2 (8.1.6)",
          "ORACLE 8I2", "194A9A5D-6FD7-4064-B874-1C7143381572", 2}},
        {7,
         {"DB2/UDB 5", "file:///db2udb52.xdb", dt::db2udb52, "IBM DB2 UDB 5.x Common Server",
          "DB2 UDB 5.2", "BDACE677-0BF4-4DAB-BD34-259A4AE92B80", 2}},
        {10,
         {"DB2/UDB 8", "file:///db2cs7.xdb", dt::db2udb52, "IBM DB2 UDB 8.x Common Server",
          "DB2UDB7", "E414A463-4219-4ED2-BF91-51C89BFDFE6A", 2}},
        {20,
         {"InterBase 5.x", "file:///intrbas5.xdb", dt::interbas, "InterBase 5.x", "InterBase 5.x",
          "22FD55FD-661C-11D3-B561-00105A1AA418", 1}},
        {24,
         {"SQL Server 2000", "file:///sqlsrv2k.xdb", dt::sqlsrv2k, "Microsoft SQL Server 2000",
          "MSSQLSRV2000", "E2B854D3-FF56-485F-BEF3-98AEC7E65DDC", 1}},
        {25,
         {"SQL Server 2005", "file:///sqlsrv2k.xdb", dt::sqlsrv2k, "Microsoft SQL Server 2000",
          "MSSQLSRV2000", "E2B854D3-FF56-485F-BEF3-98AEC7E65DDC", 1}},
        {28,
         {"MySQL 4.0", "file:///mysql323.xdb", dt::mysql322, "MySQL 4", "MySQL 3.23",
          "2456E7C3-1F10-4005-BA71-AE5B6498BD36", 0}},
        {34,
         {"ORACLE 8.1.6", "file:///oracl8i2.xdb", dt::oracl8i2, "ORACLE Version 8i2 (8.1.6)",
          "ORACLE 8I2", "194A9A5D-6FD7-4064-B874-1C7143381572", 2}},
        {35,
         {"ORACLE 9.x", "file:///oracl8i2.xdb", dt::oracl8i2, "ORACLE Version 9i", "ORACLE 8I2",
          "194A9A5D-6FD7-4064-B874-1C7143381572", 2}},
        {36,
         {"ORACLE 9.x", "file:///oracl8i2.xdb", dt::oracl8i2, "ORACLE Version 9i2", "ORACLE 8I2",
          "194A9A5D-6FD7-4064-B874-1C7143381572", 2}},
        {37,
         {"PostgreSQL 7", "file:///pgsql7.xdb", dt::pgsql7, "PostgreSQL 7", "PostgreSQL 7",
          "510023D3-F07A-4932-B759-33C7D13522EA", 1}},
        {38,
         {"SYBASE SQL Anywhere 5.x", "file:///sqlany55.xdb", dt::sqlany55,
          "Sybase SQL Anywhere 5.5", "SQL ANYWHERE 5", "59019C15-A57F-4FE5-BFB2-820626E55BB8", 2}},
        {40,
         {"SYBASE AS Anywhere 7", "file:///syasa70.xdb", dt::sqlany6, "Sybase AS Anywhere 7",
          "ASA7", "B0010D9D-3815-4C23-B164-3F4B8F7C3520", 2}},
        {44,
         {"SYBASE AS Enterprise 11.5", "file:///syase11x.xdb", dt::syase11x,
          "Sybase AS Enterprise 11.5-11.9", "SYBASE ASE11", "3FCD0506-69F1-4E43-8FCD-154073EDA9B6",
          1}},
        {47,
         {"SYBASE AS Enterprise 12.5", "file:///syase120.xdb", dt::syase11x,
          "Sybase AS Enterprise 12.5.1", "SYBASE ASE12", "B5C54E86-031E-418E-8D82-26D7F73C8E64",
          1}},
        {49,
         {"SYBASE AS IQ 12.4.3", "file:///sybiq12.xdb", dt::sybiq12, "Sybase AS IQ 12.4.3",
          "ADAPTIVE IQ", "8883C2D5-404D-4C42-B582-2DA055480584", 0}},
        {51,
         {"Teradata 1", "file:///teradata.xdb", dt::teradata, "Teradata (Not Certified)",
          "TERADATA", "D9E16492-6EE4-4517-8B38-CC64BD949635", 0}},
        {61,
         {"DB2 5.x", "file:///db2mvs5.xdb", dt::db2mvs4, "IBM DB2 5.x for OS/390 (Not Certified)",
          "DB2 MVS", "636717E9-506E-4B3D-9428-91ADDA90F65F", 0}},
        {68,
         {"InterBase 4.1", "file:///interbas.xdb", dt::interbas, "InterBase 4.0", "INTERBASE",
          "22FD55FD-661C-11D3-B561-00105A1AA418", 1}},
        {76,
         {"Teradata 2.x", "file:///teradata.xdb", dt::teradata, "Teradata (Not Certified)",
          "TERADATA", "D9E16492-6EE4-4517-8B38-CC64BD949635", 0}},
        {77, {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(c.row));
        expectSameRow(dbmsCatalogue[c.row], c.expected);
    }
}

TEST(DbmsCatalogue, EveryRowIsCompleteAndTheEndRowFollowsRow76) {
    ASSERT_EQ(dbmsCatalogueSize, 77);
    for (int row = 0; row < dbmsCatalogueSize; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        const DbmsDescriptor& d = dbmsCatalogue[row];
        ASSERT_NE(d.detectName, nullptr);
        EXPECT_GT(std::strlen(d.detectName), 0u);
        ASSERT_NE(d.definitionUrl, nullptr);
        const std::string url = d.definitionUrl;
        EXPECT_EQ(url.rfind("file:///", 0), 0u);
        EXPECT_EQ(url.substr(url.size() - 4), ".xdb");
        EXPECT_NE(std::find(allTables.begin(), allTables.end(), d.datatypeTable), allTables.end());
        ASSERT_NE(d.displayName, nullptr);
        ASSERT_NE(d.dbmsCode, nullptr);
        EXPECT_TRUE(isGuid(d.dbmsGuid)) << text(d.dbmsGuid);
        EXPECT_TRUE(d.triggerKind >= 0 && d.triggerKind <= 2);
    }
    EXPECT_EQ(dbmsCatalogue[dbmsCatalogueSize].detectName, nullptr);
}

TEST(DbmsCatalogue, DetectionOnlyRowsRepeatAnEarlierDescriptor) {
    struct Case {
        int row;
        int sameAs;
    };
    // Same descriptor, other detection name.
    const std::vector<Case> cases = {
        {34, 0},  {25, 24}, {52, 1},  {53, 1},  {54, 1},  {55, 4},  {56, 5},  {57, 6},  {58, 6},
        {59, 11}, {60, 11}, {61, 12}, {62, 13}, {63, 7},  {64, 16}, {65, 16}, {66, 16}, {67, 16},
        {68, 19}, {69, 22}, {70, 30}, {71, 31}, {72, 31}, {73, 31}, {74, 31}, {75, 31}, {76, 51},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(c.row) + " against row " + std::to_string(c.sameAs));
        DbmsDescriptor expected = dbmsCatalogue[c.sameAs];
        expected.detectName = dbmsCatalogue[c.row].detectName;
        expectSameRow(dbmsCatalogue[c.row], expected);
    }
    EXPECT_STREQ(dbmsCatalogue[34].detectName, dbmsCatalogue[0].detectName);
}

TEST(DbmsCatalogue, EnumerationPositionsSelectTheirRows) {
    // Position by position, "Auto Detect" first; row 25 and row 38 are never
    // selected, so the rows run one ahead from position 25 and again from 38.
    const std::vector<int> expected = {
        -1, 1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
        17, 18, 19, 20, 21, 22, 23, 24, 26, 27, 28, 29, 30, 31, 32, 33, 34,
        35, 36, 36, 37, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51,
    };
    ASSERT_EQ(expected.size(), 51u);
    for (int position = 0; position < 51; ++position) {
        SCOPED_TRACE("position " + std::to_string(position));
        EXPECT_EQ(dbmsRowForEnumerationPosition(position),
                  expected[static_cast<std::size_t>(position)]);
    }
    for (int position : {-1, -100, 51, 52, 1000}) {
        SCOPED_TRACE("position " + std::to_string(position));
        EXPECT_EQ(dbmsRowForEnumerationPosition(position), -1);
    }
    // Spot checks by name.
    EXPECT_STREQ(dbmsCatalogue[dbmsRowForEnumerationPosition(27)].displayName, "MySQL 4");
    EXPECT_STREQ(dbmsCatalogue[dbmsRowForEnumerationPosition(36)].displayName,
                 "ORACLE Version 9i2");
    EXPECT_STREQ(dbmsCatalogue[dbmsRowForEnumerationPosition(50)].displayName,
                 "Teradata (Not Certified)");
}

TEST(DbmsCatalogue, DetectionTakesTheFirstExactlyEqualName) {
    struct Case {
        const char* databaseType;
        int expected;
    };
    const std::vector<Case> cases = {
        {"SQL Server 2005", 25},
        {"SQL Server 2000", 24},
        {"ORACLE 9.x", 35},
        {"ORACLE 8.1.6", 0},
        {"oracle 8.1.6", -1},
        {"ORACLE 8.1.6 ", -1},
        {" ORACLE 8.1.6", -1},
        {"ORACLE 8.1", -1},
        {"SYBASE AS Enterprise 11.5", 43},
        {"SYBASE AS Enterprise 12.5", 46},
        {"SYBASE SQL Anywhere 5.x", 38},
        {"MySQL 4.0", 28},
        {"Access 1.0", 52},
        {"Teradata 2.x", 76},
        {"", -1},
        {nullptr, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("type '" + text(c.databaseType) + "'");
        EXPECT_EQ(detect(c.databaseType), c.expected);
    }
    // The length given decides, not a terminating zero.
    EXPECT_EQ(detectDbmsRow("ORACLE 7.0 and more", 10), 31);
    EXPECT_EQ(detectDbmsRow("ORACLE 7.0", 9), -1);
    EXPECT_EQ(detectDbmsRow("ORACLE 7.0\0", 11), -1);
    EXPECT_EQ(detectDbmsRow("ORACLE 7.0", 0), -1);
}

TEST(DbmsCatalogue, DetectingAnyRowsNameFindsTheFirstRowOfThatName) {
    for (int row = 0; row < dbmsCatalogueSize; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        const int found = detect(dbmsCatalogue[row].detectName);
        ASSERT_GE(found, 0);
        EXPECT_LE(found, row);
        EXPECT_STREQ(dbmsCatalogue[found].detectName, dbmsCatalogue[row].detectName);
        for (int earlier = 0; earlier < found; ++earlier) {
            EXPECT_STRNE(dbmsCatalogue[earlier].detectName, dbmsCatalogue[row].detectName);
        }
    }
}

}  // namespace
