#include "platform/foundation/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

struct Utf8Case {
    const char* name;
    std::string bytes;
    bool valid;
};

// The text is checked eight bytes at a time while it is ASCII: every offending byte must be
// found whichever place it takes in such a group, and at the text's end.
TEST(Utf8, FindsEveryInvalidByteWhereverItStands) {
    const Utf8Case cases[] = {
        {"NUL", std::string(1, '\0'), false},
        {"ContinuationByte", "\x80", false},
        {"HighAscii", "\x7F", true},
        {"TwoByteCharacter", "\xC3\xA9", true},
        {"ThreeByteCharacter", "\xE2\x82\xAC", true},
        {"FourByteCharacter", "\xF0\x9F\x98\x80", true},
        {"OverlongSlash", "\xC0\xAF", false},
        {"Surrogate", "\xED\xA0\x80", false},
        {"BeyondUnicode", "\xF4\x90\x80\x80", false},
        {"CutTwoByteCharacter", "\xC3", false},
        {"NulAfterCharacter", std::string("\xC3\xA9\0", 3), false},
    };
    for (const Utf8Case& c : cases) {
        for (std::size_t at = 0; at <= 24; ++at) {
            for (const std::size_t after : {std::size_t{0}, std::size_t{1}, std::size_t{9}}) {
                const std::string text = std::string(at, 'a') + c.bytes + std::string(after, 'b');
                EXPECT_EQ(plist::isValidUtf8(text), c.valid) << c.name << " after " << at << " bytes";
            }
        }
    }
    EXPECT_TRUE(plist::isValidUtf8(""));
    EXPECT_TRUE(plist::isValidUtf8(std::string(1000, 'x')));
}

// UTF-16 code units at the edges of each UTF-8 length.
TEST(Utf8, Utf16UnitsBecomeTheShortestUtf8) {
    const std::pair<unsigned, std::string> cases[] = {{0x7F, "\x7F"},
                                                      {0x80, "\xC2\x80"},
                                                      {0x7FF, "\xDF\xBF"},
                                                      {0x800, "\xE0\xA0\x80"},
                                                      {0xFFFD, "\xEF\xBF\xBD"}};
    for (const auto& [unit, utf8] : cases) {
        const std::uint8_t bytes[] = {static_cast<std::uint8_t>(unit >> 8),
                                      static_cast<std::uint8_t>(unit & 0xFF)};
        std::string out;
        ASSERT_TRUE(plist::appendUtf16BigEndianAsUtf8(bytes, 1, out)) << unit;
        EXPECT_EQ(out, utf8) << unit;
    }
}

// Surrogate pairs at the edges of both halves make the four-byte characters at the ends of
// their range; a high half without a low one after it, or a low one alone, is refused.
TEST(Utf8, Utf16SurrogatePairsAtTheirEdges) {
    const std::pair<std::vector<std::uint8_t>, std::optional<std::string>> cases[] = {
        {{0xD8, 0x00, 0xDC, 0x00}, "\xF0\x90\x80\x80"}, {{0xDB, 0xFF, 0xDF, 0xFF}, "\xF4\x8F\xBF\xBF"},
        {{0xDB, 0xFF, 0xDC, 0x00}, "\xF4\x8F\xB0\x80"}, {{0x00, 0x41, 0xDB, 0xFF}, std::nullopt},
        {{0xD8, 0x00, 0x00, 0x41}, std::nullopt},       {{0xDF, 0xFF, 0x00, 0x41}, std::nullopt},
    };
    for (const auto& [bytes, utf8] : cases) {
        std::string out;
        const bool read = plist::appendUtf16BigEndianAsUtf8(bytes.data(), bytes.size() / 2, out);
        EXPECT_EQ(read ? std::optional<std::string>(out) : std::nullopt, utf8)
            << std::hex << unsigned{bytes[0]} << unsigned{bytes[1]} << " " << unsigned{bytes[2]}
            << unsigned{bytes[3]};
    }
}

// Strings of random code points from every range (and from narrow ones, so that two characters
// often share all but their last bytes), encoded here to UTF-8 and to UTF-16: the order
// by UTF-16 code units is the one the comparison gives, and a string that may order differently
// is one holding a character from U+E000 up.
class Utf16OrderSessions : public ::testing::TestWithParam<unsigned> {};

TEST_P(Utf16OrderSessions, OrdersAsTheUtf16CodeUnitsDo) {
    std::mt19937 random(GetParam());
    const std::pair<char32_t, char32_t> ranges[] = {
        {0x01, 0x7F},      {0x80, 0x7FF},       {0x800, 0xD7FF},    {0xE000, 0xFFFF},
        {0xFFF0, 0x10010}, {0x10000, 0x10FFFF}, {0x10000, 0x10FFF}, {0xE000, 0xE0FF}};
    auto randomText = [&] {
        std::pair<std::string, std::u16string> text;
        for (std::size_t n = random() % 4; n > 0; --n) {
            const auto [low, high] = ranges[random() % std::size(ranges)];
            char32_t c = low + static_cast<char32_t>(random() % (high - low + 1));
            if (c >= 0xD800 && c <= 0xDFFF) {
                c = 0xFFFD;
            }
            std::string& u8 = text.first;
            if (c < 0x80) {
                u8 += static_cast<char>(c);
            } else if (c < 0x800) {
                u8 += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
            } else if (c < 0x10000) {
                u8 += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
                       static_cast<char>(0x80 | (c & 0x3F))};
            } else {
                u8 += {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
                       static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
            }
            if (c < 0x10000) {
                text.second += static_cast<char16_t>(c);
            } else {
                text.second += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
                text.second += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            }
        }
        return text;
    };
    for (int round = 0; round < 200; ++round) {
        const auto [a8, a16] = randomText();
        const auto [b8, b16] = randomText();
        ASSERT_TRUE(plist::isValidUtf8(a8) && plist::isValidUtf8(b8));
        EXPECT_EQ(plist::lessInUtf16Order(a8, b8), a16 < b16)
            << testing::PrintToString(a8) << " " << testing::PrintToString(b8);
        const bool high = std::any_of(a16.begin(), a16.end(), [](char16_t u) { return u >= 0xD800; });
        EXPECT_EQ(plist::mayOrderDifferentlyInUtf16(a8), high) << testing::PrintToString(a8);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, Utf16OrderSessions, ::testing::Range(1U, 21U),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "seed_" + std::to_string(info.param);
                         });

} // namespace
