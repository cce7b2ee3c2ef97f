#pragma once
// Helpers for the tests of the object writers: whole exports of a JSON model
// with chosen options, a bridge driven writer by writer, and the cutting and
// normalising of written elements so that tests can compare short fragments.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <utility>
#include <vector>

#include "bridge/DllInterface.h"
#include "importers/JsonModel.h"
#include "orx/ORXClock.h"
#include "orx/ORXOption.h"
#include "pdm/ExportBridge.h"
#include "support/PdmCheck.h"
#include "support/TestSupport.h"

namespace pdmtest {

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

// Exports the model `json` through the interface object, as a host does, at
// calendar time 0 and with the option values given by display name. The
// document must pass the structural check.
inline ExportResult exportJson(
    const std::string& json, const std::vector<std::pair<std::string, std::string>>& options = {}) {
    ExportResult result;
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
    result.document = readFile(dir.file("out.pdm"));
    result.events = log.events;
    for (const std::string& problem : checkPdmDocument(result.document))
        ADD_FAILURE() << problem;
    return result;
}

// A bridge on a model, with its output file open on a temporary file, for
// driving single writers. finish() closes the file and returns its text.
class DirectBridge {
  public:
    explicit DirectBridge(const std::string& json)
        : model(importers::parseJsonModel(json, "test.json")), bridge(&log) {
        bridge.model = model.get();
        std::strcpy(bridge.guidPrefix, "00000000-1337-F331-D34D-");
        bridge.file() = ORXString(dir.file("out.pdm").c_str());
        bridge.file().open(std::ios::out | std::ios::binary);
    }
    std::string finish() {
        bridge.file().close();
        return readFile(dir.file("out.pdm"));
    }
    // The first object of the model (packages, elements, features searched
    // depth-first) whose name is `name` and whose element type is `type`.
    template <class T>
    T* find(const std::string& name, int type) {
        T* found = nullptr;
        struct Finder : ORXTraversalOperation {
            std::string name;
            int type = 0;
            ORXObject* hit = nullptr;
            bool visit(ORXObject* object, void*) override {
                if (!hit && object->getElementType() == type && object->getName().str() == name)
                    hit = object;
                return !hit;
            }
            void leave(ORXObject*, void*) override {}
        } finder;
        finder.name = name;
        finder.type = type;
        model->depthTraversal(&finder, nullptr);
        found = static_cast<T*>(finder.hit);
        return found;
    }

    TempDir dir;
    RecordingLog log;
    std::unique_ptr<ORXModel> model;
    ORXSybasePowerDesignerPdm08ExportBridge bridge;
};

// The full element whose start tag carries Id="id" (for example "o12"), from
// its "<" to the end of its end tag's line; empty when there is none.
inline std::string elementWithId(const std::string& document, const std::string& id) {
    const std::string marker = " Id=\"" + id + "\">";
    std::size_t at = document.find(marker);
    if (at == std::string::npos)
        return {};
    std::size_t start = document.rfind('<', at);
    std::string tag = document.substr(start + 1, at - start - 1);
    // Nested elements of the same tag are counted so the matching end is found.
    int depth = 0;
    std::size_t pos = start;
    while (pos != std::string::npos) {
        std::size_t open = document.find("<" + tag + " Id=", pos + 1);
        std::size_t close = document.find("</" + tag + ">", pos + 1);
        if (close == std::string::npos)
            return {};
        if (open != std::string::npos && open < close) {
            ++depth;
            pos = open;
            continue;
        }
        if (depth == 0) {
            std::size_t end = document.find('\n', close);
            return document.substr(start,
                                   (end == std::string::npos ? document.size() : end + 1) - start);
        }
        --depth;
        pos = close;
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

// The full element `tag` named `name` (the first one), or empty.
inline std::string elementNamed(const std::string& document, const std::string& tag,
                                const std::string& name) {
    std::vector<std::string> ids = idsNamed(document, tag, name);
    return ids.empty() ? std::string() : elementWithId(document, ids.front());
}

// The text between the first "<name>" line at or after `from` and its
// matching "</name>", both tags included.
inline std::string collection(const std::string& text, const std::string& name,
                              std::size_t from = 0) {
    std::size_t start = text.find("<" + name + ">", from);
    if (start == std::string::npos)
        return {};
    int depth = 0;
    std::size_t pos = start;
    while (true) {
        std::size_t open = text.find("<" + name + ">", pos + 1);
        std::size_t close = text.find("</" + name + ">", pos + 1);
        if (close == std::string::npos)
            return {};
        if (open != std::string::npos && open < close) {
            ++depth;
            pos = open;
            continue;
        }
        if (depth-- == 0)
            return text.substr(start, close + name.size() + 3 - start);
        pos = close;
    }
}

// `text` with its a:OID lines removed and every identifier of an Id or Ref
// attribute renamed by order of first appearance: the first becomes o#1, the
// next different one o#2, and so on. Fragments written by hand with these
// names then also say which references point at which elements.
inline std::string canon(const std::string& text) {
    std::string out;
    std::map<std::string, int> names;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t eol = text.find('\n', pos);
        std::string line =
            text.substr(pos, eol == std::string::npos ? std::string::npos : eol - pos + 1);
        pos = eol == std::string::npos ? text.size() : eol + 1;
        if (line.find("<a:OID>") != std::string::npos)
            continue;
        for (const char* attribute : {" Id=\"o", " Ref=\"o"}) {
            std::size_t at = line.find(attribute);
            if (at == std::string::npos)
                continue;
            std::size_t digits = at + std::strlen(attribute);
            std::size_t end = line.find('"', digits);
            std::string number = line.substr(digits, end - digits);
            auto found = names.emplace(number, static_cast<int>(names.size()) + 1).first;
            line.replace(digits, end - digits, "#" + std::to_string(found->second));
        }
        out += line;
    }
    return out;
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
