#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSIndexSet.h"
#include "platform/runtime/Runtime.h"

#include <gtest/gtest.h>

namespace {

class NSIndexPathTest : public ::testing::Test {
  protected:
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
};

TEST_F(NSIndexPathTest, OrdersBySectionThenRowAndComparesByValue) {
    auto a = NSIndexPath::indexPathForRowInSection(5, 0);
    auto b = NSIndexPath::indexPathForRowInSection(0, 1);
    auto c = NSIndexPath::indexPathForRowInSection(5, 0);
    EXPECT_EQ(a->compare(*b), NSOrderedAscending);
    EXPECT_EQ(b->compare(*a), NSOrderedDescending);
    EXPECT_TRUE(a->isEqual(*c));
    EXPECT_FALSE(a->isEqual(*b));
    EXPECT_TRUE(sameIndexPath(nullptr, nullptr));
    EXPECT_FALSE(sameIndexPath(a, nullptr));
}

TEST_F(NSIndexPathTest, IndexSetsAreSortedUniqueAndReportNotFoundWhenEmpty) {
    auto empty = NSIndexSet::indexSet();
    EXPECT_EQ(empty->firstIndex(), static_cast<NSUInteger>(NSNotFound));
    EXPECT_EQ(empty->lastIndex(), static_cast<NSUInteger>(NSNotFound));
    auto set = NSIndexSet::with({4, 1, 4, 2});
    EXPECT_EQ(set->indexes(), (std::vector<NSUInteger>{1, 2, 4}));
    EXPECT_EQ(NSIndexSet::indexSetWithIndexesInRange(3, 2)->indexes(), (std::vector<NSUInteger>{3, 4}));
    const std::string text = set->description();
    EXPECT_EQ(text.substr(text.find('[')), "[number of indexes: 3] (1 2 4)");
    auto mutableSet = NSMutableIndexSet::indexSet();
    mutableSet->addIndex(3);
    mutableSet->addIndex(3);
    EXPECT_TRUE(mutableSet->isEqual(*NSIndexSet::indexSetWithIndex(3)));
    EXPECT_FALSE(mutableSet->isEqual(*NSIndexSet::indexSetWithIndex(4)));
    EXPECT_FALSE(set->isEqual(*NSIndexPath::indexPathForRowInSection(1, 2))) << "another kind of object";
}

} // namespace
