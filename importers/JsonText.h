#pragma once
// Reading JSON text into a tree, for the model file loader: keeps the keys of
// each object in file order and rejects what the usual parsers let through
// (a key that appears twice in one object).

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace importers {

// A JSON tree whose objects keep their keys in file order.
using Json = nlohmann::ordered_json;

// One step of a JSON path: a key of an object or an index of an array.
struct JsonPathStep {
    std::string_view key;
    std::size_t index = 0;
    bool isIndex = false;
};

// The text of a JSON path, "packages[1].elements[3]"; "$" for the root.
std::string formatJsonPath(const JsonPathStep* steps, std::size_t count);

// Parses `text` into `root`. Returns an empty string on success, else the
// error without the file name: "line 3, column 7: ..." for a syntax error
// (also for bytes that are not UTF-8), "packages[0].name: duplicate key" for
// a key repeated in one object.
std::string parseJsonText(const std::string& text, Json& root);

// `text` with every byte that is not printable ASCII written as \xNN, so
// that messages stay readable whatever the file held.
std::string printableText(std::string_view text);

// The names of the update and delete rules, indexed by their codes 1 to 5
// (index 0 is empty).
extern const char* const kRuleNames[6];

}  // namespace importers
