// The SQLite source reads every CHECK constraint from the CREATE TABLE text,
// and counts, per kind, what the model cannot hold.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

#include "importers/database/SqliteModel.h"
#include "orx/ORXBridgeLib.h"
#include "support/TestSupport.h"

namespace {

using pdmtest::TempDir;
using pdmtest::writeFile;
using Strings = std::vector<std::string>;

ORXClass* table(const ORXModel& model, const std::string& name) {
    auto* package = dynamic_cast<ORXDesignPackage*>(model.getChildPackage(1));
    for (int i = 0; package && i < package->getModelElementCount(); ++i) {
        auto* found = dynamic_cast<ORXClass*>(package->getModelElement(i));
        if (found && found->getName() == name)
            return found;
    }
    return nullptr;
}

std::string check(const ORXClass* cls, int column) {
    return cls->getAttribute(column)->getRuleExpression().str();
}

importers::DatabaseImport loadScript(const std::string& sql) {
    TempDir dir;
    const std::string path = dir.file("schema.sql");
    writeFile(path, sql);
    return importers::loadSqliteScript(path);
}

TEST(SqliteChecks, ColumnAndTableChecksGoWhereTheyBelong) {
    importers::DatabaseImport import = loadScript(
        "CREATE TABLE item (\n"
        "  id INTEGER PRIMARY KEY,\n"
        "  price NUMERIC(8,2) CONSTRAINT ck_price CHECK (price > 0) CHECK (\"PRICE\" < 1000),\n"
        "  cost NUMERIC NOT NULL CHECK (cost <= price),\n"
        "  \"odd ) name\" TEXT CHECK (\"odd ) name\" <> ')' /* ( */),\n"
        "  flag INTEGER DEFAULT (1) CHECK (1),\n"
        "  label TEXT CHECK (label IN ('a', 'b(c', 'price')),\n"
        "  CHECK (cost >= 0),\n"
        "  CONSTRAINT ck_margin CHECK ((price - cost) < 500 -- upper bound )\n"
        "  )\n"
        ");\n"
        "CREATE TABLE plain (x INTEGER, CONSTRAINT ck_x CHECK (x <> 0 OR x IS NULL));\n"
        "CREATE TABLE pair (a INT, b INT, CONSTRAINT ck_ab CHECK (a < b));\n"
        "CREATE TABLE named (n INT CONSTRAINT nn NOT NULL CHECK (n > 0),\n"
        "  m INT, CONSTRAINT pk PRIMARY KEY (n) CHECK (m < n));\n");
    ORXClass* item = table(*import.model, "item");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(check(item, 0), "");
    EXPECT_EQ(check(item, 1), "(price > 0) AND (\"PRICE\" < 1000)");
    EXPECT_EQ(check(item, 2), "cost >= 0");
    EXPECT_EQ(check(item, 3), "\"odd ) name\" <> ')' /* ( */");
    EXPECT_EQ(check(item, 4), "1");
    EXPECT_EQ(check(item, 5), "label IN ('a', 'b(c', 'price')");
    ORXBusinessRule* rule = findBusinessRule(item, 3);
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->getName(), "CK_item");
    EXPECT_EQ(rule->getRuleText(), "(cost <= price) AND ((price - cost) < 500 -- upper bound )\n)");

    ORXClass* plain = table(*import.model, "plain");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(check(plain, 0), "x <> 0 OR x IS NULL");
    EXPECT_EQ(findBusinessRule(plain, 3), nullptr);

    ORXClass* pair = table(*import.model, "pair");
    ASSERT_NE(pair, nullptr);
    ASSERT_NE(findBusinessRule(pair, 3), nullptr);
    EXPECT_EQ(findBusinessRule(pair, 3)->getName(), "ck_ab");
    EXPECT_EQ(findBusinessRule(pair, 3)->getRuleText(), "a < b");
    // A name belongs to the constraint right after it, not to a later CHECK.
    ORXClass* named = table(*import.model, "named");
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(check(named, 0), "n > 0");
    ASSERT_NE(findBusinessRule(named, 3), nullptr);
    EXPECT_EQ(findBusinessRule(named, 3)->getName(), "CK_named");
    EXPECT_TRUE(import.losses.empty()) << import.losses.lines().front();
}

TEST(SqliteChecks, WhatTheModelCannotHoldIsCountedPerKind) {
    importers::DatabaseImport import = loadScript(
        "CREATE TABLE t (a INTEGER, b TEXT);\n"
        "CREATE INDEX ix_expr ON t (lower(b));\n"
        "CREATE INDEX ix_expr2 ON t (a + 1, length(b));\n"
        "CREATE INDEX ix_mixed ON t (a, lower(b));\n"
        "CREATE INDEX ix_partial ON t (a) WHERE a > 0;\n"
        "CREATE TABLE child (x INTEGER REFERENCES missing (id), y INTEGER REFERENCES gone);\n"
        "CREATE VIEW v AS SELECT a FROM t;\n"
        "CREATE TRIGGER v_ins INSTEAD OF INSERT ON v BEGIN SELECT 1; END;\n"
        "CREATE TABLE dropped (z INTEGER);\n"
        "CREATE VIEW w AS SELECT z FROM dropped;\n"
        "DROP TABLE dropped;\n"
        "CREATE VIRTUAL TABLE doc USING fts5(body);\n");
    // Kinds in the order they are met: shadow tables as the schema is listed,
    // then each table's indexes (in creation order), views, triggers and
    // foreign keys (in declaration order).
    EXPECT_EQ(import.losses.lines(),
              (Strings{
                  "warning: shadow tables of virtual tables left out: 5 (doc_data, doc_idx, "
                  "doc_content, ...)",
                  "warning: indexes made only of expressions left out: 2 (t.ix_expr, t.ix_expr2)",
                  "warning: index expressions left out (the indexes keep their columns): 1 "
                  "(t.ix_mixed)",
                  "warning: index conditions left out (the partial indexes keep their columns): 1 "
                  "(t.ix_partial)",
                  "warning: views whose columns could not be resolved: 1 (w)",
                  "warning: virtual tables written as plain tables (their module is left out): 1 "
                  "(doc)",
                  "warning: triggers on views left out: 1 (v_ins)",
                  "warning: foreign keys to missing tables left out: 2 (child -> missing, "
                  "child -> gone)",
              }));
    // The index with a column keeps it; the expression-only ones are gone.
    ORXClass* t = table(*import.model, "t");
    ASSERT_NE(t, nullptr);
    Strings indexes;
    for (int i = 0; i < t->getIndexCount(); ++i)
        indexes.push_back(t->getIndex(i)->getName().str() + ":" +
                          std::to_string(t->getIndex(i)->getIndexMemberCount()));
    EXPECT_EQ(indexes, (Strings{"ix_mixed:1", "ix_partial:1"}));
    EXPECT_EQ(import.triggerCount, 0);
}

TEST(SqliteChecks, AVirtualTableWhoseModuleIsMissingIsCounted) {
    TempDir dir;
    const std::string path = dir.file("ghost.db");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TABLE real_one (a INTEGER);"
                           "PRAGMA writable_schema = ON;"
                           "INSERT INTO sqlite_master VALUES ('table', 'ghost', 'ghost', 0,"
                           " 'CREATE VIRTUAL TABLE ghost USING no_such_module(a)');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);
    importers::DatabaseImport import = importers::loadSqliteDatabase(path);
    EXPECT_EQ(import.losses.lines(),
              (Strings{"warning: virtual tables left out (their module is not available): 1 "
                       "(ghost)"}));
    EXPECT_NE(table(*import.model, "real_one"), nullptr);
    EXPECT_EQ(table(*import.model, "ghost"), nullptr);
}

}  // namespace
