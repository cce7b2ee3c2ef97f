// References with their cardinality, rules, parent table and joins, and the
// indexes of tables with their members and linked objects.

#include <gtest/gtest.h>

#include "support/WriterSupport.h"

using namespace pdmtest;

namespace {

// Parent P (ID, A, B, primary key on all three) and child C (ID, A, B, X,
// REF) with the child's `foreignKeys` and `indexes`, then `associations`.
std::string model(const std::string& foreignKeys, const std::string& indexes,
                  const std::string& associations) {
    return mainModel(R"(
      {"kind": "class", "id": "p", "name": "P",
       "attributes": [{"id": "p.id", "name": "ID"}, {"id": "p.a", "name": "A"}, {"id": "p.b", "name": "B"}],
       "keys": [{"id": "p.pk", "name": "PK_P", "attributes": ["p.id", "p.a", "p.b"]}], "primaryKey": "p.pk"},
      {"kind": "class", "id": "c", "name": "C",
       "attributes": [{"id": "c.id", "name": "ID"}, {"id": "c.a", "name": "A"}, {"id": "c.b", "name": "B"},
                      {"id": "c.x", "name": "X"}, {"id": "c.ref", "name": "REF"}],
       "keys": [)" + foreignKeys +
                     R"(], "indexes": [)" + indexes + "]}, " + associations);
}

// An association R from P to C with the child role's further members `child`.
std::string association(const std::string& child, const std::string& name = "R") {
    return R"({"kind": "association", "name": ")" + name +
           R"(", "roles": [{"class": "p", "isSource": true}, {"class": "c")" + child + "}]}";
}

std::string reference(const ExportResult& out, const std::string& name = "R") {
    return elementNamed(out.document, "o:SPdoObjRefr", name);
}

// The joins of reference R as "P.A-C.A" pairs of table and column names.
std::string joins(const ExportResult& out) {
    pugi::xml_document xml;
    xml.load_string(out.document.c_str());
    auto column = [&](pugi::xml_node side) {
        std::string id = side.first_child().attribute("Ref").value();
        pugi::xml_node c = xml.select_node(("//o:SPdoObjColn[@Id='" + id + "']").c_str()).node();
        return std::string(c.parent().parent().child("a:Name").text().get()) + "." +
               c.child("a:Name").text().get();
    };
    std::string text;
    for (pugi::xpath_node join : xml.select_nodes("//o:SPdoObjRefr[a:Name='R']//o:SPdoObjRfjn"))
        text += (text.empty() ? "" : " ") + column(join.node().child("c:Obj1")) + "-" +
                column(join.node().child("c:Obj2"));
    return text;
}

}  // namespace

TEST(References, CardinalityOfTheChildMultiplicity) {
    const std::pair<const char*, const char*> cases[] = {
        {"0..1", "0,1"}, {"1", "1"},      {"1..*", "1,n"},         {"0..*", "0,n"},
        {"*", "0,n"},    {"2..5", "2,5"}, {"2147483646..*", "0,n"}};
    for (const auto& [multiplicity, card] : cases) {
        SCOPED_TRACE(multiplicity);
        ExportResult out = exportJson(model(
            "", "", association(R"(, "multiplicity": ")" + std::string(multiplicity) + "\"")));
        EXPECT_NE(reference(out).find(std::string("<a:Card>") + card + "</a:Card>\n"),
                  std::string::npos);
    }
}

// Model codes: none 0, no action 1, cascade 2, restrict 3, set null 4, set
// default 5; PDM codes: none 0, restrict 1, cascade 2, set null 3, set
// default 4. No action writes 0, and any code without a meaning restrict.
TEST(References, RuleCodesKeepSetNullAndSetDefault) {
    const int pdm[] = {1, 0, 2, 1, 3, 4, 1};
    for (int code = 0; code < 7; ++code) {
        SCOPED_TRACE(code);
        const int deleteCode = (code + 1) % 7;
        ExportResult out =
            exportJson(model("", "",
                             association(", \"updateRule\": " + std::to_string(code) +
                                         ", \"deleteRule\": " + std::to_string(deleteCode))));
        EXPECT_NE(
            reference(out).find("<a:Urul>" + std::to_string(pdm[code]) + "</a:Urul>\n<a:Drul>" +
                                std::to_string(pdm[deleteCode]) + "</a:Drul>\n"),
            std::string::npos);
    }
}

TEST(References, ParentIsChosenByTheFlagOfRoleZeroAlone) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"class": "p", "isSource": true}, {"class": "c"})", "P"},
        {R"({"class": "c"}, {"class": "p", "isSource": true})", "P"},
        {R"({"class": "p"}, {"class": "c", "isSource": true})", "C"},
    };
    for (const auto& [roles, parent] : cases) {
        SCOPED_TRACE(roles);
        ExportResult out = exportJson(model(
            "", "",
            std::string(R"({"kind": "association", "name": "R", "roles": [)") + roles + "]}"));
        EXPECT_EQ(collection(reference(out), "c:Obj1"),
                  "<c:Obj1>\n<o:SPdoObjTabl Ref=\"" +
                      idsNamed(out.document, "o:SPdoObjTabl", parent).at(0) + "\"/>\n</c:Obj1>");
    }
}

TEST(References, JoinsFollowIndexNameMapsAndNames) {
    const char* kKey = R"("attributes": ["c.a", "c.b"], "references": "p.pk")";
    struct Case {
        const char* name;
        std::string foreignKey;  // its members after the id and kind
        const char* indexes;
        const char* joins;
    } cases[] = {
        {"by key order", kKey, "", "P.A-C.A P.B-C.B"},
        {"by index order", kKey + std::string(R"(, "index": "ix")"),
         R"({"id": "ix", "name": "IX", "members": [{"attribute": "c.b"}, {"attribute": "c.a"}]})",
         "P.B-C.B P.A-C.A"},
        {"index shorter than the key", kKey + std::string(R"(, "index": "ix")"),
         R"({"id": "ix", "name": "IX", "members": [{"attribute": "c.b"}]})", "P.B-C.B"},
        {"through a name map, before the names",
         R"("attributes": ["c.ref", "c.a"], "references": "p.pk", "nameMaps": [
            {"source": "p.id", "destination": "c.ref"}, {"source": "p.b", "destination": "c.a"}])",
         "", "P.ID-C.REF P.B-C.A"},
        {"a column without a parent is skipped",
         R"("attributes": ["c.x", "c.b"], "references": "p.pk")", "", "P.B-C.B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(joins(exportJson(model(R"({"id": "fk", "kind": "foreign", )" + c.foreignKey + "}",
                                         c.indexes, association(R"(, "foreignKey": "fk")")))),
                  c.joins);
    }
}

TEST(References, TwoReferencesNeverShareAJoinIdentifier) {
    ExportResult out = exportJson(model(
        R"({"id": "fk1", "kind": "foreign", "attributes": ["c.a"], "references": "p.pk"},
           {"id": "fk2", "kind": "foreign", "attributes": ["c.b"], "references": "p.pk"})",
        "",
        association(R"(, "foreignKey": "fk1")", "R1") + "," +
            association(R"(, "foreignKey": "fk2")", "R2")));
    std::string first = firstId(reference(out, "R1"), "o:SPdoObjRfjn");
    std::string second = firstId(reference(out, "R2"), "o:SPdoObjRfjn");
    EXPECT_FALSE(first.empty());
    EXPECT_FALSE(second.empty());
    EXPECT_NE(first, second);
}

TEST(Indexes, HiddenColumnsEmptyIndexesAndSortOrders) {
    ExportResult out = exportJson(mainModel(R"(
      {"kind": "class", "name": "T",
       "attributes": [{"id": "a", "name": "A"}, {"id": "b", "name": "B"}, {"id": "h", "name": "H", "levelCode": 1}],
       "keys": [{"id": "nu", "name": "NU", "unique": false, "attributes": ["a"]}],
       "indexes": [
         {"name": "HIDDEN", "members": [{"attribute": "a"}, {"attribute": "h"}]},
         {"name": "EMPTY"},
         {"name": "SORTS", "key": "nu", "members": [{"attribute": "a", "sortOrder": 0},
            {"attribute": "b", "sortOrder": 1}, {"attribute": "a", "sortOrder": 2}, {"attribute": "b", "sortOrder": 3}]}]})"));
    EXPECT_EQ(occurrences(out.document, "HIDDEN"), 0);
    EXPECT_EQ(canon(elementNamed(out.document, "o:SPdoObjIndx", "EMPTY")),
              "<o:SPdoObjIndx Id=\"o#1\">\n<a:Name>EMPTY</a:Name>\n<a:Code>EMPTY</a:Code>\n"
              "<a:Uniq>0</a:Uniq>\n<c:IndxColumns>\n</c:IndxColumns>\n</o:SPdoObjIndx>\n");
    // The non-unique key is not written, so there is nothing to link.
    std::string sorts = elementNamed(out.document, "o:SPdoObjIndx", "SORTS");
    EXPECT_EQ(sorts.find("<c:LinkObj>"), std::string::npos);
    std::string ascending;
    for (std::size_t at = sorts.find("<a:Ascd>"); at != std::string::npos;
         at = sorts.find("<a:Ascd>", at + 1))
        ascending += sorts[at + 8];
    EXPECT_EQ(ascending, "1101");
}

TEST(Indexes, IndexOfAForeignKeyLinksTheReferenceWrittenInFullThere) {
    ExportResult out = exportJson(model(
        R"({"id": "fk", "kind": "foreign", "name": "FK", "attributes": ["c.id"], "references": "p.pk", "index": "ix"})",
        R"({"id": "ix", "name": "IX_FK", "key": "fk", "members": [{"attribute": "c.id"}]})",
        association(R"(, "foreignKey": "fk")")));
    std::string index = elementNamed(out.document, "o:SPdoObjIndx", "IX_FK");
    std::string id = idsNamed(out.document, "o:SPdoObjRefr", "R").at(0);
    EXPECT_EQ(collection(index, "c:LinkObj").find("<c:LinkObj>\n<o:SPdoObjRefr Id=\"" + id + "\">"),
              0u);
    EXPECT_EQ(collection(out.document, "c:References"),
              "<c:References>\n<o:SPdoObjRefr Ref=\"" + id + "\"/>\n</c:References>");
}
