#include "importers/modelfile/JsonText.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <unordered_set>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace importers {

const char* const kRuleNames[6] = {"", "noAction", "cascade", "restrict", "setNull", "setDefault"};

std::string formatJsonPath(const JsonPathStep* steps, std::size_t count) {
    if (count == 0)
        return "$";
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        if (steps[i].isIndex) {
            out += '[';
            out += std::to_string(steps[i].index);
            out += ']';
        } else {
            if (!out.empty())
                out += '.';
            // A key is shown as it stands unless it is empty or holds bytes
            // that would break a one-line message; then it is quoted.
            std::string_view key = steps[i].key;
            bool plain = !key.empty();
            for (unsigned char c : key)
                plain = plain && c > 0x20 && c < 0x7f && c != '"' && c != '.' && c != '[';
            if (plain)
                out += key;
            else
                out += '"' + printableText(key) + '"';
        }
    }
    return out;
}

std::string printableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
            out += buffer;
        }
    }
    return out;
}

namespace {

// The bytes that may follow `lead` as the second byte of a UTF-8 sequence,
// and how many bytes follow it; 0 continuation bytes means `lead` cannot
// start a sequence. Overlong forms, surrogates and code points above
// U+10FFFF are excluded by the second byte's range.
struct Utf8Lead {
    unsigned char low, high;
    int continuation;
};

Utf8Lead utf8Lead(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF)
        return {0x80, 0xBF, 1};
    if (lead == 0xE0)
        return {0xA0, 0xBF, 2};
    if (lead == 0xED)
        return {0x80, 0x9F, 2};
    if (lead >= 0xE1 && lead <= 0xEF)
        return {0x80, 0xBF, 2};
    if (lead == 0xF0)
        return {0x90, 0xBF, 3};
    if (lead >= 0xF1 && lead <= 0xF3)
        return {0x80, 0xBF, 3};
    if (lead == 0xF4)
        return {0x80, 0x8F, 3};
    return {0, 0, 0};
}

}  // namespace

bool appendJsonString(std::string& out, std::string_view text) {
    static const char* const kReplacement = "\xEF\xBF\xBD";
    bool allValid = true;
    out += '"';
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        // Copy the longest run that needs no escape in one go.
        std::size_t run = i;
        while (run < size) {
            auto c = static_cast<unsigned char>(text[run]);
            if (c < 0x20 || c == '"' || c == '\\' || c >= 0x80)
                break;
            ++run;
        }
        out.append(text.data() + i, run - i);
        i = run;
        if (i == size)
            break;
        auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            switch (c) {
                case '"':
                    out += "\\\"";
                    break;
                case '\\':
                    out += "\\\\";
                    break;
                case '\b':
                    out += "\\b";
                    break;
                case '\t':
                    out += "\\t";
                    break;
                case '\n':
                    out += "\\n";
                    break;
                case '\f':
                    out += "\\f";
                    break;
                case '\r':
                    out += "\\r";
                    break;
                default: {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                    out += buffer;
                    break;
                }
            }
            ++i;
            continue;
        }
        // A multi-byte sequence: copied when complete and valid; otherwise the
        // bytes read so far become one U+FFFD and the byte that broke the
        // sequence is read again as the start of the next one.
        Utf8Lead lead = utf8Lead(c);
        if (lead.continuation == 0) {
            out += kReplacement;
            allValid = false;
            ++i;
            continue;
        }
        std::size_t k = 1;
        bool valid = true;
        for (; k <= static_cast<std::size_t>(lead.continuation); ++k) {
            if (i + k >= size) {
                valid = false;
                break;
            }
            auto next = static_cast<unsigned char>(text[i + k]);
            bool inRange =
                k == 1 ? next >= lead.low && next <= lead.high : next >= 0x80 && next <= 0xBF;
            if (!inRange) {
                valid = false;
                break;
            }
        }
        if (valid) {
            out.append(text.data() + i, k);
            i += k;
        } else {
            out += kReplacement;
            allValid = false;
            i += k;  // stops at the byte that broke the sequence, or at the end
        }
    }
    out += '"';
    return allValid;
}

// Builds a document's tree from nlohmann's parse events, for a text the
// reader below refused. Detects a key repeated in one object, naming the
// path of the repetition as the message.
class JsonTreeBuilder {
  public:
    explicit JsonTreeBuilder(JsonDocument& document) : document_(document) {}

    // Keeps a string that is not a view into the parsed text.
    std::string_view keep(std::string&& text) {
        document_.strings_.push_back(std::move(text));
        return document_.strings_.back();
    }

    void scalar(JsonValue::Type type, JsonValue::Payload payload, std::uint32_t length = 0) {
        JsonValue& value = add();
        value.type_ = type;
        value.value_ = payload;
        value.length_ = length;
    }
    void string(std::string_view text) {
        JsonValue::Payload payload;
        payload.text = text.data();
        scalar(JsonValue::Type::String, payload, static_cast<std::uint32_t>(text.size()));
    }
    void open(JsonValue::Type type) {
        JsonValue& value = add();
        value.type_ = type;
        value.value_.tag = nullptr;
        frames_.push_back(Frame{static_cast<std::uint32_t>(document_.size_ - 1), {}, {}});
    }
    void close() {
        std::uint32_t at = frames_.back().value;
        document_.values_[at].span_ = static_cast<std::uint32_t>(document_.size_ - at);
        frames_.pop_back();
    }

    // Takes the key of the next member of the innermost object; false when
    // the object already has it.
    bool key(std::string_view name) {
        Frame& frame = frames_.back();
        const JsonValue* values = document_.values_.get();
        const std::size_t size = document_.size_;
        const JsonValue& object = values[frame.value];
        bool seen = false;
        // Small objects are scanned; large ones get a set, so that an object
        // with very many keys does not take quadratic time.
        if (object.length_ < 16) {
            for (std::size_t at = frame.value + 1; at < size; at += values[at].span_) {
                if (values[at].key() == name) {
                    seen = true;
                    break;
                }
            }
        } else {
            if (!frame.names) {
                frame.names = std::make_unique<std::unordered_set<std::string_view>>();
                for (std::size_t at = frame.value + 1; at < size; at += values[at].span_)
                    frame.names->insert(values[at].key());
            }
            seen = !frame.names->insert(name).second;
        }
        frame.key = name;
        if (seen) {
            error_ = currentPath() + ": duplicate key";
            return false;
        }
        if (isIdKey(name))
            ++document_.idCount_;
        return true;
    }

    std::string& error() { return error_; }

    static bool isIdKey(std::string_view name) {
        return name.size() == 2 && name[0] == 'i' && name[1] == 'd';
    }

  private:
    struct Frame {
        std::uint32_t value;
        std::string_view key;  // the key whose value comes next (objects only)
        std::unique_ptr<std::unordered_set<std::string_view>> names;
    };

    JsonValue& add() {
        JsonValue& value = document_.append();
        if (!frames_.empty()) {
            Frame& frame = frames_.back();
            JsonValue& parent = document_.values_[frame.value];
            ++parent.length_;
            if (parent.type_ == JsonValue::Type::Object) {
                value.key_ = frame.key.data();
                value.keyLength_ = static_cast<std::uint32_t>(frame.key.size());
            }
        }
        return value;
    }

    // The path of the innermost open container plus its pending key.
    std::string currentPath() const {
        const JsonValue* values = document_.values_.get();
        std::vector<JsonPathStep> steps;
        for (std::size_t i = 1; i < frames_.size(); ++i) {
            const JsonValue& parent = values[frames_[i - 1].value];
            if (parent.type_ == JsonValue::Type::Array) {
                steps.push_back({{}, parent.length_ - 1, true});
            } else {
                steps.push_back({values[frames_[i].value].key(), 0, false});
            }
        }
        steps.push_back({frames_.back().key, 0, false});
        return formatJsonPath(steps.data(), steps.size());
    }

    JsonDocument& document_;
    std::vector<Frame> frames_;
    std::string error_;
};

namespace {

// The end of a run of spaces starting at `p`. `stop` is one past the text's
// closing NUL: no read goes beyond it.
inline const char* skipSpaces(const char* p, const char* stop) {
#if defined(__SSE2__)
    // Indentation comes in runs of a dozen or two spaces: sixteen bytes are
    // compared at once, so that a run costs one or two steps and the loop
    // rarely guesses its end wrong.
    const __m128i space = _mm_set1_epi8(' ');
    while (stop - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned other =
            ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, space))) & 0xFFFFu;
        if (other != 0)
            return p + std::countr_zero(other);
        p += 16;
    }
#endif
    while (*p == ' ')
        ++p;
    return p;
}

// The first byte at or after `p` that ends a run of plain string content: a
// quote, a backslash, a control character (the closing NUL among them) or a
// byte of a multi-byte sequence.
inline const char* skipPlain(const char* p, const char* stop) {
#if defined(__SSE2__)
    // Bytes from 0x80 up compare below 0x20 as signed bytes, so one signed
    // comparison finds control characters and multi-byte sequences alike.
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i control = _mm_set1_epi8(0x20);
    while (stop - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i special = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, quote), _mm_cmpeq_epi8(bytes, backslash)),
            _mm_cmplt_epi8(bytes, control));
        const auto found = static_cast<unsigned>(_mm_movemask_epi8(special));
        if (found != 0)
            return p + std::countr_zero(found);
        p += 16;
    }
#endif
    for (;;) {
        auto c = static_cast<unsigned char>(*p);
        if (c == '"' || c == '\\' || c < 0x20 || c >= 0x80)
            return p;
        ++p;
    }
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The keys of members whose string value names an object by its id.
constexpr std::string_view kReferenceKeys[] = {
    "key",        "type",       "class",       "index",        "owner",
    "source",     "subject",    "attribute",   "supertype",    "foreignKey",
    "primaryKey", "references", "destination", "orderingIndex"};
// The keys of lists whose string items name objects by their ids.
constexpr std::string_view kReferenceListKeys[] = {"links", "members", "subtypes", "attributes",
                                                   "foreignKeys"};

template <std::size_t N>
bool isOneOf(std::string_view name, const std::string_view (&keys)[N]) {
    return std::find(keys, keys + N, name) != keys + N;
}

// A bit for a hash of a non-empty key's first and last bytes and length.
constexpr std::uint64_t keyBit(std::string_view key) {
    return std::uint64_t{1} << ((static_cast<unsigned char>(key[0]) * 7u +
                                 static_cast<unsigned char>(key[key.size() - 1]) * 3u +
                                 key.size()) &
                                63u);
}

// The bits of the reference keys.
constexpr std::uint64_t kReferenceKeyBits = [] {
    std::uint64_t bits = 0;
    for (std::string_view key : kReferenceKeys)
        bits |= keyBit(key);
    return bits;
}();

}  // namespace

// A strict JSON reader over a NUL-terminated text that builds the document's
// tree as it reads, each value written once into its place. It accepts
// exactly the texts nlohmann's parser accepts, but reports any error only as
// a failure: the caller then runs nlohmann's parser for the message, whose
// wording users and tests know.
class JsonTextReader {
  public:
    JsonTextReader(const char* text, std::size_t size, JsonDocument& document)
        : text_(text),
          end_(text + size),
          stop_(end_ + 1),
          document_(document),
          noteReferences_(size >= document.referencesFrom_) {
        frames_.reserve(64);
    }

    // Reads the whole text; false when it is not a JSON document or has a
    // key twice in one object.
    bool read() {
        const char* p = text_;
        if (static_cast<unsigned char>(*p) == 0xEF) {
            if (end_ - p < 3 || static_cast<unsigned char>(p[1]) != 0xBB ||
                static_cast<unsigned char>(p[2]) != 0xBF)
                return false;
            p += 3;
        }
        p = skipBlank(p);
        JsonValue* value = &document_.append();
        Frame* top = nullptr;  // the innermost open container

        // A loop over the tokens, without recursion: each label is a place in
        // the grammar, so that after a value the reader knows what may come.
    readValue:
        switch (*p) {
            case '{':
                ++p;
                top = open(*value, true);
                p = skipLine(p, top->itemIndent);
                if (*p == '}') {
                    ++p;
                    goto closeContainer;
                }
                goto readMember;
            case '[':
                ++p;
                top = open(*value, false);
                p = skipLine(p, top->itemIndent);
                if (*p == ']') {
                    ++p;
                    goto closeContainer;
                }
                value = item(*top, nullptr, 0);
                goto readValue;
            case '"':
                ++p;
                if (!readString(p, *value))
                    return false;
                if (top != nullptr && top->references)
                    noteReference(*value);
                break;
            case 't':
                if (!literal(p, "true", JsonValue::Type::Boolean, true, *value))
                    return false;
                break;
            case 'f':
                if (!literal(p, "false", JsonValue::Type::Boolean, false, *value))
                    return false;
                break;
            case 'n':
                if (!literal(p, "null", JsonValue::Type::Null, false, *value))
                    return false;
                break;
            default:
                p = readNumber(p, *value);
                if (p == nullptr)
                    return false;
                break;
        }
    afterValue:
        if (top == nullptr)
            return skipBlank(p) == end_;
        // A comma mostly follows its item directly; a line break, the end of
        // the container.
        p = skipLine(p, top->closeIndent);
        if (*p == ',') {
            p = skipLine(p + 1, top->itemIndent);
            if (top->isObject)
                goto readMember;
            value = item(*top, nullptr, 0);
            goto readValue;
        }
        if (*p != (top->isObject ? '}' : ']'))
            return false;
        ++p;
    closeContainer : {
        JsonValue& container = document_.values_[top->at];
        container.length_ = top->count;
        container.span_ = static_cast<std::uint32_t>(document_.size_ - top->at);
        --depth_;
        top = depth_ == 0 ? nullptr : &frames_[depth_ - 1];
    }
        goto afterValue;
    readMember : {
        if (*p != '"')
            return false;
        ++p;
        std::string_view name;
        if (!readString(p, name) || !takeKey(*top, name))
            return false;
        p = skipBlank(p);
        if (*p != ':')
            return false;
        ++p;
        // Mostly one space before the value.
        p = *p == ' ' && static_cast<unsigned char>(p[1]) > ' ' ? p + 1 : skipBlank(p);
        value = item(*top, name.data(), name.size());
        if (JsonTreeBuilder::isIdKey(name) && *p == '"') {
            // An id: its hash is noted while its text is at hand.
            ++p;
            if (!readString(p, *value))
                return false;
            const std::string_view id = value->string();
            document_.idHashes_.push_back(static_cast<std::uint32_t>(idHash(id, idWord(id))));
            goto afterValue;
        }
        if (noteReferences_ && *p == '"' && mayBeReferenceKey(name)) {
            ++p;
            if (!readMaybeReference(p, *value, name))
                return false;
            goto afterValue;
        }
    }
        goto readValue;
    }

  private:
    struct Frame {
        std::uint32_t at;       // the container's place in the tree
        std::uint32_t count;    // its items so far
        std::uint64_t keyBits;  // a bit for the hash of each key so far (objects)
        bool isObject;
        bool keySet;      // keySets_ at this depth holds the object's keys
        bool references;  // an array whose string items are references
        // The spaces that began the last line of an item and of a closing
        // bracket at this depth: in an indented file the next are alike.
        std::uint32_t itemIndent;
        std::uint32_t closeIndent;
    };

    // Opens a container one level deeper. The frames of each depth are kept
    // when closed, so that the indentation seen there is guessed again.
    Frame* open(JsonValue& container, bool isObject) {
        container.type_ = isObject ? JsonValue::Type::Object : JsonValue::Type::Array;
        container.value_.tag = nullptr;
        const auto at = static_cast<std::uint32_t>(&container - document_.values_.get());
        if (depth_ == frames_.size())
            frames_.push_back(Frame{});
        Frame& frame = frames_[depth_++];
        frame.at = at;
        frame.count = 0;
        frame.keyBits = 0;
        frame.isObject = isObject;
        frame.keySet = false;
        frame.references =
            noteReferences_ && !isObject && isOneOf(container.key(), kReferenceListKeys);
        return &frame;
    }

    // Whether a member with the key `name` may be a reference: one test of a
    // bit (keyBit), which turns away most other keys (names, data types,
    // comments) before any comparison of bytes.
    static bool mayBeReferenceKey(std::string_view name) {
        return !name.empty() && (kReferenceKeyBits & keyBit(name)) != 0;
    }

    // Reads the string value of the member `key` and notes it when the key is
    // one of references. Out of the reader's loop, which most strings do not
    // come to.
    [[gnu::noinline]] bool readMaybeReference(const char*& p, JsonValue& value,
                                              std::string_view key) {
        if (!readString(p, value))
            return false;
        if (isOneOf(key, kReferenceKeys))
            noteReference(value);
        return true;
    }

    // Notes a string that may be a reference, with its hash taken while its
    // text is at hand.
    void noteReference(const JsonValue& value) {
        const std::string_view id = value.string();
        document_.references_.push_back(
            {static_cast<std::uint32_t>(&value - document_.values_.get()),
             static_cast<std::uint32_t>(idHash(id, idWord(id)))});
    }

    // Skips the blanks before a token, guessing a line break and `indent`
    // spaces: the guess, checked, lets the processor go on to the token
    // before the count of spaces is known. `indent` learns the real count.
    [[gnu::always_inline]] const char* skipLine(const char* p, std::uint32_t& indent) const {
#if defined(__SSE2__)
        if (*p == '\n' && stop_ - p > 33) {
            const char* line = p + 1;
            const __m128i space = _mm_set1_epi8(' ');
            const auto low = static_cast<unsigned>(_mm_movemask_epi8(
                _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(line)), space)));
            const auto high = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + 16)), space)));
            const auto run = static_cast<std::uint32_t>(std::countr_one(low | high << 16));
            const char* guess = line + indent;
            if (run == indent && static_cast<unsigned char>(*guess) > ' ')
                return guess;
            if (run < 32 && static_cast<unsigned char>(line[run]) > ' ') {
                indent = run;
                return line + run;
            }
        }
#else
        (void)indent;
#endif
        return skipBlank(p);
    }

    // The next item of `container`, its key set; its value comes next.
    JsonValue* item(Frame& container, const char* key, std::size_t keyLength) {
        ++container.count;
        JsonValue& value = document_.append();
        value.key_ = key;
        value.keyLength_ = static_cast<std::uint32_t>(keyLength);
        return &value;
    }

    const char* skipBlank(const char* p) const {
        for (;;) {
            auto c = static_cast<unsigned char>(*p);
            if (c > ' ')
                return p;
            if (c == ' ')
                p = skipSpaces(p, stop_);
            else if (c == '\n' || c == '\r' || c == '\t')
                ++p;
            else
                return p;
        }
    }

    // Reads the word `text` at `p` as a literal of the given type.
    bool literal(const char*& p, std::string_view text, JsonValue::Type type, bool flag,
                 JsonValue& value) const {
        if (static_cast<std::size_t>(end_ - p) < text.size() ||
            std::memcmp(p, text.data(), text.size()) != 0)
            return false;
        p += text.size();
        value.type_ = type;
        value.value_.integer = 0;
        value.value_.boolean = flag;
        return true;
    }

    // Takes the key of the next member of `object`; false when the object
    // already has it. Each object keeps a bit per hash of its keys, so that
    // a new key is mostly known new without a look at the others; an object
    // of many keys gets a set, so that it does not take quadratic time.
    bool takeKey(Frame& object, std::string_view name) {
        if (JsonTreeBuilder::isIdKey(name))
            ++document_.idCount_;
        const std::size_t n = name.size();
        const unsigned hash = n == 0 ? 0u
                                     : static_cast<unsigned char>(name[0]) * 7u +
                                           static_cast<unsigned char>(name[n - 1]) * 3u +
                                           static_cast<unsigned>(n);
        const std::uint64_t bit = std::uint64_t{1} << (hash & 63u);
        if (!object.keySet) {
            if ((object.keyBits & bit) == 0) {
                object.keyBits |= bit;
                return true;
            }
            if (object.count < 16)
                return !hasKey(object, name);
            const auto depth = static_cast<std::size_t>(&object - frames_.data());
            if (keySets_.size() <= depth)
                keySets_.resize(depth + 1);
            std::unordered_set<std::string_view>& keys = keySets_[depth];
            keys.clear();
            const JsonValue* values = document_.values_.get();
            for (std::size_t at = object.at + 1; at < document_.size_; at += values[at].span_)
                keys.insert(values[at].key());
            object.keySet = true;
        }
        const auto depth = static_cast<std::size_t>(&object - frames_.data());
        return keySets_[depth].insert(name).second;
    }

    bool hasKey(const Frame& object, std::string_view name) const {
        const JsonValue* values = document_.values_.get();
        for (std::size_t at = object.at + 1; at < document_.size_; at += values[at].span_) {
            if (values[at].key() == name)
                return true;
        }
        return false;
    }

    // Reads a number at `p` into `value`. Returns where it ends, or null.
    // The position is passed by value, here and in the other readers, so
    // that the token loop keeps its own in a register.
    static const char* readNumber(const char* p, JsonValue& value) {
        const char* start = p;
        const bool negative = *p == '-';
        if (negative)
            ++p;
        const char* digits = p;
        std::uint64_t magnitude = 0;
        if (*p == '0') {
            ++p;
        } else if (*p >= '1' && *p <= '9') {
            // Up to 19 digits cannot overflow 64 bits; longer numbers are
            // checked digit by digit below.
            do {
                magnitude = magnitude * 10 + static_cast<std::uint64_t>(*p - '0');
                ++p;
            } while (isDigit(*p));
        } else {
            return nullptr;
        }
        if (*p == '.' || *p == 'e' || *p == 'E')
            return readFloat(p, start, value);
        if (p - digits > 19 && !wholeMagnitude(digits, p, magnitude))
            return readFloat(p, start, value);
        if (!negative) {
            value.type_ = JsonValue::Type::Unsigned;
            value.value_.unsignedNumber = magnitude;
            return p;
        }
        // Whole numbers that fit 64 bits stay whole; larger ones are read as
        // floating point, like nlohmann does.
        constexpr std::uint64_t kLowest = std::uint64_t{1} << 63;
        if (magnitude > kLowest)
            return readFloat(p, start, value);
        value.type_ = JsonValue::Type::Integer;
        value.value_.integer = magnitude == kLowest ? std::numeric_limits<std::int64_t>::min()
                                                    : -static_cast<std::int64_t>(magnitude);
        return p;
    }

    // The value of the digits from `digits` to `end`; false when it does not
    // fit 64 bits.
    static bool wholeMagnitude(const char* digits, const char* end, std::uint64_t& magnitude) {
        magnitude = 0;
        for (const char* d = digits; d < end; ++d) {
            auto digit = static_cast<std::uint64_t>(*d - '0');
            if (magnitude > (std::numeric_limits<std::uint64_t>::max() - digit) / 10)
                return false;
            magnitude = magnitude * 10 + digit;
        }
        return true;
    }

    // Reads the rest of a number from `p` (a fraction or exponent, or
    // nothing for a whole number too large for 64 bits) as floating point.
    // Returns where the number ends, or null.
    static const char* readFloat(const char* p, const char* start, JsonValue& value) {
        if (*p == '.') {
            ++p;
            if (!isDigit(*p))
                return nullptr;
            while (isDigit(*p))
                ++p;
        }
        if (*p == 'e' || *p == 'E') {
            ++p;
            if (*p == '+' || *p == '-')
                ++p;
            if (!isDigit(*p))
                return nullptr;
            while (isDigit(*p))
                ++p;
        }
        double number = 0;
        auto result = std::from_chars(start, p, number);
        // Out of range (overflow, or an underflow nlohmann would accept):
        // leave the decision and the message to nlohmann.
        if (result.ec != std::errc() || result.ptr != p || !std::isfinite(number))
            return nullptr;
        value.type_ = JsonValue::Type::Float;
        value.value_.number = number;
        return p;
    }

    static int hexDigit(char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    static bool hex4(const char*& p, unsigned& code) {
        code = 0;
        for (int i = 0; i < 4; ++i) {
            int digit = hexDigit(p[i]);
            if (digit < 0)
                return false;
            code = code * 16 + static_cast<unsigned>(digit);
        }
        p += 4;
        return true;
    }

    // Checks one multi-byte UTF-8 sequence at `p`. Returns where it ends,
    // or null.
    static const char* utf8Sequence(const char* p) {
        Utf8Lead lead = utf8Lead(static_cast<unsigned char>(*p));
        if (lead.continuation == 0)
            return nullptr;
        auto second = static_cast<unsigned char>(p[1]);
        if (second < lead.low || second > lead.high)
            return nullptr;
        for (int k = 2; k <= lead.continuation; ++k) {
            auto next = static_cast<unsigned char>(p[k]);
            if (next < 0x80 || next > 0xBF)
                return nullptr;
        }
        return p + lead.continuation + 1;
    }

    // Reads a string after its opening quote as `value`.
    bool readString(const char*& p, JsonValue& value) {
        std::string_view text;
        if (!readString(p, text))
            return false;
        value.type_ = JsonValue::Type::String;
        value.value_.text = text.data();
        value.length_ = static_cast<std::uint32_t>(text.size());
        return true;
    }

    // Reads a string after its opening quote. Without escapes the string is
    // a view into the text; with escapes it is decoded into the document.
    bool readString(const char*& p, std::string_view& out) {
        const char* start = p;
        for (;;) {
            p = skipPlain(p, stop_);
            auto c = static_cast<unsigned char>(*p);
            if (c == '"') {
                out = std::string_view(start, static_cast<std::size_t>(p - start));
                ++p;
                return true;
            }
            if (c >= 0x80) {
                p = utf8Sequence(p);
                if (p == nullptr)
                    return false;
            } else if (c == '\\') {
                p = readEscaped(p, start);
                if (p == nullptr)
                    return false;
                out = document_.strings_.back();
                return true;
            } else {
                return false;  // a control character or the end of the text
            }
        }
    }

    // Reads the rest of a string from its first backslash at `p`, decoding
    // it into the document's last string. Returns where the string ends, or
    // null.
    const char* readEscaped(const char* p, const char* start) {
        std::string decoded(start, static_cast<std::size_t>(p - start));
        for (;;) {
            auto c = static_cast<unsigned char>(*p);
            if (c == '"') {
                ++p;
                document_.strings_.push_back(std::move(decoded));
                return p;
            }
            if (c < 0x20)
                return nullptr;
            if (c >= 0x80) {
                const char* sequence = p;
                p = utf8Sequence(p);
                if (p == nullptr)
                    return nullptr;
                decoded.append(sequence, static_cast<std::size_t>(p - sequence));
                continue;
            }
            ++p;
            if (c != '\\') {
                decoded += static_cast<char>(c);
                continue;
            }
            char escape = *p++;
            switch (escape) {
                case '"':
                case '\\':
                case '/':
                    decoded += escape;
                    break;
                case 'b':
                    decoded += '\b';
                    break;
                case 'f':
                    decoded += '\f';
                    break;
                case 'n':
                    decoded += '\n';
                    break;
                case 'r':
                    decoded += '\r';
                    break;
                case 't':
                    decoded += '\t';
                    break;
                case 'u': {
                    unsigned code;
                    if (!hex4(p, code))
                        return nullptr;
                    if (code >= 0xDC00 && code <= 0xDFFF)
                        return nullptr;
                    if (code >= 0xD800 && code <= 0xDBFF) {
                        unsigned low;
                        if (p[0] != '\\' || p[1] != 'u')
                            return nullptr;
                        p += 2;
                        if (!hex4(p, low) || low < 0xDC00 || low > 0xDFFF)
                            return nullptr;
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    }
                    appendUtf8(decoded, code);
                    break;
                }
                default:
                    return nullptr;
            }
        }
    }

    static void appendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    const char* text_;
    const char* end_;
    const char* stop_;  // one past the closing NUL
    JsonDocument& document_;
    const bool noteReferences_;  // whether to note the references (see referencesFrom)
    std::vector<Frame> frames_;  // the first `depth_` are open
    std::size_t depth_ = 0;
    std::vector<std::unordered_set<std::string_view>> keySets_;
};

namespace {

// Feeds nlohmann's parse events to the tree builder, and turns nlohmann's
// syntax errors into messages. The parser is not recursive and neither is
// the builder, so no nesting depth can exhaust the stack here.
class NlohmannEvents {
  public:
    using Json = nlohmann::json;
    using number_integer_t = Json::number_integer_t;
    using number_unsigned_t = Json::number_unsigned_t;
    using number_float_t = Json::number_float_t;
    using string_t = Json::string_t;
    using binary_t = Json::binary_t;

    explicit NlohmannEvents(JsonTreeBuilder& builder) : builder_(builder) {}

    bool null() {
        JsonValue::Payload payload;
        payload.integer = 0;
        builder_.scalar(JsonValue::Type::Null, payload);
        return true;
    }
    bool boolean(bool value) {
        JsonValue::Payload payload;
        payload.integer = 0;
        payload.boolean = value;
        builder_.scalar(JsonValue::Type::Boolean, payload);
        return true;
    }
    bool number_integer(number_integer_t value) {
        JsonValue::Payload payload;
        payload.integer = value;
        builder_.scalar(JsonValue::Type::Integer, payload);
        return true;
    }
    bool number_unsigned(number_unsigned_t value) {
        JsonValue::Payload payload;
        payload.unsignedNumber = value;
        builder_.scalar(JsonValue::Type::Unsigned, payload);
        return true;
    }
    bool number_float(number_float_t value, const string_t&) {
        JsonValue::Payload payload;
        payload.number = value;
        builder_.scalar(JsonValue::Type::Float, payload);
        return true;
    }
    bool string(string_t& value) {
        builder_.string(builder_.keep(std::move(value)));
        return true;
    }
    bool binary(binary_t&) { return false; }  // text JSON has no binary values
    bool start_object(std::size_t) {
        builder_.open(JsonValue::Type::Object);
        return true;
    }
    bool end_object() {
        builder_.close();
        return true;
    }
    bool start_array(std::size_t) {
        builder_.open(JsonValue::Type::Array);
        return true;
    }
    bool end_array() {
        builder_.close();
        return true;
    }
    bool key(string_t& name) { return builder_.key(builder_.keep(std::move(name))); }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) {
        std::string what = e.what();
        static const std::string marker = "parse error at ";
        auto at = what.find(marker);
        builder_.error() =
            printableText(at == std::string::npos ? what : what.substr(at + marker.size()));
        return false;
    }

  private:
    JsonTreeBuilder& builder_;
};

}  // namespace

namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;
constexpr std::size_t kLargePagesFrom = std::size_t{4} << 20;

}  // namespace

void adviseLargePages(void* data, std::size_t size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (size < kLargePagesFrom)
        return;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kLargePage - 1) / kLargePage * kLargePage;
    const std::uintptr_t last = (begin + size) / kLargePage * kLargePage;
    // Only advice: where the system has no large pages to give, nothing
    // changes, so the result is not looked at.
    if (first < last)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)data;
    (void)size;
#endif
}

void FreeBlock::operator()(void* block) const {
    std::free(block);
}

void* allocateBlock(std::size_t& bytes) {
    const std::size_t alignment = bytes >= kLargePagesFrom ? kLargePage : 64;
    bytes = (bytes + alignment - 1) / alignment * alignment;
    void* block = std::aligned_alloc(alignment, bytes);
    if (block == nullptr)
        throw std::bad_alloc();
    adviseLargePages(block, bytes);
    return block;
}

std::string JsonDocument::parse(const std::string& text) {
    return parse(text.data(), text.size());
}

std::string JsonDocument::parse(const char* data, std::size_t size) {
    clear();
    if (size >= std::numeric_limits<std::uint32_t>::max())
        return "the text is larger than 4 GiB";
    // A value takes at least a few bytes of text, most a dozen or more: room
    // for one per 16 bytes spares the tree most of its regrowth and copying
    // (room that is never written costs address space, not memory).
    reserve(size / 16 + 16);
    // A model file names an object about once per 300 bytes: room for one
    // per 256 spares the list its regrowth (room never written costs address
    // space, not memory).
    if (size >= referencesFrom_)
        references_.reserve(size / 256);
    if (JsonTextReader(data, size, *this).read())
        return {};
    // Only a text with an error comes here: a copy for nlohmann costs
    // nothing that matters.
    const std::string text(data, size);
    // The text has an error (or something the reader leaves to nlohmann):
    // parse it again with nlohmann, for the message.
    clear();
    JsonTreeBuilder builder(*this);
    NlohmannEvents events(builder);
    bool ok = nlohmann::json::sax_parse(text, &events, nlohmann::json::input_format_t::json, true);
    if (ok) {
        // nlohmann's lexer takes a NUL byte for the end of the input: what
        // follows one would pass unseen. Inside the document a NUL byte is an
        // error nlohmann reports itself; after it nothing may follow.
        const std::size_t nul = text.find('\0');
        if (nul == std::string::npos)
            return {};
        clear();
        const std::size_t lineStart = text.rfind('\n', nul);
        const std::size_t line =
            static_cast<std::size_t>(
                std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(nul), '\n')) +
            1;
        const std::size_t column = nul - (lineStart == std::string::npos ? 0 : lineStart + 1) + 1;
        return "$: a NUL byte at offset " + std::to_string(nul) + " (line " + std::to_string(line) +
               ", column " + std::to_string(column) + ") after the end of the document";
    }
    clear();
    return builder.error().empty() ? std::string("not a JSON document") : builder.error();
}

void JsonDocument::clear() {
    values_.reset();
    size_ = 0;
    capacity_ = 0;
    std::deque<std::string>().swap(strings_);
    idCount_ = 0;
    std::vector<std::uint32_t>().swap(idHashes_);
    std::vector<Reference>().swap(references_);
}

void JsonDocument::grow() {
    if (size_ >= std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("too many JSON values");
    reserve(capacity_ == 0 ? 16 : capacity_ * 2);
}

void JsonDocument::reserve(std::size_t capacity) {
    if (capacity <= capacity_)
        return;
    // A large tree starts on a large page boundary, so that all of it can
    // be given large pages.
    std::size_t bytes = capacity * sizeof(JsonValue);
    std::unique_ptr<JsonValue[], FreeBlock> values(static_cast<JsonValue*>(allocateBlock(bytes)));
    if (size_ != 0)
        std::memcpy(static_cast<void*>(values.get()), values_.get(), size_ * sizeof(JsonValue));
    values_ = std::move(values);
    capacity_ = capacity;
}

}  // namespace importers
