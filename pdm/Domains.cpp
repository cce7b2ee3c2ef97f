// Domains, business rules and the datatype properties of columns and domains.

#include <cstdio>
#include <string>

#include "pdm/ExportBridge.h"
#include "pdm/NumberText.h"

using Bridge = ORXSybasePowerDesignerPdm08ExportBridge;

bool Bridge::isDomainExported(ORXType* type) {
    ExportRecord& record = getExportRecord(type);
    if (record.exported == 0 || record.exported == 1)
        return record.exported == 1;
    record.exported = (type->getElementType() == ORX_ET_DERIVED_TYPE && type->isDomain()) ? 1 : 0;
    return record.exported == 1;
}

void Bridge::writeDomain(ORXType* type) {
    if (!isDomainExported(type))
        return;
    if (printRefIfWritten("o:SPdoObjDomn", type))
        return;
    printObjectStartWithOid("o:SPdoObjDomn", getObjectId(type));
    printNameAndCode(type);
    writeLabelOrComment(type);
    writeDescription(type);
    writeNotes(type);
    writeDatatypeProperties(type, ORXString());
    printElementEnd("o:SPdoObjDomn");
}

void Bridge::writeBusinessRule(ORXAttribute* attribute) {
    ExportRecordDetail& record = getExportDetail(attribute);
    if (record.ruleId != 0) {
        printObjectRef("o:SObjRule", "Ref", record.ruleId);
        return;
    }
    const int id = newObjectId();
    ruleIds.add(id);
    record.ruleId = id;
    printObjectStartWithOid("o:SObjRule", id);
    char name[32];
    std::snprintf(name, sizeof name, "RULE_%i", id);
    printAttribute("a:Name", name);
    printAttribute("a:Code", name);
    printAttribute("a:Sexpr", attribute->getRuleExpression(), true);
    printElementEnd("o:SObjRule");
}

void Bridge::writeDatatypeProperties(ORXType* type, const ORXString& defaultText) {
    printAttribute("a:Lval", type->getLowerBound(), true);
    printAttribute("a:Hval", type->getUpperBound(), true);
    printAttribute("a:Dval", defaultText.empty() ? type->getInitialValue() : defaultText, true);
    if (type->getTypeValueCount() > 0)
        writeValueList(type);

    const ORXString& modelDatatype = type->getDataType();
    const int length = type->getLength();
    const DatatypeMapRow* row =
        datatypeIndex.find(targetDatatypeTable, modelDatatype.view(), length);
    if (!row)
        return;

    // Every column comes here, so the text is put together without printf, in
    // a string that keeps its capacity.
    const int scale = type->getScale();
    const std::string_view dbmsDatatype = row->dbmsDatatype;
    const bool withScale = row->takesScale && scale != 0;
    const bool withLength = withScale || (row->takesLength && length != 0);
    if (withLength) {
        char digits[2 * kMaxDecimalLength + 3];
        char* p = digits;
        *p++ = '(';
        p = writeDecimal(p, length);
        if (withScale) {
            *p++ = ',';
            p = writeDecimal(p, scale);
        }
        *p++ = ')';
        datatypeText.assign(dbmsDatatype).append(digits, p);
        printText("a:Dttp", datatypeText);
        printIntegerAttribute("a:Mlen", length, false);
        if (withScale)
            printIntegerAttribute("a:Prec", scale, false);
    } else {
        printText("a:Dttp", dbmsDatatype);
        if (row->impliedLength != 0)
            printIntegerAttribute("a:Mlen", row->impliedLength, false);
    }
    if (modelDatatype.view() == std::string_view("AUTOINCREMENT"))
        printIntegerAttribute("a:Idnt", 1, false);
}

void Bridge::writeValueList(ORXType* type) {
    ORXTypeValueByPosition values;
    type->getTypeValueByPosition(values);
    std::string text = "<a:Vals>";
    for (int i = 0; i < values.getCount(); ++i) {
        if (i > 0)
            text += '\n';
        ORXTypeValue* value = values.getTypeValue(i);
        appendXMLText(text, value->getValue().view());
        text += '\t';
        appendXMLText(text, value->getName().view());
    }
    text += "</a:Vals>\n";
    appendRaw(text);
}
