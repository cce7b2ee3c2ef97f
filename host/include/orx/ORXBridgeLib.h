#pragma once
// Helper functions over the repository model, shared by bridges.

#include "orx/ORXModel.h"
#include "orx/ORXString.h"

// Splits a multiplicity text into its bounds. Accepted forms: "N" (exactly
// N), "L..U" and "*" (same as "0..*"), where a bound "*" is unbounded and
// decodes to 2147483647 (either bound may be "*": "*..4" gives 2147483647
// and 4), and bounds above it are read as unbounded. Any other text (empty,
// blanks, signs, numbers L > U) returns false with lower 0 and upper
// 2147483647, the least committal reading.
bool decodeMultiplicity(const ORXString& text, int& lower, int& upper);

// The multiplicity text of two bounds: "N" when they are equal, "L..*" when
// the upper bound is 2147483645 or more, else "L..U" ("1", "0..*", "1..*", "0..1").
ORXString buildMultiplicity(int lower, int upper);

// The other role of a binary association, or null.
ORXAssociationRole* findReverseRole(const ORXAssociationRole* role);

// The object's physical name, or its name when the physical name is empty.
ORXString getPhysicalName(const ORXObject* object);

// The attribute's type when that is a derived type, else null.
ORXDerivedType* getDomain(const ORXFeature* feature);

// The first business rule of `object` of type `ruleType` (3: check rule), or null.
ORXBusinessRule* findBusinessRule(const ORXObject* object, int ruleType);

// A SELECT of the view columns' sources, on one line: "SELECT T.C, U.D AS X
// FROM T, U". Items are the sources qualified by their table (or, for a source
// that is another view's column, by that view), by physical name, in column
// order; " AS " and the view column's physical name follow when that differs
// from the source's. Tables and views are listed in order of first use.
// Columns without a source are left out; empty when no column has a source.
ORXString computeSqlViewSelectStatement(const ORXSQLViewEntity* view);
