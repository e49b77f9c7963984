// What one read makes of a document's containers: every empty immutable container of a kind is
// one object, a mutable read gives each its own, and an array of many small items is filled into
// a list of exactly its size.

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/PropertyListXmlWriter.h"
#include "platform/runtime/Runtime.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace plist {
// The readers' way of parsing XML, by name, so each case of the suite lists readably.
static void PrintTo(XmlParsing parsing, std::ostream* out) {
    *out << (parsing == XmlParsing::ScanFirst  ? "scan first"
             : parsing == XmlParsing::FullOnly ? "full parser"
                                               : "scan noting the writer's text");
}
} // namespace plist

namespace {

using plist::Mutability;
using plist::XmlParsing;

// The writer's text of a tree with three empty arrays and two empty dictionaries, each its own
// object, at two levels, beside containers that hold something.
std::string writersDocument() {
    const auto tree = NSDictionary::with({
        {"a", NSArray::with({})},
        {"b", NSDictionary::with({})},
        {"c", NSArray::with({NSArray::with({}), NSDictionary::with({}), NSArray::with({}),
                             NSArray::with({NSString::with("x")})})},
    });
    return plist::PropertyListXmlWriter().write(*tree).text;
}

std::string dense(std::size_t count) {
    std::string items;
    for (std::size_t i = 0; i < count; ++i) {
        items += i % 3 == 0 ? "<array/>" : i % 3 == 1 ? "<dict/>" : "<string>x</string>";
    }
    return "<plist version=\"1.0\"><array>" + items + "</array></plist>";
}

class PropertyListEmptyContainers : public ::testing::TestWithParam<XmlParsing> {
  protected:
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
};

TEST_P(PropertyListEmptyContainers, AreOneObjectPerKindInAnImmutableRead) {
    const std::string text = writersDocument();
    const auto root = rt::cast<NSDictionary>(
        plist::PropertyListReader(Mutability::Immutable, {}, GetParam()).parse(text).value);
    ASSERT_TRUE(root);
    const auto list = root->objectAs<NSArray>("c");
    ASSERT_TRUE(list && list->count() == 4);
    EXPECT_EQ(root->objectForKey("a"), list->objectAtIndex(0));
    EXPECT_EQ(list->objectAtIndex(0), list->objectAtIndex(2));
    EXPECT_EQ(root->objectForKey("b"), list->objectAtIndex(1));
    EXPECT_NE(root->objectForKey("a"), root->objectForKey("b"));
    EXPECT_EQ(list->objectAs<NSArray>(0)->count(), 0u);
    EXPECT_EQ(list->objectAs<NSDictionary>(1)->count(), 0u);
    EXPECT_EQ(list->objectAs<NSArray>(3)->count(), 1u);
    // Shared, they still write the very text they were read from.
    EXPECT_EQ(plist::PropertyListXmlWriter().write(*root).text, text);
}

TEST_P(PropertyListEmptyContainers, AreEachTheirOwnInAMutableRead) {
    const auto root =
        rt::cast<NSMutableDictionary>(plist::PropertyListReader(Mutability::MutableContainers, {}, GetParam())
                                          .parse(writersDocument())
                                          .value);
    ASSERT_TRUE(root);
    const auto first = root->objectAs<NSMutableArray>("a");
    const auto list = root->objectAs<NSMutableArray>("c");
    ASSERT_TRUE(first && list);
    const auto inner = list->objectAs<NSMutableArray>(0);
    const auto third = list->objectAs<NSMutableArray>(2);
    ASSERT_TRUE(inner && third);
    first->addObject(NSString::with("x"));
    inner->addObject(NSString::with("y"));
    EXPECT_EQ(third->count(), 0u) << "a change to one empty array showed in another";
    EXPECT_EQ(first->count(), 1u);
    ASSERT_TRUE(root->objectAs<NSMutableDictionary>("b"));
    root->objectAs<NSMutableDictionary>("b")->setObject(NSString::with("z"), "k");
    EXPECT_EQ(list->objectAs<NSDictionary>(1)->count(), 0u)
        << "a change to one empty dictionary showed in another";
}

// Arrays of small items on each side of the size where the rest is counted ahead: the same values
// as the full parser reads, and the scan's list holds exactly its items.
TEST_P(PropertyListEmptyContainers, FillManySmallItemsIntoAListOfTheirSize) {
    for (const std::size_t count : {8191, 8192, 8193, 30001}) {
        const std::string text = dense(count);
        const auto read = rt::cast<NSArray>(
            plist::PropertyListReader(Mutability::Immutable, {}, GetParam()).parse(text).value);
        const auto full = rt::cast<NSArray>(
            plist::PropertyListReader(Mutability::Immutable, {}, XmlParsing::FullOnly).parse(text).value);
        ASSERT_TRUE(read && full) << count;
        EXPECT_TRUE(read->isEqual(*full)) << count;
        EXPECT_EQ(read->count(), count);
        EXPECT_EQ(read->items().capacity(), count) << "a list with slack, or a second list, for " << count;
    }
}

INSTANTIATE_TEST_SUITE_P(Readers, PropertyListEmptyContainers,
                         ::testing::Values(XmlParsing::ScanFirst, XmlParsing::FullOnly),
                         [](const auto& info) {
                             return info.param == XmlParsing::ScanFirst ? "Scan" : "FullParser";
                         });

} // namespace
