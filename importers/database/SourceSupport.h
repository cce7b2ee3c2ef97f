#pragma once
// Pieces that the database model sources share: trimming catalog texts,
// foreign keys, the keys they reference and the references they implement.

#include <string>
#include <string_view>
#include <vector>

#include "orx/ORXModel.h"

namespace importers {

// Blank, tab, line feed, carriage return and form feed.
bool isSpace(char c);
// `text` without its leading and trailing spaces.
std::string_view trim(std::string_view text);

// The first of `keys` whose columns are exactly `columns`, in any order; null when none.
ORXCandidateKey* findKeyWithColumns(const std::vector<ORXCandidateKey*>& keys,
                                    const std::vector<ORXAttribute*>& columns);

// Appends the child column `column` to `foreignKey`; when it pairs with a
// parent column (`parentColumn`, may be null) of another name, a name map
// records the pair.
void addForeignKeyColumn(ORXForeignKey* foreignKey, ORXAttribute* column,
                         ORXAttribute* parentColumn);

// The reference that `foreignKey` implements: a new association `name` in
// `package` with a source role at `parent` (multiplicity "1") and a child role
// at the foreign key's class (multiplicity "0..*") that carries the update
// and delete rules and the foreign key. Returns null when it is made, else
// what was refused (", cannot be added to the model" and the like, to follow
// the reference's name in a message).
const char* addReference(ORXDesignPackage* package, const std::string& name, ORXClass* parent,
                         ORXForeignKey* foreignKey, int updateRule, int deleteRule);

}  // namespace importers
