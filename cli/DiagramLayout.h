#pragma once
// Laying out the table and view symbols of a diagram so that no two overlap
// and related tables sit near each other.
//
// The layout takes the tables and views of the diagram as boxes, sized from
// their column count and longest name. References between them (and, for a
// view, the tables and views its columns come from) make a graph; each
// connected group of it is laid out in layers from parent to child (a child
// below its parents; a cycle is broken at its first member in diagram
// order), each layer a row that wraps when it grows too wide, and the groups
// are packed in rows, largest first, with the tables that relate to nothing
// last. Everything depends only on the model's order, so the same model
// always gives the same coordinates, and every centre lies off both axes.

#include "orx/ORXModel.h"

namespace cli {

// A box's size in model units (both even, so that a centre lies in its middle).
struct BoxSize {
    int width = 0;
    int height = 0;
};

// The box of a table (its name, then one line per column with its key marker
// and its type) or of a view (its name and columns).
BoxSize measureBox(const ORXModelObject& subject);

// True when the diagram's table and view symbols need a layout: one of them
// has no position (x or y is 0), or two of them overlap (which includes all
// of them sitting at one point).
bool needsLayout(const ORXDiagram& diagram);

// Places and sizes every table and view symbol of the diagram; reference
// symbols move to the middle of the two tables they join. Colours and the
// diagram's content are left as they are.
void layoutDiagram(ORXDiagram& diagram);

// Which diagrams --layout lays out.
enum class LayoutMode {
    None,
    Overlapping,  // --layout: those for which needsLayout holds
    All,          // --layout=all: every diagram
};

// Lays out the diagrams of every design package as `mode` says; returns how
// many were laid out.
int layoutDiagrams(ORXModel& model, LayoutMode mode);

}  // namespace cli
