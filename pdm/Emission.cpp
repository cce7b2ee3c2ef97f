// Export records, identifiers, exported names and codes, and the emission
// operations through which every writer puts elements into the document.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>

#include "pdm/ExportBridge.h"
#include "pdm/NumberText.h"

// ---- Case-insensitive name tables ----------------------------------------------

namespace {

unsigned char foldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

std::size_t foldedHash(std::string_view text) {
    // FNV-1a over the case-folded bytes: equal names ignoring case hash alike.
    std::size_t hash = 1469598103934665603ull;
    for (unsigned char c : text) {
        hash ^= foldAscii(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

}  // namespace

int compareIgnoringCase(const ORXString& a, const ORXString& b) {
    std::string_view x = a.view(), y = b.view();
    std::size_t n = std::min(x.size(), y.size());
    for (std::size_t i = 0; i < n; ++i) {
        int d = int(foldAscii(static_cast<unsigned char>(x[i]))) -
                int(foldAscii(static_cast<unsigned char>(y[i])));
        if (d != 0)
            return d;
    }
    return x.size() < y.size() ? -1 : (x.size() > y.size() ? 1 : 0);
}

int ORXNameHashtable::compareEntries(const void* a, const void* b) const {
    return compareIgnoringCase(*static_cast<const ORXString*>(a),
                               *static_cast<const ORXString*>(b));
}

int ORXNameHashtable::compareKey(const void* key, const void* entry) const {
    return compareEntries(key, entry);
}

std::size_t ORXNameHashtable::hashEntry(const void* entry) const {
    return foldedHash(static_cast<const ORXString*>(entry)->view());
}

std::size_t ORXNameHashtable::hashKey(const void* key) const {
    return hashEntry(key);
}

void ORXNameHashtable::fetchAhead(std::string_view text) const {
    fetchBucket(foldedHash(text));
}

// ---- Records and identifiers -------------------------------------------------------

ExportRecord& ORXSybasePowerDesignerPdm08ExportBridge::makeExportRecord(ORXObject* object) {
    if (recordsInLastBlock == kRecordBlock) {
        recordBlocks.push_back(std::make_unique<ExportRecord[]>(kRecordBlock));
        recordsInLastBlock = 0;
    }
    ExportRecord& record = recordBlocks.back()[recordsInLastBlock++];
    record.object = object;
    object->setGeneralPointer(&record);
    return record;
}

ExportRecordDetail& ORXSybasePowerDesignerPdm08ExportBridge::getExportDetail(ORXObject* object) {
    ExportRecord& record = getExportRecord(object);
    if (!record.hasDetail) {
        ExportRecordDetail& detail = recordDetails[object];
        record.hasDetail = true;
        return detail;
    }
    return recordDetails.find(object)->second;
}

ExportRecordDetail* ORXSybasePowerDesignerPdm08ExportBridge::findExportDetail(
    const ORXObject* object) {
    const auto* record = static_cast<const ExportRecord*>(object->getGeneralPointer());
    if (!record || !record->hasDetail)
        return nullptr;
    return &recordDetails.find(object)->second;
}

int ORXSybasePowerDesignerPdm08ExportBridge::newObjectId() {
    return nextObjectId++;
}

int ORXSybasePowerDesignerPdm08ExportBridge::getObjectId(ORXObject* object) {
    ExportRecord& record = getExportRecord(object);
    if (record.objectId == 0)
        record.objectId = newObjectId();
    return record.objectId;
}

bool ORXSybasePowerDesignerPdm08ExportBridge::testAndSetWritten(ORXObject* object) {
    ExportRecord& record = getExportRecord(object);
    if (record.written)
        return true;
    record.written = true;
    return false;
}

bool ORXSybasePowerDesignerPdm08ExportBridge::printRefIfWritten(std::string_view name,
                                                                ORXObject* object) {
    if (!testAndSetWritten(object))
        return false;
    printObjectRef(name, "Ref", getObjectId(object));
    return true;
}

int ORXSybasePowerDesignerPdm08ExportBridge::getShortcutId(ORXObject* object,
                                                           ORXDesignPackage* package) {
    ExportRecordDetail& record = getExportDetail(object);
    if (package != record.shortcutPackage) {
        record.shortcutId = newObjectId();
        record.shortcutPackage = package;
    }
    if (record.shortcutId == 0)
        record.shortcutId = newObjectId();
    return record.shortcutId;
}

// ---- Exported names and codes ------------------------------------------------------

namespace {

// Characters that names and codes cannot hold, each written as '_': in a name
// the operators and punctuation "+-*/\\.,!:;", in a code every ASCII
// character other than a letter or digit (other bytes stay as they are).
struct ReplacedCharacters {
    bool inName[256] = {};
    bool inCode[256] = {};
    constexpr ReplacedCharacters() {
        for (unsigned char c : std::string_view("+-*/\\.,!:;"))
            inName[c] = true;
        for (int c = 0; c < 0x80; ++c) {
            const bool alnum =
                (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
            inCode[c] = !alnum;
        }
        // '_' would become itself: leaving it out spares most codes a copy.
        inCode[static_cast<unsigned char>('_')] = false;
    }
};
constexpr ReplacedCharacters kReplaced;

// What a byte of a name or code asks for: replacing in a name, replacing in
// a code, converting for XML. The XML column is taken from the writer's own
// test, byte by byte, so that the two can never disagree.
enum : unsigned char { kInName = 1, kInCode = 2, kNotPlainXML = 4 };
struct CharacterKinds {
    unsigned char of[256];
    CharacterKinds() {
        for (int c = 0; c < 256; ++c) {
            const char byte = static_cast<char>(c);
            of[c] = static_cast<unsigned char>(
                (kReplaced.inName[c] ? kInName : 0) | (kReplaced.inCode[c] ? kInCode : 0) |
                (ORXXMLWriter::plainXMLTextLength(std::string_view(&byte, 1)) == 1 ? 0
                                                                                   : kNotPlainXML));
        }
    }
};
const CharacterKinds kCharacterKinds;

// The kinds of all bytes of `text` together: one look at each byte tells
// whether the text must be replaced in a name or a code and whether it must
// be converted for XML. Replacing writes '_', which XML copies as it stands,
// so a text that needs no conversion needs none once replaced either.
int textKinds(std::string_view text) {
    int kinds = 0;
    for (char c : text)
        kinds |= kCharacterKinds.of[static_cast<unsigned char>(c)];
    return kinds;
}

// A copy of `text` in `scratch` with the replaced characters written as '_'.
std::string_view replaced(std::string_view text, const bool (&table)[256], std::string& scratch) {
    scratch.assign(text);
    for (char& c : scratch)
        if (table[static_cast<unsigned char>(c)])
            c = '_';
    return scratch;
}

std::string foldedText(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(foldAscii(static_cast<unsigned char>(c)));
    return out;
}

// Stores `text`, or, when `table` holds an equal text (ignoring case) already,
// the first of text_1, text_2, ... that it does not hold, adds the stored
// string to the table and returns its position in `store`. The suffixes tried
// for a base are remembered: every candidate below the remembered one is
// taken (keys are never removed), so starting there finds the same name as
// starting from 1, without retrying thousands of taken names. `text` is
// scratch space and is changed.
std::uint32_t storeUnique(ORXNameHashtable& table, std::unordered_map<std::string, int>& nextSuffix,
                          NameStore& store, std::string& text) {
    std::uint32_t position = store.intern(text);
    if (table.add(&store.at(position), true, nullptr))
        return position;
    const std::size_t length = text.size();
    int& k = nextSuffix[foldedText(text)];
    if (k < 1)
        k = 1;
    for (;; ++k) {
        char suffix[kMaxDecimalLength + 1] = {'_'};
        text.resize(length);
        text.append(suffix, writeDecimal(suffix + 1, k));
        position = store.intern(text);
        if (table.add(&store.at(position), true, nullptr))
            break;
    }
    ++k;
    return position;
}

}  // namespace

ORXSybasePowerDesignerPdm08ExportBridge::NameAndCode
ORXSybasePowerDesignerPdm08ExportBridge::makeNameAndCode(ORXObject* object, bool inScratch) {
    const ORXElement* element = asElement(object);
    const std::string_view physicalName =
        element ? element->getPhysicalName().view() : std::string_view();
    std::string_view name, code;
    if (!object->getName().empty()) {
        name = object->getName().view();
        code = physicalName.empty() ? name : physicalName;
    } else if (!physicalName.empty()) {
        name = code = physicalName;
    } else {
        // Unnamed: the object's type and identifier.
        const std::string_view type = getElementTypeName(object->getElementType());
        char digits[kMaxDecimalLength];
        generatedName.assign(type).append(1, '_').append(digits,
                                                         writeDecimal(digits, getObjectId(object)));
        name = code = generatedName;
    }
    // Mostly the code is the name: one look at its characters serves both.
    const int nameKinds = textKinds(name);
    const int codeKinds = code.data() == name.data() ? nameKinds : textKinds(code);
    if (inScratch || (nameKinds & kInName))
        name = replaced(name, kReplaced.inName, nameScratch);
    if (inScratch || (codeKinds & kInCode))
        code = replaced(code, kReplaced.inCode, codeScratch);
    return {name, code, (nameKinds & kNotPlainXML) == 0, (codeKinds & kNotPlainXML) == 0};
}

// The texts are assembled in two scratch strings that keep their capacity, and
// stored once each: most names and codes cost no allocation at all.
void ORXSybasePowerDesignerPdm08ExportBridge::computeNameAndCode(ORXObject* object) {
    ExportRecord& record = getExportRecord(object);
    if (record.name != 0)
        return;
    const int type = object->getElementType();
    if (type == ORX_ET_CLASS || type == ORX_ET_DERIVED_TYPE) {
        makeNameAndCode(object, true);
        const bool table = type == ORX_ET_CLASS;
        // In a large model the store's slot and the two tables' buckets are
        // three cache misses: ask for all of them at once.
        nameTexts.fetchAhead(nameScratch);
        if (codeScratch != nameScratch)
            nameTexts.fetchAhead(codeScratch);
        (table ? tableNames : domainNames).fetchAhead(nameScratch);
        (table ? tableCodes : domainCodes).fetchAhead(codeScratch);
        record.name =
            storeUnique(table ? tableNames : domainNames,
                        table ? tableNameSuffixes : domainNameSuffixes, nameTexts, nameScratch);
        record.code =
            storeUnique(table ? tableCodes : domainCodes,
                        table ? tableCodeSuffixes : domainCodeSuffixes, nameTexts, codeScratch);
    } else {
        const NameAndCode texts = makeNameAndCode(object, false);
        record.name = nameTexts.intern(texts.name);
        record.code = nameTexts.intern(texts.code);
    }
}

// The element of an object is written once: the names of objects other than
// tables and domains (which must stay unique) are made for it and not stored,
// and mostly written straight from the model's own texts.
void ORXSybasePowerDesignerPdm08ExportBridge::printNameAndCode(ORXObject* object) {
    const int type = object->getElementType();
    if (type == ORX_ET_CLASS || type == ORX_ET_DERIVED_TYPE || getExportRecord(object).name != 0) {
        printAttribute("a:Name", getExportName(object), true);
        printAttribute("a:Code", getExportCode(object), true);
        return;
    }
    const NameAndCode texts = makeNameAndCode(object, false);
    const std::string_view name = texts.plainName ? texts.name : xmlContent(texts.name);
    printPlainText("a:Name", name);
    // A code that is the name itself is converted again all the same: the
    // writer counts every written text that held bytes it could not convert.
    printPlainText("a:Code", texts.plainCode ? texts.code : xmlContent(texts.code));
}

// The codes that appear once (a reference's a:Fkcn, from its foreign key or
// itself, and a view column's a:Code) are made for their line and not stored,
// like the names that printNameAndCode writes.
void ORXSybasePowerDesignerPdm08ExportBridge::printExportCode(std::string_view name,
                                                              ORXObject* object) {
    const int type = object->getElementType();
    if (type == ORX_ET_CLASS || type == ORX_ET_DERIVED_TYPE || getExportRecord(object).name != 0) {
        printAttribute(name, getExportCode(object), true);
        return;
    }
    const NameAndCode texts = makeNameAndCode(object, false);
    if (!texts.code.empty())
        printPlainText(name, texts.plainCode ? texts.code : xmlContent(texts.code));
}

const ORXString& ORXSybasePowerDesignerPdm08ExportBridge::getExportName(ORXObject* object) {
    computeNameAndCode(object);
    return nameTexts.at(getExportRecord(object).name);
}

const ORXString& ORXSybasePowerDesignerPdm08ExportBridge::getExportCode(ORXObject* object) {
    computeNameAndCode(object);
    return nameTexts.at(getExportRecord(object).code);
}

// ---- Emission ------------------------------------------------------------------------

namespace {

// Copies `text` to `out` and returns the end of the copy. Most pieces of a
// line are a few bytes long (element names, identifiers, short names), and
// two overlapping word moves copy them cheaper than a call to memcpy.
inline char* put(char* out, std::string_view text) {
    const std::size_t n = text.size();
    const char* from = text.data();
    if (n >= 8 && n <= 16) {
        std::uint64_t head, tail;
        std::memcpy(&head, from, 8);
        std::memcpy(&tail, from + n - 8, 8);
        std::memcpy(out, &head, 8);
        std::memcpy(out + n - 8, &tail, 8);
    } else if (n > 16 && n <= 32) {
        std::uint64_t a, b, c, d;
        std::memcpy(&a, from, 8);
        std::memcpy(&b, from + 8, 8);
        std::memcpy(&c, from + n - 16, 8);
        std::memcpy(&d, from + n - 8, 8);
        std::memcpy(out, &a, 8);
        std::memcpy(out + 8, &b, 8);
        std::memcpy(out + n - 16, &c, 8);
        std::memcpy(out + n - 8, &d, 8);
    } else if (n >= 4 && n < 8) {
        std::uint32_t head, tail;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + n - 4, 4);
        std::memcpy(out, &head, 4);
        std::memcpy(out + n - 4, &tail, 4);
    } else if (n < 4) {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = from[i];
    } else {
        std::memcpy(out, from, n);
    }
    return out + n;
}

inline char* put(char* out, char c) {
    *out = c;
    return out + 1;
}

}  // namespace

void ORXSybasePowerDesignerPdm08ExportBridge::endLine(char* end) {
    lineSize = static_cast<std::size_t>(end - lineData.get());
    if (lineSize >= kLineBlock)
        flushLines();
}

// Lines gathered so far go to the file first; a line longer than the block
// gets a block of its own size.
void ORXSybasePowerDesignerPdm08ExportBridge::makeLineRoom(std::size_t size) {
    flushLines();
    if (size <= lineCapacity)
        return;
    lineCapacity = std::max(size, 2 * kLineBlock);
    lineData = std::make_unique<char[]>(lineCapacity);
}

void ORXSybasePowerDesignerPdm08ExportBridge::appendRaw(std::string_view text) {
    endLine(put(lineRoom(text.size()), text));
}

void ORXSybasePowerDesignerPdm08ExportBridge::flushLines() {
    if (lineSize == 0)
        return;
    outputFile.write(lineData.get(), lineSize);
    lineSize = 0;
}

std::string_view ORXSybasePowerDesignerPdm08ExportBridge::xmlContent(std::string_view text) {
    // The writer's own test, byte by byte, from the table made of it.
    if (!(textKinds(text) & kNotPlainXML))
        return text;
    xmlScratch.clear();
    appendXMLText(xmlScratch, text);
    return xmlScratch;
}

void ORXSybasePowerDesignerPdm08ExportBridge::printCollectionStart(std::string_view name) {
    const std::string_view indent = lineIndent();
    char* p = lineRoom(indent.size() + name.size() + 3);
    p = put(put(p, indent), '<');
    p = put(put(p, name), ">\n");
    endLine(p);
    if (!indentUnit.empty())
        currentIndent += indentUnit;
}

void ORXSybasePowerDesignerPdm08ExportBridge::printObjectStart(std::string_view name, int id) {
    if (id == 0)
        id = newObjectId();
    const std::string_view indent = lineIndent();
    char* p = lineRoom(indent.size() + name.size() + kMaxDecimalLength + 12);
    p = put(put(p, indent), '<');
    p = put(put(p, name), " Id=\"o");
    p = put(writeDecimal(p, id), "\">\n");
    endLine(p);
    if (!indentUnit.empty())
        currentIndent += indentUnit;
}

// Every written object opens with these two lines.
void ORXSybasePowerDesignerPdm08ExportBridge::printObjectStartWithOid(std::string_view name,
                                                                      int id) {
    printObjectStart(name, id);
    printIntegerAttribute("a:OID", id, true);
}

void ORXSybasePowerDesignerPdm08ExportBridge::printElementEnd(std::string_view name) {
    const int unit = indentUnit.getLength();
    if (unit > 0 && currentIndent.getLength() >= unit)
        currentIndent.resize(currentIndent.getLength() - unit);
    const std::string_view indent = lineIndent();
    char* p = lineRoom(indent.size() + name.size() + 4);
    p = put(put(p, indent), "</");
    p = put(put(p, name), ">\n");
    endLine(p);
}

void ORXSybasePowerDesignerPdm08ExportBridge::printObjectRef(std::string_view name,
                                                             std::string_view attribute, int id) {
    const std::string_view indent = lineIndent();
    char* p = lineRoom(indent.size() + name.size() + attribute.size() + kMaxDecimalLength + 10);
    p = put(put(p, indent), '<');
    p = put(put(p, name), ' ');
    p = put(put(p, attribute), "=\"o");
    p = put(writeDecimal(p, id), "\"/>\n");
    endLine(p);
}

void ORXSybasePowerDesignerPdm08ExportBridge::printText(std::string_view name,
                                                        std::string_view value) {
    printPlainText(name, xmlContent(value));
}

void ORXSybasePowerDesignerPdm08ExportBridge::printPlainText(std::string_view name,
                                                             std::string_view text) {
    const std::string_view indent = lineIndent();
    char* p = lineRoom(indent.size() + 2 * name.size() + text.size() + 6);
    p = put(put(p, indent), '<');
    p = put(put(p, name), '>');
    p = put(put(p, text), "</");
    p = put(put(p, name), ">\n");
    endLine(p);
}

void ORXSybasePowerDesignerPdm08ExportBridge::printAttribute(std::string_view name,
                                                             const ORXString& value,
                                                             bool skipEmpty) {
    if (value.empty() && skipEmpty)
        return;
    printText(name, value.view());
}

void ORXSybasePowerDesignerPdm08ExportBridge::printAttribute(std::string_view name,
                                                             const char* value) {
    if (value)
        printText(name, value);
}

void ORXSybasePowerDesignerPdm08ExportBridge::printIntegerAttribute(std::string_view name,
                                                                    int value, bool asOid) {
    const std::string_view indent = lineIndent();
    char* p =
        lineRoom(indent.size() + 2 * name.size() + guidPrefix.size() + 12 + kMaxDecimalLength + 6);
    p = put(put(p, indent), '<');
    p = put(put(p, name), '>');
    if (asOid)
        p = writeDecimal(put(p, guidPrefix), value, 12);
    else
        p = writeDecimal(p, value);
    p = put(put(p, "</"), name);
    endLine(put(p, ">\n"));
}

void ORXSybasePowerDesignerPdm08ExportBridge::printLine(const char* text) {
    const std::string_view line(text);
    endLine(put(put(lineRoom(line.size() + 1), line), '\n'));
}
