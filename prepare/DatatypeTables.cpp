// The per-DBMS datatype tables, kept as plain data one row per line, and the
// lookup that picks a row for a model datatype and length.

#include "prepare/DatatypeTables.h"

#include <cstdint>
#include <cstring>

// Every table lists the same 43 model datatype names in the same order. A name
// has one row for any length (-1), or two: one for a non-zero length (0)
// followed by one for a zero length (1).
// Columns: model datatype, DBMS datatype, length condition, takes length,
// takes scale, implied length.

// The thirteen interval names always map alike within a table.
#define INTERVAL_ROWS(text)                                                                     \
    {"SQL_INTERVAL_MONTH", text, -1, 0, 0, 0}, {"SQL_INTERVAL_YEAR", text, -1, 0, 0, 0},        \
        {"SQL_INTERVAL_YEAR_TO_MONTH", text, -1, 0, 0, 0},                                      \
        {"SQL_INTERVAL_DAY", text, -1, 0, 0, 0}, {"SQL_INTERVAL_HOUR", text, -1, 0, 0, 0},      \
        {"SQL_INTERVAL_MINUTE", text, -1, 0, 0, 0}, {"SQL_INTERVAL_SECOND", text, -1, 0, 0, 0}, \
        {"SQL_INTERVAL_DAY_TO_HOUR", text, -1, 0, 0, 0},                                        \
        {"SQL_INTERVAL_DAY_TO_MINUTE", text, -1, 0, 0, 0},                                      \
        {"SQL_INTERVAL_DAY_TO_SECOND", text, -1, 0, 0, 0},                                      \
        {"SQL_INTERVAL_HOUR_TO_MINUTE", text, -1, 0, 0, 0},                                     \
        {"SQL_INTERVAL_HOUR_TO_SECOND", text, -1, 0, 0, 0},                                     \
        {"SQL_INTERVAL_MINUTE_TO_SECOND", text, -1, 0, 0, 0},

#define END_ROW \
    { nullptr, nullptr, 0, 0, 0, 0 }

namespace datatype_tables {

// clang-format off
const DatatypeMapRow access95[] = {
    {"AUTOINCREMENT",                 "COUNTER",                  -1, 0, 0,     0},
    {"SQL_BINARY",                    "BINARY",                   -1, 1, 0,     0},
    {"SQL_CHAR",                      "CHAR",                     -1, 1, 0,     0},
    {"SQL_DATE",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "DOUBLE",                   -1, 0, 0,     0},
    {"SQL_INTEGER",                   "INTEGER",                  -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "LONGBINARY",                0, 1, 0,     0},
    {"SQL_LONGVARBINARY",             "BINARY",                    1, 0, 0,     0},
    {"SQL_LONGVARCHAR",               "LONGTEXT",                 -1, 1, 0,     0},
    {"SQL_NUMERIC",                   "NUMERIC",                  -1, 0, 0,     0},
    {"SQL_REAL",                      "FLOAT",                    -1, 0, 0,     0},
    {"SQL_SMALLINT",                  "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "TIME",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "TIMESTAMP",                -1, 0, 0,     0},
    {"SQL_TINYINT",                   "BYTE",                     -1, 0, 0,     0},
    {"SQL_VARBINARY",                 "BINARY",                   -1, 1, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_BIGINT",                    "INTEGER",                  -1, 0, 0,     0},
    {"SQL_BLOB",                      "LONGBINARY",               -1, 1, 0,     0},
    {"SQL_BOOLEAN",                   "YESNO",                    -1, 0, 0,     0},
    {"SQL_CLOB",                      "LONGTEXT",                 -1, 1, 0,     0},
    {"SQL_NCHAR",                     "CHAR",                     -1, 1, 0,     0},
    {"SQL_NVARCHAR",                  "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_NLONGVARCHAR",              "LONGTEXT",                 -1, 1, 0,     0},
    {"SQL_NCLOB",                     "LONGTEXT",                 -1, 1, 0,     0},
    {"SQL_DATALINK",                  "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "NUMERIC",                  -1, 0, 0,     0},
    {"SQL_FLOAT",                     "FLOAT",                    -1, 0, 0,     0},
    INTERVAL_ROWS("DATETIME")
    {"SQL_REF",                       "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "DATETIME",                 -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "DATETIME",                 -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow adabasd[] = {
    {"AUTOINCREMENT",                 "fixed",                    -1, 1, 0,     0},
    {"SQL_BINARY",                    "long byte",                -1, 0, 0,     0},
    {"SQL_CHAR",                      "char",                      0, 1, 0,     0},
    {"SQL_CHAR",                      "char(1)",                   1, 0, 0,     0},
    {"SQL_DATE",                      "date",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "long",                     -1, 0, 0,     0},
    {"SQL_INTEGER",                   "integer",                  -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "long byte",                -1, 0, 0,     0},
    {"SQL_LONGVARCHAR",               "long varchar",             -1, 0, 0,     0},
    {"SQL_NUMERIC",                   "fixed",                    -1, 1, 1,     0},
    {"SQL_REAL",                      "real",                     -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "smallint",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "time",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "timestamp",                -1, 0, 0,     0},
    {"SQL_TINYINT",                   "long byte",                 0, 0, 0,     0},
    {"SQL_TINYINT",                   "smallint",                  1, 0, 0,     0},
    {"SQL_VARBINARY",                 "long byte",                -1, 0, 0,     0},
    {"SQL_VARCHAR",                   "varchar",                  -1, 1, 0,     0},
    {"SQL_BIGINT",                    "integer",                  -1, 0, 0,     0},
    {"SQL_BLOB",                      "long byte",                -1, 0, 0,     0},
    {"SQL_BOOLEAN",                   "boolean",                  -1, 0, 0,     0},
    {"SQL_CLOB",                      "long varchar",             -1, 0, 0,     0},
    {"SQL_NCHAR",                     "char",                      0, 1, 0,     0},
    {"SQL_NCHAR",                     "char(1)",                   1, 0, 0,     0},
    {"SQL_NVARCHAR",                  "varchar",                  -1, 1, 0,     0},
    {"SQL_NLONGVARCHAR",              "long varchar",             -1, 0, 0,     0},
    {"SQL_NCLOB",                     "long varchar",             -1, 0, 0,     0},
    {"SQL_DATALINK",                  "varchar",                  -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "decimal",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "float",                    -1, 1, 0,     0},
    INTERVAL_ROWS("timestamp")
    {"SQL_REF",                       "varchar",                  -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "timestamp",                -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "timestamp",                -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow allbase[] = {
    {"AUTOINCREMENT",                 "DECIMAL",                   0, 1, 0,     0},
    {"AUTOINCREMENT",                 "DECIMAL(6)",                1, 0, 0,     6},
    {"SQL_BINARY",                    "BINARY",                    0, 1, 0,     0},
    {"SQL_BINARY",                    "LONG VARBINARY(3996)",      1, 0, 0,  3996},
    {"SQL_CHAR",                      "CHAR",                     -1, 1, 0,     0},
    {"SQL_DATE",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "DOUBLE PRECISION",         -1, 0, 0,     0},
    {"SQL_INTEGER",                   "INT",                      -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "LONG VARBINARY",            0, 1, 0,     0},
    {"SQL_LONGVARBINARY",             "LONG VARBINARY(3996)",      1, 0, 0,  3996},
    {"SQL_LONGVARCHAR",               "LONG VARBINARY",            0, 1, 0,     0},
    {"SQL_LONGVARCHAR",               "LONG VARBINARY(1)",         1, 0, 0,     1},
    {"SQL_NUMERIC",                   "NUMERIC",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "REAL",                     -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "TIME",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "DATETIME",                 -1, 0, 0,     0},
    {"SQL_TINYINT",                   "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_VARBINARY",                 "VARBINARY",                 0, 1, 0,     0},
    {"SQL_VARBINARY",                 "LONG VARBINARY(3996)",      1, 0, 0,  3996},
    {"SQL_VARCHAR",                   "VARCHAR",                   0, 1, 0,     0},
    {"SQL_VARCHAR",                   "LONG VARBINARY(3996)",      1, 0, 0,  3996},
    {"SQL_BIGINT",                    "INTEGER",                  -1, 0, 0,     0},
    {"SQL_BLOB",                      "LONG VARBINARY",            0, 1, 0,     0},
    {"SQL_BLOB",                      "LONG VARBINARY(3996)",      1, 0, 0,  3996},
    {"SQL_BOOLEAN",                   "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_CLOB",                      "LONG VARBINARY",            0, 1, 0,     0},
    {"SQL_CLOB",                      "LONG VARBINARY(3996)",      1, 0, 0,  3996},
    {"SQL_NCHAR",                     "CHAR",                     -1, 1, 0,     0},
    {"SQL_NVARCHAR",                  "VARCHAR",                   0, 1, 0,     0},
    {"SQL_NVARCHAR",                  "LONG VARBINARY(3996)",      1, 0, 0,  3996},
    {"SQL_NLONGVARCHAR",              "LONG VARBINARY",            0, 1, 0,     0},
    {"SQL_NLONGVARCHAR",              "LONG VARBINARY(3996)",      1, 0, 0,  3996},
    {"SQL_NCLOB",                     "LONG VARBINARY",            0, 1, 0,     0},
    {"SQL_NCLOB",                     "LONG VARBINARY(3996)",      1, 0, 0,  3996},
    {"SQL_DATALINK",                  "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "DECIMAL",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "FLOAT",                    -1, 1, 0,     0},
    INTERVAL_ROWS("INTERVAL")
    {"SQL_REF",                       "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "INTERVAL",                 -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "INTERVAL",                 -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow ansi2[] = {
    {"AUTOINCREMENT",                 "NUMERIC",                   0, 1, 0,     0},
    {"AUTOINCREMENT",                 "NUMERIC(6)",                1, 0, 0,     6},
    {"SQL_BINARY",                    "CHAR",                      0, 1, 0,     0},
    {"SQL_BINARY",                    "CHAR(1)",                   1, 0, 0,     1},
    {"SQL_CHAR",                      "CHAR",                     -1, 1, 0,     0},
    {"SQL_DATE",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "DOUBLE PRECISION",         -1, 0, 0,     0},
    {"SQL_INTEGER",                   "INTEGER",                  -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "VARCHAR",                   0, 1, 0,     0},
    {"SQL_LONGVARBINARY",             "VARCHAR(254)",              1, 0, 0,   254},
    {"SQL_LONGVARCHAR",               "VARCHAR",                   0, 1, 0,     0},
    {"SQL_LONGVARCHAR",               "VARCHAR(254)",              1, 0, 0,   254},
    {"SQL_NUMERIC",                   "NUMERIC",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "REAL",                     -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "TIME",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "DATE",                     -1, 0, 0,     0},
    {"SQL_TINYINT",                   "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_VARBINARY",                 "CHAR",                      0, 1, 0,     0},
    {"SQL_VARBINARY",                 "CHAR(254)",                 1, 0, 0,   254},
    {"SQL_VARCHAR",                   "VARCHAR",                   0, 1, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR(254)",              1, 0, 0,   254},
    {"SQL_BIGINT",                    "INTEGER",                  -1, 0, 0,     0},
    {"SQL_BLOB",                      "VARCHAR",                   0, 1, 0,     0},
    {"SQL_BLOB",                      "VARCHAR(254)",              1, 0, 0,   254},
    {"SQL_BOOLEAN",                   "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_CLOB",                      "VARCHAR",                   0, 1, 0,     0},
    {"SQL_CLOB",                      "VARCHAR(254)",              1, 0, 0,   254},
    {"SQL_NCHAR",                     "CHAR",                     -1, 1, 0,     0},
    {"SQL_NVARCHAR",                  "VARCHAR",                   0, 1, 0,     0},
    {"SQL_NVARCHAR",                  "VARCHAR(254)",              1, 0, 0,   254},
    {"SQL_NLONGVARCHAR",              "VARCHAR",                   0, 1, 0,     0},
    {"SQL_NLONGVARCHAR",              "VARCHAR(254)",              1, 0, 0,   254},
    {"SQL_NCLOB",                     "VARCHAR",                   0, 1, 0,     0},
    {"SQL_NCLOB",                     "VARCHAR(254)",              1, 0, 0,   254},
    {"SQL_DATALINK",                  "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "DECIMAL",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "FLOAT",                    -1, 1, 0,     0},
    INTERVAL_ROWS("DATE")
    {"SQL_REF",                       "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "DATE",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "DATE",                     -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow as400[] = {
    {"AUTOINCREMENT",                 "DECIMAL",                   0, 1, 0,     0},
    {"AUTOINCREMENT",                 "DECIMAL(6)",                1, 0, 0,     6},
    {"SQL_BINARY",                    "GRAPHIC",                  -1, 1, 0,     0},
    {"SQL_CHAR",                      "CHAR",                     -1, 1, 0,     0},
    {"SQL_DATE",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "FLOAT",                    -1, 0, 0,     0},
    {"SQL_INTEGER",                   "INTEGER",                  -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "VARGRAPHIC",               -1, 1, 0,     0},
    {"SQL_LONGVARCHAR",               "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_NUMERIC",                   "NUMERIC",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "REAL",                     -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "TIME",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "TIMESTAMP",                -1, 0, 0,     0},
    {"SQL_TINYINT",                   "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_VARBINARY",                 "VARGRAPHIC",               -1, 1, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_BIGINT",                    "INTEGER",                  -1, 0, 0,     0},
    {"SQL_BLOB",                      "VARGRAPHIC",               -1, 1, 0,     0},
    {"SQL_BOOLEAN",                   "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_CLOB",                      "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_NCHAR",                     "GRAPHIC",                  -1, 1, 0,     0},
    {"SQL_NVARCHAR",                  "VARGRAPHIC",               -1, 1, 0,     0},
    {"SQL_NLONGVARCHAR",              "VARGRAPHIC",               -1, 1, 0,     0},
    {"SQL_NCLOB",                     "VARGRAPHIC",               -1, 1, 0,     0},
    {"SQL_DATALINK",                  "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "DECIMAL",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "FLOAT",                    -1, 1, 0,     0},
    INTERVAL_ROWS("DATE")
    {"SQL_REF",                       "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "DATE",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "DATE",                     -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow db2udb52[] = {
    {"AUTOINCREMENT",                 "NUMERIC",                   0, 1, 0,     0},
    {"AUTOINCREMENT",                 "NUMERIC(6)",                1, 0, 0,     6},
    {"SQL_BINARY",                    "BLOB",                      0, 1, 0,     0},
    {"SQL_BINARY",                    "LONG VARGRAPHIC",           1, 0, 0,     0},
    {"SQL_CHAR",                      "CHAR",                      0, 1, 0,     0},
    {"SQL_CHAR",                      "CHAR(1)",                   1, 0, 0,     1},
    {"SQL_DATE",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "DOUBLE PRECISION",         -1, 0, 0,     0},
    {"SQL_INTEGER",                   "INTEGER",                  -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "BLOB",                      0, 1, 0,     0},
    {"SQL_LONGVARBINARY",             "LONG VARGRAPHIC",           1, 0, 0,     0},
    {"SQL_LONGVARCHAR",               "LONG VARCHAR",             -1, 1, 0,     0},
    {"SQL_NUMERIC",                   "NUMERIC",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "REAL",                     -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "TIME",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "TIMESTAMP",                -1, 0, 0,     0},
    {"SQL_TINYINT",                   "SMALLINT",                  0, 0, 0,     0},
    {"SQL_TINYINT",                   "NUMERIC(3)",                1, 0, 0,     3},
    {"SQL_VARBINARY",                 "BLOB",                      0, 1, 0,     0},
    {"SQL_VARBINARY",                 "LONG VARGRAPHIC",           1, 0, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR",                   0, 1, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR(255)",              1, 0, 0,   255},
    {"SQL_BIGINT",                    "BIGINT",                   -1, 0, 0,     0},
    {"SQL_BLOB",                      "BLOB",                      0, 1, 0,     0},
    {"SQL_BLOB",                      "LONG VARGRAPHIC",           1, 0, 0,     0},
    {"SQL_BOOLEAN",                   "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_CLOB",                      "CLOB",                      0, 1, 0,     0},
    {"SQL_CLOB",                      "LONG VARCHAR",              1, 0, 0,     0},
    {"SQL_NCHAR",                     "GRAPHIC",                  -1, 1, 0,     0},
    {"SQL_NVARCHAR",                  "VARGRAPHIC",                0, 1, 0,     0},
    {"SQL_NVARCHAR",                  "VARGRAPHIC(255)",           1, 0, 0,   255},
    {"SQL_NLONGVARCHAR",              "DBCLOB",                    0, 1, 0,     0},
    {"SQL_NLONGVARCHAR",              "LONG VARGRAPHIC",           1, 0, 0,     0},
    {"SQL_NCLOB",                     "DBCLOB",                    0, 1, 0,     0},
    {"SQL_NCLOB",                     "LONG VARGRAPHIC",           1, 0, 0,     0},
    {"SQL_DATALINK",                  "DATALINK",                 -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "DECIMAL",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "FLOAT",                    -1, 1, 0,     0},
    INTERVAL_ROWS("DATE")
    {"SQL_REF",                       "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "DATE",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "DATE",                     -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow db2mvs4[] = {
    {"AUTOINCREMENT",                 "NUMERIC",                   0, 1, 0,     0},
    {"AUTOINCREMENT",                 "NUMERIC(6)",                1, 0, 0,     6},
    {"SQL_BINARY",                    "VARGRAPHIC",                0, 1, 0,     0},
    {"SQL_BINARY",                    "LONG VARGRAPHIC",           1, 0, 0,     0},
    {"SQL_CHAR",                      "CHAR",                      0, 1, 0,     0},
    {"SQL_CHAR",                      "CHAR(1)",                   1, 0, 0,     1},
    {"SQL_DATE",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "DOUBLE PRECISION",         -1, 0, 0,     0},
    {"SQL_INTEGER",                   "INTEGER",                  -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "LONG VARGRAPHIC",          -1, 0, 0,     0},
    {"SQL_LONGVARCHAR",               "LONG VARCHAR",             -1, 0, 0,     0},
    {"SQL_NUMERIC",                   "NUMERIC",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "REAL",                     -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "TIME",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "TIMESTAMP",                -1, 0, 0,     0},
    {"SQL_TINYINT",                   "SMALLINT",                  0, 0, 0,     0},
    {"SQL_TINYINT",                   "NUMERIC(3)",                1, 0, 0,     3},
    {"SQL_VARBINARY",                 "VARGRAPHIC",                0, 1, 0,     0},
    {"SQL_VARBINARY",                 "LONG VARGRAPHIC",           1, 0, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR",                   0, 1, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR(255)",              1, 0, 0,   255},
    {"SQL_BIGINT",                    "INTEGER",                  -1, 0, 0,     0},
    {"SQL_BLOB",                      "VARGRAPHIC",               -1, 1, 0,     0},
    {"SQL_BOOLEAN",                   "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_CLOB",                      "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_NCHAR",                     "GRAPHIC",                  -1, 1, 0,     0},
    {"SQL_NVARCHAR",                  "VARGRAPHIC",               -1, 1, 0,     0},
    {"SQL_NLONGVARCHAR",              "LONG VARGRAPHIC",          -1, 0, 0,     0},
    {"SQL_NCLOB",                     "LONG VARGRAPHIC",          -1, 0, 0,     0},
    {"SQL_DATALINK",                  "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "DECIMAL",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "FLOAT",                    -1, 1, 0,     0},
    INTERVAL_ROWS("DATE")
    {"SQL_REF",                       "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "DATE",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "DATE",                     -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow db2mvs6[] = {
    {"AUTOINCREMENT",                 "NUMERIC",                   0, 1, 0,     0},
    {"AUTOINCREMENT",                 "NUMERIC(6)",                1, 0, 0,     6},
    {"SQL_BINARY",                    "BLOB",                     -1, 1, 0,     0},
    {"SQL_CHAR",                      "CHAR",                      0, 1, 0,     0},
    {"SQL_CHAR",                      "CHAR(1)",                   1, 0, 0,     1},
    {"SQL_DATE",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "DOUBLE PRECISION",         -1, 0, 0,     0},
    {"SQL_INTEGER",                   "INTEGER",                  -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "BLOB",                     -1, 1, 0,     0},
    {"SQL_LONGVARCHAR",               "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_NUMERIC",                   "NUMERIC",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "REAL",                     -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "TIME",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "DATE",                     -1, 0, 0,     0},
    {"SQL_TINYINT",                   "SMALLINT",                  0, 0, 0,     0},
    {"SQL_TINYINT",                   "NUMERIC(3)",                1, 0, 0,     3},
    {"SQL_VARBINARY",                 "BLOB",                     -1, 1, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_BIGINT",                    "INTEGER",                  -1, 0, 0,     0},
    {"SQL_BLOB",                      "BLOB",                     -1, 1, 0,     0},
    {"SQL_BOOLEAN",                   "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_CLOB",                      "CLOB",                     -1, 1, 0,     0},
    {"SQL_NCHAR",                     "GRAPHIC",                  -1, 1, 0,     0},
    {"SQL_NVARCHAR",                  "VARGRAPHIC",                0, 1, 0,     0},
    {"SQL_NVARCHAR",                  "VARGRAPHIC(255)",           1, 0, 0,   255},
    {"SQL_NLONGVARCHAR",              "DBCLOB",                    0, 1, 0,     0},
    {"SQL_NLONGVARCHAR",              "LONG VARGRAPHIC",           1, 0, 0,     0},
    {"SQL_NCLOB",                     "DBCLOB",                    0, 1, 0,     0},
    {"SQL_NCLOB",                     "LONG VARGRAPHIC",           1, 0, 0,     0},
    {"SQL_DATALINK",                  "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "DECIMAL",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "FLOAT",                    -1, 1, 0,     0},
    INTERVAL_ROWS("DATE")
    {"SQL_REF",                       "ROWID",                    -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "DATE",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "DATE",                     -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow infmx7[] = {
    {"AUTOINCREMENT",                 "SERIAL",                   -1, 1, 0,     0},
    {"SQL_BINARY",                    "BYTE",                     -1, 0, 0,     0},
    {"SQL_CHAR",                      "CHAR",                      0, 1, 0,     0},
    {"SQL_CHAR",                      "CHAR(1)",                   1, 0, 0,     1},
    {"SQL_DATE",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "DOUBLE PRECISION",         -1, 0, 0,     0},
    {"SQL_INTEGER",                   "INTEGER",                  -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "BYTE",                     -1, 0, 0,     0},
    {"SQL_LONGVARCHAR",               "LVARCHAR",                 -1, 0, 0,     0},
    {"SQL_NUMERIC",                   "NUMERIC",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "REAL",                     -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "DATETIME HOUR TO SECOND",  -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "DATETIME YEAR TO SECOND",  -1, 0, 0,     0},
    {"SQL_TINYINT",                   "SMALLINT",                  0, 0, 0,     0},
    {"SQL_TINYINT",                   "DEC(3)",                    1, 0, 0,     3},
    {"SQL_VARBINARY",                 "BYTE",                     -1, 0, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR",                  -1, 1, 1,     0},
    {"SQL_BIGINT",                    "INTEGER",                  -1, 0, 0,     0},
    {"SQL_BLOB",                      "BYTE",                     -1, 0, 0,     0},
    {"SQL_BOOLEAN",                   "BOOLEAN",                  -1, 0, 0,     0},
    {"SQL_CLOB",                      "LVARCHAR",                 -1, 1, 0,     0},
    {"SQL_NCHAR",                     "NCHAR",                    -1, 1, 0,     0},
    {"SQL_NVARCHAR",                  "NVARCHAR",                  0, 1, 1,     0},
    {"SQL_NVARCHAR",                  "VARCHAR",                   1, 0, 0,     0},
    // LVARCHAR, as for SQL_LONGVARCHAR and SQL_NCLOB, so that such a column
    // gets a real datatype at every length.
    {"SQL_NLONGVARCHAR",              "LVARCHAR",                 -1, 0, 0,     0},
    {"SQL_NCLOB",                     "LVARCHAR",                 -1, 0, 0,     0},
    {"SQL_DATALINK",                  "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "DECIMAL",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "FLOAT",                    -1, 1, 0,     0},
    INTERVAL_ROWS("INTERVAL")
    {"SQL_REF",                       "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "DATETIME HOUR TO SECOND",  -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "DATETIME HOUR TO SECOND",  -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow interbas[] = {
    {"AUTOINCREMENT",                 "NUMERIC",                   0, 1, 0,     0},
    {"AUTOINCREMENT",                 "SMALLINT",                  1, 0, 0,     0},
    {"SQL_BINARY",                    "BLOB",                     -1, 0, 0,     0},
    {"SQL_CHAR",                      "CHAR",                     -1, 1, 0,     0},
    {"SQL_DATE",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "DOUBLE PRECISION",         -1, 0, 0,     0},
    {"SQL_INTEGER",                   "INTEGER",                  -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "BLOB",                     -1, 0, 0,     0},
    {"SQL_LONGVARCHAR",               "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_NUMERIC",                   "NUMERIC",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "REAL",                     -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "DATE",                     -1, 0, 0,     0},
    {"SQL_TINYINT",                   "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_VARBINARY",                 "BLOB",                     -1, 0, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR",                  -1, 1, 1,     0},
    {"SQL_BIGINT",                    "INTEGER",                  -1, 0, 0,     0},
    {"SQL_BLOB",                      "BLOB",                     -1, 0, 0,     0},
    {"SQL_BOOLEAN",                   "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_CLOB",                      "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_NCHAR",                     "NCHAR",                    -1, 1, 0,     0},
    {"SQL_NVARCHAR",                  "NCHAR VARYING",            -1, 1, 0,     0},
    {"SQL_NLONGVARCHAR",              "NCHAR VARYING",            -1, 1, 0,     0},
    {"SQL_NCLOB",                     "NCHAR VARYING",            -1, 1, 0,     0},
    {"SQL_DATALINK",                  "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "DECIMAL",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "FLOAT",                    -1, 0, 0,     0},
    INTERVAL_ROWS("DATE")
    {"SQL_REF",                       "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "DATE",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "DATE",                     -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow mysql322[] = {
    {"AUTOINCREMENT",                 "int",                      -1, 1, 0,     0},
    {"SQL_BINARY",                    "blob",                     -1, 0, 0,     0},
    {"SQL_CHAR",                      "char",                      0, 1, 0,     0},
    {"SQL_CHAR",                      "char(1)",                   1, 0, 0,     1},
    {"SQL_DATE",                      "date",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "double",                   -1, 0, 0,     0},
    {"SQL_INTEGER",                   "int",                      -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "longblob",                 -1, 0, 0,     0},
    {"SQL_LONGVARCHAR",               "longtext",                 -1, 0, 0,     0},
    {"SQL_NUMERIC",                   "numeric",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "real",                     -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "smallint",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "time",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "datetime",                 -1, 0, 0,     0},
    {"SQL_TINYINT",                   "tinyint",                  -1, 0, 0,     0},
    {"SQL_VARBINARY",                 "blob",                     -1, 0, 0,     0},
    {"SQL_VARCHAR",                   "varchar",                   0, 1, 0,     0},
    {"SQL_VARCHAR",                   "text",                      1, 0, 0,     0},
    {"SQL_BIGINT",                    "bigint",                   -1, 0, 0,     0},
    {"SQL_BLOB",                      "longblob",                 -1, 0, 0,     0},
    {"SQL_BOOLEAN",                   "tinyint",                  -1, 0, 0,     0},
    {"SQL_CLOB",                      "longtext",                 -1, 0, 0,     0},
    {"SQL_NCHAR",                     "national char",             0, 1, 0,     0},
    {"SQL_NCHAR",                     "national char(1)",          1, 0, 0,     0},
    {"SQL_NVARCHAR",                  "national varchar",          0, 1, 0,     0},
    {"SQL_NVARCHAR",                  "text",                      1, 0, 0,     0},
    {"SQL_NLONGVARCHAR",              "national varchar",          0, 1, 0,     0},
    {"SQL_NLONGVARCHAR",              "longtext",                  1, 0, 0,     0},
    {"SQL_NCLOB",                     "national varchar",          0, 1, 0,     0},
    {"SQL_NCLOB",                     "longtext",                  1, 0, 0,     0},
    {"SQL_DATALINK",                  "varchar",                  -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "decimal",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "float",                    -1, 1, 0,     0},
    INTERVAL_ROWS("timestamp")
    {"SQL_REF",                       "varchar",                  -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "timestamp",                -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "timestamp",                -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow nonstop[] = {
    {"AUTOINCREMENT",                 "NUMERIC",                   0, 1, 0,     0},
    {"AUTOINCREMENT",                 "NUMERIC(6)",                1, 0, 0,     6},
    {"SQL_BINARY",                    "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_CHAR",                      "CHAR",                     -1, 1, 0,     0},
    {"SQL_DATE",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "DOUBLE PRECISION",         -1, 0, 0,     0},
    {"SQL_INTEGER",                   "INTEGER",                  -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_LONGVARCHAR",               "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_NUMERIC",                   "NUMERIC",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "REAL",                     -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "TIME",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "DATETIME",                 -1, 0, 0,     0},
    {"SQL_TINYINT",                   "SMALLINT",                  0, 0, 0,     0},
    {"SQL_TINYINT",                   "DECIMAL(3)",                1, 0, 0,     3},
    {"SQL_VARBINARY",                 "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_BIGINT",                    "LARGEINT",                 -1, 0, 0,     0},
    {"SQL_BLOB",                      "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_BOOLEAN",                   "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_CLOB",                      "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_NCHAR",                     "CHAR",                     -1, 1, 0,     0},
    {"SQL_NVARCHAR",                  "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_NLONGVARCHAR",              "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_NCLOB",                     "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_DATALINK",                  "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "DECIMAL",                   0, 1, 1,     0},
    {"SQL_DECIMAL",                   "NUMERIC",                   1, 0, 0,     0},
    {"SQL_FLOAT",                     "FLOAT",                    -1, 1, 0,     0},
    INTERVAL_ROWS("INTERVAL")
    {"SQL_REF",                       "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "INTERVAL",                 -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "INTERVAL",                 -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow odbc3[] = {
    {"AUTOINCREMENT",                 "NUMERIC",                   0, 1, 0,     0},
    {"AUTOINCREMENT",                 "NUMERIC(6)",                1, 0, 0,     6},
    {"SQL_BINARY",                    "BINARY",                    0, 1, 0,     0},
    {"SQL_BINARY",                    "BINARY(255)",               1, 0, 0,   255},
    {"SQL_CHAR",                      "CHAR",                      0, 1, 0,     0},
    {"SQL_CHAR",                      "CHAR(1)",                   1, 0, 0,     1},
    {"SQL_DATE",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "DOUBLE PRECISION",         -1, 0, 0,     0},
    {"SQL_INTEGER",                   "INTEGER",                  -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "LONG VARBINARY",           -1, 0, 0,     0},
    {"SQL_LONGVARCHAR",               "LONG VARCHAR",             -1, 0, 0,     0},
    {"SQL_NUMERIC",                   "NUMERIC",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "REAL",                     -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "TIME",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "DATE",                     -1, 0, 0,     0},
    {"SQL_TINYINT",                   "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_VARBINARY",                 "BINARY",                    0, 1, 0,     0},
    {"SQL_VARBINARY",                 "LONG VARBINARY",            1, 0, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR",                   0, 1, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR(255)",              1, 0, 0,   255},
    {"SQL_BIGINT",                    "BIGINT",                   -1, 0, 0,     0},
    {"SQL_BLOB",                      "LONG VARBINARY",           -1, 1, 0,     0},
    {"SQL_BOOLEAN",                   "BIT",                      -1, 0, 0,     0},
    {"SQL_CLOB",                      "LONG VARCHAR",             -1, 1, 0,     0},
    {"SQL_NCHAR",                     "CHAR",                     -1, 1, 0,     0},
    {"SQL_NVARCHAR",                  "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_NLONGVARCHAR",              "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_NCLOB",                     "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_DATALINK",                  "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "DECIMAL",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "FLOAT",                    -1, 0, 0,     0},
    INTERVAL_ROWS("DATE")
    {"SQL_REF",                       "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "DATE",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "DATE",                     -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow oracle7[] = {
    {"AUTOINCREMENT",                 "NUMBER",                    0, 1, 0,     0},
    {"AUTOINCREMENT",                 "NUMBER(6)",                 1, 0, 0,     6},
    {"SQL_BINARY",                    "RAW",                       0, 1, 0,     0},
    {"SQL_BINARY",                    "RAW(255)",                  1, 0, 0,   255},
    {"SQL_CHAR",                      "CHAR",                      0, 1, 0,     0},
    {"SQL_CHAR",                      "CHAR(1)",                   1, 0, 0,     1},
    {"SQL_DATE",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "DOUBLE PRECISION",         -1, 0, 0,     0},
    {"SQL_INTEGER",                   "INTEGER",                  -1, 0, 0,    10},
    {"SQL_LONGVARBINARY",             "LONG RAW",                 -1, 0, 0,     0},
    {"SQL_LONGVARCHAR",               "LONG VARCHAR",             -1, 0, 0,     0},
    {"SQL_NUMERIC",                   "NUMBER",                   -1, 1, 1,     0},
    {"SQL_REAL",                      "REAL",                     -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "SMALLINT",                 -1, 0, 0,     5},
    {"SQL_TIME",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "DATE",                     -1, 0, 0,     0},
    {"SQL_TINYINT",                   "NUMBER(3)",                -1, 0, 0,     3},
    {"SQL_VARBINARY",                 "RAW",                       0, 1, 0,     0},
    {"SQL_VARBINARY",                 "RAW(255)",                  1, 0, 0,   255},
    {"SQL_VARCHAR",                   "VARCHAR2",                  0, 1, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR2(255)",             1, 0, 0,   255},
    {"SQL_BIGINT",                    "NUMBER(19)",               -1, 0, 0,     0},
    {"SQL_BLOB",                      "LONG RAW",                 -1, 0, 0,     0},
    {"SQL_BOOLEAN",                   "NUMBER(1)",                -1, 0, 0,     1},
    {"SQL_CLOB",                      "CLOB",                     -1, 0, 0,     0},
    {"SQL_NCHAR",                     "CHAR",                      0, 1, 0,     0},
    {"SQL_NCHAR",                     "CHAR(1)",                   1, 0, 0,     1},
    {"SQL_NVARCHAR",                  "NVARCHAR2",                 0, 1, 0,     0},
    {"SQL_NVARCHAR",                  "NVARCHAR2(255)",            1, 0, 0,   255},
    {"SQL_NLONGVARCHAR",              "LONG",                     -1, 0, 0,     0},
    {"SQL_NCLOB",                     "LONG VARCHAR",             -1, 0, 0,     0},
    {"SQL_DATALINK",                  "VARCHAR(255)",             -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "DECIMAL",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "FLOAT",                    -1, 1, 0,     0},
    INTERVAL_ROWS("DATE")
    {"SQL_REF",                       "VARCHAR(255)",             -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "DATE",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "DATE",                     -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow oracle8[] = {
    {"AUTOINCREMENT",                 "NUMBER",                    0, 1, 0,     0},
    {"AUTOINCREMENT",                 "NUMBER(6)",                 1, 0, 0,     6},
    {"SQL_BINARY",                    "RAW",                       0, 1, 0,     0},
    {"SQL_BINARY",                    "RAW(255)",                  1, 0, 0,   255},
    {"SQL_CHAR",                      "CHAR",                      0, 1, 0,     0},
    {"SQL_CHAR",                      "CHAR(1)",                   1, 0, 0,     1},
    {"SQL_DATE",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "DOUBLE PRECISION",         -1, 0, 0,     0},
    {"SQL_INTEGER",                   "INTEGER",                  -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "LONG RAW",                 -1, 0, 0,     0},
    {"SQL_LONGVARCHAR",               "LONG VARCHAR",             -1, 0, 0,     0},
    {"SQL_NUMERIC",                   "NUMBER",                   -1, 1, 1,     0},
    {"SQL_REAL",                      "REAL",                     -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "DATE",                     -1, 0, 0,     0},
    {"SQL_TINYINT",                   "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_VARBINARY",                 "RAW",                       0, 1, 0,     0},
    {"SQL_VARBINARY",                 "RAW(255)",                  1, 0, 0,   255},
    {"SQL_VARCHAR",                   "VARCHAR2",                  0, 1, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR2(255)",             1, 0, 0,   255},
    {"SQL_BIGINT",                    "NUMBER(19)",               -1, 0, 0,     0},
    {"SQL_BLOB",                      "BLOB",                     -1, 0, 0,     0},
    {"SQL_BOOLEAN",                   "NUMBER(1)",                -1, 0, 0,     1},
    {"SQL_CLOB",                      "CLOB",                     -1, 0, 0,     0},
    {"SQL_NCHAR",                     "NCHAR",                     0, 1, 0,     0},
    {"SQL_NCHAR",                     "NCHAR(1)",                  1, 0, 0,     1},
    {"SQL_NVARCHAR",                  "NVARCHAR2",                 0, 1, 0,     0},
    {"SQL_NVARCHAR",                  "NVARCHAR2(255)",            1, 0, 0,   255},
    {"SQL_NLONGVARCHAR",              "LONG",                     -1, 0, 0,     0},
    {"SQL_NCLOB",                     "NCLOB",                    -1, 0, 0,     0},
    {"SQL_DATALINK",                  "VARCHAR(255)",             -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "DECIMAL",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "FLOAT",                    -1, 1, 0,     0},
    INTERVAL_ROWS("DATE")
    {"SQL_REF",                       "ROWID",                    -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "DATE",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "DATE",                     -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow oracl8i2[] = {
    {"AUTOINCREMENT",                 "NUMBER",                    0, 1, 0,     0},
    {"AUTOINCREMENT",                 "NUMBER(6)",                 1, 0, 0,     6},
    {"SQL_BINARY",                    "RAW",                       0, 1, 0,     0},
    {"SQL_BINARY",                    "RAW(255)",                  1, 0, 0,   255},
    {"SQL_CHAR",                      "CHAR",                      0, 1, 0,     0},
    {"SQL_CHAR",                      "CHAR(1)",                   1, 0, 0,     1},
    {"SQL_DATE",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "DOUBLE PRECISION",         -1, 0, 0,     0},
    {"SQL_INTEGER",                   "INTEGER",                  -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "LONG RAW",                 -1, 0, 0,     0},
    {"SQL_LONGVARCHAR",               "LONG VARCHAR",             -1, 0, 0,     0},
    {"SQL_NUMERIC",                   "NUMBER",                   -1, 1, 1,     0},
    {"SQL_REAL",                      "REAL",                     -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "DATE",                     -1, 0, 0,     0},
    {"SQL_TINYINT",                   "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_VARBINARY",                 "RAW",                       0, 1, 0,     0},
    {"SQL_VARBINARY",                 "RAW(255)",                  1, 0, 0,   255},
    {"SQL_VARCHAR",                   "VARCHAR2",                  0, 1, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR2(255)",             1, 0, 0,   255},
    {"SQL_BIGINT",                    "NUMBER(19)",               -1, 0, 0,     0},
    {"SQL_BLOB",                      "BLOB",                     -1, 0, 0,     0},
    {"SQL_BOOLEAN",                   "BOOLEAN",                  -1, 0, 0,     1},
    {"SQL_CLOB",                      "CLOB",                     -1, 0, 0,     0},
    {"SQL_NCHAR",                     "NCHAR",                     0, 1, 0,     0},
    {"SQL_NCHAR",                     "NCHAR(1)",                  1, 0, 0,     1},
    {"SQL_NVARCHAR",                  "NVARCHAR2",                 0, 1, 0,     0},
    {"SQL_NVARCHAR",                  "NVARCHAR2(255)",            1, 0, 0,   255},
    {"SQL_NLONGVARCHAR",              "LONG",                     -1, 0, 0,     0},
    {"SQL_NCLOB",                     "NCLOB",                    -1, 0, 0,     0},
    {"SQL_DATALINK",                  "VARCHAR(255)",             -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "DECIMAL",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "FLOAT",                    -1, 1, 0,     0},
    INTERVAL_ROWS("DATE")
    {"SQL_REF",                       "ROWID",                    -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "DATE",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "DATE",                     -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow pgsql7[] = {
    {"AUTOINCREMENT",                 "SERIAL",                   -1, 0, 0,     0},
    {"SQL_BINARY",                    "CHAR",                      0, 1, 0,     0},
    {"SQL_BINARY",                    "CHAR(254)",                 1, 0, 0,   254},
    {"SQL_CHAR",                      "CHAR",                     -1, 1, 0,     0},
    {"SQL_DATE",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "FLOAT8",                   -1, 0, 0,     8},
    {"SQL_INTEGER",                   "INT4",                     -1, 0, 0,     4},
    {"SQL_LONGVARBINARY",             "VARCHAR",                   0, 1, 0,     0},
    {"SQL_LONGVARBINARY",             "VARCHAR(254)",              1, 0, 0,   254},
    {"SQL_LONGVARCHAR",               "VARCHAR",                   0, 1, 0,     0},
    {"SQL_LONGVARCHAR",               "VARCHAR(254)",              1, 0, 0,   254},
    {"SQL_NUMERIC",                   "NUMERIC",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "FLOAT4",                   -1, 1, 0,     8},
    {"SQL_SMALLINT",                  "INT2",                     -1, 0, 0,     2},
    {"SQL_TIME",                      "TIME",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "DATE",                     -1, 0, 0,     0},
    {"SQL_TINYINT",                   "INT2",                     -1, 0, 0,     2},
    {"SQL_VARBINARY",                 "VARCHAR",                   0, 1, 0,     0},
    {"SQL_VARBINARY",                 "VARCHAR(254)",              1, 0, 0,   254},
    {"SQL_VARCHAR",                   "VARCHAR",                   0, 1, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR(254)",              1, 0, 0,   254},
    {"SQL_BIGINT",                    "INT8",                     -1, 0, 0,     0},
    {"SQL_BLOB",                      "VARCHAR",                   0, 1, 0,     0},
    {"SQL_BLOB",                      "VARCHAR(254)",              1, 0, 0,   254},
    {"SQL_BOOLEAN",                   "BOOL",                     -1, 0, 0,     1},
    {"SQL_CLOB",                      "VARCHAR",                   0, 1, 0,     0},
    {"SQL_CLOB",                      "VARCHAR(254)",              1, 0, 0,   254},
    {"SQL_NCHAR",                     "CHAR",                      0, 1, 0,     0},
    {"SQL_NCHAR",                     "CHAR(1)",                   1, 0, 0,     1},
    {"SQL_NVARCHAR",                  "VARCHAR",                   0, 1, 0,     0},
    {"SQL_NVARCHAR",                  "VARCHAR(254)",              1, 0, 0,   254},
    {"SQL_NLONGVARCHAR",              "VARCHAR",                   0, 1, 0,     0},
    {"SQL_NLONGVARCHAR",              "VARCHAR(254)",              1, 0, 0,   254},
    {"SQL_NCLOB",                     "VARCHAR",                   0, 1, 0,     0},
    {"SQL_NCLOB",                     "VARCHAR(254)",              1, 0, 0,   254},
    {"SQL_DATALINK",                  "VARCHAR(254)",             -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "DECIMAL",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "FLOAT8",                   -1, 0, 0,     0},
    INTERVAL_ROWS("DATE")
    {"SQL_REF",                       "VARCHAR(255)",             -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "TIME WITH TIME ZONE",      -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "TIMESTAMP WITH TIME ZONE", -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow sqlany55[] = {
    {"AUTOINCREMENT",                 "integer",                  -1, 0, 0,     0},
    {"SQL_BINARY",                    "binary",                   -1, 1, 0,     0},
    {"SQL_CHAR",                      "char",                     -1, 1, 0,     0},
    {"SQL_DATE",                      "date",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "double",                   -1, 0, 0,     0},
    {"SQL_INTEGER",                   "integer",                  -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "long binary",              -1, 1, 0,     0},
    {"SQL_LONGVARCHAR",               "long varchar",             -1, 1, 0,     0},
    {"SQL_NUMERIC",                   "numeric",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "float",                    -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "smallint",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "time",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "timestamp",                -1, 0, 0,     0},
    {"SQL_TINYINT",                   "smallint",                 -1, 0, 0,     0},
    {"SQL_VARBINARY",                 "binary",                   -1, 1, 0,     0},
    {"SQL_VARCHAR",                   "varchar",                  -1, 1, 0,     0},
    {"SQL_BIGINT",                    "integer",                  -1, 0, 0,     0},
    {"SQL_BLOB",                      "long binary",              -1, 1, 0,     0},
    {"SQL_BOOLEAN",                   "smallint",                 -1, 0, 0,     0},
    {"SQL_CLOB",                      "long varchar",             -1, 0, 0,     0},
    {"SQL_NCHAR",                     "char",                     -1, 1, 0,     0},
    {"SQL_NVARCHAR",                  "varchar",                  -1, 1, 0,     0},
    {"SQL_NLONGVARCHAR",              "long varchar",             -1, 1, 0,     0},
    {"SQL_NCLOB",                     "long varchar",             -1, 1, 0,     0},
    {"SQL_DATALINK",                  "varchar",                  -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "decimal",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "float",                    -1, 1, 0,     0},
    INTERVAL_ROWS("timestamp")
    {"SQL_REF",                       "varchar",                  -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "timestamp",                -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "timestamp",                -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow sqlany6[] = {
    {"AUTOINCREMENT",                 "integer",                  -1, 0, 0,     0},
    {"SQL_BINARY",                    "binary",                   -1, 1, 0,     0},
    {"SQL_CHAR",                      "char",                     -1, 1, 0,     0},
    {"SQL_DATE",                      "date",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "double",                   -1, 0, 0,     0},
    {"SQL_INTEGER",                   "integer",                  -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "long binary",              -1, 1, 0,     0},
    {"SQL_LONGVARCHAR",               "long varchar",             -1, 1, 0,     0},
    {"SQL_NUMERIC",                   "numeric",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "real",                     -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "smallint",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "time",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "timestamp",                -1, 0, 0,     0},
    {"SQL_TINYINT",                   "smallint",                 -1, 0, 0,     0},
    {"SQL_VARBINARY",                 "binary",                   -1, 1, 0,     0},
    {"SQL_VARCHAR",                   "varchar",                  -1, 1, 0,     0},
    {"SQL_BIGINT",                    "bigint",                   -1, 0, 0,     0},
    {"SQL_BLOB",                      "long binary",              -1, 1, 0,     0},
    {"SQL_BOOLEAN",                   "bit",                      -1, 0, 0,     0},
    {"SQL_CLOB",                      "long varchar",             -1, 0, 0,     0},
    {"SQL_NCHAR",                     "char",                     -1, 1, 0,     0},
    {"SQL_NVARCHAR",                  "varchar",                  -1, 1, 0,     0},
    {"SQL_NLONGVARCHAR",              "long varchar",             -1, 1, 0,     0},
    {"SQL_NCLOB",                     "long varchar",             -1, 1, 0,     0},
    {"SQL_DATALINK",                  "varchar",                  -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "decimal",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "float",                    -1, 1, 0,     0},
    INTERVAL_ROWS("timestamp")
    {"SQL_REF",                       "varchar",                  -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "timestamp",                -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "timestamp",                -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow sqlserv6[] = {
    {"AUTOINCREMENT",                 "numeric",                  -1, 1, 0,     0},
    {"SQL_BINARY",                    "binary",                    0, 1, 0,     0},
    {"SQL_BINARY",                    "binary(255)",               1, 0, 0,   255},
    {"SQL_CHAR",                      "char",                      0, 1, 0,     0},
    {"SQL_CHAR",                      "char(1)",                   1, 0, 0,     1},
    {"SQL_DATE",                      "datetime",                 -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "float",                    -1, 1, 0,     0},
    {"SQL_INTEGER",                   "int",                      -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "varbinary",                 0, 1, 0,     0},
    {"SQL_LONGVARBINARY",             "varbinary(255)",            1, 0, 0,   255},
    {"SQL_LONGVARCHAR",               "text",                     -1, 1, 0,     0},
    {"SQL_NUMERIC",                   "numeric",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "real",                     -1, 0, 0,     0},
    {"SQL_SMALLINT",                  "smallint",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "datetime",                 -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "datetime",                 -1, 0, 0,     0},
    {"SQL_TINYINT",                   "tinyint",                  -1, 0, 0,     0},
    {"SQL_VARBINARY",                 "binary",                    0, 1, 0,     0},
    {"SQL_VARBINARY",                 "binary(255)",               1, 0, 0,   255},
    {"SQL_VARCHAR",                   "varchar",                   0, 1, 0,     0},
    {"SQL_VARCHAR",                   "varchar(255)",              1, 0, 0,   255},
    {"SQL_BIGINT",                    "int",                      -1, 0, 0,     0},
    {"SQL_BLOB",                      "image",                    -1, 1, 0,     0},
    {"SQL_BOOLEAN",                   "bit",                      -1, 0, 0,     0},
    {"SQL_CLOB",                      "text",                     -1, 0, 0,     0},
    {"SQL_NCHAR",                     "char",                      0, 1, 0,     0},
    {"SQL_NCHAR",                     "char(1)",                   1, 0, 0,     1},
    {"SQL_NVARCHAR",                  "varchar",                   0, 1, 0,     0},
    {"SQL_NVARCHAR",                  "varchar(255)",              1, 0, 0,   255},
    {"SQL_NLONGVARCHAR",              "text",                     -1, 1, 0,     0},
    {"SQL_NCLOB",                     "text",                     -1, 1, 0,     0},
    {"SQL_DATALINK",                  "varchar(255)",             -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "decimal",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "float",                    -1, 1, 0,     0},
    INTERVAL_ROWS("datetime")
    {"SQL_REF",                       "varchar(255)",             -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "datetime",                 -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "datetime",                 -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow sqlserv7[] = {
    {"AUTOINCREMENT",                 "numeric",                  -1, 1, 0,     0},
    {"SQL_BINARY",                    "binary",                    0, 1, 0,     0},
    {"SQL_BINARY",                    "binary(255)",               1, 0, 0,   255},
    {"SQL_CHAR",                      "char",                      0, 1, 0,     0},
    {"SQL_CHAR",                      "char(1)",                   1, 0, 0,     1},
    {"SQL_DATE",                      "datetime",                 -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "float",                    -1, 1, 0,     0},
    {"SQL_INTEGER",                   "int",                      -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "varbinary",                 0, 1, 0,     0},
    {"SQL_LONGVARBINARY",             "varbinary(255)",            1, 0, 0,   255},
    {"SQL_LONGVARCHAR",               "text",                     -1, 1, 0,     0},
    {"SQL_NUMERIC",                   "numeric",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "real",                     -1, 0, 0,     0},
    {"SQL_SMALLINT",                  "smallint",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "datetime",                 -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "datetime",                 -1, 0, 0,     0},
    {"SQL_TINYINT",                   "tinyint",                  -1, 0, 0,     0},
    {"SQL_VARBINARY",                 "binary",                    0, 1, 0,     0},
    {"SQL_VARBINARY",                 "binary(255)",               1, 0, 0,   255},
    {"SQL_VARCHAR",                   "varchar",                   0, 1, 0,     0},
    {"SQL_VARCHAR",                   "varchar(255)",              1, 0, 0,   255},
    {"SQL_BIGINT",                    "int",                      -1, 0, 0,     0},
    {"SQL_BLOB",                      "image",                    -1, 1, 0,     0},
    {"SQL_BOOLEAN",                   "bit",                      -1, 0, 0,     0},
    {"SQL_CLOB",                      "text",                     -1, 0, 0,     0},
    {"SQL_NCHAR",                     "nchar",                     0, 1, 0,     0},
    {"SQL_NCHAR",                     "nchar(1)",                  1, 0, 0,     1},
    {"SQL_NVARCHAR",                  "nvarchar",                  0, 1, 0,     0},
    {"SQL_NVARCHAR",                  "nvarchar(255)",             1, 0, 0,   255},
    {"SQL_NLONGVARCHAR",              "ntext",                    -1, 1, 0,     0},
    {"SQL_NCLOB",                     "ntext",                    -1, 1, 0,     0},
    {"SQL_DATALINK",                  "varchar(255)",             -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "decimal",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "float",                    -1, 1, 0,     0},
    INTERVAL_ROWS("datetime")
    {"SQL_REF",                       "varchar(255)",             -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "datetime",                 -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "datetime",                 -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow sqlsrv2k[] = {
    {"AUTOINCREMENT",                 "numeric",                  -1, 1, 0,     0},
    {"SQL_BINARY",                    "binary",                    0, 1, 0,     0},
    {"SQL_BINARY",                    "binary(255)",               1, 0, 0,   255},
    {"SQL_CHAR",                      "char",                      0, 1, 0,     0},
    {"SQL_CHAR",                      "char(1)",                   1, 0, 0,     1},
    {"SQL_DATE",                      "datetime",                 -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "float",                    -1, 1, 0,     0},
    {"SQL_INTEGER",                   "int",                      -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "varbinary",                 0, 1, 0,     0},
    {"SQL_LONGVARBINARY",             "varbinary(255)",            1, 0, 0,   255},
    {"SQL_LONGVARCHAR",               "text",                     -1, 1, 0,     0},
    {"SQL_NUMERIC",                   "numeric",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "real",                     -1, 0, 0,     0},
    {"SQL_SMALLINT",                  "smallint",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "datetime",                 -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "datetime",                 -1, 0, 0,     0},
    {"SQL_TINYINT",                   "tinyint",                  -1, 0, 0,     0},
    {"SQL_VARBINARY",                 "binary",                    0, 1, 0,     0},
    {"SQL_VARBINARY",                 "binary(255)",               1, 0, 0,   255},
    {"SQL_VARCHAR",                   "varchar",                   0, 1, 0,     0},
    {"SQL_VARCHAR",                   "varchar(255)",              1, 0, 0,   255},
    {"SQL_BIGINT",                    "bigint",                   -1, 0, 0,     0},
    {"SQL_BLOB",                      "image",                    -1, 1, 0,     0},
    {"SQL_BOOLEAN",                   "bit",                      -1, 0, 0,     0},
    {"SQL_CLOB",                      "text",                     -1, 0, 0,     0},
    {"SQL_NCHAR",                     "nchar",                     0, 1, 0,     0},
    {"SQL_NCHAR",                     "nchar(1)",                  1, 0, 0,     1},
    {"SQL_NVARCHAR",                  "nvarchar",                  0, 1, 0,     0},
    {"SQL_NVARCHAR",                  "nvarchar(255)",             1, 0, 0,   255},
    {"SQL_NLONGVARCHAR",              "ntext",                    -1, 1, 0,     0},
    {"SQL_NCLOB",                     "ntext",                    -1, 1, 0,     0},
    {"SQL_DATALINK",                  "varchar(255)",             -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "decimal",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "float",                    -1, 1, 0,     0},
    INTERVAL_ROWS("datetime")
    {"SQL_REF",                       "varchar(255)",             -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "datetime",                 -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "datetime",                 -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow syase11x[] = {
    {"AUTOINCREMENT",                 "numeric",                  -1, 1, 0,     0},
    {"SQL_BINARY",                    "binary",                    0, 1, 0,     0},
    {"SQL_BINARY",                    "binary(255)",               1, 0, 0,   255},
    {"SQL_CHAR",                      "char",                      0, 1, 0,     0},
    {"SQL_CHAR",                      "char(1)",                   1, 0, 0,     1},
    {"SQL_DATE",                      "datetime",                 -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "double precision",         -1, 0, 0,     0},
    {"SQL_INTEGER",                   "int",                      -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "image",                    -1, 0, 0,     0},
    {"SQL_LONGVARCHAR",               "text",                     -1, 0, 0,     0},
    {"SQL_NUMERIC",                   "numeric",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "real",                     -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "smallint",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "datetime",                 -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "datetime",                 -1, 0, 0,     0},
    {"SQL_TINYINT",                   "tinyint",                  -1, 0, 0,     0},
    {"SQL_VARBINARY",                 "varbinary",                 0, 1, 0,     0},
    {"SQL_VARBINARY",                 "varbinary(255)",            1, 0, 0,   255},
    {"SQL_VARCHAR",                   "varchar",                   0, 1, 0,     0},
    {"SQL_VARCHAR",                   "varchar(255)",              1, 0, 0,   255},
    {"SQL_BIGINT",                    "int",                      -1, 0, 0,     0},
    {"SQL_BLOB",                      "image",                    -1, 1, 0,     0},
    {"SQL_BOOLEAN",                   "bit",                      -1, 0, 0,     0},
    {"SQL_CLOB",                      "text",                     -1, 0, 0,     0},
    {"SQL_NCHAR",                     "nchar",                     0, 1, 0,     0},
    {"SQL_NCHAR",                     "nchar(1)",                  1, 0, 0,     1},
    {"SQL_NVARCHAR",                  "nvarchar",                  0, 1, 0,     0},
    {"SQL_NVARCHAR",                  "nvarchar(255)",             1, 0, 0,   255},
    {"SQL_NLONGVARCHAR",              "text",                     -1, 1, 0,     0},
    {"SQL_NCLOB",                     "text",                     -1, 1, 0,     0},
    {"SQL_DATALINK",                  "varchar(255)",             -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "decimal",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "float",                    -1, 1, 0,     0},
    INTERVAL_ROWS("datetime")
    {"SQL_REF",                       "varchar(255)",             -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "datetime",                 -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "datetime",                 -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow sybiq12[] = {
    {"AUTOINCREMENT",                 "INTEGER",                  -1, 0, 0,     0},
    {"SQL_BINARY",                    "BINARY",                   -1, 1, 0,     0},
    {"SQL_CHAR",                      "CHAR",                     -1, 1, 0,     0},
    {"SQL_DATE",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "DOUBLE",                   -1, 0, 0,     0},
    {"SQL_INTEGER",                   "INTEGER",                  -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "VARBINARY",                -1, 1, 0,     0},
    {"SQL_LONGVARCHAR",               "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_NUMERIC",                   "NUMERIC",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "REAL",                     -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "TIME",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "TIMESTAMP",                -1, 0, 0,     0},
    {"SQL_TINYINT",                   "TINYINT",                  -1, 0, 0,     0},
    {"SQL_VARBINARY",                 "VARBINARY",                -1, 1, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_BIGINT",                    "BIGINT",                   -1, 0, 0,     0},
    {"SQL_BLOB",                      "BINARY",                   -1, 1, 0,     0},
    {"SQL_BOOLEAN",                   "BIT",                      -1, 0, 0,     0},
    {"SQL_CLOB",                      "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_NCHAR",                     "CHAR",                     -1, 1, 0,     0},
    {"SQL_NVARCHAR",                  "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_NLONGVARCHAR",              "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_NCLOB",                     "VARCHAR",                  -1, 1, 0,     0},
    {"SQL_DATALINK",                  "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "DECIMAL",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "FLOAT",                    -1, 1, 0,     0},
    INTERVAL_ROWS("TIMESTAMP")
    {"SQL_REF",                       "VARCHAR",                  -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "TIMESTAMP",                -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "TIMESTAMP",                -1, 0, 0,     0},
    END_ROW
};

const DatatypeMapRow teradata[] = {
    {"AUTOINCREMENT",                 "DECIMAL",                   0, 1, 0,     0},
    {"AUTOINCREMENT",                 "DECIMAL(6)",                1, 0, 0,     6},
    {"SQL_BINARY",                    "VARBYTE",                   0, 1, 0,     0},
    {"SQL_BINARY",                    "VARBYTE(32000)",            1, 0, 0, 32000},
    {"SQL_CHAR",                      "CHAR",                      0, 1, 0,     0},
    {"SQL_CHAR",                      "CHAR(1)",                   1, 0, 0,     1},
    {"SQL_DATE",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_DOUBLE",                    "FLOAT",                    -1, 0, 0,     0},
    {"SQL_INTEGER",                   "INTEGER",                  -1, 0, 0,     0},
    {"SQL_LONGVARBINARY",             "VARBYTE",                   0, 1, 0,     0},
    {"SQL_LONGVARBINARY",             "VARBYTE(32000)",            1, 0, 0, 32000},
    {"SQL_LONGVARCHAR",               "LONG VARCHAR",             -1, 0, 0,     0},
    {"SQL_NUMERIC",                   "DECIMAL",                  -1, 1, 1,     0},
    {"SQL_REAL",                      "FLOAT",                    -1, 1, 0,     0},
    {"SQL_SMALLINT",                  "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_TIME",                      "DATE",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP",                 "DATE",                     -1, 0, 0,     0},
    {"SQL_TINYINT",                   "BYTEINT",                  -1, 0, 0,     0},
    {"SQL_VARBINARY",                 "VARBYTE",                   0, 1, 0,     0},
    {"SQL_VARBINARY",                 "VARBYTE(32000)",            1, 0, 0, 32000},
    {"SQL_VARCHAR",                   "VARCHAR",                   0, 1, 0,     0},
    {"SQL_VARCHAR",                   "VARCHAR(255)",              1, 0, 0,   255},
    {"SQL_BIGINT",                    "INTEGER",                  -1, 0, 0,     0},
    {"SQL_BLOB",                      "VARBYTE",                   0, 1, 0,     0},
    {"SQL_BLOB",                      "VARBYTE(32000)",            1, 0, 0, 32000},
    {"SQL_BOOLEAN",                   "SMALLINT",                 -1, 0, 0,     0},
    {"SQL_CLOB",                      "LONG VARCHAR",             -1, 1, 0,     0},
    {"SQL_NCHAR",                     "CHAR",                      0, 1, 0,     0},
    {"SQL_NCHAR",                     "CHAR(1)",                   1, 0, 0,     1},
    {"SQL_NVARCHAR",                  "VARCHAR",                   0, 1, 0,     0},
    {"SQL_NVARCHAR",                  "VARCHAR(255)",              1, 0, 0,   255},
    {"SQL_NLONGVARCHAR",              "LONG VARCHAR",             -1, 1, 0,     0},
    {"SQL_NCLOB",                     "LONG VARCHAR",             -1, 1, 0,     0},
    {"SQL_DATALINK",                  "VARCHAR(255)",             -1, 0, 0,     0},
    {"SQL_DECIMAL",                   "DECIMAL",                  -1, 1, 1,     0},
    {"SQL_FLOAT",                     "FLOAT",                    -1, 0, 0,     0},
    INTERVAL_ROWS("DATE")
    {"SQL_REF",                       "VARCHAR(255)",             -1, 0, 0,     0},
    {"SQL_TIME_WITH_TIME_ZONE",       "DATE",                     -1, 0, 0,     0},
    {"SQL_TIMESTAMP_WITH_TIME_ZONE",  "DATE",                     -1, 0, 0,     0},
    END_ROW
};
// clang-format on

}  // namespace datatype_tables

#undef INTERVAL_ROWS
#undef END_ROW

const DatatypeMapRow* findDatatypeRow(const DatatypeMapRow* table, const char* modelDatatype,
                                      int modelDatatypeLength, int length) {
    if (table == nullptr || modelDatatype == nullptr || modelDatatypeLength < 0)
        return nullptr;
    const auto wanted = static_cast<std::size_t>(modelDatatypeLength);
    for (const DatatypeMapRow* row = table; row->modelDatatype != nullptr; ++row) {
        if (std::strlen(row->modelDatatype) != wanted ||
            std::memcmp(row->modelDatatype, modelDatatype, wanted) != 0) {
            continue;
        }
        // The first row of a two-row name serves non-zero lengths, the second
        // the zero length; a one-row name serves every length.
        const bool admitted = row->lengthCondition == -1 ||
                              (row->lengthCondition == 0 && length != 0) ||
                              (row->lengthCondition == 1 && length == 0);
        if (admitted)
            return row;
    }
    return nullptr;
}

namespace {

// FNV-1a over the bytes of a datatype name (a few bytes long).
std::size_t nameHash(std::string_view name) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : name) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}

}  // namespace

std::uint32_t& DatatypeIndex::slotOf(std::string_view name) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = nameHash(name) & mask;
    while (slots_[slot] != 0 && entries_[slots_[slot] - 1].name != name)
        slot = (slot + 1) & mask;
    return slots_[slot];
}

void DatatypeIndex::build(const DatatypeMapRow* table) {
    table_ = table;
    entries_.clear();
    std::size_t rows = 0;
    while (table && table[rows].modelDatatype != nullptr)
        ++rows;
    entries_.reserve(rows);
    // At most half the slots in use, so that a look-up mostly compares one
    // name: every column asks for its datatype's row.
    std::size_t size = 16;
    while (size < 2 * rows)
        size *= 2;
    slots_.assign(size, 0);
    for (std::size_t i = 0; i < rows; ++i) {
        const DatatypeMapRow* row = table + i;
        std::uint32_t& slot = slotOf(row->modelDatatype);
        if (slot == 0) {
            entries_.push_back(Entry{row->modelDatatype});
            slot = static_cast<std::uint32_t>(entries_.size());
        }
        Entry& entry = entries_[slot - 1];
        // Rows are taken in table order: the first that admits each kind of length.
        if (!entry.zeroLength && (row->lengthCondition == -1 || row->lengthCondition == 1))
            entry.zeroLength = row;
        if (!entry.otherLength && (row->lengthCondition == -1 || row->lengthCondition == 0))
            entry.otherLength = row;
    }
}

const DatatypeMapRow* DatatypeIndex::find(const DatatypeMapRow* table,
                                          std::string_view modelDatatype, int length) {
    if (table != table_ || slots_.empty())
        build(table);
    const std::uint32_t slot = slotOf(modelDatatype);
    if (slot == 0)
        return nullptr;
    const Entry& entry = entries_[slot - 1];
    return length == 0 ? entry.zeroLength : entry.otherLength;
}
