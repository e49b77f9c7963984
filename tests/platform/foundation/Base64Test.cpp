// Base64 against a bit-by-bit encoder written apart from it, over seeded random bytes: the text,
// the bytes read back from it with whitespace anywhere and with or without padding, and the texts
// that must give nothing (a character outside the alphabet, data after padding, a lone last
// character).

#include "platform/foundation/Base64.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Six bits at a time, most significant first, each named by arithmetic rather than a table.
std::string bitwiseBase64(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    const std::size_t bits = bytes.size() * 8;
    for (std::size_t at = 0; at < bits; at += 6) {
        unsigned value = 0;
        for (std::size_t bit = at; bit < at + 6; ++bit) {
            const unsigned set = bit < bits ? (bytes[bit / 8] >> (7 - bit % 8)) & 1U : 0U;
            value = value << 1 | set;
        }
        out.push_back(value < 26    ? static_cast<char>('A' + value)
                      : value < 52  ? static_cast<char>('a' + value - 26)
                      : value < 62  ? static_cast<char>('0' + value - 52)
                      : value == 62 ? '+'
                                    : '/');
    }
    while (out.size() % 4 != 0) {
        out.push_back('=');
    }
    return out;
}

bool inAlphabet(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/';
}

class Base64Sessions : public ::testing::TestWithParam<unsigned> {};

TEST_P(Base64Sessions, MatchesABitwiseEncoderAndReadsBackOnlyWhatItWrites) {
    std::mt19937 random(GetParam());
    auto below = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    for (int round = 0; round < 10; ++round) {
        std::vector<std::uint8_t> bytes(below(40));
        for (auto& b : bytes) {
            b = static_cast<std::uint8_t>(random());
        }
        const std::string text = plist::encodeBase64(bytes);
        SCOPED_TRACE(text);
        ASSERT_EQ(text, bitwiseBase64(bytes));
        EXPECT_EQ(plist::decodeBase64(text), bytes);

        std::string spaced = text;
        for (std::size_t n = below(6); n > 0; --n) {
            spaced.insert(below(spaced.size() + 1), 1, " \t\n\r"[below(4)]);
        }
        EXPECT_EQ(plist::decodeBase64(spaced), bytes) << "whitespace anywhere";
        const std::string unpadded = text.substr(0, text.find('='));
        EXPECT_EQ(plist::decodeBase64(unpadded), bytes) << "padding is optional";

        if (!text.empty()) {
            std::string wrong = text;
            char c = 0;
            do {
                c = static_cast<char>(random());
            } while (inAlphabet(c) || c == '=' || c == ' ' || c == '\t' || c == '\n' || c == '\r');
            wrong[below(unpadded.size())] = c;
            EXPECT_EQ(plist::decodeBase64(wrong), std::nullopt)
                << "byte " << int(static_cast<unsigned char>(c));
        }
        if (text.find('=') != std::string::npos) {
            EXPECT_EQ(plist::decodeBase64(text + "QQ"), std::nullopt) << "data after padding";
        }
        EXPECT_EQ(plist::decodeBase64(unpadded.substr(0, unpadded.size() / 4 * 4) + "Q"), std::nullopt)
            << "a lone last character";
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, Base64Sessions, ::testing::Range(1U, 31U),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "seed_" + std::to_string(info.param);
                         });

} // namespace
