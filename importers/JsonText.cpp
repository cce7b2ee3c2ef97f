#include "importers/JsonText.h"

#include <cstdio>
#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>

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
            out += steps[i].key;
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

// Builds the tree from the parser's events. The parser itself is not
// recursive and neither is this builder, so no nesting depth can exhaust the
// stack here.
class TreeBuilder {
  public:
    using number_integer_t = Json::number_integer_t;
    using number_unsigned_t = Json::number_unsigned_t;
    using number_float_t = Json::number_float_t;
    using string_t = Json::string_t;
    using binary_t = Json::binary_t;

    explicit TreeBuilder(Json& root) : root_(root) {}

    bool null() { return put(Json(nullptr)) != nullptr; }
    bool boolean(bool value) { return put(Json(value)) != nullptr; }
    bool number_integer(number_integer_t value) { return put(Json(value)) != nullptr; }
    bool number_unsigned(number_unsigned_t value) { return put(Json(value)) != nullptr; }
    bool number_float(number_float_t value, const string_t&) { return put(Json(value)) != nullptr; }
    bool string(string_t& value) { return put(Json(std::move(value))) != nullptr; }
    bool binary(binary_t&) { return false; }  // text JSON has no binary values
    bool start_object(std::size_t) { return open(Json::object()); }
    bool end_object() {
        frames_.pop_back();
        return true;
    }
    bool start_array(std::size_t) { return open(Json::array()); }
    bool end_array() {
        frames_.pop_back();
        return true;
    }

    bool key(string_t& name) {
        Frame& frame = frames_.back();
        auto& members = frame.node->get_ref<Json::object_t&>();
        bool seen = false;
        // Small objects are scanned; large ones get a set, so that an object
        // with very many keys does not take quadratic time.
        if (members.size() < 16) {
            for (const auto& member : members) {
                if (member.first == name) {
                    seen = true;
                    break;
                }
            }
        } else {
            if (!frame.names) {
                frame.names = std::make_unique<std::unordered_set<std::string>>();
                for (const auto& member : members)
                    frame.names->insert(member.first);
            }
            seen = frame.names->count(name) != 0;
        }
        if (seen) {
            frame.key = std::move(name);
            error_ = currentPath(true) + ": duplicate key";
            return false;
        }
        if (frame.names)
            frame.names->insert(name);
        frame.key = std::move(name);
        return true;
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) {
        std::string what = e.what();
        static const std::string marker = "parse error at ";
        auto at = what.find(marker);
        error_ = printableText(at == std::string::npos ? what : what.substr(at + marker.size()));
        return false;
    }

    const std::string& error() const { return error_; }

  private:
    struct Frame {
        Json* node;
        std::string key;  // the key whose value comes next (objects only)
        std::unique_ptr<std::unordered_set<std::string>> names;
    };

    // Places a value in the innermost open container and returns it. A child
    // container is always the last entry of its parent while it is open, so
    // the pointers on the frame stack stay valid.
    Json* put(Json&& value) {
        if (frames_.empty()) {
            root_ = std::move(value);
            return &root_;
        }
        Frame& frame = frames_.back();
        if (frame.node->is_array()) {
            auto& items = frame.node->get_ref<Json::array_t&>();
            items.push_back(std::move(value));
            return &items.back();
        }
        // Keys are known to be new, so append without the map's own search.
        auto& members =
            static_cast<Json::object_t::Container&>(frame.node->get_ref<Json::object_t&>());
        members.emplace_back(std::move(frame.key), std::move(value));
        return &members.back().second;
    }

    bool open(Json&& value) {
        Json* node = put(std::move(value));
        frames_.push_back(Frame{node, {}, nullptr});
        return true;
    }

    // The path of the innermost open container, plus its pending key.
    std::string currentPath(bool withKey) const {
        std::vector<JsonPathStep> steps;
        for (std::size_t i = 1; i < frames_.size(); ++i) {
            const Frame& parent = frames_[i - 1];
            if (parent.node->is_array()) {
                steps.push_back({{}, parent.node->size() - 1, true});
            } else {
                const auto& members = parent.node->get_ref<const Json::object_t&>();
                steps.push_back({members.back().first, 0, false});
            }
        }
        if (withKey && !frames_.empty())
            steps.push_back({frames_.back().key, 0, false});
        return formatJsonPath(steps.data(), steps.size());
    }

    Json& root_;
    std::vector<Frame> frames_;
    std::string error_;
};

}  // namespace

std::string parseJsonText(const std::string& text, Json& root) {
    TreeBuilder builder(root);
    bool ok = Json::sax_parse(text, &builder, Json::input_format_t::json, true);
    if (ok)
        return {};
    return builder.error().empty() ? std::string("not a JSON document") : builder.error();
}

}  // namespace importers
