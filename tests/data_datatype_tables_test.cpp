// The datatype tables: their shape, their contents and the row lookup.

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "prepare/DatatypeTables.h"

namespace {

namespace dt = datatype_tables;

struct NamedTable {
    const char* name;
    const DatatypeMapRow* rows;
};

const std::vector<NamedTable> allTables = {
    {"access95", dt::access95}, {"adabasd", dt::adabasd},   {"allbase", dt::allbase},
    {"ansi2", dt::ansi2},       {"as400", dt::as400},       {"db2udb52", dt::db2udb52},
    {"db2mvs4", dt::db2mvs4},   {"db2mvs6", dt::db2mvs6},   {"infmx7", dt::infmx7},
    {"interbas", dt::interbas}, {"mysql322", dt::mysql322}, {"nonstop", dt::nonstop},
    {"odbc3", dt::odbc3},       {"oracle7", dt::oracle7},   {"oracle8", dt::oracle8},
    {"oracl8i2", dt::oracl8i2}, {"pgsql7", dt::pgsql7},     {"sqlany55", dt::sqlany55},
    {"sqlany6", dt::sqlany6},   {"sqlserv6", dt::sqlserv6}, {"sqlserv7", dt::sqlserv7},
    {"sqlsrv2k", dt::sqlsrv2k}, {"syase11x", dt::syase11x}, {"sybiq12", dt::sybiq12},
    {"teradata", dt::teradata},
};

const std::vector<std::string> modelDatatypes = {
    "AUTOINCREMENT",
    "SQL_BINARY",
    "SQL_CHAR",
    "SQL_DATE",
    "SQL_DOUBLE",
    "SQL_INTEGER",
    "SQL_LONGVARBINARY",
    "SQL_LONGVARCHAR",
    "SQL_NUMERIC",
    "SQL_REAL",
    "SQL_SMALLINT",
    "SQL_TIME",
    "SQL_TIMESTAMP",
    "SQL_TINYINT",
    "SQL_VARBINARY",
    "SQL_VARCHAR",
    "SQL_BIGINT",
    "SQL_BLOB",
    "SQL_BOOLEAN",
    "SQL_CLOB",
    "SQL_NCHAR",
    "SQL_NVARCHAR",
    "SQL_NLONGVARCHAR",
    "SQL_NCLOB",
    "SQL_DATALINK",
    "SQL_DECIMAL",
    "SQL_FLOAT",
    "SQL_INTERVAL_MONTH",
    "SQL_INTERVAL_YEAR",
    "SQL_INTERVAL_YEAR_TO_MONTH",
    "SQL_INTERVAL_DAY",
    "SQL_INTERVAL_HOUR",
    "SQL_INTERVAL_MINUTE",
    "SQL_INTERVAL_SECOND",
    "SQL_INTERVAL_DAY_TO_HOUR",
    "SQL_INTERVAL_DAY_TO_MINUTE",
    "SQL_INTERVAL_DAY_TO_SECOND",
    "SQL_INTERVAL_HOUR_TO_MINUTE",
    "SQL_INTERVAL_HOUR_TO_SECOND",
    "SQL_INTERVAL_MINUTE_TO_SECOND",
    "SQL_REF",
    "SQL_TIME_WITH_TIME_ZONE",
    "SQL_TIMESTAMP_WITH_TIME_ZONE",
};

const DatatypeMapRow* find(const DatatypeMapRow* table, const char* model, int length) {
    return findDatatypeRow(table, model,
                           model == nullptr ? 0 : static_cast<int>(std::strlen(model)), length);
}

// What a lookup should yield: null `dbms` means no row.
struct Lookup {
    const char* table;
    const DatatypeMapRow* rows;
    const char* model;
    int length;
    const char* dbms;
    int takesLength;
    int takesScale;
    int impliedLength;
};

void expectLookups(const std::vector<Lookup>& lookups) {
    for (const Lookup& l : lookups) {
        SCOPED_TRACE(std::string(l.table) + " " + (l.model ? l.model : "<null>") + " length " +
                     std::to_string(l.length));
        const DatatypeMapRow* row = find(l.rows, l.model, l.length);
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

bool sameRow(const DatatypeMapRow& a, const DatatypeMapRow& b) {
    return std::strcmp(a.modelDatatype, b.modelDatatype) == 0 &&
           std::strcmp(a.dbmsDatatype, b.dbmsDatatype) == 0 &&
           a.lengthCondition == b.lengthCondition && a.takesLength == b.takesLength &&
           a.takesScale == b.takesScale && a.impliedLength == b.impliedLength;
}

TEST(DatatypeTables, EveryTableCoversThe43NamesInKeyOrderWithOneOrTwoRows) {
    for (const NamedTable& t : allTables) {
        SCOPED_TRACE(t.name);
        const DatatypeMapRow* row = t.rows;
        std::vector<std::string> names;
        const DatatypeMapRow* firstInterval = nullptr;
        while (row->modelDatatype != nullptr) {
            const std::string name = row->modelDatatype;
            SCOPED_TRACE(name);
            names.push_back(name);
            if (row->lengthCondition == -1) {
                ++row;
            } else {
                // A pair: non-zero length first, then zero length, same name.
                ASSERT_EQ(row[0].lengthCondition, 0);
                ASSERT_NE(row[1].modelDatatype, nullptr);
                EXPECT_EQ(name, row[1].modelDatatype);
                EXPECT_EQ(row[1].lengthCondition, 1);
                row += 2;
            }
            for (const DatatypeMapRow* r = row - (row[-1].lengthCondition == 1 ? 2 : 1); r < row;
                 ++r) {
                ASSERT_NE(r->dbmsDatatype, nullptr);
                // The DBMS text and two formatted numbers must fit 64 bytes.
                EXPECT_LE(std::strlen(r->dbmsDatatype), 24u);
                EXPECT_TRUE(r->takesLength == 0 || r->takesLength == 1);
                EXPECT_TRUE(r->takesScale == 0 || r->takesLength == 1);
                EXPECT_GE(r->impliedLength, 0);
            }
            // The thirteen interval names share one content within a table.
            if (name.rfind("SQL_INTERVAL_", 0) == 0) {
                EXPECT_EQ(row[-1].lengthCondition, -1);
                if (firstInterval == nullptr) {
                    firstInterval = row - 1;
                } else {
                    EXPECT_STREQ(row[-1].dbmsDatatype, firstInterval->dbmsDatatype);
                    EXPECT_EQ(row[-1].takesLength, firstInterval->takesLength);
                    EXPECT_EQ(row[-1].takesScale, firstInterval->takesScale);
                    EXPECT_EQ(row[-1].impliedLength, firstInterval->impliedLength);
                }
            }
        }
        EXPECT_EQ(names, modelDatatypes);
        // The end row is all null and zero.
        EXPECT_EQ(row->dbmsDatatype, nullptr);
        EXPECT_EQ(row->lengthCondition, 0);
        EXPECT_EQ(row->takesLength, 0);
        EXPECT_EQ(row->takesScale, 0);
        EXPECT_EQ(row->impliedLength, 0);
    }
}

TEST(DatatypeTables, EveryNameFindsARowAtEveryLength) {
    for (const NamedTable& t : allTables) {
        for (const std::string& name : modelDatatypes) {
            for (int length : {0, 1, 40, -3}) {
                SCOPED_TRACE(std::string(t.name) + " " + name + " " + std::to_string(length));
                const DatatypeMapRow* row = find(t.rows, name.c_str(), length);
                ASSERT_NE(row, nullptr);
                EXPECT_EQ(name, row->modelDatatype);
            }
        }
    }
}

TEST(DatatypeTables, DerivedTablesDifferFromTheirBaseOnlyWhereIntended) {
    struct Case {
        const char* name;
        const DatatypeMapRow* derived;
        const DatatypeMapRow* base;
        std::set<std::string> changed;
    };
    const std::vector<Case> cases = {
        {"oracl8i2 from oracle8", dt::oracl8i2, dt::oracle8, {"SQL_BOOLEAN"}},
        {"sqlany6 from sqlany55",
         dt::sqlany6,
         dt::sqlany55,
         {"SQL_REAL", "SQL_BIGINT", "SQL_BOOLEAN"}},
        {"sqlsrv2k from sqlserv7", dt::sqlsrv2k, dt::sqlserv7, {"SQL_BIGINT"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int i = 0;
        for (; c.base[i].modelDatatype != nullptr; ++i) {
            ASSERT_NE(c.derived[i].modelDatatype, nullptr);
            SCOPED_TRACE(c.base[i].modelDatatype);
            EXPECT_NE(sameRow(c.derived[i], c.base[i]),
                      c.changed.count(c.base[i].modelDatatype) > 0);
        }
        EXPECT_EQ(c.derived[i].modelDatatype, nullptr);
    }
}

TEST(DatatypeTables, WorkedLookupsAndEdgeCases) {
    expectLookups({
        // Length forms and the zero-length companion row.
        {"oracle8", dt::oracle8, "SQL_VARCHAR", 40, "VARCHAR2", 1, 0, 0},
        {"oracle8", dt::oracle8, "SQL_VARCHAR", 0, "VARCHAR2(255)", 0, 0, 255},
        {"oracle7", dt::oracle7, "SQL_INTEGER", 0, "INTEGER", 0, 0, 10},
        {"oracle8", dt::oracle8, "SQL_NUMERIC", 10, "NUMBER", 1, 1, 0},
        {"oracle8", dt::oracle8, "SQL_DECIMAL", 8, "DECIMAL", 1, 1, 0},
        {"oracle8", dt::oracle8, "SQL_DECIMAL", 0, "DECIMAL", 1, 1, 0},
        {"access95", dt::access95, "AUTOINCREMENT", 0, "COUNTER", 0, 0, 0},
        {"access95", dt::access95, "AUTOINCREMENT", 12, "COUNTER", 0, 0, 0},
        {"access95", dt::access95, "SQL_CHAR", 0, "CHAR", 1, 0, 0},
        {"pgsql7", dt::pgsql7, "SQL_REAL", 4, "FLOAT4", 1, 0, 8},
        {"pgsql7", dt::pgsql7, "SQL_REAL", 0, "FLOAT4", 1, 0, 8},
        // A negative length is not zero.
        {"oracle8", dt::oracle8, "SQL_VARCHAR", -1, "VARCHAR2", 1, 0, 0},
        // Names are compared exactly.
        {"oracle8", dt::oracle8, "sql_varchar", 40, nullptr, 0, 0, 0},
        {"oracle8", dt::oracle8, "SQL_VARCHAR ", 40, nullptr, 0, 0, 0},
        {"oracle8", dt::oracle8, "SQL_VARCHA", 40, nullptr, 0, 0, 0},
        {"oracle8", dt::oracle8, "VARCHAR", 40, nullptr, 0, 0, 0},
        {"oracle8", dt::oracle8, "SQL_UNKNOWN", 0, nullptr, 0, 0, 0},
        {"oracle8", dt::oracle8, "", 0, nullptr, 0, 0, 0},
        {"oracle8", dt::oracle8, nullptr, 0, nullptr, 0, 0, 0},
        {"none", nullptr, "SQL_VARCHAR", 0, nullptr, 0, 0, 0},
    });
    // The given length of the name decides, not a terminating zero.
    const DatatypeMapRow* row = findDatatypeRow(dt::oracle8, "SQL_VARCHAR2", 11, 40);
    ASSERT_NE(row, nullptr);
    EXPECT_STREQ(row->dbmsDatatype, "VARCHAR2");
    EXPECT_EQ(findDatatypeRow(dt::oracle8, "SQL_VARCHAR", 10, 40), nullptr);
    EXPECT_EQ(findDatatypeRow(dt::oracle8, "SQL_VARCHAR\0", 12, 40), nullptr);
    EXPECT_EQ(findDatatypeRow(dt::oracle8, "SQL_VARCHAR", -1, 40), nullptr);
    // A table without rows matches nothing.
    const DatatypeMapRow empty[] = {{nullptr, nullptr, 0, 0, 0, 0}};
    EXPECT_EQ(find(empty, "SQL_VARCHAR", 10), nullptr);
}

TEST(DatatypeTables, InformixNationalLongVarcharMapsToLvarcharAtEveryLength) {
    expectLookups({
        {"infmx7", dt::infmx7, "SQL_NLONGVARCHAR", 0, "LVARCHAR", 0, 0, 0},
        {"infmx7", dt::infmx7, "SQL_NLONGVARCHAR", 100, "LVARCHAR", 0, 0, 0},
        {"infmx7", dt::infmx7, "SQL_LONGVARCHAR", 100, "LVARCHAR", 0, 0, 0},
        {"infmx7", dt::infmx7, "SQL_NCLOB", 0, "LVARCHAR", 0, 0, 0},
    });
}

TEST(DatatypeTables, RowsThatDifferFromTheirNeighbours) {
    expectLookups({
        {"access95", dt::access95, "SQL_LONGVARBINARY", 10, "LONGBINARY", 1, 0, 0},
        {"access95", dt::access95, "SQL_LONGVARBINARY", 0, "BINARY", 0, 0, 0},
        {"access95", dt::access95, "SQL_NUMERIC", 10, "NUMERIC", 0, 0, 0},
        {"access95", dt::access95, "SQL_BOOLEAN", 0, "YESNO", 0, 0, 0},
        {"access95", dt::access95, "SQL_INTERVAL_DAY", 0, "DATETIME", 0, 0, 0},

        {"adabasd", dt::adabasd, "SQL_CHAR", 5, "char", 1, 0, 0},
        {"adabasd", dt::adabasd, "SQL_CHAR", 0, "char(1)", 0, 0, 0},
        {"adabasd", dt::adabasd, "SQL_TINYINT", 3, "long byte", 0, 0, 0},
        {"adabasd", dt::adabasd, "SQL_TINYINT", 0, "smallint", 0, 0, 0},
        {"adabasd", dt::adabasd, "SQL_NUMERIC", 9, "fixed", 1, 1, 0},
        {"adabasd", dt::adabasd, "SQL_DOUBLE", 0, "long", 0, 0, 0},

        {"allbase", dt::allbase, "SQL_BINARY", 0, "LONG VARBINARY(3996)", 0, 0, 3996},
        {"allbase", dt::allbase, "SQL_BINARY", 8, "BINARY", 1, 0, 0},
        {"allbase", dt::allbase, "SQL_LONGVARCHAR", 0, "LONG VARBINARY(1)", 0, 0, 1},
        {"allbase", dt::allbase, "SQL_CHAR", 0, "CHAR", 1, 0, 0},
        {"allbase", dt::allbase, "SQL_TIMESTAMP", 0, "DATETIME", 0, 0, 0},
        {"allbase", dt::allbase, "SQL_INTERVAL_YEAR", 0, "INTERVAL", 0, 0, 0},

        {"ansi2", dt::ansi2, "SQL_BINARY", 0, "CHAR(1)", 0, 0, 1},
        {"ansi2", dt::ansi2, "SQL_VARBINARY", 0, "CHAR(254)", 0, 0, 254},
        {"ansi2", dt::ansi2, "SQL_VARBINARY", 7, "CHAR", 1, 0, 0},
        {"ansi2", dt::ansi2, "SQL_TIMESTAMP", 0, "DATE", 0, 0, 0},

        {"as400", dt::as400, "AUTOINCREMENT", 0, "DECIMAL(6)", 0, 0, 6},
        {"as400", dt::as400, "SQL_BINARY", 0, "GRAPHIC", 1, 0, 0},
        {"as400", dt::as400, "SQL_NCLOB", 20, "VARGRAPHIC", 1, 0, 0},
        {"as400", dt::as400, "SQL_DOUBLE", 0, "FLOAT", 0, 0, 0},

        {"db2udb52", dt::db2udb52, "SQL_TINYINT", 3, "SMALLINT", 0, 0, 0},
        {"db2udb52", dt::db2udb52, "SQL_TINYINT", 0, "NUMERIC(3)", 0, 0, 3},
        {"db2udb52", dt::db2udb52, "SQL_BINARY", 0, "LONG VARGRAPHIC", 0, 0, 0},
        {"db2udb52", dt::db2udb52, "SQL_CLOB", 0, "LONG VARCHAR", 0, 0, 0},
        {"db2udb52", dt::db2udb52, "SQL_DATALINK", 0, "DATALINK", 0, 0, 0},
        {"db2udb52", dt::db2udb52, "SQL_BIGINT", 0, "BIGINT", 0, 0, 0},

        {"db2mvs4", dt::db2mvs4, "SQL_LONGVARBINARY", 10, "LONG VARGRAPHIC", 0, 0, 0},
        {"db2mvs4", dt::db2mvs4, "SQL_BLOB", 0, "VARGRAPHIC", 1, 0, 0},
        {"db2mvs4", dt::db2mvs4, "SQL_VARBINARY", 0, "LONG VARGRAPHIC", 0, 0, 0},
        {"db2mvs4", dt::db2mvs4, "SQL_BIGINT", 0, "INTEGER", 0, 0, 0},

        {"db2mvs6", dt::db2mvs6, "SQL_REF", 0, "ROWID", 0, 0, 0},
        {"db2mvs6", dt::db2mvs6, "SQL_NVARCHAR", 0, "VARGRAPHIC(255)", 0, 0, 255},
        {"db2mvs6", dt::db2mvs6, "SQL_TIMESTAMP", 0, "DATE", 0, 0, 0},
        {"db2mvs6", dt::db2mvs6, "SQL_BINARY", 0, "BLOB", 1, 0, 0},

        {"infmx7", dt::infmx7, "AUTOINCREMENT", 0, "SERIAL", 1, 0, 0},
        {"infmx7", dt::infmx7, "SQL_VARCHAR", 10, "VARCHAR", 1, 1, 0},
        {"infmx7", dt::infmx7, "SQL_NVARCHAR", 10, "NVARCHAR", 1, 1, 0},
        {"infmx7", dt::infmx7, "SQL_NVARCHAR", 0, "VARCHAR", 0, 0, 0},
        {"infmx7", dt::infmx7, "SQL_TINYINT", 0, "DEC(3)", 0, 0, 3},
        {"infmx7", dt::infmx7, "SQL_TIME", 0, "DATETIME HOUR TO SECOND", 0, 0, 0},
        {"infmx7", dt::infmx7, "SQL_TIMESTAMP", 0, "DATETIME YEAR TO SECOND", 0, 0, 0},
        {"infmx7", dt::infmx7, "SQL_TIMESTAMP_WITH_TIME_ZONE", 0, "DATETIME HOUR TO SECOND", 0, 0,
         0},

        {"interbas", dt::interbas, "AUTOINCREMENT", 5, "NUMERIC", 1, 0, 0},
        {"interbas", dt::interbas, "AUTOINCREMENT", 0, "SMALLINT", 0, 0, 0},
        {"interbas", dt::interbas, "SQL_VARCHAR", 30, "VARCHAR", 1, 1, 0},
        {"interbas", dt::interbas, "SQL_NVARCHAR", 30, "NCHAR VARYING", 1, 0, 0},

        {"mysql322", dt::mysql322, "SQL_VARCHAR", 0, "text", 0, 0, 0},
        {"mysql322", dt::mysql322, "SQL_CHAR", 0, "char(1)", 0, 0, 1},
        {"mysql322", dt::mysql322, "SQL_NCHAR", 0, "national char(1)", 0, 0, 0},
        {"mysql322", dt::mysql322, "SQL_NLONGVARCHAR", 10, "national varchar", 1, 0, 0},
        {"mysql322", dt::mysql322, "SQL_NLONGVARCHAR", 0, "longtext", 0, 0, 0},
        {"mysql322", dt::mysql322, "AUTOINCREMENT", 0, "int", 1, 0, 0},

        {"nonstop", dt::nonstop, "SQL_DECIMAL", 10, "DECIMAL", 1, 1, 0},
        {"nonstop", dt::nonstop, "SQL_DECIMAL", 0, "NUMERIC", 0, 0, 0},
        {"nonstop", dt::nonstop, "SQL_BIGINT", 0, "LARGEINT", 0, 0, 0},
        {"nonstop", dt::nonstop, "SQL_TINYINT", 0, "DECIMAL(3)", 0, 0, 3},

        {"odbc3", dt::odbc3, "SQL_VARBINARY", 0, "LONG VARBINARY", 0, 0, 0},
        {"odbc3", dt::odbc3, "SQL_BLOB", 0, "LONG VARBINARY", 1, 0, 0},
        {"odbc3", dt::odbc3, "SQL_BOOLEAN", 0, "BIT", 0, 0, 0},
        {"odbc3", dt::odbc3, "SQL_FLOAT", 15, "FLOAT", 0, 0, 0},

        {"oracle7", dt::oracle7, "SQL_SMALLINT", 0, "SMALLINT", 0, 0, 5},
        {"oracle7", dt::oracle7, "SQL_TINYINT", 0, "NUMBER(3)", 0, 0, 3},
        {"oracle7", dt::oracle7, "SQL_NCHAR", 0, "CHAR(1)", 0, 0, 1},
        {"oracle7", dt::oracle7, "SQL_NCLOB", 0, "LONG VARCHAR", 0, 0, 0},
        {"oracle7", dt::oracle7, "SQL_REF", 0, "VARCHAR(255)", 0, 0, 0},
        {"oracle7", dt::oracle7, "SQL_BLOB", 0, "LONG RAW", 0, 0, 0},

        {"oracle8", dt::oracle8, "SQL_INTEGER", 0, "INTEGER", 0, 0, 0},
        {"oracle8", dt::oracle8, "SQL_BOOLEAN", 0, "NUMBER(1)", 0, 0, 1},
        {"oracle8", dt::oracle8, "SQL_REF", 0, "ROWID", 0, 0, 0},
        {"oracle8", dt::oracle8, "SQL_BLOB", 0, "BLOB", 0, 0, 0},
        {"oracle8", dt::oracle8, "SQL_NCHAR", 0, "NCHAR(1)", 0, 0, 1},
        {"oracle8", dt::oracle8, "SQL_BIGINT", 0, "NUMBER(19)", 0, 0, 0},

        {"oracl8i2", dt::oracl8i2, "SQL_BOOLEAN", 0, "BOOLEAN", 0, 0, 1},
        {"oracl8i2", dt::oracl8i2, "SQL_REF", 0, "ROWID", 0, 0, 0},
        {"oracl8i2", dt::oracl8i2, "SQL_NVARCHAR", 0, "NVARCHAR2(255)", 0, 0, 255},

        {"pgsql7", dt::pgsql7, "AUTOINCREMENT", 4, "SERIAL", 0, 0, 0},
        {"pgsql7", dt::pgsql7, "SQL_DOUBLE", 0, "FLOAT8", 0, 0, 8},
        {"pgsql7", dt::pgsql7, "SQL_BINARY", 0, "CHAR(254)", 0, 0, 254},
        {"pgsql7", dt::pgsql7, "SQL_DATALINK", 0, "VARCHAR(254)", 0, 0, 0},
        {"pgsql7", dt::pgsql7, "SQL_REF", 0, "VARCHAR(255)", 0, 0, 0},
        {"pgsql7", dt::pgsql7, "SQL_TIMESTAMP_WITH_TIME_ZONE", 0, "TIMESTAMP WITH TIME ZONE", 0, 0,
         0},

        {"sqlany55", dt::sqlany55, "SQL_REAL", 0, "float", 1, 0, 0},
        {"sqlany55", dt::sqlany55, "SQL_BIGINT", 0, "integer", 0, 0, 0},
        {"sqlany55", dt::sqlany55, "SQL_BOOLEAN", 0, "smallint", 0, 0, 0},
        {"sqlany55", dt::sqlany55, "SQL_CLOB", 10, "long varchar", 0, 0, 0},
        {"sqlany55", dt::sqlany55, "SQL_INTERVAL_MINUTE_TO_SECOND", 0, "timestamp", 0, 0, 0},

        {"sqlany6", dt::sqlany6, "SQL_REAL", 0, "real", 1, 0, 0},
        {"sqlany6", dt::sqlany6, "SQL_BIGINT", 0, "bigint", 0, 0, 0},
        {"sqlany6", dt::sqlany6, "SQL_BOOLEAN", 0, "bit", 0, 0, 0},
        {"sqlany6", dt::sqlany6, "SQL_CLOB", 10, "long varchar", 0, 0, 0},

        {"sqlserv6", dt::sqlserv6, "AUTOINCREMENT", 0, "numeric", 1, 0, 0},
        {"sqlserv6", dt::sqlserv6, "SQL_DOUBLE", 0, "float", 1, 0, 0},
        {"sqlserv6", dt::sqlserv6, "SQL_NCHAR", 0, "char(1)", 0, 0, 1},
        {"sqlserv6", dt::sqlserv6, "SQL_NLONGVARCHAR", 0, "text", 1, 0, 0},
        {"sqlserv6", dt::sqlserv6, "SQL_BLOB", 0, "image", 1, 0, 0},

        {"sqlserv7", dt::sqlserv7, "SQL_NCHAR", 0, "nchar(1)", 0, 0, 1},
        {"sqlserv7", dt::sqlserv7, "SQL_NLONGVARCHAR", 0, "ntext", 1, 0, 0},
        {"sqlserv7", dt::sqlserv7, "SQL_BIGINT", 0, "int", 0, 0, 0},

        {"sqlsrv2k", dt::sqlsrv2k, "SQL_BIGINT", 0, "bigint", 0, 0, 0},
        {"sqlsrv2k", dt::sqlsrv2k, "SQL_NVARCHAR", 0, "nvarchar(255)", 0, 0, 255},
        {"sqlsrv2k", dt::sqlsrv2k, "SQL_LONGVARBINARY", 0, "varbinary(255)", 0, 0, 255},

        {"syase11x", dt::syase11x, "SQL_DOUBLE", 0, "double precision", 0, 0, 0},
        {"syase11x", dt::syase11x, "SQL_LONGVARBINARY", 10, "image", 0, 0, 0},
        {"syase11x", dt::syase11x, "SQL_REAL", 0, "real", 1, 0, 0},
        {"syase11x", dt::syase11x, "SQL_VARBINARY", 0, "varbinary(255)", 0, 0, 255},

        {"sybiq12", dt::sybiq12, "SQL_BLOB", 0, "BINARY", 1, 0, 0},
        {"sybiq12", dt::sybiq12, "SQL_INTERVAL_HOUR", 0, "TIMESTAMP", 0, 0, 0},
        {"sybiq12", dt::sybiq12, "SQL_TINYINT", 0, "TINYINT", 0, 0, 0},

        {"teradata", dt::teradata, "SQL_BINARY", 0, "VARBYTE(32000)", 0, 0, 32000},
        {"teradata", dt::teradata, "SQL_TINYINT", 0, "BYTEINT", 0, 0, 0},
        {"teradata", dt::teradata, "SQL_CLOB", 0, "LONG VARCHAR", 1, 0, 0},
        {"teradata", dt::teradata, "AUTOINCREMENT", 0, "DECIMAL(6)", 0, 0, 6},
        {"teradata", dt::teradata, "AUTOINCREMENT", 9, "DECIMAL", 1, 0, 0},
    });
}

}  // namespace
