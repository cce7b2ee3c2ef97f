// Model objects with their package, diagram and owner links; packages, the
// model, design packages, diagrams and presentation elements.

#include <algorithm>
#include <unordered_set>

#include "ModelUtil.h"
#include "orx/ORXModel.h"

using orxmodel::deleteParts;
using orxmodel::eraseOne;
using orxmodel::visitEach;

// ----------------------------------------------------------- ORXModelObject

ORXModelObject::~ORXModelObject() {
    if (placement_) {
        if (placement_->designPackage)
            removeDesignPackage(placement_->designPackage);
        if (placement_->owner)
            placement_->owner->extras_->ownedObjects.remove(this);
        for (ORXPresentationElement* presentation : placement_->presentations.items()) {
            presentation->subject_ = nullptr;
        }
        for (ORXDiagram* diagram : placement_->diagrams.items())
            diagram->members_.remove(this);
    }
    if (extras_) {
        for (ORXModelObject* owned : extras_->ownedObjects.items())
            owned->placement_->owner = nullptr;
        for (ORXOperation* operation : extras_->linkingOperations.items()) {
            for (ORXModelObject*& link : operation->links_) {
                if (link == this)
                    link = nullptr;
            }
        }
        deleteParts(extras_->synonyms, &ORXSynonym::owner_);
        deleteParts(extras_->rules, &ORXBusinessRule::owner_);
    }
    delete placement_;
}

ORXModelObject::Placement& ORXModelObject::placement() {
    if (!placement_)
        placement_ = new Placement();
    return *placement_;
}

bool ORXModelObject::setOwner(ORXModelObject* owner) {
    ORXModelObject* const current = getOwner();
    if (owner == current || owner == this)
        return false;
    if (current)
        current->extras_->ownedObjects.remove(this);
    placement().owner = owner;
    if (owner)
        owner->extras().ownedObjects.add(this);
    return true;
}

bool ORXModelObject::addSynonym(ORXSynonym* synonym) {
    if (!synonym || synonym->owner_)
        return false;
    extras().synonyms.push_back(synonym);
    synonym->owner_ = this;
    return true;
}

bool ORXModelObject::addBusinessRule(ORXBusinessRule* rule) {
    if (!rule || rule->owner_)
        return false;
    extras().rules.push_back(rule);
    rule->owner_ = this;
    return true;
}

bool ORXModelObject::addDiagram(ORXDiagram* diagram) {
    if (!diagram || !placement().diagrams.add(diagram))
        return false;
    diagram->members_.add(this);
    return true;
}

bool ORXModelObject::removeDiagram(ORXDiagram* diagram) {
    if (!diagram || !placement_ || !placement_->diagrams.remove(diagram))
        return false;
    diagram->members_.remove(this);
    return true;
}

bool ORXModelObject::addDesignPackage(ORXDesignPackage* package) {
    if (!package || getDesignPackage() || package == this)
        return false;
    const bool isClass = getElementType() == ORX_ET_CLASS;
    // Class names must differ; unnamed classes have no name to clash.
    if (isClass && !getName().empty() && package->holdsClassNamed(getName()))
        return false;
    Placement& place = placement();
    if (place.homePackage == 0) {
        // First placement: remember where, so that a later return finds its place.
        place.homePackage = package->getSerial();
        place.homeOrdinal = package->nextOrdinal_++;
    } else if (place.homePackage == package->getSerial()) {
        // Appended for now; the package moves it back to its place when it is
        // next read, together with every other element that came back.
        package->returning_.add(this);
    }
    package->elements_.add(this);
    if (isClass)
        package->indexClass(this);
    place.designPackage = package;
    return true;
}

bool ORXModelObject::removeDesignPackage(ORXDesignPackage* package) {
    if (!package || getDesignPackage() != package)
        return false;
    package->elements_.remove(this);
    package->returning_.remove(this);
    if (getElementType() == ORX_ET_CLASS && package->classNames_)
        package->classNames_->remove(this);
    placement_->designPackage = nullptr;
    return true;
}

void ORXModelObject::forEachOwned(const ORXOwnedVisitor& f) {
    ORXElement::forEachOwned(f);
    if (extras_) {
        visitEach(extras_->synonyms, f);
        visitEach(extras_->rules, f);
    }
}

// --------------------------------------------------------------- ORXPackage

ORXPackage::~ORXPackage() {
    if (parent_)
        eraseOne(parent_->children_, this);
    deleteParts(children_, &ORXPackage::parent_);
}

bool ORXPackage::addChildPackage(ORXPackage* child) {
    if (!child || child->parent_ || child == this)
        return false;
    children_.push_back(child);
    child->parent_ = this;
    return true;
}

void ORXPackage::forEachOwned(const ORXOwnedVisitor& f) {
    ORXModelObject::forEachOwned(f);
    visitEach(children_, f);
}

// ----------------------------------------------------------------- ORXModel

ORXModel::~ORXModel() {
    // Packages go before types, so that no attribute outlives the type it links.
    while (getChildPackageCount() > 0)
        delete getChildPackage(getChildPackageCount() - 1);
    deleteParts(types_, &ORXType::typeOwner_);
}

bool ORXModel::addType(ORXType* type) {
    if (!type || type->typeOwner_)
        return false;
    types_.push_back(type);
    type->typeOwner_ = this;
    return true;
}

void ORXModel::forEachOwned(const ORXOwnedVisitor& f) {
    ORXModelObject::forEachOwned(f);
    visitEach(types_, f);
    for (int i = 0; i < getChildPackageCount(); ++i)
        f(getChildPackage(i));
}

// --------------------------------------------------------- ORXDesignPackage

ORXDesignPackage::~ORXDesignPackage() {
    deleteParts(ownedDiagrams_, &ORXDiagram::ownerPackage_);

    std::vector<ORXModelObject*> elements = elements_.items();
    elements_.clear();
    returning_.clear();
    delete classNames_;
    classNames_ = nullptr;
    for (ORXModelObject* element : elements)
        element->placement_->designPackage = nullptr;
    for (ORXModelObject* element : elements)
        delete element;

    deleteParts(procedures_, &ORXOperation::procedurePackage_);
}

void ORXDesignPackage::restoreOrder() const {
    if (returning_.count() == 0)
        return;
    std::vector<ORXModelObject*> back = returning_.items();
    returning_.clear();
    std::sort(back.begin(), back.end(), [](const ORXModelObject* a, const ORXModelObject* b) {
        return a->placement_->homeOrdinal < b->placement_->homeOrdinal;
    });
    const std::unordered_set<const ORXModelObject*> moving(back.begin(), back.end());

    // The elements placed here first keep ascending ordinals in list order, so
    // one merge puts every returning element before the first of them with a
    // greater ordinal, and elements from other packages stay where they are.
    std::vector<ORXModelObject*> current = elements_.items();
    std::vector<ORXModelObject*> merged;
    merged.reserve(current.size());
    std::size_t next = 0;
    for (ORXModelObject* element : current) {
        if (moving.count(element) != 0)
            continue;
        if (element->placement_->homePackage == getSerial()) {
            while (next < back.size() &&
                   back[next]->placement_->homeOrdinal < element->placement_->homeOrdinal) {
                merged.push_back(back[next++]);
            }
        }
        merged.push_back(element);
    }
    while (next < back.size())
        merged.push_back(back[next++]);

    elements_.clear();
    for (ORXModelObject* element : merged)
        elements_.add(element);
}

bool ORXDesignPackage::holdsClassNamed(const ORXString& name) const {
    if (classNames_) {
        bool several = false;
        return classNames_->find(name.view(), &several) != nullptr;
    }
    for (int i = 0; i < elements_.count(); ++i) {
        const ORXModelObject* element = elements_.get(i);
        if (element->getElementType() == ORX_ET_CLASS && element->getName() == name)
            return true;
    }
    return false;
}

void ORXDesignPackage::indexClass(ORXModelObject* cls) {
    if (classNames_) {
        classNames_->add(cls);
        return;
    }
    if (static_cast<std::size_t>(elements_.count()) < ORXNameIndex::kNameIndexFrom)
        return;
    classNames_ = new ORXNameIndex();
    for (int i = 0; i < elements_.count(); ++i) {
        if (elements_.get(i)->getElementType() == ORX_ET_CLASS)
            classNames_->add(elements_.get(i));
    }
}

ORXModelObject* ORXDesignPackage::getModelElement(int i) const {
    restoreOrder();
    return elements_.get(i);
}

bool ORXDesignPackage::containsModelElement(const ORXObject* object) const {
    const auto* element = dynamic_cast<const ORXModelObject*>(object);
    return element && element->getDesignPackage() == this;
}

bool ORXDesignPackage::addOwnedDiagram(ORXDiagram* diagram) {
    if (!diagram || diagram->ownerPackage_)
        return false;
    ownedDiagrams_.push_back(diagram);
    diagram->ownerPackage_ = this;
    return true;
}

bool ORXDesignPackage::addStoredProcedure(ORXOperation* procedure) {
    if (!procedure || procedure->procedurePackage_ || procedure->getClassifier())
        return false;
    procedures_.push_back(procedure);
    procedure->procedurePackage_ = this;
    return true;
}

void ORXDesignPackage::forEachOwned(const ORXOwnedVisitor& f) {
    ORXModelObject::forEachOwned(f);
    restoreOrder();
    visitEach(elements_, f);
    visitEach(ownedDiagrams_, f);
    visitEach(procedures_, f);
    for (int i = 0; i < getChildPackageCount(); ++i)
        f(getChildPackage(i));
}

// --------------------------------------------------------------- ORXDiagram

ORXDiagram::~ORXDiagram() {
    if (ownerPackage_)
        eraseOne(ownerPackage_->ownedDiagrams_, this);
    std::vector<ORXPresentationElement*> presentations = presentations_.items();
    presentations_.clear();
    for (ORXPresentationElement* presentation : presentations)
        presentation->diagram_ = nullptr;
    for (ORXPresentationElement* presentation : presentations)
        delete presentation;
    for (ORXModelObject* member : members_.items())
        member->placement_->diagrams.remove(this);
    members_.clear();
}

bool ORXDiagram::containsPresentationElement(const ORXPresentationElement* element) const {
    return element && element->diagram_ == this;
}

bool ORXDiagram::containsModelElement(const ORXObject* object) const {
    const auto* element = dynamic_cast<const ORXModelObject*>(object);
    return element && members_.contains(element);
}

void ORXDiagram::forEachOwned(const ORXOwnedVisitor& f) {
    ORXModelObject::forEachOwned(f);
    visitEach(presentations_, f);
}

// --------------------------------------------------- ORXPresentationElement

ORXPresentationElement::~ORXPresentationElement() {
    if (diagram_)
        diagram_->presentations_.remove(this);
    if (subject_)
        subject_->placement_->presentations.remove(this);
}

bool ORXPresentationElement::addDiagram(ORXDiagram* diagram) {
    if (!diagram || diagram_)
        return false;
    diagram_ = diagram;
    diagram->presentations_.add(this);
    return true;
}

bool ORXPresentationElement::addSubjectModelObject(ORXModelObject* object) {
    if (!object || subject_)
        return false;
    subject_ = object;
    object->placement().presentations.add(this);
    return true;
}
