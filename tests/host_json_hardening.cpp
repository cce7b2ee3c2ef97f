// Model files at the edges: bytes after a NUL, multiplicities with an
// unbounded lower bound, names that are not UTF-8 in a dump.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "importers/modelfile/JsonModel.h"
#include "orx/ORXModel.h"

namespace {

const std::string kModel = R"({"format": "orx-model", "version": 1, "packages": [
  {"kind": "design", "name": "Main", "elements": [
    {"kind": "class", "id": "a", "name": "A"}, {"kind": "class", "id": "b", "name": "B"},
    {"kind": "association", "roles": [{"class": "a", "isSource": true, "multiplicity": "*..4"},
                                      {"class": "b", "multiplicity": "2..*"}]}]}]})";

TEST(JsonModelHardening, BytesAfterANulByteAreRefusedWithPathAndOffset) {
    const std::string head = R"({"format": "orx-model",)"
                             "\n"
                             R"( "version": 1})";
    for (const std::string& tail :
         {std::string("garbage"), std::string("{\"x\": 1}"), std::string()}) {
        SCOPED_TRACE(tail);
        try {
            importers::parseJsonModel(head + std::string(1, '\0') + tail, "m.json");
            ADD_FAILURE() << "loaded";
        } catch (const importers::ModelFileError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "m.json: $: a NUL byte at offset 38 (line 2, column 15) after the end of "
                      "the document");
        }
    }
}

TEST(JsonModelHardening, AnUnboundedLowerBoundLoadsAndDumpsBack) {
    std::unique_ptr<ORXModel> model = importers::parseJsonModel(kModel, "m.json");
    const std::string dumped = importers::dumpJsonModel(*model);
    EXPECT_NE(dumped.find(R"("multiplicity": "*..4")"), std::string::npos) << dumped;
    EXPECT_EQ(importers::dumpJsonModel(*importers::parseJsonModel(dumped, "again.json")), dumped);
}

TEST(JsonModelHardening, ADumpOfTextThatIsNotUtf8IsRefusedNamingTheObject) {
    std::unique_ptr<ORXModel> model = importers::parseJsonModel(kModel, "m.json");
    // Two names that would both become U+FFFD and clash on loading.
    auto* package = static_cast<ORXDesignPackage*>(model->getChildPackage(0));
    ORXModelObject* second = package->getModelElement(1);
    second->setName(ORXString("B\xFF"));
    try {
        importers::dumpJsonModel(*model, true);
        ADD_FAILURE() << "dumped";
    } catch (const importers::ModelFileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "packages[0].elements[1].name: the text 'B\\xFF' is not UTF-8; a model file "
                  "cannot hold it");
    }
}

}  // namespace
