// Keys, indexes with their members, associations with their roles, role name
// maps and generalizations.

#include <algorithm>
#include <iterator>
#include <string_view>

#include "ModelUtil.h"
#include "orx/ORXModel.h"

using orxmodel::deleteParts;
using orxmodel::eraseOne;
using orxmodel::holds;
using orxmodel::visitEach;

// ------------------------------------------------------------------- ORXKey

ORXKey::~ORXKey() {
    if (class_)
        eraseOne(class_->keys_, this);
    class_ = nullptr;
    for (ORXAttribute* attribute : attributes_)
        attribute->rare().keys.remove(this);
    attributes_.clear();
    setIndex(nullptr);
    setOrderingIndex(nullptr);
    for (ORXIndex* index : implementingIndexes_.items())
        index->key_ = nullptr;
    implementingIndexes_.clear();
}

bool ORXKey::addAssociatedClass(ORXClass* cls) {
    if (!cls || class_)
        return false;
    cls->keys_.push_back(this);
    class_ = cls;
    return true;
}

bool ORXKey::addAttribute(ORXAttribute* attribute) {
    if (!attribute || holds(attributes_, attribute))
        return false;
    attributes_.push_back(attribute);
    attribute->rare().keys.add(this);
    return true;
}

bool ORXKey::removeAttribute(ORXAttribute* attribute) {
    if (!attribute || !eraseOne(attributes_, attribute))
        return false;
    attribute->rare().keys.remove(this);
    return true;
}

void ORXKey::setIndex(ORXIndex* index) {
    if (index == index_)
        return;
    ORXIndex* old = index_;
    index_ = index;
    if (old && orderingIndex_ != old)
        old->keysIndexedBy_.remove(this);
    if (index)
        index->keysIndexedBy_.add(this);
}

void ORXKey::setOrderingIndex(ORXIndex* index) {
    if (index == orderingIndex_)
        return;
    ORXIndex* old = orderingIndex_;
    orderingIndex_ = index;
    if (old && index_ != old)
        old->keysIndexedBy_.remove(this);
    if (index)
        index->keysIndexedBy_.add(this);
}

// ---------------------------------------------------------- ORXCandidateKey

ORXCandidateKey::~ORXCandidateKey() {
    if (class_ && class_->primaryKey_ == this)
        class_->primaryKey_ = nullptr;
    for (ORXForeignKey* foreignKey : referencing_.items())
        foreignKey->candidateKey_ = nullptr;
    referencing_.clear();
}

bool ORXCandidateKey::addPrimaryOfClass(ORXClass* cls) {
    if (!cls || cls != class_ || cls->primaryKey_ == this)
        return false;
    cls->primaryKey_ = this;
    return true;
}

// ------------------------------------------------------------ ORXForeignKey

ORXForeignKey::~ORXForeignKey() {
    if (candidateKey_)
        candidateKey_->referencing_.remove(this);
    candidateKey_ = nullptr;
    for (ORXAssociationRole* role : roles_) {
        if (role->foreignKey_ == this)
            role->foreignKey_ = nullptr;
    }
    roles_.clear();
    for (ORXGeneralization* generalization : generalizations_.items()) {
        eraseOne(generalization->foreignKeys_, this);
    }
    generalizations_.clear();
    deleteParts(nameMaps_, &ORXAssociationRoleNameMap::foreignKey_);
}

bool ORXForeignKey::addCandidateKey(ORXCandidateKey* key) {
    if (!key || key == candidateKey_)
        return false;
    if (candidateKey_)
        candidateKey_->referencing_.remove(this);
    candidateKey_ = key;
    key->referencing_.add(this);
    return true;
}

ORXAssociationRole* ORXForeignKey::getAssociationRole() const {
    return roles_.empty() ? nullptr : roles_.back();
}

bool ORXForeignKey::addAssociationRole(ORXAssociationRole* role) {
    if (!role || role->foreignKey_ == this)
        return false;
    // A role implements one key at a time: moving it leaves its former key's
    // stack, so no key keeps a role that points elsewhere.
    if (role->foreignKey_)
        eraseOne(role->foreignKey_->roles_, role);
    roles_.push_back(role);
    role->foreignKey_ = this;
    return true;
}

bool ORXForeignKey::containsAssociationRoleNameMap(const ORXAssociationRoleNameMap* map) const {
    return map && map->foreignKey_ == this;
}

void ORXForeignKey::forEachOwned(const ORXOwnedVisitor& f) {
    ORXKey::forEachOwned(f);
    visitEach(nameMaps_, f);
}

// ------------------------------------------------ ORXAssociationRoleNameMap

ORXAssociationRoleNameMap::ORXAssociationRoleNameMap(ORXForeignKey* foreignKey,
                                                     ORXAttribute* source,
                                                     ORXAttribute* destination)
    : ORXElement(ORX_ET_ASSOCIATION_ROLE_NAME_MAP),
      foreignKey_(foreignKey),
      source_(source),
      destination_(destination) {
    if (foreignKey_)
        foreignKey_->nameMaps_.push_back(this);
    if (source_)
        source_->rare().sourceOf.add(this);
    if (destination_)
        destination_->rare().destinationOf.add(this);
}

ORXAssociationRoleNameMap::~ORXAssociationRoleNameMap() {
    if (foreignKey_)
        eraseOne(foreignKey_->nameMaps_, this);
    if (source_)
        source_->rare().sourceOf.remove(this);
    if (destination_)
        destination_->rare().destinationOf.remove(this);
}

// ----------------------------------------------------------------- ORXIndex

ORXIndex::~ORXIndex() {
    if (class_)
        eraseOne(class_->indexes_, this);
    class_ = nullptr;
    if (key_)
        key_->implementingIndexes_.remove(this);
    key_ = nullptr;
    for (ORXKey* key : keysIndexedBy_.items()) {
        if (key->index_ == this)
            key->index_ = nullptr;
        if (key->orderingIndex_ == this)
            key->orderingIndex_ = nullptr;
    }
    keysIndexedBy_.clear();
    deleteParts(members_, &ORXIndexMember::index_);
}

bool ORXIndex::addAssociatedClass(ORXClass* cls) {
    if (!cls || class_)
        return false;
    cls->indexes_.push_back(this);
    class_ = cls;
    return true;
}

bool ORXIndex::addKey(ORXKey* key) {
    if (!key || key == key_)
        return false;
    setKey(key);
    if (!key->index_)
        key->setIndex(this);
    return true;
}

void ORXIndex::setKey(ORXKey* key) {
    if (key == key_)
        return;
    if (key_)
        key_->implementingIndexes_.remove(this);
    key_ = key;
    if (key_)
        key_->implementingIndexes_.add(this);
}

void ORXIndex::getIndexMemberByPosition(ORXIndexMemberByPosition& list) const {
    list.items.assign(members_.begin(), members_.end());
    auto byPosition = [](const ORXIndexMember* a, const ORXIndexMember* b) {
        return a->position_ < b->position_;
    };
    // Members are mostly added in position order; the sort's buffer is then not needed.
    if (!std::is_sorted(list.items.begin(), list.items.end(), byPosition))
        std::stable_sort(list.items.begin(), list.items.end(), byPosition);
}

void ORXIndex::forEachOwned(const ORXOwnedVisitor& f) {
    ORXModelObject::forEachOwned(f);
    visitEach(members_, f);
}

// ----------------------------------------------------------- ORXIndexMember

ORXIndexMember::ORXIndexMember(ORXIndex* index, ORXAttribute* attribute, short position,
                               int sortOrder)
    : ORXModelObject(ORX_ET_INDEX_MEMBER),
      index_(index),
      attribute_(attribute),
      position_(position),
      sortOrder_(sortOrder) {
    if (index_)
        index_->members_.push_back(this);
    if (attribute_)
        attribute_->rare().members.add(this);
}

ORXIndexMember::~ORXIndexMember() {
    if (index_)
        eraseOne(index_->members_, this);
    if (attribute_)
        attribute_->rare().members.remove(this);
}

// ----------------------------------------------------------- ORXAssociation

ORXAssociation::~ORXAssociation() {
    deleteParts(roles_, &ORXAssociationRole::association_);
}

ORXAssociationRole* ORXAssociation::getAssociationRole(int i) const {
    if (i < 0 || i >= getAssociationRoleCount())
        return nullptr;
    return roles_[static_cast<std::size_t>(i)];
}

void ORXAssociation::forEachOwned(const ORXOwnedVisitor& f) {
    ORXModelObject::forEachOwned(f);
    visitEach(roles_, f);
}

// ------------------------------------------------------- ORXAssociationRole

namespace {

// The multiplicities that nearly every role bears, sorted.
constexpr std::string_view kCommonMultiplicities[] = {"*", "0",    "0..*", "0..1",
                                                      "1", "1..*", "1..1"};
static_assert(std::is_sorted(std::begin(kCommonMultiplicities), std::end(kCommonMultiplicities)));

constinit orxmodel::CommonTexts<std::size(kCommonMultiplicities)> commonMultiplicities{
    kCommonMultiplicities};

}  // namespace

void ORXAssociationRole::setMultiplicity(const ORXString& value) {
    commonMultiplicities.set(multiplicity_, value);
}

ORXAssociationRole::ORXAssociationRole(ORXAssociation* association)
    : ORXModelObject(ORX_ET_ASSOCIATION_ROLE), association_(association) {
    if (association_)
        association_->roles_.push_back(this);
}

ORXAssociationRole::~ORXAssociationRole() {
    commonMultiplicities.release(multiplicity_);
    if (association_)
        eraseOne(association_->roles_, this);
    if (class_)
        class_->roles_.remove(this);
    // Leaving the key's stack uncovers the role linked before this one.
    if (foreignKey_)
        foreignKey_->roles_.eraseLast(this);
}

bool ORXAssociationRole::addAssociatedClass(ORXClass* cls) {
    if (!cls || class_)
        return false;
    class_ = cls;
    cls->roles_.add(this);
    return true;
}

// -------------------------------------------------------- ORXGeneralization

ORXGeneralization::~ORXGeneralization() {
    if (supertype_)
        supertype_->generalizations_.remove(this);
    for (ORXClass* subtype : subtypes_)
        subtype->generalizations_.remove(this);
    for (ORXForeignKey* key : foreignKeys_)
        key->generalizations_.remove(this);
}

bool ORXGeneralization::setSupertypeClass(ORXClass* cls) {
    if (!cls || cls == supertype_)
        return false;
    if (supertype_ && !holds(subtypes_, supertype_))
        supertype_->generalizations_.remove(this);
    supertype_ = cls;
    cls->generalizations_.add(this);
    return true;
}

bool ORXGeneralization::addSubtypeClass(ORXClass* cls) {
    if (!cls || holds(subtypes_, cls))
        return false;
    subtypes_.push_back(cls);
    cls->generalizations_.add(this);
    return true;
}

bool ORXGeneralization::addForeignKey(ORXForeignKey* key) {
    if (!key || holds(foreignKeys_, key))
        return false;
    foreignKeys_.push_back(key);
    key->generalizations_.add(this);
    return true;
}
