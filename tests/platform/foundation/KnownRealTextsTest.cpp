#include "platform/foundation/KnownRealTexts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using plist::KnownRealTexts;

// Only a text that fits its place is kept: a longer one would be copied past it.
TEST(KnownRealTexts, KeepsTextsOfOneToTwentyThreeBytes) {
    KnownRealTexts texts(0);
    EXPECT_EQ(texts.place(""), nullptr);
    EXPECT_EQ(texts.place("-2.2250738585072014e-308"), nullptr); // 24 bytes
    const std::string longest = "-2.2250738585072014e-30";       // 23 bytes
    KnownRealTexts::Slot* slot = texts.place(longest);
    ASSERT_NE(slot, nullptr);
    EXPECT_FALSE(slot->holds(longest));
    KnownRealTexts::keep(*slot, longest, NSNumber::withDouble(-2.2250738585072014e-30));
    EXPECT_EQ(texts.place(longest), slot);
    EXPECT_TRUE(slot->holds(longest));
    EXPECT_EQ(slot->number->doubleValue(), -2.2250738585072014e-30);
}

// Two texts that fall on one place: the newer one replaces the older, which is then not found.
TEST(KnownRealTexts, ANewcomerReplacesTheTextAtItsPlace) {
    KnownRealTexts texts(0);
    std::set<KnownRealTexts::Slot*> seen;
    std::string first;
    std::string second;
    for (int i = 0; second.empty(); ++i) {
        const std::string text = std::to_string(i) + ".25";
        KnownRealTexts::Slot* slot = texts.place(text);
        if (!seen.insert(slot).second) {
            second = text;
            for (int j = 0; j < i; ++j) {
                if (texts.place(std::to_string(j) + ".25") == slot) {
                    first = std::to_string(j) + ".25";
                    break;
                }
            }
        }
    }
    KnownRealTexts::Slot* slot = texts.place(first);
    KnownRealTexts::keep(*slot, first, NSNumber::withDouble(std::stod(first)));
    KnownRealTexts::keep(*slot, second, NSNumber::withDouble(std::stod(second)));
    EXPECT_FALSE(slot->holds(first));
    EXPECT_TRUE(slot->holds(second));
    EXPECT_EQ(slot->number->doubleValue(), std::stod(second));
}

} // namespace
