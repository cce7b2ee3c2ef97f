#include "importers/modelfile/JsonText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <unordered_set>
#include <utility>

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

// Builds a document's tree from parse events, from this file's own parser
// or from nlohmann's. Detects a key repeated in one object, naming the path
// of the repetition as the message.
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
        frames_.push_back(Frame{static_cast<std::uint32_t>(document_.values_.size() - 1), {}, {}});
    }
    void close() {
        std::uint32_t at = frames_.back().value;
        document_.values_[at].span_ = static_cast<std::uint32_t>(document_.values_.size() - at);
        frames_.pop_back();
    }
    bool empty() const { return frames_.empty(); }
    bool inObject() const {
        return document_.values_[frames_.back().value].type_ == JsonValue::Type::Object;
    }

    // Takes the key of the next member of the innermost object; false when
    // the object already has it.
    bool key(std::string_view name) {
        Frame& frame = frames_.back();
        const std::vector<JsonValue>& values = document_.values_;
        const JsonValue& object = values[frame.value];
        bool seen = false;
        // Small objects are scanned; large ones get a set, so that an object
        // with very many keys does not take quadratic time.
        if (object.length_ < 16) {
            for (std::size_t at = frame.value + 1; at < values.size(); at += values[at].span_) {
                if (values[at].key() == name) {
                    seen = true;
                    break;
                }
            }
        } else {
            if (!frame.names) {
                frame.names = std::make_unique<std::unordered_set<std::string_view>>();
                for (std::size_t at = frame.value + 1; at < values.size(); at += values[at].span_)
                    frame.names->insert(values[at].key());
            }
            seen = !frame.names->insert(name).second;
        }
        frame.key = name;
        if (seen) {
            error_ = currentPath() + ": duplicate key";
            return false;
        }
        if (name.size() == 2 && name[0] == 'i' && name[1] == 'd')
            ++document_.idCount_;
        return true;
    }

    std::string& error() { return error_; }

  private:
    struct Frame {
        std::uint32_t value;
        std::string_view key;  // the key whose value comes next (objects only)
        std::unique_ptr<std::unordered_set<std::string_view>> names;
    };

    JsonValue& add() {
        if (document_.values_.size() >= std::numeric_limits<std::uint32_t>::max())
            throw std::length_error("too many JSON values");
        document_.values_.emplace_back();
        JsonValue& value = document_.values_.back();
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
        const std::vector<JsonValue>& values = document_.values_;
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

// A strict JSON parser over a NUL-terminated text. It accepts exactly the
// texts nlohmann's parser accepts, but reports any error only as a failure:
// the caller then runs nlohmann's parser for the message, whose wording
// users and tests know.
class FastParser {
  public:
    FastParser(const std::string& text, JsonTreeBuilder& builder)
        : p_(text.data()), end_(text.data() + text.size()), builder_(builder) {}

    bool parse() {
        if (static_cast<unsigned char>(*p_) == 0xEF) {
            if (end_ - p_ < 3 || static_cast<unsigned char>(p_[1]) != 0xBB ||
                static_cast<unsigned char>(p_[2]) != 0xBF)
                return false;
            p_ += 3;
        }
        skipSpace();
        if (!value())
            return false;
        for (;;) {
            skipSpace();
            if (builder_.empty())
                return p_ == end_;
            char c = *p_++;
            if (c == ',') {
                skipSpace();
                if (builder_.inObject() && !memberKey())
                    return false;
                if (!value())
                    return false;
            } else if (c == (builder_.inObject() ? '}' : ']')) {
                builder_.close();
            } else {
                return false;
            }
        }
    }

  private:
    void skipSpace() {
        while (*p_ == ' ' || *p_ == '\n' || *p_ == '\r' || *p_ == '\t')
            ++p_;
    }

    // Reads `"key" :` and the space after it.
    bool memberKey() {
        if (*p_ != '"')
            return false;
        ++p_;
        std::string_view name;
        if (!stringBody(name) || !builder_.key(name))
            return false;
        skipSpace();
        if (*p_ != ':')
            return false;
        ++p_;
        skipSpace();
        return true;
    }

    // Reads one value; a container is only opened (its first item read),
    // and the caller's loop reads the rest.
    bool value() {
        for (;;) {
            switch (*p_) {
                case '{':
                    ++p_;
                    builder_.open(JsonValue::Type::Object);
                    skipSpace();
                    if (*p_ == '}') {
                        ++p_;
                        builder_.close();
                        return true;
                    }
                    if (!memberKey())
                        return false;
                    continue;  // the first member's value
                case '[':
                    ++p_;
                    builder_.open(JsonValue::Type::Array);
                    skipSpace();
                    if (*p_ == ']') {
                        ++p_;
                        builder_.close();
                        return true;
                    }
                    continue;  // the first item
                case '"': {
                    ++p_;
                    std::string_view text;
                    if (!stringBody(text))
                        return false;
                    builder_.string(text);
                    return true;
                }
                case 't':
                    return literal("true", JsonValue::Type::Boolean, true);
                case 'f':
                    return literal("false", JsonValue::Type::Boolean, false);
                case 'n':
                    return literal("null", JsonValue::Type::Null, false);
                default:
                    return number();
            }
        }
    }

    bool literal(std::string_view word, JsonValue::Type type, bool flag) {
        for (char c : word) {
            if (*p_ != c)
                return false;
            ++p_;
        }
        JsonValue::Payload payload;
        payload.integer = 0;
        payload.boolean = flag;
        builder_.scalar(type, payload);
        return true;
    }

    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    bool number() {
        const char* start = p_;
        bool negative = *p_ == '-';
        if (negative)
            ++p_;
        if (*p_ == '0') {
            ++p_;
        } else if (*p_ >= '1' && *p_ <= '9') {
            while (isDigit(*p_))
                ++p_;
        } else {
            return false;
        }
        const char* digitsEnd = p_;
        bool whole = true;
        if (*p_ == '.') {
            ++p_;
            if (!isDigit(*p_))
                return false;
            while (isDigit(*p_))
                ++p_;
            whole = false;
        }
        if (*p_ == 'e' || *p_ == 'E') {
            ++p_;
            if (*p_ == '+' || *p_ == '-')
                ++p_;
            if (!isDigit(*p_))
                return false;
            while (isDigit(*p_))
                ++p_;
            whole = false;
        }
        JsonValue::Payload payload;
        if (whole) {
            // Whole numbers that fit 64 bits stay whole; larger ones are read
            // as floating point, like nlohmann does.
            std::uint64_t magnitude = 0;
            bool overflow = false;
            for (const char* d = negative ? start + 1 : start; d < digitsEnd; ++d) {
                auto digit = static_cast<std::uint64_t>(*d - '0');
                if (magnitude > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) {
                    overflow = true;
                    break;
                }
                magnitude = magnitude * 10 + digit;
            }
            if (!overflow && !negative) {
                payload.unsignedNumber = magnitude;
                builder_.scalar(JsonValue::Type::Unsigned, payload);
                return true;
            }
            if (!overflow && magnitude <= (std::uint64_t{1} << 63)) {
                payload.integer = magnitude == (std::uint64_t{1} << 63)
                                      ? std::numeric_limits<std::int64_t>::min()
                                      : -static_cast<std::int64_t>(magnitude);
                builder_.scalar(JsonValue::Type::Integer, payload);
                return true;
            }
        }
        double number = 0;
        auto result = std::from_chars(start, p_, number);
        // Out of range (overflow, or an underflow nlohmann would accept):
        // leave the decision and the message to nlohmann.
        if (result.ec != std::errc() || result.ptr != p_ || !std::isfinite(number))
            return false;
        payload.number = number;
        builder_.scalar(JsonValue::Type::Float, payload);
        return true;
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

    bool hex4(unsigned& code) {
        code = 0;
        for (int i = 0; i < 4; ++i) {
            int digit = hexDigit(p_[i]);
            if (digit < 0)
                return false;
            code = code * 16 + static_cast<unsigned>(digit);
        }
        p_ += 4;
        return true;
    }

    // Checks one multi-byte UTF-8 sequence at p_ and moves past it.
    bool utf8Sequence() {
        Utf8Lead lead = utf8Lead(static_cast<unsigned char>(*p_));
        if (lead.continuation == 0)
            return false;
        auto second = static_cast<unsigned char>(p_[1]);
        if (second < lead.low || second > lead.high)
            return false;
        for (int k = 2; k <= lead.continuation; ++k) {
            auto next = static_cast<unsigned char>(p_[k]);
            if (next < 0x80 || next > 0xBF)
                return false;
        }
        p_ += lead.continuation + 1;
        return true;
    }

    // Reads a string after its opening quote. Without escapes the string is
    // a view into the text; with escapes it is decoded into the document.
    bool stringBody(std::string_view& out) {
        const char* start = p_;
        for (;;) {
            auto c = static_cast<unsigned char>(*p_);
            if (c == '"') {
                out = std::string_view(start, static_cast<std::size_t>(p_ - start));
                ++p_;
                return true;
            }
            if (c < 0x20 || c == '\\')
                break;
            if (c < 0x80) {
                ++p_;
            } else if (!utf8Sequence()) {
                return false;
            }
        }
        if (*p_ != '\\')
            return false;  // a control character or the end of the text
        std::string decoded(start, static_cast<std::size_t>(p_ - start));
        for (;;) {
            auto c = static_cast<unsigned char>(*p_);
            if (c == '"') {
                ++p_;
                out = builder_.keep(std::move(decoded));
                return true;
            }
            if (c < 0x20)
                return false;
            if (c >= 0x80) {
                const char* sequence = p_;
                if (!utf8Sequence())
                    return false;
                decoded.append(sequence, static_cast<std::size_t>(p_ - sequence));
                continue;
            }
            ++p_;
            if (c != '\\') {
                decoded += static_cast<char>(c);
                continue;
            }
            char escape = *p_++;
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
                    if (!hex4(code))
                        return false;
                    if (code >= 0xDC00 && code <= 0xDFFF)
                        return false;
                    if (code >= 0xD800 && code <= 0xDBFF) {
                        unsigned low;
                        if (p_[0] != '\\' || p_[1] != 'u')
                            return false;
                        p_ += 2;
                        if (!hex4(low) || low < 0xDC00 || low > 0xDFFF)
                            return false;
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    }
                    appendUtf8(decoded, code);
                    break;
                }
                default:
                    return false;
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

    const char* p_;
    const char* end_;
    JsonTreeBuilder& builder_;
};

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

std::string JsonDocument::parse(const std::string& text) {
    clear();
    if (text.size() >= std::numeric_limits<std::uint32_t>::max())
        return "the text is larger than 4 GiB";
    // A value takes at least a few bytes of text, most a dozen or more: room
    // for one per 16 bytes spares the tree most of its regrowth and copying
    // (room that is never written costs address space, not memory).
    values_.reserve(text.size() / 16 + 16);
    {
        JsonTreeBuilder builder(*this);
        if (FastParser(text, builder).parse())
            return {};
    }
    // The text has an error (or something the fast parser leaves to
    // nlohmann): parse it again with nlohmann, for the message.
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
    std::vector<JsonValue>().swap(values_);
    std::deque<std::string>().swap(strings_);
    idCount_ = 0;
}

}  // namespace importers
