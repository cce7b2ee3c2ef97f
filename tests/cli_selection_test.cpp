// --include and --exclude: the glob patterns, their effect on a model, and
// what the export makes of a selection.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "cli/Selection.h"
#include "importers/modelfile/JsonModel.h"
#include "support/ProgramSupport.h"
#include "support/TestSupport.h"

namespace {

using pdmtest::readFile;
using pdmtest::runExport;
using pdmtest::TempDir;
using pdmtest::writeFile;

TEST(CliSelection, GlobPatternsMatchWholeNames) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*", "anything.at_all", true},
        {"cust*", "customer", true},
        {"cust*", "Customer", false},
        {"(?i)CUST*", "customer", true},
        {"(?i)cust*", "CUSTOMER", true},
        {"customer", "customers", false},
        {"*omer", "customer", true},
        {"public.*", "public.orders", true},
        {"public.*", "audit.orders", false},
        {"*.orders", "audit.orders", true},
        {"?at", "cat", true},
        {"?at", "at", false},
        {"?", "\xC3\xA9", true},  // one character of two bytes
        {"[bc]at", "bat", true},
        {"[a-c]at", "cat", true},
        {"[a-c]at", "rat", false},
        {"[!a-c]at", "rat", true},
        {"[^a-c]at", "bat", false},
        {"(?i)[A-C]AT", "bat", true},
        {"a\\*", "a*", true},
        {"a\\*", "ab", false},
        {"[", "[", true},
        {"a*b*c", "aXXbYYc", true},
        {"a*b*c", "aXXbYY", false},
        {"", "", true},
        {"(?i)", "x", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " ~ " + c.name);
        EXPECT_EQ(cli::NamePattern(c.pattern).matches(c.name), c.matches);
    }
}

// Two schemas; tables named in mixed case with upper-case physical names, a
// reference from ORDERS to CUSTOMER and a view over ORDERS.
const char* const kShop = R"({"format": "orx-model", "version": 1, "packages": [
  {"kind": "catalog", "name": "SHOP", "packages": [
    {"kind": "schema", "id": "app", "name": "app"}, {"kind": "schema", "id": "rpt", "name": "rpt"}]},
  {"kind": "design", "name": "Main", "elements": [
    {"kind": "class", "id": "customer", "name": "Customer", "physicalName": "CUSTOMER", "owner": "app",
     "attributes": [{"id": "customer.id", "name": "id", "type": {"dataType": "SQL_INTEGER"}}],
     "keys": [{"id": "customer.pk", "attributes": ["customer.id"]}], "primaryKey": "customer.pk"},
    {"kind": "class", "id": "orders", "name": "Orders", "physicalName": "ORDERS", "owner": "app",
     "attributes": [{"id": "orders.id", "name": "id", "type": {"dataType": "SQL_INTEGER"}},
                    {"id": "orders.customer", "name": "customer", "type": {"dataType": "SQL_INTEGER"}}],
     "keys": [{"kind": "foreign", "id": "orders.fk", "attributes": ["orders.customer"],
               "references": "customer.pk",
               "nameMaps": [{"source": "customer.id", "destination": "orders.customer"}]}]},
    {"kind": "class", "id": "audit", "name": "Audit", "owner": "rpt",
     "attributes": [{"name": "at", "type": {"dataType": "SQL_TIMESTAMP"}}]},
    {"kind": "association", "id": "places", "name": "places", "roles": [
      {"class": "customer", "isSource": true}, {"class": "orders", "foreignKey": "orders.fk"}]},
    {"kind": "view", "id": "v", "name": "Big orders", "physicalName": "V_BIG", "owner": "app",
     "statement": "SELECT id FROM ORDERS",
     "columns": [{"name": "id", "source": "orders.id"}]}],
   "diagrams": [{"name": "All", "symbols": [
     {"subject": "customer", "x": 100, "y": 100, "width": 80, "height": 40},
     {"subject": "orders", "x": 300, "y": 100, "width": 80, "height": 40},
     {"subject": "places", "x": 200, "y": 100},
     {"subject": "v", "x": 300, "y": 300, "width": 80, "height": 40}]}]}]})";

// The names of the tables still exported and of the views still in the model.
std::set<std::string> keptNames(ORXModel& model) {
    std::set<std::string> names;
    for (ORXDesignPackage* package : cli::designPackagesOf(model)) {
        for (int i = 0; i < package->getModelElementCount(); ++i) {
            ORXModelObject* element = package->getModelElement(i);
            if ((element->getElementType() == ORX_ET_CLASS && element->getLevelCode() != 1) ||
                element->getElementType() == ORX_ET_SQL_VIEW_ENTITY)
                names.insert(element->getName().str());
        }
    }
    return names;
}

TEST(CliSelection, PatternsChooseTablesAndViewsByNameWithOrWithoutSchema) {
    struct Case {
        const char* label;
        std::vector<std::string> includes, excludes;
        std::set<std::string> kept;
        std::vector<std::string> warnings;
    };
    const std::set<std::string> all = {"Customer", "Orders", "Audit", "Big orders"};
    const Case cases[] = {
        {"no pattern", {}, {}, all, {}},
        {"bare name", {"Customer"}, {}, {"Customer"}, {}},
        {"physical name", {"ORDERS"}, {}, {"Orders"}, {}},
        {"schema and name", {"app.Customer"}, {}, {"Customer"}, {}},
        {"schema and physical name", {"app.V_BIG"}, {}, {"Big orders"}, {}},
        {"whole schema", {"app.*"}, {}, {"Customer", "Orders", "Big orders"}, {}},
        {"case differs",
         {"customer", "Audit"},
         {},
         {"Audit"},
         {"--include 'customer' matches no table or view"}},
        {"case ignored", {"(?i)customer"}, {}, {"Customer"}, {}},
        {"exclude only", {}, {"rpt.*"}, {"Customer", "Orders", "Big orders"}, {}},
        {"include plus exclude", {"app.*"}, {"*ORDERS", "V_*"}, {"Customer"}, {}},
        {"unmatched exclude",
         {},
         {"nothing*"},
         all,
         {"--exclude 'nothing*' matches no table or view"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::unique_ptr<ORXModel> model = importers::parseJsonModel(kShop, "shop.json");
        cli::SelectionOutcome outcome = cli::applySelection(*model, c.includes, c.excludes);
        EXPECT_EQ(keptNames(*model), c.kept);
        EXPECT_EQ(outcome.warnings, c.warnings);
        EXPECT_FALSE(outcome.leavesNothing);
        if (!c.includes.empty() || !c.excludes.empty()) {
            EXPECT_EQ(outcome.keptObjects, static_cast<int>(c.kept.size()));
        }
    }
}

TEST(CliSelection, AnExcludeWinsOverAnInclude) {
    std::unique_ptr<ORXModel> model = importers::parseJsonModel(kShop, "shop.json");
    cli::SelectionOutcome outcome =
        cli::applySelection(*model, {"Orders", "Customer"}, {"(?i)orders"});
    EXPECT_EQ(keptNames(*model), std::set<std::string>{"Customer"});
    EXPECT_TRUE(outcome.warnings.empty());
}

TEST(CliSelection, AnExcludedTableAndItsColumnsAreNeverExportedAndAViewLeavesTheModel) {
    std::unique_ptr<ORXModel> model = importers::parseJsonModel(kShop, "shop.json");
    cli::applySelection(*model, {}, {"ORDERS", "Big orders"});
    ORXDesignPackage* package = cli::designPackagesOf(*model).at(0);
    ORXClass* orders = nullptr;
    int views = 0;
    for (int i = 0; i < package->getModelElementCount(); ++i) {
        ORXModelObject* element = package->getModelElement(i);
        if (element->getName() == "Orders")
            orders = static_cast<ORXClass*>(element);
        views += element->getElementType() == ORX_ET_SQL_VIEW_ENTITY ? 1 : 0;
    }
    ASSERT_NE(orders, nullptr);
    EXPECT_EQ(orders->getLevelCode(), 1);
    for (int a = 0; a < orders->getAttributeCount(); ++a)
        EXPECT_EQ(orders->getAttribute(a)->getLevelCode(), 1);
    EXPECT_EQ(views, 0);
    // The view's symbol went with it; the others stay.
    ORXDiagram* diagram = package->getDiagram(0);
    EXPECT_EQ(diagram->getPresentationElementCount(), 3);
    for (int i = 0; i < diagram->getPresentationElementCount(); ++i)
        EXPECT_NE(diagram->getPresentationElement(i)->getSubjectModelObject(), nullptr);
}

TEST(CliSelection, ASelectionThatLeavesNothingSaysSo) {
    std::unique_ptr<ORXModel> model = importers::parseJsonModel(kShop, "shop.json");
    cli::SelectionOutcome outcome = cli::applySelection(*model, {"app.*"}, {"*"});
    EXPECT_TRUE(outcome.leavesNothing);
    EXPECT_EQ(outcome.keptObjects, 0);
}

TEST(CliSelection, TheExportDropsTheReferenceToAnExcludedTable) {
    TempDir dir;
    const std::string model = dir.file("shop.json");
    writeFile(model, kShop);
    pdmtest::Outcome run =
        runExport({model, "-o", dir.file("shop.pdm"), "--time", "0", "-q", "--exclude", "Customer",
                   "--dump-model", dir.file("selected.json")});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string document = readFile(dir.file("shop.pdm"));
    EXPECT_EQ(document.find("<a:Name>Customer</a:Name>"), std::string::npos);
    EXPECT_EQ(document.find("<o:SPdoObjRefr"), std::string::npos);
    EXPECT_EQ(document.find("<o:SPdmSymRefr"), std::string::npos);
    EXPECT_NE(document.find("<a:Name>Orders</a:Name>"), std::string::npos);
    EXPECT_NE(document.find("<a:Name>Big orders</a:Name>"), std::string::npos);

    // The dump holds the model as selected: exported again, it gives the same document.
    pdmtest::Outcome again =
        runExport({dir.file("selected.json"), "-o", dir.file("again.pdm"), "--time", "0", "-q"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(readFile(dir.file("again.pdm")), document);
}

TEST(CliSelection, APatternThatMatchesNothingWarnsAndNothingLeftIsAnError) {
    TempDir dir;
    const std::string model = dir.file("shop.json");
    writeFile(model, kShop);
    pdmtest::Outcome run =
        runExport({model, "-o", dir.file("shop.pdm"), "--time", "0", "-q", "--include", "Nope*"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              "warning: --include 'Nope*' matches no table or view\n"
              "error: the selection (--include, --exclude) leaves no table or view to export\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("shop.pdm")));

    run = runExport({model, "-o", dir.file("shop.pdm"), "--time", "0", "-q", "--exclude", "Nope*"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err.rfind("warning: --exclude 'Nope*' matches no table or view\n", 0), 0u)
        << run.err;
    EXPECT_TRUE(std::filesystem::exists(dir.file("shop.pdm")));
}

}  // namespace
