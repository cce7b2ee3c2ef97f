#pragma once
// The per-object record that an export hangs on a model object's general
// pointer, and the rarer part of it that only some objects need.

#include <cstdint>
#include <vector>

#include "orx/ORXModel.h"
#include "orx/ORXString.h"
#include "orx/ORXVector.h"

// What only some objects need: shortcut targets, columns with a check rule,
// associations that pre-processing pairs or moves, and design packages (their
// shortcut lists). Made on first request (getExportDetail) and kept apart, so
// that the record of every other object stays small.
struct ExportRecordDetail {
    // Identifier of the object's shortcut in shortcutPackage; 0: none.
    int shortcutId = 0;
    // Identifier of the business rule made from the object's check expression; 0: none.
    int ruleId = 0;
    // The package for which shortcutId was allocated.
    ORXDesignPackage* shortcutPackage = nullptr;
    // Cross-link between a many-to-many association and the existing table
    // that resolves it (the table on the association's record and vice versa).
    ORXModelObject* pairedAssociation = nullptr;
    // Design package of an association before pre-processing moved it.
    ORXDesignPackage* originalPackage = nullptr;
    // Backslash path of the object's packages, computed on first use.
    ORXString packagePath;
    // On design packages: shortcut identifiers made while the package was current.
    ORXVector<int> referenceShortcuts;
    ORXVector<int> tableShortcuts;
    ORXVector<int> viewShortcuts;
    // On design packages: an ElementKind per element of the package, in the
    // order of its element list, noted by the first walk over the elements
    // (Bridge::packageElementKinds). The later walks read only the elements
    // of the kinds they write instead of every element object.
    std::vector<std::uint8_t> elementKinds;
};

// What the walks over a package's elements look for in an element.
enum ElementKind : std::uint8_t {
    kOtherElement,
    // A class without operations, and one with some (it may own procedures).
    kTableElement,
    kTableWithOperations,
    kReferenceElement,
    kViewElement,
};

// What every object that the export looks at needs; 24 bytes, one per object.
struct ExportRecord {
    // The object the record hangs on: post-processing clears its pointer.
    ORXObject* object = nullptr;
    // Identifier of the object's element; 0: none allocated yet.
    int objectId = 0;
    // Exported name and code, computed once: positions in the bridge's store
    // of name texts (getExportName and getExportCode give the texts); 0: not
    // computed yet. Equal texts share one stored string.
    std::uint32_t name = 0;
    std::uint32_t code = 0;
    // Cached selection answer: -1 undecided, 0 not exported, 1 exported.
    std::int8_t exported = -1;
    // Set when the object's full element has been written.
    bool written = false;
    // Set when the object has an ExportRecordDetail.
    bool hasDetail = false;
};

// Every object the export looks at has one: keep it small.
static_assert(sizeof(ExportRecord) <= 24, "an export record is meant to take 24 bytes");
