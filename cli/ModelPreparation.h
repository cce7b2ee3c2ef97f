#pragma once
// What the host does to a loaded model before the export, in this order: the
// selection (--include, --exclude), the diagram of an imported database, the
// layout of diagrams (--layout) and the completion of their links
// (--complete-links). Only the model in memory changes, never its source.

#include <functional>
#include <string>
#include <vector>

#include "cli/DiagramLayout.h"
#include "cli/HostError.h"
#include "orx/ORXModel.h"

namespace cli {

// The command line's choices about the model.
struct ModelChoices {
    // --include and --exclude patterns, in command-line order.
    std::vector<std::string> includes;
    std::vector<std::string> excludes;
    // --no-diagram: no diagram for an imported database.
    bool noDiagram = false;
    LayoutMode layout = LayoutMode::None;
    bool completeLinks = false;
};

// Applies the choices to the model. `fromDatabase` says that the model was
// read from a database (which has no diagrams of its own): each of its design
// packages then gets a laid-out diagram unless `noDiagram` is set. Each
// warning goes to `warn` (without a "warning: " prefix) as it arises. Raises
// HostError when the selection leaves nothing to export.
void prepareModel(ORXModel& model, const ModelChoices& choices, bool fromDatabase,
                  const std::function<void(const std::string&)>& warn);

}  // namespace cli
