// Diagram symbols of tables, references and views: rectangles, colours and
// display data.

#include <gtest/gtest.h>

#include "support/WriterSupport.h"

using namespace pdmtest;

namespace {

std::string diagramModel(const std::string& symbols) {
    return mainModel(R"(
        {"kind": "class", "id": "p", "name": "P", "attributes": [{"id": "p.id", "name": "ID"}],
         "keys": [{"id": "p.pk", "name": "PK_P", "attributes": ["p.id"]}], "primaryKey": "p.pk"},
        {"kind": "class", "id": "c", "name": "C", "attributes": [{"id": "c.id", "name": "ID"}],
         "keys": [{"id": "fk", "kind": "foreign", "attributes": ["c.id"], "references": "p.pk"}]},
        {"kind": "association", "id": "r", "name": "R", "roles": [{"class": "p", "isSource": true},
          {"class": "c", "foreignKey": "fk"}]},
        {"kind": "view", "id": "v", "name": "V", "statement": "S"})",
                     R"(, "diagrams": [{"name": "D", "symbols": [)" + symbols + "]}]");
}

std::string between(const std::string& text, const std::string& open, const std::string& close) {
    std::size_t start = text.find(open);
    if (start == std::string::npos)
        return "<none>";
    start += open.size();
    return text.substr(start, text.find(close, start) - start);
}

}  // namespace

TEST(Symbols, ClippingRectangles) {
    struct Case {
        const char* geometry;
        const char* scale;  // x and y, in percent
        const char* rectangle;
    } cases[] = {
        {R"("x": 100, "y": 50, "width": 80, "height": 40)", "100", "((600,-600), (1400,-1400))"},
        {R"("x": 10, "y": 10, "width": 4, "height": 4)", "200/50", "((160,-80), (240,-120))"},
        {R"("x": 0, "y": 50, "width": 80, "height": 40)", "200/50", "((0,0), (4000,-4000))"},
        {R"("x": 100, "y": 0, "width": 80, "height": 40)", "100", "((0,0), (4000,-4000))"},
        {R"("x": 100, "y": 50, "width": 5, "height": 4)", "100", "((980,-960), (1020,-1040))"},
        {R"("x": 100, "y": 50, "width": -5, "height": 4)", "100", "((1020,-960), (980,-1040))"},
        {R"("x": -100, "y": -50, "width": 80, "height": 40)", "100", "((-1400,1400), (-600,600))"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.geometry);
        const bool skewed = std::string(c.scale) == "200/50";
        ExportResult out =
            exportJson(diagramModel(std::string(R"({"subject": "p", )") + c.geometry +
                                    R"(}, {"subject": "v", )" + c.geometry + "}"),
                       {{"Scale (in %) for X coordinates", skewed ? "200" : "100"},
                        {"Scale (in %) for Y coordinates", skewed ? "50" : "100"}});
        for (const char* tag : {"<o:SPdmSymTabl Id=", "<o:SPdmSymView Id="})
            EXPECT_EQ(between(out.document.substr(out.document.find(tag)), "<a:ClipRect>",
                              "</a:ClipRect>"),
                      c.rectangle)
                << tag;
    }
}

TEST(Symbols, ColoursAreSwappedAndSubstituted) {
    struct Case {
        int colour;  // background, line and font alike
        const char *font, *background, *line;
    } cases[] = {{660510, "1E140A", "1E140A", "1E140A"},
                 {0, "000000", "FFFFFF", "000000"},
                 {16777215, "000000", "FFFFFF", "000100"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colour);
        const std::string colour = std::to_string(c.colour);
        ExportResult out = exportJson(diagramModel(
            R"({"subject": "p", "x": 10, "y": 10, "width": 4, "height": 4, "backgroundColor": )" +
            colour + R"(, "lineColor": )" + colour + R"(, "fontColor": )" + colour + "}"));
        EXPECT_EQ(between(out.document, "<a:BlobData>", "</a:BlobData>"),
                  std::string("02000000040000000A417269616C2C382C4E00") + c.font +
                      "00050000000A41726961\r\n6C2C382C4E0000000000" + c.background + "10" +
                      c.line + "0100000000C8C8C800C8C8C800");
    }
}

TEST(Symbols, ReferenceWhoseChildTableIsNotShownHasAnEmptySource) {
    ExportResult out = exportJson(diagramModel(
        R"({"subject": "r"}, {"subject": "p", "x": 10, "y": 10, "width": 4, "height": 4})"));
    std::string reference = out.document.substr(out.document.find("<o:SPdmSymRefr Id="));
    EXPECT_EQ(collection(reference, "c:LinkSrc"), "<c:LinkSrc>\n</c:LinkSrc>");
    EXPECT_EQ(collection(reference, "c:LinkDst").find("<c:LinkDst>\n<o:SPdmSymTabl Id="), 0u);
}

TEST(Symbols, DiagramOfViewsOnly) {
    ExportResult out =
        exportJson(diagramModel(R"({"subject": "v", "x": 10, "y": 10, "width": 4, "height": 4})"));
    EXPECT_EQ(canon(collection(out.document, "c:Symbols")),
              "<c:Symbols>\n<o:SPdmSymView Id=\"o#1\">\n"
              "<a:ClipRect>((80,-160), (120,-240))</a:ClipRect>\n"
              "<a:BlobData>03000000040000000A417269616C2C382C4E0000000000050000000A41726961\r\n"
              "6C2C382C4E0000000000050000000A417269616C2C382C4E0000000000FFFFFF\r\n"
              "100000000100000000C8C8C800C8C8C800</a:BlobData>\n<c:Object>\n"
              "<o:SPdoObjView Id=\"o#2\">\n<a:Name>V</a:Name>\n<a:Code>V</a:Code>\n"
              "<a:SQL>S</a:SQL>\n<c:VIEW.Owner>\n</c:VIEW.Owner>\n<c:ViewColns>\n</c:ViewColns>\n"
              "</o:SPdoObjView>\n</c:Object>\n</o:SPdmSymView>\n</c:Symbols>");
}
