#pragma once
// The framework's XML writer, base of writers that print documents.

#include "orx/ORXFile.h"
#include "orx/ORXString.h"

// An XML writer: an output file, the indentation state, and the text
// conversion that makes any model text safe as XML character data.
class ORXXMLWriter {
  public:
    ORXXMLWriter() = default;
    virtual ~ORXXMLWriter() = default;
    ORXXMLWriter(const ORXXMLWriter&) = delete;
    ORXXMLWriter& operator=(const ORXXMLWriter&) = delete;

    virtual void printXmlHeaderUTF8();
    virtual void printXmlElementStart(const char* name);
    virtual void printXmlElement(const char* name, const ORXString& text);
    virtual void printXmlAttribute(const char* name, const ORXString& value);
    virtual void printXmlElementEnd(const char* name);

    // `text` escaped for XML character data or an attribute value: & < > " '
    // become entity references. Bytes that are not valid UTF-8 and characters
    // that XML 1.0 forbids (controls other than tab, line feed and carriage
    // return, U+FFFE, U+FFFF) cannot be converted: each such byte or character
    // is replaced by U+FFFD so the document stays well-formed, and counted.
    ORXString getXMLText(const ORXString& text);
    // The same conversion appended to `out`.
    void appendXMLText(std::string& out, std::string_view text);
    // The length of the leading part of `text` made of ASCII characters that
    // the conversion copies as they stand; text.size() means that the
    // conversion of `text` is `text` itself. A writer may copy such a text
    // without converting it.
    static std::size_t plainXMLTextLength(std::string_view text);

    // Texts in which getXMLText met at least one failure.
    int getConversionFailureCount() const { return conversionFailures; }
    // Bytes or characters replaced by getXMLText.
    int getConversionReplacementCount() const { return conversionReplacements; }

  protected:
    ORXFile outputFile;
    // The text written once per nesting level; empty means no indentation.
    ORXString indentUnit;
    ORXString currentIndent;
    // Number of texts that had at least one unconvertible byte or character.
    int conversionFailures = 0;
    // Number of unconvertible bytes or characters replaced.
    int conversionReplacements = 0;
};
