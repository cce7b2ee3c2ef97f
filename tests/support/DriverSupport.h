#pragma once
// Helpers for the tests of the export driver, the DBMS choice, names and
// common properties: option lists filled as a host fills them, whole exports
// through the interface object, objects found by their model-file id, and a
// bridge whose writers print into a temporary file.

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bridge/DllInterface.h"
#include "importers/JsonModel.h"
#include "orx/ORXClock.h"
#include "orx/ORXModel.h"
#include "orx/ORXOption.h"
#include "pdm/ExportBridge.h"
#include "support/TestSupport.h"

namespace pdmtest {

// The GUID prefix of an export run at calendar time 0.
inline const char* const kTimeZeroPrefix = "00000000-1337-F331-D34D-";

// Option values by display name ("File", "Target Database", ...).
using OptionValues = std::map<std::string, std::string>;

// The bridge's interface object, as the host reaches it.
inline ORXVelmarExportDllInterface& bridgeInterface() {
    return *getORXSybasePowerDesignerPdm08ExportInterface();
}

// Fills `list` with the bridge's seven options at their defaults, then sets
// the given values.
inline void fillOptions(ORXOptionList& list, const OptionValues& values) {
    bridgeInterface().getOptionList(list);
    for (const auto& [name, value] : values)
        list.setValue(ORXString(name.c_str()), ORXString(value.c_str()));
}

// A model parsed from model-file text.
inline std::unique_ptr<ORXModel> modelFromJson(const std::string& text) {
    return importers::parseJsonModel(text, "test.json");
}

// The example model shipped with the project.
inline std::unique_ptr<ORXModel> salesModel() {
    return importers::loadJsonModelFile(std::string(PDM_SOURCE_DIR) + "/examples/sales.json");
}

// The object of `root` that was loaded with model-file id `id`, or null.
inline ORXObject* findById(ORXObject& root, const std::string& id) {
    struct Finder : ORXTraversalOperation {
        std::string wanted;
        ORXObject* found = nullptr;
        bool visit(ORXObject* object, void*) override {
            if (!found && object->getExternalId().str() == wanted)
                found = object;
            return found == nullptr;
        }
        void leave(ORXObject*, void*) override {}
    } finder;
    finder.wanted = id;
    root.depthTraversal(&finder, nullptr);
    return finder.found;
}

// The number of objects under `root` (itself included) whose general pointer
// is set: after an export, any of them is a record left behind.
inline int countGeneralPointers(ORXObject& root) {
    struct Counter : ORXTraversalOperation {
        int count = 0;
        bool visit(ORXObject* object, void*) override {
            if (object->getGeneralPointer())
                ++count;
            return true;
        }
        void leave(ORXObject*, void*) override {}
    } counter;
    root.depthTraversal(&counter, nullptr);
    return counter.count;
}

// Runs a whole export through the interface object at calendar time 0 and
// returns the written document. `values` must name the output "File".
inline std::string exportThroughRun(ORXModel& model, const OptionValues& values, ORXLog& log) {
    ORXOptionList options;
    fillOptions(options, values);
    ORXClock::setFixedTime(0);
    bridgeInterface().run(ORXString(), model, options, log);
    ORXClock::setFixedTime(std::nullopt);
    return readFile(options.getValue("File").str());
}

// A bridge whose writers print into a temporary file: call writers on
// `bridge`, then take() the bytes they wrote.
class WriterCapture {
  public:
    WriterCapture() : bridge(&log) {
        std::strcpy(bridge.guidPrefix, kTimeZeroPrefix);
        bridge.file() = ORXString(dir.file("out.pdm").c_str());
        bridge.file().open(std::ios::out | std::ios::binary);
    }
    // Closes the file and returns its content.
    std::string take() {
        bridge.file().close();
        return readFile(dir.file("out.pdm"));
    }

    TempDir dir;
    RecordingLog log;
    ORXSybasePowerDesignerPdm08ExportBridge bridge;
};

}  // namespace pdmtest
