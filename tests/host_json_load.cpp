// What a loaded model file holds: orders, defaults and links as the example
// model gives them; and the ids a dump gives to objects that have none.

#include <gtest/gtest.h>

#include <string>
#include <unordered_map>

#include "importers/JsonModel.h"
#include "orx/ORXBridgeLib.h"
#include "support/TestSupport.h"

namespace {

// Collects the objects of a model by their external ids.
class IdIndex : public ORXTraversalOperation {
  public:
    explicit IdIndex(ORXModel* model) { model->depthTraversal(this, nullptr); }
    bool visit(ORXObject* object, void*) override {
        if (!object->getExternalId().empty())
            objects[object->getExternalId().str()] = object;
        return true;
    }
    void leave(ORXObject*, void*) override {}
    template <class T>
    T* get(const std::string& id) const {
        auto it = objects.find(id);
        if (it == objects.end())
            return nullptr;
        return dynamic_cast<T*>(it->second);
    }
    std::unordered_map<std::string, ORXObject*> objects;
};

class SalesModel : public ::testing::Test {
  protected:
    void SetUp() override {
        model = importers::loadJsonModelFile(std::string(PDM_SOURCE_DIR) + "/examples/sales.json");
        ids = std::make_unique<IdIndex>(model.get());
    }
    std::unique_ptr<ORXModel> model;
    std::unique_ptr<IdIndex> ids;
};

TEST_F(SalesModel, PackagesKeepTheirOrderAndFlags) {
    ASSERT_EQ(3, model->getChildPackageCount());
    auto* catalog = dynamic_cast<ORXCatalog*>(model->getChildPackage(0));
    ASSERT_NE(nullptr, catalog);
    EXPECT_EQ("ORACLE 8.1.6", catalog->getDatabaseType());
    ASSERT_EQ(2, catalog->getChildPackageCount());
    EXPECT_EQ("APP", catalog->getChildPackage(0)->getName());
    EXPECT_EQ(ORX_ET_SCHEMA, catalog->getChildPackage(1)->getElementType());

    auto* main = ids->get<ORXDesignPackage>("p_main");
    auto* billing = ids->get<ORXDesignPackage>("p_billing");
    auto* archive = ids->get<ORXDesignPackage>("p_archive");
    ASSERT_TRUE(main && billing && archive);
    EXPECT_EQ(main, model->getChildPackage(1));
    EXPECT_EQ(archive, model->getChildPackage(2));
    EXPECT_EQ(billing, main->getChildPackage(0));
    EXPECT_FALSE(main->getPackageFlag());
    EXPECT_TRUE(billing->getPackageFlag());  // nested packages default to packages
    EXPECT_TRUE(archive->getPackageFlag());

    const char* order[] = {"customer", "corporate",       "customer_kinds", "orders",
                           "product",  "orders_customer", "order_product",  "invoice_orders",
                           "v_totals", "v_big",           "v_names"};
    ASSERT_EQ(11, main->getModelElementCount());
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE(order[i]);
        EXPECT_EQ(order[i], main->getModelElement(i)->getExternalId());
    }
    ASSERT_EQ(2, main->getStoredProcedureCount());
    EXPECT_EQ("MONTHLY_REPORT", main->getStoredProcedure(1)->getName());
}

TEST_F(SalesModel, TablesHoldColumnsKeysAndIndexesWithTheirDefaults) {
    auto* customer = ids->get<ORXClass>("customer");
    ASSERT_NE(nullptr, customer);
    EXPECT_EQ("CUSTOMER", customer->getPhysicalName());
    EXPECT_EQ(ids->get<ORXSchema>("s_app"), customer->getOwner());
    ASSERT_EQ(2, customer->getNoteCount());
    EXPECT_EQ("Rows are merged by the nightly job.", customer->getNote(1)->getDescription());
    ASSERT_EQ(2, customer->getSynonymCount());
    EXPECT_EQ("BUYER", customer->getSynonym(1)->getPhysicalName());
    const ORXBusinessRule* rule = findBusinessRule(customer, 3);
    ASSERT_NE(nullptr, rule);
    EXPECT_EQ("CKT_CUSTOMER", rule->getName());
    EXPECT_EQ("CREDIT_LIMIT >= 0 OR COUNTRY <> 'US'", rule->getRuleText());

    ASSERT_EQ(5, customer->getAttributeCount());
    ORXAttribute* email = customer->getAttribute(2);
    EXPECT_EQ("EMAIL", email->getPhysicalName());
    EXPECT_TRUE(email->isOptional());
    ASSERT_NE(nullptr, email->getType());
    EXPECT_TRUE(email->ownsType());
    EXPECT_EQ(ORX_ET_BASE_TYPE, email->getType()->getElementType());
    EXPECT_EQ(80, email->getType()->getLength());
    EXPECT_EQ(nullptr, getDomain(email));
    ORXAttribute* limit = customer->getAttribute(3);
    EXPECT_EQ(ids->get<ORXDerivedType>("t_amount"), getDomain(limit));
    EXPECT_FALSE(limit->ownsType());
    ASSERT_NE(nullptr, findBusinessRule(limit, 3));
    EXPECT_EQ("CREDIT_LIMIT <= 50000", findBusinessRule(limit, 3)->getRuleText());
    EXPECT_EQ("COUNTRY IN ('DE', 'FR', 'US')", customer->getAttribute(4)->getRuleExpression());
    EXPECT_EQ("'US'", customer->getAttribute(4)->getInitialValue());

    auto* pk = ids->get<ORXCandidateKey>("customer.pk");
    EXPECT_EQ(pk, customer->getPrimaryKey());
    EXPECT_TRUE(pk->isUnique());
    EXPECT_TRUE(ids->get<ORXCandidateKey>("customer.ak_email")->isUnique());
    EXPECT_FALSE(ids->get<ORXCandidateKey>("customer.lookup")->isUnique());
    auto* pkIndex = ids->get<ORXIndex>("customer.pk_ix");
    EXPECT_EQ(pkIndex, pk->getIndex());
    EXPECT_EQ(pk, pkIndex->getKey());
    EXPECT_TRUE(pkIndex->isClustered());
    EXPECT_EQ(1, pkIndex->isUnique());

    // Positions given out of array order: by position, NAME comes first.
    auto* byName = ids->get<ORXIndex>("customer.name_ix");
    EXPECT_FALSE(byName->isClustered());
    EXPECT_EQ(0, byName->isUnique());
    ASSERT_EQ(2, byName->getIndexMemberCount());
    EXPECT_EQ("COUNTRY", byName->getIndexMember(0)->getAttribute()->getPhysicalName());
    EXPECT_EQ(2, byName->getIndexMember(0)->getSortOrder());
    EXPECT_EQ(1, byName->getIndexMember(1)->getSortOrder());
    ORXIndexMemberByPosition members;
    byName->getIndexMemberByPosition(members);
    ASSERT_EQ(2, members.getCount());
    EXPECT_EQ("NAME", members.getIndexMember(0)->getAttribute()->getPhysicalName());

    // Without positions, members take their place in the array.
    auto* history = ids->get<ORXIndex>("orders.customer_ix");
    EXPECT_EQ(0, history->getIndexMember(0)->getPosition());
    EXPECT_EQ(1, history->getIndexMember(1)->getPosition());
    EXPECT_EQ(history, ids->get<ORXKey>("orders.fk_customer")->getIndex());
    EXPECT_EQ(ids->get<ORXIndex>("history.ix"), ids->get<ORXKey>("history.pk")->getOrderingIndex());

    EXPECT_EQ(ORX_ET_DERIVED_TYPE, ids->get<ORXType>("t_id")->getElementType());
    EXPECT_TRUE(ids->get<ORXType>("t_id")->isDomain());
    EXPECT_FALSE(ids->get<ORXType>("t_date")->isDomain());
    EXPECT_EQ(3, ids->get<ORXType>("t_status")->getTypeValueCount());
}

TEST_F(SalesModel, ReferencesAndGeneralizationsAreLinked) {
    auto* placed = ids->get<ORXAssociation>("orders_customer");
    ASSERT_EQ(2, placed->getAssociationRoleCount());
    ORXAssociationRole* parent = placed->getAssociationRole(0);
    ORXAssociationRole* child = placed->getAssociationRole(1);
    EXPECT_TRUE(parent->isSource());
    EXPECT_EQ("1", parent->getMultiplicity());  // default at the source end
    EXPECT_EQ(0, parent->getUpdateRule());
    EXPECT_EQ(3, child->getUpdateRule());  // restrict
    EXPECT_EQ(2, child->getDeleteRule());  // cascade
    auto* foreignKey = ids->get<ORXForeignKey>("orders.fk_customer");
    EXPECT_EQ(foreignKey, child->getForeignKey());
    EXPECT_EQ(child, foreignKey->getAssociationRole());
    EXPECT_EQ(ids->get<ORXCandidateKey>("customer.pk"), foreignKey->getCandidateKey());
    ASSERT_EQ(1, foreignKey->getAssociationRoleNameMapCount());
    EXPECT_EQ(ids->get<ORXAttribute>("customer.ID"),
              foreignKey->getAssociationRoleNameMap(0)->getSourceAttribute());
    EXPECT_EQ(ids->get<ORXAttribute>("orders.CUSTOMER_ID"),
              foreignKey->getAssociationRoleNameMap(0)->getDestinationAttribute());

    // A reference to a table defined later in the file, in another package.
    auto* invoice = ids->get<ORXClass>("invoice");
    ORXAssociationRole* invoiceRole =
        ids->get<ORXAssociation>("invoice_orders")->getAssociationRole(1);
    EXPECT_EQ(invoice, invoiceRole->getAssociatedClass());
    EXPECT_EQ("0..1", invoiceRole->getMultiplicity());
    EXPECT_EQ(ids->get<ORXDesignPackage>("p_billing"), invoice->getDesignPackage());

    ORXAssociationRole* historyRole =
        ids->get<ORXAssociation>("history_orders")->getAssociationRole(1);
    EXPECT_EQ("0..*", historyRole->getMultiplicity());  // default at the other end
    EXPECT_EQ(4, historyRole->getDeleteRule());
    EXPECT_EQ(1, historyRole->getUpdateRule());

    auto* kinds = ids->get<ORXGeneralization>("customer_kinds");
    EXPECT_EQ(ids->get<ORXClass>("customer"), kinds->getSupertypeClass(0));
    ASSERT_EQ(1, kinds->getSubtypeClassCount());
    EXPECT_EQ(ids->get<ORXClass>("corporate"), kinds->getSubtypeClass(0));
    ASSERT_EQ(1, kinds->getForeignKeyCount());
    EXPECT_EQ(ids->get<ORXForeignKey>("corporate.fk_customer"), kinds->getForeignKey(0));
    EXPECT_EQ(1, kinds->getNoteCount());
}

TEST_F(SalesModel, OperationsViewsAndDiagramsAreLinked) {
    auto* orders = ids->get<ORXClass>("orders");
    ASSERT_EQ(3, orders->getOperationCount());
    ORXOperation* after = orders->getOperation(0);
    EXPECT_EQ(ORX_ET_TRIGGER, after->getElementType());
    EXPECT_EQ(1, after->getTiming());
    EXPECT_FALSE(after->isOnInsert());
    EXPECT_TRUE(after->isOnUpdate());
    EXPECT_TRUE(after->isOnDelete());
    EXPECT_EQ(2, orders->getOperation(1)->getTiming());
    ORXOperation* recalc = orders->getOperation(2);
    EXPECT_EQ(ORX_ET_STORED_PROCEDURE, recalc->getElementType());
    EXPECT_EQ(nullptr, recalc->getOwner());
    EXPECT_EQ(orders, recalc->getLinkedElement(0));
    EXPECT_EQ(ids->get<ORXClass>("customer"), recalc->getLinkedElement(1));
    auto* report = ids->get<ORXOperation>("monthly_report");
    EXPECT_EQ(ids->get<ORXSQLViewEntity>("v_totals"), report->getLinkedElement(0));
    EXPECT_EQ(ids->get<ORXSchema>("s_app"), ids->get<ORXOperation>("archive_orders")->getOwner());

    auto* big = ids->get<ORXSQLViewEntity>("v_big");
    EXPECT_EQ(2, big->getViewStatementKind());
    ASSERT_EQ(2, big->getSQLViewAttributeCount());
    EXPECT_EQ(ids->get<ORXSQLViewAttribute>("v_totals.AMOUNT"),
              big->getSQLViewAttribute(1)->getSourceFeature());
    auto* names = ids->get<ORXSQLViewEntity>("v_names");
    EXPECT_EQ(1, names->getViewStatementKind());
    EXPECT_TRUE(names->getViewStatement().empty());
    EXPECT_EQ(nullptr, names->getSQLViewAttribute(2)->getSourceFeature());

    auto* overview = ids->get<ORXDiagram>("d_main");
    ASSERT_EQ(7, overview->getPresentationElementCount());
    ORXPresentationElement* first = overview->getPresentationElement(0);
    EXPECT_EQ(ids->get<ORXClass>("customer"), first->getSubjectModelObject());
    EXPECT_EQ(200, first->getX());
    EXPECT_EQ(180, first->getHeight());
    EXPECT_EQ(0xFFFFC0, first->getBackgroundColor());
    EXPECT_EQ(0x000080, first->getLineColor());
    EXPECT_EQ(16777152, overview->getPresentationElement(1)->getBackgroundColor());
    EXPECT_EQ(0, overview->getPresentationElement(4)->getBackgroundColor());

    // A member without a symbol, and members through symbols.
    auto* corporate = ids->get<ORXClass>("corporate");
    EXPECT_TRUE(overview->containsModelElement(corporate));
    EXPECT_EQ(0, corporate->getPresentationPresentationElementCount());
    EXPECT_TRUE(overview->containsModelElement(ids->get<ORXAssociation>("orders_customer")));
    EXPECT_EQ(9, overview->getMemberCount());

    // Diagrams of an object in document order.
    ASSERT_EQ(3, orders->getDiagramCount());
    EXPECT_EQ(overview, orders->getDiagram(0));
    EXPECT_EQ(ids->get<ORXDiagram>("d_billing"), orders->getDiagram(1));
    EXPECT_EQ(ids->get<ORXDiagram>("d_archive"), orders->getDiagram(2));
    EXPECT_EQ(3, orders->getPresentationPresentationElementCount());
}

// A model built in code, without ids, as importers build them.
TEST(JsonModelDump, GivesIdsToReferredObjectsWithoutClashing) {
    ORXModel model;
    auto* package = new ORXDesignPackage();
    package->setName("P");
    model.addChildPackage(package);
    auto* parent = new ORXClass();
    parent->setName("PARENT");
    parent->setExternalId("_c1");  // an id that a generated one must not repeat
    parent->addDesignPackage(package);
    auto* child = new ORXClass();
    child->setName("CHILD");
    child->addDesignPackage(package);
    auto* column = new ORXAttribute();
    column->setName("ID");
    column->addAssociatedClass(child);
    auto* key = new ORXCandidateKey();
    key->addAssociatedClass(child);
    key->addAttribute(column);
    key->addPrimaryOfClass(child);
    auto* association = new ORXAssociation();
    association->addDesignPackage(package);
    (new ORXAssociationRole(association))->addAssociatedClass(child);

    std::string text = importers::dumpJsonModel(model);
    EXPECT_NE(std::string::npos, text.find("\"id\": \"_c1\",\n          \"name\": \"PARENT\""))
        << text;
    EXPECT_NE(std::string::npos, text.find("\"id\": \"_c2\",\n          \"name\": \"CHILD\""))
        << text;
    EXPECT_NE(std::string::npos, text.find("\"class\": \"_c2\"")) << text;
    EXPECT_NE(std::string::npos, text.find("\"primaryKey\": \"_k1\"")) << text;
    EXPECT_NE(std::string::npos, text.find("\"attributes\": [\n                \"_a1\"")) << text;

    auto loaded = importers::parseJsonModel(text, "dump.json");
    EXPECT_EQ(text, importers::dumpJsonModel(*loaded));
    IdIndex index(loaded.get());
    auto* loadedChild = index.get<ORXClass>("_c2");
    ASSERT_NE(nullptr, loadedChild);
    EXPECT_EQ(index.get<ORXCandidateKey>("_k1"), loadedChild->getPrimaryKey());
}

TEST(JsonModelDump, LeavesDefaultsOutAndEndsWithANewline) {
    ORXModel model;
    EXPECT_EQ("{\n  \"format\": \"orx-model\",\n  \"version\": 1\n}\n",
              importers::dumpJsonModel(model));
    pdmtest::TempDir dir;
    importers::dumpJsonModelFile(model, dir.file("m.json"));
    EXPECT_EQ(importers::dumpJsonModel(model), pdmtest::readFile(dir.file("m.json")));
    EXPECT_THROW(importers::dumpJsonModelFile(model, dir.file("no/such/dir/m.json")),
                 importers::ModelFileError);
}

}  // namespace
