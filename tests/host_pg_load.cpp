// The PostgreSQL model source against a live server (PDM_TEST_POSTGRES_URI):
// a shop schema read whole, a model file round trip, and failed connections.

#include <gtest/gtest.h>
#include <postgresql/libpq-fe.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "importers/database/PostgresModel.h"
#include "importers/modelfile/JsonModel.h"
#include "support/ReferenceSchema.h"
#include "support/TestSupport.h"

namespace {

std::string serverUri() {
    const char* uri = std::getenv("PDM_TEST_POSTGRES_URI");
    return uri ? uri : "";
}

// A schema of one test's own in the test database, dropped with its content
// at the end; DDL run through it lands in the schema.
class ScratchSchema {
  public:
    explicit ScratchSchema(const std::string& uri)
        : connection_(PQconnectdb(uri.c_str()), PQfinish),
          name_("pdm_pg_" +
                std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
                std::to_string(getpid())) {
        for (char& c : name_)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        run("SET client_min_messages TO warning; CREATE SCHEMA " + name_ + "; SET search_path TO " +
            name_);
    }
    ~ScratchSchema() { run("DROP SCHEMA IF EXISTS " + name_ + " CASCADE"); }
    const std::string& name() const { return name_; }
    std::string database() const { return PQdb(connection_.get()); }
    int serverVersion() const { return PQserverVersion(connection_.get()); }

    // Runs `sql`; the error message, empty on success.
    std::string run(const std::string& sql) {
        std::unique_ptr<PGresult, void (*)(PGresult*)> result(
            PQexec(connection_.get(), sql.c_str()), PQclear);
        ExecStatusType status = PQresultStatus(result.get());
        return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK
                   ? ""
                   : PQerrorMessage(connection_.get());
    }

  private:
    std::unique_ptr<PGconn, void (*)(PGconn*)> connection_;
    std::string name_;
};

constexpr const char* kShop = R"sql(
CREATE TABLE customer (
  id serial PRIMARY KEY,
  email varchar(80) NOT NULL CONSTRAINT customer_email_key UNIQUE,
  name character(20), balance numeric(10,2) DEFAULT 0, joined timestamptz DEFAULT now(),
  born date, opens time(0), active boolean NOT NULL DEFAULT true, photo bytea,
  rating double precision, tags text[], note text,
  ticket bigint GENERATED ALWAYS AS IDENTITY);
COMMENT ON TABLE customer IS 'People who buy';
COMMENT ON COLUMN customer.email IS 'Where receipts go';
CREATE TABLE order_line (
  buyer integer NOT NULL, line smallint NOT NULL, amount bigint NOT NULL, price real,
  contact varchar(80) REFERENCES customer (email),
  CONSTRAINT order_line_pk PRIMARY KEY (buyer, line),
  CONSTRAINT order_line_buyer_fk FOREIGN KEY (buyer) REFERENCES customer ON DELETE CASCADE,
  CONSTRAINT order_line_price_check CHECK (price >= 0),
  CONSTRAINT order_line_amount_check CHECK (amount > 0));
CREATE INDEX order_line_recent ON order_line (buyer, line DESC);
CREATE VIEW big_spender AS SELECT c.id, c.email FROM customer c WHERE c.balance > 1000;
CREATE FUNCTION stamp() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN RETURN NEW; END$$;
CREATE TRIGGER order_line_stamp BEFORE INSERT OR UPDATE ON order_line
  FOR EACH ROW EXECUTE FUNCTION stamp();
)sql";

// The objects of `schema` in the order the schema owns them.
std::vector<ORXModelObject*> ownedBy(const ORXModel& model, const std::string& schema) {
    std::vector<ORXModelObject*> out;
    auto* catalog = dynamic_cast<ORXCatalog*>(model.getChildPackage(0));
    for (int i = 0; catalog && i < catalog->getChildPackageCount(); ++i) {
        ORXPackage* package = catalog->getChildPackage(i);
        for (int j = 0; package->getName() == schema && j < package->getOwnedObjectCount(); ++j)
            out.push_back(package->getOwnedObject(j));
    }
    return out;
}

template <class T>
T* owned(const std::vector<ORXModelObject*>& objects, const std::string& name) {
    for (ORXModelObject* object : objects) {
        auto* found = dynamic_cast<T*>(object);
        if (found && (found->getPhysicalName() == name || found->getName() == name))
            return found;
    }
    return nullptr;
}

// One line per column: name, type(length,scale), nullability, default, comment.
std::vector<std::string> columns(const ORXClass* cls) {
    std::vector<std::string> out;
    for (int i = 0; i < cls->getAttributeCount(); ++i) {
        const ORXAttribute* a = cls->getAttribute(i);
        const ORXType* type = a->getType();
        std::string line = a->getName().str() + " " +
                           (type && a->ownsType() ? type->getDataType().str() + "(" +
                                                        std::to_string(type->getLength()) + "," +
                                                        std::to_string(type->getScale()) + ")"
                                                  : "no type of its own") +
                           (a->isOptional() ? " null" : " not null");
        if (!a->getInitialValue().str().empty())
            line += " default " + a->getInitialValue().str();
        if (!a->getComment().str().empty())
            line += " -- " + a->getComment().str();
        out.push_back(line);
    }
    return out;
}

TEST(PostgresModel, ReadsTheShopSchemaWhole) {
    if (serverUri().empty())
        GTEST_SKIP() << "PDM_TEST_POSTGRES_URI is not set";
    ScratchSchema scratch(serverUri());
    ASSERT_EQ(scratch.run(kShop), "");
    std::unique_ptr<ORXModel> model = importers::loadPostgresDatabase(serverUri()).model;
    const std::string s = scratch.name();

    EXPECT_EQ(model->getName().str(), scratch.database());
    auto* catalog = dynamic_cast<ORXCatalog*>(model->getChildPackage(0));
    ASSERT_NE(catalog, nullptr);
    EXPECT_EQ(catalog->getName().str(), scratch.database());
    EXPECT_EQ(catalog->getDatabaseType().str(), "PostgreSQL 7");
    EXPECT_EQ(catalog->getComment().str().rfind(
                  "PostgreSQL " + std::to_string(scratch.serverVersion() / 10000) + ".", 0),
              0u)
        << catalog->getComment().str();
    auto* package = dynamic_cast<ORXDesignPackage*>(model->getChildPackage(1));
    ASSERT_NE(package, nullptr);
    EXPECT_EQ(package->getName().str(), scratch.database());
    EXPECT_FALSE(package->getPackageFlag());

    // Tables, each followed by its triggers, then the view, then routines.
    std::vector<ORXModelObject*> objects = ownedBy(*model, s);
    std::vector<std::string> names;
    for (ORXModelObject* object : objects)
        names.push_back(object->getPhysicalName().str());
    EXPECT_EQ(names, (std::vector<std::string>{"customer", "order_line", "order_line_stamp",
                                               "big_spender", "stamp"}));
    auto* customer = owned<ORXClass>(objects, "customer");
    auto* line = owned<ORXClass>(objects, "order_line");
    auto* view = owned<ORXSQLViewEntity>(objects, "big_spender");
    ASSERT_TRUE(customer && line && view);
    EXPECT_EQ(customer->getComment().str(), "People who buy");

    EXPECT_EQ(columns(customer), (std::vector<std::string>{
                                     "id AUTOINCREMENT(10,0) not null",
                                     "email SQL_VARCHAR(80,0) not null -- Where receipts go",
                                     "name SQL_CHAR(20,0) null",
                                     "balance SQL_NUMERIC(10,2) null default 0",
                                     "joined SQL_TIMESTAMP_WITH_TIME_ZONE(0,0) null default now()",
                                     "born SQL_DATE(0,0) null",
                                     "opens SQL_TIME(0,0) null",
                                     "active SQL_BOOLEAN(0,0) not null default true",
                                     "photo SQL_LONGVARBINARY(0,0) null",
                                     "rating SQL_DOUBLE(0,0) null",
                                     "tags SQL_LONGVARCHAR(0,0) null -- text[]",
                                     "note SQL_LONGVARCHAR(0,0) null",
                                     "ticket AUTOINCREMENT(19,0) not null",
                                 }));
    EXPECT_EQ(columns(line), (std::vector<std::string>{
                                 "buyer SQL_INTEGER(0,0) not null",
                                 "line SQL_SMALLINT(0,0) not null",
                                 "amount SQL_BIGINT(0,0) not null",
                                 "price SQL_REAL(0,0) null",
                                 "contact SQL_VARCHAR(80,0) null",
                             }));

    // Keys: primary keys in key order, the unique key with its index.
    ASSERT_NE(line->getPrimaryKey(), nullptr);
    EXPECT_EQ(line->getPrimaryKey()->getName().str(), "order_line_pk");
    EXPECT_EQ(line->getPrimaryKey()->getAttributeCount(), 2);
    EXPECT_EQ(line->getPrimaryKey()->getAttribute(1)->getName().str(), "line");
    auto* email = pdmtest::keyNamed<ORXCandidateKey>(customer, "customer_email_key");
    ASSERT_TRUE(email && email->getIndex());
    EXPECT_EQ(email->getIndex()->isUnique(), 1);
    EXPECT_EQ(email->getIndex()->getIndexMember(0)->getAttribute()->getName().str(), "email");
    ASSERT_EQ(line->getIndexCount(), 1);  // the primary key's index is no index of the model
    ORXIndex* recent = line->getIndex(0);
    EXPECT_EQ(recent->getName().str(), "order_line_recent");
    EXPECT_EQ(recent->isUnique(), 0);
    ASSERT_EQ(recent->getIndexMemberCount(), 2);
    EXPECT_EQ(recent->getIndexMember(0)->getSortOrder(), 1);
    EXPECT_EQ(recent->getIndexMember(1)->getSortOrder(), 2);
    EXPECT_EQ(recent->getIndexMember(1)->getPosition(), 1);

    // References: the parent's primary or unique key, name maps, rules.
    struct Reference {
        std::string name, parentKey, parentColumn;
        int deleteRule;
    };
    for (const Reference& r :
         {Reference{"order_line_buyer_fk", "customer_pkey", "id", 2},
          Reference{"order_line_contact_fkey", "customer_email_key", "email", 1}}) {
        SCOPED_TRACE(r.name);
        auto* key = pdmtest::keyNamed<ORXForeignKey>(line, r.name);
        ASSERT_TRUE(key && key->getCandidateKey() && key->getAssociationRole());
        EXPECT_EQ(key->getCandidateKey()->getName().str(), r.parentKey);
        ASSERT_EQ(key->getAssociationRoleNameMapCount(), 1);
        EXPECT_EQ(key->getAssociationRoleNameMap(0)->getSourceAttribute()->getName().str(),
                  r.parentColumn);
        ORXAssociation* association = key->getAssociationRole()->getAssociation();
        EXPECT_EQ(association->getName().str(), r.name);
        ASSERT_EQ(association->getAssociationRoleCount(), 2);
        ORXAssociationRole* parent = association->getAssociationRole(0);
        EXPECT_TRUE(parent->isSource());
        EXPECT_EQ(parent->getAssociatedClass(), customer);
        EXPECT_EQ(parent->getMultiplicity().str(), "1");
        ORXAssociationRole* child = association->getAssociationRole(1);
        EXPECT_EQ(child->getMultiplicity().str(), "0..*");
        EXPECT_EQ(child->getUpdateRule(), 1);
        EXPECT_EQ(child->getDeleteRule(), r.deleteRule);
    }

    // Each check reads one column and becomes that column's check.
    EXPECT_EQ(line->getBusinessRuleCount(), 0);
    EXPECT_EQ(line->getAttribute(2)->getRuleExpression().str(), "amount > 0");
    EXPECT_EQ(line->getAttribute(3)->getRuleExpression().str(), "price >= (0)::double precision");

    std::string statement = view->getViewStatement().str();
    EXPECT_EQ(statement.rfind("SELECT c.id,", 0), 0u) << statement;
    EXPECT_NE(statement.find("FROM " + s + ".customer c"), std::string::npos) << statement;
    EXPECT_EQ(statement.back(), ')') << statement;
    ASSERT_EQ(view->getSQLViewAttributeCount(), 2);
    EXPECT_EQ(view->getSQLViewAttribute(1)->getName().str(), "email");
    EXPECT_EQ(view->getSQLViewAttribute(1)->getSourceFeature(), nullptr);

    ASSERT_EQ(line->getOperationCount(), 1);
    ORXOperation* trigger = line->getOperation(0);
    EXPECT_EQ(trigger->getElementType(), ORX_ET_TRIGGER);
    EXPECT_EQ(
        trigger->getBody().str().rfind("CREATE TRIGGER order_line_stamp BEFORE INSERT OR UPDATE "
                                       "ON " +
                                           s + ".order_line",
                                       0),
        0u)
        << trigger->getBody().str();
    EXPECT_EQ(trigger->getTiming(), 0);
    EXPECT_TRUE(trigger->isOnInsert() && trigger->isOnUpdate() && !trigger->isOnDelete());
    auto* stamp = owned<ORXOperation>(objects, "stamp");
    ASSERT_NE(stamp, nullptr);
    EXPECT_EQ(stamp->getProcedurePackage(), package);
    EXPECT_NE(stamp->getBody().str().find("FUNCTION " + s + ".stamp()"), std::string::npos);
}

// Every referential action, a foreign key to a unique key that holds the
// primary key's column, and triggers of each timing and level.
TEST(PostgresModel, ReadsReferentialActionsKeysAndTriggerTimings) {
    if (serverUri().empty())
        GTEST_SKIP() << "PDM_TEST_POSTGRES_URI is not set";
    ScratchSchema scratch(serverUri());
    ASSERT_EQ(scratch.run(pdmtest::kReferenceSchema), "");
    ASSERT_EQ(scratch.run(R"sql(
CREATE FUNCTION nothing() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN RETURN NULL; END$$;
CREATE TRIGGER after_row_insert AFTER INSERT ON parent FOR EACH ROW EXECUTE FUNCTION nothing();
CREATE TRIGGER before_statement_update BEFORE UPDATE ON parent
  FOR EACH STATEMENT EXECUTE FUNCTION nothing();
CREATE TRIGGER after_statement_delete AFTER DELETE ON parent
  FOR EACH STATEMENT EXECUTE FUNCTION nothing();
CREATE TRIGGER before_row_insert_delete BEFORE INSERT OR DELETE ON parent
  FOR EACH ROW EXECUTE FUNCTION nothing();
)sql"),
              "");
    std::unique_ptr<ORXModel> model = importers::loadPostgresDatabase(serverUri()).model;
    const std::vector<ORXModelObject*> objects = ownedBy(*model, scratch.name());
    auto* parent = owned<ORXClass>(objects, "parent");
    pdmtest::expectReferenceSchema(parent, owned<ORXClass>(objects, "child"));
    ASSERT_NE(parent, nullptr);

    // Timing: 0 before, 1 after; then the events insert, update, delete.
    struct Trigger {
        std::string name;
        int timing;
        bool onInsert, onUpdate, onDelete;
    };
    const Trigger expected[] = {{"after_row_insert", 1, true, false, false},
                                {"before_statement_update", 0, false, true, false},
                                {"after_statement_delete", 1, false, false, true},
                                {"before_row_insert_delete", 0, true, false, true}};
    for (const Trigger& t : expected) {
        SCOPED_TRACE(t.name);
        ORXOperation* trigger = nullptr;
        for (int i = 0; i < parent->getOperationCount(); ++i)
            if (parent->getOperation(i)->getName().str() == t.name ||
                parent->getOperation(i)->getPhysicalName().str() == t.name)
                trigger = parent->getOperation(i);
        ASSERT_NE(trigger, nullptr);
        EXPECT_EQ(trigger->getElementType(), ORX_ET_TRIGGER);
        EXPECT_EQ(trigger->getTiming(), t.timing);
        EXPECT_EQ(trigger->isOnInsert(), t.onInsert);
        EXPECT_EQ(trigger->isOnUpdate(), t.onUpdate);
        EXPECT_EQ(trigger->isOnDelete(), t.onDelete);
    }
}

// Checks of each kind, enumerated types and domains, read from a schema
// that holds nothing the model cannot carry.
TEST(PostgresModel, ChecksEnumsAndDomainsKeepTheirMeaning) {
    if (serverUri().empty())
        GTEST_SKIP() << "PDM_TEST_POSTGRES_URI is not set";
    ScratchSchema scratch(serverUri());
    const std::string s = scratch.name();
    ASSERT_EQ(scratch.run(R"sql(
CREATE TYPE mood AS ENUM ('sad', 'ok', 'happy');
CREATE DOMAIN positive AS numeric(8,2) NOT NULL DEFAULT 1
  CONSTRAINT positive_min CHECK (VALUE > 0) CONSTRAINT positive_max CHECK (VALUE < 1000);
CREATE TABLE item (
  id integer PRIMARY KEY,
  price positive,
  cost numeric CHECK (cost >= 0) CHECK (cost < 5000),
  feeling mood DEFAULT 'ok',
  CONSTRAINT item_margin CHECK (price > cost),
  CONSTRAINT item_always CHECK (true));
CREATE TABLE single (a integer, b integer, CONSTRAINT single_ab CHECK (a < b));
)sql"),
              "");
    importers::DatabaseImport import = importers::loadPostgresDatabase(serverUri());
    std::vector<ORXModelObject*> objects = ownedBy(*import.model, s);
    auto* item = owned<ORXClass>(objects, "item");
    auto* single = owned<ORXClass>(objects, "single");
    ASSERT_TRUE(item && single);

    // The enumeration and the domain are domains of the model.
    ORXDerivedType* mood = nullptr;
    ORXDerivedType* positive = nullptr;
    for (int i = 0; i < import.model->getTypeCount(); ++i) {
        auto* type = dynamic_cast<ORXDerivedType*>(import.model->getType(i));
        if (type && type->getName() == "mood")
            mood = type;
        if (type && type->getName() == "positive")
            positive = type;
    }
    ASSERT_TRUE(mood && positive);
    EXPECT_TRUE(mood->isDomain() && positive->isDomain());
    EXPECT_EQ(mood->getDataType().str(), "SQL_VARCHAR");
    EXPECT_EQ(mood->getLength(), 5);
    ORXTypeValueByPosition values;
    mood->getTypeValueByPosition(values);
    ASSERT_EQ(values.getCount(), 3);
    EXPECT_EQ(values.getTypeValue(0)->getValue().str(), "sad");
    EXPECT_EQ(values.getTypeValue(2)->getValue().str(), "happy");
    EXPECT_EQ(positive->getDataType().str(), "SQL_NUMERIC");
    EXPECT_EQ(positive->getLength(), 8);
    EXPECT_EQ(positive->getScale(), 2);
    EXPECT_EQ(positive->getInitialValue().str(), "1");

    // Columns of those types use the domain; the domain's NOT NULL and checks
    // (by constraint name) go to its column, before the column's own.
    ORXAttribute* price = item->getAttribute(1);
    ORXAttribute* cost = item->getAttribute(2);
    ORXAttribute* feeling = item->getAttribute(3);
    EXPECT_EQ(price->getType(), positive);
    EXPECT_FALSE(price->isOptional());
    EXPECT_EQ(price->getRuleExpression().str(),
              "(price < (1000)::numeric) AND (price > (0)::numeric)");
    EXPECT_EQ(feeling->getType(), mood);
    EXPECT_TRUE(feeling->isOptional());
    EXPECT_EQ(feeling->getInitialValue().str(), "'ok'::" + s + ".mood");
    EXPECT_EQ(cost->getRuleExpression().str(),
              "(cost >= (0)::numeric) AND (cost < (5000)::numeric)");

    // Checks over two columns or none make the table's check rule, by name.
    ASSERT_EQ(item->getBusinessRuleCount(), 1);
    EXPECT_EQ(item->getBusinessRule(0)->getRuleType(), 3);
    EXPECT_EQ(item->getBusinessRule(0)->getName().str(), "CK_item");
    EXPECT_EQ(item->getBusinessRule(0)->getRuleText().str(),
              "(true) AND ((price)::numeric > cost)");
    ASSERT_EQ(single->getBusinessRuleCount(), 1);
    EXPECT_EQ(single->getBusinessRule(0)->getName().str(), "single_ab");
    EXPECT_EQ(single->getBusinessRule(0)->getRuleText().str(), "a < b");
}

// What the model cannot hold is counted per kind with its first examples.
TEST(PostgresModel, WhatTheModelCannotHoldIsCountedPerKind) {
    if (serverUri().empty())
        GTEST_SKIP() << "PDM_TEST_POSTGRES_URI is not set";
    ScratchSchema scratch(serverUri());
    const std::string s = scratch.name();
    ASSERT_EQ(scratch.run(R"sql(
CREATE TABLE t (a integer PRIMARY KEY, b text,
  CONSTRAINT t_b_key UNIQUE (b) DEFERRABLE INITIALLY DEFERRED);
CREATE INDEX t_lower ON t (lower(b));
CREATE INDEX t_mixed ON t (a, lower(b));
CREATE INDEX t_positive ON t (a) WHERE a > 0;
CREATE INDEX t_pattern ON t (b text_pattern_ops);
CREATE SEQUENCE free_counter;
CREATE TABLE owned_counter (id serial);
CREATE VIEW v AS SELECT a FROM t;
CREATE FUNCTION v_ins() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN RETURN NEW; END$$;
CREATE TRIGGER v_ins INSTEAD OF INSERT ON v FOR EACH ROW EXECUTE FUNCTION v_ins();
)sql"),
              "");
    importers::DatabaseImport import = importers::loadPostgresDatabase(serverUri());
    EXPECT_EQ(import.losses.lines(),
              (std::vector<std::string>{
                  "warning: DEFERRABLE settings left out: 1 (t.t_b_key)",
                  "warning: indexes made only of expressions left out: 1 (t.t_lower)",
                  "warning: index expressions left out (the indexes keep their columns): 1 "
                  "(t.t_mixed)",
                  "warning: index operator classes left out: 1 (t.t_pattern)",
                  "warning: index conditions left out (the partial indexes keep their columns): 1 "
                  "(t.t_positive)",
                  "warning: triggers on views left out: 1 (v_ins)",
                  "warning: sequences not owned by a column left out: 1 (" + s + ".free_counter)",
              }));
    auto* t = owned<ORXClass>(ownedBy(*import.model, s), "t");
    ASSERT_NE(t, nullptr);
    std::vector<std::string> indexes;
    for (int i = 0; i < t->getIndexCount(); ++i)
        indexes.push_back(t->getIndex(i)->getName().str() + ":" +
                          std::to_string(t->getIndex(i)->getIndexMemberCount()));
    EXPECT_EQ(indexes,
              (std::vector<std::string>{"t_b_key:1", "t_mixed:1", "t_pattern:1", "t_positive:1"}));
    EXPECT_EQ(import.detectedTarget, "PostgreSQL 7");
    EXPECT_TRUE(import.detectedTargetHasTriggers);
}

TEST(PostgresModel, RoundTripsThroughAModelFile) {
    if (serverUri().empty())
        GTEST_SKIP() << "PDM_TEST_POSTGRES_URI is not set";
    ScratchSchema scratch(serverUri());
    ASSERT_EQ(scratch.run(kShop), "");
    std::string dumped =
        importers::dumpJsonModel(*importers::loadPostgresDatabase(serverUri()).model);
    EXPECT_NE(dumped.find("\"" + scratch.name() + "\""), std::string::npos);
    std::unique_ptr<ORXModel> reloaded = importers::parseJsonModel(dumped, "pg.json");
    EXPECT_EQ(importers::dumpJsonModel(*reloaded), dumped);
}

TEST(PostgresModel, NamesTheUriWithoutItsPasswordWhenTheConnectionFails) {
    if (serverUri().empty())
        GTEST_SKIP() << "PDM_TEST_POSTGRES_URI is not set";
    // The server of the test URI with other users, passwords and databases.
    std::string uri = serverUri();
    std::size_t start = uri.find("://") + 3;
    std::string authority = uri.substr(start, uri.find_first_of("/?", start) - start);
    std::string host = authority.substr(authority.find('@') + 1);
    std::string scheme = uri.substr(0, start);
    struct Case {
        std::string uri, prefix, detail;
    };
    const std::vector<Case> cases = {
        {scheme + host + "/pdm_no_such_db",
         scheme + host + "/pdm_no_such_db: ", "database \"pdm_no_such_db\" does not exist"},
        {scheme + "pdm_nobody:s3cret@" + host + "/pdm_no_such_db?password=s3cret&sslmode=disable",
         scheme + "pdm_nobody:***@" + host + "/pdm_no_such_db?password=***&sslmode=disable: ",
         "pdm_nobody"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.uri);
        try {
            importers::loadPostgresDatabase(c.uri);
            ADD_FAILURE() << "no error";
        } catch (const importers::ModelFileError& error) {
            std::string message = error.what();
            EXPECT_EQ(message.rfind(c.prefix, 0), 0u) << message;
            EXPECT_NE(message.find(c.detail), std::string::npos) << message;
            EXPECT_EQ(message.find("s3cret"), std::string::npos) << message;
            EXPECT_EQ(message.find('\n'), std::string::npos) << message;
        }
    }
}

TEST(PostgresModel, KnowsConnectionUris) {
    for (const auto& [input, expected] :
         std::vector<std::pair<std::string, bool>>{{"postgresql:///shop", true},
                                                   {"postgres://u:p@db:5433/shop", true},
                                                   {"postgresql:/shop", false},
                                                   {"shop.postgresql://", false},
                                                   {"POSTGRESQL:///shop", false},
                                                   {"shop.sql", false}}) {
        SCOPED_TRACE(input);
        EXPECT_EQ(importers::isPostgresUri(input), expected);
    }
}

}  // namespace
