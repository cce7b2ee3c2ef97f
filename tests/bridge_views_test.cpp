// Views: their SQL text, columns and the rename warning.

#include <gtest/gtest.h>

#include "support/WriterSupport.h"

using namespace pdmtest;

namespace {

// Table T with column A (id "a") and view `view` in the merged package.
std::string withView(const std::string& view, const std::string& packageExtra = "") {
    return mainModel(R"({"kind": "class", "id": "t", "name": "T", "physicalName": "T",
        "attributes": [{"id": "a", "name": "A", "physicalName": "A"}]}, )" +
                         view,
                     packageExtra);
}

const std::string kWarning = "View 'V' might be inconsistent if objects have been renamed";
const std::string kStart = "<o:SPdoObjView Id=\"o#1\">\n<a:Name>V</a:Name>\n<a:Code>V</a:Code>\n";

}  // namespace

TEST(Views, StatementKindDecidesTheSqlAndWhetherColumnsAreWritten) {
    const std::string columns =
        "<c:ViewColns>\n<o:SPdoObjViewColn Id=\"o#2\">\n<a:Name>VC</a:Name>\n<a:Code>A</a:Code>\n"
        "<c:VIEWC.Columns>\n<o:SPdoObjColn Ref=\"o#3\"/>\n</c:VIEWC.Columns>\n"
        "</o:SPdoObjViewColn>\n</c:ViewColns>\n";
    struct Case {
        const char* view;  // members after the name
        std::string expected;
    } cases[] = {
        {R"("statement": "SELECT A FROM T", "statementKind": 0)",
         "<a:SQL>SELECT A FROM T</a:SQL>\n<c:VIEW.Owner>\n</c:VIEW.Owner>\n"},
        {R"("statement": "SELECT A FROM T", "statementKind": 1)",
         "<a:SQL>SELECT A FROM T</a:SQL>\n<c:VIEW.Owner>\n</c:VIEW.Owner>\n" + columns},
        {R"("statement": "SELECT A FROM T", "statementKind": 2)",
         "<a:SQL>SELECT A FROM T</a:SQL>\n<c:VIEW.Owner>\n</c:VIEW.Owner>\n"},
        {R"("statementKind": 0)",
         "<a:SQL>SELECT T.A FROM T</a:SQL>\n<c:VIEW.Owner>\n</c:VIEW.Owner>\n" + columns},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.view);
        ExportResult out = exportJson(
            withView(std::string(R"({"kind": "view", "name": "V", )") + c.view +
                     R"(, "columns": [{"name": "VC", "physicalName": "A", "source": "a"}]})"));
        EXPECT_EQ(canon(elementNamed(out.document, "o:SPdoObjView", "V")),
                  kStart + c.expected + "</o:SPdoObjView>\n");
        EXPECT_EQ(out.count(kWarning), 1);
    }
    // Nothing to select from: no a:SQL at all.
    ExportResult out =
        exportJson(withView(R"({"kind": "view", "name": "V", "columns": [{"name": "VC"}]})"));
    EXPECT_EQ(canon(elementNamed(out.document, "o:SPdoObjView", "V")),
              kStart +
                  "<c:VIEW.Owner>\n</c:VIEW.Owner>\n<c:ViewColns>\n<o:SPdoObjViewColn Id=\"o#2\">\n"
                  "<a:Name>VC</a:Name>\n<a:Code>VC</a:Code>\n</o:SPdoObjViewColn>\n"
                  "</c:ViewColns>\n</o:SPdoObjView>\n");
}

TEST(Views, WarningOnlyForTheFullViewNotForItsReferences) {
    const std::string symbol = R"({"subject": "v", "x": 5, "y": 5, "width": 2, "height": 2})";
    ExportResult out =
        exportJson(withView(R"({"kind": "view", "id": "v", "name": "V", "statement": "S"})",
                            R"(, "diagrams": [{"name": "D1", "symbols": [)" + symbol +
                                R"(]}, {"name": "D2", "symbols": [)" + symbol + "]}]"));
    EXPECT_EQ(out.count(kWarning), 1);
    EXPECT_EQ(occurrences(out.document, "<o:SPdoObjView Id="), 1);
    EXPECT_EQ(occurrences(out.document, "<o:SPdoObjView Ref="), 2);
}

TEST(Views, ViewColumnChainsThatLoopEndInAReference) {
    // The model refuses a view column as its own source: the shortest loop has two columns.
    ExportResult out = exportJson(withView(R"({"kind": "view", "name": "V", "statement": "S",
        "columns": [{"id": "x", "name": "X", "source": "y"}, {"id": "y", "name": "Y", "source": "x"}]})"));
    EXPECT_EQ(canon(collection(out.document, "c:ViewColns")),
              "<c:ViewColns>\n<o:SPdoObjViewColn Id=\"o#1\">\n<a:Name>X</a:Name>\n"
              "<a:Code>X</a:Code>\n<c:VIEWC.Columns>\n<o:SPdoObjViewColn Id=\"o#2\">\n"
              "<a:Name>Y</a:Name>\n<a:Code>Y</a:Code>\n<c:VIEWC.Columns>\n"
              "<o:SPdoObjViewColn Ref=\"o#1\"/>\n</c:VIEWC.Columns>\n</o:SPdoObjViewColn>\n"
              "</c:VIEWC.Columns>\n</o:SPdoObjViewColn>\n<o:SPdoObjViewColn Ref=\"o#2\"/>\n"
              "</c:ViewColns>");
}
