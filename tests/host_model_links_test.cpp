// Linking operations of the repository model: what they refuse, what they
// link on both sides and what deleting an object unlinks.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "orx/ORXModel.h"

namespace {

ORXClass* makeClass(const char* name) {
    auto* cls = new ORXClass();
    cls->setName(name);
    return cls;
}

ORXAttribute* makeAttribute(ORXClass* cls, const char* name) {
    auto* attribute = new ORXAttribute();
    attribute->setName(name);
    EXPECT_TRUE(attribute->addAssociatedClass(cls)) << name;
    return attribute;
}

std::vector<std::string> elementNames(const ORXDesignPackage& package) {
    std::vector<std::string> names;
    for (int i = 0; i < package.getModelElementCount(); ++i) {
        names.push_back(package.getModelElement(i)->getName().str());
    }
    return names;
}

std::vector<std::string> attributeNames(const ORXClass& cls) {
    std::vector<std::string> names;
    for (int i = 0; i < cls.getAttributeCount(); ++i)
        names.push_back(cls.getAttribute(i)->getName().str());
    return names;
}

TEST(ModelLinkList, KeepsOrderThroughRemovalsAndInsertions) {
    int values[6] = {0, 1, 2, 3, 4, 5};
    ORXLinkList<int> list;
    for (int& v : values)
        EXPECT_TRUE(list.add(&v));
    EXPECT_FALSE(list.add(&values[2]));
    EXPECT_FALSE(list.add(nullptr));
    EXPECT_TRUE(list.remove(&values[1]));
    EXPECT_TRUE(list.remove(&values[4]));
    EXPECT_FALSE(list.remove(&values[4]));
    EXPECT_EQ(list.count(), 4);
    EXPECT_FALSE(list.contains(&values[1]));
    EXPECT_TRUE(list.contains(&values[5]));
    EXPECT_EQ(*list.get(1), 2);
    EXPECT_TRUE(list.insertAt(1, &values[4]));
    EXPECT_FALSE(list.insertAt(9, &values[1]));
    EXPECT_TRUE(list.add(&values[1]));
    std::vector<int> seen;
    for (int* v : list.items())
        seen.push_back(*v);
    EXPECT_EQ(seen, (std::vector<int>{0, 4, 2, 3, 5, 1}));
    // Removing after an insertion still finds the right slots.
    EXPECT_TRUE(list.remove(&values[2]));
    EXPECT_EQ(*list.get(2), 3);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.add(&values[2]));
    EXPECT_EQ(*list.get(0), 2);
}

TEST(ModelLinkList, ManyRemovalsWithoutReadsKeepTheRest) {
    std::vector<int> values(1000);
    ORXLinkList<int> list;
    for (int i = 0; i < 1000; ++i) {
        values[static_cast<std::size_t>(i)] = i;
        list.add(&values[static_cast<std::size_t>(i)]);
    }
    for (int i = 0; i < 1000; i += 3)
        list.remove(&values[static_cast<std::size_t>(i)]);
    ASSERT_EQ(list.count(), 666);
    int expected = 1;
    for (int i = 0; i < list.count(); ++i) {
        if (expected % 3 == 0)
            ++expected;
        EXPECT_EQ(*list.get(i), expected);
        ++expected;
    }
}

TEST(ModelTypes, NamesAndInstanceOf) {
    struct Case {
        int type;
        const char* name;
    };
    const Case names[] = {{ORX_ET_OBJECT, "Object"},
                          {ORX_ET_MODEL_OBJECT, "ModelObject"},
                          {ORX_ET_DERIVED_TYPE, "DerivedType"},
                          {ORX_ET_MODEL, "Model"},
                          {ORX_ET_DIAGRAM, "Diagram"},
                          {ORX_ET_CLASS, "Class"},
                          {ORX_ET_ASSOCIATION_ROLE_NAME_MAP, "AssociationRoleNameMap"},
                          {ORX_ET_SQL_VIEW_ENTITY, "SQLViewEntity"},
                          {ORX_ET_OPERATION, "Operation"},
                          {ORX_ET_STORED_PROCEDURE, "StoredProcedure"},
                          {ORX_ET_TRIGGER, "Trigger"},
                          {ORX_ET_SCHEMA, "Schema"},
                          {ORX_ET_CATALOG, "Catalog"},
                          {31, "Object"},
                          {-1, "Object"}};
    for (const Case& c : names) {
        SCOPED_TRACE(c.type);
        EXPECT_STREQ(getElementTypeName(c.type), c.name);
    }

    ORXProjection projection;
    ORXOperation trigger(ORX_ET_TRIGGER);
    ORXForeignKey foreignKey;
    ORXDerivedType derived;
    ORXSchema schema;
    ORXDiagram diagram;
    ORXClass cls;
    struct Instance {
        const ORXObject* object;
        int type;
        bool expected;
    };
    const Instance instances[] = {
        {&projection, ORX_ET_PROJECTION, true},  {&projection, ORX_ET_PRESENTATION_ELEMENT, true},
        {&projection, ORX_ET_ELEMENT, true},     {&projection, ORX_ET_OBJECT, true},
        {&projection, ORX_ET_DIAGRAM, false},    {&trigger, ORX_ET_OPERATION, true},
        {&trigger, ORX_ET_FEATURE, true},        {&trigger, ORX_ET_STORED_PROCEDURE, false},
        {&foreignKey, ORX_ET_KEY, true},         {&foreignKey, ORX_ET_CANDIDATE_KEY, false},
        {&derived, ORX_ET_BASE_TYPE, true},      {&schema, ORX_ET_PACKAGE, true},
        {&schema, ORX_ET_DESIGN_PACKAGE, false}, {&diagram, ORX_ET_DIAGRAM, true},
        {&cls, ORX_ET_CLASSIFIER, true},         {&cls, ORX_ET_DIAGRAM, false},
        {&cls, ORX_ET_FEATURE, false},
    };
    for (const Instance& c : instances) {
        SCOPED_TRACE(std::string(getElementTypeName(c.object->getElementType())) + " as " +
                     getElementTypeName(c.type));
        EXPECT_EQ(c.object->isInstanceOf(c.type), c.expected);
    }
    EXPECT_LT(projection.getSerial(), trigger.getSerial());
}

TEST(ModelLinks, AttributeNamesAreUniqueInAClassAndFollowRenames) {
    ORXClass cls;
    ORXAttribute* id = makeAttribute(&cls, "ID");
    makeAttribute(&cls, "NAME");

    auto duplicate = std::make_unique<ORXAttribute>();
    duplicate->setName("ID");
    EXPECT_FALSE(duplicate->addAssociatedClass(&cls));
    EXPECT_EQ(duplicate->getAssociatedClass(), nullptr);
    EXPECT_FALSE(duplicate->addAssociatedClass(nullptr));
    // Names are compared exactly: another case is another name.
    ORXAttribute* lower = makeAttribute(&cls, "id");
    EXPECT_FALSE(lower->addAssociatedClass(&cls));  // lies in a class already

    // Renaming an attribute frees its old name and takes the new one.
    id->setName("KEY_ID");
    EXPECT_EQ(cls.findAttribute("ID"), nullptr);
    EXPECT_EQ(cls.findAttribute("KEY_ID"), id);
    EXPECT_TRUE(duplicate->addAssociatedClass(&cls));
    ORXAttribute* nowId = duplicate.release();  // the class owns it now
    EXPECT_EQ(cls.findAttribute("ID"), nowId);
    auto again = std::make_unique<ORXAttribute>();
    again->setName("KEY_ID");
    EXPECT_FALSE(again->addAssociatedClass(&cls));
    EXPECT_EQ(attributeNames(cls), (std::vector<std::string>{"KEY_ID", "NAME", "id", "ID"}));

    // A deleted attribute frees its name and its place.
    delete id;
    EXPECT_EQ(cls.findAttribute("KEY_ID"), nullptr);
    EXPECT_TRUE(again->addAssociatedClass(&cls));
    again.release();
    EXPECT_EQ(attributeNames(cls), (std::vector<std::string>{"NAME", "id", "ID", "KEY_ID"}));
}

TEST(ModelLinks, ClassNamesAreUniqueInADesignPackageAndFollowRenames) {
    ORXDesignPackage package;
    ORXDesignPackage other;
    ORXClass* order = makeClass("ORDER");
    ASSERT_TRUE(order->addDesignPackage(&package));
    EXPECT_FALSE(order->addDesignPackage(&package));  // lies there already
    EXPECT_FALSE(order->addDesignPackage(&other));    // lies in a package already
    EXPECT_FALSE(order->addDesignPackage(nullptr));

    auto clash = std::unique_ptr<ORXClass>(makeClass("ORDER"));
    EXPECT_FALSE(clash->addDesignPackage(&package));
    EXPECT_EQ(clash->getDesignPackage(), nullptr);
    EXPECT_EQ(package.getModelElementCount(), 1);
    // Only classes clash: an association of the same name is welcome.
    auto* association = new ORXAssociation();
    association->setName("ORDER");
    EXPECT_TRUE(association->addDesignPackage(&package));
    auto* upper = makeClass("Order");  // exact comparison
    EXPECT_TRUE(upper->addDesignPackage(&package));

    // A rename inside the package moves the class's entry in the name index.
    order->setName("ORDERS");
    EXPECT_TRUE(clash->addDesignPackage(&package));
    ORXClass* second = clash.release();
    auto renamed = std::unique_ptr<ORXClass>(makeClass("ORDERS"));
    EXPECT_FALSE(renamed->addDesignPackage(&package));

    // Removing frees the name; the removed class may go to another package.
    EXPECT_FALSE(order->removeDesignPackage(&other));
    EXPECT_TRUE(order->removeDesignPackage(&package));
    EXPECT_FALSE(order->removeDesignPackage(&package));
    EXPECT_FALSE(package.containsModelElement(order));
    EXPECT_TRUE(renamed->addDesignPackage(&package));
    renamed.release();
    EXPECT_TRUE(order->addDesignPackage(&other));
    EXPECT_TRUE(other.containsModelElement(order));
    EXPECT_TRUE(package.containsModelElement(second));
    EXPECT_FALSE(package.containsModelElement(nullptr));
    EXPECT_EQ(elementNames(package),
              (std::vector<std::string>{"ORDER", "Order", "ORDER", "ORDERS"}));

    // Deleting a class frees its name too.
    delete second;
    auto third = std::unique_ptr<ORXClass>(makeClass("ORDER"));
    EXPECT_TRUE(third->addDesignPackage(&package));
    third.release();
}

TEST(ModelLinks, ElementsReturnToTheirPlaceInTheirFirstPackage) {
    ORXDesignPackage home;
    ORXDesignPackage away;
    std::vector<ORXClass*> classes;
    for (const char* name : {"A", "B", "C", "D", "E"}) {
        classes.push_back(makeClass(name));
        ASSERT_TRUE(classes.back()->addDesignPackage(&home));
    }
    ORXClass* stranger = makeClass("X");
    ASSERT_TRUE(stranger->addDesignPackage(&away));

    // D and B visit the other package; a new element arrives meanwhile.
    ASSERT_TRUE(classes[3]->removeDesignPackage(&home));
    ASSERT_TRUE(classes[3]->addDesignPackage(&away));
    ASSERT_TRUE(classes[1]->removeDesignPackage(&home));
    ASSERT_TRUE(classes[1]->addDesignPackage(&away));
    EXPECT_EQ(elementNames(home), (std::vector<std::string>{"A", "C", "E"}));
    EXPECT_EQ(elementNames(away), (std::vector<std::string>{"X", "D", "B"}));
    ASSERT_TRUE(stranger->removeDesignPackage(&away));
    ASSERT_TRUE(stranger->addDesignPackage(&home));  // a stranger is appended
    ORXClass* late = makeClass("F");
    ASSERT_TRUE(late->addDesignPackage(&home));

    ASSERT_TRUE(classes[1]->removeDesignPackage(&away));
    ASSERT_TRUE(classes[1]->addDesignPackage(&home));
    ASSERT_TRUE(classes[3]->removeDesignPackage(&away));
    ASSERT_TRUE(classes[3]->addDesignPackage(&home));
    EXPECT_EQ(home.getModelElementCount(), 7);
    EXPECT_EQ(elementNames(home), (std::vector<std::string>{"A", "B", "C", "D", "E", "X", "F"}));
    EXPECT_EQ(away.getModelElementCount(), 0);

    // Removed and added back before any read: the same place again.
    ASSERT_TRUE(classes[0]->removeDesignPackage(&home));
    ASSERT_TRUE(classes[0]->addDesignPackage(&home));
    ASSERT_TRUE(classes[0]->removeDesignPackage(&home));
    ASSERT_TRUE(classes[0]->addDesignPackage(&home));
    EXPECT_EQ(elementNames(home), (std::vector<std::string>{"A", "B", "C", "D", "E", "X", "F"}));

    // An element deleted while waiting for its place leaves no trace.
    ASSERT_TRUE(classes[2]->removeDesignPackage(&home));
    ASSERT_TRUE(classes[2]->addDesignPackage(&home));
    delete classes[2];
    EXPECT_EQ(elementNames(home), (std::vector<std::string>{"A", "B", "D", "E", "X", "F"}));
}

TEST(ModelLinks, ForeignKeyShowsItsLastLiveRole) {
    ORXAssociation first;
    ORXAssociation second;
    auto* oldRole = new ORXAssociationRole(&first);
    auto* newRole = new ORXAssociationRole(&second);
    ORXForeignKey key;
    EXPECT_EQ(key.getAssociationRole(), nullptr);
    EXPECT_FALSE(key.addAssociationRole(nullptr));
    ASSERT_TRUE(key.addAssociationRole(oldRole));
    EXPECT_FALSE(key.addAssociationRole(oldRole));
    ASSERT_TRUE(key.addAssociationRole(newRole));
    EXPECT_EQ(key.getAssociationRole(), newRole);
    EXPECT_EQ(newRole->getForeignKey(), &key);
    EXPECT_EQ(oldRole->getForeignKey(), &key);

    delete newRole;
    EXPECT_EQ(key.getAssociationRole(), oldRole);
    EXPECT_EQ(oldRole->getForeignKey(), &key);
    EXPECT_EQ(second.getAssociationRoleCount(), 0);

    // A role moved to another key leaves the first key's stack.
    ORXForeignKey other;
    ASSERT_TRUE(other.addAssociationRole(oldRole));
    EXPECT_EQ(key.getAssociationRole(), nullptr);
    EXPECT_EQ(oldRole->getForeignKey(), &other);
}

TEST(ModelLinks, DeletingAForeignKeyClearsItsRolesAndParentKey) {
    ORXClass parent;
    ORXClass child;
    auto* primary = new ORXCandidateKey();
    ASSERT_TRUE(primary->addAssociatedClass(&parent));
    EXPECT_FALSE(primary->addPrimaryOfClass(&child));  // the key must belong to the class
    ASSERT_TRUE(primary->addPrimaryOfClass(&parent));
    EXPECT_FALSE(primary->addPrimaryOfClass(&parent));
    EXPECT_EQ(parent.getPrimaryKey(), primary);

    ORXAssociation association;
    auto* role = new ORXAssociationRole(&association);
    ASSERT_TRUE(role->addAssociatedClass(&child));
    EXPECT_FALSE(role->addAssociatedClass(&parent));
    auto* foreign = new ORXForeignKey();
    ASSERT_TRUE(foreign->addAssociatedClass(&child));
    ASSERT_TRUE(foreign->addCandidateKey(primary));
    EXPECT_FALSE(foreign->addCandidateKey(primary));
    ASSERT_TRUE(foreign->addAssociationRole(role));
    ORXGeneralization generalization;
    ASSERT_TRUE(generalization.addForeignKey(foreign));
    EXPECT_FALSE(generalization.addForeignKey(foreign));
    EXPECT_EQ(primary->getReferencingForeignKeyCount(), 1);
    EXPECT_TRUE(child.containsKey(foreign));
    EXPECT_FALSE(parent.containsKey(foreign));
    EXPECT_FALSE(child.containsKey(nullptr));

    delete foreign;
    EXPECT_EQ(role->getForeignKey(), nullptr);
    EXPECT_EQ(primary->getReferencingForeignKeyCount(), 0);
    EXPECT_EQ(generalization.getForeignKeyCount(), 0);
    EXPECT_EQ(child.getKeyCount(), 0);

    // A primary key deleted on its own leaves no primary key behind.
    auto* referencing = new ORXForeignKey();
    ASSERT_TRUE(referencing->addAssociatedClass(&child));
    ASSERT_TRUE(referencing->addCandidateKey(primary));
    delete primary;
    EXPECT_EQ(parent.getPrimaryKey(), nullptr);
    EXPECT_EQ(parent.getKeyCount(), 0);
    EXPECT_EQ(referencing->getCandidateKey(), nullptr);
}

TEST(ModelLinks, IndexesAndKeysLinkBothWays) {
    ORXClass table;
    ORXAttribute* a = makeAttribute(&table, "A");
    ORXAttribute* b = makeAttribute(&table, "B");
    auto* key = new ORXCandidateKey();
    ASSERT_TRUE(key->addAssociatedClass(&table));
    EXPECT_FALSE(key->addAssociatedClass(&table));
    ASSERT_TRUE(key->addAttribute(a));
    EXPECT_FALSE(key->addAttribute(a));
    ASSERT_TRUE(key->addAttribute(b));
    EXPECT_EQ(a->getKeyCount(), 1);

    auto* implementing = new ORXIndex();
    ASSERT_TRUE(implementing->addAssociatedClass(&table));
    ASSERT_TRUE(implementing->addKey(key));
    EXPECT_FALSE(implementing->addKey(key));
    EXPECT_EQ(key->getIndex(), implementing);
    // A second index over the key does not take the key's index over.
    auto* second = new ORXIndex();
    ASSERT_TRUE(second->addAssociatedClass(&table));
    ASSERT_TRUE(second->addKey(key));
    EXPECT_EQ(second->getKey(), key);
    EXPECT_EQ(key->getIndex(), implementing);
    key->setOrderingIndex(second);

    // Members: appended in creation order, read by position (stable).
    auto* m0 = new ORXIndexMember(implementing, b, 2, 2);
    auto* m1 = new ORXIndexMember(implementing, a, 0);
    auto* m2 = new ORXIndexMember(implementing, b, 2);
    ORXIndexMemberByPosition byPosition;
    implementing->getIndexMemberByPosition(byPosition);
    ASSERT_EQ(byPosition.getCount(), 3);
    EXPECT_EQ(byPosition.getIndexMember(0), m1);
    EXPECT_EQ(byPosition.getIndexMember(1), m0);
    EXPECT_EQ(byPosition.getIndexMember(2), m2);
    EXPECT_EQ(implementing->getIndexMember(0), m0);
    EXPECT_EQ(b->getIndexMemberCount(), 2);

    delete m0;
    EXPECT_EQ(implementing->getIndexMemberCount(), 2);
    EXPECT_EQ(b->getIndexMemberCount(), 1);

    // Deleting the ordering index clears that link only.
    delete second;
    EXPECT_EQ(key->getOrderingIndex(), nullptr);
    EXPECT_EQ(key->getIndex(), implementing);
    EXPECT_EQ(table.getIndexCount(), 1);

    // Deleting an attribute takes it out of keys and leaves members without it.
    delete b;
    EXPECT_EQ(key->getAttributeCount(), 1);
    EXPECT_EQ(m2->getAttribute(), nullptr);
    EXPECT_EQ(m1->getAttribute(), a);

    // Deleting the key clears the index's key and the other way round.
    delete key;
    EXPECT_EQ(implementing->getKey(), nullptr);
    EXPECT_EQ(a->getKeyCount(), 0);
    auto* other = new ORXCandidateKey();
    ASSERT_TRUE(other->addAssociatedClass(&table));
    ASSERT_TRUE(implementing->addKey(other));
    delete implementing;
    EXPECT_EQ(other->getIndex(), nullptr);
    EXPECT_EQ(a->getIndexMemberCount(), 0);
}

TEST(ModelLinks, NameMapsLinkTheirAttributesAndGoWithTheirKey) {
    ORXClass parent;
    ORXClass child;
    ORXAttribute* source = makeAttribute(&parent, "ID");
    ORXAttribute* destination = makeAttribute(&child, "PARENT_ID");
    auto* key = new ORXForeignKey();
    ASSERT_TRUE(key->addAssociatedClass(&child));
    auto* map = new ORXAssociationRoleNameMap(key, source, destination);
    EXPECT_TRUE(key->containsAssociationRoleNameMap(map));
    EXPECT_FALSE(key->containsAssociationRoleNameMap(nullptr));
    EXPECT_EQ(source->getSourceOfAssociationRoleNameMapCount(), 1);
    EXPECT_EQ(destination->getDestinationOfAssociationRoleNameMap(0), map);

    delete destination;
    EXPECT_EQ(map->getDestinationAttribute(), nullptr);
    EXPECT_EQ(key->getAssociationRoleNameMapCount(), 1);
    delete key;  // owns the map
    EXPECT_EQ(source->getSourceOfAssociationRoleNameMapCount(), 0);
}

TEST(ModelLinks, CopiedAttributeTakesTextsAndSettingsOnly) {
    ORXModel model;
    auto* type = new ORXDerivedType();
    model.addType(type);
    ORXClass table;
    ORXAttribute* original = makeAttribute(&table, "ID");
    original->setPhysicalName("ID_P");
    original->setComment("c");
    original->setDescription("d");
    original->setLevelCode(2);
    original->setInitialValue("0");
    original->setOptional(true);
    original->setRuleExpression("ID > 0");
    original->setType(type);
    original->addNote(new ORXNote("note"));
    original->addBusinessRule(new ORXBusinessRule(3, "CK", "x"));
    original->setExternalId("a1");

    ORXAttribute copy(*original);
    EXPECT_EQ(copy.getName().str(), "ID");
    EXPECT_EQ(copy.getPhysicalName().str(), "ID_P");
    EXPECT_EQ(copy.getComment().str(), "c");
    EXPECT_EQ(copy.getDescription().str(), "d");
    EXPECT_EQ(copy.getLevelCode(), 2);
    EXPECT_EQ(copy.getInitialValue().str(), "0");
    EXPECT_TRUE(copy.isOptional());
    EXPECT_EQ(copy.getRuleExpression().str(), "ID > 0");
    EXPECT_EQ(copy.getType(), nullptr);
    EXPECT_EQ(copy.getAssociatedClass(), nullptr);
    EXPECT_EQ(copy.getNoteCount(), 0);
    EXPECT_EQ(copy.getBusinessRuleCount(), 0);
    EXPECT_EQ(copy.getExternalId().str(), "");
    EXPECT_NE(copy.getSerial(), original->getSerial());

    ORXNote noteCopy(*original->getNote(0));
    EXPECT_EQ(noteCopy.getDescription().str(), "note");
    EXPECT_EQ(noteCopy.getOwnerElement(), nullptr);
}

TEST(ModelLinks, OwnedTypesAndTypeValues) {
    ORXClass table;
    ORXAttribute* column = makeAttribute(&table, "C");
    auto* inlineType = new ORXType();
    inlineType->addTypeValue(new ORXTypeValue("M", "Male"));
    inlineType->addTypeValue(new ORXTypeValue("F", "Female"));
    column->setOwnedType(inlineType);
    EXPECT_TRUE(column->ownsType());
    EXPECT_EQ(inlineType->getTypeOwner(), column);
    ORXTypeValueByPosition values;
    inlineType->getTypeValueByPosition(values);
    ASSERT_EQ(values.getCount(), 2);
    EXPECT_EQ(values.getTypeValue(1)->getValue().str(), "F");
    EXPECT_EQ(values.getTypeValue(1)->getName().str(), "Female");

    // Replacing an owned type deletes it; linking a model type does not own it.
    ORXModel model;
    auto* shared = new ORXDerivedType();
    ASSERT_TRUE(model.addType(shared));
    EXPECT_FALSE(model.addType(shared));
    column->setType(shared);
    EXPECT_FALSE(column->ownsType());
    EXPECT_EQ(shared->getTypeOwner(), &model);
    delete column;
    EXPECT_EQ(model.getTypeCount(), 1);
    delete shared;
    EXPECT_EQ(model.getTypeCount(), 0);
}

TEST(ModelLinks, DiagramsMembersAndPresentations) {
    ORXDesignPackage package;
    auto* diagram = new ORXDiagram();
    ASSERT_TRUE(package.addOwnedDiagram(diagram));
    EXPECT_FALSE(package.addOwnedDiagram(diagram));
    EXPECT_EQ(diagram->getOwnerPackage(), &package);
    ORXClass* table = makeClass("T");
    ASSERT_TRUE(table->addDesignPackage(&package));
    ASSERT_TRUE(table->addDiagram(diagram));
    EXPECT_FALSE(table->addDiagram(diagram));
    EXPECT_TRUE(diagram->containsModelElement(table));
    ORXNote note;
    EXPECT_FALSE(diagram->containsModelElement(&note));
    EXPECT_FALSE(diagram->containsModelElement(nullptr));

    auto* symbol = new ORXPresentationElement();
    symbol->setGeometry(10, 20, 30, 40);
    ASSERT_TRUE(symbol->addDiagram(diagram));
    EXPECT_FALSE(symbol->addDiagram(diagram));
    ASSERT_TRUE(symbol->addSubjectModelObject(table));
    EXPECT_FALSE(symbol->addSubjectModelObject(table));
    auto* projection = new ORXProjection();
    ASSERT_TRUE(projection->addDiagram(diagram));
    ASSERT_TRUE(projection->addSubjectModelObject(table));
    EXPECT_TRUE(diagram->containsPresentationElement(symbol));
    EXPECT_EQ(table->getPresentationPresentationElementCount(), 2);

    delete projection;
    EXPECT_EQ(diagram->getPresentationElementCount(), 1);
    EXPECT_EQ(table->getPresentationPresentationElement(0), symbol);

    // Deleting the subject leaves the symbol in its diagram without a subject.
    delete table;
    EXPECT_EQ(symbol->getSubjectModelObject(), nullptr);
    EXPECT_EQ(diagram->getMemberCount(), 0);
    EXPECT_EQ(package.getModelElementCount(), 0);

    // Deleting the diagram removes it from its members and its package.
    ORXClass* other = makeClass("U");
    ASSERT_TRUE(other->addDesignPackage(&package));
    ASSERT_TRUE(other->addDiagram(diagram));
    delete diagram;
    EXPECT_EQ(other->getDiagramCount(), 0);
    EXPECT_EQ(package.getDiagramCount(), 0);
}

TEST(ModelLinks, OwnersOperationsAndViews) {
    ORXDesignPackage package;
    auto* schema = new ORXSchema();
    ORXClass* table = makeClass("T");
    ASSERT_TRUE(table->addDesignPackage(&package));
    ASSERT_TRUE(table->setOwner(schema));
    EXPECT_FALSE(table->setOwner(schema));
    EXPECT_EQ(schema->getOwnedObjectCount(), 1);

    auto* trigger = new ORXOperation(ORX_ET_TRIGGER);
    ASSERT_TRUE(trigger->addAssociatedClass(table));
    EXPECT_FALSE(package.addStoredProcedure(trigger));
    auto* procedure = new ORXOperation(ORX_ET_STORED_PROCEDURE);
    ASSERT_TRUE(package.addStoredProcedure(procedure));
    EXPECT_FALSE(procedure->addAssociatedClass(table));
    EXPECT_FALSE(procedure->setLinkedElement(2, table));
    ASSERT_TRUE(procedure->setLinkedElement(0, table));
    ASSERT_TRUE(procedure->setLinkedElement(1, table));
    EXPECT_EQ(table->getLinkingOperationCount(), 1);
    ASSERT_TRUE(procedure->setLinkedElement(0, nullptr));
    EXPECT_EQ(table->getLinkingOperationCount(), 1);  // still linked by the second link

    // Deleting the schema clears the owner; deleting the table clears links.
    delete schema;
    EXPECT_EQ(table->getOwner(), nullptr);
    delete table;
    EXPECT_EQ(procedure->getLinkedElement(1), nullptr);
    EXPECT_EQ(package.getStoredProcedureCount(), 1);
    delete procedure;
    EXPECT_EQ(package.getStoredProcedureCount(), 0);
}

// Records the order of visits and leaves; skips the children of diagrams.
class Recorder : public ORXTraversalOperation {
  public:
    bool visit(ORXObject* object, void*) override {
        trace += "+" + object->getName().str();
        return !object->isInstanceOf(ORX_ET_DIAGRAM);
    }
    void leave(ORXObject* object, void*) override { trace += "-" + object->getName().str(); }
    std::string trace;
};

TEST(ModelTraversal, VisitsOwnedObjectsDepthFirstAndHonoursSkips) {
    ORXModel model;
    model.setName("M");
    auto* type = new ORXDerivedType();
    type->setName("ty");
    model.addType(type);
    auto* package = new ORXDesignPackage();
    package->setName("P");
    model.addChildPackage(package);
    ORXClass* table = makeClass("T");
    table->addDesignPackage(package);
    makeAttribute(table, "a");
    auto* key = new ORXCandidateKey();
    key->setName("k");
    key->addAssociatedClass(table);
    auto* note = new ORXNote("n");
    note->setName("n");
    table->addNote(note);
    auto* diagram = new ORXDiagram();
    diagram->setName("D");
    package->addOwnedDiagram(diagram);
    auto* symbol = new ORXPresentationElement();
    symbol->setName("s");
    symbol->addDiagram(diagram);
    auto* association = new ORXAssociation();
    association->setName("A");
    association->addDesignPackage(package);
    auto* role = new ORXAssociationRole(association);
    role->setName("r");

    Recorder recorder;
    model.depthTraversal(&recorder, nullptr);
    EXPECT_EQ(recorder.trace, "+M+ty-ty+P+T+n-n+a-a+k-k-T+A+r-r-A+D-D-P-M");

    // Setting the general pointer reaches what a skipping visitor does not.
    int marker = 0;
    ORXSetGeneralPointerOperation set(&marker);
    set.runOn(&model);
    EXPECT_EQ(symbol->getGeneralPointer(), &marker);
    EXPECT_EQ(role->getGeneralPointer(), &marker);
    ORXSetGeneralPointerOperation clear(nullptr);
    clear.runOn(&model);
    EXPECT_EQ(model.getGeneralPointer(), nullptr);
    EXPECT_EQ(symbol->getGeneralPointer(), nullptr);
}

}  // namespace
