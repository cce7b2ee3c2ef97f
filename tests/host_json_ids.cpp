// Ids name objects exactly: ids that share their length and most of their
// bytes still name their own objects, and only an id given twice is a
// duplicate.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "importers/modelfile/JsonModel.h"
#include "support/JsonModelSupport.h"

namespace {

// Ids of every length from 1 to 12 that differ from another of the same
// length in one byte: first, middle or last.
const std::vector<std::string> kIds = {
    "a",          "b",          "ab",          "aB",          "abc",          "aXc",
    "abcd",       "abXd",       "abcde",       "abXde",       "abcdef",       "abcXef",
    "abcdefg",    "Xbcdefg",    "abcdefgh",    "abcdefgX",    "abcdefghi",    "abcdXfghi",
    "0123456789", "0123X56789", "0123456789a", "0123456789b", "0123456789ab", "X123456789ab"};

// A model with one class per id (named after the id) and a diagram that
// draws each class through its id, in reverse order.
std::string model(const std::vector<std::string>& ids) {
    std::string classes, symbols;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        classes += std::string(i ? ", " : "") + R"({"kind": "class", "id": ")" + ids[i] +
                   R"(", "name": "T)" + std::to_string(i) + R"("})";
        symbols +=
            std::string(i ? ", " : "") + R"({"subject": ")" + ids[ids.size() - 1 - i] + R"("})";
    }
    return R"({"format": "orx-model", "version": 1, "packages": [{"kind": "design", "elements": [)" +
           classes + R"(], "diagrams": [{"symbols": [)" + symbols + "]}]}]}";
}

TEST(JsonModelIds, IdsThatShareMostBytesNameTheirOwnObjects) {
    std::unique_ptr<ORXModel> loaded = importers::parseJsonModel(model(kIds), "m.json");
    auto* package = static_cast<ORXDesignPackage*>(loaded->getChildPackage(0));
    ORXDiagram* diagram = package->getDiagram(0);
    for (std::size_t i = 0; i < kIds.size(); ++i) {
        const std::string& id = kIds[kIds.size() - 1 - i];
        SCOPED_TRACE(id);
        ORXModelObject* subject =
            diagram->getPresentationElement(static_cast<int>(i))->getSubjectModelObject();
        EXPECT_EQ(std::string(subject->getName().view()),
                  "T" + std::to_string(kIds.size() - 1 - i));
    }
}

TEST(JsonModelIds, OnlyAnIdGivenTwiceIsADuplicate) {
    for (std::size_t i = 0; i < kIds.size(); ++i) {
        SCOPED_TRACE(kIds[i]);
        std::vector<std::string> ids = kIds;
        ids.push_back(kIds[i]);
        EXPECT_EQ(pdmtest::modelFileError(model(ids)), "m.json: packages[0].elements[" +
                                                           std::to_string(kIds.size()) +
                                                           "].id: duplicate id '" + kIds[i] + "'");
    }
}

TEST(JsonModelIds, AnAttributesTypeIdIsResolved) {
    const std::string head =
        R"({"format": "orx-model", "version": 1, "types": [{"id": "t1", "dataType": "X"}],
            "packages": [{"kind": "design", "elements": [
              {"kind": "class", "id": "c1", "attributes": [{"type": {"dataType": "Y"}}]},
              {"kind": "class", "attributes": [{"name": "A"}, {"type": )";
    std::unique_ptr<ORXModel> loaded = importers::parseJsonModel(head + R"("t1"}]}]}]})", "m.json");
    auto* package = static_cast<ORXDesignPackage*>(loaded->getChildPackage(0));
    auto* second = static_cast<ORXClass*>(package->getModelElement(1));
    EXPECT_EQ(second->getAttribute(1)->getType(), loaded->getType(0));
    const std::pair<std::string, std::string> cases[] = {
        {R"("nope"}]}]}]})", "unknown id 'nope'"},
        {R"("c1"}]}]}]})", "'c1' is a class, expected a type"},
    };
    for (const auto& [tail, message] : cases) {
        SCOPED_TRACE(message);
        EXPECT_EQ(pdmtest::modelFileError(head + tail),
                  "m.json: packages[0].elements[1].attributes[1].type: " + message);
    }
}

}  // namespace
