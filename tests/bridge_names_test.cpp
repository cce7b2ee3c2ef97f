// Exported names and codes (sanitised, unique ignoring case for tables and
// domains), identifiers and shortcut identifiers, and the bytes the emission
// operations write with and without indentation.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "support/DriverSupport.h"

using namespace pdmtest;

namespace {

// One object to name: its element type, name and physical name, and the
// exported name and code expected for it.
struct Named {
    int type;
    std::string name;
    std::string physicalName;
    std::string expectedName;
    std::string expectedCode;
};

std::unique_ptr<ORXElement> makeObject(int type) {
    switch (type) {
        case ORX_ET_CLASS:
            return std::make_unique<ORXClass>();
        case ORX_ET_ATTRIBUTE:
            return std::make_unique<ORXAttribute>();
        case ORX_ET_DERIVED_TYPE:
            return std::make_unique<ORXDerivedType>();
        case ORX_ET_ASSOCIATION:
            return std::make_unique<ORXAssociation>();
        default:
            ADD_FAILURE() << "no test object of type " << type;
            return nullptr;
    }
}

// Names the objects in order on one bridge and compares the results.
void expectNames(const std::vector<Named>& objects, int firstObjectId = 1) {
    RecordingLog log;
    ORXSybasePowerDesignerPdm08ExportBridge bridge(&log);
    bridge.nextObjectId = firstObjectId;
    std::vector<std::unique_ptr<ORXElement>> made;
    for (const Named& n : objects) {
        made.push_back(makeObject(n.type));
        made.back()->setName(ORXString(n.name.c_str()));
        made.back()->setPhysicalName(ORXString(n.physicalName.c_str()));
    }
    for (std::size_t i = 0; i < objects.size(); ++i) {
        SCOPED_TRACE("object " + std::to_string(i) + " '" + objects[i].name + "' / '" +
                     objects[i].physicalName + "'");
        EXPECT_EQ(bridge.getExportName(made[i].get()).str(), objects[i].expectedName);
        EXPECT_EQ(bridge.getExportCode(made[i].get()).str(), objects[i].expectedCode);
    }
    // Computed once: renaming the objects afterwards changes nothing.
    for (std::size_t i = 0; i < objects.size(); ++i) {
        made[i]->setName("renamed");
        made[i]->setPhysicalName("RENAMED");
        EXPECT_EQ(bridge.getExportName(made[i].get()).str(), objects[i].expectedName);
        EXPECT_EQ(bridge.getExportCode(made[i].get()).str(), objects[i].expectedCode);
    }
}

const int kTable = ORX_ET_CLASS;
const int kColumn = ORX_ET_ATTRIBUTE;
const int kDomain = ORX_ET_DERIVED_TYPE;

TEST(ExportNames, SanitisedAndUniqueForTablesAndDomains) {
    struct Scenario {
        const char* name;
        std::vector<Named> objects;
    };
    const std::vector<Scenario> scenarios = {
        {"same table name in two cases",
         {{kTable, "Customer", "", "Customer", "Customer"},
          {kTable, "CUSTOMER", "", "CUSTOMER_1", "CUSTOMER_1"}}},
        {"separators that sanitise alike",
         {{kTable, "A-B", "", "A_B", "A_B"},
          {kTable, "A.B", "", "A_B_1", "A_B_1"},
          {kTable, "A_B", "", "A_B_2", "A_B_2"}}},
        {"a suffixed name taken first",
         {{kTable, "T_1", "", "T_1", "T_1"},
          {kTable, "T", "", "T", "T"},
          {kTable, "T", "", "T_2", "T_2"}}},
        {"suffixes replace each other",
         {{kTable, "CUSTOMER", "", "CUSTOMER", "CUSTOMER"},
          {kTable, "customer", "", "customer_1", "customer_1"},
          {kTable, "Customer", "", "Customer_2", "Customer_2"}}},
        {"names and codes count their suffixes independently",
         {{kTable, "X", "Y", "X", "Y"},
          {kTable, "X_1", "Z", "X_1", "Z"},
          {kTable, "X", "Y", "X_2", "Y_1"}}},
        {"names and codes are separate tables",
         {{kTable, "A", "B", "A", "B"}, {kTable, "B", "A", "B", "A"}}},
        {"columns repeat",
         {{kColumn, "X", "", "X", "X"},
          {kColumn, "X", "", "X", "X"},
          {kColumn, "x", "", "x", "x"}}},
        {"domains are unique among domains only",
         {{kDomain, "Amount", "", "Amount", "Amount"},
          {kTable, "Amount", "", "Amount", "Amount"},
          {kDomain, "AMOUNT", "AMT", "AMOUNT_1", "AMT"},
          {kDomain, "Total", "amt", "Total", "amt_1"}}},
        {"physical name only",
         {{kTable, "", "EMP-NO", "EMP_NO", "EMP_NO"}, {kColumn, "", "EMP-NO", "EMP_NO", "EMP_NO"}}},
        {"name with a physical name",
         {{kTable, "Order line", "ORDER-LINE", "Order line", "ORDER_LINE"}}},
        {"blank and percent sign", {{kColumn, "Total %", "", "Total %", "Total__"}}},
        {"the ten replaced characters",
         {{kColumn, "a+b-c*d/e\\f.g,h!i:j;k", "", "a_b_c_d_e_f_g_h_i_j_k",
           "a_b_c_d_e_f_g_h_i_j_k"}}},
        {"other punctuation stays in names only",
         {{kColumn, "x y(z)'\"<&>", "", "x y(z)'\"<&>", "x_y_z______"}}},
        {"bytes from 0x80 survive",
         {{kTable, "Caf\xC3\xA9-1", "", "Caf\xC3\xA9_1", "Caf\xC3\xA9_1"},
          {kTable, "CAF\xC3\xA9_1", "", "CAF\xC3\xA9_1_1", "CAF\xC3\xA9_1_1"}}},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        expectNames(s.objects);
    }
}

TEST(ExportNames, UnnamedObjectsAreNamedByTypeAndIdentifier) {
    const std::string table = std::string(getElementTypeName(ORX_ET_CLASS)) + "_7";
    const std::string column = std::string(getElementTypeName(ORX_ET_ATTRIBUTE)) + "_8";
    const std::string association = std::string(getElementTypeName(ORX_ET_ASSOCIATION)) + "_9";
    ASSERT_EQ(table, "Class_7");
    expectNames({{kTable, "", "", table, table},
                 {kColumn, "", "", column, column},
                 {ORX_ET_ASSOCIATION, "", "", association, association}},
                7);

    // An identifier already allocated is the one used.
    RecordingLog log;
    ORXSybasePowerDesignerPdm08ExportBridge bridge(&log);
    ORXClass unnamed;
    bridge.nextObjectId = 41;
    EXPECT_EQ(bridge.getObjectId(&unnamed), 41);
    bridge.newObjectId();
    EXPECT_EQ(bridge.getExportName(&unnamed).str(), "Class_41");
    EXPECT_EQ(bridge.getObjectId(&unnamed), 41);
}

TEST(ExportNames, ManyTablesOfOneNameStayFast) {
    // Both a flood of equal names and a flood of distinct names of one length
    // must stay far from quadratic.
    const int count = 100000;
    RecordingLog log;
    ORXSybasePowerDesignerPdm08ExportBridge bridge(&log);
    std::vector<std::unique_ptr<ORXClass>> tables;
    tables.reserve(2 * count);
    for (int i = 0; i < count; ++i) {
        tables.push_back(std::make_unique<ORXClass>());
        tables.back()->setName(i % 2 ? "t" : "T");
        bridge.computeNameAndCode(tables.back().get());
    }
    EXPECT_EQ(bridge.getExportName(tables[0].get()).str(), "T");
    EXPECT_EQ(bridge.getExportName(tables[1].get()).str(), "t_1");
    EXPECT_EQ(bridge.getExportCode(tables[2].get()).str(), "T_2");
    EXPECT_EQ(bridge.getExportName(tables[count - 1].get()).str(), "t_99999");
    EXPECT_EQ(bridge.getExportCode(tables[count - 1].get()).str(), "t_99999");

    for (int i = 0; i < count; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "N%07d", i);
        tables.push_back(std::make_unique<ORXClass>());
        tables.back()->setName(name);
        bridge.computeNameAndCode(tables.back().get());
    }
    EXPECT_EQ(bridge.getExportName(tables[2 * count - 1].get()).str(), "N0099999");
}

// ---- Identifiers -----------------------------------------------------------------------

TEST(ExportIdentifiers, ObjectAndShortcutIdentifiers) {
    RecordingLog log;
    ORXSybasePowerDesignerPdm08ExportBridge bridge(&log);
    ORXClass table, other;
    ORXDesignPackage p, q;

    EXPECT_EQ(bridge.getObjectId(&table), 1);
    EXPECT_EQ(bridge.getObjectId(&table), 1);
    EXPECT_EQ(bridge.getObjectId(&other), 2);

    const int a = bridge.getShortcutId(&table, &p);
    EXPECT_EQ(a, 3);
    EXPECT_EQ(bridge.getShortcutId(&table, &p), a);
    const int b = bridge.getShortcutId(&table, &q);
    EXPECT_EQ(b, 4);
    EXPECT_EQ(bridge.getShortcutId(&table, &q), b);
    // Back to the first package: a fresh identifier, not the old one.
    EXPECT_EQ(bridge.getShortcutId(&table, &p), 5);
    EXPECT_EQ(bridge.getObjectId(&table), 1);

    EXPECT_FALSE(bridge.testAndSetWritten(&table));
    EXPECT_TRUE(bridge.testAndSetWritten(&table));
    EXPECT_FALSE(bridge.testAndSetWritten(&other));
    EXPECT_EQ(bridge.newObjectId(), 6);
    EXPECT_EQ(bridge.nextObjectId, 7);
}

// ---- Emission ------------------------------------------------------------------------------

// Writes a small nested document through every emission operation.
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
    w.printIntegerAttribute("a:OID", 12, true);
    w.printIntegerAttribute("a:Count", -5, false);
    w.printObjectStart("o:Table", 0);
    w.printLine("raw line");
    w.printElementEnd("o:Table");
    w.printElementEnd("c:Children");
    w.printElementEnd("o:SRepRootObject");
    w.printElementEnd("Model");
    // One end too many: the indentation stays empty.
    w.printElementEnd("Extra");
    w.printAttribute("a:After", "x");
    return capture.take();
}

TEST(ExportEmission, BytesWithAndWithoutIndentation) {
    struct Case {
        const char* name;
        std::string unit;
        std::string i1, i2, i3;
    };
    const std::vector<Case> cases = {
        {"none", "", "", "", ""},
        {"tab", "\t", "\t", "\t\t", "\t\t\t"},
        {"two blanks", "  ", "  ", "    ", "      "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string expected =
            "<Model xmlns:a=\"attribute\">\n" + c.i1 + "<o:SRepRootObject Id=\"o3\">\n" + c.i2 +
            "<c:Children>\n" + c.i3 + "<o:Table Ref=\"o12\"/>\n" + c.i3 +
            "<a:Name>R&amp;D &lt;1&gt;</a:Name>\n" + c.i3 +
            "<a:OID>00000000-1337-F331-D34D-000000000012</a:OID>\n" + c.i3 +
            "<a:Count>-5</a:Count>\n" + c.i3 + "<o:Table Id=\"o20\">\n" + "raw line\n" + c.i3 +
            "</o:Table>\n" + c.i2 + "</c:Children>\n" + c.i1 + "</o:SRepRootObject>\n" +
            "</Model>\n"
            "</Extra>\n"
            "<a:After>x</a:After>\n";
        EXPECT_EQ(emitSample(c.unit), expected);
    }
}

TEST(ExportEmission, TextElementsWithEmptyAndMissingValues) {
    struct Case {
        const char* name;
        void (*write)(ORXSybasePowerDesignerPdm08ExportBridge&);
        std::string expected;
    };
    using Bridge = ORXSybasePowerDesignerPdm08ExportBridge;
    const std::vector<Case> cases = {
        {"empty string, skipped", [](Bridge& b) { b.printAttribute("a:X", ORXString(""), true); },
         ""},
        {"empty string, kept", [](Bridge& b) { b.printAttribute("a:X", ORXString(""), false); },
         "\t<a:X></a:X>\n"},
        {"text, skip flag set", [](Bridge& b) { b.printAttribute("a:X", ORXString("v"), true); },
         "\t<a:X>v</a:X>\n"},
        {"empty character text", [](Bridge& b) { b.printAttribute("a:X", ""); }, "\t<a:X></a:X>\n"},
        {"null character text",
         [](Bridge& b) { b.printAttribute("a:X", static_cast<const char*>(nullptr)); }, ""},
        {"character text escaped", [](Bridge& b) { b.printAttribute("a:X", "a<b&c>\"d"); },
         "\t<a:X>a&lt;b&amp;c&gt;&quot;d</a:X>\n"},
        {"line feeds kept", [](Bridge& b) { b.printAttribute("a:X", ORXString("\n\n"), true); },
         "\t<a:X>\n\n</a:X>\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriterCapture capture;
        capture.bridge.setIndentUnit("\t");
        capture.bridge.printCollectionStart("c:Outer");
        c.write(capture.bridge);
        capture.bridge.printElementEnd("c:Outer");
        EXPECT_EQ(capture.take(), "<c:Outer>\n" + c.expected + "</c:Outer>\n");
    }
}

}  // namespace
