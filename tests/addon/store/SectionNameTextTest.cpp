#include "addon/store/SectionNameText.h"
#include "platform/foundation/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ios>
#include <string>

namespace {

// The name check's UTF-8 test and the property-list reader's are written apart; they must agree
// on every sequence of one to three bytes, and on every four-byte sequence whose lead and second
// byte vary over all values (the last two bytes at the ends of the continuation range and
// outside it). Every boundary of the encoding lies among these: the last code point of each
// length, overlong forms, surrogates and U+10FFFF.
TEST(SectionNameText, TellsUtf8AsTheReaderDoes) {
    int disagreements = 0;
    const auto check = [&](const std::string& bytes) {
        // The reader also refuses NUL, which names leave to their check of control characters.
        std::string withoutNul = bytes;
        std::replace(withoutNul.begin(), withoutNul.end(), '\0', ' ');
        if (lv::isValidUtf8(bytes) != plist::isValidUtf8(withoutNul) && ++disagreements <= 10) {
            std::string hex;
            for (const unsigned char c : bytes) {
                hex += std::to_string(c) + " ";
            }
            ADD_FAILURE() << "bytes " << hex << "names say " << lv::isValidUtf8(bytes);
        }
    };
    for (int a = 0; a < 256; ++a) {
        check(std::string(1, static_cast<char>(a)));
        for (int b = 0; b < 256; ++b) {
            const std::string two{static_cast<char>(a), static_cast<char>(b)};
            check(two);
            if (a >= 0xE0) {
                for (int c = 0; c < 256; ++c) {
                    check(two + static_cast<char>(c));
                }
            }
            if (a >= 0xF0) {
                for (const std::uint8_t c : {0x7F, 0x80, 0xBF, 0xC0}) {
                    for (const std::uint8_t d : {0x7F, 0x80, 0xBF, 0xC0}) {
                        check(two + static_cast<char>(c) + static_cast<char>(d));
                    }
                }
            }
        }
    }
    EXPECT_EQ(disagreements, 0);
    EXPECT_TRUE(lv::isValidUtf8("\xF4\x8F\xBF\xBF")) << "U+10FFFF";
    EXPECT_FALSE(lv::isValidUtf8("\xF4\x90\x80\x80")) << "U+110000";
}

// Every range of XML 1.0's characters (tab, line feed, carriage return, U+0020 to U+D7FF, U+E000
// to U+FFFD, U+10000 to U+10FFFF) at its first and last code point and their neighbours outside
// it. The surrogates between the second and third ranges have no UTF-8 form.
TEST(SectionNameText, XmlCharacterRangesAtTheirBounds) {
    struct Case {
        char32_t c;
        bool xmlAllows;
    };
    const Case cases[] = {
        {0x0, false},    {0x8, false},    {0x9, true},      {0xA, true},      {0xB, false},
        {0xC, false},    {0xD, true},     {0xE, false},     {0x1F, false},    {0x20, true},
        {0xD7FF, true},  {0xE000, true},  {0xFFFD, true},   {0xFFFE, false},  {0xFFFF, false},
        {0x10000, true}, {0x10001, true}, {0x10FFFE, true}, {0x10FFFF, true},
    };
    for (const Case& c : cases) {
        std::string text = "a";
        plist::appendUtf8(text, c.c);
        text += "b";
        const auto forbidden = lv::firstCharacterXmlForbids(text);
        EXPECT_EQ(forbidden.has_value(), !c.xmlAllows) << std::hex << "U+" << static_cast<std::uint32_t>(c.c);
        if (forbidden) {
            EXPECT_EQ(*forbidden, c.c);
        }
        // A name refuses every character XML refuses, and the controls XML allows as well.
        const bool control = c.c < 0x20;
        EXPECT_EQ(lv::holdsCharactersNoNameMay(text), !c.xmlAllows || control)
            << std::hex << "U+" << static_cast<std::uint32_t>(c.c);
    }
}

} // namespace
