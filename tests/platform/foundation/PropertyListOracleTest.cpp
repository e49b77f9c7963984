// Cross-checks of the codec against two independent implementations used only as test oracles:
// Python's plistlib and libplist's plistutil. Each test skips when its tool is missing; the
// project's test command installs both.

#include "platform/foundation/PropertyListFile.h"

#include "PropertyListFixtures.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"

#include <gtest/gtest.h>

namespace {

using plist::Mutability;
using plist_test::readFile;
using plist_test::ScratchFolder;

std::string dataBytes(std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i) {
        bytes.push_back(static_cast<char>(i * 37 + 11));
    }
    return bytes;
}

// A tree with every type the XML writer handles and text that needs escaping.
std::shared_ptr<NSMutableDictionary> everyType() {
    auto root = plist_test::savedTimes(4, 40);
    root->setObject(NSNumber::withFloat(75.3f), "Lap");
    root->setObject(NSString::with("Q&A <1> \"caf\xC3\xA9\" \xE2\x8F\xB1 \xF0\x9F\x98\x80"), "Text");
    root->setObject(NSMutableArray::with(), "Empty list");
    root->setObject(NSMutableDictionary::with({}), "Empty dict");
    root->setObject(NSNumber::withInteger(-1234567890123), "Integer");
    root->setObject(NSNumber::withBool(true), "Yes");
    root->setObject(NSNumber::withBool(false), "No");
    root->setObject(NSNumber::withDouble(0.0), "Zero");
    // Data at two depths, as its line length depends on the indentation.
    const std::string blob = dataBytes(200);
    const std::vector<std::uint8_t> bytes(blob.begin(), blob.end());
    root->setObject(NSData::with(bytes), "Blob");
    root->setObject(NSDictionary::with({{"blob", NSData::with(bytes)}, {"none", NSData::with({})}}),
                    "Nested");
    return root;
}

TEST(PropertyListOracle, PlistlibReadsWhatWeWriteWithTheSameValues) {
    if (!plist_test::havePlistlib()) {
        FAIL() << "python3 with plistlib is not installed (scripts/install-deps installs it)";
    }
    ScratchFolder folder;
    const std::string path = folder.file("ours.plist");
    ASSERT_TRUE(plist::writeToFile(*everyType(), path, true).ok);

    const std::string script = R"(
import datetime, plistlib, struct, sys
from decimal import Decimal
with open(sys.argv[1], 'rb') as f:
    d = plistlib.load(f)
assert Decimal(d['Lap']) == Decimal('75.3000030517578125'), repr(d['Lap'])
assert d['Text'] == 'Q&A <1> "caf\u00e9" \u23f1 \U0001F600', repr(d['Text'])
assert d['Empty list'] == [] and d['Empty dict'] == {}
assert d['Integer'] == -1234567890123 and d['Yes'] is True and d['No'] is False and d['Zero'] == 0.0
assert d['Blob'] == d['Nested']['blob'] == bytes((i * 37 + 11) % 256 for i in range(200))
assert d['Nested']['none'] == b''
assert d['Sections'] == ['Section 1', 'Section 2', 'Section 3', 'Section 4'], d['Sections']
records = d['Times - Section 1']
assert len(records) == 10, len(records)
for r in records:
    assert sorted(r) == ['All Laps', 'Date', 'Last Lap', 'Total Time'], sorted(r)
    for lap in r['All Laps'] + [r['Last Lap']]:
        assert struct.unpack('f', struct.pack('f', lap))[0] == lap, lap
    assert r['Last Lap'] == r['All Laps'][-1]
    assert isinstance(r['Date'], datetime.datetime) and r['Date'].microsecond == 0
assert records[0]['Date'] == datetime.datetime(2013, 3, 2, 13, 1, 11), records[0]['Date']
print('ok')
)";
    std::string output;
    EXPECT_EQ(plist_test::runPython(script, path, output), 0) << output;
}

TEST(PropertyListOracle, WeReadBinaryFilesWrittenByPlistlib) {
    if (!plist_test::havePlistlib()) {
        FAIL() << "python3 with plistlib is not installed (scripts/install-deps installs it)";
    }
    ScratchFolder folder;
    const std::string path = folder.file("theirs.plist");
    // plistlib writes shared containers once and references them twice, strings beyond ASCII as
    // UTF-16 (the empty string included), and 300 objects need two-byte references.
    const std::string script = R"(
import datetime, plistlib, sys
shared = [1.5, 'x']
d = {
    'Sections': ['Default', 'Z\u00fcrich \u23f1 \U0001F600', ''],
    'Times - Default': [{'Last Lap': 15.300000190734863, 'All Laps': [30.040000915527344, 15.300000190734863],
                         'Total Time': 75.43, 'Date': datetime.datetime(2013, 3, 2, 12, 0, 0)}],
    'a': shared, 'b': shared,
    'many': list(range(300)),
    'big': 2 ** 40, 'neg': -3, 'blob': b'\x00\x01\xff', 'yes': True,
}
with open(sys.argv[1], 'wb') as f:
    plistlib.dump(d, f, fmt=plistlib.FMT_BINARY)
)";
    std::string output;
    ASSERT_EQ(plist_test::runPython(script, path, output), 0) << output;
    ASSERT_EQ(readFile(path).substr(0, 8), "bplist00");

    const plist::ReadResult read = plist::readDictionaryFile(path, Mutability::MutableContainers);
    ASSERT_TRUE(read.ok()) << read.reason;
    const auto root = read.mutableDictionary();
    ASSERT_TRUE(root);
    const auto sections = root->objectAs<NSMutableArray>("Sections");
    ASSERT_TRUE(sections);
    ASSERT_EQ(sections->count(), 3u);
    EXPECT_EQ(sections->objectAs<NSString>(1)->str(), "Z\xC3\xBCrich \xE2\x8F\xB1 \xF0\x9F\x98\x80");
    EXPECT_EQ(sections->objectAs<NSString>(2)->str(), "");
    const auto record = root->objectAs<NSMutableArray>("Times - Default")->objectAs<NSMutableDictionary>(0);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->objectAs<NSNumber>("Last Lap")->floatValue(), 15.3f);
    EXPECT_EQ(record->objectAs<NSArray>("All Laps")->objectAs<NSNumber>(0)->floatValue(), 30.04f);
    EXPECT_EQ(record->objectAs<NSNumber>("Total Time")->doubleValue(), 75.43);
    EXPECT_EQ(record->objectAs<NSDate>("Date")->timeIntervalSinceReferenceDate(), 383918400.0);
    EXPECT_TRUE(root->objectForKey("a")->isEqual(*root->objectForKey("b")));
    EXPECT_NE(root->objectForKey("a"), root->objectForKey("b"))
        << "each reference gets its own mutable array";
    EXPECT_EQ(root->objectAs<NSArray>("many")->objectAs<NSNumber>(299)->integerValue(), 299);
    EXPECT_EQ(root->objectAs<NSNumber>("big")->integerValue(), std::int64_t{1} << 40);
    EXPECT_EQ(root->objectAs<NSNumber>("neg")->integerValue(), -3);
    EXPECT_EQ(root->objectAs<NSData>("blob")->bytes(), (std::vector<std::uint8_t>{0x00, 0x01, 0xFF}));
    EXPECT_TRUE(root->objectAs<NSNumber>("yes")->boolValue());
}

TEST(PropertyListOracle, OurXmlIsByteIdenticalToPlistutilsForTheSameSortedTree) {
    if (!plist_test::havePlistlib() || !plist_test::haveProgram("plistutil")) {
        FAIL()
            << "python3 with plistlib or plistutil (libplist-utils) is not installed (scripts/install-deps "
               "installs them)";
    }
    ScratchFolder folder;
    const std::string ours = folder.file("ours.xml");
    const std::string binary = folder.file("in.plist");
    const std::string theirs = folder.file("out.xml");
    ASSERT_TRUE(plist::writeToFile(*everyType(), ours, true).ok);

    // plistlib re-encodes our file as binary with its keys sorted; libplist then writes XML
    // keeping that order, so both writers start from the same sorted tree.
    std::string output;
    ASSERT_EQ(plist_test::runPython(
                  "import plistlib, sys\n"
                  "with open(sys.argv[1], 'rb') as f: d = plistlib.load(f)\n"
                  "with open(sys.argv[2], 'wb') as f: plistlib.dump(d, f, fmt=plistlib.FMT_BINARY)\n",
                  ours + " " + binary, output),
              0)
        << output;
    ASSERT_EQ(plist_test::run("plistutil -i " + binary + " -o " + theirs, output), 0) << output;
    EXPECT_EQ(readFile(theirs), readFile(ours));

    // And libplist reading our XML writes the same bytes back.
    ASSERT_EQ(plist_test::run("plistutil -i " + ours + " -f xml -o " + theirs, output), 0) << output;
    EXPECT_EQ(readFile(theirs), readFile(ours));
}

} // namespace

namespace {

// Files the platform reads, as plistlib writes them: a binary list holding UIDs and a string with
// a NUL, and XML in UTF-16 (with its byte-order mark) and in UTF-32 (big-endian, told by its
// declaration). Each is read; what can be written back is written as the platform's XML writer
// writes it (a UID as {"CF$UID": N}) and plistlib reads that; the NUL cannot stand in XML 1.0,
// so writing it fails and says why.
TEST(PropertyListOracle, WeReadWhatThePlatformReadsFromPlistlib) {
    if (!plist_test::havePlistlib()) {
        FAIL() << "python3 with plistlib is not installed (scripts/install-deps installs it)";
    }
    ScratchFolder folder;
    const std::string make = R"(
import plistlib, sys
folder = sys.argv[1]
with open(folder + '/binary.plist', 'wb') as f:
    plistlib.dump({'Sections': ['Default'], 'Foreign': 'a\x00b',
                   'Archive': [plistlib.UID(3), plistlib.UID(2 ** 40), plistlib.UID(3)]}, f, fmt=plistlib.FMT_BINARY)
text = plistlib.dumps({'Sections': ['Caf\u00e9 \U0001F600'], 'n': 5}).decode()
with open(folder + '/utf16.plist', 'wb') as f:
    f.write(text.replace('UTF-8', 'UTF-16').encode('utf-16'))
with open(folder + '/utf32.plist', 'wb') as f:
    f.write(text.replace('UTF-8', 'UTF-32').encode('utf-32-be'))
)";
    std::string output;
    ASSERT_EQ(plist_test::runPython(make, folder.path(), output), 0) << output;

    for (const char* name : {"utf16.plist", "utf32.plist"}) {
        const plist::ReadResult read =
            plist::readDictionaryFile(folder.file(name), Mutability::MutableContainers);
        ASSERT_TRUE(read.ok()) << name << ": " << read.reason;
        EXPECT_EQ(read.dictionary->objectAs<NSArray>("Sections")->objectAs<NSString>(0)->str(),
                  "Caf\xC3\xA9 \xF0\x9F\x98\x80")
            << name;
        EXPECT_EQ(read.dictionary->objectAs<NSNumber>("n")->integerValue(), 5) << name;
    }

    const plist::ReadResult read =
        plist::readDictionaryFile(folder.file("binary.plist"), Mutability::MutableContainers);
    ASSERT_TRUE(read.ok()) << read.reason;
    const auto root = read.mutableDictionary();
    EXPECT_EQ(root->objectAs<NSString>("Foreign")->str(), std::string("a\0b", 3));
    const plist::EncodeResult refused = plist::xmlTextForFile(*root);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.reason.find("/Foreign: a string that is not valid UTF-8 or holds a NUL"),
              std::string::npos)
        << refused.reason;

    root->removeObjectForKey("Foreign");
    const plist::EncodeResult text = plist::xmlTextForFile(*root);
    ASSERT_TRUE(text.ok) << text.reason;
    EXPECT_NE(
        text.text.find(
            "\t\t<dict>\n\t\t\t<key>CF$UID</key>\n\t\t\t<integer>1099511627776</integer>\n\t\t</dict>\n"),
        std::string::npos)
        << text.text;
    const std::string ours = folder.file("ours.plist");
    plist_test::writeFile(ours, text.text);
    const std::string check = R"(
import plistlib, sys
with open(sys.argv[1], 'rb') as f:
    d = plistlib.load(f)
assert d == {'Sections': ['Default'], 'Archive': [{'CF$UID': 3}, {'CF$UID': 2 ** 40}, {'CF$UID': 3}]}, d
print('ok')
)";
    EXPECT_EQ(plist_test::runPython(check, ours, output), 0) << output;
}

} // namespace
