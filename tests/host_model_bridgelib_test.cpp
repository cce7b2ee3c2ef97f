// The model helper functions: multiplicities, reverse roles, domains, rules
// and the computed SELECT of a view.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "orx/ORXBridgeLib.h"
#include "orx/ORXModel.h"

namespace {

TEST(ModelBridgeLib, DecodeMultiplicityAcceptsOnlyTheDocumentedForms) {
    struct Case {
        const char* text;
        bool ok;
        int lower;
        int upper;
    };
    const Case cases[] = {
        {"*", true, 0, ORX_MANY},
        {"0..*", true, 0, ORX_MANY},
        {"1..*", true, 1, ORX_MANY},
        {"1", true, 1, 1},
        {"2..5", true, 2, 5},
        {"0..1", true, 0, 1},
        {"3..3", true, 3, 3},
        {"99999999999", true, ORX_MANY, ORX_MANY},
        {"2147483647", true, ORX_MANY, ORX_MANY},
        {"2147483648", true, ORX_MANY, ORX_MANY},
        {"0..99999999999999999999", true, 0, ORX_MANY},
        {"", false, 0, ORX_MANY},
        {" 1", false, 0, ORX_MANY},
        {"1 ", false, 0, ORX_MANY},
        {"-1", false, 0, ORX_MANY},
        {"+1", false, 0, ORX_MANY},
        {"5..2", false, 0, ORX_MANY},
        {"1..", false, 0, ORX_MANY},
        {"..1", false, 0, ORX_MANY},
        {"1...2", false, 0, ORX_MANY},
        {"abc", false, 0, ORX_MANY},
        {"1..2..3", false, 0, ORX_MANY},
        {"*..1", false, 0, ORX_MANY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        // Start from values the function must overwrite in every outcome.
        int lower = -7;
        int upper = -7;
        EXPECT_EQ(decodeMultiplicity(c.text, lower, upper), c.ok);
        EXPECT_EQ(lower, c.lower);
        EXPECT_EQ(upper, c.upper);
    }
}

TEST(ModelBridgeLib, BuildMultiplicityWritesTheShortestForm) {
    struct Case {
        int lower;
        int upper;
        const char* text;
    };
    const Case cases[] = {
        {1, 1, "1"},
        {0, 0, "0"},
        {0, 1, "0..1"},
        {2, 5, "2..5"},
        {0, ORX_MANY, "0..*"},
        {1, ORX_MANY, "1..*"},
        {0, 2147483645, "0..*"},
        {0, 2147483644, "0..2147483644"},
        {ORX_MANY, ORX_MANY, "2147483647..*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.lower) + ", " + std::to_string(c.upper));
        EXPECT_EQ(buildMultiplicity(c.lower, c.upper).str(), c.text);
    }
}

TEST(ModelBridgeLib, BuiltMultiplicitiesDecodeToTheirBounds) {
    const int bounds[][2] = {{0, 1}, {1, 1}, {0, ORX_MANY}, {1, ORX_MANY}, {7, 12}};
    for (const auto& b : bounds) {
        SCOPED_TRACE(std::to_string(b[0]) + ", " + std::to_string(b[1]));
        int lower = 0;
        int upper = 0;
        ASSERT_TRUE(decodeMultiplicity(buildMultiplicity(b[0], b[1]), lower, upper));
        EXPECT_EQ(lower, b[0]);
        EXPECT_EQ(upper, b[1]);
    }
}

TEST(ModelBridgeLib, FindReverseRoleOnlyForBinaryAssociations) {
    ORXAssociation binary;
    auto* first = new ORXAssociationRole(&binary);
    auto* second = new ORXAssociationRole(&binary);
    EXPECT_EQ(findReverseRole(first), second);
    EXPECT_EQ(findReverseRole(second), first);
    EXPECT_EQ(findReverseRole(nullptr), nullptr);

    ORXAssociation ternary;
    auto* a = new ORXAssociationRole(&ternary);
    new ORXAssociationRole(&ternary);
    new ORXAssociationRole(&ternary);
    EXPECT_EQ(findReverseRole(a), nullptr);

    ORXAssociation single;
    auto* alone = new ORXAssociationRole(&single);
    EXPECT_EQ(findReverseRole(alone), nullptr);

    // A role without an association has no reverse either.
    ORXAssociationRole orphan(nullptr);
    EXPECT_EQ(findReverseRole(&orphan), nullptr);

    // Deleting one role of a binary association leaves the other alone.
    delete second;
    EXPECT_EQ(binary.getAssociationRoleCount(), 1);
    EXPECT_EQ(findReverseRole(first), nullptr);
}

TEST(ModelBridgeLib, PhysicalNameFallsBackToName) {
    ORXClass named;
    named.setName("Order");
    EXPECT_EQ(getPhysicalName(&named).str(), "Order");
    named.setPhysicalName("ORDERS");
    EXPECT_EQ(getPhysicalName(&named).str(), "ORDERS");
    ORXProjection projection;  // not an element: only its name counts
    projection.setName("P");
    EXPECT_EQ(getPhysicalName(&projection).str(), "P");
    EXPECT_EQ(getPhysicalName(nullptr).str(), "");
}

TEST(ModelBridgeLib, DomainIsTheDerivedTypeOfAnAttribute) {
    ORXModel model;
    auto* domain = new ORXDerivedType();
    auto* base = new ORXType();
    ASSERT_TRUE(model.addType(domain));
    ASSERT_TRUE(model.addType(base));

    ORXAttribute typed;
    typed.setType(domain);
    EXPECT_EQ(getDomain(&typed), domain);
    // A derived type counts even when it is not flagged as a domain: the
    // writers decide on the flag.
    domain->setDomain(false);
    EXPECT_EQ(getDomain(&typed), domain);

    ORXAttribute plain;
    plain.setType(base);
    EXPECT_EQ(getDomain(&plain), nullptr);
    ORXAttribute untyped;
    EXPECT_EQ(getDomain(&untyped), nullptr);
    ORXSQLViewAttribute column;
    EXPECT_EQ(getDomain(&column), nullptr);
    EXPECT_EQ(getDomain(nullptr), nullptr);
}

TEST(ModelBridgeLib, FindBusinessRuleTakesTheFirstOfTheType) {
    ORXClass table;
    auto* other = new ORXBusinessRule(1, "R1", "a > 0");
    auto* check = new ORXBusinessRule(3, "CK1", "b > 0");
    auto* later = new ORXBusinessRule(3, "CK2", "c > 0");
    ASSERT_TRUE(table.addBusinessRule(other));
    ASSERT_TRUE(table.addBusinessRule(check));
    ASSERT_TRUE(table.addBusinessRule(later));
    EXPECT_FALSE(table.addBusinessRule(check));
    EXPECT_EQ(findBusinessRule(&table, 3), check);
    EXPECT_EQ(findBusinessRule(&table, 1), other);
    EXPECT_EQ(findBusinessRule(&table, 2), nullptr);
    EXPECT_EQ(findBusinessRule(nullptr, 3), nullptr);
    ORXNote note;
    EXPECT_EQ(findBusinessRule(&note, 3), nullptr);

    delete check;  // a deleted rule leaves its owner's list
    EXPECT_EQ(findBusinessRule(&table, 3), later);
    EXPECT_EQ(table.getBusinessRuleCount(), 2);
}

// Two tables and a view over them; the view's columns are added by the tests.
struct ViewFixture {
    ORXClass orders;
    ORXClass customers;
    ORXAttribute* orderId = new ORXAttribute();
    ORXAttribute* orderCustomer = new ORXAttribute();
    ORXAttribute* customerName = new ORXAttribute();
    ORXSQLViewEntity view;

    ViewFixture() {
        orders.setName("Orders");
        orders.setPhysicalName("ORDERS");
        customers.setName("CUSTOMERS");
        orderId->setName("ID");
        orderCustomer->setName("Customer");
        orderCustomer->setPhysicalName("CUSTOMER_ID");
        customerName->setName("NAME");
        orderId->addAssociatedClass(&orders);
        orderCustomer->addAssociatedClass(&orders);
        customerName->addAssociatedClass(&customers);
        view.setName("V");
    }
    ORXSQLViewAttribute* column(const char* name, ORXFeature* source) {
        auto* c = new ORXSQLViewAttribute();
        c->setName(name);
        if (source)
            c->setSourceFeature(source);
        c->addAssociatedView(&view);
        return c;
    }
};

TEST(ModelBridgeLib, ComputedSelectListsSourcesAndTablesInOrderOfUse) {
    ViewFixture f;
    f.column("NAME", f.customerName);
    f.column("ID", f.orderId);
    f.column("LOOSE", nullptr);
    f.column("CUST", f.orderCustomer);
    EXPECT_EQ(
        computeSqlViewSelectStatement(&f.view).str(),
        "SELECT CUSTOMERS.NAME, ORDERS.ID, ORDERS.CUSTOMER_ID AS CUST FROM CUSTOMERS, ORDERS");
}

TEST(ModelBridgeLib, ComputedSelectQualifiesViewColumnSourcesByTheirView) {
    ViewFixture f;
    ORXSQLViewAttribute* inner = f.column("ID", f.orderId);
    ORXSQLViewEntity outer;
    outer.setName("OUTER");
    auto* derived = new ORXSQLViewAttribute();
    derived->setName("ORDER_NO");
    ASSERT_TRUE(derived->setSourceFeature(inner));
    ASSERT_TRUE(derived->addAssociatedView(&outer));
    EXPECT_EQ(computeSqlViewSelectStatement(&outer).str(), "SELECT V.ID AS ORDER_NO FROM V");
    EXPECT_EQ(inner->getDerivedViewAttributeCount(), 1);

    // Deleting the source leaves the derived column without one.
    delete inner;
    EXPECT_EQ(derived->getSourceFeature(), nullptr);
    EXPECT_EQ(computeSqlViewSelectStatement(&outer).str(), "");
}

TEST(ModelBridgeLib, ComputedSelectIsEmptyWithoutSources) {
    ViewFixture f;
    EXPECT_EQ(computeSqlViewSelectStatement(&f.view).str(), "");
    f.column("A", nullptr);
    f.column("B", nullptr);
    EXPECT_EQ(computeSqlViewSelectStatement(&f.view).str(), "");
    EXPECT_EQ(computeSqlViewSelectStatement(nullptr).str(), "");
}

}  // namespace
