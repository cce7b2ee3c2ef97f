// The MySQL and MariaDB source against a live server (PDM_TEST_MYSQL_URI, a
// database loaded with tests/data/mysql/shop.sql and an account pdm_reader
// from tests/data/mysql/accounts.sql, as .ci/run prepares them): the shop
// schema object by object, what it cannot carry, a model file round trip, and
// failed connections.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "importers/database/MysqlModel.h"
#include "importers/modelfile/JsonModel.h"
#include "support/TestSupport.h"

namespace {

std::string serverUri() {
    const char* uri = std::getenv("PDM_TEST_MYSQL_URI");
    return uri ? uri : "";
}

#define REQUIRE_SERVER()                                                                          \
    if (serverUri().empty())                                                                      \
    GTEST_SKIP() << "PDM_TEST_MYSQL_URI is not set: no MariaDB or MySQL server to read (.ci/run " \
                    "starts one)"

// The test server's URI with the account `user` (password `password`, none
// when empty) and the database `database`.
std::string uriFor(const std::string& user, const std::string& password,
                   const std::string& database) {
    importers::MysqlUri parts = importers::parseMysqlUri(serverUri());
    std::string uri = "mysql://" + user + (password.empty() ? "" : ":" + password) + "@" +
                      parts.host + (parts.port ? ":" + std::to_string(parts.port) : "") + "/" +
                      database;
    return parts.socket.empty() ? uri : uri + "?socket=" + parts.socket;
}

std::string databaseName() {
    return importers::parseMysqlUri(serverUri()).database;
}

// The description's lines joined with " | ".
std::string notes(const ORXModelObject* object) {
    std::string text = object->getDescription().str();
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n'))
        text.replace(at, 1, " | ");
    return text;
}

// One line per column: name, type(length,scale) or its domain, nullability,
// default, check, comment and notes.
std::vector<std::string> columns(const ORXClass* cls) {
    std::vector<std::string> out;
    for (int i = 0; i < cls->getAttributeCount(); ++i) {
        const ORXAttribute* a = cls->getAttribute(i);
        const ORXType* type = a->getType();
        std::string line = a->getName().str() + " ";
        if (!type)
            line += "no type";
        else if (a->ownsType())
            line += type->getDataType().str() + "(" + std::to_string(type->getLength()) + "," +
                    std::to_string(type->getScale()) + ")";
        else
            line += "domain " + type->getName().str();
        line += a->isOptional() ? " null" : " not null";
        if (!a->getInitialValue().str().empty())
            line += " default " + a->getInitialValue().str();
        if (!a->getRuleExpression().str().empty())
            line += " check " + a->getRuleExpression().str();
        if (!a->getComment().str().empty())
            line += " -- " + a->getComment().str();
        if (!a->getDescription().str().empty())
            line += " # " + notes(a);
        out.push_back(line);
    }
    return out;
}

std::vector<std::string> typeValues(const ORXType* type) {
    std::vector<std::string> out;
    ORXTypeValueByPosition values;
    type->getTypeValueByPosition(values);
    for (int i = 0; i < values.getCount(); ++i)
        out.push_back(values.getTypeValue(i)->getValue().str());
    return out;
}

// The index members as "column" or "column desc", in position order.
std::vector<std::string> members(const ORXIndex* index) {
    std::vector<std::string> out;
    for (int i = 0; i < index->getIndexMemberCount(); ++i) {
        const ORXIndexMember* member = index->getIndexMember(i);
        EXPECT_EQ(member->getPosition(), i);
        out.push_back(member->getAttribute()->getName().str() +
                      (member->getSortOrder() == 2 ? " desc" : ""));
    }
    return out;
}

TEST(MysqlModel, ReadsTheShopSchemaObjectByObject) {
    REQUIRE_SERVER();
    importers::DatabaseImport imported = importers::loadMysqlDatabase(serverUri());
    ORXModel& model = *imported.model;
    const std::string db = databaseName();

    EXPECT_EQ(imported.detectedTarget, "MySQL 4.0");
    EXPECT_FALSE(imported.detectedTargetHasTriggers);
    EXPECT_EQ(imported.triggerCount, 2);
    EXPECT_TRUE(imported.serverVersion.rfind("MariaDB ", 0) == 0 ||
                imported.serverVersion.rfind("MySQL ", 0) == 0)
        << imported.serverVersion;

    // The model, its catalog with its one schema, and the merged package.
    EXPECT_EQ(model.getName().str(), db);
    ASSERT_EQ(model.getChildPackageCount(), 2);
    auto* catalog = dynamic_cast<ORXCatalog*>(model.getChildPackage(0));
    ASSERT_NE(catalog, nullptr);
    EXPECT_EQ(catalog->getName().str(), db);
    EXPECT_EQ(catalog->getDatabaseType().str(), "MySQL 4.0");
    EXPECT_EQ(catalog->getComment().str(), imported.serverVersion);
    ASSERT_EQ(catalog->getChildPackageCount(), 1);
    ORXPackage* schema = catalog->getChildPackage(0);
    EXPECT_EQ(schema->getElementType(), ORX_ET_SCHEMA);
    EXPECT_EQ(schema->getName().str(), db);
    auto* package = dynamic_cast<ORXDesignPackage*>(model.getChildPackage(1));
    ASSERT_NE(package, nullptr);
    EXPECT_EQ(package->getName().str(), db);
    EXPECT_FALSE(package->getPackageFlag());

    // Tables and views in name order, then the references; the schema owns
    // each table, its triggers after it, the view and the routines.
    std::vector<std::string> elements;
    for (int i = 0; i < package->getModelElementCount(); ++i)
        elements.push_back(package->getModelElement(i)->getName().str());
    EXPECT_EQ(elements, (std::vector<std::string>{"audit_log", "big_spender", "customer",
                                                  "order_line", "orders", "product", "store",
                                                  "order_line_contact", "order_line_order",
                                                  "order_line_product_fk", "orders_buyer"}));
    std::vector<std::string> owned;
    for (int i = 0; i < schema->getOwnedObjectCount(); ++i)
        owned.push_back(schema->getOwnedObject(i)->getName().str());
    EXPECT_EQ(owned,
              (std::vector<std::string>{"audit_log", "big_spender", "customer", "order_line",
                                        "order_line_audit", "orders", "orders_placed", "product",
                                        "store", "line_total", "purge_customer"}));

    const ORXClass* customer = pdmtest::elementNamed<const ORXClass>(package, "customer");
    const ORXClass* product = pdmtest::elementNamed<const ORXClass>(package, "product");
    const ORXClass* orders = pdmtest::elementNamed<const ORXClass>(package, "orders");
    const ORXClass* line = pdmtest::elementNamed<const ORXClass>(package, "order_line");
    const ORXClass* store = pdmtest::elementNamed<const ORXClass>(package, "store");
    const ORXClass* audit = pdmtest::elementNamed<const ORXClass>(package, "audit_log");
    ASSERT_TRUE(customer && product && orders && line && store && audit);

    // Tables: comment, engine noted.
    EXPECT_EQ(customer->getComment().str(), "People who buy");
    EXPECT_EQ(notes(customer), "Engine: InnoDB");
    EXPECT_EQ(audit->getComment().str(), "Kept forever");
    EXPECT_EQ(notes(audit), "Engine: MyISAM");

    EXPECT_EQ(columns(customer),
              (std::vector<std::string>{
                  "id AUTOINCREMENT(10,0) not null -- Customer number",
                  "email SQL_VARCHAR(80,0) not null",
                  "name SQL_VARCHAR(40,0) null default it's me # Character set: latin1",
                  "country SQL_CHAR(2,0) not null default FR",
                  "active SQL_BOOLEAN(0,0) not null default 1",
                  "visits SQL_INTEGER(0,0) null # Type: int(10) unsigned",
                  "born SQL_DATE(0,0) null",
                  "joined SQL_TIMESTAMP_WITH_TIME_ZONE(0,0) not null default current_timestamp() "
                  "# ON UPDATE current_timestamp()",
                  "status domain customer_status not null default new",
                  "tags domain customer_tags null # Type: set('gift','express','fragile')",
                  "settings SQL_LONGVARCHAR(0,0) null # Type: json",
              }));
    EXPECT_EQ(columns(product),
              (std::vector<std::string>{
                  "code SQL_CHAR(8,0) not null",
                  "title SQL_VARCHAR(200,0) not null",
                  "blurb SQL_LONGVARCHAR(0,0) null",
                  "price SQL_DECIMAL(10,2) not null default 0.00 check `price` >= 0",
                  "weight SQL_FLOAT(0,0) null",
                  "volume SQL_DOUBLE(0,0) null",
                  "stock SQL_SMALLINT(0,0) not null default 0",
                  "shelf SQL_TINYINT(0,0) null",
                  "batch SQL_INTEGER(0,0) null # Type: mediumint(9)",
                  "made SQL_SMALLINT(0,0) null # Type: year(4)",
                  "photo SQL_LONGVARBINARY(0,0) null",
                  "thumb SQL_LONGVARBINARY(0,0) null",
                  "sku SQL_BINARY(16,0) null",
                  "tagbits SQL_BIGINT(0,0) null # Type: bit(8)",
                  "price_with_tax SQL_DECIMAL(12,2) null # Generated (VIRTUAL): `price` * 1.2",
              }));
    EXPECT_EQ(columns(orders), (std::vector<std::string>{
                                   "id AUTOINCREMENT(19,0) not null",
                                   "buyer SQL_INTEGER(0,0) null",
                                   "placed SQL_TIMESTAMP(0,0) not null",
                                   "ships SQL_TIME(0,0) null",
                                   "note SQL_LONGVARCHAR(0,0) null # Type: mediumtext",
                               }));
    EXPECT_EQ(columns(store), (std::vector<std::string>{
                                  "id SQL_INTEGER(0,0) not null",
                                  "location SQL_LONGVARBINARY(0,0) not null # Type: point",
                                  "area SQL_LONGVARBINARY(0,0) null # Type: polygon",
                              }));

    // Enum and set domains with their values in order.
    const ORXType* status = customer->getAttribute(8)->getType();
    EXPECT_EQ(status->getElementType(), ORX_ET_DERIVED_TYPE);
    EXPECT_EQ(status->getDataType().str(), "SQL_VARCHAR");
    EXPECT_EQ(status->getLength(), 4);
    EXPECT_EQ(typeValues(status), (std::vector<std::string>{"new", "vip", "gone"}));
    const ORXType* tags = customer->getAttribute(9)->getType();
    EXPECT_EQ(tags->getLength(), 20);  // every member, with commas
    EXPECT_EQ(typeValues(tags), (std::vector<std::string>{"gift", "express", "fragile"}));

    // Checks: one column's on the column (above), the others the table's
    // rule; MariaDB's json_valid check of a json column is not carried.
    EXPECT_EQ(customer->getBusinessRuleCount(), 0);
    ASSERT_EQ(line->getBusinessRuleCount(), 1);
    EXPECT_EQ(line->getBusinessRule(0)->getRuleType(), 3);
    EXPECT_EQ(line->getBusinessRule(0)->getName().str(), "order_line_sane");
    EXPECT_EQ(line->getBusinessRule(0)->getRuleText().str(),
              "`quantity` > 0 and `line` >= `quantity` - 1000");

    // Keys: the primary key without index; a unique index as a key and its index.
    ASSERT_NE(line->getPrimaryKey(), nullptr);
    EXPECT_EQ(line->getPrimaryKey()->getName().str(), "PK_order_line");
    ASSERT_EQ(line->getPrimaryKey()->getAttributeCount(), 2);
    EXPECT_EQ(line->getPrimaryKey()->getAttribute(0)->getName().str(), "order_id");
    EXPECT_EQ(line->getPrimaryKey()->getAttribute(1)->getName().str(), "line");
    EXPECT_EQ(line->getPrimaryKey()->getIndex(), nullptr);
    auto* email = pdmtest::keyNamed<ORXCandidateKey>(customer, "customer_email");
    ASSERT_TRUE(email && email->getIndex());
    EXPECT_EQ(email->getIndex()->isUnique(), 1);
    EXPECT_EQ(members(email->getIndex()), (std::vector<std::string>{"email"}));

    // Indexes: members, order, prefixes, FULLTEXT and SPATIAL noted.
    struct IndexCase {
        const ORXClass* table;
        std::string name;
        bool unique;
        std::vector<std::string> members;
        std::string notes;
    };
    const IndexCase indexes[] = {
        {customer, "customer_name", false, {"name", "country desc"}, "Prefix lengths: name(10)"},
        {line, "order_line_product", true, {"order_id", "product"}, ""},
        {product, "product_text", false, {"title", "blurb"}, "Index type: FULLTEXT"},
        {store, "store_location", false, {"location"}, "Index type: SPATIAL"},
        {orders, "orders_buyer", false, {"buyer"}, ""},
    };
    for (const IndexCase& c : indexes) {
        SCOPED_TRACE(c.name);
        const ORXIndex* index = nullptr;
        for (int i = 0; i < c.table->getIndexCount(); ++i) {
            if (c.table->getIndex(i)->getName() == c.name)
                index = c.table->getIndex(i);
        }
        ASSERT_NE(index, nullptr);
        EXPECT_EQ(index->getPhysicalName().str(), c.name);
        EXPECT_EQ(index->isUnique() != 0, c.unique);
        EXPECT_EQ(members(index), c.members);
        EXPECT_EQ(notes(index), c.notes);
    }
    EXPECT_EQ(customer->getIndexCount(), 2);  // the primary key's index is none of them

    // References: parent key, name map, rules (an unspecified rule as reported).
    struct Reference {
        const ORXClass* child;
        std::string name;
        const ORXClass* parent;
        std::string parentKey, parentColumn;
        int updateRule, deleteRule;
    };
    const Reference references[] = {
        {orders, "orders_buyer", customer, "PK_customer", "id", 2, 4},
        {line, "order_line_order", orders, "PK_orders", "id", 3, 2},
        {line, "order_line_product_fk", product, "PK_product", "code", 3, 3},
        {line, "order_line_contact", customer, "customer_email", "email", 3, 3},
    };
    for (const Reference& r : references) {
        SCOPED_TRACE(r.name);
        auto* key = pdmtest::keyNamed<ORXForeignKey>(r.child, r.name);
        ASSERT_TRUE(key && key->getCandidateKey() && key->getAssociationRole());
        EXPECT_EQ(key->getCandidateKey()->getName().str(), r.parentKey);
        ASSERT_EQ(key->getAssociationRoleNameMapCount(), 1);
        EXPECT_EQ(key->getAssociationRoleNameMap(0)->getSourceAttribute()->getName().str(),
                  r.parentColumn);
        ORXAssociation* association = key->getAssociationRole()->getAssociation();
        EXPECT_EQ(association->getName().str(), r.name);
        ASSERT_EQ(association->getAssociationRoleCount(), 2);
        EXPECT_TRUE(association->getAssociationRole(0)->isSource());
        EXPECT_EQ(association->getAssociationRole(0)->getAssociatedClass(), r.parent);
        ORXAssociationRole* child = association->getAssociationRole(1);
        EXPECT_EQ(child->getAssociatedClass(), r.child);
        EXPECT_EQ(child->getMultiplicity().str(), "0..*");
        EXPECT_EQ(child->getUpdateRule(), r.updateRule);
        EXPECT_EQ(child->getDeleteRule(), r.deleteRule);
    }

    // The view, its definition and columns.
    const ORXSQLViewEntity* view = nullptr;
    for (int i = 0; i < package->getModelElementCount(); ++i) {
        if (auto* found = dynamic_cast<ORXSQLViewEntity*>(package->getModelElement(i)))
            view = found;
    }
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->getName().str(), "big_spender");
    std::string statement = view->getViewStatement().str();
    EXPECT_EQ(statement.rfind("select `c`.`id` AS `id`,`c`.`email` AS `email` from ", 0), 0u)
        << statement;
    EXPECT_NE(statement.find("group by `c`.`id`,`c`.`email`"), std::string::npos) << statement;
    EXPECT_EQ(view->getViewStatementKind(), 1);
    ASSERT_EQ(view->getSQLViewAttributeCount(), 2);
    EXPECT_EQ(view->getSQLViewAttribute(1)->getName().str(), "email");

    // Triggers with timing, event and body.
    ASSERT_EQ(orders->getOperationCount(), 1);
    const ORXOperation* placed = orders->getOperation(0);
    EXPECT_EQ(placed->getElementType(), ORX_ET_TRIGGER);
    EXPECT_EQ(placed->getName().str(), "orders_placed");
    EXPECT_EQ(placed->getBody().str(),
              "CREATE TRIGGER `orders_placed` BEFORE INSERT ON `orders` FOR EACH ROW "
              "SET NEW.placed = COALESCE(NEW.placed, NOW())");
    EXPECT_EQ(placed->getTiming(), 0);
    EXPECT_TRUE(placed->isOnInsert() && !placed->isOnUpdate() && !placed->isOnDelete());
    ASSERT_EQ(line->getOperationCount(), 1);
    const ORXOperation* audited = line->getOperation(0);
    EXPECT_EQ(audited->getTiming(), 1);
    EXPECT_TRUE(!audited->isOnInsert() && audited->isOnUpdate() && !audited->isOnDelete());

    // Routines with their definitions and comments.
    ASSERT_EQ(package->getStoredProcedureCount(), 2);
    const ORXOperation* total = package->getStoredProcedure(0);
    const ORXOperation* purge = package->getStoredProcedure(1);
    EXPECT_EQ(total->getName().str(), "line_total");
    EXPECT_NE(total->getBody().str().find("FUNCTION `line_total`(qty int, price decimal(10,2)) "
                                          "RETURNS decimal(12,2)"),
              std::string::npos)
        << total->getBody().str();
    EXPECT_EQ(purge->getName().str(), "purge_customer");
    EXPECT_EQ(purge->getComment().str(), "Removes a customer and what hangs on it");
    EXPECT_NE(purge->getBody().str().find("DELETE FROM customer WHERE id = who"),
              std::string::npos);

    // What could not be carried: one line per kind.
    EXPECT_EQ(imported.losses.lines(),
              (std::vector<std::string>{
                  "warning: generated column expressions left out (the columns are kept): 1 "
                  "(product.price_with_tax)",
                  "warning: FULLTEXT indexes written as ordinary indexes: 1 (product.product_text)",
                  "warning: SPATIAL indexes written as ordinary indexes: 1 (store.store_location)",
                  "warning: events left out: 1 (nightly_purge)",
                  "warning: partitioned tables written unpartitioned: 1 (audit_log)",
              }));
}

// An account that may read the tables but not the routines' texts nor the
// triggers: the tables come through, and what it could not read is said.
TEST(MysqlModel, SaysWhatTheAccountMayNotRead) {
    REQUIRE_SERVER();
    importers::DatabaseImport imported =
        importers::loadMysqlDatabase(uriFor("pdm_reader", "pdm-secret", databaseName()));
    auto* package = dynamic_cast<ORXDesignPackage*>(imported.model->getChildPackage(1));
    ASSERT_NE(package, nullptr);
    EXPECT_EQ(package->getModelElementCount(), 11);
    EXPECT_EQ(package->getStoredProcedureCount(), 0);
    EXPECT_EQ(imported.triggerCount, 0);
    EXPECT_EQ(imported.losses.count("routines the account may not read left out"), 2);
    EXPECT_EQ(imported.losses.count("tables whose triggers the account may not read"), 6);
}

// The password comes from the URI, else MYSQL_PWD, else the [client] group
// of ~/.my.cnf; a socket in the URI wins over the option file's.
TEST(MysqlModel, TakesThePasswordFromTheUriTheEnvironmentOrTheOptionFiles) {
    REQUIRE_SERVER();
    pdmtest::TempDir home;
    pdmtest::writeFile(home.file(".my.cnf"),
                       "[client]\npassword=pdm-secret\nsocket=/nonexistent/mysqld.sock\n");
    struct Variable {
        const char* name;
        std::string saved;
        bool set;
    };
    Variable saved[] = {{"HOME", "", false}, {"MYSQL_PWD", "", false}};
    for (Variable& v : saved) {
        if (const char* value = std::getenv(v.name)) {
            v.saved = value;
            v.set = true;
        }
    }
    struct Case {
        std::string name;
        std::string password;  // in the URI
        const char* home;      // null: a home without option files
        const char* mysqlPwd;  // null: unset
        bool connects;
    };
    const Case cases[] = {
        {"the URI's password", "pdm-secret", nullptr, nullptr, true},
        {"the URI's password before MYSQL_PWD", "pdm-secret", nullptr, "wrong", true},
        {"MYSQL_PWD", "", nullptr, "pdm-secret", true},
        {"MYSQL_PWD before the option file", "", "yes", "wrong", false},
        {"the option file, its socket overridden", "", "yes", nullptr, true},
        {"no password at all", "", nullptr, nullptr, false},
    };
    pdmtest::TempDir emptyHome;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setenv("HOME", c.home ? home.path().c_str() : emptyHome.path().c_str(), 1);
        if (c.mysqlPwd)
            setenv("MYSQL_PWD", c.mysqlPwd, 1);
        else
            unsetenv("MYSQL_PWD");
        std::string uri = uriFor("pdm_reader", c.password, databaseName());
        try {
            importers::loadMysqlDatabase(uri);
            EXPECT_TRUE(c.connects);
        } catch (const importers::ModelFileError& error) {
            EXPECT_FALSE(c.connects) << error.what();
            EXPECT_NE(std::string(error.what()).find("Access denied"), std::string::npos)
                << error.what();
        }
    }
    for (const Variable& v : saved) {
        if (v.set)
            setenv(v.name, v.saved.c_str(), 1);
        else
            unsetenv(v.name);
    }
}

TEST(MysqlModel, RoundTripsThroughAModelFile) {
    REQUIRE_SERVER();
    std::string dumped = importers::dumpJsonModel(*importers::loadMysqlDatabase(serverUri()).model);
    std::unique_ptr<ORXModel> reloaded = importers::parseJsonModel(dumped, "mysql.json");
    EXPECT_EQ(importers::dumpJsonModel(*reloaded), dumped);
}

TEST(MysqlModel, FailedConnectionsGiveTheClientLibrarysMessageWithoutThePassword) {
    REQUIRE_SERVER();
    struct Case {
        std::string uri, detail;
    };
    const Case cases[] = {
        {uriFor("pdm_reader", "s3cret", databaseName()), "Access denied for user 'pdm_reader'"},
        {uriFor("pdm_reader", "pdm-secret", "pdm_no_such_db"), "'pdm_no_such_db'"},
        {"mysql://pdm_reader:s3cret@/db?socket=/nonexistent/mysqld.sock",
         "'/nonexistent/mysqld.sock'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.uri);
        try {
            importers::loadMysqlDatabase(c.uri);
            ADD_FAILURE() << "no error";
        } catch (const importers::ModelFileError& error) {
            std::string message = error.what();
            EXPECT_EQ(message.rfind(importers::maskMysqlUri(c.uri) + ": ", 0), 0u) << message;
            EXPECT_NE(message.find(c.detail), std::string::npos) << message;
            EXPECT_EQ(message.find("s3cret"), std::string::npos) << message;
        }
    }
}

}  // namespace
