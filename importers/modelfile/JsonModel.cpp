#include "importers/modelfile/JsonModel.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
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
constexpr std::string_view kCommonKeys[] = {"id",          "name",  "physicalName", "comment",
                                            "description", "notes", "levelCode"};

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
    // Most tests ask for the object's own type, which needs no walk up the types.
    return object && (object->getElementType() == kElementTypeOf<T> ||
                      object->isInstanceOf(kElementTypeOf<T>))
               ? static_cast<T*>(object)
               : nullptr;
}

std::string inQuotes(std::string_view text) {
    return "'" + printableText(text) + "'";
}

// Gives a container its blocks from allocateBlock: a large one gets large
// pages where the system has them. For arrays read at random, where with
// small pages nearly every read of a large one would also miss the
// processor's cache of address translations.
template <class T>
struct LargeBlockAllocator {
    using value_type = T;
    LargeBlockAllocator() = default;
    template <class U>
    LargeBlockAllocator(const LargeBlockAllocator<U>&) {}
    T* allocate(std::size_t count) {
        std::size_t bytes = count * sizeof(T);
        return static_cast<T*>(allocateBlock(bytes));
    }
    void deallocate(T* block, std::size_t) { FreeBlock()(block); }
    friend bool operator==(const LargeBlockAllocator&, const LargeBlockAllocator&) { return true; }
};

// The objects of a file by id, sized once from the number of ids the file
// holds, with no allocation per id (files may hold millions). The ids and
// their objects lie in an array in the order they were added, views into the
// file's text; an open-addressing index of 8-byte slots holds each one's
// number and a tag from its hash. A large file's index is a third of a table
// of whole entries, and entries added one after another lie side by side, as
// do most of the ids that a part of the file names: fewer cache misses.
class IdTable {
  public:
    explicit IdTable(std::size_t count) {
        entries_.reserve(count);
        resize(count);
    }

    // Adds `id`, whose idHash is `hash`; false when it is already there.
    bool add(std::string_view id, std::uint64_t hash, ORXObject* object) {
        if ((entries_.size() + 1) * 4 > slots_.size() * 3)
            resize(slots_.size());
        const std::uint64_t word = idWord(id);
        Slot& slot = probe(id, word, hash);
        if (slot.entry)
            return false;
        entries_.push_back({id.data(), word, static_cast<std::uint32_t>(id.size()), object});
        slot = {tagOf(hash), static_cast<std::uint32_t>(entries_.size())};
        return true;
    }

    bool add(std::string_view id, ORXObject* object) {
        return add(id, idHash(id, idWord(id)), object);
    }

    // The slot where an id with the idHash `hash` is looked for first, to
    // fetch into the cache ahead of its add or find: the slots are reached
    // at random, so nearly every first look misses the cache.
    const void* firstSlot(std::uint64_t hash) const { return &slots_[hash & (slots_.size() - 1)]; }

    // The object with `id`, or null.
    ORXObject* find(std::string_view id) const {
        const std::uint64_t word = idWord(id);
        const Slot& slot = const_cast<IdTable*>(this)->probe(id, word, idHash(id, word));
        return slot.entry ? entries_[slot.entry - 1].object : nullptr;
    }

  private:
    // An index slot: the tag of the id's hash and the number of its entry
    // plus one (0 for an empty slot). Files hold far fewer than 2^32 ids: each
    // takes more than a byte of text and a 32-byte parsed value.
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t entry = 0;
    };
    // An id, its object and, for an id of up to 8 bytes, the id's bytes
    // in one word, so that a look-up compares them without reading the
    // file's text far from where it is working.
    struct Entry {
        const char* data;
        std::uint64_t word;
        std::uint32_t length;
        ORXObject* object;
    };

    // The slot comes from the low bits of the hash, the tag from the high ones.
    static std::uint32_t tagOf(std::uint64_t hash) {
        return static_cast<std::uint32_t>(hash >> 32);
    }

    // A loop beats a call to memcmp: the tags matched, so the bytes mostly do.
    static bool sameBytes(const char* data, std::string_view id) {
        for (std::size_t i = 0; i < id.size(); ++i) {
            if (data[i] != id[i])
                return false;
        }
        return true;
    }

    // The slot holding `id`, or the empty slot where it belongs.
    Slot& probe(std::string_view id, std::uint64_t word, std::uint64_t hash) {
        const std::size_t mask = slots_.size() - 1;
        const std::uint32_t tag = tagOf(hash);
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            Slot& slot = slots_[at];
            if (!slot.entry)
                return slot;
            if (slot.tag == tag) {
                const Entry& entry = entries_[slot.entry - 1];
                if (entry.length == id.size() &&
                    (id.size() <= 8 ? entry.word == word : sameBytes(entry.data, id))) {
                    return slot;
                }
            }
        }
    }

    // Makes room for at least `count` ids with a quarter of the slots free:
    // a smaller index misses the cache less often, and a probe past the
    // first slot mostly stays in the same cache line.
    void resize(std::size_t count) {
        std::size_t capacity = 16;
        while (capacity * 3 < count * 4 + 4)
            capacity *= 2;
        slots_.assign(capacity, Slot{});
        const std::size_t mask = capacity - 1;
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            const std::uint64_t hash =
                idHash({entries_[i].data, entries_[i].length}, entries_[i].word);
            std::size_t at = hash & mask;
            while (slots_[at].entry)
                at = (at + 1) & mask;
            slots_[at] = {tagOf(hash), static_cast<std::uint32_t>(i + 1)};
        }
    }

    std::vector<Slot, LargeBlockAllocator<Slot>> slots_;
    std::vector<Entry, LargeBlockAllocator<Entry>> entries_;
};

// The keys one kind of object may hold, each with a slot of its own. A key
// is found with one multiplication, one table entry and one comparison: the
// multiplier is chosen when the program is compiled so that no two keys of
// the set share an entry.
class KeySet {
  public:
    static constexpr int kMaxKeys = 20;

    // `own` are the keys of the kind; with `common`, the keys every element
    // may carry take the first slots (messages list them last).
    consteval KeySet(std::initializer_list<std::string_view> own, bool common) {
        if (common) {
            for (std::string_view name : kCommonKeys)
                add(name);
            commonCount_ = count_;
        }
        for (std::string_view name : own)
            add(name);
        chooseMultiplier();
    }

    // The slot of `key`, or -1 when the set does not hold it.
    int find(std::string_view key) const {
        if (key.empty())
            return -1;
        int slot = table_[entryOf(signatureOf(key), multiplier_)];
        if (slot < 0)
            return -1;
        std::string_view name = names_[slot];
        if (name.size() != key.size())
            return -1;
        // Keys are a few bytes long: a loop beats a call to memcmp.
        for (std::size_t i = 0; i < key.size(); ++i) {
            if (name[i] != key[i])
                return -1;
        }
        return slot;
    }

    constexpr int size() const { return count_; }

    // The slot of `name`, which must be in the set.
    consteval int slotOf(std::string_view name) const {
        for (int i = 0; i < count_; ++i) {
            if (names_[i] == name)
                return i;
        }
        throw "not a key of this set";
    }

    // The keys as messages list them: the kind's own, then the common ones.
    std::string expected() const {
        std::string out;
        for (int i = commonCount_; i < count_ + commonCount_; ++i) {
            out += out.empty() ? "" : ", ";
            out += names_[i % count_];
        }
        return out;
    }

  private:
    static constexpr int kEntries = 128;

    // The length and the first, middle and last bytes of a non-empty key.
    static constexpr std::uint32_t signatureOf(std::string_view key) {
        auto byte = [&](std::size_t i) {
            return static_cast<std::uint32_t>(static_cast<unsigned char>(key[i]));
        };
        return static_cast<std::uint32_t>(key.size()) ^ byte(0) << 8 ^ byte(key.size() / 2) << 16 ^
               byte(key.size() - 1) << 24;
    }
    static constexpr int entryOf(std::uint32_t signature, std::uint32_t multiplier) {
        return static_cast<int>((signature * multiplier) >> 25);  // 0 to kEntries - 1
    }

    consteval void add(std::string_view name) {
        if (count_ == kMaxKeys || name.empty())
            throw "too many keys, or an empty one";
        for (int i = 0; i < count_; ++i) {
            if (signatureOf(names_[i]) == signatureOf(name))
                throw "two keys with the same length and first, middle and last bytes";
        }
        names_[count_++] = name;
    }

    consteval void chooseMultiplier() {
        for (std::uint32_t multiplier = 0x9E3779B1u; multiplier != 0x9E3779B1u + 200000;
             multiplier += 2) {
            bool clash = false;
            for (std::int8_t& entry : table_)
                entry = -1;
            for (int i = 0; i < count_ && !clash; ++i) {
                std::int8_t& entry = table_[entryOf(signatureOf(names_[i]), multiplier)];
                clash = entry >= 0;
                entry = static_cast<std::int8_t>(i);
            }
            if (!clash) {
                multiplier_ = multiplier;
                return;
            }
        }
        throw "no multiplier separates the keys";
    }

    std::string_view names_[kMaxKeys] = {};
    std::int8_t table_[kEntries] = {};
    std::uint32_t multiplier_ = 0;
    int count_ = 0;
    int commonCount_ = 0;
};

// A member of an object read through its slot: the value (null when the
// object lacks the key) and the key, for the path of a message.
struct Member {
    const JsonValue* value;
    std::string_view key;
};

// The members of one object sorted into the slots of a key set in one pass,
// so that each value is read without another walk over the members.
template <const KeySet& Keys>
class Fields {
  public:
    // A key of the set, named in the code; its slot is found when compiling.
    struct Key {
        consteval Key(const char* text) : slot(Keys.slotOf(text)), name(text) {}
        int slot;
        std::string_view name;
    };

    // The file's parser rejects a key repeated in one object, so each slot
    // receives one member at most.
    explicit Fields(const JsonValue& object) {
        for (const JsonValue& member : object) {
            int slot = Keys.find(member.key());
            if (slot >= 0)
                slots_[slot] = &member;
            else if (!unknown_)
                unknown_ = &member;
        }
    }

    Member operator[](Key key) const { return {slots_[key.slot], key.name}; }

    // The first member whose key is not in the set, or null.
    const JsonValue* unknown() const { return unknown_; }

  private:
    const JsonValue* slots_[Keys.size()] = {};
    const JsonValue* unknown_ = nullptr;
};

constexpr KeySet kRootKeys({"format", "version", "types", "packages"}, true);
constexpr KeySet kTypeKeys({"kind", "isDomain", "dataType", "length", "scale", "initialValue",
                            "lowerBound", "upperBound", "values"},
                           true);
constexpr KeySet kTypeValueKeys({"id", "value", "name"}, false);
constexpr KeySet kCatalogKeys({"kind", "databaseType", "packages"}, true);
constexpr KeySet kSchemaKeys({"kind"}, true);
constexpr KeySet kDesignKeys({"kind", "asPackage", "elements", "diagrams", "storedProcedures",
                              "packages"},
                             true);
constexpr KeySet kClassKeys({"kind", "tableType", "owner", "synonyms", "checkRule", "attributes",
                             "keys", "primaryKey", "indexes", "operations"},
                            true);
constexpr KeySet kAssociationKeys({"kind", "roles"}, true);
constexpr KeySet kGeneralizationKeys({"kind", "supertype", "subtypes", "foreignKeys"}, true);
constexpr KeySet kViewKeys({"kind", "statement", "statementKind", "owner", "columns"}, true);
constexpr KeySet kRoleKeys({"class", "isSource", "multiplicity", "updateRule", "deleteRule",
                            "foreignKey"},
                           true);
constexpr KeySet kViewColumnKeys({"source"}, true);
constexpr KeySet kCheckRuleKeys({"id", "name", "text"}, false);
constexpr KeySet kAttributeKeys({"type", "initialValue", "optional", "checkExpression",
                                 "checkRule"},
                                true);
constexpr KeySet kCandidateKeyKeys({"kind", "attributes", "index", "orderingIndex", "unique"},
                                   true);
constexpr KeySet kForeignKeyKeys({"kind", "attributes", "index", "orderingIndex", "references",
                                  "nameMaps"},
                                 true);
constexpr KeySet kNameMapKeys({"id", "source", "destination"}, false);
constexpr KeySet kIndexKeys({"unique", "clustered", "key", "members"}, true);
constexpr KeySet kIndexMemberKeys({"id", "attribute", "sortOrder", "position"}, false);
constexpr KeySet kOperationKeys({"kind", "body", "owner", "links", "timing", "onInsert", "onUpdate",
                                 "onDelete"},
                                true);
constexpr KeySet kDiagramKeys({"members", "symbols"}, true);
constexpr KeySet kSymbolKeys({"id", "subject", "x", "y", "width", "height", "backgroundColor",
                              "lineColor", "fontColor"},
                             false);

// Builds a model from a parsed file in three walks over the tree: the first
// creates every object and the links of ownership and reads the plain values;
// the second resolves references by id (so a reference may precede its
// target); the third adds operation links and diagram memberships, which may
// name any model element, including index members that the second walk makes.
class Loader {
  public:
    Loader(std::string fileName, const JsonDocument& document)
        : file_(std::move(fileName)), path_(64), document_(document), ids_(document.idCount()) {}

    std::unique_ptr<ORXModel> load(const JsonValue& root) {
        model_ = std::make_unique<ORXModel>();
        buildModel(root);
        Step packages(this, "packages");
        if (const JsonValue* list = root.find("packages")) {
            forEach(*list, [&](const JsonValue& item, std::size_t) { linkPackage(item); });
            forEach(*list, [&](const JsonValue& item, std::size_t) { finishPackage(item); });
        }
        return std::move(model_);
    }

  private:
    // Pushes one step onto the current path for the lifetime of the object.
    // The path is read only for a message, so a step is a store into a
    // stack that grows only when the nesting is deeper than ever before.
    class Step {
      public:
        [[gnu::always_inline]] Step(Loader* loader, std::string_view key) : loader_(loader) {
            loader_->push({key, 0, false});
        }
        [[gnu::always_inline]] Step(Loader* loader, std::size_t index) : loader_(loader) {
            loader_->push({{}, index, true});
        }
        ~Step() { --loader_->depth_; }
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

      private:
        Loader* loader_;
    };

    [[gnu::always_inline]] void push(const JsonPathStep& step) {
        if (depth_ == path_.size()) [[unlikely]]
            path_.resize(path_.size() * 2);
        path_[depth_++] = step;
    }

    [[noreturn]] void fail(const std::string& what) const {
        throw ModelFileError(file_ + ": " + formatJsonPath(path_.data(), depth_) + ": " + what);
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

    // The members of `object` by key, after rejecting a key the set lacks.
    template <const KeySet& Keys>
    Fields<Keys> readKeys(const JsonValue& object) {
        expectObject(object);
        Fields<Keys> fields(object);
        if (const JsonValue* member = fields.unknown())
            failAt(member->key(), "unknown key; expected one of: " + Keys.expected());
        return fields;
    }

    const JsonValue& require(Member member) {
        if (!member.value)
            fail("missing required key '" + std::string(member.key) + "'");
        return *member.value;
    }

    std::string_view stringValue(const JsonValue& value) const {
        if (!value.isString())
            fail("expected a string");
        return value.string();
    }

    [[gnu::always_inline]] std::string_view getString(Member member) {
        if (!member.value)
            return {};
        if (!member.value->isString())
            failAt(member.key, "expected a string");
        return member.value->string();
    }

    // Calls `(object->*set)(text)` unless `text` is empty: every text of a
    // new object reads as empty already, and most keys are absent.
    template <class T, class Setter>
    static void setText(T* object, Setter set, std::string_view text) {
        if (!text.empty())
            (object->*set)(text);
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

    int getInt(Member member, int fallback, long long min = kIntMin, long long max = kIntMax) {
        if (!member.value)
            return fallback;
        if (member.value->type() == JsonValue::Type::Unsigned &&
            member.value->unsignedValue() <= static_cast<unsigned long long>(max) && min <= 0) {
            return static_cast<int>(member.value->unsignedValue());
        }
        Step step(this, member.key);
        return static_cast<int>(integerValue(*member.value, min, max));
    }

    bool getBool(Member member, bool fallback) {
        if (!member.value)
            return fallback;
        if (!member.value->isBoolean())
            failAt(member.key, "expected a boolean");
        return member.value->boolean();
    }

    const JsonValue* findArray(Member member) {
        if (member.value && !member.value->isArray())
            failAt(member.key, "expected an array");
        return member.value;
    }

    // Calls `f(item, i)` for each item of an array, with the index on the path.
    template <class F>
    void forEach(const JsonValue& array, F&& f) {
        Step step(this, std::size_t{0});
        const std::size_t at = depth_ - 1;
        std::size_t i = 0;
        for (const JsonValue& item : array) {
            path_[at].index = i;
            f(item, i);
            ++i;
        }
    }

    // Calls `f(item, i)` for each item of the array a member holds, if the
    // object has the member, with the member's key and the index on the path.
    template <class F>
    void forEachItem(Member member, F&& f) {
        if (const JsonValue* array = findArray(member)) {
            Step step(this, member.key);
            forEach(*array, f);
        }
    }

    // A colour: an integer 0xRRGGBB or a string "#RRGGBB".
    int getColor(Member member) {
        const JsonValue* value = member.value;
        if (!value)
            return 0;
        Step step(this, member.key);
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
    int getRule(Member member) {
        const JsonValue* value = member.value;
        if (!value)
            return 0;
        Step step(this, member.key);
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

    void registerId(Member member, ORXObject* target) {
        if (!member.value)
            return;
        if (member.value->isString() && !member.value->string().empty()) {
            const std::string_view id = member.value->string();
            const std::uint64_t hash = idHash(id, idWord(id));
            lookAhead(static_cast<std::uint32_t>(hash));
            if (ids_.add(id, hash, target)) {
                target->setExternalId(id);
                return;
            }
        }
        Step step(this, member.key);
        std::string_view id = stringValue(*member.value);
        if (id.empty())
            fail("expected a non-empty string");
        if (!ids_.add(id, target))
            fail("duplicate id " + inQuotes(id));
        target->setExternalId(id);
    }

    // The first walk takes the ids mostly in document order: while it does,
    // the slot of an id a few ahead is fetched, so that its cache miss
    // overlaps the work on the objects in between. `hash` (the low bits of
    // the idHash of the id being added) is looked for among the next few
    // hashes the reader noted; where the walk takes an id from elsewhere,
    // the place stays. Only advice: a wrong guess costs a useless fetch.
    void lookAhead(std::uint32_t hash) {
        constexpr std::size_t kAhead = 4;
        constexpr std::size_t kSearch = 16;
        const std::vector<std::uint32_t>& hashes = document_.idHashes();
        const std::size_t end = std::min(nextId_ + kSearch, hashes.size());
        for (std::size_t i = nextId_; i < end; ++i) {
            if (hashes[i] == hash) {
                nextId_ = i + 1;
                break;
            }
        }
        // (Here, not in a function of the table: the compiler takes a
        // function that only prefetches for one without effect.)
        if (nextId_ + kAhead - 1 < hashes.size())
            __builtin_prefetch(ids_.firstSlot(hashes[nextId_ + kAhead - 1]));
    }

    // The walks that resolve references take them in about document order:
    // for the reference `value`, the index slot of the one eight ahead in
    // the reader's list is fetched into the cache, so that the cache misses
    // of the look-ups (the slots lie at random in a large index) overlap the
    // work in between instead of stalling each look-up. Where the walk
    // leaves document order, its place in the list is found again. Only
    // advice: a wrong guess costs a useless fetch. (A small file has no
    // list: its index stays in the cache.)
    void fetchAhead(const JsonValue& value) const {
        constexpr std::size_t kAhead = 8;
        const std::vector<JsonDocument::Reference>& references = document_.references();
        if (references.empty())
            return;
        const std::size_t at = document_.indexOf(value);
        std::size_t next = nextReference_;
        if (next < references.size() && references[next].at == at) {
            ++next;
        } else {
            next = static_cast<std::size_t>(
                std::upper_bound(references.begin(), references.end(), at,
                                 [](std::size_t place, const JsonDocument::Reference& reference) {
                                     return place < reference.at;
                                 }) -
                references.begin());
        }
        nextReference_ = next;
        if (next + kAhead < references.size())
            __builtin_prefetch(ids_.firstSlot(references[next + kAhead].hash));
    }

    // The object an id names, the id being the value at the current path.
    ORXObject* lookup(const JsonValue& value) const {
        fetchAhead(value);
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
    template <const KeySet& Keys>
    void readCommon(const Fields<Keys>& fields, ORXElement* element) {
        registerId(fields["id"], element);
        setText(element, &ORXElement::setName, getString(fields["name"]));
        setText(element, &ORXElement::setPhysicalName, getString(fields["physicalName"]));
        setText(element, &ORXElement::setComment, getString(fields["comment"]));
        setText(element, &ORXElement::setDescription, getString(fields["description"]));
        element->setLevelCode(getInt(fields["levelCode"], 0));
        forEachItem(fields["notes"], [&](const JsonValue& note, std::size_t) {
            element->addNote(new ORXNote(stringValue(note)));
        });
    }

    void readCheckRule(Member member, ORXModelObject* owner) {
        if (!member.value)
            return;
        Step step(this, member.key);
        auto rule = readKeys<kCheckRuleKeys>(*member.value);
        auto made =
            std::make_unique<ORXBusinessRule>(3, getString(rule["name"]), getString(rule["text"]));
        registerId(rule["id"], made.get());
        owner->addBusinessRule(made.release());
    }

    void buildModel(const JsonValue& root) {
        auto fields = readKeys<kRootKeys>(root);
        {
            const JsonValue& format = require(fields["format"]);
            Step step(this, "format");
            if (!format.isString() || format.string() != "orx-model") {
                fail("expected \"orx-model\"");
            }
        }
        {
            const JsonValue& version = require(fields["version"]);
            Step step(this, "version");
            if (!version.isInteger() || version.integer() != 1) {
                fail("expected 1");
            }
        }
        readCommon(fields, model_.get());
        forEachItem(fields["types"], [&](const JsonValue& item, std::size_t) {
            model_->addType(buildType(item, false).release());
        });
        forEachItem(fields["packages"], [&](const JsonValue& item, std::size_t) {
            buildPackage(item, model_.get(), ORX_ET_MODEL, 1);
        });
    }

    std::unique_ptr<ORXType> buildType(const JsonValue& object, bool isInline) {
        auto fields = readKeys<kTypeKeys>(object);
        if (isInline && fields["id"].value)
            failAt("id", "an inline type has no id");
        bool derived = !isInline;
        if (const JsonValue* kind = fields["kind"].value) {
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
            derivedType->setDomain(getBool(fields["isDomain"], true));
            type = std::move(derivedType);
        } else {
            if (fields["isDomain"].value)
                failAt("isDomain", "only a derived type has isDomain");
            type = std::make_unique<ORXType>();
        }
        readCommon(fields, type.get());
        setText(type.get(), &ORXType::setDataType, getString(fields["dataType"]));
        type->setLength(getInt(fields["length"], 0));
        type->setScale(getInt(fields["scale"], 0));
        setText(type.get(), &ORXType::setInitialValue, getString(fields["initialValue"]));
        setText(type.get(), &ORXType::setLowerBound, getString(fields["lowerBound"]));
        setText(type.get(), &ORXType::setUpperBound, getString(fields["upperBound"]));
        forEachItem(fields["values"], [&](const JsonValue& item, std::size_t) {
            auto itemFields = readKeys<kTypeValueKeys>(item);
            const JsonValue& value = require(itemFields["value"]);
            std::string_view text;
            {
                Step valueStep(this, "value");
                text = stringValue(value);
            }
            auto made = std::make_unique<ORXTypeValue>(text, getString(itemFields["name"]));
            registerId(itemFields["id"], made.get());
            type->addTypeValue(made.release());
        });
        return type;
    }

    // Builds a package and adds it to `parent` (the model or a package of
    // kind `parentKind`), at nesting level `depth`.
    void buildPackage(const JsonValue& object, ORXPackage* parent, int parentKind, int depth) {
        expectObject(object);
        if (depth > kMaxPackageDepth) {
            fail("packages nested deeper than " + std::to_string(kMaxPackageDepth) + " levels");
        }
        const JsonValue& kindValue = require({object.find("kind"), "kind"});
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
        ORXPackage* made;
        Member children{nullptr, "packages"};
        if (kind == "catalog") {
            auto fields = readKeys<kCatalogKeys>(object);
            auto catalog = std::make_unique<ORXCatalog>();
            catalog->setDatabaseType(getString(fields["databaseType"]));
            made = addPackage(fields, std::move(catalog), parent, object);
            children = fields["packages"];
        } else if (kind == "schema") {
            auto fields = readKeys<kSchemaKeys>(object);
            made = addPackage(fields, std::make_unique<ORXSchema>(), parent, object);
        } else {
            auto fields = readKeys<kDesignKeys>(object);
            auto design = std::make_unique<ORXDesignPackage>();
            design->setPackageFlag(getBool(fields["asPackage"], parentKind != ORX_ET_MODEL));
            ORXDesignPackage* raw = design.get();
            made = addPackage(fields, std::move(design), parent, object);
            buildDesignContents(fields, raw);
            children = fields["packages"];
        }
        if (const JsonValue* list = findArray(children)) {
            Step step(this, "packages");
            forEach(*list, [&](const JsonValue& item, std::size_t) {
                buildPackage(item, made, made->getElementType(), depth + 1);
            });
        }
    }

    // Reads the common keys of a new package and adds it to `parent`.
    template <const KeySet& Keys>
    ORXPackage* addPackage(const Fields<Keys>& fields, std::unique_ptr<ORXPackage> package,
                           ORXPackage* parent, const JsonValue& object) {
        readCommon(fields, package.get());
        ORXPackage* made = package.get();
        if (!parent->addChildPackage(package.get()))
            fail("the package cannot be added");
        package.release();
        object.setTag(static_cast<ORXObject*>(made));
        return made;
    }

    void buildDesignContents(const Fields<kDesignKeys>& fields, ORXDesignPackage* design) {
        forEachItem(fields["elements"],
                    [&](const JsonValue& item, std::size_t) { buildElement(item, design); });
        forEachItem(fields["diagrams"],
                    [&](const JsonValue& item, std::size_t) { buildDiagram(item, design); });
        forEachItem(fields["storedProcedures"], [&](const JsonValue& item, std::size_t) {
            auto operation = buildOperation(item, false);
            ORXOperation* raw = operation.get();
            if (!design->addStoredProcedure(raw))
                fail("the procedure cannot be added");
            operation.release();
        });
    }

    // Creates an element of a design package and adds it to the package.
    void buildElement(const JsonValue& object, ORXDesignPackage* package) {
        expectObject(object);
        const JsonValue& kindValue = require({object.find("kind"), "kind"});
        std::string_view kind;
        {
            Step step(this, "kind");
            kind = stringValue(kindValue);
        }
        if (kind == "class") {
            auto fields = readKeys<kClassKeys>(object);
            auto* cls = addElement(fields, std::make_unique<ORXClass>(), package, object);
            buildClass(fields, cls);
        } else if (kind == "association") {
            auto fields = readKeys<kAssociationKeys>(object);
            auto* association =
                addElement(fields, std::make_unique<ORXAssociation>(), package, object);
            forEachItem(fields["roles"],
                        [&](const JsonValue& item, std::size_t) { buildRole(item, association); });
        } else if (kind == "generalization") {
            auto fields = readKeys<kGeneralizationKeys>(object);
            addElement(fields, std::make_unique<ORXGeneralization>(), package, object);
        } else if (kind == "view") {
            auto fields = readKeys<kViewKeys>(object);
            auto* view = addElement(fields, std::make_unique<ORXSQLViewEntity>(), package, object);
            view->setViewStatement(getString(fields["statement"]));
            view->setViewStatementKind(getInt(fields["statementKind"], 1));
            forEachItem(fields["columns"], [&](const JsonValue& item, std::size_t) {
                auto columnFields = readKeys<kViewColumnKeys>(item);
                auto column = std::make_unique<ORXSQLViewAttribute>();
                readCommon(columnFields, column.get());
                if (!column->addAssociatedView(view))
                    fail("the column cannot be added");
                item.setTag(static_cast<ORXObject*>(column.release()));
            });
        } else {
            failAt("kind", "expected \"class\", \"association\", \"generalization\" or \"view\"");
        }
    }

    // Reads the common keys of a new element and adds it to `package`.
    template <const KeySet& Keys, class T>
    T* addElement(const Fields<Keys>& fields, std::unique_ptr<T> element, ORXDesignPackage* package,
                  const JsonValue& object) {
        readCommon(fields, element.get());
        if (!element->addDesignPackage(package)) {
            fail("package " + inQuotes(package->getName().view()) +
                 " already holds a class named " + inQuotes(element->getName().view()));
        }
        T* made = element.release();
        object.setTag(static_cast<ORXObject*>(made));
        return made;
    }

    void buildRole(const JsonValue& item, ORXAssociation* association) {
        auto fields = readKeys<kRoleKeys>(item);
        require(fields["class"]);
        auto* role = new ORXAssociationRole(association);
        item.setTag(static_cast<ORXObject*>(role));
        readCommon(fields, role);
        role->setSource(getBool(fields["isSource"], false));
        if (const JsonValue* multiplicity = fields["multiplicity"].value) {
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
        role->setUpdateRule(getRule(fields["updateRule"]));
        role->setDeleteRule(getRule(fields["deleteRule"]));
    }

    void buildClass(const Fields<kClassKeys>& fields, ORXClass* cls) {
        cls->setTableType(getInt(fields["tableType"], 0));
        forEachItem(fields["synonyms"], [&](const JsonValue& item, std::size_t) {
            cls->addSynonym(new ORXSynonym(stringValue(item)));
        });
        readCheckRule(fields["checkRule"], cls);
        forEachItem(fields["attributes"],
                    [&](const JsonValue& item, std::size_t) { buildAttribute(item, cls); });
        forEachItem(fields["keys"],
                    [&](const JsonValue& item, std::size_t) { buildKey(item, cls); });
        forEachItem(fields["indexes"],
                    [&](const JsonValue& item, std::size_t) { buildIndex(item, cls); });
        if (const JsonValue* operations = findArray(fields["operations"])) {
            ++classOperations_;
            Step step(this, "operations");
            forEach(*operations, [&](const JsonValue& item, std::size_t) {
                auto operation = buildOperation(item, true);
                if (!operation->addAssociatedClass(cls))
                    fail("the operation cannot be added");
                operation.release();
            });
        }
    }

    void buildAttribute(const JsonValue& item, ORXClass* cls) {
        auto fields = readKeys<kAttributeKeys>(item);
        auto attribute = std::make_unique<ORXAttribute>();
        readCommon(fields, attribute.get());
        if (!attribute->addAssociatedClass(cls)) {
            fail("class " + inQuotes(cls->getName().view()) + " already has an attribute named " +
                 inQuotes(attribute->getName().view()));
        }
        ORXAttribute* made = attribute.release();
        item.setTag(static_cast<ORXObject*>(made));
        if (const JsonValue* type = fields["type"].value) {
            Step typeStep(this, "type");
            if (type->isObject()) {
                made->setOwnedType(buildType(*type, true).release());
            } else if (type->isString()) {
                ++typeReferences_;
            } else {
                fail("expected the id of a type or a type object");
            }
        }
        setText(made, &ORXAttribute::setInitialValue, getString(fields["initialValue"]));
        made->setOptional(getBool(fields["optional"], false));
        setText(made, &ORXAttribute::setRuleExpression, getString(fields["checkExpression"]));
        readCheckRule(fields["checkRule"], made);
    }

    void buildKey(const JsonValue& item, ORXClass* cls) {
        expectObject(item);
        std::string_view kind = "candidate";
        if (const JsonValue* kindValue = item.find("kind")) {
            Step kindStep(this, "kind");
            kind = stringValue(*kindValue);
            if (kind != "candidate" && kind != "foreign") {
                fail("expected \"candidate\" or \"foreign\"");
            }
        }
        if (kind == "candidate") {
            auto fields = readKeys<kCandidateKeyKeys>(item);
            auto candidate = std::make_unique<ORXCandidateKey>();
            candidate->setUnique(getBool(fields["unique"], true));
            addKey(fields, std::move(candidate), cls, item);
        } else {
            auto fields = readKeys<kForeignKeyKeys>(item);
            addKey(fields, std::make_unique<ORXForeignKey>(), cls, item);
            findArray(fields["nameMaps"]);
        }
    }

    // Reads the common keys of a new key and adds it to `cls`.
    template <const KeySet& Keys>
    void addKey(const Fields<Keys>& fields, std::unique_ptr<ORXKey> key, ORXClass* cls,
                const JsonValue& item) {
        readCommon(fields, key.get());
        if (!key->addAssociatedClass(cls))
            fail("the key cannot be added");
        item.setTag(static_cast<ORXObject*>(key.release()));
        findArray(fields["attributes"]);
    }

    void buildIndex(const JsonValue& item, ORXClass* cls) {
        auto fields = readKeys<kIndexKeys>(item);
        auto index = std::make_unique<ORXIndex>();
        readCommon(fields, index.get());
        index->setUnique(getBool(fields["unique"], false));
        index->setClustered(getBool(fields["clustered"], false));
        if (!index->addAssociatedClass(cls))
            fail("the index cannot be added");
        item.setTag(static_cast<ORXObject*>(index.release()));
        forEachItem(fields["members"], [&](const JsonValue& member, std::size_t) {
            auto memberFields = readKeys<kIndexMemberKeys>(member);
            require(memberFields["attribute"]);
            getInt(memberFields["sortOrder"], 1);
            getInt(memberFields["position"], 0, -32768, 32767);
        });
    }

    // An operation of a class (`ofClass`: a procedure or a trigger) or a stored
    // procedure of a package; "kind" defaults to "procedure".
    std::unique_ptr<ORXOperation> buildOperation(const JsonValue& object, bool ofClass) {
        auto fields = readKeys<kOperationKeys>(object);
        int type = ORX_ET_STORED_PROCEDURE;
        if (const JsonValue* kindValue = fields["kind"].value) {
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
        readCommon(fields, operation.get());
        operation->setBody(getString(fields["body"]));
        operation->setTiming(getInt(fields["timing"], 0));
        operation->setOnInsert(getBool(fields["onInsert"], false));
        operation->setOnUpdate(getBool(fields["onUpdate"], false));
        operation->setOnDelete(getBool(fields["onDelete"], false));
        if (const JsonValue* links = findArray(fields["links"])) {
            if (links->size() > 2)
                failAt("links", "expected at most two ids");
        }
        object.setTag(static_cast<ORXObject*>(operation.get()));
        return operation;
    }

    void buildDiagram(const JsonValue& object, ORXDesignPackage* package) {
        auto fields = readKeys<kDiagramKeys>(object);
        auto diagram = std::make_unique<ORXDiagram>();
        readCommon(fields, diagram.get());
        ORXDiagram* made = diagram.get();
        if (!package->addOwnedDiagram(made))
            fail("the diagram cannot be added");
        diagram.release();
        object.setTag(static_cast<ORXObject*>(made));
        findArray(fields["members"]);
        forEachItem(fields["symbols"], [&](const JsonValue& item, std::size_t) {
            auto itemFields = readKeys<kSymbolKeys>(item);
            require(itemFields["subject"]);
            auto symbol = std::make_unique<ORXPresentationElement>();
            registerId(itemFields["id"], symbol.get());
            symbol->setGeometry(getInt(itemFields["x"], 0), getInt(itemFields["y"], 0),
                                getInt(itemFields["width"], 0), getInt(itemFields["height"], 0));
            int background = getColor(itemFields["backgroundColor"]);
            int line = getColor(itemFields["lineColor"]);
            int font = getColor(itemFields["fontColor"]);
            symbol->setColors(background, line, font);
            if (!symbol->addDiagram(made))
                fail("the symbol cannot be added");
            item.setTag(static_cast<ORXObject*>(symbol.release()));
        });
    }

    // ---- second walk: references ---------------------------------------------

    void linkPackage(const JsonValue& object) {
        auto* package = built<ORXPackage>(object);
        const JsonValue* children;
        if (as<ORXDesignPackage>(package)) {
            Fields<kDesignKeys> fields(object);
            if (const JsonValue* elements = fields["elements"].value) {
                Step step(this, "elements");
                forEach(*elements, [&](const JsonValue& item, std::size_t) { linkElement(item); });
            }
            if (const JsonValue* procedures = fields["storedProcedures"].value) {
                Step step(this, "storedProcedures");
                forEach(*procedures, [&](const JsonValue& item, std::size_t) {
                    linkOwner(item.find("owner"), item);
                });
            }
            children = fields["packages"].value;
        } else {
            children = object.find("packages");
        }
        if (children) {
            Step step(this, "packages");
            forEach(*children, [&](const JsonValue& item, std::size_t) { linkPackage(item); });
        }
    }

    void linkOwner(const JsonValue* owner, const JsonValue& object) {
        if (owner) {
            Step step(this, "owner");
            built<ORXModelObject>(object)->setOwner(lookupSchema(*owner));
        }
    }

    void linkElement(const JsonValue& object) {
        auto* element = built<ORXModelObject>(object);
        if (auto* cls = as<ORXClass>(element)) {
            linkClass(Fields<kClassKeys>(object), object, cls);
        } else if (as<ORXAssociation>(element)) {
            if (const JsonValue* roles = object.find("roles")) {
                Step step(this, "roles");
                forEach(*roles, [&](const JsonValue& item, std::size_t) { linkRole(item); });
            }
        } else if (auto* generalization = as<ORXGeneralization>(element)) {
            Fields<kGeneralizationKeys> fields(object);
            if (const JsonValue* supertype = fields["supertype"].value) {
                Step step(this, "supertype");
                generalization->setSupertypeClass(lookupAs<ORXClass>(*supertype, "a class"));
            }
            forEachItem(fields["subtypes"], [&](const JsonValue& item, std::size_t) {
                if (!generalization->addSubtypeClass(lookupAs<ORXClass>(item, "a class"))) {
                    fail("the subtype is listed twice");
                }
            });
            forEachItem(fields["foreignKeys"], [&](const JsonValue& item, std::size_t) {
                auto* key = lookupAs<ORXForeignKey>(item, "a foreign key");
                bool ofSubtype = false;
                for (int i = 0; i < generalization->getSubtypeClassCount(); ++i) {
                    ofSubtype = ofSubtype ||
                                generalization->getSubtypeClass(i) == key->getAssociatedClass();
                }
                if (!ofSubtype) {
                    fail("foreign key " + inQuotes(item.string()) + " is not a key of a subtype");
                }
                if (!generalization->addForeignKey(key))
                    fail("the key is listed twice");
            });
        } else if (as<ORXSQLViewEntity>(element)) {
            Fields<kViewKeys> fields(object);
            linkOwner(fields["owner"].value, object);
            if (const JsonValue* columns = fields["columns"].value) {
                Step step(this, "columns");
                forEach(*columns, [&](const JsonValue& item, std::size_t) {
                    if (const JsonValue* source = Fields<kViewColumnKeys>(item)["source"].value) {
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

    void linkRole(const JsonValue& item) {
        Fields<kRoleKeys> fields(item);
        auto* role = built<ORXAssociationRole>(item);
        ORXClass* roleClass;
        {
            Step classStep(this, "class");
            roleClass = lookupAs<ORXClass>(*fields["class"].value, "a class");
            if (!role->addAssociatedClass(roleClass))
                fail("the role cannot be linked");
        }
        if (const JsonValue* key = fields["foreignKey"].value) {
            Step keyStep(this, "foreignKey");
            auto* foreignKey = lookupAs<ORXForeignKey>(*key, "a foreign key");
            if (foreignKey->getAssociatedClass() != roleClass) {
                fail("no foreign key " + inQuotes(key->string()) + " in class " +
                     inQuotes(roleClass->getName().view()));
            }
            foreignKey->addAssociationRole(role);
        }
    }

    void linkClass(const Fields<kClassKeys>& fields, const JsonValue& object, ORXClass* cls) {
        linkOwner(fields["owner"].value, object);
        // Most models give their columns inline types; then no attribute
        // names a type and the attributes need no second look.
        const JsonValue* attributes = fields["attributes"].value;
        if (attributes && typeReferences_ > 0) {
            Step step(this, "attributes");
            forEach(*attributes, [&](const JsonValue& item, std::size_t) {
                const JsonValue* type = Fields<kAttributeKeys>(item)["type"].value;
                if (type && type->isString()) {
                    Step typeStep(this, "type");
                    // Only the model's types carry ids; inline types cannot.
                    built<ORXAttribute>(item)->setType(lookupAs<ORXType>(*type, "a type"));
                }
            });
        }
        if (const JsonValue* keys = fields["keys"].value) {
            Step step(this, "keys");
            forEach(*keys, [&](const JsonValue& item, std::size_t) {
                auto* key = built<ORXKey>(item);
                if (auto* foreignKey = as<ORXForeignKey>(key))
                    linkForeignKey(Fields<kForeignKeyKeys>(item), foreignKey, cls);
                else
                    linkKeyIndexes(Fields<kCandidateKeyKeys>(item), key, cls);
            });
        }
        if (const JsonValue* primaryKey = fields["primaryKey"].value) {
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
        if (const JsonValue* indexes = fields["indexes"].value) {
            Step step(this, "indexes");
            forEach(*indexes, [&](const JsonValue& item, std::size_t) { linkIndex(item, cls); });
        }
        if (const JsonValue* operations = fields["operations"].value) {
            Step step(this, "operations");
            forEach(*operations, [&](const JsonValue& item, std::size_t) {
                linkOwner(item.find("owner"), item);
            });
        }
    }

    // Links the attributes and indexes of a key of `cls`.
    template <const KeySet& Keys>
    void linkKeyIndexes(const Fields<Keys>& fields, ORXKey* key, ORXClass* cls) {
        if (const JsonValue* attributes = fields["attributes"].value) {
            Step listStep(this, "attributes");
            forEach(*attributes, [&](const JsonValue& id, std::size_t) {
                if (!key->addAttribute(lookupAttributeOf(id, cls))) {
                    fail("the attribute is listed twice");
                }
            });
        }
        if (const JsonValue* index = fields["index"].value) {
            Step indexStep(this, "index");
            key->setIndex(lookupIndexOf(*index, cls));
        }
        if (const JsonValue* index = fields["orderingIndex"].value) {
            Step indexStep(this, "orderingIndex");
            key->setOrderingIndex(lookupIndexOf(*index, cls));
        }
    }

    void linkForeignKey(const Fields<kForeignKeyKeys>& fields, ORXForeignKey* foreignKey,
                        ORXClass* cls) {
        linkKeyIndexes(fields, foreignKey, cls);
        if (const JsonValue* references = fields["references"].value) {
            Step referencesStep(this, "references");
            foreignKey->addCandidateKey(lookupAs<ORXCandidateKey>(*references, "a candidate key"));
        }
        if (const JsonValue* maps = fields["nameMaps"].value) {
            Step mapsStep(this, "nameMaps");
            forEach(*maps, [&](const JsonValue& map, std::size_t) {
                auto mapFields = readKeys<kNameMapKeys>(map);
                ORXAttribute* source;
                ORXAttribute* destination;
                {
                    const JsonValue& value = require(mapFields["source"]);
                    Step sourceStep(this, "source");
                    source = lookupAs<ORXAttribute>(value, "an attribute");
                }
                {
                    const JsonValue& value = require(mapFields["destination"]);
                    Step destinationStep(this, "destination");
                    destination = lookupAttributeOf(value, cls);
                }
                auto* made = new ORXAssociationRoleNameMap(foreignKey, source, destination);
                registerId(mapFields["id"], made);
            });
        }
    }

    void linkIndex(const JsonValue& item, ORXClass* cls) {
        Fields<kIndexKeys> fields(item);
        auto* index = built<ORXIndex>(item);
        if (const JsonValue* key = fields["key"].value) {
            Step keyStep(this, "key");
            index->addKey(lookupKeyOf(*key, cls));
        }
        if (const JsonValue* members = fields["members"].value) {
            Step membersStep(this, "members");
            forEach(*members, [&](const JsonValue& member, std::size_t i) {
                Fields<kIndexMemberKeys> memberFields(member);
                ORXAttribute* attribute;
                {
                    Step attributeStep(this, "attribute");
                    attribute = lookupAttributeOf(*memberFields["attribute"].value, cls);
                }
                int position = getInt(memberFields["position"], static_cast<int>(i));
                auto* made = new ORXIndexMember(index, attribute, static_cast<short>(position),
                                                getInt(memberFields["sortOrder"], 1));
                registerId(memberFields["id"], made);
            });
        }
    }

    // ---- third walk: operation links and diagrams ----------------------------

    ORXModelObject* lookupModelElement(const JsonValue& value) const {
        return lookupAs<ORXModelObject>(value, "a model element");
    }

    void linkOperation(const JsonValue& object) {
        const JsonValue* links = object.find("links");
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
        const JsonValue* children;
        if (as<ORXDesignPackage>(built<ORXPackage>(object))) {
            Fields<kDesignKeys> fields(object);
            // Only classes hold operations; most models have none, and then
            // the elements need no second look.
            const JsonValue* elements = fields["elements"].value;
            if (elements && classOperations_ > 0) {
                Step step(this, "elements");
                forEach(*elements, [&](const JsonValue& item, std::size_t) {
                    const JsonValue* operations = item.find("operations");
                    if (!operations || !operations->isArray())
                        return;
                    Step operationsStep(this, "operations");
                    forEach(*operations, [&](const JsonValue& operation, std::size_t) {
                        linkOperation(operation);
                    });
                });
            }
            if (const JsonValue* procedures = fields["storedProcedures"].value) {
                Step step(this, "storedProcedures");
                forEach(*procedures,
                        [&](const JsonValue& item, std::size_t) { linkOperation(item); });
            }
            if (const JsonValue* diagrams = fields["diagrams"].value) {
                Step step(this, "diagrams");
                forEach(*diagrams, [&](const JsonValue& item, std::size_t) { linkDiagram(item); });
            }
            children = fields["packages"].value;
        } else {
            children = object.find("packages");
        }
        if (children) {
            Step step(this, "packages");
            forEach(*children, [&](const JsonValue& item, std::size_t) { finishPackage(item); });
        }
    }

    void linkDiagram(const JsonValue& object) {
        Fields<kDiagramKeys> fields(object);
        auto* diagram = built<ORXDiagram>(object);
        if (const JsonValue* members = fields["members"].value) {
            Step step(this, "members");
            forEach(*members, [&](const JsonValue& item, std::size_t) {
                lookupModelElement(item)->addDiagram(diagram);  // already a member: fine
            });
        }
        if (const JsonValue* symbols = fields["symbols"].value) {
            Step step(this, "symbols");
            forEach(*symbols, [&](const JsonValue& item, std::size_t) {
                Step subjectStep(this, "subject");
                ORXModelObject* subject = lookupModelElement(*item.find("subject"));
                if (!built<ORXPresentationElement>(item)->addSubjectModelObject(subject)) {
                    fail("the subject cannot be linked");
                }
                subject->addDiagram(diagram);  // already a member: fine
            });
        }
    }

    std::string file_;
    std::vector<JsonPathStep> path_;  // the steps; only the first depth_ are the path
    std::size_t depth_ = 0;
    std::unique_ptr<ORXModel> model_;
    const JsonDocument& document_;
    IdTable ids_;
    std::size_t nextId_ = 0;  // the id in document order that lookAhead expects next
    // The reference in document order that fetchAhead expects next.
    mutable std::size_t nextReference_ = 0;
    std::size_t classOperations_ = 0;  // classes with a list of operations
    std::size_t typeReferences_ = 0;   // attributes that name a type by its id
};

}  // namespace

namespace {

std::unique_ptr<ORXModel> parseJsonText(const char* text, std::size_t size,
                                        const std::string& fileName) {
    JsonDocument document;
    std::string error = document.parse(text, size);
    if (!error.empty())
        throw ModelFileError(fileName + ": " + error);
    Loader loader(fileName, document);
    return loader.load(document.root());
}

// The whole text of a file in one block, NUL-terminated.
struct FileText {
    std::unique_ptr<char, FreeBlock> data;
    std::size_t size = 0;
};

// Closes a file descriptor when it goes out of scope.
struct FileCloser {
    int fd;
    ~FileCloser() { ::close(fd); }
};

// Reads the file at `path` straight into a block sized from the file (one
// copy, from the system's cache into the block). The file may change size
// while it is read: the block grows while the file gives more, and only what
// was read counts.
FileText readFileText(const std::string& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int openError = errno;
        std::error_code kindError;
        if (std::filesystem::is_directory(path, kindError))
            throw ModelFileError(path + ": cannot read the file: " + std::strerror(EISDIR));
        throw ModelFileError(path + ": cannot open the file: " + std::strerror(openError));
    }
    FileCloser closer{fd};
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode))
        throw ModelFileError(path + ": cannot read the file: " + std::strerror(EISDIR));
    // Room for the file, its NUL byte and a little more, so that the read
    // that finds the end needs no regrowth; a file the system gives no size
    // for (a pipe) starts with a small block.
    constexpr std::size_t kSlack = std::size_t{1} << 12;
    std::size_t expected = 0;
    if (S_ISREG(status.st_mode) && status.st_size > 0 &&
        static_cast<std::uintmax_t>(status.st_size) <
            std::numeric_limits<std::size_t>::max() / 2 - kSlack)
        expected = static_cast<std::size_t>(status.st_size);
    FileText text;
    std::size_t capacity = expected + kSlack;
    text.data.reset(static_cast<char*>(allocateBlock(capacity)));
    for (;;) {
        if (capacity - text.size <= 1) {
            // The file gave more than its size said: a block twice as large.
            std::size_t larger = capacity * 2;
            std::unique_ptr<char, FreeBlock> data(static_cast<char*>(allocateBlock(larger)));
            std::memcpy(data.get(), text.data.get(), text.size);
            text.data = std::move(data);
            capacity = larger;
        }
        const ssize_t got = ::read(fd, text.data.get() + text.size, capacity - 1 - text.size);
        if (got > 0) {
            text.size += static_cast<std::size_t>(got);
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            throw ModelFileError(path + ": cannot read the file: " + std::strerror(errno));
        }
    }
    text.data.get()[text.size] = '\0';
    return text;
}

}  // namespace

std::unique_ptr<ORXModel> parseJsonModel(const std::string& text, const std::string& fileName) {
    return parseJsonText(text.data(), text.size(), fileName);
}

std::unique_ptr<ORXModel> loadJsonModelFile(const std::string& path) {
    const FileText text = readFileText(path);
    return parseJsonText(text.data.get(), text.size, path);
}

}  // namespace importers
