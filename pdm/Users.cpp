// Users (the schemas of the source model), stored procedures and triggers.

#include "pdm/ExportBridge.h"

using Bridge = ORXSybasePowerDesignerPdm08ExportBridge;

bool Bridge::isUserExported(ORXModelObject* schema) {
    return !schema->getName().empty();
}

void Bridge::writeUser(ORXModelObject* schema) {
    if (!isUserExported(schema))
        return;
    if (printRefIfWritten("o:SPdoObjUser", schema))
        return;
    printObjectStartWithOid("o:SPdoObjUser", getObjectId(schema));
    printAttribute("a:Name", schema->getName(), true);
    printAttribute("a:Code", schema->getName(), true);
    printElementEnd("o:SPdoObjUser");
}

ORXModelObject* Bridge::findProcedureOwner(ORXOperation* operation) {
    auto schemaOf = [](ORXModelObject* object) -> ORXModelObject* {
        if (!object)
            return nullptr;
        ORXModelObject* owner = object->getOwner();
        return (owner && owner->getElementType() == ORX_ET_SCHEMA) ? owner : nullptr;
    };
    if (ORXModelObject* owner = schemaOf(operation))
        return owner;
    if (ORXModelObject* owner = schemaOf(operation->getLinkedElement(0)))
        return owner;
    return schemaOf(operation->getLinkedElement(1));
}

void Bridge::writeProcedure(ORXOperation* operation) {
    if (printRefIfWritten("o:SPdoObjProc", operation))
        return;
    printObjectStartWithOid("o:SPdoObjProc", getObjectId(operation));
    printNameAndCode(operation);
    writeLabelOrComment(operation);
    writeDescription(operation);
    writeNotes(operation);
    printAttribute("a:PROC.Text", operation->getBody(), true);
    if (ORXModelObject* owner = findProcedureOwner(operation)) {
        printCollectionStart("c:PROC.Owner");
        writeUser(owner);
        printElementEnd("c:PROC.Owner");
    }
    printElementEnd("o:SPdoObjProc");
}

bool Bridge::isTriggerExported(ORXOperation* operation) {
    ExportRecord& record = getExportRecord(operation);
    if (record.exported == 0 || record.exported == 1)
        return record.exported == 1;
    record.exported = targetDbms().triggerKind != 0 ? 1 : 0;
    return record.exported == 1;
}

void Bridge::writeTrigger(ORXOperation* operation) {
    if (!isTriggerExported(operation))
        return;
    testAndSetWritten(operation);
    const bool eventOnly = targetDbms().triggerKind == 1;
    const int timing = operation->getTiming();
    struct Event {
        bool set;
        const char* suffix;
        const char* eventType;
        const char* timedType;
    };
    const Event events[] = {
        {operation->isOnDelete(), "_DELETE", "D", (timing == 0 || timing == 2) ? "BD" : "AD"},
        {operation->isOnUpdate(), "_UPDATE", "U", timing == 0 ? "BU" : "AU"},
        {operation->isOnInsert(), "_INSERT", "I", timing == 0 ? "BI" : "AI"},
    };
    for (const Event& event : events) {
        if (!event.set)
            continue;
        const int id = newObjectId();
        printObjectStartWithOid("o:SPdoObjTrgr", id);
        printAttribute("a:Name", getExportName(operation) + event.suffix, true);
        printAttribute("a:Code", getExportCode(operation) + event.suffix, true);
        printAttribute("a:Text", operation->getBody(), true);
        writeLabelOrComment(operation);
        writeDescription(operation);
        printAttribute("a:TRGR.Type", eventOnly ? event.eventType : event.timedType);
        writeNotes(operation);
        printElementEnd("o:SPdoObjTrgr");
    }
}
