// Packages and the shortcuts through which a package shows tables of others.

#include <gtest/gtest.h>

#include <tuple>

#include "support/WriterSupport.h"

using namespace pdmtest;

namespace {

// The merged package Main holding `elements` and the child packages `packages`.
std::string inMain(const std::string& elements, const std::string& packages) {
    return mainModel(elements, R"(, "packages": [)" + packages + "]");
}

// A package holding a child table with a reference to the table `parent`.
std::string childPackage(const std::string& name, const std::string& parent,
                         const std::string& diagrams = "") {
    return R"({"kind": "design", "name": ")" + name + R"(", "elements": [
        {"kind": "class", "id": ")" +
           name + R"(.c", "name": ")" + name + R"(_CHILD"}, {"kind": "association", "name": ")" +
           name + R"(_R", "roles": [
          {"class": ")" +
           parent + R"(", "isSource": true}, {"class": ")" + name + R"(.c"}]}], "diagrams": [)" +
           diagrams + "]}";
}

const std::string kParentPackage =
    R"({"kind": "design", "name": "Q", "elements": [{"kind": "class", "id": "pt", "name": "PT"}]})";

std::string tables(const ExportResult& out, const std::string& package) {
    return collection(elementNamed(out.document, "o:SPdmPackage", package), "c:Tables");
}

}  // namespace

TEST(Shortcuts, ParentTableOfAnotherPackageGetsOneFullShortcut) {
    const std::string symbol =
        R"({"name": "D", "symbols": [{"subject": "pt", "x": 5, "y": 5, "width": 2, "height": 2}]})";
    for (const std::string& diagram : {std::string(), symbol}) {
        SCOPED_TRACE(diagram.empty() ? "not on a diagram" : "on a diagram");
        ExportResult out =
            exportJson(inMain("", childPackage("P", "pt", diagram) + "," + kParentPackage));
        std::string package = elementNamed(out.document, "o:SPdmPackage", "P");
        std::string id = firstId(package, "o:SRepShortcut");
        EXPECT_EQ(occurrences(package, "<o:SRepShortcut Id="), 1);
        EXPECT_EQ(
            canon(elementNamed(package, "o:SRepShortcut", "PT")),
            "<o:SRepShortcut Id=\"o#1\">\n<a:Name>PT</a:Name>\n<a:Code>PT</a:Code>\n<a:ExtOID>" +
                oid(idsNamed(out.document, "o:SPdoObjTabl", "PT").at(0)) +
                "</a:ExtOID>\n<a:ExtCLSID>380BAA40-0042-11D2-BD28-00A02478ECC9</a:ExtCLSID>\n"
                "<a:TrgtLoct>\\Q</a:TrgtLoct>\n</o:SRepShortcut>\n");
        // Made by the diagram, the shortcut opens c:Tables as a reference.
        EXPECT_NE(tables(out, "P").find(diagram.empty()
                                            ? "<o:SRepShortcut Id=\"" + id + "\">"
                                            : "<c:Tables>\n<o:SRepShortcut Ref=\"" + id + "\"/>"),
                  std::string::npos);
        EXPECT_EQ(collection(elementNamed(out.document, "o:SPdoObjRefr", "P_R"), "c:Obj1"),
                  "<c:Obj1>\n<o:SRepShortcut Ref=\"" + id + "\"/>\n</c:Obj1>");
    }
}

TEST(Shortcuts, TwoPackagesNeedingOneTableGetTwoShortcutsBothListed) {
    ExportResult out = exportJson(
        inMain("", childPackage("P", "pt") + "," + childPackage("R", "pt") + "," + kParentPackage));
    std::string first = firstId(tables(out, "P"), "o:SRepShortcut");
    std::string second = firstId(tables(out, "R"), "o:SRepShortcut");
    EXPECT_NE(first, second);
    EXPECT_EQ(collection(out.document, "c:Shortcuts", out.document.rfind("<c:ExtSess>")),
              "<c:Shortcuts>\n<o:SRepShortcut Ref=\"" + first + "\"/>\n<o:SRepShortcut Ref=\"" +
                  second + "\"/>\n</c:Shortcuts>");
}

TEST(Shortcuts, PathsNameTheFlaggedPackagesOnly) {
    const std::pair<std::string, const char*> cases[] = {
        {inMain("", childPackage("P", "pt") + R"(, {"kind": "design", "name": "A", "packages": [
           {"kind": "design", "name": "B", "elements": [{"kind": "class", "id": "pt", "name": "PT"}]}]})"),
         "\\A\\B"},
        {inMain("", childPackage("P", "pt") + R"(, {"kind": "design", "name": "A", "packages": [
           {"kind": "design", "name": "B", "asPackage": false, "packages": [
             {"kind": "design", "name": "C", "elements": [{"kind": "class", "id": "pt", "name": "PT"}]}]}]})"),
         "\\A\\C"},
        {inMain(R"({"kind": "class", "id": "pt", "name": "PT"})", childPackage("P", "pt")), "\\"},
    };
    for (const auto& [model, path] : cases) {
        SCOPED_TRACE(path);
        EXPECT_NE(tables(exportJson(model), "P")
                      .find(std::string("<a:TrgtLoct>") + path + "</a:TrgtLoct>\n"),
                  std::string::npos);
    }
}

// Unnamed packages are named after their identifiers, which the path takes
// innermost first: B (inside A) is numbered before A.
TEST(Shortcuts, PathNamesUnnamedPackagesInnermostFirst) {
    const std::string model = R"({"format": "orx-model", "version": 1, "name": "M", "packages": [
 {"kind": "design", "name": "P", "asPackage": true, "elements": [
   {"kind": "class", "id": "child", "name": "CHILD"},
   {"kind": "association", "name": "R", "roles": [{"class": "parent", "isSource": true},
                                                   {"class": "child"}]}]},
 {"kind": "design", "asPackage": true, "packages": [
   {"kind": "design", "elements": [{"kind": "class", "id": "parent", "name": "PARENT"}]}]}]})";
    const std::string document = exportJson(model).document;
    EXPECT_NE(document.find("<a:TrgtLoct>\\DesignPackage_7\\DesignPackage_6</a:TrgtLoct>"),
              std::string::npos);
    EXPECT_NE(document.find("<o:SPdmPackage Id=\"o6\">\n<a:OID>00000000-1337-F331-D34D-000000000006"
                            "</a:OID>\n<a:Name>DesignPackage_6</a:Name>"),
              std::string::npos);
}

TEST(Packages, LevelCodeOneHidesThePackageAndItsContent) {
    ExportResult out = exportJson(inMain("", R"({"kind": "design", "name": "HIDDEN", "levelCode": 1,
        "elements": [{"kind": "class", "name": "HT"}], "packages": [{"kind": "design", "name": "INNER"}]})"));
    for (const char* name : {"HIDDEN", "INNER", "HT"})
        EXPECT_EQ(occurrences(out.document, name), 0) << name;
}

TEST(Packages, FullElementThenReference) {
    DirectBridge direct(inMain("", R"({"kind": "design", "name": "P"})"));
    auto* package = static_cast<ORXDesignPackage*>(direct.main()->getChildPackage(0));
    direct.bridge.writePackage(package);
    direct.bridge.writePackage(package);
    const std::string id = "o" + std::to_string(direct.bridge.getObjectId(package));
    EXPECT_EQ(
        direct.finish(),
        "<o:SPdmPackage Id=\"" + id + "\">\n<a:OID>" + oid(id) +
            "</a:OID>\n<a:Name>P</a:Name>\n<a:Code>P</a:Code>\n"
            "<c:PdmDiagrams>\n</c:PdmDiagrams>\n<c:PdmPackages>\n</c:PdmPackages>\n"
            "<c:Procedures>\n</c:Procedures>\n<c:Tables>\n</c:Tables>\n<c:Views>\n</c:Views>\n"
            "<c:References>\n</c:References>\n</o:SPdmPackage>\n<o:SPdmPackage Ref=\"" +
            id + "\"/>\n");
}

// After its child packages a package writes its own content as its own: the
// table of P is written in full in P, not as a shortcut from C.
TEST(Packages, OwnTablesAfterChildPackagesAreWrittenInFull) {
    ExportResult out = exportJson(inMain("", R"({"kind": "design", "name": "P",
        "packages": [{"kind": "design", "name": "C", "elements": [{"kind": "class", "name": "CT"}]}],
        "elements": [{"kind": "class", "name": "PT"}]})"));
    const std::string p = elementNamed(out.document, "o:SPdmPackage", "P");
    EXPECT_EQ(collection(p, "c:Tables", p.rfind("</c:PdmPackages>")),
              "<c:Tables>\n" + elementNamed(out.document, "o:SPdoObjTabl", "PT") + "</c:Tables>");
    EXPECT_EQ(occurrences(p, "SRepShortcut"), 0);
    EXPECT_EQ(idsNamed(out.document, "o:SPdoObjTabl", "PT").size(), 1u);
}

// The first walk over a package's elements notes each element's kind, and the
// later walks rely on that: a view anywhere among the elements is still
// written, in a merged and in a flagged package alike.
TEST(Packages, ViewsAreWrittenWhereverTheyLieAmongTheElements) {
    const std::string view = R"({"kind": "view", "name": "V", "statement": "S"})";
    const std::string table = R"({"kind": "class", "name": "T"})";
    for (const std::string& elements : {view, view + "," + table, table + "," + view}) {
        SCOPED_TRACE(elements);
        ExportResult merged = exportJson(mainModel(elements));
        EXPECT_EQ(occurrences(collection(merged.document, "c:Views"), "<o:SPdoObjView Id="), 1);
        ExportResult flagged = exportJson(
            inMain("", R"({"kind": "design", "name": "P", "elements": [)" + elements + "]}"));
        EXPECT_EQ(
            occurrences(collection(elementNamed(flagged.document, "o:SPdmPackage", "P"), "c:Views"),
                        "<o:SPdoObjView Id="),
            1);
    }
    // Asked for the views alone, before any other walk, the package still gives them.
    DirectBridge direct(mainModel(table + "," + view));
    direct.bridge.writePackageViews(direct.main());
    EXPECT_EQ(occurrences(direct.finish(), "<o:SPdoObjView Id="), 1);
}

namespace {

// Whether each of `needles` occurs in `text`, in the order given.
::testing::AssertionResult inOrder(const std::string& text,
                                   const std::vector<std::string>& needles) {
    std::size_t from = 0;
    for (const std::string& needle : needles) {
        const std::size_t at = text.find(needle, from);
        if (at == std::string::npos)
            return ::testing::AssertionFailure() << needle << " missing or out of order in\n"
                                                 << text;
        from = at + needle.size();
    }
    return ::testing::AssertionSuccess();
}

std::string named(const std::string& name) {
    return "<a:Name>" + name + "</a:Name>";
}

}  // namespace

// Each collection of a package lists its objects in the order of the
// package's elements, whatever the kinds around them: tables with and without
// procedures, references (one to a table of another package, which brings a
// shortcut among the tables), views, a table that is not exported, and a
// column rule of a table on no diagram.
TEST(Packages, MixedElementsKeepTheirOrderInEachCollection) {
    const std::string t1 = R"({"kind": "class", "id": "t1", "name": "T1", "attributes": [
        {"name": "C1", "checkExpression": "C1 > 1"}]})";
    const std::string t2 = R"({"kind": "class", "id": "t2", "name": "T2", "operations": [
        {"kind": "procedure", "name": "PR2"}, {"kind": "trigger", "name": "TR2", "body": "B"}]})";
    const std::string t3 = R"({"kind": "class", "id": "t3", "name": "T3", "attributes": [
        {"name": "C3", "checkExpression": "C3 > 3"}], "operations": [
        {"kind": "procedure", "name": "PR3"}]})";
    const std::string hidden = R"({"kind": "class", "name": "HIDDEN", "levelCode": 1,
        "attributes": [{"name": "HC", "checkExpression": "HIDDEN > 0"}]})";
    const std::string r1 = R"({"kind": "association", "name": "R1", "roles": [
        {"class": "t1", "isSource": true}, {"class": "t2"}]})";
    const std::string r2 = R"({"kind": "association", "name": "R2", "roles": [
        {"class": "ot", "isSource": true}, {"class": "t3"}]})";
    const std::string v1 = R"({"kind": "view", "name": "V1", "statement": "S1"})";
    const std::string v2 = R"({"kind": "view", "name": "V2", "statement": "S2"})";
    const std::string other =
        R"({"kind": "design", "name": "O", "elements": [{"kind": "class", "id": "ot", "name": "OT"}]})";
    struct Case {
        std::vector<std::string> elements;
        std::vector<std::string> tables, procedures, views, references, rules;
    };
    const Case cases[] = {
        {{t1, r1, v1, t2, hidden, r2, v2, t3},
         {"T1", "T2", "OT", "T3"},
         {"PR2", "PR3"},
         {"V1", "V2"},
         {"R1", "R2"},
         {"C1 &gt; 1", "C3 &gt; 3"}},
        {{v2, r2, t3, hidden, v1, r1, t2, t1},
         {"OT", "T3", "T2", "T1"},
         {"PR3", "PR2"},
         {"V2", "V1"},
         {"R2", "R1"},
         {"C3 &gt; 3", "C1 &gt; 1"}},
        {{hidden, r1, r2, t3, t2, t1},
         {"OT", "T3", "T2", "T1"},
         {"PR3", "PR2"},
         {},
         {"R1", "R2"},
         {"C3 &gt; 3", "C1 &gt; 1"}},
    };
    for (const Case& c : cases) {
        std::string elements;
        for (const std::string& element : c.elements)
            elements += (elements.empty() ? "" : ",") + element;
        SCOPED_TRACE(elements);
        const auto names = [](const std::vector<std::string>& list) {
            std::vector<std::string> out;
            for (const std::string& name : list)
                out.push_back(named(name));
            return out;
        };
        // In the merged package Main, and in the flagged package P.
        const std::string merged = exportJson(inMain(elements, other)).document;
        const std::string flagged =
            exportJson(inMain("", R"({"kind": "design", "name": "P", "elements": [)" + elements +
                                      "]}," + other))
                .document;
        const std::string p = elementNamed(flagged, "o:SPdmPackage", "P");
        const std::tuple<const char*, std::string, std::size_t> places[] = {
            {"merged", merged, merged.rfind("</c:Domains>")},
            {"flagged", p, p.rfind("</c:PdmPackages>")}};
        for (const auto& [label, text, start] : places) {
            SCOPED_TRACE(label);
            EXPECT_TRUE(inOrder(collection(text, "c:Tables", start), names(c.tables)));
            EXPECT_TRUE(inOrder(collection(text, "c:Procedures", start), names(c.procedures)));
            EXPECT_TRUE(inOrder(collection(text, "c:Views", start), names(c.views)));
            EXPECT_TRUE(inOrder(collection(text, "c:References", start), names(c.references)));
            EXPECT_EQ(occurrences(collection(text, "c:Views", start), "<o:SPdoObjView Id="),
                      static_cast<int>(c.views.size()));
            EXPECT_EQ(occurrences(text, "HIDDEN"), 0);
        }
        // The rules of the merged package's tables, which lie on no diagram.
        EXPECT_TRUE(inOrder(collection(merged, "c:BusinessRules"), c.rules));
    }
}
