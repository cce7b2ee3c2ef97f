// Users (schemas), stored procedures with their owners, and triggers.

#include <gtest/gtest.h>

#include "support/WriterSupport.h"

using namespace pdmtest;

namespace {

std::string withCatalog(const std::string& schemas, const std::string& design) {
    return R"({"format": "orx-model", "version": 1, "name": "M", "packages": [
      {"kind": "catalog", "name": "DB", "packages": [)" +
           schemas + "]}, " + design + "]}";
}

}  // namespace

TEST(Users, EmptyNamesAreSkippedAndEqualNamesKept) {
    ExportResult out = exportJson(withCatalog(
        R"({"kind": "schema", "id": "e", "name": ""}, {"kind": "schema", "id": "s1", "name": "Sales"},
           {"kind": "schema", "id": "s2", "name": "Sales"})",
        R"({"kind": "design", "name": "Main", "elements": [
             {"kind": "class", "name": "T", "owner": "e"}],
           "storedProcedures": [{"kind": "procedure", "name": "P1", "owner": "e", "body": "BEGIN END"}]})"));
    EXPECT_EQ(
        canon(collection(out.document, "c:Users")),
        "<c:Users>\n<o:SPdoObjUser Id=\"o#1\">\n<a:Name>Sales</a:Name>\n<a:Code>Sales</a:Code>\n"
        "</o:SPdoObjUser>\n<o:SPdoObjUser "
        "Id=\"o#2\">\n<a:Name>Sales</a:Name>\n<a:Code>Sales</a:Code>\n"
        "</o:SPdoObjUser>\n</c:Users>");
    EXPECT_EQ(canon(elementNamed(out.document, "o:SPdoObjProc", "P1")),
              "<o:SPdoObjProc Id=\"o#1\">\n<a:Name>P1</a:Name>\n<a:Code>P1</a:Code>\n"
              "<a:PROC.Text>BEGIN "
              "END</a:PROC.Text>\n<c:PROC.Owner>\n</c:PROC.Owner>\n</o:SPdoObjProc>\n");
    EXPECT_EQ(collection(elementNamed(out.document, "o:SPdoObjTabl", "T"), "c:Owner"),
              "<c:Owner>\n</c:Owner>");
}

TEST(Users, SchemaFirstMetAsOwnerInsideAPackageIsReferencedFromTheModel) {
    ExportResult out = exportJson(
        withCatalog(R"({"kind": "schema", "id": "s", "name": "APP", "physicalName": "X"})",
                    R"({"kind": "design", "name": "Main", "elements": [], "packages": [
           {"kind": "design", "name": "P", "elements": [{"kind": "class", "name": "T", "owner": "s"}]}]})"));
    std::string user = idsNamed(out.document, "o:SPdoObjUser", "APP").at(0);
    EXPECT_EQ(canon(collection(elementNamed(out.document, "o:SPdoObjTabl", "T"), "c:Owner")),
              "<c:Owner>\n<o:SPdoObjUser Id=\"o#1\">\n<a:Name>APP</a:Name>\n<a:Code>APP</a:Code>\n"
              "</o:SPdoObjUser>\n</c:Owner>");
    EXPECT_EQ(collection(out.document, "c:Users"),
              "<c:Users>\n<o:SPdoObjUser Ref=\"" + user + "\"/>\n</c:Users>");
}

TEST(Procedures, OwnerFromTheProcedureOrItsLinks) {
    ExportResult out = exportJson(withCatalog(
        R"({"kind": "schema", "id": "a", "name": "A"}, {"kind": "schema", "id": "b", "name": "B"},
           {"kind": "schema", "id": "c", "name": "C"})",
        R"({"kind": "design", "name": "Main", "elements": [
             {"kind": "class", "id": "tb", "name": "TB", "owner": "b"},
             {"kind": "class", "id": "tc", "name": "TC", "owner": "c"},
             {"kind": "class", "id": "tn", "name": "TN"}],
           "storedProcedures": [
             {"kind": "procedure", "name": "OWN", "owner": "a", "links": ["tb", "tc"]},
             {"kind": "procedure", "name": "LINK0", "links": ["tb", "tc"]},
             {"kind": "procedure", "name": "LINK1", "links": ["tn", "tc"]},
             {"kind": "procedure", "name": "NONE", "links": ["tn"]}]})"));
    struct Case {
        const char* procedure;
        const char* owner;  // null: no c:PROC.Owner
    } cases[] = {{"OWN", "A"}, {"LINK0", "B"}, {"LINK1", "C"}, {"NONE", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.procedure);
        std::string owner =
            collection(elementNamed(out.document, "o:SPdoObjProc", c.procedure), "c:PROC.Owner");
        EXPECT_EQ(owner, c.owner ? "<c:PROC.Owner>\n<o:SPdoObjUser Ref=\"" +
                                       idsNamed(out.document, "o:SPdoObjUser", c.owner).at(0) +
                                       "\"/>\n</c:PROC.Owner>"
                                 : "");
    }
}

TEST(Procedures, ClassProcedureOfAMergedPackageIsDefinedInTheModel) {
    ExportResult out =
        exportJson(R"({"format": "orx-model", "version": 1, "name": "M", "packages": [
      {"kind": "design", "name": "Main",
       "storedProcedures": [{"kind": "procedure", "name": "FIRST"}],
       "elements": [{"kind": "class", "name": "T", "comment": "c", "operations": [
         {"kind": "procedure", "name": "OP", "comment": "C", "description": "D", "notes": ["N"], "body": "B"}]}]}]})");
    std::string id = idsNamed(out.document, "o:SPdoObjProc", "OP").at(0);
    EXPECT_EQ(
        canon(collection(out.document, "c:Procedures")),
        "<c:Procedures>\n<o:SPdoObjProc "
        "Id=\"o#1\">\n<a:Name>FIRST</a:Name>\n<a:Code>FIRST</a:Code>\n"
        "</o:SPdoObjProc>\n<o:SPdoObjProc Id=\"o#2\">\n<a:Name>OP</a:Name>\n<a:Code>OP</a:Code>\n"
        "<a:Labl>C</a:Labl>\n<a:Desc>D</a:Desc>\n<a:Note>N\n</a:Note>\n<a:PROC.Text>B</"
        "a:PROC.Text>\n"
        "</o:SPdoObjProc>\n</c:Procedures>");
    EXPECT_EQ(collection(elementNamed(out.document, "o:SPdoObjTabl", "T"), "c:TABL.Procedures"),
              "<c:TABL.Procedures>\n<o:SPdoObjProc Ref=\"" + id + "\"/>\n</c:TABL.Procedures>");
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
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.target) + " timing " + std::to_string(c.timing));
        ExportResult out = exportJson(
            R"({"format": "orx-model", "version": 1, "name": "M", "packages": [
              {"kind": "design", "name": "Main", "elements": [{"kind": "class", "name": "T", "operations": [
                {"kind": "trigger", "name": "TR", "comment": "C", "description": "D", "notes": ["N"], "body": "B",
                 "onInsert": true, "onUpdate": true, "onDelete": true, "timing": )" +
                std::to_string(c.timing) + R"(},
                {"kind": "trigger", "name": "NOEVENT", "body": "B"}]}]}]})",
            {{"Target Database", c.target}});
        std::string expected = "<c:Triggers>\n";
        const char* suffixes[] = {"_DELETE", "_UPDATE", "_INSERT"};
        for (std::size_t i = 0; i < c.types.size(); ++i)
            expected += "<o:SPdoObjTrgr Id=\"o#" + std::to_string(i + 1) + "\">\n<a:Name>TR" +
                        suffixes[i] + "</a:Name>\n<a:Code>TR" + suffixes[i] +
                        "</a:Code>\n<a:Text>B</a:Text>\n<a:Labl>C</a:Labl>\n<a:Desc>D</"
                        "a:Desc>\n<a:TRGR.Type>" +
                        c.types[i] + "</a:TRGR.Type>\n<a:Note>N\n</a:Note>\n</o:SPdoObjTrgr>\n";
        expected += "</c:Triggers>";
        EXPECT_EQ(canon(collection(out.document, "c:Triggers")), expected);
        EXPECT_EQ(occurrences(out.document, "NOEVENT"), 0);
    }
}
