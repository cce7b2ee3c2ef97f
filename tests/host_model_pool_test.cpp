// The model's small-block pool and the position index of long link lists:
// blocks that never overlap and come back for reuse, from several threads at
// once, and lists that keep their order and membership through long runs of
// random changes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "orx/ORXModel.h"
#include "orx/ORXPool.h"

namespace {

struct Held {
    unsigned char* block;
    std::size_t size;
    unsigned char mark;
};

// Fills every block with its own byte and checks them all at the end: two
// blocks that overlap, or a block handed out twice, show as a wrong byte.
void churn(unsigned seed, std::vector<Held>& held) {
    std::mt19937 random(seed);
    const std::size_t sizes[] = {1, 8, 16, 17, 100, 496, 1024, 1025, 5000};
    for (int step = 0; step < 20000; ++step) {
        if (!held.empty() && random() % 3 == 0) {
            const std::size_t at = random() % held.size();
            Held gone = held[at];
            for (std::size_t i = 0; i < gone.size; ++i)
                ASSERT_EQ(gone.block[i], gone.mark) << "size " << gone.size;
            orxPoolFree(gone.block, gone.size);
            held[at] = held.back();
            held.pop_back();
            continue;
        }
        const std::size_t size = sizes[random() % std::size(sizes)];
        auto* block = static_cast<unsigned char*>(orxPoolAllocate(size));
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignof(std::max_align_t), 0u);
        const auto mark = static_cast<unsigned char>(random());
        std::memset(block, mark, size);
        held.push_back({block, size, mark});
    }
}

TEST(ModelPool, BlocksNeverOverlapAcrossSizesAndThreads) {
    std::vector<Held> held[3];
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < 3; ++t)
        threads.emplace_back([t, &held] { churn(t + 1, held[t]); });
    for (std::thread& thread : threads)
        thread.join();
    for (std::vector<Held>& list : held) {
        for (const Held& h : list) {
            for (std::size_t i = 0; i < h.size; ++i)
                ASSERT_EQ(h.block[i], h.mark) << "size " << h.size;
            orxPoolFree(h.block, h.size);
        }
    }
    orxPoolFree(nullptr, 16);  // a null block is ignored
}

TEST(ModelPool, ObjectsOfTheModelComeFromThePoolAndAreReused) {
    const ORXPoolStatistics before = orxPoolStatistics();
    auto* cls = new ORXClass();
    auto* attribute = new ORXAttribute();
    ASSERT_TRUE(attribute->addAssociatedClass(cls));
    if (before.pooling) {
        EXPECT_GE(orxPoolStatistics().liveBytes, before.liveBytes + sizeof(ORXClass));
    }
    delete cls;  // and its attribute
    EXPECT_EQ(orxPoolStatistics().liveBytes, before.liveBytes);
}

// Random adds, inserts and removals on lists that grow long enough to keep an
// index, checked against a plain vector; items are removed in random order so
// that the index moves entries back over the holes of every kind of run.
// A link list of one object holds it in its own word; the second item brings
// a block from the pool, and clearing the list gives it back.
TEST(ModelPool, ALinkListOfOneObjectTakesNoBlock) {
    ORXClass a, b;
    const ORXPoolStatistics before = orxPoolStatistics();
    if (!before.pooling)
        GTEST_SKIP() << "blocks come from the heap in this build";
    ORXLinkList<ORXClass> list;
    ASSERT_TRUE(list.add(&a));
    EXPECT_EQ(orxPoolStatistics().liveBytes, before.liveBytes);
    ASSERT_TRUE(list.add(&b));
    EXPECT_GT(orxPoolStatistics().liveBytes, before.liveBytes);
    EXPECT_EQ(list.get(0), &a);
    EXPECT_EQ(list.get(1), &b);
    list.clear();
    EXPECT_EQ(orxPoolStatistics().liveBytes, before.liveBytes);
    ORXPartList<ORXClass> parts;
    parts.push_back(&a);
    EXPECT_EQ(orxPoolStatistics().liveBytes, before.liveBytes + 16);
    parts.clear();
    EXPECT_EQ(orxPoolStatistics().liveBytes, before.liveBytes);
}

TEST(ModelLinks, LongListsKeepMembershipThroughRandomChanges) {
    // Aligned like the model's objects, so that lists of one item keep it in
    // their word.
    struct alignas(8) Item {
        char padding[16];
    };
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        std::vector<Item> items(3000);
        ORXLinkList<Item> list;
        std::vector<Item*> expected;
        for (int step = 0; step < 30000; ++step) {
            Item* item = &items[random() % items.size()];
            const bool held = std::find(expected.begin(), expected.end(), item) != expected.end();
            ASSERT_EQ(list.contains(item), held) << "step " << step;
            switch (random() % 4) {
                case 0:
                case 1:
                    ASSERT_EQ(list.add(item), !held);
                    if (!held)
                        expected.push_back(item);
                    break;
                case 2: {
                    const int at = static_cast<int>(random() % (expected.size() + 1));
                    ASSERT_EQ(list.insertAt(at, item), !held);
                    if (!held)
                        expected.insert(expected.begin() + at, item);
                    break;
                }
                default:
                    ASSERT_EQ(list.remove(item), held);
                    if (held)
                        expected.erase(std::find(expected.begin(), expected.end(), item));
            }
        }
        ASSERT_EQ(list.items(), expected);
        for (Item* item : expected)
            list.remove(item);
        EXPECT_EQ(list.count(), 0);
        for (Item& item : items)
            ASSERT_FALSE(list.contains(&item));
    }
}

// Lists of model objects append an object made after every object they have
// held without looking it up, and record it in their index only when a
// look-up comes. Runs of such appends (some then added again, which must be
// refused) between removals, insertions, additions of older objects and
// reads: every answer must match a plain vector's.
TEST(ModelLinks, LongListsOfModelObjectsMatchAVectorWhenAppendsWait) {
    for (unsigned seed : {4u, 5u, 6u, 7u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        // Made in order: each has a greater serial than those before it.
        std::vector<std::unique_ptr<ORXNote>> objects;
        for (int i = 0; i < 12000; ++i)
            objects.push_back(std::make_unique<ORXNote>());
        std::size_t made = 0;  // objects[made] is the next one never added
        ORXLinkList<ORXNote> list;
        std::vector<ORXNote*> expected;
        // The list starts its index here: it must know that it holds these.
        for (; made < 16; ++made) {
            ASSERT_TRUE(list.add(objects[made].get()));
            expected.push_back(objects[made].get());
        }
        ASSERT_FALSE(list.add(objects[random() % made].get()));
        auto held = [&](const ORXNote* object) {
            return std::find(expected.begin(), expected.end(), object) != expected.end();
        };
        // An object added before, or never, or the next new one.
        auto pickOlder = [&]() {
            const std::size_t at = random() % (made + 1);
            made = std::max(made, at + 1);
            return objects[at].get();
        };
        // One of the last objects made, which may still wait for the index.
        auto pickRecent = [&]() {
            return objects[made - 1 - random() % std::min<std::size_t>(made, 50)].get();
        };
        for (int step = 0; step < 6000 && made + 64 < objects.size(); ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            switch (random() % 8) {
                case 0:
                case 1:
                case 2: {
                    // A run of new objects, then maybe one of them again.
                    const std::size_t run = 1 + random() % 40;
                    for (std::size_t i = 0; i < run; ++i) {
                        ASSERT_TRUE(list.add(objects[made].get()));
                        expected.push_back(objects[made++].get());
                    }
                    if (random() % 2) {
                        ORXNote* again = objects[made - 1 - random() % run].get();
                        ASSERT_FALSE(list.add(again));
                        ASSERT_FALSE(list.insertAt(0, again));
                    }
                    break;
                }
                case 3: {
                    ORXNote* object = pickOlder();
                    const bool was = held(object);
                    ASSERT_EQ(list.add(object), !was);
                    if (!was)
                        expected.push_back(object);
                    break;
                }
                case 4: {
                    ORXNote* object = pickOlder();
                    const bool was = held(object);
                    const int at = static_cast<int>(random() % (expected.size() + 1));
                    ASSERT_EQ(list.insertAt(at, object), !was);
                    if (!was)
                        expected.insert(expected.begin() + at, object);
                    break;
                }
                case 5: {
                    ORXNote* object = random() % 2 && made > 0 ? pickRecent() : pickOlder();
                    const bool was = held(object);
                    ASSERT_EQ(list.remove(object), was);
                    if (was)
                        expected.erase(std::find(expected.begin(), expected.end(), object));
                    break;
                }
                case 6: {
                    ORXNote* object = made > 0 ? pickRecent() : pickOlder();
                    ASSERT_EQ(list.contains(object), held(object));
                    break;
                }
                default:
                    ASSERT_EQ(list.count(), static_cast<int>(expected.size()));
                    if (!expected.empty()) {
                        const std::size_t at = random() % expected.size();
                        ASSERT_EQ(list.get(static_cast<int>(at)), expected[at]);
                    }
            }
            if (step % 200 == 199) {
                ASSERT_EQ(list.items(), expected);
                for (std::size_t i = 0; i < made; ++i)
                    ASSERT_EQ(list.contains(objects[i].get()), held(objects[i].get()))
                        << "object " << i;
            }
        }
        ASSERT_EQ(list.items(), expected);
        // Removing every item in a shuffled order leaves nothing behind.
        std::shuffle(expected.begin(), expected.end(), random);
        for (ORXNote* object : expected)
            ASSERT_TRUE(list.remove(object));
        EXPECT_EQ(list.count(), 0);
        for (const auto& object : objects)
            ASSERT_FALSE(list.contains(object.get()));
    }
}

}  // namespace
