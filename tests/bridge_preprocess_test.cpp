// Pre- and post-processing: what each step adds to or moves in the model,
// what the document then holds, and the model coming back unchanged.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "orx/ORXException.h"
#include "support/PrepSupport.h"

using namespace pdmtest;
using Lines = std::vector<std::string>;

namespace {

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
        text.replace(at, from.size(), to), at += to.size();
    return text;
}

// ORDER and PRODUCT joined by a many-to-many association whose source role
// is at ORDER; the association is drawn in one diagram and only a member of
// another.
const std::string kOrderProduct = R"(
"packages": [{"kind": "design", "name": "Main", "elements": [
  {"kind": "class", "id": "order", "name": "ORDER", "physicalName": "T_ORDER",
   "attributes": [
     {"id": "order_id", "name": "ID", "physicalName": "ORDER_NO", "description": "Order number",
      "type": {"dataType": "SQL_INTEGER"}},
     {"name": "PLACED", "type": {"dataType": "SQL_DATE"}}],
   "keys": [{"id": "order_pk", "attributes": ["order_id"]}], "primaryKey": "order_pk"},
  {"kind": "class", "id": "product", "name": "PRODUCT", "physicalName": "T_PRODUCT",
   "attributes": [{"id": "product_id", "name": "ID", "physicalName": "PRODUCT_NO",
                   "type": {"dataType": "SQL_VARCHAR", "length": 12}}],
   "keys": [{"id": "product_pk", "attributes": ["product_id"]}], "primaryKey": "product_pk"},
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

template <class Get>
std::string joined(int count, Get get) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += " " + get(i);
    return out;
}

std::string nameOf(const ORXObject* object) {
    return object ? object->getName().str() : "-";
}

// The roles of an association: "CLASS MULTIPLICITY [source]" each.
std::string roles(const ORXAssociation* association) {
    return joined(association->getAssociationRoleCount(), [&](int i) {
        ORXAssociationRole* role = association->getAssociationRole(i);
        return nameOf(role->getAssociatedClass()) + " " + role->getMultiplicity().str() +
               (role->isSource() ? " source" : "");
    });
}

// What a key is: "primary key", "foreign key to TABLE" or "key".
std::string keyKind(ORXClass* table, ORXKey* key) {
    if (key && key->getElementType() == ORX_ET_FOREIGN_KEY)
        return "foreign key to " +
               nameOf(static_cast<ORXForeignKey*>(key)->getCandidateKey()->getAssociatedClass());
    return key && key == table->getPrimaryKey() ? "primary key" : "key";
}

// The columns, keys and indexes of a table, one line each.
Lines layout(ORXClass* table) {
    Lines out;
    for (int i = 0; i < table->getAttributeCount(); ++i) {
        ORXAttribute* column = table->getAttribute(i);
        out.push_back(
            "column " + column->getName().str() + "/" + column->getPhysicalName().str() +
            joined(column->getDestinationOfAssociationRoleNameMapCount(), [&](int m) {
                ORXAttribute* from =
                    column->getDestinationOfAssociationRoleNameMap(m)->getSourceAttribute();
                return "from " + nameOf(from->getAssociatedClass()) + "." + nameOf(from);
            }));
    }
    for (int i = 0; i < table->getKeyCount(); ++i) {
        ORXKey* key = table->getKey(i);
        std::string line = keyKind(table, key);
        if (auto* foreign = dynamic_cast<ORXForeignKey*>(key)) {
            ORXAssociationRole* role = foreign->getAssociationRole();
            line += " maps" + std::to_string(foreign->getAssociationRoleNameMapCount()) + " via" +
                    (role ? roles(role->getAssociation()) : " -");
        } else if (static_cast<ORXCandidateKey*>(key)->isUnique()) {
            line += " unique";
        }
        out.push_back(line + ":" + joined(key->getAttributeCount(), [&](int a) {
                          return nameOf(key->getAttribute(a));
                      }));
    }
    for (int i = 0; i < table->getIndexCount(); ++i) {
        ORXIndex* index = table->getIndex(i);
        out.push_back(std::string("index") + (index->isClustered() ? " clustered" : "") + " of " +
                      keyKind(table, index->getKey()) + ":" +
                      joined(index->getIndexMemberCount(), [&](int m) {
                          ORXIndexMember* member = index->getIndexMember(m);
                          return nameOf(member->getAttribute()) + "@" +
                                 std::to_string(member->getPosition());
                      }));
    }
    return out;
}

// Where an object lies: its package, its diagrams and, per presentation
// element, whether it is a projection or a symbol and in which diagram.
std::string placement(ORXModelObject* object) {
    return nameOf(object->getDesignPackage()) + " diagrams" +
           joined(object->getDiagramCount(), [&](int i) { return nameOf(object->getDiagram(i)); }) +
           " shown" + joined(object->getPresentationPresentationElementCount(), [&](int i) {
               ORXPresentationElement* element = object->getPresentationPresentationElement(i);
               bool projection = element->getElementType() == ORX_ET_PROJECTION;
               return std::string(projection ? "projection " : "symbol ") +
                      nameOf(element->getDiagram()) +
                      (element->getSubjectModelObject() == object ? "" : " of another");
           });
}

void expectRestored(ORXModel& model, const std::string& dumpBefore) {
    EXPECT_EQ(importers::dumpJsonModel(model), dumpBefore);
    EXPECT_TRUE(collect(model, [](ORXObject* o) { return o->getGeneralPointer(); }).empty());
}

bool contains(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// PARTY and its subtypes: only "kinds" has an exported supertype and
// subtype and is exported itself; its subtype ORG is excluded.
const std::string kParties = R"(
"packages": [{"kind": "design", "name": "Main", "elements": [
  {"kind": "class", "id": "party", "name": "PARTY", "attributes": [{"id": "pa", "name": "ID"}],
   "keys": [{"id": "party_pk", "attributes": ["pa"]}], "primaryKey": "party_pk"},
  {"kind": "class", "id": "org", "name": "ORG", "levelCode": 1, "attributes": [{"id": "o_id"}],
   "keys": [{"id": "org_fk", "kind": "foreign", "attributes": ["o_id"], "references": "party_pk"}]},
  {"kind": "generalization", "id": "kinds", "name": "kinds", "comment": "Two kinds",
   "description": "Persons or organisations", "notes": ["First", "Second"], "supertype": "party",
   "subtypes": ["org", "person"], "foreignKeys": ["org_fk", "person_fk", "person_fk2"]},
  {"kind": "class", "id": "hidden", "name": "HIDDEN", "levelCode": 1},
  {"kind": "class", "id": "shown", "name": "SHOWN"},
  {"kind": "generalization", "name": "g1", "supertype": "hidden", "subtypes": ["shown"]},
  {"kind": "generalization", "name": "g2", "supertype": "party"},
  {"kind": "generalization", "name": "g3", "levelCode": 1, "supertype": "party",
   "subtypes": ["shown"]}],
 "diagrams": [{"name": "Parties", "members": ["kinds"]}],
 "packages": [{"kind": "design", "name": "People", "elements": [
  {"kind": "class", "id": "person", "name": "PERSON",
   "attributes": [{"id": "p1", "name": "PARTY_ID"}, {"id": "p2", "name": "AGAIN"}],
   "keys": [{"id": "person_fk", "kind": "foreign", "attributes": ["p1"], "references": "party_pk"},
    {"id": "person_fk2", "kind": "foreign", "attributes": ["p2"], "references": "party_pk"}]}]}]}]
)";

// PARENT's reference to CHILD lies in another package than CHILD.
const std::string kMoved = R"(
"packages": [{"kind": "design", "name": "Main", "packages": [
  {"kind": "design", "name": "Alpha", "elements": [
    {"kind": "class", "id": "parent", "name": "PARENT", "attributes": [{"id": "pid", "name": "ID"}],
     "keys": [{"id": "parent_pk", "attributes": ["pid"]}], "primaryKey": "parent_pk"},
    {"kind": "association", "name": "owns", "roles": [
      {"class": "parent", "isSource": true}, {"class": "child", "foreignKey": "child_fk"}]},
    {"kind": "association", "name": "stays", "roles": [
      {"class": "parent", "isSource": true}, {"class": "sibling"}]},
    {"kind": "class", "id": "sibling", "name": "SIBLING"}]},
  {"kind": "design", "name": "Beta", "elements": [
    {"kind": "class", "id": "child", "name": "CHILD", "attributes": [{"id": "cp", "name": "P"}],
     "keys": [{"id": "child_fk", "kind": "foreign", "attributes": ["cp"],
               "references": "parent_pk"}]}]}]}]
)";

}  // namespace

TEST(PreprocessManyToMany, OrderProductGetsAnAssociativeTableUntilPostProcessing) {
    auto model = loadModel(kOrderProduct);
    const std::string before = importers::dumpJsonModel(*model);
    {
        PreparedBridge run(*model);
        run.runPreprocessing();
        ASSERT_EQ(run.preprocess.manyToManyAssociations.getCount(), 1);
        ORXClass* table = findNamed(*model, "ORDER_PRODUCT");
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->getPhysicalName().str(), "T_ORDER_T_PRODUCT");
        // PRODUCT's ID, refused under its own name, takes the source-side
        // table's name and is mapped to the column it copies.
        EXPECT_EQ(layout(table),
                  (Lines{"column ID/ORDER_NO", "column ORDER_ID/ORDER_PRODUCT_NO from PRODUCT.ID",
                         "primary key unique: ID ORDER_ID",
                         "foreign key to ORDER maps0 via ORDER 1 source ORDER_PRODUCT 0..*: ID",
                         "foreign key to PRODUCT maps1 via PRODUCT 1 source ORDER_PRODUCT 1..*: "
                         "ORDER_ID",
                         "index clustered of primary key: ID@0 ORDER_ID@1",
                         "index of foreign key to ORDER: ID@0",
                         "index of foreign key to PRODUCT: ORDER_ID@0"}));
        EXPECT_EQ(table->getAttribute(0)->getDescription().str(), "Order number");
        EXPECT_EQ(table->getAttribute(0)->getType(),
                  findNamed(*model, "ORDER")->getAttribute(0)->getType());

        // The table and both references lie beside the association and are
        // drawn in each of its diagrams; the association is not exported.
        const std::string shown =
            "Main diagrams Overview Detail shown projection Overview projection Detail";
        EXPECT_EQ(placement(table), shown);
        ASSERT_EQ(table->getAssociationRoleCount(), 2);
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(placement(table->getAssociationRole(i)->getAssociation()), shown);
        EXPECT_FALSE(run.bridge.isReferenceExported(
            findNamed<ORXAssociation>(*model, "contains", ORX_ET_ASSOCIATION)));
        EXPECT_EQ(run.bridge.createdObjects.getCount(), 9);

        EXPECT_EQ(summary(run.writeDocument()),
                  (Lines{"reference ORDER -> ORDER_PRODUCT in model",
                         "reference PRODUCT -> ORDER_PRODUCT in model",
                         "symbol Tabl ORDER in Overview ((600,-600), (1400,-1400))",
                         "symbol Tabl ORDER_PRODUCT in Detail ((0,0), (4000,-4000))",
                         "symbol Tabl ORDER_PRODUCT in Overview ((0,0), (4000,-4000))",
                         "symbol Tabl PRODUCT in Overview ((2600,-600), (3400,-1400))",
                         "table ORDER/T_ORDER: ID/ORDER_NO PLACED/PLACED",
                         "table ORDER_PRODUCT/T_ORDER_T_PRODUCT: ID/ORDER_NO "
                         "ORDER_ID/ORDER_PRODUCT_NO",
                         "table PRODUCT/T_PRODUCT: ID/PRODUCT_NO"}));
        run.bridge.postProcess();
        EXPECT_EQ(run.bridge.createdObjects.getCount(), 0);
        expectRestored(*model, before);
    }
    // The bridge's destructor post-processes once more, changing nothing.
    expectRestored(*model, before);
}

TEST(PreprocessManyToMany, RefusedNamesAreNumbered) {
    // The package refuses the table's name: it takes the next object identifier.
    auto model = loadModel(replaced(kOrderProduct, R"({"kind": "association")",
                                    R"({"kind": "class", "name": "ORDER_PRODUCT", "physicalName": )"
                                    R"("EXISTING"}, {"kind": "association")"));
    const std::string before = importers::dumpJsonModel(*model);
    {
        PreparedBridge run(*model);
        run.bridge.nextObjectId = 41;
        run.runPreprocessing();
        ORXClass* table = findNamed(*model, "ORDER_PRODUCT_41");
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->getPhysicalName().str(), "T_ORDER_T_PRODUCT_41");
        EXPECT_EQ(nameOf(table->getDesignPackage()), "Main");
        EXPECT_EQ(run.bridge.nextObjectId, 42);
    }
    expectRestored(*model, before);
    Lines written = summary(exportToText(*model));
    EXPECT_TRUE(contains(written, "table ORDER_PRODUCT/EXISTING:"));
    EXPECT_TRUE(contains(written,
                         "table ORDER_PRODUCT_1/T_ORDER_T_PRODUCT_1: ID/ORDER_NO "
                         "ORDER_ID/ORDER_PRODUCT_NO"));
    expectRestored(*model, before);

    // ORDER's key holds ORDER_ID already, so PRODUCT's ID is refused under
    // its own name and the prefixed one.
    model = loadModel(replaced(replaced(kOrderProduct, R"({"name": "PLACED")",
                                        R"({"id": "o2", "name": "ORDER_ID"}, {"name": "PLACED")"),
                               R"(["order_id"])", R"(["order_id", "o2"])"));
    const std::string second = importers::dumpJsonModel(*model);
    {
        PreparedBridge run(*model);
        run.runPreprocessing();
        ORXClass* table = findNamed(*model, "ORDER_PRODUCT");
        ASSERT_NE(table, nullptr);
        Lines got = layout(table);
        for (const char* line : {"column ORDER_ID_1/ORDER_PRODUCT_NO_1 from PRODUCT.ID",
                                 "primary key unique: ID ORDER_ID ORDER_ID_1",
                                 "index clustered of primary key: ID@0 ORDER_ID@1 ORDER_ID_1@2"})
            EXPECT_TRUE(contains(got, line)) << line << "\n" << ::testing::PrintToString(got);
    }
    expectRestored(*model, second);
}

TEST(PreprocessManyToMany, ExcludedAssociationOrTableGivesNoAssociativeTable) {
    for (const char* name : {"contains", "ORDER", "PRODUCT"}) {
        SCOPED_TRACE(name);
        const std::string key = std::string(R"("name": ")") + name + R"(",)";
        auto model = loadModel(replaced(kOrderProduct, key, key + R"( "levelCode": 1,)"));
        const std::string before = importers::dumpJsonModel(*model);
        EXPECT_EQ(exportToText(*model).find("ORDER_PRODUCT"), std::string::npos);
        expectRestored(*model, before);
    }
}

TEST(PreprocessManyToMany, ExistingAssociativeTableStandsForTheAssociation) {
    // OP links X and Y, which also share the many-to-many association X_Y;
    // OP stands for X_Y only when marked with level code 2 and many-ended.
    const std::string kModel = R"(
"packages": [{"kind": "design", "name": "Main", "elements": [
  {"kind": "class", "id": "x", "name": "X", "attributes": [{"id": "x_id", "name": "X_ID"}],
   "keys": [{"id": "x_pk", "attributes": ["x_id"]}], "primaryKey": "x_pk"},
  {"kind": "class", "id": "y", "name": "Y", "attributes": [{"id": "y_id", "name": "Y_ID"}],
   "keys": [{"id": "y_pk", "attributes": ["y_id"]}], "primaryKey": "y_pk"},
  {"kind": "class", "id": "op", "name": "OP", "levelCode": LEVEL,
   "attributes": [{"id": "op_x", "name": "X_ID"}, {"id": "op_y", "name": "Y_ID"}],
   "keys": [{"id": "fx", "kind": "foreign", "attributes": ["op_x"], "references": "x_pk"},
            {"id": "fy", "kind": "foreign", "attributes": ["op_y"], "references": "y_pk"}]},
  {"kind": "association", "name": "X_OP", "roles": [{"class": "x", "isSource": true},
   {"class": "op", "multiplicity": "MULT", "foreignKey": "fx"}]},
  {"kind": "association", "name": "Y_OP", "roles": [{"class": "y", "isSource": true},
   {"class": "op", "multiplicity": "MULT", "foreignKey": "fy"}]},
  {"kind": "association", "name": "X_Y", "roles": [
   {"class": "x", "isSource": true, "multiplicity": "0..*"},{"class": "y", "multiplicity": "*"}]}]}]
)";
    struct Case {
        const char* levelCode;
        const char* multiplicity;
        bool paired;
    } cases[] = {
        {"2", "0..*", true},  {"2", "2..5", true},  {"0", "0..*", false},
        {"1", "0..*", false}, {"2", "0..1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.levelCode) + " " + c.multiplicity);
        auto model =
            loadModel(replaced(replaced(kModel, "LEVEL", c.levelCode), "MULT", c.multiplicity));
        const std::string before = importers::dumpJsonModel(*model);
        ORXClass* op = findNamed(*model, "OP");
        auto* xy = findNamed<ORXAssociation>(*model, "X_Y", ORX_ET_ASSOCIATION);
        ASSERT_TRUE(op && xy);
        {
            PreparedBridge run(*model);
            run.runPreprocessing();
            EXPECT_EQ(run.bridge.getExportDetail(xy).pairedAssociation, c.paired ? op : nullptr);
            EXPECT_EQ(run.bridge.getExportDetail(op).pairedAssociation, c.paired ? xy : nullptr);
            EXPECT_EQ(findNamed(*model, "X_Y") == nullptr, c.paired);
            std::string text = run.writeDocument();
            EXPECT_EQ(text.find("<a:Name>X_Y</a:Name>") == std::string::npos, c.paired);
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
   "primaryKey": "p_pk", "indexes": [{"id": "p_order", "members": [
     {"attribute": "p_id", "position": 1}, {"attribute": "p_version", "position": 0}]}]},
  {"kind": "association", "name": "contains", "roles": [{"class": "order", "isSource": true,
   "multiplicity": "*"}, {"class": "product", "multiplicity": "*"}]}]}]
)");
    const std::string before = importers::dumpJsonModel(*model);
    {
        PreparedBridge run(*model);
        run.runPreprocessing();
        ORXClass* table = findNamed(*model, "ORDER_PRODUCT");
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(layout(table),
                  (Lines{"column VERSION/", "column ID/", "primary key unique: VERSION ID",
                         "foreign key to PRODUCT maps0 via PRODUCT 1 source ORDER_PRODUCT *: "
                         "VERSION ID",
                         "index clustered of primary key: VERSION@0 ID@1",
                         "index of foreign key to PRODUCT: VERSION@0 ID@1"}));
        // The reference to ORDER exists without a foreign key.
        ASSERT_EQ(table->getAssociationRoleCount(), 2);
        EXPECT_EQ(table->getAssociationRole(0)->getForeignKey(), nullptr);
    }
    expectRestored(*model, before);
}

TEST(PreprocessManyToMany, OrderingIndexOrdersEachKeyColumnOnce) {
    // ORDER's key (ID, NO) is ordered by an index listing NO, a column outside
    // the key, and NO again: the copies are NO then ID, each once.
    auto model = loadModel(R"(
"packages": [{"kind": "design", "name": "Main", "elements": [
  {"kind": "class", "id": "order", "name": "ORDER", "attributes": [
     {"id": "o_id", "name": "ID"}, {"id": "o_no", "name": "NO"}, {"id": "o_note", "name": "NOTE"}],
   "keys": [{"id": "o_pk", "attributes": ["o_id", "o_no"], "orderingIndex": "o_order"}],
   "primaryKey": "o_pk", "indexes": [{"id": "o_order", "members": [
     {"attribute": "o_no"}, {"attribute": "o_note"}, {"attribute": "o_no"}]}]},
  {"kind": "class", "id": "product", "name": "PRODUCT", "attributes": [{"name": "CODE"}]},
  {"kind": "association", "name": "contains", "roles": [{"class": "order", "isSource": true,
   "multiplicity": "*"}, {"class": "product", "multiplicity": "*"}]}]}]
)");
    const std::string before = importers::dumpJsonModel(*model);
    {
        PreparedBridge run(*model);
        run.runPreprocessing();
        ORXClass* table = findNamed(*model, "ORDER_PRODUCT");
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(table->getAttributeCount(), 2);
        EXPECT_EQ(table->getAttribute(0)->getName(), "NO");
        EXPECT_EQ(table->getAttribute(1)->getName(), "ID");
    }
    expectRestored(*model, before);
}

TEST(PreprocessGeneralizations, ExportedSubtypesGetAReferenceFromTheSupertype) {
    auto model = loadModel(kParties);
    const std::string before = importers::dumpJsonModel(*model);
    ORXClass* person = findNamed(*model, "PERSON");
    ASSERT_NE(person, nullptr);
    {
        PreparedBridge run(*model);
        run.runPreprocessing();
        ASSERT_EQ(run.preprocess.generalizations.getCount(), 1);
        std::vector<ORXObject*> made =
            collect(*model, [](ORXObject* o) { return o->getElementType() == ORX_ET_ASSOCIATION; });
        ASSERT_EQ(made.size(), 1u);
        auto* reference = static_cast<ORXAssociation*>(made[0]);
        EXPECT_EQ(roles(reference), " PARTY 1 source PERSON 0..*");
        EXPECT_EQ(placement(reference), "People diagrams Parties shown projection Parties");
        EXPECT_EQ(reference->getComment().str() + "/" + reference->getDescription().str(),
                  "Two kinds/Persons or organisations");
        ASSERT_EQ(reference->getNoteCount(), 2);
        EXPECT_EQ(reference->getNote(1)->getDescription().str(), "Second");
        // Only the first listed key that PERSON holds implements the reference.
        EXPECT_EQ(layout(person),
                  (Lines{"column PARTY_ID/", "column AGAIN/",
                         "foreign key to PARTY maps0 via PARTY 1 source PERSON 0..*: PARTY_ID",
                         "foreign key to PARTY maps0 via -: AGAIN"}));
        EXPECT_TRUE(contains(summary(run.writeDocument()), "reference PARTY -> PERSON in People"));
    }
    expectRestored(*model, before);
}

TEST(PreprocessAssociations, NonBinaryAssociationIsLoggedOnceAndLeftAlone) {
    const std::string kModel = R"(
"packages": [{"kind": "design", "name": "Main", "elements": [
  {"kind": "class", "id": "a", "name": "A"}, {"kind": "class", "id": "b", "name": "B"},
  {"kind": "association", "id": "odd", "name": "odd", "roles": ROLES}],
 "diagrams": [{"name": "D", "symbols": [{"subject": "odd"}]}]}]
)";
    for (const char* roleList : {R"([{"class": "a", "multiplicity": "*"},
           {"class": "b", "multiplicity": "*"}, {"class": "a", "multiplicity": "*"}])",
                                 R"([{"class": "a", "multiplicity": "*"}])", "[]"}) {
        SCOPED_TRACE(roleList);
        auto model = loadModel(replaced(kModel, "ROLES", roleList));
        const std::string before = importers::dumpJsonModel(*model);
        {
            PreparedBridge run(*model);
            run.runPreprocessing();
            EXPECT_EQ(run.writeDocument().find("Refr"), std::string::npos);
            EXPECT_EQ(countLogged(run.log, "Non binary Associations not supported"), 1);
        }
        expectRestored(*model, before);
    }
}

TEST(PreprocessMovedReferences, ReferenceIsWrittenInItsChildsPackageAndGoesBack) {
    auto model = loadModel(kMoved);
    const std::string before = importers::dumpJsonModel(*model);
    auto* alpha = findNamed<ORXDesignPackage>(*model, "Alpha", ORX_ET_DESIGN_PACKAGE);
    auto* owns = findNamed<ORXAssociation>(*model, "owns", ORX_ET_ASSOCIATION);
    ASSERT_TRUE(alpha && owns);
    {
        PreparedBridge run(*model);
        run.runPreprocessing();
        ASSERT_EQ(run.bridge.movedAssociations.getCount(), 1);
        EXPECT_EQ(run.bridge.movedAssociations.get(0), owns);
        EXPECT_EQ(nameOf(owns->getDesignPackage()), "Beta");
        EXPECT_FALSE(alpha->containsModelElement(owns));
        Lines written = summary(run.writeDocument());
        EXPECT_EQ(
            Lines(written.begin(), written.begin() + 2),
            (Lines{"reference PARENT -> CHILD in Beta", "reference PARENT -> SIBLING in Alpha"}));
        EXPECT_EQ(written[2].rfind("table", 0), 0u);
        // It goes back to its position; post-processing again changes nothing.
        for (int round = 0; round < 2; ++round) {
            run.bridge.postProcess();
            EXPECT_EQ(alpha->getModelElement(1), owns);
            expectRestored(*model, before);
        }
    }
    expectRestored(*model, before);
}

// A reference whose child table is in no design package has nowhere to go:
// it stays in its own package, is written there and is still there after.
TEST(PreprocessMovedReferences, ReferenceThatCannotMoveStaysInItsPackage) {
    auto model = loadModel(kMoved);
    auto* alpha = findNamed<ORXDesignPackage>(*model, "Alpha", ORX_ET_DESIGN_PACKAGE);
    auto* beta = findNamed<ORXDesignPackage>(*model, "Beta", ORX_ET_DESIGN_PACKAGE);
    auto* owns = findNamed<ORXAssociation>(*model, "owns", ORX_ET_ASSOCIATION);
    ORXClass* child = findNamed(*model, "CHILD");
    ASSERT_TRUE(alpha && beta && owns && child);
    ASSERT_TRUE(child->removeDesignPackage(beta));
    {
        PreparedBridge run(*model);
        run.runPreprocessing();
        EXPECT_EQ(owns->getDesignPackage(), alpha);
        EXPECT_TRUE(contains(summary(run.writeDocument()), "reference PARENT -> CHILD in Alpha"));
        run.bridge.postProcess();
        EXPECT_EQ(owns->getDesignPackage(), alpha);
        EXPECT_TRUE(alpha->containsModelElement(owns));
    }
    EXPECT_TRUE(child->addDesignPackage(beta));
}

TEST(PreprocessProjections, MembersWithoutSymbolGetAProjectionForTheExportOnly) {
    auto model = loadModel(R"(
"packages": [{"kind": "design", "name": "Main", "elements": [
  {"kind": "class", "id": "drawn", "name": "DRAWN"},{"kind": "class", "id": "bare", "name": "BARE"},
  {"kind": "class", "id": "excluded", "name": "EXCLUDED", "levelCode": 1},
  {"kind": "view", "id": "v", "name": "V"}],
 "diagrams": [
  {"name": "First", "members": ["bare", "excluded", "v"], "symbols": [
    {"subject": "drawn", "x": 100, "y": 50, "width": 80, "height": 40}]},
  {"name": "Second", "members": ["drawn"]}]}]
)");
    const std::string before = importers::dumpJsonModel(*model);
    struct Case {
        const char* name;
        int type;
        const char* placed;
    } cases[] = {
        {"DRAWN", ORX_ET_CLASS, "Main diagrams First Second shown symbol First projection Second"},
        {"BARE", ORX_ET_CLASS, "Main diagrams First shown projection First"},
        {"EXCLUDED", ORX_ET_CLASS, "Main diagrams First shown"},
        {"V", ORX_ET_SQL_VIEW_ENTITY, "Main diagrams First shown projection First"},
    };
    {
        PreparedBridge run(*model);
        run.runPreprocessing();
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            auto* object = findNamed<ORXModelObject>(*model, c.name, c.type);
            ASSERT_NE(object, nullptr);
            EXPECT_EQ(placement(object), c.placed);
        }
        EXPECT_EQ(summary(run.writeDocument()),
                  (Lines{"symbol Tabl BARE in First ((0,0), (4000,-4000))",
                         "symbol Tabl DRAWN in First ((600,-600), (1400,-1400))",
                         "symbol Tabl DRAWN in Second ((0,0), (4000,-4000))",
                         "symbol View V in First ((0,0), (4000,-4000))",
                         "table BARE/BARE:", "table DRAWN/DRAWN:"}));
    }
    expectRestored(*model, before);
    EXPECT_EQ(findNamed(*model, "BARE")->getPresentationPresentationElementCount(), 0);
}

TEST(PreprocessRestore, FailedExportLeavesTheModelAsItWas) {
    // A log that raises when it receives one given text.
    struct ThrowingLog : RecordingLog {
        void reportEvent(const ORXLogEvent& event) override {
            RecordingLog::reportEvent(event);
            if (event.getText().str() == "Exporting ...")
                throw std::runtime_error("log refused the message");
        }
    };
    for (const std::string& body : {kOrderProduct, kParties, kMoved}) {
        auto model = loadModel(body);
        const std::string before = importers::dumpJsonModel(*model);
        SCOPED_TRACE(before.substr(0, 120));
        const std::string document = exportToText(*model);
        expectRestored(*model, before);
        RecordingLog fullLog;
        EXPECT_THROW(runExport(*model, "/dev/full", fullLog), ORXException);
        EXPECT_EQ(countLogged(fullLog, "Exporting ..."), 1);
        expectRestored(*model, before);
        TempDir dir;
        ThrowingLog throwingLog;
        EXPECT_THROW(runExport(*model, dir.file("out.pdm"), throwingLog), ORXException);
        EXPECT_EQ(countLogged(throwingLog, "Pre-processing the model..."), 1);
        expectRestored(*model, before);
        // The restored model exports to the same document again.
        EXPECT_EQ(exportToText(*model), document);
        expectRestored(*model, before);
    }
}
