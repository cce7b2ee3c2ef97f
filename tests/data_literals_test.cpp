// The literal catalogue: its table, its options and enumerations, its texts
// and its messages.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "literals/VLE_PDPDM7.h"
#include "orx/ORXException.h"
#include "orx/ORXLog.h"

namespace {

using L = VLE_PDPDM7;

// Lines joined by single line feeds, none after the last.
std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            out += '\n';
        out += lines[i];
    }
    return out;
}

// Exposes the catalogue's protected operations.
class OpenCatalogue : public VLE_PDPDM7 {
  public:
    using VLE_PDPDM7::getDocumentId;
    using VLE_PDPDM7::listAllLiterals;
};

// Keeps every event whole, the source text included.
class FullLog : public ORXLog {
  public:
    void reportEvent(const ORXLogEvent& event) override { events.push_back(event); }
    std::vector<ORXLogEvent> events;
};

TEST(LiteralCatalogue, TableListsEveryLiteralInLoadOrderThenNull) {
    struct Entry {
        const ORXTextLiteral* literal;
        // Null for the messages, whose identifier is the framework's choice.
        const char* identifier;
    };
    const std::vector<Entry> expected = {
        {&L::SYBASEPOWERDESIGNERPDM08EXPORT_DESCRIPTION, "SybasePowerDesignerPdmExportDescription"},
        {&L::BP_FILE_DEFAULT, "BP_FILE_DEFAULT"},
        {&L::BP_FILE, "BP_FILE"},
        {&L::BP_TARGET_DATABASE_ENUM_AUTO_DETECT, "Auto Detect"},
        {&L::BP_TARGET_DATABASE_ENUM_ACCESS_95, "Access 95"},
        {&L::BP_TARGET_DATABASE_ENUM_ACCESS_2000, "Access 2000"},
        {&L::BP_TARGET_DATABASE_ENUM_ADABAS_D, "ADABAS D"},
        {&L::BP_TARGET_DATABASE_ENUM_ALLBASE_SQL_G_1, "ALLBASE/SQL G.1"},
        {&L::BP_TARGET_DATABASE_ENUM_ANSI_LEVEL_2, "ANSI Level 2"},
        {&L::BP_TARGET_DATABASE_ENUM_AS_400, "AS/400"},
        {&L::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_5_X_COMMON_SERVER,
         "IBM DB2 UDB 5.x Common Server"},
        {&L::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_6_X_COMMON_SERVER,
         "IBM DB2 UDB 6.x Common Server"},
        {&L::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_7_X_COMMON_SERVER,
         "IBM DB2 UDB 7.x Common Server"},
        {&L::BP_TARGET_DATABASE_ENUM___IBM_DB2_UDB_8_X_COMMON_SERVER,
         "* IBM DB2 UDB 8.x Common Server"},
        {&L::BP_TARGET_DATABASE_ENUM_IBM_DB2_4_X_FOR_MVS_ESA, "IBM DB2 4.x for MVS/ESA"},
        {&L::BP_TARGET_DATABASE_ENUM_IBM_DB2_5_X_FOR_OS_390, "IBM DB2 5.x for OS/390"},
        {&L::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_6_FOR_OS_390, "IBM DB2 UDB 6 for OS/390"},
        {&L::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_7_FOR_OS_390, "IBM DB2 UDB 7 for OS/390"},
        {&L::BP_TARGET_DATABASE_ENUM___IBM_DB2_UDB_8_FOR_OS_390, "* IBM DB2 UDB 8 for OS/390"},
        {&L::BP_TARGET_DATABASE_ENUM_INFORMIX_SQL_7_X, "INFORMIX SQL 7.x"},
        {&L::BP_TARGET_DATABASE_ENUM_INFORMIX_SQL_8_X, "INFORMIX SQL 8.x"},
        {&L::BP_TARGET_DATABASE_ENUM_INFORMIX_SQL_9_X, "INFORMIX SQL 9.x"},
        {&L::BP_TARGET_DATABASE_ENUM_INTERBASE_4_0, "InterBase 4.0"},
        {&L::BP_TARGET_DATABASE_ENUM_INTERBASE_5_X, "InterBase 5.x"},
        {&L::BP_TARGET_DATABASE_ENUM_INTERBASE_6_X, "InterBase 6.x"},
        {&L::BP_TARGET_DATABASE_ENUM_MICROSOFT_SQL_SERVER_6_X, "Microsoft SQL Server 6.x"},
        {&L::BP_TARGET_DATABASE_ENUM_MICROSOFT_SQL_SERVER_7_X, "Microsoft SQL Server 7.x"},
        {&L::BP_TARGET_DATABASE_ENUM_MICROSOFT_SQL_SERVER_2000, "Microsoft SQL Server 2000"},
        {&L::BP_TARGET_DATABASE_ENUM_MYSQL_3_22, "MySQL 3.22"},
        {&L::BP_TARGET_DATABASE_ENUM_MYSQL_3_23, "MySQL 3.23"},
        {&L::BP_TARGET_DATABASE_ENUM___MYSQL_4, "* MySQL 4"},
        {&L::BP_TARGET_DATABASE_ENUM_NONSTOP_SQL, "NonStop SQL"},
        {&L::BP_TARGET_DATABASE_ENUM_ODBC_3_0, "ODBC 3.0"},
        {&L::BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_7, "ORACLE Version 7"},
        {&L::BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_8, "ORACLE Version 8"},
        {&L::BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_8I__8_1_5_, "ORACLE Version 8i (8.1.5)"},
        {&L::BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_8I2__8_1_6_, "ORACLE Version 8i2 (8.1.6)"},
        {&L::BP_TARGET_DATABASE_ENUM___ORACLE_VERSION_9I, "* ORACLE Version 9i"},
        {&L::BP_TARGET_DATABASE_ENUM___ORACLE_VERSION_9I2, "* ORACLE Version 9i2"},
        {&L::BP_TARGET_DATABASE_ENUM___ORACLE_VERSION_10G, "** ORACLE Version 10g"},
        {&L::BP_TARGET_DATABASE_ENUM_POSTGRESQL_7, "PostgreSQL 7"},
        {&L::BP_TARGET_DATABASE_ENUM_SYBASE_AS_ANYWHERE_6, "Sybase AS Anywhere 6"},
        {&L::BP_TARGET_DATABASE_ENUM_SYBASE_AS_ANYWHERE_7, "Sybase AS Anywhere 7"},
        {&L::BP_TARGET_DATABASE_ENUM___SYBASE_SQL_ANYWHERE_8, "* Sybase SQL Anywhere 8"},
        {&L::BP_TARGET_DATABASE_ENUM___SYBASE_SQL_ANYWHERE_9, "* Sybase SQL Anywhere 9"},
        {&L::BP_TARGET_DATABASE_ENUM_SYBASE_AS_ENTERPRISE_11_0, "Sybase AS Enterprise 11.0"},
        {&L::BP_TARGET_DATABASE_ENUM___SYBASE_AS_ENTERPRISE_11_5_11_9,
         "* Sybase AS Enterprise 11.5-11.9"},
        {&L::BP_TARGET_DATABASE_ENUM_SYBASE_AS_ENTERPRISE_12_0, "Sybase AS Enterprise 12.0"},
        {&L::BP_TARGET_DATABASE_ENUM___SYBASE_AS_ENTERPRISE_12_5, "* Sybase AS Enterprise 12.5"},
        {&L::BP_TARGET_DATABASE_ENUM___SYBASE_AS_ENTERPRISE_12_5_1,
         "* Sybase AS Enterprise 12.5.1"},
        {&L::BP_TARGET_DATABASE_ENUM_SYBASE_AS_IQ_12_0, "Sybase AS IQ 12.0"},
        {&L::BP_TARGET_DATABASE_ENUM___SYBASE_AS_IQ_12_4_3, "* Sybase AS IQ 12.4.3"},
        {&L::BP_TARGET_DATABASE_ENUM___SYBASE_AS_IQ_12_5, "* Sybase AS IQ 12.5"},
        {&L::BP_TARGET_DATABASE_ENUM_TERADATA, "Teradata"},
        {&L::BP_TARGET_DATABASE_ENUM, "BP_TARGET_DATABASE_ENUM"},
        {&L::BP_TARGET_DATABASE, "BP_TARGET_DATABASE"},
        {&L::BP_DESCRIPTION_ENUM_COMMENT___DESCRIPTION, "Comment & Description"},
        {&L::BP_DESCRIPTION_ENUM_COMMENT, "Comment"},
        {&L::BP_DESCRIPTION_ENUM_NOTES_DESCRIPTION, "Notes/Description"},
        {&L::BP_DESCRIPTION_ENUM, "BP_DESCRIPTION_ENUM"},
        {&L::BP_DESCRIPTION, "BP_DESCRIPTION"},
        {&L::BP_SCALE__IN____FOR_X_COORDINATES_DEFAULT,
         "BP_SCALE__IN____FOR_X_COORDINATES_DEFAULT"},
        {&L::BP_SCALE__IN____FOR_X_COORDINATES, "BP_SCALE__IN____FOR_X_COORDINATES"},
        {&L::BP_SCALE__IN____FOR_Y_COORDINATES_DEFAULT,
         "BP_SCALE__IN____FOR_Y_COORDINATES_DEFAULT"},
        {&L::BP_SCALE__IN____FOR_Y_COORDINATES, "BP_SCALE__IN____FOR_Y_COORDINATES"},
        {&L::BP_XML_INDENTATION__PRETTY_PRINTING__DEFAULT,
         "BP_XML_INDENTATION__PRETTY_PRINTING__DEFAULT"},
        {&L::BP_XML_INDENTATION__PRETTY_PRINTING_, "BP_XML_INDENTATION__PRETTY_PRINTING_"},
        {&L::BP_VERSION_ENUM_8_0, "8.0"},
        {&L::BP_VERSION_ENUM_9_0, "9.0"},
        {&L::BP_VERSION_ENUM_9_5, "9.5"},
        {&L::BP_VERSION_ENUM_10_0, "10.0"},
        {&L::BP_VERSION_ENUM_11_0, "11.0"},
        {&L::BP_VERSION_ENUM_12_0, "12.0"},
        {&L::BP_VERSION_ENUM, "BP_VERSION_ENUM"},
        {&L::BP_VERSION, "BP_VERSION"},
        {&L::PDPDMX_E_UNABLE_TO_OPEN_OUTPUT_FILE, nullptr},
        {&L::PDPDMX_E_INPUT_MODEL_PARAMETER_IS_NULL, nullptr},
        {&L::PDPDMX_S_PRE_PROCESSING, nullptr},
        {&L::PDPDMX_S_ORIGINAL_DATABASE_DETECTED, nullptr},
        {&L::PDPDMX_S_ORIGINAL_DATABASE_NOT_DETECTED, nullptr},
        {&L::PDPDMX_S_TARGET_DATABASE_DETECTED, nullptr},
        {&L::PDPDMX_S_EXPORTING, nullptr},
        {&L::PDPDMX_S_POST_PROCESSING, nullptr},
        {&L::PDPDMX_W_NON_BINARY_ASSOCIATION, nullptr},
        {&L::PDPDMX_W_INCONSISTENT_VIEW, nullptr},
        {&L::PDPDMX_E_MULTIPLE_CATALOGS_DETECTED, nullptr},
    };
    ASSERT_EQ(expected.size(), 86u);

    ORXTextLiteral* const* table = VLE_PDPDM7::getAllLiterals();
    ASSERT_NE(table, nullptr);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        ASSERT_NE(table[i], nullptr);
        EXPECT_EQ(table[i], expected[i].literal);
        if (expected[i].identifier != nullptr) {
            EXPECT_EQ(table[i]->getIdentifier().str(), expected[i].identifier);
        }
    }
    EXPECT_EQ(table[86], nullptr);

    // The virtual operation hands the framework the same table.
    OpenCatalogue catalogue;
    EXPECT_EQ(catalogue.listAllLiterals(), table);
}

TEST(LiteralCatalogue, IsRegisteredUnderItsDocumentId) {
    OpenCatalogue catalogue;
    EXPECT_EQ(catalogue.getDocumentId().str(), "ORXSybasePowerDesignerPdmExport");
    EXPECT_EQ(ORXTextLiteralsCollection::findCollection("ORXSybasePowerDesignerPdmExport"),
              VLE_PDPDM7::getAllLiterals());
}

TEST(LiteralCatalogue, FindTextLiteralMatchesIdentifiersExactly) {
    struct Case {
        ORXString identifier;
        const ORXTextLiteral* expected;
    };
    const std::vector<Case> cases = {
        {"BP_FILE", &L::BP_FILE},
        {"bp_file", nullptr},
        {"BP_FILE ", nullptr},
        {" BP_FILE", nullptr},
        {"BP_FIL", nullptr},
        {ORXString("BP_FILE\0X", 9), nullptr},
        {"", nullptr},
        {"BP_FILE_DEFAULT", &L::BP_FILE_DEFAULT},
        {"SybasePowerDesignerPdmExportDescription", &L::SYBASEPOWERDESIGNERPDM08EXPORT_DESCRIPTION},
        {"SYBASEPOWERDESIGNERPDM08EXPORT_DESCRIPTION", nullptr},
        {"BP_TARGET_DATABASE", &L::BP_TARGET_DATABASE},
        {"BP_TARGET_DATABASE_ENUM", &L::BP_TARGET_DATABASE_ENUM},
        // Enumeration values are found by their value text, not their member name.
        {"* MySQL 4", &L::BP_TARGET_DATABASE_ENUM___MYSQL_4},
        {"BP_TARGET_DATABASE_ENUM___MYSQL_4", nullptr},
        {"Comment", &L::BP_DESCRIPTION_ENUM_COMMENT},
        {"12.0", &L::BP_VERSION_ENUM_12_0},
        {"BP_XML_INDENTATION__PRETTY_PRINTING_", &L::BP_XML_INDENTATION__PRETTY_PRINTING_},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("identifier '" + c.identifier.str() + "'");
        EXPECT_EQ(VLE_PDPDM7::findTextLiteral(c.identifier), c.expected);
    }
}

TEST(LiteralCatalogue, MessagesCarryTheirCodesSeveritiesAndTexts) {
    struct Case {
        const ORXMessageLiteral* message;
        const char* code;
        const char* severity;
        int level;
        const char* text;
    };
    const std::vector<Case> cases = {
        {&L::PDPDMX_E_UNABLE_TO_OPEN_OUTPUT_FILE, "VLE_PDPDM7_F0001", "FATAL", ORX_SEVERITY_FATAL,
         "Unable to open or create output file '{0}'"},
        {&L::PDPDMX_E_INPUT_MODEL_PARAMETER_IS_NULL, "VLE_PDPDM7_F0002", "FATAL",
         ORX_SEVERITY_FATAL, "Input model pointer is null"},
        {&L::PDPDMX_S_PRE_PROCESSING, "VLE_PDPDM7_S0004", "STATUS", ORX_SEVERITY_STATUS,
         "Pre-processing the model..."},
        {&L::PDPDMX_S_ORIGINAL_DATABASE_DETECTED, "VLE_PDPDM7_S0005", "STATUS", ORX_SEVERITY_STATUS,
         "Auto detecting target database ... found : {0}"},
        {&L::PDPDMX_S_ORIGINAL_DATABASE_NOT_DETECTED, "VLE_PDPDM7_S0006", "STATUS",
         ORX_SEVERITY_STATUS, "Auto detecting target database ... none found"},
        {&L::PDPDMX_S_TARGET_DATABASE_DETECTED, "VLE_PDPDM7_S0007", "STATUS", ORX_SEVERITY_STATUS,
         "Using {0} as target database"},
        {&L::PDPDMX_S_EXPORTING, "VLE_PDPDM7_S0008", "STATUS", ORX_SEVERITY_STATUS,
         "Exporting ..."},
        {&L::PDPDMX_S_POST_PROCESSING, "VLE_PDPDM7_S0009", "STATUS", ORX_SEVERITY_STATUS,
         "Post-processing the model..."},
        // The literal's name says W, its severity says STATUS; the severity decides.
        {&L::PDPDMX_W_NON_BINARY_ASSOCIATION, "VLE_PDPDM7_S0010", "STATUS", ORX_SEVERITY_STATUS,
         "Non binary Associations not supported"},
        {&L::PDPDMX_W_INCONSISTENT_VIEW, "VLE_PDPDM7_W0012", "WARNING", ORX_SEVERITY_WARNING,
         "View '{0}' might be inconsistent if objects have been renamed"},
        {&L::PDPDMX_E_MULTIPLE_CATALOGS_DETECTED, "VLE_PDPDM7_W0013", "WARNING",
         ORX_SEVERITY_WARNING,
         "This bridge does not support multiple catalogs. The source model has multiple "
         "catalogs."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(c.message->getMessageCode().str(), c.code);
        EXPECT_EQ(c.message->getSeverity().str(), c.severity);
        EXPECT_EQ(c.message->getSeverityLevel(), c.level);
        EXPECT_EQ(c.message->getText().str(), c.text);
    }
}

TEST(LiteralCatalogue, GetMessagePutsTheCodeInBracketsBeforeTheText) {
    EXPECT_EQ(L::PDPDMX_S_EXPORTING.getMessage().str(), "[VLE_PDPDM7_S0008] Exporting ...");
    EXPECT_EQ(L::PDPDMX_E_INPUT_MODEL_PARAMETER_IS_NULL.getMessage().str(),
              "[VLE_PDPDM7_F0002] Input model pointer is null");

    struct Case {
        const VLE_PDPDM7::MessageInstance_String* message;
        ORXString value;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {&L::PDPDMX_W_INCONSISTENT_VIEW, "V1",
         "[VLE_PDPDM7_W0012] View 'V1' might be inconsistent if objects have been renamed"},
        {&L::PDPDMX_E_UNABLE_TO_OPEN_OUTPUT_FILE, "",
         "[VLE_PDPDM7_F0001] Unable to open or create output file ''"},
        {&L::PDPDMX_S_TARGET_DATABASE_DETECTED, "Microsoft SQL Server 2000",
         "[VLE_PDPDM7_S0007] Using Microsoft SQL Server 2000 as target database"},
        {&L::PDPDMX_S_ORIGINAL_DATABASE_DETECTED, "ORACLE 9.x",
         "[VLE_PDPDM7_S0005] Auto detecting target database ... found : ORACLE 9.x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(c.message->getMessage(c.value).str(), c.expected);
    }
    // Formatting leaves the literal's own text untouched.
    EXPECT_EQ(L::PDPDMX_W_INCONSISTENT_VIEW.getText().str(),
              "View '{0}' might be inconsistent if objects have been renamed");
}

TEST(LiteralCatalogue, LogHandsTheLogTextCodeAndLevelAsOneEvent) {
    FullLog log;
    L::PDPDMX_W_NON_BINARY_ASSOCIATION.log(log);
    L::PDPDMX_S_ORIGINAL_DATABASE_DETECTED.log(log, "SQL Server 2005");
    L::PDPDMX_E_MULTIPLE_CATALOGS_DETECTED.log(log);

    ASSERT_EQ(log.events.size(), 3u);
    EXPECT_EQ(log.events[0].getText().str(), "Non binary Associations not supported");
    EXPECT_EQ(log.events[0].getCode().str(), "VLE_PDPDM7_S0010");
    EXPECT_EQ(log.events[0].getLevel(), ORX_SEVERITY_STATUS);
    EXPECT_EQ(log.events[0].getSource().str(), "");

    // The code travels beside the text, never inside it.
    EXPECT_EQ(log.events[1].getText().str(),
              "Auto detecting target database ... found : SQL Server 2005");
    EXPECT_EQ(log.events[1].getCode().str(), "VLE_PDPDM7_S0005");
    EXPECT_EQ(log.events[1].getLevel(), ORX_SEVERITY_STATUS);
    EXPECT_EQ(log.events[1].getSource().str(), "");

    EXPECT_EQ(log.events[2].getCode().str(), "VLE_PDPDM7_W0013");
    EXPECT_EQ(log.events[2].getLevel(), ORX_SEVERITY_WARNING);
}

TEST(LiteralCatalogue, ThrowExceptionRaisesTheFullMessage) {
    try {
        L::PDPDMX_E_UNABLE_TO_OPEN_OUTPUT_FILE.throwException("/no/such/dir/out.pdm");
        FAIL() << "no exception";
    } catch (const ORXException& e) {
        EXPECT_EQ(e.getMessage().str(),
                  "[VLE_PDPDM7_F0001] Unable to open or create output file '/no/such/dir/out.pdm'");
    }
    try {
        L::PDPDMX_E_INPUT_MODEL_PARAMETER_IS_NULL.throwException();
        FAIL() << "no exception";
    } catch (const ORXException& e) {
        EXPECT_EQ(e.getMessage().str(), "[VLE_PDPDM7_F0002] Input model pointer is null");
    }
}

TEST(LiteralCatalogue, OptionLiteralsHoldNameKindEnumerationAndDefault) {
    struct Case {
        const ORXBridgeOptionLiteral* option;
        const char* identifier;
        const char* name;
        const char* kind;
        const ORXBridgeOptionEnumerationLiteral* enumeration;
        int valueCount;
        const ORXTextLiteral* defaultLiteral;
        const char* defaultText;
    };
    const std::vector<Case> cases = {
        {&L::BP_VERSION, "BP_VERSION", "Version", "Enumerated", &L::BP_VERSION_ENUM, 6,
         &L::BP_VERSION_ENUM_12_0, "12.0"},
        {&L::BP_FILE, "BP_FILE", "File", "File", nullptr, 0, &L::BP_FILE_DEFAULT, ""},
        {&L::BP_TARGET_DATABASE, "BP_TARGET_DATABASE", "Target Database", "Enumerated",
         &L::BP_TARGET_DATABASE_ENUM, 51, &L::BP_TARGET_DATABASE_ENUM_AUTO_DETECT, "Auto Detect"},
        {&L::BP_DESCRIPTION, "BP_DESCRIPTION", "Description", "Enumerated", &L::BP_DESCRIPTION_ENUM,
         3, &L::BP_DESCRIPTION_ENUM_COMMENT___DESCRIPTION, "Comment & Description"},
        {&L::BP_SCALE__IN____FOR_X_COORDINATES, "BP_SCALE__IN____FOR_X_COORDINATES",
         "Scale (in %) for X coordinates", "Numeric", nullptr, 0,
         &L::BP_SCALE__IN____FOR_X_COORDINATES_DEFAULT, "100"},
        {&L::BP_SCALE__IN____FOR_Y_COORDINATES, "BP_SCALE__IN____FOR_Y_COORDINATES",
         "Scale (in %) for Y coordinates", "Numeric", nullptr, 0,
         &L::BP_SCALE__IN____FOR_Y_COORDINATES_DEFAULT, "100"},
        {&L::BP_XML_INDENTATION__PRETTY_PRINTING_, "BP_XML_INDENTATION__PRETTY_PRINTING_",
         "XML Indentation (pretty printing)", "String", nullptr, 0,
         &L::BP_XML_INDENTATION__PRETTY_PRINTING__DEFAULT, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.identifier);
        EXPECT_EQ(c.option->getIdentifier().str(), c.identifier);
        EXPECT_EQ(c.option->getName().str(), c.name);
        EXPECT_EQ(c.option->getKind().str(), c.kind);
        EXPECT_EQ(c.option->getEnumeration(), c.enumeration);
        if (c.enumeration != nullptr) {
            EXPECT_EQ(c.enumeration->getValueCount(), c.valueCount);
            EXPECT_EQ(c.enumeration->getText().str(), "");
        }
        ASSERT_EQ(c.option->getDefault(), c.defaultLiteral);
        EXPECT_EQ(c.option->getDefault()->getText().str(), c.defaultText);
    }
    EXPECT_EQ(L::BP_FILE_DEFAULT.toString().str(), "");
    EXPECT_EQ(L::BP_SCALE__IN____FOR_X_COORDINATES_DEFAULT.toString().str(), "100");
}

// Each value of an enumeration, in order: the member that holds it and its
// text, which is also its identifier.
void expectEnumeration(
    const ORXBridgeOptionEnumerationLiteral& enumeration,
    const std::vector<std::pair<const ORXBridgeEnumValueLiteral*, const char*>>& expected) {
    ASSERT_EQ(enumeration.getValueCount(), static_cast<int>(expected.size()));
    ORXBridgeEnumValueLiteral* const* values = enumeration.getValues();
    ASSERT_NE(values, nullptr);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("position " + std::to_string(i) + " '" + expected[i].second + "'");
        EXPECT_EQ(values[i], expected[i].first);
        EXPECT_EQ(values[i]->getText().str(), expected[i].second);
        EXPECT_EQ(values[i]->getIdentifier().str(), expected[i].second);
    }
}

TEST(LiteralCatalogue, EnumerationsListTheirValuesInOrder) {
    {
        SCOPED_TRACE("BP_VERSION_ENUM");
        EXPECT_EQ(L::BP_VERSION_ENUM.getIdentifier().str(), "BP_VERSION_ENUM");
        expectEnumeration(L::BP_VERSION_ENUM, {{&L::BP_VERSION_ENUM_8_0, "8.0"},
                                               {&L::BP_VERSION_ENUM_9_0, "9.0"},
                                               {&L::BP_VERSION_ENUM_9_5, "9.5"},
                                               {&L::BP_VERSION_ENUM_10_0, "10.0"},
                                               {&L::BP_VERSION_ENUM_11_0, "11.0"},
                                               {&L::BP_VERSION_ENUM_12_0, "12.0"}});
    }
    {
        SCOPED_TRACE("BP_DESCRIPTION_ENUM");
        EXPECT_EQ(L::BP_DESCRIPTION_ENUM.getIdentifier().str(), "BP_DESCRIPTION_ENUM");
        expectEnumeration(L::BP_DESCRIPTION_ENUM,
                          {{&L::BP_DESCRIPTION_ENUM_COMMENT___DESCRIPTION, "Comment & Description"},
                           {&L::BP_DESCRIPTION_ENUM_COMMENT, "Comment"},
                           {&L::BP_DESCRIPTION_ENUM_NOTES_DESCRIPTION, "Notes/Description"}});
    }
    {
        SCOPED_TRACE("BP_TARGET_DATABASE_ENUM");
        EXPECT_EQ(L::BP_TARGET_DATABASE_ENUM.getIdentifier().str(), "BP_TARGET_DATABASE_ENUM");
        expectEnumeration(
            L::BP_TARGET_DATABASE_ENUM,
            {{&L::BP_TARGET_DATABASE_ENUM_AUTO_DETECT, "Auto Detect"},
             {&L::BP_TARGET_DATABASE_ENUM_ACCESS_95, "Access 95"},
             {&L::BP_TARGET_DATABASE_ENUM_ACCESS_2000, "Access 2000"},
             {&L::BP_TARGET_DATABASE_ENUM_ADABAS_D, "ADABAS D"},
             {&L::BP_TARGET_DATABASE_ENUM_ALLBASE_SQL_G_1, "ALLBASE/SQL G.1"},
             {&L::BP_TARGET_DATABASE_ENUM_ANSI_LEVEL_2, "ANSI Level 2"},
             {&L::BP_TARGET_DATABASE_ENUM_AS_400, "AS/400"},
             {&L::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_5_X_COMMON_SERVER,
              "IBM DB2 UDB 5.x Common Server"},
             {&L::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_6_X_COMMON_SERVER,
              "IBM DB2 UDB 6.x Common Server"},
             {&L::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_7_X_COMMON_SERVER,
              "IBM DB2 UDB 7.x Common Server"},
             {&L::BP_TARGET_DATABASE_ENUM___IBM_DB2_UDB_8_X_COMMON_SERVER,
              "* IBM DB2 UDB 8.x Common Server"},
             {&L::BP_TARGET_DATABASE_ENUM_IBM_DB2_4_X_FOR_MVS_ESA, "IBM DB2 4.x for MVS/ESA"},
             {&L::BP_TARGET_DATABASE_ENUM_IBM_DB2_5_X_FOR_OS_390, "IBM DB2 5.x for OS/390"},
             {&L::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_6_FOR_OS_390, "IBM DB2 UDB 6 for OS/390"},
             {&L::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_7_FOR_OS_390, "IBM DB2 UDB 7 for OS/390"},
             {&L::BP_TARGET_DATABASE_ENUM___IBM_DB2_UDB_8_FOR_OS_390, "* IBM DB2 UDB 8 for OS/390"},
             {&L::BP_TARGET_DATABASE_ENUM_INFORMIX_SQL_7_X, "INFORMIX SQL 7.x"},
             {&L::BP_TARGET_DATABASE_ENUM_INFORMIX_SQL_8_X, "INFORMIX SQL 8.x"},
             {&L::BP_TARGET_DATABASE_ENUM_INFORMIX_SQL_9_X, "INFORMIX SQL 9.x"},
             {&L::BP_TARGET_DATABASE_ENUM_INTERBASE_4_0, "InterBase 4.0"},
             {&L::BP_TARGET_DATABASE_ENUM_INTERBASE_5_X, "InterBase 5.x"},
             {&L::BP_TARGET_DATABASE_ENUM_INTERBASE_6_X, "InterBase 6.x"},
             {&L::BP_TARGET_DATABASE_ENUM_MICROSOFT_SQL_SERVER_6_X, "Microsoft SQL Server 6.x"},
             {&L::BP_TARGET_DATABASE_ENUM_MICROSOFT_SQL_SERVER_7_X, "Microsoft SQL Server 7.x"},
             {&L::BP_TARGET_DATABASE_ENUM_MICROSOFT_SQL_SERVER_2000, "Microsoft SQL Server 2000"},
             {&L::BP_TARGET_DATABASE_ENUM_MYSQL_3_22, "MySQL 3.22"},
             {&L::BP_TARGET_DATABASE_ENUM_MYSQL_3_23, "MySQL 3.23"},
             {&L::BP_TARGET_DATABASE_ENUM___MYSQL_4, "* MySQL 4"},
             {&L::BP_TARGET_DATABASE_ENUM_NONSTOP_SQL, "NonStop SQL"},
             {&L::BP_TARGET_DATABASE_ENUM_ODBC_3_0, "ODBC 3.0"},
             {&L::BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_7, "ORACLE Version 7"},
             {&L::BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_8, "ORACLE Version 8"},
             {&L::BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_8I__8_1_5_, "ORACLE Version 8i (8.1.5)"},
             {&L::BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_8I2__8_1_6_, "ORACLE Version 8i2 (8.1.6)"},
             {&L::BP_TARGET_DATABASE_ENUM___ORACLE_VERSION_9I, "* ORACLE Version 9i"},
             {&L::BP_TARGET_DATABASE_ENUM___ORACLE_VERSION_9I2, "* ORACLE Version 9i2"},
             {&L::BP_TARGET_DATABASE_ENUM___ORACLE_VERSION_10G, "** ORACLE Version 10g"},
             {&L::BP_TARGET_DATABASE_ENUM_POSTGRESQL_7, "PostgreSQL 7"},
             {&L::BP_TARGET_DATABASE_ENUM_SYBASE_AS_ANYWHERE_6, "Sybase AS Anywhere 6"},
             {&L::BP_TARGET_DATABASE_ENUM_SYBASE_AS_ANYWHERE_7, "Sybase AS Anywhere 7"},
             {&L::BP_TARGET_DATABASE_ENUM___SYBASE_SQL_ANYWHERE_8, "* Sybase SQL Anywhere 8"},
             {&L::BP_TARGET_DATABASE_ENUM___SYBASE_SQL_ANYWHERE_9, "* Sybase SQL Anywhere 9"},
             {&L::BP_TARGET_DATABASE_ENUM_SYBASE_AS_ENTERPRISE_11_0, "Sybase AS Enterprise 11.0"},
             {&L::BP_TARGET_DATABASE_ENUM___SYBASE_AS_ENTERPRISE_11_5_11_9,
              "* Sybase AS Enterprise 11.5-11.9"},
             {&L::BP_TARGET_DATABASE_ENUM_SYBASE_AS_ENTERPRISE_12_0, "Sybase AS Enterprise 12.0"},
             {&L::BP_TARGET_DATABASE_ENUM___SYBASE_AS_ENTERPRISE_12_5,
              "* Sybase AS Enterprise 12.5"},
             {&L::BP_TARGET_DATABASE_ENUM___SYBASE_AS_ENTERPRISE_12_5_1,
              "* Sybase AS Enterprise 12.5.1"},
             {&L::BP_TARGET_DATABASE_ENUM_SYBASE_AS_IQ_12_0, "Sybase AS IQ 12.0"},
             {&L::BP_TARGET_DATABASE_ENUM___SYBASE_AS_IQ_12_4_3, "* Sybase AS IQ 12.4.3"},
             {&L::BP_TARGET_DATABASE_ENUM___SYBASE_AS_IQ_12_5, "* Sybase AS IQ 12.5"},
             {&L::BP_TARGET_DATABASE_ENUM_TERADATA, "Teradata"}});
    }
}

TEST(LiteralCatalogue, DescriptionsKeepEveryLineAndBlank) {
    struct Case {
        const char* name;
        std::string actual;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"bridge description",
         L::SYBASEPOWERDESIGNERPDM08EXPORT_DESCRIPTION.toString().str(),
         {"FREQUENTLY ASKED QUESTIONS", " ",
          " Q: All the symbols are in the center of the screen, what can I do ?",
          " A: In the tool, select 'Symbol->Auto-Layout', it will redraw the current diagram.",
          "    Note that you will have to do this for each diagram.", " ",
          " Q: Some symbols seem to be missing, what can I do ?",
          " A: In the tool, select 'Tools->Complete Links', it will draw the missing symbols.",
          "    Note that you will have to do this for each diagram.", " "}},
        {"BP_TARGET_DATABASE",
         L::BP_TARGET_DATABASE.getDescription().str(),
         {"Specify the target database. 'Auto Detect' means that the bridge will try to "
          "auto-detect the target database from the originating model.",
          " A database prefixed with a star (*) means it is only available for PowerDesigner 10 "
          "or newer.",
          " A database prefixed with a double star (**) means it is only available for "
          "PowerDesigner 11 or newer."}},
        {"BP_DESCRIPTION",
         L::BP_DESCRIPTION.getDescription().str(),
         {"Specify how to export the Description and Comment properties in PowerDesigner.",
          " 'Comment & Description' - Export the comment property to the PowerDesigner comment "
          "field and ",
          " the description property to the PowerDesigner description field. This is the "
          "default.",
          " 'Comment' - Export the comment property (or the description property, if any), ",
          " to the PowerDesigner comment field.",
          " 'Notes/Description' - Export the comment property (or the description property, if "
          "any), ",
          " to the PowerDesigner description field.", " "}},
        {"BP_SCALE__IN____FOR_Y_COORDINATES",
         L::BP_SCALE__IN____FOR_Y_COORDINATES.getDescription().str(),
         {"When graphical information is imported from another tool, it may be useful to adjust "
          "the scale of diagrams to better suit the destination tool diagramming conventions.",
          " This option controls the vertical scaling (by percentage) applied to Y coordinates in "
          "diagrams.",
          " The default value is 100% (i.e no change), 200% doubles the size, 50% halves the "
          "size."}},
        {"BP_XML_INDENTATION__PRETTY_PRINTING_",
         L::BP_XML_INDENTATION__PRETTY_PRINTING_.getDescription().str(),
         {"This option controls the pretty printing of the XML, for the purpose of opening the "
          "generated file in a text editor.",
          " For example, specify here a tabulation character, or some space characters.",
          " By default, there is no indentation which leads to a more compact file.", " "}},
        {"BP_VERSION",
         L::BP_VERSION.getDescription().str(),
         {"Select here the version of Sybase Power Designer (PDM) file you want to generate.",
          " "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.actual, joinLines(c.lines));
    }
    // The file option's text ends in two blank lines of one space each.
    const std::string file = L::BP_FILE.getDescription().str();
    EXPECT_EQ(file.rfind("The bridge generates a PDM file. \n", 0), 0u);
    const std::string tail = " 5. Click 'Open'. \n \n ";
    ASSERT_GE(file.size(), tail.size());
    EXPECT_EQ(file.substr(file.size() - tail.size()), tail);
}

}  // namespace
