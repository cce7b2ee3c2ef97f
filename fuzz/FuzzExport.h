#pragma once
// What every fuzz target checks once its source has built a model: the
// export either succeeds or raises the framework's exception; a written
// document is well-formed XML in which every Ref resolves and no Id repeats;
// the model comes back from the export unchanged; and a model dump loads
// back as the same model. Any breach aborts, which libFuzzer reports.

#include <memory>
#include <string>

#include "orx/ORXModel.h"

namespace pdmfuzz {

// Exports `model` with the bridge beside the fuzz target and checks the
// result as above.
void exportAndCheck(ORXModel& model);

// Writes `size` bytes at `data` to a scratch file of this process whose name
// ends in `suffix`, and returns its path.
std::string scratchFile(const unsigned char* data, std::size_t size, const char* suffix);

}  // namespace pdmfuzz
