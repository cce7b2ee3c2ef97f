// Strings and the hashtable of the host framework.

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "orx/ORXHashtable.h"
#include "orx/ORXString.h"

namespace {

TEST(OrxString, ConstructsFromTextsLengthsAndNumbers) {
    EXPECT_EQ(ORXString("abc").str(), "abc");
    EXPECT_EQ(ORXString("abcdef", 3).str(), "abc");
    EXPECT_EQ(ORXString("a\0b", 3).getLength(), 3);
    EXPECT_TRUE(ORXString(static_cast<const char*>(nullptr)).empty());
    EXPECT_EQ(ORXString(0).str(), "0");
    EXPECT_EQ(ORXString(-2147483647 - 1).str(), "-2147483648");
    EXPECT_TRUE(emptyString.empty());

    ORXString s;
    s = "x";
    s += ORXString("y");
    s += "z";
    s += '!';
    s += static_cast<const char*>(nullptr);
    EXPECT_EQ(s.str(), "xyz!");
    EXPECT_EQ((ORXString("a") + ORXString("b")).str(), "ab");
    EXPECT_EQ((ORXString("a") + "b").str(), "ab");
    EXPECT_EQ(("a" + ORXString("b")).str(), "ab");
    s = static_cast<const char*>(nullptr);
    EXPECT_TRUE(s.empty());
}

TEST(OrxString, MidClampsToTheString) {
    const ORXString s("abcdef");
    struct Case {
        int start, count;
        const char* expected;
    };
    for (const Case& c : std::vector<Case>{{0, -1, "abcdef"},
                                           {2, 2, "cd"},
                                           {4, 10, "ef"},
                                           {6, 1, ""},
                                           {7, -1, ""},
                                           {0, 0, ""},
                                           {-3, 2, "ab"}}) {
        SCOPED_TRACE(std::to_string(c.start) + "," + std::to_string(c.count));
        EXPECT_EQ(s.mid(c.start, c.count).str(), c.expected);
    }
}

TEST(OrxString, LockResizeUnlockRecomputesLength) {
    ORXString s("old");
    s.resize(16);
    char* buffer = s.lock();
    std::memcpy(buffer, "12345", 5);
    buffer[5] = '\0';
    s.unlock(false);
    EXPECT_EQ(s.str(), "12345");

    ORXString kept;
    kept.resize(4);
    std::memcpy(kept.lock(), "a\0bc", 4);
    kept.unlock(true);
    EXPECT_EQ(kept.getLength(), 4);
    kept.unlock();
    EXPECT_EQ(kept.str(), "a");

    ORXString grown("ab");
    grown.resize(4);
    EXPECT_EQ(grown.str(), std::string("ab\0\0", 4));  // new bytes are zero
}

TEST(OrxHashtable, DefaultComparesPointersAndRefusesDuplicatesWhenUnique) {
    ORXHashtable table(4);
    int a = 0, b = 0;
    ORXHashtable::Iterator where;
    EXPECT_TRUE(table.add(&a, true, &where));
    EXPECT_TRUE(where.valid);
    EXPECT_FALSE(table.add(&a, true, &where));
    EXPECT_TRUE(where.valid);
    EXPECT_TRUE(table.add(&a, false, nullptr));  // duplicates allowed when not unique
    EXPECT_TRUE(table.add(&b, true, nullptr));
    EXPECT_EQ(table.getCount(), 3);
    EXPECT_TRUE(table.contains(&a));
    EXPECT_TRUE(table.remove(&a));
    EXPECT_TRUE(table.contains(&a));
    EXPECT_TRUE(table.remove(&a));
    EXPECT_FALSE(table.contains(&a));
    EXPECT_FALSE(table.remove(&a));
    EXPECT_EQ(table.getCount(), 1);
    table.removeAll();
    EXPECT_EQ(table.getCount(), 0);
    EXPECT_FALSE(table.contains(&b));
}

TEST(OrxHashtable, GrowsByDoublingAndKeepsEveryKey) {
    ORXHashtable table(3);
    std::vector<int> keys(1000);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        ASSERT_TRUE(table.add(&keys[i], true, nullptr));
        ASSERT_LE(table.getCount(), 2 * table.getBucketCount()) << "after key " << i;
    }
    // 3 buckets doubled until 1000 keys fit at two per bucket: 3 * 2^8.
    EXPECT_EQ(table.getBucketCount(), 768);
    EXPECT_EQ(table.getCount(), 1000);
    std::set<const void*> seen;
    table.forEach([&](const void* key) { seen.insert(key); });
    EXPECT_EQ(seen.size(), keys.size());
    for (const int& k : keys)
        EXPECT_TRUE(table.contains(&k));
    EXPECT_EQ(ORXHashtable(0).getBucketCount(), 1);
}

// Keys are C strings compared without regard to ASCII case; the hash is the
// length, so equal keys share a bucket whatever their case.
class CaseFoldingTable : public ORXHashtable {
  public:
    CaseFoldingTable() : ORXHashtable(2) {}

  protected:
    int compareEntries(const void* a, const void* b) const override {
        return strcasecmp(static_cast<const char*>(a), static_cast<const char*>(b));
    }
    int compareKey(const void* key, const void* entry) const override {
        return compareEntries(key, entry);
    }
    std::size_t hashEntry(const void* entry) const override {
        return std::strlen(static_cast<const char*>(entry));
    }
    std::size_t hashKey(const void* key) const override { return hashEntry(key); }
};

TEST(OrxHashtable, UsesTheDerivedComparisonAndHash) {
    CaseFoldingTable table;
    const char* names[] = {"ORDERS", "orders", "Customer", "CUSTOMER", "item", "x", "yy", "zzz"};
    std::vector<bool> added;
    for (const char* n : names)
        added.push_back(table.add(n, true, nullptr));
    EXPECT_EQ(added, (std::vector<bool>{true, false, true, false, true, true, true, true}));
    EXPECT_EQ(table.getCount(), 6);
    EXPECT_TRUE(table.contains("Orders"));
    EXPECT_FALSE(table.contains("Order"));

    const char* first = "dup";
    const char* second = "DUP";
    table.add(first, false, nullptr);
    table.add(second, false, nullptr);
    EXPECT_EQ(table.findFirst("Dup"), first);
    EXPECT_EQ(table.findLast("Dup"), second);
    EXPECT_TRUE(table.remove("dUp"));
    EXPECT_EQ(table.findFirst("dup"), second);
}

}  // namespace
