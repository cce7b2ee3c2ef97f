// Views: their SQL text, owner, columns, the rename warning, and view
// columns with their sources.

#include <gtest/gtest.h>

#include "support/WriterSupport.h"

using namespace pdmtest;

namespace {

std::string withElements(const std::string& elements, const std::string& diagrams = "") {
    return R"({"format": "orx-model", "version": 1, "name": "M",
      "packages": [{"kind": "design", "name": "Main", "elements": [
        {"kind": "class", "id": "t", "name": "T", "physicalName": "T",
         "attributes": [{"id": "a", "name": "A", "physicalName": "A"}, {"id": "h", "name": "H", "levelCode": 1}]},)" +
           elements + "]" + (diagrams.empty() ? "" : ", \"diagrams\": [" + diagrams + "]") + "}]}";
}

const std::string kWarning = "View 'V' might be inconsistent if objects have been renamed";

}  // namespace

TEST(Views, StoredSqlKindsDecideWhetherColumnsAreWritten) {
    for (int kind : {0, 1, 2, 7}) {
        SCOPED_TRACE(kind);
        ExportResult out = exportJson(withElements(
            R"({"kind": "view", "name": "V", "statement": "SELECT A FROM T", "statementKind": )" +
            std::to_string(kind) + R"(, "columns": [{"name": "VC", "source": "a"}]})"));
        std::string view = elementNamed(out.document, "o:SPdoObjView", "V");
        const std::string columns =
            kind == 1 ? "<c:ViewColns>\n<o:SPdoObjViewColn Id=\"o#2\">\n"
                        "<a:Name>VC</a:Name>\n<a:Code>VC</a:Code>\n<c:VIEWC.Columns>\n"
                        "<o:SPdoObjColn Ref=\"o#3\"/>\n</c:VIEWC.Columns>\n"
                        "</o:SPdoObjViewColn>\n</c:ViewColns>\n"
                      : "";
        EXPECT_EQ(canon(view),
                  "<o:SPdoObjView Id=\"o#1\">\n<a:Name>V</a:Name>\n<a:Code>V</a:Code>\n"
                  "<a:SQL>SELECT A FROM T</a:SQL>\n<c:VIEW.Owner>\n</c:VIEW.Owner>\n" +
                      columns + "</o:SPdoObjView>\n");
        EXPECT_EQ(out.count(kWarning), 1);
    }
}

TEST(Views, WithoutStoredSqlTheStatementIsGeneratedAndColumnsWritten) {
    ExportResult out = exportJson(withElements(
        R"({"kind": "view", "name": "V", "statementKind": 0, "columns": [{"name": "VC", "physicalName": "A", "source": "a"}]})"));
    std::string view = elementNamed(out.document, "o:SPdoObjView", "V");
    EXPECT_NE(view.find("\n<a:SQL>SELECT T.A FROM T</a:SQL>\n<c:VIEW.Owner>\n"), std::string::npos)
        << view;
    EXPECT_NE(view.find("<c:ViewColns>\n<o:SPdoObjViewColn Id="), std::string::npos);

    // Nothing to select from: no a:SQL at all, the rest complete.
    out = exportJson(withElements(R"({"kind": "view", "name": "V", "columns": [{"name": "VC"}]})"));
    EXPECT_EQ(canon(elementNamed(out.document, "o:SPdoObjView", "V")),
              "<o:SPdoObjView Id=\"o#1\">\n<a:Name>V</a:Name>\n<a:Code>V</a:Code>\n"
              "<c:VIEW.Owner>\n</c:VIEW.Owner>\n<c:ViewColns>\n<o:SPdoObjViewColn Id=\"o#2\">\n"
              "<a:Name>VC</a:Name>\n<a:Code>VC</a:Code>\n</o:SPdoObjViewColn>\n</c:ViewColns>\n"
              "</o:SPdoObjView>\n");
    EXPECT_EQ(out.count(kWarning), 1);
}

TEST(Views, WarningOnlyForTheFullViewNotForItsReferences) {
    ExportResult out = exportJson(withElements(
        R"({"kind": "view", "id": "v", "name": "V", "statement": "S"})",
        R"({"name": "D1", "symbols": [{"subject": "v", "x": 5, "y": 5, "width": 2, "height": 2}]},
                        {"name": "D2", "symbols": [{"subject": "v", "x": 5, "y": 5, "width": 2, "height": 2}]})"));
    EXPECT_EQ(out.count(kWarning), 1);
    EXPECT_EQ(occurrences(out.document, "<o:SPdoObjView Id="), 1);
    EXPECT_EQ(occurrences(out.document, "<o:SPdoObjView Ref="), 2);
    // The full view stands in the first diagram, before the model's c:Views.
    EXPECT_LT(out.document.find("<o:SPdoObjView Id="), out.document.find("<c:Views>"));
}

TEST(Views, ViewColumnChainsThatLoopEndInAReference) {
    struct Case {
        const char* columns;
        const char* expected;
    } cases[] = {
        // (The model refuses a view column as its own source, so the
        // shortest loop has two columns.)
        {R"([{"id": "x", "name": "X", "source": "y"}, {"id": "y", "name": "Y", "source": "x"}])",
         "<c:ViewColns>\n<o:SPdoObjViewColn Id=\"o#1\">\n<a:Name>X</a:Name>\n<a:Code>X</a:Code>\n"
         "<c:VIEWC.Columns>\n<o:SPdoObjViewColn "
         "Id=\"o#2\">\n<a:Name>Y</a:Name>\n<a:Code>Y</a:Code>\n"
         "<c:VIEWC.Columns>\n<o:SPdoObjViewColn "
         "Ref=\"o#1\"/>\n</c:VIEWC.Columns>\n</o:SPdoObjViewColn>\n"
         "</c:VIEWC.Columns>\n</o:SPdoObjViewColn>\n<o:SPdoObjViewColn "
         "Ref=\"o#2\"/>\n</c:ViewColns>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columns);
        ExportResult out = exportJson(withElements(
            std::string(R"({"kind": "view", "name": "V", "statement": "S", "columns": )") +
            c.columns + "}"));
        EXPECT_EQ(canon(collection(out.document, "c:ViewColns")), c.expected);
    }
}

TEST(Views, ViewColumnSourcesAndNames) {
    ExportResult out =
        exportJson(withElements(R"({"kind": "view", "name": "V", "statement": "S", "columns": [
        {"name": "HIDDEN_SOURCE", "source": "h"}, {"name": "", "physicalName": "PHYS"}]})"));
    std::string columns = canon(collection(out.document, "c:ViewColns"));
    EXPECT_EQ(columns,
              "<c:ViewColns>\n<o:SPdoObjViewColn Id=\"o#1\">\n<a:Name>HIDDEN_SOURCE</a:Name>\n"
              "<a:Code>HIDDEN_SOURCE</a:Code>\n<c:VIEWC.Columns>\n</c:VIEWC.Columns>\n</"
              "o:SPdoObjViewColn>\n"
              "<o:SPdoObjViewColn Id=\"o#2\">\n<a:Code>PHYS</a:Code>\n</o:SPdoObjViewColn>\n"
              "</c:ViewColns>");
}

TEST(Views, OwnerIsWrittenAsAUser) {
    std::string json = R"({"format": "orx-model", "version": 1, "name": "M", "packages": [
      {"kind": "catalog", "name": "DB", "packages": [{"kind": "schema", "id": "s", "name": "APP"}]},
      {"kind": "design", "name": "Main", "elements": [
        {"kind": "view", "name": "V", "statement": "S", "owner": "s"},
        {"kind": "view", "name": "W", "statement": "S"}]}]})";
    ExportResult out = exportJson(json);
    std::string user = idsNamed(out.document, "o:SPdoObjUser", "APP").at(0);
    EXPECT_EQ(collection(elementNamed(out.document, "o:SPdoObjView", "V"), "c:VIEW.Owner"),
              "<c:VIEW.Owner>\n<o:SPdoObjUser Ref=\"" + user + "\"/>\n</c:VIEW.Owner>");
    EXPECT_EQ(collection(elementNamed(out.document, "o:SPdoObjView", "W"), "c:VIEW.Owner"),
              "<c:VIEW.Owner>\n</c:VIEW.Owner>");
}
