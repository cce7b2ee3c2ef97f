// SQL scripts: any script either builds a model or is refused with a
// ModelFileError; what builds exports soundly.

#include <cstdint>
#include <string>
#include <utility>

#include "fuzz/FuzzExport.h"
#include "importers/database/SqliteModel.h"
#include "importers/modelfile/JsonModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = pdmfuzz::scratchFile(data, size, ".sql");
    std::unique_ptr<ORXModel> model;
    try {
        model = std::move(importers::loadSqliteScript(path).model);
    } catch (const importers::ModelFileError&) {
        return 0;
    }
    pdmfuzz::exportAndCheck(*model);
    return 0;
}
