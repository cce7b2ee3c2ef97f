#pragma once
// MySQL and MariaDB model sources: one database of a MySQL (5.7 and later) or
// MariaDB (10.2 and later) server, read over the MariaDB client library into
// a repository model, through information_schema and SHOW statements.
//
// What the model holds (DB below is the database's name):
// - The model, its one catalog, its one schema package and its one design
//   package are named DB. The catalog's database type is "MySQL 4.0", the
//   detection name of the "* MySQL 4" target, and its comment the server's
//   product and version ("MariaDB 10.11.19-0+deb12u1", "MySQL 8.0.36"). The
//   design package's flag is clear, so that its content is merged into the
//   model. The schema owns every table, view, trigger and routine.
// - What the model has no place for is noted in the object's description,
//   one line per note, always in the same words:
//     table:  "Engine: InnoDB"
//     column: "Type: <the server's column type>" when the mapping below loses
//             something (UNSIGNED, ZEROFILL, a size kind, json, spatial ...);
//             "Character set: <name>" when it differs from the table's;
//             "ON UPDATE <expression>"; "Generated (VIRTUAL): <expression>"
//     index:  "Index type: FULLTEXT" or "SPATIAL"; "Prefix lengths: col(10), ..."
//   Comments (COMMENT '...') stay the objects' comments.
// - Each table (BASE TABLE or SYSTEM VERSIONED) becomes a class, and each view
//   a view, named (name and physical name) as it is, in name order.
// - Each column, in column order, becomes an attribute named as it is, whose
//   inline base type comes from the table kTypes in MysqlModel.cpp (see
//   mapMysqlType below and the README): tinyint(1) SQL_BOOLEAN; the integer
//   kinds SQL_TINYINT, SQL_SMALLINT, SQL_INTEGER (mediumint, int) and
//   SQL_BIGINT; AUTO_INCREMENT columns AUTOINCREMENT with the width of their
//   integer (10 digits for int, 19 for bigint); decimal(p,s) SQL_DECIMAL;
//   float SQL_FLOAT, double SQL_DOUBLE; char(n), varchar(n), binary(n),
//   varbinary(n) SQL_CHAR, SQL_VARCHAR, SQL_BINARY, SQL_VARBINARY of length n;
//   the text kinds SQL_LONGVARCHAR, the blob kinds SQL_LONGVARBINARY; date
//   SQL_DATE, time SQL_TIME, datetime SQL_TIMESTAMP, timestamp
//   SQL_TIMESTAMP_WITH_TIME_ZONE (stored in UTC), year SQL_SMALLINT; json
//   SQL_LONGVARCHAR (on MariaDB a longtext with the check json_valid(col):
//   the column is json and that check is not carried); spatial types
//   SQL_LONGVARBINARY; anything else SQL_VARCHAR. An enum or set column takes
//   a domain "<table>_<column>" with the values in order.
//   A column is optional unless NOT NULL. Its default as the server reports
//   it is its initial value: quotes removed from string literals, none for
//   DEFAULT NULL, expressions such as current_timestamp() kept as text.
// - The primary key becomes the candidate key "PK_<table>", the class's
//   primary key, without index. Each other unique index becomes a candidate
//   key named as the index and the unique index implementing it. Every other
//   index becomes an index. Members in index order, descending ones with sort
//   order 2; functional key parts are left out (reported).
// - Each foreign key becomes a foreign key of the child class named as the
//   constraint, referencing the parent's primary key or the unique key of the
//   referenced columns, with name maps where column names differ, and
//   implements the child role of the association named likewise (rules:
//   NO ACTION 1, CASCADE 2, RESTRICT 3, SET NULL 4, SET DEFAULT 5; an
//   unspecified rule stays as the server reports it). A foreign key to a
//   table of another database is left out (reported).
// - CHECK constraints (MariaDB, MySQL 8.0.16 and later): one that reads a
//   single column becomes that column's check expression, the others the
//   table's check rule, as for every database source (placeChecks).
// - Views keep their definition (the SELECT text the server reports) and
//   their columns; triggers become trigger operations of their table's class
//   ("CREATE TRIGGER `name` BEFORE INSERT ON `table` FOR EACH ROW <body>",
//   timing BEFORE 0 or AFTER 1, the event's flag set); procedures and
//   functions become stored procedures of the design package whose body is
//   their SHOW CREATE text and whose comment is their comment.
// What cannot be carried is counted in the import's LossReport: partitioning,
// generated columns' expressions, FULLTEXT and SPATIAL index types, events,
// sequences, functional index parts, foreign keys to other databases, and
// routines, triggers and view definitions the account may not read.
//
// The database is read in one read-only transaction with a consistent
// snapshot; nothing is written. Failures raise ModelFileError with a message
// that begins with the URI, its password masked, followed by the client
// library's message; no partial model is ever returned.

#include <string>
#include <vector>

#include "importers/database/DatabaseImport.h"
#include "importers/database/SourceSupport.h"
#include "importers/modelfile/JsonModel.h"

namespace importers {

// True when `input` is a MySQL or MariaDB URI (it begins with "mysql://" or
// "mariadb://").
bool isMysqlUri(const std::string& input);

// The parts of a URI mysql://[user[:password]@][host][:port]/database[?socket=path].
// Percent escapes are decoded. An empty part means "not given": the client
// library's option files and defaults then apply.
struct MysqlUri {
    std::string user;
    std::string password;
    bool hasPassword = false;
    std::string host;
    unsigned port = 0;
    std::string database;
    std::string socket;
};

// Splits `uri`; raises ModelFileError "<masked uri>: <what is wrong>" when it
// names no database, has a bad port or escape, or a parameter other than socket.
MysqlUri parseMysqlUri(const std::string& uri);

// `uri` with the password of its user information replaced by ***.
std::string maskMysqlUri(const std::string& uri);

// A column type as the server reports it (COLUMN_TYPE, such as
// "int(10) unsigned" or "enum('a','b')") mapped to the model: the model type,
// whether the mapping lost something (the column then notes its server type),
// and the values of an enum or set (empty otherwise).
struct MysqlColumnType {
    ModelType type;
    bool noted = false;
    std::vector<std::string> values;
};
MysqlColumnType mapMysqlType(const std::string& columnType);

// A column default as the server reports it (COLUMN_DEFAULT; null as
// `isNull`) turned into the model's initial value: empty for no default and
// for NULL; MariaDB (`mariadb`) quotes string literals, whose quotes and
// escapes are removed; anything else stays as it is.
std::string mysqlDefaultValue(const std::string& reported, bool isNull, bool mariadb);

// Connects to the database that `uri` names and builds a model from it. The
// password comes from the URI, else from MYSQL_PWD, else from the [client]
// group of the usual option files (such as ~/.my.cnf); a ?socket= wins over
// any socket of the option files.
DatabaseImport loadMysqlDatabase(const std::string& uri);

}  // namespace importers
