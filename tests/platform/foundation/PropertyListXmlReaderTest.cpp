#include "platform/foundation/PropertyListXmlReader.h"

#include "CommaLocale.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListXmlEncoding.h"
#include "tests/support/CaseName.h"
#include "tests/support/XmlScanCheck.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using plist::Mutability;
using plist::PropertyListXmlReader;

const std::string kProlog = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                            "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n";

std::string document(const std::string& value) {
    return kProlog + "<plist version=\"1.0\">\n" + value + "\n</plist>\n";
}

// Every document these tests read is also read with and without the direct scan: a value the
// scan gives must be the full parser's, and every error stays the full parser's.
plist::ParseResult parse(const std::string& text, Mutability mutability = Mutability::Immutable) {
    EXPECT_EQ(plist_test::checkScan(text, mutability).difference, "") << text.substr(0, 300);
    return PropertyListXmlReader(mutability).parse(text);
}

// The single value of a document holding it alone.
id valueOf(const std::string& element) {
    const plist::ParseResult result = parse(document(element));
    EXPECT_TRUE(result.ok()) << element << ": " << result.reason;
    return result.value;
}

TEST(PropertyListXmlReader, ReadsEveryPropertyListType) {
    const auto root = rt::cast<NSDictionary>(valueOf(R"(<dict>
	<key>Sections</key>
	<array>
		<string>Default</string>
		<string>Q&amp;A &lt;1&gt; &#x41;&#66; caf&#233;&#xe9;&#xE9; &#xaA;&#xFf;&#x30;&#57; 😀</string>
	</array>
	<key>lap</key>
	<real>75.300003051757812</real>
	<key>count</key>
	<integer>-42</integer>
	<key>on</key>
	<true/>
	<key>off</key>
	<false/>
	<key>when</key>
	<date>2013-03-02T12:00:00Z</date>
	<key>blob</key>
	<data>
	aGVs
	bG8=
	</data>
	<key>empty</key>
	<dict/>
	<key>space</key>
	<string> </string>
	<key>none</key>
	<string/>
	<key>raw</key>
	<string><![CDATA[<&>]]></string>
</dict>)"));
    ASSERT_TRUE(root);
    const auto sections = root->objectAs<NSArray>("Sections");
    ASSERT_TRUE(sections);
    EXPECT_EQ(sections->objectAs<NSString>(1)->str(),
              "Q&A <1> AB caf\xC3\xA9\xC3\xA9\xC3\xA9 \xC2\xAA\xC3\xBF"
              "09 \xF0\x9F\x98\x80");
    EXPECT_EQ(root->objectAs<NSNumber>("lap")->doubleValue(), static_cast<double>(75.3f));
    EXPECT_EQ(root->objectAs<NSNumber>("lap")->floatValue(), 75.3f);
    EXPECT_EQ(root->objectAs<NSNumber>("count")->integerValue(), -42);
    EXPECT_EQ(root->objectAs<NSNumber>("count")->kind(), NSNumber::Kind::Integer);
    EXPECT_EQ(root->objectAs<NSNumber>("on")->kind(), NSNumber::Kind::Boolean);
    EXPECT_TRUE(root->objectAs<NSNumber>("on")->boolValue());
    EXPECT_FALSE(root->objectAs<NSNumber>("off")->boolValue());
    EXPECT_EQ(root->objectAs<NSDate>("when")->timeIntervalSinceReferenceDate(), 383918400.0);
    EXPECT_EQ(root->objectAs<NSData>("blob")->bytes(), (std::vector<std::uint8_t>{'h', 'e', 'l', 'l', 'o'}));
    EXPECT_EQ(root->objectAs<NSDictionary>("empty")->count(), 0u);
    EXPECT_EQ(root->objectAs<NSString>("space")->str(), " ");
    EXPECT_EQ(root->objectAs<NSString>("none")->str(), "");
    EXPECT_EQ(root->objectAs<NSString>("raw")->str(), "<&>");
}

TEST(PropertyListXmlReader, BuildsMutableContainersOnlyWhenAsked) {
    const std::string text = document("<dict><key>a</key><array><dict><key>b</key><array/></dict></array>"
                                      "<key>s</key><string>x</string></dict>");
    const auto mutableRoot = rt::cast<NSMutableDictionary>(parse(text, Mutability::MutableContainers).value);
    ASSERT_TRUE(mutableRoot);
    const auto list = mutableRoot->objectAs<NSMutableArray>("a");
    ASSERT_TRUE(list);
    const auto inner = list->objectAs<NSMutableDictionary>(0);
    ASSERT_TRUE(inner);
    EXPECT_TRUE(inner->objectAs<NSMutableArray>("b"));

    const auto root = rt::cast<NSDictionary>(parse(text).value);
    ASSERT_TRUE(root);
    EXPECT_FALSE(rt::cast<NSMutableDictionary>(root));
    EXPECT_FALSE(root->objectAs<NSMutableArray>("a"));
    EXPECT_FALSE(root->objectAs<NSArray>("a")->objectAs<NSMutableDictionary>(0));
}

struct RealCase {
    std::string text;
    double expected;
};

void PrintTo(const RealCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class PropertyListXmlReaderReals : public ::testing::TestWithParam<RealCase> {};

TEST_P(PropertyListXmlReaderReals, AcceptsDecimalTextAndThePlatformsSpellings) {
    const auto number = rt::cast<NSNumber>(valueOf("<real>" + GetParam().text + "</real>"));
    ASSERT_TRUE(number);
    if (std::isnan(GetParam().expected)) {
        EXPECT_TRUE(std::isnan(number->doubleValue()));
    } else {
        EXPECT_EQ(number->doubleValue(), GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, PropertyListXmlReaderReals,
                         ::testing::Values(RealCase{"75.300003051757812", static_cast<double>(75.3f)},
                                           RealCase{"75.430000000000007", 75.43}, RealCase{" 1.5\n", 1.5},
                                           RealCase{"+2", 2}, RealCase{"-0.25", -0.25}, RealCase{".5", 0.5},
                                           RealCase{"1e3", 1000}, RealCase{"0.0", 0},
                                           RealCase{"4.9406564584124654e-324", 4.9406564584124654e-324},
                                           RealCase{"nan", std::nan("")}, RealCase{"NaN", std::nan("")},
                                           RealCase{"+infinity", INFINITY}, RealCase{"-infinity", -INFINITY},
                                           RealCase{"inf", INFINITY}, RealCase{"-Inf", -INFINITY},
                                           RealCase{"Infinity", INFINITY}),
                         testing_support::PrintedName());

// Integers in decimal or with a 0x prefix, signed or not, at the shortest text of each form;
// a prefix with no digits after it is no integer.
TEST(PropertyListXmlReader, ReadsIntegersInEitherBaseAtTheShortestSpellings) {
    const std::pair<const char*, long long> cases[] = {{"0", 0},     {"7", 7},      {"+7", 7},
                                                       {"-7", -7},   {"0x5", 5},    {"0XF", 15},
                                                       {"-0x1", -1}, {"+0x10", 16}, {"010", 10}};
    for (const auto& [text, expected] : cases) {
        const auto number = rt::cast<NSNumber>(valueOf(std::string("<integer>") + text + "</integer>"));
        ASSERT_TRUE(number) << text;
        EXPECT_EQ(number->integerValue(), expected) << text;
    }
    for (const char* text : {"0x", "-", "+0x", "x5"}) {
        EXPECT_FALSE(parse(document(std::string("<integer>") + text + "</integer>")).ok()) << text;
    }
}

TEST(PropertyListXmlReader, ReadsRealsTheSameUnderACommaLocale) {
    const locale_t comma = testing_support::commaLocale();
    if (comma == static_cast<locale_t>(0)) {
        FAIL() << "no locale with a decimal comma on this machine (scripts/install-deps makes de_DE.UTF-8)";
    }
    testing_support::ThreadLocaleScope scope(comma);
    EXPECT_EQ(rt::cast<NSNumber>(valueOf("<real>75.300003051757812</real>"))->doubleValue(),
              static_cast<double>(75.3f));
    EXPECT_FALSE(parse(document("<real>75,3</real>")).ok());
}

struct BadCase {
    std::string name;
    std::string text;
};

void PrintTo(const BadCase& c, std::ostream* out) {
    *out << c.name;
}

class PropertyListXmlReaderRejects : public ::testing::TestWithParam<BadCase> {};

TEST_P(PropertyListXmlReaderRejects, MalformedOrHostileDocuments) {
    const plist::ParseResult result = parse(GetParam().text);
    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(result.reason.empty());
}

std::string nested(const std::string& open, const std::string& close, int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) {
        text += open;
    }
    for (int i = 0; i < depth; ++i) {
        text += close;
    }
    return document(text);
}

const std::string kGood =
    document("<dict>\n\t<key>Sections</key>\n\t<array>\n\t\t<string>Default</string>\n\t</array>\n"
             "\t<key>Lap</key>\n\t<real>75.300003051757812</real>\n</dict>");

std::vector<BadCase> badCases() {
    std::vector<BadCase> cases = {
        {"Empty", ""},
        {"WhitespaceOnly", " \n\t "},
        {"PrologOnly", kProlog},
        {"EmptyPlist", kProlog + "<plist version=\"1.0\"/>"},
        {"TwoValuesInPlist", document("<string>a</string><string>b</string>")},
        {"TwoRootElements", document("<dict/>") + "<dict/>"},
        {"CrossedTags", document("<dict><array></dict></array>")},
        {"UnclosedArray", document("<array><string>a</string>")},
        // Read in place, the mark is stepped over in the buffer itself: the error's offset shows it.
        {"UnclosedArrayAfterAByteOrderMark", "\xEF\xBB\xBF" + document("<array><string>a</string>")},
        {"MissingFinalPlistTag", kProlog + "<plist version=\"1.0\">\n<dict/>\n"},
        {"UnknownElement", document("<dict><key>a</key><float>1</float></dict>")},
        {"TextInArray", document("<array>stray<string>a</string></array>")},
        {"KeyWithoutValue", document("<dict><key>a</key></dict>")},
        {"TwoKeys", document("<dict><key>a</key><key>b</key><string>x</string></dict>")},
        {"ValueWithoutKey", document("<dict><string>x</string></dict>")},
        {"KeyInArray", document("<array><key>a</key></array>")},
        {"ElementInString", document("<string>a<b/>c</string>")},
        {"TextInTrue", document("<true>yes</true>")},
        {"TextInsideTheWrapper", kProlog + "<plist version=\"1.0\">x<true/></plist>"},
        {"ElementInTrue", document("<true><false/></true>")},
        {"RealGarbage", document("<real>abc</real>")},
        {"RealEmpty", document("<real></real>")},
        {"RealSelfClosed", document("<real/>")},
        {"RealComma", document("<real>75,3</real>")},
        {"RealTrailingText", document("<real>75.3abc</real>")},
        {"RealTwoNumbers", document("<real>1 2</real>")},
        {"RealHex", document("<real>0x1p3</real>")},
        {"RealOverflow", document("<real>1e999999</real>")},
        {"RealUnderflow", document("<real>1e-999999</real>")},
        {"RealNanPayload", document("<real>nan(1)</real>")},
        {"RealOnlyAPoint", document("<real>.</real>")},
        {"RealSignAndPoint", document("<real>-.</real>")},
        {"IntegerFraction", document("<integer>12.5</integer>")},
        {"IntegerBeyondUnsigned", document("<integer>18446744073709551616</integer>")},
        {"IntegerBelowSigned", document("<integer>-9223372036854775809</integer>")},
        {"IntegerEmpty", document("<integer/>")},
        {"DateGarbage", document("<date>garbage</date>")},
        {"DateEmpty", document("<date/>")},
        {"DateOnlyDay", document("<date>2013-03-02</date>")},
        {"DateBadFields", document("<date>2013-13-45T25:61:61Z</date>")},
        {"DateFebruary30", document("<date>2013-02-29T00:00:00Z</date>")},
        {"DateFraction", document("<date>2013-03-02T12:00:00.250Z</date>")},
        {"DateOffset", document("<date>2013-03-02T12:00:00+01:00</date>")},
        {"DateBeyondWritableRange", document("<date>999999999-01-01T00:00:00Z</date>")},
        {"DataBadBase64", document("<data>aGV*bG8=</data>")},
        {"DataDanglingCharacter", document("<data>aGVsb</data>")},
        {"InvalidUtf8", document("<string>\xC3\x28</string>")},
        {"OverlongUtf8", document("<string>\xC0\xAF</string>")},
        {"NulByteBetweenElements", document(std::string("<array>\0</array>", 16))},
        {"NulByteInAnInteger", document(std::string("<integer>1\0</integer>", 21))},
        {"NulByteInAName", document(std::string("<str\0ing>a</string>", 19))},
        {"Utf16Document", std::string("\xFF\xFE<\0p\0l\0i\0s\0t\0/\0>\0", 18)},
        {"UndefinedEntity", document("<string>&nbsp;</string>")},
        {"EntityPrefix", document("<string>&ampersand;</string>")},
        {"BareAmpersand", document("<string>a & b</string>")},
        {"NulReferenceInAReal", document("<real>1&#0;</real>")},
        {"Utf16OddLength", std::string("\xFF\xFE<\0?\0x", 7)},
        {"Utf16UnpairedSurrogate", std::string("\xFE\xFF\0<\xD8\0\0>", 8)},
        {"Utf32BeyondUnicode", std::string("\xFF\xFE\0\0\0\0\x11\0", 8)},
        {"Utf16WithoutMarkOrDeclaration", std::string("<\0p\0l\0i\0s\0t\0/\0>\0", 16)},
        {"SurrogateReference", document("<string>&#xD800;</string>")},
        {"BeyondUnicodeReference", document("<string>&#x110000;</string>")},
        {"EmptyReference", document("<string>&#x;</string>")},
        {"LetterInADecimalReference", document("<string>&#6a;</string>")},
        {"BillionLaughs",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE plist [\n<!ENTITY lol \"lol\">\n"
         "<!ENTITY lol2 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">\n"
         "<!ENTITY lol3 \"&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;\">\n]>\n"
         "<plist version=\"1.0\"><string>&lol3;</string></plist>"},
        {"ExternalEntity",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE plist [<!ENTITY xxe SYSTEM \"file:///etc/passwd\">]>\n"
         "<plist version=\"1.0\"><string>&xxe;</string></plist>"},
        {"NestedArrays100k", nested("<array>", "</array>", 100000)},
        {"NestedDicts100k", nested("<dict><key>k</key>", "</dict>", 100000)},
        {"UnclosedArrays100k", nested("<array>", "", 100000)},
    };
    for (const std::size_t cut :
         {kGood.size() / 10, kGood.size() / 2, kGood.size() * 9 / 10, kGood.size() - 12}) {
        cases.push_back({"TruncatedAt" + std::to_string(cut), kGood.substr(0, cut)});
    }
    return cases;
}

// A file's reader parses the bytes it owns where they stand; the outcome must not differ.
TEST_P(PropertyListXmlReaderRejects, InPlaceWithTheSameReason) {
    std::string bytes = GetParam().text;
    const plist::ParseResult inPlace = PropertyListXmlReader(Mutability::Immutable).parseInPlace(bytes);
    EXPECT_FALSE(inPlace.ok());
    EXPECT_EQ(inPlace.reason, parse(GetParam().text).reason);
}

INSTANTIATE_TEST_SUITE_P(Table, PropertyListXmlReaderRejects, ::testing::ValuesIn(badCases()),
                         [](const auto& info) { return info.param.name; });

// A NUL character in a string's text reads as the platform reads it, written raw or as a
// reference, in keys too; the scan and the full parser agree, in place or not.
TEST(PropertyListXmlReader, ReadsNulCharactersInStrings) {
    using namespace std::string_literals;
    const std::string text = document("<dict><key>k\0</key><string>a\0b&#0;&#x0;</string></dict>"s);
    for (const auto parsing : {plist::XmlParsing::ScanFirst, plist::XmlParsing::FullOnly}) {
        std::string bytes = text;
        const plist::ParseResult result =
            PropertyListXmlReader(Mutability::Immutable, {}, parsing).parseInPlace(bytes);
        ASSERT_TRUE(result.ok()) << result.reason;
        EXPECT_EQ(rt::cast<NSDictionary>(result.value)->objectAs<NSString>(std::string("k\0", 2))->str(),
                  std::string("a\0b\0\0", 5));
    }
    EXPECT_TRUE(parse(text).ok());
}

// The same document in UTF-16 and UTF-32, either byte order, told by a byte-order mark or, without
// one, by the declaration's first characters, reads as the UTF-8 one does; never as the writer's text.
TEST(PropertyListXmlReader, ReadsUtf16AndUtf32Documents) {
    const std::u32string body =
        U"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<plist version=\"1.0\">\n"
        U"<dict><key>caf\u00e9</key><string>\u23f1 \U0001F600 &amp;</string></dict>\n</plist>\n";
    const auto encoded = [&body](std::size_t unit, bool bigEndian, bool mark) {
        std::u32string units = mark ? U"\uFEFF" : U"";
        for (const char32_t c : body) {
            if (unit == 2 && c > 0xFFFF) {
                units += static_cast<char32_t>(0xD800 + ((c - 0x10000) >> 10));
                units += static_cast<char32_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                units += c;
            }
        }
        std::string bytes;
        for (const char32_t u : units) {
            for (std::size_t i = 0; i < unit; ++i) {
                const std::size_t shift = 8 * (bigEndian ? unit - 1 - i : i);
                bytes.push_back(static_cast<char>((u >> shift) & 0xFF));
            }
        }
        return bytes;
    };
    for (const std::size_t unit : {2, 4}) {
        for (const bool bigEndian : {false, true}) {
            for (const bool mark : {false, true}) {
                const std::string name = "UTF-" + std::to_string(8 * unit) + (bigEndian ? "BE" : "LE") +
                                         (mark ? " with a mark" : "");
                std::string bytes = encoded(unit, bigEndian, mark);
                for (const auto parsing :
                     {plist::XmlParsing::ScanFirstNotingWriterText, plist::XmlParsing::FullOnly}) {
                    std::string copy = bytes;
                    const plist::ParseResult result =
                        PropertyListXmlReader(Mutability::Immutable, {}, parsing).parseInPlace(copy);
                    ASSERT_TRUE(result.ok()) << name << ": " << result.reason;
                    EXPECT_FALSE(result.writerText) << name;
                    EXPECT_EQ(rt::cast<NSDictionary>(result.value)->objectAs<NSString>("caf\xC3\xA9")->str(),
                              "\xE2\x8F\xB1 \xF0\x9F\x98\x80 &")
                        << name;
                }
                EXPECT_TRUE(parse(bytes).ok()) << name;
            }
        }
    }
}

// A high surrogate must be followed by a low one; a pair makes one character.
TEST(PropertyListXmlReader, ReadsUtf16SurrogatesOnlyInPairs) {
    const auto utf16 = [](std::initializer_list<unsigned> units) {
        std::string bytes = "\xFE\xFF";
        for (const unsigned u : units) {
            bytes += {static_cast<char>(u >> 8), static_cast<char>(u & 0xFF)};
        }
        return bytes;
    };
    EXPECT_EQ(plist::wideXmlAsUtf8(utf16({'<', 0xD83D, 0xDE00})), "<\xF0\x9F\x98\x80");
    EXPECT_EQ(plist::wideXmlAsUtf8(utf16({'<', 0xD83D, 'A'})), std::nullopt) << "a high one before a letter";
    EXPECT_EQ(plist::wideXmlAsUtf8(utf16({'<', 0xD83D, 0xD83D})), std::nullopt) << "two high ones";
    EXPECT_EQ(plist::wideXmlAsUtf8(utf16({'<', 0xD83D})), std::nullopt) << "a high one at the end";
    EXPECT_EQ(plist::wideXmlAsUtf8(utf16({'<', 0xDE00})), std::nullopt) << "a low one alone";
    EXPECT_EQ(plist::wideXmlAsUtf8("<?xml version=\"1.0\"?>"), std::nullopt) << "bytes that are not wide";
}

TEST(PropertyListXmlReader, AcceptsWhatThePlatformsParserAccepts) {
    // A byte-order mark, comments, a bare root without <plist>, a repeated key whose last value
    // wins, and text after the root element (which pugixml, like the platform, ignores).
    const auto withBom = rt::cast<NSString>(parse("\xEF\xBB\xBF" + document("<string>x</string>")).value);
    ASSERT_TRUE(withBom);
    EXPECT_EQ(withBom->str(), "x");
    const auto bare = rt::cast<NSDictionary>(parse("<dict><!-- note --><key>a</key><integer>1</integer>"
                                                   "<key>a</key><integer>2</integer></dict>")
                                                 .value);
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->count(), 1u);
    EXPECT_EQ(bare->objectAs<NSNumber>("a")->integerValue(), 2);
    EXPECT_TRUE(parse(document("<string>x</string>") + "garbage").ok());
    // Keys out of order and repeated apart: each keeps its last value, in key order, whether the
    // scan reads the text or (with a comment) the full parser does.
    for (const std::string comment : {"", "<!-- c -->"}) {
        const auto mixed = rt::cast<NSDictionary>(
            parse(document("<dict><key>b</key><integer>1</integer><key>a</key><integer>2</integer>" +
                           comment +
                           "<key>b</key><integer>3</integer><key>c</key><integer>4</integer>"
                           "<key>a</key><integer>5</integer></dict>"))
                .value);
        ASSERT_TRUE(mixed);
        std::string order;
        for (const auto& [key, value] : mixed->entries()) {
            order += key + "=" + std::to_string(rt::cast<NSNumber>(value)->integerValue()) + " ";
        }
        EXPECT_EQ(order, "a=5 b=3 c=4 ") << comment;
    }
}

// An empty dictionary is a level like any other: 128 levels are read, 129 refused.
TEST(PropertyListXmlReader, CountsAnEmptyDictionaryAsALevel) {
    for (const int arrays : {127, 128}) {
        std::string text;
        for (int i = 0; i < arrays; ++i) {
            text += "<array>";
        }
        text += "<dict/>";
        for (int i = 0; i < arrays; ++i) {
            text += "</array>";
        }
        EXPECT_EQ(parse(document(text)).ok(), arrays == 127) << arrays << " arrays";
    }
}

TEST(PropertyListXmlReader, RefusesInputLargerThanTheCap) {
    plist::Limits limits;
    limits.maxBytes = 100;
    EXPECT_TRUE(PropertyListXmlReader(Mutability::Immutable, limits).parse("<string>small</string>").ok());
    const plist::ParseResult result = PropertyListXmlReader(Mutability::Immutable, limits)
                                          .parse("<string>" + std::string(100, 'x') + "</string>");
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.reason.find("larger than 100 bytes"), std::string::npos);
}

struct TextCase {
    std::string name;
    std::string element;
    std::string text;
    // The text is that of a second key rather than the string under "k".
    bool isKey = false;
};

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << c.name;
}

class PropertyListXmlReaderText : public ::testing::TestWithParam<TextCase> {};

// Whitespace is part of a leaf's text wherever it stands in it, also beside a comment, a CDATA
// section or a processing instruction (where the tree holds it as a run of its own), and in a
// dictionary's key; between elements it is nothing. A file written by hand may have neither the
// declaration nor the document type, whose own '?' and '!' must not stand in for markup in a leaf.
TEST_P(PropertyListXmlReaderText, KeepsEveryRunOfWhitespaceInsideALeaf) {
    const std::string body = "<dict>\n\t<key>k</key>\n\t" + GetParam().element + "\n</dict>";
    for (const std::string& text : {document(body), "<plist version=\"1.0\">" + body + "</plist>"})
        for (const bool inPlace : {false, true}) {
            std::string bytes = text;
            const PropertyListXmlReader reader(Mutability::Immutable);
            const plist::ParseResult result = inPlace ? reader.parseInPlace(bytes) : reader.parse(bytes);
            ASSERT_TRUE(result.ok()) << result.reason;
            const auto root = rt::cast<NSDictionary>(result.value);
            ASSERT_TRUE(root);
            if (GetParam().isKey) {
                EXPECT_EQ(root->count(), 2u);
                EXPECT_TRUE(root->objectForKey(GetParam().text)) << "no key \"" << GetParam().text << "\"";
            } else {
                const auto string = root->objectAs<NSString>("k");
                ASSERT_TRUE(string);
                EXPECT_EQ(string->str(), GetParam().text);
            }
        }
}

INSTANTIATE_TEST_SUITE_P(
    Table, PropertyListXmlReaderText,
    ::testing::Values(TextCase{"Space", "<string> </string>", " "},
                      TextCase{"LineBreaks", "<string>\n\t\n</string>", "\n\t\n"},
                      TextCase{"SpacesAroundAComment", "<string> <!-- note --> </string>", "  "},
                      TextCase{"LineBreaksAroundAComment", "<string>\n<!-- note -->\n</string>", "\n\n"},
                      TextCase{"SpacesAroundCData", "<string> <![CDATA[x]]> </string>", " x "},
                      TextCase{"SpaceBeforeCData", "<string> <![CDATA[<]]></string>", " <"},
                      TextCase{"SpacesAroundAnInstruction", "<string> <?note x?> </string>", "  "},
                      TextCase{"TextAndSpaceAroundAComment", "<string>a <!-- b --> </string>", "a  "},
                      TextCase{"KeyOfSpacesAroundAComment",
                               "<string>v</string>\n\t<key> <!-- note --> </key><string>x</string>", "  ",
                               true}),
    [](const auto& info) { return info.param.name; });

// A comment inside a number or a date splits its text in two runs, which read as one.
TEST(PropertyListXmlReader, ReadsTheTextOfAScalarAroundAComment) {
    EXPECT_EQ(rt::cast<NSNumber>(valueOf("<integer>1<!-- c -->2</integer>"))->integerValue(), 12);
    EXPECT_EQ(rt::cast<NSNumber>(valueOf("<real>1.<!-- c -->5</real>"))->doubleValue(), 1.5);
}

TEST(PropertyListXmlReader, RefusesADoctypeInsideAnElement) {
    // The one kind of markup that a document holds outside its elements only: whitespace beside
    // it inside a leaf never comes to be read.
    EXPECT_FALSE(parse(document("<string> <!DOCTYPE x> </string>")).ok());
    EXPECT_FALSE(parse(document("<array> <!DOCTYPE x> </array>")).ok());
}

TEST(PropertyListXmlReader, StillRefusesTextBetweenElementsNextToMarkup) {
    for (const char* between :
         {"x", " x ", "<!-- c --> x", "x <!-- c -->", "<![CDATA[x]]>", " <![CDATA[ ]]> "}) {
        EXPECT_FALSE(
            parse(document(std::string("<array><string>a</string>") + between + "<string>b</string></array>"))
                .ok())
            << between;
        EXPECT_FALSE(
            parse(document(std::string("<dict><key>a</key>") + between + "<string>b</string></dict>")).ok())
            << between;
    }
    EXPECT_TRUE(parse(document("<array> <!-- c --> <string>a</string> <?pi?> </array>")).ok());
}

// Equal numbers of one document may be one object (they are immutable); numbers that differ in
// any bit, or in kind, never are.
TEST(PropertyListXmlReader, SharesEqualNumbersAndKeepsEveryValueExact) {
    std::string items;
    for (int i = 0; i < 10000; ++i) {
        items += "<real>" + std::to_string(i) + ".5</real><integer>" + std::to_string(-i) + "</integer>";
    }
    items += "<real>0.0</real><real>-0.0</real><integer>0</integer><real>30.100000381469727</real>"
             "<real>30.100000381469727</real>";
    const auto array = rt::cast<NSArray>(valueOf("<array>" + items + "</array>"));
    ASSERT_TRUE(array);
    ASSERT_EQ(array->count(), 20005u);
    for (int i = 0; i < 10000; ++i) {
        const auto real = array->objectAs<NSNumber>(static_cast<std::size_t>(2 * i));
        const auto integer = array->objectAs<NSNumber>(static_cast<std::size_t>(2 * i + 1));
        ASSERT_TRUE(real && integer);
        ASSERT_EQ(real->kind(), NSNumber::Kind::Double);
        ASSERT_EQ(real->doubleValue(), i + 0.5);
        ASSERT_EQ(integer->kind(), NSNumber::Kind::Integer);
        ASSERT_EQ(integer->integerValue(), -i);
    }
    const auto positiveZero = array->objectAs<NSNumber>(20000);
    const auto negativeZero = array->objectAs<NSNumber>(20001);
    EXPECT_FALSE(std::signbit(positiveZero->doubleValue()));
    EXPECT_TRUE(std::signbit(negativeZero->doubleValue()));
    EXPECT_NE(positiveZero, negativeZero);
    EXPECT_EQ(array->objectAs<NSNumber>(20002)->kind(), NSNumber::Kind::Integer);
    EXPECT_EQ(array->objectAs<NSNumber>(20000)->kind(), NSNumber::Kind::Double);
    EXPECT_EQ(array->objectAs<NSNumber>(20003), array->objectAs<NSNumber>(20004));
    EXPECT_EQ(array->objectAs<NSNumber>(20003)->floatValue(), 30.1F);
}

} // namespace
