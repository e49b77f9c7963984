#include "platform/foundation/PropertyListBinaryReader.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

namespace {

using plist::Mutability;
using plist::PropertyListBinaryReader;
using Bytes = std::vector<std::uint8_t>;

// Assembles bplist00 files object by object, so that tests can state exactly which bytes a
// hostile file holds. References are symbolic until build() picks their size.
class Bplist {
  public:
    std::size_t add(Bytes head, std::vector<std::uint64_t> refs = {}) {
        objects_.push_back({std::move(head), std::move(refs)});
        return objects_.size() - 1;
    }

    static Bytes marker(std::uint8_t type, std::uint64_t count) {
        if (count < 15) {
            return {static_cast<std::uint8_t>(type | count)};
        }
        Bytes bytes{static_cast<std::uint8_t>(type | 0x0F), 0x13};
        append(bytes, count, 8);
        return bytes;
    }
    static void append(Bytes& bytes, std::uint64_t value, std::size_t width) {
        for (std::size_t i = width; i-- > 0;) {
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    }
    static Bytes ascii(const std::string& text) {
        Bytes bytes = marker(0x50, text.size());
        bytes.insert(bytes.end(), text.begin(), text.end());
        return bytes;
    }
    static Bytes utf16(const std::u16string& text) {
        Bytes bytes = marker(0x60, text.size());
        for (const char16_t unit : text) {
            append(bytes, unit, 2);
        }
        return bytes;
    }
    static Bytes integer(std::int64_t value) {
        Bytes bytes{0x13};
        append(bytes, static_cast<std::uint64_t>(value), 8);
        return bytes;
    }
    static Bytes real(double value) {
        std::uint64_t raw = 0;
        std::memcpy(&raw, &value, 8);
        Bytes bytes{0x23};
        append(bytes, raw, 8);
        return bytes;
    }
    static Bytes date(double value) {
        Bytes bytes = real(value);
        bytes[0] = 0x33;
        return bytes;
    }

    // The array or dictionary markers; a dictionary's refs are its keys, then its values.
    std::size_t array(std::vector<std::uint64_t> refs) {
        const std::size_t count = refs.size();
        return add(marker(0xA0, count), std::move(refs));
    }
    std::size_t dict(std::vector<std::uint64_t> keys, const std::vector<std::uint64_t>& values) {
        const std::size_t count = keys.size();
        keys.insert(keys.end(), values.begin(), values.end());
        return add(marker(0xD0, count), std::move(keys));
    }

    [[nodiscard]] std::string build(std::uint64_t top = 0) const {
        const std::size_t refSize = objects_.size() < 256 ? 1 : objects_.size() < 65536 ? 2 : 4;
        std::string out = "bplist00";
        std::vector<std::uint64_t> offsets;
        for (const auto& object : objects_) {
            offsets.push_back(out.size());
            out.append(object.head.begin(), object.head.end());
            Bytes refs;
            for (const std::uint64_t ref : object.refs) {
                append(refs, ref, refSize);
            }
            out.append(refs.begin(), refs.end());
        }
        const std::uint64_t tableOffset = out.size();
        const std::size_t offsetSize = tableOffset < 256 ? 1 : tableOffset < 65536 ? 2 : 4;
        Bytes tail;
        for (const std::uint64_t offset : offsets) {
            append(tail, offset, offsetSize);
        }
        tail.insert(tail.end(), 6, 0);
        tail.push_back(static_cast<std::uint8_t>(offsetSize));
        tail.push_back(static_cast<std::uint8_t>(refSize));
        append(tail, objects_.size(), 8);
        append(tail, top, 8);
        append(tail, tableOffset, 8);
        out.append(tail.begin(), tail.end());
        return out;
    }

  private:
    struct Object {
        Bytes head;
        std::vector<std::uint64_t> refs;
    };
    std::vector<Object> objects_;
};

// Trailer fields, counted from the end of the file.
enum class Field { OffsetSize, RefSize, ObjectCount, TopObject, TableOffset };

std::string withTrailer(std::string file, Field field, std::uint64_t value) {
    const std::size_t trailer = file.size() - 32;
    const auto put = [&](std::size_t at, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i) {
            file[at + i] = static_cast<char>(value >> (8 * (width - 1 - i)));
        }
    };
    switch (field) {
    case Field::OffsetSize:
        put(trailer + 6, 1);
        break;
    case Field::RefSize:
        put(trailer + 7, 1);
        break;
    case Field::ObjectCount:
        put(trailer + 8, 8);
        break;
    case Field::TopObject:
        put(trailer + 16, 8);
        break;
    case Field::TableOffset:
        put(trailer + 24, 8);
        break;
    }
    return file;
}

// Sets the offset-table entry of object `index` (one-byte offsets).
std::string withOffset(std::string file, std::size_t index, std::uint8_t offset) {
    std::uint64_t table = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        table = (table << 8) | static_cast<unsigned char>(file[file.size() - 8 + i]);
    }
    file[table + index] = static_cast<char>(offset);
    return file;
}

plist::ParseResult parse(const std::string& file, Mutability mutability = Mutability::Immutable) {
    return PropertyListBinaryReader(mutability).parse(file);
}

std::string sampleFile() {
    Bplist b;
    const auto root = b.dict({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {11, 12, 13, 14, 15, 16, 17, 18, 19, 20});
    EXPECT_EQ(root, 0u);
    for (const char* key : {"name", "uni", "empty", "small", "big", "lap", "total", "when", "blob", "list"}) {
        b.add(Bplist::ascii(key));
    }
    b.add(Bplist::ascii("Default"));                        // 11
    b.add(Bplist::utf16(u"Z\u00fcrich \u23f1 \U0001F600")); // 12
    b.add(Bplist::utf16(u""));                              // 13
    b.add({0x11, 0xFF, 0xFE});                              // 14: 65534, two bytes, unsigned
    b.add(Bplist::integer(-5));                             // 15
    b.add({0x22, 0x42, 0x96, 0x99, 0x9A});                  // 16: 75.3f
    b.add(Bplist::real(75.43));                             // 17
    b.add(Bplist::date(383918400.5));                       // 18
    b.add({0x43, 'a', 'b', 'c'});                           // 19
    b.array({11, 21, 11, 22});                              // 20: shares "Default"
    b.add({0x09});                                          // 21: true
    b.array({});                                            // 22
    return b.build();
}

TEST(PropertyListBinaryReader, ReadsEveryPropertyListType) {
    const plist::ParseResult result = parse(sampleFile());
    ASSERT_TRUE(result.ok()) << result.reason;
    const auto root = rt::cast<NSDictionary>(result.value);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->objectAs<NSString>("name")->str(), "Default");
    EXPECT_EQ(root->objectAs<NSString>("uni")->str(), "Z\xC3\xBCrich \xE2\x8F\xB1 \xF0\x9F\x98\x80");
    EXPECT_EQ(root->objectAs<NSString>("empty")->str(), "");
    EXPECT_EQ(root->objectAs<NSNumber>("small")->integerValue(), 65534);
    EXPECT_EQ(root->objectAs<NSNumber>("big")->integerValue(), -5);
    EXPECT_EQ(root->objectAs<NSNumber>("lap")->kind(), NSNumber::Kind::Float);
    EXPECT_EQ(root->objectAs<NSNumber>("lap")->floatValue(), 75.3f);
    EXPECT_EQ(root->objectAs<NSNumber>("total")->doubleValue(), 75.43);
    EXPECT_EQ(root->objectAs<NSDate>("when")->timeIntervalSinceReferenceDate(), 383918400.5);
    EXPECT_EQ(root->objectAs<NSData>("blob")->bytes(), (Bytes{'a', 'b', 'c'}));
    const auto list = root->objectAs<NSArray>("list");
    ASSERT_TRUE(list);
    ASSERT_EQ(list->count(), 4u);
    EXPECT_EQ(list->objectAs<NSString>(2)->str(), "Default");
    EXPECT_TRUE(list->objectAs<NSNumber>(1)->boolValue());
    EXPECT_FALSE(rt::cast<NSMutableArray>(list));
}

TEST(PropertyListBinaryReader, GivesEveryReferenceItsOwnMutableContainer) {
    Bplist b;
    b.dict({1, 2}, {3, 3}); // two keys naming the same array object
    b.add(Bplist::ascii("a"));
    b.add(Bplist::ascii("b"));
    b.array({});
    const auto root = rt::cast<NSMutableDictionary>(parse(b.build(), Mutability::MutableContainers).value);
    ASSERT_TRUE(root);
    const auto a = root->objectAs<NSMutableArray>("a");
    const auto second = root->objectAs<NSMutableArray>("b");
    ASSERT_TRUE(a && second);
    a->addObject(NSString::with("x"));
    EXPECT_EQ(second->count(), 0u) << "a change through one key must not show through the other";
}

// Immutable empty containers, even from objects of their own, are one object per kind; a
// non-empty one is never taken for them.
TEST(PropertyListBinaryReader, SharesEmptyImmutableContainersByKind) {
    Bplist b;
    b.array({1, 2, 3, 4, 5});
    b.array({});
    b.array({});
    b.dict({}, {});
    b.dict({}, {});
    b.array({1});
    const auto list = rt::cast<NSArray>(parse(b.build(), Mutability::Immutable).value);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->count(), 5u);
    const auto& items = list->items();
    EXPECT_EQ(items[0], items[1]);
    EXPECT_EQ(items[2], items[3]);
    EXPECT_NE(items[0], items[2]);
    EXPECT_TRUE(rt::cast<NSArray>(items[0]) && rt::cast<NSDictionary>(items[2]));
    EXPECT_EQ(list->objectAs<NSArray>(4)->count(), 1u);
}

// A binary dictionary lists its keys in any order, and may repeat one: the last value stands.
TEST(PropertyListBinaryReader, KeepsTheLastOfARepeatedKeyInAnyOrder) {
    Bplist b;
    b.dict({1, 2, 1, 3}, {4, 5, 6, 7}); // b, a, b, c
    b.add(Bplist::ascii("b"));
    b.add(Bplist::ascii("a"));
    b.add(Bplist::ascii("c"));
    for (const std::int64_t n : {1, 2, 3, 4}) {
        b.add(Bplist::integer(n));
    }
    const auto root = rt::cast<NSDictionary>(parse(b.build()).value);
    ASSERT_TRUE(root);
    std::string order;
    for (const auto& [key, value] : root->entries()) {
        order += key + "=" + std::to_string(rt::cast<NSNumber>(value)->integerValue()) + " ";
    }
    EXPECT_EQ(order, "a=2 b=3 c=4 ");
}

TEST(PropertyListBinaryReader, AcceptsModestSharingOfContainers) {
    // Eight levels, each an array referencing the level below twice: 511 values from 9 objects.
    Bplist b;
    b.add(Bplist::ascii("leaf"));
    for (std::uint64_t level = 1; level <= 8; ++level) {
        b.array({level - 1, level - 1});
    }
    const plist::ParseResult result = parse(b.build(8));
    EXPECT_TRUE(result.ok()) << result.reason;
}

struct BadCase {
    std::string name;
    std::string file;
};

void PrintTo(const BadCase& c, std::ostream* out) {
    *out << c.name;
}

class PropertyListBinaryReaderRejects : public ::testing::TestWithParam<BadCase> {};

TEST_P(PropertyListBinaryReaderRejects, MalformedOrHostileFiles) {
    const plist::ParseResult result = parse(GetParam().file);
    EXPECT_FALSE(result.ok());
    EXPECT_FALSE(result.reason.empty());
}

// A root array holding one object given by its bytes.
std::string holding(const Bytes& object) {
    Bplist b;
    b.array({1});
    b.add(object);
    return b.build();
}

std::string cycle(std::size_t length) {
    Bplist b;
    for (std::size_t i = 0; i < length; ++i) {
        b.array({(i + 1) % length});
    }
    return b.build();
}

std::string dagBomb(std::uint64_t levels) {
    Bplist b;
    b.add(Bplist::ascii("x"));
    for (std::uint64_t level = 1; level <= levels; ++level) {
        b.array({level - 1, level - 1});
    }
    return b.build(levels);
}

std::string nestedArrays(std::uint64_t depth) {
    Bplist b;
    for (std::uint64_t i = 0; i + 1 < depth; ++i) {
        b.array({i + 1});
    }
    b.array({});
    return b.build();
}

std::vector<BadCase> badCases() {
    const std::string good = sampleFile();
    Bplist nonStringKey;
    nonStringKey.dict({1}, {1});
    nonStringKey.add(Bplist::integer(1));
    Bplist refBeyond;
    refBeyond.array({1, 200});
    refBeyond.add(Bplist::ascii("a"));
    Bplist dictItself;
    dictItself.dict({1}, {0});
    dictItself.add(Bplist::ascii("self"));
    std::vector<BadCase> cases = {
        {"MagicOnly", "bplist00"},
        {"Version01", "bplist01" + good.substr(8)},
        {"Truncated30", good.substr(0, good.size() * 3 / 10)},
        {"Truncated60", good.substr(0, good.size() * 6 / 10)},
        {"Truncated95", good.substr(0, good.size() * 95 / 100)},
        {"OffsetSize0", withTrailer(good, Field::OffsetSize, 0)},
        {"OffsetSize9", withTrailer(good, Field::OffsetSize, 9)},
        {"RefSize0", withTrailer(good, Field::RefSize, 0)},
        {"RefSize255", withTrailer(good, Field::RefSize, 255)},
        {"NoObjects", withTrailer(good, Field::ObjectCount, 0)},
        {"ObjectCount2To62", withTrailer(good, Field::ObjectCount, std::uint64_t{1} << 62)},
        {"ObjectCountMax", withTrailer(good, Field::ObjectCount, ~std::uint64_t{0})},
        {"TopBeyondCount", withTrailer(good, Field::TopObject, 23)},
        {"TablePastEnd", withTrailer(good, Field::TableOffset, ~std::uint64_t{0} - 15)},
        {"TableInHeader", withTrailer(good, Field::TableOffset, 3)},
        {"OffsetIntoMagic", withOffset(good, 3, 2)},
        {"OffsetIntoTable", withOffset(good, 3, static_cast<std::uint8_t>(good.size() - 40))},
        {"RefBeyondCount", refBeyond.build()},
        {"ArrayCountBeyondFile", holding(Bplist::marker(0xA0, std::uint64_t{1} << 62))},
        {"StringBeyondFile", holding({0x5F, 0x10, 0xFF, 'a', 'b'})},
        {"DataBeyondFile", holding({0x4F, 0x13, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
        {"MalformedCount", holding({0x5F, 0x23, 'a'})},
        {"SelfCycle", cycle(1)},
        {"ThreeCycle", cycle(3)},
        {"DictionaryHoldsItself", dictItself.build()},
        {"DagBomb20Levels", dagBomb(20)},
        {"DagBomb32Levels", dagBomb(32)},
        {"NestedArrays100k", nestedArrays(100000)},
        {"NullObject", holding({0x00})},
        {"FillObject", holding({0x0F})},
        {"UidOfNineBytes", holding({0x88, 1, 2, 3, 4, 5, 6, 7, 8, 9})},
        {"UidOneByteShort", holding({0x81, 0x01})},
        {"Set", holding({0xC1, 0x00})},
        {"UnknownType", holding({0x70})},
        {"Integer32Bytes", holding({0x15, 0x00})},
        {"Integer128BeyondRange", holding([] {
             Bytes bytes{0x14};
             Bplist::append(bytes, 1, 8);
             Bplist::append(bytes, 0, 8);
             return bytes;
         }())},
        {"Real1Byte", holding({0x20, 0x00})},
        {"Real16Bytes", holding({0x24, 0x00})},
        {"Date4Bytes", holding({0x32, 0x00, 0x00, 0x00, 0x00})},
        // Scalars one byte short, whose last byte would be the offset table's first.
        {"DateOneByteShort", holding({0x33, 0x41, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00})},
        {"RealOneByteShort", holding({0x23, 0x40, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00})},
        {"IntegerOneByteShort", holding({0x13, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00})},
        {"DateNotFinite", holding(Bplist::date(std::numeric_limits<double>::infinity()))},
        {"DateBeyondWritableRange", holding(Bplist::date(1e17))},
        {"NonStringKey", nonStringKey.build()},
        {"UnpairedHighSurrogate", holding(Bplist::utf16(u"\xD800"
                                                        u"a"))},
        {"LoneLowSurrogate", holding(Bplist::utf16(u"\xDC00"))},
        {"AsciiHighByte", holding({0x51, 0xE9})},
    };
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Table, PropertyListBinaryReaderRejects, ::testing::ValuesIn(badCases()),
                         [](const auto& info) { return info.param.name; });

// Both sides of each bound of the trailer and of the last object, by exact bytes: the offset
// table lies after the header and before the trailer, and an object may end just where the table
// begins. A refused file is refused for the bound it crosses.
TEST(PropertyListBinaryReader, ReadsOrRefusesEachSideOfItsBounds) {
    // The magic, a one-item array at 8, the data "abc" at 10 to 14, the table, the trailer.
    const std::string data = holding({0x43, 'a', 'b', 'c'});
    ASSERT_EQ(data.size(), 48u);
    const struct {
        const char* name;
        std::string file;
        const char* reason; // empty when the file is read
    } cases[] = {
        {"DataEndingAtTheTable", data, ""},
        {"AsciiEndingAtTheTable", holding(Bplist::ascii("abc")), ""},
        {"Utf16EndingAtTheTable", holding(Bplist::utf16(u"ab")), ""},
        {"TableAtTheHeadersEnd", withTrailer(data, Field::TableOffset, 8), "offset table outside the file"},
        {"TableJustAfterTheHeader", withTrailer(data, Field::TableOffset, 9), "lies outside the object area"},
        {"TableAtTheTrailer", withTrailer(data, Field::TableOffset, 16),
         "offset table runs past the trailer"},
        {"TableInTheTrailer", withTrailer(data, Field::TableOffset, 17), "offset table outside the file"},
        // A long count's marker and its integer against the end of the object area.
        {"LongCountEndingAtTheTable", holding({0x5F, 0x10, 0x00}), ""},
        {"AsciiWithAnEightByteCount", holding(Bplist::ascii(std::string(20, 'a'))), ""},
        {"CountMarkerLastInTheArea", holding({0x5F}), "count runs past the object area"},
        {"ReferenceOneBeyondTheObjects",
         [] {
             Bplist b;
             b.array({2});
             b.add({0x09});
             return b.build();
         }(),
         "reference to object 2 beyond the object table"},
        {"OffsetSizeNine", withTrailer(data, Field::OffsetSize, 9), "outside 1 to 8"},
        {"ReferenceSizeNine", withTrailer(data, Field::RefSize, 9), "outside 1 to 8"},
        {"OneByteShorterThanAnyFile", data.substr(0, 8) + std::string(33, '\0'), "too short"},
    };
    for (const auto& c : cases) {
        const plist::ParseResult result = parse(c.file);
        EXPECT_EQ(result.ok(), *c.reason == '\0') << c.name << ": " << result.reason;
        EXPECT_NE(result.reason.find(c.reason), std::string::npos) << c.name << ": " << result.reason;
    }
    // The array and its data are two values: as many as a cap of two allows, one more than one.
    plist::Limits limits;
    limits.maxNodes = 2;
    EXPECT_TRUE(PropertyListBinaryReader(Mutability::Immutable, limits).parse(data).ok());
    limits.maxNodes = 1;
    EXPECT_FALSE(PropertyListBinaryReader(Mutability::Immutable, limits).parse(data).ok());
    // Containers nested as deep as the cap allows, and a file of as many bytes as it allows.
    limits = plist::Limits{};
    limits.maxDepth = 5;
    EXPECT_TRUE(PropertyListBinaryReader(Mutability::Immutable, limits).parse(nestedArrays(5)).ok());
    EXPECT_FALSE(PropertyListBinaryReader(Mutability::Immutable, limits).parse(nestedArrays(6)).ok());
    limits = plist::Limits{};
    limits.maxBytes = data.size();
    EXPECT_TRUE(PropertyListBinaryReader(Mutability::Immutable, limits).parse(data).ok());
    limits.maxBytes = data.size() - 1;
    EXPECT_FALSE(PropertyListBinaryReader(Mutability::Immutable, limits).parse(data).ok());
    EXPECT_TRUE(PropertyListBinaryReader::looksBinary("bplist"));
    EXPECT_FALSE(PropertyListBinaryReader::looksBinary("bplis"));
}

// Sixteen-byte integers are read where they hold a 64-bit value: the unsigned range with a high
// half of 0, the negative signed range with its sign extended through a high half of all ones.
TEST(PropertyListBinaryReader, ReadsSixteenByteIntegersOfTheSixtyFourBitRangesOnly) {
    constexpr std::uint64_t kOnes = ~std::uint64_t{0};
    constexpr std::uint64_t kTopBit = std::uint64_t{1} << 63;
    const struct {
        std::uint64_t high;
        std::uint64_t low;
        bool read;
    } cases[] = {
        {0, 5, true},      {0, kOnes, true},          {kOnes, kOnes, true}, {kOnes, kTopBit, true},
        {kOnes, 5, false}, {kOnes - 1, kOnes, false}, {1, 0, false},        {kTopBit, 0, false},
    };
    for (const auto& c : cases) {
        Bytes object{0x14};
        Bplist::append(object, c.high, 8);
        Bplist::append(object, c.low, 8);
        const plist::ParseResult result = parse(holding(object));
        ASSERT_EQ(result.ok(), c.read) << c.high << " " << c.low << ": " << result.reason;
        if (c.read) {
            EXPECT_EQ(rt::cast<NSArray>(result.value)->objectAs<NSNumber>(0)->unsignedIntegerValue(), c.low);
        }
    }
}

// Strings may hold a NUL character, in either encoding; a UID (a keyed archive's reference, of 1
// to 8 bytes) reads as the dictionary {"CF$UID": N} that the platform's XML writer makes of one,
// an immutable leaf shared by its references even among mutable containers.
TEST(PropertyListBinaryReader, ReadsNulCharactersAndUids) {
    Bplist b;
    b.array({1, 2, 3, 4, 5, 3});
    b.add({0x53, 'a', 0x00, 'b'});
    b.add(Bplist::utf16(std::u16string(u"\0\u00e9\0", 3)));
    b.add({0x80, 0x03});
    b.add({0x83, 0x01, 0x02, 0x03, 0x04});
    b.add({0x87, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE});
    const plist::ParseResult result = parse(b.build(), Mutability::MutableContainers);
    ASSERT_TRUE(result.ok()) << result.reason;
    const auto items = rt::cast<NSMutableArray>(result.value);
    ASSERT_TRUE(items);
    EXPECT_EQ(items->objectAs<NSString>(0)->str(), std::string("a\0b", 3));
    EXPECT_EQ(items->objectAs<NSString>(1)->str(), std::string("\0\xC3\xA9\0", 4));
    const std::uint64_t expected[] = {3, 0x01020304, 0xFFFFFFFFFFFFFFFEu, 3};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto uid = items->objectAs<NSDictionary>(i + 2);
        ASSERT_TRUE(uid) << i;
        EXPECT_FALSE(rt::cast<NSMutableDictionary>(uid)) << "a UID is a leaf, never mutable";
        ASSERT_EQ(uid->count(), 1u);
        EXPECT_EQ(uid->objectAs<NSNumber>("CF$UID")->unsignedIntegerValue(), expected[i]) << i;
    }
    EXPECT_EQ(items->objectAtIndex(2), items->objectAtIndex(5));
}

// A dictionary that names one key object in every entry holds that key once, with its last value,
// without a copy of the key per entry: even a cap that allows no copies at all reads it, and
// another key between the repeats keeps its own value.
TEST(PropertyListBinaryReader, ReadsAKeyObjectRepeatedThroughADictionaryOnce) {
    constexpr std::size_t kEntries = 20000;
    Bplist b;
    std::vector<std::uint64_t> keys(kEntries, 1);
    std::vector<std::uint64_t> values(kEntries, 3);
    keys[kEntries / 2] = 2;
    values[kEntries / 2] = 4;
    values.back() = 4;
    b.dict(keys, values);
    b.add(Bplist::ascii(std::string(65536, 'k')));
    b.add(Bplist::ascii("a"));
    b.add(Bplist::integer(1));
    b.add(Bplist::integer(2));
    plist::Limits noCopies;
    noCopies.maxCopiedBytesPerByte = 0;
    noCopies.minCopiedBytes = 0;
    const plist::ParseResult result =
        PropertyListBinaryReader(Mutability::MutableContainers, noCopies).parse(b.build());
    ASSERT_TRUE(result.ok()) << result.reason;
    const auto root = rt::cast<NSDictionary>(result.value);
    ASSERT_EQ(root->count(), 2u);
    EXPECT_EQ(root->objectAs<NSNumber>(std::string(65536, 'k'))->integerValue(), 2);
    EXPECT_EQ(root->objectAs<NSNumber>("a")->integerValue(), 2);
}

// What a shared object costs each time it is made again counts against a cap in bytes: a
// dictionary with a 64 KB key read again for each of 20,000 references (1.3 GB) is refused at
// once; one with a 16 KB key read again for two references is not. Keys short enough to need no
// allocation of their own cost nothing, however often they are copied.
TEST(PropertyListBinaryReader, CountsTheBytesOfCopiesOfSharedObjects) {
    const auto sharedDictionary = [](std::size_t references, std::size_t keyLength) {
        Bplist b;
        b.array(std::vector<std::uint64_t>(references, 1));
        b.dict({2}, {3});
        b.add(Bplist::ascii(std::string(keyLength, 'k')));
        b.add({0x09});
        return b.build();
    };
    const auto started = std::chrono::steady_clock::now();
    const plist::ParseResult many = parse(sharedDictionary(20000, 65536), Mutability::MutableContainers);
    EXPECT_FALSE(many.ok());
    EXPECT_NE(many.reason.find("bytes of copies (shared references)"), std::string::npos) << many.reason;
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(), 1.0);

    const plist::ParseResult two = parse(sharedDictionary(2, 16384), Mutability::MutableContainers);
    ASSERT_TRUE(two.ok()) << two.reason;
    EXPECT_EQ(rt::cast<NSArray>(two.value)->objectAs<NSDictionary>(1)->count(), 1u);

    // With a cap that allows only what the containers cost, a key of 15 bytes is free and one of 16
    // is not.
    plist::Limits containersOnly;
    containersOnly.maxCopiedBytesPerByte = 0;
    containersOnly.minCopiedBytes = 64 + 48;
    EXPECT_TRUE(
        PropertyListBinaryReader(Mutability::Immutable, containersOnly).parse(sharedDictionary(2, 15)).ok());
    EXPECT_FALSE(
        PropertyListBinaryReader(Mutability::Immutable, containersOnly).parse(sharedDictionary(2, 16)).ok());
    EXPECT_FALSE(
        PropertyListBinaryReader(Mutability::Immutable, containersOnly).parse(sharedDictionary(3, 1)).ok());
}

TEST(PropertyListBinaryReader, TheDagBombIsSmallAndFailsOnExpansionNotOnSize) {
    const std::string bomb = dagBomb(20);
    EXPECT_LT(bomb.size(), 200u);
    const plist::ParseResult result = parse(bomb);
    EXPECT_NE(result.reason.find("expands to more than"), std::string::npos) << result.reason;
}

} // namespace
