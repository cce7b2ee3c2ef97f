#pragma once
// Helpers for the pre- and post-processing tests: models from JSON text,
// lookups by kind and name, a bridge prepared for running the steps one by
// one, whole exports, and a summary of a written document.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "bridge/DllInterface.h"
#include "importers/modelfile/JsonModel.h"
#include "orx/ORXClock.h"
#include "orx/ORXModel.h"
#include "orx/ORXOption.h"
#include "pdm/ExportBridge.h"
#include "support/PdmCheck.h"
#include "support/TestSupport.h"

namespace pdmtest {

// Loads a model whose top-level object holds `body` besides the format header.
inline std::unique_ptr<ORXModel> loadModel(const std::string& body) {
    return importers::parseJsonModel(
        R"({"format": "orx-model", "version": 1, "name": "Test", )" + body + "}", "test.json");
}

// Every object of `root`'s tree that passes `test`, in traversal order.
inline std::vector<ORXObject*> collect(ORXObject& root, std::function<bool(ORXObject*)> test) {
    struct Collector : ORXTraversalOperation {
        std::function<bool(ORXObject*)> test;
        std::vector<ORXObject*> found;
        bool visit(ORXObject* object, void*) override {
            if (test(object))
                found.push_back(object);
            return true;
        }
        void leave(ORXObject*, void*) override {}
    } collector;
    collector.test = std::move(test);
    root.depthTraversal(&collector, nullptr);
    return collector.found;
}

// The one object of element type `type` named `name`, or null.
template <class T = ORXClass>
T* findNamed(ORXObject& root, const std::string& name, int type = ORX_ET_CLASS) {
    std::vector<ORXObject*> found = collect(root, [&](ORXObject* object) {
        return object->getElementType() == type && object->getName().str() == name;
    });
    return found.size() == 1 ? static_cast<T*>(found.front()) : nullptr;
}

// An export bridge set up as the export driver sets it up, with its output
// file open in a temporary directory, for running the steps one by one.
class PreparedBridge {
  public:
    explicit PreparedBridge(ORXModel& exported) : model(exported), bridge(&log) {
        bridge.model = &model;
        bridge.guidPrefix = "00000000-1337-F331-D34D-";
        bridge.file() = ORXString(dir.file("out.pdm"));
        // Appending writes the file itself, not a temporary file that replaces
        // it on closing, so writeDocument() can read it while it is open.
        bridge.file().open(std::ios::out | std::ios::binary | std::ios::app);
        preprocess.bridge = &bridge;
    }

    // The four pre-processing steps, in the driver's order.
    void runPreprocessing() {
        preprocess.runOn(&bridge);
        preprocess.resolveManyToManyAssociations();
        preprocess.convertGeneralizations();
        preprocess.moveReferencesToChildPackages();
    }

    // Writes the document, checks that it is sound and returns its text.
    std::string writeDocument() {
        bridge.writeDocument(model);
        bridge.file().flush();
        std::string text = readFile(dir.file("out.pdm"));
        EXPECT_EQ(checkPdmDocument(text), std::vector<std::string>());
        return text;
    }

    ORXModel& model;
    TempDir dir;
    RecordingLog log;
    ORXSybasePowerDesignerPdm08ExportBridge bridge;
    ORXSybasePowerDesignerPdm08ExportBridge::PreprocessOperation preprocess;
};

// A whole export of `model` into `path` with the clock fixed at 0.
inline void runExport(ORXModel& model, const std::string& path, ORXLog& log) {
    ORXSybasePowerDesignerPdm08ExportDllInterface bridgeInterface;
    ORXOptionList options;
    bridgeInterface.getOptionList(options);
    options.setValue("File", ORXString(path));
    ORXClock::setFixedTime(0);
    struct ClockReset {
        ~ClockReset() { ORXClock::setFixedTime(std::nullopt); }
    } reset;
    bridgeInterface.run(ORXString(""), model, options, log);
}

// The document a whole export of `model` writes, checked to be sound.
inline std::string exportToText(ORXModel& model) {
    TempDir dir;
    RecordingLog log;
    runExport(model, dir.file("out.pdm"), log);
    std::string text = readFile(dir.file("out.pdm"));
    EXPECT_EQ(checkPdmDocument(text), std::vector<std::string>());
    return text;
}

// How many of the log's events carry `text`.
inline int countLogged(const RecordingLog& log, const std::string& text) {
    return static_cast<int>(std::count_if(log.events.begin(), log.events.end(),
                                          [&](const auto& event) { return event.text == text; }));
}

// The tables, references and table or view symbols of a document, one sorted line each:
//   "table NAME/CODE: COLUMN/CODE ...", "reference PARENT -> CHILD in PACKAGE"
//   ("model" when the model lists it) and "symbol Tabl|View NAME in DIAGRAM CLIPRECT".
inline std::vector<std::string> summary(const std::string& text) {
    pugi::xml_document xml;
    if (!xml.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_pi))
        return {"not XML"};
    auto name = [&](pugi::xml_node node) -> std::string {
        if (pugi::xml_attribute ref = node.attribute("Ref"))
            node = xml.select_node(("//*[@Id='" + std::string(ref.value()) + "']").c_str()).node();
        return node.child("a:Name").text().get();
    };
    auto owner = [&](pugi::xml_node node, const char* element) {
        while (node && std::strcmp(node.name(), element) != 0)
            node = node.parent();
        return node ? name(node) : std::string("model");
    };
    std::vector<std::string> lines;
    for (auto found : xml.select_nodes("//o:SPdoObjTabl[@Id]")) {
        std::string line =
            "table " + name(found.node()) + "/" + found.node().child("a:Code").text().get() + ":";
        for (auto column : found.node().child("c:Columns").children())
            line += std::string(" ") + column.child("a:Name").text().get() + "/" +
                    column.child("a:Code").text().get();
        lines.push_back(line);
    }
    for (auto found : xml.select_nodes("//o:SPdoObjRefr[@Id]")) {
        std::string id = found.node().attribute("Id").value();
        pugi::xml_node listed =
            xml.select_node(("//c:References/*[@Id='" + id + "' or @Ref='" + id + "']").c_str())
                .node();
        lines.push_back("reference " + name(found.node().child("c:Obj1").first_child()) + " -> " +
                        name(found.node().child("c:Obj2").first_child()) + " in " +
                        owner(listed, "o:SPdmPackage"));
    }
    for (auto found : xml.select_nodes("//o:SPdmSymTabl[@Id] | //o:SPdmSymView[@Id]"))
        lines.push_back(std::string("symbol ") + (found.node().name() + 9) + " " +
                        name(found.node().child("c:Object").first_child()) + " in " +
                        owner(found.node(), "o:SPdmDiagram") + " " +
                        found.node().child("a:ClipRect").text().get());
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace pdmtest
