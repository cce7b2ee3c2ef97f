#include "cli/DiagramSymbols.h"

#include <memory>
#include <unordered_map>
#include <vector>

#include "cli/DiagramLayout.h"
#include "cli/Selection.h"
#include "orx/ORXBridgeLib.h"

namespace cli {

namespace {

// Shows `subject` in `diagram` through a new symbol at (x, y).
ORXPresentationElement* addSymbol(ORXDiagram& diagram, ORXModelObject& subject, int x, int y) {
    auto symbol = std::make_unique<ORXPresentationElement>();
    symbol->setGeometry(x, y, 0, 0);
    symbol->addDiagram(&diagram);  // the diagram owns it from here on
    symbol->addSubjectModelObject(&subject);
    subject.addDiagram(&diagram);  // a symbol's subject belongs to its diagram
    return symbol.release();
}

bool isManyToMany(const ORXAssociation& association) {
    int lower = 0, first = 0, second = 0;
    decodeMultiplicity(association.getAssociationRole(0)->getMultiplicity(), lower, first);
    decodeMultiplicity(association.getAssociationRole(1)->getMultiplicity(), lower, second);
    return first > 1 && second > 1;
}

std::vector<ORXAssociation*> associationsOf(const std::vector<ORXDesignPackage*>& packages) {
    std::vector<ORXAssociation*> associations;
    for (ORXDesignPackage* package : packages) {
        for (int i = 0; i < package->getModelElementCount(); ++i) {
            ORXModelObject* element = package->getModelElement(i);
            if (element->getElementType() == ORX_ET_ASSOCIATION)
                associations.push_back(static_cast<ORXAssociation*>(element));
        }
    }
    return associations;
}

int completeLinksIn(ORXDiagram& diagram, const std::vector<ORXAssociation*>& associations) {
    std::unordered_map<const ORXClass*, const ORXPresentationElement*> tableSymbols;
    for (int i = 0; i < diagram.getPresentationElementCount(); ++i) {
        const ORXPresentationElement* symbol = diagram.getPresentationElement(i);
        const ORXModelObject* subject = symbol->getSubjectModelObject();
        if (subject && subject->getElementType() == ORX_ET_CLASS && subject->getLevelCode() != 1)
            tableSymbols.emplace(static_cast<const ORXClass*>(subject), symbol);
    }
    int added = 0;
    for (ORXAssociation* association : associations) {
        if (association->getAssociationRoleCount() != 2 || association->getLevelCode() == 1 ||
            isManyToMany(*association))
            continue;
        auto first = tableSymbols.find(association->getAssociationRole(0)->getAssociatedClass());
        auto second = tableSymbols.find(association->getAssociationRole(1)->getAssociatedClass());
        if (first == tableSymbols.end() || second == tableSymbols.end())
            continue;
        bool shown = false;
        for (int p = 0; p < association->getPresentationPresentationElementCount() && !shown; ++p)
            shown = association->getPresentationPresentationElement(p)->getDiagram() == &diagram;
        if (shown)
            continue;
        const ORXPresentationElement* a = first->second;
        const ORXPresentationElement* b = second->second;
        // Without a position at either end, the link has none either.
        const bool placed = a->getX() != 0 && a->getY() != 0 && b->getX() != 0 && b->getY() != 0;
        addSymbol(diagram, *association, placed ? (a->getX() + b->getX()) / 2 : 0,
                  placed ? (a->getY() + b->getY()) / 2 : 0);
        ++added;
    }
    return added;
}

}  // namespace

int addImportedDiagrams(ORXModel& model) {
    int added = 0;
    for (ORXDesignPackage* package : designPackagesOf(model)) {
        auto owned = std::make_unique<ORXDiagram>();
        ORXDiagram& diagram = *owned;
        diagram.setName(package->getName().empty() ? ORXString("Diagram") : package->getName());
        if (!package->addOwnedDiagram(owned.get()))
            continue;
        owned.release();
        for (int i = 0; i < package->getModelElementCount(); ++i) {
            ORXModelObject* element = package->getModelElement(i);
            const int type = element->getElementType();
            if ((type == ORX_ET_CLASS && element->getLevelCode() != 1) ||
                type == ORX_ET_SQL_VIEW_ENTITY)
                addSymbol(diagram, *element, 0, 0);
        }
        layoutDiagram(diagram);
        completeLinksIn(diagram, associationsOf({package}));
        ++added;
    }
    return added;
}

int completeLinks(ORXModel& model) {
    const std::vector<ORXDesignPackage*> packages = designPackagesOf(model);
    const std::vector<ORXAssociation*> associations = associationsOf(packages);
    int added = 0;
    for (ORXDesignPackage* package : packages)
        for (int d = 0; d < package->getDiagramCount(); ++d)
            added += completeLinksIn(*package->getDiagram(d), associations);
    return added;
}

}  // namespace cli
