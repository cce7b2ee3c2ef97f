#include "importers/database/SourceSupport.h"

#include <algorithm>
#include <memory>

namespace importers {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

ORXCandidateKey* findKeyWithColumns(const std::vector<ORXCandidateKey*>& keys,
                                    const std::vector<ORXAttribute*>& columns) {
    for (ORXCandidateKey* key : keys) {
        if (key->getAttributeCount() != static_cast<int>(columns.size()))
            continue;
        bool same = true;
        for (int i = 0; i < key->getAttributeCount() && same; ++i)
            same = std::find(columns.begin(), columns.end(), key->getAttribute(i)) != columns.end();
        if (same)
            return key;
    }
    return nullptr;
}

void addForeignKeyColumn(ORXForeignKey* foreignKey, ORXAttribute* column,
                         ORXAttribute* parentColumn) {
    foreignKey->addAttribute(column);
    if (parentColumn && parentColumn->getName() != column->getName())
        new ORXAssociationRoleNameMap(foreignKey, parentColumn, column);
}

const char* addReference(ORXDesignPackage* package, const std::string& name, ORXClass* parent,
                         ORXForeignKey* foreignKey, int updateRule, int deleteRule) {
    auto association = std::make_unique<ORXAssociation>();
    association->setName(name);
    if (!association->addDesignPackage(package))
        return " cannot be added to the model";
    ORXAssociation* made = association.release();  // the package owns it now
    auto* parentRole = new ORXAssociationRole(made);
    parentRole->setSource(true);
    parentRole->setMultiplicity("1");
    if (!parentRole->addAssociatedClass(parent))
        return " cannot be linked to its parent";
    auto* childRole = new ORXAssociationRole(made);
    childRole->setMultiplicity("0..*");
    childRole->setUpdateRule(updateRule);
    childRole->setDeleteRule(deleteRule);
    if (!childRole->addAssociatedClass(foreignKey->getAssociatedClass()))
        return " cannot be linked to its child";
    foreignKey->addAssociationRole(childRole);
    return nullptr;
}

}  // namespace importers
