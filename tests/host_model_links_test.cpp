// The repository model: what its linking operations refuse, elements going
// back to their place, the foreign key's role stack, traversal, and the
// helper functions the bridge uses on it.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "orx/ORXBridgeLib.h"
#include "orx/ORXModel.h"

namespace {

template <class T>
T* named(T* object, const char* name) {
    object->setName(name);
    return object;
}

ORXAttribute* makeAttribute(ORXClass* cls, const char* name) {
    auto* attribute = named(new ORXAttribute(), name);
    EXPECT_TRUE(attribute->addAssociatedClass(cls)) << name;
    return attribute;
}

std::string elementNames(const ORXDesignPackage& package) {
    std::string out;
    for (int i = 0; i < package.getModelElementCount(); ++i)
        out += package.getModelElement(i)->getName().str() + " ";
    return out;
}

// A link list against a plain vector through the same operations, short and
// long enough to keep an index, with enough removals to be compacted. Items
// of one byte cannot stand alone in the list's word (their addresses may be
// odd); aligned ones do while the list holds one item.
template <class Item>
void checkLinkListAgainstVector() {
    std::vector<Item> pool(120);
    ORXLinkList<Item> list;
    std::vector<Item*> expected;
    auto check = [&](const std::string& step) {
        SCOPED_TRACE(step);
        ASSERT_EQ(list.count(), static_cast<int>(expected.size()));
        for (std::size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(list.get(static_cast<int>(i)), expected[i]) << "position " << i;
        EXPECT_EQ(list.items(), expected);
        for (Item& item : pool) {
            const bool held = std::find(expected.begin(), expected.end(), &item) != expected.end();
            ASSERT_EQ(list.contains(&item), held) << "item " << (&item - pool.data());
        }
    };
    check("empty");
    EXPECT_FALSE(list.remove(&pool[0]));
    EXPECT_FALSE(list.add(nullptr));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(list.add(&pool[i]));
        expected.push_back(&pool[i]);
    }
    EXPECT_FALSE(list.add(&pool[1]));  // already there
    check("short");
    EXPECT_TRUE(list.insertAt(1, &pool[3]));
    expected.insert(expected.begin() + 1, &pool[3]);
    EXPECT_FALSE(list.insertAt(9, &pool[4]));  // past the end
    check("insert into a short list");
    for (int i = 4; i < 100; ++i) {
        EXPECT_TRUE(list.add(&pool[i]));
        expected.push_back(&pool[i]);
    }
    check("long");
    // Every second item goes: more holes than compaction tolerates.
    for (int i = 0; i < 100; i += 2) {
        EXPECT_TRUE(list.remove(&pool[i]));
        expected.erase(std::find(expected.begin(), expected.end(), &pool[i]));
    }
    EXPECT_FALSE(list.remove(&pool[0]));
    check("after removals");
    EXPECT_TRUE(list.insertAt(0, &pool[100]));
    expected.insert(expected.begin(), &pool[100]);
    EXPECT_TRUE(list.insertAt(list.count(), &pool[0]));
    expected.push_back(&pool[0]);
    EXPECT_TRUE(list.insertAt(10, &pool[101]));
    expected.insert(expected.begin() + 10, &pool[101]);
    check("inserts into a long list");
    list.clear();
    expected.clear();
    check("cleared");
    EXPECT_TRUE(list.add(&pool[5]));
    expected.push_back(&pool[5]);
    check("reused");
    // One item alone, then a second before and after it, then back to one.
    list.clear();
    expected.clear();
    EXPECT_TRUE(list.insertAt(0, &pool[7]));
    expected.push_back(&pool[7]);
    check("one item inserted");
    EXPECT_FALSE(list.insertAt(2, &pool[8]));
    EXPECT_TRUE(list.insertAt(0, &pool[8]));
    expected.insert(expected.begin(), &pool[8]);
    check("inserted before the lone item");
    EXPECT_TRUE(list.remove(&pool[8]));
    expected.erase(expected.begin());
    check("back to one");
    list.clear();
    expected.clear();
    EXPECT_TRUE(list.add(&pool[9]));
    EXPECT_FALSE(list.remove(&pool[10]));
    EXPECT_TRUE(list.remove(&pool[9]));
    check("the lone item removed");
    EXPECT_TRUE(list.add(&pool[9]));
    EXPECT_TRUE(list.insertAt(1, &pool[10]));
    expected = {&pool[9], &pool[10]};
    check("inserted after the lone item");
}

TEST(ModelLinks, LinkListKeepsOrderThroughAddsRemovalsAndInserts) {
    struct ByteItem {};
    struct alignas(8) AlignedItem {};
    {
        SCOPED_TRACE("one-byte items");
        checkLinkListAgainstVector<ByteItem>();
    }
    {
        SCOPED_TRACE("aligned items");
        checkLinkListAgainstVector<AlignedItem>();
    }
}

TEST(ModelLinks, AttributeNamesAreUniqueInAClassAndFollowRenames) {
    ORXClass cls;
    ORXAttribute* id = makeAttribute(&cls, "ID");
    auto duplicate = std::unique_ptr<ORXAttribute>(named(new ORXAttribute(), "ID"));
    EXPECT_FALSE(duplicate->addAssociatedClass(&cls));
    EXPECT_EQ(duplicate->getAssociatedClass(), nullptr);

    // A rename frees the old name and takes the new one; so does a deletion.
    id->setName("KEY_ID");
    EXPECT_TRUE(duplicate->addAssociatedClass(&cls));
    ORXAttribute* nowId = duplicate.release();
    EXPECT_EQ(cls.findAttribute("ID"), nowId);
    auto again = std::unique_ptr<ORXAttribute>(named(new ORXAttribute(), "KEY_ID"));
    EXPECT_FALSE(again->addAssociatedClass(&cls));
    delete id;
    EXPECT_TRUE(again->addAssociatedClass(&cls));
    EXPECT_EQ(cls.getAttribute(1), again.release());

    // Unnamed attributes, and unnamed classes in a package, never clash.
    EXPECT_TRUE((new ORXAttribute())->addAssociatedClass(&cls));
    EXPECT_TRUE((new ORXAttribute())->addAssociatedClass(&cls));
    EXPECT_EQ(cls.getAttributeCount(), 4);
    ORXDesignPackage package;
    EXPECT_TRUE((new ORXClass())->addDesignPackage(&package));
    EXPECT_TRUE((new ORXClass())->addDesignPackage(&package));
    EXPECT_EQ(package.getModelElementCount(), 2);
}

TEST(ModelLinks, ClassNamesAreUniqueInADesignPackageAndFollowRenames) {
    ORXDesignPackage package;
    ORXDesignPackage other;
    ORXClass* order = named(new ORXClass(), "ORDER");
    ASSERT_TRUE(order->addDesignPackage(&package));
    EXPECT_FALSE(order->addDesignPackage(&other));  // lies in a package already
    auto clash = std::unique_ptr<ORXClass>(named(new ORXClass(), "ORDER"));
    EXPECT_FALSE(clash->addDesignPackage(&package));
    EXPECT_EQ(clash->getDesignPackage(), nullptr);
    // Only classes clash: an association of the same name is welcome.
    EXPECT_TRUE(named(new ORXAssociation(), "ORDER")->addDesignPackage(&package));

    order->setName("ORDERS");
    EXPECT_TRUE(clash->addDesignPackage(&package));
    ORXClass* second = clash.release();
    auto renamed = std::unique_ptr<ORXClass>(named(new ORXClass(), "ORDERS"));
    EXPECT_FALSE(renamed->addDesignPackage(&package));

    // Removing or deleting a class frees its name.
    ASSERT_TRUE(order->removeDesignPackage(&package));
    EXPECT_TRUE(renamed->addDesignPackage(&package));
    renamed.release();
    EXPECT_TRUE(order->addDesignPackage(&other));
    delete second;
    EXPECT_TRUE(named(new ORXClass(), "ORDER")->addDesignPackage(&package));
    EXPECT_EQ(elementNames(package), "ORDER ORDERS ORDER ");
}

TEST(ModelLinks, ElementsReturnToTheirPlaceInTheirFirstPackage) {
    ORXDesignPackage home;
    ORXDesignPackage away;
    std::vector<ORXClass*> classes;
    for (const char* name : {"A", "B", "C", "D", "E"}) {
        classes.push_back(named(new ORXClass(), name));
        ASSERT_TRUE(classes.back()->addDesignPackage(&home));
    }
    auto move = [](ORXClass* cls, ORXDesignPackage* to) {
        ASSERT_TRUE(cls->removeDesignPackage(cls->getDesignPackage()));
        ASSERT_TRUE(cls->addDesignPackage(to));
    };
    // D and B visit the other package; a stranger and a new element arrive.
    move(classes[3], &away);
    move(classes[1], &away);
    EXPECT_EQ(elementNames(home), "A C E ");
    EXPECT_EQ(elementNames(away), "D B ");
    ASSERT_TRUE(named(new ORXClass(), "X")->addDesignPackage(&home));
    move(classes[1], &home);
    move(classes[3], &home);
    EXPECT_EQ(elementNames(home), "A B C D E X ");
    EXPECT_EQ(away.getModelElementCount(), 0);

    // Removed and added back twice before any read: the same place again.
    move(classes[0], &home);
    move(classes[0], &home);
    EXPECT_EQ(elementNames(home), "A B C D E X ");
    // An element deleted while waiting for its place leaves no trace.
    move(classes[2], &home);
    delete classes[2];
    EXPECT_EQ(elementNames(home), "A B D E X ");
}

TEST(ModelLinks, ForeignKeyShowsItsLastLiveRole) {
    ORXAssociation first;
    ORXAssociation second;
    auto* oldRole = new ORXAssociationRole(&first);
    auto* newRole = new ORXAssociationRole(&second);
    ORXForeignKey key;
    ASSERT_TRUE(key.addAssociationRole(oldRole));
    EXPECT_FALSE(key.addAssociationRole(oldRole));
    ASSERT_TRUE(key.addAssociationRole(newRole));
    EXPECT_EQ(key.getAssociationRole(), newRole);
    EXPECT_EQ(oldRole->getForeignKey(), &key);

    delete newRole;
    EXPECT_EQ(key.getAssociationRole(), oldRole);
    // A role taken by another key leaves the first key's stack.
    ORXForeignKey other;
    ASSERT_TRUE(other.addAssociationRole(oldRole));
    EXPECT_EQ(key.getAssociationRole(), nullptr);
    EXPECT_EQ(oldRole->getForeignKey(), &other);
}

// Records visits and leaves; does not enter diagrams.
class Recorder : public ORXTraversalOperation {
  public:
    bool visit(ORXObject* object, void*) override {
        trace += "+" + object->getName().str();
        return !object->isInstanceOf(ORX_ET_DIAGRAM);
    }
    void leave(ORXObject* object, void*) override { trace += "-" + object->getName().str(); }
    std::string trace;
};

// isInstanceOf follows the classes: callers cast on its answer.
TEST(ModelTypes, InstanceOfFollowsTheClassHierarchy) {
    ORXProjection projection;
    ORXClass table;
    ORXOperation trigger(ORX_ET_TRIGGER);
    ORXDesignPackage package;
    ORXNote note;
    ORXDerivedType domain;
    const struct {
        const ORXObject* object;
        int type;
        bool expected;
    } cases[] = {
        {&projection, ORX_ET_PRESENTATION_ELEMENT, true},
        {&projection, ORX_ET_ELEMENT, false},
        {&table, ORX_ET_CLASSIFIER, true},
        {&table, ORX_ET_MODEL_OBJECT, true},
        {&table, ORX_ET_FEATURE, false},
        {&trigger, ORX_ET_FEATURE, true},
        {&trigger, ORX_ET_STORED_PROCEDURE, false},
        {&package, ORX_ET_MODEL_OBJECT, true},
        {&package, ORX_ET_DIAGRAM, false},
        {&note, ORX_ET_ELEMENT, true},
        {&note, ORX_ET_MODEL_OBJECT, false},
        {&domain, ORX_ET_BASE_TYPE, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(getElementTypeName(c.object->getElementType())) + " as " +
                     getElementTypeName(c.type));
        EXPECT_EQ(c.object->isInstanceOf(c.type), c.expected);
    }
    EXPECT_STREQ(getElementTypeName(ORX_ET_CLASS), "Class");
    EXPECT_STREQ(getElementTypeName(1000), "Object");
}

TEST(ModelTraversal, VisitsOwnedObjectsDepthFirstAndHonoursSkips) {
    ORXModel model;
    model.setName("M");
    model.addType(named(new ORXDerivedType(), "ty"));
    auto* package = named(new ORXDesignPackage(), "P");
    model.addChildPackage(package);
    ORXClass* table = named(new ORXClass(), "T");
    table->addDesignPackage(package);
    makeAttribute(table, "a");
    named(new ORXCandidateKey(), "k")->addAssociatedClass(table);
    table->addNote(named(new ORXNote("n"), "n"));
    auto* diagram = named(new ORXDiagram(), "D");
    package->addOwnedDiagram(diagram);
    auto* symbol = named(new ORXPresentationElement(), "s");
    symbol->addDiagram(diagram);
    auto* association = named(new ORXAssociation(), "A");
    association->addDesignPackage(package);
    named(new ORXAssociationRole(association), "r");

    Recorder recorder;
    model.depthTraversal(&recorder, nullptr);
    EXPECT_EQ(recorder.trace, "+M+ty-ty+P+T+n-n+a-a+k-k-T+A+r-r-A+D-D-P-M");

    // Setting the general pointer reaches what a skipping visitor does not.
    int marker = 0;
    ORXSetGeneralPointerOperation(&marker).runOn(&model);
    EXPECT_EQ(symbol->getGeneralPointer(), &marker);
    ORXSetGeneralPointerOperation(nullptr).runOn(&model);
    EXPECT_EQ(symbol->getGeneralPointer(), nullptr);
}

TEST(ModelBridgeLib, MultiplicitiesDecodeAndBuild) {
    // What a text decodes to, written "LOWER..UPPER" ("*" for many), after
    // "refused " when it is refused (the bounds are then 0 and many).
    const char* decoded[][2] = {
        {"*", "0..*"},           {"0..*", "0..*"},
        {"1", "1..1"},           {"2..5", "2..5"},
        {"1..*", "1..*"},        {"99999999999", "*..*"},
        {"", "refused 0..*"},    {" 1", "refused 0..*"},
        {"-1", "refused 0..*"},  {"5..2", "refused 0..*"},
        {"1..", "refused 0..*"}, {"1..2..3", "refused 0..*"},
        {"abc", "refused 0..*"}, {"*..1", "*..1"},
    };
    auto bound = [](int value) {
        return value == ORX_MANY ? std::string("*") : std::to_string(value);
    };
    for (const auto& c : decoded) {
        int lower = -7;  // overwritten in every outcome
        int upper = -7;
        bool ok = decodeMultiplicity(c[0], lower, upper);
        EXPECT_EQ((ok ? "" : "refused ") + bound(lower) + ".." + bound(upper), c[1]) << c[0];
    }
    const std::pair<std::pair<int, int>, const char*> built[] = {
        {{1, 1}, "1"},           {{0, 1}, "0..1"},          {{2, 5}, "2..5"},
        {{1, ORX_MANY}, "1..*"}, {{0, 2147483645}, "0..*"}, {{0, 2147483644}, "0..2147483644"}};
    for (const auto& [bounds, text] : built)
        EXPECT_EQ(buildMultiplicity(bounds.first, bounds.second).str(), text);
}

TEST(ModelBridgeLib, HelpersFindRolesDomainsRulesAndViewSources) {
    ORXAssociation binary;
    auto* first = named(new ORXAssociationRole(&binary), "first");
    auto* second = named(new ORXAssociationRole(&binary), "second");
    ORXAssociation ternary;
    for (int i = 0; i < 3; ++i)
        new ORXAssociationRole(&ternary);
    ORXAssociationRole orphan(nullptr);

    ORXModel model;
    auto* domain = named(new ORXDerivedType(), "domain");
    auto* base = new ORXType();
    model.addType(domain);
    model.addType(base);
    domain->setDomain(false);  // the writers look at the flag, not getDomain
    ORXAttribute typed;
    typed.setType(domain);
    ORXAttribute plain;
    plain.setType(base);
    ORXSQLViewAttribute viewColumn;

    ORXClass orders;
    orders.setPhysicalName("ORDERS");
    orders.addBusinessRule(new ORXBusinessRule(1, "R1", "a > 0"));
    orders.addBusinessRule(new ORXBusinessRule(3, "CK1", "b > 0"));
    orders.addBusinessRule(new ORXBusinessRule(3, "CK2", "c > 0"));

    // A view over two tables, a view over that view and one without sources.
    ORXClass customers;
    customers.setName("CUSTOMERS");
    ORXSQLViewEntity view;
    ORXSQLViewEntity outer;
    ORXSQLViewEntity empty;
    view.setName("V");
    auto column = [](ORXSQLViewEntity* in, const char* name, ORXFeature* source) {
        auto* c = named(new ORXSQLViewAttribute(), name);
        if (source)
            c->setSourceFeature(source);
        c->addAssociatedView(in);
        return c;
    };
    column(&view, "NAME", makeAttribute(&customers, "NAME"));
    column(&outer, "ORDER_NO", column(&view, "ID", makeAttribute(&orders, "ID")));
    column(&view, "LOOSE", nullptr);
    ORXAttribute* customer = makeAttribute(&orders, "Customer");
    customer->setPhysicalName("CUSTOMER_ID");
    column(&view, "CUST", customer);
    column(&empty, "A", nullptr);

    auto nameOf = [](const ORXObject* o) { return o ? o->getName().str() : std::string("-"); };
    struct Case {
        const char* what;
        std::string got;
        const char* want;
    } cases[] = {
        {"reverse of the first role", nameOf(findReverseRole(first)), "second"},
        {"reverse of the second role", nameOf(findReverseRole(second)), "first"},
        {"reverse in a ternary", nameOf(findReverseRole(ternary.getAssociationRole(0))), "-"},
        {"reverse without association", nameOf(findReverseRole(&orphan)), "-"},
        {"domain of a derived type", nameOf(getDomain(&typed)), "domain"},
        {"domain of a base type", nameOf(getDomain(&plain)), "-"},
        {"domain of a view column", nameOf(getDomain(&viewColumn)), "-"},
        {"first check rule", nameOf(findBusinessRule(&orders, 3)), "CK1"},
        {"first rule of type 1", nameOf(findBusinessRule(&orders, 1)), "R1"},
        {"absent rule type", nameOf(findBusinessRule(&orders, 2)), "-"},
        {"rule of nothing", nameOf(findBusinessRule(nullptr, 3)), "-"},
        {"select over tables", computeSqlViewSelectStatement(&view).str(),
         "SELECT CUSTOMERS.NAME, ORDERS.ID, ORDERS.CUSTOMER_ID AS CUST FROM CUSTOMERS, ORDERS"},
        {"select over a view", computeSqlViewSelectStatement(&outer).str(),
         "SELECT V.ID AS ORDER_NO FROM V"},
        {"select without sources", computeSqlViewSelectStatement(&empty).str(), ""},
        {"select of nothing", computeSqlViewSelectStatement(nullptr).str(), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.want) << c.what;
}

}  // namespace
