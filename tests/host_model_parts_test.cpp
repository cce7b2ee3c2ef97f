// The model's compact parts: the part list, the side block that holds an
// element's rarely set texts and lists, and what reading, clearing and
// deleting them must give.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "orx/ORXModel.h"
#include "orx/ORXPool.h"

namespace {

// A part list against a plain vector through the same operations, across the
// block's growth steps and down to empty and back.
TEST(ModelParts, PartListKeepsOrderThroughGrowthAndRemovals) {
    struct Item {};
    std::vector<Item> pool(40);
    ORXPartList<Item> list;
    std::vector<Item*> expected;
    auto check = [&](const std::string& step) {
        SCOPED_TRACE(step);
        ASSERT_EQ(list.size(), expected.size());
        ASSERT_EQ(list.empty(), expected.empty());
        EXPECT_EQ(list.toVector(), expected);
        for (Item& item : pool) {
            const bool held = std::find(expected.begin(), expected.end(), &item) != expected.end();
            ASSERT_EQ(list.contains(&item), held) << "item " << (&item - pool.data());
        }
        if (!expected.empty()) {
            EXPECT_EQ(list.back(), expected.back());
        }
    };
    check("empty");
    EXPECT_FALSE(list.eraseFirst(&pool[0]));
    EXPECT_FALSE(list.eraseLast(&pool[0]));
    for (int i = 0; i < 17; ++i) {  // through capacities 1, 3, 7, 15 and 31
        list.push_back(&pool[i]);
        expected.push_back(&pool[i]);
        check("push " + std::to_string(i));
    }
    // A duplicate: the first and the last occurrence are told apart.
    list.push_back(&pool[3]);
    list.push_back(&pool[20]);
    list.push_back(&pool[3]);
    expected.insert(expected.end(), {&pool[3], &pool[20], &pool[3]});
    EXPECT_TRUE(list.eraseLast(&pool[3]));
    expected.pop_back();
    check("erase last of a duplicate");
    EXPECT_TRUE(list.eraseFirst(&pool[3]));
    expected.erase(expected.begin() + 3);
    check("erase first of a duplicate");
    ORXPartList<Item> moved = std::move(list);
    EXPECT_TRUE(list.empty());
    list = std::move(moved);
    check("moved away and back");
    while (!expected.empty()) {
        EXPECT_TRUE(list.eraseFirst(expected.front()));
        expected.erase(expected.begin());
        check("erase front, " + std::to_string(expected.size()) + " left");
    }
    list.push_back(&pool[5]);
    expected.push_back(&pool[5]);
    check("refilled after empty");
}

// Each text set, replaced, cleared and read back, alone and beside the others.
TEST(ModelParts, ElementTextsReadBackAsSetAndClearedTextsAreEmpty) {
    using Get = const ORXString& (ORXElement::*)() const;
    using Set = void (ORXElement::*)(const ORXString&);
    struct Text {
        const char* name;
        Get get;
        Set set;
    };
    const Text texts[] = {
        {"physical name", &ORXElement::getPhysicalName, &ORXElement::setPhysicalName},
        {"comment", &ORXElement::getComment, &ORXElement::setComment},
        {"description", &ORXElement::getDescription, &ORXElement::setDescription},
    };
    for (const Text& text : texts) {
        SCOPED_TRACE(text.name);
        ORXClass cls;
        EXPECT_EQ((cls.*text.get)(), "");
        (cls.*text.set)("");  // clearing what was never set
        EXPECT_EQ((cls.*text.get)(), "");
        (cls.*text.set)("first");
        (cls.*text.set)(std::string("se\0cond", 7));  // bytes, zero included
        EXPECT_EQ((cls.*text.get)().str(), std::string("se\0cond", 7));
        for (const Text& other : texts) {
            if (&other != &text) {
                EXPECT_EQ((cls.*other.get)(), "") << other.name;
            }
        }
        (cls.*text.set)("");
        EXPECT_EQ((cls.*text.get)(), "");
        EXPECT_EQ(cls.getNoteCount(), 0);
    }
    ORXAttribute attribute;
    attribute.setPhysicalName("P");
    attribute.setComment("C");
    attribute.setDescription("D");
    attribute.setLevelCode(1);
    ORXAttribute copy(attribute);
    EXPECT_EQ(copy.getPhysicalName(), "P");
    EXPECT_EQ(copy.getComment(), "C");
    EXPECT_EQ(copy.getDescription(), "D");
    EXPECT_EQ(copy.getLevelCode(), 1);
    attribute.setComment("changed");
    EXPECT_EQ(copy.getComment(), "C");
}

// A physical name set to the element's own name reads back as set through
// every later change of either, and costs no block.
TEST(ModelParts, PhysicalNameEqualToTheNameReadsBackThroughRenames) {
    enum Change { kRename, kSetPhysicalName };
    struct Step {
        const char* what;
        Change change;
        const char* text;
        const char* name;  // expected afterwards
        const char* physicalName;
    };
    const Step steps[] = {
        {"named", kRename, "ID", "ID", ""},
        {"physical name as the name", kSetPhysicalName, "ID", "ID", "ID"},
        {"renamed to the same", kRename, "ID", "ID", "ID"},
        {"renamed", kRename, "KEY", "KEY", "ID"},
        {"renamed back", kRename, "ID", "ID", "ID"},
        {"renamed again", kRename, "X", "X", "ID"},
        {"physical name as the new name", kSetPhysicalName, "X", "X", "X"},
        {"physical name of its own", kSetPhysicalName, "P", "X", "P"},
        {"renamed as the physical name", kRename, "P", "P", "P"},
        {"renamed after that", kRename, "Q", "Q", "P"},
        {"physical name as the name once more", kSetPhysicalName, "Q", "Q", "Q"},
        {"physical name cleared", kSetPhysicalName, "", "Q", ""},
        {"renamed with no physical name", kRename, "R", "R", ""},
        {"unnamed", kRename, "", "", ""},
        {"empty physical name of an unnamed", kSetPhysicalName, "", "", ""},
        {"named after that", kRename, "S", "S", ""},
    };
    ORXAttribute attribute;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.change == kRename)
            attribute.setName(step.text);
        else
            attribute.setPhysicalName(step.text);
        EXPECT_EQ(attribute.getName(), step.name);
        EXPECT_EQ(attribute.getPhysicalName(), step.physicalName);
        ORXAttribute copy(attribute);
        EXPECT_EQ(copy.getPhysicalName(), step.physicalName);
        copy.setName("COPY");
        EXPECT_EQ(copy.getPhysicalName(), step.physicalName);
        EXPECT_EQ(attribute.getPhysicalName(), step.physicalName);
    }

    // A class named as it is physically takes no side block from the pool.
    const ORXPoolStatistics before = orxPoolStatistics();
    ORXClass cls;
    cls.setName("ORDERS");
    cls.setPhysicalName("ORDERS");
    EXPECT_EQ(cls.getPhysicalName(), "ORDERS");
    EXPECT_EQ(orxPoolStatistics().liveBytes, before.liveBytes);
}

// A type's and an attribute's rarely set texts, each set, cleared and read
// back while the others stay empty; a copied attribute keeps its own.
TEST(ModelParts, TypeAndAttributeTextsReadBackAsSet) {
    struct Text {
        const char* name;
        std::function<const ORXString&(ORXType&)> get;
        std::function<void(ORXType&, const ORXString&)> set;
    };
    const Text typeTexts[] = {
        {"initial value", &ORXType::getInitialValue, &ORXType::setInitialValue},
        {"lower bound", &ORXType::getLowerBound, &ORXType::setLowerBound},
        {"upper bound", &ORXType::getUpperBound, &ORXType::setUpperBound},
    };
    for (const Text& text : typeTexts) {
        SCOPED_TRACE(text.name);
        ORXType type;
        text.set(type, "");
        EXPECT_EQ(text.get(type), "");
        text.set(type, "10");
        for (const Text& other : typeTexts) {
            EXPECT_EQ(other.get(type), &other == &text ? "10" : "") << other.name;
        }
        text.set(type, "");
        EXPECT_EQ(text.get(type), "");
        EXPECT_EQ(type.getTypeValueCount(), 0);
    }

    ORXAttribute attribute;
    EXPECT_EQ(attribute.getInitialValue(), "");
    EXPECT_EQ(attribute.getRuleExpression(), "");
    attribute.setRuleExpression("A > 0");
    EXPECT_EQ(attribute.getInitialValue(), "");
    attribute.setInitialValue("0");
    attribute.setOptional(true);
    ORXAttribute copy(attribute);
    attribute.setInitialValue("");
    EXPECT_EQ(attribute.getInitialValue(), "");
    EXPECT_EQ(attribute.getRuleExpression(), "A > 0");
    EXPECT_EQ(copy.getInitialValue(), "0");
    EXPECT_EQ(copy.getRuleExpression(), "A > 0");
    EXPECT_TRUE(copy.isOptional());
    ORXAttribute bare;
    ORXAttribute bareCopy(bare);
    EXPECT_EQ(bareCopy.getInitialValue(), "");
}

// Texts that the process shares when they are one of the common values (a
// type's data type name, a role's multiplicity) read back exactly whether
// they are common or of the object's own, through every change from one kind
// to the other; deleting the objects gives back all their memory.
template <class Object>
void checkCommonText(const std::vector<std::string>& values, const std::function<Object*()>& make,
                     const std::function<const ORXString&(Object&)>& get,
                     const std::function<void(Object&, const ORXString&)>& set) {
    const ORXPoolStatistics before = orxPoolStatistics();
    {
        std::vector<std::unique_ptr<Object>> objects;
        for (const std::string& first : values) {
            for (const std::string& second : values) {
                SCOPED_TRACE("\"" + first + "\" then \"" + second + "\"");
                std::unique_ptr<Object> object(make());
                EXPECT_EQ(get(*object), "");
                set(*object, first);
                EXPECT_EQ(get(*object), first);
                set(*object, second);
                EXPECT_EQ(get(*object), second);
                objects.push_back(std::move(object));
            }
        }
        // Each object still holds its own last text.
        std::size_t i = 0;
        for (std::size_t first = 0; first < values.size(); ++first) {
            for (const std::string& second : values) {
                EXPECT_EQ(get(*objects[i++]), second);
            }
        }
    }
    EXPECT_EQ(orxPoolStatistics().liveBytes, before.liveBytes);
}

TEST(ModelParts, CommonTextsReadBackAsSetAndCostNothingOnceDeleted) {
    {
        SCOPED_TRACE("data types");
        checkCommonText<ORXType>(
            {"SQL_INTEGER", "SQL_VARCHAR", "SQL_INTERVAL_DAY_TO_SECOND", "SQL_TIME_WITH_TIME_ZONE",
             "SQL_integer", "SQL_VARCHARX", "SQL_", "VARCHAR2", std::string(40, 'T'), ""},
            [] { return new ORXDerivedType(); }, &ORXType::getDataType, &ORXType::setDataType);
    }
    {
        SCOPED_TRACE("multiplicities");
        checkCommonText<ORXAssociationRole>(
            {"0..*", "1", "1..1", "*", "0..1", "0..", "2..5", std::string(30, '9') + "..*", ""},
            [] { return new ORXAssociationRole(nullptr); }, &ORXAssociationRole::getMultiplicity,
            &ORXAssociationRole::setMultiplicity);
    }
}

// An attribute's rare parts (texts, and the keys, index members and name
// maps that hold it) are undone from either end, and deleting the lot gives
// back all their memory.
TEST(ModelParts, AttributeLinksAreUndoneFromEitherEnd) {
    const ORXPoolStatistics before = orxPoolStatistics();
    {
        ORXClass parent, child;
        auto* id = new ORXAttribute();
        id->setName("ID");
        ASSERT_TRUE(id->addAssociatedClass(&parent));
        auto* column = new ORXAttribute();
        column->setName("PARENT_ID");
        ASSERT_TRUE(column->addAssociatedClass(&child));
        auto* key = new ORXCandidateKey();
        ASSERT_TRUE(key->addAssociatedClass(&parent));
        ASSERT_TRUE(key->addAttribute(id));
        auto* index = new ORXIndex();
        ASSERT_TRUE(index->addAssociatedClass(&parent));
        auto* member = new ORXIndexMember(index, id, 1);
        auto* foreignKey = new ORXForeignKey();
        ASSERT_TRUE(foreignKey->addAssociatedClass(&child));
        ASSERT_TRUE(foreignKey->addAttribute(column));
        auto* map = new ORXAssociationRoleNameMap(foreignKey, id, column);
        EXPECT_EQ(id->getKeyCount(), 1);
        EXPECT_EQ(id->getKey(0), key);
        EXPECT_EQ(id->getIndexMemberCount(), 1);
        EXPECT_EQ(id->getIndexMember(0), member);
        EXPECT_EQ(id->getSourceOfAssociationRoleNameMapCount(), 1);
        EXPECT_EQ(id->getSourceOfAssociationRoleNameMap(0), map);
        EXPECT_EQ(id->getDestinationOfAssociationRoleNameMapCount(), 0);
        EXPECT_EQ(column->getDestinationOfAssociationRoleNameMapCount(), 1);
        EXPECT_EQ(column->getKeyCount(), 1);
        EXPECT_EQ(column->getKey(0), foreignKey);
        id->setInitialValue("0");

        // From the other end: the parts go, the attribute forgets them.
        delete member;
        EXPECT_EQ(id->getIndexMemberCount(), 0);
        EXPECT_TRUE(key->removeAttribute(id));
        EXPECT_EQ(id->getKeyCount(), 0);
        EXPECT_EQ(id->getInitialValue(), "0");
        // From the attribute's end: the map and the key forget it.
        delete column;
        EXPECT_EQ(map->getDestinationAttribute(), nullptr);
        EXPECT_EQ(foreignKey->getAttributeCount(), 0);
        delete id;
        EXPECT_EQ(map->getSourceAttribute(), nullptr);
        EXPECT_EQ(index->getIndexMemberCount(), 0);
    }
    EXPECT_EQ(orxPoolStatistics().liveBytes, before.liveBytes);
}

// External identifiers on objects of every layer, presentation elements
// included: unset reads empty, set reads back, cleared reads empty again.
TEST(ModelParts, ExternalIdsReadBackAsSet) {
    std::vector<std::unique_ptr<ORXObject>> objects;
    objects.emplace_back(new ORXPresentationElement());
    objects.emplace_back(new ORXNote("n"));
    objects.emplace_back(new ORXClass());
    objects.emplace_back(new ORXAttribute());
    objects.emplace_back(new ORXDerivedType());
    for (const auto& object : objects) {
        SCOPED_TRACE(getElementTypeName(object->getElementType()));
        EXPECT_EQ(object->getExternalId(), "");
        object->setExternalId("");
        EXPECT_EQ(object->getExternalId(), "");
        object->setExternalId("_id1");
        object->setName("N");
        EXPECT_EQ(object->getExternalId(), "_id1");
        object->setExternalId("");
        EXPECT_EQ(object->getExternalId(), "");
        EXPECT_EQ(object->getName(), "N");
    }
    auto* shown = static_cast<ORXPresentationElement*>(objects[0].get());
    shown->setGeometry(1, -2, 30, 40);
    shown->setColors(0xFFFFFF, 0x000080, 0x123456);
    EXPECT_EQ(shown->getX() + shown->getY() + shown->getWidth() + shown->getHeight(), 69);
    EXPECT_EQ(shown->getFontColor(), 0x123456);
}

// Notes, synonyms and rules on elements whose texts were never set, read in
// order, deleted one by one and with their owner.
TEST(ModelParts, NotesSynonymsAndRulesLiveBesideUnsetTexts) {
    auto cls = std::make_unique<ORXClass>();
    auto* first = new ORXNote("first");
    auto* second = new ORXNote("second");
    EXPECT_TRUE(cls->addNote(first));
    EXPECT_TRUE(cls->addNote(second));
    EXPECT_FALSE(cls->addNote(first));
    EXPECT_EQ(cls->getPhysicalName(), "");
    EXPECT_EQ(cls->getDescription(), "");
    ASSERT_EQ(cls->getNoteCount(), 2);
    EXPECT_EQ(cls->getNote(0)->getDescription(), "first");
    EXPECT_EQ(cls->getNote(1)->getOwnerElement(), cls.get());
    auto* synonym = new ORXSynonym("S1");
    EXPECT_TRUE(cls->addSynonym(synonym));
    EXPECT_TRUE(cls->addSynonym(new ORXSynonym("S2")));
    EXPECT_TRUE(cls->addBusinessRule(new ORXBusinessRule(3, "R", "X > 0")));
    delete first;
    delete synonym;
    ASSERT_EQ(cls->getNoteCount(), 1);
    EXPECT_EQ(cls->getNote(0), second);
    ASSERT_EQ(cls->getSynonymCount(), 1);
    EXPECT_EQ(cls->getSynonym(0)->getPhysicalName(), "S2");
    ASSERT_EQ(cls->getBusinessRuleCount(), 1);
    EXPECT_EQ(cls->getBusinessRule(0)->getRuleText(), "X > 0");

    ORXClass bare;
    EXPECT_EQ(bare.getSynonymCount(), 0);
    EXPECT_EQ(bare.getBusinessRuleCount(), 0);
    EXPECT_EQ(bare.getOwnedObjectCount(), 0);
    EXPECT_EQ(bare.getLinkingOperationCount(), 0);
}

// Owners and linking operations kept in the side block, undone from both ends.
TEST(ModelParts, OwnedObjectsAndLinkingOperationsAreUndoneFromEitherEnd) {
    auto schema = std::make_unique<ORXSchema>();
    auto table = std::make_unique<ORXClass>();
    auto view = std::make_unique<ORXSQLViewEntity>();
    EXPECT_TRUE(table->setOwner(schema.get()));
    EXPECT_TRUE(view->setOwner(schema.get()));
    ASSERT_EQ(schema->getOwnedObjectCount(), 2);
    EXPECT_EQ(schema->getOwnedObject(1), view.get());
    view.reset();
    ASSERT_EQ(schema->getOwnedObjectCount(), 1);
    EXPECT_EQ(schema->getOwnedObject(0), table.get());

    auto trigger = std::make_unique<ORXOperation>(ORX_ET_TRIGGER);
    EXPECT_TRUE(trigger->setLinkedElement(0, table.get()));
    EXPECT_TRUE(trigger->setLinkedElement(1, table.get()));
    EXPECT_EQ(table->getLinkingOperationCount(), 1);
    EXPECT_TRUE(trigger->setLinkedElement(0, nullptr));
    EXPECT_EQ(table->getLinkingOperationCount(), 1);
    schema.reset();
    EXPECT_EQ(table->getOwner(), nullptr);
    table.reset();
    EXPECT_EQ(trigger->getLinkedElement(1), nullptr);
}

}  // namespace

namespace {

// Classes just below, at and above the size from which they index their
// attributes' names: every look-up and clash check must answer as a scan of
// the attributes in position order would, through renames (one into a clash),
// deletions and additions.
TEST(ModelParts, AttributeLookUpsAgreeWithAScanAtEverySize) {
    for (int size : {15, 16, 17}) {
        SCOPED_TRACE("attributes: " + std::to_string(size));
        ORXClass cls;
        std::vector<std::string> names;
        for (int i = 0; i < size; ++i) {
            auto* attribute = new ORXAttribute();
            attribute->setName("C" + std::to_string(i));
            ASSERT_TRUE(attribute->addAssociatedClass(&cls));
            names.push_back("C" + std::to_string(i));
        }
        auto check = [&](const std::string& step) {
            SCOPED_TRACE(step);
            ASSERT_EQ(cls.getAttributeCount(), static_cast<int>(names.size()));
            std::vector<std::string> probes = names;
            probes.insert(probes.end(), {"C99", "c1", "", "C1 "});
            for (const std::string& name : probes) {
                ORXAttribute* expected = nullptr;
                for (int i = 0; i < cls.getAttributeCount() && !expected; ++i) {
                    if (cls.getAttribute(i)->getName() == name)
                        expected = cls.getAttribute(i);
                }
                EXPECT_EQ(cls.findAttribute(name), expected) << "'" << name << "'";
                // A named newcomer is refused exactly when the name is taken.
                ORXAttribute newcomer;
                newcomer.setName(name);
                const bool added = newcomer.addAssociatedClass(&cls);
                EXPECT_EQ(added, name.empty() || !expected) << "'" << name << "'";
                if (added) {
                    EXPECT_EQ(cls.getAttribute(cls.getAttributeCount() - 1), &newcomer);
                }
                // The newcomer leaves its class when it is destroyed here.
            }
        };
        check("as added");
        cls.getAttribute(3)->setName("RENAMED");
        names[3] = "RENAMED";
        check("renamed");
        cls.getAttribute(size - 1)->setName("C0");  // a clash made by a rename
        names[static_cast<std::size_t>(size - 1)] = "C0";
        check("renamed into a clash");
        delete cls.getAttribute(0);
        names.erase(names.begin());
        check("first of the clash deleted");
        delete cls.getAttribute(5);
        names.erase(names.begin() + 5);
        check("another deleted");
        auto* back = new ORXAttribute();
        back->setName("C1");  // still taken
        EXPECT_FALSE(back->addAssociatedClass(&cls));
        back->setName("C3");  // freed by the rename
        ASSERT_TRUE(back->addAssociatedClass(&cls));
        names.push_back("C3");
        check("added again");
    }
}

// The same for a design package's class names, with associations among the
// elements, which never clash.
TEST(ModelParts, ClassNameClashesAgreeWithAScanAtEverySize) {
    for (int size : {15, 16, 17}) {
        SCOPED_TRACE("classes: " + std::to_string(size));
        ORXDesignPackage package;
        std::vector<ORXClass*> classes;
        for (int i = 0; i < size; ++i) {
            auto* cls = new ORXClass();
            cls->setName("T" + std::to_string(i));
            ASSERT_TRUE(cls->addDesignPackage(&package));
            classes.push_back(cls);
            if (i % 5 == 0) {
                auto* association = new ORXAssociation();
                association->setName("T" + std::to_string(i + 1));
                ASSERT_TRUE(association->addDesignPackage(&package));
            }
        }
        auto taken = [&](const std::string& name) {
            for (ORXClass* cls : classes) {
                if (cls->getName() == name)
                    return true;
            }
            return false;
        };
        auto check = [&](const std::string& step) {
            SCOPED_TRACE(step);
            for (const char* name : {"T0", "T1", "T2", "T14", "T15", "T16", "T17", "X", ""}) {
                ORXClass newcomer;
                newcomer.setName(name);
                const bool added = newcomer.addDesignPackage(&package);
                EXPECT_EQ(added, name[0] == '\0' || !taken(name)) << name;
                if (added) {
                    EXPECT_TRUE(newcomer.removeDesignPackage(&package));
                }
            }
        };
        check("as added");
        classes[1]->setName("X");
        check("renamed");
        ASSERT_TRUE(classes[2]->removeDesignPackage(&package));
        delete classes[2];
        classes.erase(classes.begin() + 2);
        check("one deleted");
        ORXClass* last = classes.back();
        ASSERT_TRUE(last->removeDesignPackage(&package));
        classes.pop_back();
        check("one removed");
        ASSERT_TRUE(last->addDesignPackage(&package));
        classes.push_back(last);
        check("back again");
    }
}

}  // namespace

// Many random renames, deletions and additions in a class large enough for
// its name index to grow and to lose entries from the middle of its probe
// runs: every look-up still agrees with a scan of the attributes.
TEST(ModelParts, AttributeLookUpsSurviveRandomRenamesAndDeletions) {
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        auto anyName = [&] { return "N" + std::to_string(random() % 60); };
        ORXClass cls;
        for (int step = 0; step < 3000; ++step) {
            const int count = cls.getAttributeCount();
            const unsigned action = random() % 4;
            if (action == 0 || count < 20) {
                auto* attribute = new ORXAttribute();
                attribute->setName(anyName());
                if (!attribute->addAssociatedClass(&cls))
                    delete attribute;
            } else if (action == 1) {
                delete cls.getAttribute(static_cast<int>(random() % static_cast<unsigned>(count)));
            } else {
                // Renames may make clashes: the index must still find the first.
                cls.getAttribute(static_cast<int>(random() % static_cast<unsigned>(count)))
                    ->setName(anyName());
            }
            const std::string probe = anyName();
            ORXAttribute* expected = nullptr;
            for (int i = 0; i < cls.getAttributeCount() && !expected; ++i) {
                if (cls.getAttribute(i)->getName() == probe)
                    expected = cls.getAttribute(i);
            }
            ASSERT_EQ(cls.findAttribute(probe), expected) << "step " << step << ", " << probe;
        }
    }
}
