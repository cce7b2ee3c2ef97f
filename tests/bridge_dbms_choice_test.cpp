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

using Lines = std::vector<std::string>;

std::string found(const std::string& type) {
    return logLine("S0005", "Auto detecting target database ... found : " + type);
}
std::string usingDbms(const std::string& displayName) {
    return logLine("S0007", "Using " + displayName + " as target database");
}

// Runs selectTargetDbms with `option` as the "Target Database" value and a
// first catalog of database type `catalogType` (none when absent); returns
// the row chosen and the log.
std::pair<int, Lines> choose(const std::string& option,
                             const std::optional<std::string>& catalogType) {
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
    return {bridge.targetDbmsIndex, logLines(log)};
}

TEST(DbmsChoice, ByOptionAndByDetectionWithTheirMessages) {
    const std::string oracle = usingDbms("ORACLE Version 8i2 (8.1.6)");
    const std::string auto_ = "Auto Detect";
    struct Case {
        std::string option;
        std::optional<std::string> catalogType;
        int row;
        Lines log;
    };
    const std::vector<Case> cases = {
        {auto_,
         "SQL Server 2005",
         25,
         {found("SQL Server 2005"), usingDbms("Microsoft SQL Server 2000")}},
        {auto_, "ORACLE 9.x", 35, {found("ORACLE 9.x"), usingDbms("ORACLE Version 9i")}},
        {auto_, "Teradata 2.x", 76, {found("Teradata 2.x"), usingDbms("Teradata (Not Certified)")}},
        // No case folding, no trimming, no prefix matching; the type is
        // reported as the model holds it.
        {auto_, "oracle 8.1.6", 0, {found("oracle 8.1.6"), oracle}},
        {auto_, "ORACLE 8.1.6 ", 0, {found("ORACLE 8.1.6 "), oracle}},
        {auto_,
         std::nullopt,
         0,
         {logLine("S0006", "Auto detecting target database ... none found"), oracle}},
        // Another option value never detects; values outside the enumeration
        // choose row 0 silently.
        {"* MySQL 4", "SQL Server 2000", 28, {usingDbms("MySQL 4")}},
        {"** ORACLE Version 10g", std::nullopt, 36, {usingDbms("ORACLE Version 9i2")}},
        {"MySQL 4", "SQL Server 2000", 0, {oracle}},
        {"auto detect", "SQL Server 2000", 0, {oracle}},
        {"Auto Detect ", "SQL Server 2000", 0, {oracle}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("option '" + c.option + "', catalog '" + c.catalogType.value_or("<none>") +
                     "'");
        EXPECT_EQ(choose(c.option, c.catalogType), std::make_pair(c.row, c.log));
    }
}

TEST(DbmsChoice, DocumentNamesTheChosenDbms) {
    TempDir dir;
    std::unique_ptr<ORXModel> model = modelFromJson(R"({"format": "orx-model", "version": 1,
      "name": "M", "packages": [{"kind": "catalog", "name": "DB", "databaseType": "ORACLE 9.x"},
                                {"kind": "design", "name": "Main"}]})");
    RecordingLog log;
    const std::string document = exportThroughRun(
        *model, {{"File", dir.file("out.pdm")}, {"Target Database", "* MySQL 4"}}, log);
    EXPECT_EQ(checkPdmDocument(document), std::vector<std::string>{});
    const std::size_t dbms = document.find("<c:DBMS>");
    ASSERT_NE(dbms, std::string::npos);
    const std::string expected =
        "<a:Name>MySQL 4</a:Name>\n<a:Code>MySQL 3.23</a:Code>\n"
        "<a:ExtOID>2456E7C3-1F10-4005-BA71-AE5B6498BD36</a:ExtOID>\n";
    EXPECT_EQ(document.substr(document.find("<a:Name>", dbms), expected.size()), expected);
}

}  // namespace
