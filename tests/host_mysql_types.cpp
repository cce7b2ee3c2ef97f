// The MySQL and MariaDB source without a server: the type table row by row,
// column defaults, and the URIs it accepts.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "importers/database/MysqlModel.h"

namespace {

using importers::mapMysqlType;
using importers::MysqlColumnType;

struct TypeCase {
    std::string columnType;  // as the server reports it
    std::string dataType;
    int length;
    int scale;
    bool noted;  // the column notes its server type
};

// One case per row of the table, plus the forms that choose another row or
// add a note (UNSIGNED, ZEROFILL, fractional seconds).
const TypeCase kTypeCases[] = {
    {"tinyint(1)", "SQL_BOOLEAN", 0, 0, false},
    {"tinyint(1) unsigned", "SQL_TINYINT", 0, 0, true},
    {"tinyint(4)", "SQL_TINYINT", 0, 0, false},
    {"tinyint", "SQL_TINYINT", 0, 0, false},
    {"smallint(6)", "SQL_SMALLINT", 0, 0, false},
    {"mediumint(9)", "SQL_INTEGER", 0, 0, true},
    {"int(11)", "SQL_INTEGER", 0, 0, false},
    {"int", "SQL_INTEGER", 0, 0, false},
    {"int(10) unsigned", "SQL_INTEGER", 0, 0, true},
    {"int unsigned", "SQL_INTEGER", 0, 0, true},
    {"integer", "SQL_INTEGER", 0, 0, false},
    {"bigint(20)", "SQL_BIGINT", 0, 0, false},
    {"bigint(20) unsigned zerofill", "SQL_BIGINT", 0, 0, true},
    {"decimal(10,2)", "SQL_DECIMAL", 10, 2, false},
    {"decimal(5,0) unsigned", "SQL_DECIMAL", 5, 0, true},
    {"numeric(7,3)", "SQL_DECIMAL", 7, 3, false},
    {"float", "SQL_FLOAT", 0, 0, false},
    {"float(7,4)", "SQL_FLOAT", 0, 0, true},
    {"double", "SQL_DOUBLE", 0, 0, false},
    {"real", "SQL_DOUBLE", 0, 0, false},
    {"bit(1)", "SQL_BOOLEAN", 0, 0, true},
    {"bit(8)", "SQL_BIGINT", 0, 0, true},
    {"char(2)", "SQL_CHAR", 2, 0, false},
    {"varchar(80)", "SQL_VARCHAR", 80, 0, false},
    {"binary(16)", "SQL_BINARY", 16, 0, false},
    {"varbinary(64)", "SQL_VARBINARY", 64, 0, false},
    {"tinytext", "SQL_LONGVARCHAR", 0, 0, true},
    {"text", "SQL_LONGVARCHAR", 0, 0, false},
    {"mediumtext", "SQL_LONGVARCHAR", 0, 0, true},
    {"longtext", "SQL_LONGVARCHAR", 0, 0, false},
    {"tinyblob", "SQL_LONGVARBINARY", 0, 0, true},
    {"blob", "SQL_LONGVARBINARY", 0, 0, false},
    {"mediumblob", "SQL_LONGVARBINARY", 0, 0, true},
    {"longblob", "SQL_LONGVARBINARY", 0, 0, false},
    {"date", "SQL_DATE", 0, 0, false},
    {"time", "SQL_TIME", 0, 0, false},
    {"time(3)", "SQL_TIME", 0, 0, true},
    {"datetime", "SQL_TIMESTAMP", 0, 0, false},
    {"datetime(6)", "SQL_TIMESTAMP", 0, 0, true},
    {"timestamp", "SQL_TIMESTAMP_WITH_TIME_ZONE", 0, 0, false},
    {"year(4)", "SQL_SMALLINT", 0, 0, true},
    {"year", "SQL_SMALLINT", 0, 0, true},
    {"enum('new','vip')", "SQL_VARCHAR", 0, 0, false},
    {"set('gift','express')", "SQL_VARCHAR", 12, 0, true},
    {"json", "SQL_LONGVARCHAR", 0, 0, true},
    {"geometry", "SQL_LONGVARBINARY", 0, 0, true},
    {"point", "SQL_LONGVARBINARY", 0, 0, true},
    {"linestring", "SQL_LONGVARBINARY", 0, 0, true},
    {"polygon", "SQL_LONGVARBINARY", 0, 0, true},
    {"multipoint", "SQL_LONGVARBINARY", 0, 0, true},
    {"multilinestring", "SQL_LONGVARBINARY", 0, 0, true},
    {"multipolygon", "SQL_LONGVARBINARY", 0, 0, true},
    {"geometrycollection", "SQL_LONGVARBINARY", 0, 0, true},
    {"geomcollection", "SQL_LONGVARBINARY", 0, 0, true},
    {"uuid", "SQL_CHAR", 36, 0, true},
    {"inet4", "SQL_VARCHAR", 15, 0, true},
    {"inet6", "SQL_VARCHAR", 39, 0, true},
    {"vector(3)", "SQL_VARCHAR", 0, 0, true},  // unknown: the fallback
    {"", "SQL_VARCHAR", 0, 0, true},
};

TEST(MysqlTypes, EveryServerTypeMapsAsItsRowSays) {
    for (const TypeCase& c : kTypeCases) {
        SCOPED_TRACE(c.columnType);
        MysqlColumnType mapped = mapMysqlType(c.columnType);
        EXPECT_EQ(mapped.type.dataType, c.dataType);
        EXPECT_EQ(mapped.type.length, c.length);
        EXPECT_EQ(mapped.type.scale, c.scale);
        EXPECT_EQ(mapped.noted, c.noted);
    }
}

TEST(MysqlTypes, EnumAndSetKeepTheirValuesInOrder) {
    struct Case {
        std::string columnType;
        std::vector<std::string> values;
    };
    const Case cases[] = {
        {"enum('new','vip','gone')", {"new", "vip", "gone"}},
        // Quotes are doubled, backslashes escaped, commas are data.
        {R"(enum('it''s','a\\b','x,y',''))", {"it's", R"(a\b)", "x,y", ""}},
        {"set('gift','express','fragile')", {"gift", "express", "fragile"}},
        {"varchar(10)", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columnType);
        EXPECT_EQ(mapMysqlType(c.columnType).values, c.values);
    }
}

TEST(MysqlTypes, DefaultsLoseTheirQuotesAndNullIsNoDefault) {
    struct Case {
        std::string reported;
        bool isNull;
        bool mariadb;
        std::string expected;
    };
    const Case cases[] = {
        {"", true, true, ""},
        {"NULL", false, true, ""},
        {"'NULL'", false, true, "NULL"},
        {"'it''s me'", false, true, "it's me"},
        {R"('a\\b')", false, true, R"(a\b)"},
        {"''", false, true, ""},
        {"0.00", false, true, "0.00"},
        {"current_timestamp()", false, true, "current_timestamp()"},
        {"(1 + 2)", false, true, "(1 + 2)"},
        // MySQL reports literals bare and DEFAULT NULL as null.
        {"", true, false, ""},
        {"it's me", false, false, "it's me"},
        {"NULL", false, false, "NULL"},
        {"'quoted'", false, false, "'quoted'"},
        {"CURRENT_TIMESTAMP", false, false, "CURRENT_TIMESTAMP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reported + (c.mariadb ? " (MariaDB)" : " (MySQL)"));
        EXPECT_EQ(importers::mysqlDefaultValue(c.reported, c.isNull, c.mariadb), c.expected);
    }
}

TEST(MysqlUris, KnowsBothSchemes) {
    for (const auto& [input, expected] :
         std::vector<std::pair<std::string, bool>>{{"mysql://u@h/db", true},
                                                   {"mariadb:///db?socket=/s", true},
                                                   {"MYSQL://u@h/db", false},
                                                   {"mysql:/db", false},
                                                   {"postgresql:///db", false},
                                                   {"mysql.sql", false}}) {
        SCOPED_TRACE(input);
        EXPECT_EQ(importers::isMysqlUri(input), expected);
    }
}

TEST(MysqlUris, SplitIntoTheirParts) {
    struct Case {
        std::string uri;
        std::string user, password;
        bool hasPassword;
        std::string host;
        unsigned port;
        std::string database, socket;
    };
    const Case cases[] = {
        {"mysql://shop@db.example:3307/sales", "shop", "", false, "db.example", 3307, "sales", ""},
        {"mariadb://shop:s3cret@db/sales", "shop", "s3cret", true, "db", 0, "sales", ""},
        {"mysql://shop:@db/sales", "shop", "", true, "db", 0, "sales", ""},
        {"mysql:///sales?socket=/run/mysqld/mysqld.sock", "", "", false, "", 0, "sales",
         "/run/mysqld/mysqld.sock"},
        {"mysql://a%40b:p%3Aw%40d@[::1]:3306/my%20db?socket=%2Ftmp%2Fs", "a@b", "p:w@d", true,
         "::1", 3306, "my db", "/tmp/s"},
        {"mysql://u:p@ss@h/db", "u", "p@ss", true, "h", 0, "db", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.uri);
        importers::MysqlUri parts = importers::parseMysqlUri(c.uri);
        EXPECT_EQ(parts.user, c.user);
        EXPECT_EQ(parts.password, c.password);
        EXPECT_EQ(parts.hasPassword, c.hasPassword);
        EXPECT_EQ(parts.host, c.host);
        EXPECT_EQ(parts.port, c.port);
        EXPECT_EQ(parts.database, c.database);
        EXPECT_EQ(parts.socket, c.socket);
    }
}

TEST(MysqlUris, BadUrisAreRefusedWithThePasswordMasked) {
    struct Case {
        std::string uri, message;
    };
    const Case cases[] = {
        {"mysql://u:s3cret@h", "mysql://u:***@h: no database named (mysql://user@host/DATABASE)"},
        {"mysql://u:s3cret@h/", "mysql://u:***@h/: no database named (mysql://user@host/DATABASE)"},
        {"mysql://u:s3cret@h:0/db", "mysql://u:***@h:0/db: bad port '0'"},
        {"mysql://u:s3cret@h:99999/db", "mysql://u:***@h:99999/db: bad port '99999'"},
        {"mysql://u:s3cret@h:x/db", "mysql://u:***@h:x/db: bad port 'x'"},
        {"mysql://u:s3cret@h/db?sslmode=on",
         "mysql://u:***@h/db?sslmode=on: unknown parameter 'sslmode' (only socket= is known)"},
        {"mysql://u:s3%ZZ@h/db", "mysql://u:***@h/db: bad percent escape in the password"},
        {"mysql://u@h/d%4", "mysql://u@h/d%4: bad percent escape in the database name"},
        {"mysql://u:s3cret@[::1/db", "mysql://u:***@[::1/db: unclosed [ in the host"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.uri);
        try {
            importers::parseMysqlUri(c.uri);
            ADD_FAILURE() << "accepted";
        } catch (const importers::ModelFileError& error) {
            EXPECT_EQ(std::string(error.what()), c.message);
        }
    }
}

TEST(MysqlUris, MaskingHidesOnlyThePassword) {
    const std::pair<std::string, std::string> cases[] = {
        {"mysql://u:s3cret@h/db", "mysql://u:***@h/db"},
        {"mysql://u:p@ss@h/db?socket=/a@b", "mysql://u:***@h/db?socket=/a@b"},
        {"mysql://u@h:3306/db", "mysql://u@h:3306/db"},
        {"mysql://h:3306/db", "mysql://h:3306/db"},
        {"mysql:///db?socket=/x:y@z", "mysql:///db?socket=/x:y@z"},
    };
    for (const auto& [uri, masked] : cases) {
        SCOPED_TRACE(uri);
        EXPECT_EQ(importers::maskMysqlUri(uri), masked);
    }
}

}  // namespace
