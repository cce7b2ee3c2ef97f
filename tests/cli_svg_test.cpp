// --svg: the picture of the exported diagrams, read back with a real XML
// parser, and once rendered by a real browser.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "cli/DiagramPages.h"
#include "cli/DiagramSvg.h"
#include "support/ProgramSupport.h"
#include "support/TestSupport.h"

namespace {

using pdmtest::readFile;
using pdmtest::runExport;
using pdmtest::TempDir;
using pdmtest::writeFile;

// Parent (3 columns, a two-column key) and Child (a key, a foreign key to
// Parent); a reference symbol between them; a view; positions chosen so the
// document's rectangles are easy to work out by hand at the default scale
// (X times 10, Y times 20).
const char* const kSmall = R"({"format": "orx-model", "version": 1, "packages": [
  {"kind": "design", "name": "Main", "elements": [
    {"kind": "class", "id": "parent", "name": "Parent", "attributes": [
       {"id": "p.id", "name": "ID", "type": {"dataType": "SQL_INTEGER"}},
       {"id": "p.region", "name": "REGION", "type": {"dataType": "SQL_CHAR", "length": 2}},
       {"id": "p.name", "name": "NAME", "type": {"dataType": "SQL_VARCHAR", "length": 30}}],
     "keys": [{"id": "p.pk", "attributes": ["p.id", "p.region"]}], "primaryKey": "p.pk"},
    {"kind": "class", "id": "child", "name": "Child", "attributes": [
       {"id": "c.id", "name": "ID", "type": {"dataType": "SQL_INTEGER"}},
       {"id": "c.parent", "name": "PARENT_ID", "type": {"dataType": "SQL_INTEGER"}},
       {"id": "c.region", "name": "REGION", "type": {"dataType": "SQL_CHAR", "length": 2}}],
     "keys": [{"id": "c.pk", "attributes": ["c.id"]},
              {"kind": "foreign", "id": "c.fk", "attributes": ["c.parent", "c.region"],
               "references": "p.pk",
               "nameMaps": [{"source": "p.id", "destination": "c.parent"}]}],
     "primaryKey": "c.pk"},
    {"kind": "association", "id": "ref", "name": "Parent has children", "roles": [
       {"class": "parent", "isSource": true},
       {"class": "child", "multiplicity": "1..*", "foreignKey": "c.fk"}]},
    {"kind": "view", "id": "v", "name": "Parent names", "statement": "SELECT NAME FROM Parent",
     "columns": [{"name": "NAME", "source": "p.name"}]}],
   "diagrams": [{"name": "Overview", "symbols": [
     {"subject": "parent", "x": 100, "y": 50, "width": 80, "height": 40},
     {"subject": "child", "x": 300, "y": 50, "width": 80, "height": 40},
     {"subject": "ref", "x": 200, "y": 50},
     {"subject": "v", "x": 100, "y": 200, "width": 60, "height": 20}]}]}]})";

// The element of `root` with the given name and attribute value, or none.
pugi::xml_node findElement(pugi::xml_node root, const char* name, const char* attribute,
                           const std::string& value) {
    return root.find_node([&](pugi::xml_node n) {
        return std::string(n.name()) == name && value == n.attribute(attribute).value();
    });
}

// The drawn rectangle (not a clipping one) whose left side is at `x`.
pugi::xml_node findBox(pugi::xml_node root, const std::string& x) {
    return root.find_node([&](pugi::xml_node n) {
        return std::string(n.name()) == "rect" && x == n.attribute("x").value() &&
               n.attribute("stroke");
    });
}

std::vector<std::string> textsOf(pugi::xml_node root) {
    std::vector<std::string> texts;
    for (pugi::xpath_node text : root.select_nodes("//text"))
        texts.push_back(text.node().text().get());
    return texts;
}

bool contains(const std::vector<std::string>& texts, const std::string& text) {
    for (const std::string& t : texts)
        if (t == text)
            return true;
    return false;
}

TEST(CliSvg, BoxesLinesAndTextsComeFromTheExportedSymbols) {
    TempDir dir;
    writeFile(dir.file("small.json"), kSmall);
    pdmtest::Outcome run = runExport({dir.file("small.json"), "-o", dir.file("small.pdm"), "--time",
                                      "0", "-q", "--svg", dir.file("small.svg")});
    ASSERT_EQ(run.status, 0) << run.err;

    // What the document says, as the picture reads it.
    std::vector<cli::DiagramPage> pages =
        cli::readDiagramPages(readFile(dir.file("small.pdm")), "small.pdm");
    ASSERT_EQ(pages.size(), 1u);
    const cli::DiagramPage& page = pages[0];
    EXPECT_EQ(page.name, "Overview");
    ASSERT_EQ(page.boxes.size(), 3u);
    // Parent: centre (100, 50), 80 x 40: X 60..140 and Y 30..70, times 10 and 20.
    const cli::PageBox& parent = page.boxes[0];
    EXPECT_EQ(parent.name, "Parent");
    EXPECT_EQ(parent.left, 600);
    EXPECT_EQ(parent.top, 600);
    EXPECT_EQ(parent.right, 1400);
    EXPECT_EQ(parent.bottom, 1400);
    ASSERT_EQ(parent.columns.size(), 3u);
    EXPECT_EQ(parent.columns[2].name, "NAME");
    EXPECT_EQ(parent.columns[2].type, "VARCHAR2(30)");
    EXPECT_TRUE(parent.columns[0].primaryKey);
    EXPECT_TRUE(parent.columns[1].primaryKey);
    EXPECT_FALSE(parent.columns[2].primaryKey);
    EXPECT_FALSE(parent.columns[0].foreignKey);
    const cli::PageBox& child = page.boxes[1];
    EXPECT_EQ(child.name, "Child");
    EXPECT_EQ(child.left, 2600);
    EXPECT_EQ(child.right, 3400);
    ASSERT_EQ(child.columns.size(), 3u);
    EXPECT_TRUE(child.columns[0].primaryKey && !child.columns[0].foreignKey);
    EXPECT_TRUE(child.columns[1].foreignKey && !child.columns[1].primaryKey);
    EXPECT_TRUE(child.columns[2].foreignKey);
    EXPECT_EQ(child.columns[2].type, "CHAR(2)");
    const cli::PageBox& view = page.boxes[2];
    EXPECT_TRUE(view.view);
    EXPECT_EQ(view.name, "Parent names");
    EXPECT_EQ(view.left, 700);
    EXPECT_EQ(view.top, 3800);
    ASSERT_EQ(page.links.size(), 1u);
    EXPECT_EQ(page.links[0].child, 1);
    EXPECT_EQ(page.links[0].parent, 0);
    EXPECT_EQ(page.links[0].cardinality, "1,n");

    // The picture: a valid XML document with those boxes, a line between the
    // boxes' facing sides and the texts.
    const std::string picture = readFile(dir.file("small.svg"));
    pugi::xml_document svg;
    ASSERT_TRUE(svg.load_buffer(picture.data(), picture.size()));
    pugi::xml_node root = svg.child("svg");
    EXPECT_STREQ(root.attribute("xmlns").value(), "http://www.w3.org/2000/svg");
    EXPECT_STREQ(root.attribute("font-family").value(), "sans-serif");
    pugi::xml_node parentBox = findBox(root, "600");
    ASSERT_TRUE(parentBox);
    EXPECT_STREQ(parentBox.attribute("y").value(), "600");
    EXPECT_STREQ(parentBox.attribute("width").value(), "800");
    EXPECT_STREQ(parentBox.attribute("height").value(), "800");
    pugi::xml_node childBox = findBox(root, "2600");
    ASSERT_TRUE(childBox);
    EXPECT_STREQ(childBox.attribute("y").value(), "600");
    pugi::xml_node viewBox = findBox(root, "700");
    ASSERT_TRUE(viewBox);
    EXPECT_STREQ(viewBox.attribute("y").value(), "3800");
    EXPECT_TRUE(viewBox.attribute("stroke-dasharray"));
    pugi::xml_node line = findElement(root, "line", "class", "reference");
    ASSERT_TRUE(line);
    EXPECT_STREQ(line.attribute("x1").value(), "2600");  // the child's left side
    EXPECT_STREQ(line.attribute("y1").value(), "1000");
    EXPECT_STREQ(line.attribute("x2").value(), "1400");  // the parent's right side
    EXPECT_STREQ(line.attribute("y2").value(), "1000");
    EXPECT_STREQ(line.attribute("marker-end").value(), "url(#arrow)");
    // The cardinality next to the child's end.
    pugi::xml_node cardinality = findElement(root, "text", "class", "cardinality");
    ASSERT_TRUE(cardinality);
    EXPECT_STREQ(cardinality.text().get(), "1,n");
    EXPECT_GT(std::atoi(cardinality.attribute("x").value()), 2000);
    const std::vector<std::string> texts = textsOf(root);
    for (const char* text : {"Overview", "Parent", "Child", "Parent names", "ID", "REGION",
                             "PARENT_ID", "NAME", "INTEGER", "CHAR(2)", "VARCHAR2(30)", "PK", "FK"})
        EXPECT_TRUE(contains(texts, text)) << text;
    // The page's own coordinates are those of the document.
    pugi::xml_node title = findElement(root, "text", "class", "diagram-name");
    ASSERT_TRUE(title);
    EXPECT_EQ(std::string(title.parent().name()), "g");
}

TEST(CliSvg, PagesStackAndHostileNamesAreEscaped) {
    const std::string hostile = "<b>&amp;\"quoted\" 'single' ]]> \x01\xFF end";
    cli::DiagramPage first;
    first.name = "First & <only>";
    cli::PageBox box;
    box.name = hostile;
    box.left = -500;
    box.top = -300;
    box.right = 1500;
    box.bottom = 900;
    box.columns.push_back({"col<1>", "VARCHAR(\"x\")", true, false});
    first.boxes.push_back(box);
    cli::DiagramPage second;
    second.name = "Second";
    std::vector<cli::DiagramPage> pages = {first, second};

    const std::string picture = cli::renderDiagramSvg(pages);
    pugi::xml_document svg;
    pugi::xml_parse_result parsed = svg.load_buffer(picture.data(), picture.size());
    ASSERT_TRUE(parsed) << parsed.description();
    const std::vector<std::string> texts = textsOf(svg);
    EXPECT_TRUE(contains(texts, "First & <only>"));
    // The control character and the stray byte become U+FFFD; the rest is kept.
    EXPECT_TRUE(contains(texts, "<b>&amp;\"quoted\" 'single' ]]> \xEF\xBF\xBD\xEF\xBF\xBD end"));
    EXPECT_TRUE(contains(texts, "col<1>"));
    EXPECT_TRUE(contains(texts, "VARCHAR(\"x\")"));

    // One group per page, the second below the first.
    std::vector<pugi::xml_node> groups;
    for (pugi::xml_node g : svg.child("svg").children("g"))
        groups.push_back(g);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_STREQ(groups[0].attribute("transform").value(), "translate(0,0)");
    const std::string second_transform = groups[1].attribute("transform").value();
    ASSERT_EQ(second_transform.rfind("translate(0,", 0), 0u);
    // Page one: title 900, box height 1200 and margins of 800 above and below, then a gap of 600.
    EXPECT_EQ(second_transform, "translate(0,4300)");
}

TEST(CliSvg, NoPictureWhenTheExportFails) {
    TempDir dir;
    writeFile(dir.file("small.json"), kSmall);
    pdmtest::Outcome run = runExport({dir.file("small.json"), "-o", dir.file("missing/small.pdm"),
                                      "--time", "0", "-q", "--svg", dir.file("small.svg")});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("small.svg")));

    // Nor without an export at all.
    run = runExport({dir.file("small.json"), "--dump-model", dir.file("dump.json"), "--svg",
                     dir.file("small.svg")});
    EXPECT_EQ(run.status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("small.svg")));

    // A picture that cannot be written is an error of its own, after the export.
    run = runExport({dir.file("small.json"), "-o", dir.file("small.pdm"), "--time", "0", "-q",
                     "--svg", dir.file("missing/small.svg")});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("error: " + dir.file("missing/small.svg") + ": cannot create the file"),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(std::filesystem::exists(dir.file("small.pdm")));
}

// Renders `svg` to `png` with headless Chromium; returns whether it wrote the picture.
bool renderWithChromium(const TempDir& dir, const std::string& svg, const std::string& png) {
    const std::string profile = dir.file("profile-" + std::filesystem::path(png).stem().string());
    std::filesystem::create_directory(profile);
    const std::string command =
        "/usr/bin/chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
        "--disable-background-networking --disable-component-update --disable-sync "
        "--user-data-dir='" +
        profile + "' --window-size=800,1200 --screenshot='" + png + "' 'file://" + svg +
        "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 && std::filesystem::exists(png);
}

TEST(CliSvg, TheExampleRendersInABrowser) {
    if (access("/usr/bin/chromium", X_OK) != 0)
        GTEST_SKIP() << "/usr/bin/chromium is not installed (Debian package chromium)";
    TempDir dir;
    pdmtest::Outcome run =
        runExport({std::string(PDM_SOURCE_DIR) + "/examples/sales.json", "-o",
                   dir.file("sales.pdm"), "--time", "0", "-q", "--svg", dir.file("sales.svg")});
    ASSERT_EQ(run.status, 0) << run.err;
    // A blank picture of the same size, rendered the same way, is what "nothing
    // drawn" looks like.
    pugi::xml_document svg;
    ASSERT_TRUE(svg.load_file(dir.file("sales.svg").c_str()));
    const std::string width = svg.child("svg").attribute("width").value();
    const std::string height = svg.child("svg").attribute("height").value();
    writeFile(dir.file("blank.svg"), "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + width +
                                         "\" height=\"" + height + "\"></svg>\n");
    ASSERT_TRUE(renderWithChromium(dir, dir.file("sales.svg"), dir.file("sales.png")));
    ASSERT_TRUE(renderWithChromium(dir, dir.file("blank.svg"), dir.file("blank.png")));
    const std::string picture = readFile(dir.file("sales.png"));
    const std::string blank = readFile(dir.file("blank.png"));
    EXPECT_EQ(picture.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_NE(picture, blank);
    // Boxes, lines and text compress far worse than an empty white page.
    EXPECT_GT(picture.size(), 4 * blank.size());
}

}  // namespace
