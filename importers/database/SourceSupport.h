#pragma once
// Pieces that the database model sources share: trimming catalog texts,
// column types, CHECK constraints, domains, foreign keys, the keys they
// reference and the references they implement.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "orx/ORXModel.h"

namespace importers {

// Blank, tab, line feed, carriage return and form feed.
bool isSpace(char c);
// `text` without its leading and trailing spaces.
std::string_view trim(std::string_view text);

// When a string, a quoted name ("...", `...`, [...]) or a comment (-- to the
// end of the line, /* ... */) starts at offset `i` of `sql`, the offset just
// past it (the end of `sql` when it is not closed); otherwise `i`.
std::size_t skipQuotedOrComment(std::string_view sql, std::size_t i);

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

// Sets the owner that `owners` gives each element of `package`, each class's
// operations right after their class, and the package's stored procedures
// last: the order in which a model file links them, so that a model and its
// reloaded dump agree. Objects `owners` does not name keep no owner.
void linkOwners(ORXDesignPackage* package,
                const std::unordered_map<ORXModelObject*, ORXSchema*>& owners);

// ---- column types ----

// A model datatype ("SQL_INTEGER", "AUTOINCREMENT", ...) with its length and scale.
struct ModelType {
    std::string dataType;
    int length = 0;
    int scale = 0;
};

// Gives `column` an inline base type of `type`.
void setColumnType(ORXAttribute* column, const ModelType& type);

// The AUTOINCREMENT type of a column fed by a counter over an integer of
// `bits` bits, its length the digits of that integer's largest value, so that
// no target narrows the key: 8 bits 3, 16 bits 5, 24 bits 8, 32 bits 10,
// 64 bits 19 (any other width counts as 64 bits).
ModelType autoincrementType(int bits);

// ---- CHECK constraints ----

// A CHECK constraint of a table: its name (empty when it has none), its
// expression (without the word CHECK) and the columns the expression reads.
struct CheckConstraint {
    std::string name;
    std::string expression;
    std::vector<ORXAttribute*> columns;
};

// `text` without parentheses that enclose all of it ("((a > 0))" gives
// "a > 0"), and without surrounding white space. Quotes are respected.
std::string stripOuterParentheses(std::string_view text);

// Joins `parts` with AND, each in parentheses; one part stands alone, as it is.
std::string joinWithAnd(const std::vector<std::string>& parts);

// Places every check of `table` (all of `checks`, in their order): a check
// that reads exactly one column becomes (part of) that column's own check
// expression; every other check becomes part of the table's check rule
// (business rule of type 3). Several checks in one place are joined with
// AND, each in parentheses, after any check the column holds already (a
// domain's). The table's rule is named as its check when one named check
// makes it, else "CK_<table name>".
void placeChecks(ORXClass* table, const std::vector<CheckConstraint>& checks);

// ---- domains ----

// A domain of the database: an enumerated type or a domain over a base type.
struct DomainDefinition {
    std::string name;
    ModelType type;
    std::string defaultValue;
    std::vector<std::string> values;  // the values of an enumeration, in order
    std::string check;                // in terms of the word VALUE; empty when none
    bool notNull = false;
};

// A domain as its columns take it: the model's derived type, and the check
// and NOT NULL that a document's domain has no place for.
struct Domain {
    ORXDerivedType* type = nullptr;
    std::string check;
    bool notNull = false;
};

// The definition of an enumerated type named `name`: SQL_VARCHAR as long as
// its longest value (at least 1), with `values` as its list of values in
// order, each value named as itself.
DomainDefinition enumDomain(const std::string& name, const std::vector<std::string>& values);

// Adds a derived type (a domain) of `definition` to `model`: its datatype,
// its default as initial value and its list of values.
Domain addDomain(ORXModel* model, const DomainDefinition& definition);

// Makes `column` a column of `domain`: the domain becomes its type, a domain
// that is NOT NULL makes the column mandatory, and the domain's check, with
// each word VALUE replaced by the column's name, goes to the column's check
// expression.
void useDomain(ORXAttribute* column, const Domain& domain);

// `text` with every word `word` (ignoring ASCII case; not inside quotes or
// comments) replaced by `replacement`.
std::string replaceWord(std::string_view text, std::string_view word, std::string_view replacement);

}  // namespace importers
