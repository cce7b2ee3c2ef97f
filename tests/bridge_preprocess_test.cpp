// Pre- and post-processing: the selection predicates, the associative tables
// made for many-to-many associations, the references made for
// generalizations, references moved into their child table's package, the
// projections given to objects without a symbol, and the model coming back
// unchanged after every export, successful or not.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "orx/ORXBridgeLib.h"
#include "orx/ORXException.h"
#include "support/PdmCheck.h"
#include "support/PrepSupport.h"

using namespace pdmtest;

namespace {

// Replaces every occurrence of `from` in `text` by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
        text.replace(at, from.size(), to), at += to.size();
    return text;
}

// ORDER and PRODUCT, each with a one-column primary key named ID, joined by a
// many-to-many association whose source role (role 1) is at ORDER. The
// association is drawn in one diagram and only a member of another.
const std::string kOrderProduct = R"(
"packages": [{"kind": "design", "id": "main", "name": "Main", "elements": [
  {"kind": "class", "id": "order", "name": "ORDER", "physicalName": "T_ORDER",
   "attributes": [
     {"id": "order_id", "name": "ID", "physicalName": "ORDER_NO", "description": "Order number",
      "type": {"dataType": "SQL_INTEGER"}},
     {"id": "order_date", "name": "PLACED", "type": {"dataType": "SQL_DATE"}}],
   "keys": [{"id": "order_pk", "attributes": ["order_id"]}], "primaryKey": "order_pk"},
  {"kind": "class", "id": "product", "name": "PRODUCT", "physicalName": "T_PRODUCT",
   "attributes": [{"id": "product_id", "name": "ID", "physicalName": "PRODUCT_NO",
                   "type": {"dataType": "SQL_VARCHAR", "length": 12}}],
   "keys": [{"id": "product_pk", "attributes": ["product_id"]}], "primaryKey": "product_pk"},
  EXTRA
  {"kind": "association", "id": "contains", "name": "contains",
   "roles": [{"class": "product", "multiplicity": "1..*"},
             {"class": "order", "isSource": true, "multiplicity": "0..*"}]}],
 "diagrams": [
  {"name": "Overview", "symbols": [
     {"subject": "order", "x": 100, "y": 50, "width": 80, "height": 40},
     {"subject": "product", "x": 300, "y": 50, "width": 80, "height": 40},
     {"subject": "contains"}]},
  {"name": "Detail", "members": ["contains"]}]}]
)";

std::string orderProduct(const std::string& extra = "") {
    return replaced(kOrderProduct, "EXTRA", extra);
}

// The index members of `index` as (attribute, position) pairs, in member order.
std::vector<std::pair<ORXAttribute*, int>> members(ORXIndex* index) {
    std::vector<std::pair<ORXAttribute*, int>> out;
    for (int i = 0; i < index->getIndexMemberCount(); ++i)
        out.emplace_back(index->getIndexMember(i)->getAttribute(),
                         index->getIndexMember(i)->getPosition());
    return out;
}

std::vector<ORXAttribute*> keyAttributes(ORXKey* key) {
    std::vector<ORXAttribute*> out;
    for (int i = 0; i < key->getAttributeCount(); ++i)
        out.push_back(key->getAttribute(i));
    return out;
}

// The diagrams of the presentation elements of `object`, in order, checking
// that each is a projection made for it.
std::vector<ORXDiagram*> projectionDiagrams(ORXModelObject* object) {
    std::vector<ORXDiagram*> out;
    for (int i = 0; i < object->getPresentationPresentationElementCount(); ++i) {
        ORXPresentationElement* element = object->getPresentationPresentationElement(i);
        EXPECT_EQ(element->getElementType(), ORX_ET_PROJECTION);
        EXPECT_EQ(element->getSubjectModelObject(), object);
        out.push_back(element->getDiagram());
    }
    return out;
}

std::vector<ORXDiagram*> diagramsOf(ORXModelObject* object) {
    std::vector<ORXDiagram*> out;
    for (int i = 0; i < object->getDiagramCount(); ++i)
        out.push_back(object->getDiagram(i));
    return out;
}

std::vector<std::string> names(const std::vector<pugi::xml_node>& nodes) {
    std::vector<std::string> out;
    for (const pugi::xml_node& node : nodes)
        out.push_back(node.child("a:Name").text().get());
    return out;
}

// The names of the parent (c:Obj1) and child (c:Obj2) tables of a full reference element.
std::pair<std::string, std::string> referenceTables(const PdmDocument& document,
                                                    pugi::xml_node reference) {
    return {document.nameOfChild(reference.child("c:Obj1")),
            document.nameOfChild(reference.child("c:Obj2"))};
}

void expectSoundDocument(const std::string& text) {
    std::vector<std::string> problems = checkPdmDocument(text);
    EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
}

void expectRestored(ORXModel& model, const std::string& dumpBefore) {
    EXPECT_EQ(importers::dumpJsonModel(model), dumpBefore);
    EXPECT_EQ(objectsWithGeneralPointer(model), std::vector<std::string>());
}

}  // namespace

// ---- Many-to-many associations ------------------------------------------------------------

TEST(PreprocessManyToMany, OrderProductGetsAnAssociativeTableUntilPostProcessing) {
    auto model = loadModel(orderProduct());
    const std::string before = importers::dumpJsonModel(*model);
    ORXClass* order = findClass(*model, "ORDER");
    ORXClass* product = findClass(*model, "PRODUCT");
    ORXAssociation* contains = findAssociation(*model, "contains");
    ORXDesignPackage* mainPackage = findPackage(*model, "Main");
    ORXDiagram* overview = findDiagram(*model, "Overview");
    ORXDiagram* detail = findDiagram(*model, "Detail");
    ASSERT_TRUE(order && product && contains && mainPackage && overview && detail);
    ORXAttribute* orderId = order->getAttribute(0);
    ORXAttribute* productId = product->getAttribute(0);

    {
        PreparedBridge run(*model);
        run.runPreprocessing();
        ASSERT_EQ(run.preprocess.manyToManyAssociations.getCount(), 1);

        ORXClass* table = findClass(*model, "ORDER_PRODUCT");
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->getPhysicalName().str(), "T_ORDER_T_PRODUCT");
        EXPECT_EQ(table->getDesignPackage(), mainPackage);

        // The columns: ID as copied from ORDER; PRODUCT's ID, refused under
        // its own name, renamed after the source-side table (its name, not
        // its physical name) and mapped to the column it copies.
        ASSERT_EQ(table->getAttributeCount(), 2);
        ORXAttribute* fromOrder = table->getAttribute(0);
        ORXAttribute* fromProduct = table->getAttribute(1);
        EXPECT_EQ(fromOrder->getName().str(), "ID");
        EXPECT_EQ(fromOrder->getPhysicalName().str(), "ORDER_NO");
        EXPECT_EQ(fromOrder->getDescription().str(), "Order number");
        EXPECT_EQ(fromOrder->getType(), orderId->getType());
        EXPECT_EQ(fromOrder->getDestinationOfAssociationRoleNameMapCount(), 0);
        EXPECT_EQ(fromProduct->getName().str(), "ORDER_ID");
        EXPECT_EQ(fromProduct->getPhysicalName().str(), "ORDER_PRODUCT_NO");
        EXPECT_EQ(fromProduct->getType(), productId->getType());
        ASSERT_EQ(fromProduct->getDestinationOfAssociationRoleNameMapCount(), 1);
        ORXAssociationRoleNameMap* nameMap = fromProduct->getDestinationOfAssociationRoleNameMap(0);
        EXPECT_EQ(nameMap->getSourceAttribute(), productId);

        // A unique primary key over both, then one foreign key per side.
        ORXCandidateKey* primaryKey = table->getPrimaryKey();
        ASSERT_NE(primaryKey, nullptr);
        EXPECT_TRUE(primaryKey->isUnique());
        EXPECT_EQ(keyAttributes(primaryKey), (std::vector<ORXAttribute*>{fromOrder, fromProduct}));
        ASSERT_EQ(table->getKeyCount(), 3);
        EXPECT_EQ(table->getKey(0), primaryKey);
        ASSERT_EQ(table->getKey(1)->getElementType(), ORX_ET_FOREIGN_KEY);
        ASSERT_EQ(table->getKey(2)->getElementType(), ORX_ET_FOREIGN_KEY);
        auto* toOrder = static_cast<ORXForeignKey*>(table->getKey(1));
        auto* toProduct = static_cast<ORXForeignKey*>(table->getKey(2));
        EXPECT_EQ(toOrder->getCandidateKey(), order->getPrimaryKey());
        EXPECT_EQ(keyAttributes(toOrder), std::vector<ORXAttribute*>{fromOrder});
        EXPECT_EQ(toOrder->getAssociationRoleNameMapCount(), 0);
        EXPECT_EQ(toProduct->getCandidateKey(), product->getPrimaryKey());
        EXPECT_EQ(keyAttributes(toProduct), std::vector<ORXAttribute*>{fromProduct});
        EXPECT_TRUE(toProduct->containsAssociationRoleNameMap(nameMap));

        // A clustered index over the primary key, one index per foreign key.
        using Members = std::vector<std::pair<ORXAttribute*, int>>;
        ASSERT_EQ(table->getIndexCount(), 3);
        ORXIndex* clustered = table->getIndex(0);
        EXPECT_TRUE(clustered->isClustered());
        EXPECT_EQ(clustered->getKey(), primaryKey);
        EXPECT_EQ(members(clustered), (Members{{fromOrder, 0}, {fromProduct, 1}}));
        EXPECT_FALSE(table->getIndex(1)->isClustered());
        EXPECT_EQ(table->getIndex(1)->getKey(), toOrder);
        EXPECT_EQ(members(table->getIndex(1)), (Members{{fromOrder, 0}}));
        EXPECT_FALSE(table->getIndex(2)->isClustered());
        EXPECT_EQ(table->getIndex(2)->getKey(), toProduct);
        EXPECT_EQ(members(table->getIndex(2)), (Members{{fromProduct, 0}}));

        // Two references: the parent side with "1", the child side with the
        // original role's multiplicity text, each beside the association and
        // drawn in each of its diagrams.
        const std::vector<ORXDiagram*> bothDiagrams{overview, detail};
        EXPECT_EQ(diagramsOf(table), bothDiagrams);
        EXPECT_EQ(projectionDiagrams(table), bothDiagrams);
        ASSERT_EQ(table->getAssociationRoleCount(), 2);
        struct Expected {
            ORXClass* parent;
            const char* childMultiplicity;
            ORXForeignKey* foreignKey;
        };
        const Expected expected[] = {{order, "0..*", toOrder}, {product, "1..*", toProduct}};
        std::vector<ORXObject*> references;
        for (int i = 0; i < 2; ++i) {
            SCOPED_TRACE(expected[i].parent->getName().str());
            ORXAssociationRole* childRole = table->getAssociationRole(i);
            ORXAssociation* reference = childRole->getAssociation();
            references.push_back(reference);
            ASSERT_EQ(reference->getAssociationRoleCount(), 2);
            ORXAssociationRole* parentRole = reference->getAssociationRole(0);
            EXPECT_TRUE(parentRole->isSource());
            EXPECT_EQ(parentRole->getMultiplicity().str(), "1");
            EXPECT_EQ(parentRole->getAssociatedClass(), expected[i].parent);
            EXPECT_EQ(reference->getAssociationRole(1), childRole);
            EXPECT_FALSE(childRole->isSource());
            EXPECT_EQ(childRole->getMultiplicity().str(), expected[i].childMultiplicity);
            EXPECT_EQ(expected[i].foreignKey->getAssociationRole(), childRole);
            EXPECT_EQ(reference->getDesignPackage(), mainPackage);
            EXPECT_EQ(diagramsOf(reference), bothDiagrams);
            EXPECT_EQ(projectionDiagrams(reference), bothDiagrams);
            EXPECT_TRUE(run.bridge.isReferenceExported(reference));
        }

        // The association stays where it was and is not exported; the bridge
        // owns the table, its references and their projections, in that order.
        EXPECT_EQ(contains->getDesignPackage(), mainPackage);
        EXPECT_FALSE(run.bridge.isReferenceExported(contains));
        ASSERT_EQ(run.bridge.createdObjects.getCount(), 9);
        EXPECT_EQ(run.bridge.createdObjects.get(0), table);
        EXPECT_EQ(run.bridge.createdObjects.get(1), references[0]);
        EXPECT_EQ(run.bridge.createdObjects.get(2), references[1]);
        const ORXObject* projectionSubjects[] = {table, references[0], references[1]};
        for (int i = 3; i < 9; ++i) {
            auto* projection =
                static_cast<ORXPresentationElement*>(run.bridge.createdObjects.get(i));
            ASSERT_EQ(projection->getElementType(), ORX_ET_PROJECTION);
            EXPECT_EQ(projection->getSubjectModelObject(), projectionSubjects[(i - 3) % 3]);
            EXPECT_EQ(projection->getDiagram(), i < 6 ? overview : detail);
        }

        // The document holds the table with both columns and the two
        // references, and not the association.
        std::string text = run.writeDocument();
        expectSoundDocument(text);
        PdmDocument document(text);
        ASSERT_TRUE(document.ok());
        std::vector<pugi::xml_node> tables = document.full("o:SPdoObjTabl", "ORDER_PRODUCT");
        ASSERT_EQ(tables.size(), 1u);
        EXPECT_EQ(std::string(tables[0].child("a:Code").text().get()), "T_ORDER_T_PRODUCT");
        EXPECT_EQ(names(document.full("o:SPdoObjColn", "", tables[0].child("c:Columns"))),
                  (std::vector<std::string>{"ID", "ORDER_ID"}));
        std::vector<pugi::xml_node> written = document.full("o:SPdoObjRefr");
        ASSERT_EQ(written.size(), 2u);
        EXPECT_EQ(referenceTables(document, written[0]),
                  std::make_pair(std::string("ORDER"), std::string("ORDER_PRODUCT")));
        EXPECT_EQ(referenceTables(document, written[1]),
                  std::make_pair(std::string("PRODUCT"), std::string("ORDER_PRODUCT")));
        EXPECT_TRUE(document.full("o:SPdoObjRefr", "contains").empty());

        run.bridge.postProcess();
        EXPECT_EQ(run.bridge.createdObjects.getCount(), 0);
        expectRestored(*model, before);
    }
    // The bridge's destructor ran post-processing a second time.
    expectRestored(*model, before);
}

TEST(PreprocessManyToMany, TableNameTakenInThePackageGetsTheNextObjectIdentifier) {
    auto model = loadModel(
        orderProduct(R"({"kind": "class", "name": "ORDER_PRODUCT", "physicalName": "EXISTING"},)"));
    const std::string before = importers::dumpJsonModel(*model);
    ORXClass* existing = findClass(*model, "ORDER_PRODUCT");
    ASSERT_NE(existing, nullptr);
    {
        PreparedBridge run(*model);
        run.bridge.nextObjectId = 41;
        run.runPreprocessing();

        ORXClass* table = findClass(*model, "ORDER_PRODUCT_41");
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->getPhysicalName().str(), "T_ORDER_T_PRODUCT_41");
        EXPECT_EQ(table->getDesignPackage(), findPackage(*model, "Main"));
        EXPECT_EQ(run.bridge.nextObjectId, 42);
        EXPECT_EQ(existing->getName().str(), "ORDER_PRODUCT");
        EXPECT_EQ(existing->getPhysicalName().str(), "EXISTING");
        EXPECT_EQ(existing->getAttributeCount(), 0);
    }
    expectRestored(*model, before);

    // Through a whole export the identifier is the first one handed out.
    auto outcome = exportToText(*model);
    expectSoundDocument(outcome->document);
    PdmDocument document(outcome->document);
    std::vector<pugi::xml_node> tables = document.full("o:SPdoObjTabl", "ORDER_PRODUCT_1");
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(std::string(tables[0].child("a:Code").text().get()), "T_ORDER_T_PRODUCT_1");
    EXPECT_EQ(document.full("o:SPdoObjTabl", "ORDER_PRODUCT").size(), 1u);
    expectRestored(*model, before);
}

TEST(PreprocessManyToMany, PrefixedColumnNameTakenAsWellIsNumbered) {
    // ORDER's key has a column ORDER_ID already, so PRODUCT's ID is refused
    // under its own name and under the prefixed one. Its physical name is
    // empty, so the prefixed physical name ends in the separator.
    auto model = loadModel(R"(
"packages": [{"kind": "design", "name": "Main", "elements": [
  {"kind": "class", "id": "order", "name": "ORDER",
   "attributes": [{"id": "o_id", "name": "ID"}, {"id": "o_oid", "name": "ORDER_ID"}],
   "keys": [{"id": "o_pk", "attributes": ["o_id", "o_oid"]}], "primaryKey": "o_pk"},
  {"kind": "class", "id": "product", "name": "PRODUCT",
   "attributes": [{"id": "p_id", "name": "ID"}],
   "keys": [{"id": "p_pk", "attributes": ["p_id"]}], "primaryKey": "p_pk"},
  {"kind": "association", "name": "contains",
   "roles": [{"class": "order", "isSource": true, "multiplicity": "*"},
             {"class": "product", "multiplicity": "*"}]}]}]
)");
    const std::string before = importers::dumpJsonModel(*model);
    ORXAttribute* productId = findClass(*model, "PRODUCT")->getAttribute(0);
    {
        PreparedBridge run(*model);
        run.runPreprocessing();
        ORXClass* table = findClass(*model, "ORDER_PRODUCT");
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(table->getAttributeCount(), 3);
        ORXAttribute* copy = table->getAttribute(2);
        EXPECT_EQ(copy->getName().str(), "ORDER_ID_1");
        EXPECT_EQ(copy->getPhysicalName().str(), "ORDER__1");
        ASSERT_EQ(copy->getDestinationOfAssociationRoleNameMapCount(), 1);
        EXPECT_EQ(copy->getDestinationOfAssociationRoleNameMap(0)->getSourceAttribute(), productId);
        EXPECT_EQ(
            keyAttributes(table->getPrimaryKey()),
            (std::vector<ORXAttribute*>{table->getAttribute(0), table->getAttribute(1), copy}));
        EXPECT_EQ(members(table->getIndex(0)).back(), std::make_pair(copy, 2));

        std::string text = run.writeDocument();
        expectSoundDocument(text);
        PdmDocument document(text);
        std::vector<pugi::xml_node> tables = document.full("o:SPdoObjTabl", "ORDER_PRODUCT");
        ASSERT_EQ(tables.size(), 1u);
        EXPECT_EQ(names(document.full("o:SPdoObjColn", "", tables[0].child("c:Columns"))),
                  (std::vector<std::string>{"ID", "ORDER_ID", "ORDER_ID_1"}));
    }
    expectRestored(*model, before);
}

TEST(PreprocessManyToMany, RolesWithoutTablesAreNotResolved) {
    auto model = loadModel(R"("packages": [{"kind": "design", "name": "Main", "elements": [
        {"kind": "class", "id": "a", "name": "A"}]}])");
    ORXDesignPackage* mainPackage = findPackage(*model, "Main");
    ORXClass* a = findClass(*model, "A");
    ASSERT_TRUE(mainPackage && a);
    struct Case {
        const char* name;
        bool firstHasTable;
    } cases[] = {{"no table at either role", false}, {"a table at one role only", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* loose = new ORXAssociation();
        for (bool source : {true, false}) {
            auto* role = new ORXAssociationRole(loose);
            role->setSource(source);
            role->setMultiplicity("*");
        }
        if (c.firstHasTable)
            loose->getAssociationRole(0)->addAssociatedClass(a);
        ASSERT_TRUE(loose->addDesignPackage(mainPackage));
        {
            PreparedBridge run(*model);
            run.runPreprocessing();
            EXPECT_EQ(run.preprocess.manyToManyAssociations.getCount(), 0);
            EXPECT_EQ(run.bridge.createdObjects.getCount(), 0);
        }
        EXPECT_EQ(objectsWithGeneralPointer(*model), std::vector<std::string>());
        delete loose;
    }
}

TEST(PreprocessManyToMany, ExcludedAssociationOrTableIsNotResolved) {
    // Level code 1 means "never exported": neither the association nor a
    // table it joins may come back as an associative table.
    struct Case {
        const char* name;
        const char* from;
        const char* to;
    } cases[] = {
        {"association excluded", R"("id": "contains", "name": "contains",)",
         R"("id": "contains", "name": "contains", "levelCode": 1,)"},
        {"source table excluded", R"("name": "ORDER",)", R"("name": "ORDER", "levelCode": 1,)"},
        {"other table excluded", R"("name": "PRODUCT",)", R"("name": "PRODUCT", "levelCode": 1,)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto model = loadModel(replaced(orderProduct(), c.from, c.to));
        const std::string before = importers::dumpJsonModel(*model);
        {
            PreparedBridge run(*model);
            run.runPreprocessing();
            EXPECT_EQ(run.preprocess.manyToManyAssociations.getCount(), 0);
            EXPECT_EQ(run.bridge.createdObjects.getCount(), 0);
        }
        auto outcome = exportToText(*model);
        EXPECT_EQ(outcome->document.find("ORDER_PRODUCT"), std::string::npos);
        EXPECT_EQ(checkPdmDocument(outcome->document), std::vector<std::string>());
        EXPECT_EQ(importers::dumpJsonModel(*model), before);
    }
}

TEST(PreprocessManyToMany, ExistingAssociativeTableStandsForTheAssociation) {
    // OP links X and Y, which also share the many-to-many association X_Y.
    const std::string kModel = R"(
"packages": [{"kind": "design", "name": "Main", "elements": [
  {"kind": "class", "id": "x", "name": "X",
   "attributes": [{"id": "x_id", "name": "X_ID"}],
   "keys": [{"id": "x_pk", "attributes": ["x_id"]}], "primaryKey": "x_pk"},
  {"kind": "class", "id": "y", "name": "Y",
   "attributes": [{"id": "y_id", "name": "Y_ID"}],
   "keys": [{"id": "y_pk", "attributes": ["y_id"]}], "primaryKey": "y_pk"},
  {"kind": "class", "id": "op", "name": "OP", "levelCode": LEVEL,
   "attributes": [{"id": "op_x", "name": "X_ID"}, {"id": "op_y", "name": "Y_ID"}],
   "keys": [{"id": "op_fx", "kind": "foreign", "attributes": ["op_x"], "references": "x_pk"},
            {"id": "op_fy", "kind": "foreign", "attributes": ["op_y"], "references": "y_pk"}]},
  {"kind": "association", "name": "X_OP", "roles": [
     {"class": "x", "isSource": true}, {"class": "op", "multiplicity": "MULT", "foreignKey": "op_fx"}]},
  {"kind": "association", "name": "Y_OP", "roles": [
     {"class": "y", "isSource": true}, {"class": "op", "multiplicity": "MULT", "foreignKey": "op_fy"}]},
  {"kind": "association", "name": "X_Y", "roles": [
     {"class": "x", "isSource": true, "multiplicity": "0..*"},
     {"class": "y", "multiplicity": "1..*"}]}]}]
)";
    struct Case {
        const char* levelCode;
        const char* multiplicity;
        bool paired;
    } cases[] = {
        {"2", "0..*", true},  {"2", "*", true},
        {"2", "2..5", true},  {"0", "0..*", false},  // not marked as associative
        {"1", "0..*", false},                        // excluded, so never looked at
        {"2", "0..1", false},                        // its roles are not many-ended
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("levelCode ") + c.levelCode + ", multiplicity " + c.multiplicity);
        auto model =
            loadModel(replaced(replaced(kModel, "LEVEL", c.levelCode), "MULT", c.multiplicity));
        const std::string before = importers::dumpJsonModel(*model);
        ORXClass* op = findClass(*model, "OP");
        ORXAssociation* xy = findAssociation(*model, "X_Y");
        ASSERT_TRUE(op && xy);
        {
            PreparedBridge run(*model);
            run.runPreprocessing();
            EXPECT_EQ(run.bridge.getExportRecord(xy).pairedAssociation, c.paired ? op : nullptr);
            if (c.paired) {
                EXPECT_EQ(run.bridge.getExportRecord(op).pairedAssociation, xy);
            }
            EXPECT_EQ(findClass(*model, "X_Y") != nullptr, !c.paired);

            std::string text = run.writeDocument();
            expectSoundDocument(text);
            PdmDocument document(text);
            EXPECT_TRUE(document.full("o:SPdoObjRefr", "X_Y").empty());
            EXPECT_EQ(document.full("o:SPdoObjTabl", "X_Y").size(), c.paired ? 0u : 1u);
            if (c.levelCode != std::string("1")) {
                EXPECT_EQ(document.full("o:SPdoObjRefr", "X_OP").size(), 1u);
                EXPECT_EQ(document.full("o:SPdoObjRefr", "Y_OP").size(), 1u);
            }
        }
        expectRestored(*model, before);
    }
}

TEST(PreprocessManyToMany, SourceSideWithoutPrimaryKeyGivesOnlyTheOtherSidesColumns) {
    // PRODUCT's key is ordered by an index that puts VERSION first.
    auto model = loadModel(R"(
"packages": [{"kind": "design", "name": "Main", "elements": [
  {"kind": "class", "id": "order", "name": "ORDER", "attributes": [{"name": "ID"}]},
  {"kind": "class", "id": "product", "name": "PRODUCT",
   "attributes": [{"id": "p_id", "name": "ID"}, {"id": "p_version", "name": "VERSION"}],
   "keys": [{"id": "p_pk", "attributes": ["p_id", "p_version"], "orderingIndex": "p_order"}],
   "primaryKey": "p_pk",
   "indexes": [{"id": "p_order", "members": [{"attribute": "p_id", "position": 1},
                                             {"attribute": "p_version", "position": 0}]}]},
  {"kind": "association", "name": "contains",
   "roles": [{"class": "order", "isSource": true, "multiplicity": "*"},
             {"class": "product", "multiplicity": "*"}]}]}]
)");
    const std::string before = importers::dumpJsonModel(*model);
    ORXClass* product = findClass(*model, "PRODUCT");
    ASSERT_NE(product, nullptr);
    {
        PreparedBridge run(*model);
        run.runPreprocessing();
        ORXClass* table = findClass(*model, "ORDER_PRODUCT");
        ASSERT_NE(table, nullptr);

        ASSERT_EQ(table->getAttributeCount(), 2);
        ORXAttribute* version = table->getAttribute(0);
        ORXAttribute* id = table->getAttribute(1);
        EXPECT_EQ(version->getName().str(), "VERSION");
        EXPECT_EQ(id->getName().str(), "ID");
        EXPECT_EQ(version->getDestinationOfAssociationRoleNameMapCount(), 0);
        EXPECT_EQ(id->getDestinationOfAssociationRoleNameMapCount(), 0);

        EXPECT_EQ(keyAttributes(table->getPrimaryKey()), (std::vector<ORXAttribute*>{version, id}));
        ASSERT_EQ(table->getKeyCount(), 2);
        ASSERT_EQ(table->getKey(1)->getElementType(), ORX_ET_FOREIGN_KEY);
        auto* toProduct = static_cast<ORXForeignKey*>(table->getKey(1));
        EXPECT_EQ(toProduct->getCandidateKey(), product->getPrimaryKey());

        using Members = std::vector<std::pair<ORXAttribute*, int>>;
        ASSERT_EQ(table->getIndexCount(), 2);
        EXPECT_TRUE(table->getIndex(0)->isClustered());
        EXPECT_EQ(members(table->getIndex(0)), (Members{{version, 0}, {id, 1}}));
        EXPECT_EQ(table->getIndex(1)->getKey(), toProduct);
        EXPECT_EQ(members(table->getIndex(1)), (Members{{version, 0}, {id, 1}}));

        // Both references exist; the one to ORDER has no foreign key.
        ASSERT_EQ(table->getAssociationRoleCount(), 2);
        EXPECT_EQ(table->getAssociationRole(0)->getForeignKey(), nullptr);
        EXPECT_EQ(table->getAssociationRole(1)->getForeignKey(), toProduct);

        std::string text = run.writeDocument();
        expectSoundDocument(text);
        EXPECT_EQ(PdmDocument(text).full("o:SPdoObjRefr").size(), 2u);
    }
    expectRestored(*model, before);
}

// ---- Generalizations ------------------------------------------------------------------------

TEST(PreprocessGeneralizations, ExportedSubtypesGetAReferenceFromTheSupertype) {
    auto model = loadModel(R"(
"packages": [{"kind": "design", "id": "main", "name": "Main", "elements": [
  {"kind": "class", "id": "party", "name": "PARTY",
   "attributes": [{"id": "party_id", "name": "ID"}],
   "keys": [{"id": "party_pk", "attributes": ["party_id"]}], "primaryKey": "party_pk"},
  {"kind": "class", "id": "org", "name": "ORG", "levelCode": 1,
   "attributes": [{"id": "org_id", "name": "ID"}],
   "keys": [{"id": "org_fk", "kind": "foreign", "attributes": ["org_id"], "references": "party_pk"}]},
  {"kind": "generalization", "id": "kinds", "name": "kinds of party",
   "comment": "Two kinds", "description": "A party is a person or an organisation",
   "notes": ["First note", "Second note"],
   "supertype": "party", "subtypes": ["org", "person"], "foreignKeys": ["org_fk", "person_fk", "person_fk2"]},
  {"kind": "class", "id": "hidden", "name": "HIDDEN", "levelCode": 1},
  {"kind": "class", "id": "shown", "name": "SHOWN"},
  {"kind": "generalization", "name": "excluded supertype", "supertype": "hidden", "subtypes": ["shown"]},
  {"kind": "generalization", "name": "no subtypes", "supertype": "party"},
  {"kind": "generalization", "name": "excluded itself", "levelCode": 1,
   "supertype": "party", "subtypes": ["shown"]}],
 "diagrams": [{"name": "Parties", "members": ["kinds"], "symbols": [
   {"subject": "party", "x": 10, "y": 10, "width": 4, "height": 4}]}],
 "packages": [{"kind": "design", "id": "people", "name": "People", "elements": [
  {"kind": "class", "id": "person", "name": "PERSON",
   "attributes": [{"id": "person_party", "name": "PARTY_ID"}, {"id": "person_again", "name": "SAME_PARTY"}],
   "keys": [{"id": "person_fk", "kind": "foreign", "attributes": ["person_party"],
             "references": "party_pk"},
            {"id": "person_fk2", "kind": "foreign", "attributes": ["person_again"],
             "references": "party_pk"}]}]}]}]
)");
    const std::string before = importers::dumpJsonModel(*model);
    ORXClass* party = findClass(*model, "PARTY");
    ORXClass* person = findClass(*model, "PERSON");
    ORXClass* org = findClass(*model, "ORG");
    ORXGeneralization* kinds =
        findNamed<ORXGeneralization>(*model, ORX_ET_GENERALIZATION, "kinds of party");
    ORXDiagram* parties = findDiagram(*model, "Parties");
    ASSERT_TRUE(party && person && org && kinds && parties);
    auto* personKey = static_cast<ORXForeignKey*>(person->getKey(0));
    auto* orgKey = static_cast<ORXForeignKey*>(org->getKey(0));
    auto* secondPersonKey = static_cast<ORXForeignKey*>(person->getKey(1));
    {
        PreparedBridge run(*model);
        run.runPreprocessing();

        // Only the generalization with an exported supertype and an exported
        // subtype is taken.
        ASSERT_EQ(run.preprocess.generalizations.getCount(), 1);
        EXPECT_EQ(run.preprocess.generalizations.get(0), kinds);
        for (const char* name : {"excluded supertype", "no subtypes", "excluded itself"}) {
            SCOPED_TRACE(name);
            auto* other = findNamed<ORXGeneralization>(*model, ORX_ET_GENERALIZATION, name);
            ASSERT_NE(other, nullptr);
            EXPECT_FALSE(run.bridge.isGeneralizationExported(other));
        }

        std::vector<ORXObject*> made = collect(*model, [&](ORXObject* object) {
            return object->getElementType() == ORX_ET_ASSOCIATION;
        });
        ASSERT_EQ(made.size(), 1u);
        auto* reference = static_cast<ORXAssociation*>(made[0]);
        EXPECT_EQ(reference->getDesignPackage(), findPackage(*model, "People"));
        EXPECT_EQ(reference->getComment().str(), "Two kinds");
        EXPECT_EQ(reference->getDescription().str(), "A party is a person or an organisation");
        ASSERT_EQ(reference->getNoteCount(), 2);
        EXPECT_EQ(reference->getNote(0)->getDescription().str(), "First note");
        EXPECT_EQ(reference->getNote(1)->getDescription().str(), "Second note");
        EXPECT_EQ(kinds->getNoteCount(), 2);

        ASSERT_EQ(reference->getAssociationRoleCount(), 2);
        ORXAssociationRole* parentRole = reference->getAssociationRole(0);
        ORXAssociationRole* childRole = reference->getAssociationRole(1);
        EXPECT_TRUE(parentRole->isSource());
        EXPECT_EQ(parentRole->getMultiplicity().str(), "1");
        EXPECT_EQ(parentRole->getAssociatedClass(), party);
        EXPECT_FALSE(childRole->isSource());
        EXPECT_EQ(childRole->getMultiplicity().str(), "0..*");
        EXPECT_EQ(childRole->getAssociatedClass(), person);
        // ORG's key comes first in the list, but PERSON does not hold it.
        EXPECT_EQ(personKey->getAssociationRole(), childRole);
        EXPECT_EQ(orgKey->getAssociationRole(), nullptr);
        // Only the first key that PERSON holds gets the role.
        EXPECT_EQ(secondPersonKey->getAssociationRole(), nullptr);

        EXPECT_EQ(diagramsOf(reference), std::vector<ORXDiagram*>{parties});
        EXPECT_EQ(projectionDiagrams(reference), std::vector<ORXDiagram*>{parties});
        EXPECT_TRUE(run.bridge.isReferenceExported(reference));

        std::string text = run.writeDocument();
        expectSoundDocument(text);
        PdmDocument document(text);
        std::vector<pugi::xml_node> written = document.full("o:SPdoObjRefr");
        ASSERT_EQ(written.size(), 1u);
        EXPECT_EQ(referenceTables(document, written[0]),
                  std::make_pair(std::string("PARTY"), std::string("PERSON")));
    }
    expectRestored(*model, before);
    EXPECT_EQ(personKey->getAssociationRole(), nullptr);
}

// ---- Non-binary associations ----------------------------------------------------------------

TEST(PreprocessAssociations, NonBinaryAssociationIsReportedOnceAndLeftAlone) {
    const std::string kModel = R"(
"packages": [{"kind": "design", "name": "Main", "elements": [
  {"kind": "class", "id": "a", "name": "A", "attributes": [{"id": "a_id", "name": "ID"}],
   "keys": [{"id": "a_pk", "attributes": ["a_id"]}], "primaryKey": "a_pk"},
  {"kind": "class", "id": "b", "name": "B", "attributes": [{"id": "b_id", "name": "ID"}],
   "keys": [{"id": "b_pk", "attributes": ["b_id"]}], "primaryKey": "b_pk"},
  {"kind": "class", "id": "c", "name": "C"},
  {"kind": "association", "id": "odd", "name": "odd", "roles": ROLES}],
 "diagrams": [{"name": "D", "symbols": [
   {"subject": "a", "x": 10, "y": 10, "width": 4, "height": 4},
   {"subject": "b", "x": 20, "y": 10, "width": 4, "height": 4},
   {"subject": "odd"}]}]}]
)";
    const char* roleLists[] = {
        R"([{"class": "a", "multiplicity": "0..*"}, {"class": "b", "multiplicity": "0..*"},
            {"class": "c", "multiplicity": "0..*"}])",
        R"([{"class": "a", "multiplicity": "0..*"}])",
        R"([])",
    };
    for (const char* roles : roleLists) {
        SCOPED_TRACE(roles);
        auto model = loadModel(replaced(kModel, "ROLES", roles));
        const std::string before = importers::dumpJsonModel(*model);
        ORXAssociation* odd = findAssociation(*model, "odd");
        ASSERT_NE(odd, nullptr);
        {
            PreparedBridge run(*model);
            run.runPreprocessing();
            EXPECT_EQ(run.preprocess.manyToManyAssociations.getCount(), 0);
            EXPECT_EQ(run.bridge.createdObjects.getCount(), 0);
            EXPECT_EQ(run.bridge.getExportRecord(odd).exported, 0);

            std::string text = run.writeDocument();
            expectSoundDocument(text);
            PdmDocument document(text);
            EXPECT_TRUE(document.full("o:SPdoObjRefr").empty());
            EXPECT_TRUE(document.full("o:SPdmSymRefr").empty());
            EXPECT_EQ(document.full("o:SPdoObjTabl").size(), 3u);
            EXPECT_EQ(countLogged(run.log, "Non binary Associations not supported"), 1);
        }
        expectRestored(*model, before);
    }
}

// ---- References moved into their child table's package --------------------------------------

TEST(PreprocessMovedReferences, ReferenceIsWrittenInItsChildsPackageAndGoesBack) {
    auto model = loadModel(R"(
"packages": [{"kind": "design", "name": "Main", "packages": [
  {"kind": "design", "id": "alpha", "name": "Alpha", "elements": [
    {"kind": "class", "id": "parent", "name": "PARENT",
     "attributes": [{"id": "parent_id", "name": "ID"}],
     "keys": [{"id": "parent_pk", "attributes": ["parent_id"]}], "primaryKey": "parent_pk"},
    {"kind": "association", "name": "owns", "roles": [
      {"class": "parent", "isSource": true}, {"class": "child", "foreignKey": "child_fk"}]},
    {"kind": "class", "name": "OTHER"},
    {"kind": "association", "name": "stays", "roles": [
      {"class": "parent", "isSource": true}, {"class": "sibling"}]},
    {"kind": "class", "id": "sibling", "name": "SIBLING"}]},
  {"kind": "design", "id": "beta", "name": "Beta", "elements": [
    {"kind": "class", "id": "child", "name": "CHILD",
     "attributes": [{"id": "child_parent", "name": "PARENT_ID"}],
     "keys": [{"id": "child_fk", "kind": "foreign", "attributes": ["child_parent"],
               "references": "parent_pk"}]}]}]}]
)");
    const std::string before = importers::dumpJsonModel(*model);
    ORXDesignPackage* alpha = findPackage(*model, "Alpha");
    ORXDesignPackage* beta = findPackage(*model, "Beta");
    ORXAssociation* owns = findAssociation(*model, "owns");
    ORXAssociation* stays = findAssociation(*model, "stays");
    ASSERT_TRUE(alpha && beta && owns && stays);
    ASSERT_EQ(alpha->getModelElement(1), owns);
    {
        PreparedBridge run(*model);
        run.runPreprocessing();
        ASSERT_EQ(run.bridge.movedAssociations.getCount(), 1);
        EXPECT_EQ(run.bridge.movedAssociations.get(0), owns);
        EXPECT_EQ(run.bridge.getExportRecord(owns).originalPackage, alpha);
        EXPECT_EQ(owns->getDesignPackage(), beta);
        EXPECT_FALSE(alpha->containsModelElement(owns));
        EXPECT_TRUE(beta->containsModelElement(owns));
        EXPECT_EQ(stays->getDesignPackage(), alpha);

        std::string text = run.writeDocument();
        expectSoundDocument(text);
        PdmDocument document(text);
        std::vector<pugi::xml_node> packages = document.full("o:SPdmPackage");
        ASSERT_EQ(names(packages), (std::vector<std::string>{"Alpha", "Beta"}));
        pugi::xml_node alphaReferences = packages[0].child("c:References");
        pugi::xml_node betaReferences = packages[1].child("c:References");
        EXPECT_EQ(names(document.full("o:SPdoObjRefr", "", betaReferences)),
                  std::vector<std::string>{"owns"});
        EXPECT_TRUE(document.full("o:SPdoObjRefr", "owns", alphaReferences).empty());
        EXPECT_EQ(document.full("o:SPdoObjRefr", "owns").size(), 1u);
        EXPECT_EQ(document.full("o:SPdoObjRefr", "stays", alphaReferences).size(), 1u);

        run.bridge.postProcess();
        EXPECT_EQ(owns->getDesignPackage(), alpha);
        EXPECT_EQ(alpha->getModelElement(1), owns);
        expectRestored(*model, before);
        run.bridge.postProcess();
        EXPECT_EQ(alpha->getModelElement(1), owns);
        expectRestored(*model, before);
    }
    expectRestored(*model, before);
}

// ---- Projections for objects without a symbol ------------------------------------------------

TEST(PreprocessProjections, MembersWithoutSymbolGetAProjectionForTheExportOnly) {
    auto model = loadModel(R"(
"packages": [{"kind": "design", "name": "Main", "elements": [
  {"kind": "class", "id": "drawn", "name": "DRAWN"},
  {"kind": "class", "id": "bare", "name": "BARE"},
  {"kind": "class", "id": "excluded", "name": "EXCLUDED", "levelCode": 1},
  {"kind": "view", "id": "v", "name": "V"}],
 "diagrams": [
  {"name": "First", "members": ["bare", "excluded", "v"], "symbols": [
    {"subject": "drawn", "x": 100, "y": 50, "width": 80, "height": 40}]},
  {"name": "Second", "members": ["drawn"]}]}]
)");
    const std::string before = importers::dumpJsonModel(*model);
    ORXClass* drawn = findClass(*model, "DRAWN");
    ORXClass* bare = findClass(*model, "BARE");
    ORXClass* excluded = findClass(*model, "EXCLUDED");
    auto* view = findNamed<ORXModelObject>(*model, ORX_ET_SQL_VIEW_ENTITY, "V");
    ORXDiagram* first = findDiagram(*model, "First");
    ORXDiagram* second = findDiagram(*model, "Second");
    ASSERT_TRUE(drawn && bare && excluded && view && first && second);
    ORXPresentationElement* drawnSymbol = drawn->getPresentationPresentationElement(0);
    {
        PreparedBridge run(*model);
        run.runPreprocessing();
        EXPECT_EQ(projectionDiagrams(bare), std::vector<ORXDiagram*>{first});
        EXPECT_EQ(projectionDiagrams(view), std::vector<ORXDiagram*>{first});
        EXPECT_EQ(excluded->getPresentationPresentationElementCount(), 0);
        // The drawn table keeps its symbol and gets a projection only where
        // it has none.
        ASSERT_EQ(drawn->getPresentationPresentationElementCount(), 2);
        EXPECT_EQ(drawn->getPresentationPresentationElement(0), drawnSymbol);
        EXPECT_EQ(drawnSymbol->getX(), 100);
        EXPECT_EQ(drawn->getPresentationPresentationElement(1)->getDiagram(), second);
        EXPECT_EQ(run.bridge.createdObjects.getCount(), 3);

        std::string text = run.writeDocument();
        expectSoundDocument(text);
        PdmDocument document(text);
        std::vector<pugi::xml_node> diagrams = document.full("o:SPdmDiagram");
        ASSERT_EQ(names(diagrams), (std::vector<std::string>{"First", "Second"}));
        struct Expected {
            int diagram;
            const char* element;
            const char* table;
            const char* clip;
        } expected[] = {
            {0, "o:SPdmSymTabl", "DRAWN", "((600,-600), (1400,-1400))"},
            {0, "o:SPdmSymTabl", "BARE", "((0,0), (4000,-4000))"},
            {0, "o:SPdmSymView", "V", "((0,0), (4000,-4000))"},
            {1, "o:SPdmSymTabl", "DRAWN", "((0,0), (4000,-4000))"},
        };
        std::vector<std::string> seen[2];
        for (int d = 0; d < 2; ++d)
            for (const char* kind : {"o:SPdmSymTabl", "o:SPdmSymView"})
                for (pugi::xml_node symbol : document.full(kind, "", diagrams[d]))
                    seen[d].push_back(std::string(kind) + " " +
                                      document.nameOfChild(symbol.child("c:Object")) + " " +
                                      symbol.child("a:ClipRect").text().get());
        std::vector<std::string> wanted[2];
        for (const Expected& e : expected)
            wanted[e.diagram].push_back(std::string(e.element) + " " + e.table + " " + e.clip);
        EXPECT_EQ(seen[0], wanted[0]);
        EXPECT_EQ(seen[1], wanted[1]);
    }
    expectRestored(*model, before);
    EXPECT_EQ(bare->getPresentationPresentationElementCount(), 0);
    EXPECT_EQ(first->getPresentationElementCount(), 1);
    EXPECT_EQ(second->getPresentationElementCount(), 0);
}

// ---- The model restored after a failed export ---------------------------------------------

namespace {

// A log that raises when it receives one given text.
class ThrowingLog : public RecordingLog {
  public:
    explicit ThrowingLog(std::string trigger) : trigger_(std::move(trigger)) {}
    void reportEvent(const ORXLogEvent& event) override {
        RecordingLog::reportEvent(event);
        if (event.getText().str() == trigger_)
            throw std::runtime_error("log refused the message");
    }

  private:
    std::string trigger_;
};

// Everything pre-processing changes at once: an associative table, a
// generalization, a moved reference and a projection.
const std::string kEverything = R"(
"packages": [{"kind": "design", "name": "Main", "packages": [
  {"kind": "design", "name": "Alpha", "elements": [
    {"kind": "class", "id": "order", "name": "ORDER",
     "attributes": [{"id": "order_id", "name": "ID"}],
     "keys": [{"id": "order_pk", "attributes": ["order_id"]}], "primaryKey": "order_pk"},
    {"kind": "class", "id": "product", "name": "PRODUCT",
     "attributes": [{"id": "product_id", "name": "ID"}],
     "keys": [{"id": "product_pk", "attributes": ["product_id"]}], "primaryKey": "product_pk"},
    {"kind": "association", "id": "contains", "name": "contains", "roles": [
      {"class": "order", "isSource": true, "multiplicity": "*"},
      {"class": "product", "multiplicity": "*"}]},
    {"kind": "association", "name": "bills", "roles": [
      {"class": "order", "isSource": true}, {"class": "invoice", "foreignKey": "invoice_fk"}]},
    {"kind": "generalization", "id": "kinds", "name": "kinds", "notes": ["n"],
     "supertype": "order", "subtypes": ["rush"]}],
   "diagrams": [{"name": "D", "members": ["order", "contains", "kinds"]}]},
  {"kind": "design", "name": "Beta", "elements": [
    {"kind": "class", "id": "invoice", "name": "INVOICE",
     "attributes": [{"id": "invoice_order", "name": "ORDER_ID"}],
     "keys": [{"id": "invoice_fk", "kind": "foreign", "attributes": ["invoice_order"],
               "references": "order_pk"}]},
    {"kind": "class", "id": "rush", "name": "RUSH"}]}]}]
)";

}  // namespace

TEST(PreprocessRestore, FailedExportLeavesTheModelAsItWas) {
    const char* models[] = {kEverything.c_str(), kOrderProduct.c_str()};
    for (const char* body : models) {
        auto model = loadModel(replaced(body, "EXTRA", ""));
        const std::string before = importers::dumpJsonModel(*model);
        SCOPED_TRACE(before.substr(0, 120));

        // The model changes during a successful export and comes back.
        auto outcome = exportToText(*model);
        expectSoundDocument(outcome->document);
        expectRestored(*model, before);

        {
            SCOPED_TRACE("writing to a full device");
            RecordingLog log;
            EXPECT_THROW(runExport(*model, "/dev/full", log), ORXException);
            EXPECT_EQ(countLogged(log, "Exporting ..."), 1);
            EXPECT_EQ(countLogged(log, "Post-processing the model..."), 0);
            expectRestored(*model, before);
        }
        {
            SCOPED_TRACE("a log that raises on the export message");
            TempDir dir;
            ThrowingLog log("Exporting ...");
            EXPECT_THROW(runExport(*model, dir.file("out.pdm"), log), ORXException);
            EXPECT_EQ(countLogged(log, "Pre-processing the model..."), 1);
            expectRestored(*model, before);
        }

        // A later export of the restored model gives the same document.
        auto again = exportToText(*model);
        EXPECT_EQ(again->document, outcome->document);
        expectRestored(*model, before);
    }
}

// ---- Selection predicates ---------------------------------------------------------------------

TEST(PreprocessSelection, LevelCodeOneExcludesTablesAndColumnsOnce) {
    auto model = loadModel(R"(
"packages": [{"kind": "design", "name": "Main", "elements": [
  {"kind": "class", "name": "T0", "attributes": [{"name": "C0"}]},
  {"kind": "class", "name": "T1", "levelCode": 1, "attributes": [{"name": "C1", "levelCode": 1}]},
  {"kind": "class", "name": "T2", "levelCode": 2, "attributes": [{"name": "C2", "levelCode": 2}]},
  {"kind": "class", "name": "T3", "levelCode": 3, "attributes": [{"name": "C3", "levelCode": -1}]}]}]
)");
    PreparedBridge run(*model);
    struct Case {
        const char* table;
        bool tableExported;
        bool columnExported;
    } cases[] = {{"T0", true, true}, {"T1", false, false}, {"T2", true, true}, {"T3", true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        ORXClass* table = findClass(*model, c.table);
        ASSERT_NE(table, nullptr);
        ORXAttribute* column = table->getAttribute(0);
        EXPECT_EQ(run.bridge.isClassExported(table), c.tableExported);
        EXPECT_EQ(run.bridge.isAttributeExported(column), c.columnExported);
        EXPECT_EQ(run.bridge.getExportRecord(table).exported, c.tableExported ? 1 : 0);
        EXPECT_EQ(run.bridge.getExportRecord(column).exported, c.columnExported ? 1 : 0);
        // The answer is computed once and kept.
        table->setLevelCode(c.tableExported ? 1 : 0);
        column->setLevelCode(c.columnExported ? 1 : 0);
        EXPECT_EQ(run.bridge.isClassExported(table), c.tableExported);
        EXPECT_EQ(run.bridge.isAttributeExported(column), c.columnExported);
    }
}

TEST(PreprocessSelection, ManyToManyNeedsBothUpperBoundsAboveOne) {
    struct Case {
        const char* role0;
        const char* role1;
        bool manyToMany;
    } cases[] = {
        {"*", "*", true},    {"0..*", "1..*", true}, {"1..*", "0..*", true},  {"2", "3..5", true},
        {"0..2", "*", true}, {"0..1", "*", false},   {"*", "0..1", false},    {"1", "*", false},
        {"*", "1", false},   {"1", "1", false},      {"0..1", "0..1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.role0) + " / " + c.role1);
        auto model =
            loadModel(std::string(R"(
"packages": [{"kind": "design", "name": "Main", "elements": [
  {"kind": "class", "id": "a", "name": "A"}, {"kind": "class", "id": "b", "name": "B"},
  {"kind": "association", "name": "ab", "roles": [
    {"class": "a", "isSource": true, "multiplicity": ")") +
                      c.role0 + R"("}, {"class": "b", "multiplicity": ")" + c.role1 + R"("}]}]}])");
        ORXAssociation* ab = findAssociation(*model, "ab");
        ASSERT_NE(ab, nullptr);
        PreparedBridge run(*model);
        EXPECT_EQ(run.bridge.isManyToMany(ab), c.manyToMany);
        // A many-to-many association is never written as a reference; it is
        // resolved instead.
        EXPECT_EQ(run.bridge.isReferenceExported(ab), !c.manyToMany);
        run.preprocess.runOn(&run.bridge);
        EXPECT_EQ(run.preprocess.manyToManyAssociations.getCount(), c.manyToMany ? 1 : 0);
    }
}

TEST(PreprocessSelection, ReferenceNeedsBothTablesAndItselfExported) {
    struct Case {
        const char* name;
        const char* levelA;
        const char* levelB;
        const char* levelAssociation;
        bool exported;
    } cases[] = {
        {"all exported", "0", "0", "0", true},
        {"association excluded", "0", "0", "1", false},
        {"parent excluded", "1", "0", "0", false},
        {"child excluded", "0", "1", "0", false},
        {"level code 2 everywhere", "2", "2", "2", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto model =
            loadModel(std::string(R"(
"packages": [{"kind": "design", "name": "Main", "elements": [
  {"kind": "class", "id": "a", "name": "A", "levelCode": )") +
                      c.levelA + R"(}, {"kind": "class", "id": "b", "name": "B", "levelCode": )" +
                      c.levelB + R"(},
  {"kind": "association", "name": "ab", "levelCode": )" +
                      c.levelAssociation + R"(, "roles": [
    {"class": "a", "isSource": true}, {"class": "b"}]}]}])");
        ORXAssociation* ab = findAssociation(*model, "ab");
        ASSERT_NE(ab, nullptr);
        PreparedBridge run(*model);
        EXPECT_EQ(run.bridge.isReferenceExported(ab), c.exported);
        EXPECT_EQ(run.bridge.getExportRecord(ab).exported, c.exported ? 1 : 0);
        EXPECT_TRUE(run.log.events.empty());
    }
}
