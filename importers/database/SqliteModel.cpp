#include "importers/database/SqliteModel.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "importers/database/SourceSupport.h"
#include "importers/database/SqliteTypes.h"

namespace importers {

namespace {

// ---- text ------------------------------------------------------------------

// SQLite folds ASCII letters only when it compares names, so do we.
char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The key under which a table, view or column name is looked up: SQLite
// names are unique ignoring ASCII case.
std::string nameKey(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lowerAscii);
    return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upperAscii(a[i]) != upperAscii(b[i]))
            return false;
    }
    return true;
}

bool isWordChar(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || u >= 0x80;
}

// ---- SQL tokens at the top level of a statement ------------------------------

enum class TokenKind { Word, Quoted, Group, Symbol };

// One token of a statement; a parenthesised group is one token.
struct Token {
    TokenKind kind;
    std::string_view text;
    std::size_t end;  // offset just past the token

    bool isWord(std::string_view keyword) const {
        return kind == TokenKind::Word && equalsIgnoringCase(text, keyword);
    }
    bool isSymbol(char c) const {
        return kind == TokenKind::Symbol && text.size() == 1 && text[0] == c;
    }
    bool isName() const { return kind == TokenKind::Word || kind == TokenKind::Quoted; }
};

// Skips white space and comments from `i`.
std::size_t skipSpaceAndComments(std::string_view sql, std::size_t i) {
    while (i < sql.size()) {
        if (isSpace(sql[i])) {
            ++i;
        } else if (sql.compare(i, 2, "--") == 0 || sql.compare(i, 2, "/*") == 0) {
            i = skipQuotedOrComment(sql, i);
        } else {
            break;
        }
    }
    return i;
}

// The tokens of `sql` outside parentheses, or with `flat` all of them, each
// parenthesis then a symbol of its own. Strings, quoted names and comments
// are skipped whole, so that a parenthesis or keyword inside them counts for
// nothing.
std::vector<Token> topLevelTokens(std::string_view sql, bool flat = false) {
    std::vector<Token> tokens;
    int depth = 0;
    std::size_t groupStart = 0;
    std::size_t i = 0;
    while ((i = skipSpaceAndComments(sql, i)) < sql.size()) {
        std::size_t start = i;
        char c = sql[i];
        TokenKind kind = TokenKind::Symbol;
        if (c == '\'' || c == '"' || c == '`' || c == '[') {
            i = skipQuotedOrComment(sql, i);
            kind = TokenKind::Quoted;
        } else if (isWordChar(c)) {
            while (i < sql.size() && isWordChar(sql[i]))
                ++i;
            kind = TokenKind::Word;
        } else if (flat) {
            ++i;
        } else if (c == '(') {
            if (depth++ == 0)
                groupStart = start;
            ++i;
            continue;
        } else if (c == ')' && depth > 0) {
            ++i;
            if (--depth == 0)
                tokens.push_back({TokenKind::Group, sql.substr(groupStart, i - groupStart), i});
            continue;
        } else {
            ++i;
        }
        if (depth == 0)
            tokens.push_back({kind, sql.substr(start, i - start), i});
    }
    return tokens;
}

// The name a word or quoted token stands for.
std::string nameOf(const Token& token) {
    if (token.kind != TokenKind::Quoted || token.text.size() < 2)
        return std::string(token.text);
    char open = token.text.front();
    char close = open == '[' ? ']' : open;
    std::string_view inner = token.text.substr(1, token.text.size() - 2);
    std::string out;
    for (std::size_t i = 0; i < inner.size(); ++i) {
        out += inner[i];
        if (close != ']' && inner[i] == close && i + 1 < inner.size() && inner[i + 1] == close)
            ++i;
    }
    return out;
}

// Whether `keyword` is a word of `sql` (not within a string, quoted name or comment).
bool hasKeyword(std::string_view sql, std::string_view keyword) {
    std::vector<Token> tokens = topLevelTokens(sql, true);
    return std::any_of(tokens.begin(), tokens.end(),
                       [&](const Token& token) { return token.isWord(keyword); });
}

// The SELECT of a CREATE VIEW statement: what follows its first top-level AS.
std::string viewStatement(std::string_view sql) {
    for (const Token& token : topLevelTokens(sql)) {
        if (token.isWord("AS"))
            return std::string(trim(sql.substr(token.end)));
    }
    return std::string(trim(sql));
}

// The table or view a SELECT reads when it reads exactly one, by name.
std::optional<std::string> singleSource(std::string_view select) {
    std::vector<Token> tokens = topLevelTokens(select);
    if (tokens.empty() || tokens.front().isWord("WITH"))
        return std::nullopt;
    for (const Token& token : tokens) {
        if (token.isWord("UNION") || token.isWord("INTERSECT") || token.isWord("EXCEPT"))
            return std::nullopt;
    }
    auto from = std::find_if(tokens.begin(), tokens.end(),
                             [](const Token& token) { return token.isWord("FROM"); });
    if (from == tokens.end() || ++from == tokens.end() || !from->isName())
        return std::nullopt;
    std::string name = nameOf(*from);
    auto next = from + 1;
    if (next != tokens.end() && next->isSymbol('.')) {
        if (next + 1 == tokens.end() || !(next + 1)->isName() || !equalsIgnoringCase(name, "main"))
            return std::nullopt;
        name = nameOf(*(next + 1));
        next += 2;
    }
    // What may follow the one table: an alias and INDEXED BY, up to the next clause.
    for (; next != tokens.end(); ++next) {
        if (next->isWord("WHERE") || next->isWord("GROUP") || next->isWord("ORDER") ||
            next->isWord("LIMIT") || next->isWord("HAVING") || next->isWord("WINDOW"))
            break;
        if (next->isSymbol(',') || next->isWord("JOIN") || next->kind == TokenKind::Group)
            return std::nullopt;
    }
    return name;
}

// ---- CHECK constraints of a CREATE TABLE statement ----------------------------

// A CHECK constraint as the statement declares it: its name (empty when
// none), its expression, and the column it is declared on (empty for a
// table constraint).
struct DeclaredCheck {
    std::string name;
    std::string expression;
    std::string column;
};

// The items of the column list of a CREATE TABLE statement: column
// definitions and table constraints, split at the list's own commas.
std::vector<std::string_view> tableItems(std::string_view sql) {
    std::vector<Token> tokens = topLevelTokens(sql);
    // CREATE TABLE ... AS SELECT has no column list (and no checks).
    auto list = std::find_if(tokens.begin(), tokens.end(), [](const Token& token) {
        return token.kind == TokenKind::Group || token.isWord("AS");
    });
    std::vector<std::string_view> items;
    if (list == tokens.end() || list->kind != TokenKind::Group || list->text.size() < 2)
        return items;
    std::string_view inner = list->text.substr(1, list->text.size() - 2);
    std::size_t start = 0;
    for (const Token& token : topLevelTokens(inner)) {
        if (token.isSymbol(',')) {
            items.push_back(inner.substr(start, token.end - 1 - start));
            start = token.end;
        }
    }
    items.push_back(inner.substr(start));
    return items;
}

// Every CHECK constraint of a CREATE TABLE statement, in declaration order.
std::vector<DeclaredCheck> declaredChecks(std::string_view sql) {
    std::vector<DeclaredCheck> checks;
    for (std::string_view item : tableItems(sql)) {
        std::vector<Token> tokens = topLevelTokens(item);
        if (tokens.empty())
            continue;
        // A table constraint starts with one of these words; a column
        // definition with the column's name.
        const Token& first = tokens.front();
        bool tableConstraint =
            first.kind == TokenKind::Word &&
            (first.isWord("CONSTRAINT") || first.isWord("PRIMARY") || first.isWord("UNIQUE") ||
             first.isWord("CHECK") || first.isWord("FOREIGN"));
        std::string column = tableConstraint ? std::string() : nameOf(first);
        std::string name;
        for (std::size_t i = tableConstraint ? 0 : 1; i < tokens.size(); ++i) {
            if (tokens[i].isWord("CONSTRAINT") && i + 1 < tokens.size()) {
                name = nameOf(tokens[++i]);
            } else if (tokens[i].isWord("CHECK") && i + 1 < tokens.size() &&
                       tokens[i + 1].kind == TokenKind::Group) {
                std::string_view group = tokens[++i].text;
                checks.push_back(
                    {name, std::string(trim(group.substr(1, group.size() - 2))), column});
                name.clear();
            } else if (tokens[i].kind == TokenKind::Word) {
                // Another constraint begins: a name given before it was its own.
                name.clear();
            }
        }
    }
    return checks;
}

// The names a CHECK expression reads: its words and quoted names (strings
// in single quotes are values, not names).
std::vector<std::string> namesRead(std::string_view expression) {
    std::vector<std::string> names;
    for (const Token& token : topLevelTokens(expression, true)) {
        if (token.kind == TokenKind::Word ||
            (token.kind == TokenKind::Quoted && token.text.front() != '\''))
            names.push_back(nameOf(token));
    }
    return names;
}

// Timing and event of a CREATE TRIGGER statement.
struct TriggerHeader {
    int timing = 0;  // SQLite fires a trigger declared without timing BEFORE
    bool onInsert = false, onUpdate = false, onDelete = false;
};

TriggerHeader triggerHeader(std::string_view sql) {
    TriggerHeader header;
    std::vector<Token> tokens = topLevelTokens(sql);
    auto it = std::find_if(tokens.begin(), tokens.end(),
                           [](const Token& token) { return token.isWord("TRIGGER"); });
    if (it != tokens.end())
        ++it;
    if (it != tokens.end() && it->isWord("IF"))
        it += std::min<std::ptrdiff_t>(3, tokens.end() - it);
    // The trigger's own name, which may be any word, possibly schema-qualified.
    if (it != tokens.end())
        ++it;
    if (it != tokens.end() && it->isSymbol('.'))
        it += std::min<std::ptrdiff_t>(2, tokens.end() - it);
    for (; it != tokens.end() && !it->isWord("ON"); ++it) {
        if (it->isWord("BEFORE")) {
            header.timing = 0;
        } else if (it->isWord("AFTER")) {
            header.timing = 1;
        } else if (it->isWord("INSTEAD")) {
            header.timing = 2;
        } else if (it->isWord("INSERT") || it->isWord("UPDATE") || it->isWord("DELETE")) {
            // One event per trigger; what follows up to ON is the UPDATE OF column list.
            header.onInsert = it->isWord("INSERT");
            header.onUpdate = it->isWord("UPDATE");
            header.onDelete = it->isWord("DELETE");
            break;
        }
    }
    return header;
}

// The rule code of a foreign key action as SQLite names it.
int ruleCode(std::string_view action) {
    if (equalsIgnoringCase(action, "NO ACTION"))
        return 1;
    if (equalsIgnoringCase(action, "CASCADE"))
        return 2;
    if (equalsIgnoringCase(action, "RESTRICT"))
        return 3;
    if (equalsIgnoringCase(action, "SET NULL"))
        return 4;
    if (equalsIgnoringCase(action, "SET DEFAULT"))
        return 5;
    return 0;
}

// ---- SQLite handles -------------------------------------------------------------

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// SQLite's message for the last failure on `db`, in our words where we have them.
std::string sqliteMessage(sqlite3* db, int code) {
    if ((code & 0xff) == SQLITE_NOTADB)
        return "not a SQLite database";
    return sqlite3_errmsg(db);
}

DatabaseHandle openDatabase(const std::string& path, const std::string& filename, int flags) {
    sqlite3* raw = nullptr;
    int code = sqlite3_open_v2(filename.c_str(), &raw, flags, nullptr);
    DatabaseHandle db(raw);
    if (code != SQLITE_OK) {
        std::string message = db ? sqliteMessage(db.get(), code) : sqlite3_errstr(code);
        throw ModelFileError(path + ": " + message);
    }
    sqlite3_extended_result_codes(db.get(), 1);
    return db;
}

// Fails unless `path` names something that can be opened as a file.
void checkOpenable(const std::string& path, std::ifstream& in) {
    if (!in)
        throw ModelFileError(path + ": cannot open the file: " + std::strerror(errno));
    // A directory opens as a stream that reads nothing.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored))
        throw ModelFileError(path + ": cannot open the file: " + std::strerror(EISDIR));
}

std::string readScript(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    checkOpenable(path, in);
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw ModelFileError(path + ": cannot read the file");
    return text.str();
}

// A script is an input: it is read into memory and never writes to disk.
// ATTACH (also run inside VACUUM INTO) would create or change a database
// file anywhere, DETACH goes with it, and extensions are native code.
int refuseDiskAccess(void* refused, int action, const char*, const char* second, const char*,
                     const char*) {
    const bool extension =
        action == SQLITE_FUNCTION && second && sqlite3_stricmp(second, "load_extension") == 0;
    if (action == SQLITE_ATTACH || action == SQLITE_DETACH || extension) {
        *static_cast<bool*>(refused) = true;
        return SQLITE_DENY;
    }
    return SQLITE_OK;
}

// Runs every statement of `script` in turn; a failure names the line on which
// the failing statement starts.
void runScript(sqlite3* db, const std::string& script, const std::string& path) {
    if (script.size() > static_cast<std::size_t>(INT_MAX))
        throw ModelFileError(path + ": the script is too large");
    bool refused = false;
    sqlite3_set_authorizer(db, refuseDiskAccess, &refused);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
    std::string_view text = script;
    std::size_t cursor = 0;
    std::size_t counted = 0;
    int line = 1;
    while ((cursor = skipSpaceAndComments(text, cursor)) < text.size()) {
        line +=
            static_cast<int>(std::count(text.begin() + static_cast<std::ptrdiff_t>(counted),
                                        text.begin() + static_cast<std::ptrdiff_t>(cursor), '\n'));
        counted = cursor;
        auto fail = [&](const std::string& message) {
            if (refused || sqlite3_errcode(db) == SQLITE_AUTH ||
                message.rfind("too many attached databases", 0) == 0) {
                throw ModelFileError(path + ": line " + std::to_string(line) +
                                     ": ATTACH, DETACH, VACUUM INTO and load_extension are "
                                     "refused: a script is only read, it never writes to disk");
            }
            throw ModelFileError(path + ": line " + std::to_string(line) + ": " + message);
        };
        const char* start = script.data() + cursor;
        const char* tail = nullptr;
        sqlite3_stmt* raw = nullptr;
        int code =
            sqlite3_prepare_v2(db, start, static_cast<int>(text.size() - cursor), &raw, &tail);
        StatementHandle statement(raw);
        if (code != SQLITE_OK)
            fail(sqlite3_errmsg(db));
        if (!tail || tail <= start)
            fail("unexpected zero byte");  // SQLite reads no further than a NUL
        cursor = static_cast<std::size_t>(tail - script.data());
        if (!statement)
            continue;  // a lone semicolon
        while ((code = sqlite3_step(statement.get())) == SQLITE_ROW) {
        }
        if (code != SQLITE_DONE)
            fail(sqlite3_errmsg(db));
    }
}

// ---- the schema reader ------------------------------------------------------------

// A prepared query over the schema, with one text parameter.
class Query {
  public:
    Query(sqlite3* db, const std::string& path, const char* sql, std::string_view argument = {})
        : db_(db), path_(path) {
        sqlite3_stmt* raw = nullptr;
        int code = sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
        statement_.reset(raw);
        if (code != SQLITE_OK)
            fail(code);
        if (sqlite3_bind_parameter_count(raw) > 0) {
            code = sqlite3_bind_text(raw, 1, argument.data(), static_cast<int>(argument.size()),
                                     SQLITE_TRANSIENT);
            if (code != SQLITE_OK)
                fail(code);
        }
    }

    // Steps to the next row; false at the end.
    bool next() {
        int code = sqlite3_step(statement_.get());
        if (code == SQLITE_ROW)
            return true;
        if (code != SQLITE_DONE)
            fail(code);
        return false;
    }

    bool isNull(int column) const {
        return sqlite3_column_type(statement_.get(), column) == SQLITE_NULL;
    }
    std::string text(int column) const {
        const unsigned char* value = sqlite3_column_text(statement_.get(), column);
        int size = sqlite3_column_bytes(statement_.get(), column);
        return value ? std::string(reinterpret_cast<const char*>(value),
                                   static_cast<std::size_t>(size))
                     : std::string();
    }
    long long integer(int column) const { return sqlite3_column_int64(statement_.get(), column); }

  private:
    [[noreturn]] void fail(int code) const {
        throw ModelFileError(path_ + ": " + sqliteMessage(db_, code));
    }

    sqlite3* db_;
    const std::string& path_;
    StatementHandle statement_;
};

// Whether a query runs to its end without an error (used where a failure
// only means that SQLite cannot describe the object, as for a view of a
// dropped table).
bool runsCleanly(sqlite3* db, const char* sql, std::string_view argument) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return false;
    }
    StatementHandle statement(raw);
    sqlite3_bind_text(raw, 1, argument.data(), static_cast<int>(argument.size()), SQLITE_TRANSIENT);
    int code;
    while ((code = sqlite3_step(raw)) == SQLITE_ROW) {
    }
    return code == SQLITE_DONE;
}

// The detection name of the target a SQLite schema is written for by
// default: the generic target that keeps the most of SQLite's types.
constexpr const char* kDetectedTarget = "ODBC 3.0";

class SchemaReader {
  public:
    SchemaReader(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}

    DatabaseImport read() {
        DatabaseImport result;
        result.serverVersion = std::string("SQLite ") + sqlite3_libversion();
        result.detectedTarget = kDetectedTarget;
        result.detectedTargetHasTriggers = false;
        result.model = std::make_unique<ORXModel>();
        ORXModel* model = result.model.get();
        std::string name = std::filesystem::path(path_).stem().string();
        model->setName(name);

        auto catalog = std::make_unique<ORXCatalog>();
        catalog->setName(name);
        catalog->setDatabaseType(kDetectedTarget);
        catalog->setComment(result.serverVersion);
        ORXCatalog* catalogMade = catalog.get();
        if (!model->addChildPackage(catalog.get()))
            fail("the catalog cannot be added");
        catalog.release();

        auto schema = std::make_unique<ORXSchema>();
        schema->setName("main");
        if (!catalogMade->addChildPackage(schema.get()))
            fail("the schema cannot be added");
        schema_ = schema.release();

        auto package = std::make_unique<ORXDesignPackage>();
        package->setName("main");
        package->setPackageFlag(false);
        if (!model->addChildPackage(package.get()))
            fail("the package cannot be added");
        package_ = package.release();

        std::vector<SchemaRow> rows = readSchemaTable();
        for (const SchemaRow& row : rows) {
            if (row.type == "table")
                buildTable(row);
            else if (row.type == "view")
                buildView(row);
        }
        for (ViewInfo* view : viewOrder_)
            linkViewSources(*view);
        for (const SchemaRow& row : rows) {
            if (row.type == "trigger")
                buildTrigger(row);
        }
        for (TableInfo* table : tableOrder_)
            buildForeignKeys(*table);
        setOwners();
        result.triggerCount = countTriggers(*model);
        result.losses = std::move(losses_);
        return result;
    }

  private:
    struct SchemaRow {
        std::string type, name, tableName, sql;
    };

    struct TableInfo {
        ORXClass* cls = nullptr;
        std::unordered_map<std::string, ORXAttribute*> columns;  // by nameKey
        std::vector<ORXAttribute*> primaryKeyColumns;
        std::vector<ORXCandidateKey*> keys;  // the primary key first, then unique keys
    };

    struct ViewInfo {
        ORXSQLViewEntity* view = nullptr;
        std::size_t order = 0;
        std::unordered_map<std::string, ORXSQLViewAttribute*> columns;  // by nameKey
    };

    [[noreturn]] void fail(const std::string& message) const {
        throw ModelFileError(path_ + ": " + message);
    }

    static std::string quoted(std::string_view name) { return "'" + std::string(name) + "'"; }

    std::vector<SchemaRow> readSchemaTable() {
        Query query(db_, path_,
                    "SELECT type, name, tbl_name, sql FROM main.sqlite_master"
                    " WHERE type IN ('table', 'view', 'trigger')"
                    " AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid");
        std::vector<SchemaRow> rows;
        while (query.next())
            rows.push_back({query.text(0), query.text(1), query.text(2), query.text(3)});
        std::vector<std::string> shadows = shadowTables();
        rows.erase(std::remove_if(rows.begin(), rows.end(),
                                  [&](const SchemaRow& row) {
                                      bool shadow = std::find(shadows.begin(), shadows.end(),
                                                              row.name) != shadows.end();
                                      if (shadow)
                                          losses_.add(loss::kShadowTable, row.name);
                                      return shadow;
                                  }),
                   rows.end());
        return rows;
    }

    // The tables in which virtual tables keep their content: storage, not
    // design. Libraries too old to list them have none to show.
    std::vector<std::string> shadowTables() {
        const char* sql =
            "SELECT name FROM pragma_table_list WHERE schema = 'main' AND type = 'shadow'";
        std::vector<std::string> names;
        if (!runsCleanly(db_, sql, {}))
            return names;
        Query query(db_, path_, sql);
        while (query.next())
            names.push_back(query.text(0));
        return names;
    }

    // ---- tables ----

    struct ColumnRow {
        std::string name, type, defaultValue;
        bool notNull;
        long long pk;
    };

    void buildTable(const SchemaRow& row) {
        // A virtual table whose module this library lacks cannot be described.
        std::vector<Token> head = topLevelTokens(row.sql);
        bool isVirtual = head.size() > 1 && head[1].isWord("VIRTUAL");
        if (isVirtual) {
            if (!runsCleanly(db_, "SELECT * FROM pragma_table_xinfo(?1, 'main')", row.name)) {
                losses_.add(loss::kUnreadableVirtualTable, row.name);
                return;
            }
            losses_.add(loss::kVirtualTable, row.name);
        }

        auto cls = std::make_unique<ORXClass>();
        cls->setName(row.name);
        cls->setPhysicalName(row.name);
        if (!cls->addDesignPackage(package_))
            fail("table " + quoted(row.name) + " cannot be added to the model");
        ORXClass* made = cls.release();
        TableInfo& table = tables_[nameKey(row.name)];
        table.cls = made;
        tableOrder_.push_back(&table);

        std::vector<ColumnRow> columns;
        {
            Query query(db_, path_,
                        "SELECT name, type, \"notnull\", dflt_value, pk, hidden"
                        " FROM pragma_table_xinfo(?1, 'main') ORDER BY cid",
                        row.name);
            while (query.next()) {
                if (query.integer(5) == 1)
                    continue;  // hidden columns of virtual tables
                columns.push_back({query.text(0), query.text(1), query.text(3),
                                   query.integer(2) != 0, query.integer(4)});
            }
        }
        std::size_t keyColumns = static_cast<std::size_t>(std::count_if(
            columns.begin(), columns.end(), [](const ColumnRow& c) { return c.pk > 0; }));
        // AUTOINCREMENT is only allowed on the INTEGER PRIMARY KEY, so the word
        // anywhere in the statement marks that column.
        bool autoincrement = hasKeyword(row.sql, "AUTOINCREMENT");

        std::vector<std::pair<long long, ORXAttribute*>> primaryKey;
        for (const ColumnRow& column : columns) {
            auto attribute = std::make_unique<ORXAttribute>();
            attribute->setName(column.name);
            attribute->setPhysicalName(column.name);
            if (!attribute->addAssociatedClass(made)) {
                fail("table " + quoted(row.name) + " has two columns named " + quoted(column.name));
            }
            ORXAttribute* attr = attribute.release();
            SqliteColumnType mapped = mapSqliteType(column.type);
            // The INTEGER PRIMARY KEY is the table's 64-bit rowid.
            if (autoincrement && keyColumns == 1 && column.pk == 1 &&
                equalsIgnoringCase(trim(column.type), "INTEGER"))
                mapped = {autoincrementType(64), true};
            if (!mapped.whole)
                attr->setComment(column.type);
            setColumnType(attr, mapped.type);
            attr->setOptional(!column.notNull && column.pk == 0);
            attr->setInitialValue(column.defaultValue);
            table.columns.emplace(nameKey(column.name), attr);
            if (column.pk > 0)
                primaryKey.emplace_back(column.pk, attr);
        }

        if (!primaryKey.empty()) {
            std::stable_sort(primaryKey.begin(), primaryKey.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            auto key = std::make_unique<ORXCandidateKey>();
            key->setName("PK_" + row.name);
            key->setUnique(true);
            if (!key->addAssociatedClass(made))
                fail("the primary key of table " + quoted(row.name) + " cannot be added");
            ORXCandidateKey* keyMade = key.release();
            for (const auto& entry : primaryKey) {
                keyMade->addAttribute(entry.second);
                table.primaryKeyColumns.push_back(entry.second);
            }
            if (!keyMade->addPrimaryOfClass(made))
                fail("the primary key of table " + quoted(row.name) + " cannot be set");
            table.keys.push_back(keyMade);
        }
        if (!isVirtual)
            placeChecks(made, checksOf(row.sql, table));
        buildIndexes(row.name, table);
    }

    // The CHECK constraints of a table, each with the columns it reads; a
    // check declared on a column that reads none is that column's.
    std::vector<CheckConstraint> checksOf(std::string_view sql, const TableInfo& table) {
        std::vector<CheckConstraint> checks;
        for (const DeclaredCheck& declared : declaredChecks(sql)) {
            CheckConstraint check{declared.name, declared.expression, {}};
            for (const std::string& name : namesRead(declared.expression)) {
                ORXAttribute* column = findColumn(table, name);
                if (column && std::find(check.columns.begin(), check.columns.end(), column) ==
                                  check.columns.end())
                    check.columns.push_back(column);
            }
            if (check.columns.empty() && !declared.column.empty()) {
                if (ORXAttribute* own = findColumn(table, declared.column))
                    check.columns.push_back(own);
            }
            checks.push_back(std::move(check));
        }
        return checks;
    }

    struct IndexRow {
        std::string name, origin;
        bool unique, partial;
    };

    struct MemberRow {
        long long position;
        ORXAttribute* column;  // null for an expression
        bool descending;
    };

    void buildIndexes(const std::string& tableName, TableInfo& table) {
        std::vector<IndexRow> indexes;
        {
            // SQLite lists the newest index first.
            Query query(
                db_, path_,
                "SELECT name, \"unique\", origin, partial FROM pragma_index_list(?1, 'main')"
                " ORDER BY seq DESC",
                tableName);
            while (query.next())
                indexes.push_back(
                    {query.text(0), query.text(2), query.integer(1) != 0, query.integer(3) != 0});
        }
        for (const IndexRow& row : indexes) {
            // The primary key's own index is SQLite's storage detail.
            if (row.origin == "pk")
                continue;
            std::vector<MemberRow> members;
            bool hasExpression = false;
            {
                Query query(db_, path_,
                            "SELECT seqno, cid, name, \"desc\" FROM pragma_index_xinfo(?1, 'main')"
                            " WHERE key = 1 ORDER BY seqno",
                            row.name);
                while (query.next()) {
                    // Expressions (-2) and the bare rowid (-1) are no columns of the table.
                    ORXAttribute* column = nullptr;
                    if (query.integer(1) >= 0 && !query.isNull(2))
                        column = findColumn(table, query.text(2));
                    hasExpression = hasExpression || query.integer(1) == -2;
                    if (column && query.integer(0) <= SHRT_MAX)
                        members.push_back({query.integer(0), column, query.integer(3) != 0});
                }
            }
            std::string example = tableName + "." + row.name;
            // An index of expressions alone has nothing the model can hold.
            if (members.empty() && hasExpression) {
                losses_.add(loss::kExpressionIndex, example);
                continue;
            }
            if (hasExpression)
                losses_.add(loss::kIndexExpression, example);
            if (row.partial)
                losses_.add(loss::kPartialIndexCondition, example);
            ORXCandidateKey* key = nullptr;
            if (row.origin == "u") {
                auto candidate = std::make_unique<ORXCandidateKey>();
                candidate->setName(row.name);
                candidate->setUnique(true);
                if (!candidate->addAssociatedClass(table.cls))
                    fail("the unique key " + quoted(row.name) + " cannot be added");
                key = candidate.release();
                table.keys.push_back(key);
            }
            auto index = std::make_unique<ORXIndex>();
            index->setName(row.name);
            index->setPhysicalName(row.name);
            index->setUnique(row.unique);
            if (!index->addAssociatedClass(table.cls))
                fail("index " + quoted(row.name) + " cannot be added");
            ORXIndex* made = index.release();
            for (const MemberRow& member : members) {
                new ORXIndexMember(made, member.column, static_cast<short>(member.position),
                                   member.descending ? 2 : 1);
                if (key)
                    key->addAttribute(member.column);
            }
            if (key)
                made->addKey(key);
        }
    }

    // ---- views ----

    void buildView(const SchemaRow& row) {
        auto view = std::make_unique<ORXSQLViewEntity>();
        view->setName(row.name);
        view->setPhysicalName(row.name);
        view->setViewStatement(viewStatement(row.sql));
        view->setViewStatementKind(1);
        if (!view->addDesignPackage(package_))
            fail("view " + quoted(row.name) + " cannot be added to the model");
        ORXSQLViewEntity* made = view.release();
        ViewInfo& info = views_[nameKey(row.name)];
        info.view = made;
        info.order = viewOrder_.size();
        viewOrder_.push_back(&info);

        // A view over a table that was dropped since cannot be described: it
        // keeps its statement and gets no columns.
        const char* columnsQuery = "SELECT name FROM pragma_table_info(?1, 'main') ORDER BY cid";
        if (!runsCleanly(db_, columnsQuery, row.name)) {
            losses_.add(loss::kUnresolvedView, row.name);
            return;
        }
        Query query(db_, path_, columnsQuery, row.name);
        while (query.next()) {
            auto column = std::make_unique<ORXSQLViewAttribute>();
            std::string name = query.text(0);
            column->setName(name);
            column->setPhysicalName(name);
            if (!column->addAssociatedView(made))
                fail("view " + quoted(row.name) + " cannot take column " + quoted(name));
            info.columns.emplace(nameKey(name), column.release());
        }
    }

    void linkViewSources(ViewInfo& view) {
        std::optional<std::string> source = singleSource(view.view->getViewStatement().view());
        if (!source)
            return;
        std::string key = nameKey(*source);
        auto table = tables_.find(key);
        auto other = views_.find(key);
        for (int i = 0; i < view.view->getSQLViewAttributeCount(); ++i) {
            ORXSQLViewAttribute* column = view.view->getSQLViewAttribute(i);
            std::string columnKey = nameKey(column->getName().view());
            ORXFeature* feature = nullptr;
            if (table != tables_.end()) {
                auto found = table->second.columns.find(columnKey);
                if (found != table->second.columns.end())
                    feature = found->second;
            } else if (other != views_.end() && other->second.order < view.order) {
                // Only earlier views, so that sources never run in a circle.
                auto found = other->second.columns.find(columnKey);
                if (found != other->second.columns.end())
                    feature = found->second;
            }
            if (feature)
                column->setSourceFeature(feature);
        }
    }

    // ---- triggers ----

    void buildTrigger(const SchemaRow& row) {
        auto table = tables_.find(nameKey(row.tableName));
        if (table == tables_.end()) {
            // A trigger on a view has no class to belong to.
            losses_.add(loss::kViewTrigger, row.name);
            return;
        }
        auto trigger = std::make_unique<ORXOperation>(ORX_ET_TRIGGER);
        trigger->setName(row.name);
        trigger->setPhysicalName(row.name);
        trigger->setBody(row.sql);
        TriggerHeader header = triggerHeader(row.sql);
        trigger->setTiming(header.timing);
        trigger->setOnInsert(header.onInsert);
        trigger->setOnUpdate(header.onUpdate);
        trigger->setOnDelete(header.onDelete);
        if (!trigger->addAssociatedClass(table->second.cls))
            fail("trigger " + quoted(row.name) + " cannot be added");
        trigger.release();
    }

    // The schema owns every table, trigger and view, linked in package order
    // with each table's triggers after it: the order in which a model file
    // links them, so that a model and its reloaded dump agree.
    void setOwners() {
        for (int i = 0; i < package_->getModelElementCount(); ++i) {
            ORXModelObject* element = package_->getModelElement(i);
            if (element->getElementType() != ORX_ET_CLASS &&
                element->getElementType() != ORX_ET_SQL_VIEW_ENTITY)
                continue;
            element->setOwner(schema_);
            if (auto* cls = dynamic_cast<ORXClass*>(element)) {
                for (int j = 0; j < cls->getOperationCount(); ++j)
                    cls->getOperation(j)->setOwner(schema_);
            }
        }
    }

    // ---- foreign keys ----

    struct ForeignKeyRow {
        long long id;
        std::string parent, from, to, onUpdate, onDelete;
        bool toIsNull;
    };

    void buildForeignKeys(TableInfo& child) {
        std::vector<ForeignKeyRow> rows;
        {
            // SQLite numbers the foreign keys from the last declared one.
            Query query(db_, path_,
                        "SELECT id, \"table\", \"from\", \"to\", on_update, on_delete"
                        " FROM pragma_foreign_key_list(?1, 'main') ORDER BY id DESC, seq",
                        child.cls->getName().view());
            while (query.next()) {
                rows.push_back({query.integer(0), query.text(1), query.text(2), query.text(3),
                                query.text(4), query.text(5), query.isNull(3)});
            }
        }
        for (std::size_t begin = 0; begin < rows.size();) {
            std::size_t end = begin;
            while (end < rows.size() && rows[end].id == rows[begin].id)
                ++end;
            buildForeignKey(child, rows, begin, end);
            begin = end;
        }
    }

    static ORXAttribute* findColumn(const TableInfo& table, std::string_view name) {
        auto found = table.columns.find(nameKey(name));
        return found == table.columns.end() ? nullptr : found->second;
    }

    void buildForeignKey(TableInfo& child, const std::vector<ForeignKeyRow>& rows,
                         std::size_t begin, std::size_t end) {
        const ForeignKeyRow& first = rows[begin];
        auto parentFound = tables_.find(nameKey(first.parent));
        if (parentFound == tables_.end()) {
            losses_.add(loss::kMissingParent,
                        std::string(child.cls->getName().view()) + " -> " + first.parent);
            return;
        }
        TableInfo& parent = parentFound->second;

        // Pairs of child and parent columns; without named parent columns the
        // key references the parent's primary key.
        std::vector<std::pair<ORXAttribute*, ORXAttribute*>> pairs;
        bool allParentsFound = true;
        for (std::size_t i = begin; i < end; ++i) {
            ORXAttribute* from = findColumn(child, rows[i].from);
            ORXAttribute* to = nullptr;
            if (rows[i].toIsNull) {
                std::size_t n = i - begin;
                if (n < parent.primaryKeyColumns.size())
                    to = parent.primaryKeyColumns[n];
            } else {
                to = findColumn(parent, rows[i].to);
            }
            if (!from)
                continue;
            allParentsFound = allParentsFound && to;
            pairs.emplace_back(from, to);
        }
        std::vector<ORXAttribute*> referenced;
        for (const auto& pair : pairs)
            referenced.push_back(pair.second);
        ORXCandidateKey* parentKey =
            allParentsFound ? findKeyWithColumns(parent.keys, referenced) : nullptr;

        std::string parentName(parent.cls->getName().view());
        std::string childName(child.cls->getName().view());
        std::string suffix = childName + "_" + parentName + "_" + std::to_string(first.id);
        auto key = std::make_unique<ORXForeignKey>();
        key->setName("FK_" + suffix);
        if (!key->addAssociatedClass(child.cls))
            fail("foreign key " + quoted(key->getName().view()) + " cannot be added");
        ORXForeignKey* foreignKey = key.release();
        for (const auto& [from, to] : pairs) {
            addForeignKeyColumn(foreignKey, from, to);
        }
        if (parentKey)
            foreignKey->addCandidateKey(parentKey);

        if (const char* problem = addReference(package_, suffix, parent.cls, foreignKey,
                                               ruleCode(first.onUpdate), ruleCode(first.onDelete)))
            fail("reference " + quoted(suffix) + problem);
    }

    sqlite3* db_;
    std::string path_;
    ORXSchema* schema_ = nullptr;
    ORXDesignPackage* package_ = nullptr;
    // Node-based maps: the Info records stay where they are as the maps grow.
    std::unordered_map<std::string, TableInfo> tables_;  // by nameKey
    std::vector<TableInfo*> tableOrder_;
    std::unordered_map<std::string, ViewInfo> views_;  // by nameKey
    std::vector<ViewInfo*> viewOrder_;
    LossReport losses_;
};

}  // namespace

bool isSqliteDatabaseFile(const std::string& path) {
    static constexpr char kHeader[] = "SQLite format 3";  // with its terminating zero: 16 bytes
    std::ifstream in(path, std::ios::binary);
    char buffer[sizeof kHeader] = {};
    if (!in.read(buffer, sizeof buffer))
        return false;
    return std::memcmp(buffer, kHeader, sizeof kHeader) == 0;
}

DatabaseImport loadSqliteDatabase(const std::string& path) {
    {
        std::ifstream in(path, std::ios::binary);
        checkOpenable(path, in);
        // SQLite takes an empty file for an empty database; anything else
        // must carry its header.
        if (in.peek() != std::char_traits<char>::eof() && !isSqliteDatabaseFile(path))
            throw ModelFileError(path + ": not a SQLite database");
    }
    DatabaseHandle db = openDatabase(path, path, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX);
    return SchemaReader(db.get(), path).read();
}

DatabaseImport loadSqliteScript(const std::string& path) {
    std::string script = readScript(path);
    DatabaseHandle db = openDatabase(
        path, ":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX);
    runScript(db.get(), script, path);
    return SchemaReader(db.get(), path).read();
}

}  // namespace importers
