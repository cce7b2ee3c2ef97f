// The XML writer's text conversion, pinned byte by byte, and its printing helpers.

#include <gtest/gtest.h>

#include <string>

#include "orx/ORXXMLWriter.h"
#include "support/TestSupport.h"

namespace {

struct Case {
    const char* label;
    std::string input;
    std::string expected;
    int replacements;
};

const std::string kFFFD = "\xEF\xBF\xBD";

// Converts each case with a fresh writer and checks the exact bytes and both
// counters: a text with replacements counts once as a failure.
void expectConversions(const std::vector<Case>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ORXXMLWriter writer;
        const ORXString out = writer.getXMLText(ORXString(c.input));
        EXPECT_EQ(out.str(), c.expected);
        EXPECT_EQ(writer.getConversionReplacementCount(), c.replacements);
        EXPECT_EQ(writer.getConversionFailureCount(), c.replacements > 0 ? 1 : 0);

        std::string appended = "prefix|";
        ORXXMLWriter other;
        other.appendXMLText(appended, c.input);
        EXPECT_EQ(appended, "prefix|" + c.expected);
        EXPECT_EQ(other.getConversionReplacementCount(), c.replacements);
    }
}

TEST(XmlText, EscapesTheFiveSpecialCharacters) {
    expectConversions({
        {"ampersand", "&", "&amp;", 0},
        {"less than", "<", "&lt;", 0},
        {"greater than", ">", "&gt;", 0},
        {"double quote", "\"", "&quot;", 0},
        {"apostrophe", "'", "&apos;", 0},
        {"mixed", "a<b & c>'d'\"", "a&lt;b &amp; c&gt;&apos;d&apos;&quot;", 0},
        {"entity stays escaped", "&amp;", "&amp;amp;", 0},
    });
}

TEST(XmlText, LeavesPlainAndValidTextUnchanged) {
    expectConversions({
        {"empty", "", "", 0},
        {"plain ASCII", "CUSTOMER_ID 42 (x)", "CUSTOMER_ID 42 (x)", 0},
        {"tab, line feed, carriage return", "a\tb\nc\rd", "a\tb\nc\rd", 0},
        {"DEL is allowed", "\x7F", "\x7F", 0},
        {"2-byte e-acute", "caf\xC3\xA9", "caf\xC3\xA9", 0},
        {"smallest 2-byte U+0080", "\xC2\x80", "\xC2\x80", 0},
        {"3-byte euro sign", "\xE2\x82\xAC", "\xE2\x82\xAC", 0},
        {"smallest 3-byte U+0800", "\xE0\xA0\x80", "\xE0\xA0\x80", 0},
        {"last before surrogates U+D7FF", "\xED\x9F\xBF", "\xED\x9F\xBF", 0},
        {"first after surrogates U+E000", "\xEE\x80\x80", "\xEE\x80\x80", 0},
        {"U+FFFD itself", "\xEF\xBF\xBD", "\xEF\xBF\xBD", 0},
        {"U+FFFD next to U+FFFE", "\xEF\xBF\xBC", "\xEF\xBF\xBC", 0},
        {"4-byte emoji", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80", 0},
        {"smallest 4-byte U+10000", "\xF0\x90\x80\x80", "\xF0\x90\x80\x80", 0},
        {"largest U+10FFFF", "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF", 0},
        {"multibyte then escape", "\xC3\xA9<", "\xC3\xA9&lt;", 0},
    });
}

TEST(XmlText, ReplacesEachInvalidByteWithReplacementCharacter) {
    const std::string R = kFFFD;
    expectConversions({
        {"lone continuation byte", "a\x80z", "a" + R + "z", 1},
        {"overlong 2-byte C0 80", std::string("\xC0\x80", 2), R + R, 2},
        {"overlong 2-byte C1 BF", "\xC1\xBF", R + R, 2},
        {"overlong 3-byte E0 9F BF", "\xE0\x9F\xBF", R + R + R, 3},
        {"overlong 4-byte F0 8F BF BF", "\xF0\x8F\xBF\xBF", R + R + R + R, 4},
        {"surrogate U+D800", "\xED\xA0\x80", R + R + R, 3},
        {"surrogate U+DFFF", "\xED\xBF\xBF", R + R + R, 3},
        {"above U+10FFFF", "\xF4\x90\x80\x80", R + R + R + R, 4},
        {"F5 lead byte", "\xF5\x80\x80\x80", R + R + R + R, 4},
        {"FF byte", "x\xFFy", "x" + R + "y", 1},
        {"truncated 2-byte at end", "ab\xC3", "ab" + R, 1},
        {"truncated 3-byte at end", "\xE2\x82", R + R, 2},
        {"truncated 4-byte at end", "\xF0\x9F\x98", R + R + R, 3},
        {"truncated 3-byte before ASCII",
         "\xE2\x82"
         "A",
         R + R + "A", 2},
        {"lead byte followed by lead byte", "\xC3\xC3\xA9", R + "\xC3\xA9", 1},
        {"Latin-1 text", "caf\xE9!", "caf" + R + "!", 1},
        {"invalid byte next to escape", "\x80&", R + "&amp;", 1},
    });
}

TEST(XmlText, ReplacesCharactersThatXmlForbids) {
    const std::string R = kFFFD;
    expectConversions({
        {"NUL", std::string("a\0b", 3), "a" + R + "b", 1},
        {"SOH", "\x01", R, 1},
        {"vertical tab", "\x0B", R, 1},
        {"form feed", "\x0C", R, 1},
        {"escape", "\x1B[0m", R + "[0m", 1},
        {"unit separator", "\x1F", R, 1},
        {"U+FFFE", "\xEF\xBF\xBE", R, 1},
        {"U+FFFF", "\xEF\xBF\xBF", R, 1},
        {"two controls in one text", "\x01x\x02", R + "x" + R, 2},
    });
}

TEST(XmlText, CountsTextsWithFailuresAndReplacedBytesAcrossCalls) {
    ORXXMLWriter writer;
    writer.getXMLText("clean");
    writer.getXMLText("\x01\x02\x03");
    writer.getXMLText("a&b");
    writer.getXMLText("\xFF");
    std::string out;
    writer.appendXMLText(out, "\xC0\xAF");
    EXPECT_EQ(writer.getConversionFailureCount(), 3);
    EXPECT_EQ(writer.getConversionReplacementCount(), 6);
}

TEST(XmlText, ConvertsLongTextsInFull) {
    // A long clean run with specials at both ends and the middle exercises
    // the run copying around them.
    const std::string run(200000, 'x');
    ORXXMLWriter writer;
    const ORXString out = writer.getXMLText(ORXString("<" + run + "&" + run + "\x01"));
    EXPECT_EQ(out.str(), "&lt;" + run + "&amp;" + run + kFFFD);
    const ORXString clean = writer.getXMLText(ORXString(run));
    EXPECT_EQ(clean.str(), run);
}

// Exposes the writer's file and indentation to the test.
class TestWriter : public ORXXMLWriter {
  public:
    ORXFile& file() { return outputFile; }
    void setIndentUnit(const char* unit) { indentUnit = unit; }
    const ORXString& indent() const { return currentIndent; }
};

TEST(XmlWriterPrinting, WritesHeaderElementsAndIndentation) {
    pdmtest::TempDir dir;
    const std::string path = dir.file("out.xml");
    TestWriter writer;
    writer.setIndentUnit("\t");
    writer.file() = ORXString(path);
    ASSERT_TRUE(writer.file().open(std::ios::out | std::ios::binary));
    writer.printXmlHeaderUTF8();
    writer.printXmlElementStart("Root");
    writer.printXmlElement("Name", "a<b");
    writer.printXmlAttribute("a:Code", "C&D");
    writer.printXmlElementEnd("Root");
    EXPECT_TRUE(writer.indent().empty());
    writer.file().close();
    EXPECT_EQ(pdmtest::readFile(path),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<Root>\n"
              "\t<Name>a&lt;b</Name>\n"
              "\t<a:Code>C&amp;D</a:Code>\n"
              "</Root>\n");
}

}  // namespace
