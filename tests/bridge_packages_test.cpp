// Packages and the shortcuts through which a package shows tables of others.

#include <gtest/gtest.h>

#include "support/WriterSupport.h"

using namespace pdmtest;

namespace {

// A merged package Main whose child packages are `packages`.
std::string inMain(const std::string& mainElements, const std::string& packages) {
    return R"({"format": "orx-model", "version": 1, "name": "M", "packages": [
      {"kind": "design", "name": "Main", "elements": [)" +
           mainElements + R"(], "packages": [)" + packages + "]}]}";
}

// A package holding a child table with a reference to the table `parent`.
std::string childPackage(const std::string& name, const std::string& parent,
                         const std::string& diagrams = "") {
    return R"({"kind": "design", "name": ")" + name + R"(", "elements": [
        {"kind": "class", "id": ")" +
           name + R"(.c", "name": ")" + name + R"(_CHILD"},
        {"kind": "association", "name": ")" +
           name + R"(_R", "roles": [{"class": ")" + parent +
           R"(", "isSource": true}, {"class": ")" + name + R"(.c"}]}], "diagrams": [)" + diagrams +
           "]}";
}

const std::string kParentPackage =
    R"({"kind": "design", "name": "Q", "elements": [{"kind": "class", "id": "pt", "name": "PT"}]})";

std::string oid(const std::string& id) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%012d", std::atoi(id.c_str() + 1));
    return "00000000-1337-F331-D34D-" + std::string(digits);
}

std::string tableShortcut(const std::string& name, const std::string& target,
                          const std::string& path) {
    return "<o:SRepShortcut Id=\"o#1\">\n<a:Name>" + name + "</a:Name>\n<a:Code>" + name +
           "</a:Code>\n<a:ExtOID>" + oid(target) +
           "</a:ExtOID>\n<a:ExtCLSID>380BAA40-0042-11D2-BD28-00A02478ECC9</"
           "a:ExtCLSID>\n<a:TrgtLoct>" +
           path + "</a:TrgtLoct>\n</o:SRepShortcut>\n";
}

}  // namespace

TEST(Shortcuts, ParentTableOfAnotherPackageGetsAFullShortcut) {
    ExportResult out = exportJson(inMain("", childPackage("P", "pt") + "," + kParentPackage));
    std::string target = idsNamed(out.document, "o:SPdoObjTabl", "PT").at(0);
    std::string package = elementNamed(out.document, "o:SPdmPackage", "P");
    std::string tables = collection(package, "c:Tables");
    std::size_t shortcut = tables.find("<o:SRepShortcut Id=");
    ASSERT_NE(shortcut, std::string::npos) << tables;
    EXPECT_EQ(canon(tables.substr(shortcut)), tableShortcut("PT", target, "\\Q") + "</c:Tables>");
    // The reference then names the shortcut.
    std::string id = tables.substr(shortcut + 20, tables.find('"', shortcut + 20) - shortcut - 20);
    EXPECT_EQ(collection(elementNamed(out.document, "o:SPdoObjRefr", "P_R"), "c:Obj1"),
              "<c:Obj1>\n<o:SRepShortcut Ref=\"" + id + "\"/>\n</c:Obj1>");
}

TEST(Shortcuts, ParentTableShownOnADiagramIsListedByReference) {
    ExportResult out = exportJson(inMain(
        "",
        childPackage(
            "P", "pt",
            R"({"name": "D", "symbols": [{"subject": "pt", "x": 5, "y": 5, "width": 2, "height": 2}]})") +
            "," + kParentPackage));
    std::string package = elementNamed(out.document, "o:SPdmPackage", "P");
    EXPECT_EQ(occurrences(package, "<o:SRepShortcut Id="), 1);
    std::string symbol = collection(package, "c:Object");
    std::size_t at = symbol.find("<o:SRepShortcut Id=\"") + 20;
    std::string id = symbol.substr(at, symbol.find('"', at) - at);
    EXPECT_EQ(
        collection(package, "c:Tables").find("<c:Tables>\n<o:SRepShortcut Ref=\"" + id + "\"/>\n"),
        0u);
}

TEST(Shortcuts, TwoPackagesNeedingOneTableGetTwoShortcuts) {
    ExportResult out = exportJson(
        inMain("", childPackage("P", "pt") + "," + childPackage("R", "pt") + "," + kParentPackage));
    std::vector<std::string> ids;
    for (const char* name : {"P", "R"}) {
        std::string tables =
            collection(elementNamed(out.document, "o:SPdmPackage", name), "c:Tables");
        std::size_t at = tables.find("<o:SRepShortcut Id=\"");
        ASSERT_NE(at, std::string::npos);
        at += 20;
        ids.push_back(tables.substr(at, tables.find('"', at) - at));
    }
    EXPECT_NE(ids[0], ids[1]);
    std::size_t second = out.document.rfind("<c:ExtSess>");
    EXPECT_EQ(collection(out.document, "c:Shortcuts", second),
              "<c:Shortcuts>\n<o:SRepShortcut Ref=\"" + ids[0] + "\"/>\n<o:SRepShortcut Ref=\"" +
                  ids[1] + "\"/>\n</c:Shortcuts>");
}

TEST(Shortcuts, PackagePaths) {
    struct Case {
        const char* name;
        std::string model;
        const char* path;
    } cases[] = {
        {"nested flagged packages",
         inMain("", childPackage("P", "pt") +
                        R"(, {"kind": "design", "name": "A", "elements": [], "packages": [
             {"kind": "design", "name": "B", "elements": [{"kind": "class", "id": "pt", "name": "PT"}]}]})"),
         "\\A\\B"},
        {"a table of the merged package",
         inMain(R"({"kind": "class", "id": "pt", "name": "PT"})", childPackage("P", "pt")), "\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExportResult out = exportJson(c.model);
        std::string tables =
            collection(elementNamed(out.document, "o:SPdmPackage", "P"), "c:Tables");
        EXPECT_NE(tables.find(std::string("<a:TrgtLoct>") + c.path + "</a:TrgtLoct>\n"),
                  std::string::npos)
            << tables;
    }
}

TEST(Packages, LevelCodeOneHidesThePackageAndItsChildren) {
    ExportResult out =
        exportJson(inMain("", R"({"kind": "design", "name": "HIDDEN", "levelCode": 1, "elements": [
        {"kind": "class", "name": "HT"}], "packages": [{"kind": "design", "name": "INNER", "elements": []}]})"));
    EXPECT_EQ(occurrences(out.document, "HIDDEN"), 0);
    EXPECT_EQ(occurrences(out.document, "INNER"), 0);
    EXPECT_EQ(occurrences(out.document, "HT"), 0);
}

TEST(Packages, FullElementThenReference) {
    DirectBridge direct(inMain("", R"({"kind": "design", "name": "P", "elements": []})"));
    auto* package = direct.find<ORXDesignPackage>("P", ORX_ET_DESIGN_PACKAGE);
    ASSERT_TRUE(package);
    direct.bridge.writePackage(package);
    direct.bridge.writePackage(package);
    std::string text = direct.finish();
    const std::string id = std::to_string(direct.bridge.getObjectId(package));
    EXPECT_EQ(
        text,
        "<o:SPdmPackage Id=\"o" + id + "\">\n<a:OID>" + oid("o" + id) +
            "</a:OID>\n<a:Name>P</a:Name>\n<a:Code>P</a:Code>\n"
            "<c:PdmDiagrams>\n</c:PdmDiagrams>\n<c:PdmPackages>\n</c:PdmPackages>\n"
            "<c:Procedures>\n</c:Procedures>\n<c:Tables>\n</c:Tables>\n<c:Views>\n</c:Views>\n"
            "<c:References>\n</c:References>\n</o:SPdmPackage>\n"
            "<o:SPdmPackage Ref=\"o" +
            id + "\"/>\n");
}

TEST(Packages, ClassProceduresFollowTheStoredProcedures) {
    ExportResult out = exportJson(inMain("", R"({"kind": "design", "name": "P",
        "storedProcedures": [{"kind": "procedure", "name": "SP"}],
        "elements": [{"kind": "class", "name": "T", "operations": [{"kind": "procedure", "name": "OP"}]}]})"));
    std::string package = elementNamed(out.document, "o:SPdmPackage", "P");
    EXPECT_EQ(
        canon(collection(package, "c:Procedures")),
        "<c:Procedures>\n<o:SPdoObjProc Id=\"o#1\">\n<a:Name>SP</a:Name>\n<a:Code>SP</a:Code>\n"
        "</o:SPdoObjProc>\n<o:SPdoObjProc Id=\"o#2\">\n<a:Name>OP</a:Name>\n<a:Code>OP</a:Code>\n"
        "</o:SPdoObjProc>\n</c:Procedures>");
    EXPECT_EQ(collection(package, "c:TABL.Procedures"),
              "<c:TABL.Procedures>\n<o:SPdoObjProc Ref=\"" +
                  idsNamed(out.document, "o:SPdoObjProc", "OP").at(0) +
                  "\"/>\n</c:TABL.Procedures>");
}
