// Literals, parameters, options, the framework messages and registries.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "orx/ORXClock.h"
#include "orx/ORXLiterals.h"
#include "orx/ORXOption.h"
#include "orx/ORXVelmar.h"
#include "support/TestSupport.h"

namespace {

TEST(ParameterizedText, ReplacesSetParametersInOnePass) {
    struct Case {
        const char* label;
        const char* text;
        std::vector<ORXString> values;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"one parameter", "File '{0}' missing", {"a.pdm"}, "File 'a.pdm' missing"},
        {"same parameter twice", "{0} and {0}", {"X"}, "X and X"},
        {"second parameter unset", "{0} / {1}", {"A"}, "A / {1}"},
        {"two parameters out of order", "{1}-{0}", {"a", "b"}, "b-a"},
        {"value holding a marker is not rescanned", "<{0}>", {"{0}{1}"}, "<{0}{1}>"},
        {"no parameters set", "{0}", {}, "{0}"},
        {"text without markers", "plain", {"unused"}, "plain"},
        {"not markers", "{} {x} {0 {-1} }{", {"V"}, "{} {x} {0 {-1} }{"},
        {"marker at the end", "end {0}", {"V"}, "end V"},
        {"empty value", "[{0}]", {""}, "[]"},
        {"two-digit position unset", "{10}", {"a", "b"}, "{10}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const ORXParameterizedTextLiteral literal("ID", c.text);
        ORXParameterBlock block = literal.prapareForParameters();
        for (std::size_t i = 0; i < c.values.size(); ++i)
            literal.setParameterValue(block, static_cast<int>(i), c.values[i]);
        EXPECT_EQ(literal.createParametrizedText(block).str(), c.expected);
        EXPECT_EQ(literal.getText().str(), c.text);  // formatting leaves the literal alone
    }
}

TEST(ParameterizedText, SetParameterValueGrowsTheBlock) {
    const ORXParameterizedTextLiteral literal("ID", "{0}|{1}|{2}|{3}");
    ORXParameterBlock block;
    literal.setParameterValue(block, 2, "two");
    ASSERT_EQ(block.size(), 3u);
    literal.setParameterValue(block, 0, "zero");
    EXPECT_EQ(literal.createParametrizedText(block).str(), "zero||two|{3}");
}

TEST(ParameterizedText, UpdateReplacesTextOnlyForItsIdentifier) {
    ORXParameterizedTextLiteral literal("GREETING", "Hello {0}");
    ORXXMLElement element{"Literal", {{"id", "GREETING"}}, "Bonjour {0}"};
    EXPECT_FALSE(literal.update("OTHER", element));
    EXPECT_EQ(literal.getText().str(), "Hello {0}");
    EXPECT_TRUE(literal.update("GREETING", element));
    EXPECT_EQ(literal.getText().str(), "Bonjour {0}");
}

TEST(Severity, NamesAndLevelsRoundTrip) {
    for (const char* name : {"FATAL", "ERROR", "WARNING", "STATUS", "INFO"}) {
        SCOPED_TRACE(name);
        EXPECT_STREQ(ORXSeverityNameOf(ORXSeverityLevelOf(name)), name);
    }
    EXPECT_EQ(ORXSeverityLevelOf("FATAL"), ORX_SEVERITY_FATAL);
    EXPECT_EQ(ORXSeverityLevelOf("STATUS"), ORX_SEVERITY_STATUS);
    EXPECT_EQ(ORXSeverityLevelOf("fatal"), ORX_SEVERITY_INFO);
    EXPECT_EQ(ORXSeverityLevelOf(""), ORX_SEVERITY_INFO);
    EXPECT_STREQ(ORXSeverityNameOf(99), "INFO");

    const ORXMessageLiteral message("7", "text", "WARNING");
    EXPECT_EQ(message.getSeverityLevel(), ORX_SEVERITY_WARNING);
    EXPECT_EQ(message.getNumber().str(), "7");
    EXPECT_TRUE(message.getMessageCode().empty());
}

TEST(VelmarMessages, FormatLogAndRaise) {
    EXPECT_EQ(VLCM::BRIDGE_UNEXPECTED_ERROR.getMessage({"ORXSybasePowerDesignerPdm08Export"}).str(),
              "[VLCM_F0100] An unexpected error occurred in bridge "
              "'ORXSybasePowerDesignerPdm08Export'");
    EXPECT_EQ(VLCM::BRIDGE_UNEXPECTED_ERROR.getMessageCode().str(), "VLCM_F0100");
    EXPECT_EQ(VLCM::BRIDGE_UNEXPECTED_ERROR.getSeverityLevel(), ORX_SEVERITY_FATAL);

    pdmtest::RecordingLog log;
    VLCM::ICU_CONVERSION_ERROR.log(log, ORXString(3), ORXString(7));
    VLCM::BRIDGE_UNEXPECTED_ERROR.log(log, "B");
    ASSERT_EQ(log.events.size(), 2u);
    EXPECT_EQ(log.events[0].text,
              "3 text(s) held bytes that could not be converted to UTF-8; 7 byte(s) or "
              "character(s) were replaced");
    EXPECT_EQ(log.events[0].code, "VLCM_W0101");
    EXPECT_EQ(log.events[0].level, ORX_SEVERITY_WARNING);
    EXPECT_EQ(log.events[1].text, "An unexpected error occurred in bridge 'B'");
    EXPECT_EQ(log.events[1].code, "VLCM_F0100");
    EXPECT_EQ(log.events[1].level, ORX_SEVERITY_FATAL);

    try {
        VLCM::BRIDGE_UNEXPECTED_ERROR.throwException("X");
        FAIL() << "no exception";
    } catch (const ORXException& e) {
        EXPECT_EQ(e.getMessage().str(), "[VLCM_F0100] An unexpected error occurred in bridge 'X'");
        EXPECT_STREQ(e.what(), "[VLCM_F0100] An unexpected error occurred in bridge 'X'");
    }
}

TEST(BridgeSpecification, RegistryKnowsThisBridgeOnly) {
    const ORXBridgeSpecificationLiteral* spec =
        getBridgeSpecification("ORXSybasePowerDesignerPdm08Export");
    ASSERT_EQ(spec, &VLLST::BRIDGE_SPEC_SYBASEPOWERDESIGNERPDM08_EXPORT);
    EXPECT_EQ(spec->getIdentifier().str(), "ORXSybasePowerDesignerPdm08Export");
    EXPECT_EQ(spec->getInternalCode_DescriptionLiteralId().str(),
              "SybasePowerDesignerPdmExportDescription");
    EXPECT_EQ(spec->getTool_Web().str(), "http://www.sybase.com/powerdesigner");
    EXPECT_EQ(spec->getVendor_Name().str(), "Sybase");
    EXPECT_EQ(spec->getTool_Name().str(), "PowerDesigner");
    EXPECT_EQ(spec->getTool_Versions().str(), "8.0 to 12.0");
    EXPECT_EQ(spec->getMethodology_Summary().str(), "Relational (Physical Data Model)");
    EXPECT_EQ(getBridgeSpecification("ORXSomethingElse"), nullptr);
    EXPECT_EQ(getBridgeSpecification("orxsybasepowerdesignerpdm08export"), nullptr);

    ORXBridgeSpecification filled;
    const char* extras[] = {"one", "two", nullptr};
    filled.initialize("web", "vendor", "tool", "versions", "summary", extras, "1.0", "desc", true,
                      false);
    EXPECT_EQ(filled.getToolWeb().str(), "web");
    EXPECT_EQ(filled.getMethodologySummary().str(), "summary");
    EXPECT_EQ(filled.getExtraTexts(), (std::vector<ORXString>{"one", "two"}));
    EXPECT_EQ(filled.getVersion().str(), "1.0");
    EXPECT_EQ(filled.getDescription().str(), "desc");
    EXPECT_TRUE(filled.isImport());
    EXPECT_FALSE(filled.isMetadataOnly());
    filled.initialize("", "", "", "", "", nullptr, "", "", false, false);
    EXPECT_TRUE(filled.getExtraTexts().empty());
}

TEST(OptionLiterals, GenerateOptionsFromTheirLiterals) {
    ORXBridgeEnumValueLiteral a("E_A", "Alpha"), b("E_B", "Beta");
    ORXBridgeEnumValueLiteral* values[] = {&a, &b};
    const ORXBridgeOptionEnumerationLiteral enumeration("E", "", values, 2);
    const ORXTextLiteral fileDefault("F_DEFAULT", "");

    const ORXBridgeOptionLiteral enumerated("BP_CHOICE", "Choice", "Enumerated", "Pick one",
                                            &enumeration, &b);
    EXPECT_EQ(enumerated.getText().str(), "Choice");
    std::unique_ptr<ORXOption> option(enumerated.generateOption(false));
    EXPECT_EQ(option->getName().str(), "Choice");
    EXPECT_EQ(option->getKind().str(), "Enumerated");
    EXPECT_EQ(option->getDescription().str(), "Pick one");
    EXPECT_EQ(option->getDefaultValue().str(), "Beta");
    EXPECT_EQ(option->getValue().str(), "Beta");
    EXPECT_EQ(option->getEnumeration(), (std::vector<ORXString>{"Alpha", "Beta"}));
    EXPECT_FALSE(option->isMandatory());
    EXPECT_TRUE(option->accepts("Alpha"));
    EXPECT_FALSE(option->accepts("alpha"));
    EXPECT_TRUE(option->getFilePath().empty());

    const ORXBridgeOptionLiteral noDefault("BP_N", "Numeric", "Numeric", "", nullptr, nullptr);
    std::unique_ptr<ORXOption> numeric(noDefault.generateOption(false));
    EXPECT_TRUE(numeric->getDefaultValue().empty());
    EXPECT_TRUE(numeric->getEnumeration().empty());
    EXPECT_TRUE(numeric->accepts("anything"));

    const ORXBridgeOptionLiteral fileLiteral("BP_FILE", "File", "File", "Where", nullptr,
                                             &fileDefault);
    const char* extensions[] = {"pdm", "xml", nullptr};
    std::unique_ptr<ORXOption> generated(
        fileLiteral.generateOption(true, extensions, "Default", true));
    auto* file = dynamic_cast<ORXFileOption*>(generated.get());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->getName().str(), "File");
    EXPECT_EQ(file->getKind().str(), "File");
    EXPECT_EQ(file->getExtensions(), (std::vector<ORXString>{"pdm", "xml"}));
    EXPECT_EQ(file->getFilterName().str(), "Default");
    EXPECT_TRUE(file->isMandatory());
    EXPECT_TRUE(file->isOutput());
    file->setValue("/tmp/out.pdm");
    EXPECT_EQ(generated->getFilePath().str(), "/tmp/out.pdm");
}

TEST(OptionList, AddReplacesInPlaceAndLooksUpByExactName) {
    ORXOptionList list;
    EXPECT_TRUE(list.add(new ORXOption("A", "String", "", "a0", {}, false)));
    EXPECT_TRUE(list.add(new ORXOption("B", "String", "", "b0", {}, false)));
    EXPECT_TRUE(list.add(new ORXOption("C", "String", "", "c0", {}, false)));
    EXPECT_FALSE(list.add(new ORXOption("B", "Numeric", "", "b1", {}, false)));
    ASSERT_EQ(list.getCount(), 3);
    EXPECT_EQ(list.getOption(0)->getName().str(), "A");
    EXPECT_EQ(list.getOption(1)->getKind().str(), "Numeric");  // replaced where it stood
    EXPECT_EQ(list.getOption(2)->getName().str(), "C");
    EXPECT_EQ(list.getValue("B").str(), "b1");

    EXPECT_TRUE(list.setValue("C", "c9"));
    EXPECT_EQ(list.getValue("C").str(), "c9");
    EXPECT_FALSE(list.setValue("c", "x"));
    EXPECT_EQ(list.get("c"), nullptr);
    EXPECT_EQ(list.get("C "), nullptr);
    EXPECT_TRUE(list.getValue("missing").empty());

    list.removeAll();
    EXPECT_EQ(list.getCount(), 0);
    EXPECT_EQ(list.get("A"), nullptr);
}

// A catalogue as a bridge library declares it.
class TestCatalogue : public ORXTextLiteralsCollection {
  public:
    TestCatalogue(const char* id, ORXTextLiteral* const* table) : id_(id), table_(table) {}

  protected:
    const ORXString& getDocumentId() const override { return id_; }
    ORXTextLiteral* const* listAllLiterals() const override { return table_; }

  private:
    ORXString id_;
    ORXTextLiteral* const* table_;
};

TEST(LiteralCollections, RegisterReplaceAndRelease) {
    ORXTextLiteral one("ONE", "1"), two("TWO", "2");
    ORXTextLiteral* first[] = {&one, nullptr};
    ORXTextLiteral* second[] = {&two, nullptr};
    EXPECT_EQ(ORXTextLiteralsCollection::findCollection("TestDoc"), nullptr);
    {
        // The registry keeps the table, not the (temporary) catalogue object.
        TestCatalogue catalogue("TestDoc", first);
        catalogue.init();
    }
    EXPECT_EQ(ORXTextLiteralsCollection::findCollection("TestDoc"), first);
    TestCatalogue("TestDoc", second).init();
    EXPECT_EQ(ORXTextLiteralsCollection::findCollection("TestDoc"), second);
    EXPECT_EQ(ORXTextLiteralsCollection::findCollection("testdoc"), nullptr);
    ORXTextLiteralsCollection::release("TestDoc");
    EXPECT_EQ(ORXTextLiteralsCollection::findCollection("TestDoc"), nullptr);
    ORXTextLiteralsCollection::release("TestDoc");  // harmless when absent
}

TEST(Clock, FixedTimeOverridesTheSystemClock) {
    ORXClock::setFixedTime(1234567890);
    EXPECT_EQ(ORXClock::now(), 1234567890);
    ORXClock::setFixedTime(std::nullopt);
    const std::int64_t now = ORXClock::now();
    EXPECT_GT(now, 1600000000);  // a real, recent time
}

}  // namespace
