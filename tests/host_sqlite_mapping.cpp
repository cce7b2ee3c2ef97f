// The SQLite model source, one feature at a time: declared column types,
// keys and indexes, references, views and triggers, each read from a small
// script.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "importers/SqliteModel.h"
#include "support/TestSupport.h"

namespace {

using pdmtest::TempDir;

// Loads the model of `script`, run from a file named "schema.sql".
std::unique_ptr<ORXModel> loadScript(const TempDir& dir, const std::string& script) {
    std::string path = dir.file("schema.sql");
    pdmtest::writeFile(path, script);
    return importers::loadSqliteScript(path);
}

ORXDesignPackage* mainPackage(const ORXModel& model) {
    for (int i = 0; i < model.getChildPackageCount(); ++i) {
        if (auto* package = dynamic_cast<ORXDesignPackage*>(model.getChildPackage(i)))
            return package;
    }
    return nullptr;
}

template <class T>
T* element(const ORXModel& model, const std::string& name) {
    ORXDesignPackage* package = mainPackage(model);
    for (int i = 0; package && i < package->getModelElementCount(); ++i) {
        auto* found = dynamic_cast<T*>(package->getModelElement(i));
        if (found && found->getName() == name)
            return found;
    }
    return nullptr;
}

// "table.column" for a table attribute, "view.column" for a view column.
std::string qualified(const ORXFeature* feature) {
    if (!feature)
        return "";
    const ORXModelObject* owner = nullptr;
    if (auto* attribute = dynamic_cast<const ORXAttribute*>(feature))
        owner = attribute->getAssociatedClass();
    else if (auto* column = dynamic_cast<const ORXSQLViewAttribute*>(feature))
        owner = column->getView();
    return (owner ? owner->getName().str() : "?") + "." + feature->getName().str();
}

std::vector<std::string> keyColumns(const ORXKey* key) {
    std::vector<std::string> out;
    for (int i = 0; key && i < key->getAttributeCount(); ++i)
        out.push_back(key->getAttribute(i)->getName().str());
    return out;
}

TEST(SqliteMapping, DeclaredTypesGiveModelDatatypes) {
    struct Case {
        std::string declared;
        std::string dataType;
        int length;
        int scale;
        bool keptAsComment;
    };
    const std::vector<Case> cases = {
        {"INTEGER", "SQL_INTEGER", 0, 0, false},
        {"int", "SQL_INTEGER", 0, 0, false},
        {"Int(11)", "SQL_INTEGER", 0, 0, false},
        {"BIGINT", "SQL_BIGINT", 0, 0, false},
        {"smallint", "SQL_SMALLINT", 0, 0, false},
        {"TINYINT", "SQL_TINYINT", 0, 0, false},
        {"varchar(20)", "SQL_VARCHAR", 20, 0, false},
        {"VARCHAR", "SQL_VARCHAR", 0, 0, false},
        {"CHARACTER VARYING(30)", "SQL_VARCHAR", 30, 0, false},
        {"character   varying ( 31 )", "SQL_VARCHAR", 31, 0, false},
        {"NVARCHAR(10)", "SQL_NVARCHAR", 10, 0, false},
        {"CHAR(3)", "SQL_CHAR", 3, 0, false},
        {"CHARACTER(+5)", "SQL_CHAR", 5, 0, false},
        {"NCHAR(4)", "SQL_NCHAR", 4, 0, false},
        {"TEXT", "SQL_LONGVARCHAR", 0, 0, false},
        {"CLOB", "SQL_LONGVARCHAR", 0, 0, false},
        {"BLOB", "SQL_LONGVARBINARY", 0, 0, false},
        {"", "SQL_LONGVARBINARY", 0, 0, false},
        {"REAL", "SQL_DOUBLE", 0, 0, false},
        {"DOUBLE", "SQL_DOUBLE", 0, 0, false},
        {"DOUBLE PRECISION", "SQL_DOUBLE", 0, 0, false},
        {"FLOAT", "SQL_FLOAT", 0, 0, false},
        {"NUMERIC(12,4)", "SQL_NUMERIC", 12, 4, false},
        {"DECIMAL(8)", "SQL_DECIMAL", 8, 0, false},
        {"decimal( 9 , 3 )", "SQL_DECIMAL", 9, 3, false},
        {"BOOLEAN", "SQL_BOOLEAN", 0, 0, false},
        {"DATE", "SQL_DATE", 0, 0, false},
        {"TIME", "SQL_TIME", 0, 0, false},
        {"DATETIME", "SQL_TIMESTAMP", 0, 0, false},
        {"timestamp", "SQL_TIMESTAMP", 0, 0, false},
        {"INT UNSIGNED", "SQL_VARCHAR", 0, 0, true},
        {"JSON", "SQL_VARCHAR", 0, 0, true},
        {"VARCHAR(-1)", "SQL_VARCHAR", 0, 0, true},
        {"VARCHAR(99999999999)", "SQL_VARCHAR", 0, 0, true},
        {"INTEGERS", "SQL_VARCHAR", 0, 0, true},
    };
    std::string script = "CREATE TABLE t (\n";
    for (std::size_t i = 0; i < cases.size(); ++i)
        script += (i ? ",\n  c" : "  c") + std::to_string(i) + " " + cases[i].declared;
    script += "\n);\n";
    TempDir dir;
    std::unique_ptr<ORXModel> model = loadScript(dir, script);
    auto* table = element<ORXClass>(*model, "t");
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->getAttributeCount(), static_cast<int>(cases.size()));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE("declared type '" + c.declared + "'");
        ORXAttribute* attribute = table->getAttribute(static_cast<int>(i));
        ASSERT_NE(attribute->getType(), nullptr);
        EXPECT_EQ(attribute->getType()->getDataType().str(), c.dataType);
        EXPECT_EQ(attribute->getType()->getLength(), c.length);
        EXPECT_EQ(attribute->getType()->getScale(), c.scale);
        EXPECT_EQ(attribute->getComment().str(), c.keptAsComment ? c.declared : "");
        EXPECT_TRUE(attribute->isOptional());
    }
}

TEST(SqliteMapping, AutoincrementMarksOnlyTheIntegerPrimaryKeyOfSuchTables) {
    struct Case {
        std::string table;
        std::string dataType;  // of the first column
    };
    const std::vector<Case> cases = {
        {"CREATE TABLE t (id INTEGER PRIMARY KEY AUTOINCREMENT, v TEXT)", "AUTOINCREMENT"},
        {"CREATE TABLE t (id integer, v TEXT, PRIMARY KEY (id AUTOINCREMENT))", "AUTOINCREMENT"},
        {"CREATE TABLE t (id INTEGER PRIMARY KEY, v TEXT)", "SQL_INTEGER"},
        {"CREATE TABLE t (id INTEGER PRIMARY KEY, v TEXT DEFAULT 'AUTOINCREMENT')", "SQL_INTEGER"},
        {"CREATE TABLE \"AUTOINCREMENT\" (id INTEGER PRIMARY KEY, v TEXT)", "SQL_INTEGER"},
        {"CREATE TABLE t (id INTEGER, v TEXT, PRIMARY KEY (id, v))", "SQL_INTEGER"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        TempDir dir;
        std::unique_ptr<ORXModel> model = loadScript(dir, c.table + ";");
        auto* table = dynamic_cast<ORXClass*>(mainPackage(*model)->getModelElement(0));
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->getAttribute(0)->getType()->getDataType().str(), c.dataType);
        EXPECT_EQ(table->getAttribute(1)->getType()->getDataType().str(), "SQL_LONGVARCHAR");
        EXPECT_FALSE(table->getAttribute(0)->isOptional());
    }
}

TEST(SqliteMapping, VirtualTablesShowTheirColumnsAndHideTheirStorage) {
    TempDir dir;
    std::unique_ptr<ORXModel> model = loadScript(dir, R"(
        CREATE TABLE before_docs (x INTEGER);
        CREATE VIRTUAL TABLE docs USING fts5(title, body);
        CREATE TABLE docs_notes (y INTEGER);
    )");
    ORXDesignPackage* package = mainPackage(*model);
    std::vector<std::string> tables;
    for (int i = 0; i < package->getModelElementCount(); ++i)
        tables.push_back(package->getModelElement(i)->getName().str());
    EXPECT_EQ(tables, (std::vector<std::string>{"before_docs", "docs", "docs_notes"}));
    auto* docs = element<ORXClass>(*model, "docs");
    ASSERT_NE(docs, nullptr);
    ASSERT_EQ(docs->getAttributeCount(), 2);
    EXPECT_EQ(docs->getAttribute(0)->getName().str(), "title");
    EXPECT_EQ(docs->getAttribute(1)->getName().str(), "body");
}

TEST(SqliteMapping, UniqueConstraintsAndIndexes) {
    TempDir dir;
    std::unique_ptr<ORXModel> model = loadScript(dir, R"(
        CREATE TABLE t (a INTEGER, b TEXT, c TEXT, UNIQUE (c DESC, a));
        CREATE UNIQUE INDEX t_b ON t (b);
        CREATE INDEX t_expr ON t (lower(b), a) WHERE a > 0;
    )");
    auto* table = element<ORXClass>(*model, "t");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->getPrimaryKey(), nullptr);

    // Only the UNIQUE constraint is a key; the unique index is an index alone.
    ASSERT_EQ(table->getKeyCount(), 1);
    auto* unique = dynamic_cast<ORXCandidateKey*>(table->getKey(0));
    ASSERT_NE(unique, nullptr);
    EXPECT_EQ(unique->getName().str(), "sqlite_autoindex_t_1");
    EXPECT_EQ(keyColumns(unique), (std::vector<std::string>{"c", "a"}));

    struct Member {
        std::string column;
        int position;
        int sortOrder;
    };
    struct IndexCase {
        std::string name;
        bool unique;
        const ORXKey* key;
        std::vector<Member> members;
    };
    const std::vector<IndexCase> cases = {
        {"sqlite_autoindex_t_1", true, unique, {{"c", 0, 2}, {"a", 1, 1}}},
        {"t_b", true, nullptr, {{"b", 0, 1}}},
        {"t_expr", false, nullptr, {{"a", 1, 1}}},
    };
    ASSERT_EQ(table->getIndexCount(), static_cast<int>(cases.size()));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const IndexCase& c = cases[i];
        SCOPED_TRACE("index " + c.name);
        ORXIndex* index = table->getIndex(static_cast<int>(i));
        EXPECT_EQ(index->getName().str(), c.name);
        EXPECT_EQ(index->isUnique(), c.unique ? 1 : 0);
        EXPECT_EQ(index->getKey(), c.key);
        ASSERT_EQ(index->getIndexMemberCount(), static_cast<int>(c.members.size()));
        for (std::size_t j = 0; j < c.members.size(); ++j) {
            ORXIndexMember* member = index->getIndexMember(static_cast<int>(j));
            EXPECT_EQ(member->getAttribute()->getName().str(), c.members[j].column);
            EXPECT_EQ(member->getPosition(), c.members[j].position);
            EXPECT_EQ(member->getSortOrder(), c.members[j].sortOrder);
        }
    }
    EXPECT_EQ(unique->getIndex(), table->getIndex(0));
}

TEST(SqliteMapping, ForeignKeysFindTheirParentKeyAndPairColumns) {
    TempDir dir;
    std::unique_ptr<ORXModel> model = loadScript(dir, R"(
        CREATE TABLE parent (x INTEGER, y TEXT, code TEXT UNIQUE, other TEXT, PRIMARY KEY (x, y));
        CREATE TABLE child (
            px INTEGER, py TEXT, x INTEGER, y TEXT, code TEXT, other TEXT, up INTEGER,
            FOREIGN KEY (px, py) REFERENCES parent ON UPDATE CASCADE ON DELETE SET DEFAULT,
            FOREIGN KEY (y, x) REFERENCES PARENT (Y, X) ON DELETE RESTRICT,
            FOREIGN KEY (code) REFERENCES parent (code) ON DELETE SET NULL,
            FOREIGN KEY (other) REFERENCES parent (other),
            FOREIGN KEY (up) REFERENCES child (rowid),
            FOREIGN KEY (other) REFERENCES nowhere (other)
        );
    )");
    auto* parent = element<ORXClass>(*model, "parent");
    auto* child = element<ORXClass>(*model, "child");
    ASSERT_TRUE(parent && child);
    ORXCandidateKey* primary = parent->getPrimaryKey();
    ASSERT_NE(primary, nullptr);
    auto* unique = dynamic_cast<ORXCandidateKey*>(parent->getKey(1));
    ASSERT_NE(unique, nullptr);

    struct Case {
        std::string name;  // of the foreign key; the reference drops "FK_"
        std::vector<std::string> columns;
        const ORXCandidateKey* references;
        std::vector<std::string> nameMaps;  // "parent column -> child column"
        const ORXClass* parentClass;
        int updateRule;
        int deleteRule;
    };
    // In declaration order, which SQLite numbers from the last one up; the
    // key to the missing table is left out.
    const std::vector<Case> cases = {
        {"FK_child_parent_5",
         {"px", "py"},
         primary,
         {"parent.x -> child.px", "parent.y -> child.py"},
         parent,
         2,
         5},
        {"FK_child_parent_4", {"y", "x"}, primary, {}, parent, 1, 3},
        {"FK_child_parent_3", {"code"}, unique, {}, parent, 1, 4},
        {"FK_child_parent_2", {"other"}, nullptr, {}, parent, 1, 1},
        {"FK_child_child_1", {"up"}, nullptr, {}, child, 1, 1},
    };
    ASSERT_EQ(child->getKeyCount(), static_cast<int>(cases.size()));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        auto* key = dynamic_cast<ORXForeignKey*>(child->getKey(static_cast<int>(i)));
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->getName().str(), c.name);
        EXPECT_EQ(keyColumns(key), c.columns);
        EXPECT_EQ(key->getCandidateKey(), c.references);
        std::vector<std::string> maps;
        for (int j = 0; j < key->getAssociationRoleNameMapCount(); ++j) {
            ORXAssociationRoleNameMap* map = key->getAssociationRoleNameMap(j);
            maps.push_back(qualified(map->getSourceAttribute()) + " -> " +
                           qualified(map->getDestinationAttribute()));
        }
        EXPECT_EQ(maps, c.nameMaps);
        auto* reference = element<ORXAssociation>(*model, c.name.substr(3));
        ASSERT_NE(reference, nullptr);
        ASSERT_EQ(reference->getAssociationRoleCount(), 2);
        EXPECT_TRUE(reference->getAssociationRole(0)->isSource());
        EXPECT_EQ(reference->getAssociationRole(0)->getAssociatedClass(), c.parentClass);
        EXPECT_EQ(reference->getAssociationRole(1)->getAssociatedClass(), child);
        EXPECT_EQ(reference->getAssociationRole(1)->getForeignKey(), key);
        EXPECT_EQ(reference->getAssociationRole(1)->getUpdateRule(), c.updateRule);
        EXPECT_EQ(reference->getAssociationRole(1)->getDeleteRule(), c.deleteRule);
    }
}

TEST(SqliteMapping, ViewStatementsAndColumnSources) {
    struct Case {
        std::string view;  // the CREATE VIEW statement of view "v"
        std::string statement;
        std::vector<std::string> columns;  // "name=source", source empty when none
    };
    const std::vector<Case> cases = {
        {"CREATE VIEW v AS SELECT a, b FROM t", "SELECT a, b FROM t", {"a=t.a", "b=t.b"}},
        {"CREATE VIEW v (x, b) AS SELECT a, b FROM t", "SELECT a, b FROM t", {"x=", "b=t.b"}},
        {"create view v as\n  select A from main.\"T\" where b > 0 order by 1",
         "select A from main.\"T\" where b > 0 order by 1",
         {"a=t.a"}},
        {"CREATE VIEW v AS SELECT x.a AS a, 'AS' AS s FROM t AS x LIMIT 3",
         "SELECT x.a AS a, 'AS' AS s FROM t AS x LIMIT 3",
         {"a=t.a", "s="}},
        {"CREATE VIEW v AS SELECT a, c FROM t JOIN u ON a = c",
         "SELECT a, c FROM t JOIN u ON a = c",
         {"a=", "c="}},
        {"CREATE VIEW v AS SELECT a, c FROM t, u", "SELECT a, c FROM t, u", {"a=", "c="}},
        {"CREATE VIEW v AS SELECT a FROM t UNION SELECT c FROM u",
         "SELECT a FROM t UNION SELECT c FROM u",
         {"a="}},
        {"CREATE VIEW v AS SELECT a FROM (SELECT a FROM t)",
         "SELECT a FROM (SELECT a FROM t)",
         {"a="}},
        {"CREATE VIEW v AS WITH w AS (SELECT a FROM t) SELECT a FROM w",
         "WITH w AS (SELECT a FROM t) SELECT a FROM w",
         {"a="}},
        {"CREATE VIEW v AS SELECT c FROM earlier", "SELECT c FROM earlier", {"c=earlier.c"}},
        {"CREATE VIEW \"v\" AS /* the view */ SELECT (a) AS b FROM t",
         "/* the view */ SELECT (a) AS b FROM t",
         {"b=t.b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.view);
        TempDir dir;
        std::unique_ptr<ORXModel> model =
            loadScript(dir,
                       "CREATE TABLE t (a INTEGER, b TEXT);\nCREATE TABLE u (c TEXT);\n"
                       "CREATE VIEW earlier AS SELECT c FROM u;\n" +
                           c.view + ";\n");
        auto* view = element<ORXSQLViewEntity>(*model, "v");
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->getViewStatement().str(), c.statement);
        std::vector<std::string> columns;
        for (int i = 0; i < view->getSQLViewAttributeCount(); ++i) {
            ORXSQLViewAttribute* column = view->getSQLViewAttribute(i);
            columns.push_back(column->getName().str() + "=" +
                              qualified(column->getSourceFeature()));
        }
        EXPECT_EQ(columns, c.columns);
    }
}

TEST(SqliteMapping, ViewOfADroppedTableKeepsItsStatementWithoutColumns) {
    TempDir dir;
    std::unique_ptr<ORXModel> model = loadScript(dir, R"(
        CREATE TABLE gone (a INTEGER);
        CREATE VIEW orphan AS SELECT a FROM gone;
        DROP TABLE gone;
    )");
    ASSERT_EQ(mainPackage(*model)->getModelElementCount(), 1);
    auto* view = element<ORXSQLViewEntity>(*model, "orphan");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->getViewStatement().str(), "SELECT a FROM gone");
    EXPECT_EQ(view->getSQLViewAttributeCount(), 0);
}

TEST(SqliteMapping, TriggerTimingAndEvents) {
    struct Case {
        std::string trigger;
        int timing;
        bool onInsert, onUpdate, onDelete;
        std::string body = {};  // as SQLite keeps it, when it differs from the statement
    };
    const std::vector<Case> cases = {
        {"CREATE TRIGGER g AFTER INSERT ON t BEGIN SELECT 1; END", 1, true, false, false},
        {"CREATE TRIGGER g BEFORE DELETE ON t BEGIN SELECT 1; END", 0, false, false, true},
        {"CREATE TRIGGER g UPDATE OF a, b ON t BEGIN SELECT 1; END", 0, false, true, false},
        {"create trigger if not exists \"after\" after update on T begin select 1; end", 1, false,
         true, false, "CREATE TRIGGER \"after\" after update on T begin select 1; end"},
        {"CREATE TRIGGER main.g AFTER DELETE ON t FOR EACH ROW WHEN old.a > 0 BEGIN SELECT 1; END",
         1, false, false, true,
         "CREATE TRIGGER g AFTER DELETE ON t FOR EACH ROW WHEN old.a > 0 BEGIN SELECT 1; END"},
        {"CREATE TRIGGER insert_audit UPDATE ON t BEGIN INSERT INTO t VALUES (1, 'x'); END", 0,
         false, true, false},
        {"CREATE TRIGGER [before] /* AFTER */ DELETE ON t BEGIN SELECT 1; END", 0, false, false,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trigger);
        TempDir dir;
        std::unique_ptr<ORXModel> model =
            loadScript(dir, "CREATE TABLE t (a INTEGER, b TEXT);\n" + c.trigger + ";\n");
        auto* table = element<ORXClass>(*model, "t");
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(table->getOperationCount(), 1);
        ORXOperation* trigger = table->getOperation(0);
        EXPECT_EQ(trigger->getElementType(), ORX_ET_TRIGGER);
        EXPECT_EQ(trigger->getBody().str(), c.body.empty() ? c.trigger : c.body);
        EXPECT_EQ(trigger->getTiming(), c.timing);
        EXPECT_EQ(trigger->isOnInsert(), c.onInsert);
        EXPECT_EQ(trigger->isOnUpdate(), c.onUpdate);
        EXPECT_EQ(trigger->isOnDelete(), c.onDelete);
    }
}

}  // namespace
