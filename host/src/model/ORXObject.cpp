// Objects, elements and their small owned parts (notes, synonyms, business
// rules), element types and the depth-first traversal.

#include <atomic>

#include "ModelUtil.h"
#include "orx/ORXModel.h"

using orxmodel::eraseOne;
using orxmodel::visitEach;

namespace {

// Serials start at 1 so that 0 can mean "no object".
std::atomic<std::uint64_t> nextSerial{1};

struct TypeInfo {
    int code;
    const char* name;
    int parent;  // -1 for the root
};

// The element types with their names and the type each one specialises; the
// parents follow the classes (a presentation element is an object but not an
// element, a class is a classifier, which is a model object).
constexpr TypeInfo kTypes[] = {
    {ORX_ET_OBJECT, "Object", -1},
    {ORX_ET_ELEMENT, "Element", ORX_ET_OBJECT},
    {ORX_ET_MODEL_OBJECT, "ModelObject", ORX_ET_ELEMENT},
    {ORX_ET_PACKAGE, "Package", ORX_ET_MODEL_OBJECT},
    {ORX_ET_BASE_TYPE, "Type", ORX_ET_MODEL_OBJECT},
    {ORX_ET_DERIVED_TYPE, "DerivedType", ORX_ET_BASE_TYPE},
    {ORX_ET_TYPE_VALUE, "TypeValue", ORX_ET_ELEMENT},
    {ORX_ET_NOTE, "Note", ORX_ET_ELEMENT},
    {ORX_ET_BUSINESS_RULE, "BusinessRule", ORX_ET_ELEMENT},
    {ORX_ET_DESIGN_PACKAGE, "DesignPackage", ORX_ET_PACKAGE},
    {ORX_ET_SYNONYM, "Synonym", ORX_ET_ELEMENT},
    {ORX_ET_MODEL, "Model", ORX_ET_PACKAGE},
    {ORX_ET_DIAGRAM, "Diagram", ORX_ET_MODEL_OBJECT},
    {ORX_ET_CLASS, "Class", ORX_ET_CLASSIFIER},
    {ORX_ET_ATTRIBUTE, "Attribute", ORX_ET_FEATURE},
    {ORX_ET_KEY, "Key", ORX_ET_MODEL_OBJECT},
    {ORX_ET_GENERALIZATION, "Generalization", ORX_ET_MODEL_OBJECT},
    {ORX_ET_ASSOCIATION, "Association", ORX_ET_MODEL_OBJECT},
    {ORX_ET_ASSOCIATION_ROLE, "AssociationRole", ORX_ET_MODEL_OBJECT},
    {ORX_ET_ASSOCIATION_ROLE_NAME_MAP, "AssociationRoleNameMap", ORX_ET_ELEMENT},
    {ORX_ET_INDEX, "Index", ORX_ET_MODEL_OBJECT},
    {ORX_ET_CANDIDATE_KEY, "CandidateKey", ORX_ET_KEY},
    {ORX_ET_FOREIGN_KEY, "ForeignKey", ORX_ET_KEY},
    {ORX_ET_INDEX_MEMBER, "IndexMember", ORX_ET_MODEL_OBJECT},
    {ORX_ET_PRESENTATION_ELEMENT, "PresentationElement", ORX_ET_OBJECT},
    {ORX_ET_SQL_VIEW_ENTITY, "SQLViewEntity", ORX_ET_CLASSIFIER},
    {ORX_ET_SQL_VIEW_ATTRIBUTE, "SQLViewAttribute", ORX_ET_FEATURE},
    {ORX_ET_PROJECTION, "Projection", ORX_ET_PRESENTATION_ELEMENT},
    {ORX_ET_CLASSIFIER, "Classifier", ORX_ET_MODEL_OBJECT},
    {ORX_ET_FEATURE, "Feature", ORX_ET_MODEL_OBJECT},
    {ORX_ET_OPERATION, "Operation", ORX_ET_FEATURE},
    {ORX_ET_STORED_PROCEDURE, "StoredProcedure", ORX_ET_OPERATION},
    {ORX_ET_TRIGGER, "Trigger", ORX_ET_OPERATION},
    {ORX_ET_SCHEMA, "Schema", ORX_ET_PACKAGE},
    {ORX_ET_CATALOG, "Catalog", ORX_ET_PACKAGE},
};

// The highest element type code, and the types by code, so that a lookup
// (made for every isInstanceOf) is one array access.
constexpr int kMaxTypeCode = ORX_ET_CATALOG;

struct TypeTable {
    const TypeInfo* byCode[kMaxTypeCode + 1] = {};
    constexpr TypeTable() {
        for (const TypeInfo& info : kTypes)
            byCode[info.code] = &info;
    }
};

constexpr TypeTable kTypeTable;

// For each type code, the set of codes it is an instance of (itself and its
// ancestors) as bits, so that isInstanceOf, asked for every reference a
// loader resolves, is one test instead of a walk up the parents.
struct AncestorTable {
    std::uint64_t bits[kMaxTypeCode + 1][2] = {};
    constexpr AncestorTable() {
        for (int code = 0; code <= kMaxTypeCode; ++code) {
            for (const TypeInfo* info = kTypeTable.byCode[code]; info;
                 info = info->parent < 0 ? nullptr : kTypeTable.byCode[info->parent]) {
                bits[code][info->code / 64] |= std::uint64_t{1} << (info->code % 64);
            }
        }
    }
};

constexpr AncestorTable kAncestors;

const TypeInfo* findType(int code) {
    return code >= 0 && code <= kMaxTypeCode ? kTypeTable.byCode[code] : nullptr;
}

}  // namespace

const char* getElementTypeName(int elementType) {
    const TypeInfo* info = findType(elementType);
    return info ? info->name : "Object";
}

// ---------------------------------------------------------------- ORXObject

ORXObject::ORXObject(int elementType) : serial_(nextSerial++), elementType_(elementType) {}

std::uint64_t ORXObject::getMadeCount() {
    return nextSerial.load() - 1;
}

ORXObject::ORXObject(int elementType, const ORXObject& other)
    : name_(other.name_), serial_(nextSerial++), elementType_(elementType) {}

ORXObject::~ORXObject() = default;

bool ORXObject::isInstanceOf(int elementType) const {
    if (elementType_ < 0 || elementType_ > kMaxTypeCode || elementType < 0 ||
        elementType > kMaxTypeCode) {
        return false;
    }
    return (kAncestors.bits[elementType_][elementType / 64] >> (elementType % 64)) & 1;
}

void ORXObject::depthTraversal(ORXTraversalOperation* operation, void* data) {
    if (operation->visit(this, data)) {
        auto visitChild = [operation, data](ORXObject* child) {
            child->depthTraversal(operation, data);
        };
        forEachOwned(visitChild);
    }
    operation->leave(this, data);
}

void ORXObject::forEachOwned(const ORXOwnedVisitor&) {}

bool ORXSetGeneralPointerOperation::visit(ORXObject* object, void*) {
    object->setGeneralPointer(value_);
    return true;
}

void ORXSetGeneralPointerOperation::runOn(ORXObject* root) {
    if (root)
        root->depthTraversal(this, nullptr);
}

// --------------------------------------------------------------- ORXElement

ORXElement::ORXElement(int elementType, const ORXElement& other)
    : ORXObject(elementType, other), levelCode_(other.levelCode_) {
    setPhysicalName(other.getPhysicalName());
    setComment(other.getComment());
    setDescription(other.getDescription());
}

ORXElement::~ORXElement() {
    if (extras_)
        orxmodel::deleteParts(extras_->notes, &ORXNote::owner_);
    delete extras_.get();
}

ORXElement::Extras& ORXElement::extras() {
    if (!extras_)
        extras_.reset(new Extras());
    return *extras_.get();
}

void ORXElement::setText(ORXString Extras::*field, const ORXString& value) {
    // Clearing a text that was never set makes no block.
    if (extras_ || !value.empty())
        extras().*field = value;
}

void ORXElement::setName(const ORXString& name) {
    if (extras_.physicalIsName() && !(name == getName())) {
        extras_.setPhysicalIsName(false);
        setText(&Extras::physicalName, getName());
    }
    ORXObject::setName(name);
}

void ORXElement::setPhysicalName(const ORXString& value) {
    if (!value.empty() && value == getName()) {
        if (extras_)
            extras_->physicalName = ORXString();
        extras_.setPhysicalIsName(true);
        return;
    }
    extras_.setPhysicalIsName(false);
    setText(&Extras::physicalName, value);
}

bool ORXElement::addNote(ORXNote* note) {
    if (!note || note->owner_ || note == this)
        return false;
    extras().notes.push_back(note);
    note->owner_ = this;
    return true;
}

void ORXElement::forEachOwned(const ORXOwnedVisitor& f) {
    if (extras_)
        visitEach(extras_->notes, f);
}

ORXNote::~ORXNote() {
    if (owner_)
        owner_->extras_->notes.eraseFirst(this);
}

ORXSynonym::~ORXSynonym() {
    if (owner_)
        owner_->extras_->synonyms.eraseFirst(this);
}

ORXBusinessRule::ORXBusinessRule(int ruleType, const ORXString& name, const ORXString& text)
    : ORXElement(ORX_ET_BUSINESS_RULE), ruleType_(ruleType), ruleText_(text) {
    setName(name);
}

ORXBusinessRule::~ORXBusinessRule() {
    if (owner_)
        owner_->extras_->rules.eraseFirst(this);
}
