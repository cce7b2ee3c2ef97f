// References with their cardinality, rules, parent and child tables and
// joins, and the indexes of tables with their columns and linked objects.

#include <gtest/gtest.h>

#include "support/WriterSupport.h"

using namespace pdmtest;

namespace {

std::string merged(const std::string& elements) {
    return R"({"format": "orx-model", "version": 1, "name": "M",
      "packages": [{"kind": "design", "name": "Main", "elements": [)" +
           elements + "]}]}";
}

// Parent P (ID, A, B with primary key on ID, A, B) and child C (ID, A, B, X).
const std::string kTables = R"(
  {"kind": "class", "id": "p", "name": "P",
   "attributes": [{"id": "p.id", "name": "ID"}, {"id": "p.a", "name": "A"}, {"id": "p.b", "name": "B"}],
   "keys": [{"id": "p.pk", "name": "PK_P", "attributes": ["p.id", "p.a", "p.b"]}], "primaryKey": "p.pk"},
  {"kind": "class", "id": "c", "name": "C",
   "attributes": [{"id": "c.id", "name": "ID"}, {"id": "c.a", "name": "A"}, {"id": "c.b", "name": "B"},
                  {"id": "c.x", "name": "X"}, {"id": "c.ref", "name": "REF"}],
   "keys": [FOREIGN_KEYS],
   "indexes": [INDEXES]})";

std::string model(const std::string& foreignKeys, const std::string& indexes,
                  const std::string& associations) {
    std::string tables = kTables;
    tables.replace(tables.find("FOREIGN_KEYS"), 12, foreignKeys);
    tables.replace(tables.find("INDEXES"), 7, indexes);
    return merged(tables + "," + associations);
}

std::string idOf(const std::string& document, const std::string& tag, const std::string& name,
                 size_t i = 0) {
    std::vector<std::string> ids = idsNamed(document, tag, name);
    return i < ids.size() ? ids[i] : std::string("none");
}

// The joins of a reference as "parent column id-child column id" pairs.
std::vector<std::string> joins(const std::string& reference) {
    std::vector<std::string> out;
    pugi::xml_document xml;
    xml.load_buffer(reference.data(), reference.size());
    for (pugi::xpath_node join : xml.select_nodes("//o:SPdoObjRfjn"))
        out.push_back(
            std::string(join.node().child("c:Obj1").first_child().attribute("Ref").value()) + "-" +
            join.node().child("c:Obj2").first_child().attribute("Ref").value());
    return out;
}

}  // namespace

TEST(References, FullReferenceElement) {
    ExportResult out = exportJson(model(
        R"({"id": "fk", "kind": "foreign", "name": "FK_C", "attributes": ["c.id"], "references": "p.pk"})",
        "",
        R"({"kind": "association", "name": "R", "roles": [{"class": "p", "isSource": true},
            {"class": "c", "multiplicity": "0..*", "foreignKey": "fk"}]})"));
    std::string reference = elementNamed(out.document, "o:SPdoObjRefr", "R");
    EXPECT_EQ(
        canon(reference),
        "<o:SPdoObjRefr Id=\"o#1\">\n<a:Name>R</a:Name>\n<a:Code>R</a:Code>\n"
        "<a:Labl>\n\n</a:Labl>\n<a:Desc>\n\n</a:Desc>\n"
        "<a:Fkcn>FK_C</a:Fkcn>\n<a:Card>0,n</a:Card>\n<a:Urul>1</a:Urul>\n<a:Drul>1</a:Drul>\n"
        "<c:Obj1>\n<o:SPdoObjTabl Ref=\"o#2\"/>\n</c:Obj1>\n"
        "<c:Obj2>\n<o:SPdoObjTabl Ref=\"o#3\"/>\n</c:Obj2>\n"
        "<c:Key>\n<o:SPdoObjKey Ref=\"o#4\"/>\n</c:Key>\n"
        "<c:Joins>\n<o:SPdoObjRfjn Id=\"o#5\">\n"
        "<c:Obj1>\n<o:SPdoObjColn Ref=\"o#6\"/>\n</c:Obj1>\n"
        "<c:Obj2>\n<o:SPdoObjColn Ref=\"o#7\"/>\n</c:Obj2>\n"
        "</o:SPdoObjRfjn>\n</c:Joins>\n</o:SPdoObjRefr>\n");
    EXPECT_NE(collection(reference, "c:Obj1").find(idOf(out.document, "o:SPdoObjTabl", "P") + "\""),
              std::string::npos);
    EXPECT_NE(
        collection(reference, "c:Key").find(idOf(out.document, "o:SPdoObjKey", "PK_P") + "\""),
        std::string::npos);
    EXPECT_EQ(joins(reference),
              std::vector<std::string>{idOf(out.document, "o:SPdoObjColn", "ID", 0) + "-" +
                                       idOf(out.document, "o:SPdoObjColn", "ID", 1)});
}

TEST(References, CardinalityOfTheChildMultiplicity) {
    struct Case {
        const char* multiplicity;
        const char* card;
    } cases[] = {{"0..1", "0,1"}, {"1", "1"},      {"1..*", "1,n"},         {"0..*", "0,n"},
                 {"*", "0,n"},    {"2..5", "2,5"}, {"2147483646..*", "0,n"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.multiplicity);
        ExportResult out =
            exportJson(model("", "",
                             std::string(R"({"kind": "association", "name": "R", "roles": [
            {"class": "p", "isSource": true, "multiplicity": "1"},
            {"class": "c", "multiplicity": ")") +
                                 c.multiplicity + "\"}]}"));
        EXPECT_NE(elementNamed(out.document, "o:SPdoObjRefr", "R")
                      .find(std::string("<a:Card>") + c.card + "</a:Card>\n"),
                  std::string::npos);
    }
}

TEST(References, RuleCodes) {
    const int pdm[] = {1, 0, 2, 1, 1, 1};
    for (int code = 0; code < 6; ++code) {
        SCOPED_TRACE(code);
        const int deleteCode = (code + 1) % 6;
        ExportResult out = exportJson(model(
            "", "",
            R"({"kind": "association", "name": "R", "roles": [
            {"class": "p", "isSource": true}, {"class": "c", "updateRule": )" +
                std::to_string(code) + ", \"deleteRule\": " + std::to_string(deleteCode) + "}]}"));
        EXPECT_NE(elementNamed(out.document, "o:SPdoObjRefr", "R")
                      .find("<a:Urul>" + std::to_string(pdm[code]) + "</a:Urul>\n<a:Drul>" +
                            std::to_string(pdm[deleteCode]) + "</a:Drul>\n"),
                  std::string::npos);
    }
}

TEST(References, ParentIsChosenByTheFlagOfRoleZeroAlone) {
    struct Case {
        const char* roles;
        const char* obj1;
        const char* obj2;
    } cases[] = {
        {R"({"class": "p", "isSource": true, "multiplicity": "1"}, {"class": "c", "multiplicity": "0..*"})",
         "P", "C"},
        {R"({"class": "c", "multiplicity": "0..*"}, {"class": "p", "isSource": true, "multiplicity": "1"})",
         "P", "C"},
        {R"({"class": "c", "isSource": false, "multiplicity": "0..*"}, {"class": "p", "isSource": false, "multiplicity": "1"})",
         "P", "C"},
        {R"({"class": "p", "isSource": false, "multiplicity": "1"}, {"class": "c", "isSource": true, "multiplicity": "0..*"})",
         "C", "P"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.roles);
        ExportResult out = exportJson(model(
            "", "",
            std::string(R"({"kind": "association", "name": "R", "roles": [)") + c.roles + "]}"));
        std::string reference = elementNamed(out.document, "o:SPdoObjRefr", "R");
        EXPECT_EQ(collection(reference, "c:Obj1"), "<c:Obj1>\n<o:SPdoObjTabl Ref=\"" +
                                                       idOf(out.document, "o:SPdoObjTabl", c.obj1) +
                                                       "\"/>\n</c:Obj1>");
        EXPECT_EQ(collection(reference, "c:Obj2"), "<c:Obj2>\n<o:SPdoObjTabl Ref=\"" +
                                                       idOf(out.document, "o:SPdoObjTabl", c.obj2) +
                                                       "\"/>\n</c:Obj2>");
        // Without a foreign key there is neither c:Key nor c:Joins.
        EXPECT_EQ(reference.find("<c:Key>"), std::string::npos);
        EXPECT_EQ(reference.find("<c:Joins>"), std::string::npos);
    }
}

TEST(References, ConstraintNameFromTheForeignKeyOrTheAssociation) {
    struct Case {
        const char* foreignKey;  // empty: the child role has none
        const char* fkcn;
    } cases[] = {
        {R"({"id": "fk", "kind": "foreign", "name": "Fk-One", "attributes": ["c.id"], "references": "p.pk"})",
         "Fk_One"},
        {R"({"id": "fk", "kind": "foreign", "physicalName": "FK_PHYS", "attributes": ["c.id"], "references": "p.pk"})",
         "FK_PHYS"},
        {R"({"id": "fk", "kind": "foreign", "attributes": ["c.id"], "references": "p.pk"})", "R_1"},
        {"", "R_1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.foreignKey);
        const bool hasKey = *c.foreignKey != 0;
        ExportResult out =
            exportJson(model(c.foreignKey, "",
                             std::string(R"({"kind": "association", "name": "R-1", "roles": [
            {"class": "p", "isSource": true}, {"class": "c")") +
                                 (hasKey ? R"(, "foreignKey": "fk")" : "") + "}]}"));
        EXPECT_NE(elementNamed(out.document, "o:SPdoObjRefr", "R_1")
                      .find(std::string("\n<a:Fkcn>") + c.fkcn + "</a:Fkcn>\n<a:Card>"),
                  std::string::npos);
    }
}

TEST(References, JoinsFollowIndexNameMapsAndNames) {
    struct Case {
        const char* name;
        const char* foreignKey;
        const char* indexes;
        std::vector<std::pair<std::string, std::string>> joins;  // parent, child column names
    } cases[] = {
        {"by key order",
         R"({"id": "fk", "kind": "foreign", "attributes": ["c.a", "c.b"], "references": "p.pk"})",
         "",
         {{"A", "A"}, {"B", "B"}}},
        {"by index order",
         R"({"id": "fk", "kind": "foreign", "attributes": ["c.a", "c.b"], "references": "p.pk", "index": "ix"})",
         R"({"id": "ix", "name": "IX", "members": [{"attribute": "c.b"}, {"attribute": "c.a"}]})",
         {{"B", "B"}, {"A", "A"}}},
        {"index shorter than the key",
         R"({"id": "fk", "kind": "foreign", "attributes": ["c.a", "c.b"], "references": "p.pk", "index": "ix"})",
         R"({"id": "ix", "name": "IX", "members": [{"attribute": "c.b"}]})",
         {{"B", "B"}}},
        {"through a name map, before the names",
         R"({"id": "fk", "kind": "foreign", "attributes": ["c.ref", "c.a"], "references": "p.pk",
             "nameMaps": [{"source": "p.id", "destination": "c.ref"}, {"source": "p.b", "destination": "c.a"}]})",
         "",
         {{"ID", "REF"}, {"B", "A"}}},
        {"a column without a parent is skipped",
         R"({"id": "fk", "kind": "foreign", "attributes": ["c.x", "c.b"], "references": "p.pk"})",
         "",
         {{"B", "B"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExportResult out =
            exportJson(model(c.foreignKey, c.indexes, R"({"kind": "association", "name": "R",
            "roles": [{"class": "p", "isSource": true}, {"class": "c", "foreignKey": "fk"}]})"));
        std::vector<std::string> expected;
        for (const auto& [parent, child] : c.joins)
            expected.push_back(idOf(out.document, "o:SPdoObjColn", parent, 0) + "-" +
                               idsNamed(out.document, "o:SPdoObjColn", child).back());
        EXPECT_EQ(joins(elementNamed(out.document, "o:SPdoObjRefr", "R")), expected);
    }
}

TEST(References, ForeignKeyWithoutCandidateKeyOrJoinableColumn) {
    // Joined through a name map only: an empty c:Key, one join.
    ExportResult out = exportJson(model(R"({"id": "fk", "kind": "foreign", "attributes": ["c.ref"],
        "nameMaps": [{"source": "p.id", "destination": "c.ref"}]})",
                                        "", R"({"kind": "association", "name": "R",
            "roles": [{"class": "p", "isSource": true}, {"class": "c", "foreignKey": "fk"}]})"));
    std::string reference = elementNamed(out.document, "o:SPdoObjRefr", "R");
    EXPECT_EQ(collection(reference, "c:Key"), "<c:Key>\n</c:Key>");
    EXPECT_EQ(joins(reference).size(), 1u);

    // No column can be joined: neither c:Key nor c:Joins.
    out = exportJson(
        model(R"({"id": "fk", "kind": "foreign", "attributes": ["c.x"], "references": "p.pk"})", "",
              R"({"kind": "association", "name": "R",
            "roles": [{"class": "p", "isSource": true}, {"class": "c", "foreignKey": "fk"}]})"));
    reference = elementNamed(out.document, "o:SPdoObjRefr", "R");
    EXPECT_EQ(reference.find("<c:Key>"), std::string::npos);
    EXPECT_EQ(reference.find("<c:Joins>"), std::string::npos);
}

TEST(References, TwoReferencesNeverShareAJoinIdentifier) {
    ExportResult out = exportJson(model(
        R"({"id": "fk1", "kind": "foreign", "attributes": ["c.a"], "references": "p.pk"},
           {"id": "fk2", "kind": "foreign", "attributes": ["c.b"], "references": "p.pk"})",
        "",
        R"({"kind": "association", "name": "R1", "roles": [{"class": "p", "isSource": true}, {"class": "c", "foreignKey": "fk1"}]},
               {"kind": "association", "name": "R2", "roles": [{"class": "p", "isSource": true}, {"class": "c", "foreignKey": "fk2"}]})"));
    EXPECT_EQ(occurrences(out.document, "<o:SPdoObjRfjn Id="), 2);
    std::string first = elementNamed(out.document, "o:SPdoObjRefr", "R1");
    std::string second = elementNamed(out.document, "o:SPdoObjRefr", "R2");
    std::string id1 = first.substr(first.find("<o:SPdoObjRfjn Id=\"") + 19, 6);
    std::string id2 = second.substr(second.find("<o:SPdoObjRfjn Id=\"") + 19, 6);
    EXPECT_NE(id1.substr(0, id1.find('"')), id2.substr(0, id2.find('"')));
}

// ---- Indexes -------------------------------------------------------------------

TEST(Indexes, SelectionMembersAndSortOrders) {
    ExportResult out = exportJson(merged(R"(
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
              "<o:SPdoObjIndx "
              "Id=\"o#1\">\n<a:Name>EMPTY</a:Name>\n<a:Code>EMPTY</a:Code>\n<a:Uniq>0</a:Uniq>\n"
              "<c:IndxColumns>\n</c:IndxColumns>\n</o:SPdoObjIndx>\n");
    std::string sorts = elementNamed(out.document, "o:SPdoObjIndx", "SORTS");
    EXPECT_EQ(sorts.find("<c:LinkObj>"), std::string::npos);
    std::vector<std::string> ascending;
    for (std::size_t at = sorts.find("<a:Ascd>"); at != std::string::npos;
         at = sorts.find("<a:Ascd>", at + 1))
        ascending.push_back(sorts.substr(at + 8, 1));
    EXPECT_EQ(ascending, (std::vector<std::string>{"1", "1", "0", "1"}));
}

TEST(Indexes, IndexOfAForeignKeyLinksTheReferenceWrittenInFullThere) {
    ExportResult out = exportJson(model(
        R"({"id": "fk", "kind": "foreign", "name": "FK", "attributes": ["c.id"], "references": "p.pk", "index": "ix"})",
        R"({"id": "ix", "name": "IX_FK", "key": "fk", "members": [{"attribute": "c.id"}]})",
        R"({"kind": "association", "name": "R", "roles": [{"class": "p", "isSource": true},
            {"class": "c", "foreignKey": "fk"}]})"));
    std::string index = elementNamed(out.document, "o:SPdoObjIndx", "IX_FK");
    std::string reference = idOf(out.document, "o:SPdoObjRefr", "R");
    EXPECT_EQ(collection(index, "c:LinkObj")
                  .find("<c:LinkObj>\n<o:SPdoObjRefr Id=\"" + reference + "\">"),
              0u);
    EXPECT_EQ(collection(out.document, "c:References"),
              "<c:References>\n<o:SPdoObjRefr Ref=\"" + reference + "\"/>\n</c:References>");
}
