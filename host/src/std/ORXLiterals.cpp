// Text and message literals and the registry of literal catalogues.

#include "orx/ORXLiterals.h"

#include <map>
#include <string>

bool ORXParameterizedTextLiteral::update(const ORXString& identifier,
                                         const ORXXMLElement& element) {
    if (!(identifier == identifier_))
        return false;
    text_ = element.text;
    return true;
}

void ORXParameterizedTextLiteral::setParameterValue(ORXParameterBlock& block, int position,
                                                    const ORXString& value) const {
    if (position < 0)
        return;
    const auto index = static_cast<std::size_t>(position);
    if (block.size() <= index)
        block.resize(index + 1);
    block[index] = value;
}

// One pass over the text: a value that itself contains "{0}" is copied as it
// stands and never scanned again. A block holds no "unset" mark, so every
// position below its size counts as set (positions skipped when the block
// grew hold the empty text).
ORXString ORXParameterizedTextLiteral::createParametrizedText(
    const ORXParameterBlock& block) const {
    const std::string& text = text_.str();
    if (block.empty())
        return text_;
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t open = text.find('{', i);
        if (open == std::string::npos)
            break;
        out.append(text, i, open - i);
        std::size_t digitsEnd = open + 1;
        std::size_t number = 0;
        // Nine digits at most: enough for any block and no overflow.
        while (digitsEnd < text.size() && digitsEnd - open <= 9 && text[digitsEnd] >= '0' &&
               text[digitsEnd] <= '9') {
            number = number * 10 + static_cast<std::size_t>(text[digitsEnd] - '0');
            ++digitsEnd;
        }
        const bool isMarker =
            digitsEnd > open + 1 && digitsEnd < text.size() && text[digitsEnd] == '}';
        if (isMarker && number < block.size()) {
            out += block[number].str();
            i = digitsEnd + 1;
        } else {
            out += '{';
            i = open + 1;
        }
    }
    if (i < text.size())
        out.append(text, i, std::string::npos);
    return ORXString(std::move(out));
}

// The message number doubles as the literal's identifier; the derived class
// sets the message code.
ORXMessageLiteral::ORXMessageLiteral(const ORXString& number, const ORXString& text,
                                     const ORXString& severity)
    : ORXParameterizedTextLiteral(number, text),
      number_(number),
      severity_(severity),
      severityLevel_(ORXSeverityLevelOf(severity)) {}

namespace {

// Never destroyed: catalogues of other libraries may be released by their
// exit-time destructors after this library's statics would be gone.
std::map<std::string, ORXTextLiteral* const*>& collections() {
    static auto* registry = new std::map<std::string, ORXTextLiteral* const*>();
    return *registry;
}

}  // namespace

void ORXTextLiteralsCollection::init() {
    collections()[getDocumentId().str()] = listAllLiterals();
}

void ORXTextLiteralsCollection::release(const ORXString& documentId) {
    collections().erase(documentId.str());
}

ORXTextLiteral* const* ORXTextLiteralsCollection::findCollection(const ORXString& documentId) {
    const auto& registry = collections();
    const auto it = registry.find(documentId.str());
    return it == registry.end() ? nullptr : it->second;
}
