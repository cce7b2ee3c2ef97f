// What every database source shares: the loss report and its warning lines,
// CHECK constraints placed on columns and tables, domains and their columns,
// and the widths of counter columns.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "importers/database/DatabaseImport.h"
#include "importers/database/SourceSupport.h"
#include "orx/ORXBridgeLib.h"

namespace {

using Strings = std::vector<std::string>;
using importers::CheckConstraint;

TEST(LossReport, OneLinePerKindInFirstSeenOrderWithCountAndThreeExamples) {
    importers::LossReport report;
    EXPECT_TRUE(report.empty());
    EXPECT_EQ(report.lines(), Strings());
    for (const char* name : {"a", "b", "c", "d", "e"})
        report.add("indexes left out", name);
    report.add("views unresolved", "v1");
    report.add("checks", "t.c1");
    report.add("checks", "t.c2");
    report.add("checks", "t.c3");
    EXPECT_FALSE(report.empty());
    EXPECT_EQ(report.count("indexes left out"), 5);
    EXPECT_EQ(report.count("views unresolved"), 1);
    EXPECT_EQ(report.count("never counted"), 0);
    EXPECT_EQ(report.lines(), (Strings{"warning: indexes left out: 5 (a, b, c, ...)",
                                       "warning: views unresolved: 1 (v1)",
                                       "warning: checks: 3 (t.c1, t.c2, t.c3)"}));
}

TEST(DatabaseImport, WarnsAboutTriggersOnlyWhenTheDetectedTargetHasNone) {
    struct Case {
        const char* label;
        bool targetHasTriggers;
        int triggers;
        bool chosenByDefault;
        bool warns;
    };
    const Case cases[] = {
        {"detected target without triggers", false, 2, true, true},
        {"target set by the user", false, 2, false, false},
        {"no triggers to lose", false, 0, true, false},
        {"detected target with triggers", true, 2, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        importers::DatabaseImport import;
        import.detectedTarget = "ODBC 3.0";
        import.detectedTargetHasTriggers = c.targetHasTriggers;
        import.triggerCount = c.triggers;
        import.losses.add(importers::loss::kUnresolvedView, "v");
        Strings expected;
        if (c.warns)
            expected.push_back(
                "warning: 2 triggers are not written: the target ODBC 3.0 has none; choose a "
                "target that has triggers with -t (for example -t \"PostgreSQL 7\")");
        expected.push_back("warning: views whose columns could not be resolved: 1 (v)");
        EXPECT_EQ(import.warnings(c.chosenByDefault), expected);
    }
}

TEST(DatabaseImport, CountsTheTriggersOfEveryClass) {
    ORXModel model;
    auto* package = new ORXDesignPackage();
    model.addChildPackage(package);
    auto* nested = new ORXDesignPackage();
    package->addChildPackage(nested);
    for (ORXDesignPackage* where : {package, nested}) {
        auto* cls = new ORXClass();
        cls->setName("t");
        cls->addDesignPackage(where);
        (new ORXOperation(ORX_ET_TRIGGER))->addAssociatedClass(cls);
        (new ORXOperation(ORX_ET_STORED_PROCEDURE))->addAssociatedClass(cls);
    }
    EXPECT_EQ(importers::countTriggers(model), 2);
}

TEST(SourceSupport, CounterColumnsKeepTheWidthOfTheirInteger) {
    const std::pair<int, int> cases[] = {{8, 3}, {16, 5}, {24, 8}, {32, 10}, {64, 19}, {0, 19}};
    for (const auto& [bits, digits] : cases) {
        SCOPED_TRACE(bits);
        importers::ModelType type = importers::autoincrementType(bits);
        EXPECT_EQ(type.dataType, "AUTOINCREMENT");
        EXPECT_EQ(type.length, digits);
        EXPECT_EQ(type.scale, 0);
    }
}

TEST(SourceSupport, OuterParenthesesGoOnlyWhenTheyEncloseEverything) {
    const std::pair<const char*, const char*> cases[] = {
        {"((a > 0))", "a > 0"},
        {" ( a > 0 ) ", "a > 0"},
        {"(a > 0) AND (b > 0)", "(a > 0) AND (b > 0)"},
        {"(a = ')') ", "a = ')'"},
        {"(a = '(')", "a = '('"},
        {"(\"x)\" > 0)", "\"x)\" > 0"},
        {"(a /* ) */ > 0)", "a /* ) */ > 0"},
        {"(a > 0", "(a > 0"},
        {"", ""},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(importers::stripOuterParentheses(text), expected);
    }
}

struct Table {
    ORXModel model;
    ORXDesignPackage* package = new ORXDesignPackage();
    ORXClass* cls = new ORXClass();

    Table() {
        model.addChildPackage(package);
        cls->setName("item");
        cls->addDesignPackage(package);
    }
    ORXAttribute* column(const std::string& name) {
        auto* attribute = new ORXAttribute();
        attribute->setName(name);
        attribute->setOptional(true);
        attribute->addAssociatedClass(cls);
        return attribute;
    }
};

TEST(SourceSupport, ChecksOnOneColumnGoToTheColumnAndTheRestToTheTableRule) {
    Table t;
    ORXAttribute* price = t.column("price");
    ORXAttribute* cost = t.column("cost");
    ORXAttribute* name = t.column("name");
    importers::placeChecks(t.cls, {
                                      {"ck_price", "(price > 0)", {price}},
                                      {"", "cost <= price", {cost, price}},
                                      {"", "((price < 1000))", {price}},
                                      {"ck_name", "length(name) > 0", {name}},
                                      {"ck_const", "1 = 1", {}},
                                  });
    EXPECT_EQ(price->getRuleExpression(), "(price > 0) AND (price < 1000)");
    EXPECT_EQ(name->getRuleExpression(), "length(name) > 0");
    EXPECT_EQ(cost->getRuleExpression(), "");
    ORXBusinessRule* rule = findBusinessRule(t.cls, 3);
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->getName(), "CK_item");
    EXPECT_EQ(rule->getRuleText(), "(cost <= price) AND (1 = 1)");
    EXPECT_EQ(t.cls->getBusinessRuleCount(), 1);
}

TEST(SourceSupport, OneNamedTableCheckNamesTheRuleAndNoTableCheckMakesNoRule) {
    Table named;
    ORXAttribute* a = named.column("a");
    ORXAttribute* b = named.column("b");
    importers::placeChecks(named.cls, {{"ck_ab", "a < b", {a, b}}});
    ORXBusinessRule* rule = findBusinessRule(named.cls, 3);
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->getName(), "ck_ab");
    EXPECT_EQ(rule->getRuleText(), "a < b");

    Table unnamed;
    ORXAttribute* c = unnamed.column("c");
    ORXAttribute* d = unnamed.column("d");
    importers::placeChecks(unnamed.cls, {{"", "c < d", {c, d}}});
    ASSERT_NE(findBusinessRule(unnamed.cls, 3), nullptr);
    EXPECT_EQ(findBusinessRule(unnamed.cls, 3)->getName(), "CK_item");

    Table columnOnly;
    ORXAttribute* e = columnOnly.column("e");
    importers::placeChecks(columnOnly.cls, {{"", "e > 0", {e}}});
    EXPECT_EQ(findBusinessRule(columnOnly.cls, 3), nullptr);
    EXPECT_EQ(e->getRuleExpression(), "e > 0");
}

TEST(SourceSupport, AnEnumerationIsADomainWithItsValuesInOrder) {
    ORXModel model;
    importers::Domain mood =
        importers::addDomain(&model, importers::enumDomain("mood", {"sad", "ok", "happy"}));
    ASSERT_EQ(model.getTypeCount(), 1);
    ASSERT_EQ(model.getType(0), mood.type);
    EXPECT_TRUE(mood.type->isDomain());
    EXPECT_EQ(mood.type->getName(), "mood");
    EXPECT_EQ(mood.type->getDataType(), "SQL_VARCHAR");
    EXPECT_EQ(mood.type->getLength(), 5);
    ORXTypeValueByPosition values;
    mood.type->getTypeValueByPosition(values);
    Strings texts;
    for (int i = 0; i < values.getCount(); ++i)
        texts.push_back(values.getTypeValue(i)->getValue().str() + "=" +
                        values.getTypeValue(i)->getName().str());
    EXPECT_EQ(texts, (Strings{"sad=sad", "ok=ok", "happy=happy"}));

    // An enumeration without values still has a length.
    EXPECT_EQ(importers::enumDomain("none", {}).type.length, 1);
}

TEST(SourceSupport, ADomainGivesItsColumnsItsTypeCheckAndNotNull) {
    Table t;
    importers::DomainDefinition definition;
    definition.name = "positive";
    definition.type = {"SQL_NUMERIC", 10, 2};
    definition.defaultValue = "1";
    definition.check = "((VALUE > 0) AND value <> 'VALUE')";
    definition.notNull = true;
    importers::Domain positive = importers::addDomain(&t.model, definition);
    EXPECT_EQ(positive.type->getDataType(), "SQL_NUMERIC");
    EXPECT_EQ(positive.type->getLength(), 10);
    EXPECT_EQ(positive.type->getScale(), 2);
    EXPECT_EQ(positive.type->getInitialValue(), "1");
    EXPECT_EQ(positive.type->getTypeValueCount(), 0);

    ORXAttribute* price = t.column("price");
    ORXAttribute* odd = t.column("unit \"net\" price");
    importers::useDomain(price, positive);
    importers::useDomain(odd, positive);
    EXPECT_EQ(getDomain(price), positive.type);
    EXPECT_FALSE(price->isOptional());
    EXPECT_EQ(price->getRuleExpression(), "(price > 0) AND price <> 'VALUE'");
    EXPECT_EQ(odd->getRuleExpression(),
              "(\"unit \"\"net\"\" price\" > 0) AND \"unit \"\"net\"\" price\" <> 'VALUE'");

    // The column's own checks come after the domain's.
    importers::placeChecks(t.cls, {{"", "price < 100", {price}}});
    EXPECT_EQ(price->getRuleExpression(), "((price > 0) AND price <> 'VALUE') AND (price < 100)");

    // A domain without check or NOT NULL leaves the column as it was.
    importers::DomainDefinition plain;
    plain.name = "label";
    plain.type = {"SQL_VARCHAR", 20, 0};
    ORXAttribute* label = t.column("label");
    importers::useDomain(label, importers::addDomain(&t.model, plain));
    EXPECT_TRUE(label->isOptional());
    EXPECT_EQ(label->getRuleExpression(), "");
}

}  // namespace
