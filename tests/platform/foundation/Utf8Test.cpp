#include "platform/foundation/Utf8.h"

#include <gtest/gtest.h>

#include <string>

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

} // namespace
