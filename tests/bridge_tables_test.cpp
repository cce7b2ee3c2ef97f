// Tables, keys, domains, business rules and datatype properties as written.

#include <gtest/gtest.h>

#include "support/WriterSupport.h"

using namespace pdmtest;

namespace {

const Options kOracle8 = {{"Target Database", "ORACLE Version 8"}};

std::string table(const std::string& document, const std::string& name) {
    return elementNamed(document, "o:SPdoObjTabl", name);
}

}  // namespace

TEST(Tables, BareTableCarriesAllEightCollections) {
    ExportResult out = exportJson(mainModel(R"({"kind": "class", "name": "T"})"));
    EXPECT_EQ(canon(table(out.document, "T")),
              "<o:SPdoObjTabl Id=\"o#1\">\n<a:Name>T</a:Name>\n<a:Code>T</a:Code>\n"
              "<c:Columns>\n</c:Columns>\n<c:Keys>\n</c:Keys>\n<c:Indexes>\n</c:Indexes>\n"
              "<c:Owner>\n</c:Owner>\n<c:Triggers>\n</c:Triggers>\n<c:PKey>\n</c:PKey>\n"
              "<c:Cluster>\n</c:Cluster>\n<c:TABL.Procedures>\n</c:TABL.Procedures>\n"
              "</o:SPdoObjTabl>\n");
}

TEST(Tables, PrimaryKeyAndClusterReferToTheWrittenKeyAndIndexOnly) {
    ExportResult out = exportJson(mainModel(R"(
      {"kind": "class", "name": "T",
       "attributes": [{"id": "a", "name": "A"}, {"id": "b", "name": "B"}, {"id": "h", "name": "H", "levelCode": 1}],
       "keys": [{"id": "pk", "name": "PK", "physicalName": "PK_T", "attributes": ["a"]},
                {"id": "nu", "name": "NU", "unique": false, "attributes": ["b"]},
                {"id": "lk", "name": "LK", "attributes": ["h"]}],
       "primaryKey": "pk",
       "indexes": [{"id": "ix", "name": "IX", "clustered": true, "key": "pk", "members": [{"attribute": "a"}]}]},
      {"kind": "class", "name": "U", "attributes": [{"id": "x", "name": "X"}],
       "keys": [{"id": "upk", "name": "UPK", "unique": false, "attributes": ["x"]}], "primaryKey": "upk"})"));
    std::string t = table(out.document, "T");
    EXPECT_EQ(canon(collection(t, "c:Keys") + collection(t, "c:LinkObj") + collection(t, "c:PKey")),
              "<c:Keys>\n<o:SPdoObjKey Id=\"o#1\">\n<a:Name>PK</a:Name>\n<a:Code>PK_T</a:Code>\n"
              "<a:Cnst>PK_T</a:Cnst>\n<c:KEY.Columns>\n<o:SPdoObjColn Ref=\"o#2\"/>\n"
              "</c:KEY.Columns>\n</o:SPdoObjKey>\n</c:Keys>"
              "<c:LinkObj>\n<o:SPdoObjKey Ref=\"o#1\"/>\n</c:LinkObj>"
              "<c:PKey>\n<o:SPdoObjKey Ref=\"o#1\"/>\n</c:PKey>");
    EXPECT_EQ(collection(t, "c:Cluster"), "<c:Cluster>\n<o:SPdoObjIndx Ref=\"" +
                                              idsNamed(out.document, "o:SPdoObjIndx", "IX").at(0) +
                                              "\"/>\n</c:Cluster>");
    // A non-unique key is written nowhere, even as the primary key.
    std::string u = table(out.document, "U");
    EXPECT_EQ(collection(u, "c:Keys") + collection(u, "c:PKey"),
              "<c:Keys>\n</c:Keys><c:PKey>\n</c:PKey>");
    for (const char* name : {"NU", "LK", "UPK"})
        EXPECT_EQ(occurrences(out.document, std::string("<a:Name>") + name + "<"), 0) << name;
}

TEST(Tables, TableTypeAmongTheCommonProperties) {
    const std::pair<int, const char*> cases[] = {{1, "1"}, {3, "2"}, {0, nullptr}};
    for (const auto& [type, written] : cases) {
        SCOPED_TRACE(type);
        ExportResult out = exportJson(mainModel(
            R"({"kind": "class", "name": "T", "comment": "C", "description": "D", "notes": ["N"],
                "checkRule": {"name": "CK_T", "text": "X > 1"}, "tableType": )" +
            std::to_string(type) + "}"));
        const std::string expected =
            "<o:SPdoObjTabl Id=\"o#1\">\n<a:Name>T</a:Name>\n<a:Code>T</a:Code>\n"
            "<a:Labl>C</a:Labl>\n<a:Desc>D</a:Desc>\n" +
            (written ? std::string("<a:TABL.Type>") + written + "</a:TABL.Type>\n" : "") +
            "<a:Note>N\n</a:Note>\n<a:Srul>X &gt; 1</a:Srul>\n<a:Ckcn>CK_T</a:Ckcn>\n<c:Columns>\n";
        EXPECT_EQ(canon(table(out.document, "T")).substr(0, expected.size()), expected);
    }
}

TEST(Domains, OnlyDomainsAreWrittenWithUniqueNames) {
    ExportResult out = exportJson(
        mainModel(R"({"kind": "class", "name": "T", "attributes": [{"name": "C1", "type": "nd"},
                    {"name": "C2", "type": {"dataType": "SQL_INTEGER"}}, {"name": "C3", "type": "AM"}]})",
                  "", R"("types": [
          {"id": "nd", "name": "NoDom", "isDomain": false, "dataType": "SQL_INTEGER"},
          {"id": "am", "name": "Amount", "dataType": "SQL_INTEGER"},
          {"id": "AM", "name": "AMOUNT", "dataType": "SQL_INTEGER"}], )"),
        kOracle8);
    EXPECT_EQ(occurrences(out.document, "NoDom"), 0);
    EXPECT_EQ(canon(collection(out.document, "c:Domains")),
              "<c:Domains>\n"
              "<o:SPdoObjDomn Id=\"o#1\">\n<a:Name>Amount</a:Name>\n<a:Code>Amount</a:Code>\n"
              "<a:Dttp>INTEGER</a:Dttp>\n</o:SPdoObjDomn>\n"
              "<o:SPdoObjDomn Id=\"o#2\">\n<a:Name>AMOUNT_1</a:Name>\n<a:Code>AMOUNT_1</a:Code>\n"
              "<a:Dttp>INTEGER</a:Dttp>\n</o:SPdoObjDomn>\n</c:Domains>");
    const std::pair<const char*, std::string> columns[] = {
        {"C1", ""},
        {"C2", ""},
        {"C3", "<c:Domain>\n<o:SPdoObjDomn Ref=\"" +
                   idsNamed(out.document, "o:SPdoObjDomn", "AMOUNT_1").at(0) +
                   "\"/>\n</c:Domain>"}};
    for (const auto& [column, domain] : columns)
        EXPECT_EQ(collection(elementNamed(out.document, "o:SPdoObjColn", column), "c:Domain"),
                  domain)
            << column;
}

TEST(Rules, ARuleIsDefinedOnceWithItsOwnIdentifierThenReferenced) {
    DirectBridge direct(mainModel(R"({"kind": "class", "name": "T", "attributes": [
        {"name": "Q", "checkExpression": "Q > 0"}, {"name": "R", "checkExpression": "R < 0"}]})"));
    auto* t = static_cast<ORXClass*>(direct.main()->getModelElement(0));
    ORXAttribute *q = t->getAttribute(0), *r = t->getAttribute(1);
    direct.bridge.nextObjectId = 40;
    direct.bridge.writeBusinessRule(q);
    direct.bridge.writeBusinessRule(q);
    direct.bridge.writeBusinessRule(r);
    EXPECT_EQ(direct.finish(),
              "<o:SObjRule Id=\"o40\">\n<a:OID>00000000-1337-F331-D34D-000000000040</a:OID>\n"
              "<a:Name>RULE_40</a:Name>\n<a:Code>RULE_40</a:Code>\n<a:Sexpr>Q &gt; 0</a:Sexpr>\n"
              "</o:SObjRule>\n<o:SObjRule Ref=\"o40\"/>\n"
              "<o:SObjRule Id=\"o41\">\n<a:OID>00000000-1337-F331-D34D-000000000041</a:OID>\n"
              "<a:Name>RULE_41</a:Name>\n<a:Code>RULE_41</a:Code>\n<a:Sexpr>R &lt; 0</a:Sexpr>\n"
              "</o:SObjRule>\n");
    ASSERT_EQ(direct.bridge.ruleIds.getCount(), 2);
    EXPECT_EQ(direct.bridge.ruleIds.get(1), 41);
}

// The model's c:BusinessRules lists a rule once even when a package wrote it
// first (a reference's join there wrote the parent column), and writes none
// for a column that is not exported.
TEST(Rules, ModelListsEachRuleOnceAndNoneOfAnExcludedColumn) {
    const std::string model = mainModel(
        R"({"kind": "class", "id": "parent", "name": "PARENT", "attributes": [
              {"id": "pid", "name": "PID", "checkExpression": "PID > 0"},
              {"name": "HIDDEN", "levelCode": 1, "checkExpression": "H > 0"}],
            "keys": [{"id": "pk", "attributes": ["pid"]}], "primaryKey": "pk"})",
        R"(, "packages": [{"kind": "design", "name": "P", "elements": [
              {"kind": "class", "id": "child", "name": "CHILD", "attributes": [
                 {"id": "cpid", "name": "PID"}],
               "keys": [{"kind": "foreign", "id": "fk", "attributes": ["cpid"],
                         "references": "pk"}]},
              {"kind": "association", "name": "R", "roles": [
                 {"class": "parent", "isSource": true}, {"class": "child", "foreignKey": "fk"}]}]}])");
    const std::string document = exportJson(model).document;
    const std::string rules = collection(document, "c:BusinessRules");
    EXPECT_EQ(occurrences(rules, "<o:SObjRule"), 1) << rules;
    EXPECT_EQ(occurrences(document, "<o:SObjRule Id="), 1) << document;
    EXPECT_EQ(document.find("H &gt; 0"), std::string::npos);
}

TEST(Datatypes, ColumnsWriteBoundsDefaultsValuesAndMappedTypes) {
    const std::pair<const char*, const char*> cases[] = {
        {R"("type": {"dataType": "SQL_VARCHAR", "length": 40, "initialValue": "x"})",
         "<a:Dval>x</a:Dval>\n<a:Dttp>VARCHAR2(40)</a:Dttp>\n<a:Mlen>40</a:Mlen>\n"},
        {R"("initialValue": "y", "type": {"dataType": "SQL_VARCHAR", "initialValue": "x"})",
         "<a:Dval>y</a:Dval>\n<a:Dttp>VARCHAR2(255)</a:Dttp>\n<a:Mlen>255</a:Mlen>\n"},
        {R"("type": {"dataType": "AUTOINCREMENT"})",
         "<a:Dttp>NUMBER(6)</a:Dttp>\n<a:Mlen>6</a:Mlen>\n<a:Idnt>1</a:Idnt>\n"},
        {R"("type": {"dataType": "SQL_WHATEVER", "length": 3, "lowerBound": "1", "upperBound": "9",
             "initialValue": "5", "values": [{"value": "1", "name": "One"}]})",
         "<a:Lval>1</a:Lval>\n<a:Hval>9</a:Hval>\n<a:Dval>5</a:Dval>\n<a:Vals>1\tOne</a:Vals>\n"},
    };
    for (const auto& [type, expected] : cases) {
        SCOPED_TRACE(type);
        ExportResult out = exportJson(
            mainModel(
                std::string(R"({"kind": "class", "name": "T", "attributes": [{"name": "C", )") +
                type + "}]}"),
            kOracle8);
        EXPECT_EQ(canon(elementNamed(out.document, "o:SPdoObjColn", "C")),
                  std::string("<o:SPdoObjColn Id=\"o#1\">\n<a:Name>C</a:Name>\n<a:Code>C</a:Code>\n"
                              "<a:Mand>1</a:Mand>\n") +
                      expected + "</o:SPdoObjColn>\n");
    }
}

TEST(Datatypes, ValueListIsWrittenUnindentedWithTabsAndLineFeeds) {
    ExportResult out = exportJson(
        mainModel(R"({"kind": "class", "name": "T", "attributes": [{"name": "C", "type":
            {"dataType": "SQL_CHAR", "length": 1, "values": [{"value": "M", "name": "Male"},
             {"value": "F", "name": "Fe<male"}]}}]})"),
        {{"Target Database", "ORACLE Version 8"}, {"XML Indentation (pretty printing)", "\t"}});
    EXPECT_NE(out.document.find("\n<a:Vals>M\tMale\nF\tFe&lt;male</a:Vals>\n\t"),
              std::string::npos);
    EXPECT_EQ(occurrences(out.document, "<a:Vals>"), 1);
}

// The scale form needs a scale: at 0 a type that takes one falls back to the
// length form, and at length 0 a non-zero scale still gives it.
TEST(Datatypes, DomainsTakeTheScaleFormOnlyForANonZeroScale) {
    const std::pair<const char*, const char*> cases[] = {
        {R"("dataType": "SQL_NUMERIC", "length": 10, "scale": 0)",
         "<a:Dttp>NUMBER(10)</a:Dttp>\n<a:Mlen>10</a:Mlen>\n"},
        {R"("dataType": "SQL_NUMERIC", "length": 10, "scale": 2)",
         "<a:Dttp>NUMBER(10,2)</a:Dttp>\n<a:Mlen>10</a:Mlen>\n<a:Prec>2</a:Prec>\n"},
        {R"("dataType": "SQL_DECIMAL", "length": 0, "scale": 2)",
         "<a:Dttp>DECIMAL(0,2)</a:Dttp>\n<a:Mlen>0</a:Mlen>\n<a:Prec>2</a:Prec>\n"},
        {R"("dataType": "SQL_DECIMAL", "length": 8, "scale": 0)",
         "<a:Dttp>DECIMAL(8)</a:Dttp>\n<a:Mlen>8</a:Mlen>\n"},
    };
    for (const auto& [type, expected] : cases) {
        SCOPED_TRACE(type);
        ExportResult out = exportJson(
            mainModel(
                R"({"kind": "class", "name": "T", "attributes": [{"name": "C", "type": "d"}]})", "",
                std::string(R"("types": [{"id": "d", "name": "D", )") + type + "}], "),
            kOracle8);
        EXPECT_EQ(
            canon(elementNamed(out.document, "o:SPdoObjDomn", "D")),
            std::string("<o:SPdoObjDomn Id=\"o#1\">\n<a:Name>D</a:Name>\n<a:Code>D</a:Code>\n") +
                expected + "</o:SPdoObjDomn>\n");
        EXPECT_NE(elementNamed(out.document, "o:SPdoObjColn", "C").find(expected),
                  std::string::npos);
    }
}

// A key with an index lists its columns in the index's order, as many as the
// key has attributes.
TEST(Tables, KeyColumnsFollowTheOrderOfTheKeysIndex) {
    ExportResult out = exportJson(mainModel(R"(
      {"kind": "class", "name": "T",
       "attributes": [{"id": "a", "name": "A"}, {"id": "b", "name": "B"}, {"id": "c", "name": "C"}],
       "keys": [{"id": "k", "name": "K", "attributes": ["a", "b"], "index": "ix"}],
       "indexes": [{"id": "ix", "name": "IX", "key": "k", "members": [
         {"attribute": "b"}, {"attribute": "a"}, {"attribute": "c"}]}]})"));
    const std::string key = elementNamed(out.document, "o:SPdoObjKey", "K");
    auto column = [&](const char* name) {
        return "<o:SPdoObjColn Ref=\"" + idsNamed(out.document, "o:SPdoObjColn", name).at(0) +
               "\"/>\n";
    };
    EXPECT_EQ(collection(key, "c:KEY.Columns"),
              "<c:KEY.Columns>\n" + column("B") + column("A") + "</c:KEY.Columns>");
}
