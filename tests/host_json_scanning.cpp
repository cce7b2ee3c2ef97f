// The model file tokeniser against nlohmann's parser: a quote, an escape, a
// control character or a multi-byte sequence at every place of strings of
// every length up to three words, and blanks of every run length before every
// token, must read exactly as nlohmann reads them (accepted with the same
// text, or refused).

#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "importers/modelfile/JsonText.h"

namespace {

// What nlohmann makes of `text`: the string at key "k", or nothing when it
// refuses the text.
bool referenceRead(const std::string& text, std::string& value) {
    try {
        value = nlohmann::json::parse(text).at("k").get<std::string>();
        return true;
    } catch (const nlohmann::json::exception&) {
        return false;
    }
}

void expectSameAsReference(const std::string& text) {
    std::string expected;
    const bool accepted = referenceRead(text, expected);
    importers::JsonDocument document;
    const std::string error = document.parse(text);
    ASSERT_EQ(error.empty(), accepted) << error;
    if (!accepted)
        return;
    const importers::JsonValue* value = document.root().find("k");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->string(), expected);
}

TEST(JsonScanning, EveryKindOfByteAtEveryPlaceOfAWordReadsAsTheReferenceReadsIt) {
    const std::vector<std::string> inserts = {
        "\\\"",                  // an escaped quote
        "\\\\",                  // an escaped backslash
        "\\u00e9",               // an escape of a letter
        "\xc3\xa9",              // the letter as UTF-8
        "\xe2\x82\xac",          // three bytes
        "\xf0\x9f\x98\x80",      // four bytes
        std::string(1, '\x1f'),  // a control character: refused
        std::string(1, '\t'),    // a raw tab: refused
        "\xff",                  // not UTF-8: refused
        "\xc3",                  // a cut sequence: refused
        "\"",                    // a quote that ends the string early: refused
    };
    for (std::size_t length = 0; length <= 24; ++length) {
        for (std::size_t at = 0; at <= length; ++at) {
            for (const std::string& insert : inserts) {
                std::string body(length, 'x');
                body.insert(at, insert);
                SCOPED_TRACE("length " + std::to_string(length) + ", at " + std::to_string(at) +
                             ", insert " + insert);
                expectSameAsReference("{\"k\": \"" + body + "\"}");
                // The string last in the text, so that the word reads meet its end.
                expectSameAsReference("{\"k\":\"" + body + "\"}");
            }
        }
    }
}

TEST(JsonScanning, RunsOfBlanksOfEveryLengthBeforeEveryToken) {
    for (std::size_t run = 0; run <= 40; ++run) {
        for (const char* tail : {"", "\n", "\t", "\r\n", "x"}) {
            const std::string blanks(run, ' ');
            SCOPED_TRACE("run " + std::to_string(run) + ", then '" + std::string(tail) + "'");
            expectSameAsReference("{" + blanks + "\"k\"" + blanks + ":" + blanks + "\"v\"" +
                                  blanks + tail + "}" + blanks);
            expectSameAsReference(blanks + "{\"k\":\"v\"}" + blanks + tail);
        }
    }
}

// Keys of one shape ("k" + number + "z") and keys of every shape, so that
// both the quick test for a new key and the full comparison are taken.
std::string keyName(std::size_t i, bool sameShape) {
    if (sameShape)
        return "k" + std::to_string(i % 10) + std::to_string(i / 10) + "z";
    return std::string(1 + i % 7, static_cast<char>('a' + i % 26)) + std::to_string(i);
}

TEST(JsonScanning, AKeyRepeatedAnywhereInAnObjectOfAnySizeIsFound) {
    for (bool sameShape : {true, false}) {
        for (std::size_t count = 1; count <= 70; ++count) {
            std::string members;
            for (std::size_t i = 0; i < count; ++i)
                members += "\"" + keyName(i, sameShape) + "\": [" + std::to_string(i) + "], ";
            for (std::size_t repeated = 0; repeated < count; ++repeated) {
                SCOPED_TRACE(std::to_string(count) + " keys, key " + std::to_string(repeated) +
                             " again" + (sameShape ? ", keys of one shape" : ""));
                const std::string key = keyName(repeated, sameShape);
                importers::JsonDocument document;
                EXPECT_EQ(document.parse("{\"o\": {" + members + "\"" + key + "\": 1}}"),
                          "o." + key + ": duplicate key");
            }
            SCOPED_TRACE(std::to_string(count) + " different keys");
            importers::JsonDocument document;
            const std::string text = "{\"o\": {" + members + "\"last\": 1}}";
            ASSERT_EQ(document.parse(text), "");
            const importers::JsonValue& object = *document.root().find("o");
            ASSERT_EQ(object.size(), count + 1);
            for (std::size_t i = 0; i < count; ++i) {
                const importers::JsonValue* member = object.find(keyName(i, sameShape));
                ASSERT_NE(member, nullptr);
                EXPECT_EQ(member->begin()->integer(), static_cast<std::int64_t>(i));
            }
        }
    }
}

TEST(JsonScanning, NumbersOfEveryLengthReadAsTheReferenceReadsThem) {
    std::vector<std::string> numbers = {"0",
                                        "-0",
                                        "9223372036854775807",
                                        "9223372036854775808",
                                        "-9223372036854775808",
                                        "-9223372036854775809",
                                        "18446744073709551615",
                                        "18446744073709551616",
                                        "99999999999999999999",
                                        "-99999999999999999999",
                                        "1.5",
                                        "-0.0",
                                        "1e2",
                                        "1E+2",
                                        "2e-3",
                                        "01",
                                        "1.",
                                        "-",
                                        "1e",
                                        "1e400",
                                        "-1e400",
                                        "1e-400"};
    for (std::size_t digits = 1; digits <= 22; ++digits) {
        numbers.push_back(std::string(digits, '9'));
        numbers.push_back("-" + std::string(digits, '9'));
        numbers.push_back("1" + std::string(digits - 1, '0'));
        numbers.push_back("-1" + std::string(digits - 1, '0'));
    }
    for (const std::string& number : numbers) {
        SCOPED_TRACE(number);
        const std::string text = "{\"k\": " + number + "}";
        nlohmann::json expected;
        bool accepted = true;
        try {
            expected = nlohmann::json::parse(text).at("k");
        } catch (const nlohmann::json::exception&) {
            accepted = false;
        }
        importers::JsonDocument document;
        const std::string error = document.parse(text);
        ASSERT_EQ(error.empty(), accepted) << error;
        if (!accepted)
            continue;
        const importers::JsonValue& value = *document.root().find("k");
        if (expected.is_number_unsigned()) {
            ASSERT_TRUE(value.isUnsigned());
            EXPECT_EQ(value.unsignedValue(), expected.get<std::uint64_t>());
        } else if (expected.is_number_integer()) {
            ASSERT_TRUE(value.isInteger() && !value.isUnsigned());
            EXPECT_EQ(value.integer(), expected.get<std::int64_t>());
        } else {
            ASSERT_TRUE(value.isFloat());
            EXPECT_EQ(value.number(), expected.get<double>());
        }
    }
}

TEST(JsonScanning, ATreeOfMoreValuesThanItsTextSuggestsIsReadWhole) {
    // Two bytes of text per value: more values than the tree is first given
    // room for.
    std::string text = "[";
    const std::size_t count = 100000;
    for (std::size_t i = 0; i < count; ++i)
        text += i == 0 ? "1" : ",1";
    text += "]";
    importers::JsonDocument document;
    ASSERT_EQ(document.parse(text), "");
    ASSERT_EQ(document.root().size(), count);
    std::size_t sum = 0;
    for (const importers::JsonValue& item : document.root())
        sum += static_cast<std::size_t>(item.integer());
    EXPECT_EQ(sum, count);
}

// Whether `value` holds what nlohmann read as `expected`, its keys and
// strings views into `text` (none has an escape).
bool sameAsReference(const importers::JsonValue& value, const nlohmann::json& expected,
                     const std::string& text) {
    const auto inText = [&](std::string_view view) {
        return view.data() >= text.data() && view.data() + view.size() <= text.data() + text.size();
    };
    if (expected.is_object()) {
        if (!value.isObject() || value.size() != expected.size())
            return false;
        for (const importers::JsonValue& member : value) {
            auto at = expected.find(std::string(member.key()));
            if (at == expected.end() || !inText(member.key()) ||
                !sameAsReference(member, *at, text))
                return false;
        }
        return true;
    }
    if (expected.is_array()) {
        if (!value.isArray() || value.size() != expected.size())
            return false;
        std::size_t i = 0;
        for (const importers::JsonValue& item : value) {
            if (!sameAsReference(item, expected[i++], text))
                return false;
        }
        return true;
    }
    if (expected.is_string())
        return value.isString() && value.string() == expected.get<std::string>() &&
               inText(value.string());
    if (expected.is_boolean())
        return value.isBoolean() && value.boolean() == expected.get<bool>();
    if (expected.is_number_integer())
        return value.isInteger() && value.integer() == expected.get<std::int64_t>();
    return value.isNull() && expected.is_null();
}

// A nested document written with `step` spaces per level after each line
// break `newline`, four levels deep; the deepest lines go past 32 spaces
// when the step is large.
std::string indentedDocument(std::size_t step, const std::string& newline) {
    std::string text;
    std::function<void(std::size_t)> object = [&](std::size_t depth) {
        const std::string inner = newline + std::string(step * (depth + 1), ' ');
        text += "{" + inner + "\"n\": " + std::to_string(depth) + "," + inner + "\"s\": \"v\"," +
                inner + "\"e\": []," + inner + "\"l\": [";
        for (int i = 0; i < 3; ++i) {
            text += (i == 0 ? "" : ",") + inner + std::string(step, ' ');
            if (depth < 4)
                object(depth + 2);
            else
                text += "true";
        }
        text += inner + "]" + newline + std::string(step * depth, ' ') + "}";
    };
    object(0);
    return text;
}

TEST(JsonScanning, IndentedDocumentsOfEveryStepReadAsTheReferenceReadsThem) {
    for (std::size_t step : {0, 1, 2, 3, 4, 7, 8, 9, 16, 17}) {
        for (const std::string newline : {"\n", "\r\n", "\n\n", "\n\t", " \n"}) {
            SCOPED_TRACE("step " + std::to_string(step) + ", line break " +
                         std::to_string(newline.size()) + " bytes");
            const std::string text = indentedDocument(step, newline);
            importers::JsonDocument document;
            ASSERT_EQ(document.parse(text), "");
            EXPECT_TRUE(sameAsReference(document.root(), nlohmann::json::parse(text), text));
            // A stray byte at the start of one of the indented lines is refused.
            std::string broken = text;
            broken.replace(text.rfind("\"s\""), 1, "x");
            EXPECT_NE(document.parse(broken), "");
        }
    }
}

}  // namespace

// The strings the reader notes as possible references, with their places and
// hashes: every string value of a member whose key names an object by its id,
// and every string item of a list of such ids, in document order; no other
// string. The texts starting with "r" are the references.
TEST(JsonScanning, TheReferencesOfAModelFileAreNotedInDocumentOrder) {
    const std::string text = R"({
  "kind": "class", "name": "n1", "id": "n2", "owner": "r1",
  "type": {"dataType": "n3"},
  "attributes": [{"id": "n4", "name": "n5", "type": "r2"}, "r3"],
  "keys": [{"attributes": ["r4", "r\u0035"], "index": "r6", "orderingIndex": "r7",
            "references": "r8", "nameMaps": [{"source": "r9", "destination": "r10"}]}],
  "primaryKey": "r11", "supertype": "r12", "subtypes": ["r13", 1, null, "r14"],
  "foreignKeys": ["r15"], "links": [null, "r16"],
  "indexes": [{"key": "r17", "members": [{"attribute": "r18"}]}],
  "roles": [{"class": "r19", "foreignKey": "r20"}],
  "diagrams": [{"members": ["r21"], "symbols": [{"subject": "r22", "kind": "n6"}]}],
  "comment": "n7", "notes": ["n8"], "class": 5, "key": {"index": "r23"}, "index": ["n9"]
})";
    importers::JsonDocument small;
    ASSERT_EQ(small.parse(text), "");
    EXPECT_TRUE(small.references().empty()) << "a small text's references are not noted";
    importers::JsonDocument document;
    document.setReferencesFrom(0);
    ASSERT_EQ(document.parse(text), "");
    std::vector<std::pair<std::size_t, std::string_view>> strings;
    std::function<void(const importers::JsonValue&)> walk = [&](const importers::JsonValue& value) {
        if (value.isString())
            strings.emplace_back(document.indexOf(value), value.string());
        if (value.isArray() || value.isObject()) {
            for (const importers::JsonValue& item : value)
                walk(item);
        }
    };
    walk(document.root());
    std::vector<importers::JsonDocument::Reference> expected;
    for (const auto& [at, string] : strings) {
        if (string[0] == 'r') {
            expected.push_back(
                {static_cast<std::uint32_t>(at),
                 static_cast<std::uint32_t>(importers::idHash(string, importers::idWord(string)))});
        }
    }
    ASSERT_EQ(expected.size(), 23u);
    const std::vector<importers::JsonDocument::Reference>& noted = document.references();
    ASSERT_EQ(noted.size(), expected.size());
    for (std::size_t i = 0; i < noted.size(); ++i) {
        SCOPED_TRACE("reference " + std::to_string(i + 1));
        EXPECT_EQ(noted[i].at, expected[i].at);
        EXPECT_EQ(noted[i].hash, expected[i].hash);
    }
}
