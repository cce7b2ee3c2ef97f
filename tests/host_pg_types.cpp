// The PostgreSQL type table, row by row: built-in types to model types, and
// which of them are fallbacks whose name the column keeps as its comment.

#include <gtest/gtest.h>

#include <string>

#include "importers/database/PostgresTypes.h"

namespace {

struct TypeCase {
    long long oid;
    long long typmod;
    const char* formatted;
    const char* dataType;
    int length;
    int scale;
    bool whole;
};

TEST(PostgresTypes, BuiltInTypesMapRowByRow) {
    const TypeCase cases[] = {
        {16, -1, "boolean", "SQL_BOOLEAN", 0, 0, true},
        {17, -1, "bytea", "SQL_LONGVARBINARY", 0, 0, true},
        {18, -1, "\"char\"", "SQL_CHAR", 1, 0, true},
        {19, -1, "name", "SQL_VARCHAR", 63, 0, true},
        {20, -1, "bigint", "SQL_BIGINT", 0, 0, true},
        {21, -1, "smallint", "SQL_SMALLINT", 0, 0, true},
        {23, -1, "integer", "SQL_INTEGER", 0, 0, true},
        {25, -1, "text", "SQL_LONGVARCHAR", 0, 0, true},
        {700, -1, "real", "SQL_REAL", 0, 0, true},
        {701, -1, "double precision", "SQL_DOUBLE", 0, 0, true},
        {1042, 24, "character(20)", "SQL_CHAR", 20, 0, true},
        {1043, 84, "character varying(80)", "SQL_VARCHAR", 80, 0, true},
        {1043, -1, "character varying", "SQL_LONGVARCHAR", 0, 0, true},
        {1082, -1, "date", "SQL_DATE", 0, 0, true},
        {1083, 0, "time(0) without time zone", "SQL_TIME", 0, 0, true},
        {1266, -1, "time with time zone", "SQL_TIME_WITH_TIME_ZONE", 0, 0, true},
        {1114, 3, "timestamp(3) without time zone", "SQL_TIMESTAMP", 0, 0, true},
        {1184, -1, "timestamp with time zone", "SQL_TIMESTAMP_WITH_TIME_ZONE", 0, 0, true},
        {1186, -1, "interval", "SQL_INTERVAL_DAY_TO_SECOND", 0, 0, true},
        {1186, 458751, "interval year to month", "SQL_INTERVAL_YEAR_TO_MONTH", 0, 0, true},
        {1186, 470286338, "interval day to second(2)", "SQL_INTERVAL_DAY_TO_SECOND", 0, 0, true},
        {1186, -1, "interval minute", "SQL_INTERVAL_MINUTE", 0, 0, true},
        {1700, 655366, "numeric(10,2)", "SQL_NUMERIC", 10, 2, true},
        {1700, -1, "numeric", "SQL_NUMERIC", 0, 0, true},
        // Fallbacks: the closest type, and the name goes to the comment.
        {2950, -1, "uuid", "SQL_CHAR", 36, 0, false},
        {114, -1, "json", "SQL_LONGVARCHAR", 0, 0, false},
        {3802, -1, "jsonb", "SQL_LONGVARCHAR", 0, 0, false},
        {142, -1, "xml", "SQL_LONGVARCHAR", 0, 0, false},
        {790, -1, "money", "SQL_NUMERIC", 19, 2, false},
        {1560, 8, "bit(8)", "SQL_CHAR", 8, 0, false},
        {1562, 64, "bit varying(64)", "SQL_VARCHAR", 64, 0, false},
        {1562, -1, "bit varying", "SQL_LONGVARCHAR", 0, 0, false},
        {869, -1, "inet", "SQL_VARCHAR", 43, 0, false},
        {650, -1, "cidr", "SQL_VARCHAR", 43, 0, false},
        {829, -1, "macaddr", "SQL_CHAR", 17, 0, false},
        {26, -1, "oid", "SQL_BIGINT", 0, 0, false},
        {1007, -1, "integer[]", "SQL_LONGVARCHAR", 0, 0, false},
        {3904, -1, "int4range", "SQL_LONGVARCHAR", 0, 0, false},
    };
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(c.formatted);
        importers::PostgresColumnType mapped =
            importers::mapPostgresType(c.oid, c.typmod, c.formatted);
        EXPECT_EQ(mapped.type.dataType, c.dataType);
        EXPECT_EQ(mapped.type.length, c.length);
        EXPECT_EQ(mapped.type.scale, c.scale);
        EXPECT_EQ(mapped.whole, c.whole);
    }
}

TEST(PostgresTypes, IntegerWidthsForCounters) {
    EXPECT_EQ(importers::postgresIntegerBits(21), 16);
    EXPECT_EQ(importers::postgresIntegerBits(23), 32);
    EXPECT_EQ(importers::postgresIntegerBits(20), 64);
    EXPECT_EQ(importers::postgresIntegerBits(1700), 0);
}

}  // namespace
