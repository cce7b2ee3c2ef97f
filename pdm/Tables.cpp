// Tables, columns and keys.

#include "orx/ORXBridgeLib.h"
#include "orx/ORXStack.h"
#include "pdm/ExportBridge.h"

using Bridge = ORXSybasePowerDesignerPdm08ExportBridge;

namespace {

// The check rule of a table or column as "a:Srul" (its text) and "a:Ckcn" (its name).
void writeCheckRule(Bridge& bridge, const ORXModelObject* object) {
    if (object->getBusinessRuleCount() == 0)
        return;
    if (ORXBusinessRule* rule = findBusinessRule(object, 3)) {
        bridge.printAttribute("a:Srul", rule->getRuleText(), true);
        bridge.printAttribute("a:Ckcn", rule->getName(), true);
    }
}

}  // namespace

// A table writes its indexes, whose references write their parent tables:
// the writers recurse along chains of tables, views and view columns, and a
// chain too long for the stack ends the export with a message, not a crash.
void Bridge::writeTable(ORXClass* table) {
    ORXStack::check();
    if (!isClassExported(table))
        return;
    if (needsShortcut(table, false)) {
        writeShortcut(table);
        return;
    }
    if (printRefIfWritten("o:SPdoObjTabl", table))
        return;
    printObjectStartWithOid("o:SPdoObjTabl", getObjectId(table));
    printNameAndCode(table);
    writeLabelOrComment(table);
    writeDescription(table);
    switch (table->getTableType()) {
        case 1:
            printPlainText("a:TABL.Type", "1");
            break;
        case 2:
        case 3:
            printPlainText("a:TABL.Type", "2");
            break;
        default:
            break;
    }
    writeNotes(table);
    writeCheckRule(*this, table);

    printCollectionStart("c:Columns");
    auto columns = attributeLists.borrow();
    table->getAttributeByPosition(*columns);
    for (int i = 0; i < columns->getCount(); ++i)
        writeColumn(columns->getAttribute(i));
    printElementEnd("c:Columns");

    printCollectionStart("c:Keys");
    for (int i = 0; i < table->getKeyCount(); ++i)
        writeKey(table->getKey(i));
    printElementEnd("c:Keys");

    printCollectionStart("c:Indexes");
    for (int i = 0; i < table->getIndexCount(); ++i)
        writeIndex(table->getIndex(i));
    printElementEnd("c:Indexes");

    printCollectionStart("c:Owner");
    ORXModelObject* owner = table->getOwner();
    if (owner && owner->getElementType() == ORX_ET_SCHEMA)
        writeUser(owner);
    printElementEnd("c:Owner");

    auto operations = operationLists.borrow();
    table->getOperationByPosition(*operations);
    printCollectionStart("c:Triggers");
    for (int i = 0; i < operations->getCount(); ++i)
        if (operations->getOperation(i)->getElementType() == ORX_ET_TRIGGER)
            writeTrigger(operations->getOperation(i));
    printElementEnd("c:Triggers");

    printCollectionStart("c:PKey");
    if (ORXCandidateKey* primaryKey = table->getPrimaryKey())
        writeKey(primaryKey);
    printElementEnd("c:PKey");

    printCollectionStart("c:Cluster");
    for (int i = 0; i < table->getIndexCount(); ++i)
        if (table->getIndex(i)->isClustered())
            writeIndex(table->getIndex(i));
    printElementEnd("c:Cluster");

    printCollectionStart("c:TABL.Procedures");
    for (int i = 0; i < operations->getCount(); ++i)
        if (operations->getOperation(i)->getElementType() == ORX_ET_STORED_PROCEDURE)
            writeProcedure(operations->getOperation(i));
    printElementEnd("c:TABL.Procedures");

    printElementEnd("o:SPdoObjTabl");
}

void Bridge::writeColumn(ORXAttribute* column) {
    if (!isAttributeExported(column))
        return;
    if (printRefIfWritten("o:SPdoObjColn", column))
        return;
    printObjectStartWithOid("o:SPdoObjColn", getObjectId(column));
    printNameAndCode(column);
    writeLabelOrComment(column);
    writeDescription(column);
    writeNotes(column);
    writeCheckRule(*this, column);
    printPlainText("a:Mand", column->isOptional() ? "0" : "1");
    if (!column->getRuleExpression().empty()) {
        printCollectionStart("c:Rules");
        writeBusinessRule(column);
        printElementEnd("c:Rules");
    }
    if (ORXType* type = column->getType())
        writeDatatypeProperties(type, column->getInitialValue());
    // A domain is a derived type: the element type tells, without a cast.
    ORXType* domain = column->getType();
    if (domain && domain->getElementType() == ORX_ET_DERIVED_TYPE && isDomainExported(domain)) {
        printCollectionStart("c:Domain");
        writeDomain(domain);
        printElementEnd("c:Domain");
    }
    printElementEnd("o:SPdoObjColn");
}

void Bridge::writeKey(ORXKey* key) {
    if (!isKeyExported(key))
        return;
    if (printRefIfWritten("o:SPdoObjKey", key))
        return;
    printObjectStartWithOid("o:SPdoObjKey", getObjectId(key));
    printNameAndCode(key);
    printAttribute("a:Cnst", key->getPhysicalName(), true);
    writeLabelOrComment(key);
    writeDescription(key);
    writeNotes(key);

    printCollectionStart("c:KEY.Columns");
    const int n = key->getAttributeCount();
    if (ORXIndex* index = key->getIndex()) {
        // The index decides the column order; missing members give no column.
        auto members = indexMemberLists.borrow();
        index->getIndexMemberByPosition(*members);
        for (int i = 0; i < n && i < members->getCount(); ++i)
            if (ORXAttribute* attribute = members->getIndexMember(i)->getAttribute())
                writeColumn(attribute);
    } else {
        for (int i = 0; i < n; ++i)
            writeColumn(key->getAttribute(i));
    }
    printElementEnd("c:KEY.Columns");
    printElementEnd("o:SPdoObjKey");
}

bool Bridge::isKeyExported(ORXKey* key) {
    if (key->getElementType() == ORX_ET_FOREIGN_KEY)
        return false;
    ExportRecord& record = getExportRecord(key);
    if (record.exported == 0 || record.exported == 1)
        return record.exported == 1;
    bool exported = false;
    if (key->isInstanceOf(ORX_ET_CANDIDATE_KEY) && static_cast<ORXCandidateKey*>(key)->isUnique()) {
        for (int i = 0; i < key->getAttributeCount() && !exported; ++i)
            exported = isAttributeExported(key->getAttribute(i));
    }
    record.exported = exported ? 1 : 0;
    return exported;
}
