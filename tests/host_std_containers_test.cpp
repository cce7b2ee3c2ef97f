// The hashtable, parameterized texts and the option list of the host framework.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "orx/ORXHashtable.h"
#include "orx/ORXLiterals.h"
#include "orx/ORXOption.h"

namespace {

TEST(OrxHashtable, UniqueAddRefusesAnEqualKeyAndGrowthKeepsEveryKey) {
    ORXHashtable table(3);
    int a = 0;
    ORXHashtable::Iterator where;
    EXPECT_TRUE(table.add(&a, true, &where));
    EXPECT_FALSE(table.add(&a, true, &where));
    EXPECT_TRUE(where.valid);
    EXPECT_TRUE(table.add(&a, false, nullptr));
    EXPECT_EQ(table.getCount(), 2);
    std::vector<int> keys(1000);
    for (int& k : keys)
        ASSERT_TRUE(table.add(&k, true, nullptr));
    // 3 buckets doubled until 1002 keys fit at two per bucket: 3 * 2^8.
    EXPECT_EQ(table.getBucketCount(), 768);
    EXPECT_EQ(table.getCount(), 1002);
    for (const int& k : keys)
        ASSERT_TRUE(table.contains(&k));
}

// Keys are ints that are equal when their tens are: several equal keys can be
// stored (add without the unique test), and their order counts.
class TensTable : public ORXHashtable {
  public:
    explicit TensTable(int buckets) : ORXHashtable(buckets) {}

  protected:
    static int tens(const void* key) { return *static_cast<const int*>(key) / 10; }
    int compareEntries(const void* a, const void* b) const override { return tens(a) - tens(b); }
    std::size_t hashEntry(const void* entry) const override {
        return static_cast<std::size_t>(tens(entry));
    }
};

// Equal keys stay in the order they were added through growth and removal,
// and a removed key's node is reused without losing any other key.
TEST(OrxHashtable, EqualKeysKeepTheirOrderThroughGrowthAndRemoval) {
    TensTable table(1);
    std::vector<int> values = {11, 12, 13, 21, 22, 31};
    for (int& v : values)
        ASSERT_TRUE(table.add(&v, false, nullptr));
    int probe = 15;
    EXPECT_EQ(*static_cast<const int*>(table.findFirst(&probe)), 11);
    EXPECT_EQ(*static_cast<const int*>(table.findLast(&probe)), 13);
    EXPECT_FALSE(table.add(&probe, true, nullptr));

    EXPECT_TRUE(table.remove(&probe));
    EXPECT_EQ(*static_cast<const int*>(table.findFirst(&probe)), 12);
    int fourteen = 14;
    ASSERT_TRUE(table.add(&fourteen, false, nullptr));
    EXPECT_EQ(*static_cast<const int*>(table.findLast(&probe)), 14);

    // Growth: 1 bucket doubled to 8 for these 6 and 9 more keys.
    std::vector<int> more = {41, 42, 51, 52, 61, 62, 71, 72, 81};
    for (int& v : more)
        ASSERT_TRUE(table.add(&v, false, nullptr));
    EXPECT_EQ(table.getBucketCount(), 8);
    EXPECT_EQ(table.getCount(), 15);
    std::vector<int> tensOne;
    table.forEach([&](const void* key) {
        if (*static_cast<const int*>(key) / 10 == 1)
            tensOne.push_back(*static_cast<const int*>(key));
    });
    EXPECT_EQ(tensOne, (std::vector<int>{12, 13, 14}));
    for (int v : {12, 13, 14, 21, 22, 31}) {
        SCOPED_TRACE(v);
        EXPECT_TRUE(table.remove(&v));
    }
    EXPECT_FALSE(table.contains(&probe));
    EXPECT_EQ(table.getCount(), 9);
    int total = 0;
    table.forEach([&](const void*) { ++total; });
    EXPECT_EQ(total, 9);
    table.removeAll();
    EXPECT_EQ(table.getCount(), 0);
    EXPECT_TRUE(table.add(&probe, true, nullptr));
    EXPECT_EQ(table.findFirst(&probe), &probe);
}

// Growing splits every chain between its bucket and the new one above it:
// iteration goes bucket by bucket, and keys keep their order within one.
TEST(OrxHashtable, GrowthSplitsChainsAndIterationGoesBucketByBucket) {
    TensTable table(2);
    // Tens 1, 3, 5 share bucket 1 and tens 2 bucket 0 of two; the fifth key
    // doubles the table to four buckets first: tens 4 and 2 in buckets 0 and
    // 2, tens 1 and 5 stay in bucket 1, tens 3 moves to bucket 3.
    std::vector<int> values = {11, 31, 51, 21, 41};
    for (int& v : values)
        ASSERT_TRUE(table.add(&v, true, nullptr));
    EXPECT_EQ(table.getBucketCount(), 4);
    std::vector<int> order;
    table.forEach([&](const void* key) { order.push_back(*static_cast<const int*>(key)); });
    EXPECT_EQ(order, (std::vector<int>{41, 11, 51, 21, 31}));
    for (int probe : {19, 39, 59, 29, 49}) {
        SCOPED_TRACE(probe);
        EXPECT_FALSE(table.add(&probe, true, nullptr));
    }
    int other = 61;
    EXPECT_FALSE(table.contains(&other));
}

// Reserving doubles the buckets up to one per key; the reserved keys then
// fit without growing, and unique adds still refuse equal keys.
TEST(OrxHashtable, ReserveMakesRoomWithoutChangingWhatIsStored) {
    TensTable table(3);
    std::vector<int> values = {11, 21};
    for (int& v : values)
        ASSERT_TRUE(table.add(&v, true, nullptr));
    table.reserve(20);
    // 3 doubled to 6, 12, 24.
    EXPECT_EQ(table.getBucketCount(), 24);
    std::vector<int> more(18);
    for (std::size_t i = 0; i < more.size(); ++i) {
        more[i] = 10 * static_cast<int>(i + 3) + 1;
        ASSERT_TRUE(table.add(&more[i], true, nullptr));
    }
    EXPECT_EQ(table.getBucketCount(), 24);
    EXPECT_EQ(table.getCount(), 20);
    int probe = 15;
    EXPECT_EQ(table.findFirst(&probe), &values[0]);
    EXPECT_FALSE(table.add(&probe, true, nullptr));
    table.reserve(0);
    table.reserve(5);
    EXPECT_EQ(table.getBucketCount(), 24);
}

TEST(ParameterizedText, ReplacesSetParametersInOnePass) {
    struct Case {
        const char* text;
        std::vector<ORXString> values;
        const char* expected;
    } cases[] = {
        {"File '{0}' and {0}", {"a.pdm"}, "File 'a.pdm' and a.pdm"},
        {"{1}-{0} / {2}", {"a", "b"}, "b-a / {2}"},
        {"<{0}>", {"{0}{1}"}, "<{0}{1}>"},
        {"{} {x} {0 {-1} }{ end {0}", {"V"}, "{} {x} {0 {-1} }{ end V"},
        {"[{0}] {10}", {"", "b"}, "[] {10}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ORXParameterizedTextLiteral literal("ID", c.text);
        ORXParameterBlock block = literal.prapareForParameters();
        for (std::size_t i = 0; i < c.values.size(); ++i)
            literal.setParameterValue(block, static_cast<int>(i), c.values[i]);
        EXPECT_EQ(literal.createParametrizedText(block).str(), c.expected);
        EXPECT_EQ(literal.getText().str(), c.text);
    }
}

TEST(OptionList, AddReplacesInPlaceAndLooksUpByExactName) {
    ORXOptionList list;
    for (const char* name : {"A", "B", "C"})
        EXPECT_TRUE(list.add(new ORXOption(name, "String", "", "x", {}, false)));
    EXPECT_FALSE(list.add(new ORXOption("B", "Numeric", "", "b1", {}, false)));
    ASSERT_EQ(list.getCount(), 3);
    EXPECT_EQ(list.getOption(0)->getName().str(), "A");
    EXPECT_EQ(list.getOption(1)->getKind().str(), "Numeric");
    EXPECT_EQ(list.getOption(2)->getName().str(), "C");
    EXPECT_EQ(list.getValue("B").str(), "b1");
    EXPECT_TRUE(list.setValue("C", "c9"));
    EXPECT_EQ(list.getValue("C").str(), "c9");
    EXPECT_FALSE(list.setValue("c", "x"));
    EXPECT_EQ(list.get("C "), nullptr);
}

}  // namespace
