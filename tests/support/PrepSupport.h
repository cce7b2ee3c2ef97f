#pragma once
// Helpers for the tests of pre- and post-processing: models from JSON text,
// lookups of model objects by kind and name, a bridge prepared for driving
// the pre-processing steps one by one, whole exports through the interface
// object, and the checks that a model came back as it was.

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "bridge/DllInterface.h"
#include "importers/JsonModel.h"
#include "orx/ORXClock.h"
#include "orx/ORXModel.h"
#include "orx/ORXOption.h"
#include "pdm/ExportBridge.h"
#include "support/TestSupport.h"

namespace pdmtest {

using Bridge = ORXSybasePowerDesignerPdm08ExportBridge;

// The GUID prefix the prepared bridge uses.
inline constexpr const char* kPrepGuidPrefix = "00000000-1337-F331-D34D-";

// A model file text: the format header, the model's name and `body` (the
// remaining members of the top-level object, without a leading comma).
inline std::string modelText(const std::string& body) {
    return R"({"format": "orx-model", "version": 1, "name": "Test", )" + body + "}";
}

// Loads a model from `body` (see modelText).
inline std::unique_ptr<ORXModel> loadModel(const std::string& body) {
    return importers::parseJsonModel(modelText(body), "test.json");
}

// Collects the objects of a model that match a test, in traversal order.
class CollectingOperation : public ORXTraversalOperation {
  public:
    explicit CollectingOperation(std::function<bool(ORXObject*)> test) : test_(std::move(test)) {}
    bool visit(ORXObject* object, void*) override {
        if (test_(object))
            found.push_back(object);
        return true;
    }
    void leave(ORXObject*, void*) override {}
    std::vector<ORXObject*> found;

  private:
    std::function<bool(ORXObject*)> test_;
};

// Every object of `root`'s tree that passes `test`.
inline std::vector<ORXObject*> collect(ORXObject& root, std::function<bool(ORXObject*)> test) {
    CollectingOperation operation(std::move(test));
    root.depthTraversal(&operation, nullptr);
    return operation.found;
}

// The one object of element type `type` named `name` in `root`'s tree, or null.
template <class T>
T* findNamed(ORXObject& root, int type, const std::string& name) {
    std::vector<ORXObject*> found = collect(root, [&](ORXObject* object) {
        return object->getElementType() == type && object->getName() == name.c_str();
    });
    return found.size() == 1 ? static_cast<T*>(found.front()) : nullptr;
}

inline ORXClass* findClass(ORXObject& root, const std::string& name) {
    return findNamed<ORXClass>(root, ORX_ET_CLASS, name);
}
inline ORXAssociation* findAssociation(ORXObject& root, const std::string& name) {
    return findNamed<ORXAssociation>(root, ORX_ET_ASSOCIATION, name);
}
inline ORXDesignPackage* findPackage(ORXObject& root, const std::string& name) {
    return findNamed<ORXDesignPackage>(root, ORX_ET_DESIGN_PACKAGE, name);
}
inline ORXDiagram* findDiagram(ORXObject& root, const std::string& name) {
    return findNamed<ORXDiagram>(root, ORX_ET_DIAGRAM, name);
}

// A description of every object of the model that still holds a general
// pointer (empty when none does).
inline std::vector<std::string> objectsWithGeneralPointer(ORXModel& model) {
    std::vector<std::string> out;
    for (ORXObject* object :
         collect(model, [](ORXObject* o) { return o->getGeneralPointer() != nullptr; }))
        out.push_back(std::string(getElementTypeName(object->getElementType())) + " '" +
                      object->getName().str() + "'");
    return out;
}

// An export bridge set up the way the export driver sets it up, with its
// output file open in a temporary directory, so that a test can run the
// pre-processing steps, the document writer and post-processing one by one
// and look at the model in between. `model` must outlive it.
class PreparedBridge {
  public:
    explicit PreparedBridge(ORXModel& exported) : model(exported), bridge(&log) {
        bridge.model = &model;
        bridge.nextObjectId = 1;
        std::strcpy(bridge.guidPrefix, kPrepGuidPrefix);
        bridge.file() = ORXString(dir.file("out.pdm"));
        bridge.file().open(std::ios::out | std::ios::binary);
        preprocess.bridge = &bridge;
    }

    // The four pre-processing steps, in the driver's order.
    void runPreprocessing() {
        preprocess.runOn(&bridge);
        preprocess.resolveManyToManyAssociations();
        preprocess.convertGeneralizations();
        preprocess.moveReferencesToChildPackages();
    }

    // Writes the document and returns its text (the file stays open).
    std::string writeDocument() {
        bridge.writeDocument(model);
        bridge.file().flush();
        return readFile(dir.file("out.pdm"));
    }

    ORXModel& model;
    TempDir dir;
    RecordingLog log;
    Bridge bridge;
    Bridge::PreprocessOperation preprocess;
};

// A whole export of `model` through the interface object into `path`, with
// the calendar time fixed at 0. Failures propagate.
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

// The result of one whole export to a temporary file.
struct ExportOutcome {
    std::string document;
    RecordingLog log;
};

// Exports `model` to a temporary file and returns the document and the log.
inline std::unique_ptr<ExportOutcome> exportToText(ORXModel& model) {
    auto outcome = std::make_unique<ExportOutcome>();
    TempDir dir;
    runExport(model, dir.file("out.pdm"), outcome->log);
    outcome->document = readFile(dir.file("out.pdm"));
    return outcome;
}

// How many of the log's events carry `text`.
inline int countLogged(const RecordingLog& log, const std::string& text) {
    int count = 0;
    for (const auto& event : log.events)
        count += event.text == text ? 1 : 0;
    return count;
}

// A parsed document with lookups by element name and a:Name.
class PdmDocument {
  public:
    explicit PdmDocument(const std::string& text) {
        parsed_ = xml_.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_pi);
    }
    bool ok() const { return static_cast<bool>(parsed_); }
    const pugi::xml_document& xml() const { return xml_; }

    // The full elements (those with an Id) of kind `element`, optionally only
    // those whose a:Name is `name`, under `context` (the whole document when null).
    std::vector<pugi::xml_node> full(const std::string& element, const std::string& name = "",
                                     pugi::xml_node context = pugi::xml_node()) const {
        std::string query = ".//" + element + "[@Id";
        if (!name.empty())
            query += " and a:Name='" + name + "'";
        query += "]";
        pugi::xml_node from = context ? context : xml_.document_element();
        std::vector<pugi::xml_node> out;
        for (const pugi::xpath_node& found : from.select_nodes(query.c_str()))
            out.push_back(found.node());
        return out;
    }

    // The a:Name of the full element whose Id is `id` ("" when none).
    std::string nameOfId(const std::string& id) const {
        std::string query = "//*[@Id='" + id + "']/a:Name";
        pugi::xpath_node found = xml_.select_node(query.c_str());
        return found ? found.node().text().get() : "";
    }

    // The a:Name of the element (full or reference) that is the first
    // element child of `collection`.
    std::string nameOfChild(pugi::xml_node collection) const {
        pugi::xml_node child = collection.first_child();
        while (child && child.type() != pugi::node_element)
            child = child.next_sibling();
        if (!child)
            return "";
        if (pugi::xml_attribute ref = child.attribute("Ref"))
            return nameOfId(ref.value());
        return child.child("a:Name").text().get();
    }

  private:
    pugi::xml_document xml_;
    pugi::xml_parse_result parsed_;
};

}  // namespace pdmtest
