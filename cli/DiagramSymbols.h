#pragma once
// Diagrams the host adds to a model before the export: the diagram of an
// imported database, and the reference symbols that --complete-links adds.

#include "orx/ORXModel.h"

namespace cli {

// Gives every design package of the model one new diagram, named after the
// package, holding a symbol for each table that is exported (level code other
// than 1) and each view of the package, and for each reference between two of
// those tables, laid out by layoutDiagram. Returns the number of diagrams
// added. For models read from a database, which come without diagrams.
int addImportedDiagrams(ORXModel& model);

// Adds to every diagram of the model a symbol for each reference (a binary,
// one-to-many association whose level code is not 1) whose two tables both
// have a symbol in that diagram and which has none there yet. The new symbol
// lies midway between the two tables' symbols. Returns the number of symbols
// added.
int completeLinks(ORXModel& model);

}  // namespace cli
