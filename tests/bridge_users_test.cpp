// Users (schemas), the owners of stored procedures, and triggers.

#include <gtest/gtest.h>

#include "support/WriterSupport.h"

using namespace pdmtest;

namespace {

// A catalog holding `schemas`, then the merged package Main with `elements`
// and `procedures`.
std::string withCatalog(const std::string& schemas, const std::string& elements,
                        const std::string& procedures) {
    return R"({"format": "orx-model", "version": 1, "name": "M", "packages": [
      {"kind": "catalog", "name": "DB", "packages": [)" +
           schemas + R"(]}, {"kind": "design", "name": "Main", "elements": [)" + elements +
           R"(], "storedProcedures": [)" + procedures + "]}]}";
}

}  // namespace

TEST(Users, EmptyNamesAreSkippedAndEqualNamesKept) {
    ExportResult out = exportJson(withCatalog(
        R"({"kind": "schema", "id": "e", "name": ""}, {"kind": "schema", "name": "Sales"},
           {"kind": "schema", "name": "Sales"})",
        R"({"kind": "class", "name": "T", "owner": "e"})",
        R"({"kind": "procedure", "name": "P1", "owner": "e"})"));
    EXPECT_EQ(canon(collection(out.document, "c:Users")),
              "<c:Users>\n<o:SPdoObjUser Id=\"o#1\">\n<a:Name>Sales</a:Name>\n"
              "<a:Code>Sales</a:Code>\n</o:SPdoObjUser>\n<o:SPdoObjUser Id=\"o#2\">\n"
              "<a:Name>Sales</a:Name>\n<a:Code>Sales</a:Code>\n</o:SPdoObjUser>\n</c:Users>");
    EXPECT_EQ(collection(elementNamed(out.document, "o:SPdoObjProc", "P1"), "c:PROC.Owner"),
              "<c:PROC.Owner>\n</c:PROC.Owner>");
    EXPECT_EQ(collection(elementNamed(out.document, "o:SPdoObjTabl", "T"), "c:Owner"),
              "<c:Owner>\n</c:Owner>");
}

TEST(Procedures, OwnerFromTheProcedureOrItsLinks) {
    ExportResult out = exportJson(withCatalog(
        R"({"kind": "schema", "id": "a", "name": "A"}, {"kind": "schema", "id": "b", "name": "B"},
           {"kind": "schema", "id": "c", "name": "C"})",
        R"({"kind": "class", "id": "tb", "name": "TB", "owner": "b"},
           {"kind": "class", "id": "tc", "name": "TC", "owner": "c"}, {"kind": "class", "id": "tn", "name": "TN"})",
        R"({"kind": "procedure", "name": "OWN", "owner": "a", "links": ["tb", "tc"]},
           {"kind": "procedure", "name": "LINK0", "links": ["tb", "tc"]},
           {"kind": "procedure", "name": "LINK1", "links": ["tn", "tc"]},
           {"kind": "procedure", "name": "NONE", "links": ["tn"]})"));
    const std::pair<const char*, const char*> cases[] = {
        {"OWN", "A"}, {"LINK0", "B"}, {"LINK1", "C"}, {"NONE", nullptr}};
    for (const auto& [procedure, owner] : cases) {
        SCOPED_TRACE(procedure);
        EXPECT_EQ(
            collection(elementNamed(out.document, "o:SPdoObjProc", procedure), "c:PROC.Owner"),
            owner
                ? "<c:PROC.Owner>\n<o:SPdoObjUser Ref=\"" +
                      idsNamed(out.document, "o:SPdoObjUser", owner).at(0) + "\"/>\n</c:PROC.Owner>"
                : "");
    }
}

TEST(Triggers, OneObjectPerEventTypedByTheTargetAndTiming) {
    struct Case {
        const char* target;
        int timing;
        std::vector<std::string> types;  // delete, update, insert; empty: no triggers
    } cases[] = {
        {"* MySQL 4", 0, {}},
        {"Microsoft SQL Server 2000", 0, {"D", "U", "I"}},
        {"Microsoft SQL Server 2000", 1, {"D", "U", "I"}},
        {"Auto Detect", 0, {"BD", "BU", "BI"}},
        {"Auto Detect", 1, {"AD", "AU", "AI"}},
        {"Auto Detect", 2, {"BD", "AU", "AI"}},
    };
    const char* suffixes[] = {"_DELETE", "_UPDATE", "_INSERT"};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.target) + " timing " + std::to_string(c.timing));
        ExportResult out = exportJson(mainModel(R"({"kind": "class", "name": "T", "operations": [
                {"kind": "trigger", "name": "TR", "comment": "C", "description": "D", "notes": ["N"],
                 "body": "B", "onInsert": true, "onUpdate": true, "onDelete": true, "timing": )" +
                                                std::to_string(c.timing) + R"(},
                {"kind": "trigger", "name": "NOEVENT", "body": "B"}]})"),
                                      {{"Target Database", c.target}});
        std::string expected = "<c:Triggers>\n";
        for (std::size_t i = 0; i < c.types.size(); ++i)
            expected += "<o:SPdoObjTrgr Id=\"o#" + std::to_string(i + 1) + "\">\n<a:Name>TR" +
                        suffixes[i] + "</a:Name>\n<a:Code>TR" + suffixes[i] +
                        "</a:Code>\n<a:Text>B</a:Text>\n<a:Labl>C</a:Labl>\n<a:Desc>D</a:Desc>\n"
                        "<a:TRGR.Type>" +
                        c.types[i] + "</a:TRGR.Type>\n<a:Note>N\n</a:Note>\n</o:SPdoObjTrgr>\n";
        EXPECT_EQ(canon(collection(out.document, "c:Triggers")), expected + "</c:Triggers>");
        EXPECT_EQ(occurrences(out.document, "NOEVENT"), 0);
    }
}
