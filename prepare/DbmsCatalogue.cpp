// The catalogue of target DBMSs, kept as plain data one row per line, and the
// two ways a row is chosen: by the "Target Database" option and by the
// database type recorded in the source model.

#include "prepare/DbmsCatalogue.h"

#include <cstring>

// Columns: detection name, definition URL, datatype table, display name, DBMS
// code, DBMS GUID, trigger kind. Row 0 is the default and is repeated as row 34;
// rows 52 to 76 only add older detection names for descriptors above.
// clang-format off
const DbmsDescriptor dbmsCatalogue[] = {
    /*  0 */ {"ORACLE 8.1.6",              "file:///oracl8i2.xdb", datatype_tables::oracl8i2,     "ORACLE Version 8i2 (8.1.6)",               "ORACLE 8I2",     "194A9A5D-6FD7-4064-B874-1C7143381572", 2},
    /*  1 */ {"Access 97",                 "file:///access95.xdb", datatype_tables::access95,     "Microsoft Access 95 & 97",                 "MSACCESS95",     "DBB22DBD-5D0D-44E6-885E-0F57C5640047", 0},
    /*  2 */ {"Access 2000",               "file:///access2k.xdb", datatype_tables::access95,     "Microsoft Access 2000",                    "MSACCESS2000",   "763EFCF1-AEFF-4DC3-9BE5-E1D32F2648CB", 0},
    /*  3 */ {"ADABAS D",                  "file:///adabasd.xdb",  datatype_tables::adabasd,      "ADABAS D",                                 "ADABASD",        "35A6F670-D70C-4230-8920-3E5992B03EA1", 0},
    /*  4 */ {"ALLBASE/SQL G.1",           "file:///allbase.xdb",  datatype_tables::allbase,      "ALLBASE/SQL G.1 (Not Certified)",          "ALLBASE",        "D4711E2C-2176-44D7-98E5-54FC0E3ACACD", 1},
    /*  5 */ {"ANSI Level 2",              "file:///ansi2.xdb",    datatype_tables::ansi2,        "ANSI Level 2",                             "ANSI 2",         "1225DBA1-BD15-4458-8D53-B4CF99F57188", 0},
    /*  6 */ {"AS/400 4",                  "file:///as400.xdb",    datatype_tables::as400,        "AS/400 (Not Certified)",                   "AS/400",         "3E946AA2-1C0B-4F16-AD4D-C32ADD4E4C76", 0},
    /*  7 */ {"DB2/UDB 5",                 "file:///db2udb52.xdb", datatype_tables::db2udb52,     "IBM DB2 UDB 5.x Common Server",            "DB2 UDB 5.2",    "BDACE677-0BF4-4DAB-BD34-259A4AE92B80", 2},
    /*  8 */ {"DB2/UDB 6",                 "file:///db2cs6.xdb",   datatype_tables::db2udb52,     "IBM DB2 UDB 6.x Common Server",            "DB2UDB6",        "E93BD59F-01CE-4BF0-BCE2-01D7D27209E7", 2},
    /*  9 */ {"DB2/UDB 7",                 "file:///db2cs7.xdb",   datatype_tables::db2udb52,     "IBM DB2 UDB 7.x Common Server",            "DB2UDB7",        "E414A463-4219-4ED2-BF91-51C89BFDFE6A", 2},
    /* 10 */ {"DB2/UDB 8",                 "file:///db2cs7.xdb",   datatype_tables::db2udb52,     "IBM DB2 UDB 8.x Common Server",            "DB2UDB7",        "E414A463-4219-4ED2-BF91-51C89BFDFE6A", 2},
    /* 11 */ {"DB2/MVS 4",                 "file:///db2mvs4.xdb",  datatype_tables::db2mvs4,      "IBM DB2 4.x for MVS/ESA (Not Certified)",  "DB2 MVS",        "967830B3-C0D1-4A78-BA3D-E8D86E8ACBC1", 0},
    /* 12 */ {"DB2/390 5",                 "file:///db2mvs5.xdb",  datatype_tables::db2mvs4,      "IBM DB2 5.x for OS/390 (Not Certified)",   "DB2 MVS",        "636717E9-506E-4B3D-9428-91ADDA90F65F", 0},
    /* 13 */ {"DB2/390 6",                 "file:///db2mvs6.xdb",  datatype_tables::db2mvs6,      "IBM DB2 UDB 6 for OS/390",                 "DB2MVS6",        "8C9C42F2-6972-4799-8097-262ED8AB0BC2", 2},
    /* 14 */ {"DB2/390 7",                 "file:///db2mvs7.xdb",  datatype_tables::db2mvs6,      "IBM DB2 UDB 7 for OS/390 (Not Certified)", "DB2MVS7",        "CC2A1087-0C3A-401D-9676-DBF9677ECE01", 2},
    /* 15 */ {"DB2/390 8",                 "file:///db2mvs7.xdb",  datatype_tables::db2mvs6,      "IBM DB2 UDB 8 for OS/390 (Not Certified)", "DB2MVS7",        "CC2A1087-0C3A-401D-9676-DBF9677ECE01", 2},
    /* 16 */ {"INFORMIX 7.x",              "file:///infmx7.xdb",   datatype_tables::infmx7,       "INFORMIX SQL 7.x",                         "INFORMIX7",      "D504BFA3-A983-471F-9FD0-5ABAA2DC207B", 1},
    /* 17 */ {"INFORMIX 8.x",              "file:///infmx8.xdb",   datatype_tables::infmx7,       "INFORMIX SQL 8.x",                         "INFORMIX8",      "3CC27874-668A-427C-8D98-01B7F6E7F762", 1},
    /* 18 */ {"INFORMIX 9.x",              "file:///infmx9.xdb",   datatype_tables::infmx7,       "INFORMIX SQL 9.x",                         "INFORMIX9",      "6EE87B23-1381-4E35-B5E5-271248D82ACC", 1},
    /* 19 */ {"InterBase",                 "file:///interbas.xdb", datatype_tables::interbas,     "InterBase 4.0",                            "INTERBASE",      "22FD55FD-661C-11D3-B561-00105A1AA418", 1},
    /* 20 */ {"InterBase 5.x",             "file:///intrbas5.xdb", datatype_tables::interbas,     "InterBase 5.x",                            "InterBase 5.x",  "22FD55FD-661C-11D3-B561-00105A1AA418", 1},
    /* 21 */ {"InterBase 6.x",             "file:///intrbas6.xdb", datatype_tables::interbas,     "InterBase 6.x",                            "InterBase 6.x",  "22FD55FD-661C-11D3-B561-00105A1AA418", 1},
    /* 22 */ {"SQL Server 6.x",            "file:///sqlserv6.xdb", datatype_tables::sqlserv6,     "Microsoft SQL Server 6.x",                 "SQL SERVER 6",   "228D9FBF-B640-4E93-A4A6-79F4D710831D", 1},
    /* 23 */ {"SQL Server 7.x",            "file:///sqlserv7.xdb", datatype_tables::sqlserv7,     "Microsoft SQL Server 7.x",                 "SQL SERVER 7",   "986CB218-1936-4245-823C-883D7AF59B86", 1},
    /* 24 */ {"SQL Server 2000",           "file:///sqlsrv2k.xdb", datatype_tables::sqlsrv2k,     "Microsoft SQL Server 2000",                "MSSQLSRV2000",   "E2B854D3-FF56-485F-BEF3-98AEC7E65DDC", 1},
    /* 25 */ {"SQL Server 2005",           "file:///sqlsrv2k.xdb", datatype_tables::sqlsrv2k,     "Microsoft SQL Server 2000",                "MSSQLSRV2000",   "E2B854D3-FF56-485F-BEF3-98AEC7E65DDC", 1},
    /* 26 */ {"MySQL 3.22",                "file:///mysql322.xdb", datatype_tables::mysql322,     "MySQL 3.22",                               "MySQL 3.22",     "242B6DDF-4114-47FC-87A0-64745DEDBCEF", 0},
    /* 27 */ {"MySQL 3.23",                "file:///mysql323.xdb", datatype_tables::mysql322,     "MySQL 3.23",                               "MySQL 3.23",     "2456E7C3-1F10-4005-BA71-AE5B6498BD36", 0},
    /* 28 */ {"MySQL 4.0",                 "file:///mysql323.xdb", datatype_tables::mysql322,     "MySQL 4",                                  "MySQL 3.23",     "2456E7C3-1F10-4005-BA71-AE5B6498BD36", 0},
    /* 29 */ {"NonStop SQL",               "file:///nonstop.xdb",  datatype_tables::nonstop,      "NonStop SQL (Not Certified)",              "NonStop",        "7FACCB41-80CE-46BF-92FE-12174411F17C", 0},
    /* 30 */ {"ODBC 3.0",                  "file:///odbc3.xdb",    datatype_tables::odbc3,        "ODBC 3.0",                                 "ODBC 3",         "A8334AA1-B463-4BAB-9885-05DC861515BE", 0},
    /* 31 */ {"ORACLE 7.0",                "file:///oracle7.xdb",  datatype_tables::oracle7,      "ORACLE Version 7",                         "ORACLE V7",      "95B4D493-E519-4E7F-99DE-D8806F06D082", 2},
    /* 32 */ {"ORACLE 8.x",                "file:///oracle8.xdb",  datatype_tables::oracle8,      "ORACLE Version 8",                         "ORACLE V8",      "92DEBEF1-D412-4A2A-A563-4DCAC8D52601", 2},
    /* 33 */ {"ORACLE 8.1.5",              "file:///oracle8i.xdb", datatype_tables::oracle8,      "ORACLE Version 8i (8.1.5)",                "ORACLE8I",       "CA7D8596-A91C-4FA5-9F68-43B4507FB9A2", 2},
    /* 34 */ {"ORACLE 8.1.6",              "file:///oracl8i2.xdb", datatype_tables::oracl8i2,     "ORACLE Version 8i2 (8.1.6)",               "ORACLE 8I2",     "194A9A5D-6FD7-4064-B874-1C7143381572", 2},
    /* 35 */ {"ORACLE 9.x",                "file:///oracl8i2.xdb", datatype_tables::oracl8i2,     "ORACLE Version 9i",                        "ORACLE 8I2",     "194A9A5D-6FD7-4064-B874-1C7143381572", 2},
    /* 36 */ {"ORACLE 9.x",                "file:///oracl8i2.xdb", datatype_tables::oracl8i2,     "ORACLE Version 9i2",                       "ORACLE 8I2",     "194A9A5D-6FD7-4064-B874-1C7143381572", 2},
    /* 37 */ {"PostgreSQL 7",              "file:///pgsql7.xdb",   datatype_tables::pgsql7,       "PostgreSQL 7",                             "PostgreSQL 7",   "510023D3-F07A-4932-B759-33C7D13522EA", 1},
    /* 38 */ {"SYBASE SQL Anywhere 5.x",   "file:///sqlany55.xdb", datatype_tables::sqlany55,     "Sybase SQL Anywhere 5.5",                  "SQL ANYWHERE 5", "59019C15-A57F-4FE5-BFB2-820626E55BB8", 2},
    /* 39 */ {"SYBASE AS Anywhere 6",      "file:///sqlany6.xdb",  datatype_tables::sqlany6,      "Sybase AS Anywhere 6",                     "SQL ANYWHERE 6", "8CECA57B-3547-4B95-9F4A-5EB6CE7AFD2D", 2},
    /* 40 */ {"SYBASE AS Anywhere 7",      "file:///syasa70.xdb",  datatype_tables::sqlany6,      "Sybase AS Anywhere 7",                     "ASA7",           "B0010D9D-3815-4C23-B164-3F4B8F7C3520", 2},
    /* 41 */ {"SYBASE AS Anywhere 8",      "file:///syasa70.xdb",  datatype_tables::sqlany6,      "Sybase AS Anywhere 8",                     "ASA7",           "B0010D9D-3815-4C23-B164-3F4B8F7C3520", 2},
    /* 42 */ {"SYBASE AS Anywhere 9",      "file:///syasa70.xdb",  datatype_tables::sqlany6,      "Sybase AS Anywhere 9",                     "ASA7",           "B0010D9D-3815-4C23-B164-3F4B8F7C3520", 2},
    /* 43 */ {"SYBASE AS Enterprise 11.5", "file:///syase11x.xdb", datatype_tables::syase11x,     "Sybase AS Enterprise 11.x",                "SYBASE ASE11",   "3FCD0506-69F1-4E43-8FCD-154073EDA9B6", 1},
    /* 44 */ {"SYBASE AS Enterprise 11.5", "file:///syase11x.xdb", datatype_tables::syase11x,     "Sybase AS Enterprise 11.5-11.9",           "SYBASE ASE11",   "3FCD0506-69F1-4E43-8FCD-154073EDA9B6", 1},
    /* 45 */ {"SYBASE AS Enterprise 12.0", "file:///syase120.xdb", datatype_tables::syase11x,     "Sybase AS Enterprise 12.0",                "SYBASE ASE12",   "B5C54E86-031E-418E-8D82-26D7F73C8E64", 1},
    /* 46 */ {"SYBASE AS Enterprise 12.5", "file:///syase120.xdb", datatype_tables::syase11x,     "Sybase AS Enterprise 12.5",                "SYBASE ASE12",   "B5C54E86-031E-418E-8D82-26D7F73C8E64", 1},
    /* 47 */ {"SYBASE AS Enterprise 12.5", "file:///syase120.xdb", datatype_tables::syase11x,     "Sybase AS Enterprise 12.5.1",              "SYBASE ASE12",   "B5C54E86-031E-418E-8D82-26D7F73C8E64", 1},
    /* 48 */ {"SYBASE AS IQ 12.0",         "file:///sybiq12.xdb",  datatype_tables::sybiq12,      "Sybase AS IQ 12.0",                        "ADAPTIVE IQ",    "8883C2D5-404D-4C42-B582-2DA055480584", 0},
    /* 49 */ {"SYBASE AS IQ 12.4.3",       "file:///sybiq12.xdb",  datatype_tables::sybiq12,      "Sybase AS IQ 12.4.3",                      "ADAPTIVE IQ",    "8883C2D5-404D-4C42-B582-2DA055480584", 0},
    /* 50 */ {"SYBASE AS IQ 12.5",         "file:///sybiq12.xdb",  datatype_tables::sybiq12,      "Sybase AS IQ 12.5",                        "ADAPTIVE IQ",    "8883C2D5-404D-4C42-B582-2DA055480584", 0},
    /* 51 */ {"Teradata 1",                "file:///teradata.xdb", datatype_tables::teradata,     "Teradata (Not Certified)",                 "TERADATA",       "D9E16492-6EE4-4517-8B38-CC64BD949635", 0},
    /* 52 */ {"Access 1.0",                "file:///access95.xdb", datatype_tables::access95,     "Microsoft Access 95 & 97",                 "MSACCESS95",     "DBB22DBD-5D0D-44E6-885E-0F57C5640047", 0},
    /* 53 */ {"Access 1.1",                "file:///access95.xdb", datatype_tables::access95,     "Microsoft Access 95 & 97",                 "MSACCESS95",     "DBB22DBD-5D0D-44E6-885E-0F57C5640047", 0},
    /* 54 */ {"Access 2.0",                "file:///access95.xdb", datatype_tables::access95,     "Microsoft Access 95 & 97",                 "MSACCESS95",     "DBB22DBD-5D0D-44E6-885E-0F57C5640047", 0},
    /* 55 */ {"ALLBASE/SQL F",             "file:///allbase.xdb",  datatype_tables::allbase,      "ALLBASE/SQL G.1 (Not Certified)",          "ALLBASE",        "D4711E2C-2176-44D7-98E5-54FC0E3ACACD", 1},
    /* 56 */ {"ANSI SQL 92",               "file:///ansi2.xdb",    datatype_tables::ansi2,        "ANSI Level 2",                             "ANSI 2",         "1225DBA1-BD15-4458-8D53-B4CF99F57188", 0},
    /* 57 */ {"AS/400 2",                  "file:///as400.xdb",    datatype_tables::as400,        "AS/400 (Not Certified)",                   "AS/400",         "3E946AA2-1C0B-4F16-AD4D-C32ADD4E4C76", 0},
    /* 58 */ {"AS/400 3",                  "file:///as400.xdb",    datatype_tables::as400,        "AS/400 (Not Certified)",                   "AS/400",         "3E946AA2-1C0B-4F16-AD4D-C32ADD4E4C76", 0},
    /* 59 */ {"DB2/MVS 2",                 "file:///db2mvs4.xdb",  datatype_tables::db2mvs4,      "IBM DB2 4.x for MVS/ESA (Not Certified)",  "DB2 MVS",        "967830B3-C0D1-4A78-BA3D-E8D86E8ACBC1", 0},
    /* 60 */ {"DB2/MVS 3",                 "file:///db2mvs4.xdb",  datatype_tables::db2mvs4,      "IBM DB2 4.x for MVS/ESA (Not Certified)",  "DB2 MVS",        "967830B3-C0D1-4A78-BA3D-E8D86E8ACBC1", 0},
    /* 61 */ {"DB2 5.x",                   "file:///db2mvs5.xdb",  datatype_tables::db2mvs4,      "IBM DB2 5.x for OS/390 (Not Certified)",   "DB2 MVS",        "636717E9-506E-4B3D-9428-91ADDA90F65F", 0},
    /* 62 */ {"DB2 6.x",                   "file:///db2mvs6.xdb",  datatype_tables::db2mvs6,      "IBM DB2 UDB 6 for OS/390",                 "DB2MVS6",        "8C9C42F2-6972-4799-8097-262ED8AB0BC2", 2},
    /* 63 */ {"DB2/CS 2",                  "file:///db2udb52.xdb", datatype_tables::db2udb52,     "IBM DB2 UDB 5.x Common Server",            "DB2 UDB 5.2",    "BDACE677-0BF4-4DAB-BD34-259A4AE92B80", 2},
    /* 64 */ {"INFORMIX 4GL 5.0",          "file:///infmx7.xdb",   datatype_tables::infmx7,       "INFORMIX SQL 7.x",                         "INFORMIX7",      "D504BFA3-A983-471F-9FD0-5ABAA2DC207B", 1},
    /* 65 */ {"INFORMIX 4.x",              "file:///infmx7.xdb",   datatype_tables::infmx7,       "INFORMIX SQL 7.x",                         "INFORMIX7",      "D504BFA3-A983-471F-9FD0-5ABAA2DC207B", 1},
    /* 66 */ {"INFORMIX 5.x",              "file:///infmx7.xdb",   datatype_tables::infmx7,       "INFORMIX SQL 7.x",                         "INFORMIX7",      "D504BFA3-A983-471F-9FD0-5ABAA2DC207B", 1},
    /* 67 */ {"INFORMIX 6.x",              "file:///infmx7.xdb",   datatype_tables::infmx7,       "INFORMIX SQL 7.x",                         "INFORMIX7",      "D504BFA3-A983-471F-9FD0-5ABAA2DC207B", 1},
    /* 68 */ {"InterBase 4.1",             "file:///interbas.xdb", datatype_tables::interbas,     "InterBase 4.0",                            "INTERBASE",      "22FD55FD-661C-11D3-B561-00105A1AA418", 1},
    /* 69 */ {"SQL Server 4.x",            "file:///sqlserv6.xdb", datatype_tables::sqlserv6,     "Microsoft SQL Server 6.x",                 "SQL SERVER 6",   "228D9FBF-B640-4E93-A4A6-79F4D710831D", 1},
    /* 70 */ {"ODBC 2.0",                  "file:///odbc3.xdb",    datatype_tables::odbc3,        "ODBC 3.0",                                 "ODBC 3",         "A8334AA1-B463-4BAB-9885-05DC861515BE", 0},
    /* 71 */ {"ORACLE 5",                  "file:///oracle7.xdb",  datatype_tables::oracle7,      "ORACLE Version 7",                         "ORACLE V7",      "95B4D493-E519-4E7F-99DE-D8806F06D082", 2},
    /* 72 */ {"ORACLE 6",                  "file:///oracle7.xdb",  datatype_tables::oracle7,      "ORACLE Version 7",                         "ORACLE V7",      "95B4D493-E519-4E7F-99DE-D8806F06D082", 2},
    /* 73 */ {"ORACLE 7.1",                "file:///oracle7.xdb",  datatype_tables::oracle7,      "ORACLE Version 7",                         "ORACLE V7",      "95B4D493-E519-4E7F-99DE-D8806F06D082", 2},
    /* 74 */ {"ORACLE 7.2",                "file:///oracle7.xdb",  datatype_tables::oracle7,      "ORACLE Version 7",                         "ORACLE V7",      "95B4D493-E519-4E7F-99DE-D8806F06D082", 2},
    /* 75 */ {"ORACLE 7.3",                "file:///oracle7.xdb",  datatype_tables::oracle7,      "ORACLE Version 7",                         "ORACLE V7",      "95B4D493-E519-4E7F-99DE-D8806F06D082", 2},
    /* 76 */ {"Teradata 2.x",              "file:///teradata.xdb", datatype_tables::teradata,     "Teradata (Not Certified)",                 "TERADATA",       "D9E16492-6EE4-4517-8B38-CC64BD949635", 0},
    /* end */ {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0},
};
// clang-format on

const int dbmsCatalogueSize = 77;

namespace {

// The row selected by each position of the "Target Database" enumeration;
// -1 for "Auto Detect", which has no fixed row.
// clang-format off
const int rowOfEnumerationPosition[] = {
    -1,                                                  //  0 Auto Detect
     1,  2,  3,  4,  5,  6,  7,  8,  9, 10,              //  1 ..  10
    11, 12, 13, 14, 15, 16, 17, 18, 19, 20,              // 11 ..  20
    21, 22, 23, 24,                                      // 21 ..  24 (row 25 is detection only)
    26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36,          // 25 ..  35
    // "** ORACLE Version 10g": the catalogue has no descriptor of that version,
    // so it takes the newest ORACLE descriptor there is, "ORACLE Version 9i2".
    36,                                                  // 36
    37,                                                  // 37 PostgreSQL 7 (row 38 is detection only)
    39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51,  // 38 ..  50
};
// clang-format on

const int enumerationSize =
    static_cast<int>(sizeof rowOfEnumerationPosition / sizeof rowOfEnumerationPosition[0]);

}  // namespace

int dbmsRowForEnumerationPosition(int position) {
    if (position < 0 || position >= enumerationSize)
        return -1;
    return rowOfEnumerationPosition[position];
}

int detectDbmsRow(const char* databaseType, int length) {
    if (databaseType == nullptr || length <= 0)
        return -1;
    const auto wanted = static_cast<std::size_t>(length);
    // First match wins: three detection names occur twice, and the earlier row
    // is the one a detected model is written for.
    for (int row = 0; dbmsCatalogue[row].detectName != nullptr; ++row) {
        const char* name = dbmsCatalogue[row].detectName;
        if (std::strlen(name) == wanted && std::memcmp(name, databaseType, wanted) == 0) {
            return row;
        }
    }
    return -1;
}
