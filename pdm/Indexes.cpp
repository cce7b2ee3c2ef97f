// Indexes and their columns.

#include "orx/ORXStack.h"
#include "pdm/ExportBridge.h"

using Bridge = ORXSybasePowerDesignerPdm08ExportBridge;

void Bridge::writeIndex(ORXIndex* index) {
    ORXStack::check();
    if (!isIndexExported(index))
        return;
    if (printRefIfWritten("o:SPdoObjIndx", index))
        return;
    printObjectStartWithOid("o:SPdoObjIndx", getObjectId(index));
    printNameAndCode(index);
    printIntegerAttribute("a:Uniq", index->isUnique() == 1 ? 1 : 0, false);
    writeLabelOrComment(index);
    writeDescription(index);
    writeNotes(index);

    // The linked key, or the reference of the foreign key it implements.
    if (ORXKey* key = index->getKey()) {
        if (isKeyExported(key)) {
            printCollectionStart("c:LinkObj");
            writeKey(key);
            printElementEnd("c:LinkObj");
        } else if (key->getElementType() == ORX_ET_FOREIGN_KEY) {
            ORXAssociationRole* role = static_cast<ORXForeignKey*>(key)->getAssociationRole();
            if (role) {
                printCollectionStart("c:LinkObj");
                writeReference(role->getAssociation());
                printElementEnd("c:LinkObj");
            }
        }
    }

    printCollectionStart("c:IndxColumns");
    auto members = indexMemberLists.borrow();
    index->getIndexMemberByPosition(*members);
    for (int i = 0; i < members->getCount(); ++i)
        writeIndexColumn(members->getIndexMember(i));
    printElementEnd("c:IndxColumns");
    printElementEnd("o:SPdoObjIndx");
}

void Bridge::writeIndexColumn(ORXIndexMember* member) {
    if (!isIndexColumnExported(member))
        return;
    if (printRefIfWritten("o:SPdoObjCidx", member))
        return;
    printObjectStartWithOid("o:SPdoObjCidx", getObjectId(member));
    printIntegerAttribute("a:Ascd", member->getSortOrder() == 2 ? 0 : 1, false);
    printCollectionStart("c:Coln");
    writeColumn(member->getAttribute());
    printElementEnd("c:Coln");
    printElementEnd("o:SPdoObjCidx");
}

bool Bridge::isIndexColumnExported(ORXIndexMember* member) {
    ExportRecord& record = getExportRecord(member);
    if (record.exported == 0 || record.exported == 1)
        return record.exported == 1;
    ORXAttribute* attribute = member->getAttribute();
    bool exported = attribute && isAttributeExported(attribute);
    record.exported = exported ? 1 : 0;
    return exported;
}

bool Bridge::isIndexExported(ORXIndex* index) {
    ExportRecord& record = getExportRecord(index);
    if (record.exported == 0 || record.exported == 1)
        return record.exported == 1;
    bool exported = true;
    for (int i = 0; i < index->getIndexMemberCount() && exported; ++i)
        exported = isIndexColumnExported(index->getIndexMember(i));
    record.exported = exported ? 1 : 0;
    return exported;
}
