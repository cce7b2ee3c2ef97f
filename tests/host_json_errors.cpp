// Model files that are not valid are rejected with one message naming the
// file, the JSON path of the offending value and what is wrong; never with a
// crash or a partial model.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "importers/modelfile/JsonModel.h"
#include "support/JsonModelSupport.h"
#include "support/TestSupport.h"

namespace {

const std::string kHead = R"({"format": "orx-model", "version": 1, )";

// A model whose second package, the design package "Main", holds `elements`;
// the first is a catalog with the schema "s1".
std::string inMain(const std::string& elements, const std::string& extra = "") {
    return kHead + R"("packages": [
  {"kind": "catalog", "packages": [{"kind": "schema", "id": "s1"}]},
  {"kind": "design", "id": "p1", "name": "Main", "elements": [)" +
           elements + "]" + extra + "}]}";
}

// ORDERS (c1: a1, a2; keys `ordersKeys`, then `ordersExtra`) and CUSTOMER
// (c2: b1; candidate key k2), then `more`.
std::string twoClasses(const std::string& ordersExtra = "", const std::string& more = "",
                       const std::string& ordersKeys = R"([{"id": "k1", "attributes": ["a1"]}])") {
    return R"({"kind": "class", "id": "c1", "name": "ORDERS",
     "attributes": [{"id": "a1", "name": "ID"}, {"id": "a2", "name": "CUSTOMER_ID"}], "keys": )" +
           ordersKeys + ordersExtra + R"(},
    {"kind": "class", "id": "c2", "name": "CUSTOMER",
     "attributes": [{"id": "b1", "name": "ID"}], "keys": [{"id": "k2", "attributes": ["b1"]}]})" +
           more;
}

std::string association(const std::string& roles) {
    return twoClasses("", R"(, {"kind": "association", "roles": )" + roles + "}");
}

std::string nestedPackages(int depth) {
    std::string text = kHead + R"("packages": )";
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

TEST(JsonModelErrors, EachBadModelGivesItsExactMessage) {
    struct Case {
        const char* what;
        std::string text;
        std::string message;  // after "m.json: "
    };
    const std::string symbol = R"(, "diagrams": [{"symbols": [{"subject": "c1", )";
    const Case cases[] = {
        {"not JSON", "hello",
         "line 1, column 1: syntax error while parsing value - invalid literal; last read: 'h'"},
        {"not UTF-8", kHead + "\"name\": \"caf\xE9\"}",
         "line 1, column 52: syntax error while parsing value - invalid string: ill-formed "
         "UTF-8 byte; last read: '\"caf\\xE9\"'"},
        {"format missing", R"({"version": 1})", "$: missing required key 'format'"},
        {"wrong format", R"({"format": "orx-modell", "version": 1})",
         "format: expected \"orx-model\""},
        {"wrong version", R"({"format": "orx-model", "version": 2})", "version: expected 1"},
        {"duplicate JSON key", kHead + R"("packages": [{"kind": "design", "kind": "design"}]})",
         "packages[0].kind: duplicate key"},
        {"unknown key",
         inMain(R"({"kind": "class", "name": "T", "attributes": [{"name": "A", "typ": "x"}]})"),
         "packages[1].elements[0].attributes[0].typ: unknown key; expected one of: type, "
         "initialValue, optional, checkExpression, checkRule, id, name, physicalName, comment, "
         "description, notes, levelCode"},
        {"empty key", kHead + R"("": 1})",
         "\"\": unknown key; expected one of: format, version, types, packages, id, name, "
         "physicalName, comment, description, notes, levelCode"},
        {"trigger as a package's stored procedure",
         inMain("", R"(, "storedProcedures": [{"name": "P"}, {"kind": "trigger"}])"),
         "packages[1].storedProcedures[1].kind: expected \"procedure\": a package holds stored "
         "procedures only"},
        {"flag as text",
         inMain(R"({"kind": "class", "name": "T", "attributes": [{"optional": "yes"}]})"),
         "packages[1].elements[0].attributes[0].optional: expected a boolean"},
        {"note as a number", kHead + R"("notes": ["one", 2]})", "notes[1]: expected a string"},
        {"package kind missing", kHead + R"("packages": [{"name": "A"}]})",
         "packages[0]: missing required key 'kind'"},
        {"unknown element kind", inMain(R"({"kind": "table"})"),
         "packages[1].elements[0].kind: expected \"class\", \"association\", \"generalization\" "
         "or \"view\""},
        {"duplicate id", inMain(R"({"kind": "class", "id": "s1", "name": "T"})"),
         "packages[1].elements[0].id: duplicate id 's1'"},
        {"dangling forward reference",
         inMain(R"({"kind": "association", "roles": [{"class": "c7"}]})"),
         "packages[1].elements[0].roles[0].class: unknown id 'c7'"},
        {"wrong-kind reference", inMain(association(R"([{"class": "a1"}])")),
         "packages[1].elements[2].roles[0].class: 'a1' is an attribute, expected a class"},
        {"key attribute of another class",
         inMain(twoClasses("", "", R"([{"id": "k9", "attributes": ["a1", "b1"]}])")),
         "packages[1].elements[0].keys[0].attributes[1]: no attribute 'b1' in class 'ORDERS'"},
        {"foreign key as primary key",
         inMain(twoClasses(R"(, "primaryKey": "f1")", "", R"([{"kind": "foreign", "id": "f1"}])")),
         "packages[1].elements[0].primaryKey: 'f1' is a foreign key, expected a candidate key"},
        {"view column sourced from itself",
         inMain(twoClasses("", R"(, {"kind": "view", "columns": [{"id": "v1", "source": "v1"}]})")),
         "packages[1].elements[2].columns[0].source: a view column cannot be its own source"},
        {"duplicate attribute name",
         inMain(R"({"kind": "class", "name": "T", "attributes": [{"name": "A"}, {"name": "A"}]})"),
         "packages[1].elements[0].attributes[1]: class 'T' already has an attribute named 'A'"},
        {"duplicate class name", inMain(twoClasses("", R"(, {"kind": "class", "name": "ORDERS"})")),
         "packages[1].elements[2]: package 'Main' already holds a class named 'ORDERS'"},
        {"reversed multiplicity",
         inMain(association(R"([{"class": "c2", "multiplicity": "3..1"}])")),
         "packages[1].elements[2].roles[0].multiplicity: invalid multiplicity '3..1'"},
        {"bad rule name", inMain(association(R"([{"class": "c2", "deleteRule": "drop"}])")),
         "packages[1].elements[2].roles[0].deleteRule: unknown rule 'drop': expected an integer "
         "or one of noAction, cascade, restrict, setNull, setDefault"},
        {"colour with a bad digit", inMain(twoClasses(), symbol + R"("lineColor": "#12345G"}]}])"),
         "packages[1].diagrams[0].symbols[0].lineColor: expected a colour: an integer 0xRRGGBB "
         "or a string \"#RRGGBB\""},
        {"colour above 0xFFFFFF", inMain(twoClasses(), symbol + R"("fontColor": 16777216}]}])"),
         "packages[1].diagrams[0].symbols[0].fontColor: expected a colour: an integer 0xRRGGBB "
         "or a string \"#RRGGBB\""},
        {"integer above 32 bits", kHead + R"("levelCode": 2147483648})",
         "levelCode: expected an integer from -2147483648 to 2147483647"},
        {"position beyond 16 bits",
         inMain(
             twoClasses(R"(, "indexes": [{"members": [{"attribute": "a1", "position": 32768}]}])")),
         "packages[1].elements[0].indexes[0].members[0].position: expected an integer from "
         "-32768 to 32767"},
        {"integer below 32 bits", kHead + R"("levelCode": -2147483649})",
         "levelCode: expected an integer from -2147483648 to 2147483647"},
        {"position below 16 bits",
         inMain(twoClasses(
             R"(, "indexes": [{"members": [{"attribute": "a1", "position": -40000}]}])")),
         "packages[1].elements[0].indexes[0].members[0].position: expected an integer from "
         "-32768 to 32767"},
        {"position below 16 bits as a float",
         inMain(twoClasses(
             R"(, "indexes": [{"members": [{"attribute": "a1", "position": -32769.0}]}])")),
         "packages[1].elements[0].indexes[0].members[0].position: expected an integer from "
         "-32768 to 32767"},
        {"fraction", kHead + R"("levelCode": 1.5})", "levelCode: expected an integer"},
        {"packages one level too deep", nestedPackages(201),
         nestedPath(201) + ": packages nested deeper than 200 levels"},
        {"packages far too deep", nestedPackages(50000),
         nestedPath(201) + ": packages nested deeper than 200 levels"},
        {"arrays far too deep",
         kHead + "\"name\": " + std::string(200000, '[') + std::string(200000, ']') + "}",
         "name: expected a string"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(pdmtest::modelFileError(c.text), "m.json: " + c.message);
    }
}

TEST(JsonModelErrors, NestingUpToTheLimitLoads) {
    std::unique_ptr<ORXModel> model = importers::parseJsonModel(nestedPackages(200), "m.json");
    int depth = 0;
    for (const ORXPackage* p = model.get(); p->getChildPackageCount() == 1;
         p = p->getChildPackage(0))
        ++depth;
    EXPECT_EQ(depth, 200);
}

TEST(JsonModelErrors, FileErrorsNameTheFileAsGiven) {
    pdmtest::TempDir dir;
    const std::string bad = dir.file("bad.json");
    pdmtest::writeFile(bad, "{\"format\": \"orx-model\",\n  \"version\": 1,\n  name: \"Sales\"}\n");
    const std::string missing = dir.file("missing.json");
    const std::string empty = dir.file("empty.json");
    pdmtest::writeFile(empty, "");
    const std::pair<std::string, std::string> cases[] = {
        {bad,
         "line 3, column 4: syntax error while parsing object key - invalid literal; last read: "
         "'1,<U+000A>  na'; expected string literal"},
        {missing, "cannot open the file: No such file or directory"},
        {dir.path().string(), "cannot read the file: Is a directory"},
        {empty,
         "line 1, column 1: syntax error while parsing value - unexpected end of input; expected "
         "'[', '{', or a literal"},
    };
    for (const auto& [path, message] : cases) {
        SCOPED_TRACE(path);
        try {
            importers::loadJsonModelFile(path);
            ADD_FAILURE() << "loaded without error";
        } catch (const importers::ModelFileError& e) {
            EXPECT_EQ(e.what(), path + ": " + message);
        }
    }
}

}  // namespace
