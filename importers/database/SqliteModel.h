#pragma once
// SQLite model sources: the schema of a SQLite database file, or of the
// in-memory database that a SQL script builds, read into a repository model.
//
// What the model holds:
// - The model is named after the file (its base name without extension). It
//   has one catalog, named likewise, whose database type is "ODBC 3.0" (the
//   detection name of the target a SQLite schema is written for by default)
//   and whose comment is the library's version ("SQLite 3.40.1"), with one
//   schema "main", and one
//   design package "main" whose package flag is clear, so that its content is
//   merged into the model. Every table, view and trigger is owned by the
//   schema.
// - Each table (internal "sqlite_" tables aside) becomes a class, in the order
//   of the database's schema table, named (name and physical name) as the
//   table. Each column that is not hidden becomes an attribute with an inline
//   base type read from its declared type by SQLite's affinity rules (the
//   table in SqliteTypes.h); when the mapping loses part of the declared
//   type, the declared text is kept as the attribute's comment. The INTEGER
//   PRIMARY KEY column of a table declared with AUTOINCREMENT, the table's
//   64-bit rowid, gets the type AUTOINCREMENT of length 19. A column is
//   optional unless it is NOT NULL or part of the primary key; its
//   default, as SQLite stores it, is the initial value.
// - The primary key becomes the candidate key "PK_<table>", unique and the
//   class's primary key, with its columns in key order and no index. Each
//   UNIQUE constraint becomes a candidate key named as SQLite's index for it,
//   and an index implementing that key. Each other index (CREATE INDEX)
//   becomes an index, unique when it is. Index members are the key columns in
//   index order (position = their place in the index, descending columns with
//   sort order 2); expressions are left out, and an index made of
//   expressions alone is left out whole. A partial index keeps its columns
//   and loses its condition.
// - Each foreign key becomes the foreign key "FK_<child>_<parent>_<id>" of the
//   child class, with its columns in order, referencing the parent's primary
//   key or the unique key whose columns are the referenced ones (none when no
//   key matches), with a name map for every pair of columns whose names
//   differ. It implements the child role of the association
//   "<child>_<parent>_<id>": a source role at the parent (multiplicity "1"),
//   then the child role (multiplicity "0..*") with the update and delete rules
//   (NO ACTION 1, CASCADE 2, RESTRICT 3, SET NULL 4, SET DEFAULT 5). A foreign
//   key to a table that does not exist is left out. Foreign keys are read in
//   the order they are declared.
// - Each view becomes a view whose statement (kind 1) is the text after the
//   first top-level AS of its CREATE VIEW statement, with one column for each
//   column of the view. When the view selects from one table (or earlier
//   view) alone, a column takes the same-named column of it as its source.
// - Each trigger on a table becomes a trigger operation of that table's class:
//   its body is the CREATE TRIGGER statement, its timing BEFORE 0 (SQLite's
//   default), AFTER 1 or INSTEAD OF 2, and its event flag set for INSERT,
//   UPDATE or DELETE. Triggers on views are left out.
// - Every CHECK constraint, column or table constraint, is read from the
//   CREATE TABLE text (by a tokenizer that skips strings, quoted names and
//   comments and follows nested parentheses) and placed by placeChecks (see
//   SourceSupport.h): a check that reads exactly one column (or, declared on
//   a column, reads none) becomes that column's check expression, every
//   other one part of the table's check rule.
// - A virtual table whose module the library has becomes a class like any
//   table (its module is lost); one whose module is missing is left out;
//   the shadow tables that keep virtual tables' content are left out.
// What is left out or lost is counted in the import's losses, per kind:
// shadow tables, virtual tables (kept or left out), expression-only indexes,
// index expressions, partial-index conditions, views whose columns cannot be
// resolved, triggers on views and foreign keys to missing tables.
// Tables, views and associations lie in the package in that order: tables and
// views as the schema table lists them, then the associations.
//
// Failures raise ModelFileError (see JsonModel.h) with a message that begins
// with the path; no partial model is ever returned.

#include <memory>
#include <string>

#include "importers/database/DatabaseImport.h"
#include "importers/modelfile/JsonModel.h"
#include "orx/ORXModel.h"

namespace importers {

// Builds a model from the schema of the SQLite database file at `path`, opened
// read-only. An empty file counts as an empty database; a file that is not a
// SQLite database raises ModelFileError "<path>: not a SQLite database".
DatabaseImport loadSqliteDatabase(const std::string& path);

// Runs the SQL script at `path` into an in-memory SQLite database and builds
// the model from it. An SQL error raises ModelFileError
// "<path>: line N: <SQLite's message>", N being the line on which the failing
// statement starts.
DatabaseImport loadSqliteScript(const std::string& path);

// True when the file at `path` starts with the SQLite header
// "SQLite format 3" and a zero byte; false when it does not or cannot be read.
bool isSqliteDatabaseFile(const std::string& path);

}  // namespace importers
