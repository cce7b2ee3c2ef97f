// The choice of the target DBMS: by the "Target Database" option or, for
// "Auto Detect", from the database type of the model's first catalog, with
// the messages that report it and the DBMS the document then names.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "literals/VLE_PDPDM7.h"
#include "support/DriverSupport.h"
#include "support/PdmCheck.h"

using namespace pdmtest;

namespace {

const int kStatus = ORXSeverityLevelOf(ORXString("STATUS"));

LoggedEvent found(const std::string& type) {
    return {"Auto detecting target database ... found : " + type, "VLE_PDPDM7_S0005", kStatus};
}

const LoggedEvent kNoneFound = {"Auto detecting target database ... none found", "VLE_PDPDM7_S0006",
                                kStatus};

LoggedEvent usingDbms(const std::string& displayName) {
    return {"Using " + displayName + " as target database", "VLE_PDPDM7_S0007", kStatus};
}

struct Choice {
    int row;
    std::vector<LoggedEvent> events;
};

// Runs selectTargetDbms with `option` as the "Target Database" value and a
// first catalog of database type `catalogType` (none when absent).
Choice choose(const std::string& option, const std::optional<std::string>& catalogType) {
    RecordingLog log;
    ORXOptionList options;
    fillOptions(options, {{"Target Database", option}});
    ORXCatalog catalog;
    if (catalogType)
        catalog.setDatabaseType(ORXString(catalogType->c_str()));
    ORXSybasePowerDesignerPdm08ExportBridge bridge(&log);
    bridge.targetDbmsIndex = 17;  // the choice must start from row 0 itself
    bridge.selectTargetDbms(options, catalogType ? &catalog : nullptr, &log);
    EXPECT_EQ(bridge.targetDatatypeTable, dbmsCatalogue[bridge.targetDbmsIndex].datatypeTable);
    return {bridge.targetDbmsIndex, log.events};
}

void expectEvents(const std::vector<LoggedEvent>& actual,
                  const std::vector<LoggedEvent>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("event " + std::to_string(i));
        EXPECT_EQ(actual[i].text, expected[i].text);
        EXPECT_EQ(actual[i].code, expected[i].code);
        EXPECT_EQ(actual[i].level, expected[i].level);
    }
}

TEST(DbmsChoice, ByOptionAndByDetectionWithTheirMessages) {
    const std::string oracle = "ORACLE Version 8i2 (8.1.6)";
    struct Case {
        std::string option;
        std::optional<std::string> catalogType;
        int row;
        std::vector<LoggedEvent> events;
    };
    const std::vector<Case> cases = {
        {"Auto Detect",
         "SQL Server 2005",
         25,
         {found("SQL Server 2005"), usingDbms("Microsoft SQL Server 2000")}},
        {"Auto Detect",
         "SQL Server 2000",
         24,
         {found("SQL Server 2000"), usingDbms("Microsoft SQL Server 2000")}},
        // A detection name that occurs twice yields its first row.
        {"Auto Detect", "ORACLE 9.x", 35, {found("ORACLE 9.x"), usingDbms("ORACLE Version 9i")}},
        {"Auto Detect",
         "SYBASE AS Enterprise 11.5",
         43,
         {found("SYBASE AS Enterprise 11.5"), usingDbms("Sybase AS Enterprise 11.x")}},
        {"Auto Detect", "ORACLE 8.1.6", 0, {found("ORACLE 8.1.6"), usingDbms(oracle)}},
        // Rows reached by detection only.
        {"Auto Detect",
         "SYBASE SQL Anywhere 5.x",
         38,
         {found("SYBASE SQL Anywhere 5.x"), usingDbms("Sybase SQL Anywhere 5.5")}},
        {"Auto Detect",
         "Teradata 2.x",
         76,
         {found("Teradata 2.x"), usingDbms("Teradata (Not Certified)")}},
        // No trimming, no case folding, no prefix matching; the type is
        // reported as the model holds it.
        {"Auto Detect", "oracle 8.1.6", 0, {found("oracle 8.1.6"), usingDbms(oracle)}},
        {"Auto Detect", "ORACLE 8.1.6 ", 0, {found("ORACLE 8.1.6 "), usingDbms(oracle)}},
        {"Auto Detect", "ORACLE 8", 0, {found("ORACLE 8"), usingDbms(oracle)}},
        {"Auto Detect", std::nullopt, 0, {kNoneFound, usingDbms(oracle)}},
        {"Auto Detect", "", 0, {kNoneFound, usingDbms(oracle)}},
        // An option value other than "Auto Detect" never detects.
        {"* MySQL 4", "SQL Server 2000", 28, {usingDbms("MySQL 4")}},
        {"Teradata", std::nullopt, 51, {usingDbms("Teradata (Not Certified)")}},
        {"* ORACLE Version 9i2", std::nullopt, 36, {usingDbms("ORACLE Version 9i2")}},
        {"ORACLE Version 8i2 (8.1.6)", std::nullopt, 34, {usingDbms(oracle)}},
        // Values outside the enumeration choose row 0 silently.
        {"MySQL 4", "SQL Server 2000", 0, {usingDbms(oracle)}},
        {"auto detect", "SQL Server 2000", 0, {usingDbms(oracle)}},
        {"Auto Detect ", "SQL Server 2000", 0, {usingDbms(oracle)}},
        {"", "SQL Server 2000", 0, {usingDbms(oracle)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("option '" + c.option + "', catalog " +
                     (c.catalogType ? "'" + *c.catalogType + "'" : std::string("none")));
        const Choice choice = choose(c.option, c.catalogType);
        EXPECT_EQ(choice.row, c.row);
        expectEvents(choice.events, c.events);
    }
}

TEST(DbmsChoice, EveryEnumerationValueSelectsItsRow) {
    // Position -> row: 1 to 24 keep their number, 25 to 35 and 38 to 50 skip
    // one row (SQL Server 2005 at 25 is reached by detection only), 37 is
    // PostgreSQL 7; position 36 is decided separately.
    const ORXBridgeOptionEnumerationLiteral& values = VLE_PDPDM7::BP_TARGET_DATABASE_ENUM;
    ASSERT_EQ(values.getValueCount(), 51);
    for (int position = 1; position < 51; ++position) {
        if (position == 36)
            continue;
        const std::string value = values.getValues()[position]->getText().str();
        SCOPED_TRACE(std::to_string(position) + " '" + value + "'");
        int row = position;
        if ((position >= 25 && position <= 35) || position >= 38)
            row = position + 1;
        const Choice choice = choose(value, "SQL Server 2000");
        EXPECT_EQ(choice.row, row);
        expectEvents(choice.events, {usingDbms(dbmsCatalogue[row].displayName)});
    }
}

TEST(DbmsChoice, OracleTenSelectsAnOracleRow) {
    const Choice choice = choose("** ORACLE Version 10g", std::nullopt);
    const std::string name = dbmsCatalogue[choice.row].displayName;
    EXPECT_EQ(name.rfind("ORACLE", 0), 0u) << name;
    expectEvents(choice.events, {usingDbms(name)});
}

TEST(DbmsChoice, DocumentNamesTheChosenDbms) {
    struct Case {
        const char* option;
        const char* catalogType;
        const char* name;
        const char* code;
        const char* guid;
    };
    const std::vector<Case> cases = {
        {"Auto Detect", "SQL Server 2005", "Microsoft SQL Server 2000", "MSSQLSRV2000",
         "E2B854D3-FF56-485F-BEF3-98AEC7E65DDC"},
        {"* MySQL 4", "SQL Server 2005", "MySQL 4", "MySQL 3.23",
         "2456E7C3-1F10-4005-BA71-AE5B6498BD36"},
        {"Teradata", "ORACLE 9.x", "Teradata (Not Certified)", "TERADATA",
         "D9E16492-6EE4-4517-8B38-CC64BD949635"},
        {"Auto Detect", "oracle 9.x", "ORACLE Version 8i2 (8.1.6)", "ORACLE 8I2",
         "194A9A5D-6FD7-4064-B874-1C7143381572"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.option) + " / " + c.catalogType);
        TempDir dir;
        std::unique_ptr<ORXModel> model = modelFromJson(
            std::string(R"({"format": "orx-model", "version": 1, "name": "M", "packages": [
              {"kind": "catalog", "name": "DB", "databaseType": ")") +
            c.catalogType + R"("},
              {"kind": "design", "name": "Main", "elements": [{"kind": "class", "name": "T"}]}]})");
        RecordingLog log;
        const std::string document = exportThroughRun(
            *model, {{"File", dir.file("out.pdm")}, {"Target Database", c.option}}, log);
        for (const std::string& problem : checkPdmDocument(document))
            ADD_FAILURE() << problem;

        pugi::xml_document xml;
        ASSERT_TRUE(xml.load_string(document.c_str()));
        pugi::xml_node shortcut =
            xml.select_node("/Model/o:SRepRootObject/c:Objects/o:SPdmModel/c:DBMS/o:SRepShortcut")
                .node();
        ASSERT_TRUE(shortcut);
        EXPECT_STREQ(shortcut.child("a:Name").text().get(), c.name);
        EXPECT_STREQ(shortcut.child("a:Code").text().get(), c.code);
        EXPECT_STREQ(shortcut.child("a:ExtOID").text().get(), c.guid);
    }
}

}  // namespace
