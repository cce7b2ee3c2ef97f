#pragma once
// The per-DBMS datatype tables: how each model datatype is written for a
// target DBMS.

#include <cstdint>
#include <string_view>
#include <vector>

// One row of a datatype table.
struct DatatypeMapRow {
    // The model datatype name the row translates ("SQL_VARCHAR"); null ends the table.
    const char* modelDatatype;
    // The DBMS datatype text written for it ("VARCHAR2", "VARCHAR2(255)").
    const char* dbmsDatatype;
    // -1: any model length; 0: only a non-zero length; 1: only a zero length.
    int lengthCondition;
    // The model length is appended and written as the length.
    unsigned char takesLength;
    // Length and scale are appended and written (set only with takesLength).
    unsigned char takesScale;
    // Length written when neither form applies; 0 means none.
    int impliedLength;
};

// The 25 tables, each closed by a row whose fields are all null or 0.
namespace datatype_tables {
extern const DatatypeMapRow access95[];
extern const DatatypeMapRow adabasd[];
extern const DatatypeMapRow allbase[];
extern const DatatypeMapRow ansi2[];
extern const DatatypeMapRow as400[];
extern const DatatypeMapRow db2udb52[];
extern const DatatypeMapRow db2mvs4[];
extern const DatatypeMapRow db2mvs6[];
extern const DatatypeMapRow infmx7[];
extern const DatatypeMapRow interbas[];
extern const DatatypeMapRow mysql322[];
extern const DatatypeMapRow nonstop[];
extern const DatatypeMapRow odbc3[];
extern const DatatypeMapRow oracle7[];
extern const DatatypeMapRow oracle8[];
extern const DatatypeMapRow oracl8i2[];
extern const DatatypeMapRow pgsql7[];
extern const DatatypeMapRow sqlany55[];
extern const DatatypeMapRow sqlany6[];
extern const DatatypeMapRow sqlserv6[];
extern const DatatypeMapRow sqlserv7[];
extern const DatatypeMapRow sqlsrv2k[];
extern const DatatypeMapRow syase11x[];
extern const DatatypeMapRow sybiq12[];
extern const DatatypeMapRow teradata[];
}  // namespace datatype_tables

// The first row of `table` whose model datatype equals `modelDatatype`
// exactly and whose length condition admits `length`; null when none does.
const DatatypeMapRow* findDatatypeRow(const DatatypeMapRow* table, const char* modelDatatype,
                                      int modelDatatypeLength, int length);

// The rows of one datatype table by model datatype name: the answers of
// findDatatypeRow without a scan of the table for every column.
class DatatypeIndex {
  public:
    // The same row as findDatatypeRow(table, modelDatatype, length); the
    // index is made on the first use with `table` and again when it changes.
    const DatatypeMapRow* find(const DatatypeMapRow* table, std::string_view modelDatatype,
                               int length);

  private:
    // The first row of a name that serves a zero length, and the first that
    // serves any other length.
    struct Entry {
        std::string_view name;
        const DatatypeMapRow* zeroLength = nullptr;
        const DatatypeMapRow* otherLength = nullptr;
    };
    void build(const DatatypeMapRow* table);
    // The slot of `name`'s entry, or the free slot where it belongs.
    std::uint32_t& slotOf(std::string_view name);

    const DatatypeMapRow* table_ = nullptr;
    // One per name, in the order of the names' first rows.
    std::vector<Entry> entries_;
    // An open-addressing index of the entries by name: entry position + 1,
    // 0 for a free slot; at least two slots per row of the table.
    std::vector<std::uint32_t> slots_;
};
