#pragma once
// Helpers for the tests of the export driver and the writers it calls: option
// lists as a host fills them, whole exports, logs and captured writer output.

#include <gtest/gtest.h>

#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bridge/DllInterface.h"
#include "importers/modelfile/JsonModel.h"
#include "orx/ORXClock.h"
#include "orx/ORXModel.h"
#include "orx/ORXOption.h"
#include "pdm/ExportBridge.h"
#include "support/TestSupport.h"

namespace pdmtest {

// Option values by display name ("File", "Target Database", ...).
using OptionValues = std::map<std::string, std::string>;

// The bridge's interface object, as the host reaches it.
inline ORXVelmarExportDllInterface& bridgeInterface() {
    return *getORXSybasePowerDesignerPdm08ExportInterface();
}

// Fills `list` with the bridge's options at their defaults, then sets `values`.
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

// A walk over a model: the object loaded with model-file id `id`, if any,
// and the number of objects whose general pointer is set (after an export,
// records left behind).
struct ModelWalk : ORXTraversalOperation {
    explicit ModelWalk(ORXObject& root, std::string id = "") : wanted(std::move(id)) {
        root.depthTraversal(this, nullptr);
    }
    bool visit(ORXObject* object, void*) override {
        if (!found && !wanted.empty() && object->getExternalId().str() == wanted)
            found = object;
        records += object->getGeneralPointer() != nullptr;
        return true;
    }
    void leave(ORXObject*, void*) override {}
    std::string wanted;
    ORXObject* found = nullptr;
    int records = 0;
};

// Runs a whole export through the interface object at calendar time 0 and
// returns the written document; checks that the model comes back as it was,
// whether the export succeeds or raises. `values` must name the output "File".
inline std::string exportThroughRun(ORXModel& model, const OptionValues& values, ORXLog& log) {
    const std::string before = importers::dumpJsonModel(model);
    ORXOptionList options;
    fillOptions(options, values);
    std::string document;
    std::exception_ptr failure;
    ORXClock::setFixedTime(0);
    try {
        bridgeInterface().run(ORXString(), model, options, log);
        document = readFile(options.getValue("File").str());
    } catch (...) {
        failure = std::current_exception();
    }
    ORXClock::setFixedTime(std::nullopt);
    EXPECT_EQ(importers::dumpJsonModel(model), before) << "the model was not restored";
    EXPECT_EQ(ModelWalk(model).records, 0) << "records were left on the model";
    if (failure)
        std::rethrow_exception(failure);
    return document;
}

// The log's events as "code/level text".
inline std::vector<std::string> logLines(const RecordingLog& log) {
    std::vector<std::string> lines;
    for (const LoggedEvent& e : log.events)
        lines.push_back(e.code + "/" + std::to_string(e.level) + " " + e.text);
    return lines;
}

// The line logLines gives for the bridge's message `number` ("S0005").
inline std::string logLine(const std::string& number, const std::string& text,
                           int level = ORX_SEVERITY_STATUS) {
    return "VLE_PDPDM7_" + number + "/" + std::to_string(level) + " " + text;
}

// A bridge whose writers print into a temporary file: call writers on
// `bridge`, then take() the bytes they wrote.
class WriterCapture {
  public:
    WriterCapture() : bridge(&log) {
        bridge.guidPrefix = "00000000-1337-F331-D34D-";
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
