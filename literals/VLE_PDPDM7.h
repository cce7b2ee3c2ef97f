#pragma once
// The bridge's literal catalogue: every text it shows to a person (its
// description, the option definitions and the messages), built when the
// library loads and registered with the framework.

#include "bridge/Export.h"
#include "orx/ORXLiterals.h"
#include "orx/ORXLog.h"
#include "orx/ORXVelmar.h"

class PDM_EXPORT VLE_PDPDM7 : public ORXTextLiteralsCollection {
  public:
    VLE_PDPDM7() = default;
    VLE_PDPDM7(const VLE_PDPDM7&) = default;
    VLE_PDPDM7& operator=(const VLE_PDPDM7&) = default;

    // A plain text: the bridge description and the option defaults.
    class PDM_EXPORT TextInstance : public ORXParameterizedTextLiteral {
      public:
        TextInstance(const ORXString& identifier, const ORXString& text);
        TextInstance(const TextInstance&) = default;
        TextInstance& operator=(const TextInstance&) = default;
        ~TextInstance() override = default;
        ORXString toString() const;
    };

    // A message without parameter.
    class PDM_EXPORT MessageInstance : public ORXMessageLiteral {
      public:
        MessageInstance(const ORXString& number, const ORXString& text, const ORXString& severity);
        MessageInstance(const MessageInstance&) = default;
        MessageInstance& operator=(const MessageInstance&) = default;
        ~MessageInstance() override = default;
        ORXString toString() const;
        // "[" code "] " text.
        ORXString getMessage() const;
        void log(ORXLog& log) const;
        [[noreturn]] void throwException() const;
    };

    // A message with one string parameter, "{0}" in its text.
    class PDM_EXPORT MessageInstance_String : public ORXMessageLiteral {
      public:
        MessageInstance_String(const ORXString& number, const ORXString& text,
                               const ORXString& severity);
        MessageInstance_String(const MessageInstance_String&) = default;
        MessageInstance_String& operator=(const MessageInstance_String&) = default;
        ~MessageInstance_String() override = default;
        ORXString toString(const ORXString& value) const;
        ORXString getMessage(const ORXString& value) const;
        void log(ORXLog& log, const ORXString& value) const;
        [[noreturn]] void throwException(const ORXString& value) const;
    };

    // The literal table: 86 literals and a terminating null.
    static ORXTextLiteral* const* getAllLiterals();
    // The first literal whose identifier equals `identifier` exactly, or null.
    static ORXTextLiteral* findTextLiteral(const ORXString& identifier);

    // The bridge description.
    static TextInstance SYBASEPOWERDESIGNERPDM08EXPORT_DESCRIPTION;

    // "File".
    static TextInstance BP_FILE_DEFAULT;
    static ORXBridgeOptionLiteral BP_FILE;

    // "Target Database": 51 values.
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_AUTO_DETECT;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_ACCESS_95;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_ACCESS_2000;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_ADABAS_D;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_ALLBASE_SQL_G_1;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_ANSI_LEVEL_2;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_AS_400;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_5_X_COMMON_SERVER;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_6_X_COMMON_SERVER;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_7_X_COMMON_SERVER;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM___IBM_DB2_UDB_8_X_COMMON_SERVER;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_IBM_DB2_4_X_FOR_MVS_ESA;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_IBM_DB2_5_X_FOR_OS_390;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_6_FOR_OS_390;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_IBM_DB2_UDB_7_FOR_OS_390;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM___IBM_DB2_UDB_8_FOR_OS_390;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_INFORMIX_SQL_7_X;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_INFORMIX_SQL_8_X;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_INFORMIX_SQL_9_X;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_INTERBASE_4_0;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_INTERBASE_5_X;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_INTERBASE_6_X;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_MICROSOFT_SQL_SERVER_6_X;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_MICROSOFT_SQL_SERVER_7_X;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_MICROSOFT_SQL_SERVER_2000;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_MYSQL_3_22;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_MYSQL_3_23;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM___MYSQL_4;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_NONSTOP_SQL;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_ODBC_3_0;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_7;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_8;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_8I__8_1_5_;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_ORACLE_VERSION_8I2__8_1_6_;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM___ORACLE_VERSION_9I;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM___ORACLE_VERSION_9I2;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM___ORACLE_VERSION_10G;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_POSTGRESQL_7;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_SYBASE_AS_ANYWHERE_6;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_SYBASE_AS_ANYWHERE_7;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM___SYBASE_SQL_ANYWHERE_8;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM___SYBASE_SQL_ANYWHERE_9;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_SYBASE_AS_ENTERPRISE_11_0;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM___SYBASE_AS_ENTERPRISE_11_5_11_9;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_SYBASE_AS_ENTERPRISE_12_0;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM___SYBASE_AS_ENTERPRISE_12_5;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM___SYBASE_AS_ENTERPRISE_12_5_1;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_SYBASE_AS_IQ_12_0;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM___SYBASE_AS_IQ_12_4_3;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM___SYBASE_AS_IQ_12_5;
    static ORXBridgeEnumValueLiteral BP_TARGET_DATABASE_ENUM_TERADATA;
    static ORXBridgeOptionEnumerationLiteral BP_TARGET_DATABASE_ENUM;
    static ORXBridgeOptionLiteral BP_TARGET_DATABASE;

    // "Description".
    static ORXBridgeEnumValueLiteral BP_DESCRIPTION_ENUM_COMMENT___DESCRIPTION;
    static ORXBridgeEnumValueLiteral BP_DESCRIPTION_ENUM_COMMENT;
    static ORXBridgeEnumValueLiteral BP_DESCRIPTION_ENUM_NOTES_DESCRIPTION;
    static ORXBridgeOptionEnumerationLiteral BP_DESCRIPTION_ENUM;
    static ORXBridgeOptionLiteral BP_DESCRIPTION;

    // The two scales.
    static TextInstance BP_SCALE__IN____FOR_X_COORDINATES_DEFAULT;
    static ORXBridgeOptionLiteral BP_SCALE__IN____FOR_X_COORDINATES;
    static TextInstance BP_SCALE__IN____FOR_Y_COORDINATES_DEFAULT;
    static ORXBridgeOptionLiteral BP_SCALE__IN____FOR_Y_COORDINATES;

    // "XML Indentation (pretty printing)".
    static TextInstance BP_XML_INDENTATION__PRETTY_PRINTING__DEFAULT;
    static ORXBridgeOptionLiteral BP_XML_INDENTATION__PRETTY_PRINTING_;

    // "Version".
    static ORXBridgeEnumValueLiteral BP_VERSION_ENUM_8_0;
    static ORXBridgeEnumValueLiteral BP_VERSION_ENUM_9_0;
    static ORXBridgeEnumValueLiteral BP_VERSION_ENUM_9_5;
    static ORXBridgeEnumValueLiteral BP_VERSION_ENUM_10_0;
    static ORXBridgeEnumValueLiteral BP_VERSION_ENUM_11_0;
    static ORXBridgeEnumValueLiteral BP_VERSION_ENUM_12_0;
    static ORXBridgeOptionEnumerationLiteral BP_VERSION_ENUM;
    static ORXBridgeOptionLiteral BP_VERSION;

    // The messages.
    static MessageInstance_String PDPDMX_E_UNABLE_TO_OPEN_OUTPUT_FILE;
    static MessageInstance PDPDMX_E_INPUT_MODEL_PARAMETER_IS_NULL;
    static MessageInstance PDPDMX_S_PRE_PROCESSING;
    static MessageInstance_String PDPDMX_S_ORIGINAL_DATABASE_DETECTED;
    static MessageInstance PDPDMX_S_ORIGINAL_DATABASE_NOT_DETECTED;
    static MessageInstance_String PDPDMX_S_TARGET_DATABASE_DETECTED;
    static MessageInstance PDPDMX_S_EXPORTING;
    static MessageInstance PDPDMX_S_POST_PROCESSING;
    static MessageInstance PDPDMX_W_NON_BINARY_ASSOCIATION;
    static MessageInstance_String PDPDMX_W_INCONSISTENT_VIEW;
    static MessageInstance PDPDMX_E_MULTIPLE_CATALOGS_DETECTED;

  protected:
    const ORXString& getDocumentId() const override;
    ORXTextLiteral* const* listAllLiterals() const override;

  private:
    static ORXString DOCUMENT_ID;
    static ORXString PREFIX;
    static ORXTextLiteral* const textLiterals[];
    friend struct VLE_PDPDM7_Access;
};
