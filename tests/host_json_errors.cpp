// Model files that are not valid are rejected with one message naming the
// file, the JSON path of the offending value and what is wrong; never with a
// crash or a partial model.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "importers/JsonModel.h"
#include "support/TestSupport.h"

namespace {

// A model whose second top-level package, "Main", holds `elements`; the first
// is a catalog with the schema "s1".
std::string inMain(const std::string& elements, const std::string& extra = "") {
    return R"({"format": "orx-model", "version": 1, "packages": [
  {"kind": "catalog", "name": "DB", "packages": [{"kind": "schema", "id": "s1", "name": "APP"}]},
  {"kind": "design", "id": "p1", "name": "Main", "elements": [)" +
           elements + "]" + extra + "}]}";
}

// Two classes: ORDERS (c1: a1 ID, a2 CUSTOMER_ID; keys `ordersKeys`, by default
// the candidate key k1 over a1; then `ordersExtra`) and CUSTOMER (c2: b1 ID;
// candidate key k2 over b1), then `more`.
std::string twoClasses(const std::string& ordersExtra = "", const std::string& more = "",
                       const std::string& ordersKeys = R"([{"id": "k1", "attributes": ["a1"]}])") {
    return R"({"kind": "class", "id": "c1", "name": "ORDERS",
     "attributes": [{"id": "a1", "name": "ID"}, {"id": "a2", "name": "CUSTOMER_ID"}],
     "keys": )" +
           ordersKeys + ordersExtra + R"(},
    {"kind": "class", "id": "c2", "name": "CUSTOMER",
     "attributes": [{"id": "b1", "name": "ID"}], "keys": [{"id": "k2", "attributes": ["b1"]}]})" +
           more;
}

std::string nestedPackages(int depth) {
    std::string text = R"({"format": "orx-model", "version": 1, "packages": )";
    for (int i = 0; i < depth; ++i)
        text += R"([{"kind": "design", "packages": )";
    text += "[]";
    for (int i = 0; i < depth; ++i)
        text += "}]";
    return text + "}";
}

std::string nestedPath(int depth) {
    std::string path = "packages[0]";
    for (int i = 1; i < depth; ++i)
        path += ".packages[0]";
    return path;
}

struct BadModel {
    const char* what;
    std::string text;
    std::string message;  // after "m.json: "
};

std::vector<BadModel> badModels() {
    const std::string head = R"({"format": "orx-model", "version": 1, )";
    return {
        {"not JSON", "hello",
         "line 1, column 1: syntax error while parsing value - invalid literal; last read: 'h'"},
        {"empty file", "",
         "line 1, column 1: syntax error while parsing value - unexpected end of input; "
         "expected '[', '{', or a literal"},
        {"text after the document", R"({"format": "orx-model", "version": 1} x)",
         "line 1, column 39: syntax error while parsing value - invalid literal; last read: "
         "'1} x'; expected end of input"},
        {"not UTF-8", "{\"format\": \"orx-model\", \"version\": 1, \"name\": \"caf\xE9\"}",
         "line 1, column 52: syntax error while parsing value - invalid string: ill-formed "
         "UTF-8 byte; last read: '\"caf\\xE9\"'"},
        {"root not an object", "[1, 2]", "$: expected an object"},
        {"format missing", R"({"version": 1})", "$: missing required key 'format'"},
        {"version missing", R"({"format": "orx-model"})", "$: missing required key 'version'"},
        {"wrong format", R"({"format": "orx-modell", "version": 1})",
         "format: expected \"orx-model\""},
        {"wrong version", R"({"format": "orx-model", "version": 2})", "version: expected 1"},
        {"version as text", R"({"format": "orx-model", "version": "1"})", "version: expected 1"},
        {"duplicate JSON key at the root", head + R"("name": "A", "name": "B"})",
         "name: duplicate key"},
        {"duplicate JSON key in a package",
         head + R"("packages": [{"kind": "design", "name": "A", "kind": "design"}]})",
         "packages[0].kind: duplicate key"},
        {"unknown key at the root", head + R"("nmae": "Sales"})", "nmae: unknown key"},
        {"unknown key in a package", head + R"("packages": [{"kind": "design", "colour": 1}]})",
         "packages[0].colour: unknown key"},
        {"unknown key in an attribute",
         inMain(R"({"kind": "class", "name": "T", "attributes": [{"name": "A", "typ": "x"}]})"),
         "packages[1].elements[0].attributes[0].typ: unknown key"},
        {"unknown key in an index member",
         inMain(twoClasses(
             R"(, "indexes": [{"members": [{"attribute": "a1", "descending": true}]}])")),
         "packages[1].elements[0].indexes[0].members[0].descending: unknown key"},
        {"candidate-key key on a foreign key",
         inMain(twoClasses("", "", R"([{"kind": "foreign", "unique": true}])")),
         "packages[1].elements[0].keys[0].unique: unknown key"},
        {"level code as text",
         inMain(R"({"kind": "class", "name": "T"}, {"kind": "view", "levelCode": "1"})"),
         "packages[1].elements[1].levelCode: expected an integer"},
        {"name as a number", head + R"("name": 5})", "name: expected a string"},
        {"flag as text",
         inMain(R"({"kind": "class", "name": "T", "attributes": [{"optional": "yes"}]})"),
         "packages[1].elements[0].attributes[0].optional: expected a boolean"},
        {"packages as an object", head + R"("packages": {}})", "packages: expected an array"},
        {"note as a number", head + R"("notes": ["one", 2]})", "notes[1]: expected a string"},
        {"package kind missing", head + R"("packages": [{"name": "A"}]})",
         "packages[0]: missing required key 'kind'"},
        {"unknown package kind", head + R"("packages": [{"kind": "folder"}]})",
         "packages[0].kind: expected \"catalog\", \"schema\" or \"design\""},
        {"design package in a catalog",
         head + R"("packages": [{"kind": "catalog", "packages": [{"kind": "design"}]}]})",
         "packages[0].packages[0].kind: expected \"schema\""},
        {"element kind missing", inMain(R"({"name": "T"})"),
         "packages[1].elements[0]: missing required key 'kind'"},
        {"unknown element kind", inMain(R"({"kind": "table"})"),
         "packages[1].elements[0].kind: expected \"class\", \"association\", \"generalization\" "
         "or \"view\""},
        {"operation kind missing", inMain("", R"(, "storedProcedures": [{"name": "P"}])"),
         "packages[1].storedProcedures[0]: missing required key 'kind'"},
        {"role without class",
         inMain(twoClasses("", R"(, {"kind": "association", "roles": [{"isSource": true}]})")),
         "packages[1].elements[2].roles[0]: missing required key 'class'"},
        {"duplicate id", inMain(R"({"kind": "class", "id": "s1", "name": "T"})"),
         "packages[1].elements[0].id: duplicate id 's1'"},
        {"empty id", head + R"("id": ""})", "id: expected a non-empty string"},
        {"dangling reference",
         inMain(twoClasses("", "", R"([{"id": "k9", "attributes": ["a1", "a9"]}])")),
         "packages[1].elements[0].keys[0].attributes[1]: unknown id 'a9'"},
        {"dangling forward reference to a class",
         inMain(R"({"kind": "association", "roles": [{"class": "c7"}]})"),
         "packages[1].elements[0].roles[0].class: unknown id 'c7'"},
        {"wrong-kind reference",
         inMain(twoClasses("", R"(, {"kind": "association", "roles": [{"class": "a1"}]})")),
         "packages[1].elements[2].roles[0].class: 'a1' is an attribute, expected a class"},
        {"owner that is not a schema", inMain(twoClasses(R"(, "owner": "p1")")),
         "packages[1].elements[0].owner: 'p1' is a design package, expected a schema"},
        {"key attribute of another class",
         inMain(twoClasses("", "", R"([{"id": "k9", "attributes": ["a1", "b1"]}])")),
         "packages[1].elements[0].keys[0].attributes[1]: no attribute 'b1' in class 'ORDERS'"},
        {"index member of another class",
         inMain(twoClasses(R"(, "indexes": [{"members": [{"attribute": "b1"}]}])")),
         "packages[1].elements[0].indexes[0].members[0].attribute: no attribute 'b1' in class "
         "'ORDERS'"},
        {"primary key of another class", inMain(twoClasses(R"(, "primaryKey": "k2")")),
         "packages[1].elements[0].primaryKey: no key 'k2' in class 'ORDERS'"},
        {"foreign key as primary key",
         inMain(twoClasses(R"(, "primaryKey": "f1")", "", R"([{"kind": "foreign", "id": "f1"}])")),
         "packages[1].elements[0].primaryKey: 'f1' is a foreign key, expected a candidate key"},
        {"role's foreign key of another class",
         inMain(twoClasses(
             "", R"(, {"kind": "association", "roles": [{"class": "c2", "foreignKey": "f1"}]})",
             R"([{"kind": "foreign", "id": "f1"}])")),
         "packages[1].elements[2].roles[0].foreignKey: no foreign key 'f1' in class 'CUSTOMER'"},
        {"generalization key not of a subtype",
         inMain(twoClasses("",
                           R"(, {"kind": "generalization", "supertype": "c1", "subtypes": ["c2"],
                                "foreignKeys": ["f1"]})",
                           R"([{"kind": "foreign", "id": "f1"}])")),
         "packages[1].elements[2].foreignKeys[0]: foreign key 'f1' is not a key of a subtype"},
        {"view column sourced from a class",
         inMain(twoClasses("", R"(, {"kind": "view", "columns": [{"source": "c2"}]})")),
         "packages[1].elements[2].columns[0].source: 'c2' is a class, expected an attribute or a "
         "view column"},
        {"view column sourced from itself",
         inMain(twoClasses("", R"(, {"kind": "view", "columns": [{"id": "v1", "source": "v1"}]})")),
         "packages[1].elements[2].columns[0].source: a view column cannot be its own source"},
        {"duplicate attribute name",
         inMain(R"({"kind": "class", "name": "T", "attributes": [{"name": "A"}, {"name": "A"}]})"),
         "packages[1].elements[0].attributes[1]: class 'T' already has an attribute named 'A'"},
        {"duplicate class name in a package",
         inMain(twoClasses("", R"(, {"kind": "class", "name": "ORDERS"})")),
         "packages[1].elements[2]: package 'Main' already holds a class named 'ORDERS'"},
        {"bad multiplicity", inMain(twoClasses("", R"(, {"kind": "association", "roles": [
             {"class": "c2", "isSource": true}, {"class": "c1", "multiplicity": "1..x"}]})")),
         "packages[1].elements[2].roles[1].multiplicity: invalid multiplicity '1..x'"},
        {"reversed multiplicity",
         inMain(twoClasses("", R"(, {"kind": "association", "roles": [{"class": "c2",
             "multiplicity": "3..1"}]})")),
         "packages[1].elements[2].roles[0].multiplicity: invalid multiplicity '3..1'"},
        {"bad rule name",
         inMain(twoClasses("", R"(, {"kind": "association", "roles": [{"class": "c2",
             "deleteRule": "drop"}]})")),
         "packages[1].elements[2].roles[0].deleteRule: unknown rule 'drop': expected an integer "
         "or one of noAction, cascade, restrict, setNull, setDefault"},
        {"rule as a flag",
         inMain(twoClasses("", R"(, {"kind": "association", "roles": [{"class": "c2",
             "updateRule": true}]})")),
         "packages[1].elements[2].roles[0].updateRule: expected an integer or one of noAction, "
         "cascade, restrict, setNull, setDefault"},
        {"colour name",
         inMain(twoClasses(),
                R"(, "diagrams": [{"symbols": [{"subject": "c1", "backgroundColor": "red"}]}])"),
         "packages[1].diagrams[0].symbols[0].backgroundColor: expected a colour: an integer "
         "0xRRGGBB or a string \"#RRGGBB\""},
        {"colour with a bad digit",
         inMain(twoClasses(),
                R"(, "diagrams": [{"symbols": [{"subject": "c1", "lineColor": "#12345G"}]}])"),
         "packages[1].diagrams[0].symbols[0].lineColor: expected a colour: an integer 0xRRGGBB "
         "or a string \"#RRGGBB\""},
        {"colour above 0xFFFFFF",
         inMain(twoClasses(),
                R"(, "diagrams": [{"symbols": [{"subject": "c1", "fontColor": 16777216}]}])"),
         "packages[1].diagrams[0].symbols[0].fontColor: expected a colour: an integer 0xRRGGBB "
         "or a string \"#RRGGBB\""},
        {"symbol of a type value", head + R"("types": [{"values": [{"id": "v1", "value": "A"}]}],
           "packages": [{"kind": "design", "diagrams": [{"symbols": [{"subject": "v1"}]}]}]})",
         "packages[0].diagrams[0].symbols[0].subject: 'v1' is a type value, expected a model "
         "element"},
        {"diagram member that is a symbol",
         head + R"("packages": [{"kind": "design", "elements": [{"kind": "class", "id": "c",
           "name": "T"}], "diagrams": [{"members": ["s"], "symbols": [{"id": "s", "subject": "c"}]}]}]})",
         "packages[0].diagrams[0].members[0]: 's' is a symbol, expected a model element"},
        {"symbol without subject", inMain("", R"(, "diagrams": [{"symbols": [{"x": 1}]}])"),
         "packages[1].diagrams[0].symbols[0]: missing required key 'subject'"},
        {"integer above 32 bits", head + R"("levelCode": 2147483648})",
         "levelCode: expected an integer from -2147483648 to 2147483647"},
        {"integer below 32 bits", head + R"("levelCode": -2147483649})",
         "levelCode: expected an integer from -2147483648 to 2147483647"},
        {"integer beyond 64 bits", head + R"("levelCode": 123456789012345678901234567890})",
         "levelCode: expected an integer from -2147483648 to 2147483647"},
        {"fraction", head + R"("levelCode": 1.5})", "levelCode: expected an integer"},
        {"position beyond 16 bits",
         inMain(
             twoClasses(R"(, "indexes": [{"members": [{"attribute": "a1", "position": 32768}]}])")),
         "packages[1].elements[0].indexes[0].members[0].position: expected an integer from "
         "-32768 to 32767"},
        {"three operation links",
         inMain(
             twoClasses(R"(, "operations": [{"kind": "procedure", "links": ["c1", "c2", "c1"]}])")),
         "packages[1].elements[0].operations[0].links: expected at most two ids"},
        {"inline type with an id",
         inMain(R"({"kind": "class", "name": "T", "attributes": [{"type": {"id": "t"}}]})"),
         "packages[1].elements[0].attributes[0].type.id: an inline type has no id"},
        {"attribute type that is a class",
         inMain(R"({"kind": "class", "id": "c", "name": "T", "attributes": [{"type": "c"}]})"),
         "packages[1].elements[0].attributes[0].type: 'c' is a class, expected a type"},
        {"unknown key kind",
         inMain(R"({"kind": "class", "name": "T", "keys": [{"kind": "primary"}]})"),
         "packages[1].elements[0].keys[0].kind: expected \"candidate\" or \"foreign\""},
        {"isDomain on a base type", head + R"("types": [{"kind": "base", "isDomain": true}]})",
         "types[0].isDomain: only a derived type has isDomain"},
        {"deep package nesting", nestedPackages(201),
         nestedPath(201) + ": packages nested deeper than 200 levels"},
    };
}

TEST(JsonModelErrors, EachBadModelGivesItsExactMessage) {
    for (const BadModel& bad : badModels()) {
        SCOPED_TRACE(bad.what);
        try {
            importers::parseJsonModel(bad.text, "m.json");
            ADD_FAILURE() << "loaded without error";
        } catch (const importers::ModelFileError& e) {
            EXPECT_EQ("m.json: " + bad.message, e.what());
        }
    }
}

TEST(JsonModelErrors, NestingUpToTheLimitLoads) {
    std::unique_ptr<ORXModel> model;
    ASSERT_NO_THROW(model = importers::parseJsonModel(nestedPackages(200), "m.json"));
    const ORXPackage* package = model.get();
    int depth = 0;
    while (package->getChildPackageCount() == 1) {
        package = package->getChildPackage(0);
        ++depth;
    }
    EXPECT_EQ(200, depth);
}

TEST(JsonModelErrors, DeepJsonNestingIsRejectedWithoutCrashing) {
    const int depth = 200000;
    std::string text = R"({"format": "orx-model", "version": 1, "name": )";
    text += std::string(depth, '[') + std::string(depth, ']') + "}";
    try {
        importers::parseJsonModel(text, "m.json");
        ADD_FAILURE() << "loaded without error";
    } catch (const importers::ModelFileError& e) {
        EXPECT_STREQ("m.json: name: expected a string", e.what());
    }
    std::string packages = nestedPackages(50000);
    try {
        importers::parseJsonModel(packages, "m.json");
        ADD_FAILURE() << "loaded without error";
    } catch (const importers::ModelFileError& e) {
        EXPECT_EQ("m.json: " + nestedPath(201) + ": packages nested deeper than 200 levels",
                  e.what());
    }
}

TEST(JsonModelErrors, FileErrorsNameTheFileAsGiven) {
    struct Case {
        const char* file;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"bad/not-json.json",
         "line 3, column 4: syntax error while parsing object key - invalid literal; last read: "
         "'1,<U+000A>  na'; expected string literal"},
        {"bad/dangling-owner.json", "packages[0].elements[0].owner: unknown id 'app'"},
        {"bad/latin1-name.json",
         "line 4, column 13: syntax error while parsing value - invalid string: ill-formed "
         "UTF-8 byte; last read: '\"M\\xFC'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string path = pdmtest::dataFile(c.file);
        try {
            importers::loadJsonModelFile(path);
            ADD_FAILURE() << "loaded without error";
        } catch (const importers::ModelFileError& e) {
            EXPECT_EQ(path + ": " + c.message, e.what());
        }
    }
    pdmtest::TempDir dir;
    std::string missing = dir.file("missing.json");
    try {
        importers::loadJsonModelFile(missing);
        ADD_FAILURE() << "loaded without error";
    } catch (const importers::ModelFileError& e) {
        EXPECT_EQ(missing + ": cannot open the file: No such file or directory", e.what());
    }
}

}  // namespace
