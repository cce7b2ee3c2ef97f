// The DBMS catalogue: its rows, the rows chosen by the "Target Database"
// enumeration and auto-detection by database type.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "prepare/DbmsCatalogue.h"

namespace {

namespace dt = datatype_tables;

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

TEST(DbmsCatalogue, SelectedRowsHoldTheirDescriptorsFieldByField) {
    const char* const oracleGuid = "194A9A5D-6FD7-4064-B874-1C7143381572";
    const char* const sqlServerGuid = "E2B854D3-FF56-485F-BEF3-98AEC7E65DDC";
    const char* const teradataGuid = "D9E16492-6EE4-4517-8B38-CC64BD949635";
    struct Row {
        int row;
        const char *detect, *url;
        const DatatypeMapRow* table;
        const char *display, *code, *guid;
        int trigger;
    };
    const std::vector<Row> cases = {
        {0, "ORACLE 8.1.6", "file:///oracl8i2.xdb", dt::oracl8i2, "ORACLE Version 8i2 (8.1.6)",
         "ORACLE 8I2", oracleGuid, 2},
        {10, "DB2/UDB 8", "file:///db2cs7.xdb", dt::db2udb52, "IBM DB2 UDB 8.x Common Server",
         "DB2UDB7", "E414A463-4219-4ED2-BF91-51C89BFDFE6A", 2},
        {25, "SQL Server 2005", "file:///sqlsrv2k.xdb", dt::sqlsrv2k, "Microsoft SQL Server 2000",
         "MSSQLSRV2000", sqlServerGuid, 1},
        {28, "MySQL 4.0", "file:///mysql323.xdb", dt::mysql322, "MySQL 4", "MySQL 3.23",
         "2456E7C3-1F10-4005-BA71-AE5B6498BD36", 0},
        {35, "ORACLE 9.x", "file:///oracl8i2.xdb", dt::oracl8i2, "ORACLE Version 9i", "ORACLE 8I2",
         oracleGuid, 2},
        {36, "ORACLE 9.x", "file:///oracl8i2.xdb", dt::oracl8i2, "ORACLE Version 9i2", "ORACLE 8I2",
         oracleGuid, 2},
        {38, "SYBASE SQL Anywhere 5.x", "file:///sqlany55.xdb", dt::sqlany55,
         "Sybase SQL Anywhere 5.5", "SQL ANYWHERE 5", "59019C15-A57F-4FE5-BFB2-820626E55BB8", 2},
        {51, "Teradata 1", "file:///teradata.xdb", dt::teradata, "Teradata (Not Certified)",
         "TERADATA", teradataGuid, 0},
        {76, "Teradata 2.x", "file:///teradata.xdb", dt::teradata, "Teradata (Not Certified)",
         "TERADATA", teradataGuid, 0},
        {77, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0},
    };
    ASSERT_EQ(dbmsCatalogueSize, 77);
    for (const Row& r : cases) {
        SCOPED_TRACE("row " + std::to_string(r.row));
        expectSameRow(dbmsCatalogue[r.row],
                      {r.detect, r.url, r.table, r.display, r.code, r.guid, r.trigger});
    }
    // Rows reached by detection only repeat an earlier row under another name.
    const std::vector<std::pair<int, int>> repeats = {
        {34, 0}, {25, 24}, {52, 1},  {55, 4},  {56, 5},  {57, 6},  {59, 11}, {61, 12}, {62, 13},
        {63, 7}, {64, 16}, {68, 19}, {69, 22}, {70, 30}, {71, 31}, {75, 31}, {76, 51}};
    for (const auto& [row, sameAs] : repeats) {
        SCOPED_TRACE("row " + std::to_string(row) + " against row " + std::to_string(sameAs));
        DbmsDescriptor expected = dbmsCatalogue[sameAs];
        expected.detectName = dbmsCatalogue[row].detectName;
        expectSameRow(dbmsCatalogue[row], expected);
    }
}

TEST(DbmsCatalogue, EveryRowIsComplete) {
    for (int row = 0; row < dbmsCatalogueSize; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        const DbmsDescriptor& d = dbmsCatalogue[row];
        ASSERT_TRUE(d.detectName && *d.detectName && d.displayName && d.dbmsCode && d.dbmsGuid);
        ASSERT_NE(d.definitionUrl, nullptr);
        const std::string url = d.definitionUrl;
        EXPECT_TRUE(url.rfind("file:///", 0) == 0 && url.substr(url.size() - 4) == ".xdb") << url;
        EXPECT_NE(d.datatypeTable, nullptr);
        EXPECT_EQ(std::strlen(d.dbmsGuid), 36u);
        EXPECT_EQ(std::strspn(d.dbmsGuid, "0123456789ABCDEF-"), 36u) << d.dbmsGuid;
        EXPECT_TRUE(d.triggerKind >= 0 && d.triggerKind <= 2);
    }
}

TEST(DbmsCatalogue, EnumerationPositionsSelectTheirRows) {
    // Position by position, "Auto Detect" first; rows 25 and 38 are never
    // selected, and positions 35 and 36 share row 36.
    const std::vector<int> expected = {-1, 1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                       13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 26,
                                       27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 36, 37, 39,
                                       40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51};
    ASSERT_EQ(expected.size(), 51u);
    for (int position = 0; position < 51; ++position)
        EXPECT_EQ(dbmsRowForEnumerationPosition(position), expected[position]) << position;
    for (int position : {-1, 51, 1000})
        EXPECT_EQ(dbmsRowForEnumerationPosition(position), -1) << position;
}

TEST(DbmsCatalogue, DetectionTakesTheFirstExactlyEqualName) {
    const std::vector<std::pair<const char*, int>> found = {
        {"SQL Server 2005", 25}, {"ORACLE 9.x", 35}, {"ORACLE 8.1.6", 0},
        {"MySQL 4.0", 28},       {"Access 1.0", 52}, {"SYBASE AS Enterprise 11.5", 43},
        {"Teradata 2.x", 76}};
    for (const auto& [type, row] : found)
        EXPECT_EQ(detectDbmsRow(type, static_cast<int>(std::strlen(type))), row) << type;
    for (const char* type : {"oracle 8.1.6", "ORACLE 8.1.6 ", " ORACLE 8.1.6", "ORACLE 8.1", ""})
        EXPECT_EQ(detectDbmsRow(type, static_cast<int>(std::strlen(type))), -1) << type;
    EXPECT_EQ(detectDbmsRow(nullptr, 0), -1);
    // The length given decides, not a terminating zero.
    EXPECT_EQ(detectDbmsRow("ORACLE 7.0 and more", 10), 31);
    EXPECT_EQ(detectDbmsRow("ORACLE 7.0", 9), -1);
    EXPECT_EQ(detectDbmsRow("ORACLE 7.0\0", 11), -1);
}

}  // namespace
