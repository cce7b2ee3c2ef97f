// The free-text properties every written object carries after its name and
// code: a short text (a:Comment or a:Labl), a description and notes.

#include "orx/ORXBridgeLib.h"
#include "pdm/ExportBridge.h"

using Bridge = ORXSybasePowerDesignerPdm08ExportBridge;

namespace {

// A role's text: its comment, or its description when the comment is empty.
const ORXString& roleText(const ORXAssociationRole* role) {
    if (!role)
        return emptyString;
    return role->getComment().empty() ? role->getDescription() : role->getComment();
}

// Appends a line feed and the texts of the first (parent) and second role.
void appendRoleTexts(ORXString& text, ORXAssociation* association) {
    text += '\n';
    text += roleText(Bridge::parentRole(association));
    text += '\n';
    text += roleText(Bridge::childRole(association));
}

}  // namespace

// Every written object comes here: the text is the model's own unless role
// texts or synonyms are added to it.
void Bridge::writeLabelOrComment(ORXObject* object) {
    // The notes mode leaves the short text empty, role texts included.
    if (descriptionMode == 2)
        return;
    const ORXElement* element = asElement(object);
    const ORXString& comment = element ? element->getComment() : emptyString;
    const ORXString& text =
        descriptionMode == 1 && comment.empty() && element ? element->getDescription() : comment;
    const char* name = object->getElementType() == ORX_ET_MODEL ? "a:Comment" : "a:Labl";
    if (object->getElementType() == ORX_ET_ASSOCIATION) {
        ORXString withRoles = text;
        appendRoleTexts(withRoles, static_cast<ORXAssociation*>(object));
        printAttribute(name, withRoles, true);
    } else {
        printAttribute(name, text, true);
    }
}

void Bridge::writeDescription(ORXObject* object) {
    // The comment mode leaves the description empty, role texts included.
    if (descriptionMode == 1)
        return;
    const ORXElement* element = asElement(object);
    const ORXString& description = element ? element->getDescription() : emptyString;
    const ORXString& text = descriptionMode == 2 && element && !element->getComment().empty()
                                ? element->getComment()
                                : description;
    if (object->getElementType() == ORX_ET_ASSOCIATION) {
        ORXString withRoles = text;
        appendRoleTexts(withRoles, static_cast<ORXAssociation*>(object));
        printAttribute("a:Desc", withRoles, true);
    } else if (object->getElementType() == ORX_ET_CLASS &&
               static_cast<ORXClass*>(object)->getSynonymCount() > 0) {
        auto* table = static_cast<ORXClass*>(object);
        ORXString withSynonyms = text;
        for (int i = 0; i < table->getSynonymCount(); ++i) {
            withSynonyms += i == 0 ? "Synonyms: " : ", ";
            withSynonyms += getPhysicalName(table->getSynonym(i));
        }
        printAttribute("a:Desc", withSynonyms, true);
    } else {
        printAttribute("a:Desc", text, true);
    }
}

void Bridge::writeNotes(ORXObject* object) {
    const ORXElement* element = asElement(object);
    if (!element)
        return;
    // The object itself and, for an association, its two roles: at most three
    // owners, kept on the stack since every written object comes here.
    const ORXElement* owners[3] = {element, nullptr, nullptr};
    int ownerCount = 1;
    if (object->getElementType() == ORX_ET_ASSOCIATION) {
        auto* association = static_cast<ORXAssociation*>(object);
        for (int r = 0; r < 2; ++r)
            if (ORXAssociationRole* role = association->getAssociationRole(r))
                owners[ownerCount++] = role;
    }
    int total = 0;
    for (int o = 0; o < ownerCount; ++o)
        total += owners[o]->getNoteCount();
    if (total == 0)
        return;

    std::string text = "<a:Note>";
    for (int o = 0; o < ownerCount; ++o) {
        const ORXElement* owner = owners[o];
        for (int i = 0; i < owner->getNoteCount(); ++i) {
            appendXMLText(text, owner->getNote(i)->getDescription().view());
            text += '\n';
        }
    }
    text += "</a:Note>\n";
    appendRaw(text);
}
