#pragma once
// PostgreSQL model sources: the schemas of a PostgreSQL database, read over a
// libpq connection into a repository model. Servers from PostgreSQL 12 on.
//
// What the model holds:
// - The model, its one catalog and its one design package are named after the
//   database (current_database()). The catalog's database type is
//   "PostgreSQL 7" (the detection name of the target it is written for by
//   default) and its comment the server's version ("PostgreSQL 15.4"); it has one
//   schema package per schema of the database, in name order (pg_catalog,
//   information_schema, the pg_toast and the temporary pg_temp schemas
//   aside). The design package's flag is clear, so that its content is merged
//   into the model. Tables, views, triggers and routines are owned by their
//   schema.
// - Each table (ordinary or partitioned; partitions and tables that belong to
//   an extension aside) becomes a class named as the table. Outside the
//   schema "public" its physical name is the table name too. When two schemas
//   hold tables of the same name, the later one (in schema order) is named
//   "<schema>.<table>", its physical name being the table name.
// - Each column (in column order) becomes an attribute, named (name and
//   physical name) as the column, with an inline base type from the table
//   in PostgresTypes.h (timestamp and time with time zone keep their zone,
//   interval becomes an interval type, uuid, json, arrays, bit, money, inet
//   and the rest take the documented fallbacks, and the type's text
//   (format_type) becomes the attribute's comment when the mapping is a
//   fallback, unless the column has a comment of its own, which wins). An
//   integer column that is an identity column or whose default calls
//   nextval() (serial) gets the type AUTOINCREMENT as long as its integer
//   (smallint 5, integer 10, bigint 19 digits) and no initial value. A
//   column of an enumerated type or a domain takes that domain as its type
//   (see below). A column is
//   optional unless it is NOT NULL; its default expression is its initial
//   value (a generated column's expression is not). Table and column comments
//   become the comments of classes and attributes.
// - The primary key constraint becomes a candidate key named as the
//   constraint, unique and the class's primary key, with its columns in key
//   order and no index. Each UNIQUE constraint becomes a candidate key named
//   as the constraint and an index (named as PostgreSQL's index for it)
//   implementing that key. Each other index not behind a constraint becomes
//   an index, unique and clustered as PostgreSQL marks it. Index members are
//   the key columns in index order (position = their place in the index from
//   0, descending columns with sort order 2); expressions and INCLUDE columns
//   are left out, and an index made of expressions alone is left out whole.
// - Each foreign key constraint becomes a foreign key of the child class
//   named as the constraint, with its columns in order, referencing the
//   parent's primary key or the unique key whose columns are the referenced
//   ones (none when no key matches), with a name map for every pair of
//   columns whose names differ. It implements the child role of the
//   association named as the constraint: a source role at the parent
//   (multiplicity "1"), then the child role (multiplicity "0..*") with the
//   update and delete rules (NO ACTION 1, CASCADE 2, RESTRICT 3, SET NULL 4,
//   SET DEFAULT 5).
// - Every CHECK constraint of a table, by name, is placed by placeChecks (see
//   SourceSupport.h): one that reads exactly one column becomes that
//   column's check expression, the others the table's check rule; the text
//   is the checked expression as PostgreSQL prints it.
// - Each enumerated type of the schemas becomes a domain (a derived type of
//   the model) named as the type, SQL_VARCHAR as long as its longest label,
//   with its labels in order as its list of values. Each domain becomes a
//   domain of its base type's model type with its default; its NOT NULL and
//   its checks (by name, VALUE replaced by the column's name) go to every
//   column of the domain.
// - Each view becomes a view (named as tables are) whose statement (kind 1)
//   is pg_get_viewdef's text without surrounding white space and final
//   semicolon, with one column per column of the view and no sources.
// - Each trigger of a table (internal triggers aside) becomes a trigger
//   operation of its class: its body is pg_get_triggerdef's text, its timing
//   BEFORE 0, AFTER 1 or INSTEAD OF 2, and its event flags set for INSERT,
//   UPDATE and DELETE.
// - Each function and procedure of the schemas (not from an extension)
//   becomes a stored procedure of the design package, named as the routine,
//   with pg_get_functiondef's text as body and its comment as comment.
// What the model cannot hold is counted in the import's losses, per kind:
// DEFERRABLE settings, indexes made of expressions alone (left out), index
// expressions, operator classes and partial-index conditions (the indexes
// keep their columns), triggers on views, sequences that no column owns and
// foreign keys to tables that are not read.
// Tables, views and associations lie in the package in that order: tables and
// views by schema then name, associations by child table then constraint
// name. Stored procedures are ordered by schema, name and arguments.
//
// The catalog is read in one read-only transaction, so that the model shows
// one state of the database. Failures raise ModelFileError (see JsonModel.h)
// with a message that begins with the URI, its password masked; no partial
// model is ever returned.

#include <memory>
#include <string>

#include "importers/database/DatabaseImport.h"
#include "importers/modelfile/JsonModel.h"
#include "orx/ORXModel.h"

namespace importers {

// True when `input` is a PostgreSQL connection URI (it begins with
// "postgresql://" or "postgres://").
bool isPostgresUri(const std::string& input);

// Connects with libpq to the database that `uri` names and builds a model
// from its schemas. A failed connection or query raises ModelFileError
// "<uri with any password replaced by ***>: <libpq's message, first line>".
DatabaseImport loadPostgresDatabase(const std::string& uri);

}  // namespace importers
