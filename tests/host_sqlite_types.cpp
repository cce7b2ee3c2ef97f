// The SQLite type table: declared types, row by row, to model types, and
// whether the declared text must be kept because something was lost.

#include <gtest/gtest.h>

#include <string>

#include "importers/database/SqliteTypes.h"

namespace {

struct TypeCase {
    const char* declared;
    const char* dataType;
    int length;
    int scale;
    bool whole;
};

void expectMapping(const TypeCase& c) {
    SCOPED_TRACE(std::string("declared '") + c.declared + "'");
    importers::SqliteColumnType mapped = importers::mapSqliteType(c.declared);
    EXPECT_EQ(mapped.type.dataType, c.dataType);
    EXPECT_EQ(mapped.type.length, c.length);
    EXPECT_EQ(mapped.type.scale, c.scale);
    EXPECT_EQ(mapped.whole, c.whole);
}

TEST(SqliteTypes, ExactNamesCarryTheWholeType) {
    const TypeCase cases[] = {
        {"INT", "SQL_INTEGER", 0, 0, true},
        {"integer", "SQL_INTEGER", 0, 0, true},
        {"MEDIUMINT", "SQL_INTEGER", 0, 0, true},
        {"int4", "SQL_INTEGER", 0, 0, true},
        {"INT(11)", "SQL_INTEGER", 0, 0, true},
        {"BIGINT", "SQL_BIGINT", 0, 0, true},
        {"int8", "SQL_BIGINT", 0, 0, true},
        {"SMALLINT", "SQL_SMALLINT", 0, 0, true},
        {"INT2", "SQL_SMALLINT", 0, 0, true},
        {"TINYINT", "SQL_TINYINT", 0, 0, true},
        {"VARCHAR(40)", "SQL_VARCHAR", 40, 0, true},
        {"varchar", "SQL_VARCHAR", 0, 0, true},
        {"VARCHAR2(10)", "SQL_VARCHAR", 10, 0, true},
        {"CHARACTER  VARYING ( 12 )", "SQL_VARCHAR", 12, 0, true},
        {"VARYING CHARACTER(5)", "SQL_VARCHAR", 5, 0, true},
        {"NVARCHAR(40)", "SQL_NVARCHAR", 40, 0, true},
        {"NATIONAL CHARACTER VARYING(9)", "SQL_NVARCHAR", 9, 0, true},
        {"CHAR(12)", "SQL_CHAR", 12, 0, true},
        {"CHARACTER(3)", "SQL_CHAR", 3, 0, true},
        {"NCHAR(55)", "SQL_NCHAR", 55, 0, true},
        {"NATIVE CHARACTER(70)", "SQL_NCHAR", 70, 0, true},
        {"TEXT", "SQL_LONGVARCHAR", 0, 0, true},
        {"CLOB", "SQL_LONGVARCHAR", 0, 0, true},
        {"BLOB", "SQL_LONGVARBINARY", 0, 0, true},
        {"", "SQL_LONGVARBINARY", 0, 0, true},
        {"REAL", "SQL_DOUBLE", 0, 0, true},
        {"DOUBLE", "SQL_DOUBLE", 0, 0, true},
        {"DOUBLE PRECISION", "SQL_DOUBLE", 0, 0, true},
        {"FLOAT", "SQL_FLOAT", 0, 0, true},
        {"FLOAT(24)", "SQL_FLOAT", 24, 0, true},
        {"BOOLEAN", "SQL_BOOLEAN", 0, 0, true},
        {"BOOL", "SQL_BOOLEAN", 0, 0, true},
        {"DATE", "SQL_DATE", 0, 0, true},
        {"TIME", "SQL_TIME", 0, 0, true},
        {"DATETIME", "SQL_TIMESTAMP", 0, 0, true},
        {"TIMESTAMP", "SQL_TIMESTAMP", 0, 0, true},
        {"NUMERIC(10, 2)", "SQL_NUMERIC", 10, 2, true},
        {"NUMBER(8)", "SQL_NUMERIC", 8, 0, true},
        {"DECIMAL(12,+3)", "SQL_DECIMAL", 12, 3, true},
        {"BINARY(16)", "SQL_BINARY", 16, 0, true},
        {"VARBINARY(200)", "SQL_VARBINARY", 200, 0, true},
    };
    for (const TypeCase& c : cases)
        expectMapping(c);
}

TEST(SqliteTypes, OtherNamesFollowSqliteAffinityAndKeepTheirText) {
    const TypeCase cases[] = {
        // INTEGER affinity, sized by BIG, SMALL and TINY.
        {"INTEGER UNSIGNED", "SQL_INTEGER", 0, 0, false},
        {"BIGINT UNSIGNED", "SQL_BIGINT", 0, 0, false},
        {"UNSIGNED BIG INT", "SQL_BIGINT", 0, 0, false},
        {"smallint unsigned", "SQL_SMALLINT", 0, 0, false},
        {"TINYINT(1) UNSIGNED", "SQL_TINYINT", 0, 0, false},
        {"POINT", "SQL_INTEGER", 0, 0, false},  // contains INT: SQLite says integer
        // TEXT affinity, with the declared length.
        {"NVARCHAR2(30)", "SQL_NVARCHAR", 30, 0, false},
        {"VARCHAR(20) BINARY", "SQL_VARCHAR", 0, 0, false},
        {"CHAR(8) COLLATE", "SQL_CHAR", 0, 0, false},
        {"LONGTEXT", "SQL_LONGVARCHAR", 0, 0, false},
        {"MEDIUMTEXT", "SQL_LONGVARCHAR", 0, 0, false},
        // BLOB and REAL affinity.
        {"LONGBLOB", "SQL_LONGVARBINARY", 0, 0, false},
        {"REAL UNSIGNED", "SQL_DOUBLE", 0, 0, false},
        {"FLOAT8", "SQL_FLOAT", 0, 0, false},
        {"DOUBLE(10,2)", "SQL_DOUBLE", 0, 0, true},
        // NUMERIC affinity, refined by name.
        {"BOOLEAN_FLAG", "SQL_BOOLEAN", 0, 0, false},
        {"TIMESTAMP WITH TIME ZONE", "SQL_TIMESTAMP_WITH_TIME_ZONE", 0, 0, false},
        {"TIME WITH TIME ZONE", "SQL_TIME_WITH_TIME_ZONE", 0, 0, false},
        {"SMALLDATETIME", "SQL_TIMESTAMP", 0, 0, false},
        {"DATE_ONLY", "SQL_DATE", 0, 0, false},
        {"DEC(5,1)", "SQL_DECIMAL", 5, 1, false},
        {"NUMERIC(x)", "SQL_NUMERIC", 0, 0, false},
        {"VARCHAR(x)", "SQL_VARCHAR", 0, 0, false},
        {"VARCHAR(10", "SQL_VARCHAR", 0, 0, false},
        {"JSON", "SQL_NUMERIC", 0, 0, false},
        {"UUID", "SQL_NUMERIC", 0, 0, false},
        {"STRING", "SQL_NUMERIC", 0, 0, false},
    };
    for (const TypeCase& c : cases)
        expectMapping(c);
}

}  // namespace
