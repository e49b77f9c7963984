#include "platform/foundation/PropertyListXmlScanner.h"

#include "PropertyListFixtures.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListXmlWriter.h"
#include "tests/support/XmlScanCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace {

using plist::Mutability;
using plist_test::checkScan;

const std::string kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                          "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                          "<plist version=\"1.0\">\n";

std::string document(const std::string& value) {
    return kHead + value + "\n</plist>\n";
}

std::string repeated(const std::string& text, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        out += text;
    }
    return out;
}

struct ScanCase {
    std::string name;
    std::string text;
    bool scanned;
};

void PrintTo(const ScanCase& c, std::ostream* out) {
    *out << c.name;
}

// Three thousand distinct real texts, each met twice: more texts than the table of known texts
// has places for a text this size, so texts share places and replace one another.
std::string manyRealTexts() {
    std::string items;
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < 3000; ++i) {
            items += "<real>" + std::to_string(i) + "." + std::to_string(i % 7) + "</real>";
        }
    }
    return document("<array>" + items + "</array>");
}

std::vector<ScanCase> scanCases() {
    return {
        // The layouts writers make, and the lenient corners of the format the scan still reads.
        {"WritersLayout",
         document("<dict>\n\t<key>a</key>\n\t<array>\n\t\t<real>1.5</real>\n\t</array>\n</dict>"), true},
        {"NoDeclarationNoDoctype", "<plist version=\"1.0\"><string>x</string></plist>", true},
        {"NoWrapper", "\n<dict><key>k</key><integer>1</integer></dict>\n", true},
        {"ByteOrderMark", "\xEF\xBB\xBF" + document("<true/>"), true},
        {"WrapperAttributes", "<plist version=\"1.0\" xmlns:x=\"y\" >\n<false/></plist>", true},
        // Names starting and going on with the first and last characters of each range a name allows.
        {"WrapperAttributesAtTheNameBounds",
         "<plist a=\"\" z=\"\" A=\"\" Z=\"\" _=\"\" a0=\"\" a9=\"\" a-b=\"\" a.b=\"\" "
         "a:b=\"\"><false/></plist>",
         true},
        {"EmptyForms", document("<array><string/><dict/><array/><data/><string></string></array>"), true},
        {"EmptyKey", document("<dict><key/><string>v</string><key></key><string>w</string></dict>"), true},
        {"References",
         document("<dict><key>&lt;k&#x41;&gt;</key><string>a&amp;b&quot;&apos;&#233;</string></dict>"), true},
        {"WhitespaceStrings", document("<array><string> </string><string>\n\t</string></array>"), true},
        {"RepeatedKeyKeepsTheLast",
         document("<dict><key>a</key><integer>1</integer><key>a</key><true/></dict>"), true},
        {"UnsignedBeyondSigned", document("<integer>18446744073709551615</integer>"), true},
        {"PaddedScalars",
         document(
             "<array><integer> 7 </integer><real>\n1e3\n</real><date> 2001-01-01T00:00:00Z </date></array>"),
         true},
        {"DataOverLines", document("<data>\n\taGVs\n\tbG8=\n</data>"), true},
        {"GreaterThanInText", document("<string>a > b ]]> c</string>"), true},
        {"NotANumber", document("<real>nan</real>"), true},
        // Real texts met again, texts alike in their first eight bytes, the longest text kept
        // (23 bytes) and one longer, a padded text, and a reference standing for a digit.
        {"RepeatedRealTexts",
         document("<array><real>12.340000152587891</real><real>12.340000152587892</real>"
                  "<real>12.340000152587891</real><real>1.5</real><real>&#49;.5</real><real>1.5</real>"
                  "<real> 1.5</real><real>-2.2250738585072014e-30</real><real>-2.2250738585072014e-30</real>"
                  "<real>-2.2250738585072014e-308</real><real>-2.2250738585072014e-308</real>"
                  "<real>12.340000152587892</real></array>"),
         true},
        {"ManyRealTexts", manyRealTexts(), true},
        // Everything else goes to the full parser, which reads it or refuses it.
        {"Comment", document("<array><!-- c --><true/></array>"), false},
        {"CData", document("<string><![CDATA[<]]></string>"), false},
        {"UnclosedLeafBeforeASibling", document("<array><string>a<string>b</string></array>"), false},
        {"Instruction", document("<array><?pi x?></array>"), false},
        {"CarriageReturns", "<plist version=\"1.0\">\r\n<string>a\r\nb</string>\r\n</plist>", false},
        {"OtherDeclaration", "<?xml version=\"1.0\"?><string>x</string>", false},
        {"InternalSubset", "<!DOCTYPE plist [<!ENTITY e \"x\">]><string>&e;</string>", false},
        {"QuotedGreaterThanInDoctype", "<!DOCTYPE plist \"a>b\"><string>x</string>", false},
        // A '>' inside the first or the second quoted string of the type: what follows it looks
        // like a document only to a scan that lost count of the quotes; the full parser refuses it.
        {"QuotedDocumentInDoctype", "<!DOCTYPE plist \"a><string>b\"></string>", false},
        {"QuotedDocumentInSecondString", "<!DOCTYPE plist \"x\" \"a><string>b\"></string>", false},
        {"AttributeOnAValue", document("<string a=\"b\">x</string>"), false},
        {"SpaceInATag", document("<dict ></dict>"), false},
        {"SpaceInAnEndTag", document("<dict></dict >"), false},
        {"UnknownElement", document("<set/>"), false},
        {"TextBetweenElements", document("<array>x<true/></array>"), false},
        {"KeyOutsideADictionary", document("<key>a</key>"), false},
        {"KeyWithoutAValue", document("<dict><key>a</key></dict>"), false},
        {"TwoKeys", document("<dict><key>a</key><key>b</key><true/></dict>"), false},
        {"ValueWithoutAKey", document("<dict><true/></dict>"), false},
        {"BooleanWithContent", document("<true></true>"), false},
        {"EmptyWrapper", "<plist version=\"1.0\"/>", false},
        {"TwoValuesInTheWrapper", document("<true/><false/>"), false},
        {"TrailingText", document("<true/>") + "garbage", false},
        {"SecondRoot", "<true/><false/>", false},
        {"MalformedReal", document("<real>75,3</real>"), false},
        {"MalformedDate", document("<date>2001-02-30T00:00:00Z</date>"), false},
        {"MalformedData", document("<data>a</data>"), false},
        {"UnknownEntity", document("<string>&nbsp;</string>"), false},
        {"ReferenceToNul", document("<string>&#0;</string>"), true},
        {"UnclosedElement", document("<array><true/>"), false},
        {"MismatchedEndTag", document("<string>x</key>"), false},
        {"LongerName", "<plistx><true/></plistx>", false},
        {"Empty", "", false},
        {"OnlyWhitespace", " \n\t", false},
        // Arrays of many small items, whose rest is counted ahead: nested, with text inside the
        // items, and cut short or closed wrongly after the count.
        {"ManySmallItems", document("<array>" + repeated("<array/><dict/><true/>", 5000) + "</array>"), true},
        {"ManySmallItemsNested",
         document("<array>" + repeated("<array/>", 9000) + "<array>" +
                  repeated("<string>a</string><dict/>", 6000) + "</array><true/></array>"),
         true},
        {"ManySmallItemsWithEmptyElements",
         document("<array>" + repeated("<string></string><array></array>", 5000) + "</array>"), true},
        {"ManySmallItemsUnclosed", document("<array>" + repeated("<false/>", 9000)), false},
        {"ManySmallItemsClosedWrongly", document("<array>" + repeated("<false/>", 9000) + "</dict>"), false},
        {"ManySmallItemsThenAnUnknownElement",
         document("<array>" + repeated("<false/>", 9000) + "<set/></array>"), false},
    };
}

class PropertyListXmlScanner : public ::testing::TestWithParam<ScanCase> {};

TEST_P(PropertyListXmlScanner, ReadsWhatTheFullParserReadsOrGivesUp) {
    for (const Mutability mutability : {Mutability::Immutable, Mutability::MutableContainers}) {
        const plist_test::ScanCheck check = checkScan(GetParam().text, mutability);
        EXPECT_EQ(check.difference, "");
        EXPECT_EQ(check.scanned, GetParam().scanned);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, PropertyListXmlScanner, ::testing::ValuesIn(scanCases()),
                         [](const auto& info) { return info.param.name; });

std::string nestedArrays(std::size_t depth) {
    std::string text;
    for (std::size_t i = 0; i < depth; ++i) {
        text += "<array>";
    }
    text += "<array/>";
    for (std::size_t i = 0; i < depth; ++i) {
        text += "</array>";
    }
    return text;
}

TEST(PropertyListXmlScannerLimits, GivesUpOnlyBeyondTheNestingCap) {
    plist::Limits limits;
    limits.maxDepth = 6;
    // At the cap both ways read it, with an array or a dictionary deepest.
    std::string dictionaryDeepest = nestedArrays(5);
    dictionaryDeepest.replace(dictionaryDeepest.find("<array/>"), 8, "<dict/>");
    std::string fullDictionaryDeepest = nestedArrays(5);
    fullDictionaryDeepest.replace(fullDictionaryDeepest.find("<array/>"), 8,
                                  "<dict><key>k</key><true/></dict>");
    for (const std::string& deepest : {nestedArrays(5), dictionaryDeepest, fullDictionaryDeepest}) {
        const plist_test::ScanCheck atTheCap = checkScan(document(deepest), Mutability::Immutable, limits);
        EXPECT_TRUE(atTheCap.scanned);
        EXPECT_EQ(atTheCap.difference, "") << deepest;
    }
    const plist_test::ScanCheck deeper = checkScan(document(nestedArrays(6)), Mutability::Immutable, limits);
    EXPECT_FALSE(deeper.scanned);
    EXPECT_EQ(deeper.difference, "");
    EXPECT_FALSE(
        checkScan("<dict><key>a</key>" + nestedArrays(6) + "</dict>", Mutability::Immutable, limits).scanned);
}

TEST(PropertyListXmlScannerFiles, ReadsSavedTimesAsTheProjectWritesThem) {
    const std::string text = plist::PropertyListXmlWriter().write(*plist_test::savedTimes(7, 300)).text;
    for (const Mutability mutability : {Mutability::Immutable, Mutability::MutableContainers}) {
        const plist_test::ScanCheck check = checkScan(text, mutability);
        EXPECT_TRUE(check.scanned);
        EXPECT_TRUE(check.writerText);
        EXPECT_EQ(check.difference, "");
    }
}

// One change anywhere in a text the writer made, of the kinds another writer or a hand makes:
// checkScan holds the note to the truth for every text either way, and each edit below makes a
// text the scan reads but the writer never writes.
TEST(PropertyListXmlScannerWriterText, NotesOnlyTheWritersOwnText) {
    auto root = NSMutableDictionary::with();
    root->setObject(NSString::with("a&b <c> \r d"), "Name");
    root->setObject(plist_test::savedTimes(1, 2)->objectForKey("Times - Section 1"), "Times");
    root->setObject(NSArray::with({}), "Empty");
    root->setObject(NSNumber::withInteger(-42), "Count");
    root->setObject(NSNumber::withDouble(0.1), "Tenth");
    root->setObject(NSNumber::withDouble(1.5), "Half");
    root->setObject(NSArray::with({NSNumber::withDouble(1.5)}), "Halves");
    const std::string text = plist::PropertyListXmlWriter().write(*root).text;
    const plist_test::ScanCheck original = checkScan(text, Mutability::Immutable);
    ASSERT_TRUE(original.writerText);
    ASSERT_EQ(original.difference, "");
    const std::vector<std::pair<std::string, std::string>> edits = {
        {"<real>", "<real> "},                                    // space inside a number
        {"\t<key>Name", "  <key>Name"},                           // indented with spaces
        {"</dict>\n", "</dict> \n"},                              // a space at a line's end
        {"<array/>", "<array></array>"},                          // an empty array written open and shut
        {"&amp;", "&#38;"},                                       // another reference for the same character
        {"&gt;", ">"},                                            // '>' left bare
        {"&#13;", "&#xD;"},                                       // the carriage return referenced in hex
        {"<integer>-42", "<integer>-042"},                        // a leading zero
        {"<key>Count</key>", "<key>Zero</key>"},                  // keys out of order
        {"0.10000000000000001", "0.1"},                           // the same number in fewer digits
        {"0.10000000000000001", "0.10000000000000000"},           // the same number, another last digit
        {"Z</date>", "+00:00</date>"},                            // the zone written out
        {"</plist>\n", "</plist>\n\n"},                           // a blank line at the end
        {"<plist version=\"1.0\">", "<plist version=\"1.0\" >"},  // the wrapper's layout
        {"<array>\n\t\t<real>1.5", "<array>\n\t\t<real>&#49;.5"}, // a number met before, a digit referenced
    };
    for (const auto& [from, to] : edits) {
        std::string edited = text;
        const std::size_t at = edited.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        edited.replace(at, from.size(), to);
        const plist_test::ScanCheck check = checkScan(edited, Mutability::Immutable);
        EXPECT_EQ(check.difference, "") << to;
        EXPECT_FALSE(check.writerText) << to;
    }
}

// Random one-byte edits of a saved-times text: whatever the scan reads, its note is the truth.
TEST(PropertyListXmlScannerWriterText, RandomEditsNeverMisleadTheNote) {
    const std::string text = plist::PropertyListXmlWriter().write(*plist_test::savedTimes(3, 20)).text;
    std::mt19937 random(std::hash<std::string>{}("RandomEditsNeverMisleadTheNote"));
    const std::string alphabet = " \t\n0123456789.-+eE&;<>/aZ:T";
    int read = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string edited = text;
        const std::size_t at = random() % edited.size();
        const char c = alphabet[random() % alphabet.size()];
        switch (random() % 3) {
        case 0:
            edited[at] = c;
            break;
        case 1:
            edited.insert(edited.begin() + static_cast<std::ptrdiff_t>(at), c);
            break;
        default:
            edited.erase(at, 1);
            break;
        }
        const plist_test::ScanCheck check = checkScan(edited, Mutability::Immutable);
        ASSERT_EQ(check.difference, "") << "round " << round << " at " << at;
        read += check.scanned ? 1 : 0;
    }
    // Most edits leave a text the scan reads, so the note was judged on them.
    EXPECT_GT(read, 600);
}

TEST(PropertyListXmlScannerFiles, ReadsSavedTimesAsPlistlibWritesThem) {
    if (!plist_test::havePlistlib()) {
        FAIL() << "python3 with plistlib is not installed (scripts/install-deps installs it)";
    }
    plist_test::ScratchFolder folder;
    const std::string path = folder.file("theirs.plist");
    std::string output;
    ASSERT_EQ(plist_test::runPython(
                  "import plistlib, sys, datetime\n"
                  "times = [{'All Laps': [30.04, 30.03, 15.300000190734863], 'Last Lap': 15.3,\n"
                  "          'Total Time': 75.43, 'Date': datetime.datetime(2013, 3, 2, 12, i % 60),\n"
                  "          'Note': 'Q&A <%d> caf\\u00e9' % i, 'Count': i, 'On': i % 2 == 0,\n"
                  "          'Blob': bytes(range(i % 90))} for i in range(200)]\n"
                  "d = {'Sections': ['Default', ''], 'Times - Default': times, 'Times - ': []}\n"
                  "with open(sys.argv[1], 'wb') as f: plistlib.dump(d, f)\n",
                  path, output),
              0)
        << output;
    const std::string text = plist_test::readFile(path);
    for (const Mutability mutability : {Mutability::Immutable, Mutability::MutableContainers}) {
        const plist_test::ScanCheck check = checkScan(text, mutability);
        EXPECT_TRUE(check.scanned);
        EXPECT_FALSE(check.writerText);
        EXPECT_EQ(check.difference, "");
    }
}

// The committed fuzz seeds are real files (scanned); the findings are hostile (either way, but
// the same answer).
TEST(PropertyListXmlScannerFiles, AgreesOnTheFuzzCorpus) {
    const std::filesystem::path fuzz = std::filesystem::path(LAPVANE_SOURCE_DIR) / "tests/reliability/fuzz";
    int files = 0;
    for (const char* folder : {"seeds", "findings"}) {
        for (const auto& entry : std::filesystem::directory_iterator(fuzz / folder)) {
            const std::string text = plist_test::readFile(entry.path().string());
            for (const Mutability mutability : {Mutability::Immutable, Mutability::MutableContainers}) {
                const plist_test::ScanCheck check = checkScan(text, mutability);
                EXPECT_EQ(check.difference, "") << entry.path();
                if (std::string(folder) == "seeds" && entry.path().extension() == ".xml") {
                    EXPECT_TRUE(check.scanned) << entry.path();
                }
            }
            ++files;
        }
    }
    EXPECT_GT(files, 8);
}

} // namespace
