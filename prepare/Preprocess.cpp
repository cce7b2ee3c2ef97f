// Pre-processing: what is exported, and the temporary changes that let the
// writers find only what a PDM can hold (associative tables for many-to-many
// associations, references for generalizations, references in their child
// table's package, a projection of every exported table, reference and view
// in each of its diagrams). Post-processing undoes all of it.

#include <algorithm>
#include <exception>

#include "literals/VLE_PDPDM7.h"
#include "orx/ORXBridgeLib.h"
#include "pdm/ExportBridge.h"

using Bridge = ORXSybasePowerDesignerPdm08ExportBridge;

namespace {

// The upper bound of a role's multiplicity.
int upperBound(const ORXAssociationRole* role) {
    int lower = 0, upper = 0;
    decodeMultiplicity(role->getMultiplicity(), lower, upper);
    return upper;
}

ORXString joined(const ORXString& a, const ORXString& b) {
    return a + "_" + b;
}

}  // namespace

// ---- Selection -----------------------------------------------------------------------

bool Bridge::isClassExported(ORXClass* table) {
    ExportRecord& record = getExportRecord(table);
    if (record.exported == 0 || record.exported == 1)
        return record.exported == 1;
    record.exported = table->getLevelCode() != 1 ? 1 : 0;
    return record.exported == 1;
}

bool Bridge::isAttributeExported(ORXAttribute* column) {
    ExportRecord& record = getExportRecord(column);
    if (record.exported == 0 || record.exported == 1)
        return record.exported == 1;
    record.exported = column->getLevelCode() != 1 ? 1 : 0;
    return record.exported == 1;
}

bool Bridge::isGeneralizationExported(ORXGeneralization* generalization) {
    ExportRecord& record = getExportRecord(generalization);
    if (record.exported == 0 || record.exported == 1)
        return record.exported == 1;
    bool exported = false;
    ORXClass* supertype = generalization->getSupertypeClass(0);
    if (generalization->getLevelCode() != 1 && supertype && isClassExported(supertype)) {
        for (int i = 0; i < generalization->getSubtypeClassCount() && !exported; ++i) {
            ORXClass* subtype = generalization->getSubtypeClass(i);
            exported = subtype && isClassExported(subtype);
        }
    }
    record.exported = exported ? 1 : 0;
    return exported;
}

bool Bridge::isReferenceExported(ORXAssociation* association) {
    ExportRecord& record = getExportRecord(association);
    if (record.exported == 0 || record.exported == 1)
        return record.exported == 1;
    bool exported = false;
    if (association->getAssociationRoleCount() != 2) {
        VLE_PDPDM7::PDPDMX_W_NON_BINARY_ASSOCIATION.log(*log);
    } else {
        ORXClass* first = association->getAssociationRole(0)->getAssociatedClass();
        ORXClass* second = association->getAssociationRole(1)->getAssociatedClass();
        exported = association->getLevelCode() != 1 && !isManyToMany(association) && first &&
                   second && isClassExported(first) && isClassExported(second);
    }
    record.exported = exported ? 1 : 0;
    return exported;
}

bool Bridge::isManyToMany(ORXAssociation* association) {
    if (association->getAssociationRoleCount() < 2)
        return false;
    return upperBound(association->getAssociationRole(0)) > 1 &&
           upperBound(association->getAssociationRole(1)) > 1;
}

ORXAssociationRole* Bridge::parentRole(ORXAssociation* association) {
    ORXAssociationRole* role0 = association->getAssociationRole(0);
    return (role0 && role0->isSource()) ? role0 : association->getAssociationRole(1);
}

ORXAssociationRole* Bridge::childRole(ORXAssociation* association) {
    ORXAssociationRole* role0 = association->getAssociationRole(0);
    return (role0 && role0->isSource()) ? association->getAssociationRole(1) : role0;
}

// ---- The traversal ------------------------------------------------------------------------

void Bridge::PreprocessOperation::runOn(Bridge* exportBridge) {
    bridge = exportBridge;
    bridge->model->depthTraversal(this, nullptr);
    // Every table and domain gets a name and a code: the name tables are
    // sized once instead of growing through a large model.
    bridge->tableNames.reserve(tableCount);
    bridge->tableCodes.reserve(tableCount);
    bridge->domainNames.reserve(domainCount);
    bridge->domainCodes.reserve(domainCount);
}

bool Bridge::PreprocessOperation::visit(ORXObject* object, void* /*data*/) {
    switch (object->getElementType()) {
        case ORX_ET_CLASS: {
            ++tableCount;
            auto* table = static_cast<ORXClass*>(object);
            if (bridge->isClassExported(table)) {
                bridge->findExistingAssociativeTable(table);
                bridge->ensureProjections(table);
            }
            break;
        }
        case ORX_ET_GENERALIZATION: {
            auto* generalization = static_cast<ORXGeneralization*>(object);
            if (bridge->isGeneralizationExported(generalization))
                generalizations.add(generalization);
            break;
        }
        case ORX_ET_ASSOCIATION: {
            auto* association = static_cast<ORXAssociation*>(object);
            if (bridge->isReferenceExported(association)) {
                ORXClass* child = childRole(association)->getAssociatedClass();
                if (child->getDesignPackage() != association->getDesignPackage())
                    bridge->movedAssociations.add(association);
                bridge->ensureProjections(association);
            } else if (association->getAssociationRoleCount() == 2 &&
                       bridge->isManyToMany(association) && bridge->isResolvable(association)) {
                manyToManyAssociations.add(association);
            }
            break;
        }
        case ORX_ET_SQL_VIEW_ENTITY:
            bridge->ensureProjections(static_cast<ORXModelObject*>(object));
            break;
        case ORX_ET_DERIVED_TYPE:
            ++domainCount;
            break;
        default:
            break;
    }
    // Only packages hold the objects acted on above. The parts of tables,
    // references, views and types (columns and their inline types, keys,
    // indexes, roles, values) never do, and diagrams are left alone, so the
    // walk descends into packages only: a large model's columns and keys are
    // not touched at all.
    return object->isInstanceOf(ORX_ET_PACKAGE);
}

bool Bridge::isResolvable(ORXAssociation* association) {
    // An association that is never exported (level code 1), or one of whose
    // tables is not, must not come back as an associative table either.
    ORXClass* first = association->getAssociationRole(0)->getAssociatedClass();
    ORXClass* second = association->getAssociationRole(1)->getAssociatedClass();
    return association->getLevelCode() != 1 && first && second && isClassExported(first) &&
           isClassExported(second);
}

void Bridge::ensureProjections(ORXModelObject* object) {
    for (int d = 0; d < object->getDiagramCount(); ++d) {
        ORXDiagram* diagram = object->getDiagram(d);
        bool shown = false;
        for (int p = 0; p < object->getPresentationPresentationElementCount() && !shown; ++p)
            shown =
                diagram->containsPresentationElement(object->getPresentationPresentationElement(p));
        if (shown)
            continue;
        addProjection(object, diagram);
    }
}

void Bridge::addProjection(ORXModelObject* object, ORXDiagram* diagram) {
    auto* projection = new ORXProjection();
    createdObjects.add(projection);
    projection->addDiagram(diagram);
    projection->addSubjectModelObject(object);
}

bool Bridge::findExistingAssociativeTable(ORXClass* table) {
    if (table->getLevelCode() != 2 || table->getAssociationRoleCount() != 2)
        return false;
    ORXAssociationRole* r0 = table->getAssociationRole(0);
    ORXAssociationRole* r1 = table->getAssociationRole(1);
    if (upperBound(r0) <= 1 || upperBound(r1) <= 1)
        return false;
    if (r0->getAssociation()->getAssociationRoleCount() != 2 ||
        r1->getAssociation()->getAssociationRoleCount() != 2)
        return false;
    ORXClass* x = findReverseRole(r0)->getAssociatedClass();
    ORXClass* y = findReverseRole(r1)->getAssociatedClass();
    if (!x || !y)
        return false;

    bool paired = false;
    for (int i = 0; i < x->getAssociationRoleCount(); ++i) {
        ORXAssociationRole* role = x->getAssociationRole(i);
        ORXAssociation* association = role->getAssociation();
        if (association->getAssociationRoleCount() != 2)
            continue;
        ORXClass* other = findReverseRole(role)->getAssociatedClass();
        if (other && other->equals(y) && isManyToMany(association)) {
            getExportDetail(association).pairedAssociation = table;
            getExportDetail(table).pairedAssociation = association;
            paired = true;
        }
    }
    return paired;
}

// ---- Many-to-many associations ----------------------------------------------------------

namespace {

// The attributes of a primary key in the order of its ordering index when it
// has one, else in key order. The index orders the key's attributes only:
// members that are not key attributes, or that repeat one, are passed over,
// and key attributes the index does not list follow in key order, so every
// key attribute is copied exactly once.
std::vector<ORXAttribute*> orderedKeyAttributes(ORXCandidateKey* key) {
    std::vector<ORXAttribute*> keyAttributes;
    for (int j = 0; j < key->getAttributeCount(); ++j)
        keyAttributes.push_back(key->getAttribute(j));
    ORXIndex* ordering = key->getOrderingIndex();
    if (!ordering)
        return keyAttributes;
    std::vector<ORXAttribute*> ordered;
    auto listed = [&ordered](ORXAttribute* attribute) {
        return std::find(ordered.begin(), ordered.end(), attribute) != ordered.end();
    };
    ORXIndexMemberByPosition members;
    ordering->getIndexMemberByPosition(members);
    for (int m = 0; m < members.getCount(); ++m) {
        ORXAttribute* attribute = members.getIndexMember(m)->getAttribute();
        bool inKey =
            std::find(keyAttributes.begin(), keyAttributes.end(), attribute) != keyAttributes.end();
        if (attribute && inKey && !listed(attribute))
            ordered.push_back(attribute);
    }
    for (ORXAttribute* attribute : keyAttributes)
        if (!listed(attribute))
            ordered.push_back(attribute);
    return ordered;
}

// A new association of the associative table: the parent role at `parent`
// with multiplicity 1, the child role at `table` with `multiplicity`. Returns
// the child role.
ORXAssociationRole* makeAssociation(ORXAssociation* association, ORXClass* parent, ORXClass* table,
                                    const ORXString& multiplicity) {
    auto* parentEnd = new ORXAssociationRole(association);
    parentEnd->setSource(true);
    parentEnd->setMultiplicity(buildMultiplicity(1, 1));
    parentEnd->addAssociatedClass(parent);
    auto* childEnd = new ORXAssociationRole(association);
    childEnd->setMultiplicity(multiplicity);
    childEnd->addAssociatedClass(table);
    return childEnd;
}

}  // namespace

void Bridge::PreprocessOperation::resolveManyToManyAssociations() {
    const int count = manyToManyAssociations.getCount();
    for (int i = 0; i < count; ++i) {
        ORXAssociation* a = manyToManyAssociations.get(i);
        if (const ExportRecordDetail* detail = bridge->findExportDetail(a);
            detail && detail->pairedAssociation)
            continue;

        ORXAssociationRole* role0 = a->getAssociationRole(0);
        ORXAssociationRole* r1 = role0->isSource() ? role0 : a->getAssociationRole(1);
        ORXAssociationRole* r2 = role0->isSource() ? a->getAssociationRole(1) : role0;
        ORXClass* c1 = r1->getAssociatedClass();
        ORXClass* c2 = r2->getAssociatedClass();
        // A role without a table gives nothing to name or key the table after.
        if (!c1 || !c2)
            continue;
        ORXDesignPackage* package = a->getDesignPackage();

        // 1. The associative table.
        auto* n = new ORXClass();
        bridge->createdObjects.add(n);
        n->setName(joined(c1->getName(), c2->getName()));
        n->setPhysicalName(joined(c1->getPhysicalName(), c2->getPhysicalName()));

        // 2, 3. Its two references.
        auto* a1 = new ORXAssociation();
        bridge->createdObjects.add(a1);
        ORXAssociationRole* a1Child = makeAssociation(a1, c1, n, r1->getMultiplicity());
        auto* a2 = new ORXAssociation();
        bridge->createdObjects.add(a2);
        ORXAssociationRole* a2Child = makeAssociation(a2, c2, n, r2->getMultiplicity());

        // 4. Its primary key with a clustered index.
        auto* k = new ORXCandidateKey();
        k->setUnique(true);
        k->addAssociatedClass(n);
        k->addPrimaryOfClass(n);
        auto* i1 = new ORXIndex();
        i1->setClustered(true);
        i1->addKey(k);
        i1->addAssociatedClass(n);

        // 5. The columns that reference the source side's primary key.
        int firstCount = 0;
        if (ORXCandidateKey* p1 = c1->getPrimaryKey()) {
            auto* f1 = new ORXForeignKey();
            f1->addAssociatedClass(n);
            f1->addAssociationRole(a1Child);
            f1->addCandidateKey(p1);
            auto* i2 = new ORXIndex();
            i2->addKey(f1);
            i2->addAssociatedClass(n);
            std::vector<ORXAttribute*> attributes = orderedKeyAttributes(p1);
            firstCount = static_cast<int>(attributes.size());
            for (int j = 0; j < firstCount; ++j) {
                ORXAttribute* keyAttribute = attributes[static_cast<std::size_t>(j)];
                auto* copy = new ORXAttribute(*keyAttribute);
                copy->setType(keyAttribute->getType());
                if (!copy->addAssociatedClass(n))
                    bridge->createdObjects.add(copy);
                k->addAttribute(copy);
                f1->addAttribute(copy);
                new ORXIndexMember(i1, copy, static_cast<short>(j));
                new ORXIndexMember(i2, copy, static_cast<short>(j));
            }
        }

        // 6. The columns that reference the other side's primary key; a name
        // taken already is prefixed with the source table's name.
        if (ORXCandidateKey* p2 = c2->getPrimaryKey()) {
            auto* f2 = new ORXForeignKey();
            f2->addAssociatedClass(n);
            f2->addAssociationRole(a2Child);
            f2->addCandidateKey(p2);
            auto* i3 = new ORXIndex();
            i3->addKey(f2);
            i3->addAssociatedClass(n);
            std::vector<ORXAttribute*> attributes = orderedKeyAttributes(p2);
            for (int j = 0; j < static_cast<int>(attributes.size()); ++j) {
                ORXAttribute* keyAttribute = attributes[static_cast<std::size_t>(j)];
                auto* copy = new ORXAttribute(*keyAttribute);
                if (!copy->addAssociatedClass(n)) {
                    copy->setName(joined(c1->getName(), keyAttribute->getName()));
                    copy->setPhysicalName(joined(c1->getName(), keyAttribute->getPhysicalName()));
                    // The prefixed name can be taken too (the source side has a
                    // key column of that name). A key column outside its table
                    // would be written inside the key, so the copy is numbered
                    // like a refused table until the table takes it.
                    while (!copy->addAssociatedClass(n)) {
                        ORXString suffix = ORXString("_") + ORXString(bridge->newObjectId());
                        copy->setName(copy->getName() + suffix);
                        copy->setPhysicalName(copy->getPhysicalName() + suffix);
                    }
                    new ORXAssociationRoleNameMap(f2, keyAttribute, copy);
                }
                copy->setType(keyAttribute->getType());
                k->addAttribute(copy);
                f2->addAttribute(copy);
                new ORXIndexMember(i1, copy, static_cast<short>(j + firstCount));
                new ORXIndexMember(i3, copy, static_cast<short>(j));
            }
        }

        // 7. Into the association's package, renamed when the name is taken.
        // The numbered name can be taken as well; a table left outside every
        // package would never be written while its references point at it,
        // so the numbering goes on until the package takes the table.
        if (!n->addDesignPackage(package)) {
            const ORXString name = n->getName();
            const ORXString physicalName = n->getPhysicalName();
            do {
                ORXString suffix = ORXString("_") + ORXString(bridge->newObjectId());
                n->setName(name + suffix);
                n->setPhysicalName(physicalName + suffix);
            } while (!n->addDesignPackage(package));
        }

        // 8, 9. The references beside it, and all three in the association's diagrams.
        a1->addDesignPackage(package);
        a2->addDesignPackage(package);
        for (int d = 0; d < a->getDiagramCount(); ++d) {
            ORXDiagram* diagram = a->getDiagram(d);
            for (ORXModelObject* object :
                 {static_cast<ORXModelObject*>(n), static_cast<ORXModelObject*>(a1),
                  static_cast<ORXModelObject*>(a2)}) {
                object->addDiagram(diagram);
                bridge->addProjection(object, diagram);
            }
        }
    }
}

// ---- Generalizations ------------------------------------------------------------------------

void Bridge::PreprocessOperation::convertGeneralizations() {
    for (int g = 0; g < generalizations.getCount(); ++g) {
        ORXGeneralization* generalization = generalizations.get(g);
        ORXClass* supertype = generalization->getSupertypeClass(0);
        for (int s = 0; s < generalization->getSubtypeClassCount(); ++s) {
            ORXClass* subtype = generalization->getSubtypeClass(s);
            if (!bridge->isClassExported(subtype))
                continue;

            auto* association = new ORXAssociation();
            bridge->createdObjects.add(association);
            association->setDescription(generalization->getDescription());
            association->setComment(generalization->getComment());
            for (int i = 0; i < generalization->getNoteCount(); ++i)
                association->addNote(new ORXNote(*generalization->getNote(i)));

            auto* parentEnd = new ORXAssociationRole(association);
            parentEnd->setSource(true);
            parentEnd->setMultiplicity(buildMultiplicity(1, 1));
            parentEnd->addAssociatedClass(supertype);
            auto* childEnd = new ORXAssociationRole(association);
            childEnd->setMultiplicity(buildMultiplicity(0, 2147483645));
            childEnd->addAssociatedClass(subtype);

            for (int i = 0; i < generalization->getForeignKeyCount(); ++i) {
                ORXForeignKey* key = generalization->getForeignKey(i);
                if (subtype->containsKey(key)) {
                    key->addAssociationRole(childEnd);
                    break;
                }
            }

            association->addDesignPackage(subtype->getDesignPackage());
            for (int d = 0; d < generalization->getDiagramCount(); ++d) {
                ORXDiagram* diagram = generalization->getDiagram(d);
                association->addDiagram(diagram);
                bridge->addProjection(association, diagram);
            }
        }
    }
}

// ---- References into their child table's package -----------------------------------------

void Bridge::PreprocessOperation::moveReferencesToChildPackages() {
    for (int i = 0; i < bridge->movedAssociations.getCount(); ++i) {
        ORXAssociation* association = bridge->movedAssociations.get(i);
        ORXDesignPackage* original = association->getDesignPackage();
        bridge->getExportDetail(association).originalPackage = original;
        association->removeDesignPackage(original);
        ORXDesignPackage* target = childRole(association)->getAssociatedClass()->getDesignPackage();
        // An association that its child's package refuses stays where it was.
        if (!association->addDesignPackage(target))
            association->addDesignPackage(original);
    }
}

// ---- Post-processing --------------------------------------------------------------------------

bool Bridge::ResetGeneralPointer::visit(ORXObject* object, void* /*data*/) {
    // The record itself lives in the bridge's pool, which post-processing
    // empties once every pointer to it is gone.
    if (object->getGeneralPointer())
        object->setGeneralPointer(nullptr);
    return true;
}

// Only the objects that were given a record can hold one, so the reset
// visits those (model objects, objects pre-processing made, and objects the
// model no longer reaches alike) rather than walking the whole model.
void Bridge::ResetGeneralPointer::runOn(Bridge* exportBridge) {
    bridge = exportBridge;
    for (std::size_t b = 0; b < bridge->recordBlocks.size(); ++b) {
        const std::size_t used =
            b + 1 == bridge->recordBlocks.size() ? bridge->recordsInLastBlock : kRecordBlock;
        for (std::size_t r = 0; r < used; ++r)
            visit(bridge->recordBlocks[b][r].object, nullptr);
    }
}

void Bridge::postProcess(bool raiseCloseError) {
    // 1. Close the file; a failure is raised once the model is whole again.
    std::exception_ptr closeError;
    try {
        outputFile.close();
    } catch (...) {
        closeError = std::current_exception();
    }

    // 2. Move references back. An association whose move never happened (the
    // export failed before) has no original package and stays where it is.
    for (int i = 0; i < movedAssociations.getCount(); ++i) {
        ORXAssociation* association = movedAssociations.get(i);
        const ExportRecordDetail* detail = findExportDetail(association);
        if (!detail || !detail->originalPackage)
            continue;
        association->removeDesignPackage(association->getDesignPackage());
        association->addDesignPackage(detail->originalPackage);
    }

    // 3. Drop the records. Every general pointer the export set holds a
    // record, so this also leaves no object with a general pointer. Without
    // a model (a bridge used as a plain writer) the objects may be gone
    // already, and only the list is dropped.
    if (model) {
        ResetGeneralPointer reset;
        reset.runOn(this);
    }

    // 4, 5. Delete what pre-processing created.
    try {
        for (int i = 0; i < createdObjects.getCount(); ++i) {
            ORXObject* object = createdObjects.get(i);
            object->setGeneralPointer(nullptr);
            delete object;
        }
    } catch (...) {
        // Deleting must not stop the clean-up.
    }
    createdObjects.empty();

    tableNames.removeAll();
    tableCodes.removeAll();
    domainNames.removeAll();
    domainCodes.removeAll();
    tableNameSuffixes.clear();
    tableCodeSuffixes.clear();
    domainNameSuffixes.clear();
    domainCodeSuffixes.clear();
    recordBlocks.clear();
    recordsInLastBlock = kRecordBlock;
    recordDetails.clear();
    nameTexts.clear();

    if (closeError && raiseCloseError)
        std::rethrow_exception(closeError);
}
