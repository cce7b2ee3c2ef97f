// The XML writer's text conversion, pinned byte by byte with its counters.

#include <gtest/gtest.h>

#include <string>

#include "orx/ORXXMLWriter.h"

namespace {

TEST(XmlText, EscapesKeepsValidUtf8AndReplacesInvalidBytesAndForbiddenControls) {
    const std::string R = "\xEF\xBF\xBD";
    struct Case {
        std::string input, expected;
        int replacements;
    } cases[] = {
        // The five special characters, an entity, and text that stays as it is.
        {"a<b & c>'d'\"", "a&lt;b &amp; c&gt;&apos;d&apos;&quot;", 0},
        {"&amp;", "&amp;amp;", 0},
        {"", "", 0},
        {"a\tb\nc\rd\x7F", "a\tb\nc\rd\x7F", 0},
        // Valid UTF-8 at the edges of each length and around the surrogates.
        {"\xC2\x80\xE0\xA0\x80\xE2\x82\xAC", "\xC2\x80\xE0\xA0\x80\xE2\x82\xAC", 0},
        {"\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBD", "\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBD", 0},
        {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", 0},
        {"\xC3\xA9<", "\xC3\xA9&lt;", 0},
        // Invalid forms: every byte of them is replaced.
        {"a\x80z", "a" + R + "z", 1},
        {std::string("\xC0\x80", 2), R + R, 2},
        {"\xE0\x9F\xBF", R + R + R, 3},
        {"\xF0\x8F\xBF\xBF", R + R + R + R, 4},
        {"\xED\xA0\x80", R + R + R, 3},
        {"\xF4\x90\x80\x80", R + R + R + R, 4},
        {"x\xFFy", "x" + R + "y", 1},
        {"ab\xC3", "ab" + R, 1},
        {"\xE2\x82"
         "A",
         R + R + "A", 2},
        {"\xC3\xC3\xA9", R + "\xC3\xA9", 1},
        {"\x80&", R + "&amp;", 1},
        // Characters that XML forbids.
        {std::string("a\0b", 3), "a" + R + "b", 1},
        {"\x01x\x1F", R + "x" + R, 2},
        {"\x0B\x0C", R + R, 2},
        {"\xEF\xBF\xBE\xEF\xBF\xBF", R + R, 2},
    };
    ORXXMLWriter all;
    int failures = 0, replacements = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.input));
        ORXXMLWriter writer;
        EXPECT_EQ(writer.getXMLText(ORXString(c.input)).str(), c.expected);
        EXPECT_EQ(writer.getConversionReplacementCount(), c.replacements);
        EXPECT_EQ(writer.getConversionFailureCount(), c.replacements > 0 ? 1 : 0);
        std::string appended = "prefix|";
        all.appendXMLText(appended, c.input);
        EXPECT_EQ(appended, "prefix|" + c.expected);
        failures += c.replacements > 0;
        replacements += c.replacements;
    }
    // The counters add up over every text a writer converts.
    EXPECT_EQ(all.getConversionFailureCount(), failures);
    EXPECT_EQ(all.getConversionReplacementCount(), replacements);
}

// The part of a text that a writer may copy without the conversion: plain
// ASCII up to the first special character, control or non-ASCII byte.
TEST(XmlText, PlainLeadingPartStopsAtTheFirstByteThatNeedsALook) {
    const struct {
        std::string input;
        std::size_t plain;
    } cases[] = {
        {"", 0},       {"CUSTOMER_ID", 11}, {"a\tb\nc\rd\x7F ~", 10},
        {"a<b", 1},    {"ab&", 2},          {">", 0},
        {"x\"", 1},    {"x'", 1},           {std::string("a\0b", 3), 1},
        {"ab\x1F", 2}, {"Caf\xC3\xA9", 3},  {"\xC3\xA9", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.input));
        EXPECT_EQ(ORXXMLWriter::plainXMLTextLength(c.input), c.plain);
        // What is plain comes out of the conversion unchanged.
        ORXXMLWriter writer;
        EXPECT_EQ(writer.getXMLText(ORXString(c.input)).str().substr(0, c.plain),
                  c.input.substr(0, c.plain));
    }
}

}  // namespace
