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
        pointer = &recordBlocks.back()[recordsInLastBlock++];
        recordedObjects.push_back(object);
        object->setGeneralPointer(pointer);
    }
    return *static_cast<ExportRecord*>(pointer);
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

bool ORXSybasePowerDesignerPdm08ExportBridge::printRefIfWritten(const char* name,
                                                                ORXObject* object) {
    if (!testAndSetWritten(object))
        return false;
    printObjectRef(name, "Ref", getObjectId(object));
    return true;
}

int ORXSybasePowerDesignerPdm08ExportBridge::getShortcutId(ORXObject* object,
                                                           ORXDesignPackage* package) {
    ExportRecord& record = getExportRecord(object);
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

void sanitiseName(ORXString& name) {
    char* text = name.lock();
    for (int i = 0; i < name.getLength(); ++i) {
        if (std::strchr("+-*/\\.,!:;", text[i]) && text[i] != '\0')
            text[i] = '_';
    }
    name.unlock(true);
}

void sanitiseCode(ORXString& code) {
    char* text = code.lock();
    for (int i = 0; i < code.getLength(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        bool alnum = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (c < 0x80 && !alnum)
            text[i] = '_';
    }
    code.unlock(true);
}

std::string foldedText(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(foldAscii(static_cast<unsigned char>(c)));
    return out;
}

// Adds `text` to `table`, or, when an equal text (ignoring case) is there
// already, the first of text_1, text_2, ... that is free. The suffixes tried
// for a base are remembered: every candidate below the remembered one is
// taken (keys are never removed), so starting there finds the same name as
// starting from 1, without retrying thousands of taken names.
void makeUnique(ORXNameHashtable& table, std::unordered_map<std::string, int>& nextSuffix,
                ORXString& text) {
    if (table.add(&text, true, nullptr))
        return;
    ORXString base = text;
    std::string key = foldedText(base.view());
    int& k = nextSuffix[key];
    if (k < 1)
        k = 1;
    for (;; ++k) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "_%d", k);
        text = base + suffix;
        if (table.add(&text, true, nullptr))
            break;
    }
    ++k;
}

}  // namespace

void ORXSybasePowerDesignerPdm08ExportBridge::computeNameAndCode(ORXObject* object) {
    ExportRecord& record = getExportRecord(object);
    if (!record.name.empty())
        return;

    const ORXElement* element =
        object->isInstanceOf(ORX_ET_ELEMENT) ? static_cast<const ORXElement*>(object) : nullptr;
    ORXString physicalName = element ? element->getPhysicalName() : ORXString();
    ORXString name, code;
    if (!object->getName().empty()) {
        name = object->getName();
        code = physicalName.empty() ? name : physicalName;
    } else if (!physicalName.empty()) {
        name = code = physicalName;
    } else {
        char buffer[128];
        std::snprintf(buffer, sizeof buffer, "%s_%i", getElementTypeName(object->getElementType()),
                      getObjectId(object));
        name = code = ORXString(buffer);
    }
    sanitiseName(name);
    sanitiseCode(code);
    record.name = name;
    record.code = code;

    if (object->getElementType() == ORX_ET_CLASS) {
        makeUnique(tableNames, tableNameSuffixes, record.name);
        makeUnique(tableCodes, tableCodeSuffixes, record.code);
    } else if (object->getElementType() == ORX_ET_DERIVED_TYPE) {
        makeUnique(domainNames, domainNameSuffixes, record.name);
        makeUnique(domainCodes, domainCodeSuffixes, record.code);
    }
}

const ORXString& ORXSybasePowerDesignerPdm08ExportBridge::getExportName(ORXObject* object) {
    computeNameAndCode(object);
    return getExportRecord(object).name;
}

const ORXString& ORXSybasePowerDesignerPdm08ExportBridge::getExportCode(ORXObject* object) {
    computeNameAndCode(object);
    return getExportRecord(object).code;
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
    lineBuffer.clear();
    if (!indentUnit.empty())
        lineBuffer += currentIndent.view();
    return lineBuffer;
}

void ORXSybasePowerDesignerPdm08ExportBridge::endLine() {
    lineBuffer += '\n';
    outputFile.write(lineBuffer.data(), lineBuffer.size());
}

void ORXSybasePowerDesignerPdm08ExportBridge::printCollectionStart(const char* name) {
    beginLine().append("<").append(name).append(">");
    endLine();
    if (!indentUnit.empty())
        currentIndent += indentUnit;
}

void ORXSybasePowerDesignerPdm08ExportBridge::printObjectStart(const char* name, int id) {
    if (id == 0)
        id = newObjectId();
    beginLine().append("<").append(name).append(" Id=\"o");
    appendDecimal(lineBuffer, id);
    lineBuffer.append("\">");
    endLine();
    if (!indentUnit.empty())
        currentIndent += indentUnit;
}

void ORXSybasePowerDesignerPdm08ExportBridge::printElementEnd(const char* name) {
    if (!indentUnit.empty() && currentIndent.getLength() >= indentUnit.getLength())
        currentIndent = currentIndent.mid(0, currentIndent.getLength() - indentUnit.getLength());
    beginLine().append("</").append(name).append(">");
    endLine();
}

void ORXSybasePowerDesignerPdm08ExportBridge::printObjectRef(const char* name,
                                                             const char* attribute, int id) {
    beginLine().append("<").append(name).append(" ").append(attribute).append("=\"o");
    appendDecimal(lineBuffer, id);
    lineBuffer.append("\"/>");
    endLine();
}

void ORXSybasePowerDesignerPdm08ExportBridge::printAttribute(const char* name,
                                                             const ORXString& value,
                                                             bool skipEmpty) {
    if (value.empty() && skipEmpty)
        return;
    beginLine().append("<").append(name).append(">");
    appendXMLText(lineBuffer, value.view());
    lineBuffer.append("</").append(name).append(">");
    endLine();
}

void ORXSybasePowerDesignerPdm08ExportBridge::printAttribute(const char* name, const char* value) {
    if (!value)
        return;
    beginLine().append("<").append(name).append(">");
    appendXMLText(lineBuffer, value);
    lineBuffer.append("</").append(name).append(">");
    endLine();
}

void ORXSybasePowerDesignerPdm08ExportBridge::printIntegerAttribute(const char* name, int value,
                                                                    bool asOid) {
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
    outputFile << text << std::endl;
}
