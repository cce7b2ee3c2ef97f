// The model file tokeniser against nlohmann's parser: a quote, an escape, a
// control character or a multi-byte sequence at every place of strings of
// every length up to three words, and blanks of every run length before every
// token, must read exactly as nlohmann reads them (accepted with the same
// text, or refused).

#include <gtest/gtest.h>

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
    for (std::size_t run = 0; run <= 20; ++run) {
        for (const char* tail : {"", "\n", "\t", "\r\n", "x"}) {
            const std::string blanks(run, ' ');
            SCOPED_TRACE("run " + std::to_string(run) + ", then '" + std::string(tail) + "'");
            expectSameAsReference("{" + blanks + "\"k\"" + blanks + ":" + blanks + "\"v\"" +
                                  blanks + tail + "}" + blanks);
            expectSameAsReference(blanks + "{\"k\":\"v\"}" + blanks + tail);
        }
    }
}

}  // namespace
