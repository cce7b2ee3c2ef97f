// What the export keeps per object, and the lists its writers reuse.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "orx/ORXModel.h"
#include "pdm/NameStore.h"
#include "pdm/ReusableLists.h"
#include "support/WriterSupport.h"

namespace {

// The writers recurse while they hold a list (a table's index writes a
// reference, which writes its parent table): a nested borrower must get a list
// of its own, and a list given back comes back empty.
TEST(ReusableLists, NestedBorrowersGetTheirOwnListsAndListsComeBackEmpty) {
    ReusableLists<ORXAttributeByPosition> lists;
    ORXAttribute a, b;
    ORXAttributeByPosition* outerList = nullptr;
    {
        auto outer = lists.borrow();
        outerList = &*outer;
        outer->items = {&a, &b};
        {
            auto inner = lists.borrow();
            EXPECT_NE(&*inner, outerList);
            EXPECT_EQ(inner->getCount(), 0);
            inner->items = {&b};
        }
        // The inner borrower's list went back; the outer one is untouched.
        ASSERT_EQ(outer->getCount(), 2);
        EXPECT_EQ(outer->getAttribute(0), &a);
        EXPECT_EQ(outer->getAttribute(1), &b);
    }
    auto again = lists.borrow();
    EXPECT_EQ(again->getCount(), 0);
    // The last list given back is the first lent out again, capacity and all.
    EXPECT_EQ(&*again, outerList);
    EXPECT_GE(again->items.capacity(), 2u);
}

}  // namespace

namespace {

using namespace pdmtest;

// The name and code of every table, column and reference element written in
// full, in document order, as "tag name code".
std::vector<std::string> namesAndCodes(const std::string& document) {
    static const std::regex element(
        "<o:SPdoObj(Tabl|Coln|Refr) Id=\"o([0-9]+)\">\n<a:OID>[^<]*</a:OID>\n"
        "<a:Name>([^<]*)</a:Name>\n<a:Code>([^<]*)</a:Code>\n");
    std::vector<std::string> found;
    for (std::sregex_iterator it(document.begin(), document.end(), element), end; it != end; ++it)
        found.push_back((*it)[1].str() + " " + (*it)[3].str() + " " + (*it)[4].str());
    return found;
}

// Names and codes share their stored texts (a column named ID in every table,
// a code equal to its name), so what each object gets must still be its own:
// uniquified tables, sanitised texts, long texts, texts from physical names.
TEST(ExportNamesInTheDocument, EachObjectKeepsItsOwnNameAndCode) {
    struct Case {
        const char* what;
        std::string elements;
        std::vector<std::string> expected;
    } cases[] = {
        {"tables equal but for case, with equal columns",
         R"({"kind": "class", "name": "Customer", "attributes": [{"name": "ID"}, {"name": "Name-1"}]},
            {"kind": "class", "name": "CUSTOMER", "attributes": [{"name": "ID"}, {"name": "Name-1"}]})",
         {"Tabl Customer Customer", "Coln ID ID", "Coln Name_1 Name_1",
          "Tabl CUSTOMER_1 CUSTOMER_1", "Coln ID ID", "Coln Name_1 Name_1"}},
        {"names and codes uniquified apart",
         R"({"kind": "class", "name": "T_1"}, {"kind": "class", "name": "T", "physicalName": "t-1"},
            {"kind": "class", "name": "t"})",
         {"Tabl T_1 T_1", "Tabl T t_1_1", "Tabl t_2 t"}},
        {"long texts",
         R"({"kind": "class", "name": "A_VERY_LONG_TABLE_NAME",
             "attributes": [{"name": "A_VERY_LONG_COLUMN_NAME", "physicalName": "A.VERY.LONG.CODE"}]},
            {"kind": "class", "name": "a_very_long_table_name",
             "attributes": [{"name": "A_VERY_LONG_COLUMN_NAME"}]})",
         {"Tabl A_VERY_LONG_TABLE_NAME A_VERY_LONG_TABLE_NAME",
          "Coln A_VERY_LONG_COLUMN_NAME A_VERY_LONG_CODE",
          "Tabl a_very_long_table_name_1 a_very_long_table_name_1",
          "Coln A_VERY_LONG_COLUMN_NAME A_VERY_LONG_COLUMN_NAME"}},
        {"a name that is a code elsewhere",
         R"({"kind": "class", "name": "Total %", "attributes": [{"name": "Total__"}]},
            {"kind": "class", "physicalName": "EMP-NO", "attributes": [{"name": "Total %"}]})",
         {"Tabl Total % Total__", "Coln Total__ Total__", "Tabl EMP_NO EMP_NO",
          "Coln Total % Total__"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(namesAndCodes(exportJson(mainModel(c.elements)).document), c.expected);
    }
}

// An object without a name or physical name is named after its element type
// and its identifier: a text made, not taken from the model.
TEST(ExportNamesInTheDocument, AnUnnamedReferenceIsNamedAfterItsIdentifier) {
    const std::string document = exportJson(mainModel(R"(
        {"kind": "class", "id": "p", "name": "P"}, {"kind": "class", "id": "c", "name": "C"},
        {"kind": "association", "roles": [{"class": "p", "isSource": true}, {"class": "c"}]},
        {"kind": "association", "roles": [{"class": "p", "isSource": true}, {"class": "c"}]})"))
                                     .document;
    std::vector<std::string> references;
    for (const std::string& element : namesAndCodes(document))
        if (element.rfind("Refr", 0) == 0)
            references.push_back(element);
    ASSERT_EQ(references.size(), 2u);
    const std::regex reference("Refr Association_([0-9]+) Association_([0-9]+)");
    for (const std::string& element : references) {
        SCOPED_TRACE(element);
        std::smatch match;
        ASSERT_TRUE(std::regex_match(element, match, reference));
        EXPECT_EQ(match[1].str(), match[2].str());
        EXPECT_NE(document.find("<o:SPdoObjRefr Id=\"o" + match[1].str() + "\">"),
                  std::string::npos);
    }
    EXPECT_NE(references[0], references[1]);
}

// The store keeps one string per text, exact bytes (case counts), and its
// strings stay where they are while it grows.
TEST(NameStore, OneStringPerTextThatNeverMoves) {
    NameStore store;
    const std::uint32_t id = store.intern("ID");
    const ORXString* idText = &store.at(id);
    EXPECT_NE(id, 0u);
    EXPECT_EQ(store.intern("ID"), id);
    EXPECT_NE(store.intern("id"), id);
    EXPECT_NE(store.intern(std::string_view("ID\0X", 4)), id);
    std::vector<std::uint32_t> positions;
    for (int i = 0; i < 5000; ++i)
        positions.push_back(store.intern("COLUMN_NAME_LONGER_THAN_SSO_" + std::to_string(i)));
    EXPECT_EQ(&store.at(id), idText);
    EXPECT_EQ(idText->str(), "ID");
    for (int i = 0; i < 5000; i += 499) {
        SCOPED_TRACE(i);
        const std::string text = "COLUMN_NAME_LONGER_THAN_SSO_" + std::to_string(i);
        EXPECT_EQ(store.at(positions[static_cast<std::size_t>(i)]).str(), text);
        EXPECT_EQ(store.intern(text), positions[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(store.size(), 5003u);
    store.clear();
    EXPECT_EQ(store.size(), 0u);
    EXPECT_EQ(store.at(store.intern("ID")).str(), "ID");
}

}  // namespace

namespace {

// The rarer fields live apart from the record: an object gets them only when
// an operation needs them, each object its own, and post-processing drops
// records and details alike, leaving no general pointer set.
TEST(ExportRecords, DetailsAreMadeOnDemandPerObjectAndDroppedWithTheRecords) {
    RecordingLog log;
    ORXModel model;
    ORXSybasePowerDesignerPdm08ExportBridge bridge(&log);
    bridge.model = &model;
    ORXClass a, b;
    ORXDesignPackage p, q;

    const int idA = bridge.getObjectId(&a);
    EXPECT_EQ(bridge.getObjectId(&a), idA);
    EXPECT_EQ(bridge.findExportDetail(&a), nullptr);

    // One shortcut identifier per package for as long as the package stays
    // the same; a fresh one when it changes.
    const int inP = bridge.getShortcutId(&a, &p);
    EXPECT_EQ(inP, idA + 1);
    EXPECT_EQ(bridge.getShortcutId(&a, &p), inP);
    const int inQ = bridge.getShortcutId(&a, &q);
    EXPECT_EQ(inQ, inP + 1);
    ASSERT_NE(bridge.findExportDetail(&a), nullptr);
    EXPECT_EQ(bridge.findExportDetail(&a)->shortcutPackage, &q);

    // b's record and detail are its own.
    EXPECT_FALSE(bridge.testAndSetWritten(&b));
    EXPECT_TRUE(bridge.testAndSetWritten(&b));
    EXPECT_EQ(bridge.findExportDetail(&b), nullptr);
    bridge.getExportDetail(&b).ruleId = 42;
    bridge.getExportDetail(&p).tableShortcuts.add(inP);
    EXPECT_EQ(bridge.getExportDetail(&b).shortcutId, 0);
    EXPECT_EQ(bridge.getExportDetail(&a).ruleId, 0);
    EXPECT_EQ(bridge.getExportDetail(&p).tableShortcuts.getCount(), 1);
    EXPECT_FALSE(bridge.getExportRecord(&a).written);

    bridge.postProcess();
    for (ORXObject* object : std::vector<ORXObject*>{&a, &b, &p, &q}) {
        SCOPED_TRACE(object->getElementType());
        EXPECT_EQ(object->getGeneralPointer(), nullptr);
        EXPECT_EQ(bridge.findExportDetail(object), nullptr);
    }
    // A later export starts from fresh records.
    EXPECT_EQ(bridge.getExportDetail(&b).ruleId, 0);
    EXPECT_FALSE(bridge.testAndSetWritten(&b));
    bridge.postProcess();
}

}  // namespace
