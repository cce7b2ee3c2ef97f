#pragma once
// The model type of a PostgreSQL column of a built-in type.
//
// The table kPostgresTypes in PostgresTypes.cpp holds the mapping, one row
// per built-in type (by the object identifier PostgreSQL fixes for it):
// - integer, bigint, smallint: SQL_INTEGER, SQL_BIGINT, SQL_SMALLINT;
// - character varying(n), character(n): SQL_VARCHAR(n), SQL_CHAR(n);
//   character varying without a length, and text: SQL_LONGVARCHAR;
//   "char" SQL_CHAR(1); name SQL_VARCHAR(63);
// - boolean SQL_BOOLEAN; bytea SQL_LONGVARBINARY; real SQL_REAL; double
//   precision SQL_DOUBLE; numeric(p,s) SQL_NUMERIC(p,s);
// - date SQL_DATE; time SQL_TIME; time with time zone
//   SQL_TIME_WITH_TIME_ZONE; timestamp SQL_TIMESTAMP; timestamp with time
//   zone SQL_TIMESTAMP_WITH_TIME_ZONE; interval with fields the matching
//   SQL_INTERVAL_ type (interval year to month: SQL_INTERVAL_YEAR_TO_MONTH),
//   interval without fields SQL_INTERVAL_DAY_TO_SECOND.
// Types the model has no kind for get the closest type, and lose their name,
// which the column keeps as its comment (the documented fallbacks):
// - uuid SQL_CHAR(36), its text form;
// - json, jsonb, xml and the text-search types: SQL_LONGVARCHAR;
// - money SQL_NUMERIC(19,2), the range of its 64-bit count of cents;
// - bit(n) SQL_CHAR(n) and bit varying(n) SQL_VARCHAR(n), as strings of
//   n digits 0 and 1 (without a length: SQL_LONGVARCHAR);
// - inet and cidr SQL_VARCHAR(43), the longest IPv6 address with its mask;
//   macaddr SQL_CHAR(17); macaddr8 SQL_CHAR(23);
// - oid SQL_BIGINT (an unsigned 32-bit number);
// - arrays, composite, range and every other type: SQL_LONGVARCHAR, their
//   text form.
// Enumerated types and domains are not in the table: they become domains of
// the model (see PostgresModel.h).

#include <string>
#include <string_view>

#include "importers/database/SourceSupport.h"

namespace importers {

// The model type of a column, and whether it carries the type whole.
struct PostgresColumnType {
    ModelType type;
    bool whole = true;
};

// The model type of a column of the type `oid` with the modifier `typmod`
// (atttypmod; -1 when none) whose type PostgreSQL prints as `formatted`
// (format_type). A type outside the table gets the fallback SQL_LONGVARCHAR.
PostgresColumnType mapPostgresType(long long oid, long long typmod, std::string_view formatted);

// The width in bits of the integer type `oid` (16, 32 or 64), 0 for any other type.
int postgresIntegerBits(long long oid);

}  // namespace importers
