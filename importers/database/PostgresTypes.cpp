#include "importers/database/PostgresTypes.h"

#include <climits>

namespace importers {

namespace {

// What a type's modifier (atttypmod) gives the model type.
enum class Modifier {
    None,               // nothing
    Length,             // the length, after PostgreSQL's 4-byte header
    Bits,               // the length, as it stands (bit and bit varying)
    PrecisionAndScale,  // numeric's precision and scale
    IntervalFields,     // the fields, read from the printed type
};

// One built-in type. `dataType`, `length` and `scale` are the model type
// when the modifier gives nothing; `whole` is false where the model type is
// a fallback that loses the type's name; `unbounded` replaces the model type
// when a Length or Bits modifier is absent.
struct PostgresTypeRow {
    long long oid;
    std::string_view name;
    std::string_view dataType;
    int length;
    int scale;
    Modifier modifier;
    bool whole;
    std::string_view unbounded;
};

constexpr PostgresTypeRow kPostgresTypes[] = {
    {16, "boolean", "SQL_BOOLEAN", 0, 0, Modifier::None, true, ""},
    {17, "bytea", "SQL_LONGVARBINARY", 0, 0, Modifier::None, true, ""},
    {18, "\"char\"", "SQL_CHAR", 1, 0, Modifier::None, true, ""},
    {19, "name", "SQL_VARCHAR", 63, 0, Modifier::None, true, ""},
    {20, "bigint", "SQL_BIGINT", 0, 0, Modifier::None, true, ""},
    {21, "smallint", "SQL_SMALLINT", 0, 0, Modifier::None, true, ""},
    {23, "integer", "SQL_INTEGER", 0, 0, Modifier::None, true, ""},
    {25, "text", "SQL_LONGVARCHAR", 0, 0, Modifier::None, true, ""},
    {26, "oid", "SQL_BIGINT", 0, 0, Modifier::None, false, ""},
    {114, "json", "SQL_LONGVARCHAR", 0, 0, Modifier::None, false, ""},
    {142, "xml", "SQL_LONGVARCHAR", 0, 0, Modifier::None, false, ""},
    {650, "cidr", "SQL_VARCHAR", 43, 0, Modifier::None, false, ""},
    {700, "real", "SQL_REAL", 0, 0, Modifier::None, true, ""},
    {701, "double precision", "SQL_DOUBLE", 0, 0, Modifier::None, true, ""},
    {774, "macaddr8", "SQL_CHAR", 23, 0, Modifier::None, false, ""},
    {790, "money", "SQL_NUMERIC", 19, 2, Modifier::None, false, ""},
    {829, "macaddr", "SQL_CHAR", 17, 0, Modifier::None, false, ""},
    {869, "inet", "SQL_VARCHAR", 43, 0, Modifier::None, false, ""},
    {1042, "character", "SQL_CHAR", 1, 0, Modifier::Length, true, ""},
    {1043, "character varying", "SQL_VARCHAR", 0, 0, Modifier::Length, true, "SQL_LONGVARCHAR"},
    {1082, "date", "SQL_DATE", 0, 0, Modifier::None, true, ""},
    {1083, "time", "SQL_TIME", 0, 0, Modifier::None, true, ""},
    {1114, "timestamp", "SQL_TIMESTAMP", 0, 0, Modifier::None, true, ""},
    {1184, "timestamp with time zone", "SQL_TIMESTAMP_WITH_TIME_ZONE", 0, 0, Modifier::None, true,
     ""},
    {1186, "interval", "SQL_INTERVAL_DAY_TO_SECOND", 0, 0, Modifier::IntervalFields, true, ""},
    {1266, "time with time zone", "SQL_TIME_WITH_TIME_ZONE", 0, 0, Modifier::None, true, ""},
    {1560, "bit", "SQL_CHAR", 1, 0, Modifier::Bits, false, ""},
    {1562, "bit varying", "SQL_VARCHAR", 0, 0, Modifier::Bits, false, "SQL_LONGVARCHAR"},
    {1700, "numeric", "SQL_NUMERIC", 0, 0, Modifier::PrecisionAndScale, true, ""},
    {2950, "uuid", "SQL_CHAR", 36, 0, Modifier::None, false, ""},
    {3614, "tsvector", "SQL_LONGVARCHAR", 0, 0, Modifier::None, false, ""},
    {3615, "tsquery", "SQL_LONGVARCHAR", 0, 0, Modifier::None, false, ""},
    {3802, "jsonb", "SQL_LONGVARCHAR", 0, 0, Modifier::None, false, ""},
};

// The interval types by the fields PostgreSQL prints after "interval".
constexpr std::pair<std::string_view, std::string_view> kIntervalFields[] = {
    {"year", "SQL_INTERVAL_YEAR"},
    {"month", "SQL_INTERVAL_MONTH"},
    {"day", "SQL_INTERVAL_DAY"},
    {"hour", "SQL_INTERVAL_HOUR"},
    {"minute", "SQL_INTERVAL_MINUTE"},
    {"second", "SQL_INTERVAL_SECOND"},
    {"year to month", "SQL_INTERVAL_YEAR_TO_MONTH"},
    {"day to hour", "SQL_INTERVAL_DAY_TO_HOUR"},
    {"day to minute", "SQL_INTERVAL_DAY_TO_MINUTE"},
    {"day to second", "SQL_INTERVAL_DAY_TO_SECOND"},
    {"hour to minute", "SQL_INTERVAL_HOUR_TO_MINUTE"},
    {"hour to second", "SQL_INTERVAL_HOUR_TO_SECOND"},
    {"minute to second", "SQL_INTERVAL_MINUTE_TO_SECOND"},
};

// The interval type of a printed interval type: "interval day to second(2)"
// gives SQL_INTERVAL_DAY_TO_SECOND; null when it names no fields.
const std::string_view* intervalType(std::string_view formatted) {
    static constexpr std::string_view kPrefix = "interval";
    if (formatted.substr(0, kPrefix.size()) != kPrefix)
        return nullptr;
    std::string_view fields = formatted.substr(kPrefix.size());
    fields = trim(fields.substr(0, fields.find('(')));
    for (const auto& entry : kIntervalFields) {
        if (entry.first == fields)
            return &entry.second;
    }
    return nullptr;
}

}  // namespace

PostgresColumnType mapPostgresType(long long oid, long long typmod, std::string_view formatted) {
    for (const PostgresTypeRow& row : kPostgresTypes) {
        if (row.oid != oid)
            continue;
        PostgresColumnType result{{std::string(row.dataType), row.length, row.scale}, row.whole};
        // A modifier below 0 (usually -1) means none was declared.
        bool declared = typmod >= 0 && typmod <= INT_MAX;
        switch (row.modifier) {
            case Modifier::None:
                break;
            case Modifier::Length:
            case Modifier::Bits: {
                long long length = row.modifier == Modifier::Length ? typmod - 4 : typmod;
                if (declared && length >= 0)
                    result.type.length = static_cast<int>(length);
                else if (!row.unbounded.empty())
                    result.type = {std::string(row.unbounded), 0, 0};
                break;
            }
            case Modifier::PrecisionAndScale:
                if (declared && typmod >= 4) {
                    long long value = typmod - 4;
                    result.type.length = static_cast<int>((value >> 16) & 0xffff);
                    // The scale is an 11-bit signed number (numeric(5,-2) is allowed).
                    result.type.scale = static_cast<int>(((value & 0x7ff) ^ 0x400) - 0x400);
                }
                break;
            case Modifier::IntervalFields:
                if (const std::string_view* type = intervalType(formatted))
                    result.type.dataType = std::string(*type);
                break;
        }
        return result;
    }
    return {{"SQL_LONGVARCHAR", 0, 0}, false};
}

int postgresIntegerBits(long long oid) {
    switch (oid) {
        case 21:
            return 16;
        case 23:
            return 32;
        case 20:
            return 64;
        default:
            return 0;
    }
}

}  // namespace importers
