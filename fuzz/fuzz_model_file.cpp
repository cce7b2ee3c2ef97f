// Model files: any text either loads or is refused with a ModelFileError;
// what loads exports soundly.

#include <cstdint>
#include <string>

#include "fuzz/FuzzExport.h"
#include "importers/modelfile/JsonModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<ORXModel> model;
    try {
        model = importers::parseJsonModel(std::string(reinterpret_cast<const char*>(data), size),
                                          "fuzz.json");
    } catch (const importers::ModelFileError&) {
        return 0;
    }
    pdmfuzz::exportAndCheck(*model);
    return 0;
}
