// The entry and the export driver: what the interface object answers, how
// failures reach the host, the log of an export stage by stage, how option
// values become settings, and that the model is whole again after every run.

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

const char* const kBridgeName = "ORXSybasePowerDesignerPdm08Export";

int levelOf(const char* severity) {
    return ORXSeverityLevelOf(ORXString(severity));
}

LoggedEvent event(const std::string& text, const std::string& code, const char* severity) {
    return {text, code, levelOf(severity)};
}

const LoggedEvent kNoneFound =
    event("Auto detecting target database ... none found", "VLE_PDPDM7_S0006", "STATUS");
const LoggedEvent kUsingOracle =
    event("Using ORACLE Version 8i2 (8.1.6) as target database", "VLE_PDPDM7_S0007", "STATUS");
const LoggedEvent kPreProcessing =
    event("Pre-processing the model...", "VLE_PDPDM7_S0004", "STATUS");
const LoggedEvent kExporting = event("Exporting ...", "VLE_PDPDM7_S0008", "STATUS");
const LoggedEvent kPostProcessing =
    event("Post-processing the model...", "VLE_PDPDM7_S0009", "STATUS");

std::string describe(const std::vector<LoggedEvent>& events) {
    std::string out;
    for (const auto& e : events)
        out += "  [" + e.code + " " + std::to_string(e.level) + "] " + e.text + "\n";
    return out;
}

void expectEvents(const std::vector<LoggedEvent>& actual,
                  const std::vector<LoggedEvent>& expected) {
    ASSERT_EQ(actual.size(), expected.size()) << "logged:\n" << describe(actual);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("event " + std::to_string(i));
        EXPECT_EQ(actual[i].text, expected[i].text);
        EXPECT_EQ(actual[i].code, expected[i].code);
        EXPECT_EQ(actual[i].level, expected[i].level);
    }
}

void expectSoundDocument(const std::string& document) {
    for (const std::string& problem : checkPdmDocument(document))
        ADD_FAILURE() << problem;
}

// One table in a merged design package, and no catalog.
const char* const kNoCatalogModel = R"({
  "format": "orx-model", "version": 1, "name": "Plain",
  "packages": [
    {"kind": "design", "name": "Main", "elements": [
      {"kind": "class", "name": "T", "attributes": [
        {"name": "A", "type": {"dataType": "SQL_INTEGER"}}]}]}]})";

// A log that records every event and raises when it receives one text.
class FailingLog : public RecordingLog {
  public:
    FailingLog(std::string trigger, std::function<void()> raise)
        : trigger_(std::move(trigger)), raise_(std::move(raise)) {}
    void reportEvent(const ORXLogEvent& e) override {
        RecordingLog::reportEvent(e);
        if (e.getText().str() == trigger_)
            raise_();
    }

  private:
    std::string trigger_;
    std::function<void()> raise_;
};

// ---- The interface object --------------------------------------------------------------

TEST(DllInterface, FactoryHandsOutOneObject) {
    ORXVelmarExportDllInterface* first = getORXSybasePowerDesignerPdm08ExportInterface();
    ORXVelmarExportDllInterface* second = getORXSybasePowerDesignerPdm08ExportInterface();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
}

TEST(DllInterface, OptionListReplacesWhatTheListHeldWithTheSevenOptions) {
    ORXOptionList list;
    list.add(new ORXOption("Stale", "String", "", "", {}, false));
    list.add(new ORXOption("File", "String", "", "old.pdm", {}, false));
    list.setValue("File", "old.pdm");

    bridgeInterface().getOptionList(list);

    struct Expected {
        const char* name;
        const char* kind;
        const char* defaultValue;
        std::size_t enumerationSize;
    };
    const std::vector<Expected> expected = {
        {"Version", "Enumerated", "12.0", 6},
        {"File", "File", "", 0},
        {"Target Database", "Enumerated", "Auto Detect", 51},
        {"Description", "Enumerated", "Comment & Description", 3},
        {"Scale (in %) for X coordinates", "Numeric", "100", 0},
        {"Scale (in %) for Y coordinates", "Numeric", "100", 0},
        {"XML Indentation (pretty printing)", "String", "", 0},
    };
    ASSERT_EQ(list.getCount(), 7);
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(expected[i].name);
        const ORXOption* option = list.getOption(i);
        EXPECT_EQ(option->getName().str(), expected[i].name);
        EXPECT_EQ(option->getKind().str(), expected[i].kind);
        EXPECT_EQ(option->getDefaultValue().str(), expected[i].defaultValue);
        EXPECT_EQ(option->getValue().str(), expected[i].defaultValue);
        EXPECT_EQ(option->getEnumeration().size(), expected[i].enumerationSize);
        // Only the file option is generated with the first flag set.
        EXPECT_EQ(option->isMandatory(), i == 1);
    }
    EXPECT_EQ(list.get("Stale"), nullptr);

    auto* file = dynamic_cast<ORXFileOption*>(list.get("File"));
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->getExtensions().size(), 1u);
    EXPECT_EQ(file->getExtensions()[0].str(), "pdm");
    EXPECT_EQ(file->getFilterName().str(), "Default");
    EXPECT_TRUE(file->isOutput());
    EXPECT_EQ(file->getFilePath().str(), "");
}

TEST(DllInterface, MappingSpecificationKeepsTheOlderName) {
    EXPECT_EQ(bridgeInterface().getMappingSpecificationXmlFile().str(),
              "ORXSybasePowerDesignerPdm07Export");
}

TEST(DllInterface, SpecificationFallsBackToTheBridgesOwnLiteral) {
    const std::string faq =
        "FREQUENTLY ASKED QUESTIONS\n"
        " \n"
        " Q: All the symbols are in the center of the screen, what can I do ?\n"
        " A: In the tool, select 'Symbol->Auto-Layout', it will redraw the current diagram.\n"
        "    Note that you will have to do this for each diagram.\n"
        " \n"
        " Q: Some symbols seem to be missing, what can I do ?\n"
        " A: In the tool, select 'Tools->Complete Links', it will draw the missing symbols.\n"
        "    Note that you will have to do this for each diagram.\n"
        " ";
    const ORXBridgeSpecificationLiteral& own = VLLST::BRIDGE_SPEC_SYBASEPOWERDESIGNERPDM08_EXPORT;
    for (const char* identifier : {"", "NoSuchBridge", kBridgeName}) {
        SCOPED_TRACE(std::string("identifier '") + identifier + "'");
        ORXBridgeSpecification specification;
        bridgeInterface().getSpecification(ORXString(identifier), specification);
        EXPECT_EQ(specification.getToolWeb(), own.getTool_Web());
        EXPECT_EQ(specification.getVendorName(), own.getVendor_Name());
        EXPECT_EQ(specification.getVendorName().str(), "Sybase");
        EXPECT_EQ(specification.getToolName(), own.getTool_Name());
        EXPECT_EQ(specification.getToolName().str(), "PowerDesigner");
        EXPECT_EQ(specification.getToolVersions(), own.getTool_Versions());
        EXPECT_EQ(specification.getMethodologySummary(), own.getMethodology_Summary());
        EXPECT_TRUE(specification.getExtraTexts().empty());
        EXPECT_EQ(specification.getVersion().str(), "5.2.0 - Jun  7 2007 18:15:28");
        EXPECT_EQ(specification.getDescription().str(), faq);
        EXPECT_FALSE(specification.isImport());
        EXPECT_FALSE(specification.isMetadataOnly());
    }
}

TEST(DllInterface, SpecificationNamesADescriptionTheCatalogueLacks) {
    static const ORXBridgeSpecificationLiteral missing("DriverTestBridge", "NoSuchDescription",
                                                       "http://example.org/tool", "Example Vendor",
                                                       "Example Tool", "1.0", "Relational");
    // Identifiers are compared exactly: another case is another identifier.
    static const ORXBridgeSpecificationLiteral otherCase(
        "DriverTestBridgeCase", "sybasepowerdesignerpdmexportdescription", "", "", "", "", "");
    static const ORXBridgeSpecificationLiteral known(
        "DriverTestBridgeKnown", "SybasePowerDesignerPdmExportDescription", "", "V", "", "", "");
    registerBridgeSpecification(&missing);
    registerBridgeSpecification(&otherCase);
    registerBridgeSpecification(&known);

    struct Case {
        const char* identifier;
        std::string description;
    };
    const std::vector<Case> cases = {
        {"DriverTestBridge", "*** NoSuchDescription"},
        {"DriverTestBridgeCase", "*** sybasepowerdesignerpdmexportdescription"},
        {"DriverTestBridgeKnown",
         VLE_PDPDM7::SYBASEPOWERDESIGNERPDM08EXPORT_DESCRIPTION.getText().str()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.identifier);
        ORXBridgeSpecification specification;
        bridgeInterface().getSpecification(ORXString(c.identifier), specification);
        EXPECT_EQ(specification.getDescription().str(), c.description);
        EXPECT_EQ(specification.getVersion().str(), "5.2.0 - Jun  7 2007 18:15:28");
    }

    ORXBridgeSpecification specification;
    bridgeInterface().getSpecification("DriverTestBridge", specification);
    EXPECT_EQ(specification.getToolWeb().str(), "http://example.org/tool");
    EXPECT_EQ(specification.getVendorName().str(), "Example Vendor");
    EXPECT_EQ(specification.getToolName().str(), "Example Tool");
    EXPECT_EQ(specification.getToolVersions().str(), "1.0");
    EXPECT_EQ(specification.getMethodologySummary().str(), "Relational");
}

// ---- Failures through run ----------------------------------------------------------------

TEST(ExportRun, PassesBridgeExceptionsOnAndReplacesAllOthers) {
    const std::string unexpected =
        VLCM::BRIDGE_UNEXPECTED_ERROR.getMessage({ORXString(kBridgeName)}).str();
    ASSERT_NE(unexpected.find(kBridgeName), std::string::npos);

    struct Case {
        const char* name;
        std::string trigger;
        std::function<void()> raise;
        std::string message;
    };
    const std::string using2000 = "Using ORACLE Version 8i2 (8.1.6) as target database";
    const std::vector<Case> cases = {
        {"ORXException while writing", "Exporting ...",
         [] { throw ORXException("injected failure"); }, "injected failure"},
        {"runtime_error while writing", "Exporting ...",
         [] { throw std::runtime_error("injected"); }, unexpected},
        {"bad_alloc while writing", "Exporting ...", [] { throw std::bad_alloc(); }, unexpected},
        {"runtime_error after pre-processing began", "Pre-processing the model...",
         [] { throw std::runtime_error("injected"); }, unexpected},
        {"ORXException while choosing the DBMS", using2000, [] { throw ORXException("early"); },
         "early"},
        {"bad_alloc while choosing the DBMS", using2000, [] { throw std::bad_alloc(); },
         unexpected},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::unique_ptr<ORXModel> model = salesModel();
        const std::string before = importers::dumpJsonModel(*model);
        FailingLog log(c.trigger, c.raise);
        ORXOptionList options;
        fillOptions(options, {{"File", dir.file("out.pdm")}});
        try {
            bridgeInterface().run(ORXString(), *model, options, log);
            ADD_FAILURE() << "run returned";
        } catch (const ORXException& e) {
            EXPECT_EQ(e.getMessage().str(), c.message);
        } catch (...) {
            ADD_FAILURE() << "run let a foreign exception through";
        }
        ASSERT_FALSE(log.events.empty());
        EXPECT_EQ(log.events.back().text, c.trigger) << "the export went on after the failure";
        EXPECT_EQ(importers::dumpJsonModel(*model), before);
        EXPECT_EQ(countGeneralPointers(*model), 0);
    }
}

TEST(ExportRun, WriteErrorOnAFullDeviceIsRaisedAndTheModelRestored) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    std::unique_ptr<ORXModel> model = salesModel();
    const std::string before = importers::dumpJsonModel(*model);
    RecordingLog log;
    ORXOptionList options;
    fillOptions(options, {{"File", "/dev/full"}});
    try {
        bridgeInterface().run(ORXString(), *model, options, log);
        ADD_FAILURE() << "a write to a full device passed for success";
    } catch (const ORXException& e) {
        EXPECT_NE(e.getMessage().str().find("/dev/full"), std::string::npos) << e.what();
    }
    for (const LoggedEvent& e : log.events)
        EXPECT_NE(e.text, kPostProcessing.text) << "the export was reported finished";
    EXPECT_EQ(importers::dumpJsonModel(*model), before);
    EXPECT_EQ(countGeneralPointers(*model), 0);
}

// ---- The log of an export ------------------------------------------------------------------

TEST(ExportDriver, ModelWithoutCatalogLogsEveryStage) {
    TempDir dir;
    std::unique_ptr<ORXModel> model = modelFromJson(kNoCatalogModel);
    RecordingLog log;
    const std::string document = exportThroughRun(*model, {{"File", dir.file("out.pdm")}}, log);
    expectEvents(log.events,
                 {kNoneFound, kUsingOracle, kPreProcessing, kExporting, kPostProcessing});
    expectSoundDocument(document);
}

TEST(ExportDriver, SecondCatalogIsWarnedAboutFirstAndTheExportCompletes) {
    TempDir dir;
    std::unique_ptr<ORXModel> model = modelFromJson(R"({
      "format": "orx-model", "version": 1, "name": "Two",
      "packages": [
        {"kind": "catalog", "name": "A", "databaseType": "SQL Server 2000"},
        {"kind": "design", "name": "Main", "elements": [{"kind": "class", "name": "T"}]},
        {"kind": "catalog", "name": "B", "databaseType": "ORACLE 8.1.6"}]})");
    RecordingLog log;
    const std::string document = exportThroughRun(*model, {{"File", dir.file("out.pdm")}}, log);
    expectEvents(
        log.events,
        {event("This bridge does not support multiple catalogs. The source model has multiple "
               "catalogs.",
               "VLE_PDPDM7_W0013", "WARNING"),
         event("Auto detecting target database ... found : SQL Server 2000", "VLE_PDPDM7_S0005",
               "STATUS"),
         event("Using Microsoft SQL Server 2000 as target database", "VLE_PDPDM7_S0007", "STATUS"),
         kPreProcessing, kExporting, kPostProcessing});
    expectSoundDocument(document);
    EXPECT_NE(document.find("<a:Name>Microsoft SQL Server 2000</a:Name>"), std::string::npos);
}

TEST(ExportDriver, OutputFileThatDoesNotOpenIsRaisedBeforePreProcessing) {
    TempDir dir;
    const std::vector<std::string> paths = {dir.file("missing/out.pdm"), "", dir.path().string()};
    for (const std::string& path : paths) {
        SCOPED_TRACE("path '" + path + "'");
        std::unique_ptr<ORXModel> model = salesModel();
        const std::string before = importers::dumpJsonModel(*model);
        RecordingLog log;
        ORXOptionList options;
        fillOptions(options, {{"File", path}});
        try {
            bridgeInterface().run(ORXString(), *model, options, log);
            ADD_FAILURE() << "run returned";
        } catch (const ORXException& e) {
            EXPECT_EQ(e.getMessage().str(),
                      "[VLE_PDPDM7_F0001] Unable to open or create output file '" + path + "'");
        }
        expectEvents(log.events, {event("Auto detecting target database ... found : ORACLE 8.1.6",
                                        "VLE_PDPDM7_S0005", "STATUS"),
                                  kUsingOracle});
        EXPECT_EQ(importers::dumpJsonModel(*model), before);
        EXPECT_EQ(countGeneralPointers(*model), 0);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
}

TEST(ExportDriver, SuccessfulExportLeavesTheModelAsItWas) {
    TempDir dir;
    std::unique_ptr<ORXModel> model = salesModel();
    const std::string before = importers::dumpJsonModel(*model);
    RecordingLog log;
    const std::string document = exportThroughRun(*model, {{"File", dir.file("out.pdm")}}, log);
    expectSoundDocument(document);
    EXPECT_EQ(importers::dumpJsonModel(*model), before);
    EXPECT_EQ(countGeneralPointers(*model), 0);
}

TEST(ExportDriver, TextThatDoesNotConvertIsReportedOnceWithItsCounts) {
    struct Case {
        const char* name;
        std::string modelName;
        bool reported;
    };
    const std::vector<Case> cases = {
        {"plain ASCII", "Sales", false},
        {"valid UTF-8", "Vente \xC3\xA9t\xC3\xA9", false},
        {"invalid UTF-8 byte", "Bad\xFFName", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::unique_ptr<ORXModel> model = modelFromJson(kNoCatalogModel);
        model->setName(ORXString(c.modelName.c_str()));
        RecordingLog log;
        ORXOptionList options;
        fillOptions(options, {{"File", dir.file("out.pdm")}});
        ORXSybasePowerDesignerPdm08ExportBridge bridge(&log);
        ASSERT_TRUE(bridge.exportModel(model.get(), options));

        std::vector<LoggedEvent> expected = {kNoneFound, kUsingOracle, kPreProcessing, kExporting};
        if (c.reported) {
            const int failures = bridge.getConversionFailureCount();
            const int replaced = bridge.getConversionReplacementCount();
            EXPECT_GT(failures, 0);
            expected.push_back({VLCM::ICU_CONVERSION_ERROR
                                    .toString({ORXString(std::to_string(failures).c_str()),
                                               ORXString(std::to_string(replaced).c_str())})
                                    .str(),
                                VLCM::ICU_CONVERSION_ERROR.getMessageCode().str(),
                                VLCM::ICU_CONVERSION_ERROR.getSeverityLevel()});
        }
        expected.push_back(kPostProcessing);
        expectEvents(log.events, expected);
        expectSoundDocument(readFile(dir.file("out.pdm")));
    }
}

TEST(ExportDriver, GuidPrefixAndIdentifiersStartAfresh) {
    struct Case {
        std::int64_t seconds;
        const char* prefix;
    };
    const std::vector<Case> cases = {
        {0, "00000000-1337-F331-D34D-"},
        {0x4668D3A0, "4668D3A0-1337-F331-D34D-"},
        {0xFFFFFFFF, "FFFFFFFF-1337-F331-D34D-"},
        {0x100000012, "00000012-1337-F331-D34D-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix);
        TempDir dir;
        std::unique_ptr<ORXModel> model = modelFromJson(kNoCatalogModel);
        RecordingLog log;
        ORXOptionList options;
        fillOptions(options, {{"File", dir.file("out.pdm")}});
        ORXSybasePowerDesignerPdm08ExportBridge bridge(&log);
        bridge.nextObjectId = 50;
        ORXClock::setFixedTime(c.seconds);
        ASSERT_TRUE(bridge.exportModel(model.get(), options));
        ORXClock::setFixedTime(std::nullopt);
        EXPECT_STREQ(bridge.guidPrefix, c.prefix);
        const std::string document = readFile(dir.file("out.pdm"));
        EXPECT_NE(document.find("<a:OID>" + std::string(c.prefix) + "000000000001</a:OID>"),
                  std::string::npos);
        expectSoundDocument(document);
    }
}

// ---- Options -------------------------------------------------------------------------------

TEST(ExportDriver, ScaleAndDescriptionValuesBecomeSettings) {
    struct Case {
        const char* x;
        const char* y;
        const char* description;
        float scaleX;
        float scaleY;
        int mode;
    };
    const std::vector<Case> cases = {
        {"100", "100", "Comment & Description", 10.0f, 20.0f, 0},
        {"150", "50", "Comment & Description", 15.0f, 10.0f, 0},
        {"200", "100", "Comment", 20.0f, 20.0f, 1},
        {"50", "100", "Notes/Description", 5.0f, 20.0f, 2},
        {"abc", "100", "comment", 0.0f, 20.0f, 0},
        {"-100", "100", "Comment ", -10.0f, 20.0f, 0},
        {"120%", "100", "notes/description", 12.0f, 20.0f, 0},
        {" 200", "+30", "", 20.0f, 6.0f, 0},
        {"", "7.9", "Comment & Description", 0.0f, 1.4f, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("x '") + c.x + "', y '" + c.y + "', description '" +
                     c.description + "'");
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

TEST(ExportDriver, IndentationValueReachesTheWriterUnchanged) {
    struct Case {
        const char* name;
        std::string unit;
    };
    for (const Case& c : std::vector<Case>{{"none", ""}, {"tab", "\t"}, {"two blanks", "  "}}) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::unique_ptr<ORXModel> model = modelFromJson(kNoCatalogModel);
        RecordingLog log;
        const std::string document = exportThroughRun(
            *model, {{"File", dir.file("out.pdm")}, {"XML Indentation (pretty printing)", c.unit}},
            log);
        expectSoundDocument(document);
        EXPECT_NE(document.find("\n" + c.unit + "<o:SRepRootObject Id=\"o"), std::string::npos);
        EXPECT_NE(document.find("\n" + c.unit + c.unit + "<c:Objects>\n"), std::string::npos);
        EXPECT_NE(document.find("\n" + c.unit + "</o:SRepRootObject>\n"), std::string::npos);
        EXPECT_NE(document.find("\n</Model>"), std::string::npos);
    }
}

TEST(ExportRun, VersionOptionLeavesTheDocumentUnchanged) {
    std::string reference;
    for (const char* version : {"12.0", "8.0", "9.0", "9.5", "10.0", "11.0", "7.0"}) {
        SCOPED_TRACE(version);
        TempDir dir;
        std::unique_ptr<ORXModel> model = salesModel();
        RecordingLog log;
        const std::string document =
            exportThroughRun(*model, {{"File", dir.file("out.pdm")}, {"Version", version}}, log);
        if (reference.empty()) {
            reference = document;
            ASSERT_FALSE(reference.empty());
            expectSoundDocument(reference);
        } else {
            EXPECT_TRUE(document == reference) << "the document differs from version 12.0's";
        }
    }
}

TEST(ExportRun, HostileModelNameStillGivesAWellFormedDocument) {
    TempDir dir;
    std::unique_ptr<ORXModel> model = modelFromJson(kNoCatalogModel);
    model->setName(ORXString("A\"B<C&D?>E\xFF"));
    RecordingLog log;
    const std::string document = exportThroughRun(*model, {{"File", dir.file("out.pdm")}}, log);
    expectSoundDocument(document);

    const std::size_t lineStart = document.find('\n') + 1;
    const std::string header =
        document.substr(lineStart, document.find('\n', lineStart) - lineStart);
    EXPECT_EQ(header,
              "<?PowerDesigner ID=\"{00000000-1337-F331-D34D-000000000001}\" "
              "Name=\"A&quot;B&lt;C&amp;D?&gt;E\xEF\xBF\xBD\" "
              "Type=\"{CDE44E21-9669-11D1-9914-006097355D9B}\" signature=\"PDM_DATA_MODEL_XML\" "
              "version=\"8.0.0.203\"?>");

    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_string(document.c_str()));
    pugi::xml_node name =
        xml.select_node("/Model/o:SRepRootObject/c:Objects/o:SPdmModel/a:Name").node();
    EXPECT_STREQ(name.text().get(), "A\"B<C&D?>E\xEF\xBF\xBD");
}

}  // namespace
