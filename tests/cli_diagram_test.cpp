// Diagrams the host lays out or completes: --layout, --complete-links and the
// diagram of an imported database (--no-diagram).

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "cli/DiagramLayout.h"
#include "cli/DiagramSymbols.h"
#include "cli/Selection.h"
#include "importers/database/SqliteModel.h"
#include "importers/modelfile/JsonModel.h"
#include "support/ProgramSupport.h"
#include "support/TestSupport.h"

namespace {

using pdmtest::readFile;
using pdmtest::runExport;
using pdmtest::TempDir;
using pdmtest::writeFile;

using Geometry = std::tuple<int, int, int, int>;  // x, y, width, height

// The geometry of every symbol of the diagram, by its subject's name.
std::map<std::string, Geometry> geometryOf(const ORXDiagram& diagram) {
    std::map<std::string, Geometry> out;
    for (int i = 0; i < diagram.getPresentationElementCount(); ++i) {
        const ORXPresentationElement* symbol = diagram.getPresentationElement(i);
        out[symbol->getSubjectModelObject()->getName().str()] = {
            symbol->getX(), symbol->getY(), symbol->getWidth(), symbol->getHeight()};
    }
    return out;
}

// Checks that the table and view symbols all have a position and that no two overlap.
void expectPlacedApart(const ORXDiagram& diagram) {
    std::vector<const ORXPresentationElement*> boxes;
    for (int i = 0; i < diagram.getPresentationElementCount(); ++i) {
        const ORXPresentationElement* symbol = diagram.getPresentationElement(i);
        const int type = symbol->getSubjectModelObject()->getElementType();
        if (type == ORX_ET_CLASS || type == ORX_ET_SQL_VIEW_ENTITY)
            boxes.push_back(symbol);
    }
    for (const ORXPresentationElement* a : boxes) {
        const std::string name = a->getSubjectModelObject()->getName().str();
        EXPECT_GT(a->getX(), 0) << name;
        EXPECT_GT(a->getY(), 0) << name;
        EXPECT_GT(a->getX() - a->getWidth() / 2, 0) << name;
        EXPECT_GT(a->getY() - a->getHeight() / 2, 0) << name;
        for (const ORXPresentationElement* b : boxes) {
            if (a == b)
                continue;
            const bool apart = a->getX() + a->getWidth() / 2 <= b->getX() - b->getWidth() / 2 ||
                               b->getX() + b->getWidth() / 2 <= a->getX() - a->getWidth() / 2 ||
                               a->getY() + a->getHeight() / 2 <= b->getY() - b->getHeight() / 2 ||
                               b->getY() + b->getHeight() / 2 <= a->getY() - a->getHeight() / 2;
            EXPECT_TRUE(apart) << name << " overlaps "
                               << b->getSubjectModelObject()->getName().str();
        }
    }
}

std::string table(const std::string& id, int columns) {
    std::string text =
        R"({"kind": "class", "id": ")" + id + R"(", "name": ")" + id + R"(", "attributes": [)";
    for (int c = 0; c < columns; ++c)
        text += std::string(c ? ", " : "") + R"({"name": "column_)" + std::to_string(c) +
                R"(", "type": {"dataType": "SQL_VARCHAR", "length": 20}})";
    return text + "]}";
}

std::string reference(const std::string& id, const std::string& parent, const std::string& child) {
    return R"({"kind": "association", "id": ")" + id + R"(", "name": ")" + id +
           R"(", "roles": [{"class": ")" + parent + R"(", "isSource": true}, {"class": ")" + child +
           R"("}]})";
}

std::string symbol(const std::string& subject, int x, int y, int width = 0, int height = 0) {
    return R"({"subject": ")" + subject + R"(", "x": )" + std::to_string(x) + R"(, "y": )" +
           std::to_string(y) + R"(, "width": )" + std::to_string(width) + R"(, "height": )" +
           std::to_string(height) + "}";
}

// Two diagrams of one package: "Stacked" with every symbol at one point,
// "Placed" laid out by hand without overlap.
std::string twoDiagrams() {
    return std::string(R"({"format": "orx-model", "version": 1, "packages": [{"kind": "design",
      "name": "Main", "elements": [)") +
           table("a", 2) + ", " + table("b", 5) + ", " + table("c", 1) + ", " + table("d", 3) +
           ", " + reference("ab", "a", "b") + ", " + reference("bc", "b", "c") +
           R"(], "diagrams": [{"name": "Stacked", "symbols": [)" + symbol("a", 50, 50, 80, 40) +
           ", " + symbol("b", 50, 50, 80, 40) + ", " + symbol("c", 50, 50, 80, 40) + ", " +
           symbol("d", 50, 50, 80, 40) + ", " + symbol("ab", 50, 50) +
           R"(]}, {"name": "Placed", "symbols": [)" + symbol("a", 100, 100, 80, 40) + ", " +
           symbol("b", 300, 100, 80, 40) + ", " + symbol("ab", 200, 100) + "]}]}]}";
}

TEST(CliLayout, ADiagramAtOnePointIsLaidOutAndAPlacedOneIsLeftAlone) {
    std::unique_ptr<ORXModel> model = importers::parseJsonModel(twoDiagrams(), "two.json");
    ORXDesignPackage* package = cli::designPackagesOf(*model).at(0);
    ORXDiagram& stacked = *package->getDiagram(0);
    ORXDiagram& placed = *package->getDiagram(1);
    EXPECT_TRUE(cli::needsLayout(stacked));
    EXPECT_FALSE(cli::needsLayout(placed));
    const std::map<std::string, Geometry> before = geometryOf(placed);

    EXPECT_EQ(cli::layoutDiagrams(*model, cli::LayoutMode::Overlapping), 1);
    expectPlacedApart(stacked);
    EXPECT_FALSE(cli::needsLayout(stacked));
    EXPECT_EQ(geometryOf(placed), before);

    // Parents sit above their children; the box of b, with more columns, is taller.
    std::map<std::string, Geometry> after = geometryOf(stacked);
    EXPECT_LT(std::get<1>(after["a"]), std::get<1>(after["b"]));
    EXPECT_LT(std::get<1>(after["b"]), std::get<1>(after["c"]));
    EXPECT_GT(std::get<3>(after["b"]), std::get<3>(after["a"]));
    // The reference symbol lies between its tables.
    EXPECT_EQ(std::get<0>(after["ab"]), (std::get<0>(after["a"]) + std::get<0>(after["b"])) / 2);
    EXPECT_EQ(std::get<1>(after["ab"]), (std::get<1>(after["a"]) + std::get<1>(after["b"])) / 2);

    // --layout=all redoes the placed diagram too, with the same layout.
    EXPECT_EQ(cli::layoutDiagrams(*model, cli::LayoutMode::All), 2);
    expectPlacedApart(placed);
    EXPECT_EQ(geometryOf(stacked), after);
}

TEST(CliLayout, OverlapsAndMissingPositionsAskForALayout) {
    struct Case {
        const char* label;
        std::vector<std::string> symbols;
        bool needed;
    };
    const Case cases[] = {
        {"apart", {symbol("a", 100, 100, 80, 40), symbol("b", 180, 100, 80, 40)}, false},
        {"crossing", {symbol("a", 100, 100, 80, 40), symbol("b", 179, 100, 80, 40)}, true},
        {"one inside the other",
         {symbol("a", 100, 100, 80, 40), symbol("b", 100, 100, 10, 10)},
         true},
        {"at one point without size", {symbol("a", 100, 100), symbol("b", 100, 100)}, true},
        {"no position", {symbol("a", 100, 100, 80, 40), symbol("b", 0, 300, 80, 40)}, true},
        {"a reference symbol does not count",
         {symbol("a", 100, 100, 80, 40), symbol("b", 300, 100, 80, 40), symbol("ab", 0, 0)},
         false},
        {"empty", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::string symbols;
        for (const std::string& s : c.symbols)
            symbols += (symbols.empty() ? "" : ", ") + s;
        const std::string text =
            std::string(R"({"format": "orx-model", "version": 1, "packages": [{"kind": "design",
              "elements": [)") +
            table("a", 1) + ", " + table("b", 1) + ", " + reference("ab", "a", "b") +
            R"(], "diagrams": [{"symbols": [)" + symbols + "]}]}]}";
        std::unique_ptr<ORXModel> model = importers::parseJsonModel(text, "case.json");
        EXPECT_EQ(cli::needsLayout(*cli::designPackagesOf(*model).at(0)->getDiagram(0)), c.needed);
    }
}

TEST(CliLayout, CompletedLinksJoinOnlyTablesOnTheDiagram) {
    // a, b and c on the diagram, d not; ab has a symbol already.
    const std::string text =
        std::string(R"({"format": "orx-model", "version": 1, "packages": [{"kind": "design",
          "elements": [)") +
        table("a", 1) + ", " + table("b", 1) + ", " + table("c", 1) + ", " + table("d", 1) + ", " +
        reference("ab", "a", "b") + ", " + reference("ab2", "a", "b") + ", " +
        reference("bc", "b", "c") + ", " + reference("cd", "c", "d") + ", " +
        reference("cc", "c", "c") + ", " +
        R"({"kind": "association", "id": "many", "name": "many", "roles": [
             {"class": "a", "multiplicity": "0..*"}, {"class": "c", "multiplicity": "1..*"}]})" +
        R"(], "diagrams": [{"symbols": [)" + symbol("a", 100, 100, 80, 40) + ", " +
        symbol("b", 300, 100, 80, 40) + ", " + symbol("c", 300, 301, 80, 40) + ", " +
        symbol("ab", 200, 100) + "]}]}]}";
    std::unique_ptr<ORXModel> model = importers::parseJsonModel(text, "links.json");
    EXPECT_EQ(cli::completeLinks(*model), 3);
    const ORXDiagram& diagram = *cli::designPackagesOf(*model).at(0)->getDiagram(0);
    std::map<std::string, Geometry> symbols = geometryOf(diagram);
    EXPECT_EQ(symbols.size(), 7u);  // a, b, c, ab, and the new ab2, bc, cc
    EXPECT_EQ(symbols.count("cd"), 0u);
    EXPECT_EQ(symbols.count("many"), 0u);
    EXPECT_EQ(symbols["ab2"], Geometry(200, 100, 0, 0));
    EXPECT_EQ(symbols["bc"], Geometry(300, 200, 0, 0));
    EXPECT_EQ(symbols["cc"], Geometry(300, 301, 0, 0));
    for (int i = 0; i < diagram.getPresentationElementCount(); ++i)
        EXPECT_TRUE(diagram.containsModelElement(
            diagram.getPresentationElement(i)->getSubjectModelObject()));
    // Nothing is left to add the second time.
    EXPECT_EQ(cli::completeLinks(*model), 0);
}

// Two connected groups (a shop of four tables, a library of two) and a table
// that relates to nothing, plus a view.
const char* const kTwoGroups =
    "CREATE TABLE settings (key TEXT PRIMARY KEY, value TEXT);\n"
    "CREATE TABLE customer (id INTEGER PRIMARY KEY, name TEXT NOT NULL, email VARCHAR(80));\n"
    "CREATE TABLE orders (id INTEGER PRIMARY KEY, customer_id INTEGER REFERENCES customer(id));\n"
    "CREATE TABLE order_line (order_id INTEGER REFERENCES orders(id),\n"
    "  product_id INTEGER REFERENCES product(id), qty INTEGER, PRIMARY KEY (order_id, "
    "product_id));\n"
    "CREATE TABLE product (id INTEGER PRIMARY KEY, name TEXT, price NUMERIC(10,2));\n"
    "CREATE TABLE author (id INTEGER PRIMARY KEY, name TEXT);\n"
    "CREATE TABLE book (id INTEGER PRIMARY KEY, author_id INTEGER REFERENCES author(id),\n"
    "  reviewer_id INTEGER REFERENCES author(id), title TEXT);\n"
    "CREATE VIEW big_orders AS SELECT id, customer_id FROM orders;\n";

std::unique_ptr<ORXModel> importedShop(const TempDir& dir) {
    const std::string script = dir.file("groups.sql");
    writeFile(script, kTwoGroups);
    std::unique_ptr<ORXModel> model = importers::loadSqliteScript(script).model;
    cli::addImportedDiagrams(*model);
    return model;
}

TEST(CliImportedDiagram, ShowsEveryTableViewAndReferenceApartAndTheSameEachTime) {
    TempDir dir;
    std::unique_ptr<ORXModel> model = importedShop(dir);
    ORXDesignPackage* package = cli::designPackagesOf(*model).at(0);
    ASSERT_EQ(package->getDiagramCount(), 1);
    const ORXDiagram& diagram = *package->getDiagram(0);
    EXPECT_EQ(diagram.getName(), "main");

    std::map<std::string, Geometry> symbols = geometryOf(diagram);
    int tables = 0, views = 0, references = 0;
    for (int i = 0; i < package->getModelElementCount(); ++i) {
        ORXModelObject* element = package->getModelElement(i);
        tables += element->getElementType() == ORX_ET_CLASS;
        views += element->getElementType() == ORX_ET_SQL_VIEW_ENTITY;
        references += element->getElementType() == ORX_ET_ASSOCIATION;
        EXPECT_EQ(symbols.count(element->getName().str()), 1u) << element->getName().str();
        EXPECT_TRUE(diagram.containsModelElement(element));
    }
    EXPECT_EQ(tables, 7);
    EXPECT_EQ(views, 1);
    EXPECT_EQ(references, 5);
    EXPECT_EQ(diagram.getPresentationElementCount(), 13);
    expectPlacedApart(diagram);
    EXPECT_FALSE(cli::needsLayout(diagram));

    // Parents above children; the groups apart: the library below or beside
    // the shop, the loner last.
    auto y = [&symbols](const char* name) { return std::get<1>(symbols[name]); };
    EXPECT_LT(y("customer"), y("orders"));
    EXPECT_LT(y("orders"), y("order_line"));
    EXPECT_LT(y("product"), y("order_line"));
    EXPECT_LT(y("author"), y("book"));
    EXPECT_GT(y("settings"), y("customer"));

    // The same database, the same coordinates.
    TempDir other;
    std::unique_ptr<ORXModel> again = importedShop(other);
    EXPECT_EQ(geometryOf(*cli::designPackagesOf(*again).at(0)->getDiagram(0)), symbols);
}

TEST(CliImportedDiagram, AppearsInTheExportUnlessNoDiagramIsGiven) {
    TempDir dir;
    const std::string script = dir.file("groups.sql");
    writeFile(script, kTwoGroups);
    pdmtest::Outcome run = runExport({script, "-o", dir.file("with.pdm"), "--time", "0", "-q"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string with = readFile(dir.file("with.pdm"));
    auto count = [](const std::string& text, const std::string& part) {
        int n = 0;
        for (std::size_t at = text.find(part); at != std::string::npos;
             at = text.find(part, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count(with, "<o:SPdmSymTabl Id="), 7);
    EXPECT_EQ(count(with, "<o:SPdmSymView Id="), 1);
    EXPECT_EQ(count(with, "<o:SPdmSymRefr Id="), 5);
    // Every table symbol has a place of its own.
    EXPECT_EQ(with.find("<a:ClipRect>((0,0), (4000,-4000))</a:ClipRect>"), std::string::npos);

    // The selection comes first: the diagram shows what is kept.
    run = runExport(
        {script, "-o", dir.file("some.pdm"), "--time", "0", "-q", "--exclude", "main.author"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string some = readFile(dir.file("some.pdm"));
    EXPECT_EQ(count(some, "<o:SPdmSymTabl Id="), 6);
    EXPECT_EQ(count(some, "<o:SPdmSymRefr Id="), 3);

    run = runExport({script, "-o", dir.file("without.pdm"), "--time", "0", "-q", "--no-diagram"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string without = readFile(dir.file("without.pdm"));
    EXPECT_EQ(count(without, "<o:SPdmDiagram Id="), 0);
    EXPECT_EQ(count(without, "<o:SPdmSymTabl"), 0);
    EXPECT_EQ(count(without, "<o:SPdoObjTabl Id="), 7);
}

}  // namespace
