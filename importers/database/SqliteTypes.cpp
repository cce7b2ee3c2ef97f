#include "importers/database/SqliteTypes.h"

#include <climits>
#include <optional>
#include <string>
#include <vector>

namespace importers {

namespace {

// Which numbers in parentheses after the name the model type keeps.
enum class Numbers { None, Length, LengthAndScale };

// How a row matches the declared name (upper case, blanks folded):
// Exact: the name is `word`; Contains: the name contains `word` and `also`
// (when `also` is not empty).
enum class Match { Exact, Contains };

struct SqliteTypeRow {
    Match match;
    std::string_view word;
    std::string_view also;
    std::string_view dataType;
    Numbers numbers;
};

// First matching row wins. Exact names first: they carry the declared type
// whole. Then SQLite's affinity rules in SQLite's order (INT, then CHAR, CLOB
// or TEXT, then BLOB, then REAL, FLOA or DOUB), each refined by the other
// words of the name; then the names of SQLite's NUMERIC affinity that have a
// model type of their own; and last NUMERIC for everything else.
constexpr SqliteTypeRow kSqliteTypes[] = {
    {Match::Exact, "INT", "", "SQL_INTEGER", Numbers::None},
    {Match::Exact, "INTEGER", "", "SQL_INTEGER", Numbers::None},
    {Match::Exact, "MEDIUMINT", "", "SQL_INTEGER", Numbers::None},
    {Match::Exact, "INT4", "", "SQL_INTEGER", Numbers::None},
    {Match::Exact, "BIGINT", "", "SQL_BIGINT", Numbers::None},
    {Match::Exact, "INT8", "", "SQL_BIGINT", Numbers::None},
    {Match::Exact, "SMALLINT", "", "SQL_SMALLINT", Numbers::None},
    {Match::Exact, "INT2", "", "SQL_SMALLINT", Numbers::None},
    {Match::Exact, "TINYINT", "", "SQL_TINYINT", Numbers::None},
    {Match::Exact, "VARCHAR", "", "SQL_VARCHAR", Numbers::Length},
    {Match::Exact, "VARCHAR2", "", "SQL_VARCHAR", Numbers::Length},
    {Match::Exact, "CHARACTER VARYING", "", "SQL_VARCHAR", Numbers::Length},
    {Match::Exact, "CHAR VARYING", "", "SQL_VARCHAR", Numbers::Length},
    {Match::Exact, "VARYING CHARACTER", "", "SQL_VARCHAR", Numbers::Length},
    {Match::Exact, "NVARCHAR", "", "SQL_NVARCHAR", Numbers::Length},
    {Match::Exact, "NATIONAL VARCHAR", "", "SQL_NVARCHAR", Numbers::Length},
    {Match::Exact, "NATIONAL CHARACTER VARYING", "", "SQL_NVARCHAR", Numbers::Length},
    {Match::Exact, "NATIONAL CHAR VARYING", "", "SQL_NVARCHAR", Numbers::Length},
    {Match::Exact, "CHAR", "", "SQL_CHAR", Numbers::Length},
    {Match::Exact, "CHARACTER", "", "SQL_CHAR", Numbers::Length},
    {Match::Exact, "NCHAR", "", "SQL_NCHAR", Numbers::Length},
    {Match::Exact, "NATIONAL CHAR", "", "SQL_NCHAR", Numbers::Length},
    {Match::Exact, "NATIONAL CHARACTER", "", "SQL_NCHAR", Numbers::Length},
    {Match::Exact, "NATIVE CHARACTER", "", "SQL_NCHAR", Numbers::Length},
    {Match::Exact, "TEXT", "", "SQL_LONGVARCHAR", Numbers::None},
    {Match::Exact, "CLOB", "", "SQL_LONGVARCHAR", Numbers::None},
    {Match::Exact, "BLOB", "", "SQL_LONGVARBINARY", Numbers::None},
    {Match::Exact, "", "", "SQL_LONGVARBINARY", Numbers::None},
    {Match::Exact, "REAL", "", "SQL_DOUBLE", Numbers::None},
    {Match::Exact, "DOUBLE", "", "SQL_DOUBLE", Numbers::None},
    {Match::Exact, "DOUBLE PRECISION", "", "SQL_DOUBLE", Numbers::None},
    {Match::Exact, "FLOAT", "", "SQL_FLOAT", Numbers::Length},
    {Match::Exact, "BOOLEAN", "", "SQL_BOOLEAN", Numbers::None},
    {Match::Exact, "BOOL", "", "SQL_BOOLEAN", Numbers::None},
    {Match::Exact, "DATE", "", "SQL_DATE", Numbers::None},
    {Match::Exact, "TIME", "", "SQL_TIME", Numbers::None},
    {Match::Exact, "DATETIME", "", "SQL_TIMESTAMP", Numbers::None},
    {Match::Exact, "TIMESTAMP", "", "SQL_TIMESTAMP", Numbers::None},
    {Match::Exact, "NUMERIC", "", "SQL_NUMERIC", Numbers::LengthAndScale},
    {Match::Exact, "NUMBER", "", "SQL_NUMERIC", Numbers::LengthAndScale},
    {Match::Exact, "DECIMAL", "", "SQL_DECIMAL", Numbers::LengthAndScale},
    {Match::Exact, "BINARY", "", "SQL_BINARY", Numbers::Length},
    {Match::Exact, "VARBINARY", "", "SQL_VARBINARY", Numbers::Length},
    // SQLite's rule 1: INTEGER affinity.
    {Match::Contains, "INT", "BIG", "SQL_BIGINT", Numbers::None},
    {Match::Contains, "INT", "SMALL", "SQL_SMALLINT", Numbers::None},
    {Match::Contains, "INT", "TINY", "SQL_TINYINT", Numbers::None},
    {Match::Contains, "INT", "", "SQL_INTEGER", Numbers::None},
    // Rule 2: TEXT affinity.
    {Match::Contains, "NVARCHAR", "", "SQL_NVARCHAR", Numbers::Length},
    {Match::Contains, "VARCHAR", "", "SQL_VARCHAR", Numbers::Length},
    {Match::Contains, "NCHAR", "", "SQL_NCHAR", Numbers::Length},
    {Match::Contains, "CHAR", "", "SQL_CHAR", Numbers::Length},
    {Match::Contains, "CLOB", "", "SQL_LONGVARCHAR", Numbers::None},
    {Match::Contains, "TEXT", "", "SQL_LONGVARCHAR", Numbers::None},
    // Rule 3: BLOB affinity.
    {Match::Contains, "BLOB", "", "SQL_LONGVARBINARY", Numbers::None},
    // Rule 4: REAL affinity.
    {Match::Contains, "REAL", "", "SQL_DOUBLE", Numbers::None},
    {Match::Contains, "FLOA", "", "SQL_FLOAT", Numbers::Length},
    {Match::Contains, "DOUB", "", "SQL_DOUBLE", Numbers::None},
    // Rule 5: NUMERIC affinity, refined by name.
    {Match::Contains, "BOOL", "", "SQL_BOOLEAN", Numbers::None},
    {Match::Contains, "TIMESTAMP", "ZONE", "SQL_TIMESTAMP_WITH_TIME_ZONE", Numbers::None},
    {Match::Contains, "TIMESTAMP", "", "SQL_TIMESTAMP", Numbers::None},
    {Match::Contains, "DATETIME", "", "SQL_TIMESTAMP", Numbers::None},
    {Match::Contains, "DATE", "", "SQL_DATE", Numbers::None},
    {Match::Contains, "TIME", "ZONE", "SQL_TIME_WITH_TIME_ZONE", Numbers::None},
    {Match::Contains, "TIME", "", "SQL_TIME", Numbers::None},
    {Match::Contains, "DEC", "", "SQL_DECIMAL", Numbers::LengthAndScale},
    {Match::Contains, "NUM", "", "SQL_NUMERIC", Numbers::LengthAndScale},
    {Match::Contains, "VARBINARY", "", "SQL_VARBINARY", Numbers::Length},
    {Match::Contains, "BINARY", "", "SQL_BINARY", Numbers::Length},
    {Match::Contains, "", "", "SQL_NUMERIC", Numbers::None},
};

char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// A non-negative decimal number that fits an int, optionally signed '+'.
std::optional<int> typeNumber(std::string_view text) {
    text = trim(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > INT_MAX)
            return std::nullopt;
    }
    return static_cast<int>(value);
}

bool matches(const SqliteTypeRow& row, const std::string& name) {
    if (row.match == Match::Exact)
        return name == row.word;
    return name.find(row.word) != std::string::npos &&
           (row.also.empty() || name.find(row.also) != std::string::npos);
}

}  // namespace

SqliteColumnType mapSqliteType(std::string_view declared) {
    std::string_view text = trim(declared);
    std::string_view namePart = text;
    std::vector<int> numbers;
    bool numbersRead = true;
    if (std::size_t open = text.find('('); open != std::string_view::npos) {
        namePart = text.substr(0, open);
        std::size_t close = text.rfind(')');
        if (close == std::string_view::npos || close < open ||
            !trim(text.substr(close + 1)).empty()) {
            numbersRead = false;
        } else {
            std::string_view list = text.substr(open + 1, close - open - 1);
            while (numbersRead) {
                std::size_t comma = list.find(',');
                std::optional<int> value = typeNumber(list.substr(0, comma));
                numbersRead = value.has_value();
                if (value)
                    numbers.push_back(*value);
                if (comma == std::string_view::npos)
                    break;
                list.remove_prefix(comma + 1);
            }
            numbersRead = numbersRead && numbers.size() <= 2;
        }
    }
    // Runs of white space inside the name count as one blank.
    std::string name;
    for (char c : trim(namePart)) {
        if (isSpace(c)) {
            if (!name.empty() && name.back() != ' ')
                name += ' ';
        } else {
            name += upperAscii(c);
        }
    }
    for (const SqliteTypeRow& row : kSqliteTypes) {
        if (!matches(row, name))
            continue;
        SqliteColumnType result{{std::string(row.dataType), 0, 0}, true};
        if (numbersRead && row.numbers != Numbers::None && !numbers.empty())
            result.type.length = numbers[0];
        if (numbersRead && row.numbers == Numbers::LengthAndScale && numbers.size() > 1)
            result.type.scale = numbers[1];
        result.whole = row.match == Match::Exact && numbersRead;
        return result;
    }
    return {{"SQL_NUMERIC", 0, 0}, false};  // not reached: the last row takes every name
}

}  // namespace importers
