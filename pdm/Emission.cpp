// Export records, identifiers, exported names and codes, and the emission
// operations through which every writer puts elements into the document.

#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>

#include "pdm/ExportBridge.h"

// ---- Case-insensitive name tables ----------------------------------------------

namespace {

unsigned char foldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

std::size_t foldedHash(const ORXString& text) {
    // FNV-1a over the case-folded bytes: equal names ignoring case hash alike.
    std::size_t hash = 1469598103934665603ull;
    for (unsigned char c : text.view()) {
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
    return foldedHash(*static_cast<const ORXString*>(entry));
}

std::size_t ORXNameHashtable::hashKey(const void* key) const {
    return hashEntry(key);
}

// ---- Records and identifiers -------------------------------------------------------

ExportRecord& ORXSybasePowerDesignerPdm08ExportBridge::getExportRecord(ORXObject* object) {
    void* pointer = object->getGeneralPointer();
    if (!pointer) {
        if (recordsInLastBlock == kRecordBlock) {
            recordBlocks.push_back(std::make_unique<ExportRecord[]>(kRecordBlock));
            recordsInLastBlock = 0;
        }
        ExportRecord& record = recordBlocks.back()[recordsInLastBlock++];
        record.object = object;
        object->setGeneralPointer(&record);
        return record;
    }
    return *static_cast<ExportRecord*>(pointer);
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

void sanitiseName(std::string& name) {
    for (char& c : name) {
        if (c != '\0' && std::strchr("+-*/\\.,!:;", c))
            c = '_';
    }
}

void sanitiseCode(std::string& code) {
    for (char& c : code) {
        unsigned char u = static_cast<unsigned char>(c);
        bool alnum = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9');
        if (u < 0x80 && !alnum)
            c = '_';
    }
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
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "_%d", k);
        text.resize(length);
        text += suffix;
        position = store.intern(text);
        if (table.add(&store.at(position), true, nullptr))
            break;
    }
    ++k;
    return position;
}

}  // namespace

// The texts are assembled in two scratch strings that keep their capacity, and
// stored once each: most names and codes cost no allocation at all.
void ORXSybasePowerDesignerPdm08ExportBridge::computeNameAndCode(ORXObject* object) {
    ExportRecord& record = getExportRecord(object);
    if (record.name != 0)
        return;

    const ORXElement* element =
        object->isInstanceOf(ORX_ET_ELEMENT) ? static_cast<const ORXElement*>(object) : nullptr;
    const ORXString& physicalName = element ? element->getPhysicalName() : emptyString;
    std::string& name = nameScratch;
    std::string& code = codeScratch;
    if (!object->getName().empty()) {
        name.assign(object->getName().view());
        code.assign(physicalName.empty() ? std::string_view(name) : physicalName.view());
    } else if (!physicalName.empty()) {
        name.assign(physicalName.view());
        code.assign(physicalName.view());
    } else {
        char buffer[128];
        std::snprintf(buffer, sizeof buffer, "%s_%i", getElementTypeName(object->getElementType()),
                      getObjectId(object));
        name.assign(buffer);
        code.assign(buffer);
    }
    sanitiseName(name);
    sanitiseCode(code);

    if (object->getElementType() == ORX_ET_CLASS) {
        record.name = storeUnique(tableNames, tableNameSuffixes, nameTexts, name);
        record.code = storeUnique(tableCodes, tableCodeSuffixes, nameTexts, code);
    } else if (object->getElementType() == ORX_ET_DERIVED_TYPE) {
        record.name = storeUnique(domainNames, domainNameSuffixes, nameTexts, name);
        record.code = storeUnique(domainCodes, domainCodeSuffixes, nameTexts, code);
    } else {
        record.name = nameTexts.intern(name);
        record.code = nameTexts.intern(code);
    }
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

// Appends `value` in decimal, padded with leading zeros to `width` characters
// (the sign counts), as printf's "%0*i" does: every element carries an
// identifier, so this runs for nearly every line of the document.
void appendDecimal(std::string& out, int value, int width = 0) {
    char digits[16];
    char* end = digits + sizeof digits;
    char* p = end;
    // The magnitude as unsigned, so that the most negative value is exact.
    unsigned magnitude =
        value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    const int length = static_cast<int>(end - p) + (value < 0 ? 1 : 0);
    if (value < 0)
        out += '-';
    if (width > length)
        out.append(static_cast<std::size_t>(width - length), '0');
    out.append(p, end);
}

}  // namespace

std::string& ORXSybasePowerDesignerPdm08ExportBridge::beginLine() {
    if (!indentUnit.empty())
        lineBuffer += currentIndent.view();
    return lineBuffer;
}

void ORXSybasePowerDesignerPdm08ExportBridge::endLine() {
    lineBuffer += '\n';
    if (lineBuffer.size() >= kLineBlock)
        flushLines();
}

void ORXSybasePowerDesignerPdm08ExportBridge::appendRaw(std::string_view text) {
    lineBuffer += text;
    if (lineBuffer.size() >= kLineBlock)
        flushLines();
}

void ORXSybasePowerDesignerPdm08ExportBridge::flushLines() {
    if (lineBuffer.empty())
        return;
    outputFile.write(lineBuffer.data(), lineBuffer.size());
    lineBuffer.clear();
}

void ORXSybasePowerDesignerPdm08ExportBridge::printCollectionStart(std::string_view name) {
    beginLine().append("<").append(name).append(">");
    endLine();
    if (!indentUnit.empty())
        currentIndent += indentUnit;
}

void ORXSybasePowerDesignerPdm08ExportBridge::printObjectStart(std::string_view name, int id) {
    if (id == 0)
        id = newObjectId();
    beginLine().append("<").append(name).append(" Id=\"o");
    appendDecimal(lineBuffer, id);
    lineBuffer.append("\">");
    endLine();
    if (!indentUnit.empty())
        currentIndent += indentUnit;
}

void ORXSybasePowerDesignerPdm08ExportBridge::printElementEnd(std::string_view name) {
    if (!indentUnit.empty() && currentIndent.getLength() >= indentUnit.getLength())
        currentIndent = currentIndent.mid(0, currentIndent.getLength() - indentUnit.getLength());
    beginLine().append("</").append(name).append(">");
    endLine();
}

void ORXSybasePowerDesignerPdm08ExportBridge::printObjectRef(std::string_view name,
                                                             std::string_view attribute, int id) {
    beginLine().append("<").append(name).append(" ").append(attribute).append("=\"o");
    appendDecimal(lineBuffer, id);
    lineBuffer.append("\"/>");
    endLine();
}

void ORXSybasePowerDesignerPdm08ExportBridge::printAttribute(std::string_view name,
                                                             const ORXString& value,
                                                             bool skipEmpty) {
    if (value.empty() && skipEmpty)
        return;
    beginLine().append("<").append(name).append(">");
    appendXMLText(lineBuffer, value.view());
    lineBuffer.append("</").append(name).append(">");
    endLine();
}

void ORXSybasePowerDesignerPdm08ExportBridge::printAttribute(std::string_view name,
                                                             const char* value) {
    if (!value)
        return;
    beginLine().append("<").append(name).append(">");
    appendXMLText(lineBuffer, value);
    lineBuffer.append("</").append(name).append(">");
    endLine();
}

void ORXSybasePowerDesignerPdm08ExportBridge::printIntegerAttribute(std::string_view name,
                                                                    int value, bool asOid) {
    beginLine().append("<").append(name).append(">");
    if (asOid) {
        lineBuffer.append(guidPrefix);
        appendDecimal(lineBuffer, value, 12);
    } else {
        appendDecimal(lineBuffer, value);
    }
    lineBuffer.append("</").append(name).append(">");
    endLine();
}

void ORXSybasePowerDesignerPdm08ExportBridge::printLine(const char* text) {
    lineBuffer += text;
    endLine();
}
