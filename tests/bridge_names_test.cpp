// Exported names and codes (sanitised, unique ignoring case for tables and
// domains), and the bytes the emission operations write with and without
// indentation.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "support/DriverSupport.h"

using namespace pdmtest;

namespace {

const int kTable = ORX_ET_CLASS;
const int kColumn = ORX_ET_ATTRIBUTE;
const int kDomain = ORX_ET_DERIVED_TYPE;

// One object to name: element type, name, physical name, expected name and code.
struct Named {
    int type;
    std::string name, physicalName, expectedName, expectedCode;
};

std::unique_ptr<ORXElement> makeObject(int type) {
    if (type == kColumn)
        return std::make_unique<ORXAttribute>();
    if (type == kDomain)
        return std::make_unique<ORXDerivedType>();
    if (type == ORX_ET_ASSOCIATION)
        return std::make_unique<ORXAssociation>();
    return std::make_unique<ORXClass>();
}

// Names the objects in order on one bridge, then renames them to check that
// the results were computed once.
void expectNames(const std::vector<Named>& objects) {
    RecordingLog log;
    ORXSybasePowerDesignerPdm08ExportBridge bridge(&log);
    std::vector<std::unique_ptr<ORXElement>> made;
    for (const Named& n : objects) {
        made.push_back(makeObject(n.type));
        made.back()->setName(ORXString(n.name.c_str()));
        made.back()->setPhysicalName(ORXString(n.physicalName.c_str()));
    }
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < objects.size(); ++i) {
            SCOPED_TRACE("object " + std::to_string(i) + " pass " + std::to_string(pass));
            EXPECT_EQ(bridge.getExportName(made[i].get()).str(), objects[i].expectedName);
            EXPECT_EQ(bridge.getExportCode(made[i].get()).str(), objects[i].expectedCode);
            made[i]->setName("renamed");
            made[i]->setPhysicalName("RENAMED");
        }
    }
}

TEST(ExportNames, SanitisedAndUniqueForTablesAndDomains) {
    const std::vector<std::vector<Named>> scenarios = {
        {{kTable, "Customer", "", "Customer", "Customer"},
         {kTable, "CUSTOMER", "", "CUSTOMER_1", "CUSTOMER_1"}},
        {{kTable, "A-B", "", "A_B", "A_B"},
         {kTable, "A.B", "", "A_B_1", "A_B_1"},
         {kTable, "A_B", "", "A_B_2", "A_B_2"}},
        {{kTable, "T_1", "", "T_1", "T_1"},
         {kTable, "T", "", "T", "T"},
         {kTable, "T", "", "T_2", "T_2"}},
        {{kTable, "X", "Y", "X", "Y"},
         {kTable, "X_1", "Z", "X_1", "Z"},
         {kTable, "X", "Y", "X_2", "Y_1"}},
        {{kColumn, "X", "", "X", "X"}, {kColumn, "x", "", "x", "x"}},
        {{kDomain, "Amount", "", "Amount", "Amount"},
         {kTable, "Amount", "", "Amount", "Amount"},
         {kDomain, "AMOUNT", "AMT", "AMOUNT_1", "AMT"},
         {kDomain, "Total", "amt", "Total", "amt_1"}},
        {{kTable, "", "EMP-NO", "EMP_NO", "EMP_NO"}, {kColumn, "", "EMP-NO", "EMP_NO", "EMP_NO"}},
        {{kColumn, "Total %", "", "Total %", "Total__"}},
        {{kColumn, "a+b-c*d/e\\f.g,h!i:j;k", "", "a_b_c_d_e_f_g_h_i_j_k", "a_b_c_d_e_f_g_h_i_j_k"}},
        {{kColumn, "x y(z)'\"<&>", "", "x y(z)'\"<&>", "x_y_z______"}},
        {{kTable, "Caf\xC3\xA9-1", "", "Caf\xC3\xA9_1", "Caf\xC3\xA9_1"}},
        // Unnamed objects: their type and identifier.
        {{kTable, "", "", "Class_1", "Class_1"},
         {kColumn, "", "", "Attribute_2", "Attribute_2"},
         {ORX_ET_ASSOCIATION, "", "", "Association_3", "Association_3"}},
    };
    for (std::size_t i = 0; i < scenarios.size(); ++i) {
        SCOPED_TRACE("scenario " + std::to_string(i) + " '" + scenarios[i][0].name + "'");
        expectNames(scenarios[i]);
    }
}

// Writes a small nested document through every emission operation.
// The names and codes written straight from the model's texts (those of
// objects other than tables and domains) are converted for XML exactly when
// they hold what XML converts, before or after replacing.
TEST(ExportNames, WrittenNamesAndCodesAreConvertedForXmlWhenTheyNeedIt) {
    struct Case {
        std::string name, physicalName, expectedName, expectedCode;
    } cases[] = {
        {"ABC", "", "ABC", "ABC"},
        {"A&B", "", "A&amp;B", "A_B"},
        {"R<1>", "R1", "R&lt;1&gt;", "R1"},
        {"N", "C\"D", "N", "C_D"},
        {"Prix \xE2\x82\xAC", "", "Prix \xE2\x82\xAC", "Prix_\xE2\x82\xAC"},
        {"X\xFFY", "", "X\xEF\xBF\xBDY", "X\xEF\xBF\xBDY"},
        {"A.B", "P\xFFQ", "A_B", "P\xEF\xBF\xBDQ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " / " + c.physicalName);
        WriterCapture capture;
        ORXAttribute column;
        ORXAssociation reference;
        for (ORXElement* object :
             {static_cast<ORXElement*>(&column), static_cast<ORXElement*>(&reference)}) {
            object->setName(ORXString(c.name.c_str()));
            object->setPhysicalName(ORXString(c.physicalName.c_str()));
        }
        capture.bridge.printNameAndCode(&column);
        capture.bridge.printExportCode("a:Fkcn", &reference);
        EXPECT_EQ(capture.take(), "<a:Name>" + c.expectedName + "</a:Name>\n<a:Code>" +
                                      c.expectedCode + "</a:Code>\n<a:Fkcn>" + c.expectedCode +
                                      "</a:Fkcn>\n");
    }
}

std::string emitSample(const std::string& unit) {
    WriterCapture capture;
    ORXSybasePowerDesignerPdm08ExportBridge& w = capture.bridge;
    w.setIndentUnit(ORXString(unit.c_str()));
    w.nextObjectId = 20;
    w.printCollectionStart("Model xmlns:a=\"attribute\"");
    w.printObjectStart("o:SRepRootObject", 3);
    w.printCollectionStart("c:Children");
    w.printObjectRef("o:Table", "Ref", 12);
    w.printAttribute("a:Name", ORXString("R&D <1>"), true);
    w.printAttribute("a:Skipped", ORXString(""), true);
    w.printAttribute("a:Kept", ORXString(""), false);
    w.printAttribute("a:Text", "a\"b\n");
    w.printIntegerAttribute("a:OID", 12, true);
    w.printIntegerAttribute("a:Count", -5, false);
    w.printObjectStart("o:Table", 0);
    w.printLine("raw line");
    w.printElementEnd("o:Table");
    w.printElementEnd("c:Children");
    w.printElementEnd("o:SRepRootObject");
    w.printElementEnd("Model");
    w.printElementEnd("Extra");  // one end too many: the indentation stays empty
    w.printAttribute("a:After", "x");
    return capture.take();
}

TEST(ExportEmission, BytesWithAndWithoutIndentation) {
    for (const std::string unit : {"", "\t"}) {
        SCOPED_TRACE("unit '" + unit + "'");
        const std::string i1 = unit, i2 = unit + unit, i3 = i2 + unit;
        EXPECT_EQ(emitSample(unit),
                  "<Model xmlns:a=\"attribute\">\n" + i1 + "<o:SRepRootObject Id=\"o3\">\n" + i2 +
                      "<c:Children>\n" + i3 + "<o:Table Ref=\"o12\"/>\n" + i3 +
                      "<a:Name>R&amp;D &lt;1&gt;</a:Name>\n" + i3 + "<a:Kept></a:Kept>\n" + i3 +
                      "<a:Text>a&quot;b\n</a:Text>\n" + i3 +
                      "<a:OID>00000000-1337-F331-D34D-000000000012</a:OID>\n" + i3 +
                      "<a:Count>-5</a:Count>\n" + i3 + "<o:Table Id=\"o20\">\nraw line\n" + i3 +
                      "</o:Table>\n" + i2 + "</c:Children>\n" + i1 +
                      "</o:SRepRootObject>\n</Model>\n</Extra>\n<a:After>x</a:After>\n");
    }
}

// An object's opening line and its a:OID line, written together from one
// formatting of the identifier: the same bytes as the two written apart, at
// their two indentations.
TEST(ExportEmission, ObjectStartWithItsOid) {
    for (const std::string unit : {"", "\t"}) {
        for (int id : {1, 9, 10, 123456, 999999999, 1000000000, 2147483647}) {
            SCOPED_TRACE("unit '" + unit + "' id " + std::to_string(id));
            WriterCapture together, apart;
            for (WriterCapture* capture : {&together, &apart}) {
                capture->bridge.setIndentUnit(ORXString(unit.c_str()));
                capture->bridge.printCollectionStart("c:Tables");
            }
            together.bridge.printObjectStartWithOid("o:SPdoObjTabl", id);
            apart.bridge.printObjectStart("o:SPdoObjTabl", id);
            apart.bridge.printIntegerAttribute("a:OID", id, true);
            const std::string digits = std::to_string(id);
            const std::string expected = "<c:Tables>\n" + unit + "<o:SPdoObjTabl Id=\"o" + digits +
                                         "\">\n" + unit + unit + "<a:OID>00000000-1337-F331-D34D-" +
                                         std::string(12 - digits.size(), '0') + digits +
                                         "</a:OID>\n";
            EXPECT_EQ(together.take(), expected);
            EXPECT_EQ(apart.take(), expected);
        }
    }
}

// Numbers and GUID-form identifiers at the edges of the 32-bit range: plain
// decimal without padding, and twelve characters zero-padded after the
// prefix, the sign counting as one of them.
TEST(ExportEmission, NumbersAndIdentifiers) {
    struct Case {
        int value;
        bool asOid;
        std::string text;
    };
    const std::string prefix = "00000000-1337-F331-D34D-";
    const std::vector<Case> cases = {
        {0, false, "0"},
        {9, false, "9"},
        {10, false, "10"},
        {99, false, "99"},
        {100, false, "100"},
        {101, false, "101"},
        {-99, false, "-99"},
        {1000000, false, "1000000"},
        {-5, false, "-5"},
        {2147483647, false, "2147483647"},
        {-2147483647 - 1, false, "-2147483648"},
        {1, true, prefix + "000000000001"},
        {1234567890, true, prefix + "001234567890"},
        {100, true, prefix + "000000000100"},
        {2147483647, true, prefix + "002147483647"},
        {-7, true, prefix + "-00000000007"},
        {-2147483647 - 1, true, prefix + "-02147483648"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.value) + (c.asOid ? " as OID" : ""));
        WriterCapture capture;
        capture.bridge.printIntegerAttribute("a:N", c.value, c.asOid);
        capture.bridge.printObjectStart("o:X", c.value > 0 ? c.value : 1);
        capture.bridge.printObjectRef("o:X", "Ref", c.value);
        const std::string id = c.value > 0 ? std::to_string(c.value) : "1";
        EXPECT_EQ(capture.take(), "<a:N>" + c.text + "</a:N>\n<o:X Id=\"o" + id +
                                      "\">\n<o:X Ref=\"o" + std::to_string(c.value) + "\"/>\n");
    }
}

// Lines gather in blocks on their way to the file: thousands of short lines
// across several blocks, and texts longer than a whole block, plain and
// converted, in a tab-indented element, come out whole and in order.
TEST(ExportEmission, LinesAcrossAndBeyondTheBlock) {
    const std::size_t block = ORXSybasePowerDesignerPdm08ExportBridge::kLineBlock;
    const std::string longPlain(3 * block + 7, 'x');
    std::string longConverted, converted;
    for (std::size_t i = 0; i < block; ++i) {
        longConverted += "<&";
        converted += "&lt;&amp;";
    }
    WriterCapture capture;
    ORXSybasePowerDesignerPdm08ExportBridge& w = capture.bridge;
    w.setIndentUnit(ORXString("\t"));
    std::string expected;
    w.printCollectionStart("c:Lines");
    expected += "<c:Lines>\n";
    for (int i = 0; i < 20000; ++i) {
        w.printIntegerAttribute("a:N", i, false);
        expected += "\t<a:N>" + std::to_string(i) + "</a:N>\n";
        if (i == 5000) {
            w.printAttribute("a:Long", ORXString(longPlain), true);
            expected += "\t<a:Long>" + longPlain + "</a:Long>\n";
        }
        if (i == 9000) {
            w.printAttribute("a:Conv", ORXString(longConverted), true);
            expected += "\t<a:Conv>" + converted + "</a:Conv>\n";
        }
    }
    w.printElementEnd("c:Lines");
    expected += "</c:Lines>\n";
    const std::string written = capture.take();
    EXPECT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected)
        << "the first difference is at byte "
        << std::mismatch(written.begin(), written.end(), expected.begin(), expected.end()).first -
               written.begin();
}

}  // namespace
