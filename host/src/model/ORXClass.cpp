// Classes, views and their features (attributes, view columns, operations),
// and types with their values.

#include <algorithm>
#include <iterator>
#include <string_view>

#include "ModelUtil.h"
#include "orx/ORXModel.h"

using orxmodel::deleteParts;
using orxmodel::eraseOne;
using orxmodel::visitEach;

// ------------------------------------------------------------ ORXClassifier

ORXClassifier::~ORXClassifier() = default;

// ----------------------------------------------------------------- ORXClass

ORXClass::~ORXClass() {
    // Parts go first in an order that leaves the fewest links to undo:
    // operations, then indexes (their members hold attributes), then keys
    // (they hold attributes and indexes), then the attributes themselves.
    deleteParts(operations_, &ORXOperation::classifier_);

    deleteParts(indexes_, &ORXIndex::class_);

    primaryKey_ = nullptr;
    deleteParts(keys_, &ORXKey::class_);

    delete attributeNames_;
    attributeNames_ = nullptr;
    deleteParts(attributes_, &ORXAttribute::classifier_);

    for (ORXAssociationRole* role : roles_.items())
        role->class_ = nullptr;
    roles_.clear();
    for (ORXGeneralization* generalization : generalizations_.items()) {
        if (generalization->supertype_ == this)
            generalization->supertype_ = nullptr;
        eraseOne(generalization->subtypes_, this);
    }
    generalizations_.clear();
}

void ORXClass::setName(const ORXString& name) {
    ORXNameIndex* names = getDesignPackage() ? getDesignPackage()->classNames_ : nullptr;
    if (names)
        names->remove(this);
    ORXClassifier::setName(name);
    if (names)
        names->add(this);
}

void ORXClass::getAttributeByPosition(ORXAttributeByPosition& list) const {
    list.items.assign(attributes_.begin(), attributes_.end());
}

ORXAttribute* ORXClass::findAttribute(const ORXString& name) const {
    if (attributeNames_) {
        bool several = false;
        ORXObject* found = attributeNames_->find(name.view(), &several);
        if (!several)
            return static_cast<ORXAttribute*>(found);
    }
    // A small class, or a name that several attributes bear: the first in
    // position order answers.
    for (ORXAttribute* attribute : attributes_) {
        if (attribute->getName() == name)
            return attribute;
    }
    return nullptr;
}

void ORXClass::appendAttribute(ORXAttribute* attribute) {
    attributes_.push_back(attribute);
    if (attributeNames_) {
        attributeNames_->add(attribute);
    } else if (attributes_.size() >= ORXNameIndex::kNameIndexFrom) {
        attributeNames_ = new ORXNameIndex();
        for (ORXAttribute* each : attributes_)
            attributeNames_->add(each);
    }
}

bool ORXClass::containsKey(const ORXKey* key) const {
    return key && key->class_ == this;
}

void ORXClass::getOperationByPosition(ORXOperationByPosition& list) const {
    list.items.assign(operations_.begin(), operations_.end());
}

void ORXClass::forEachOwned(const ORXOwnedVisitor& f) {
    ORXClassifier::forEachOwned(f);
    visitEach(attributes_, f);
    visitEach(keys_, f);
    visitEach(indexes_, f);
    visitEach(operations_, f);
}

// --------------------------------------------------------------- ORXFeature

ORXFeature::~ORXFeature() {
    for (ORXSQLViewAttribute* column : derived_.items())
        column->source_ = nullptr;
    derived_.clear();
}

// ------------------------------------------------------------- ORXAttribute

ORXAttribute::ORXAttribute(const ORXAttribute& other)
    : ORXFeature(ORX_ET_ATTRIBUTE, other), optional_(other.optional_) {
    setInitialValue(other.getInitialValue());
    setRuleExpression(other.getRuleExpression());
}

ORXAttribute::Rare& ORXAttribute::rare() {
    if (!rare_)
        rare_ = new Rare();
    return *rare_;
}

ORXAttribute::~ORXAttribute() {
    if (ORXClass* cls = getAssociatedClass()) {
        eraseOne(cls->attributes_, this);
        if (cls->attributeNames_)
            cls->attributeNames_->remove(this);
        classifier_ = nullptr;
    }
    if (rare_) {
        for (ORXKey* key : rare_->keys.items())
            eraseOne(key->attributes_, this);
        for (ORXIndexMember* member : rare_->members.items())
            member->attribute_ = nullptr;
        for (ORXAssociationRoleNameMap* map : rare_->sourceOf.items())
            map->source_ = nullptr;
        for (ORXAssociationRoleNameMap* map : rare_->destinationOf.items())
            map->destination_ = nullptr;
        delete rare_;
        rare_ = nullptr;
    }
    if (ownsType_ && type_) {
        type_->typeOwner_ = nullptr;
        delete type_;
    }
    type_ = nullptr;
}

void ORXAttribute::setName(const ORXString& name) {
    ORXClass* cls = getAssociatedClass();
    ORXNameIndex* names = cls ? cls->attributeNames_ : nullptr;
    if (names)
        names->remove(this);
    ORXFeature::setName(name);
    if (names)
        names->add(this);
}

bool ORXAttribute::addAssociatedClass(ORXClass* cls) {
    if (!cls || classifier_)
        return false;
    // Names must differ; unnamed attributes have no name to clash.
    if (!getName().empty() && cls->findAttribute(getName()))
        return false;
    cls->appendAttribute(this);
    classifier_ = cls;
    return true;
}

ORXClass* ORXAttribute::getAssociatedClass() const {
    // Only a class ever becomes an attribute's classifier.
    return static_cast<ORXClass*>(classifier_);
}

void ORXAttribute::setType(ORXType* type) {
    if (ownsType_ && type_ && type_ != type) {
        type_->typeOwner_ = nullptr;
        delete type_;
    }
    type_ = type;
    ownsType_ = false;
}

void ORXAttribute::setOwnedType(ORXType* type) {
    if (ownsType_ && type_ == type)
        return;
    if (ownsType_ && type_) {
        type_->typeOwner_ = nullptr;
        delete type_;
    }
    type_ = type;
    ownsType_ = type != nullptr;
    if (type)
        type->typeOwner_ = this;
}

void ORXAttribute::forEachOwned(const ORXOwnedVisitor& f) {
    ORXFeature::forEachOwned(f);
    if (ownsType_ && type_)
        f(type_);
}

// ------------------------------------------------------------- ORXOperation

ORXOperation::~ORXOperation() {
    if (ORXClass* cls = getAssociatedClass())
        eraseOne(cls->operations_, this);
    classifier_ = nullptr;
    if (procedurePackage_)
        eraseOne(procedurePackage_->procedures_, this);
    procedurePackage_ = nullptr;
    for (ORXModelObject*& link : links_) {
        if (link)
            link->extras_->linkingOperations.remove(this);
        link = nullptr;
    }
}

bool ORXOperation::addAssociatedClass(ORXClass* cls) {
    if (!cls || classifier_ || procedurePackage_)
        return false;
    cls->operations_.push_back(this);
    classifier_ = cls;
    return true;
}

ORXClass* ORXOperation::getAssociatedClass() const {
    // Only a class ever becomes an operation's classifier.
    return static_cast<ORXClass*>(classifier_);
}

bool ORXOperation::setLinkedElement(int i, ORXModelObject* element) {
    if (i < 0 || i > 1 || links_[i] == element || element == this)
        return false;
    ORXModelObject* old = links_[i];
    links_[i] = element;
    // The element keeps one entry however many of the two links name it.
    if (old && links_[1 - i] != old)
        old->extras_->linkingOperations.remove(this);
    if (element)
        element->extras().linkingOperations.add(this);
    return true;
}

// -------------------------------------------------------------- ORXTypeValue

ORXTypeValue::ORXTypeValue(const ORXString& value, const ORXString& name)
    : ORXElement(ORX_ET_TYPE_VALUE), value_(value) {
    setName(name);
}

ORXTypeValue::~ORXTypeValue() {
    if (owner_)
        eraseOne(owner_->values_, this);
}

// ------------------------------------------------------------------ ORXType

namespace {

// The data type names of the model's sources, sorted. A type that bears one
// of them points at the process's one copy instead of holding its own: a
// large model has an inline type for every column.
constexpr std::string_view kCommonDataTypes[] = {
    "SQL_BIGINT",
    "SQL_BINARY",
    "SQL_BLOB",
    "SQL_BOOLEAN",
    "SQL_CHAR",
    "SQL_CLOB",
    "SQL_DATALINK",
    "SQL_DATE",
    "SQL_DECIMAL",
    "SQL_DOUBLE",
    "SQL_FLOAT",
    "SQL_INTEGER",
    "SQL_INTERVAL_DAY",
    "SQL_INTERVAL_DAY_TO_HOUR",
    "SQL_INTERVAL_DAY_TO_MINUTE",
    "SQL_INTERVAL_DAY_TO_SECOND",
    "SQL_INTERVAL_HOUR",
    "SQL_INTERVAL_HOUR_TO_MINUTE",
    "SQL_INTERVAL_HOUR_TO_SECOND",
    "SQL_INTERVAL_MINUTE",
    "SQL_INTERVAL_MINUTE_TO_SECOND",
    "SQL_INTERVAL_MONTH",
    "SQL_INTERVAL_SECOND",
    "SQL_INTERVAL_YEAR",
    "SQL_INTERVAL_YEAR_TO_MONTH",
    "SQL_LONGVARBINARY",
    "SQL_LONGVARCHAR",
    "SQL_NCHAR",
    "SQL_NCLOB",
    "SQL_NLONGVARCHAR",
    "SQL_NUMERIC",
    "SQL_NVARCHAR",
    "SQL_REAL",
    "SQL_REF",
    "SQL_SMALLINT",
    "SQL_TIME",
    "SQL_TIMESTAMP",
    "SQL_TIMESTAMP_WITH_TIME_ZONE",
    "SQL_TIME_WITH_TIME_ZONE",
    "SQL_TINYINT",
    "SQL_VARBINARY",
    "SQL_VARCHAR",
};
static_assert(std::is_sorted(std::begin(kCommonDataTypes), std::end(kCommonDataTypes)));

constinit orxmodel::CommonTexts<std::size(kCommonDataTypes)> commonDataTypes{kCommonDataTypes};

}  // namespace

void ORXType::setDataType(const ORXString& value) {
    commonDataTypes.set(dataType_, value);
}

void ORXType::releaseDataType() {
    commonDataTypes.release(dataType_);
}

ORXType::~ORXType() {
    releaseDataType();
    deleteParts(values_, &ORXTypeValue::owner_);
    if (typeOwner_) {
        if (typeOwner_->getElementType() == ORX_ET_MODEL) {
            eraseOne(static_cast<ORXModel*>(typeOwner_)->types_, this);
        } else if (typeOwner_->getElementType() == ORX_ET_ATTRIBUTE) {
            auto* attribute = static_cast<ORXAttribute*>(typeOwner_);
            attribute->type_ = nullptr;
            attribute->ownsType_ = false;
        }
        typeOwner_ = nullptr;
    }
}

void ORXType::getTypeValueByPosition(ORXTypeValueByPosition& list) const {
    list.items.assign(values_.begin(), values_.end());
}

bool ORXType::addTypeValue(ORXTypeValue* value) {
    if (!value || value->owner_)
        return false;
    values_.push_back(value);
    value->owner_ = this;
    return true;
}

void ORXType::forEachOwned(const ORXOwnedVisitor& f) {
    ORXModelObject::forEachOwned(f);
    visitEach(values_, f);
}

// --------------------------------------------------------- ORXSQLViewEntity

ORXSQLViewEntity::~ORXSQLViewEntity() {
    deleteParts(columns_, &ORXSQLViewAttribute::classifier_);
}

void ORXSQLViewEntity::getFeatureByPosition(ORXFeatureByPosition& list) const {
    list.items.assign(columns_.begin(), columns_.end());
}

void ORXSQLViewEntity::forEachOwned(const ORXOwnedVisitor& f) {
    ORXClassifier::forEachOwned(f);
    visitEach(columns_, f);
}

// ------------------------------------------------------ ORXSQLViewAttribute

ORXSQLViewAttribute::~ORXSQLViewAttribute() {
    if (ORXSQLViewEntity* view = getView())
        eraseOne(view->columns_, this);
    classifier_ = nullptr;
    if (source_)
        source_->derived_.remove(this);
    source_ = nullptr;
}

bool ORXSQLViewAttribute::addAssociatedView(ORXSQLViewEntity* view) {
    if (!view || classifier_)
        return false;
    view->columns_.push_back(this);
    classifier_ = view;
    return true;
}

ORXSQLViewEntity* ORXSQLViewAttribute::getView() const {
    // Only a view ever becomes a view column's classifier.
    return static_cast<ORXSQLViewEntity*>(classifier_);
}

bool ORXSQLViewAttribute::setSourceFeature(ORXFeature* source) {
    if (source == source_ || source == this)
        return false;
    if (source_)
        source_->derived_.remove(this);
    source_ = source;
    if (source_)
        source_->derived_.add(this);
    return true;
}
