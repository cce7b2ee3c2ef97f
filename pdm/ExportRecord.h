#pragma once
// The per-object record that an export hangs on a model object's general pointer.

#include "orx/ORXModel.h"
#include "orx/ORXString.h"
#include "orx/ORXVector.h"

struct ExportRecord {
    // Identifier of the object's element; 0: none allocated yet.
    int objectId = 0;
    // Identifier of the object's shortcut in shortcutPackage; 0: none.
    int shortcutId = 0;
    // Identifier of the business rule made from the object's check expression; 0: none.
    int ruleId = 0;
    // Cached selection answer: -1 undecided, 0 not exported, 1 exported.
    int exported = -1;
    // Set when the object's full element has been written.
    bool written = false;
    // The package for which shortcutId was allocated.
    ORXDesignPackage* shortcutPackage = nullptr;
    // Cross-link between a many-to-many association and the existing table
    // that resolves it (the table on the association's record and vice versa).
    ORXModelObject* pairedAssociation = nullptr;
    // Design package of an association before pre-processing moved it.
    ORXDesignPackage* originalPackage = nullptr;
    // Backslash path of the object's packages, computed on first use.
    ORXString packagePath;
    // Exported name and code, computed once.
    ORXString name;
    ORXString code;
    // On design packages: shortcut identifiers made while the package was current.
    ORXVector<int> referenceShortcuts;
    ORXVector<int> tableShortcuts;
    ORXVector<int> viewShortcuts;
};
