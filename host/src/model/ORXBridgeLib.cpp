// Helper functions over the repository model, shared by bridges.

#include "orx/ORXBridgeLib.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

// Reads one bound: "*" or decimal digits; values past ORX_MANY saturate.
bool readBound(std::string_view text, int& value) {
    if (text == "*") {
        value = ORX_MANY;
        return true;
    }
    if (text.empty())
        return false;
    long long number = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        // Saturating here keeps arbitrarily long digit strings from overflowing.
        if (number <= ORX_MANY)
            number = number * 10 + (c - '0');
    }
    value = number > ORX_MANY ? ORX_MANY : static_cast<int>(number);
    return true;
}

ORXString qualifiedName(const ORXFeature* feature) {
    const ORXClassifier* owner = feature->getClassifier();
    if (!owner)
        return getPhysicalName(feature);
    return getPhysicalName(owner) + "." + getPhysicalName(feature);
}

}  // namespace

bool decodeMultiplicity(const ORXString& text, int& lower, int& upper) {
    std::string_view view = text.view();
    int low = 0;
    int high = 0;
    bool ok;
    std::size_t dots = view.find("..");
    if (dots == std::string_view::npos) {
        ok = readBound(view, high);
        // "*" alone means "0..*"; a number N means exactly N.
        low = view == "*" ? 0 : high;
    } else {
        ok = readBound(view.substr(0, dots), low) && readBound(view.substr(dots + 2), high);
    }
    // Either bound may be "*"; an unbounded lower bound ("*..4") is no
    // contradiction, so only two numbers are held to lower <= upper.
    const bool unboundedLower = dots != std::string_view::npos && view.substr(0, dots) == "*";
    if (!ok || (low > high && !unboundedLower)) {
        lower = 0;
        upper = ORX_MANY;
        return false;
    }
    lower = low;
    upper = high;
    return true;
}

ORXString buildMultiplicity(int lower, int upper) {
    if (upper >= 2147483645)
        return ORXString(lower) + "..*";
    if (lower == upper)
        return ORXString(lower);
    return ORXString(lower) + ".." + ORXString(upper);
}

ORXAssociationRole* findReverseRole(const ORXAssociationRole* role) {
    if (!role)
        return nullptr;
    const ORXAssociation* association = role->getAssociation();
    if (!association || association->getAssociationRoleCount() != 2)
        return nullptr;
    if (association->getAssociationRole(0) == role)
        return association->getAssociationRole(1);
    if (association->getAssociationRole(1) == role)
        return association->getAssociationRole(0);
    return nullptr;
}

ORXString getPhysicalName(const ORXObject* object) {
    if (!object)
        return ORXString();
    const auto* element = dynamic_cast<const ORXElement*>(object);
    if (element && !element->getPhysicalName().empty())
        return element->getPhysicalName();
    return object->getName();
}

ORXDerivedType* getDomain(const ORXFeature* feature) {
    const auto* attribute = dynamic_cast<const ORXAttribute*>(feature);
    if (!attribute)
        return nullptr;
    return dynamic_cast<ORXDerivedType*>(attribute->getType());
}

ORXBusinessRule* findBusinessRule(const ORXObject* object, int ruleType) {
    const auto* modelObject = dynamic_cast<const ORXModelObject*>(object);
    if (!modelObject)
        return nullptr;
    for (int i = 0; i < modelObject->getBusinessRuleCount(); ++i) {
        ORXBusinessRule* rule = modelObject->getBusinessRule(i);
        if (rule->getRuleType() == ruleType)
            return rule;
    }
    return nullptr;
}

ORXString computeSqlViewSelectStatement(const ORXSQLViewEntity* view) {
    if (!view)
        return ORXString();
    ORXString items;
    std::vector<const ORXClassifier*> tables;
    for (int i = 0; i < view->getSQLViewAttributeCount(); ++i) {
        const ORXSQLViewAttribute* column = view->getSQLViewAttribute(i);
        const ORXFeature* source = column->getSourceFeature();
        if (!source)
            continue;
        if (!items.empty())
            items += ", ";
        items += qualifiedName(source);
        ORXString alias = getPhysicalName(column);
        if (!(alias == getPhysicalName(source))) {
            items += " AS ";
            items += alias;
        }
        const ORXClassifier* table = source->getClassifier();
        if (table && std::find(tables.begin(), tables.end(), table) == tables.end()) {
            tables.push_back(table);
        }
    }
    if (items.empty())
        return ORXString();
    ORXString statement = "SELECT " + items;
    for (std::size_t i = 0; i < tables.size(); ++i) {
        statement += i == 0 ? " FROM " : ", ";
        statement += getPhysicalName(tables[i]);
    }
    return statement;
}
