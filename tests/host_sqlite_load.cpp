// The SQLite model source: a whole schema read from a script and from a
// database file, and the messages for scripts that fail and files that are
// no databases.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

#include "importers/database/SqliteModel.h"
#include "importers/modelfile/JsonModel.h"
#include "support/ReferenceSchema.h"
#include "support/TestSupport.h"

namespace {

using pdmtest::dataFile;
using Strings = std::vector<std::string>;

// "name TYPE(length,scale)", then " NOT NULL", " = default" and " -- comment" when they apply.
Strings columns(const ORXClass* table) {
    Strings out;
    for (int i = 0; i < table->getAttributeCount(); ++i) {
        const ORXAttribute* a = table->getAttribute(i);
        std::string text = a->getName().str() + " " + a->getType()->getDataType().str() + "(" +
                           std::to_string(a->getType()->getLength()) + "," +
                           std::to_string(a->getType()->getScale()) + ")";
        text += a->isOptional() ? "" : " NOT NULL";
        text += a->getInitialValue().empty() ? "" : " = " + a->getInitialValue().str();
        text += a->getComment().empty() ? "" : " -- " + a->getComment().str();
        out.push_back(text);
    }
    return out;
}

Strings keyColumns(const ORXKey* key) {
    Strings out;
    for (int i = 0; i < key->getAttributeCount(); ++i)
        out.push_back(key->getAttribute(i)->getName().str());
    return out;
}

void expectShopModel(const ORXModel& model) {
    EXPECT_EQ(model.getName(), "shop");
    ASSERT_EQ(model.getChildPackageCount(), 2);
    auto* catalog = dynamic_cast<ORXCatalog*>(model.getChildPackage(0));
    ASSERT_NE(catalog, nullptr);
    EXPECT_EQ(catalog->getDatabaseType(), "ODBC 3.0");
    EXPECT_EQ(catalog->getComment(), std::string("SQLite ") + sqlite3_libversion());
    ORXPackage* schema = catalog->getChildPackage(0);
    auto* package = dynamic_cast<ORXDesignPackage*>(model.getChildPackage(1));
    ASSERT_NE(package, nullptr);
    EXPECT_FALSE(package->getPackageFlag());

    // Tables and the view in schema order, then the references; the reference
    // to the missing table "product" and the trigger on the view are left out.
    Strings elements, owned;
    for (int i = 0; i < package->getModelElementCount(); ++i)
        elements.push_back(package->getModelElement(i)->getName().str());
    EXPECT_EQ(elements, (Strings{"customer", "order_line", "review", "big_spender",
                                 "order_line_customer_0", "review_customer_1"}));
    for (int i = 0; i < schema->getOwnedObjectCount(); ++i)
        owned.push_back(schema->getOwnedObject(i)->getName().str());
    EXPECT_EQ(owned, (Strings{"customer", "customer_welcome", "order_line", "order_line_audit",
                              "review", "big_spender"}));

    auto* customer = pdmtest::elementNamed<ORXClass>(package, "customer");
    auto* orderLine = pdmtest::elementNamed<ORXClass>(package, "order_line");
    auto* review = pdmtest::elementNamed<ORXClass>(package, "review");
    ASSERT_TRUE(customer && orderLine && review);
    EXPECT_EQ(columns(customer),
              (Strings{"id AUTOINCREMENT(19,0) NOT NULL", "email SQL_VARCHAR(80,0) NOT NULL",
                       "name SQL_NVARCHAR(40,0)", "balance SQL_NUMERIC(10,2) = 0",
                       "joined SQL_TIMESTAMP(0,0) = CURRENT_TIMESTAMP",
                       "notes SQL_LONGVARCHAR(0,0)", "photo SQL_LONGVARBINARY(0,0)",
                       "rating SQL_DOUBLE(0,0)", "flags SQL_BIGINT(0,0) -- UNSIGNED BIG INT"}));
    EXPECT_EQ(
        columns(orderLine),
        (Strings{"customer_id SQL_INTEGER(0,0) NOT NULL", "line_no SQL_SMALLINT(0,0) NOT NULL",
                 "product SQL_CHAR(12,0) NOT NULL = 'none'", "quantity SQL_INTEGER(0,0)"}));
    EXPECT_EQ(columns(review)[2], "body SQL_LONGVARCHAR(0,0)");

    // Keys: the primary key without an index; the UNIQUE constraint with its index.
    ORXCandidateKey* customerKey = customer->getPrimaryKey();
    ASSERT_TRUE(customerKey && customer->getKeyCount() == 2 && customer->getIndexCount() == 1);
    EXPECT_EQ(customerKey->getName(), "PK_customer");
    EXPECT_EQ(customerKey->getIndex(), nullptr);
    auto* emailKey = dynamic_cast<ORXCandidateKey*>(customer->getKey(1));
    ASSERT_NE(emailKey, nullptr);
    EXPECT_EQ(keyColumns(emailKey), Strings{"email"});
    EXPECT_EQ(emailKey->getIndex(), customer->getIndex(0));
    EXPECT_EQ(customer->getIndex(0)->getKey(), emailKey);
    EXPECT_EQ(customer->getIndex(0)->isUnique(), 1);
    ASSERT_NE(orderLine->getPrimaryKey(), nullptr);
    EXPECT_EQ(keyColumns(orderLine->getPrimaryKey()), (Strings{"customer_id", "line_no"}));

    // The index with a descending first member.
    ASSERT_EQ(orderLine->getIndexCount(), 1);
    ORXIndex* index = orderLine->getIndex(0);
    EXPECT_EQ(index->getName(), "order_line_quantity");
    EXPECT_EQ(index->isUnique(), 0);
    ASSERT_EQ(index->getIndexMemberCount(), 2);
    EXPECT_EQ(index->getIndexMember(0)->getAttribute(), orderLine->getAttribute(3));
    EXPECT_EQ(index->getIndexMember(0)->getSortOrder(), 2);
    EXPECT_EQ(index->getIndexMember(1)->getAttribute(), orderLine->getAttribute(2));
    EXPECT_EQ(index->getIndexMember(1)->getSortOrder(), 1);
    EXPECT_EQ(index->getIndexMember(1)->getPosition(), 1);

    // The cascading reference to the primary key, with a name map because the
    // column names differ; the reference to the unique key with SET NULL.
    ASSERT_EQ(orderLine->getKeyCount(), 2);
    auto* foreignKey = dynamic_cast<ORXForeignKey*>(orderLine->getKey(1));
    ASSERT_NE(foreignKey, nullptr);
    EXPECT_EQ(foreignKey->getName(), "FK_order_line_customer_0");
    EXPECT_EQ(foreignKey->getCandidateKey(), customerKey);
    ASSERT_EQ(foreignKey->getAssociationRoleNameMapCount(), 1);
    EXPECT_EQ(foreignKey->getAssociationRoleNameMap(0)->getSourceAttribute(),
              customer->getAttribute(0));
    EXPECT_EQ(foreignKey->getAssociationRoleNameMap(0)->getDestinationAttribute(),
              orderLine->getAttribute(0));
    auto* reference = pdmtest::elementNamed<ORXAssociation>(package, "order_line_customer_0");
    ASSERT_TRUE(reference && reference->getAssociationRoleCount() == 2);
    ORXAssociationRole* parentRole = reference->getAssociationRole(0);
    ORXAssociationRole* childRole = reference->getAssociationRole(1);
    EXPECT_TRUE(parentRole->isSource());
    EXPECT_EQ(parentRole->getAssociatedClass(), customer);
    EXPECT_EQ(childRole->getAssociatedClass(), orderLine);
    EXPECT_EQ(childRole->getForeignKey(), foreignKey);
    EXPECT_EQ(childRole->getUpdateRule(), 1);
    EXPECT_EQ(childRole->getDeleteRule(), 2);
    ASSERT_EQ(review->getKeyCount(), 1);
    auto* authorKey = dynamic_cast<ORXForeignKey*>(review->getKey(0));
    ASSERT_NE(authorKey, nullptr);
    EXPECT_EQ(authorKey->getCandidateKey(), emailKey);
    auto* authorReference = pdmtest::elementNamed<ORXAssociation>(package, "review_customer_1");
    ASSERT_NE(authorReference, nullptr);
    EXPECT_EQ(authorReference->getAssociationRole(1)->getUpdateRule(), 4);

    // The view: its SELECT, and column sources where the column has one.
    auto* view = pdmtest::elementNamed<ORXSQLViewEntity>(package, "big_spender");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->getViewStatement(),
              "SELECT id, email, balance * 2 AS doubled FROM customer WHERE balance > 100");
    ASSERT_EQ(view->getSQLViewAttributeCount(), 3);
    EXPECT_EQ(view->getSQLViewAttribute(1)->getSourceFeature(), customer->getAttribute(1));
    EXPECT_EQ(view->getSQLViewAttribute(2)->getName(), "doubled");
    EXPECT_EQ(view->getSQLViewAttribute(2)->getSourceFeature(), nullptr);

    // Triggers: AFTER UPDATE, and one without timing, which SQLite fires BEFORE.
    ASSERT_TRUE(orderLine->getOperationCount() == 1 && customer->getOperationCount() == 1);
    ORXOperation* audit = orderLine->getOperation(0);
    EXPECT_EQ(audit->getBody().str().rfind("CREATE TRIGGER order_line_audit AFTER UPDATE", 0), 0u);
    EXPECT_EQ(audit->getTiming(), 1);
    EXPECT_TRUE(!audit->isOnInsert() && audit->isOnUpdate() && !audit->isOnDelete());
    ORXOperation* welcome = customer->getOperation(0);
    EXPECT_EQ(welcome->getTiming(), 0);
    EXPECT_TRUE(welcome->isOnInsert() && !welcome->isOnUpdate() && !welcome->isOnDelete());
}

TEST(SqliteLoad, ScriptAndDatabaseFileGiveTheShopSchema) {
    std::unique_ptr<ORXModel> fromScript =
        importers::loadSqliteScript(dataFile("sqlite/shop.sql")).model;
    expectShopModel(*fromScript);

    pdmtest::TempDir dir;
    const std::string path = dir.file("shop.db");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    int code = sqlite3_exec(db, pdmtest::readFile(dataFile("sqlite/shop.sql")).c_str(), nullptr,
                            nullptr, nullptr);
    sqlite3_close(db);
    ASSERT_EQ(code, SQLITE_OK);
    ASSERT_TRUE(importers::isSqliteDatabaseFile(path));
    std::unique_ptr<ORXModel> fromFile = importers::loadSqliteDatabase(path).model;
    expectShopModel(*fromFile);
    EXPECT_EQ(importers::dumpJsonModel(*fromFile), importers::dumpJsonModel(*fromScript));
}

TEST(SqliteLoad, ReadsEveryReferentialActionAndTheKeyAForeignKeyNames) {
    pdmtest::TempDir dir;
    const std::string script = dir.file("references.sql");
    pdmtest::writeFile(script, pdmtest::kReferenceSchema);
    std::unique_ptr<ORXModel> model = importers::loadSqliteScript(script).model;
    auto* package = dynamic_cast<ORXDesignPackage*>(model->getChildPackage(1));
    ASSERT_NE(package, nullptr);
    pdmtest::expectReferenceSchema(pdmtest::elementNamed<ORXClass>(package, "parent"),
                                   pdmtest::elementNamed<ORXClass>(package, "child"));
}

TEST(SqliteLoad, FailuresNameTheFileAndWhatIsWrong) {
    pdmtest::TempDir dir;
    const std::string spanning = dir.file("spanning.sql");
    pdmtest::writeFile(spanning, "SELECT 1;\nCREATE TABLE d (\n  x INTEGER,\n  x TEXT\n);\n");
    const std::string notDatabase = dataFile("sqlite/not-a-database.db");
    struct Case {
        std::string path;
        bool script;
        std::string message;  // after "<path>: "
    };
    const Case cases[] = {
        {dataFile("sqlite/error-line3.sql"), true, "line 3: table a already exists"},
        {spanning, true, "line 2: duplicate column name: x"},
        {notDatabase, false, "not a SQLite database"},
        {dir.file("missing.db"), false, "cannot open the file: No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            c.script ? importers::loadSqliteScript(c.path) : importers::loadSqliteDatabase(c.path);
            ADD_FAILURE() << "loaded without error";
        } catch (const importers::ModelFileError& error) {
            EXPECT_EQ(error.what(), c.path + ": " + c.message);
        }
    }
    EXPECT_FALSE(importers::isSqliteDatabaseFile(notDatabase));
    EXPECT_FALSE(importers::isSqliteDatabaseFile(dataFile("sqlite/shop.sql")));
}

}  // namespace
