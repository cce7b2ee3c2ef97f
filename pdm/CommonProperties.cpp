// The free-text properties every written object carries after its name and
// code: a short text (a:Comment or a:Labl), a description and notes.

#include "orx/ORXBridgeLib.h"
#include "pdm/ExportBridge.h"

using Bridge = ORXSybasePowerDesignerPdm08ExportBridge;

namespace {

const ORXElement* asElement(const ORXObject* object) {
    return object->isInstanceOf(ORX_ET_ELEMENT) ? static_cast<const ORXElement*>(object) : nullptr;
}

const ORXString& commentOf(const ORXObject* object) {
    const ORXElement* element = asElement(object);
    return element ? element->getComment() : emptyString;
}

const ORXString& descriptionOf(const ORXObject* object) {
    const ORXElement* element = asElement(object);
    return element ? element->getDescription() : emptyString;
}

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

void Bridge::writeLabelOrComment(ORXObject* object) {
    ORXString text = commentOf(object);
    if (descriptionMode == 1 && commentOf(object).empty())
        text = descriptionOf(object);
    if (object->getElementType() == ORX_ET_ASSOCIATION)
        appendRoleTexts(text, static_cast<ORXAssociation*>(object));
    if (descriptionMode == 2)
        text = ORXString();
    const char* element = object->getElementType() == ORX_ET_MODEL ? "a:Comment" : "a:Labl";
    printAttribute(element, text, true);
}

void Bridge::writeDescription(ORXObject* object) {
    ORXString text = descriptionOf(object);
    if (descriptionMode == 2 && !commentOf(object).empty())
        text = commentOf(object);
    if (object->getElementType() == ORX_ET_ASSOCIATION) {
        appendRoleTexts(text, static_cast<ORXAssociation*>(object));
    } else if (object->getElementType() == ORX_ET_CLASS) {
        auto* table = static_cast<ORXClass*>(object);
        for (int i = 0; i < table->getSynonymCount(); ++i) {
            text += i == 0 ? "Synonyms: " : ", ";
            text += getPhysicalName(table->getSynonym(i));
        }
    }
    if (descriptionMode == 1)
        text = ORXString();
    printAttribute("a:Desc", text, true);
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
