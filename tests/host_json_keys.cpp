// Each kind of object in a model file takes its own keys: a key that the kind
// does not take is named with the whole list the kind takes, and a key that
// merely resembles one (same length, same first, middle and last letters) is
// not mistaken for it.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "importers/modelfile/JsonModel.h"
#include "support/JsonModelSupport.h"

namespace {

const std::string kCommon = "id, name, physicalName, comment, description, notes, levelCode";

// A model whose only package is the design package "Main", with `elements`
// and then `extra` (more keys of the package).
std::string inMain(const std::string& elements, const std::string& extra = "") {
    return R"({"format": "orx-model", "version": 1, "packages": [
  {"kind": "design", "name": "Main", "elements": [)" +
           elements + "]" + extra + "}]}";
}

// One class with one attribute (a1), a candidate key (k1) and an index (i1).
const std::string kClass = R"({"kind": "class", "id": "c1", "name": "T",
  "attributes": [{"id": "a1", "name": "ID"}],
  "keys": [{"id": "k1", "attributes": ["a1"], "index": "i1"}],
  "indexes": [{"id": "i1", "members": [{"attribute": "a1"}]}]})";

TEST(JsonModelKeys, AnUnknownKeyIsNamedWithTheKeysItsKindTakes) {
    struct Case {
        const char* what;
        std::string text;  // holds the key "zz" where the kind does not take it
        std::string message;
    };
    const Case cases[] = {
        {"model", R"({"format": "orx-model", "version": 1, "zz": 1})",
         "zz: unknown key; expected one of: format, version, types, packages, " + kCommon},
        {"model type",
         R"({"format": "orx-model", "version": 1, "types": [{"dataType": "X", "zz": 1}]})",
         "types[0].zz: unknown key; expected one of: kind, isDomain, dataType, length, scale, "
         "initialValue, lowerBound, upperBound, values, " +
             kCommon},
        {"type value",
         R"({"format": "orx-model", "version": 1, "types": [{"values": [{"value": "A", "zz": 1}]}]})",
         "types[0].values[0].zz: unknown key; expected one of: id, value, name"},
        {"catalog",
         R"({"format": "orx-model", "version": 1, "packages": [{"kind": "catalog", "zz": 1}]})",
         "packages[0].zz: unknown key; expected one of: kind, databaseType, packages, " + kCommon},
        {"schema",
         R"({"format": "orx-model", "version": 1, "packages": [{"kind": "catalog", "packages": [{"kind": "schema", "zz": 1}]}]})",
         "packages[0].packages[0].zz: unknown key; expected one of: kind, " + kCommon},
        {"design package", inMain("", R"(, "zz": 1)"),
         "packages[0].zz: unknown key; expected one of: kind, asPackage, elements, diagrams, "
         "storedProcedures, packages, " +
             kCommon},
        {"class", inMain(R"({"kind": "class", "zz": 1})"),
         "packages[0].elements[0].zz: unknown key; expected one of: kind, tableType, owner, "
         "synonyms, checkRule, attributes, keys, primaryKey, indexes, operations, " +
             kCommon},
        {"class check rule", inMain(R"({"kind": "class", "checkRule": {"text": "x", "zz": 1}})"),
         "packages[0].elements[0].checkRule.zz: unknown key; expected one of: id, name, text"},
        {"attribute", inMain(R"({"kind": "class", "attributes": [{"name": "A", "zz": 1}]})"),
         "packages[0].elements[0].attributes[0].zz: unknown key; expected one of: type, "
         "initialValue, optional, checkExpression, checkRule, " +
             kCommon},
        {"inline type",
         inMain(R"({"kind": "class", "attributes": [{"type": {"dataType": "X", "zz": 1}}]})"),
         "packages[0].elements[0].attributes[0].type.zz: unknown key; expected one of: kind, "
         "isDomain, dataType, length, scale, initialValue, lowerBound, upperBound, values, " +
             kCommon},
        {"candidate key", inMain(R"({"kind": "class", "keys": [{"zz": 1}]})"),
         "packages[0].elements[0].keys[0].zz: unknown key; expected one of: kind, attributes, "
         "index, orderingIndex, unique, " +
             kCommon},
        {"foreign key",
         inMain(R"({"kind": "class", "keys": [{"kind": "foreign", "unique": true}]})"),
         "packages[0].elements[0].keys[0].unique: unknown key; expected one of: kind, "
         "attributes, index, orderingIndex, references, nameMaps, " +
             kCommon},
        {"name map",
         inMain(kClass + R"(, {"kind": "class", "id": "c2", "attributes": [{"id": "b1"}],
             "keys": [{"kind": "foreign", "references": "k1",
                       "nameMaps": [{"source": "a1", "destination": "b1", "zz": 1}]}]})"),
         "packages[0].elements[1].keys[0].nameMaps[0].zz: unknown key; expected one of: id, "
         "source, destination"},
        {"index", inMain(R"({"kind": "class", "indexes": [{"zz": 1}]})"),
         "packages[0].elements[0].indexes[0].zz: unknown key; expected one of: unique, "
         "clustered, key, members, " +
             kCommon},
        {"index member",
         inMain(R"({"kind": "class", "indexes": [{"members": [{"attribute": "a", "zz": 1}]}]})"),
         "packages[0].elements[0].indexes[0].members[0].zz: unknown key; expected one of: id, "
         "attribute, sortOrder, position"},
        {"operation", inMain(R"({"kind": "class", "operations": [{"zz": 1}]})"),
         "packages[0].elements[0].operations[0].zz: unknown key; expected one of: kind, body, "
         "owner, links, timing, onInsert, onUpdate, onDelete, " +
             kCommon},
        {"association", inMain(R"({"kind": "association", "zz": 1})"),
         "packages[0].elements[0].zz: unknown key; expected one of: kind, roles, " + kCommon},
        {"role", inMain(R"({"kind": "association", "roles": [{"class": "c1", "zz": 1}]})"),
         "packages[0].elements[0].roles[0].zz: unknown key; expected one of: class, isSource, "
         "multiplicity, updateRule, deleteRule, foreignKey, " +
             kCommon},
        {"generalization", inMain(R"({"kind": "generalization", "zz": 1})"),
         "packages[0].elements[0].zz: unknown key; expected one of: kind, supertype, subtypes, "
         "foreignKeys, " +
             kCommon},
        {"view", inMain(R"({"kind": "view", "zz": 1})"),
         "packages[0].elements[0].zz: unknown key; expected one of: kind, statement, "
         "statementKind, owner, columns, " +
             kCommon},
        {"view column", inMain(R"({"kind": "view", "columns": [{"zz": 1}]})"),
         "packages[0].elements[0].columns[0].zz: unknown key; expected one of: source, " + kCommon},
        {"diagram", inMain("", R"(, "diagrams": [{"zz": 1}])"),
         "packages[0].diagrams[0].zz: unknown key; expected one of: members, symbols, " + kCommon},
        {"symbol", inMain(kClass, R"(, "diagrams": [{"symbols": [{"subject": "c1", "zz": 1}]}])"),
         "packages[0].diagrams[0].symbols[0].zz: unknown key; expected one of: id, subject, x, "
         "y, width, height, backgroundColor, lineColor, fontColor"},
        // The first unknown key in file order is the one named.
        {"first of two", inMain(R"({"kind": "class", "b": 1, "name": "T", "a": 2})"),
         "packages[0].elements[0].b: unknown key; expected one of: kind, tableType, owner, "
         "synonyms, checkRule, attributes, keys, primaryKey, indexes, operations, " +
             kCommon},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(pdmtest::modelFileError(c.text), "m.json: " + c.message);
    }
}

TEST(JsonModelKeys, AKeyThatOnlyResemblesAKnownOneIsUnknown) {
    const std::string classKeys =
        "kind, tableType, owner, synonyms, checkRule, attributes, keys, primaryKey, indexes, "
        "operations, " +
        kCommon;
    // Each lookalike has the length and the first, middle and last letters
    // of a key the kind takes (name, kind, owner, attributes, levelCode,
    // onUpdate, height).
    const std::pair<std::string, std::string> cases[] = {
        {inMain(R"({"kind": "class", "nXme": "T"})"),
         "packages[0].elements[0].nXme: unknown key; expected one of: " + classKeys},
        {inMain(R"({"kXnd": "class"})"), "packages[0].elements[0]: missing required key 'kind'"},
        {inMain(R"({"kind": "class", "oXnXr": "s"})"),
         "packages[0].elements[0].oXnXr: unknown key; expected one of: " + classKeys},
        {inMain(R"({"kind": "class", "aXXXXbXXXs": []})"),
         "packages[0].elements[0].aXXXXbXXXs: unknown key; expected one of: " + classKeys},
        {inMain(R"({"kind": "class", "lXXXlXXXe": 1})"),
         "packages[0].elements[0].lXXXlXXXe: unknown key; expected one of: " + classKeys},
        {inMain("", R"(, "storedProcedures": [{"oXXXdXXe": true}])"),
         "packages[0].storedProcedures[0].oXXXdXXe: unknown key; expected one of: kind, body, "
         "owner, links, timing, onInsert, onUpdate, onDelete, " +
             kCommon},
        {inMain(kClass, R"(, "diagrams": [{"symbols": [{"subject": "c1", "hXXgXt": 1}]}])"),
         "packages[0].diagrams[0].symbols[0].hXXgXt: unknown key; expected one of: id, subject, x, "
         "y, "
         "width, height, backgroundColor, lineColor, fontColor"},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(message);
        EXPECT_EQ(pdmtest::modelFileError(text), "m.json: " + message);
    }
}

TEST(JsonModelKeys, KeysOfOneLengthAreToldApart) {
    // onInsert, onUpdate and onDelete share their length and first letters;
    // x and y, and the three colours, are read into their own places.
    std::unique_ptr<ORXModel> model = importers::parseJsonModel(inMain(kClass,
                                                                       R"(, "storedProcedures": [
                    {"name": "P1", "onUpdate": true, "onInsert": false, "onDelete": false},
                    {"name": "P2", "onDelete": true, "onUpdate": false},
                    {"name": "P3", "onInsert": true}],
                  "diagrams": [{"symbols": [{"subject": "c1", "y": 7, "x": 3, "height": 40,
                    "width": 20, "fontColor": 3, "lineColor": 2, "backgroundColor": 1}]}])"),
                                                                "m.json");
    auto* package = static_cast<ORXDesignPackage*>(model->getChildPackage(0));
    ASSERT_EQ(package->getStoredProcedureCount(), 3);
    const bool expected[3][3] = {{false, true, false}, {false, false, true}, {true, false, false}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        ORXOperation* procedure = package->getStoredProcedure(i);
        EXPECT_EQ(procedure->isOnInsert(), expected[i][0]);
        EXPECT_EQ(procedure->isOnUpdate(), expected[i][1]);
        EXPECT_EQ(procedure->isOnDelete(), expected[i][2]);
    }
    ORXPresentationElement* symbol = package->getDiagram(0)->getPresentationElement(0);
    EXPECT_EQ(symbol->getX(), 3);
    EXPECT_EQ(symbol->getY(), 7);
    EXPECT_EQ(symbol->getWidth(), 20);
    EXPECT_EQ(symbol->getHeight(), 40);
    EXPECT_EQ(symbol->getBackgroundColor(), 1);
    EXPECT_EQ(symbol->getLineColor(), 2);
    EXPECT_EQ(symbol->getFontColor(), 3);
}

TEST(JsonModelKeys, TheListsOfAGeneralizationMustBeArrays) {
    const std::string generalization = R"(, {"kind": "generalization", "supertype": "c1", )";
    const std::pair<std::string, std::string> cases[] = {
        {inMain(kClass + generalization + R"("subtypes": "c1"})"),
         "packages[0].elements[1].subtypes: expected an array"},
        {inMain(kClass + generalization + R"("subtypes": [], "foreignKeys": {}})"),
         "packages[0].elements[1].foreignKeys: expected an array"},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(message);
        EXPECT_EQ(pdmtest::modelFileError(text), "m.json: " + message);
    }
}

}  // namespace
