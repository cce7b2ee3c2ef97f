#pragma once
// --svg: the diagrams of an export drawn as one SVG document.
//
// Each diagram is a page, the pages stacked from top to bottom, each with
// the diagram's name above it. A table is a box with its name and a line per
// column (key markers "PK" and "FK", the column's name and its datatype); a
// view is a dashed box with its name and columns; a reference is a line from
// the child table's box to the parent's, with an arrow at the parent and the
// cardinality at the child. Inside a page, coordinates are those of the
// document's symbols, so the picture has their places and proportions; text
// is shrunk to fit a box that is too small for it. Fonts are the generic
// sans-serif family.

#include <string>
#include <vector>

#include "cli/DiagramPages.h"

namespace cli {

// The SVG document (UTF-8) for `pages`. Every text goes through the XML
// writer's conversion, so any name gives a well-formed document.
std::string renderDiagramSvg(const std::vector<DiagramPage>& pages);

// Reads the exported document at `documentPath` and writes the picture of its
// diagrams to `svgPath`. Raises HostError naming the file that cannot be read
// or written; a picture that fails half-way is removed (plain files only).
void writeDiagramSvg(const std::string& documentPath, const std::string& svgPath);

}  // namespace cli
