#pragma once
// Text and message literals of the framework: static objects with an
// identifier and a text, gathered in literal catalogues.

#include <vector>

#include "orx/ORXException.h"
#include "orx/ORXLog.h"
#include "orx/ORXString.h"

// A minimal XML element as the framework hands it to update(): its name, its
// attributes as name/value pairs and its text.
struct ORXXMLElement {
    ORXString name;
    std::vector<std::pair<ORXString, ORXString>> attributes;
    ORXString text;
};

// A literal: an identifier and a text.
class ORXTextLiteral {
  public:
    ORXTextLiteral(const ORXString& identifier, const ORXString& text)
        : identifier_(identifier), text_(text) {}
    virtual ~ORXTextLiteral() = default;
    ORXTextLiteral(const ORXTextLiteral&) = default;
    ORXTextLiteral& operator=(const ORXTextLiteral&) = default;

    const ORXString& getIdentifier() const { return identifier_; }
    const ORXString& getText() const { return text_; }

  protected:
    ORXString identifier_;
    ORXString text_;
};

// The values of the numbered parameters of one formatting of a literal.
using ORXParameterBlock = std::vector<ORXString>;

// A literal whose text may hold numbered parameters "{0}", "{1}", ... and
// whose text the framework can replace.
class ORXParameterizedTextLiteral : public ORXTextLiteral {
  public:
    ORXParameterizedTextLiteral(const ORXString& identifier, const ORXString& text)
        : ORXTextLiteral(identifier, text) {}
    ORXParameterizedTextLiteral(const ORXParameterizedTextLiteral&) = default;
    ORXParameterizedTextLiteral& operator=(const ORXParameterizedTextLiteral&) = default;

    // Replaces the text with the element's text when `identifier` is this
    // literal's identifier; returns whether it did.
    virtual bool update(const ORXString& identifier, const ORXXMLElement& element);

    // A fresh, empty parameter block.
    ORXParameterBlock prapareForParameters() const { return {}; }
    // Sets parameter `position` of the block.
    void setParameterValue(ORXParameterBlock& block, int position, const ORXString& value) const;
    // The text with every "{n}" whose parameter was set replaced by its value;
    // markers of parameters that were not set stay as they are.
    ORXString createParametrizedText(const ORXParameterBlock& block) const;
};

// A message: a text with a number, a severity name, the numeric level derived
// from that name and a message code that the derived class sets.
class ORXMessageLiteral : public ORXParameterizedTextLiteral {
  public:
    ORXMessageLiteral(const ORXString& number, const ORXString& text, const ORXString& severity);
    ORXMessageLiteral(const ORXMessageLiteral&) = default;
    ORXMessageLiteral& operator=(const ORXMessageLiteral&) = default;

    const ORXString& getNumber() const { return number_; }
    const ORXString& getSeverity() const { return severity_; }
    int getSeverityLevel() const { return severityLevel_; }
    const ORXString& getMessageCode() const { return messageCode_; }

  protected:
    ORXString number_;
    ORXString severity_;
    int severityLevel_;
    ORXString messageCode_;
};

// The base of a literal catalogue. init() registers the catalogue with the
// framework under its document identifier; the framework reaches the
// identifier and the null-terminated literal table through the two virtual
// operations and keeps only the table, never the catalogue object.
class ORXTextLiteralsCollection {
  public:
    ORXTextLiteralsCollection() = default;
    ORXTextLiteralsCollection(const ORXTextLiteralsCollection&) = default;
    ORXTextLiteralsCollection& operator=(const ORXTextLiteralsCollection&) = default;
    virtual ~ORXTextLiteralsCollection() = default;

    void init();
    // Forgets the catalogue registered under `documentId` (when a library unloads).
    static void release(const ORXString& documentId);
    // The literal table registered under `documentId`, or null.
    static ORXTextLiteral* const* findCollection(const ORXString& documentId);

  protected:
    virtual const ORXString& getDocumentId() const = 0;
    virtual ORXTextLiteral* const* listAllLiterals() const = 0;
};
