// Tables, columns, keys, domains, business rules and datatype properties as
// written into the document.

#include <gtest/gtest.h>

#include "support/WriterSupport.h"

using namespace pdmtest;

namespace {

// A model whose one merged package holds `elements` (JSON array items).
std::string merged(const std::string& elements, const std::string& extra = "") {
    return R"({"format": "orx-model", "version": 1, "name": "M", )" + extra +
           R"("packages": [{"kind": "design", "name": "Main", "elements": [)" + elements + "]}]}";
}

const std::vector<std::pair<std::string, std::string>> kOracle8 = {
    {"Target Database", "ORACLE Version 8"}};

}  // namespace

TEST(Tables, BareTableCarriesAllEightCollections) {
    ExportResult out = exportJson(merged(R"({"kind": "class", "name": "T"})"));
    EXPECT_EQ(canon(elementNamed(out.document, "o:SPdoObjTabl", "T")),
              "<o:SPdoObjTabl Id=\"o#1\">\n"
              "<a:Name>T</a:Name>\n<a:Code>T</a:Code>\n"
              "<c:Columns>\n</c:Columns>\n<c:Keys>\n</c:Keys>\n<c:Indexes>\n</c:Indexes>\n"
              "<c:Owner>\n</c:Owner>\n<c:Triggers>\n</c:Triggers>\n<c:PKey>\n</c:PKey>\n"
              "<c:Cluster>\n</c:Cluster>\n<c:TABL.Procedures>\n</c:TABL.Procedures>\n"
              "</o:SPdoObjTabl>\n");
}

TEST(Tables, PrimaryKeyAndClusteredIndexAreDefinedOnceAndReferencedAfter) {
    ExportResult out = exportJson(merged(R"(
      {"kind": "class", "name": "T",
       "attributes": [{"id": "a", "name": "A"}, {"id": "b", "name": "B", "optional": true}],
       "keys": [{"id": "pk", "name": "PK", "physicalName": "PK_T", "attributes": ["a"], "index": "ix"},
                {"id": "nu", "name": "NU", "unique": false, "attributes": ["b"]}],
       "primaryKey": "pk",
       "indexes": [{"id": "ix", "name": "IX", "unique": true, "clustered": true, "key": "pk",
                    "members": [{"attribute": "a"}]}]})"));
    EXPECT_EQ(canon(elementNamed(out.document, "o:SPdoObjTabl", "T")),
              "<o:SPdoObjTabl Id=\"o#1\">\n"
              "<a:Name>T</a:Name>\n<a:Code>T</a:Code>\n"
              "<c:Columns>\n"
              "<o:SPdoObjColn Id=\"o#2\">\n<a:Name>A</a:Name>\n<a:Code>A</a:Code>\n"
              "<a:Mand>1</a:Mand>\n</o:SPdoObjColn>\n"
              "<o:SPdoObjColn Id=\"o#3\">\n<a:Name>B</a:Name>\n<a:Code>B</a:Code>\n"
              "<a:Mand>0</a:Mand>\n</o:SPdoObjColn>\n"
              "</c:Columns>\n"
              "<c:Keys>\n"
              "<o:SPdoObjKey Id=\"o#4\">\n<a:Name>PK</a:Name>\n<a:Code>PK_T</a:Code>\n"
              "<a:Cnst>PK_T</a:Cnst>\n"
              "<c:KEY.Columns>\n<o:SPdoObjColn Ref=\"o#2\"/>\n</c:KEY.Columns>\n"
              "</o:SPdoObjKey>\n"
              "</c:Keys>\n"
              "<c:Indexes>\n"
              "<o:SPdoObjIndx Id=\"o#5\">\n<a:Name>IX</a:Name>\n<a:Code>IX</a:Code>\n"
              "<a:Uniq>1</a:Uniq>\n"
              "<c:LinkObj>\n<o:SPdoObjKey Ref=\"o#4\"/>\n</c:LinkObj>\n"
              "<c:IndxColumns>\n"
              "<o:SPdoObjCidx Id=\"o#6\">\n<a:Ascd>1</a:Ascd>\n"
              "<c:Coln>\n<o:SPdoObjColn Ref=\"o#2\"/>\n</c:Coln>\n</o:SPdoObjCidx>\n"
              "</c:IndxColumns>\n"
              "</o:SPdoObjIndx>\n"
              "</c:Indexes>\n"
              "<c:Owner>\n</c:Owner>\n<c:Triggers>\n</c:Triggers>\n"
              "<c:PKey>\n<o:SPdoObjKey Ref=\"o#4\"/>\n</c:PKey>\n"
              "<c:Cluster>\n<o:SPdoObjIndx Ref=\"o#5\"/>\n</c:Cluster>\n"
              "<c:TABL.Procedures>\n</c:TABL.Procedures>\n"
              "</o:SPdoObjTabl>\n");
}

TEST(Tables, KeysThatAreNotUniqueOrHaveNoExportedColumnAreWrittenNowhere) {
    ExportResult out = exportJson(merged(R"(
      {"kind": "class", "name": "T",
       "attributes": [{"id": "x", "name": "X"}, {"id": "y", "name": "Y", "levelCode": 1}],
       "keys": [{"id": "nupk", "name": "NUPK", "unique": false, "attributes": ["x"]},
                {"id": "lk", "name": "LK", "attributes": ["y"]}],
       "primaryKey": "nupk"})"));
    std::string table = elementNamed(out.document, "o:SPdoObjTabl", "T");
    EXPECT_EQ(collection(table, "c:Keys"), "<c:Keys>\n</c:Keys>");
    EXPECT_EQ(collection(table, "c:PKey"), "<c:PKey>\n</c:PKey>");
    EXPECT_EQ(occurrences(out.document, "<o:SPdoObjKey"), 0);
    EXPECT_EQ(occurrences(out.document, "<a:Name>Y</a:Name>"), 0);
}

TEST(Tables, KeyColumnsFollowTheFirstMembersOfItsIndex) {
    ExportResult out = exportJson(merged(R"(
      {"kind": "class", "name": "T",
       "attributes": [{"id": "a", "name": "A"}, {"id": "b", "name": "B"}, {"id": "c", "name": "C"}],
       "keys": [{"id": "k", "name": "K", "attributes": ["a", "b"], "index": "ix"}],
       "indexes": [{"id": "ix", "name": "IX", "members": [
         {"attribute": "b", "position": 0}, {"attribute": "c", "position": 1},
         {"attribute": "a", "position": 2}]}]})"));
    std::string key = elementNamed(out.document, "o:SPdoObjKey", "K");
    EXPECT_EQ(collection(key, "c:KEY.Columns"),
              "<c:KEY.Columns>\n<o:SPdoObjColn Ref=\"" +
                  idsNamed(out.document, "o:SPdoObjColn", "B").at(0) +
                  "\"/>\n<o:SPdoObjColn Ref=\"" +
                  idsNamed(out.document, "o:SPdoObjColn", "C").at(0) + "\"/>\n</c:KEY.Columns>");
}

TEST(Tables, TableTypeAndCommonPropertiesInTheirPlaces) {
    struct Case {
        int type;
        const char* written;  // null: no a:TABL.Type
    } cases[] = {{1, "1"}, {2, "2"}, {3, "2"}, {0, nullptr}, {4, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        ExportResult out = exportJson(merged(
            R"({"kind": "class", "name": "T", "comment": "C", "description": "D", "notes": ["N"],
                "checkRule": {"name": "CK_T", "text": "X > 1"}, "tableType": )" +
            std::to_string(c.type) + "}"));
        std::string type =
            c.written ? std::string("<a:TABL.Type>") + c.written + "</a:TABL.Type>\n" : "";
        const std::string expected =
            "<o:SPdoObjTabl Id=\"o#1\">\n<a:Name>T</a:Name>\n<a:Code>T</a:Code>\n"
            "<a:Labl>C</a:Labl>\n<a:Desc>D</a:Desc>\n" +
            type +
            "<a:Note>N\n</a:Note>\n<a:Srul>X &gt; 1</a:Srul>\n<a:Ckcn>CK_T</a:Ckcn>\n<c:Columns>\n";
        EXPECT_EQ(
            canon(elementNamed(out.document, "o:SPdoObjTabl", "T")).substr(0, expected.size()),
            expected);
    }
}

TEST(Tables, ColumnFirstReachedFromAViewColumnIsDefinedThere) {
    // The diagram shows the view but not the table its column comes from.
    std::string json = R"({"format": "orx-model", "version": 1, "name": "M",
      "packages": [{"kind": "design", "name": "Main", "elements": [
        {"kind": "class", "id": "t", "name": "T", "attributes": [{"id": "a", "name": "A"}]},
        {"kind": "view", "id": "v", "name": "V", "columns": [{"name": "VC", "source": "a"}]}],
       "diagrams": [{"name": "D", "symbols": [{"subject": "v", "x": 10, "y": 10, "width": 4, "height": 4}]}]}]})";
    ExportResult out = exportJson(json);
    std::string column = idsNamed(out.document, "o:SPdoObjColn", "A").at(0);
    EXPECT_EQ(canon(elementNamed(out.document, "o:SPdoObjViewColn", "VC")),
              "<o:SPdoObjViewColn Id=\"o#1\">\n<a:Name>VC</a:Name>\n<a:Code>VC</a:Code>\n"
              "<c:VIEWC.Columns>\n"
              "<o:SPdoObjColn Id=\"o#2\">\n<a:Name>A</a:Name>\n<a:Code>A</a:Code>\n"
              "<a:Mand>1</a:Mand>\n</o:SPdoObjColn>\n"
              "</c:VIEWC.Columns>\n</o:SPdoObjViewColn>\n");
    EXPECT_EQ(collection(elementNamed(out.document, "o:SPdoObjTabl", "T"), "c:Columns"),
              "<c:Columns>\n<o:SPdoObjColn Ref=\"" + column + "\"/>\n</c:Columns>");
    // The column is defined inside the diagram, before the table.
    EXPECT_LT(out.document.find("<o:SPdoObjColn Id=\"" + column + "\">"),
              out.document.find("<o:SPdoObjTabl Id="));
}

TEST(Tables, ClassOfAnotherPackageIsShownThroughItsShortcut) {
    std::string json = R"({"format": "orx-model", "version": 1, "name": "M", "packages": [
      {"kind": "design", "name": "Main", "elements": [], "packages": [
        {"kind": "design", "name": "P", "elements": [],
         "diagrams": [{"name": "D", "symbols": [{"subject": "q", "x": 10, "y": 10, "width": 4, "height": 4}]}]},
        {"kind": "design", "name": "Q", "elements": [{"kind": "class", "id": "q", "name": "QT"}]}]}]})";
    ExportResult out = exportJson(json);
    std::string p = elementNamed(out.document, "o:SPdmPackage", "P");
    EXPECT_EQ(occurrences(p, "<o:SPdoObjTabl"), 0);
    EXPECT_EQ(
        canon(collection(p, "c:Object")),
        "<c:Object>\n<o:SRepShortcut Id=\"o#1\">\n<a:Name>QT</a:Name>\n<a:Code>QT</a:Code>\n"
        "<a:ExtOID>00000000-1337-F331-D34D-" +
            [&] {
                char digits[16];
                std::snprintf(
                    digits, sizeof digits, "%012d",
                    std::atoi(idsNamed(out.document, "o:SPdoObjTabl", "QT").at(0).c_str() + 1));
                return std::string(digits);
            }() +
            "</a:ExtOID>\n<a:ExtCLSID>380BAA40-0042-11D2-BD28-00A02478ECC9</a:ExtCLSID>\n"
            "<a:TrgtLoct>\\Q</a:TrgtLoct>\n</o:SRepShortcut>\n</c:Object>");
    EXPECT_EQ(idsNamed(out.document, "o:SPdoObjTabl", "QT").size(), 1u);
}

// ---- Domains and business rules ---------------------------------------------

TEST(Domains, OnlyDerivedTypesThatAreDomainsAreWritten) {
    std::string types = R"("types": [
      {"id": "nd", "name": "NoDom", "isDomain": false, "dataType": "SQL_INTEGER"},
      {"id": "am", "name": "Amount", "dataType": "SQL_INTEGER"},
      {"id": "AM", "name": "AMOUNT", "dataType": "SQL_INTEGER"}], )";
    ExportResult out = exportJson(merged(R"(
      {"kind": "class", "name": "T", "attributes": [
        {"name": "C1", "type": "nd"}, {"name": "C2", "type": {"dataType": "SQL_INTEGER"}},
        {"name": "C3", "type": "AM"}]})",
                                         types),
                                  kOracle8);
    EXPECT_EQ(occurrences(out.document, "NoDom"), 0);
    for (const char* column : {"C1", "C2"}) {
        SCOPED_TRACE(column);
        EXPECT_EQ(collection(elementNamed(out.document, "o:SPdoObjColn", column), "c:Domain"), "");
    }
    std::string domains = collection(out.document, "c:Domains");
    EXPECT_EQ(canon(domains),
              "<c:Domains>\n"
              "<o:SPdoObjDomn Id=\"o#1\">\n<a:Name>Amount</a:Name>\n<a:Code>Amount</a:Code>\n"
              "<a:Dttp>INTEGER</a:Dttp>\n</o:SPdoObjDomn>\n"
              "<o:SPdoObjDomn Id=\"o#2\">\n<a:Name>AMOUNT_1</a:Name>\n<a:Code>AMOUNT_1</a:Code>\n"
              "<a:Dttp>INTEGER</a:Dttp>\n</o:SPdoObjDomn>\n"
              "</c:Domains>");
    // C3 is written after the model's domains, so it refers to AMOUNT_1.
    EXPECT_EQ(collection(elementNamed(out.document, "o:SPdoObjColn", "C3"), "c:Domain"),
              "<c:Domain>\n<o:SPdoObjDomn Ref=\"" +
                  idsNamed(out.document, "o:SPdoObjDomn", "AMOUNT_1").at(0) + "\"/>\n</c:Domain>");
}

TEST(Domains, DomainFirstMetInsideAPackageIsReferencedFromTheModel) {
    std::string json = R"({"format": "orx-model", "version": 1, "name": "M",
      "types": [{"id": "am", "name": "Amount", "dataType": "SQL_NUMERIC", "length": 10, "scale": 2,
                 "description": "Money"}],
      "packages": [{"kind": "design", "name": "Main", "elements": [], "packages": [
        {"kind": "design", "name": "P", "elements": [
          {"kind": "class", "name": "T", "attributes": [{"name": "C", "type": "am"}]}]}]}]})";
    ExportResult out = exportJson(json, kOracle8);
    std::string id = idsNamed(out.document, "o:SPdoObjDomn", "Amount").at(0);
    const std::string datatype =
        "<a:Dttp>NUMBER(10,2)</a:Dttp>\n<a:Mlen>10</a:Mlen>\n<a:Prec>2</a:Prec>\n";
    EXPECT_EQ(
        canon(collection(elementNamed(out.document, "o:SPdoObjColn", "C"), "c:Domain")),
        "<c:Domain>\n<o:SPdoObjDomn Id=\"o#1\">\n<a:Name>Amount</a:Name>\n<a:Code>Amount</a:Code>\n"
        "<a:Desc>Money</a:Desc>\n" +
            datatype + "</o:SPdoObjDomn>\n</c:Domain>");
    EXPECT_EQ(collection(out.document, "c:Domains"),
              "<c:Domains>\n<o:SPdoObjDomn Ref=\"" + id + "\"/>\n</c:Domains>");
}

TEST(Rules, RuleOfAClassOnNoDiagramIsDefinedInTheModelAndReferencedFromItsColumn) {
    ExportResult out = exportJson(merged(R"(
      {"kind": "class", "name": "T", "attributes": [{"name": "Q", "checkExpression": "Q > 0"}]})"));
    std::string rules = collection(out.document, "c:BusinessRules");
    ASSERT_NE(rules.find("<o:SObjRule Id=\"o"), std::string::npos) << rules;
    std::size_t from = rules.find("Id=\"o") + 5;
    std::string n = rules.substr(from, rules.find('"', from) - from);
    EXPECT_EQ(canon(rules),
              "<c:BusinessRules>\n<o:SObjRule Id=\"o#1\">\n<a:Name>RULE_" + n +
                  "</a:Name>\n<a:Code>RULE_" + n +
                  "</a:Code>\n<a:Sexpr>Q &gt; 0</a:Sexpr>\n</o:SObjRule>\n</c:BusinessRules>");
    EXPECT_EQ(collection(elementNamed(out.document, "o:SPdoObjColn", "Q"), "c:Rules"),
              "<c:Rules>\n<o:SObjRule Ref=\"o" + n + "\"/>\n</c:Rules>");
}

TEST(Rules, EachWrittenRuleAddsOneIdentifier) {
    DirectBridge direct(merged(R"({"kind": "class", "name": "T", "attributes": [
        {"name": "Q", "checkExpression": "Q > 0"}, {"name": "R", "checkExpression": "R < 0"}]})"));
    auto* q = direct.find<ORXAttribute>("Q", ORX_ET_ATTRIBUTE);
    auto* r = direct.find<ORXAttribute>("R", ORX_ET_ATTRIBUTE);
    ASSERT_TRUE(q && r);
    direct.bridge.nextObjectId = 40;
    direct.bridge.writeBusinessRule(q);
    direct.bridge.writeBusinessRule(q);
    direct.bridge.writeBusinessRule(r);
    std::string text = direct.finish();
    ASSERT_EQ(direct.bridge.ruleIds.getCount(), 2);
    EXPECT_EQ(direct.bridge.ruleIds.get(0), 40);
    EXPECT_EQ(direct.bridge.ruleIds.get(1), 41);
    EXPECT_EQ(text,
              "<o:SObjRule Id=\"o40\">\n<a:OID>00000000-1337-F331-D34D-000000000040</a:OID>\n"
              "<a:Name>RULE_40</a:Name>\n<a:Code>RULE_40</a:Code>\n<a:Sexpr>Q &gt; 0</a:Sexpr>\n"
              "</o:SObjRule>\n"
              "<o:SObjRule Ref=\"o40\"/>\n"
              "<o:SObjRule Id=\"o41\">\n<a:OID>00000000-1337-F331-D34D-000000000041</a:OID>\n"
              "<a:Name>RULE_41</a:Name>\n<a:Code>RULE_41</a:Code>\n<a:Sexpr>R &lt; 0</a:Sexpr>\n"
              "</o:SObjRule>\n");
}

// ---- Datatype properties ------------------------------------------------------

TEST(Datatypes, ColumnsWriteBoundsDefaultsValuesAndMappedTypes) {
    struct Case {
        const char* attribute;
        const char* expected;  // the column's lines after a:Mand
    } cases[] = {
        {R"({"name": "C", "type": {"dataType": "SQL_VARCHAR", "length": 40, "initialValue": "x"}})",
         "<a:Dval>x</a:Dval>\n<a:Dttp>VARCHAR2(40)</a:Dttp>\n<a:Mlen>40</a:Mlen>\n"},
        {R"({"name": "C", "initialValue": "y", "type": {"dataType": "SQL_VARCHAR", "initialValue": "x"}})",
         "<a:Dval>y</a:Dval>\n<a:Dttp>VARCHAR2(255)</a:Dttp>\n<a:Mlen>255</a:Mlen>\n"},
        {R"({"name": "C", "type": {"dataType": "SQL_NUMERIC", "length": 10, "scale": 2}})",
         "<a:Dttp>NUMBER(10,2)</a:Dttp>\n<a:Mlen>10</a:Mlen>\n<a:Prec>2</a:Prec>\n"},
        {R"({"name": "C", "type": {"dataType": "AUTOINCREMENT"}})",
         "<a:Dttp>NUMBER(6)</a:Dttp>\n<a:Mlen>6</a:Mlen>\n<a:Idnt>1</a:Idnt>\n"},
        {R"({"name": "C", "type": {"dataType": "SQL_WHATEVER", "length": 3, "lowerBound": "1",
             "upperBound": "9", "initialValue": "5", "values": [{"value": "1", "name": "One"}]}})",
         "<a:Lval>1</a:Lval>\n<a:Hval>9</a:Hval>\n<a:Dval>5</a:Dval>\n<a:Vals>1\tOne</a:Vals>\n"},
        {R"({"name": "C", "type": {"dataType": "sql_varchar", "length": 3}})", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attribute);
        ExportResult out =
            exportJson(merged(std::string(R"({"kind": "class", "name": "T", "attributes": [)") +
                              c.attribute + "]}"),
                       kOracle8);
        EXPECT_EQ(canon(elementNamed(out.document, "o:SPdoObjColn", "C")),
                  std::string("<o:SPdoObjColn Id=\"o#1\">\n<a:Name>C</a:Name>\n<a:Code>C</a:Code>\n"
                              "<a:Mand>1</a:Mand>\n") +
                      c.expected + "</o:SPdoObjColn>\n");
    }
}

TEST(Datatypes, ValueListIsWrittenUnindentedWithTabsAndLineFeeds) {
    struct Case {
        const char* values;
        const char* expected;
    } cases[] = {
        {R"([{"value": "M", "name": "Male"}])", "\n<a:Vals>M\tMale</a:Vals>\n\t"},
        {R"([{"value": "M", "name": "Male"}, {"value": "F", "name": "Fe<male"}])",
         "\n<a:Vals>M\tMale\nF\tFe&lt;male</a:Vals>\n\t"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.values);
        ExportResult out = exportJson(
            merged(std::string(R"({"kind": "class", "name": "T", "attributes": [
                {"name": "C", "type": {"dataType": "SQL_CHAR", "length": 1, "values": )") +
                   c.values + "}}]}"),
            {{"Target Database", "ORACLE Version 8"}, {"XML Indentation (pretty printing)", "\t"}});
        EXPECT_NE(out.document.find(c.expected), std::string::npos);
        EXPECT_EQ(occurrences(out.document, "<a:Vals>"), 1);
    }
}
