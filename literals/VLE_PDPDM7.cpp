// The literal catalogue VLE_PDPDM7: every literal object of the bridge, the
// table that lists them and the catalogue's registration with the framework.
//
// Everything lives in this one file on purpose: static objects of one
// translation unit are built in the order of their definitions and destroyed
// in reverse, so the strings come first, then every literal in the order of
// the literal table, then the table and last the registration, which needs
// all of them.

#include "literals/VLE_PDPDM7.h"

ORXString VLE_PDPDM7::DOCUMENT_ID("ORXSybasePowerDesignerPdmExport");
ORXString VLE_PDPDM7::PREFIX("VLE_PDPDM7");

namespace {

// The zeros that fill a message number up to four digits.
ORXString zeroPad("0000");

}  // namespace

// ---------------------------------------------------------------------------
// Literal classes
// ---------------------------------------------------------------------------

VLE_PDPDM7::TextInstance::TextInstance(const ORXString& identifier, const ORXString& text)
    : ORXParameterizedTextLiteral(identifier, text) {}

ORXString VLE_PDPDM7::TextInstance::toString() const {
    return getText();
}

namespace {

// PREFIX "_" severity initial, then the number zero-filled to four digits:
// "1" and "FATAL" give "VLE_PDPDM7_F0001".
ORXString makeMessageCode(const ORXString& prefix, const ORXString& number,
                          const ORXString& severity) {
    ORXString code = prefix + "_" + severity.mid(0, 1);
    const int missing = 4 - number.getLength();
    if (missing > 0)
        code += zeroPad.mid(0, missing);
    code += number;
    return code;
}

}  // namespace

VLE_PDPDM7::MessageInstance::MessageInstance(const ORXString& number, const ORXString& text,
                                             const ORXString& severity)
    : ORXMessageLiteral(number, text, severity) {
    messageCode_ = makeMessageCode(PREFIX, number, severity);
}

ORXString VLE_PDPDM7::MessageInstance::toString() const {
    return getText();
}

ORXString VLE_PDPDM7::MessageInstance::getMessage() const {
    return "[" + messageCode_ + "] " + toString();
}

void VLE_PDPDM7::MessageInstance::log(ORXLog& log) const {
    log.reportEvent(ORXLogEvent(toString(), messageCode_, severityLevel_, emptyString));
}

void VLE_PDPDM7::MessageInstance::throwException() const {
    throw ORXException(getMessage());
}

VLE_PDPDM7::MessageInstance_String::MessageInstance_String(const ORXString& number,
                                                           const ORXString& text,
                                                           const ORXString& severity)
    : ORXMessageLiteral(number, text, severity) {
    messageCode_ = makeMessageCode(PREFIX, number, severity);
}

ORXString VLE_PDPDM7::MessageInstance_String::toString(const ORXString& value) const {
    ORXParameterBlock parameters = prapareForParameters();
    setParameterValue(parameters, 0, value);
    return createParametrizedText(parameters);
}

ORXString VLE_PDPDM7::MessageInstance_String::getMessage(const ORXString& value) const {
    return "[" + messageCode_ + "] " + toString(value);
}

void VLE_PDPDM7::MessageInstance_String::log(ORXLog& log, const ORXString& value) const {
    log.reportEvent(ORXLogEvent(toString(value), messageCode_, severityLevel_, emptyString));
}

void VLE_PDPDM7::MessageInstance_String::throwException(const ORXString& value) const {
    throw ORXException(getMessage(value));
}

// ---------------------------------------------------------------------------
// Catalogue operations
// ---------------------------------------------------------------------------

ORXTextLiteral* const* VLE_PDPDM7::getAllLiterals() {
    return textLiterals;
}

ORXTextLiteral* VLE_PDPDM7::findTextLiteral(const ORXString& identifier) {
    for (ORXTextLiteral* const* literal = textLiterals; *literal != nullptr; ++literal) {
        if ((*literal)->getIdentifier() == identifier)
            return *literal;
    }
    return nullptr;
}

const ORXString& VLE_PDPDM7::getDocumentId() const {
    return DOCUMENT_ID;
}

ORXTextLiteral* const* VLE_PDPDM7::listAllLiterals() const {
    return textLiterals;
}

// ---------------------------------------------------------------------------
// The literals, in the order of the literal table
// ---------------------------------------------------------------------------

VLE_PDPDM7::TextInstance VLE_PDPDM7::SYBASEPOWERDESIGNERPDM08EXPORT_DESCRIPTION(
    "SybasePowerDesignerPdmExportDescription",
    "FREQUENTLY ASKED QUESTIONS\n"
    " \n"
    " Q: All the symbols are in the center of the screen, what can I do ?\n"
    " A: In the tool, select 'Symbol->Auto-Layout', it will redraw the current diagram.\n"
    "    Note that you will have to do this for each diagram.\n"
    " \n"
    " Q: Some symbols seem to be missing, what can I do ?\n"
    " A: In the tool, select 'Tools->Complete Links', it will draw the missing symbols.\n"
    "    Note that you will have to do this for each diagram.\n"
    " ");

// "File"
VLE_PDPDM7::TextInstance VLE_PDPDM7::BP_FILE_DEFAULT("BP_FILE_DEFAULT", "");
ORXBridgeOptionLiteral VLE_PDPDM7::BP_FILE(
    "BP_FILE", "File", "File",
    "The bridge generates a PDM file. \n"
    " In order to load the converted model, start PowerDesigner and: \n"
    " \n"
    " 1. Choose 'Open' from the File menu. \n"
    " 2. In the 'List files of type' list box select PowerDesigner Files. \n"
    " 3. Locate the drive and the folder that contains the file you want to open. \n"
    "     Double-click on a folder in the Folders list to switch to a different \n"
    "     folder. If necessary, switch to a different drive by selecting a drive \n"
    "     from the Drives list. \n"
    " 4. Locate the file you want to open. Type the name of the file in the \n"
    "     'File Name' text box or select it from the File Name list. \n"
    " 5. Click 'Open'. \n"
    " \n"
    " ",
    nullptr, &BP_FILE_DEFAULT);

// "Target Database"
// clang-format off
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_AUTO_DETECT("Auto Detect", "Auto Detect");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ACCESS_95("Access 95", "Access 95");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ACCESS_2000("Access 2000", "Access 2000");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ADABAS_D("ADABAS D", "ADABAS D");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ALLBASE_SQL_G_1("ALLBASE/SQL G.1", "ALLBASE/SQL G.1");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ANSI_LEVEL_2("ANSI Level 2", "ANSI Level 2");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_AS_400("AS/400", "AS/400");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_5_X_COMMON_SERVER("IBM DB2 UDB 5.x Common Server", "IBM DB2 UDB 5.x Common Server");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_6_X_COMMON_SERVER("IBM DB2 UDB 6.x Common Server", "IBM DB2 UDB 6.x Common Server");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_7_X_COMMON_SERVER("IBM DB2 UDB 7.x Common Server", "IBM DB2 UDB 7.x Common Server");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___IBM_DB2_UDB_8_X_COMMON_SERVER("* IBM DB2 UDB 8.x Common Server", "* IBM DB2 UDB 8.x Common Server");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_IBM_DB2_4_X_FOR_MVS_ESA("IBM DB2 4.x for MVS/ESA", "IBM DB2 4.x for MVS/ESA");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_IBM_DB2_5_X_FOR_OS_390("IBM DB2 5.x for OS/390", "IBM DB2 5.x for OS/390");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_6_FOR_OS_390("IBM DB2 UDB 6 for OS/390", "IBM DB2 UDB 6 for OS/390");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_7_FOR_OS_390("IBM DB2 UDB 7 for OS/390", "IBM DB2 UDB 7 for OS/390");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___IBM_DB2_UDB_8_FOR_OS_390("* IBM DB2 UDB 8 for OS/390", "* IBM DB2 UDB 8 for OS/390");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_INFORMIX_SQL_7_X("INFORMIX SQL 7.x", "INFORMIX SQL 7.x");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_INFORMIX_SQL_8_X("INFORMIX SQL 8.x", "INFORMIX SQL 8.x");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_INFORMIX_SQL_9_X("INFORMIX SQL 9.x", "INFORMIX SQL 9.x");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_INTERBASE_4_0("InterBase 4.0", "InterBase 4.0");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_INTERBASE_5_X("InterBase 5.x", "InterBase 5.x");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_INTERBASE_6_X("InterBase 6.x", "InterBase 6.x");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_MICROSOFT_SQL_SERVER_6_X("Microsoft SQL Server 6.x", "Microsoft SQL Server 6.x");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_MICROSOFT_SQL_SERVER_7_X("Microsoft SQL Server 7.x", "Microsoft SQL Server 7.x");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_MICROSOFT_SQL_SERVER_2000("Microsoft SQL Server 2000", "Microsoft SQL Server 2000");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_MYSQL_3_22("MySQL 3.22", "MySQL 3.22");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_MYSQL_3_23("MySQL 3.23", "MySQL 3.23");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___MYSQL_4("* MySQL 4", "* MySQL 4");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_NONSTOP_SQL("NonStop SQL", "NonStop SQL");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ODBC_3_0("ODBC 3.0", "ODBC 3.0");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_7("ORACLE Version 7", "ORACLE Version 7");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_8("ORACLE Version 8", "ORACLE Version 8");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_8I__8_1_5_("ORACLE Version 8i (8.1.5)", "ORACLE Version 8i (8.1.5)");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_8I2__8_1_6_("ORACLE Version 8i2 (8.1.6)", "ORACLE Version 8i2 (8.1.6)");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___ORACLE_VERSION_9I("* ORACLE Version 9i", "* ORACLE Version 9i");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___ORACLE_VERSION_9I2("* ORACLE Version 9i2", "* ORACLE Version 9i2");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___ORACLE_VERSION_10G("** ORACLE Version 10g", "** ORACLE Version 10g");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_POSTGRESQL_7("PostgreSQL 7", "PostgreSQL 7");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_SYBASE_AS_ANYWHERE_6("Sybase AS Anywhere 6", "Sybase AS Anywhere 6");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_SYBASE_AS_ANYWHERE_7("Sybase AS Anywhere 7", "Sybase AS Anywhere 7");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___SYBASE_SQL_ANYWHERE_8("* Sybase SQL Anywhere 8", "* Sybase SQL Anywhere 8");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___SYBASE_SQL_ANYWHERE_9("* Sybase SQL Anywhere 9", "* Sybase SQL Anywhere 9");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_SYBASE_AS_ENTERPRISE_11_0("Sybase AS Enterprise 11.0", "Sybase AS Enterprise 11.0");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___SYBASE_AS_ENTERPRISE_11_5_11_9("* Sybase AS Enterprise 11.5-11.9", "* Sybase AS Enterprise 11.5-11.9");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_SYBASE_AS_ENTERPRISE_12_0("Sybase AS Enterprise 12.0", "Sybase AS Enterprise 12.0");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___SYBASE_AS_ENTERPRISE_12_5("* Sybase AS Enterprise 12.5", "* Sybase AS Enterprise 12.5");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___SYBASE_AS_ENTERPRISE_12_5_1("* Sybase AS Enterprise 12.5.1", "* Sybase AS Enterprise 12.5.1");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_SYBASE_AS_IQ_12_0("Sybase AS IQ 12.0", "Sybase AS IQ 12.0");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___SYBASE_AS_IQ_12_4_3("* Sybase AS IQ 12.4.3", "* Sybase AS IQ 12.4.3");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___SYBASE_AS_IQ_12_5("* Sybase AS IQ 12.5", "* Sybase AS IQ 12.5");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_TERADATA("Teradata", "Teradata");
// clang-format on

namespace {

// clang-format off
ORXBridgeEnumValueLiteral* const targetDatabaseValues[] = {
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_AUTO_DETECT,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ACCESS_95,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ACCESS_2000,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ADABAS_D,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ALLBASE_SQL_G_1,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ANSI_LEVEL_2,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_AS_400,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_5_X_COMMON_SERVER,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_6_X_COMMON_SERVER,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_7_X_COMMON_SERVER,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___IBM_DB2_UDB_8_X_COMMON_SERVER,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_IBM_DB2_4_X_FOR_MVS_ESA,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_IBM_DB2_5_X_FOR_OS_390,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_6_FOR_OS_390,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_7_FOR_OS_390,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___IBM_DB2_UDB_8_FOR_OS_390,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_INFORMIX_SQL_7_X,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_INFORMIX_SQL_8_X,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_INFORMIX_SQL_9_X,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_INTERBASE_4_0,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_INTERBASE_5_X,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_INTERBASE_6_X,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_MICROSOFT_SQL_SERVER_6_X,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_MICROSOFT_SQL_SERVER_7_X,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_MICROSOFT_SQL_SERVER_2000,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_MYSQL_3_22,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_MYSQL_3_23,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___MYSQL_4,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_NONSTOP_SQL,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ODBC_3_0,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_7,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_8,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_8I__8_1_5_,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_8I2__8_1_6_,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___ORACLE_VERSION_9I,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___ORACLE_VERSION_9I2,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___ORACLE_VERSION_10G,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_POSTGRESQL_7,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_SYBASE_AS_ANYWHERE_6,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_SYBASE_AS_ANYWHERE_7,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___SYBASE_SQL_ANYWHERE_8,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___SYBASE_SQL_ANYWHERE_9,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_SYBASE_AS_ENTERPRISE_11_0,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___SYBASE_AS_ENTERPRISE_11_5_11_9,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_SYBASE_AS_ENTERPRISE_12_0,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___SYBASE_AS_ENTERPRISE_12_5,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___SYBASE_AS_ENTERPRISE_12_5_1,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_SYBASE_AS_IQ_12_0,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___SYBASE_AS_IQ_12_4_3,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM___SYBASE_AS_IQ_12_5,
    &VLE_PDPDM7::BP_TARGET_DATABASE_ENUM_TERADATA,
};
// clang-format on

}  // namespace

ORXBridgeOptionEnumerationLiteral VLE_PDPDM7::BP_TARGET_DATABASE_ENUM("BP_TARGET_DATABASE_ENUM", "",
                                                                      targetDatabaseValues, 51);
ORXBridgeOptionLiteral VLE_PDPDM7::BP_TARGET_DATABASE(
    "BP_TARGET_DATABASE", "Target Database", "Enumerated",
    "Specify the target database. 'Auto Detect' means that the bridge will try to auto-detect the "
    "target database from the originating model.\n"
    " A database prefixed with a star (*) means it is only available for PowerDesigner 10 or "
    "newer.\n"
    " A database prefixed with a double star (**) means it is only available for PowerDesigner 11 "
    "or newer.",
    &BP_TARGET_DATABASE_ENUM, &BP_TARGET_DATABASE_ENUM_AUTO_DETECT);

// "Description"
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_DESCRIPTION_ENUM_COMMENT___DESCRIPTION(
    "Comment & Description", "Comment & Description");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_DESCRIPTION_ENUM_COMMENT("Comment", "Comment");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_DESCRIPTION_ENUM_NOTES_DESCRIPTION("Notes/Description",
                                                                            "Notes/Description");

namespace {

ORXBridgeEnumValueLiteral* const descriptionValues[] = {
    &VLE_PDPDM7::BP_DESCRIPTION_ENUM_COMMENT___DESCRIPTION,
    &VLE_PDPDM7::BP_DESCRIPTION_ENUM_COMMENT,
    &VLE_PDPDM7::BP_DESCRIPTION_ENUM_NOTES_DESCRIPTION,
};

}  // namespace

ORXBridgeOptionEnumerationLiteral VLE_PDPDM7::BP_DESCRIPTION_ENUM("BP_DESCRIPTION_ENUM", "",
                                                                  descriptionValues, 3);
ORXBridgeOptionLiteral VLE_PDPDM7::BP_DESCRIPTION(
    "BP_DESCRIPTION", "Description", "Enumerated",
    "Specify how to export the Description and Comment properties in PowerDesigner.\n"
    " 'Comment & Description' - Export the comment property to the PowerDesigner comment field and "
    "\n"
    " the description property to the PowerDesigner description field. This is the default.\n"
    " 'Comment' - Export the comment property (or the description property, if any), \n"
    " to the PowerDesigner comment field.\n"
    " 'Notes/Description' - Export the comment property (or the description property, if any), \n"
    " to the PowerDesigner description field.\n"
    " ",
    &BP_DESCRIPTION_ENUM, &BP_DESCRIPTION_ENUM_COMMENT___DESCRIPTION);

// The two scales
VLE_PDPDM7::TextInstance VLE_PDPDM7::BP_SCALE__IN____FOR_X_COORDINATES_DEFAULT(
    "BP_SCALE__IN____FOR_X_COORDINATES_DEFAULT", "100");
ORXBridgeOptionLiteral VLE_PDPDM7::BP_SCALE__IN____FOR_X_COORDINATES(
    "BP_SCALE__IN____FOR_X_COORDINATES", "Scale (in %) for X coordinates", "Numeric",
    "When graphical information is imported from another tool, it may be useful to adjust the "
    "scale of diagrams to better suit the destination tool diagramming conventions.\n"
    " This option controls the horizontal scaling (by percentage) applied to X coordinates in "
    "diagrams.\n"
    " The default value is 100% (i.e no change), 200% doubles the size, 50% halves the size.",
    nullptr, &BP_SCALE__IN____FOR_X_COORDINATES_DEFAULT);
VLE_PDPDM7::TextInstance VLE_PDPDM7::BP_SCALE__IN____FOR_Y_COORDINATES_DEFAULT(
    "BP_SCALE__IN____FOR_Y_COORDINATES_DEFAULT", "100");
ORXBridgeOptionLiteral VLE_PDPDM7::BP_SCALE__IN____FOR_Y_COORDINATES(
    "BP_SCALE__IN____FOR_Y_COORDINATES", "Scale (in %) for Y coordinates", "Numeric",
    "When graphical information is imported from another tool, it may be useful to adjust the "
    "scale of diagrams to better suit the destination tool diagramming conventions.\n"
    " This option controls the vertical scaling (by percentage) applied to Y coordinates in "
    "diagrams.\n"
    " The default value is 100% (i.e no change), 200% doubles the size, 50% halves the size.",
    nullptr, &BP_SCALE__IN____FOR_Y_COORDINATES_DEFAULT);

// "XML Indentation (pretty printing)"
VLE_PDPDM7::TextInstance VLE_PDPDM7::BP_XML_INDENTATION__PRETTY_PRINTING__DEFAULT(
    "BP_XML_INDENTATION__PRETTY_PRINTING__DEFAULT", "");
ORXBridgeOptionLiteral VLE_PDPDM7::BP_XML_INDENTATION__PRETTY_PRINTING_(
    "BP_XML_INDENTATION__PRETTY_PRINTING_", "XML Indentation (pretty printing)", "String",
    "This option controls the pretty printing of the XML, for the purpose of opening the generated "
    "file in a text editor.\n"
    " For example, specify here a tabulation character, or some space characters.\n"
    " By default, there is no indentation which leads to a more compact file.\n"
    " ",
    nullptr, &BP_XML_INDENTATION__PRETTY_PRINTING__DEFAULT);

// "Version"
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_VERSION_ENUM_8_0("8.0", "8.0");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_VERSION_ENUM_9_0("9.0", "9.0");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_VERSION_ENUM_9_5("9.5", "9.5");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_VERSION_ENUM_10_0("10.0", "10.0");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_VERSION_ENUM_11_0("11.0", "11.0");
ORXBridgeEnumValueLiteral VLE_PDPDM7::BP_VERSION_ENUM_12_0("12.0", "12.0");

namespace {

ORXBridgeEnumValueLiteral* const versionValues[] = {
    &VLE_PDPDM7::BP_VERSION_ENUM_8_0,  &VLE_PDPDM7::BP_VERSION_ENUM_9_0,
    &VLE_PDPDM7::BP_VERSION_ENUM_9_5,  &VLE_PDPDM7::BP_VERSION_ENUM_10_0,
    &VLE_PDPDM7::BP_VERSION_ENUM_11_0, &VLE_PDPDM7::BP_VERSION_ENUM_12_0,
};

}  // namespace

ORXBridgeOptionEnumerationLiteral VLE_PDPDM7::BP_VERSION_ENUM("BP_VERSION_ENUM", "", versionValues,
                                                              6);
ORXBridgeOptionLiteral VLE_PDPDM7::BP_VERSION(
    "BP_VERSION", "Version", "Enumerated",
    "Select here the version of Sybase Power Designer (PDM) file you want to generate.\n"
    " ",
    &BP_VERSION_ENUM, &BP_VERSION_ENUM_12_0);

// The messages. Numbers 3 and 11 are not used. Two "W" literals are sent with
// the severity "STATUS" and one "E" literal with "WARNING": the severity, not
// the name, decides the code and the level.
// clang-format off
VLE_PDPDM7::MessageInstance_String VLE_PDPDM7::PDPDMX_E_UNABLE_TO_OPEN_OUTPUT_FILE("1", "Unable to open or create output file '{0}'", "FATAL");
VLE_PDPDM7::MessageInstance        VLE_PDPDM7::PDPDMX_E_INPUT_MODEL_PARAMETER_IS_NULL("2", "Input model pointer is null", "FATAL");
VLE_PDPDM7::MessageInstance        VLE_PDPDM7::PDPDMX_S_PRE_PROCESSING("4", "Pre-processing the model...", "STATUS");
VLE_PDPDM7::MessageInstance_String VLE_PDPDM7::PDPDMX_S_ORIGINAL_DATABASE_DETECTED("5", "Auto detecting target database ... found : {0}", "STATUS");
VLE_PDPDM7::MessageInstance        VLE_PDPDM7::PDPDMX_S_ORIGINAL_DATABASE_NOT_DETECTED("6", "Auto detecting target database ... none found", "STATUS");
VLE_PDPDM7::MessageInstance_String VLE_PDPDM7::PDPDMX_S_TARGET_DATABASE_DETECTED("7", "Using {0} as target database", "STATUS");
VLE_PDPDM7::MessageInstance        VLE_PDPDM7::PDPDMX_S_EXPORTING("8", "Exporting ...", "STATUS");
VLE_PDPDM7::MessageInstance        VLE_PDPDM7::PDPDMX_S_POST_PROCESSING("9", "Post-processing the model...", "STATUS");
VLE_PDPDM7::MessageInstance        VLE_PDPDM7::PDPDMX_W_NON_BINARY_ASSOCIATION("10", "Non binary Associations not supported", "STATUS");
VLE_PDPDM7::MessageInstance_String VLE_PDPDM7::PDPDMX_W_INCONSISTENT_VIEW("12", "View '{0}' might be inconsistent if objects have been renamed", "WARNING");
VLE_PDPDM7::MessageInstance        VLE_PDPDM7::PDPDMX_E_MULTIPLE_CATALOGS_DETECTED("13", "This bridge does not support multiple catalogs. The source model has multiple catalogs.", "WARNING");
// clang-format on

// ---------------------------------------------------------------------------
// The literal table
// ---------------------------------------------------------------------------

// clang-format off
ORXTextLiteral* const VLE_PDPDM7::textLiterals[] = {
    &SYBASEPOWERDESIGNERPDM08EXPORT_DESCRIPTION,
    &BP_FILE_DEFAULT,
    &BP_FILE,
    &BP_TARGET_DATABASE_ENUM_AUTO_DETECT,
    &BP_TARGET_DATABASE_ENUM_ACCESS_95,
    &BP_TARGET_DATABASE_ENUM_ACCESS_2000,
    &BP_TARGET_DATABASE_ENUM_ADABAS_D,
    &BP_TARGET_DATABASE_ENUM_ALLBASE_SQL_G_1,
    &BP_TARGET_DATABASE_ENUM_ANSI_LEVEL_2,
    &BP_TARGET_DATABASE_ENUM_AS_400,
    &BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_5_X_COMMON_SERVER,
    &BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_6_X_COMMON_SERVER,
    &BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_7_X_COMMON_SERVER,
    &BP_TARGET_DATABASE_ENUM___IBM_DB2_UDB_8_X_COMMON_SERVER,
    &BP_TARGET_DATABASE_ENUM_IBM_DB2_4_X_FOR_MVS_ESA,
    &BP_TARGET_DATABASE_ENUM_IBM_DB2_5_X_FOR_OS_390,
    &BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_6_FOR_OS_390,
    &BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_7_FOR_OS_390,
    &BP_TARGET_DATABASE_ENUM___IBM_DB2_UDB_8_FOR_OS_390,
    &BP_TARGET_DATABASE_ENUM_INFORMIX_SQL_7_X,
    &BP_TARGET_DATABASE_ENUM_INFORMIX_SQL_8_X,
    &BP_TARGET_DATABASE_ENUM_INFORMIX_SQL_9_X,
    &BP_TARGET_DATABASE_ENUM_INTERBASE_4_0,
    &BP_TARGET_DATABASE_ENUM_INTERBASE_5_X,
    &BP_TARGET_DATABASE_ENUM_INTERBASE_6_X,
    &BP_TARGET_DATABASE_ENUM_MICROSOFT_SQL_SERVER_6_X,
    &BP_TARGET_DATABASE_ENUM_MICROSOFT_SQL_SERVER_7_X,
    &BP_TARGET_DATABASE_ENUM_MICROSOFT_SQL_SERVER_2000,
    &BP_TARGET_DATABASE_ENUM_MYSQL_3_22,
    &BP_TARGET_DATABASE_ENUM_MYSQL_3_23,
    &BP_TARGET_DATABASE_ENUM___MYSQL_4,
    &BP_TARGET_DATABASE_ENUM_NONSTOP_SQL,
    &BP_TARGET_DATABASE_ENUM_ODBC_3_0,
    &BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_7,
    &BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_8,
    &BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_8I__8_1_5_,
    &BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_8I2__8_1_6_,
    &BP_TARGET_DATABASE_ENUM___ORACLE_VERSION_9I,
    &BP_TARGET_DATABASE_ENUM___ORACLE_VERSION_9I2,
    &BP_TARGET_DATABASE_ENUM___ORACLE_VERSION_10G,
    &BP_TARGET_DATABASE_ENUM_POSTGRESQL_7,
    &BP_TARGET_DATABASE_ENUM_SYBASE_AS_ANYWHERE_6,
    &BP_TARGET_DATABASE_ENUM_SYBASE_AS_ANYWHERE_7,
    &BP_TARGET_DATABASE_ENUM___SYBASE_SQL_ANYWHERE_8,
    &BP_TARGET_DATABASE_ENUM___SYBASE_SQL_ANYWHERE_9,
    &BP_TARGET_DATABASE_ENUM_SYBASE_AS_ENTERPRISE_11_0,
    &BP_TARGET_DATABASE_ENUM___SYBASE_AS_ENTERPRISE_11_5_11_9,
    &BP_TARGET_DATABASE_ENUM_SYBASE_AS_ENTERPRISE_12_0,
    &BP_TARGET_DATABASE_ENUM___SYBASE_AS_ENTERPRISE_12_5,
    &BP_TARGET_DATABASE_ENUM___SYBASE_AS_ENTERPRISE_12_5_1,
    &BP_TARGET_DATABASE_ENUM_SYBASE_AS_IQ_12_0,
    &BP_TARGET_DATABASE_ENUM___SYBASE_AS_IQ_12_4_3,
    &BP_TARGET_DATABASE_ENUM___SYBASE_AS_IQ_12_5,
    &BP_TARGET_DATABASE_ENUM_TERADATA,
    &BP_TARGET_DATABASE_ENUM,
    &BP_TARGET_DATABASE,
    &BP_DESCRIPTION_ENUM_COMMENT___DESCRIPTION,
    &BP_DESCRIPTION_ENUM_COMMENT,
    &BP_DESCRIPTION_ENUM_NOTES_DESCRIPTION,
    &BP_DESCRIPTION_ENUM,
    &BP_DESCRIPTION,
    &BP_SCALE__IN____FOR_X_COORDINATES_DEFAULT,
    &BP_SCALE__IN____FOR_X_COORDINATES,
    &BP_SCALE__IN____FOR_Y_COORDINATES_DEFAULT,
    &BP_SCALE__IN____FOR_Y_COORDINATES,
    &BP_XML_INDENTATION__PRETTY_PRINTING__DEFAULT,
    &BP_XML_INDENTATION__PRETTY_PRINTING_,
    &BP_VERSION_ENUM_8_0,
    &BP_VERSION_ENUM_9_0,
    &BP_VERSION_ENUM_9_5,
    &BP_VERSION_ENUM_10_0,
    &BP_VERSION_ENUM_11_0,
    &BP_VERSION_ENUM_12_0,
    &BP_VERSION_ENUM,
    &BP_VERSION,
    &PDPDMX_E_UNABLE_TO_OPEN_OUTPUT_FILE,
    &PDPDMX_E_INPUT_MODEL_PARAMETER_IS_NULL,
    &PDPDMX_S_PRE_PROCESSING,
    &PDPDMX_S_ORIGINAL_DATABASE_DETECTED,
    &PDPDMX_S_ORIGINAL_DATABASE_NOT_DETECTED,
    &PDPDMX_S_TARGET_DATABASE_DETECTED,
    &PDPDMX_S_EXPORTING,
    &PDPDMX_S_POST_PROCESSING,
    &PDPDMX_W_NON_BINARY_ASSOCIATION,
    &PDPDMX_W_INCONSISTENT_VIEW,
    &PDPDMX_E_MULTIPLE_CATALOGS_DETECTED,
    nullptr,
};
// clang-format on

// ---------------------------------------------------------------------------
// Registration
// ---------------------------------------------------------------------------

// Registers the catalogue when the library loads and withdraws it when the
// library unloads. Defined last so that it is built after every literal and
// destroyed before any of them.
struct VLE_PDPDM7_Access {
    VLE_PDPDM7_Access() {
        // The framework reaches the identifier and the table through the
        // temporary's virtual operations and keeps only the table, so the
        // temporary may end right after the call.
        VLE_PDPDM7 catalogue;
        VLE_PDPDM7::DOCUMENT_ID = "ORXSybasePowerDesignerPdmExport";
        catalogue.init();
    }
    ~VLE_PDPDM7_Access() { ORXTextLiteralsCollection::release(VLE_PDPDM7::DOCUMENT_ID); }
    VLE_PDPDM7_Access(const VLE_PDPDM7_Access&) = delete;
    VLE_PDPDM7_Access& operator=(const VLE_PDPDM7_Access&) = delete;
};

namespace {

VLE_PDPDM7_Access registration;

}  // namespace
