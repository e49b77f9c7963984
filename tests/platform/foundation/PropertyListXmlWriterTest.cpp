#include "platform/foundation/PropertyListXmlWriter.h"

#include "PropertyListFixtures.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/Runtime.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using plist::PropertyListXmlWriter;

std::string xmlOf(const NSObject& root) {
    const plist::EncodeResult result = PropertyListXmlWriter().write(root);
    EXPECT_TRUE(result.ok) << result.reason;
    return result.text;
}

// The text of a one-value document, without the prolog and the closing tag.
std::string bodyOf(const id& value) {
    const std::string text = xmlOf(*NSDictionary::with({{"v", value}}));
    const std::string open = "<plist version=\"1.0\">\n<dict>\n\t<key>v</key>\n";
    const std::size_t start = text.find(open);
    const std::size_t end = text.rfind("</dict>\n</plist>\n");
    return text.substr(start + open.size(), end - start - open.size());
}

TEST(PropertyListXmlWriter, WritesTheSavedTimesFileInThePlatformsLayout) {
    auto root = plist_test::oneRecordFile();
    root->setObject(NSMutableArray::with(), "Times - Q&A <1>");
    rt::cast<NSMutableArray>(root->objectForKey("Sections"))->addObject(NSString::with("Q&A <1>"));
    root->setObject(NSDictionary::with({{"on", NSNumber::withBool(true)},
                                        {"off", NSNumber::withBool(false)},
                                        {"count", NSNumber::withInteger(-42)},
                                        {"empty", NSDictionary::with({})},
                                        {"quote", NSString::with("\"it's\"")}}),
                    "Flags");
    root->setObject(NSData::with({'h', 'e', 'l', 'l', 'o'}), "Blob");

    const std::string expected = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>Blob</key>
	<data>
	aGVsbG8=
	</data>
	<key>Flags</key>
	<dict>
		<key>count</key>
		<integer>-42</integer>
		<key>empty</key>
		<dict/>
		<key>off</key>
		<false/>
		<key>on</key>
		<true/>
		<key>quote</key>
		<string>"it's"</string>
	</dict>
	<key>Sections</key>
	<array>
		<string>Default</string>
		<string>Q&amp;A &lt;1&gt;</string>
	</array>
	<key>Times - Default</key>
	<array>
		<dict>
			<key>All Laps</key>
			<array>
				<real>30.040000915527344</real>
				<real>30.030000686645508</real>
				<real>15.300000190734863</real>
			</array>
			<key>Date</key>
			<date>2013-03-02T12:00:00Z</date>
			<key>Last Lap</key>
			<real>15.300000190734863</real>
			<key>Total Time</key>
			<real>75.430000000000007</real>
		</dict>
	</array>
	<key>Times - Q&amp;A &lt;1&gt;</key>
	<array/>
</dict>
</plist>
)";
    EXPECT_EQ(xmlOf(*root), expected);
}

struct RealCase {
    id number;
    std::string text;
};

void PrintTo(const RealCase& c, std::ostream* out) {
    const auto number = rt::cast<NSNumber>(c.number);
    const double value = number->doubleValue();
    if (std::isinf(value)) {
        *out << (value < 0 ? "-" : "+") << "infinity";
    } else {
        *out << value << (number->kind() == NSNumber::Kind::Float ? "f" : "");
    }
}

class PropertyListXmlWriterReals : public ::testing::TestWithParam<RealCase> {};

TEST_P(PropertyListXmlWriterReals, PrintsSeventeenDigitsWithThePlatformsSpecialCases) {
    EXPECT_EQ(bodyOf(GetParam().number), "\t<real>" + GetParam().text + "</real>\n");
}

INSTANTIATE_TEST_SUITE_P(
    Table, PropertyListXmlWriterReals,
    ::testing::Values(RealCase{NSNumber::withDouble(1.5), "1.5"},
                      RealCase{NSNumber::withDouble(100.0), "100"},
                      RealCase{NSNumber::withDouble(30.04), "30.039999999999999"},
                      RealCase{NSNumber::withDouble(0.1), "0.10000000000000001"},
                      RealCase{NSNumber::withDouble(59.99), "59.990000000000002"},
                      RealCase{NSNumber::withFloat(75.3f), "75.300003051757812"},
                      RealCase{NSNumber::withFloat(30.04f), "30.040000915527344"},
                      RealCase{NSNumber::withDouble(0.0), "0.0"}, RealCase{NSNumber::withDouble(-0.0), "0.0"},
                      RealCase{NSNumber::withDouble(std::nan("")), "nan"},
                      RealCase{NSNumber::withDouble(std::numeric_limits<double>::infinity()), "+infinity"},
                      RealCase{NSNumber::withDouble(-std::numeric_limits<double>::infinity()), "-infinity"},
                      RealCase{NSNumber::withDouble(1e21), "1e+21"},
                      RealCase{NSNumber::withDouble(1e-7), "9.9999999999999995e-08"},
                      RealCase{NSNumber::withDouble(-2.5), "-2.5"}),
    testing_support::PrintedName());

struct DateCase {
    double seconds;
    std::string text;
};

void PrintTo(const DateCase& c, std::ostream* out) {
    *out << c.text;
}

class PropertyListXmlWriterDates : public ::testing::TestWithParam<DateCase> {};

TEST_P(PropertyListXmlWriterDates, WritesWholeUtcSecondsRoundedTowardThePast) {
    EXPECT_EQ(bodyOf(NSDate::withTimeIntervalSinceReferenceDate(GetParam().seconds)),
              "\t<date>" + GetParam().text + "</date>\n");
}

INSTANTIATE_TEST_SUITE_P(Table, PropertyListXmlWriterDates,
                         ::testing::Values(DateCase{0, "2001-01-01T00:00:00Z"},
                                           DateCase{383918400.999, "2013-03-02T12:00:00Z"},
                                           DateCase{-0.5, "2000-12-31T23:59:59Z"},
                                           DateCase{-26438401, "2000-02-29T23:59:59Z"},
                                           DateCase{-978307200, "1970-01-01T00:00:00Z"},
                                           DateCase{-32535216000.0, "0970-01-01T00:00:00Z"},
                                           DateCase{3124137599.0, "2099-12-31T23:59:59Z"}),
                         testing_support::PrintedName());

TEST(PropertyListXmlWriter, SortsKeysByUtf16CodeUnitsLikeThePlatform) {
    // U+1F600 is a surrogate pair (D83D DE00) in UTF-16 and so sorts before U+E000, although
    // its code point (and its UTF-8 bytes) are larger.
    const auto root = NSDictionary::with({{"a", NSNumber::withInteger(1)},
                                          {"B", NSNumber::withInteger(2)},
                                          {"\xEE\x80\x80", NSNumber::withInteger(3)},
                                          {"\xF0\x9F\x98\x80", NSNumber::withInteger(4)},
                                          {"aa", NSNumber::withInteger(5)}});
    const std::string text = xmlOf(*root);
    const auto at = [&](const std::string& key) { return text.find("<key>" + key + "</key>"); };
    EXPECT_LT(at("B"), at("a"));
    EXPECT_LT(at("a"), at("aa"));
    EXPECT_LT(at("aa"), at("\xF0\x9F\x98\x80"));
    EXPECT_LT(at("\xF0\x9F\x98\x80"), at("\xEE\x80\x80"));
}

TEST(PropertyListXmlWriter, WrapsDataInLinesShortenedByTheIndentation) {
    std::vector<std::uint8_t> bytes(60);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7);
    }
    // 60 bytes are 80 Base64 characters; at one level of indentation a line holds 76 - 8 = 68.
    const std::string body = bodyOf(NSData::with(bytes));
    EXPECT_EQ(body, "\t<data>\n\tAAcOFRwjKjE4P0ZNVFtiaXB3foWMk5qhqK+2vcTL0tng5+71/AMKERgfJi00O0JJUFde\n"
                    "\tZWxzeoGIj5ad\n\t</data>\n");
    EXPECT_EQ(bodyOf(NSData::with({})), "\t<data>\n\t</data>\n");
}

TEST(PropertyListXmlWriter, FragmentsAreTheDocumentsOwnLines) {
    auto root = plist_test::oneRecordFile();
    root->setObject(NSData::with(std::vector<std::uint8_t>(70, 'x')), "Blob");
    const std::string whole = xmlOf(*root);
    // The document is its prolog, then each entry's key line and value fragment in key order.
    std::string assembled(whole.substr(0, whole.find("<dict>\n") + 7));
    for (const auto& [key, value] : root->entries()) {
        assembled += "\t<key>" + key + "</key>\n";
        const plist::EncodeResult part = PropertyListXmlWriter().fragment(*value, 1);
        ASSERT_TRUE(part.ok) << part.reason;
        assembled += part.text;
    }
    assembled += "</dict>\n</plist>\n";
    EXPECT_EQ(assembled, whole);
    EXPECT_FALSE(PropertyListXmlWriter().fragment(*NSArray::with({nullptr}), 2).ok);
}

TEST(PropertyListXmlWriter, EscapesOnlyAmpersandAndAngleBrackets) {
    EXPECT_EQ(bodyOf(NSString::with("a&b<c>d\"e'f\tg")), "\t<string>a&amp;b&lt;c&gt;d\"e'f\tg</string>\n");
}

struct RefusedCase {
    std::string name;
    std::function<id()> make;
    std::string reason;
};

void PrintTo(const RefusedCase& c, std::ostream* out) {
    *out << c.name;
}

class PropertyListXmlWriterRefuses : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(PropertyListXmlWriterRefuses, ValuesThatAreNotPropertyLists) {
    const id root = GetParam().make();
    const plist::EncodeResult result = PropertyListXmlWriter().write(*root);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.text.empty());
    EXPECT_NE(result.reason.find(GetParam().reason), std::string::npos) << result.reason;
    // The self-containing array is a reference cycle; break it so that it is freed.
    if (const auto loop = rt::cast<NSDictionary>(root)->objectAs<NSMutableArray>("loop")) {
        loop->removeAllObjects();
    }
}

id selfContaining() {
    auto list = NSMutableArray::with();
    list->addObject(NSString::with("x"));
    list->addObject(list);
    return NSDictionary::with({{"loop", list}});
}

id nestedArrays(int depth) {
    id value = NSString::with("leaf");
    for (int i = 0; i < depth; ++i) {
        value = NSArray::with({value});
    }
    return NSDictionary::with({{"deep", value}});
}

INSTANTIATE_TEST_SUITE_P(
    Table, PropertyListXmlWriterRefuses,
    ::testing::Values(
        RefusedCase{"NilInArray",
                    [] {
                        return id(NSDictionary::with({{"a", NSArray::with({nullptr})}}));
                    },
                    "/a/0: a nil value"},
        RefusedCase{"PlainObject",
                    [] {
                        return id(NSDictionary::with({{"Times - A", NSArray::with({NSDictionary::with(
                                                                        {{"x", rt::make<NSObject>()}})})}}));
                    },
                    "/Times - A/0/x: a value of class NSObject"},
        RefusedCase{"InvalidUtf8",
                    [] {
                        return id(NSDictionary::with({{"s", NSString::with("\xC3\x28")}}));
                    },
                    "not valid UTF-8"},
        RefusedCase{"NulInKey",
                    [] {
                        return id(NSDictionary::with({{std::string("a\0b", 3), NSString::with("")}}));
                    },
                    "key that is not valid UTF-8 or holds a NUL"},
        RefusedCase{"InfiniteDate",
                    [] {
                        return id(NSDictionary::with({{"d", NSDate::withTimeIntervalSinceReferenceDate(
                                                                std::numeric_limits<double>::infinity())}}));
                    },
                    "/d: a date that is not finite"},
        RefusedCase{"SelfContaining", selfContaining, "/loop/1: a container that contains itself"},
        RefusedCase{"TooDeep", [] { return nestedArrays(200); }, "nested deeper than 128"}),
    [](const auto& info) { return info.param.name; });

// A text of exactly the largest size readers accept is written; one byte over it is refused.
TEST(PropertyListXmlWriter, WritesATextOfExactlyTheLimitAndNoMore) {
    const auto root =
        NSDictionary::with({{"k", NSArray::with({NSString::with("v"), NSNumber::withDouble(1.5)})}});
    const plist::EncodeResult whole = PropertyListXmlWriter().write(*root);
    ASSERT_TRUE(whole.ok);
    plist::Limits limits;
    limits.maxBytes = whole.text.size();
    const plist::EncodeResult atTheLimit = PropertyListXmlWriter(limits).write(*root);
    ASSERT_TRUE(atTheLimit.ok) << atTheLimit.reason;
    EXPECT_EQ(atTheLimit.text, whole.text);
    limits.maxBytes = whole.text.size() - 1;
    EXPECT_FALSE(PropertyListXmlWriter(limits).write(*root).ok);
}

// A document both too large and holding a value it refuses: at every limit the reason is the size
// or the refused value with its path, never the value without its path.
TEST(PropertyListXmlWriter, NamesTheSizeOrThePathOfTheRefusedValueAtEveryLimit) {
    const auto root = NSDictionary::with(
        {{"a", NSArray::with({NSDictionary::with({{std::string("k\0", 2), NSString::with("")}})})}});
    std::size_t bySize = 0;
    std::size_t byPath = 0;
    for (std::size_t limit = 0; limit <= 400; ++limit) {
        plist::Limits limits;
        limits.maxBytes = limit;
        const plist::EncodeResult result = PropertyListXmlWriter(limits).write(*root);
        ASSERT_FALSE(result.ok);
        const bool size = result.reason.rfind("larger than " + std::to_string(limit) + " bytes", 0) == 0;
        const bool path = result.reason == "/a/0: a key that is not valid UTF-8 or holds a NUL";
        EXPECT_TRUE(size || path) << limit << ": " << result.reason;
        bySize += size ? 1 : 0;
        byPath += path ? 1 : 0;
    }
    EXPECT_GT(bySize, 0u);
    EXPECT_GT(byPath, 0u);
}

} // namespace
