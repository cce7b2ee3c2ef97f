#pragma once
// The model type of a SQLite column, from its declared type.
//
// SQLite accepts any text as a declared type and gives the column an affinity
// by its own rules, which the mapping follows. The table kSqliteTypes in
// SqliteTypes.cpp holds the mapping, one row per line, first match winning:
// - exact names (ignoring ASCII case, runs of blanks counting as one) that
//   carry the declared type whole: INT, INTEGER, MEDIUMINT, INT4 give
//   SQL_INTEGER; BIGINT and INT8 SQL_BIGINT; SMALLINT and INT2 SQL_SMALLINT;
//   TINYINT SQL_TINYINT; VARCHAR, VARCHAR2, CHARACTER VARYING and the like
//   SQL_VARCHAR(n); NVARCHAR, NATIONAL VARCHAR and the like SQL_NVARCHAR(n);
//   CHAR, CHARACTER SQL_CHAR(n); NCHAR, NATIONAL CHAR(ACTER), NATIVE
//   CHARACTER SQL_NCHAR(n); TEXT and CLOB SQL_LONGVARCHAR; BLOB and no type
//   SQL_LONGVARBINARY; REAL, DOUBLE, DOUBLE PRECISION SQL_DOUBLE (SQLite's
//   REAL is 8 bytes); FLOAT SQL_FLOAT(n); BOOLEAN and BOOL SQL_BOOLEAN; DATE,
//   TIME their SQL_ names; DATETIME and TIMESTAMP SQL_TIMESTAMP; NUMERIC,
//   NUMBER SQL_NUMERIC(p,s); DECIMAL SQL_DECIMAL(p,s); BINARY(n),
//   VARBINARY(n) their SQL_ names;
// - then SQLite's affinity rules in SQLite's order for any other name: a
//   name containing INT is an integer (SQL_BIGINT with BIG, SQL_SMALLINT with
//   SMALL, SQL_TINYINT with TINY, else SQL_INTEGER); containing CHAR, CLOB or
//   TEXT a text (SQL_NVARCHAR(n) for NVARCHAR, SQL_VARCHAR(n) for VARCHAR,
//   SQL_NCHAR(n) for NCHAR, SQL_CHAR(n) for other CHAR, SQL_LONGVARCHAR for
//   CLOB and TEXT); containing BLOB SQL_LONGVARBINARY; containing REAL or
//   DOUB SQL_DOUBLE, FLOA SQL_FLOAT(n);
// - then the names of SQLite's NUMERIC affinity that have a model type of
//   their own: BOOL SQL_BOOLEAN; TIMESTAMP or DATETIME SQL_TIMESTAMP (with
//   ZONE SQL_TIMESTAMP_WITH_TIME_ZONE); DATE SQL_DATE; TIME SQL_TIME (with
//   ZONE SQL_TIME_WITH_TIME_ZONE); DEC SQL_DECIMAL(p,s); NUM
//   SQL_NUMERIC(p,s); VARBINARY, BINARY their SQL_ names with the length;
// - and any other name is SQL_NUMERIC, SQLite's NUMERIC affinity.
// A type found by an exact name loses nothing (numbers the model type has no
// place for, such as INT(11), are display widths). A type found by a part of
// its name ("INTEGER UNSIGNED", "UNSIGNED BIG INT", "JSON"), or whose numbers
// cannot be read ("VARCHAR(x)"), loses something: its column keeps the
// declared text as its comment.

#include <string_view>

#include "importers/database/SourceSupport.h"

namespace importers {

// The model type of a column declared as `declared`.
struct SqliteColumnType {
    ModelType type;
    // False when the model type does not carry the whole declared type.
    bool whole = true;
};

// The model type of a SQLite column declared with the type text `declared`.
SqliteColumnType mapSqliteType(std::string_view declared);

}  // namespace importers
