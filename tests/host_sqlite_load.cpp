// The SQLite model source on a whole schema: tables, columns, keys, indexes,
// references, views and triggers read from a script and from a database file.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "importers/JsonModel.h"
#include "importers/SqliteModel.h"
#include "support/TestSupport.h"

namespace {

using pdmtest::dataFile;
using pdmtest::readFile;
using pdmtest::TempDir;

// Writes a database file at `path` holding what `sql` creates.
void makeDatabase(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    int code = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    ASSERT_EQ(code, SQLITE_OK) << message;
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

std::vector<std::string> names(const ORXKey* key) {
    std::vector<std::string> out;
    for (int i = 0; i < key->getAttributeCount(); ++i)
        out.push_back(key->getAttribute(i)->getName().str());
    return out;
}

// What one column should read as.
struct ColumnCase {
    std::string name;
    std::string dataType;
    int length;
    int scale;
    bool optional;
    std::string initialValue;
    std::string comment;
};

void expectColumns(const ORXClass* cls, const std::vector<ColumnCase>& cases) {
    ASSERT_EQ(cls->getAttributeCount(), static_cast<int>(cases.size()));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const ColumnCase& c = cases[i];
        SCOPED_TRACE(cls->getName().str() + "." + c.name);
        ORXAttribute* attribute = cls->getAttribute(static_cast<int>(i));
        EXPECT_EQ(attribute->getName().str(), c.name);
        EXPECT_EQ(attribute->getPhysicalName().str(), c.name);
        ASSERT_NE(attribute->getType(), nullptr);
        EXPECT_TRUE(attribute->ownsType());
        EXPECT_EQ(attribute->getType()->getElementType(), ORX_ET_BASE_TYPE);
        EXPECT_EQ(attribute->getType()->getDataType().str(), c.dataType);
        EXPECT_EQ(attribute->getType()->getLength(), c.length);
        EXPECT_EQ(attribute->getType()->getScale(), c.scale);
        EXPECT_EQ(attribute->isOptional(), c.optional);
        EXPECT_EQ(attribute->getInitialValue().str(), c.initialValue);
        EXPECT_EQ(attribute->getComment().str(), c.comment);
    }
}

// Everything the shop schema holds, as the model must show it.
void expectShopModel(const ORXModel& model) {
    EXPECT_EQ(model.getName().str(), "shop");
    ASSERT_EQ(model.getChildPackageCount(), 2);
    auto* catalog = dynamic_cast<ORXCatalog*>(model.getChildPackage(0));
    ASSERT_NE(catalog, nullptr);
    EXPECT_EQ(catalog->getDatabaseType().str(), "SQLite 3");
    ASSERT_EQ(catalog->getChildPackageCount(), 1);
    ORXPackage* schema = catalog->getChildPackage(0);
    EXPECT_EQ(schema->getElementType(), ORX_ET_SCHEMA);
    EXPECT_EQ(schema->getName().str(), "main");
    ORXDesignPackage* package = mainPackage(model);
    ASSERT_NE(package, nullptr);
    EXPECT_EQ(package->getName().str(), "main");
    EXPECT_FALSE(package->getPackageFlag());

    // Tables and the view in schema order, then the references; the foreign
    // key to the missing "product" table is left out.
    std::vector<std::pair<int, std::string>> expectedElements = {
        {ORX_ET_CLASS, "customer"},
        {ORX_ET_CLASS, "order_line"},
        {ORX_ET_CLASS, "review"},
        {ORX_ET_SQL_VIEW_ENTITY, "big_spender"},
        {ORX_ET_ASSOCIATION, "order_line_customer_0"},
        {ORX_ET_ASSOCIATION, "review_customer_1"},
    };
    ASSERT_EQ(package->getModelElementCount(), static_cast<int>(expectedElements.size()));
    for (std::size_t i = 0; i < expectedElements.size(); ++i) {
        ORXModelObject* object = package->getModelElement(static_cast<int>(i));
        SCOPED_TRACE(expectedElements[i].second);
        EXPECT_EQ(object->getElementType(), expectedElements[i].first);
        EXPECT_EQ(object->getName().str(), expectedElements[i].second);
    }
    // Tables, the view and the triggers on tables belong to the schema, each
    // table followed by its triggers.
    std::vector<std::string> owned;
    for (int i = 0; i < schema->getOwnedObjectCount(); ++i)
        owned.push_back(schema->getOwnedObject(i)->getName().str());
    EXPECT_EQ(owned, (std::vector<std::string>{"customer", "customer_welcome", "order_line",
                                               "order_line_audit", "review", "big_spender"}));

    auto* customer = element<ORXClass>(model, "customer");
    auto* orderLine = element<ORXClass>(model, "order_line");
    auto* review = element<ORXClass>(model, "review");
    ASSERT_TRUE(customer && orderLine && review);
    EXPECT_EQ(customer->getPhysicalName().str(), "customer");

    expectColumns(customer, {
                                {"id", "AUTOINCREMENT", 0, 0, false, "", ""},
                                {"email", "SQL_VARCHAR", 80, 0, false, "", ""},
                                {"name", "SQL_NVARCHAR", 40, 0, true, "", ""},
                                {"balance", "SQL_NUMERIC", 10, 2, true, "0", ""},
                                {"joined", "SQL_TIMESTAMP", 0, 0, true, "CURRENT_TIMESTAMP", ""},
                                {"notes", "SQL_LONGVARCHAR", 0, 0, true, "", ""},
                                {"photo", "SQL_LONGVARBINARY", 0, 0, true, "", ""},
                                {"rating", "SQL_DOUBLE", 0, 0, true, "", ""},
                                {"flags", "SQL_VARCHAR", 0, 0, true, "", "UNSIGNED BIG INT"},
                            });
    expectColumns(orderLine, {
                                 {"customer_id", "SQL_INTEGER", 0, 0, false, "", ""},
                                 {"line_no", "SQL_SMALLINT", 0, 0, false, "", ""},
                                 {"product", "SQL_CHAR", 12, 0, false, "'none'", ""},
                                 {"quantity", "SQL_INTEGER", 0, 0, true, "", ""},
                             });
    expectColumns(review, {
                              {"author", "SQL_VARCHAR", 80, 0, true, "", ""},
                              {"product", "SQL_CHAR", 12, 0, true, "", ""},
                              {"body", "SQL_LONGVARCHAR", 0, 0, true, "", ""},
                          });

    // Keys: the primary key, then the unique constraint with its index.
    ASSERT_EQ(customer->getKeyCount(), 2);
    ORXCandidateKey* customerKey = customer->getPrimaryKey();
    ASSERT_EQ(customerKey, customer->getKey(0));
    EXPECT_EQ(customerKey->getName().str(), "PK_customer");
    EXPECT_TRUE(customerKey->isUnique());
    EXPECT_EQ(customerKey->getIndex(), nullptr);
    EXPECT_EQ(names(customerKey), std::vector<std::string>{"id"});
    auto* emailKey = dynamic_cast<ORXCandidateKey*>(customer->getKey(1));
    ASSERT_NE(emailKey, nullptr);
    EXPECT_EQ(emailKey->getName().str(), "sqlite_autoindex_customer_1");
    EXPECT_TRUE(emailKey->isUnique());
    EXPECT_EQ(names(emailKey), std::vector<std::string>{"email"});
    ASSERT_EQ(customer->getIndexCount(), 1);
    ORXIndex* emailIndex = customer->getIndex(0);
    EXPECT_EQ(emailIndex->getName().str(), "sqlite_autoindex_customer_1");
    EXPECT_EQ(emailIndex->isUnique(), 1);
    EXPECT_EQ(emailIndex->getKey(), emailKey);
    EXPECT_EQ(emailKey->getIndex(), emailIndex);
    ASSERT_EQ(emailIndex->getIndexMemberCount(), 1);
    EXPECT_EQ(emailIndex->getIndexMember(0)->getAttribute()->getName().str(), "email");

    // The composite primary key keeps its declared order and gets no index
    // for SQLite's automatic one; the descending index keeps its directions.
    ORXCandidateKey* lineKey = orderLine->getPrimaryKey();
    ASSERT_NE(lineKey, nullptr);
    EXPECT_EQ(lineKey->getName().str(), "PK_order_line");
    EXPECT_EQ(names(lineKey), (std::vector<std::string>{"customer_id", "line_no"}));
    EXPECT_EQ(lineKey->getIndex(), nullptr);
    ASSERT_EQ(orderLine->getIndexCount(), 1);
    ORXIndex* quantityIndex = orderLine->getIndex(0);
    EXPECT_EQ(quantityIndex->getName().str(), "order_line_quantity");
    EXPECT_EQ(quantityIndex->getPhysicalName().str(), "order_line_quantity");
    EXPECT_EQ(quantityIndex->isUnique(), 0);
    EXPECT_EQ(quantityIndex->getKey(), nullptr);
    ASSERT_EQ(quantityIndex->getIndexMemberCount(), 2);
    EXPECT_EQ(quantityIndex->getIndexMember(0)->getAttribute()->getName().str(), "quantity");
    EXPECT_EQ(quantityIndex->getIndexMember(0)->getSortOrder(), 2);
    EXPECT_EQ(quantityIndex->getIndexMember(0)->getPosition(), 0);
    EXPECT_EQ(quantityIndex->getIndexMember(1)->getAttribute()->getName().str(), "product");
    EXPECT_EQ(quantityIndex->getIndexMember(1)->getSortOrder(), 1);
    EXPECT_EQ(quantityIndex->getIndexMember(1)->getPosition(), 1);

    // The cascading reference to the primary key, with a name map because
    // the column names differ.
    ASSERT_EQ(orderLine->getKeyCount(), 2);
    auto* lineForeignKey = dynamic_cast<ORXForeignKey*>(orderLine->getKey(1));
    ASSERT_NE(lineForeignKey, nullptr);
    EXPECT_EQ(lineForeignKey->getName().str(), "FK_order_line_customer_0");
    EXPECT_EQ(names(lineForeignKey), std::vector<std::string>{"customer_id"});
    EXPECT_EQ(lineForeignKey->getCandidateKey(), customerKey);
    ASSERT_EQ(lineForeignKey->getAssociationRoleNameMapCount(), 1);
    ORXAssociationRoleNameMap* map = lineForeignKey->getAssociationRoleNameMap(0);
    EXPECT_EQ(map->getSourceAttribute(), customer->getAttribute(0));
    EXPECT_EQ(map->getDestinationAttribute(), orderLine->getAttribute(0));

    auto* lineReference = element<ORXAssociation>(model, "order_line_customer_0");
    ASSERT_NE(lineReference, nullptr);
    ASSERT_EQ(lineReference->getAssociationRoleCount(), 2);
    ORXAssociationRole* parentRole = lineReference->getAssociationRole(0);
    ORXAssociationRole* childRole = lineReference->getAssociationRole(1);
    EXPECT_TRUE(parentRole->isSource());
    EXPECT_EQ(parentRole->getAssociatedClass(), customer);
    EXPECT_EQ(parentRole->getMultiplicity().str(), "1");
    EXPECT_EQ(parentRole->getForeignKey(), nullptr);
    EXPECT_FALSE(childRole->isSource());
    EXPECT_EQ(childRole->getAssociatedClass(), orderLine);
    EXPECT_EQ(childRole->getMultiplicity().str(), "0..*");
    EXPECT_EQ(childRole->getForeignKey(), lineForeignKey);
    EXPECT_EQ(lineForeignKey->getAssociationRole(), childRole);
    EXPECT_EQ(childRole->getUpdateRule(), 1);
    EXPECT_EQ(childRole->getDeleteRule(), 2);

    // The reference to the unique key; the one to a missing table is gone.
    ASSERT_EQ(review->getKeyCount(), 1);
    auto* authorKey = dynamic_cast<ORXForeignKey*>(review->getKey(0));
    ASSERT_NE(authorKey, nullptr);
    EXPECT_EQ(authorKey->getName().str(), "FK_review_customer_1");
    EXPECT_EQ(authorKey->getCandidateKey(), emailKey);
    EXPECT_EQ(review->getPrimaryKey(), nullptr);
    auto* authorReference = element<ORXAssociation>(model, "review_customer_1");
    ASSERT_NE(authorReference, nullptr);
    EXPECT_EQ(authorReference->getAssociationRole(1)->getUpdateRule(), 4);
    EXPECT_EQ(authorReference->getAssociationRole(1)->getDeleteRule(), 1);

    // The view: its SELECT, its columns and their sources where they have one.
    auto* view = element<ORXSQLViewEntity>(model, "big_spender");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->getViewStatement().str(),
              "SELECT id, email, balance * 2 AS doubled FROM customer WHERE balance > 100");
    EXPECT_EQ(view->getViewStatementKind(), 1);
    EXPECT_EQ(view->getOwner(), schema);
    ASSERT_EQ(view->getSQLViewAttributeCount(), 3);
    EXPECT_EQ(view->getSQLViewAttribute(0)->getName().str(), "id");
    EXPECT_EQ(view->getSQLViewAttribute(0)->getSourceFeature(), customer->getAttribute(0));
    EXPECT_EQ(view->getSQLViewAttribute(1)->getSourceFeature(), customer->getAttribute(1));
    EXPECT_EQ(view->getSQLViewAttribute(2)->getName().str(), "doubled");
    EXPECT_EQ(view->getSQLViewAttribute(2)->getSourceFeature(), nullptr);

    // Triggers: an explicit AFTER UPDATE and one without timing, which SQLite
    // fires BEFORE; the INSTEAD OF trigger on the view has no table.
    ASSERT_EQ(orderLine->getOperationCount(), 1);
    ORXOperation* audit = orderLine->getOperation(0);
    EXPECT_EQ(audit->getElementType(), ORX_ET_TRIGGER);
    EXPECT_EQ(audit->getName().str(), "order_line_audit");
    EXPECT_EQ(audit->getBody().str().rfind("CREATE TRIGGER order_line_audit AFTER UPDATE", 0), 0u);
    EXPECT_EQ(audit->getBody().str().substr(audit->getBody().str().size() - 4), "\nEND")
        << audit->getBody().str();
    EXPECT_EQ(audit->getTiming(), 1);
    EXPECT_FALSE(audit->isOnInsert());
    EXPECT_TRUE(audit->isOnUpdate());
    EXPECT_FALSE(audit->isOnDelete());
    EXPECT_EQ(audit->getOwner(), schema);
    ASSERT_EQ(customer->getOperationCount(), 1);
    ORXOperation* welcome = customer->getOperation(0);
    EXPECT_EQ(welcome->getName().str(), "customer_welcome");
    EXPECT_EQ(welcome->getTiming(), 0);
    EXPECT_TRUE(welcome->isOnInsert());
    EXPECT_FALSE(welcome->isOnUpdate());
    EXPECT_EQ(review->getOperationCount(), 0);
}

TEST(SqliteLoad, ScriptGivesTheWholeSchema) {
    std::unique_ptr<ORXModel> model = importers::loadSqliteScript(dataFile("sqlite/shop.sql"));
    ASSERT_NE(model, nullptr);
    expectShopModel(*model);
}

TEST(SqliteLoad, DatabaseFileGivesTheSameModelAsItsScript) {
    TempDir dir;
    std::string path = dir.file("shop.db");
    makeDatabase(path, readFile(dataFile("sqlite/shop.sql")));
    ASSERT_TRUE(importers::isSqliteDatabaseFile(path));
    std::unique_ptr<ORXModel> fromFile = importers::loadSqliteDatabase(path);
    expectShopModel(*fromFile);
    std::unique_ptr<ORXModel> fromScript = importers::loadSqliteScript(dataFile("sqlite/shop.sql"));
    EXPECT_EQ(importers::dumpJsonModel(*fromFile), importers::dumpJsonModel(*fromScript));
}

TEST(SqliteLoad, ModelRoundTripsThroughTheModelFileFormat) {
    std::unique_ptr<ORXModel> model = importers::loadSqliteScript(dataFile("sqlite/shop.sql"));
    std::string dumped = importers::dumpJsonModel(*model);
    std::unique_ptr<ORXModel> reloaded = importers::parseJsonModel(dumped, "shop.json");
    expectShopModel(*reloaded);
    EXPECT_EQ(importers::dumpJsonModel(*reloaded), dumped);
}

TEST(SqliteLoad, VirtualTableOfAnUnknownModuleIsLeftOut) {
    TempDir dir;
    std::string path = dir.file("modules.db");
    makeDatabase(path,
                 "CREATE TABLE a (x INTEGER);"
                 "PRAGMA writable_schema = ON;"
                 "INSERT INTO sqlite_master VALUES ('table', 'vt', 'vt', 0,"
                 " 'CREATE VIRTUAL TABLE vt USING no_such_module (y)');");
    std::unique_ptr<ORXModel> model = importers::loadSqliteDatabase(path);
    ORXDesignPackage* package = mainPackage(*model);
    ASSERT_EQ(package->getModelElementCount(), 1);
    EXPECT_EQ(package->getModelElement(0)->getName().str(), "a");
}

TEST(SqliteLoad, EmptySchemasGiveTheFrameAlone) {
    TempDir dir;
    std::string blank = dir.file("blank.db");
    pdmtest::writeFile(blank, "");
    std::string fresh = dir.file("fresh.sqlite3");
    makeDatabase(fresh, "PRAGMA user_version = 7;");
    ASSERT_TRUE(importers::isSqliteDatabaseFile(fresh));
    struct Case {
        std::string label;
        std::string name;
        std::function<std::unique_ptr<ORXModel>()> load;
    };
    std::vector<Case> cases = {
        {"comments-only script", "empty",
         [] { return importers::loadSqliteScript(dataFile("sqlite/empty.sql")); }},
        {"zero-byte database file", "blank", [&] { return importers::loadSqliteDatabase(blank); }},
        {"database without tables", "fresh", [&] { return importers::loadSqliteDatabase(fresh); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::unique_ptr<ORXModel> model = c.load();
        ASSERT_NE(model, nullptr);
        EXPECT_EQ(model->getName().str(), c.name);
        EXPECT_EQ(model->getTypeCount(), 0);
        ASSERT_EQ(model->getChildPackageCount(), 2);
        auto* catalog = dynamic_cast<ORXCatalog*>(model->getChildPackage(0));
        ASSERT_NE(catalog, nullptr);
        EXPECT_EQ(catalog->getDatabaseType().str(), "SQLite 3");
        ASSERT_EQ(catalog->getChildPackageCount(), 1);
        EXPECT_EQ(catalog->getChildPackage(0)->getName().str(), "main");
        EXPECT_EQ(catalog->getChildPackage(0)->getOwnedObjectCount(), 0);
        ORXDesignPackage* package = mainPackage(*model);
        ASSERT_NE(package, nullptr);
        EXPECT_EQ(package->getName().str(), "main");
        EXPECT_FALSE(package->getPackageFlag());
        EXPECT_EQ(package->getModelElementCount(), 0);
        EXPECT_EQ(package->getDiagramCount(), 0);
        std::string dumped = importers::dumpJsonModel(*model);
        EXPECT_EQ(importers::dumpJsonModel(*importers::parseJsonModel(dumped, "empty.json")),
                  dumped);
    }
}

}  // namespace
