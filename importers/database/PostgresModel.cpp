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

#include "importers/database/ConnectionUri.h"
#include "importers/database/PostgresTypes.h"
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

// Enumerated types and domains, with their base type and its modifier.
constexpr const char* kDomainsQuery =
    "SELECT t.oid, t.typname, t.typtype, t.typbasetype, t.typtypmod,"
    " pg_catalog.format_type(t.typbasetype, t.typtypmod), t.typnotnull, t.typdefault"
    " FROM pg_catalog.pg_type t JOIN pg_catalog.pg_namespace n ON n.oid = t.typnamespace"
    " WHERE t.typnamespace = ANY ($1::pg_catalog.oid[]) AND t.typtype IN ('e', 'd')"
    " AND NOT EXISTS (SELECT 1 FROM pg_catalog.pg_depend d"
    "  WHERE d.classid = 'pg_catalog.pg_type'::pg_catalog.regclass AND d.objid = t.oid"
    "  AND d.deptype = 'e')"
    " ORDER BY n.nspname, t.typname";

constexpr const char* kEnumLabelsQuery =
    "SELECT e.enumtypid, e.enumlabel FROM pg_catalog.pg_enum e"
    " JOIN pg_catalog.pg_type t ON t.oid = e.enumtypid"
    " WHERE t.typnamespace = ANY ($1::pg_catalog.oid[])"
    " ORDER BY e.enumtypid, e.enumsortorder";

constexpr const char* kDomainChecksQuery =
    "SELECT con.contypid, pg_catalog.pg_get_expr(con.conbin, 0)"
    " FROM pg_catalog.pg_constraint con JOIN pg_catalog.pg_type t ON t.oid = con.contypid"
    " WHERE t.typnamespace = ANY ($1::pg_catalog.oid[]) AND con.contype = 'c'"
    " ORDER BY con.contypid, con.conname";

// Sequences that no column owns (serial) or uses as identity.
constexpr const char* kFreeSequencesQuery =
    "SELECT n.nspname, c.relname FROM pg_catalog.pg_class c"
    " JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace"
    " WHERE c.relnamespace = ANY ($1::pg_catalog.oid[]) AND c.relkind = 'S'"
    " AND NOT EXISTS (SELECT 1 FROM pg_catalog.pg_depend d"
    "  WHERE d.classid = 'pg_catalog.pg_class'::pg_catalog.regclass AND d.objid = c.oid"
    "  AND d.deptype IN ('a', 'i', 'e'))"
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
    " CASE WHEN con.contype = 'c' THEN pg_catalog.pg_get_expr(con.conbin, con.conrelid) END,"
    " con.condeferrable"
    " FROM pg_catalog.pg_constraint con JOIN pg_catalog.pg_class c ON c.oid = con.conrelid"
    " WHERE c.relnamespace = ANY ($1::pg_catalog.oid[]) AND con.contype IN ('p', 'u', 'f', 'c')"
    " AND con.conparentid = 0"
    " ORDER BY con.conrelid, con.contype <> 'p', con.conname";

constexpr const char* kIndexesQuery =
    "SELECT i.indrelid, i.indexrelid, ic.relname, i.indisunique, i.indisclustered,"
    " i.indnkeyatts, i.indkey, i.indoption,"
    " EXISTS (SELECT 1 FROM pg_catalog.pg_constraint con WHERE con.conindid = i.indexrelid"
    "  AND con.conrelid = i.indrelid AND con.contype IN ('p', 'u', 'x')),"
    " i.indpred IS NOT NULL,"
    " EXISTS (SELECT 1 FROM pg_catalog.pg_opclass oc"
    "  WHERE oc.oid = ANY (i.indclass::pg_catalog.oid[]) AND NOT oc.opcdefault)"
    " FROM pg_catalog.pg_index i JOIN pg_catalog.pg_class ic ON ic.oid = i.indexrelid"
    " JOIN pg_catalog.pg_class c ON c.oid = i.indrelid"
    " WHERE c.relnamespace = ANY ($1::pg_catalog.oid[])"
    " ORDER BY i.indrelid, ic.relname";

constexpr const char* kTriggersQuery =
    "SELECT t.tgrelid, t.tgname, pg_catalog.pg_get_triggerdef(t.oid), t.tgtype, c.relkind"
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
        readDomains(model);
        readColumns();
        readIndexes();
        readConstraints();
        for (const std::string& oid : tableOrder_)
            buildKeysAndIndexes(tables_.at(oid));
        for (const std::string& oid : tableOrder_)
            buildForeignKeys(tables_.at(oid));
        readTriggers();
        readRoutines();
        readFreeSequences();
        linkOwners(package_, owners_);
        result.triggerCount = countTriggers(*model);
        result.losses = std::move(losses_);
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
        bool deferrable = false;
    };

    struct IndexRow {
        std::string oid, name;
        bool unique = false, clustered = false, backsConstraint = false;
        bool partial = false, operatorClass = false;
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

    // ---- enumerated types and domains ----

    void readDomains(ORXModel* model) {
        std::unordered_map<std::string, std::vector<std::string>> labels;  // by type oid
        {
            Rows rows = runOverSchemas(kEnumLabelsQuery);
            for (int i = 0; i < rows.count(); ++i)
                labels[rows.text(i, 0)].push_back(rows.text(i, 1));
        }
        std::unordered_map<std::string, std::vector<std::string>> checks;  // by type oid
        {
            Rows rows = runOverSchemas(kDomainChecksQuery);
            for (int i = 0; i < rows.count(); ++i)
                checks[rows.text(i, 0)].push_back(stripOuterParentheses(rows.text(i, 1)));
        }
        Rows rows = runOverSchemas(kDomainsQuery);
        for (int i = 0; i < rows.count(); ++i) {
            std::string oid = rows.text(i, 0);
            std::string name = rows.text(i, 1);
            DomainDefinition definition;
            if (rows.text(i, 2) == "e") {
                definition = enumDomain(name, labels[oid]);
            } else {
                definition.name = name;
                definition.type =
                    mapPostgresType(rows.integer(i, 3), rows.integer(i, 4), rows.text(i, 5)).type;
                definition.defaultValue = rows.text(i, 7);
                definition.notNull = rows.flag(i, 6);
                if (!checks[oid].empty())
                    definition.check = joinWithAnd(checks[oid]);
            }
            domains_[oid] = addDomain(model, definition);
        }
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
            int bits = postgresIntegerBits(typeOid);
            bool serial =
                bits != 0 && (!rows.text(i, 7).empty() || defaultValue.rfind("nextval(", 0) == 0);
            std::string comment = rows.text(i, 10);
            made->setOptional(!rows.flag(i, 6));
            if (auto domain = domains_.find(rows.text(i, 3)); domain != domains_.end()) {
                useDomain(made, domain->second);
            } else {
                PostgresColumnType mapped =
                    mapPostgresType(typeOid, rows.integer(i, 4), rows.text(i, 5));
                if (serial)
                    mapped = {autoincrementType(bits), true};
                setColumnType(made, mapped.type);
                if (comment.empty() && !mapped.whole)
                    comment = rows.text(i, 5);
            }
            made->setComment(comment);
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
            index.partial = rows.flag(i, 9);
            index.operatorClass = rows.flag(i, 10);
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
            row.deferrable = rows.flag(i, 10);
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

    // The index of `row`, or null when it is made of expressions alone.
    ORXIndex* buildIndex(TableInfo& table, const IndexRow& row) {
        std::size_t keys = std::min(row.keyCount, row.columns.size());
        // 0 stands for an expression among the key columns.
        std::size_t expressions = static_cast<std::size_t>(std::count(
            row.columns.begin(), row.columns.begin() + static_cast<std::ptrdiff_t>(keys), 0));
        std::string example = table.cls->getName().str() + "." + row.name;
        if (keys > 0 && expressions == keys) {
            losses_.add(loss::kExpressionIndex, example);
            return nullptr;
        }
        if (expressions > 0)
            losses_.add(loss::kIndexExpression, example);
        if (row.partial)
            losses_.add(loss::kPartialIndexCondition, example);
        if (row.operatorClass)
            losses_.add(loss::kOperatorClass, example);
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
        std::vector<CheckConstraint> checks;
        for (const ConstraintRow& row : table.constraints) {
            if (row.deferrable)
                losses_.add(loss::kDeferrable, table.cls->getName().str() + "." + row.name);
            if (row.type == "p") {
                ORXCandidateKey* key = buildKey(table, row);
                if (!key->addPrimaryOfClass(table.cls))
                    fail("the primary key " + quoted(row.name) + " cannot be set");
            } else if (row.type == "u") {
                ORXCandidateKey* key = buildKey(table, row);
                auto index = std::find_if(table.indexes.begin(), table.indexes.end(),
                                          [&](const IndexRow& i) { return i.oid == row.index; });
                if (index != table.indexes.end()) {
                    if (ORXIndex* made = buildIndex(table, *index))
                        made->addKey(key);
                }
            } else if (row.type == "c") {
                CheckConstraint check{row.name, row.check, {}};
                for (int attnum : row.columns) {
                    if (ORXAttribute* attribute = column(table, attnum))
                        check.columns.push_back(attribute);
                }
                checks.push_back(std::move(check));
            }
        }
        placeChecks(table.cls, checks);
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
        if (parentFound == tables_.end()) {
            // A partition or a table of an extension.
            losses_.add(loss::kMissingParent, child.cls->getName().str() + "." + row.name);
            return;
        }
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

    void readFreeSequences() {
        Rows rows = runOverSchemas(kFreeSequencesQuery);
        for (int i = 0; i < rows.count(); ++i)
            losses_.add(loss::kFreeSequence, rows.text(i, 0) + "." + rows.text(i, 1));
    }

    // ---- triggers and routines ----

    void readTriggers() {
        Rows rows = runOverSchemas(kTriggersQuery);
        for (int i = 0; i < rows.count(); ++i) {
            auto table = tables_.find(rows.text(i, 0));
            std::string name = rows.text(i, 1);
            if (table == tables_.end()) {
                // A trigger on a view has no class to belong to.
                if (rows.text(i, 4) == "v")
                    losses_.add(loss::kViewTrigger, name);
                continue;
            }
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
    std::unordered_map<std::string, Domain> domains_;  // by type oid
    LossReport losses_;
};

}  // namespace

bool isPostgresUri(const std::string& input) {
    return input.rfind("postgresql://", 0) == 0 || input.rfind("postgres://", 0) == 0;
}

DatabaseImport loadPostgresDatabase(const std::string& uri) {
    const MaskedConnectionUri masked = maskConnectionUri(uri);
    const std::string& where = masked.masked;
    // libpq's own message for a URI it cannot parse quotes the URI's text,
    // secrets included, so it is never shown.
    char* parseError = nullptr;
    PQconninfoOption* parsed = PQconninfoParse(uri.c_str(), &parseError);
    if (parseError)
        PQfreemem(parseError);
    if (!parsed)
        throw ModelFileError(where + ": not a valid connection URI");
    PQconninfoFree(parsed);
    // A server that accepts the connection and never answers must not hang
    // the program: 10 seconds unless the URI sets its own connect_timeout
    // (the URI's parameters come later and win).
    const char* const keywords[] = {"connect_timeout", "dbname", nullptr};
    const char* const values[] = {"10", uri.c_str(), nullptr};
    ConnectionHandle connection(PQconnectdbParams(keywords, values, 1));
    auto failure = [&] {
        return ModelFileError(
            where + ": " +
            hideConnectionSecrets(firstLine(PQerrorMessage(connection.get())), masked));
    };
    if (!connection)
        throw ModelFileError(where + ": out of memory");
    if (PQstatus(connection.get()) != CONNECTION_OK)
        throw failure();
    // Model texts are UTF-8 whatever the database's encoding.
    if (PQsetClientEncoding(connection.get(), "UTF8") != 0)
        throw failure();
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
