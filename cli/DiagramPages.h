#pragma once
// The diagrams of an exported document, read back for drawing.
//
// The picture shows what the export wrote: the document holds each diagram's
// symbols with their rectangles (the model's coordinates already scaled as
// the export's options say), and the tables, columns, datatypes (mapped to
// the target database), keys and references they show. Reading them from the
// document is what makes the picture faithful without knowing the bridge.

#include <string>
#include <vector>

namespace cli {

// One column line of a table box.
struct PageColumn {
    std::string name;
    // The datatype as the export wrote it ("VARCHAR2(30)"); empty for views.
    std::string type;
    bool primaryKey = false;
    bool foreignKey = false;
};

// A table or view symbol. Coordinates are drawing units with Y growing
// downwards: the document's rectangle with its Y values negated back.
struct PageBox {
    std::string name;
    bool view = false;
    long long left = 0, top = 0, right = 0, bottom = 0;
    std::vector<PageColumn> columns;
};

// A reference symbol: a line from the child table's box to the parent's.
struct PageLink {
    int child = 0;   // index into the page's boxes
    int parent = 0;  // index into the page's boxes
    // The reference's cardinality as written ("0,n", "1", ...).
    std::string cardinality;
};

// One diagram.
struct DiagramPage {
    std::string name;
    std::vector<PageBox> boxes;
    std::vector<PageLink> links;
};

// The diagrams of the document `text`, in document order. Symbols of objects
// that the document does not hold (a shortcut's target left out) are drawn
// with their name alone; a reference symbol whose tables have no symbol in
// the diagram gives no line. Raises HostError, naming `documentName`, when the
// text is not well-formed XML.
std::vector<DiagramPage> readDiagramPages(const std::string& text, const std::string& documentName);

}  // namespace cli
