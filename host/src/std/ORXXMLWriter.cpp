// The XML writer base: printing helpers and the text conversion that makes
// any byte string safe as XML character data in UTF-8.

#include "orx/ORXXMLWriter.h"

#include <array>
#include <cstdint>
#include <ostream>

namespace {

// U+FFFD REPLACEMENT CHARACTER in UTF-8.
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Bytes that cannot be copied as they stand: the five XML specials, the C0
// controls other than tab, line feed and carriage return, and every byte of
// a multi-byte sequence (which must be validated first).
constexpr std::array<bool, 256> makeSpecialTable() {
    std::array<bool, 256> special{};
    for (int c = 0; c < 0x20; ++c)
        special[static_cast<std::size_t>(c)] = true;
    special['\t'] = special['\n'] = special['\r'] = false;
    for (int c = 0x80; c < 0x100; ++c)
        special[static_cast<std::size_t>(c)] = true;
    special['&'] = special['<'] = special['>'] = special['"'] = special['\''] = true;
    return special;
}
constexpr std::array<bool, 256> kSpecial = makeSpecialTable();

bool isSpecial(char c) {
    return kSpecial[static_cast<unsigned char>(c)];
}

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at `p` (2 to 4), or 0 when
// the lead byte does not start one: overlong forms, surrogates, values above
// U+10FFFF and truncated sequences all give 0.
std::size_t validSequenceLength(const unsigned char* p, std::size_t available) {
    const unsigned char lead = p[0];
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;  // below is overlong
        if (lead == 0xED)
            high = 0x9F;  // above is a surrogate
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;  // below is overlong
        if (lead == 0xF4)
            high = 0x8F;  // above is beyond U+10FFFF
    } else {
        return 0;
    }
    if (available < length)
        return 0;
    if (p[1] < low || p[1] > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!isContinuation(p[i]))
            return 0;
    return length;
}

}  // namespace

void ORXXMLWriter::appendXMLText(std::string& out, std::string_view text) {
    const char* const data = text.data();
    const std::size_t size = text.size();
    int replaced = 0;
    std::size_t i = 0;
    while (i < size) {
        // Copy the longest run that needs nothing in one go.
        std::size_t runEnd = i;
        while (runEnd < size && !isSpecial(data[runEnd]))
            ++runEnd;
        if (runEnd > i) {
            out.append(data + i, runEnd - i);
            i = runEnd;
            if (i == size)
                break;
        }
        const auto c = static_cast<unsigned char>(data[i]);
        switch (c) {
            case '&':
                out += "&amp;";
                ++i;
                continue;
            case '<':
                out += "&lt;";
                ++i;
                continue;
            case '>':
                out += "&gt;";
                ++i;
                continue;
            case '"':
                out += "&quot;";
                ++i;
                continue;
            case '\'':
                out += "&apos;";
                ++i;
                continue;
            default:
                break;
        }
        if (c < 0x80) {
            // A control character that XML 1.0 does not allow.
            out += kReplacement;
            ++replaced;
            ++i;
            continue;
        }
        const auto* p = reinterpret_cast<const unsigned char*>(data + i);
        const std::size_t length = validSequenceLength(p, size - i);
        if (length == 0) {
            // Only the offending byte is replaced; what follows is examined anew.
            out += kReplacement;
            ++replaced;
            ++i;
            continue;
        }
        // U+FFFE and U+FFFF are well-formed UTF-8 but not XML characters.
        if (length == 3 && p[0] == 0xEF && p[1] == 0xBF && (p[2] == 0xBE || p[2] == 0xBF)) {
            out += kReplacement;
            ++replaced;
        } else {
            out.append(data + i, length);
        }
        i += length;
    }
    if (replaced > 0) {
        ++conversionFailures;
        conversionReplacements += replaced;
    }
}

std::size_t ORXXMLWriter::plainXMLTextLength(std::string_view text) {
    std::size_t length = 0;
    while (length < text.size() && !isSpecial(text[length]))
        ++length;
    return length;
}

ORXString ORXXMLWriter::getXMLText(const ORXString& text) {
    const std::string& bytes = text.str();
    const std::size_t first = plainXMLTextLength(bytes);
    // The common case: nothing to escape or replace.
    if (first == bytes.size())
        return text;
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8 + 16);
    out.append(bytes, 0, first);
    appendXMLText(out, std::string_view(bytes).substr(first));
    return ORXString(std::move(out));
}

void ORXXMLWriter::printXmlHeaderUTF8() {
    outputFile << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" << std::endl;
}

void ORXXMLWriter::printXmlElementStart(const char* name) {
    outputFile << currentIndent << '<' << name << '>' << std::endl;
    currentIndent += indentUnit;
}

void ORXXMLWriter::printXmlElement(const char* name, const ORXString& text) {
    outputFile << currentIndent << '<' << name << '>' << getXMLText(text) << "</" << name << '>'
               << std::endl;
}

// The documents written through this base keep an object's properties in
// child elements, so a property is printed as one element on its own line.
void ORXXMLWriter::printXmlAttribute(const char* name, const ORXString& value) {
    printXmlElement(name, value);
}

void ORXXMLWriter::printXmlElementEnd(const char* name) {
    const int unit = indentUnit.getLength();
    if (unit > 0 && currentIndent.getLength() >= unit)
        currentIndent = currentIndent.mid(0, currentIndent.getLength() - unit);
    outputFile << currentIndent << "</" << name << '>' << std::endl;
}
