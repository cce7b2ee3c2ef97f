#include "importers/database/SourceSupport.h"

#include <algorithm>
#include <climits>
#include <iterator>
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

std::size_t skipQuotedOrComment(std::string_view sql, std::size_t i) {
    if (i >= sql.size())
        return i;
    char c = sql[i];
    if (c == '\'' || c == '"' || c == '`' || c == '[') {
        char close = c == '[' ? ']' : c;
        for (++i; i < sql.size(); ++i) {
            if (sql[i] != close)
                continue;
            // A doubled closing quote stands for itself (not in [...]).
            if (close != ']' && i + 1 < sql.size() && sql[i + 1] == close) {
                ++i;
                continue;
            }
            return i + 1;
        }
        return sql.size();
    }
    if (sql.compare(i, 2, "--") == 0) {
        std::size_t end = sql.find('\n', i);
        return end == std::string_view::npos ? sql.size() : end + 1;
    }
    if (sql.compare(i, 2, "/*") == 0) {
        std::size_t end = sql.find("*/", i + 2);
        return end == std::string_view::npos ? sql.size() : end + 2;
    }
    return i;
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

void linkOwners(ORXDesignPackage* package,
                const std::unordered_map<ORXModelObject*, ORXSchema*>& owners) {
    auto link = [&](ORXModelObject* object) {
        auto found = owners.find(object);
        if (found != owners.end())
            object->setOwner(found->second);
    };
    for (int i = 0; i < package->getModelElementCount(); ++i) {
        ORXModelObject* element = package->getModelElement(i);
        link(element);
        if (auto* cls = dynamic_cast<ORXClass*>(element)) {
            for (int j = 0; j < cls->getOperationCount(); ++j)
                link(cls->getOperation(j));
        }
    }
    for (int i = 0; i < package->getStoredProcedureCount(); ++i)
        link(package->getStoredProcedure(i));
}

// ---- column types ----

void setColumnType(ORXAttribute* column, const ModelType& type) {
    auto made = std::make_unique<ORXType>();
    made->setDataType(type.dataType);
    made->setLength(type.length);
    made->setScale(type.scale);
    column->setOwnedType(made.release());
}

ModelType autoincrementType(int bits) {
    // The decimal digits of the largest value of each width.
    static constexpr std::pair<int, int> kDigits[] = {{8, 3}, {16, 5}, {24, 8}, {32, 10}};
    for (const auto& [width, digits] : kDigits) {
        if (width == bits)
            return {"AUTOINCREMENT", digits, 0};
    }
    return {"AUTOINCREMENT", 19, 0};
}

// ---- CHECK constraints ----

namespace {

bool isWordChar(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || u >= 0x80;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 'a' + 'A') : a[i];
        char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 'a' + 'A') : b[i];
        if (x != y)
            return false;
    }
    return true;
}

// Where the parenthesis opened at `open` closes, or npos when it does not.
std::size_t closingParenthesis(std::string_view text, std::size_t open) {
    int depth = 0;
    for (std::size_t i = open; i < text.size();) {
        std::size_t past = skipQuotedOrComment(text, i);
        if (past != i) {
            i = past;
            continue;
        }
        if (text[i] == '(') {
            ++depth;
        } else if (text[i] == ')' && --depth == 0) {
            return i;
        }
        ++i;
    }
    return std::string_view::npos;
}

// A name as SQL text: as it is when it is a plain word, else in double quotes.
std::string sqlName(std::string_view name) {
    bool plain = !name.empty() && !(name[0] >= '0' && name[0] <= '9') &&
                 std::all_of(name.begin(), name.end(), isWordChar);
    if (plain)
        return std::string(name);
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + "\"";
}

// Appends `part` to the check expression of `column`, joining with AND.
void addColumnCheck(ORXAttribute* column, const std::string& part) {
    std::vector<std::string> parts;
    if (!column->getRuleExpression().empty())
        parts.push_back(column->getRuleExpression().str());
    parts.push_back(part);
    column->setRuleExpression(joinWithAnd(parts));
}

}  // namespace

std::string stripOuterParentheses(std::string_view text) {
    text = trim(text);
    while (text.size() >= 2 && text.front() == '(' &&
           closingParenthesis(text, 0) == text.size() - 1)
        text = trim(text.substr(1, text.size() - 2));
    return std::string(text);
}

namespace {

// Whether `text` ends inside a comment that runs to the end of the line.
bool endsInLineComment(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        std::size_t past = skipQuotedOrComment(text, i);
        if (past == text.size() && text.compare(i, 2, "--") == 0)
            return text.back() != '\n';
        i = past == i ? i + 1 : past;
    }
    return false;
}

}  // namespace

std::string joinWithAnd(const std::vector<std::string>& parts) {
    if (parts.size() == 1)
        return parts.front();
    std::string out;
    for (const std::string& part : parts) {
        // A closing parenthesis after a line comment would be part of the comment.
        out += (out.empty() ? "(" : " AND (") + part + (endsInLineComment(part) ? "\n)" : ")");
    }
    return out;
}

void placeChecks(ORXClass* table, const std::vector<CheckConstraint>& checks) {
    // Column checks in the order met, so that a column's parts keep the table's order.
    std::vector<std::pair<ORXAttribute*, std::vector<std::string>>> columnParts;
    std::vector<const CheckConstraint*> tableChecks;
    for (const CheckConstraint& check : checks) {
        std::string expression = stripOuterParentheses(check.expression);
        if (check.columns.size() == 1) {
            ORXAttribute* column = check.columns.front();
            auto found = std::find_if(columnParts.begin(), columnParts.end(),
                                      [&](const auto& entry) { return entry.first == column; });
            if (found == columnParts.end()) {
                columnParts.push_back({column, {}});
                found = std::prev(columnParts.end());
            }
            found->second.push_back(expression);
        } else {
            tableChecks.push_back(&check);
        }
    }
    for (auto& [column, parts] : columnParts) {
        if (!column->getRuleExpression().empty())
            parts.insert(parts.begin(), column->getRuleExpression().str());
        column->setRuleExpression(joinWithAnd(parts));
    }
    if (tableChecks.empty())
        return;
    std::vector<std::string> parts;
    for (const CheckConstraint* check : tableChecks)
        parts.push_back(stripOuterParentheses(check->expression));
    std::string name = tableChecks.size() == 1 && !tableChecks.front()->name.empty()
                           ? tableChecks.front()->name
                           : "CK_" + table->getName().str();
    table->addBusinessRule(new ORXBusinessRule(3, name, joinWithAnd(parts)));
}

// ---- domains ----

DomainDefinition enumDomain(const std::string& name, const std::vector<std::string>& values) {
    DomainDefinition definition;
    definition.name = name;
    std::size_t longest = 1;
    for (const std::string& value : values)
        longest = std::max(longest, value.size());
    definition.type = {"SQL_VARCHAR", static_cast<int>(std::min<std::size_t>(longest, INT_MAX)), 0};
    definition.values = values;
    return definition;
}

Domain addDomain(ORXModel* model, const DomainDefinition& definition) {
    auto type = std::make_unique<ORXDerivedType>();
    type->setName(definition.name);
    type->setDataType(definition.type.dataType);
    type->setLength(definition.type.length);
    type->setScale(definition.type.scale);
    type->setInitialValue(definition.defaultValue);
    for (const std::string& value : definition.values)
        type->addTypeValue(new ORXTypeValue(value, value));
    // A fresh type always finds its place in the model.
    ORXDerivedType* made = type.release();
    model->addType(made);
    return {made, stripOuterParentheses(definition.check), definition.notNull};
}

void useDomain(ORXAttribute* column, const Domain& domain) {
    column->setType(domain.type);
    if (domain.notNull)
        column->setOptional(false);
    if (!domain.check.empty())
        addColumnCheck(column,
                       replaceWord(domain.check, "VALUE", sqlName(column->getName().view())));
}

std::string replaceWord(std::string_view text, std::string_view word,
                        std::string_view replacement) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t past = skipQuotedOrComment(text, i);
        if (past != i) {
            out.append(text.substr(i, past - i));
            i = past;
            continue;
        }
        if (!isWordChar(text[i])) {
            out += text[i++];
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && isWordChar(text[end]))
            ++end;
        std::string_view found = text.substr(i, end - i);
        if (equalsIgnoringCase(found, word))
            out.append(replacement);
        else
            out.append(found);
        i = end;
    }
    return out;
}

}  // namespace importers
