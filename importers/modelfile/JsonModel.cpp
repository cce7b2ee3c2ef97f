#include "importers/modelfile/JsonModel.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <limits>
#include <vector>

#include "importers/modelfile/JsonText.h"
#include "orx/ORXBridgeLib.h"

namespace importers {

namespace {

constexpr int kMaxPackageDepth = 200;
constexpr long long kIntMin = std::numeric_limits<int>::min();
constexpr long long kIntMax = std::numeric_limits<int>::max();

// Keys that every model element may carry.
const std::initializer_list<std::string_view> kCommonKeys = {
    "id", "name", "physicalName", "comment", "description", "notes", "levelCode"};

// A kind of object, with the article, as messages name it.
std::string describe(const ORXObject* object) {
    switch (object->getElementType()) {
        case ORX_ET_MODEL:
            return "the model";
        case ORX_ET_CATALOG:
            return "a catalog";
        case ORX_ET_SCHEMA:
            return "a schema";
        case ORX_ET_DESIGN_PACKAGE:
            return "a design package";
        case ORX_ET_CLASS:
            return "a class";
        case ORX_ET_ATTRIBUTE:
            return "an attribute";
        case ORX_ET_CANDIDATE_KEY:
            return "a candidate key";
        case ORX_ET_FOREIGN_KEY:
            return "a foreign key";
        case ORX_ET_INDEX:
            return "an index";
        case ORX_ET_INDEX_MEMBER:
            return "an index member";
        case ORX_ET_STORED_PROCEDURE:
            return "a procedure";
        case ORX_ET_TRIGGER:
            return "a trigger";
        case ORX_ET_ASSOCIATION:
            return "an association";
        case ORX_ET_ASSOCIATION_ROLE:
            return "a role";
        case ORX_ET_ASSOCIATION_ROLE_NAME_MAP:
            return "a name map";
        case ORX_ET_GENERALIZATION:
            return "a generalization";
        case ORX_ET_SQL_VIEW_ENTITY:
            return "a view";
        case ORX_ET_SQL_VIEW_ATTRIBUTE:
            return "a view column";
        case ORX_ET_BASE_TYPE:
            return "a base type";
        case ORX_ET_DERIVED_TYPE:
            return "a derived type";
        case ORX_ET_TYPE_VALUE:
            return "a type value";
        case ORX_ET_BUSINESS_RULE:
            return "a check rule";
        case ORX_ET_DIAGRAM:
            return "a diagram";
        case ORX_ET_PRESENTATION_ELEMENT:
            return "a symbol";
        default:
            return std::string("an object of type ") + getElementTypeName(object->getElementType());
    }
}

// The element type code of each model class the loader tells apart, so that
// a kind test is a look into the model's table of types instead of a
// dynamic_cast (they run for every reference of a large file).
template <class T>
constexpr int kElementTypeOf = -1;
template <>
constexpr int kElementTypeOf<ORXModelObject> = ORX_ET_MODEL_OBJECT;
template <>
constexpr int kElementTypeOf<ORXDesignPackage> = ORX_ET_DESIGN_PACKAGE;
template <>
constexpr int kElementTypeOf<ORXSchema> = ORX_ET_SCHEMA;
template <>
constexpr int kElementTypeOf<ORXType> = ORX_ET_BASE_TYPE;
template <>
constexpr int kElementTypeOf<ORXClass> = ORX_ET_CLASS;
template <>
constexpr int kElementTypeOf<ORXFeature> = ORX_ET_FEATURE;
template <>
constexpr int kElementTypeOf<ORXAttribute> = ORX_ET_ATTRIBUTE;
template <>
constexpr int kElementTypeOf<ORXKey> = ORX_ET_KEY;
template <>
constexpr int kElementTypeOf<ORXCandidateKey> = ORX_ET_CANDIDATE_KEY;
template <>
constexpr int kElementTypeOf<ORXForeignKey> = ORX_ET_FOREIGN_KEY;
template <>
constexpr int kElementTypeOf<ORXIndex> = ORX_ET_INDEX;
template <>
constexpr int kElementTypeOf<ORXAssociation> = ORX_ET_ASSOCIATION;
template <>
constexpr int kElementTypeOf<ORXGeneralization> = ORX_ET_GENERALIZATION;
template <>
constexpr int kElementTypeOf<ORXSQLViewEntity> = ORX_ET_SQL_VIEW_ENTITY;

// `object` as a T, or null when it is of another kind.
template <class T>
T* as(ORXObject* object) {
    static_assert(kElementTypeOf<T> >= 0, "no element type for this class");
    return object && object->isInstanceOf(kElementTypeOf<T>) ? static_cast<T*>(object) : nullptr;
}

std::string inQuotes(std::string_view text) {
    return "'" + printableText(text) + "'";
}

// The objects of a file by id: an open-addressing table of views into the
// file's text, sized once from the number of ids the file holds. It makes no
// allocation per id, which matters for files with millions of them.
class IdTable {
  public:
    explicit IdTable(std::size_t count) { resize(count); }

    // Adds `id`; false when it is already there.
    bool add(std::string_view id, ORXObject* object) {
        if ((size_ + 1) * 2 > slots_.size())
            resize(slots_.size());
        std::uint64_t hash = hashOf(id);
        Slot& slot = probe(id, hash);
        if (slot.object)
            return false;
        slot = Slot{id.data(), static_cast<std::uint32_t>(id.size()),
                    static_cast<std::uint32_t>(hash), object};
        ++size_;
        return true;
    }

    // The object with `id`, or null.
    ORXObject* find(std::string_view id) const {
        return const_cast<IdTable*>(this)->probe(id, hashOf(id)).object;
    }

  private:
    struct Slot {
        const char* data = nullptr;
        std::uint32_t length = 0;
        std::uint32_t hash = 0;
        ORXObject* object = nullptr;
    };

    static std::uint64_t hashOf(std::string_view text) {
        std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (unsigned char c : text)
            hash = (hash ^ c) * 1099511628211ull;
        return hash ^ (hash >> 29);
    }

    // The slot holding `id`, or the empty slot where it belongs.
    Slot& probe(std::string_view id, std::uint64_t hash) {
        const std::size_t mask = slots_.size() - 1;
        const auto shortHash = static_cast<std::uint32_t>(hash);
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            Slot& slot = slots_[at];
            if (!slot.object)
                return slot;
            if (slot.hash == shortHash && std::string_view(slot.data, slot.length) == id)
                return slot;
        }
    }

    // Makes room for at least `count` ids at half load.
    void resize(std::size_t count) {
        std::size_t capacity = 16;
        while (capacity < count * 2 + 2)
            capacity *= 2;
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(capacity, Slot{});
        for (const Slot& slot : old) {
            if (slot.object)
                probe(std::string_view(slot.data, slot.length), hashOf({slot.data, slot.length})) =
                    slot;
        }
    }

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
};

// Builds a model from a parsed file in three walks over the tree: the first
// creates every object and the links of ownership and reads the plain values;
// the second resolves references by id (so a reference may precede its
// target); the third adds operation links and diagram memberships, which may
// name any model element, including index members that the second walk makes.
class Loader {
  public:
    // `idCount` is the number of ids in the file, to size the map of ids.
    Loader(std::string fileName, std::size_t idCount) : file_(std::move(fileName)), ids_(idCount) {}

    std::unique_ptr<ORXModel> load(const JsonValue& root) {
        model_ = std::make_unique<ORXModel>();
        buildModel(root);
        Step packages(this, "packages");
        if (const JsonValue* list = findArray(root, "packages")) {
            forEach(*list, [&](const JsonValue& item, std::size_t) { linkPackage(item); });
            forEach(*list, [&](const JsonValue& item, std::size_t) { finishPackage(item); });
        }
        return std::move(model_);
    }

  private:
    // Pushes one step onto the current path for the lifetime of the object.
    class Step {
      public:
        Step(Loader* loader, std::string_view key) : loader_(loader) {
            loader_->path_.push_back({key, 0, false});
        }
        Step(Loader* loader, std::size_t index) : loader_(loader) {
            loader_->path_.push_back({{}, index, true});
        }
        ~Step() { loader_->path_.pop_back(); }
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

      private:
        Loader* loader_;
    };

    [[noreturn]] void fail(const std::string& what) const {
        throw ModelFileError(file_ + ": " + formatJsonPath(path_.data(), path_.size()) + ": " +
                             what);
    }
    [[noreturn]] void failAt(std::string_view key, const std::string& what) {
        Step step(this, key);
        fail(what);
    }

    // ---- plain values -------------------------------------------------------

    void expectObject(const JsonValue& value) const {
        if (!value.isObject())
            fail("expected an object");
    }

    // Rejects every key of `object` that is neither common (when `common`) nor listed.
    void checkKeys(const JsonValue& object, bool common,
                   std::initializer_list<std::string_view> allowed) {
        expectObject(object);
        for (const JsonValue& member : object) {
            std::string_view key = member.key();
            bool known = false;
            if (common) {
                for (std::string_view name : kCommonKeys)
                    known = known || key == name;
            }
            for (std::string_view name : allowed)
                known = known || key == name;
            if (!known) {
                std::string expected;
                for (std::string_view name : allowed)
                    expected += (expected.empty() ? "" : ", ") + std::string(name);
                if (common) {
                    for (std::string_view name : kCommonKeys)
                        expected += (expected.empty() ? "" : ", ") + std::string(name);
                }
                failAt(key, "unknown key; expected one of: " + expected);
            }
        }
    }

    static const JsonValue* find(const JsonValue& object, std::string_view key) {
        return object.find(key);
    }

    const JsonValue& require(const JsonValue& object, std::string_view key) {
        const JsonValue* value = find(object, key);
        if (!value)
            fail("missing required key '" + std::string(key) + "'");
        return *value;
    }

    std::string_view stringValue(const JsonValue& value) const {
        if (!value.isString())
            fail("expected a string");
        return value.string();
    }

    std::string_view getString(const JsonValue& object, std::string_view key) {
        const JsonValue* value = find(object, key);
        if (!value)
            return {};
        Step step(this, key);
        return stringValue(*value);
    }

    long long integerValue(const JsonValue& value, long long min, long long max) const {
        // The message is made only when it is needed: integers are read by
        // the hundred thousand in a large model.
        auto failRange = [&] {
            fail("expected an integer from " + std::to_string(min) + " to " + std::to_string(max));
        };
        if (value.isUnsigned()) {
            auto v = value.unsignedValue();
            if (v > static_cast<unsigned long long>(max))
                failRange();
            return static_cast<long long>(v);
        }
        if (value.isInteger()) {
            auto v = value.integer();
            if (v < min || v > max)
                failRange();
            return v;
        }
        if (value.isFloat()) {
            double v = value.number();
            if (std::isfinite(v) && std::floor(v) == v &&
                (v < static_cast<double>(min) || v > static_cast<double>(max))) {
                failRange();
            }
        }
        fail("expected an integer");
    }

    int getInt(const JsonValue& object, std::string_view key, int fallback, long long min = kIntMin,
               long long max = kIntMax) {
        const JsonValue* value = find(object, key);
        if (!value)
            return fallback;
        Step step(this, key);
        return static_cast<int>(integerValue(*value, min, max));
    }

    bool getBool(const JsonValue& object, std::string_view key, bool fallback) {
        const JsonValue* value = find(object, key);
        if (!value)
            return fallback;
        if (!value->isBoolean())
            failAt(key, "expected a boolean");
        return value->boolean();
    }

    const JsonValue* findArray(const JsonValue& object, std::string_view key) {
        const JsonValue* value = find(object, key);
        if (value && !value->isArray())
            failAt(key, "expected an array");
        return value;
    }

    // Calls `f(item, i)` for each item of an array, with the index on the path.
    template <class F>
    void forEach(const JsonValue& array, F&& f) {
        std::size_t i = 0;
        for (const JsonValue& item : array) {
            Step step(this, i);
            f(item, i);
            ++i;
        }
    }

    // A colour: an integer 0xRRGGBB or a string "#RRGGBB".
    int getColor(const JsonValue& object, std::string_view key) {
        const JsonValue* value = find(object, key);
        if (!value)
            return 0;
        Step step(this, key);
        static const char* expected =
            "expected a colour: an integer 0xRRGGBB or a string \"#RRGGBB\"";
        if (value->isInteger()) {
            if (value->isUnsigned()) {
                if (value->unsignedValue() <= 0xFFFFFF) {
                    return static_cast<int>(value->unsignedValue());
                }
            } else {
                auto v = value->integer();
                if (v >= 0 && v <= 0xFFFFFF)
                    return static_cast<int>(v);
            }
            fail(expected);
        }
        if (!value->isString())
            fail(expected);
        std::string_view text = value->string();
        if (text.size() != 7 || text[0] != '#')
            fail(expected);
        int color = 0;
        for (std::size_t i = 1; i < 7; ++i) {
            char c = text[i];
            int digit;
            if (c >= '0' && c <= '9') {
                digit = c - '0';
            } else if (c >= 'a' && c <= 'f') {
                digit = c - 'a' + 10;
            } else if (c >= 'A' && c <= 'F') {
                digit = c - 'A' + 10;
            } else {
                fail(expected);
            }
            color = color * 16 + digit;
        }
        return color;
    }

    // An update or delete rule: an integer code or one of the rule names.
    int getRule(const JsonValue& object, std::string_view key) {
        const JsonValue* value = find(object, key);
        if (!value)
            return 0;
        Step step(this, key);
        if (value->isString()) {
            std::string_view name = value->string();
            for (int code = 1; code <= 5; ++code) {
                if (name == kRuleNames[code])
                    return code;
            }
            fail("unknown rule " + inQuotes(name) +
                 ": expected an integer or one of noAction, cascade, restrict, setNull, "
                 "setDefault");
        }
        if (!value->isNumber()) {
            fail("expected an integer or one of noAction, cascade, restrict, setNull, setDefault");
        }
        return static_cast<int>(integerValue(*value, kIntMin, kIntMax));
    }

    // ---- ids and references -------------------------------------------------

    void registerId(const JsonValue& object, ORXObject* target) {
        const JsonValue* value = find(object, "id");
        if (!value)
            return;
        Step step(this, "id");
        std::string_view id = stringValue(*value);
        if (id.empty())
            fail("expected a non-empty string");
        if (!ids_.add(id, target))
            fail("duplicate id " + inQuotes(id));
        target->setExternalId(id);
    }

    // The object an id names, the id being the value at the current path.
    ORXObject* lookup(const JsonValue& value) const {
        if (!value.isString())
            fail("expected an id (a string)");
        std::string_view id = value.string();
        ORXObject* object = ids_.find(id);
        if (!object)
            fail("unknown id " + inQuotes(id));
        return object;
    }

    // The object of type T an id names; `expected` names T in the message.
    template <class T>
    T* lookupAs(const JsonValue& value, const char* expected) const {
        ORXObject* object = lookup(value);
        T* result = as<T>(object);
        if (!result) {
            fail(inQuotes(value.string()) + " is " + describe(object) + ", expected " + expected);
        }
        return result;
    }

    ORXSchema* lookupSchema(const JsonValue& value) const {
        return lookupAs<ORXSchema>(value, "a schema");
    }

    // An attribute of `cls`, a key or index of `cls`, named by the id at the current path.
    template <class T>
    T* lookupMember(const JsonValue& value, const char* expected, const char* kind, ORXClass* cls,
                    ORXClass* (*classOf)(T*)) const {
        T* result = lookupAs<T>(value, expected);
        if (classOf(result) != cls) {
            fail("no " + std::string(kind) + " " + inQuotes(value.string()) + " in class " +
                 inQuotes(cls->getName().view()));
        }
        return result;
    }
    ORXAttribute* lookupAttributeOf(const JsonValue& value, ORXClass* cls) const {
        return lookupMember<ORXAttribute>(value, "an attribute", "attribute", cls,
                                          [](ORXAttribute* a) { return a->getAssociatedClass(); });
    }
    ORXIndex* lookupIndexOf(const JsonValue& value, ORXClass* cls) const {
        return lookupMember<ORXIndex>(value, "an index", "index", cls,
                                      [](ORXIndex* i) { return i->getAssociatedClass(); });
    }
    ORXKey* lookupKeyOf(const JsonValue& value, ORXClass* cls) const {
        return lookupMember<ORXKey>(value, "a key", "key", cls,
                                    [](ORXKey* k) { return k->getAssociatedClass(); });
    }

    template <class T>
    T* built(const JsonValue& node) const {
        return static_cast<T*>(static_cast<ORXObject*>(node.tag()));
    }

    // ---- first walk: objects, ownership, plain values -----------------------

    // Reads the common keys of an element (the id included).
    void readCommon(const JsonValue& object, ORXElement* element) {
        registerId(object, element);
        element->setName(getString(object, "name"));
        element->setPhysicalName(getString(object, "physicalName"));
        element->setComment(getString(object, "comment"));
        element->setDescription(getString(object, "description"));
        element->setLevelCode(getInt(object, "levelCode", 0));
        if (const JsonValue* notes = findArray(object, "notes")) {
            Step step(this, "notes");
            forEach(*notes, [&](const JsonValue& note, std::size_t) {
                element->addNote(new ORXNote(stringValue(note)));
            });
        }
    }

    void readCheckRule(const JsonValue& object, ORXModelObject* owner) {
        const JsonValue* rule = find(object, "checkRule");
        if (!rule)
            return;
        Step step(this, "checkRule");
        checkKeys(*rule, false, {"id", "name", "text"});
        auto made = std::make_unique<ORXBusinessRule>(3, getString(*rule, "name"),
                                                      getString(*rule, "text"));
        registerId(*rule, made.get());
        owner->addBusinessRule(made.release());
    }

    void buildModel(const JsonValue& root) {
        checkKeys(root, true, {"format", "version", "types", "packages"});
        {
            const JsonValue& format = require(root, "format");
            Step step(this, "format");
            if (!format.isString() || format.string() != "orx-model") {
                fail("expected \"orx-model\"");
            }
        }
        {
            const JsonValue& version = require(root, "version");
            Step step(this, "version");
            if (!version.isInteger() || version.integer() != 1) {
                fail("expected 1");
            }
        }
        readCommon(root, model_.get());
        if (const JsonValue* types = findArray(root, "types")) {
            Step step(this, "types");
            forEach(*types, [&](const JsonValue& item, std::size_t) {
                model_->addType(buildType(item, false).release());
            });
        }
        if (const JsonValue* packages = findArray(root, "packages")) {
            Step step(this, "packages");
            forEach(*packages, [&](const JsonValue& item, std::size_t) {
                buildPackage(item, model_.get(), ORX_ET_MODEL, 1);
            });
        }
    }

    std::unique_ptr<ORXType> buildType(const JsonValue& object, bool isInline) {
        if (isInline) {
            checkKeys(object, true,
                      {"kind", "isDomain", "dataType", "length", "scale", "initialValue",
                       "lowerBound", "upperBound", "values"});
            if (find(object, "id"))
                failAt("id", "an inline type has no id");
        } else {
            checkKeys(object, true,
                      {"kind", "isDomain", "dataType", "length", "scale", "initialValue",
                       "lowerBound", "upperBound", "values"});
        }
        bool derived = !isInline;
        if (const JsonValue* kind = find(object, "kind")) {
            Step step(this, "kind");
            std::string_view text = stringValue(*kind);
            if (text == "derived") {
                derived = true;
            } else if (text == "base") {
                derived = false;
            } else {
                fail("expected \"derived\" or \"base\"");
            }
        }
        std::unique_ptr<ORXType> type;
        if (derived) {
            auto derivedType = std::make_unique<ORXDerivedType>();
            derivedType->setDomain(getBool(object, "isDomain", true));
            type = std::move(derivedType);
        } else {
            if (find(object, "isDomain"))
                failAt("isDomain", "only a derived type has isDomain");
            type = std::make_unique<ORXType>();
        }
        readCommon(object, type.get());
        type->setDataType(getString(object, "dataType"));
        type->setLength(getInt(object, "length", 0));
        type->setScale(getInt(object, "scale", 0));
        type->setInitialValue(getString(object, "initialValue"));
        type->setLowerBound(getString(object, "lowerBound"));
        type->setUpperBound(getString(object, "upperBound"));
        if (const JsonValue* values = findArray(object, "values")) {
            Step step(this, "values");
            forEach(*values, [&](const JsonValue& item, std::size_t) {
                checkKeys(item, false, {"id", "value", "name"});
                const JsonValue& value = require(item, "value");
                std::string_view text;
                {
                    Step valueStep(this, "value");
                    text = stringValue(value);
                }
                auto made = std::make_unique<ORXTypeValue>(text, getString(item, "name"));
                registerId(item, made.get());
                type->addTypeValue(made.release());
            });
        }
        return type;
    }

    // Builds a package and adds it to `parent` (the model or a package of
    // kind `parentKind`), at nesting level `depth`.
    void buildPackage(const JsonValue& object, ORXPackage* parent, int parentKind, int depth) {
        expectObject(object);
        if (depth > kMaxPackageDepth) {
            fail("packages nested deeper than " + std::to_string(kMaxPackageDepth) + " levels");
        }
        const JsonValue& kindValue = require(object, "kind");
        std::string_view kind;
        {
            Step step(this, "kind");
            kind = stringValue(kindValue);
            const char* expected = parentKind == ORX_ET_MODEL
                                       ? "expected \"catalog\", \"schema\" or \"design\""
                                   : parentKind == ORX_ET_CATALOG ? "expected \"schema\""
                                                                  : "expected \"design\"";
            bool allowed = parentKind == ORX_ET_MODEL
                               ? (kind == "catalog" || kind == "schema" || kind == "design")
                           : parentKind == ORX_ET_CATALOG ? kind == "schema"
                                                          : kind == "design";
            if (!allowed)
                fail(expected);
        }
        std::unique_ptr<ORXPackage> package;
        if (kind == "catalog") {
            checkKeys(object, true, {"kind", "databaseType", "packages"});
            auto catalog = std::make_unique<ORXCatalog>();
            catalog->setDatabaseType(getString(object, "databaseType"));
            package = std::move(catalog);
        } else if (kind == "schema") {
            checkKeys(object, true, {"kind"});
            package = std::make_unique<ORXSchema>();
        } else {
            checkKeys(
                object, true,
                {"kind", "asPackage", "elements", "diagrams", "storedProcedures", "packages"});
            auto design = std::make_unique<ORXDesignPackage>();
            design->setPackageFlag(getBool(object, "asPackage", parentKind != ORX_ET_MODEL));
            package = std::move(design);
        }
        readCommon(object, package.get());
        ORXPackage* made = package.get();
        if (!parent->addChildPackage(package.get()))
            fail("the package cannot be added");
        package.release();
        object.setTag(static_cast<ORXObject*>(made));

        if (auto* design = as<ORXDesignPackage>(made)) {
            if (const JsonValue* elements = findArray(object, "elements")) {
                Step step(this, "elements");
                forEach(*elements,
                        [&](const JsonValue& item, std::size_t) { buildElement(item, design); });
            }
            if (const JsonValue* diagrams = findArray(object, "diagrams")) {
                Step step(this, "diagrams");
                forEach(*diagrams,
                        [&](const JsonValue& item, std::size_t) { buildDiagram(item, design); });
            }
            if (const JsonValue* procedures = findArray(object, "storedProcedures")) {
                Step step(this, "storedProcedures");
                forEach(*procedures, [&](const JsonValue& item, std::size_t) {
                    auto operation = buildOperation(item, false);
                    ORXOperation* raw = operation.get();
                    if (!design->addStoredProcedure(raw))
                        fail("the procedure cannot be added");
                    operation.release();
                });
            }
        }
        if (const JsonValue* children = findArray(object, "packages")) {
            Step step(this, "packages");
            forEach(*children, [&](const JsonValue& item, std::size_t) {
                buildPackage(item, made, made->getElementType(), depth + 1);
            });
        }
    }

    // Creates an element of a design package and adds it to the package.
    void buildElement(const JsonValue& object, ORXDesignPackage* package) {
        expectObject(object);
        const JsonValue& kindValue = require(object, "kind");
        std::string_view kind;
        {
            Step step(this, "kind");
            kind = stringValue(kindValue);
        }
        std::unique_ptr<ORXModelObject> element;
        if (kind == "class") {
            checkKeys(object, true,
                      {"kind", "tableType", "owner", "synonyms", "checkRule", "attributes", "keys",
                       "primaryKey", "indexes", "operations"});
            element = std::make_unique<ORXClass>();
        } else if (kind == "association") {
            checkKeys(object, true, {"kind", "roles"});
            element = std::make_unique<ORXAssociation>();
        } else if (kind == "generalization") {
            checkKeys(object, true, {"kind", "supertype", "subtypes", "foreignKeys"});
            element = std::make_unique<ORXGeneralization>();
        } else if (kind == "view") {
            checkKeys(object, true, {"kind", "statement", "statementKind", "owner", "columns"});
            element = std::make_unique<ORXSQLViewEntity>();
        } else {
            failAt("kind", "expected \"class\", \"association\", \"generalization\" or \"view\"");
        }
        readCommon(object, element.get());
        if (!element->addDesignPackage(package)) {
            fail("package " + inQuotes(package->getName().view()) +
                 " already holds a class named " + inQuotes(element->getName().view()));
        }
        ORXModelObject* made = element.release();
        object.setTag(static_cast<ORXObject*>(made));
        if (auto* cls = as<ORXClass>(made)) {
            buildClass(object, cls);
        } else if (auto* association = as<ORXAssociation>(made)) {
            if (const JsonValue* roles = findArray(object, "roles")) {
                Step step(this, "roles");
                forEach(*roles, [&](const JsonValue& item, std::size_t) {
                    checkKeys(item, true,
                              {"class", "isSource", "multiplicity", "updateRule", "deleteRule",
                               "foreignKey"});
                    require(item, "class");
                    auto* role = new ORXAssociationRole(association);
                    item.setTag(static_cast<ORXObject*>(role));
                    readCommon(item, role);
                    role->setSource(getBool(item, "isSource", false));
                    if (const JsonValue* multiplicity = find(item, "multiplicity")) {
                        Step multiplicityStep(this, "multiplicity");
                        std::string_view text = stringValue(*multiplicity);
                        int lower = 0, upper = 0;
                        if (!decodeMultiplicity(text, lower, upper)) {
                            fail("invalid multiplicity " + inQuotes(text));
                        }
                        role->setMultiplicity(text);
                    } else {
                        role->setMultiplicity(role->isSource() ? "1" : "0..*");
                    }
                    role->setUpdateRule(getRule(item, "updateRule"));
                    role->setDeleteRule(getRule(item, "deleteRule"));
                });
            }
        } else if (auto* view = as<ORXSQLViewEntity>(made)) {
            view->setViewStatement(getString(object, "statement"));
            view->setViewStatementKind(getInt(object, "statementKind", 1));
            if (const JsonValue* columns = findArray(object, "columns")) {
                Step step(this, "columns");
                forEach(*columns, [&](const JsonValue& item, std::size_t) {
                    checkKeys(item, true, {"source"});
                    auto column = std::make_unique<ORXSQLViewAttribute>();
                    readCommon(item, column.get());
                    if (!column->addAssociatedView(view))
                        fail("the column cannot be added");
                    item.setTag(static_cast<ORXObject*>(column.release()));
                });
            }
        }
    }

    void buildClass(const JsonValue& object, ORXClass* cls) {
        cls->setTableType(getInt(object, "tableType", 0));
        if (const JsonValue* synonyms = findArray(object, "synonyms")) {
            Step step(this, "synonyms");
            forEach(*synonyms, [&](const JsonValue& item, std::size_t) {
                cls->addSynonym(new ORXSynonym(stringValue(item)));
            });
        }
        readCheckRule(object, cls);
        if (const JsonValue* attributes = findArray(object, "attributes")) {
            Step step(this, "attributes");
            forEach(*attributes, [&](const JsonValue& item, std::size_t) {
                checkKeys(item, true,
                          {"type", "initialValue", "optional", "checkExpression", "checkRule"});
                auto attribute = std::make_unique<ORXAttribute>();
                readCommon(item, attribute.get());
                if (!attribute->addAssociatedClass(cls)) {
                    fail("class " + inQuotes(cls->getName().view()) +
                         " already has an attribute named " +
                         inQuotes(attribute->getName().view()));
                }
                ORXAttribute* made = attribute.release();
                item.setTag(static_cast<ORXObject*>(made));
                if (const JsonValue* type = find(item, "type")) {
                    Step typeStep(this, "type");
                    if (type->isObject()) {
                        made->setOwnedType(buildType(*type, true).release());
                    } else if (!type->isString()) {
                        fail("expected the id of a type or a type object");
                    }
                }
                made->setInitialValue(getString(item, "initialValue"));
                made->setOptional(getBool(item, "optional", false));
                made->setRuleExpression(getString(item, "checkExpression"));
                readCheckRule(item, made);
            });
        }
        if (const JsonValue* keys = findArray(object, "keys")) {
            Step step(this, "keys");
            forEach(*keys, [&](const JsonValue& item, std::size_t) {
                expectObject(item);
                std::string_view kind = "candidate";
                if (const JsonValue* kindValue = find(item, "kind")) {
                    Step kindStep(this, "kind");
                    kind = stringValue(*kindValue);
                    if (kind != "candidate" && kind != "foreign") {
                        fail("expected \"candidate\" or \"foreign\"");
                    }
                }
                std::unique_ptr<ORXKey> key;
                if (kind == "candidate") {
                    checkKeys(item, true,
                              {"kind", "attributes", "index", "orderingIndex", "unique"});
                    auto candidate = std::make_unique<ORXCandidateKey>();
                    candidate->setUnique(getBool(item, "unique", true));
                    key = std::move(candidate);
                } else {
                    checkKeys(
                        item, true,
                        {"kind", "attributes", "index", "orderingIndex", "references", "nameMaps"});
                    key = std::make_unique<ORXForeignKey>();
                }
                readCommon(item, key.get());
                if (!key->addAssociatedClass(cls))
                    fail("the key cannot be added");
                item.setTag(static_cast<ORXObject*>(key.release()));
                findArray(item, "attributes");
                findArray(item, "nameMaps");
            });
        }
        if (const JsonValue* indexes = findArray(object, "indexes")) {
            Step step(this, "indexes");
            forEach(*indexes, [&](const JsonValue& item, std::size_t) {
                checkKeys(item, true, {"unique", "clustered", "key", "members"});
                auto index = std::make_unique<ORXIndex>();
                readCommon(item, index.get());
                index->setUnique(getBool(item, "unique", false));
                index->setClustered(getBool(item, "clustered", false));
                if (!index->addAssociatedClass(cls))
                    fail("the index cannot be added");
                item.setTag(static_cast<ORXObject*>(index.release()));
                if (const JsonValue* members = findArray(item, "members")) {
                    Step membersStep(this, "members");
                    forEach(*members, [&](const JsonValue& member, std::size_t) {
                        checkKeys(member, false, {"id", "attribute", "sortOrder", "position"});
                        require(member, "attribute");
                        getInt(member, "sortOrder", 1);
                        getInt(member, "position", 0, -32768, 32767);
                    });
                }
            });
        }
        if (const JsonValue* operations = findArray(object, "operations")) {
            Step step(this, "operations");
            forEach(*operations, [&](const JsonValue& item, std::size_t) {
                auto operation = buildOperation(item, true);
                if (!operation->addAssociatedClass(cls))
                    fail("the operation cannot be added");
                operation.release();
            });
        }
    }

    // An operation of a class (`ofClass`: a procedure or a trigger) or a stored
    // procedure of a package; "kind" defaults to "procedure".
    std::unique_ptr<ORXOperation> buildOperation(const JsonValue& object, bool ofClass) {
        checkKeys(object, true,
                  {"kind", "body", "owner", "links", "timing", "onInsert", "onUpdate", "onDelete"});
        int type = ORX_ET_STORED_PROCEDURE;
        if (const JsonValue* kindValue = find(object, "kind")) {
            Step step(this, "kind");
            std::string_view kind = stringValue(*kindValue);
            if (kind == "trigger" && ofClass) {
                type = ORX_ET_TRIGGER;
            } else if (kind != "procedure") {
                fail(ofClass ? "expected \"procedure\" or \"trigger\""
                             : "expected \"procedure\": a package holds stored procedures only");
            }
        }
        auto operation = std::make_unique<ORXOperation>(type);
        readCommon(object, operation.get());
        operation->setBody(getString(object, "body"));
        operation->setTiming(getInt(object, "timing", 0));
        operation->setOnInsert(getBool(object, "onInsert", false));
        operation->setOnUpdate(getBool(object, "onUpdate", false));
        operation->setOnDelete(getBool(object, "onDelete", false));
        if (const JsonValue* links = findArray(object, "links")) {
            if (links->size() > 2)
                failAt("links", "expected at most two ids");
        }
        object.setTag(static_cast<ORXObject*>(operation.get()));
        return operation;
    }

    void buildDiagram(const JsonValue& object, ORXDesignPackage* package) {
        checkKeys(object, true, {"members", "symbols"});
        auto diagram = std::make_unique<ORXDiagram>();
        readCommon(object, diagram.get());
        ORXDiagram* made = diagram.get();
        if (!package->addOwnedDiagram(made))
            fail("the diagram cannot be added");
        diagram.release();
        object.setTag(static_cast<ORXObject*>(made));
        findArray(object, "members");
        if (const JsonValue* symbols = findArray(object, "symbols")) {
            Step step(this, "symbols");
            forEach(*symbols, [&](const JsonValue& item, std::size_t) {
                checkKeys(item, false,
                          {"id", "subject", "x", "y", "width", "height", "backgroundColor",
                           "lineColor", "fontColor"});
                require(item, "subject");
                auto symbol = std::make_unique<ORXPresentationElement>();
                registerId(item, symbol.get());
                symbol->setGeometry(getInt(item, "x", 0), getInt(item, "y", 0),
                                    getInt(item, "width", 0), getInt(item, "height", 0));
                int background = getColor(item, "backgroundColor");
                int line = getColor(item, "lineColor");
                int font = getColor(item, "fontColor");
                symbol->setColors(background, line, font);
                if (!symbol->addDiagram(made))
                    fail("the symbol cannot be added");
                item.setTag(static_cast<ORXObject*>(symbol.release()));
            });
        }
    }

    // ---- second walk: references ---------------------------------------------

    void linkPackage(const JsonValue& object) {
        auto* package = built<ORXPackage>(object);
        auto* design = as<ORXDesignPackage>(package);
        if (design) {
            if (const JsonValue* elements = find(object, "elements")) {
                Step step(this, "elements");
                forEach(*elements, [&](const JsonValue& item, std::size_t) { linkElement(item); });
            }
            if (const JsonValue* procedures = find(object, "storedProcedures")) {
                Step step(this, "storedProcedures");
                forEach(*procedures, [&](const JsonValue& item, std::size_t) { linkOwner(item); });
            }
        }
        if (const JsonValue* children = find(object, "packages")) {
            Step step(this, "packages");
            forEach(*children, [&](const JsonValue& item, std::size_t) { linkPackage(item); });
        }
    }

    void linkOwner(const JsonValue& object) {
        if (const JsonValue* owner = find(object, "owner")) {
            Step step(this, "owner");
            built<ORXModelObject>(object)->setOwner(lookupSchema(*owner));
        }
    }

    void linkElement(const JsonValue& object) {
        auto* element = built<ORXModelObject>(object);
        if (auto* cls = as<ORXClass>(element)) {
            linkClass(object, cls);
        } else if (as<ORXAssociation>(element)) {
            if (const JsonValue* roles = find(object, "roles")) {
                Step step(this, "roles");
                forEach(*roles, [&](const JsonValue& item, std::size_t) {
                    auto* role = built<ORXAssociationRole>(item);
                    ORXClass* roleClass;
                    {
                        Step classStep(this, "class");
                        roleClass = lookupAs<ORXClass>(*find(item, "class"), "a class");
                        if (!role->addAssociatedClass(roleClass))
                            fail("the role cannot be linked");
                    }
                    if (const JsonValue* key = find(item, "foreignKey")) {
                        Step keyStep(this, "foreignKey");
                        auto* foreignKey = lookupAs<ORXForeignKey>(*key, "a foreign key");
                        if (foreignKey->getAssociatedClass() != roleClass) {
                            fail("no foreign key " + inQuotes(key->string()) + " in class " +
                                 inQuotes(roleClass->getName().view()));
                        }
                        foreignKey->addAssociationRole(role);
                    }
                });
            }
        } else if (auto* generalization = as<ORXGeneralization>(element)) {
            if (const JsonValue* supertype = find(object, "supertype")) {
                Step step(this, "supertype");
                generalization->setSupertypeClass(lookupAs<ORXClass>(*supertype, "a class"));
            }
            if (const JsonValue* subtypes = findArray(object, "subtypes")) {
                Step step(this, "subtypes");
                forEach(*subtypes, [&](const JsonValue& item, std::size_t) {
                    if (!generalization->addSubtypeClass(lookupAs<ORXClass>(item, "a class"))) {
                        fail("the subtype is listed twice");
                    }
                });
            }
            if (const JsonValue* keys = findArray(object, "foreignKeys")) {
                Step step(this, "foreignKeys");
                forEach(*keys, [&](const JsonValue& item, std::size_t) {
                    auto* key = lookupAs<ORXForeignKey>(item, "a foreign key");
                    bool ofSubtype = false;
                    for (int i = 0; i < generalization->getSubtypeClassCount(); ++i) {
                        ofSubtype = ofSubtype ||
                                    generalization->getSubtypeClass(i) == key->getAssociatedClass();
                    }
                    if (!ofSubtype) {
                        fail("foreign key " + inQuotes(item.string()) +
                             " is not a key of a subtype");
                    }
                    if (!generalization->addForeignKey(key))
                        fail("the key is listed twice");
                });
            }
        } else if (as<ORXSQLViewEntity>(element)) {
            linkOwner(object);
            if (const JsonValue* columns = find(object, "columns")) {
                Step step(this, "columns");
                forEach(*columns, [&](const JsonValue& item, std::size_t) {
                    if (const JsonValue* source = find(item, "source")) {
                        Step sourceStep(this, "source");
                        ORXObject* target = lookup(*source);
                        auto* feature = as<ORXFeature>(target);
                        if (!feature || target->getElementType() == ORX_ET_STORED_PROCEDURE ||
                            target->getElementType() == ORX_ET_TRIGGER) {
                            fail(inQuotes(source->string()) + " is " + describe(target) +
                                 ", expected an attribute or a view column");
                        }
                        if (!built<ORXSQLViewAttribute>(item)->setSourceFeature(feature))
                            fail("a view column cannot be its own source");
                    }
                });
            }
        }
    }

    void linkClass(const JsonValue& object, ORXClass* cls) {
        linkOwner(object);
        if (const JsonValue* attributes = find(object, "attributes")) {
            Step step(this, "attributes");
            forEach(*attributes, [&](const JsonValue& item, std::size_t) {
                const JsonValue* type = find(item, "type");
                if (type && type->isString()) {
                    Step typeStep(this, "type");
                    // Only the model's types carry ids; inline types cannot.
                    built<ORXAttribute>(item)->setType(lookupAs<ORXType>(*type, "a type"));
                }
            });
        }
        if (const JsonValue* keys = find(object, "keys")) {
            Step step(this, "keys");
            forEach(*keys, [&](const JsonValue& item, std::size_t) {
                auto* key = built<ORXKey>(item);
                if (const JsonValue* attributes = find(item, "attributes")) {
                    Step listStep(this, "attributes");
                    forEach(*attributes, [&](const JsonValue& id, std::size_t) {
                        if (!key->addAttribute(lookupAttributeOf(id, cls))) {
                            fail("the attribute is listed twice");
                        }
                    });
                }
                if (const JsonValue* index = find(item, "index")) {
                    Step indexStep(this, "index");
                    key->setIndex(lookupIndexOf(*index, cls));
                }
                if (const JsonValue* index = find(item, "orderingIndex")) {
                    Step indexStep(this, "orderingIndex");
                    key->setOrderingIndex(lookupIndexOf(*index, cls));
                }
                auto* foreignKey = as<ORXForeignKey>(key);
                if (!foreignKey)
                    return;
                if (const JsonValue* references = find(item, "references")) {
                    Step referencesStep(this, "references");
                    foreignKey->addCandidateKey(
                        lookupAs<ORXCandidateKey>(*references, "a candidate key"));
                }
                if (const JsonValue* maps = find(item, "nameMaps")) {
                    Step mapsStep(this, "nameMaps");
                    forEach(*maps, [&](const JsonValue& map, std::size_t) {
                        checkKeys(map, false, {"id", "source", "destination"});
                        ORXAttribute* source;
                        ORXAttribute* destination;
                        {
                            const JsonValue& value = require(map, "source");
                            Step sourceStep(this, "source");
                            source = lookupAs<ORXAttribute>(value, "an attribute");
                        }
                        {
                            const JsonValue& value = require(map, "destination");
                            Step destinationStep(this, "destination");
                            destination = lookupAttributeOf(value, cls);
                        }
                        auto* made = new ORXAssociationRoleNameMap(foreignKey, source, destination);
                        registerId(map, made);
                    });
                }
            });
        }
        if (const JsonValue* primaryKey = find(object, "primaryKey")) {
            Step step(this, "primaryKey");
            ORXKey* key = lookupKeyOf(*primaryKey, cls);
            auto* candidate = as<ORXCandidateKey>(key);
            if (!candidate) {
                fail(inQuotes(primaryKey->string()) +
                     " is a foreign key, expected a candidate key");
            }
            if (!candidate->addPrimaryOfClass(cls))
                fail("the primary key cannot be set");
        }
        if (const JsonValue* indexes = find(object, "indexes")) {
            Step step(this, "indexes");
            forEach(*indexes, [&](const JsonValue& item, std::size_t) {
                auto* index = built<ORXIndex>(item);
                if (const JsonValue* key = find(item, "key")) {
                    Step keyStep(this, "key");
                    index->addKey(lookupKeyOf(*key, cls));
                }
                if (const JsonValue* members = find(item, "members")) {
                    Step membersStep(this, "members");
                    forEach(*members, [&](const JsonValue& member, std::size_t i) {
                        ORXAttribute* attribute;
                        {
                            Step attributeStep(this, "attribute");
                            attribute = lookupAttributeOf(*find(member, "attribute"), cls);
                        }
                        int position = getInt(member, "position", static_cast<int>(i));
                        auto* made =
                            new ORXIndexMember(index, attribute, static_cast<short>(position),
                                               getInt(member, "sortOrder", 1));
                        registerId(member, made);
                    });
                }
            });
        }
        if (const JsonValue* operations = find(object, "operations")) {
            Step step(this, "operations");
            forEach(*operations, [&](const JsonValue& item, std::size_t) { linkOwner(item); });
        }
    }

    // ---- third walk: operation links and diagrams ----------------------------

    ORXModelObject* lookupModelElement(const JsonValue& value) const {
        return lookupAs<ORXModelObject>(value, "a model element");
    }

    void linkOperation(const JsonValue& object) {
        const JsonValue* links = find(object, "links");
        if (!links)
            return;
        auto* operation = built<ORXOperation>(object);
        Step step(this, "links");
        forEach(*links, [&](const JsonValue& item, std::size_t i) {
            if (item.isNull())
                return;
            if (!operation->setLinkedElement(static_cast<int>(i), lookupModelElement(item))) {
                fail("the element cannot be linked");
            }
        });
    }

    void finishPackage(const JsonValue& object) {
        if (as<ORXDesignPackage>(built<ORXPackage>(object))) {
            if (const JsonValue* elements = find(object, "elements")) {
                Step step(this, "elements");
                forEach(*elements, [&](const JsonValue& item, std::size_t) {
                    const JsonValue* operations = find(item, "operations");
                    if (!operations || !operations->isArray())
                        return;
                    Step operationsStep(this, "operations");
                    forEach(*operations, [&](const JsonValue& operation, std::size_t) {
                        linkOperation(operation);
                    });
                });
            }
            if (const JsonValue* procedures = find(object, "storedProcedures")) {
                Step step(this, "storedProcedures");
                forEach(*procedures,
                        [&](const JsonValue& item, std::size_t) { linkOperation(item); });
            }
            if (const JsonValue* diagrams = find(object, "diagrams")) {
                Step step(this, "diagrams");
                forEach(*diagrams, [&](const JsonValue& item, std::size_t) { linkDiagram(item); });
            }
        }
        if (const JsonValue* children = find(object, "packages")) {
            Step step(this, "packages");
            forEach(*children, [&](const JsonValue& item, std::size_t) { finishPackage(item); });
        }
    }

    void linkDiagram(const JsonValue& object) {
        auto* diagram = built<ORXDiagram>(object);
        if (const JsonValue* members = find(object, "members")) {
            Step step(this, "members");
            forEach(*members, [&](const JsonValue& item, std::size_t) {
                lookupModelElement(item)->addDiagram(diagram);  // already a member: fine
            });
        }
        if (const JsonValue* symbols = find(object, "symbols")) {
            Step step(this, "symbols");
            forEach(*symbols, [&](const JsonValue& item, std::size_t) {
                Step subjectStep(this, "subject");
                ORXModelObject* subject = lookupModelElement(*find(item, "subject"));
                if (!built<ORXPresentationElement>(item)->addSubjectModelObject(subject)) {
                    fail("the subject cannot be linked");
                }
                subject->addDiagram(diagram);  // already a member: fine
            });
        }
    }

    std::string file_;
    std::vector<JsonPathStep> path_;
    std::unique_ptr<ORXModel> model_;
    IdTable ids_;
};

}  // namespace

std::unique_ptr<ORXModel> parseJsonModel(const std::string& text, const std::string& fileName) {
    JsonDocument document;
    std::string error = document.parse(text);
    if (!error.empty())
        throw ModelFileError(fileName + ": " + error);
    Loader loader(fileName, document.idCount());
    return loader.load(document.root());
}

std::unique_ptr<ORXModel> loadJsonModelFile(const std::string& path) {
    std::error_code kindError;
    if (std::filesystem::is_directory(path, kindError))
        throw ModelFileError(path + ": cannot read the file: " + std::strerror(EISDIR));
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ModelFileError(path + ": cannot open the file: " + std::strerror(errno));
    // Read in one buffer sized from the file, so that a large file is held
    // once, not twice or in a buffer grown step by step.
    std::string text;
    std::error_code sizeError;
    std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    if (!sizeError && size < text.max_size())
        text.reserve(static_cast<std::size_t>(size));
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        throw ModelFileError(path + ": cannot read the file: " + std::strerror(errno));
    return parseJsonModel(text, path);
}

}  // namespace importers
