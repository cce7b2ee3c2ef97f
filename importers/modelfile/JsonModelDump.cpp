#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "importers/modelfile/JsonModel.h"
#include "importers/modelfile/JsonText.h"
#include "orx/ORXBridgeLib.h"
#include "orx/ORXException.h"
#include "orx/ORXFile.h"

namespace importers {

namespace {

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

// What the dumper learnt about each object, in an open-addressing table:
// one flat array instead of a node per object, since a large model has
// millions of objects.
template <class Value>
class ObjectTable {
  public:
    // The entry of `object`, made empty when it is new.
    Value& operator[](const ORXObject* object) {
        if ((size_ + 1) * 2 > slots_.size())
            grow();
        Slot& slot = probe(object);
        if (!slot.object) {
            slot.object = object;
            ++size_;
        }
        return slot.value;
    }

    // The entry of `object`, or null.
    const Value* find(const ORXObject* object) const {
        if (slots_.empty())
            return nullptr;
        const Slot& slot = const_cast<ObjectTable*>(this)->probe(object);
        return slot.object ? &slot.value : nullptr;
    }

  private:
    struct Slot {
        const ORXObject* object = nullptr;
        Value value{};
    };

    Slot& probe(const ORXObject* object) {
        const std::size_t mask = slots_.size() - 1;
        auto key = reinterpret_cast<std::uintptr_t>(object);
        std::size_t at = static_cast<std::size_t>((key >> 4) * 0x9E3779B97F4A7C15ull >> 20) & mask;
        for (;; at = (at + 1) & mask) {
            Slot& slot = slots_[at];
            if (!slot.object || slot.object == object)
                return slot;
        }
    }

    void grow() {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.empty() ? 1024 : old.size() * 2, Slot{});
        for (Slot& slot : old) {
            if (slot.object)
                probe(slot.object) = std::move(slot);
        }
    }

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
};

// Writes JSON text as it goes, laid out like nlohmann's dump(2): members and
// items on lines of their own indented by two spaces per level, "key": value,
// "{}" for an empty object. An array is only written once it gets an item,
// so that an empty list leaves out its key as well. A disabled writer writes
// nothing, for the dumper's first run.
class TextWriter {
  public:
    TextWriter(std::string& out, ORXFile* sink, bool refuseNonUtf8)
        : out_(out), sink_(sink), refuseNonUtf8_(refuseNonUtf8) {}

    void enable(bool enabled) { enabled_ = enabled; }

    // Starts an object: a member `key` of the current object, or an item of
    // the current array or the top value when `key` is null.
    void beginObject(const char* key) {
        if (!enabled_)
            return;
        frames_.push_back(Frame{key, false, false, 0});
        open(frames_.size() - 1);
    }
    void endObject() {
        if (!enabled_)
            return;
        close('}');
    }
    // Starts an array that is written when its first item comes.
    void beginArray(const char* key) {
        if (!enabled_)
            return;
        frames_.push_back(Frame{key, true, false, 0});
    }
    void endArray() {
        if (!enabled_)
            return;
        if (frames_.back().open) {
            close(']');
        } else {
            frames_.pop_back();
        }
    }

    void string(const char* key, std::string_view text) {
        if (!enabled_)
            return;
        place(key);
        // A text that is not UTF-8 would be dumped with U+FFFD in place of
        // its bytes: the model would not load back as it was (two names could
        // even clash), so the dump is refused.
        if (!appendJsonString(out_, text) && refuseNonUtf8_) {
            throw ModelFileError(currentPath(key) + ": the text '" + printableText(text) +
                                 "' is not UTF-8; a model file cannot hold it");
        }
    }
    void integer(const char* key, long long value) {
        if (!enabled_)
            return;
        place(key);
        char buffer[24];
        int length = std::snprintf(buffer, sizeof buffer, "%lld", value);
        out_.append(buffer, static_cast<std::size_t>(length));
    }
    void boolean(const char* key, bool value) {
        if (!enabled_)
            return;
        place(key);
        out_ += value ? "true" : "false";
    }
    void null(const char* key) {
        if (!enabled_)
            return;
        place(key);
        out_ += "null";
    }

    // Hands the text written so far to the sink, if there is one.
    void flush() {
        if (sink_ && !out_.empty()) {
            sink_->write(out_.data(), out_.size());
            out_.clear();
        }
    }

  private:
    struct Frame {
        const char* key;
        bool isArray;
        bool open;
        std::size_t count;
    };

    void indent(std::size_t level) { out_.append(2 * level, ' '); }

    // The JSON path of the value just placed under `key` (or as an item).
    std::string currentPath(const char* key) const {
        std::string path;
        auto step = [&path](const Frame& parent, const char* name) {
            if (parent.isArray) {
                path += '[' + std::to_string(parent.count - 1) + ']';
            } else {
                path += path.empty() ? "" : ".";
                path += name;
            }
        };
        for (std::size_t i = 1; i < frames_.size(); ++i)
            step(frames_[i - 1], frames_[i].key);
        step(frames_.back(), key);
        return path.empty() ? "$" : path;
    }

    // Starts a new member or item of frame `parent`: separator, line break,
    // indentation, key.
    void separate(std::size_t parent, const char* key) {
        Frame& frame = frames_[parent];
        out_ += frame.count++ ? ",\n" : "\n";
        indent(parent + 1);
        if (key) {
            out_ += '"';
            out_ += key;
            out_ += "\": ";
        }
    }

    // Writes the opening of frame `at`, and of any frame around it that is
    // not yet written.
    void open(std::size_t at) {
        Frame& frame = frames_[at];
        if (frame.open)
            return;
        if (at > 0) {
            open(at - 1);
            separate(at - 1, frame.key);
        }
        out_ += frame.isArray ? '[' : '{';
        frames_[at].open = true;
    }

    void place(const char* key) {
        open(frames_.size() - 1);
        separate(frames_.size() - 1, key);
    }

    void close(char bracket) {
        std::size_t count = frames_.back().count;
        frames_.pop_back();
        if (count) {
            out_ += '\n';
            indent(frames_.size());
        }
        out_ += bracket;
        if (sink_ && out_.size() >= kFlushSize)
            flush();
    }

    static constexpr std::size_t kFlushSize = std::size_t{1} << 20;

    std::string& out_;
    ORXFile* sink_;
    bool refuseNonUtf8_;
    std::vector<Frame> frames_;
    bool enabled_ = false;
};

// Writes a model in the canonical form. The writer runs twice: the first run
// only learns which objects are written, which ids they keep and which
// objects are referred to; ids are then generated for the referred objects
// that have none; the second run writes the text.
class Dumper {
  public:
    Dumper(std::string& out, ORXFile* sink, bool refuseNonUtf8)
        : writer_(out, sink, refuseNonUtf8) {}

    void dump(const ORXModel& model) {
        collecting_ = true;
        writer_.enable(false);
        writeModel(model);
        assignIds();
        collecting_ = false;
        writer_.enable(true);
        writeModel(model);
    }

  private:
    // What the first run learnt about an object.
    struct Info {
        std::string_view id;  // the id it is written with, if any
        bool written = false;
        bool referred = false;
    };

    // ---- ids ------------------------------------------------------------------

    // Called for every object written: it keeps its own id unless an object
    // written earlier took it.
    void written(const ORXObject* object) {
        if (!collecting_)
            return;
        Info& info = info_[object];
        info.written = true;
        const std::string& id = object->getExternalId().str();
        if (!id.empty() && taken_.insert(id).second)
            info.id = id;
    }

    void assignIds() {
        std::map<std::string, int> counters;
        for (const ORXObject* object : referred_) {
            Info& info = info_[object];
            if (!info.id.empty() || !info.written)
                continue;
            std::string prefix = idPrefix(object);
            std::string id;
            do {
                id = prefix + std::to_string(++counters[prefix]);
            } while (taken_.count(id));
            generated_.push_back(std::move(id));
            taken_.insert(generated_.back());
            info.id = generated_.back();
        }
    }

    // The id an object is written with; empty when it has none.
    std::string_view idOf(const ORXObject* object) const {
        const Info* info = info_.find(object);
        return info ? info->id : std::string_view();
    }

    // Writes the object's id, when it has one.
    void putId(const ORXObject* object) {
        written(object);
        if (!collecting_) {
            std::string_view id = idOf(object);
            if (!id.empty())
                writer_.string("id", id);
        }
    }

    // The id of a referred object; empty when the object is not written
    // (a reference to it would not load), in which case it is left out.
    std::string_view ref(const ORXObject* object) {
        if (!object)
            return {};
        if (collecting_) {
            Info& info = info_[object];
            if (!info.referred) {
                info.referred = true;
                referred_.push_back(object);
            }
            return "?";
        }
        return idOf(object);
    }

    void putRef(const char* key, const ORXObject* object) {
        std::string_view id = ref(object);
        if (!id.empty())
            writer_.string(key, id);
    }

    // ---- helpers --------------------------------------------------------------

    void putString(const char* key, const ORXString& value) {
        if (!value.empty())
            writer_.string(key, value.view());
    }
    void putInt(const char* key, int value, int fallback = 0) {
        if (value != fallback)
            writer_.integer(key, value);
    }
    void putBool(const char* key, bool value, bool fallback = false) {
        if (value != fallback)
            writer_.boolean(key, value);
    }
    void putColor(const char* key, int color) {
        if (color == 0)
            return;
        if (color > 0 && color <= 0xFFFFFF) {
            writer_.string(key, colorText(color));
        } else {
            writer_.integer(key, color);
        }
    }
    void putRule(const char* key, int rule) {
        if (rule == 0)
            return;
        if (rule >= 1 && rule <= 5) {
            writer_.string(key, kRuleNames[rule]);
        } else {
            writer_.integer(key, rule);
        }
    }

    // Starts an object with the kind (when given), id (unless left out) and
    // common keys, in that order.
    void start(const char* key, const ORXElement* element, const char* kind, bool withId = true) {
        writer_.beginObject(key);
        if (kind)
            writer_.string("kind", kind);
        if (withId) {
            putId(element);
        } else {
            written(element);
        }
        putCommon(element);
    }

    void putCommon(const ORXElement* element) {
        putString("name", element->getName());
        putString("physicalName", element->getPhysicalName());
        putString("comment", element->getComment());
        putString("description", element->getDescription());
        writer_.beginArray("notes");
        for (int i = 0; i < element->getNoteCount(); ++i)
            writer_.string(nullptr, element->getNote(i)->getDescription().view());
        writer_.endArray();
        putInt("levelCode", element->getLevelCode());
    }

    void putCheckRule(const ORXModelObject* object) {
        for (int i = 0; i < object->getBusinessRuleCount(); ++i) {
            const ORXBusinessRule* rule = object->getBusinessRule(i);
            if (rule->getRuleType() != 3)
                continue;
            writer_.beginObject("checkRule");
            putId(rule);
            putString("name", rule->getName());
            putString("text", rule->getRuleText());
            writer_.endObject();
            return;
        }
    }

    // ---- the model --------------------------------------------------------------

    void writeModel(const ORXModel& model) {
        writer_.beginObject(nullptr);
        writer_.string("format", "orx-model");
        writer_.integer("version", 1);
        putId(&model);
        putCommon(&model);
        writer_.beginArray("types");
        for (int i = 0; i < model.getTypeCount(); ++i)
            writeType(nullptr, model.getType(i), false);
        writer_.endArray();
        writer_.beginArray("packages");
        writePackages(&model, true);
        writer_.endArray();
        writer_.endObject();
    }

    void writeType(const char* key, const ORXType* type, bool isInline) {
        bool derived = type->getElementType() == ORX_ET_DERIVED_TYPE;
        const char* kind = nullptr;
        if (derived && isInline)
            kind = "derived";
        if (!derived && !isInline)
            kind = "base";
        start(key, type, kind, !isInline);
        if (derived)
            putBool("isDomain", type->isDomain(), true);
        putString("dataType", type->getDataType());
        putInt("length", type->getLength());
        putInt("scale", type->getScale());
        putString("initialValue", type->getInitialValue());
        putString("lowerBound", type->getLowerBound());
        putString("upperBound", type->getUpperBound());
        ORXTypeValueByPosition values;
        type->getTypeValueByPosition(values);
        writer_.beginArray("values");
        for (int i = 0; i < values.getCount(); ++i) {
            const ORXTypeValue* value = values.getTypeValue(i);
            writer_.beginObject(nullptr);
            putId(value);
            writer_.string("value", value->getValue().view());
            putString("name", value->getName());
            writer_.endObject();
        }
        writer_.endArray();
        writer_.endObject();
    }

    // Writes the child packages of `parent` as items of the current array.
    void writePackages(const ORXPackage* parent, bool topLevel) {
        for (int i = 0; i < parent->getChildPackageCount(); ++i) {
            const ORXPackage* package = parent->getChildPackage(i);
            switch (package->getElementType()) {
                case ORX_ET_CATALOG:
                    start(nullptr, package, "catalog");
                    putString("databaseType",
                              static_cast<const ORXCatalog*>(package)->getDatabaseType());
                    writer_.beginArray("packages");
                    writePackages(package, false);
                    writer_.endArray();
                    writer_.endObject();
                    break;
                case ORX_ET_SCHEMA:
                    start(nullptr, package, "schema");
                    writer_.endObject();
                    break;
                case ORX_ET_DESIGN_PACKAGE:
                    writeDesignPackage(static_cast<const ORXDesignPackage*>(package), topLevel);
                    break;
                default:
                    break;  // no other kind of package has a form in the file
            }
        }
    }

    void writeDesignPackage(const ORXDesignPackage* package, bool topLevel) {
        start(nullptr, package, "design");
        putBool("asPackage", package->getPackageFlag(), !topLevel);
        writer_.beginArray("elements");
        for (int i = 0; i < package->getModelElementCount(); ++i) {
            const ORXModelObject* element = package->getModelElement(i);
            switch (element->getElementType()) {
                case ORX_ET_CLASS:
                    writeClass(static_cast<const ORXClass*>(element));
                    break;
                case ORX_ET_ASSOCIATION:
                    writeAssociation(static_cast<const ORXAssociation*>(element));
                    break;
                case ORX_ET_GENERALIZATION:
                    writeGeneralization(static_cast<const ORXGeneralization*>(element));
                    break;
                case ORX_ET_SQL_VIEW_ENTITY:
                    writeView(static_cast<const ORXSQLViewEntity*>(element));
                    break;
                default:
                    break;
            }
        }
        writer_.endArray();
        writer_.beginArray("diagrams");
        for (int i = 0; i < package->getDiagramCount(); ++i)
            writeDiagram(package->getDiagram(i));
        writer_.endArray();
        writer_.beginArray("storedProcedures");
        for (int i = 0; i < package->getStoredProcedureCount(); ++i)
            writeOperation(package->getStoredProcedure(i));
        writer_.endArray();
        writer_.beginArray("packages");
        writePackages(package, false);
        writer_.endArray();
        writer_.endObject();
    }

    // ---- tables -------------------------------------------------------------------

    void writeClass(const ORXClass* cls) {
        start(nullptr, cls, "class");
        putInt("tableType", cls->getTableType());
        putRef("owner", cls->getOwner());
        writer_.beginArray("synonyms");
        for (int i = 0; i < cls->getSynonymCount(); ++i)
            writer_.string(nullptr, cls->getSynonym(i)->getPhysicalName().view());
        writer_.endArray();
        putCheckRule(cls);
        writer_.beginArray("attributes");
        for (int i = 0; i < cls->getAttributeCount(); ++i)
            writeAttribute(cls->getAttribute(i));
        writer_.endArray();
        writer_.beginArray("keys");
        for (int i = 0; i < cls->getKeyCount(); ++i)
            writeKey(cls->getKey(i));
        writer_.endArray();
        putRef("primaryKey", cls->getPrimaryKey());
        writer_.beginArray("indexes");
        for (int i = 0; i < cls->getIndexCount(); ++i)
            writeIndex(cls->getIndex(i));
        writer_.endArray();
        writer_.beginArray("operations");
        for (int i = 0; i < cls->getOperationCount(); ++i)
            writeOperation(cls->getOperation(i));
        writer_.endArray();
        writer_.endObject();
    }

    void writeAttribute(const ORXAttribute* attribute) {
        start(nullptr, attribute, nullptr);
        if (const ORXType* type = attribute->getType()) {
            // A type of the model is referred to; any other is written in place.
            if (type->getTypeOwner() && type->getTypeOwner()->getElementType() == ORX_ET_MODEL) {
                putRef("type", type);
            } else {
                writeType("type", type, true);
            }
        }
        putString("initialValue", attribute->getInitialValue());
        putBool("optional", attribute->isOptional());
        putString("checkExpression", attribute->getRuleExpression());
        putCheckRule(attribute);
        writer_.endObject();
    }

    void writeKey(const ORXKey* key) {
        const auto* foreignKey = dynamic_cast<const ORXForeignKey*>(key);
        start(nullptr, key, foreignKey ? "foreign" : nullptr);
        writer_.beginArray("attributes");
        for (int i = 0; i < key->getAttributeCount(); ++i) {
            std::string_view id = ref(key->getAttribute(i));
            if (!id.empty())
                writer_.string(nullptr, id);
        }
        writer_.endArray();
        putRef("index", key->getIndex());
        putRef("orderingIndex", key->getOrderingIndex());
        if (const auto* candidate = dynamic_cast<const ORXCandidateKey*>(key)) {
            putBool("unique", candidate->isUnique(), true);
        }
        if (foreignKey) {
            putRef("references", foreignKey->getCandidateKey());
            writer_.beginArray("nameMaps");
            for (int i = 0; i < foreignKey->getAssociationRoleNameMapCount(); ++i) {
                const ORXAssociationRoleNameMap* map = foreignKey->getAssociationRoleNameMap(i);
                writer_.beginObject(nullptr);
                putId(map);
                putRef("source", map->getSourceAttribute());
                putRef("destination", map->getDestinationAttribute());
                writer_.endObject();
            }
            writer_.endArray();
        }
        writer_.endObject();
    }

    void writeIndex(const ORXIndex* index) {
        start(nullptr, index, nullptr);
        putBool("unique", index->isUnique() != 0);
        putBool("clustered", index->isClustered());
        putRef("key", index->getKey());
        writer_.beginArray("members");
        for (int i = 0; i < index->getIndexMemberCount(); ++i) {
            const ORXIndexMember* member = index->getIndexMember(i);
            writer_.beginObject(nullptr);
            putId(member);
            putRef("attribute", member->getAttribute());
            putInt("sortOrder", member->getSortOrder(), 1);
            putInt("position", member->getPosition(), i);
            writer_.endObject();
        }
        writer_.endArray();
        writer_.endObject();
    }

    void writeOperation(const ORXOperation* operation) {
        bool trigger = operation->getElementType() == ORX_ET_TRIGGER;
        start(nullptr, operation, trigger ? "trigger" : "procedure");
        putString("body", operation->getBody());
        putRef("owner", operation->getOwner());
        std::string_view first = ref(operation->getLinkedElement(0));
        std::string_view second = ref(operation->getLinkedElement(1));
        if (!second.empty()) {
            writer_.beginArray("links");
            if (first.empty()) {
                writer_.null(nullptr);
            } else {
                writer_.string(nullptr, first);
            }
            writer_.string(nullptr, second);
            writer_.endArray();
        } else if (!first.empty()) {
            writer_.beginArray("links");
            writer_.string(nullptr, first);
            writer_.endArray();
        }
        putInt("timing", operation->getTiming());
        putBool("onInsert", operation->isOnInsert());
        putBool("onUpdate", operation->isOnUpdate());
        putBool("onDelete", operation->isOnDelete());
        writer_.endObject();
    }

    // ---- references, generalizations, views ------------------------------------

    void writeAssociation(const ORXAssociation* association) {
        start(nullptr, association, "association");
        writer_.beginArray("roles");
        for (int i = 0; i < association->getAssociationRoleCount(); ++i) {
            const ORXAssociationRole* role = association->getAssociationRole(i);
            start(nullptr, role, nullptr);
            putRef("class", role->getAssociatedClass());
            putBool("isSource", role->isSource());
            // A text that does not decode (an importer may leave it empty) is
            // written as what it reads as, so that the file loads again.
            ORXString multiplicity = role->getMultiplicity();
            int lower = 0, upper = 0;
            if (!decodeMultiplicity(multiplicity, lower, upper)) {
                multiplicity = buildMultiplicity(lower, upper);
            }
            if (multiplicity != (role->isSource() ? "1" : "0..*")) {
                writer_.string("multiplicity", multiplicity.view());
            }
            putRule("updateRule", role->getUpdateRule());
            putRule("deleteRule", role->getDeleteRule());
            putRef("foreignKey", role->getForeignKey());
            writer_.endObject();
        }
        writer_.endArray();
        writer_.endObject();
    }

    void writeGeneralization(const ORXGeneralization* generalization) {
        start(nullptr, generalization, "generalization");
        putRef("supertype", generalization->getSupertypeClass(0));
        writer_.beginArray("subtypes");
        for (int i = 0; i < generalization->getSubtypeClassCount(); ++i) {
            std::string_view id = ref(generalization->getSubtypeClass(i));
            if (!id.empty())
                writer_.string(nullptr, id);
        }
        writer_.endArray();
        writer_.beginArray("foreignKeys");
        for (int i = 0; i < generalization->getForeignKeyCount(); ++i) {
            std::string_view id = ref(generalization->getForeignKey(i));
            if (!id.empty())
                writer_.string(nullptr, id);
        }
        writer_.endArray();
        writer_.endObject();
    }

    void writeView(const ORXSQLViewEntity* view) {
        start(nullptr, view, "view");
        putString("statement", view->getViewStatement());
        putInt("statementKind", view->getViewStatementKind(), 1);
        putRef("owner", view->getOwner());
        writer_.beginArray("columns");
        for (int i = 0; i < view->getSQLViewAttributeCount(); ++i) {
            const ORXSQLViewAttribute* column = view->getSQLViewAttribute(i);
            start(nullptr, column, nullptr);
            putRef("source", column->getSourceFeature());
            writer_.endObject();
        }
        writer_.endArray();
        writer_.endObject();
    }

    // ---- diagrams -------------------------------------------------------------------

    void writeDiagram(const ORXDiagram* diagram) {
        start(nullptr, diagram, nullptr);
        // Subjects of symbols become members when the file is loaded, so only
        // the members without a symbol are listed. The symbols' subjects are
        // looked at first (the first run meets references in this order),
        // though the members are written before the symbols.
        std::unordered_set<const ORXModelObject*> drawn;
        std::vector<std::pair<const ORXPresentationElement*, std::string_view>> symbols;
        for (int i = 0; i < diagram->getPresentationElementCount(); ++i) {
            const ORXPresentationElement* symbol = diagram->getPresentationElement(i);
            const ORXModelObject* subject = symbol->getSubjectModelObject();
            std::string_view id = ref(subject);
            if (id.empty())
                continue;  // a symbol of nothing that is written
            drawn.insert(subject);
            symbols.emplace_back(symbol, id);
        }
        writer_.beginArray("members");
        for (int i = 0; i < diagram->getMemberCount(); ++i) {
            const ORXModelObject* member = diagram->getMember(i);
            if (drawn.count(member))
                continue;
            std::string_view id = ref(member);
            if (!id.empty())
                writer_.string(nullptr, id);
        }
        writer_.endArray();
        writer_.beginArray("symbols");
        for (const auto& [symbol, id] : symbols) {
            writer_.beginObject(nullptr);
            putId(symbol);
            writer_.string("subject", id);
            putInt("x", symbol->getX());
            putInt("y", symbol->getY());
            putInt("width", symbol->getWidth());
            putInt("height", symbol->getHeight());
            putColor("backgroundColor", symbol->getBackgroundColor());
            putColor("lineColor", symbol->getLineColor());
            putColor("fontColor", symbol->getFontColor());
            writer_.endObject();
        }
        writer_.endArray();
        writer_.endObject();
    }

    TextWriter writer_;
    bool collecting_ = true;
    ObjectTable<Info> info_;
    std::unordered_set<std::string_view> taken_;
    std::deque<std::string> generated_;  // the generated ids
    std::vector<const ORXObject*> referred_;
};

}  // namespace

std::string dumpJsonModel(const ORXModel& model, bool refuseNonUtf8) {
    std::string text;
    Dumper(text, nullptr, refuseNonUtf8).dump(model);
    text += '\n';
    return text;
}

void dumpJsonModelFile(const ORXModel& model, const std::string& path) {
    // The dump is written to a temporary file beside the path that replaces
    // it only once the whole text is written (a device such as /dev/full is
    // written directly): a dump that fails half-way leaves the previous file
    // as it was, and a truncated model file never passes for a whole one.
    ORXFile out;
    out = ORXString(path);
    if (!out.open(std::ios::out | std::ios::binary))
        throw ModelFileError(path + ": cannot create the file: " + std::strerror(errno));
    try {
        // The text goes to the file in pieces as it is made, so that a large
        // model's text is never held whole.
        std::string text;
        {
            Dumper dumper(text, &out, true);
            dumper.dump(model);
        }
        text += '\n';
        out.write(text.data(), text.size());
        out.close();
    } catch (const ModelFileError& failure) {
        out.discard();
        throw ModelFileError(path + ": " + failure.what());
    } catch (const ORXException&) {
        out.discard();
        throw ModelFileError(path +
                             ": cannot write the file: " + std::strerror(out.getLastError()));
    } catch (...) {
        out.discard();
        throw;
    }
}

}  // namespace importers
