// The model's small-block pool and the position index of long link lists:
// blocks that never overlap and come back for reuse, from several threads at
// once, and lists that keep their order and membership through long runs of
// random changes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <set>
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

}  // namespace
