// The literal catalogue: its table, its enumerations, its texts and its
// messages.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "literals/VLE_PDPDM7.h"
#include "orx/ORXException.h"

namespace {

using L = VLE_PDPDM7;

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

// Exposes the catalogue's protected operations.
class OpenCatalogue : public VLE_PDPDM7 {
  public:
    using VLE_PDPDM7::getDocumentId;
    using VLE_PDPDM7::listAllLiterals;
};

TEST(LiteralCatalogue, TableListsEveryLiteralInLoadOrderThenNull) {
    // Identifiers; the code for messages, whose identifier the framework chooses.
    const std::vector<std::string> expected = split(
        "SybasePowerDesignerPdmExportDescription|BP_FILE_DEFAULT|BP_FILE|Auto Detect|Access 95|"
        "Access 2000|ADABAS D|ALLBASE/SQL G.1|ANSI Level 2|AS/400|IBM DB2 UDB 5.x Common Server|"
        "IBM DB2 UDB 6.x Common Server|IBM DB2 UDB 7.x Common Server|"
        "* IBM DB2 UDB 8.x Common Server|IBM DB2 4.x for MVS/ESA|IBM DB2 5.x for OS/390|"
        "IBM DB2 UDB 6 for OS/390|IBM DB2 UDB 7 for OS/390|* IBM DB2 UDB 8 for OS/390|"
        "INFORMIX SQL 7.x|INFORMIX SQL 8.x|INFORMIX SQL 9.x|InterBase 4.0|InterBase 5.x|"
        "InterBase 6.x|Microsoft SQL Server 6.x|Microsoft SQL Server 7.x|"
        "Microsoft SQL Server 2000|MySQL 3.22|MySQL 3.23|* MySQL 4|NonStop SQL|ODBC 3.0|"
        "ORACLE Version 7|ORACLE Version 8|ORACLE Version 8i (8.1.5)|ORACLE Version 8i2 (8.1.6)|"
        "* ORACLE Version 9i|* ORACLE Version 9i2|** ORACLE Version 10g|PostgreSQL 7|"
        "Sybase AS Anywhere 6|Sybase AS Anywhere 7|* Sybase SQL Anywhere 8|"
        "* Sybase SQL Anywhere 9|Sybase AS Enterprise 11.0|* Sybase AS Enterprise 11.5-11.9|"
        "Sybase AS Enterprise 12.0|* Sybase AS Enterprise 12.5|* Sybase AS Enterprise 12.5.1|"
        "Sybase AS IQ 12.0|* Sybase AS IQ 12.4.3|* Sybase AS IQ 12.5|Teradata|"
        "BP_TARGET_DATABASE_ENUM|BP_TARGET_DATABASE|Comment & Description|Comment|"
        "Notes/Description|BP_DESCRIPTION_ENUM|BP_DESCRIPTION|"
        "BP_SCALE__IN____FOR_X_COORDINATES_DEFAULT|BP_SCALE__IN____FOR_X_COORDINATES|"
        "BP_SCALE__IN____FOR_Y_COORDINATES_DEFAULT|BP_SCALE__IN____FOR_Y_COORDINATES|"
        "BP_XML_INDENTATION__PRETTY_PRINTING__DEFAULT|BP_XML_INDENTATION__PRETTY_PRINTING_|8.0|"
        "9.0|9.5|10.0|11.0|12.0|BP_VERSION_ENUM|BP_VERSION|VLE_PDPDM7_F0001|VLE_PDPDM7_F0002|"
        "VLE_PDPDM7_S0004|VLE_PDPDM7_S0005|VLE_PDPDM7_S0006|VLE_PDPDM7_S0007|VLE_PDPDM7_S0008|"
        "VLE_PDPDM7_S0009|VLE_PDPDM7_S0010|VLE_PDPDM7_W0012|VLE_PDPDM7_W0013",
        '|');
    ASSERT_EQ(expected.size(), 86u);
    ORXTextLiteral* const* table = VLE_PDPDM7::getAllLiterals();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        ASSERT_NE(table[i], nullptr);
        const auto* message = dynamic_cast<const ORXMessageLiteral*>(table[i]);
        EXPECT_EQ((message ? message->getMessageCode() : table[i]->getIdentifier()).str(),
                  expected[i]);
    }
    EXPECT_EQ(table[86], nullptr);
    EXPECT_EQ(table[0], &L::SYBASEPOWERDESIGNERPDM08EXPORT_DESCRIPTION);
    EXPECT_EQ(table[85], &L::PDPDMX_E_MULTIPLE_CATALOGS_DETECTED);

    OpenCatalogue catalogue;
    EXPECT_EQ(catalogue.listAllLiterals(), table);
    EXPECT_EQ(catalogue.getDocumentId().str(), "ORXSybasePowerDesignerPdmExport");
    EXPECT_EQ(ORXTextLiteralsCollection::findCollection("ORXSybasePowerDesignerPdmExport"), table);

    // Each enumeration holds a run of the table's entries, in table order.
    struct Run {
        const ORXBridgeOptionEnumerationLiteral* enumeration;
        int first, count;
    };
    for (const Run& r : std::vector<Run>{{&L::BP_TARGET_DATABASE_ENUM, 3, 51},
                                         {&L::BP_DESCRIPTION_ENUM, 56, 3},
                                         {&L::BP_VERSION_ENUM, 67, 6}}) {
        SCOPED_TRACE(r.enumeration->getIdentifier().str());
        ASSERT_EQ(r.enumeration->getValueCount(), r.count);
        for (int i = 0; i < r.count; ++i)
            EXPECT_EQ(r.enumeration->getValues()[i], table[r.first + i]) << "value " << i;
    }
}

TEST(LiteralCatalogue, FindTextLiteralMatchesIdentifiersExactly) {
    const std::vector<std::pair<ORXString, const ORXTextLiteral*>> cases = {
        {"BP_FILE", &L::BP_FILE},
        {"bp_file", nullptr},
        {"BP_FILE ", nullptr},
        {"BP_FIL", nullptr},
        {ORXString("BP_FILE\0X", 9), nullptr},
        {"", nullptr},
        {"BP_FILE_DEFAULT", &L::BP_FILE_DEFAULT},
        {"SybasePowerDesignerPdmExportDescription", &L::SYBASEPOWERDESIGNERPDM08EXPORT_DESCRIPTION},
        {"* MySQL 4", &L::BP_TARGET_DATABASE_ENUM___MYSQL_4},
        {"BP_TARGET_DATABASE_ENUM___MYSQL_4", nullptr},
    };
    for (const auto& [identifier, literal] : cases)
        EXPECT_EQ(VLE_PDPDM7::findTextLiteral(identifier), literal) << identifier.str();
}

TEST(LiteralCatalogue, MessagesCarryTheirLevelsAndTexts) {
    // "level text" of entries 75 to 85, 4 fatal, 2 warning, 1 status: S0010
    // is a status although its literal's name says W.
    const std::vector<std::string> expected = split(
        "4 Unable to open or create output file '{0}'|4 Input model pointer is null|"
        "1 Pre-processing the model...|1 Auto detecting target database ... found : {0}|"
        "1 Auto detecting target database ... none found|1 Using {0} as target database|"
        "1 Exporting ...|1 Post-processing the model...|1 Non binary Associations not supported|"
        "2 View '{0}' might be inconsistent if objects have been renamed|"
        "2 This bridge does not support multiple catalogs. The source model has multiple "
        "catalogs.",
        '|');
    ASSERT_EQ(expected.size(), 11u);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto* m =
            dynamic_cast<const ORXMessageLiteral*>(VLE_PDPDM7::getAllLiterals()[75 + i]);
        ASSERT_NE(m, nullptr) << i;
        EXPECT_EQ(std::to_string(m->getSeverityLevel()) + " " + m->getText().str(), expected[i]);
    }
}

TEST(LiteralCatalogue, MessagesFormatWithAndWithoutAParameter) {
    EXPECT_EQ(L::PDPDMX_S_EXPORTING.getMessage().str(), "[VLE_PDPDM7_S0008] Exporting ...");
    EXPECT_EQ(L::PDPDMX_W_INCONSISTENT_VIEW.getMessage("V1").str(),
              "[VLE_PDPDM7_W0012] View 'V1' might be inconsistent if objects have been renamed");
    EXPECT_EQ(L::PDPDMX_W_INCONSISTENT_VIEW.getText().str(),
              "View '{0}' might be inconsistent if objects have been renamed");
    try {
        L::PDPDMX_E_INPUT_MODEL_PARAMETER_IS_NULL.throwException();
        ADD_FAILURE() << "no exception";
    } catch (const ORXException& e) {
        EXPECT_EQ(e.getMessage().str(), "[VLE_PDPDM7_F0002] Input model pointer is null");
    }
}

TEST(LiteralCatalogue, DescriptionsKeepEveryLineAndBlank) {
    EXPECT_EQ(L::SYBASEPOWERDESIGNERPDM08EXPORT_DESCRIPTION.toString().str(),
              "FREQUENTLY ASKED QUESTIONS\n \n"
              " Q: All the symbols are in the center of the screen, what can I do ?\n"
              " A: In the tool, select 'Symbol->Auto-Layout', it will redraw the current diagram.\n"
              "    Note that you will have to do this for each diagram.\n \n"
              " Q: Some symbols seem to be missing, what can I do ?\n"
              " A: In the tool, select 'Tools->Complete Links', it will draw the missing symbols.\n"
              "    Note that you will have to do this for each diagram.\n ");
    EXPECT_EQ(
        L::BP_VERSION.getDescription().str(),
        "Select here the version of Sybase Power Designer (PDM) file you want to generate.\n ");
}

}  // namespace
