// The datatype tables: their shape, their contents and the row lookup.

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "prepare/DatatypeTables.h"

namespace {

namespace dt = datatype_tables;

const std::vector<const DatatypeMapRow*> allTables = {
    dt::access95, dt::adabasd,  dt::allbase,  dt::ansi2,    dt::as400,   dt::db2udb52, dt::db2mvs4,
    dt::db2mvs6,  dt::infmx7,   dt::interbas, dt::mysql322, dt::nonstop, dt::odbc3,    dt::oracle7,
    dt::oracle8,  dt::oracl8i2, dt::pgsql7,   dt::sqlany55, dt::sqlany6, dt::sqlserv6, dt::sqlserv7,
    dt::sqlsrv2k, dt::syase11x, dt::sybiq12,  dt::teradata};

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

TEST(DatatypeTables, EveryTableCoversThe43NamesInKeyOrderWithOneOrTwoRows) {
    const auto checkRow = [](const DatatypeMapRow& row) {
        ASSERT_NE(row.dbmsDatatype, nullptr);
        // The DBMS text and two formatted numbers must fit 64 bytes.
        EXPECT_LE(std::strlen(row.dbmsDatatype), 24u);
        EXPECT_TRUE(row.takesScale == 0 || row.takesLength == 1);
    };
    for (std::size_t t = 0; t < allTables.size(); ++t) {
        SCOPED_TRACE("table " + std::to_string(t));
        const DatatypeMapRow* row = allTables[t];
        std::vector<std::string> names;
        for (; row->modelDatatype != nullptr; ++row) {
            SCOPED_TRACE(row->modelDatatype);
            names.push_back(row->modelDatatype);
            // A pair: only a non-zero length first, then only a zero length.
            if (row->lengthCondition != -1) {
                ASSERT_EQ(row->lengthCondition, 0);
                checkRow(*row++);
                ASSERT_STREQ(row->modelDatatype, names.back().c_str());
                EXPECT_EQ(row->lengthCondition, 1);
            }
            checkRow(*row);
        }
        EXPECT_EQ(names, modelDatatypes());
        EXPECT_EQ(row->dbmsDatatype, nullptr);
        EXPECT_EQ(row->lengthCondition + row->takesLength + row->impliedLength, 0);
    }
}

TEST(DatatypeTables, LookupsAndRowsOfEveryTable) {
    expectLookups({
        {dt::oracle8, "SQL_VARCHAR", 40, "VARCHAR2", 1, 0, 0},
        {dt::oracle8, "SQL_VARCHAR", 0, "VARCHAR2(255)", 0, 0, 255},
        {dt::oracle8, "SQL_VARCHAR", -1, "VARCHAR2", 1, 0, 0},  // negative is not zero
        {dt::oracle8, "SQL_NUMERIC", 10, "NUMBER", 1, 1, 0},
        {dt::oracle8, "SQL_DECIMAL", 0, "DECIMAL", 1, 1, 0},
        {dt::access95, "AUTOINCREMENT", 12, "COUNTER", 0, 0, 0},
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

    // Rows that differ from their neighbours, a few in every table.
    expectLookups({
        {dt::access95, "SQL_LONGVARBINARY", 10, "LONGBINARY", 1, 0, 0},
        {dt::access95, "SQL_BOOLEAN", 0, "YESNO", 0, 0, 0},
        {dt::adabasd, "SQL_CHAR", 0, "char(1)", 0, 0, 0},
        {dt::adabasd, "SQL_NUMERIC", 9, "fixed", 1, 1, 0},
        {dt::allbase, "SQL_BINARY", 0, "LONG VARBINARY(3996)", 0, 0, 3996},
        {dt::allbase, "SQL_INTERVAL_YEAR", 0, "INTERVAL", 0, 0, 0},
        {dt::ansi2, "SQL_VARBINARY", 0, "CHAR(254)", 0, 0, 254},
        {dt::ansi2, "SQL_TIMESTAMP", 0, "DATE", 0, 0, 0},
        {dt::as400, "AUTOINCREMENT", 0, "DECIMAL(6)", 0, 0, 6},
        {dt::as400, "SQL_NCLOB", 20, "VARGRAPHIC", 1, 0, 0},
        {dt::db2udb52, "SQL_TINYINT", 0, "NUMERIC(3)", 0, 0, 3},
        {dt::db2udb52, "SQL_DATALINK", 0, "DATALINK", 0, 0, 0},
        {dt::db2mvs4, "SQL_LONGVARBINARY", 10, "LONG VARGRAPHIC", 0, 0, 0},
        {dt::db2mvs6, "SQL_REF", 0, "ROWID", 0, 0, 0},
        {dt::db2mvs6, "SQL_NVARCHAR", 0, "VARGRAPHIC(255)", 0, 0, 255},
        {dt::infmx7, "SQL_NLONGVARCHAR", 100, "LVARCHAR", 0, 0, 0},
        {dt::infmx7, "SQL_TIMESTAMP_WITH_TIME_ZONE", 0, "DATETIME HOUR TO SECOND", 0, 0, 0},
        {dt::interbas, "AUTOINCREMENT", 5, "NUMERIC", 1, 0, 0},
        {dt::interbas, "SQL_NVARCHAR", 30, "NCHAR VARYING", 1, 0, 0},
        {dt::mysql322, "SQL_NCHAR", 0, "national char(1)", 0, 0, 0},
        {dt::mysql322, "SQL_NLONGVARCHAR", 0, "longtext", 0, 0, 0},
        {dt::nonstop, "SQL_DECIMAL", 0, "NUMERIC", 0, 0, 0},
        {dt::nonstop, "SQL_BIGINT", 0, "LARGEINT", 0, 0, 0},
        {dt::odbc3, "SQL_BLOB", 0, "LONG VARBINARY", 1, 0, 0},
        {dt::oracle7, "SQL_SMALLINT", 0, "SMALLINT", 0, 0, 5},
        {dt::oracle8, "SQL_BOOLEAN", 0, "NUMBER(1)", 0, 0, 1},
        {dt::oracle8, "SQL_BIGINT", 0, "NUMBER(19)", 0, 0, 0},
        {dt::oracl8i2, "SQL_BOOLEAN", 0, "BOOLEAN", 0, 0, 1},
        {dt::oracl8i2, "SQL_NVARCHAR", 0, "NVARCHAR2(255)", 0, 0, 255},
        {dt::pgsql7, "AUTOINCREMENT", 4, "SERIAL", 0, 0, 0},
        {dt::pgsql7, "SQL_TIMESTAMP_WITH_TIME_ZONE", 0, "TIMESTAMP WITH TIME ZONE", 0, 0, 0},
        {dt::sqlany55, "SQL_REAL", 0, "float", 1, 0, 0},
        {dt::sqlany6, "SQL_REAL", 0, "real", 1, 0, 0},
        {dt::sqlany6, "SQL_BOOLEAN", 0, "bit", 0, 0, 0},
        {dt::sqlserv6, "SQL_NCHAR", 0, "char(1)", 0, 0, 1},
        {dt::sqlserv7, "SQL_NLONGVARCHAR", 0, "ntext", 1, 0, 0},
        {dt::sqlserv7, "SQL_BIGINT", 0, "int", 0, 0, 0},
        {dt::sqlsrv2k, "SQL_BIGINT", 0, "bigint", 0, 0, 0},
        {dt::sqlsrv2k, "SQL_LONGVARBINARY", 0, "varbinary(255)", 0, 0, 255},
        {dt::syase11x, "SQL_LONGVARBINARY", 10, "image", 0, 0, 0},
        {dt::sybiq12, "SQL_BLOB", 0, "BINARY", 1, 0, 0},
        {dt::sybiq12, "SQL_INTERVAL_HOUR", 0, "TIMESTAMP", 0, 0, 0},
        {dt::teradata, "SQL_BINARY", 0, "VARBYTE(32000)", 0, 0, 32000},
        {dt::teradata, "AUTOINCREMENT", 9, "DECIMAL", 1, 0, 0},
    });
}

}  // namespace
