// References between tables and their joins.

#include <string_view>

#include "orx/ORXBridgeLib.h"
#include "orx/ORXStack.h"
#include "pdm/ExportBridge.h"
#include "pdm/NumberText.h"

using Bridge = ORXSybasePowerDesignerPdm08ExportBridge;

namespace {

// A bound at or above this stands for an unbounded (many) side.
constexpr int kUnbounded = 2147483645;

// The cardinality text of a child role's multiplicity: "0,n", "1,n", "1", "0,1", ...
struct Cardinality {
    char text[32];
    std::size_t length = 0;
    explicit Cardinality(const ORXString& multiplicity) {
        int lower = 0, upper = 0;
        decodeMultiplicity(multiplicity, lower, upper);
        char* p = text;
        if (lower >= kUnbounded) {
            p = writeDecimal(p, 0);
            *p++ = ',';
            *p++ = 'n';
        } else if (upper >= kUnbounded) {
            p = writeDecimal(p, lower);
            *p++ = ',';
            *p++ = 'n';
        } else if (lower == upper) {
            p = writeDecimal(p, lower);
        } else {
            p = writeDecimal(p, lower);
            *p++ = ',';
            p = writeDecimal(p, upper);
        }
        length = static_cast<std::size_t>(p - text);
    }
    std::string_view view() const { return {text, length}; }
};

}  // namespace

int Bridge::toPdmRuleCode(int modelRuleCode) {
    switch (modelRuleCode) {
        case 1:
            return 0;
        case 2:
            return 2;
        // Set null and set default keep their meaning; reading them as
        // restrict would turn an ON DELETE SET NULL into a refusal.
        case 4:
            return 3;
        case 5:
            return 4;
        default:
            return 1;
    }
}

void Bridge::writeReference(ORXAssociation* association) {
    ORXStack::check();
    if (!isReferenceExported(association))
        return;
    if (needsShortcut(association, false)) {
        writeShortcut(association);
        return;
    }
    if (printRefIfWritten("o:SPdoObjRefr", association))
        return;
    ORXAssociationRole* parent = parentRole(association);
    ORXAssociationRole* child = childRole(association);
    ORXForeignKey* foreignKey = child->getForeignKey();

    printObjectStartWithOid("o:SPdoObjRefr", getObjectId(association));
    printNameAndCode(association);
    writeLabelOrComment(association);
    writeDescription(association);
    writeNotes(association);
    if (foreignKey && (!foreignKey->getPhysicalName().empty() || !foreignKey->getName().empty()))
        printExportCode("a:Fkcn", foreignKey);
    else
        printExportCode("a:Fkcn", association);
    printPlainText("a:Card", Cardinality(child->getMultiplicity()).view());
    printIntegerAttribute("a:Urul", toPdmRuleCode(child->getUpdateRule()), false);
    printIntegerAttribute("a:Drul", toPdmRuleCode(child->getDeleteRule()), false);
    printCollectionStart("c:Obj1");
    writeTable(parent->getAssociatedClass());
    printElementEnd("c:Obj1");
    printCollectionStart("c:Obj2");
    writeTable(child->getAssociatedClass());
    printElementEnd("c:Obj2");
    if (foreignKey)
        writeReferenceJoins(foreignKey);
    printElementEnd("o:SPdoObjRefr");
}

void Bridge::writeReferenceJoins(ORXForeignKey* foreignKey) {
    if (!isForeignKeyExported(foreignKey))
        return;
    printCollectionStart("c:Key");
    if (ORXCandidateKey* parentKey = foreignKey->getCandidateKey())
        writeKey(parentKey);
    printElementEnd("c:Key");

    printCollectionStart("c:Joins");
    const int n = foreignKey->getAttributeCount();
    auto members = indexMemberLists.borrow();
    ORXIndex* index = foreignKey->getIndex();
    if (index)
        index->getIndexMemberByPosition(*members);
    for (int i = 0; i < n; ++i) {
        ORXAttribute* column = nullptr;
        if (index) {
            if (i >= members->getCount())
                break;
            column = members->getIndexMember(i)->getAttribute();
        } else {
            column = foreignKey->getAttribute(i);
        }
        if (!column || !isAttributeExported(column))
            continue;
        ORXAttribute* parentColumn = findParentColumn(column, foreignKey);
        if (!parentColumn || !isAttributeExported(parentColumn))
            continue;
        const int id = newObjectId();
        printObjectStartWithOid("o:SPdoObjRfjn", id);
        printCollectionStart("c:Obj1");
        writeColumn(parentColumn);
        printElementEnd("c:Obj1");
        printCollectionStart("c:Obj2");
        writeColumn(column);
        printElementEnd("c:Obj2");
        printElementEnd("o:SPdoObjRfjn");
    }
    printElementEnd("c:Joins");
}

bool Bridge::isForeignKeyExported(ORXForeignKey* foreignKey) {
    ExportRecord& record = getExportRecord(foreignKey);
    if (record.exported == 0 || record.exported == 1)
        return record.exported == 1;
    bool exported = false;
    for (int i = 0; i < foreignKey->getAttributeCount() && !exported; ++i) {
        ORXAttribute* column = foreignKey->getAttribute(i);
        if (!isAttributeExported(column))
            continue;
        ORXAttribute* parentColumn = findParentColumn(column, foreignKey);
        exported = parentColumn && isAttributeExported(parentColumn);
    }
    record.exported = exported ? 1 : 0;
    return exported;
}

ORXAttribute* Bridge::findParentColumn(ORXAttribute* column, ORXForeignKey* foreignKey) {
    for (int i = 0; i < column->getDestinationOfAssociationRoleNameMapCount(); ++i) {
        ORXAssociationRoleNameMap* map = column->getDestinationOfAssociationRoleNameMap(i);
        if (foreignKey->containsAssociationRoleNameMap(map))
            return map->getSourceAttribute();
    }
    if (ORXCandidateKey* parentKey = foreignKey->getCandidateKey()) {
        for (int i = 0; i < parentKey->getAttributeCount(); ++i) {
            ORXAttribute* attribute = parentKey->getAttribute(i);
            if (attribute->getName() == column->getName())
                return attribute;
        }
    }
    return nullptr;
}
