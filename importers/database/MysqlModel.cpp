#include "importers/database/MysqlModel.h"

#include <mysql.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "importers/database/ConnectionUri.h"

namespace importers {

namespace {

// ---- text ------------------------------------------------------------------

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// A name quoted as the server quotes identifiers.
std::string backquoted(std::string_view name) {
    std::string out = "`";
    for (char c : name) {
        out += c;
        if (c == '`')
            out += '`';
    }
    return out + "`";
}

std::string quoted(std::string_view name) {
    return "'" + std::string(name) + "'";
}

// The quoted strings of an enum or set definition's list: "'a','it''s'" gives
// a and it's.
std::vector<std::string> quotedValues(std::string_view list) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] != '\'')
            continue;
        std::string value;
        for (++i; i < list.size(); ++i) {
            if (list[i] == '\'' && i + 1 < list.size() && list[i + 1] == '\'') {
                value += '\'';
                ++i;
            } else if (list[i] == '\'') {
                break;
            } else if (list[i] == '\\' && i + 1 < list.size()) {
                value += list[++i];
            } else {
                value += list[i];
            }
        }
        out.push_back(std::move(value));
    }
    return out;
}

// ---- column types ----------------------------------------------------------

// How the model type takes its size from the server's column type.
enum class Size {
    None,            // no length
    Length,          // the first number in parentheses: char(n), varchar(n)
    PrecisionScale,  // decimal(p,s)
    Fixed,           // the row's own length
};

// One server type and its model type. A pattern with parentheses matches the
// whole column type; any other pattern matches its name (the word before
// any parentheses). `noted`: the model type loses something, so the column
// notes the server's type. Rows are tried in order.
struct TypeRow {
    std::string_view pattern;
    std::string_view dataType;
    Size size;
    int length;
    bool noted;
};

constexpr TypeRow kTypes[] = {
    {"tinyint(1)", "SQL_BOOLEAN", Size::None, 0, false},
    {"tinyint", "SQL_TINYINT", Size::None, 0, false},
    {"smallint", "SQL_SMALLINT", Size::None, 0, false},
    {"mediumint", "SQL_INTEGER", Size::None, 0, true},
    {"int", "SQL_INTEGER", Size::None, 0, false},
    {"integer", "SQL_INTEGER", Size::None, 0, false},
    {"bigint", "SQL_BIGINT", Size::None, 0, false},
    {"decimal", "SQL_DECIMAL", Size::PrecisionScale, 0, false},
    {"numeric", "SQL_DECIMAL", Size::PrecisionScale, 0, false},
    {"float", "SQL_FLOAT", Size::None, 0, false},
    {"double", "SQL_DOUBLE", Size::None, 0, false},
    {"real", "SQL_DOUBLE", Size::None, 0, false},
    {"bit(1)", "SQL_BOOLEAN", Size::None, 0, true},
    {"bit", "SQL_BIGINT", Size::None, 0, true},
    {"char", "SQL_CHAR", Size::Length, 0, false},
    {"varchar", "SQL_VARCHAR", Size::Length, 0, false},
    {"binary", "SQL_BINARY", Size::Length, 0, false},
    {"varbinary", "SQL_VARBINARY", Size::Length, 0, false},
    {"tinytext", "SQL_LONGVARCHAR", Size::None, 0, true},
    {"text", "SQL_LONGVARCHAR", Size::None, 0, false},
    {"mediumtext", "SQL_LONGVARCHAR", Size::None, 0, true},
    {"longtext", "SQL_LONGVARCHAR", Size::None, 0, false},
    {"tinyblob", "SQL_LONGVARBINARY", Size::None, 0, true},
    {"blob", "SQL_LONGVARBINARY", Size::None, 0, false},
    {"mediumblob", "SQL_LONGVARBINARY", Size::None, 0, true},
    {"longblob", "SQL_LONGVARBINARY", Size::None, 0, false},
    {"date", "SQL_DATE", Size::None, 0, false},
    {"time", "SQL_TIME", Size::None, 0, false},
    {"datetime", "SQL_TIMESTAMP", Size::None, 0, false},
    {"timestamp", "SQL_TIMESTAMP_WITH_TIME_ZONE", Size::None, 0, false},
    {"year", "SQL_SMALLINT", Size::None, 0, true},
    {"enum", "SQL_VARCHAR", Size::None, 0, false},  // a domain with the values
    {"set", "SQL_VARCHAR", Size::None, 0, true},    // a domain with the members
    {"json", "SQL_LONGVARCHAR", Size::None, 0, true},
    {"geometry", "SQL_LONGVARBINARY", Size::None, 0, true},
    {"point", "SQL_LONGVARBINARY", Size::None, 0, true},
    {"linestring", "SQL_LONGVARBINARY", Size::None, 0, true},
    {"polygon", "SQL_LONGVARBINARY", Size::None, 0, true},
    {"multipoint", "SQL_LONGVARBINARY", Size::None, 0, true},
    {"multilinestring", "SQL_LONGVARBINARY", Size::None, 0, true},
    {"multipolygon", "SQL_LONGVARBINARY", Size::None, 0, true},
    {"geometrycollection", "SQL_LONGVARBINARY", Size::None, 0, true},
    {"geomcollection", "SQL_LONGVARBINARY", Size::None, 0, true},
    {"uuid", "SQL_CHAR", Size::Fixed, 36, true},
    {"inet4", "SQL_VARCHAR", Size::Fixed, 15, true},
    {"inet6", "SQL_VARCHAR", Size::Fixed, 39, true},
};

// The number of bits of an integer column type, for its AUTOINCREMENT width.
struct IntegerWidth {
    std::string_view name;
    int bits;
};
// clang-format off
constexpr IntegerWidth kIntegerWidths[] = {
    {"tinyint", 8},
    {"smallint", 16},
    {"mediumint", 24},
    {"int", 32},
    {"integer", 32},
    {"bigint", 64},
};
// clang-format on

// The name of a column type: "int" for "int(10) unsigned".
std::string typeName(std::string_view columnType) {
    std::size_t end = 0;
    while (end < columnType.size() &&
           (std::isalnum(static_cast<unsigned char>(columnType[end])) || columnType[end] == '_'))
        ++end;
    return lower(columnType.substr(0, end));
}

// The numbers in the first parentheses of a column type: 10 and 2 for
// "decimal(10,2)".
std::vector<int> typeArguments(std::string_view columnType) {
    std::vector<int> out;
    std::size_t open = columnType.find('(');
    std::size_t close = columnType.find(')', open);
    if (open == std::string_view::npos || close == std::string_view::npos)
        return out;
    const char* cursor = columnType.data() + open + 1;
    const char* end = columnType.data() + close;
    while (cursor < end) {
        int value = 0;
        auto [next, error] = std::from_chars(cursor, end, value);
        if (error == std::errc())
            out.push_back(value);
        cursor = next + (next < end ? 1 : 0);
        if (error != std::errc())
            break;
    }
    return out;
}

// ---- rules, losses ---------------------------------------------------------

int ruleCode(std::string_view rule) {
    if (rule == "NO ACTION")
        return 1;
    if (rule == "CASCADE")
        return 2;
    if (rule == "RESTRICT")
        return 3;
    if (rule == "SET NULL")
        return 4;
    if (rule == "SET DEFAULT")
        return 5;
    return 0;
}

// What this source cannot carry, as its warning lines name it.
namespace lost {
constexpr const char* kPartitioning = "partitioned tables written unpartitioned";
constexpr const char* kGeneratedExpression =
    "generated column expressions left out (the columns are kept)";
constexpr const char* kFulltextIndex = "FULLTEXT indexes written as ordinary indexes";
constexpr const char* kSpatialIndex = "SPATIAL indexes written as ordinary indexes";
constexpr const char* kEvent = "events left out";
constexpr const char* kUnreadableRoutine = "routines the account may not read left out";
constexpr const char* kUnreadableTriggers = "tables whose triggers the account may not read";
constexpr const char* kUnreadableView =
    "view definitions the account may not read (the views keep their columns)";
constexpr const char* kOtherDatabaseParent = "foreign keys to tables of other databases left out";
}  // namespace lost

// ---- catalog queries -------------------------------------------------------
// Every query reads the connection's database, DATABASE(), so that no text of
// the URI is ever part of a statement.

constexpr const char* kTablesQuery =
    "SELECT t.TABLE_NAME, t.TABLE_TYPE, t.ENGINE, t.TABLE_COMMENT, c.CHARACTER_SET_NAME"
    " FROM information_schema.TABLES t"
    " LEFT JOIN information_schema.COLLATIONS c ON c.COLLATION_NAME = t.TABLE_COLLATION"
    " WHERE t.TABLE_SCHEMA = DATABASE()";

constexpr const char* kColumnsQuery =
    "SELECT TABLE_NAME, COLUMN_NAME, COLUMN_TYPE, IS_NULLABLE, COLUMN_DEFAULT, EXTRA,"
    " CHARACTER_SET_NAME, GENERATION_EXPRESSION, COLUMN_COMMENT"
    " FROM information_schema.COLUMNS"
    " WHERE TABLE_SCHEMA = DATABASE()"
    " ORDER BY TABLE_NAME, ORDINAL_POSITION";

constexpr const char* kIndexesQuery =
    "SELECT TABLE_NAME, INDEX_NAME, NON_UNIQUE, COLUMN_NAME, COLLATION, SUB_PART, INDEX_TYPE,"
    " INDEX_COMMENT"
    " FROM information_schema.STATISTICS"
    " WHERE TABLE_SCHEMA = DATABASE()"
    " ORDER BY TABLE_NAME, INDEX_NAME, SEQ_IN_INDEX";

// The primary key first, then the others by name.
constexpr const char* kKeysQuery =
    "SELECT k.TABLE_NAME, k.CONSTRAINT_NAME, t.CONSTRAINT_TYPE, k.COLUMN_NAME,"
    " k.REFERENCED_TABLE_SCHEMA, k.REFERENCED_TABLE_NAME, k.REFERENCED_COLUMN_NAME,"
    " r.UPDATE_RULE, r.DELETE_RULE"
    " FROM information_schema.TABLE_CONSTRAINTS t"
    " JOIN information_schema.KEY_COLUMN_USAGE k ON k.CONSTRAINT_SCHEMA = t.CONSTRAINT_SCHEMA"
    "  AND k.TABLE_NAME = t.TABLE_NAME AND k.CONSTRAINT_NAME = t.CONSTRAINT_NAME"
    " LEFT JOIN information_schema.REFERENTIAL_CONSTRAINTS r"
    "  ON r.CONSTRAINT_SCHEMA = t.CONSTRAINT_SCHEMA AND r.TABLE_NAME = t.TABLE_NAME"
    "  AND r.CONSTRAINT_NAME = t.CONSTRAINT_NAME"
    " WHERE t.CONSTRAINT_SCHEMA = DATABASE()"
    " AND t.CONSTRAINT_TYPE IN ('PRIMARY KEY', 'UNIQUE', 'FOREIGN KEY')"
    " ORDER BY k.TABLE_NAME, t.CONSTRAINT_TYPE <> 'PRIMARY KEY', k.CONSTRAINT_NAME,"
    " k.ORDINAL_POSITION";

// Whether the server has CHECK constraints to read (MariaDB 10.2, MySQL 8.0.16).
constexpr const char* kHasChecksQuery =
    "SELECT COUNT(*) FROM information_schema.COLUMNS"
    " WHERE TABLE_SCHEMA = 'information_schema' AND TABLE_NAME = 'CHECK_CONSTRAINTS'"
    " AND COLUMN_NAME = 'CHECK_CLAUSE'";

// MariaDB names checks per table (a column's check after the column) and
// lists their table.
constexpr const char* kMariadbChecksQuery =
    "SELECT TABLE_NAME, CONSTRAINT_NAME, CHECK_CLAUSE"
    " FROM information_schema.CHECK_CONSTRAINTS"
    " WHERE CONSTRAINT_SCHEMA = DATABASE()"
    " ORDER BY TABLE_NAME, CONSTRAINT_NAME";

// MySQL names checks per database and lists their table with the constraints.
constexpr const char* kMysqlChecksQuery =
    "SELECT t.TABLE_NAME, c.CONSTRAINT_NAME, c.CHECK_CLAUSE"
    " FROM information_schema.TABLE_CONSTRAINTS t"
    " JOIN information_schema.CHECK_CONSTRAINTS c ON c.CONSTRAINT_SCHEMA = t.CONSTRAINT_SCHEMA"
    "  AND c.CONSTRAINT_NAME = t.CONSTRAINT_NAME"
    " WHERE t.CONSTRAINT_SCHEMA = DATABASE() AND t.CONSTRAINT_TYPE = 'CHECK'"
    " ORDER BY t.TABLE_NAME, c.CONSTRAINT_NAME";

constexpr const char* kViewsQuery =
    "SELECT TABLE_NAME, VIEW_DEFINITION FROM information_schema.VIEWS"
    " WHERE TABLE_SCHEMA = DATABASE()";

constexpr const char* kTriggersQuery =
    "SELECT EVENT_OBJECT_TABLE, TRIGGER_NAME, ACTION_TIMING, EVENT_MANIPULATION,"
    " ACTION_STATEMENT"
    " FROM information_schema.TRIGGERS"
    " WHERE TRIGGER_SCHEMA = DATABASE() AND EVENT_OBJECT_SCHEMA = DATABASE()"
    " ORDER BY EVENT_OBJECT_TABLE, TRIGGER_NAME";

// The tables on whose triggers the account holds the TRIGGER privilege, as
// far as its grants show: on every table (globally or on the database), or
// on the tables listed.
constexpr const char* kTriggerGrantsQuery =
    "SELECT '*' FROM information_schema.USER_PRIVILEGES WHERE PRIVILEGE_TYPE = 'TRIGGER'"
    " UNION ALL SELECT '*' FROM information_schema.SCHEMA_PRIVILEGES"
    "  WHERE PRIVILEGE_TYPE = 'TRIGGER' AND TABLE_SCHEMA = DATABASE()"
    " UNION ALL SELECT TABLE_NAME FROM information_schema.TABLE_PRIVILEGES"
    "  WHERE PRIVILEGE_TYPE = 'TRIGGER' AND TABLE_SCHEMA = DATABASE()";

constexpr const char* kRoutinesQuery =
    "SELECT ROUTINE_NAME, ROUTINE_TYPE, ROUTINE_COMMENT FROM information_schema.ROUTINES"
    " WHERE ROUTINE_SCHEMA = DATABASE() AND ROUTINE_TYPE IN ('PROCEDURE', 'FUNCTION')"
    " ORDER BY ROUTINE_NAME, ROUTINE_TYPE";

constexpr const char* kEventsQuery =
    "SELECT EVENT_NAME FROM information_schema.EVENTS WHERE EVENT_SCHEMA = DATABASE()"
    " ORDER BY EVENT_NAME";

constexpr const char* kPartitionedTablesQuery =
    "SELECT DISTINCT TABLE_NAME FROM information_schema.PARTITIONS"
    " WHERE TABLE_SCHEMA = DATABASE() AND PARTITION_NAME IS NOT NULL"
    " ORDER BY TABLE_NAME";

// ---- the client library ------------------------------------------------------

struct ConnectionCloser {
    void operator()(MYSQL* connection) const { mysql_close(connection); }
};
using ConnectionHandle = std::unique_ptr<MYSQL, ConnectionCloser>;

// The rows of a query, read whole as text; a null field is nullopt.
class Rows {
  public:
    using Row = std::vector<std::optional<std::string>>;

    explicit Rows(std::vector<Row> rows) : rows_(std::move(rows)) {}
    int count() const { return static_cast<int>(rows_.size()); }
    bool isNull(int row, int column) const { return !rows_[row][column]; }
    std::string text(int row, int column) const { return rows_[row][column].value_or(""); }

  private:
    std::vector<Row> rows_;
};

// ---- the catalog reader --------------------------------------------------------

class CatalogReader {
  public:
    CatalogReader(MYSQL* connection, std::string where)
        : connection_(connection), where_(std::move(where)) {}

    DatabaseImport read() {
        // Nothing this session does may write, and every query sees one state.
        run("SET SESSION TRANSACTION READ ONLY");
        run("START TRANSACTION WITH CONSISTENT SNAPSHOT, READ ONLY");
        std::string name = run("SELECT DATABASE()").text(0, 0);
        std::string info = mysql_get_server_info(connection_);
        mariadb_ = contains(info, "MariaDB");

        DatabaseImport result;
        result.serverVersion = serverVersion(info);
        result.detectedTarget = kDetectedTarget;
        result.detectedTargetHasTriggers = false;
        result.model = std::make_unique<ORXModel>();
        model_ = result.model.get();
        model_->setName(name);

        auto catalog = std::make_unique<ORXCatalog>();
        catalog->setName(name);
        catalog->setDatabaseType(kDetectedTarget);
        catalog->setComment(result.serverVersion);
        ORXCatalog* catalogMade = catalog.get();
        if (!model_->addChildPackage(catalog.get()))
            fail("the catalog cannot be added");
        catalog.release();
        auto schema = std::make_unique<ORXSchema>();
        schema->setName(name);
        if (!catalogMade->addChildPackage(schema.get()))
            fail("the schema cannot be added");
        schema_ = schema.release();

        auto package = std::make_unique<ORXDesignPackage>();
        package->setName(name);
        package->setPackageFlag(false);
        if (!model_->addChildPackage(package.get()))
            fail("the package cannot be added");
        package_ = package.release();

        readTables();
        readColumns();
        readIndexes();
        readKeys();
        for (const std::string& table : tableOrder_)
            buildKeysAndIndexes(tables_.at(table));
        for (const std::string& table : tableOrder_)
            buildForeignKeys(tables_.at(table));
        readChecks();
        readViews();
        readTriggers();
        readRoutines();
        readEvents();
        readPartitions();
        linkOwners(package_, owners_);
        run("COMMIT");
        result.losses = std::move(losses_);
        result.triggerCount = countTriggers(*model_);
        return result;
    }

  private:
    static constexpr const char* kDetectedTarget = "MySQL 4.0";

    struct IndexColumn {
        std::optional<std::string> column;  // none for a functional key part
        bool descending = false;
        std::string prefix;  // SUB_PART, empty when the whole column
    };

    struct IndexRow {
        std::string name, type, comment;
        bool unique = false;
        std::vector<IndexColumn> columns;
    };

    struct KeyRow {
        std::string name, type, parentSchema, parent, onUpdate, onDelete;
        std::vector<std::string> columns, parentColumns;
    };

    struct TableInfo {
        ORXClass* cls = nullptr;
        std::string name, charset;
        std::map<std::string, ORXAttribute*> columns;    // by lower-case name
        std::map<std::string, std::string> columnTypes;  // server type by lower-case name
        std::vector<IndexRow> indexes;
        std::vector<KeyRow> keys;
        std::vector<ORXCandidateKey*> candidateKeys;
    };

    [[noreturn]] void fail(const std::string& message) const {
        throw ModelFileError(where_ + ": " + message);
    }

    Rows run(const char* sql) const { return run(std::string(sql)); }

    Rows run(const std::string& sql) const {
        if (mysql_real_query(connection_, sql.data(), sql.size()) != 0)
            fail(mysql_error(connection_));
        return collect();
    }

    // The rows of the statement just run, read whole.
    Rows collect() const {
        std::unique_ptr<MYSQL_RES, void (*)(MYSQL_RES*)> result(mysql_store_result(connection_),
                                                                mysql_free_result);
        std::vector<Rows::Row> rows;
        if (!result) {
            if (mysql_field_count(connection_) != 0)
                fail(mysql_error(connection_));
            return Rows(std::move(rows));  // a statement without rows
        }
        unsigned fields = mysql_num_fields(result.get());
        while (MYSQL_ROW row = mysql_fetch_row(result.get())) {
            unsigned long* lengths = mysql_fetch_lengths(result.get());
            Rows::Row out(fields);
            for (unsigned i = 0; i < fields; ++i) {
                if (row[i])
                    out[i] = std::string(row[i], lengths[i]);
            }
            rows.push_back(std::move(out));
        }
        if (mysql_errno(connection_) != 0)
            fail(mysql_error(connection_));
        return Rows(std::move(rows));
    }

    // "MariaDB 10.11.19-0+deb12u1" for "10.11.19-MariaDB-0+deb12u1" (and for
    // the "5.5.5-" form older clients see); "MySQL 8.0.36" for "8.0.36".
    std::string serverVersion(std::string info) const {
        if (!mariadb_)
            return "MySQL " + info;
        if (info.rfind("5.5.5-", 0) == 0)
            info.erase(0, 6);
        if (std::size_t mark = info.find("-MariaDB"); mark != std::string::npos)
            info.erase(mark, 8);
        return "MariaDB " + info;
    }

    TableInfo* table(const std::string& name) {
        auto found = tables_.find(name);
        return found == tables_.end() ? nullptr : &found->second;
    }

    static void addNote(ORXModelObject* object, const std::string& note) {
        std::string description = object->getDescription().str();
        object->setDescription(description.empty() ? note : description + "\n" + note);
    }

    // ---- tables and views ----

    void readTables() {
        Rows rows = run(kTablesQuery);
        // In byte order: the servers' own orders of names differ by collation.
        std::vector<int> order(static_cast<std::size_t>(rows.count()));
        for (int i = 0; i < rows.count(); ++i)
            order[static_cast<std::size_t>(i)] = i;
        std::sort(order.begin(), order.end(),
                  [&](int a, int b) { return rows.text(a, 0) < rows.text(b, 0); });
        for (int i : order) {
            std::string name = rows.text(i, 0);
            std::string type = rows.text(i, 1);
            if (type == "VIEW") {
                auto view = std::make_unique<ORXSQLViewEntity>();
                view->setName(name);
                view->setPhysicalName(name);
                view->setViewStatementKind(1);
                if (!view->addDesignPackage(package_))
                    fail("view " + quoted(name) + " cannot be added");
                ORXSQLViewEntity* made = view.release();
                views_[name] = made;
                owners_[made] = schema_;
                continue;
            }
            if (type == "SEQUENCE") {
                losses_.add(loss::kFreeSequence, name);
                continue;
            }
            if (type != "BASE TABLE" && type != "SYSTEM VERSIONED")
                continue;
            auto cls = std::make_unique<ORXClass>();
            cls->setName(name);
            cls->setPhysicalName(name);
            cls->setComment(rows.text(i, 3));
            if (!rows.text(i, 2).empty())
                addNote(cls.get(), "Engine: " + rows.text(i, 2));
            if (!cls->addDesignPackage(package_))
                fail("table " + quoted(name) + " cannot be added");
            TableInfo& info = tables_[name];
            info.cls = cls.release();
            info.name = name;
            info.charset = rows.text(i, 4);
            owners_[info.cls] = schema_;
            tableOrder_.push_back(name);
        }
    }

    // ---- columns ----

    void readColumns() {
        Rows rows = run(kColumnsQuery);
        for (int i = 0; i < rows.count(); ++i) {
            std::string relation = rows.text(i, 0);
            std::string name = rows.text(i, 1);
            if (auto view = views_.find(relation); view != views_.end()) {
                auto column = std::make_unique<ORXSQLViewAttribute>();
                column->setName(name);
                column->setPhysicalName(name);
                if (!column->addAssociatedView(view->second))
                    fail("view " + quoted(relation) + " cannot take column " + quoted(name));
                column.release();
                continue;
            }
            TableInfo* info = table(relation);
            if (!info)
                continue;  // a sequence
            auto attribute = std::make_unique<ORXAttribute>();
            attribute->setName(name);
            attribute->setPhysicalName(name);
            if (!attribute->addAssociatedClass(info->cls))
                fail("table " + quoted(relation) + " cannot take column " + quoted(name));
            ORXAttribute* made = attribute.release();
            buildColumn(*info, made, rows, i);
            info->columns[lower(name)] = made;
            info->columnTypes[lower(name)] = rows.text(i, 2);
        }
    }

    void buildColumn(TableInfo& info, ORXAttribute* column, const Rows& rows, int i) {
        std::string columnType = rows.text(i, 2);
        std::string extra = lower(rows.text(i, 5));
        std::string generated = rows.text(i, 7);
        MysqlColumnType mapped = mapMysqlType(columnType);
        bool autoIncrement = contains(extra, "auto_increment");
        if (autoIncrement) {
            std::string name = typeName(columnType);
            for (const IntegerWidth& width : kIntegerWidths) {
                if (width.name == name)
                    mapped.type = autoincrementType(width.bits);
            }
        }
        if (!mapped.values.empty()) {
            DomainDefinition definition =
                enumDomain(info.name + "_" + column->getName().str(), mapped.values);
            definition.type.length = std::max(definition.type.length, mapped.type.length);
            useDomain(column, addDomain(model_, definition));
        } else {
            setColumnType(column, mapped.type);
        }
        column->setOptional(rows.text(i, 3) == "YES");
        column->setComment(rows.text(i, 8));
        if (!autoIncrement && generated.empty())
            column->setInitialValue(
                mysqlDefaultValue(rows.text(i, 4), rows.isNull(i, 4), mariadb_));

        if (mapped.noted)
            addNote(column, "Type: " + columnType);
        std::string charset = rows.text(i, 6);
        if (!charset.empty() && !info.charset.empty() && charset != info.charset)
            addNote(column, "Character set: " + charset);
        if (std::size_t onUpdate = extra.find("on update "); onUpdate != std::string::npos)
            addNote(column, "ON UPDATE " + rows.text(i, 5).substr(onUpdate + 10));
        if (!generated.empty()) {
            std::string kind = contains(extra, "virtual") ? "VIRTUAL" : "STORED";
            addNote(column, "Generated (" + kind + "): " + generated);
            losses_.add(lost::kGeneratedExpression, info.name + "." + column->getName().str());
        }
    }

    // ---- keys and indexes ----

    void readIndexes() {
        Rows rows = run(kIndexesQuery);
        for (int i = 0; i < rows.count(); ++i) {
            TableInfo* info = table(rows.text(i, 0));
            std::string name = rows.text(i, 1);
            if (!info || name == "PRIMARY")
                continue;
            if (info->indexes.empty() || info->indexes.back().name != name) {
                IndexRow index;
                index.name = name;
                index.unique = rows.text(i, 2) == "0";
                index.type = rows.text(i, 6);
                index.comment = rows.text(i, 7);
                info->indexes.push_back(std::move(index));
            }
            IndexColumn column;
            if (!rows.isNull(i, 3))
                column.column = rows.text(i, 3);
            column.descending = rows.text(i, 4) == "D";
            // A spatial index reports a size of its own, no prefix of the column.
            if (info->indexes.back().type != "SPATIAL")
                column.prefix = rows.text(i, 5);
            info->indexes.back().columns.push_back(std::move(column));
        }
    }

    void readKeys() {
        Rows rows = run(kKeysQuery);
        for (int i = 0; i < rows.count(); ++i) {
            TableInfo* info = table(rows.text(i, 0));
            if (!info)
                continue;
            std::string name = rows.text(i, 1);
            if (info->keys.empty() || info->keys.back().name != name) {
                KeyRow key;
                key.name = name;
                key.type = rows.text(i, 2);
                key.parentSchema = rows.text(i, 4);
                key.parent = rows.text(i, 5);
                key.onUpdate = rows.text(i, 7);
                key.onDelete = rows.text(i, 8);
                info->keys.push_back(std::move(key));
            }
            info->keys.back().columns.push_back(rows.text(i, 3));
            info->keys.back().parentColumns.push_back(rows.text(i, 6));
        }
    }

    static ORXAttribute* column(const TableInfo& info, const std::string& name) {
        auto found = info.columns.find(lower(name));
        return found == info.columns.end() ? nullptr : found->second;
    }

    ORXCandidateKey* buildKey(TableInfo& info, const std::string& name,
                              const std::vector<std::string>& columns) {
        auto key = std::make_unique<ORXCandidateKey>();
        key->setName(name);
        key->setUnique(true);
        if (!key->addAssociatedClass(info.cls))
            fail("key " + quoted(name) + " cannot be added");
        ORXCandidateKey* made = key.release();
        for (const std::string& columnName : columns) {
            if (ORXAttribute* attribute = column(info, columnName))
                made->addAttribute(attribute);
        }
        info.candidateKeys.push_back(made);
        return made;
    }

    // The index, or null when it has no column left (only functional parts).
    ORXIndex* buildIndex(TableInfo& info, const IndexRow& row) {
        std::string where = info.name + "." + row.name;
        std::vector<const IndexColumn*> members;
        for (const IndexColumn& member : row.columns) {
            if (member.column && column(info, *member.column))
                members.push_back(&member);
        }
        if (members.empty()) {
            losses_.add(loss::kExpressionIndex, where);
            return nullptr;
        }
        if (members.size() < row.columns.size())
            losses_.add(loss::kIndexExpression, where);

        auto index = std::make_unique<ORXIndex>();
        index->setName(row.name);
        index->setPhysicalName(row.name);
        index->setUnique(row.unique);
        index->setComment(row.comment);
        if (!index->addAssociatedClass(info.cls))
            fail("index " + quoted(row.name) + " cannot be added");
        ORXIndex* made = index.release();
        std::string prefixes;
        for (std::size_t i = 0; i < members.size(); ++i) {
            const IndexColumn& member = *members[i];
            new ORXIndexMember(made, column(info, *member.column), static_cast<short>(i),
                               member.descending ? 2 : 1);
            if (!member.prefix.empty())
                prefixes +=
                    (prefixes.empty() ? "" : ", ") + *member.column + "(" + member.prefix + ")";
        }
        if (row.type == "FULLTEXT" || row.type == "SPATIAL") {
            addNote(made, "Index type: " + row.type);
            losses_.add(row.type == "FULLTEXT" ? lost::kFulltextIndex : lost::kSpatialIndex, where);
        }
        if (!prefixes.empty())
            addNote(made, "Prefix lengths: " + prefixes);
        return made;
    }

    void buildKeysAndIndexes(TableInfo& info) {
        for (const KeyRow& key : info.keys) {
            if (key.type == "PRIMARY KEY") {
                ORXCandidateKey* made = buildKey(info, "PK_" + info.name, key.columns);
                if (!made->addPrimaryOfClass(info.cls))
                    fail("the primary key of " + quoted(info.name) + " cannot be set");
            }
        }
        for (const IndexRow& index : info.indexes) {
            bool backsKey = std::any_of(info.keys.begin(), info.keys.end(), [&](const KeyRow& key) {
                return key.type == "UNIQUE" && key.name == index.name;
            });
            ORXIndex* made = buildIndex(info, index);
            if (made && backsKey) {
                auto found =
                    std::find_if(info.keys.begin(), info.keys.end(),
                                 [&](const KeyRow& key) { return key.name == index.name; });
                made->addKey(buildKey(info, index.name, found->columns));
            }
        }
    }

    void buildForeignKeys(TableInfo& child) {
        for (const KeyRow& row : child.keys) {
            if (row.type == "FOREIGN KEY")
                buildForeignKey(child, row);
        }
    }

    void buildForeignKey(TableInfo& child, const KeyRow& row) {
        std::string where = child.name + "." + row.name;
        TableInfo* parent =
            row.parentSchema == model_->getName().str() ? table(row.parent) : nullptr;
        if (!parent) {
            losses_.add(row.parentSchema == model_->getName().str() ? loss::kMissingParent
                                                                    : lost::kOtherDatabaseParent,
                        where);
            return;
        }
        auto key = std::make_unique<ORXForeignKey>();
        key->setName(row.name);
        if (!key->addAssociatedClass(child.cls))
            fail("foreign key " + quoted(row.name) + " cannot be added");
        ORXForeignKey* foreignKey = key.release();
        std::vector<ORXAttribute*> referenced;
        for (std::size_t i = 0; i < row.columns.size(); ++i) {
            ORXAttribute* from = column(child, row.columns[i]);
            ORXAttribute* to = column(*parent, row.parentColumns[i]);
            referenced.push_back(to);
            if (from)
                addForeignKeyColumn(foreignKey, from, to);
        }
        if (ORXCandidateKey* parentKey = findKeyWithColumns(parent->candidateKeys, referenced))
            foreignKey->addCandidateKey(parentKey);
        if (const char* problem = addReference(package_, row.name, parent->cls, foreignKey,
                                               ruleCode(row.onUpdate), ruleCode(row.onDelete)))
            fail("reference " + quoted(row.name) + problem);
    }

    // ---- checks ----

    // The columns of `info` that `expression` reads: its quoted names, and
    // bare words that name a column and call nothing.
    static std::vector<ORXAttribute*> columnsRead(const TableInfo& info,
                                                  std::string_view expression) {
        std::vector<ORXAttribute*> out;
        auto take = [&](const std::string& name) {
            ORXAttribute* attribute = column(info, name);
            if (attribute && std::find(out.begin(), out.end(), attribute) == out.end())
                out.push_back(attribute);
        };
        for (std::size_t i = 0; i < expression.size();) {
            char c = expression[i];
            if (c == '\'' || c == '"') {
                std::size_t end = i + 1;
                while (end < expression.size() && expression[end] != c)
                    end += expression[end] == '\\' ? 2 : 1;
                i = end + 1;
            } else if (c == '`') {
                std::string name;
                for (++i; i < expression.size(); ++i) {
                    if (expression[i] == '`' && i + 1 < expression.size() &&
                        expression[i + 1] == '`')
                        name += expression[++i];
                    else if (expression[i] == '`')
                        break;
                    else
                        name += expression[i];
                }
                ++i;
                take(name);
            } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
                std::size_t end = i;
                while (end < expression.size() &&
                       (std::isalnum(static_cast<unsigned char>(expression[end])) ||
                        expression[end] == '_' || expression[end] == '$'))
                    ++end;
                std::size_t next = end;
                while (next < expression.size() && isSpace(expression[next]))
                    ++next;
                if (next == expression.size() || expression[next] != '(')
                    take(std::string(expression.substr(i, end - i)));
                i = end;
            } else {
                ++i;
            }
        }
        return out;
    }

    void readChecks() {
        if (run(kHasChecksQuery).text(0, 0) == "0")
            return;
        Rows rows = run(mariadb_ ? kMariadbChecksQuery : kMysqlChecksQuery);
        std::map<std::string, std::vector<CheckConstraint>> checks;  // by table
        for (int i = 0; i < rows.count(); ++i) {
            TableInfo* info = table(rows.text(i, 0));
            if (!info)
                continue;
            std::string expression = stripOuterParentheses(rows.text(i, 2));
            std::vector<ORXAttribute*> columns = columnsRead(*info, expression);
            // MariaDB's json columns are longtext checked with json_valid(col):
            // the column is json, noted as such, and that check goes with it.
            if (columns.size() == 1 &&
                expression == "json_valid(" + backquoted(columns[0]->getName().view()) + ")" &&
                lower(info->columnTypes[lower(columns[0]->getName().str())]) == "longtext") {
                addNote(columns[0], "Type: json");
                continue;
            }
            checks[info->name].push_back({rows.text(i, 1), expression, columns});
        }
        for (const std::string& name : tableOrder_) {
            if (auto found = checks.find(name); found != checks.end())
                placeChecks(tables_.at(name).cls, found->second);
        }
    }

    // ---- views, triggers, routines and the rest ----

    void readViews() {
        Rows rows = run(kViewsQuery);
        for (int i = 0; i < rows.count(); ++i) {
            auto view = views_.find(rows.text(i, 0));
            if (view == views_.end())
                continue;
            std::string definition = rows.text(i, 1);
            std::string_view statement = trim(definition);
            if (!statement.empty() && statement.back() == ';')
                statement = trim(statement.substr(0, statement.size() - 1));
            if (statement.empty())
                losses_.add(lost::kUnreadableView, view->first);
            view->second->setViewStatement(std::string(statement));
        }
    }

    void readTriggers() {
        Rows rows = run(kTriggersQuery);
        std::map<std::string, bool> seen;  // tables with a trigger read
        for (int i = 0; i < rows.count(); ++i) {
            TableInfo* info = table(rows.text(i, 0));
            if (!info)
                continue;
            seen[info->name] = true;
            std::string name = rows.text(i, 1);
            std::string timing = rows.text(i, 2);
            std::string event = rows.text(i, 3);
            auto trigger = std::make_unique<ORXOperation>(ORX_ET_TRIGGER);
            trigger->setName(name);
            trigger->setPhysicalName(name);
            trigger->setBody("CREATE TRIGGER " + backquoted(name) + " " + timing + " " + event +
                             " ON " + backquoted(info->name) + " FOR EACH ROW " +
                             std::string(trim(rows.text(i, 4))));
            trigger->setTiming(timing == "BEFORE" ? 0 : 1);
            trigger->setOnInsert(event == "INSERT");
            trigger->setOnUpdate(event == "UPDATE");
            trigger->setOnDelete(event == "DELETE");
            if (!trigger->addAssociatedClass(info->cls))
                fail("trigger " + quoted(name) + " cannot be added");
            owners_[trigger.release()] = schema_;
        }
        // The server lists the triggers of the tables on which the account
        // may create triggers only; the others are said to be unread.
        Rows grants = run(kTriggerGrantsQuery);
        for (int i = 0; i < grants.count(); ++i) {
            if (grants.text(i, 0) == "*")
                return;
            seen[grants.text(i, 0)] = true;
        }
        for (const std::string& name : tableOrder_) {
            if (!seen.count(name))
                losses_.add(lost::kUnreadableTriggers, name);
        }
    }

    void readRoutines() {
        Rows rows = run(kRoutinesQuery);
        for (int i = 0; i < rows.count(); ++i) {
            std::string name = rows.text(i, 0);
            std::string kind = rows.text(i, 1);
            // The text is null, or the statement refused, for a routine the
            // account may not read.
            std::string sql = "SHOW CREATE " + kind + " " + backquoted(name);
            std::string body;
            if (mysql_real_query(connection_, sql.data(), sql.size()) == 0) {
                Rows definition = collect();
                if (definition.count() == 1)
                    body = definition.text(0, 2);
            }
            if (body.empty()) {
                losses_.add(lost::kUnreadableRoutine, name);
                continue;
            }
            auto procedure = std::make_unique<ORXOperation>(ORX_ET_STORED_PROCEDURE);
            procedure->setName(name);
            procedure->setPhysicalName(name);
            procedure->setBody(std::string(trim(body)));
            procedure->setComment(rows.text(i, 2));
            if (!package_->addStoredProcedure(procedure.get()))
                fail("routine " + quoted(name) + " cannot be added");
            owners_[procedure.release()] = schema_;
        }
    }

    void readEvents() {
        Rows rows = run(kEventsQuery);
        for (int i = 0; i < rows.count(); ++i)
            losses_.add(lost::kEvent, rows.text(i, 0));
    }

    void readPartitions() {
        Rows rows = run(kPartitionedTablesQuery);
        for (int i = 0; i < rows.count(); ++i)
            losses_.add(lost::kPartitioning, rows.text(i, 0));
    }

    MYSQL* connection_;
    std::string where_;
    bool mariadb_ = false;
    ORXModel* model_ = nullptr;
    ORXSchema* schema_ = nullptr;
    ORXDesignPackage* package_ = nullptr;
    LossReport losses_;
    // Node-based maps: the records stay where they are as the maps grow.
    std::unordered_map<std::string, TableInfo> tables_;  // by name
    std::vector<std::string> tableOrder_;
    std::unordered_map<std::string, ORXSQLViewEntity*> views_;  // by name
    std::unordered_map<ORXModelObject*, ORXSchema*> owners_;
};

}  // namespace

bool isMysqlUri(const std::string& input) {
    return input.rfind("mysql://", 0) == 0 || input.rfind("mariadb://", 0) == 0;
}

std::string maskMysqlUri(const std::string& uri) {
    std::size_t start = uri.find("://");
    if (start == std::string::npos)
        return uri;
    start += 3;
    std::size_t end = std::min(uri.find_first_of("/?#", start), uri.size());
    std::size_t at = uri.rfind('@', end == 0 ? 0 : end - 1);
    if (at == std::string::npos || at < start)
        return uri;
    std::size_t colon = uri.find(':', start);
    if (colon >= at)
        return uri;
    return uri.substr(0, colon + 1) + "***" + uri.substr(at);
}

MysqlUri parseMysqlUri(const std::string& uri) {
    std::string where = maskMysqlUri(uri);
    auto bad = [&](const std::string& what) -> ModelFileError {
        return ModelFileError(where + ": " + what);
    };
    auto decoded = [&](std::string_view text, const char* part) {
        std::optional<std::string> out = percentDecoded(text);
        if (!out)
            throw bad(std::string("bad percent escape in the ") + part);
        return *out;
    };
    MysqlUri out;
    std::size_t start = uri.find("://");
    if (start == std::string::npos)
        throw bad("not a mysql:// or mariadb:// URI");
    start += 3;
    std::size_t pathStart = std::min(uri.find_first_of("/?#", start), uri.size());
    std::string_view authority(uri.data() + start, pathStart - start);
    if (std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        std::string_view user = authority.substr(0, at);
        if (std::size_t colon = user.find(':'); colon != std::string_view::npos) {
            out.password = decoded(user.substr(colon + 1), "password");
            out.hasPassword = true;
            user = user.substr(0, colon);
        }
        out.user = decoded(user, "user name");
        authority.remove_prefix(at + 1);
    }
    std::string_view host = authority;
    std::string_view port;
    if (!host.empty() && host.front() == '[') {  // an IPv6 address
        std::size_t close = host.find(']');
        if (close == std::string_view::npos)
            throw bad("unclosed [ in the host");
        port = host.substr(close + 1);
        host = host.substr(1, close - 1);
        if (!port.empty() && port.front() != ':')
            throw bad("bad port");
        if (!port.empty())
            port.remove_prefix(1);
    } else if (std::size_t colon = host.rfind(':'); colon != std::string_view::npos) {
        port = host.substr(colon + 1);
        host = host.substr(0, colon);
    }
    out.host = decoded(host, "host");
    if (!port.empty()) {
        auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), out.port);
        if (error != std::errc() || end != port.data() + port.size() || out.port == 0 ||
            out.port > 65535)
            throw bad("bad port " + quoted(port));
    }
    std::size_t queryStart = std::min(uri.find_first_of("?#", pathStart), uri.size());
    std::string_view path(uri.data() + pathStart, queryStart - pathStart);
    if (!path.empty())
        path.remove_prefix(1);  // the '/'
    out.database = decoded(path, "database name");
    if (out.database.empty())
        throw bad("no database named (mysql://user@host/DATABASE)");
    if (queryStart < uri.size() && uri[queryStart] == '#')
        throw bad("a fragment (#) has no meaning here");
    std::string_view query =
        queryStart < uri.size() ? std::string_view(uri).substr(queryStart + 1) : std::string_view();
    while (!query.empty()) {
        std::size_t amp = query.find('&');
        std::string_view parameter = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        if (parameter.rfind("socket=", 0) == 0)
            out.socket = decoded(parameter.substr(7), "socket");
        else if (!parameter.empty())
            throw bad("unknown parameter " + quoted(parameter.substr(0, parameter.find('='))) +
                      " (only socket= is known)");
    }
    return out;
}

MysqlColumnType mapMysqlType(const std::string& columnType) {
    std::string type = lower(columnType);
    std::string name = typeName(type);
    MysqlColumnType out;
    const TypeRow* row = nullptr;
    for (const TypeRow& candidate : kTypes) {
        bool whole = contains(candidate.pattern, "(");
        if (whole ? type == candidate.pattern : name == candidate.pattern) {
            row = &candidate;
            break;
        }
    }
    if (!row) {
        out.type = {"SQL_VARCHAR", 0, 0};
        out.noted = true;
        return out;
    }
    out.type.dataType = row->dataType;
    std::vector<int> arguments = typeArguments(type);
    bool integer = std::any_of(std::begin(kIntegerWidths), std::end(kIntegerWidths),
                               [&](const IntegerWidth& width) { return width.name == name; });
    // A size the model type has no place for (fractional seconds, float(7,4))
    // is lost; an integer's display width means nothing.
    out.noted = row->noted || contains(type, "unsigned") || contains(type, "zerofill") ||
                (row->size == Size::None && !arguments.empty() && !integer);
    if (row->size == Size::Length && !arguments.empty()) {
        out.type.length = arguments[0];
    } else if (row->size == Size::PrecisionScale && !arguments.empty()) {
        out.type.length = arguments[0];
        out.type.scale = arguments.size() > 1 ? arguments[1] : 0;
    } else if (row->size == Size::Fixed) {
        out.type.length = row->length;
    }
    if (name == "enum" || name == "set") {
        std::size_t open = columnType.find('(');
        std::size_t close = columnType.rfind(')');
        if (open != std::string::npos && close != std::string::npos && close > open)
            out.values =
                quotedValues(std::string_view(columnType).substr(open + 1, close - open - 1));
        // A set holds any combination of its members, joined with commas.
        if (name == "set") {
            int length = 0;
            for (const std::string& value : out.values)
                length += static_cast<int>(value.size()) + (length ? 1 : 0);
            out.type.length = length;
        }
    }
    return out;
}

std::string mysqlDefaultValue(const std::string& reported, bool isNull, bool mariadb) {
    if (isNull || (mariadb && reported == "NULL"))
        return "";
    if (!mariadb || reported.size() < 2 || reported.front() != '\'' || reported.back() != '\'')
        return reported;
    std::vector<std::string> values = quotedValues(reported);
    return values.empty() ? "" : values.front();
}

DatabaseImport loadMysqlDatabase(const std::string& uri) {
    MysqlUri parts = parseMysqlUri(uri);
    std::string where = maskMysqlUri(uri);
    ConnectionHandle connection(mysql_init(nullptr));
    if (!connection)
        throw ModelFileError(where + ": out of memory");
    // The [client] group of the usual option files gives what the URI leaves out.
    mysql_options(connection.get(), MYSQL_READ_DEFAULT_GROUP, "client");
    mysql_options(connection.get(), MYSQL_SET_CHARSET_NAME, "utf8mb4");
    unsigned timeout = 10;
    mysql_options(connection.get(), MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
    const char* password = parts.hasPassword ? parts.password.c_str() : std::getenv("MYSQL_PWD");
    auto given = [](const std::string& text) { return text.empty() ? nullptr : text.c_str(); };
    if (!mysql_real_connect(connection.get(), given(parts.host), given(parts.user), password,
                            parts.database.c_str(), parts.port, given(parts.socket), 0))
        throw ModelFileError(where + ": " + mysql_error(connection.get()));
    return CatalogReader(connection.get(), where).read();
}

}  // namespace importers
