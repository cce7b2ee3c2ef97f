#pragma once
// What the benchmarks share: the generated model and the export they run.

#include <memory>
#include <string>

#include "orx/ORXModel.h"

namespace bench {

// `tables` tables in one package and one diagram: ten columns each (an
// integer key and nine others, each with its own inline type), a primary key
// with its index, one to three references to earlier tables, and a symbol for
// every table and reference.
std::unique_ptr<ORXModel> makeModel(int tables);

// Exports `model` to `path` through the bridge, with its default options and
// a log that drops every message. Raises std::runtime_error when it fails.
void exportModel(ORXModel& model, const std::string& path);

}  // namespace bench
