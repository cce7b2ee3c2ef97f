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
