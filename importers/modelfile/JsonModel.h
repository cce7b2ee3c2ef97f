#pragma once
// Model files: the JSON format of the host program, loaded into a repository
// model and written back out.

#include <memory>
#include <stdexcept>
#include <string>

#include "orx/ORXModel.h"

namespace importers {

// A model file that cannot be loaded. The message names the file, the JSON
// path of the offending value and what was expected, for example
// "model.json: packages[0].elements[3].keys[0].attributes[1]: no attribute 'a9' in class 'ORDERS'".
class ModelFileError : public std::runtime_error {
  public:
    explicit ModelFileError(const std::string& message) : std::runtime_error(message) {}
};

// Loads the model file at `path`. Raises ModelFileError (never a partial
// model) when the file cannot be read or is not a valid model file.
std::unique_ptr<ORXModel> loadJsonModelFile(const std::string& path);

// Loads a model from `text`; `fileName` names the source in error messages.
std::unique_ptr<ORXModel> parseJsonModel(const std::string& text, const std::string& fileName);

// The model in the canonical form of the format: keys in a fixed order,
// default values left out, ids kept where the model has them and generated
// for every other object that is referred to. Loading the result and dumping
// it again gives the same text.
// With `refuseNonUtf8`, a text that is not UTF-8 raises ModelFileError
// naming its JSON path instead of being written with U+FFFD in place of its
// bytes (the file would not load back as the same model).
std::string dumpJsonModel(const ORXModel& model, bool refuseNonUtf8 = false);

// Writes dumpJsonModel(model, true) to `path`; raises ModelFileError when it
// cannot.
void dumpJsonModelFile(const ORXModel& model, const std::string& path);

}  // namespace importers
