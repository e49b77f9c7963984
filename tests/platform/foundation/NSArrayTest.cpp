// An index outside an array raises NSRangeException with the platform's words: the method, the
// index and the bounds (or that the array is empty). Arrays and data are equal item by item.

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/NSException.h"
#include "platform/runtime/Runtime.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

std::string reasonOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), NSRangeException);
        return e.reason();
    }
    return "(nothing raised)";
}

TEST(NSArrayBounds, AnIndexOutsideRaisesWithTheBounds) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    auto three = NSMutableArray::with({NSString::with("a"), NSString::with("b"), NSString::with("c")});
    EXPECT_EQ(reasonOf([&] { (void)three->objectAtIndex(3); }),
              "*** -[NSMutableArray objectAtIndex:]: index 3 beyond bounds [0 .. 2]");
    EXPECT_EQ(reasonOf([&] { three->insertObject(NSString::with("d"), 4); }),
              "*** -[NSMutableArray insertObject:atIndex:]: index 4 beyond bounds [0 .. 2]");
    three->insertObject(NSString::with("d"), 3);
    EXPECT_EQ(three->count(), 4u) << "one past the end is where an insertion may go";
    auto empty = NSArray::with({});
    EXPECT_EQ(reasonOf([&] { (void)empty->objectAtIndex(0); }),
              "*** -[NSArray objectAtIndex:]: index 0 for empty array");
}

TEST(NSArrayEquality, EqualOnlyItemByItem) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    auto ab = NSArray::with({NSString::with("a"), NSString::with("b")});
    EXPECT_TRUE(ab->isEqual(*NSArray::with({NSString::with("a"), NSString::with("b")})));
    EXPECT_FALSE(ab->isEqual(*NSArray::with({NSString::with("a"), NSString::with("c")})));
    EXPECT_FALSE(ab->isEqual(*NSArray::with({NSString::with("a")})));
}

// indexOfObject: finds the first item equal to the object, not the same object.
TEST(NSArrayIndex, TheFirstEqualItemOrNone) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    auto aba = NSArray::with({NSString::with("a"), NSString::with("b"), NSString::with("a")});
    EXPECT_EQ(aba->indexOfObject(*NSString::with("a")), 0u);
    EXPECT_EQ(aba->indexOfObject(*NSString::with("b")), 1u);
    EXPECT_EQ(aba->indexOfObject(*NSString::with("c")), NSArray::npos);
    EXPECT_EQ(NSArray::with({})->indexOfObject(*NSString::with("a")), NSArray::npos);
}

TEST(NSDataEquality, EqualOnlyByteForByte) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    auto data = NSData::with({1, 2, 3});
    EXPECT_TRUE(data->isEqual(*NSData::with({1, 2, 3})));
    EXPECT_FALSE(data->isEqual(*NSData::with({1, 2, 4})));
    EXPECT_FALSE(data->isEqual(*NSString::with("abc"))) << "another kind of object";
}

} // namespace
