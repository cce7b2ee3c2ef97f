#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "importers/JsonModel.h"
#include "importers/JsonText.h"
#include "orx/ORXBridgeLib.h"

namespace importers {

namespace {

using Json = nlohmann::ordered_json;

// The prefix of generated ids, by kind of object.
const char* idPrefix(const ORXObject* object) {
    switch (object->getElementType()) {
        case ORX_ET_MODEL:
            return "_model";
        case ORX_ET_CATALOG:
            return "_cat";
        case ORX_ET_SCHEMA:
            return "_s";
        case ORX_ET_DESIGN_PACKAGE:
            return "_p";
        case ORX_ET_CLASS:
            return "_c";
        case ORX_ET_ATTRIBUTE:
            return "_a";
        case ORX_ET_CANDIDATE_KEY:
        case ORX_ET_FOREIGN_KEY:
            return "_k";
        case ORX_ET_INDEX:
            return "_i";
        case ORX_ET_INDEX_MEMBER:
            return "_m";
        case ORX_ET_STORED_PROCEDURE:
        case ORX_ET_TRIGGER:
            return "_o";
        case ORX_ET_ASSOCIATION:
            return "_r";
        case ORX_ET_ASSOCIATION_ROLE:
            return "_ro";
        case ORX_ET_GENERALIZATION:
            return "_g";
        case ORX_ET_SQL_VIEW_ENTITY:
            return "_v";
        case ORX_ET_SQL_VIEW_ATTRIBUTE:
            return "_vc";
        case ORX_ET_BASE_TYPE:
        case ORX_ET_DERIVED_TYPE:
            return "_t";
        case ORX_ET_DIAGRAM:
            return "_d";
        default:
            return "_x";
    }
}

std::string colorText(int color) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%06X", static_cast<unsigned>(color));
    return buffer;
}

// Writes a model in the canonical form. The writer runs twice: the first run
// only learns which objects are written, which ids they keep and which
// objects are referred to; ids are then generated for the referred objects
// that have none; the second run writes the text.
class Dumper {
  public:
    std::string dump(const ORXModel& model) {
        collecting_ = true;
        writeModel(model);
        assignIds();
        collecting_ = false;
        Json root = writeModel(model);
        return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
    }

  private:
    // ---- ids ------------------------------------------------------------------

    // Called for every object written: it keeps its own id unless an object
    // written earlier took it.
    void written(const ORXObject* object) {
        if (!collecting_)
            return;
        writtenObjects_.insert(object);
        const std::string& id = object->getExternalId().str();
        if (!id.empty() && taken_.insert(id).second)
            ids_[object] = id;
    }

    void assignIds() {
        std::map<std::string, int> counters;
        for (const ORXObject* object : referred_) {
            if (ids_.count(object) || !writtenObjects_.count(object))
                continue;
            std::string prefix = idPrefix(object);
            std::string id;
            do {
                id = prefix + std::to_string(++counters[prefix]);
            } while (taken_.count(id));
            taken_.insert(id);
            ids_[object] = id;
        }
    }

    // Puts the object's id, when it has one, into `out`.
    void putId(Json& out, const ORXObject* object) {
        written(object);
        auto it = ids_.find(object);
        if (!collecting_ && it != ids_.end())
            out["id"] = it->second;
    }

    // The id of a referred object; empty when the object is not written
    // (a reference to it would not load), in which case it is left out.
    std::string ref(const ORXObject* object) {
        if (!object)
            return {};
        if (collecting_) {
            if (referredSet_.insert(object).second)
                referred_.push_back(object);
            return "?";
        }
        auto it = ids_.find(object);
        return it == ids_.end() ? std::string() : it->second;
    }

    void putRef(Json& out, const char* key, const ORXObject* object) {
        std::string id = ref(object);
        if (!id.empty())
            out[key] = id;
    }

    // ---- helpers --------------------------------------------------------------

    static void putString(Json& out, const char* key, const ORXString& value) {
        if (!value.empty())
            out[key] = value.str();
    }
    static void putInt(Json& out, const char* key, int value, int fallback = 0) {
        if (value != fallback)
            out[key] = value;
    }
    static void putBool(Json& out, const char* key, bool value, bool fallback = false) {
        if (value != fallback)
            out[key] = value;
    }
    static void putArray(Json& out, const char* key, Json&& array) {
        if (!array.empty())
            out[key] = std::move(array);
    }
    static void putColor(Json& out, const char* key, int color) {
        if (color == 0)
            return;
        if (color > 0 && color <= 0xFFFFFF) {
            out[key] = colorText(color);
        } else {
            out[key] = color;
        }
    }
    static void putRule(Json& out, const char* key, int rule) {
        if (rule == 0)
            return;
        if (rule >= 1 && rule <= 5) {
            out[key] = kRuleNames[rule];
        } else {
            out[key] = rule;
        }
    }

    // The kind (when given), id and common keys, in that order.
    Json start(const ORXElement* element, const char* kind) {
        Json out = Json::object();
        if (kind)
            out["kind"] = kind;
        putId(out, element);
        putString(out, "name", element->getName());
        putString(out, "physicalName", element->getPhysicalName());
        putString(out, "comment", element->getComment());
        putString(out, "description", element->getDescription());
        Json notes = Json::array();
        for (int i = 0; i < element->getNoteCount(); ++i) {
            notes.push_back(element->getNote(i)->getDescription().str());
        }
        putArray(out, "notes", std::move(notes));
        putInt(out, "levelCode", element->getLevelCode());
        return out;
    }

    void putCheckRule(Json& out, const ORXModelObject* object) {
        for (int i = 0; i < object->getBusinessRuleCount(); ++i) {
            const ORXBusinessRule* rule = object->getBusinessRule(i);
            if (rule->getRuleType() != 3)
                continue;
            Json json = Json::object();
            putId(json, rule);
            putString(json, "name", rule->getName());
            putString(json, "text", rule->getRuleText());
            out["checkRule"] = std::move(json);
            return;
        }
    }

    // ---- the model --------------------------------------------------------------

    Json writeModel(const ORXModel& model) {
        Json out = Json::object();
        out["format"] = "orx-model";
        out["version"] = 1;
        out.update(start(&model, nullptr));
        Json types = Json::array();
        for (int i = 0; i < model.getTypeCount(); ++i) {
            types.push_back(writeType(model.getType(i), false));
        }
        putArray(out, "types", std::move(types));
        putArray(out, "packages", writePackages(&model, true));
        return out;
    }

    Json writeType(const ORXType* type, bool isInline) {
        bool derived = type->getElementType() == ORX_ET_DERIVED_TYPE;
        const char* kind = nullptr;
        if (derived && isInline)
            kind = "derived";
        if (!derived && !isInline)
            kind = "base";
        Json out = start(type, kind);
        if (isInline)
            out.erase("id");
        if (derived)
            putBool(out, "isDomain", type->isDomain(), true);
        putString(out, "dataType", type->getDataType());
        putInt(out, "length", type->getLength());
        putInt(out, "scale", type->getScale());
        putString(out, "initialValue", type->getInitialValue());
        putString(out, "lowerBound", type->getLowerBound());
        putString(out, "upperBound", type->getUpperBound());
        ORXTypeValueByPosition values;
        type->getTypeValueByPosition(values);
        Json list = Json::array();
        for (int i = 0; i < values.getCount(); ++i) {
            const ORXTypeValue* value = values.getTypeValue(i);
            Json json = Json::object();
            putId(json, value);
            json["value"] = value->getValue().str();
            putString(json, "name", value->getName());
            list.push_back(std::move(json));
        }
        putArray(out, "values", std::move(list));
        return out;
    }

    Json writePackages(const ORXPackage* parent, bool topLevel) {
        Json list = Json::array();
        for (int i = 0; i < parent->getChildPackageCount(); ++i) {
            const ORXPackage* package = parent->getChildPackage(i);
            switch (package->getElementType()) {
                case ORX_ET_CATALOG: {
                    Json out = start(package, "catalog");
                    putString(out, "databaseType",
                              static_cast<const ORXCatalog*>(package)->getDatabaseType());
                    putArray(out, "packages", writePackages(package, false));
                    list.push_back(std::move(out));
                    break;
                }
                case ORX_ET_SCHEMA:
                    list.push_back(start(package, "schema"));
                    break;
                case ORX_ET_DESIGN_PACKAGE:
                    list.push_back(writeDesignPackage(static_cast<const ORXDesignPackage*>(package),
                                                      topLevel));
                    break;
                default:
                    break;  // no other kind of package has a form in the file
            }
        }
        return list;
    }

    Json writeDesignPackage(const ORXDesignPackage* package, bool topLevel) {
        Json out = start(package, "design");
        putBool(out, "asPackage", package->getPackageFlag(), !topLevel);
        Json elements = Json::array();
        for (int i = 0; i < package->getModelElementCount(); ++i) {
            const ORXModelObject* element = package->getModelElement(i);
            switch (element->getElementType()) {
                case ORX_ET_CLASS:
                    elements.push_back(writeClass(static_cast<const ORXClass*>(element)));
                    break;
                case ORX_ET_ASSOCIATION:
                    elements.push_back(
                        writeAssociation(static_cast<const ORXAssociation*>(element)));
                    break;
                case ORX_ET_GENERALIZATION:
                    elements.push_back(
                        writeGeneralization(static_cast<const ORXGeneralization*>(element)));
                    break;
                case ORX_ET_SQL_VIEW_ENTITY:
                    elements.push_back(writeView(static_cast<const ORXSQLViewEntity*>(element)));
                    break;
                default:
                    break;
            }
        }
        putArray(out, "elements", std::move(elements));
        Json diagrams = Json::array();
        for (int i = 0; i < package->getDiagramCount(); ++i) {
            diagrams.push_back(writeDiagram(package->getDiagram(i)));
        }
        putArray(out, "diagrams", std::move(diagrams));
        Json procedures = Json::array();
        for (int i = 0; i < package->getStoredProcedureCount(); ++i) {
            procedures.push_back(writeOperation(package->getStoredProcedure(i)));
        }
        putArray(out, "storedProcedures", std::move(procedures));
        putArray(out, "packages", writePackages(package, false));
        return out;
    }

    // ---- tables -------------------------------------------------------------------

    Json writeClass(const ORXClass* cls) {
        Json out = start(cls, "class");
        putInt(out, "tableType", cls->getTableType());
        putRef(out, "owner", cls->getOwner());
        Json synonyms = Json::array();
        for (int i = 0; i < cls->getSynonymCount(); ++i) {
            synonyms.push_back(cls->getSynonym(i)->getPhysicalName().str());
        }
        putArray(out, "synonyms", std::move(synonyms));
        putCheckRule(out, cls);
        Json attributes = Json::array();
        for (int i = 0; i < cls->getAttributeCount(); ++i) {
            attributes.push_back(writeAttribute(cls->getAttribute(i)));
        }
        putArray(out, "attributes", std::move(attributes));
        Json keys = Json::array();
        for (int i = 0; i < cls->getKeyCount(); ++i)
            keys.push_back(writeKey(cls->getKey(i)));
        putArray(out, "keys", std::move(keys));
        putRef(out, "primaryKey", cls->getPrimaryKey());
        Json indexes = Json::array();
        for (int i = 0; i < cls->getIndexCount(); ++i) {
            indexes.push_back(writeIndex(cls->getIndex(i)));
        }
        putArray(out, "indexes", std::move(indexes));
        Json operations = Json::array();
        for (int i = 0; i < cls->getOperationCount(); ++i) {
            operations.push_back(writeOperation(cls->getOperation(i)));
        }
        putArray(out, "operations", std::move(operations));
        return out;
    }

    Json writeAttribute(const ORXAttribute* attribute) {
        Json out = start(attribute, nullptr);
        if (const ORXType* type = attribute->getType()) {
            // A type of the model is referred to; any other is written in place.
            if (type->getTypeOwner() && type->getTypeOwner()->getElementType() == ORX_ET_MODEL) {
                putRef(out, "type", type);
            } else {
                out["type"] = writeType(type, true);
            }
        }
        putString(out, "initialValue", attribute->getInitialValue());
        putBool(out, "optional", attribute->isOptional());
        putString(out, "checkExpression", attribute->getRuleExpression());
        putCheckRule(out, attribute);
        return out;
    }

    Json writeKey(const ORXKey* key) {
        const auto* foreignKey = dynamic_cast<const ORXForeignKey*>(key);
        Json out = start(key, foreignKey ? "foreign" : nullptr);
        Json attributes = Json::array();
        for (int i = 0; i < key->getAttributeCount(); ++i) {
            std::string id = ref(key->getAttribute(i));
            if (!id.empty())
                attributes.push_back(id);
        }
        putArray(out, "attributes", std::move(attributes));
        putRef(out, "index", key->getIndex());
        putRef(out, "orderingIndex", key->getOrderingIndex());
        if (const auto* candidate = dynamic_cast<const ORXCandidateKey*>(key)) {
            putBool(out, "unique", candidate->isUnique(), true);
        }
        if (foreignKey) {
            putRef(out, "references", foreignKey->getCandidateKey());
            Json maps = Json::array();
            for (int i = 0; i < foreignKey->getAssociationRoleNameMapCount(); ++i) {
                const ORXAssociationRoleNameMap* map = foreignKey->getAssociationRoleNameMap(i);
                Json json = Json::object();
                putId(json, map);
                putRef(json, "source", map->getSourceAttribute());
                putRef(json, "destination", map->getDestinationAttribute());
                maps.push_back(std::move(json));
            }
            putArray(out, "nameMaps", std::move(maps));
        }
        return out;
    }

    Json writeIndex(const ORXIndex* index) {
        Json out = start(index, nullptr);
        putBool(out, "unique", index->isUnique() != 0);
        putBool(out, "clustered", index->isClustered());
        putRef(out, "key", index->getKey());
        Json members = Json::array();
        for (int i = 0; i < index->getIndexMemberCount(); ++i) {
            const ORXIndexMember* member = index->getIndexMember(i);
            Json json = Json::object();
            putId(json, member);
            putRef(json, "attribute", member->getAttribute());
            putInt(json, "sortOrder", member->getSortOrder(), 1);
            putInt(json, "position", member->getPosition(), i);
            members.push_back(std::move(json));
        }
        putArray(out, "members", std::move(members));
        return out;
    }

    Json writeOperation(const ORXOperation* operation) {
        bool trigger = operation->getElementType() == ORX_ET_TRIGGER;
        Json out = start(operation, trigger ? "trigger" : "procedure");
        putString(out, "body", operation->getBody());
        putRef(out, "owner", operation->getOwner());
        std::string first = ref(operation->getLinkedElement(0));
        std::string second = ref(operation->getLinkedElement(1));
        if (!second.empty()) {
            out["links"] = Json::array({first.empty() ? Json(nullptr) : Json(first), second});
        } else if (!first.empty()) {
            out["links"] = Json::array({first});
        }
        putInt(out, "timing", operation->getTiming());
        putBool(out, "onInsert", operation->isOnInsert());
        putBool(out, "onUpdate", operation->isOnUpdate());
        putBool(out, "onDelete", operation->isOnDelete());
        return out;
    }

    // ---- references, generalizations, views ------------------------------------

    Json writeAssociation(const ORXAssociation* association) {
        Json out = start(association, "association");
        Json roles = Json::array();
        for (int i = 0; i < association->getAssociationRoleCount(); ++i) {
            const ORXAssociationRole* role = association->getAssociationRole(i);
            Json json = start(role, nullptr);
            putRef(json, "class", role->getAssociatedClass());
            putBool(json, "isSource", role->isSource());
            // A text that does not decode (an importer may leave it empty) is
            // written as what it reads as, so that the file loads again.
            ORXString multiplicity = role->getMultiplicity();
            int lower = 0, upper = 0;
            if (!decodeMultiplicity(multiplicity, lower, upper)) {
                multiplicity = buildMultiplicity(lower, upper);
            }
            if (multiplicity != (role->isSource() ? "1" : "0..*")) {
                json["multiplicity"] = multiplicity.str();
            }
            putRule(json, "updateRule", role->getUpdateRule());
            putRule(json, "deleteRule", role->getDeleteRule());
            putRef(json, "foreignKey", role->getForeignKey());
            roles.push_back(std::move(json));
        }
        putArray(out, "roles", std::move(roles));
        return out;
    }

    Json writeGeneralization(const ORXGeneralization* generalization) {
        Json out = start(generalization, "generalization");
        putRef(out, "supertype", generalization->getSupertypeClass(0));
        Json subtypes = Json::array();
        for (int i = 0; i < generalization->getSubtypeClassCount(); ++i) {
            std::string id = ref(generalization->getSubtypeClass(i));
            if (!id.empty())
                subtypes.push_back(id);
        }
        putArray(out, "subtypes", std::move(subtypes));
        Json keys = Json::array();
        for (int i = 0; i < generalization->getForeignKeyCount(); ++i) {
            std::string id = ref(generalization->getForeignKey(i));
            if (!id.empty())
                keys.push_back(id);
        }
        putArray(out, "foreignKeys", std::move(keys));
        return out;
    }

    Json writeView(const ORXSQLViewEntity* view) {
        Json out = start(view, "view");
        putString(out, "statement", view->getViewStatement());
        putInt(out, "statementKind", view->getViewStatementKind(), 1);
        putRef(out, "owner", view->getOwner());
        Json columns = Json::array();
        for (int i = 0; i < view->getSQLViewAttributeCount(); ++i) {
            const ORXSQLViewAttribute* column = view->getSQLViewAttribute(i);
            Json json = start(column, nullptr);
            putRef(json, "source", column->getSourceFeature());
            columns.push_back(std::move(json));
        }
        putArray(out, "columns", std::move(columns));
        return out;
    }

    // ---- diagrams -------------------------------------------------------------------

    Json writeDiagram(const ORXDiagram* diagram) {
        Json out = start(diagram, nullptr);
        // Subjects of symbols become members when the file is loaded, so only
        // the members without a symbol are listed.
        std::unordered_set<const ORXModelObject*> drawn;
        Json symbols = Json::array();
        for (int i = 0; i < diagram->getPresentationElementCount(); ++i) {
            const ORXPresentationElement* symbol = diagram->getPresentationElement(i);
            const ORXModelObject* subject = symbol->getSubjectModelObject();
            std::string id = ref(subject);
            if (id.empty())
                continue;  // a symbol of nothing that is written
            drawn.insert(subject);
            Json json = Json::object();
            putId(json, symbol);
            json["subject"] = id;
            putInt(json, "x", symbol->getX());
            putInt(json, "y", symbol->getY());
            putInt(json, "width", symbol->getWidth());
            putInt(json, "height", symbol->getHeight());
            putColor(json, "backgroundColor", symbol->getBackgroundColor());
            putColor(json, "lineColor", symbol->getLineColor());
            putColor(json, "fontColor", symbol->getFontColor());
            symbols.push_back(std::move(json));
        }
        Json members = Json::array();
        for (int i = 0; i < diagram->getMemberCount(); ++i) {
            const ORXModelObject* member = diagram->getMember(i);
            if (drawn.count(member))
                continue;
            std::string id = ref(member);
            if (!id.empty())
                members.push_back(id);
        }
        putArray(out, "members", std::move(members));
        putArray(out, "symbols", std::move(symbols));
        return out;
    }

    bool collecting_ = true;
    std::unordered_set<const ORXObject*> writtenObjects_;
    std::unordered_set<std::string> taken_;
    std::unordered_map<const ORXObject*, std::string> ids_;
    std::vector<const ORXObject*> referred_;
    std::unordered_set<const ORXObject*> referredSet_;
};

}  // namespace

std::string dumpJsonModel(const ORXModel& model) {
    Dumper dumper;
    return dumper.dump(model);
}

void dumpJsonModelFile(const ORXModel& model, const std::string& path) {
    std::string text = dumpJsonModel(model);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw ModelFileError(path + ": cannot create the file: " + std::strerror(errno));
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out)
        throw ModelFileError(path + ": cannot write the file");
}

}  // namespace importers
