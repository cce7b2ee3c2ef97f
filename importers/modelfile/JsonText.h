#pragma once
// Reading JSON text into a compact tree, for the model file loader: keeps the
// keys of each object in file order and rejects what the usual parsers let
// through (a key that appears twice in one object).

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace importers {

// Frees a block from allocateBlock.
struct FreeBlock {
    void operator()(void* block) const;
};

// A block of at least `bytes` bytes for a text or a tree, freed with
// FreeBlock; `bytes` is set to the size given. A large block starts on a
// large page boundary and is advised large pages (adviseLargePages), so that
// all of it can have them. Throws std::bad_alloc when there is no memory.
void* allocateBlock(std::size_t& bytes);

// One value of a parsed document. The values of a document lie in one array
// in document order: a container's items follow it directly, and each value
// knows how many array slots its subtree takes, so that the next item of the
// same container is found by skipping over it. Strings are views into the
// parsed text (or into the document, for strings that held escapes).
class JsonValue {
  public:
    // The kinds of value; numbers are told apart the way the loader needs.
    enum class Type : std::uint8_t {
        Null,
        Boolean,
        Integer,
        Unsigned,
        Float,
        String,
        Array,
        Object
    };

    // What a value holds: a scalar's value, a string's first byte, or an
    // object's tag.
    union Payload {
        bool boolean;
        std::int64_t integer;
        std::uint64_t unsignedNumber;
        double number;
        const char* text;
        void* tag;
    };

    Type type() const { return type_; }
    bool isNull() const { return type_ == Type::Null; }
    bool isBoolean() const { return type_ == Type::Boolean; }
    bool isString() const { return type_ == Type::String; }
    bool isArray() const { return type_ == Type::Array; }
    bool isObject() const { return type_ == Type::Object; }
    // Whether the value is a number written without fraction or exponent
    // that fits 64 bits (signed when negative, unsigned otherwise).
    bool isInteger() const { return type_ == Type::Integer || type_ == Type::Unsigned; }
    bool isUnsigned() const { return type_ == Type::Unsigned; }
    bool isFloat() const { return type_ == Type::Float; }
    bool isNumber() const { return isInteger() || isFloat(); }

    // The key of an object member (empty for an array item or the root).
    std::string_view key() const { return {key_, keyLength_}; }

    bool boolean() const { return value_.boolean; }
    // A whole number as a signed value (an unsigned one is converted).
    std::int64_t integer() const {
        return type_ == Type::Unsigned ? static_cast<std::int64_t>(value_.unsignedNumber)
                                       : value_.integer;
    }
    std::uint64_t unsignedValue() const { return value_.unsignedNumber; }
    double number() const {
        return type_ == Type::Float      ? value_.number
               : type_ == Type::Unsigned ? static_cast<double>(value_.unsignedNumber)
                                         : static_cast<double>(value_.integer);
    }
    std::string_view string() const { return {value_.text, length_}; }

    // The number of items of an array or members of an object.
    std::size_t size() const { return length_; }

    // A walk over the items of an array or the members of an object.
    class Iterator {
      public:
        explicit Iterator(const JsonValue* at) : at_(at) {}
        const JsonValue& operator*() const { return *at_; }
        const JsonValue* operator->() const { return at_; }
        Iterator& operator++() {
            at_ += at_->span_;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return at_ != other.at_; }
        bool operator==(const Iterator& other) const { return at_ == other.at_; }

      private:
        const JsonValue* at_;
    };
    Iterator begin() const { return Iterator(this + 1); }
    Iterator end() const { return Iterator(this + span_); }

    // The member of an object with the given key, or null.
    const JsonValue* find(std::string_view key) const {
        for (const JsonValue& member : *this) {
            if (member.key() == key)
                return &member;
        }
        return nullptr;
    }

    // A pointer that the user of an object may attach to it (the loader
    // keeps the model object it made from it). Objects only.
    void* tag() const { return value_.tag; }
    void setTag(void* tag) const { value_.tag = tag; }

  private:
    friend class JsonDocument;
    friend class JsonTreeBuilder;
    friend class JsonTextReader;

    const char* key_ = nullptr;
    mutable Payload value_{};
    std::uint32_t keyLength_ = 0;
    std::uint32_t length_ = 0;  // string length, or item count of a container
    std::uint32_t span_ = 1;    // slots taken by this value and everything in it
    Type type_ = Type::Null;
};

// A parsed JSON text. The text must outlive the document: strings without
// escapes are views into it.
class JsonDocument {
  public:
    // Parses `text`. Returns an empty string on success, else the error
    // without the file name: "line 3, column 7: ..." for a syntax error
    // (also for bytes that are not UTF-8), "packages[0].name: duplicate key"
    // for a key repeated in one object.
    std::string parse(const std::string& text);
    // The same for the `size` bytes at `text`, which must be followed by a
    // NUL byte (text[size] == '\0'), as a std::string's are.
    std::string parse(const char* text, std::size_t size);

    // The top value; only valid after a successful parse.
    const JsonValue& root() const { return values_[0]; }

    // The number of object members named "id", to size maps of ids.
    std::size_t idCount() const { return idCount_; }

    // The low 32 bits of the idHash of each string value of an object member
    // named "id", in document order, so that a user taking the ids in about
    // that order can look ahead without reading the text again. Empty when
    // the tree came from the slower parser that only texts the fast reader
    // turns down need.
    const std::vector<std::uint32_t>& idHashes() const { return idHashes_; }

    // A string that may name an object by its id: the value of a member
    // whose key the model file uses for references ("class", "subject",
    // "attribute", ...) or an item of a list of them ("attributes",
    // "members", ...). `at` is its place in the tree (see indexOf), `hash`
    // the low 32 bits of its idHash.
    struct Reference {
        std::uint32_t at;
        std::uint32_t hash;
    };
    // The references in document order, noted while the text is at hand,
    // so that a user resolving them in about that order can fetch the look-
    // up of one a few ahead. Some may name no object at all: only advice.
    // Empty when the tree came from the slower parser, and for a text of
    // fewer than referencesFrom() bytes.
    const std::vector<Reference>& references() const { return references_; }

    // The size of text from which parse notes the references. A smaller
    // model's id table stays in the processor's caches, where fetching
    // ahead gains nothing and noting would cost the parse time.
    static constexpr std::size_t kReferencesFrom = std::size_t{8} << 20;
    std::size_t referencesFrom() const { return referencesFrom_; }
    void setReferencesFrom(std::size_t bytes) { referencesFrom_ = bytes; }

    // The place of a value of this document's tree, counted from the root.
    std::size_t indexOf(const JsonValue& value) const {
        return static_cast<std::size_t>(&value - values_.get());
    }

    // Frees the tree.
    void clear();

  private:
    friend class JsonTreeBuilder;
    friend class JsonTextReader;

    // A new value at the end of the tree, default-initialised.
    JsonValue& append() {
        if (size_ == capacity_)
            grow();
        return *new (&values_[size_++]) JsonValue;
    }
    // Makes room for at least one more value.
    void grow();
    // Gives the tree room for `capacity` values.
    void reserve(std::size_t capacity);

    // The values in document order, in one block that grows by doubling.
    std::unique_ptr<JsonValue[], FreeBlock> values_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    std::deque<std::string> strings_;  // decoded strings that held escapes
    std::size_t idCount_ = 0;
    std::vector<std::uint32_t> idHashes_;
    std::vector<Reference> references_;
    std::size_t referencesFrom_ = kReferencesFrom;
};

// An id of up to 8 bytes as one word: its first four and its last four
// bytes (which overlap when it is shorter), or for fewer than four bytes its
// first, middle and last. With the length, the word tells such ids apart
// exactly. 0 for a longer id.
inline std::uint64_t idWord(std::string_view text) {
    const char* p = text.data();
    const std::size_t n = text.size();
    auto load32 = [](const char* at) {
        std::uint32_t word;
        std::memcpy(&word, at, sizeof word);
        return std::uint64_t{word};
    };
    if (n > 8)
        return 0;
    if (n >= 4)
        return load32(p) | load32(p + n - 4) << 32;
    auto byte = [p](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(p[i])}; };
    return n == 0 ? 0 : byte(0) | byte(n / 2) << 8 | byte(n - 1) << 16;
}

// A hash of an id for tables of ids: mixes its idWord, or its text 8 bytes
// at a time, with multiplications. The reader takes it for each "id" member
// while the text is in the cache.
inline std::uint64_t idHash(std::string_view text, std::uint64_t word) {
    const char* p = text.data();
    const std::size_t n = text.size();
    std::uint64_t hash = n * 0x9E3779B97F4A7C15ull;
    auto mix = [&hash](std::uint64_t bits) {
        hash = (hash ^ bits) * 0xBF58476D1CE4E5B9ull;
        hash ^= hash >> 31;
    };
    if (n > 8) {
        std::uint64_t bits;
        std::size_t at = 0;
        for (; at + 8 < n; at += 8) {
            std::memcpy(&bits, p + at, sizeof bits);
            mix(bits);
        }
        std::memcpy(&bits, p + n - 8, sizeof bits);
        mix(bits);
    } else {
        mix(word);
    }
    hash *= 0x94D049BB133111EBull;
    return hash ^ (hash >> 32);
}

// One step of a JSON path: a key of an object or an index of an array.
struct JsonPathStep {
    std::string_view key;
    std::size_t index = 0;
    bool isIndex = false;
};

// The text of a JSON path, "packages[1].elements[3]"; "$" for the root.
std::string formatJsonPath(const JsonPathStep* steps, std::size_t count);

// `text` with every byte that is not printable ASCII written as \xNN, so
// that messages stay readable whatever the file held.
std::string printableText(std::string_view text);

// Appends `text` to `out` as a JSON string literal: quotes, escapes for
// quotes, backslashes and control characters, and U+FFFD for each byte
// sequence that is not UTF-8. Returns false when there was such a sequence.
bool appendJsonString(std::string& out, std::string_view text);

// Asks the system to back the whole large pages (2 MiB) inside the `size`
// bytes at `data` with large pages where it can, so that a large text or tree
// costs a page fault per large page instead of one per 4 KiB. Only advice:
// the memory holds the same bytes either way; small blocks are left alone.
void adviseLargePages(void* data, std::size_t size);

// The names of the update and delete rules, indexed by their codes 1 to 5
// (index 0 is empty).
extern const char* const kRuleNames[6];

}  // namespace importers
