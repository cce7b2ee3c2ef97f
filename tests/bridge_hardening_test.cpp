// The bridge at the edges of its input: chains too long for the stack,
// coordinates at the ends of the int range, associative tables whose
// numbered names are taken too.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "orx/ORXException.h"
#include "orx/ORXStack.h"
#include "support/DriverSupport.h"
#include "support/PrepSupport.h"
#include "support/WriterSupport.h"

using namespace pdmtest;

namespace {

// `tables` tables, each referencing the one before it through a foreign key
// with its own index: the writers recurse table -> index -> reference -> parent.
std::string tableChain(int tables) {
    std::string elements;
    // Children come first: writing the first table recurses down the whole chain.
    for (int i = tables - 1; i >= 0; --i) {
        const std::string t = "t" + std::to_string(i), parent = "t" + std::to_string(i - 1);
        elements += (elements.empty() ? "" : ", ") + std::string(R"({"kind": "class", "id": ")") +
                    t + R"(", "name": ")" + t + R"(", "attributes": [{"id": ")" + t +
                    R"(.id", "name": "ID"}, {"id": ")" + t +
                    R"(.p", "name": "P"}], "keys": [{"id": ")" + t + R"(.pk", "attributes": [")" +
                    t + R"(.id"]})";
        if (i > 0) {
            elements += R"(, {"kind": "foreign", "id": ")" + t + R"(.fk", "attributes": [")" + t +
                        R"(.p"], "references": ")" + parent + R"(.pk", "index": ")" + t +
                        R"(.ix"}], "indexes": [{"id": ")" + t + R"(.ix", "key": ")" + t +
                        R"(.fk", "members": [{"attribute": ")" + t + R"(.p"}]})";
        }
        elements += R"(], "primaryKey": ")" + t + R"(.pk"})";
        if (i > 0) {
            elements += R"(, {"kind": "association", "roles": [{"class": ")" + parent +
                        R"(", "isSource": true}, {"class": ")" + t + R"(", "foreignKey": ")" + t +
                        R"(.fk"}]})";
        }
    }
    return mainModel(elements);
}

}  // namespace

TEST(StackGuard, AChainTooLongForTheStackEndsTheExportWithAMessageAndRestoresTheModel) {
    std::unique_ptr<ORXModel> model = modelFromJson(tableChain(4000));
    TempDir dir;
    RecordingLog log;
    std::string message;
    // A thread with a small stack stands for a host whose stack is too small
    // for the model; the same model exports on a larger one.
    for (std::size_t stack : {std::size_t{512} << 10, std::size_t{256} << 20}) {
        SCOPED_TRACE(stack);
        message.clear();
        std::string document;
        ASSERT_TRUE(ORXStack::runWithStack(stack, [&] {
            try {
                document = exportThroughRun(*model, {{"File", dir.file("out.pdm")}}, log);
            } catch (const ORXException& failure) {
                message = failure.getMessage().str();
            }
        }));
        if (stack < (std::size_t{1} << 20)) {
            EXPECT_EQ(message.rfind("The model nests too deeply to be written", 0), 0u) << message;
            EXPECT_FALSE(std::filesystem::exists(dir.file("out.pdm")));
        } else {
            EXPECT_EQ(message, "");
            EXPECT_EQ(checkPdmDocument(document), std::vector<std::string>());
            EXPECT_EQ(occurrences(document, "<o:SPdoObjTabl Id="), 4000);
        }
    }
}

TEST(Symbols, CoordinatesAtTheEndsOfTheIntRangeSaturate) {
    struct Case {
        const char* geometry;
        const char* scaleY;
        const char* rectangle;
    } cases[] = {
        // y * 20.0 is below the int range: the top saturates to the lowest
        // int, whose negation saturates to the highest.
        {R"("x": 100, "y": -2000000000)", "100", "((1000,2147483647), (1000,2147483647))"},
        {R"("x": 100, "y": 2000000000)", "100", "((1000,-2147483647), (1000,-2147483647))"},
        {R"("x": 100, "y": 50)", "-2147483648", "((1000,2147483647), (1000,2147483647))"},
        {R"("x": 100, "y": -50)", "-2147483648", "((1000,-2147483647), (1000,-2147483647))"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.geometry) + " scale " + c.scaleY);
        ExportResult out = exportJson(
            mainModel(R"({"kind": "class", "id": "t", "name": "T"})",
                      std::string(R"(, "diagrams": [{"name": "D", "symbols": [{"subject": "t", )") +
                          c.geometry + "}]}]"),
            {{"Scale (in %) for Y coordinates", c.scaleY}});
        const std::size_t at = out.document.find("<a:ClipRect>");
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(out.document.substr(at + 12, out.document.find("</a:ClipRect>") - at - 12),
                  c.rectangle);
    }
}

TEST(PreprocessManyToMany, NumberingGoesOnUntilThePackageTakesTheTable) {
    // A_B and A_B_1 are taken: the associative table of A and B becomes A_B_2
    // (identifiers 1 and 2 are handed out in turn), is written, and its
    // references point at it.
    const std::string model = mainModel(R"(
        {"kind": "class", "id": "a", "name": "A", "physicalName": "TA", "attributes": [{"id": "a.id", "name": "ID"}],
         "keys": [{"id": "a.pk", "attributes": ["a.id"]}], "primaryKey": "a.pk"},
        {"kind": "class", "id": "b", "name": "B", "physicalName": "TB", "attributes": [{"id": "b.id", "name": "BID"}],
         "keys": [{"id": "b.pk", "attributes": ["b.id"]}], "primaryKey": "b.pk"},
        {"kind": "class", "name": "A_B"},
        {"kind": "class", "name": "A_B_1"},
        {"kind": "association", "name": "AB", "roles": [
          {"class": "a", "isSource": true, "multiplicity": "0..*"},
          {"class": "b", "multiplicity": "1..*"}]})");
    std::unique_ptr<ORXModel> loaded = modelFromJson(model);
    const std::string document = exportToText(*loaded);
    const std::vector<std::string> written = summary(document);
    auto has = [&](const std::string& start) {
        return std::count_if(written.begin(), written.end(),
                             [&](const std::string& line) { return line.rfind(start, 0) == 0; });
    };
    EXPECT_EQ(has("table A_B_2/TA_TB_2: ID/ID BID/BID"), 1) << ::testing::PrintToString(written);
    EXPECT_EQ(has("reference A -> A_B_2 in "), 1) << ::testing::PrintToString(written);
    EXPECT_EQ(has("reference B -> A_B_2 in "), 1);
    EXPECT_EQ(occurrences(document, "<o:SPdoObjTabl Id="), 5);
    EXPECT_EQ(occurrences(document, "<o:SPdoObjShrt"), 0);
}
