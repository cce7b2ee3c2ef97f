// Diagrams and their table, reference and view symbols: rectangles, colours,
// display data and the order in which symbols are written.

#include <gtest/gtest.h>

#include "support/WriterSupport.h"

using namespace pdmtest;

namespace {

std::string diagramModel(const std::string& symbols, const std::string& extraElements = "") {
    return R"({"format": "orx-model", "version": 1, "name": "M", "packages": [
      {"kind": "design", "name": "Main", "elements": [
        {"kind": "class", "id": "p", "name": "P", "attributes": [{"id": "p.id", "name": "ID"}],
         "keys": [{"id": "p.pk", "name": "PK_P", "attributes": ["p.id"]}], "primaryKey": "p.pk"},
        {"kind": "class", "id": "c", "name": "C", "attributes": [{"id": "c.id", "name": "ID"}],
         "keys": [{"id": "fk", "kind": "foreign", "attributes": ["c.id"], "references": "p.pk"}]},
        {"kind": "association", "id": "r", "name": "R", "roles": [{"class": "p", "isSource": true},
          {"class": "c", "foreignKey": "fk"}]},
        {"kind": "view", "id": "v", "name": "V", "statement": "S"})" +
           extraElements + R"(],
      "diagrams": [{"name": "D", "symbols": [)" +
           symbols + "]}]}]}";
}

std::string between(const std::string& text, const std::string& open, const std::string& close) {
    std::size_t start = text.find(open);
    if (start == std::string::npos)
        return "<none>";
    start += open.size();
    return text.substr(start, text.find(close, start) - start);
}

std::string tableBlob(const char* font, const char* background, const char* line) {
    return std::string("02000000040000000A417269616C2C382C4E00") + font +
           "00050000000A41726961\r\n6C2C382C4E0000000000" + background + "10" + line +
           "0100000000C8C8C800C8C8C800";
}

}  // namespace

TEST(Symbols, ClippingRectangles) {
    struct Case {
        int x, y, width, height;
        const char* scaleX;
        const char* scaleY;
        const char* rectangle;
    } cases[] = {
        {100, 50, 80, 40, "100", "100", "((600,-600), (1400,-1400))"},
        {10, 10, 4, 4, "200", "50", "((160,-80), (240,-120))"},
        {0, 50, 80, 40, "200", "50", "((0,0), (4000,-4000))"},
        {100, 0, 80, 40, "100", "100", "((0,0), (4000,-4000))"},
        {100, 50, 5, 4, "100", "100", "((980,-960), (1020,-1040))"},
        {100, 50, -5, 4, "100", "100", "((1020,-960), (980,-1040))"},
        {-100, -50, 80, 40, "100", "100", "((-1400,1400), (-600,600))"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y) + " " +
                     std::to_string(c.width));
        std::string geometry = "\"x\": " + std::to_string(c.x) + ", \"y\": " + std::to_string(c.y) +
                               ", \"width\": " + std::to_string(c.width) +
                               ", \"height\": " + std::to_string(c.height);
        ExportResult out = exportJson(diagramModel(R"({"subject": "p", )" + geometry +
                                                   R"(}, {"subject": "v", )" + geometry + "}"),
                                      {{"Scale (in %) for X coordinates", c.scaleX},
                                       {"Scale (in %) for Y coordinates", c.scaleY}});
        for (const char* tag : {"<o:SPdmSymTabl Id=", "<o:SPdmSymView Id="}) {
            SCOPED_TRACE(tag);
            std::string symbol = out.document.substr(out.document.find(tag));
            EXPECT_EQ(between(symbol, "<a:ClipRect>", "</a:ClipRect>"), c.rectangle);
        }
    }
}

TEST(Symbols, ColoursAreSwappedSubstitutedAndMasked) {
    struct Case {
        const char* colours;
        const char* font;
        const char* background;
        const char* line;
    } cases[] = {
        {R"("backgroundColor": 660510, "lineColor": 660510, "fontColor": 660510)", "1E140A",
         "1E140A", "1E140A"},
        {R"("backgroundColor": 0, "lineColor": 0, "fontColor": 0)", "000000", "FFFFFF", "000000"},
        {R"("backgroundColor": 16777215, "lineColor": 16777215, "fontColor": 16777215)", "000000",
         "FFFFFF", "000100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colours);
        ExportResult out = exportJson(diagramModel(
            std::string(R"({"subject": "p", "x": 10, "y": 10, "width": 4, "height": 4, )") +
            c.colours + "}"));
        EXPECT_EQ(between(out.document, "<a:BlobData>", "</a:BlobData>"),
                  tableBlob(c.font, c.background, c.line));
    }
}

TEST(Symbols, ReferenceSymbolsComeFirstAndDefineTheTableSymbols) {
    ExportResult out = exportJson(diagramModel(
        R"({"subject": "p", "x": 10, "y": 10, "width": 4, "height": 4},
           {"subject": "c", "x": 20, "y": 20, "width": 4, "height": 4},
           {"subject": "r"})"));
    pugi::xml_document xml;
    xml.load_string(out.document.c_str());
    pugi::xml_node symbols = xml.select_node("//o:SPdmDiagram/c:Symbols").node();
    std::vector<std::string> order;
    for (pugi::xml_node symbol : symbols.children())
        order.push_back(std::string(symbol.name()) + (symbol.attribute("Ref") ? " Ref" : " Id"));
    EXPECT_EQ(order, (std::vector<std::string>{"o:SPdmSymRefr Id", "o:SPdmSymTabl Ref",
                                               "o:SPdmSymTabl Ref"}));
    pugi::xml_node reference = symbols.first_child();
    pugi::xml_node source = reference.child("c:LinkSrc").child("o:SPdmSymTabl");
    pugi::xml_node destination = reference.child("c:LinkDst").child("o:SPdmSymTabl");
    // The child table C is the source, the parent P the destination.
    EXPECT_STREQ(source.child("a:ClipRect").text().get(), "((180,-360), (220,-440))");
    EXPECT_STREQ(destination.child("a:ClipRect").text().get(), "((80,-160), (120,-240))");
    EXPECT_STREQ(source.child("c:Object").child("o:SPdoObjTabl").child("a:Name").text().get(), "C");
    // The second pass refers to them in the diagram's order: P, then C.
    EXPECT_STREQ(reference.next_sibling().attribute("Ref").value(),
                 destination.attribute("Id").value());
    EXPECT_STREQ(reference.next_sibling().next_sibling().attribute("Ref").value(),
                 source.attribute("Id").value());

    std::string text = out.document.substr(out.document.find("<o:SPdmSymRefr Id="));
    EXPECT_EQ(between(text, "<a:BlobData>", "</a:BlobData>"),
              "0100000001000000000000000A417269616C2C382C4E00000000000000000100\r\n000000C8C8C800C8"
              "C8C800");
    EXPECT_NE(
        text.find(
            ">\n<a:ClipRect>((0,0),(4000,-4000))</a:ClipRect>\n"
            "<a:ListPt>((0,0),(4000,-4000))</a:ListPt>\n<a:Arrows>1</a:Arrows>\n<a:BlobData>"),
        std::string::npos);
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
    std::string symbols = canon(collection(out.document, "c:Symbols"));
    EXPECT_EQ(
        symbols,
        "<c:Symbols>\n<o:SPdmSymView Id=\"o#1\">\n<a:ClipRect>((80,-160), "
        "(120,-240))</a:ClipRect>\n"
        "<a:BlobData>03000000040000000A417269616C2C382C4E0000000000050000000A41726961\r\n"
        "6C2C382C4E0000000000050000000A417269616C2C382C4E0000000000FFFFFF\r\n"
        "100000000100000000C8C8C800C8C8C800</a:BlobData>\n<c:Object>\n"
        "<o:SPdoObjView Id=\"o#2\">\n<a:Name>V</a:Name>\n<a:Code>V</a:Code>\n<a:SQL>S</a:SQL>\n"
        "<c:VIEW.Owner>\n</c:VIEW.Owner>\n<c:ViewColns>\n</c:ViewColns>\n</o:SPdoObjView>\n</"
        "c:Object>\n</o:SPdmSymView>\n</c:Symbols>");
}

TEST(Symbols, ColoursOutsideTwentyFourBitsAreMasked) {
    struct Case {
        int model;
        int blob;
    } cases[] = {
        {0x0A141E, 0x1E140A}, {0x1000000A, 0x0A0000}, {-1, 0xFFFFFF}, {0x7F123456, 0x563412}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        EXPECT_EQ(ORXSybasePowerDesignerPdm08ExportBridge::toBlobColor(c.model), c.blob);
    }
}
