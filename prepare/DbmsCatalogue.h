#pragma once
// The catalogue of target DBMSs.

#include "prepare/DatatypeTables.h"

// One target DBMS: what the document says about it, its datatype table and
// how it knows triggers.
struct DbmsDescriptor {
    // The host model's name for this DBMS and version; used by auto-detection.
    const char* detectName;
    // "file:///" and the definition file name.
    const char* definitionUrl;
    const DatatypeMapRow* datatypeTable;
    // Name of the DBMS in the document and in "Using {0} as target database".
    const char* displayName;
    const char* dbmsCode;
    // GUID of the DBMS definition, 8-4-4-4-12 upper-case hexadecimal.
    const char* dbmsGuid;
    // 0: no triggers; 1: trigger type is the event letter; 2: timing and event.
    int triggerKind;
};

// The 77 rows in order, then an end row whose detectName is null. Row 0 is the default.
extern const DbmsDescriptor dbmsCatalogue[];
// The number of rows before the end row (77).
extern const int dbmsCatalogueSize;

// The catalogue row chosen by position `position` of the "Target Database"
// enumeration (1 to 50); -1 for position 0 ("Auto Detect") and positions
// outside the enumeration.
int dbmsRowForEnumerationPosition(int position);

// The first row whose detection name equals `databaseType` exactly, or -1.
int detectDbmsRow(const char* databaseType, int length);
