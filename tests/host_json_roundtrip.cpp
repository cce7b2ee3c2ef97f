// Model files survive a load and a dump unchanged: the canonical text of a
// loaded file loads again to a model whose canonical text is the same.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "importers/JsonModel.h"
#include "support/TestSupport.h"

namespace {

// Every file that the round trip is held to: the example and the test models.
std::vector<std::string> roundTripFiles() {
    std::vector<std::string> files = {std::string(PDM_SOURCE_DIR) + "/examples/sales.json"};
    std::vector<std::string> models;
    for (const auto& entry : std::filesystem::directory_iterator(pdmtest::dataFile("models"))) {
        if (entry.path().extension() == ".json")
            models.push_back(entry.path().string());
    }
    std::sort(models.begin(), models.end());
    files.insert(files.end(), models.begin(), models.end());
    return files;
}

TEST(JsonModelRoundTrip, LoadDumpLoadDumpGivesTheSameText) {
    for (const std::string& file : roundTripFiles()) {
        SCOPED_TRACE(file);
        std::unique_ptr<ORXModel> first;
        ASSERT_NO_THROW(first = importers::loadJsonModelFile(file));
        std::string dumped = importers::dumpJsonModel(*first);
        std::unique_ptr<ORXModel> second;
        try {
            second = importers::parseJsonModel(dumped, "dumped.json");
        } catch (const importers::ModelFileError& e) {
            FAIL() << e.what() << "\n" << dumped;
        }
        EXPECT_EQ(dumped, importers::dumpJsonModel(*second));
        ASSERT_FALSE(dumped.empty());
        EXPECT_EQ('\n', dumped.back());
        EXPECT_EQ(std::string::npos, dumped.find('\r'));
    }
}

}  // namespace
