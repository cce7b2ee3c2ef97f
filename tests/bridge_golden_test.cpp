// Whole documents compared byte for byte with expected files that were worked
// out by hand, object by object, from the model files beside them.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "bridge/DllInterface.h"
#include "importers/modelfile/JsonModel.h"
#include "orx/ORXClock.h"
#include "orx/ORXModel.h"
#include "orx/ORXOption.h"
#include "support/PdmCheck.h"
#include "support/TestSupport.h"

namespace {

using pdmtest::dataFile;
using pdmtest::readFile;

// One model file (its path under the source tree), the option values that differ from the defaults,
// and the document the export must write for it.
struct GoldenCase {
    const char* model;
    const char* expected;
    std::vector<std::pair<std::string, std::string>> options;
};

// Splits a document into lines, each keeping its own bytes (a carriage return
// inside display data stays part of its line).
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (start < text.size()) {
        std::string::size_type end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Shows bytes that a terminal would hide.
std::string visible(const std::string& line) {
    std::string out;
    for (char c : line) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

// Empty when the two documents are equal; otherwise the first line at which
// they part, with both versions of it.
std::string firstDifference(const std::string& expected, const std::string& actual) {
    if (expected == actual)
        return {};
    std::vector<std::string> want = splitLines(expected);
    std::vector<std::string> got = splitLines(actual);
    std::size_t i = 0;
    while (i < want.size() && i < got.size() && want[i] == got[i])
        ++i;
    std::ostringstream message;
    message << "first difference at line " << i + 1
            << "\n  expected: " << (i < want.size() ? visible(want[i]) : "<end of document>")
            << "\n  actual:   " << (i < got.size() ? visible(got[i]) : "<end of document>");
    if (i >= want.size() && i >= got.size())
        message << "\n  (the documents differ only in their final line feed)";
    return message.str();
}

// Runs one export of the model file through the interface object, as a host
// does, with the clock fixed at 0, and returns the written document.
std::string exportModel(const GoldenCase& golden, const pdmtest::TempDir& dir) {
    std::unique_ptr<ORXModel> model =
        importers::loadJsonModelFile(std::string(PDM_SOURCE_DIR) + "/" + golden.model);
    EXPECT_TRUE(model);
    if (!model)
        return {};
    ORXSybasePowerDesignerPdm08ExportDllInterface bridge;
    ORXOptionList options;
    bridge.getOptionList(options);
    const std::string output = dir.file("out.pdm");
    EXPECT_TRUE(options.setValue("File", output));
    for (const auto& [name, value] : golden.options)
        EXPECT_TRUE(options.setValue(name, value)) << name;
    pdmtest::RecordingLog log;
    ORXClock::setFixedTime(0);
    bool done = false;
    try {
        done = bridge.run("", *model, options, log);
    } catch (const ORXException& e) {
        ADD_FAILURE() << "export raised: " << e.getMessage().str();
    }
    ORXClock::setFixedTime(std::nullopt);
    EXPECT_TRUE(done);
    return readFile(output);
}

TEST(GoldenDocuments, ExportsMatchTheHandWrittenDocuments) {
    const std::vector<GoldenCase> cases = {
        {"tests/data/golden/empty.json", "golden/empty.pdm", {}},
        {"tests/data/golden/empty.json",
         "golden/empty-tab.pdm",
         {{"XML Indentation (pretty printing)", "\t"}}},
        {"tests/data/golden/table.json", "golden/table.pdm", {}},
        {"tests/data/golden/refs.json", "golden/refs.pdm", {}},
        {"examples/sales.json", "golden/sales.pdm", {}},
    };
    for (const GoldenCase& golden : cases) {
        SCOPED_TRACE(std::string(golden.model) + " -> " + golden.expected);
        pdmtest::TempDir dir;
        const std::string expected = readFile(dataFile(golden.expected));
        ASSERT_FALSE(expected.empty()) << "no expected document";
        const std::string actual = exportModel(golden, dir);
        EXPECT_EQ(firstDifference(expected, actual), "");
        EXPECT_EQ(pdmtest::checkPdmDocument(actual), std::vector<std::string>{});
        // The expected files must be sound documents themselves.
        EXPECT_EQ(pdmtest::checkPdmDocument(expected), std::vector<std::string>{});
    }
}

}  // namespace
