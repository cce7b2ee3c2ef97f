// Packages and the shortcuts through which a package shows objects of others.

#include <vector>

#include "pdm/ExportBridge.h"
#include "pdm/FetchAhead.h"

using Bridge = ORXSybasePowerDesignerPdm08ExportBridge;

namespace {

// Class identifiers of shortcut targets.
const char* const kTableClsid = "380BAA40-0042-11D2-BD28-00A02478ECC9";
const char* const kReferenceClsid = "6E6C7340-0044-11D2-A252-006008700815";
const char* const kViewClsid = "55750240-0044-11D2-B00B-0008C702FC49";

}  // namespace

bool Bridge::isPackageExported(ORXDesignPackage* package) {
    ExportRecord& record = getExportRecord(package);
    if (record.exported == 0 || record.exported == 1)
        return record.exported == 1;
    record.exported = package->getLevelCode() != 1 ? 1 : 0;
    return record.exported == 1;
}

void Bridge::writePackage(ORXDesignPackage* package) {
    if (!isPackageExported(package))
        return;
    currentPackage = package;
    if (printRefIfWritten("o:SPdmPackage", package))
        return;
    printObjectStartWithOid("o:SPdmPackage", getObjectId(package));
    printNameAndCode(package);
    writeLabelOrComment(package);
    writeDescription(package);
    writeNotes(package);

    printCollectionStart("c:PdmDiagrams");
    for (int d = 0; d < package->getDiagramCount(); ++d)
        writeDiagram(package->getDiagram(d));
    printElementEnd("c:PdmDiagrams");

    printCollectionStart("c:PdmPackages");
    for (int i = 0; i < package->getChildPackageCount(); ++i) {
        ORXPackage* child = package->getChildPackage(i);
        if (child->getElementType() == ORX_ET_DESIGN_PACKAGE)
            writePackage(static_cast<ORXDesignPackage*>(child));
    }
    printElementEnd("c:PdmPackages");
    currentPackage = package;

    printCollectionStart("c:Procedures");
    writePackageProcedures(package);
    printElementEnd("c:Procedures");

    printCollectionStart("c:Tables");
    writePackageTables(package);
    printElementEnd("c:Tables");

    printCollectionStart("c:Views");
    writePackageViews(package);
    printElementEnd("c:Views");

    printCollectionStart("c:References");
    writePackageReferences(package);
    printElementEnd("c:References");

    printElementEnd("o:SPdmPackage");
}

const std::vector<std::uint8_t>& Bridge::packageElementKinds(ORXDesignPackage* package) {
    ExportRecordDetail& detail = getExportDetail(package);
    const int count = package->getModelElementCount();
    // Noted already when there is a kind per element (a package without
    // elements has nothing to note).
    if (detail.elementKinds.size() == static_cast<std::size_t>(count))
        return detail.elementKinds;
    detail.elementKinds.assign(count, kOtherElement);
    for (int e = 0; e < count; ++e) {
        if (e + kFetchAhead < count)
            fetchAhead(package->getModelElement(e + kFetchAhead));
        ORXModelObject* element = package->getModelElement(e);
        ElementKind kind = kOtherElement;
        switch (element->getElementType()) {
            case ORX_ET_CLASS:
                kind = static_cast<ORXClass*>(element)->getOperationCount() != 0
                           ? kTableWithOperations
                           : kTableElement;
                break;
            case ORX_ET_ASSOCIATION:
                kind = kReferenceElement;
                break;
            case ORX_ET_SQL_VIEW_ENTITY:
                kind = kViewElement;
                break;
            default:
                break;
        }
        detail.elementKinds[e] = kind;
    }
    return detail.elementKinds;
}

void Bridge::writePackageProcedures(ORXDesignPackage* package) {
    for (int p = 0; p < package->getStoredProcedureCount(); ++p)
        writeProcedure(package->getStoredProcedure(p));
    const std::vector<std::uint8_t>& kinds = packageElementKinds(package);
    for (auto walk =
             walkKinds(package, kinds, [](std::uint8_t k) { return k == kTableWithOperations; });
         ORXModelObject* element = walk.element(); walk.advance()) {
        auto operations = operationLists.borrow();
        static_cast<ORXClass*>(element)->getOperationByPosition(*operations);
        for (int o = 0; o < operations->getCount(); ++o)
            if (operations->getOperation(o)->getElementType() == ORX_ET_STORED_PROCEDURE)
                writeProcedure(operations->getOperation(o));
    }
}

void Bridge::writePackageTables(ORXDesignPackage* package) {
    // The table shortcuts made so far for the package (by its diagrams), then
    // its tables and the shortcuts of its references' parent tables.
    writeShortcutRefs(getExportDetail(package).tableShortcuts);
    const std::vector<std::uint8_t>& kinds = packageElementKinds(package);
    for (auto walk = walkKinds(package, kinds,
                               [](std::uint8_t k) {
                                   return k == kTableElement || k == kTableWithOperations ||
                                          k == kReferenceElement;
                               });
         ORXModelObject* element = walk.element(); walk.advance()) {
        if (walk.kind() != kReferenceElement) {
            writeTable(static_cast<ORXClass*>(element));
        } else {
            auto* association = static_cast<ORXAssociation*>(element);
            if (!isReferenceExported(association))
                continue;
            ORXClass* parent = parentRole(association)->getAssociatedClass();
            if (needsShortcut(parent, true))
                writeShortcut(parent);
        }
    }
}

void Bridge::writePackageViews(ORXDesignPackage* package) {
    const std::vector<std::uint8_t>& kinds = packageElementKinds(package);
    for (auto walk = walkKinds(package, kinds, [](std::uint8_t k) { return k == kViewElement; });
         ORXModelObject* element = walk.element(); walk.advance())
        writeView(static_cast<ORXSQLViewEntity*>(element));
    writeShortcutRefs(getExportDetail(package).viewShortcuts);
}

void Bridge::writePackageReferences(ORXDesignPackage* package) {
    const std::vector<std::uint8_t>& kinds = packageElementKinds(package);
    for (auto walk =
             walkKinds(package, kinds, [](std::uint8_t k) { return k == kReferenceElement; });
         ORXModelObject* element = walk.element(); walk.advance())
        writeReference(static_cast<ORXAssociation*>(element));
    writeShortcutRefs(getExportDetail(package).referenceShortcuts);
}

void Bridge::writeShortcutRefs(const ORXVector<int>& ids) {
    // Only the identifiers present now: writing references adds none.
    const int count = ids.getCount();
    for (int i = 0; i < count; ++i)
        printObjectRef("o:SRepShortcut", "Ref", ids.get(i));
}

bool Bridge::needsShortcut(ORXModelObject* object, bool checkDiagrams) {
    // The package holds the object when it is the object's design package.
    if (currentPackage && object->getDesignPackage() == currentPackage)
        return false;
    if (!checkDiagrams)
        return true;
    if (currentPackage) {
        for (int d = 0; d < currentPackage->getDiagramCount(); ++d)
            if (currentPackage->getDiagram(d)->containsModelElement(object))
                return false;
    }
    return true;
}

void Bridge::writeShortcut(ORXModelObject* object) {
    if (hasShortcutIn(object, currentPackage)) {
        printObjectRef("o:SRepShortcut", "Ref", getShortcutId(object, currentPackage));
        return;
    }
    const int id = getShortcutId(object, currentPackage);
    printObjectStartWithOid("o:SRepShortcut", id);
    printAttribute("a:Name", object->getName(), true);
    printAttribute("a:Code", object->getName(), true);
    printIntegerAttribute("a:ExtOID", getObjectId(object), true);

    const char* clsid = nullptr;
    ORXVector<int>* list = nullptr;
    ExportRecordDetail* packageRecord = currentPackage ? &getExportDetail(currentPackage) : nullptr;
    switch (object->getElementType()) {
        case ORX_ET_CLASS:
            clsid = kTableClsid;
            if (packageRecord)
                list = &packageRecord->tableShortcuts;
            break;
        case ORX_ET_ASSOCIATION:
            clsid = kReferenceClsid;
            if (packageRecord)
                list = &packageRecord->referenceShortcuts;
            break;
        case ORX_ET_SQL_VIEW_ENTITY:
            clsid = kViewClsid;
            if (packageRecord)
                list = &packageRecord->viewShortcuts;
            break;
        default:
            break;
    }
    if (clsid) {
        printPlainText("a:ExtCLSID", clsid);
        if (list)
            list->add(id);
        printAttribute("a:TrgtLoct", getExportDetail(object).packagePath, false);
    }
    if (object->getElementType() == ORX_ET_ASSOCIATION) {
        auto* association = static_cast<ORXAssociation*>(object);
        printCollectionStart("c:LinkedShct");
        for (int r = 0; r < 2; ++r) {
            ORXAssociationRole* role = association->getAssociationRole(r);
            if (role && role->getAssociatedClass())
                writeTable(role->getAssociatedClass());
        }
        printElementEnd("c:LinkedShct");
    }
    printElementEnd("o:SRepShortcut");
}

bool Bridge::hasShortcutIn(ORXModelObject* object, ORXDesignPackage* package) {
    if (!object->getGeneralPointer()) {
        getExportRecord(object);
        computePackagePath(object);
        return false;
    }
    ExportRecordDetail& record = getExportDetail(object);
    if (record.packagePath.empty())
        computePackagePath(object);
    return record.shortcutPackage == package;
}

void Bridge::computePackagePath(ORXModelObject* object) {
    // Names are taken going up, innermost first: an unnamed package gets its
    // identifier when its name is computed, so the order counts.
    std::vector<ORXString> names;
    ORXPackage* package = object->getDesignPackage();
    while (package && package->getElementType() == ORX_ET_DESIGN_PACKAGE) {
        auto* designPackage = static_cast<ORXDesignPackage*>(package);
        if (designPackage->getPackageFlag())
            names.push_back(getExportName(designPackage));
        package = package->getParentPackage();
    }
    ORXString path;
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        path += "\\";
        path += *it;
    }
    if (names.empty())
        path = ORXString("\\");
    getExportDetail(object).packagePath = path;
}

void Bridge::writeSessionShortcuts(ORXDesignPackage* package) {
    if (const ExportRecordDetail* record = findExportDetail(package)) {
        writeShortcutRefs(record->tableShortcuts);
        writeShortcutRefs(record->referenceShortcuts);
        writeShortcutRefs(record->viewShortcuts);
    }
    for (int i = 0; i < package->getChildPackageCount(); ++i) {
        ORXPackage* child = package->getChildPackage(i);
        if (child->getElementType() == ORX_ET_DESIGN_PACKAGE)
            writeSessionShortcuts(static_cast<ORXDesignPackage*>(child));
    }
}
