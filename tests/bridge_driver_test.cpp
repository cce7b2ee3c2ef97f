// The entry and the export driver: what the interface object answers, how
// failures reach the host, the log of an export stage by stage and how option
// values become settings.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "literals/VLE_PDPDM7.h"
#include "orx/ORXException.h"
#include "support/DriverSupport.h"
#include "support/PdmCheck.h"

using namespace pdmtest;

namespace {

using Lines = std::vector<std::string>;

const char* const kBridgeName = "ORXSybasePowerDesignerPdm08Export";
const std::string kNoneFound = logLine("S0006", "Auto detecting target database ... none found");
const std::string kUsingOracle =
    logLine("S0007", "Using ORACLE Version 8i2 (8.1.6) as target database");
const std::string kPreProcessing = logLine("S0004", "Pre-processing the model...");
const std::string kExporting = logLine("S0008", "Exporting ...");
const std::string kPostProcessing = logLine("S0009", "Post-processing the model...");

// One table in a design package, and no catalog.
const char* const kNoCatalogModel = R"({"format": "orx-model", "version": 1, "name": "Plain",
  "packages": [{"kind": "design", "name": "Main", "elements": [{"kind": "class", "name": "T",
    "attributes": [{"name": "A", "type": {"dataType": "SQL_INTEGER"}}]}]}]})";

// The message of the ORXException the export raises.
std::string failureOf(ORXModel& model, const OptionValues& values, ORXLog& log) {
    try {
        exportThroughRun(model, values, log);
    } catch (const ORXException& e) {
        return e.getMessage().str();
    }
    ADD_FAILURE() << "the export did not raise";
    return "";
}

// A log that raises when it receives the text `trigger`.
struct FailingLog : RecordingLog {
    void reportEvent(const ORXLogEvent& e) override {
        RecordingLog::reportEvent(e);
        if (e.getText().str() == trigger)
            raise();
    }
    std::string trigger;
    std::function<void()> raise;
};

TEST(DllInterface, OptionListReplacesWhatTheListHeldWithTheSevenOptions) {
    ORXOptionList list;
    list.add(new ORXOption("Stale", "String", "", "", {}, false));
    list.add(new ORXOption("File", "String", "", "old.pdm", {}, false));
    bridgeInterface().getOptionList(list);
    Lines options;  // name|kind|value|values[|mandatory]
    for (int i = 0; i < list.getCount(); ++i) {
        const ORXOption* o = list.getOption(i);
        options.push_back(o->getName().str() + "|" + o->getKind().str() + "|" +
                          o->getValue().str() + "|" + std::to_string(o->getEnumeration().size()) +
                          (o->isMandatory() ? "|mandatory" : ""));
    }
    EXPECT_EQ(options, (Lines{"Version|Enumerated|12.0|6", "File|File||0|mandatory",
                              "Target Database|Enumerated|Auto Detect|51",
                              "Description|Enumerated|Comment & Description|3",
                              "Scale (in %) for X coordinates|Numeric|100|0",
                              "Scale (in %) for Y coordinates|Numeric|100|0",
                              "XML Indentation (pretty printing)|String||0"}));
    auto* file = dynamic_cast<ORXFileOption*>(list.get("File"));
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->getExtensions().size(), 1u);
    EXPECT_EQ(file->getExtensions()[0].str(), "pdm");
    EXPECT_TRUE(file->isOutput());
}

TEST(DllInterface, SpecificationForUnknownBridgesAndMissingDescriptions) {
    static const ORXBridgeSpecificationLiteral missing("DriverTestBridge", "NoSuchDescription",
                                                       "http://example.org/tool", "Example Vendor",
                                                       "Example Tool", "1.0", "Relational");
    registerBridgeSpecification(&missing);
    const std::string faq = VLE_PDPDM7::SYBASEPOWERDESIGNERPDM08EXPORT_DESCRIPTION.getText().str();
    for (const std::string identifier : {"", "NoSuchBridge", kBridgeName, "DriverTestBridge"}) {
        SCOPED_TRACE("identifier '" + identifier + "'");
        ORXBridgeSpecification specification;
        bridgeInterface().getSpecification(ORXString(identifier.c_str()), specification);
        const bool own = identifier != "DriverTestBridge";
        EXPECT_EQ(specification.getVendorName().str(), own ? "Sybase" : "Example Vendor");
        EXPECT_EQ(specification.getToolName().str(), own ? "PowerDesigner" : "Example Tool");
        EXPECT_EQ(specification.getDescription().str(), own ? faq : "*** NoSuchDescription");
        EXPECT_EQ(specification.getVersion().str(), "5.2.0 - Jun  7 2007 18:15:28");
    }
    EXPECT_EQ(bridgeInterface().getMappingSpecificationXmlFile().str(),
              "ORXSybasePowerDesignerPdm07Export");
}

TEST(ExportRun, PassesBridgeExceptionsOnAndReplacesAllOthers) {
    const std::string unexpected =
        VLCM::BRIDGE_UNEXPECTED_ERROR.getMessage({ORXString(kBridgeName)}).str();
    ASSERT_NE(unexpected.find(kBridgeName), std::string::npos);
    const std::string choosing = "Using ORACLE Version 8i2 (8.1.6) as target database";
    struct Case {
        std::string trigger;
        std::function<void()> raise;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"Exporting ...", [] { throw ORXException("injected"); }, "injected"},
        {"Pre-processing the model...", [] { throw std::runtime_error("injected"); }, unexpected},
        {choosing, [] { throw ORXException("early"); }, "early"},
        {choosing, [] { throw std::bad_alloc(); }, unexpected},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trigger + " -> " + c.message);
        TempDir dir;
        std::unique_ptr<ORXModel> model = salesModel();
        FailingLog log;
        log.trigger = c.trigger;
        log.raise = c.raise;
        EXPECT_EQ(failureOf(*model, {{"File", dir.file("out.pdm")}}, log), c.message);
        ASSERT_FALSE(log.events.empty());
        EXPECT_EQ(log.events.back().text, c.trigger) << "the export went on after the failure";
    }
}

TEST(ExportRun, WriteErrorOnAFullDeviceIsRaised) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    std::unique_ptr<ORXModel> model = salesModel();
    RecordingLog log;
    EXPECT_NE(failureOf(*model, {{"File", "/dev/full"}}, log).find("/dev/full"), std::string::npos);
    EXPECT_NE(logLines(log).back(), kPostProcessing) << "the export was reported finished";
}

TEST(ExportDriver, LogOfAnExportWithoutCatalogAndWithTwo) {
    const char* const twoCatalogs = R"({"format": "orx-model", "version": 1, "name": "Two",
      "packages": [{"kind": "catalog", "name": "A", "databaseType": "SQL Server 2000"},
        {"kind": "design", "name": "Main", "elements": [{"kind": "class", "name": "T"}]},
        {"kind": "catalog", "name": "B", "databaseType": "ORACLE 8.1.6"}]})";
    const std::vector<std::pair<const char*, Lines>> cases = {
        {kNoCatalogModel, {kNoneFound, kUsingOracle}},
        {twoCatalogs,
         {logLine("W0013",
                  "This bridge does not support multiple catalogs. The source model has multiple "
                  "catalogs.",
                  ORX_SEVERITY_WARNING),
          logLine("S0005", "Auto detecting target database ... found : SQL Server 2000"),
          logLine("S0007", "Using Microsoft SQL Server 2000 as target database")}},
    };
    for (const auto& [json, choice] : cases) {
        TempDir dir;
        std::unique_ptr<ORXModel> model = modelFromJson(json);
        RecordingLog log;
        const std::string document = exportThroughRun(
            *model, {{"File", dir.file("out.pdm")}, {"XML Indentation (pretty printing)", "\t"}},
            log);
        Lines expected = choice;
        expected.insert(expected.end(), {kPreProcessing, kExporting, kPostProcessing});
        EXPECT_EQ(logLines(log), expected);
        EXPECT_EQ(checkPdmDocument(document), Lines{});
        EXPECT_NE(document.find("\n\t\t<c:Objects>\n"), std::string::npos);
    }
}

TEST(ExportDriver, OutputFileThatDoesNotOpenIsRaisedBeforePreProcessing) {
    TempDir dir;
    for (const std::string& path : {dir.file("missing/out.pdm"), dir.path().string()}) {
        SCOPED_TRACE(path);
        std::unique_ptr<ORXModel> model = salesModel();
        RecordingLog log;
        EXPECT_EQ(failureOf(*model, {{"File", path}}, log),
                  "[VLE_PDPDM7_F0001] Unable to open or create output file '" + path + "'");
        EXPECT_EQ(
            logLines(log),
            (Lines{logLine("S0005", "Auto detecting target database ... found : ORACLE 8.1.6"),
                   kUsingOracle}));
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
}

TEST(ExportDriver, ScaleAndDescriptionValuesBecomeSettings) {
    struct Case {
        const char *x, *y, *description;
        float scaleX, scaleY;
        int mode;
    };
    const std::vector<Case> cases = {
        {"150", "100", "Comment & Description", 15.0f, 20.0f, 0},
        {"abc", "50", "Comment", 0.0f, 10.0f, 1},
        {"-100", "+30", "Notes/Description", -10.0f, 6.0f, 2},
        {"120%", "7.9", "comment", 12.0f, 1.4f, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.x) + " / " + c.y + " / " + c.description);
        TempDir dir;
        std::unique_ptr<ORXModel> model = modelFromJson(kNoCatalogModel);
        RecordingLog log;
        ORXOptionList options;
        fillOptions(options, {{"File", dir.file("out.pdm")},
                              {"Scale (in %) for X coordinates", c.x},
                              {"Scale (in %) for Y coordinates", c.y},
                              {"Description", c.description}});
        ORXSybasePowerDesignerPdm08ExportBridge bridge(&log);
        ASSERT_TRUE(bridge.exportModel(model.get(), options));
        EXPECT_FLOAT_EQ(bridge.scaleX, c.scaleX);
        EXPECT_FLOAT_EQ(bridge.scaleY, c.scaleY);
        EXPECT_EQ(bridge.descriptionMode, c.mode);
    }
}

}  // namespace
