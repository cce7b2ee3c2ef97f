#pragma once
// Helpers for the tests of the object writers: whole exports of a JSON model,
// a bridge driven writer by writer, and the cutting and normalising of
// written elements so that tests can compare short fragments.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <utility>
#include <vector>

#include "bridge/DllInterface.h"
#include "importers/modelfile/JsonModel.h"
#include "orx/ORXClock.h"
#include "orx/ORXOption.h"
#include "pdm/ExportBridge.h"
#include "support/PdmCheck.h"
#include "support/TestSupport.h"

namespace pdmtest {

using Options = std::vector<std::pair<std::string, std::string>>;

// A model whose one merged package "Main" holds `elements` (JSON array items);
// `packageExtra` adds members to Main (", \"diagrams\": [...]") and
// `modelExtra` to the model ("\"types\": [...], ").
inline std::string mainModel(const std::string& elements, const std::string& packageExtra = "",
                             const std::string& modelExtra = "") {
    return R"({"format": "orx-model", "version": 1, "name": "M", )" + modelExtra +
           R"("packages": [{"kind": "design", "name": "Main", "elements": [)" + elements + "]" +
           packageExtra + "}]}";
}

// A finished export: the document and what was logged.
struct ExportResult {
    std::string document;
    std::vector<LoggedEvent> events;
    // The number of logged events whose text is `text`.
    int count(const std::string& text) const {
        int n = 0;
        for (const auto& e : events)
            n += e.text == text;
        return n;
    }
};

// Exports the model `json` as a host does, at calendar time 0, with option
// values given by display name; the document must pass the structural check.
inline ExportResult exportJson(const std::string& json, const Options& options = {}) {
    std::unique_ptr<ORXModel> model = importers::parseJsonModel(json, "test.json");
    TempDir dir;
    ORXSybasePowerDesignerPdm08ExportDllInterface bridge;
    ORXOptionList list;
    bridge.getOptionList(list);
    EXPECT_TRUE(list.setValue("File", ORXString(dir.file("out.pdm").c_str())));
    for (const auto& [name, value] : options)
        EXPECT_TRUE(list.setValue(ORXString(name.c_str()), ORXString(value.c_str()))) << name;
    RecordingLog log;
    ORXClock::setFixedTime(0);
    bridge.run(ORXString(""), *model, list, log);
    ORXClock::setFixedTime(std::nullopt);
    ExportResult result{readFile(dir.file("out.pdm")), log.events};
    for (const std::string& problem : checkPdmDocument(result.document))
        ADD_FAILURE() << problem;
    return result;
}

// A bridge on a model with its output open on a temporary file, for driving
// single writers; finish() closes the file and returns its text.
class DirectBridge {
  public:
    explicit DirectBridge(const std::string& json)
        : model(importers::parseJsonModel(json, "test.json")), bridge(&log) {
        bridge.model = model.get();
        bridge.guidPrefix = "00000000-1337-F331-D34D-";
        bridge.file() = ORXString(dir.file("out.pdm").c_str());
        bridge.file().open(std::ios::out | std::ios::binary);
    }
    std::string finish() {
        bridge.file().close();
        return readFile(dir.file("out.pdm"));
    }
    // The model's first child package, the merged package of mainModel().
    ORXDesignPackage* main() const {
        return static_cast<ORXDesignPackage*>(model->getChildPackage(0));
    }

    TempDir dir;
    RecordingLog log;
    std::unique_ptr<ORXModel> model;
    ORXSybasePowerDesignerPdm08ExportBridge bridge;
};

// The text from `start` through the `close` that matches it, skipping nested
// pairs that begin with `open`; empty when unbalanced or `start` is npos.
inline std::string balanced(const std::string& text, std::size_t start, const std::string& open,
                            const std::string& close) {
    int depth = 0;
    for (std::size_t pos = start; pos != std::string::npos;) {
        std::size_t inner = text.find(open, pos + 1), end = text.find(close, pos + 1);
        if (end == std::string::npos)
            break;
        if (inner < end) {
            ++depth;
            pos = inner;
        } else if (depth-- == 0) {
            return text.substr(start, end + close.size() - start);
        } else {
            pos = end;
        }
    }
    return {};
}

// The Ids ("o12") of the full elements `tag` whose a:Name is `name`, in document order.
inline std::vector<std::string> idsNamed(const std::string& document, const std::string& tag,
                                         const std::string& name) {
    std::vector<std::string> ids;
    pugi::xml_document xml;
    xml.load_buffer(document.data(), document.size());
    for (pugi::xpath_node hit : xml.select_nodes(("//" + tag + "[@Id]").c_str()))
        if (std::string(hit.node().child("a:Name").text().get()) == name)
            ids.push_back(hit.node().attribute("Id").value());
    return ids;
}

// The first full element `tag` named `name`, through the line feed after its
// end tag, or empty.
inline std::string elementNamed(const std::string& document, const std::string& tag,
                                const std::string& name) {
    std::vector<std::string> ids = idsNamed(document, tag, name);
    if (ids.empty())
        return {};
    return balanced(document, document.find("<" + tag + " Id=\"" + ids[0] + "\">"),
                    "<" + tag + " Id=", "</" + tag + ">\n");
}

// The first collection "<name>...</name>" at or after `from`, both tags included.
inline std::string collection(const std::string& text, const std::string& name,
                              std::size_t from = 0) {
    return balanced(text, text.find("<" + name + ">", from), "<" + name + ">", "</" + name + ">");
}

// The Id value of the first start tag `tag` in `text` ("o12"), or empty.
inline std::string firstId(const std::string& text, const std::string& tag) {
    std::size_t at = text.find("<" + tag + " Id=\"");
    if (at == std::string::npos)
        return {};
    at += tag.size() + 6;
    return text.substr(at, text.find('"', at) - at);
}

// `text` without its a:OID lines and with every Id or Ref identifier renamed
// by first appearance (o#1, o#2, ...), so that hand-written fragments also
// say which references point at which elements.
inline std::string canon(const std::string& text) {
    std::string out;
    std::map<std::string, int> names;
    for (std::size_t pos = 0, eol; pos < text.size();
         pos = eol == std::string::npos ? eol : eol + 1) {
        eol = text.find('\n', pos);
        std::string line = text.substr(pos, eol == std::string::npos ? eol : eol - pos + 1);
        if (line.find("<a:OID>") != std::string::npos)
            continue;
        for (const char* attribute : {" Id=\"o", " Ref=\"o"}) {
            std::size_t at = line.find(attribute);
            if (at == std::string::npos)
                continue;
            std::size_t digits = at + std::strlen(attribute), end = line.find('"', digits);
            auto found = names.emplace(line.substr(digits, end - digits), names.size() + 1).first;
            line.replace(digits, end - digits, "#" + std::to_string(found->second));
        }
        out += line;
    }
    return out;
}

// The OID form of the identifier "o12" under the test GUID prefix.
inline std::string oid(const std::string& id) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%012d", std::atoi(id.c_str() + 1));
    return "00000000-1337-F331-D34D-" + std::string(digits);
}

// The number of times `needle` occurs in `text`.
inline int occurrences(const std::string& text, const std::string& needle) {
    int n = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos;
         at = text.find(needle, at + 1))
        ++n;
    return n;
}

}  // namespace pdmtest
