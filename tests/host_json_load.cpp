// What a loaded model file holds (orders, defaults and links as the example
// model gives them), the round trip of the model files through a dump, the
// ids a dump gives to objects that have none, and a file read in pieces.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "importers/modelfile/JsonModel.h"
#include "orx/ORXBridgeLib.h"
#include "support/TestSupport.h"

namespace {

// The objects of a model by their external ids.
class IdIndex : public ORXTraversalOperation {
  public:
    explicit IdIndex(ORXModel* model) { model->depthTraversal(this, nullptr); }
    bool visit(ORXObject* object, void*) override {
        objects[object->getExternalId().str()] = object;
        return true;
    }
    void leave(ORXObject*, void*) override {}
    template <class T>
    T* get(const std::string& id) const {
        auto it = objects.find(id);
        return it == objects.end() ? nullptr : dynamic_cast<T*>(it->second);
    }
    std::unordered_map<std::string, ORXObject*> objects;
};

TEST(JsonModelLoad, SalesModelKeepsOrdersDefaultsAndLinks) {
    auto model = importers::loadJsonModelFile(std::string(PDM_SOURCE_DIR) + "/examples/sales.json");
    IdIndex ids(model.get());
    auto* main = ids.get<ORXDesignPackage>("p_main");
    ASSERT_TRUE(main && ids.get<ORXDesignPackage>("p_billing") && ids.get<ORXClass>("orders"));
    EXPECT_EQ(model->getChildPackage(1), main);
    EXPECT_EQ(model->getChildPackage(2), ids.get<ORXDesignPackage>("p_archive"));
    EXPECT_EQ(main->getChildPackage(0), ids.get<ORXDesignPackage>("p_billing"));
    EXPECT_TRUE(ids.get<ORXDesignPackage>("p_billing")->getPackageFlag());  // nested: a package
    std::vector<std::string> order;
    for (int i = 0; i < main->getModelElementCount(); ++i)
        order.push_back(main->getModelElement(i)->getExternalId().str());
    EXPECT_EQ(order, (std::vector<std::string>{"customer", "corporate", "customer_kinds", "orders",
                                               "product", "orders_customer", "order_product",
                                               "invoice_orders", "v_totals", "v_big", "v_names"}));

    // Index members keep their array order and their own positions, given or defaulted.
    auto* byName = ids.get<ORXIndex>("customer.name_ix");
    EXPECT_EQ(byName->getIndexMember(0)->getPosition(), 1);
    EXPECT_EQ(byName->getIndexMember(0)->getSortOrder(), 2);
    EXPECT_EQ(byName->getIndexMember(1)->getSortOrder(), 1);
    EXPECT_EQ(ids.get<ORXIndex>("orders.customer_ix")->getIndexMember(1)->getPosition(), 1);

    // Role defaults and rule names; a reference to a table in a later package.
    ORXAssociationRole* parent = ids.get<ORXAssociation>("orders_customer")->getAssociationRole(0);
    ORXAssociationRole* child = ids.get<ORXAssociation>("orders_customer")->getAssociationRole(1);
    EXPECT_EQ(parent->getMultiplicity(), "1");
    EXPECT_EQ(parent->getUpdateRule(), 0);
    EXPECT_EQ(child->getMultiplicity(), "0..*");
    EXPECT_EQ(child->getDeleteRule(), 2);  // cascade
    EXPECT_EQ(child->getForeignKey(), ids.get<ORXForeignKey>("orders.fk_customer"));
    EXPECT_EQ(ids.get<ORXForeignKey>("orders.fk_customer")->getAssociationRole(), child);
    EXPECT_EQ(
        ids.get<ORXAssociation>("invoice_orders")->getAssociationRole(1)->getAssociatedClass(),
        ids.get<ORXClass>("invoice"));

    // Colours as "#RRGGBB" and as integers; the order of an object's diagrams.
    ORXPresentationElement* first = ids.get<ORXDiagram>("d_main")->getPresentationElement(0);
    EXPECT_EQ(first->getBackgroundColor(), 0xFFFFC0);
    EXPECT_EQ(first->getLineColor(), 0x000080);
    auto* orders = ids.get<ORXClass>("orders");
    ASSERT_EQ(orders->getDiagramCount(), 3);
    EXPECT_EQ(orders->getDiagram(2), ids.get<ORXDiagram>("d_archive"));
}

// Escaped characters decode to UTF-8, a surrogate pair to the one character
// outside the basic plane that it stands for.
TEST(JsonModelLoad, EscapedCharactersDecodeToUtf8) {
    const std::pair<std::string, std::string> cases[] = {
        {R"(\u0041\u00e9)", "A\xC3\xA9"},          {R"(\u20AC)", "\xE2\x82\xAC"},
        {R"(\uD83D\uDE00)", "\xF0\x9F\x98\x80"},   {R"(\ud800\udc00)", "\xF0\x90\x80\x80"},
        {R"(\uDBFF\uDFFF!)", "\xF4\x8F\xBF\xBF!"},
    };
    for (const auto& [escaped, utf8] : cases) {
        SCOPED_TRACE(escaped);
        auto model = importers::parseJsonModel(
            R"({"format": "orx-model", "version": 1, "name": ")" + escaped + "\"}", "m.json");
        EXPECT_EQ(model->getName().str(), utf8);
    }
}

TEST(JsonModelLoad, LoadDumpLoadDumpGivesTheSameText) {
    std::vector<std::string> files = {std::string(PDM_SOURCE_DIR) + "/examples/sales.json"};
    for (const auto& entry : std::filesystem::directory_iterator(pdmtest::dataFile("models")))
        files.push_back(entry.path().string());
    std::sort(files.begin() + 1, files.end());
    ASSERT_GE(files.size(), 3u);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        std::string dumped = importers::dumpJsonModel(*importers::loadJsonModelFile(file));
        std::unique_ptr<ORXModel> second;
        ASSERT_NO_THROW(second = importers::parseJsonModel(dumped, "dumped.json")) << dumped;
        EXPECT_EQ(importers::dumpJsonModel(*second), dumped);
        EXPECT_EQ(dumped.back(), '\n');
    }
}

// Every object's members in reverse order: ids then come after the parts
// that use them, so the loader takes the ids in another order than the text
// holds them; the model is the same.
TEST(JsonModelLoad, MembersInReverseOrderGiveTheSameModel) {
    const std::string file = std::string(PDM_SOURCE_DIR) + "/examples/sales.json";
    auto reverse = [](auto& self, const nlohmann::ordered_json& value) -> nlohmann::ordered_json {
        if (value.is_array()) {
            nlohmann::ordered_json items = nlohmann::ordered_json::array();
            for (const auto& item : value)
                items.push_back(self(self, item));
            return items;
        }
        if (!value.is_object())
            return value;
        std::vector<std::pair<std::string, nlohmann::ordered_json>> members;
        for (auto it = value.begin(); it != value.end(); ++it)
            members.emplace_back(it.key(), self(self, it.value()));
        nlohmann::ordered_json reversed = nlohmann::ordered_json::object();
        for (auto it = members.rbegin(); it != members.rend(); ++it)
            reversed[it->first] = it->second;
        return reversed;
    };
    const std::string text =
        reverse(reverse, nlohmann::ordered_json::parse(pdmtest::readFile(file))).dump(2);
    // The package's id now follows the table it holds.
    ASSERT_GT(text.find("\"id\": \"p_main\""), text.find("\"id\": \"orders\""));
    std::unique_ptr<ORXModel> reversed;
    ASSERT_NO_THROW(reversed = importers::parseJsonModel(text, "reversed.json"));
    EXPECT_EQ(importers::dumpJsonModel(*reversed),
              importers::dumpJsonModel(*importers::loadJsonModelFile(file)));
}

// A file the system gives no size for, whose text comes in many small reads
// with pauses between them (a pipe), loads as the same file on disk does.
TEST(JsonModelLoad, TextReadInManyPiecesLoadsWhole) {
    const std::string file = std::string(PDM_SOURCE_DIR) + "/examples/sales.json";
    const std::string text = pdmtest::readFile(file);
    ASSERT_GT(text.size(), 3 * 4096u);  // more than the first block holds
    pdmtest::TempDir dir;
    const std::string fifo = dir.file("model.json");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] {
        std::FILE* out = std::fopen(fifo.c_str(), "wb");
        if (out == nullptr)
            return;
        for (std::size_t at = 0; at < text.size(); at += 1000) {
            std::fwrite(text.data() + at, 1, std::min<std::size_t>(1000, text.size() - at), out);
            std::fflush(out);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        std::fclose(out);
    });
    std::unique_ptr<ORXModel> piecewise;
    EXPECT_NO_THROW(piecewise = importers::loadJsonModelFile(fifo));
    writer.join();
    ASSERT_TRUE(piecewise);
    EXPECT_EQ(importers::dumpJsonModel(*piecewise),
              importers::dumpJsonModel(*importers::loadJsonModelFile(file)));
}

// Importers build models without ids; the dump invents ids for the objects
// that are referred to, without repeating an id already in use.
TEST(JsonModelLoad, DumpGivesIdsToReferredObjectsWithoutClashing) {
    ORXModel model;
    auto* package = new ORXDesignPackage();
    model.addChildPackage(package);
    auto* taken = new ORXClass();
    taken->setExternalId("_c1");
    taken->addDesignPackage(package);
    auto* child = new ORXClass();
    child->setName("CHILD");
    child->addDesignPackage(package);
    auto* column = new ORXAttribute();
    column->addAssociatedClass(child);
    auto* key = new ORXCandidateKey();
    key->addAssociatedClass(child);
    key->addAttribute(column);
    key->addPrimaryOfClass(child);
    auto* association = new ORXAssociation();
    association->addDesignPackage(package);
    (new ORXAssociationRole(association))->addAssociatedClass(child);

    std::string text = importers::dumpJsonModel(model);
    std::unique_ptr<ORXModel> reloaded = importers::parseJsonModel(text, "dump.json");
    IdIndex loaded(reloaded.get());
    auto* loadedChild = loaded.get<ORXClass>("_c2");
    ASSERT_NE(loadedChild, nullptr) << text;
    EXPECT_EQ(loadedChild->getName(), "CHILD");
    ASSERT_NE(loadedChild->getPrimaryKey(), nullptr) << text;
    EXPECT_EQ(loadedChild->getPrimaryKey()->getAttribute(0), loadedChild->getAttribute(0));
    EXPECT_NE(text.find("\"class\": \"_c2\""), std::string::npos) << text;
}

// A dump that cannot be written is an error naming the file and the system's
// reason; a device given as the file is never removed.
TEST(JsonModelDump, UnwritableFileIsAnErrorAndADeviceSurvives) {
    ORXModel model;
    try {
        importers::dumpJsonModelFile(model, "/dev/full");
        ADD_FAILURE() << "dumped without error";
    } catch (const importers::ModelFileError& e) {
        EXPECT_STREQ(e.what(), "/dev/full: cannot write the file: No space left on device");
    }
    EXPECT_TRUE(std::filesystem::exists("/dev/full"));
}

}  // namespace
