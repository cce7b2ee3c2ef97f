#include "cli/ModelPreparation.h"

#include "cli/DiagramSymbols.h"
#include "cli/Selection.h"

namespace cli {

void prepareModel(ORXModel& model, const ModelChoices& choices, bool fromDatabase,
                  const std::function<void(const std::string&)>& warn) {
    SelectionOutcome selection = applySelection(model, choices.includes, choices.excludes);
    for (const std::string& warning : selection.warnings)
        warn(warning);
    if (selection.leavesNothing)
        throw HostError("the selection (--include, --exclude) leaves no table or view to export");
    // The imported diagram shows what the selection kept, so it comes after it.
    if (fromDatabase && !choices.noDiagram)
        addImportedDiagrams(model);
    layoutDiagrams(model, choices.layout);
    if (choices.completeLinks)
        completeLinks(model);
}

}  // namespace cli
