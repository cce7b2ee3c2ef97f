#include "importers/database/PostgresModel.h"

#include <libpq-fe.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <map>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "importers/database/SourceSupport.h"

namespace importers {

namespace {

// ---- text ------------------------------------------------------------------

// The first line of a libpq message; libpq ends its messages with a newline
// and may add DETAIL and HINT lines that do not belong in a one-line error.
std::string firstLine(std::string_view message) {
    std::string_view line = trim(message.substr(0, message.find('\n')));
    return line.empty() ? std::string("unknown error") : std::string(line);
}

// The URI as messages show it: the password of the user information and any
// "password" parameter replaced by ***, so that errors can be logged safely.
std::string maskPassword(const std::string& uri) {
    std::string out = uri;
    std::size_t authority = out.find("://");
    std::size_t afterAuthority = 0;
    if (authority != std::string::npos) {
        authority += 3;
        // libpq takes the user information to end at the first '@' that comes
        // before any '/', and the user name to end at its first ':'.
        std::size_t stop = out.find_first_of("@/", authority);
        if (stop != std::string::npos && out[stop] == '@') {
            std::size_t colon = out.find(':', authority);
            if (colon < stop && colon + 1 < stop) {
                out.replace(colon + 1, stop - colon - 1, "***");
                stop = colon + 4;
            }
            afterAuthority = stop + 1;
        }
    }
    std::size_t query = out.find('?', afterAuthority);
    if (query == std::string::npos)
        return out;
    static constexpr std::string_view kPassword = "password=";
    for (std::size_t begin = query + 1; begin <= out.size();) {
        std::size_t end = out.find('&', begin);
        if (end == std::string::npos)
            end = out.size();
        std::string_view parameter(out.data() + begin, end - begin);
        if (parameter.size() > kPassword.size() &&
            parameter.substr(0, kPassword.size()) == kPassword) {
            std::size_t value = begin + kPassword.size();
            out.replace(value, end - value, "***");
            end = value + 3;
        }
        begin = end + 1;
    }
    return out;
}

// The integers of an array or vector as PostgreSQL prints them: "{1,2}" for
// int2[] and "1 2" for int2vector.
std::vector<int> integers(std::string_view text) {
    std::vector<int> out;
    const char* cursor = text.data();
    const char* end = text.data() + text.size();
    while (cursor < end) {
        if ((*cursor < '0' || *cursor > '9') && *cursor != '-') {
            ++cursor;
            continue;
        }
        int value = 0;
        auto [next, error] = std::from_chars(cursor, end, value);
        if (error != std::errc())
            break;
        out.push_back(value);
        cursor = next;
    }
    return out;
}

// ---- column types ----------------------------------------------------------

// What a type's modifier (atttypmod) holds for the model type.
enum class Modifier { None, Length, PrecisionAndScale };

// A built-in type, by the object identifier PostgreSQL fixes for it, and the
// model datatype it maps to.
struct TypeRow {
    long long oid;
    std::string_view dataType;
    Modifier modifier;
};

constexpr TypeRow kTypes[] = {
    {16, "SQL_BOOLEAN", Modifier::None},                 // boolean
    {17, "SQL_LONGVARBINARY", Modifier::None},           // bytea
    {20, "SQL_BIGINT", Modifier::None},                  // bigint
    {21, "SQL_SMALLINT", Modifier::None},                // smallint
    {23, "SQL_INTEGER", Modifier::None},                 // integer
    {25, "SQL_LONGVARCHAR", Modifier::None},             // text
    {700, "SQL_REAL", Modifier::None},                   // real
    {701, "SQL_DOUBLE", Modifier::None},                 // double precision
    {1042, "SQL_CHAR", Modifier::Length},                // character(n)
    {1043, "SQL_VARCHAR", Modifier::Length},             // character varying(n)
    {1082, "SQL_DATE", Modifier::None},                  // date
    {1083, "SQL_TIME", Modifier::None},                  // time without time zone
    {1114, "SQL_TIMESTAMP", Modifier::None},             // timestamp without time zone
    {1184, "SQL_TIMESTAMP", Modifier::None},             // timestamp with time zone
    {1266, "SQL_TIME", Modifier::None},                  // time with time zone
    {1700, "SQL_NUMERIC", Modifier::PrecisionAndScale},  // numeric(p,s)
};

// The integer types, which alone become AUTOINCREMENT when a sequence feeds them.
bool isIntegerType(long long oid) {
    return oid == 20 || oid == 21 || oid == 23;
}

struct ColumnType {
    std::string dataType;
    int length = 0;
    int scale = 0;
    bool known = false;
};

ColumnType mapType(long long oid, long long typmod) {
    for (const TypeRow& row : kTypes) {
        if (row.oid != oid)
            continue;
        ColumnType type{std::string(row.dataType), 0, 0, true};
        // A modifier below 4 (usually -1) means none was declared.
        if (typmod < 4 || typmod > INT_MAX)
            return type;
        long long value = typmod - 4;  // the header PostgreSQL adds to every modifier
        if (row.modifier == Modifier::Length) {
            type.length = static_cast<int>(value);
        } else if (row.modifier == Modifier::PrecisionAndScale) {
            type.length = static_cast<int>((value >> 16) & 0xffff);
            // The scale is an 11-bit signed number (numeric(5,-2) is allowed).
            type.scale = static_cast<int>(((value & 0x7ff) ^ 0x400) - 0x400);
        }
        return type;
    }
    return {"SQL_VARCHAR", 0, 0, false};
}

// The rule code of a foreign key action as pg_constraint encodes it.
int ruleCode(std::string_view action) {
    if (action == "a")
        return 1;
    if (action == "c")
        return 2;
    if (action == "r")
        return 3;
    if (action == "n")
        return 4;
    if (action == "d")
        return 5;
    return 0;
}

// Bits of pg_trigger.tgtype.
constexpr long long kTriggerBefore = 1 << 1;
constexpr long long kTriggerInsert = 1 << 2;
constexpr long long kTriggerDelete = 1 << 3;
constexpr long long kTriggerUpdate = 1 << 4;
constexpr long long kTriggerInstead = 1 << 6;

// ---- catalog queries ---------------------------------------------------------
// Every query takes the object identifiers of the schemas read, as an oid[]
// literal in $1, and qualifies every catalog name so that no object of the
// database can stand in for it.

constexpr const char* kSchemasQuery =
    "SELECT n.oid, n.nspname FROM pg_catalog.pg_namespace n"
    " WHERE n.nspname <> 'pg_catalog' AND n.nspname <> 'information_schema'"
    " AND n.nspname NOT LIKE 'pg\\_toast%' AND n.nspname NOT LIKE 'pg\\_temp\\_%'"
    " ORDER BY n.nspname";

constexpr const char* kRelationsQuery =
    "SELECT c.oid, c.relnamespace, c.relname, c.relkind,"
    " pg_catalog.obj_description(c.oid, 'pg_class'),"
    " CASE WHEN c.relkind = 'v' THEN pg_catalog.pg_get_viewdef(c.oid) END"
    " FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace"
    " WHERE c.relnamespace = ANY ($1::pg_catalog.oid[])"
    " AND (c.relkind IN ('r', 'p') AND NOT c.relispartition OR c.relkind = 'v')"
    " AND NOT EXISTS (SELECT 1 FROM pg_catalog.pg_depend d"
    "  WHERE d.classid = 'pg_catalog.pg_class'::pg_catalog.regclass AND d.objid = c.oid"
    "  AND d.deptype = 'e')"
    " ORDER BY n.nspname, c.relname";

constexpr const char* kColumnsQuery =
    "SELECT a.attrelid, a.attnum, a.attname, a.atttypid, a.atttypmod,"
    " pg_catalog.format_type(a.atttypid, a.atttypmod), a.attnotnull, a.attidentity,"
    " a.attgenerated, pg_catalog.pg_get_expr(d.adbin, d.adrelid),"
    " pg_catalog.col_description(a.attrelid, a.attnum)"
    " FROM pg_catalog.pg_attribute a JOIN pg_catalog.pg_class c ON c.oid = a.attrelid"
    " LEFT JOIN pg_catalog.pg_attrdef d ON d.adrelid = a.attrelid AND d.adnum = a.attnum"
    " WHERE c.relnamespace = ANY ($1::pg_catalog.oid[]) AND c.relkind IN ('r', 'p', 'v')"
    " AND a.attnum > 0 AND NOT a.attisdropped"
    " ORDER BY a.attrelid, a.attnum";

// Constraints that partitioning copies from a parent (conparentid set) are
// the parent's; the primary key comes first, then the rest by name.
constexpr const char* kConstraintsQuery =
    "SELECT con.conrelid, con.conname, con.contype, con.conkey, con.confrelid, con.confkey,"
    " con.confupdtype, con.confdeltype, con.conindid,"
    " CASE WHEN con.contype = 'c' THEN pg_catalog.pg_get_expr(con.conbin, con.conrelid) END"
    " FROM pg_catalog.pg_constraint con JOIN pg_catalog.pg_class c ON c.oid = con.conrelid"
    " WHERE c.relnamespace = ANY ($1::pg_catalog.oid[]) AND con.contype IN ('p', 'u', 'f', 'c')"
    " AND con.conparentid = 0"
    " ORDER BY con.conrelid, con.contype <> 'p', con.conname";

constexpr const char* kIndexesQuery =
    "SELECT i.indrelid, i.indexrelid, ic.relname, i.indisunique, i.indisclustered,"
    " i.indnkeyatts, i.indkey, i.indoption,"
    " EXISTS (SELECT 1 FROM pg_catalog.pg_constraint con WHERE con.conindid = i.indexrelid"
    "  AND con.conrelid = i.indrelid AND con.contype IN ('p', 'u', 'x'))"
    " FROM pg_catalog.pg_index i JOIN pg_catalog.pg_class ic ON ic.oid = i.indexrelid"
    " JOIN pg_catalog.pg_class c ON c.oid = i.indrelid"
    " WHERE c.relnamespace = ANY ($1::pg_catalog.oid[])"
    " ORDER BY i.indrelid, ic.relname";

constexpr const char* kTriggersQuery =
    "SELECT t.tgrelid, t.tgname, pg_catalog.pg_get_triggerdef(t.oid), t.tgtype"
    " FROM pg_catalog.pg_trigger t JOIN pg_catalog.pg_class c ON c.oid = t.tgrelid"
    " WHERE c.relnamespace = ANY ($1::pg_catalog.oid[]) AND NOT t.tgisinternal"
    " ORDER BY t.tgrelid, t.tgname";

constexpr const char* kRoutinesQuery =
    "SELECT p.pronamespace, p.proname, pg_catalog.pg_get_functiondef(p.oid),"
    " pg_catalog.obj_description(p.oid, 'pg_proc')"
    " FROM pg_catalog.pg_proc p JOIN pg_catalog.pg_namespace n ON n.oid = p.pronamespace"
    " WHERE p.pronamespace = ANY ($1::pg_catalog.oid[]) AND p.prokind IN ('f', 'p')"
    " AND NOT EXISTS (SELECT 1 FROM pg_catalog.pg_depend d"
    "  WHERE d.classid = 'pg_catalog.pg_proc'::pg_catalog.regclass AND d.objid = p.oid"
    "  AND d.deptype = 'e')"
    " ORDER BY n.nspname, p.proname, pg_catalog.pg_get_function_identity_arguments(p.oid)";

// ---- libpq handles -------------------------------------------------------------

struct ConnectionCloser {
    void operator()(PGconn* connection) const { PQfinish(connection); }
};
using ConnectionHandle = std::unique_ptr<PGconn, ConnectionCloser>;

struct ResultClearer {
    void operator()(PGresult* result) const { PQclear(result); }
};
using ResultHandle = std::unique_ptr<PGresult, ResultClearer>;

// The rows of a query, read as text.
class Rows {
  public:
    explicit Rows(ResultHandle result) : result_(std::move(result)) {}
    int count() const { return PQntuples(result_.get()); }
    bool isNull(int row, int column) const { return PQgetisnull(result_.get(), row, column) != 0; }
    std::string text(int row, int column) const {
        return std::string(PQgetvalue(result_.get(), row, column),
                           static_cast<std::size_t>(PQgetlength(result_.get(), row, column)));
    }
    long long integer(int row, int column) const {
        return std::strtoll(PQgetvalue(result_.get(), row, column), nullptr, 10);
    }
    bool flag(int row, int column) const { return text(row, column) == "t"; }

  private:
    ResultHandle result_;
};

// A query that failed because an object went away while the catalog was read:
// the functions that print definitions look objects up outside the
// transaction's snapshot, so a concurrent DROP can fail them.
class ObjectDropped : public ModelFileError {
  public:
    using ModelFileError::ModelFileError;
};

// Whether a failure with SQLSTATE `state` may come from a concurrent DROP:
// undefined table, undefined object, the internal "cache lookup failed", or a
// deadlock between the locks that printing a definition takes and those of
// the DROP.
bool mayBeConcurrentDrop(std::string_view state) {
    return state == "42P01" || state == "42704" || state == "XX000" || state == "40P01";
}

// ---- the catalog reader ----------------------------------------------------------

// The detection name of the target a PostgreSQL database is written for by default.
constexpr const char* kDetectedTarget = "PostgreSQL 7";

class CatalogReader {
  public:
    CatalogReader(PGconn* connection, std::string where)
        : connection_(connection), where_(std::move(where)) {}

    DatabaseImport read() {
        // One snapshot for every query, and no writes whatever the URI asks.
        run("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
        // Names outside the search path come out schema-qualified in the texts
        // PostgreSQL prints; a fixed path keeps those texts independent of the
        // role's settings.
        run("SELECT pg_catalog.set_config('search_path', 'public', true)");
        std::string name = run("SELECT pg_catalog.current_database()").text(0, 0);

        DatabaseImport result;
        const char* version = PQparameterStatus(connection_, "server_version");
        result.serverVersion = std::string("PostgreSQL ") + (version ? version : "");
        result.detectedTarget = kDetectedTarget;
        result.detectedTargetHasTriggers = true;
        result.model = std::make_unique<ORXModel>();
        ORXModel* model = result.model.get();
        model->setName(name);
        auto catalog = std::make_unique<ORXCatalog>();
        catalog->setName(name);
        catalog->setDatabaseType(kDetectedTarget);
        catalog->setComment(result.serverVersion);
        ORXCatalog* catalogMade = catalog.get();
        if (!model->addChildPackage(catalog.get()))
            fail("the catalog cannot be added");
        catalog.release();

        readSchemas(catalogMade);

        auto package = std::make_unique<ORXDesignPackage>();
        package->setName(name);
        package->setPackageFlag(false);
        if (!model->addChildPackage(package.get()))
            fail("the package cannot be added");
        package_ = package.release();

        readRelations();
        readColumns();
        readIndexes();
        readConstraints();
        for (const std::string& oid : tableOrder_)
            buildKeysAndIndexes(tables_.at(oid));
        for (const std::string& oid : tableOrder_)
            buildForeignKeys(tables_.at(oid));
        readTriggers();
        readRoutines();
        setOwners();
        result.triggerCount = countTriggers(*model);
        return result;
    }

  private:
    struct Schema {
        ORXSchema* schema = nullptr;
        std::string name;
    };

    struct ConstraintRow {
        std::string name, type, parent, onUpdate, onDelete, index, check;
        std::vector<int> columns, parentColumns;
    };

    struct IndexRow {
        std::string oid, name;
        bool unique = false, clustered = false, backsConstraint = false;
        std::size_t keyCount = 0;
        std::vector<int> columns, options;
    };

    struct TableInfo {
        ORXClass* cls = nullptr;
        ORXSchema* schema = nullptr;
        std::map<int, ORXAttribute*> columns;  // by attnum
        std::vector<ORXCandidateKey*> keys;    // the primary key first, then unique keys
        std::vector<ConstraintRow> constraints;
        std::vector<IndexRow> indexes;
    };

    [[noreturn]] void fail(const std::string& message) const {
        throw ModelFileError(where_ + ": " + message);
    }

    static std::string quoted(std::string_view name) { return "'" + std::string(name) + "'"; }

    Rows run(const char* sql, const std::string* parameter = nullptr) {
        const char* values[1] = {parameter ? parameter->c_str() : nullptr};
        ResultHandle result(PQexecParams(connection_, sql, parameter ? 1 : 0, nullptr, values,
                                         nullptr, nullptr, 0));
        ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
            const char* message = result ? PQresultErrorMessage(result.get()) : "";
            if (!*message)
                message = PQerrorMessage(connection_);
            const char* state =
                result ? PQresultErrorField(result.get(), PG_DIAG_SQLSTATE) : nullptr;
            if (state && mayBeConcurrentDrop(state))
                throw ObjectDropped(where_ + ": " + firstLine(message));
            fail(firstLine(message));
        }
        return Rows(std::move(result));
    }

    Rows runOverSchemas(const char* sql) { return run(sql, &schemaList_); }

    // ---- schemas ----

    void readSchemas(ORXCatalog* catalog) {
        Rows rows = run(kSchemasQuery);
        schemaList_ = "{";
        for (int i = 0; i < rows.count(); ++i) {
            auto schema = std::make_unique<ORXSchema>();
            schema->setName(rows.text(i, 1));
            if (!catalog->addChildPackage(schema.get()))
                fail("schema " + quoted(rows.text(i, 1)) + " cannot be added");
            schemas_[rows.text(i, 0)] = {schema.release(), rows.text(i, 1)};
            schemaList_ += (i ? "," : "") + rows.text(i, 0);
        }
        schemaList_ += "}";
    }

    const Schema& schemaOf(const std::string& oid) const {
        auto found = schemas_.find(oid);
        if (found == schemas_.end())
            fail("no schema with object identifier " + oid);
        return found->second;
    }

    // ---- tables and views ----

    // Tables outside "public" and tables renamed to stay apart keep the table
    // name as physical name.
    static void nameRelation(ORXModelObject* object, const Schema& schema,
                             const std::string& relation, bool qualified) {
        object->setName(qualified ? schema.name + "." + relation : relation);
        if (qualified || schema.name != "public")
            object->setPhysicalName(relation);
    }

    void readRelations() {
        Rows rows = runOverSchemas(kRelationsQuery);
        // Tables first, then views, each in schema and name order.
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i < rows.count(); ++i) {
                bool isView = rows.text(i, 3) == "v";
                if (isView != (pass == 1))
                    continue;
                const Schema& schema = schemaOf(rows.text(i, 1));
                std::string relation = rows.text(i, 2);
                if (isView)
                    buildView(rows.text(i, 0), schema, relation, rows.text(i, 4), rows.text(i, 5));
                else
                    buildTable(rows.text(i, 0), schema, relation, rows.text(i, 4));
            }
        }
    }

    void buildTable(const std::string& oid, const Schema& schema, const std::string& relation,
                    const std::string& comment) {
        auto cls = std::make_unique<ORXClass>();
        nameRelation(cls.get(), schema, relation, false);
        cls->setComment(comment);
        // A package holds one class of a name; a table named as one of an
        // earlier schema takes its schema's name as prefix.
        if (!cls->addDesignPackage(package_)) {
            nameRelation(cls.get(), schema, relation, true);
            if (!cls->addDesignPackage(package_))
                fail("table " + quoted(schema.name + "." + relation) + " cannot be added");
        }
        TableInfo& table = tables_[oid];
        table.cls = cls.release();
        table.schema = schema.schema;
        owners_[table.cls] = schema.schema;
        tableOrder_.push_back(oid);
    }

    void buildView(const std::string& oid, const Schema& schema, const std::string& relation,
                   const std::string& comment, const std::string& definition) {
        auto view = std::make_unique<ORXSQLViewEntity>();
        nameRelation(view.get(), schema, relation, false);
        view->setComment(comment);
        std::string_view statement = trim(definition);
        if (!statement.empty() && statement.back() == ';')
            statement = trim(statement.substr(0, statement.size() - 1));
        view->setViewStatement(std::string(statement));
        view->setViewStatementKind(1);
        if (!view->addDesignPackage(package_))
            fail("view " + quoted(schema.name + "." + relation) + " cannot be added");
        ORXSQLViewEntity* made = view.release();
        views_[oid] = made;
        owners_[made] = schema.schema;
    }

    // ---- columns ----

    void readColumns() {
        Rows rows = runOverSchemas(kColumnsQuery);
        for (int i = 0; i < rows.count(); ++i) {
            std::string relation = rows.text(i, 0);
            std::string name = rows.text(i, 2);
            if (auto view = views_.find(relation); view != views_.end()) {
                auto column = std::make_unique<ORXSQLViewAttribute>();
                column->setName(name);
                column->setPhysicalName(name);
                if (!column->addAssociatedView(view->second))
                    fail("view " + quoted(view->second->getName().view()) + " cannot take column " +
                         quoted(name));
                column.release();
                continue;
            }
            auto table = tables_.find(relation);
            if (table == tables_.end())
                continue;  // a partition or a table of an extension
            auto attribute = std::make_unique<ORXAttribute>();
            attribute->setName(name);
            attribute->setPhysicalName(name);
            if (!attribute->addAssociatedClass(table->second.cls))
                fail("table " + quoted(table->second.cls->getName().view()) +
                     " cannot take column " + quoted(name));
            ORXAttribute* made = attribute.release();

            long long typeOid = rows.integer(i, 3);
            std::string defaultValue = rows.text(i, 9);
            bool generated = !rows.text(i, 8).empty();
            bool serial = isIntegerType(typeOid) &&
                          (!rows.text(i, 7).empty() || defaultValue.rfind("nextval(", 0) == 0);
            ColumnType parsed = mapType(typeOid, rows.integer(i, 4));
            if (serial)
                parsed = {"AUTOINCREMENT", 0, 0, true};
            auto type = std::make_unique<ORXType>();
            type->setDataType(parsed.dataType);
            type->setLength(parsed.length);
            type->setScale(parsed.scale);
            made->setOwnedType(type.release());
            std::string comment = rows.text(i, 10);
            made->setComment(comment.empty() && !parsed.known ? rows.text(i, 5) : comment);
            made->setOptional(!rows.flag(i, 6));
            if (!serial && !generated)
                made->setInitialValue(defaultValue);
            table->second.columns[static_cast<int>(rows.integer(i, 1))] = made;
        }
    }

    // ---- constraints and indexes ----

    void readIndexes() {
        Rows rows = runOverSchemas(kIndexesQuery);
        for (int i = 0; i < rows.count(); ++i) {
            auto table = tables_.find(rows.text(i, 0));
            if (table == tables_.end())
                continue;
            IndexRow index;
            index.oid = rows.text(i, 1);
            index.name = rows.text(i, 2);
            index.unique = rows.flag(i, 3);
            index.clustered = rows.flag(i, 4);
            index.keyCount = static_cast<std::size_t>(std::max(0LL, rows.integer(i, 5)));
            index.columns = integers(rows.text(i, 6));
            index.options = integers(rows.text(i, 7));
            index.backsConstraint = rows.flag(i, 8);
            table->second.indexes.push_back(std::move(index));
        }
    }

    void readConstraints() {
        Rows rows = runOverSchemas(kConstraintsQuery);
        for (int i = 0; i < rows.count(); ++i) {
            auto table = tables_.find(rows.text(i, 0));
            if (table == tables_.end())
                continue;
            ConstraintRow row;
            row.name = rows.text(i, 1);
            row.type = rows.text(i, 2);
            row.columns = integers(rows.text(i, 3));
            row.parent = rows.text(i, 4);
            row.parentColumns = integers(rows.text(i, 5));
            row.onUpdate = rows.text(i, 6);
            row.onDelete = rows.text(i, 7);
            row.index = rows.text(i, 8);
            row.check = rows.text(i, 9);
            table->second.constraints.push_back(std::move(row));
        }
    }

    static ORXAttribute* column(const TableInfo& table, int attnum) {
        auto found = table.columns.find(attnum);
        return found == table.columns.end() ? nullptr : found->second;
    }

    ORXCandidateKey* buildKey(TableInfo& table, const ConstraintRow& row) {
        auto key = std::make_unique<ORXCandidateKey>();
        key->setName(row.name);
        key->setUnique(true);
        if (!key->addAssociatedClass(table.cls))
            fail("key " + quoted(row.name) + " cannot be added");
        ORXCandidateKey* made = key.release();
        for (int attnum : row.columns) {
            if (ORXAttribute* attribute = column(table, attnum))
                made->addAttribute(attribute);
        }
        table.keys.push_back(made);
        return made;
    }

    ORXIndex* buildIndex(TableInfo& table, const IndexRow& row) {
        auto index = std::make_unique<ORXIndex>();
        index->setName(row.name);
        index->setPhysicalName(row.name);
        index->setUnique(row.unique);
        index->setClustered(row.clustered);
        if (!index->addAssociatedClass(table.cls))
            fail("index " + quoted(row.name) + " cannot be added");
        ORXIndex* made = index.release();
        // Key columns only (INCLUDE columns follow them); 0 stands for an expression.
        std::size_t count = std::min(row.keyCount, row.columns.size());
        for (std::size_t i = 0; i < count && i <= static_cast<std::size_t>(SHRT_MAX); ++i) {
            ORXAttribute* attribute = column(table, row.columns[i]);
            if (!attribute)
                continue;
            bool descending = i < row.options.size() && (row.options[i] & 1) != 0;
            new ORXIndexMember(made, attribute, static_cast<short>(i), descending ? 2 : 1);
        }
        return made;
    }

    void buildKeysAndIndexes(TableInfo& table) {
        bool checkRuleSet = false;
        for (const ConstraintRow& row : table.constraints) {
            if (row.type == "p") {
                ORXCandidateKey* key = buildKey(table, row);
                if (!key->addPrimaryOfClass(table.cls))
                    fail("the primary key " + quoted(row.name) + " cannot be set");
            } else if (row.type == "u") {
                ORXCandidateKey* key = buildKey(table, row);
                auto index = std::find_if(table.indexes.begin(), table.indexes.end(),
                                          [&](const IndexRow& i) { return i.oid == row.index; });
                if (index != table.indexes.end())
                    buildIndex(table, *index)->addKey(key);
            } else if (row.type == "c" && !checkRuleSet) {
                auto rule = std::make_unique<ORXBusinessRule>(3, row.name, row.check);
                if (!table.cls->addBusinessRule(rule.get()))
                    fail("check " + quoted(row.name) + " cannot be added");
                rule.release();
                checkRuleSet = true;
            }
        }
        for (const IndexRow& row : table.indexes) {
            if (!row.backsConstraint)
                buildIndex(table, row);
        }
    }

    void buildForeignKeys(TableInfo& child) {
        for (const ConstraintRow& row : child.constraints) {
            if (row.type == "f")
                buildForeignKey(child, row);
        }
    }

    void buildForeignKey(TableInfo& child, const ConstraintRow& row) {
        auto parentFound = tables_.find(row.parent);
        if (parentFound == tables_.end())
            return;  // a partition or a table of an extension
        TableInfo& parent = parentFound->second;

        auto key = std::make_unique<ORXForeignKey>();
        key->setName(row.name);
        if (!key->addAssociatedClass(child.cls))
            fail("foreign key " + quoted(row.name) + " cannot be added");
        ORXForeignKey* foreignKey = key.release();
        std::vector<ORXAttribute*> referenced;
        for (std::size_t i = 0; i < row.columns.size(); ++i) {
            ORXAttribute* from = column(child, row.columns[i]);
            ORXAttribute* to =
                i < row.parentColumns.size() ? column(parent, row.parentColumns[i]) : nullptr;
            referenced.push_back(to);
            if (!from)
                continue;
            addForeignKeyColumn(foreignKey, from, to);
        }
        if (ORXCandidateKey* parentKey = findKeyWithColumns(parent.keys, referenced))
            foreignKey->addCandidateKey(parentKey);

        if (const char* problem = addReference(package_, row.name, parent.cls, foreignKey,
                                               ruleCode(row.onUpdate), ruleCode(row.onDelete)))
            fail("reference " + quoted(row.name) + problem);
    }

    // ---- triggers and routines ----

    void readTriggers() {
        Rows rows = runOverSchemas(kTriggersQuery);
        for (int i = 0; i < rows.count(); ++i) {
            auto table = tables_.find(rows.text(i, 0));
            if (table == tables_.end())
                continue;  // a trigger on a view has no class to belong to
            std::string name = rows.text(i, 1);
            auto trigger = std::make_unique<ORXOperation>(ORX_ET_TRIGGER);
            trigger->setName(name);
            trigger->setPhysicalName(name);
            trigger->setBody(rows.text(i, 2));
            long long type = rows.integer(i, 3);
            trigger->setTiming((type & kTriggerInstead) ? 2 : (type & kTriggerBefore) ? 0 : 1);
            trigger->setOnInsert((type & kTriggerInsert) != 0);
            trigger->setOnUpdate((type & kTriggerUpdate) != 0);
            trigger->setOnDelete((type & kTriggerDelete) != 0);
            if (!trigger->addAssociatedClass(table->second.cls))
                fail("trigger " + quoted(name) + " cannot be added");
            owners_[trigger.release()] = table->second.schema;
        }
    }

    void readRoutines() {
        Rows rows = runOverSchemas(kRoutinesQuery);
        for (int i = 0; i < rows.count(); ++i) {
            const Schema& schema = schemaOf(rows.text(i, 0));
            std::string name = rows.text(i, 1);
            auto procedure = std::make_unique<ORXOperation>(ORX_ET_STORED_PROCEDURE);
            procedure->setName(name);
            procedure->setPhysicalName(name);
            procedure->setBody(std::string(trim(rows.text(i, 2))));
            procedure->setComment(rows.text(i, 3));
            if (!package_->addStoredProcedure(procedure.get()))
                fail("routine " + quoted(schema.name + "." + name) + " cannot be added");
            owners_[procedure.release()] = schema.schema;
        }
    }

    // Links owners in package order, each table's triggers after it and the
    // stored procedures last: the order in which a model file links them, so
    // that a model and its reloaded dump agree.
    void setOwners() {
        auto link = [&](ORXModelObject* object) {
            auto found = owners_.find(object);
            if (found != owners_.end())
                object->setOwner(found->second);
        };
        for (int i = 0; i < package_->getModelElementCount(); ++i) {
            ORXModelObject* element = package_->getModelElement(i);
            link(element);
            if (auto* cls = dynamic_cast<ORXClass*>(element)) {
                for (int j = 0; j < cls->getOperationCount(); ++j)
                    link(cls->getOperation(j));
            }
        }
        for (int i = 0; i < package_->getStoredProcedureCount(); ++i)
            link(package_->getStoredProcedure(i));
    }

    PGconn* connection_;
    std::string where_;
    ORXDesignPackage* package_ = nullptr;
    std::string schemaList_ = "{}";                    // the schemas' oids as an oid[] literal
    std::unordered_map<std::string, Schema> schemas_;  // by oid
    // Node-based maps: the records stay where they are as the maps grow.
    std::unordered_map<std::string, TableInfo> tables_;  // by oid
    std::vector<std::string> tableOrder_;
    std::unordered_map<std::string, ORXSQLViewEntity*> views_;  // by oid
    std::unordered_map<ORXModelObject*, ORXSchema*> owners_;
};

}  // namespace

bool isPostgresUri(const std::string& input) {
    return input.rfind("postgresql://", 0) == 0 || input.rfind("postgres://", 0) == 0;
}

DatabaseImport loadPostgresDatabase(const std::string& uri) {
    std::string where = maskPassword(uri);
    ConnectionHandle connection(PQconnectdb(uri.c_str()));
    if (!connection)
        throw ModelFileError(where + ": out of memory");
    if (PQstatus(connection.get()) != CONNECTION_OK)
        throw ModelFileError(where + ": " + firstLine(PQerrorMessage(connection.get())));
    // Model texts are UTF-8 whatever the database's encoding.
    if (PQsetClientEncoding(connection.get(), "UTF8") != 0)
        throw ModelFileError(where + ": " + firstLine(PQerrorMessage(connection.get())));
    // A read that an object dropped meanwhile has failed is tried again on a
    // fresh snapshot, a few times.
    for (int attempt = 1;; ++attempt) {
        try {
            return CatalogReader(connection.get(), where).read();
        } catch (const ObjectDropped&) {
            if (attempt == 3)
                throw;
            ResultHandle rollback(PQexec(connection.get(), "ROLLBACK"));
        }
    }
}

}  // namespace importers
