#pragma once
// A helper for the tests of the model file loader.

#include <string>

#include "importers/modelfile/JsonModel.h"

namespace pdmtest {

// The message that loading `text` as the model file "m.json" gives, or
// "(loaded without error)".
inline std::string modelFileError(const std::string& text) {
    try {
        importers::parseJsonModel(text, "m.json");
    } catch (const importers::ModelFileError& e) {
        return e.what();
    }
    return "(loaded without error)";
}

}  // namespace pdmtest
