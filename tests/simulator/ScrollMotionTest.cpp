// A table scrolled by hand: the rubber band past the ends, the coast at the platform's normal
// deceleration rate after release, and the spring back to an end; where a motion is at a moment
// does not depend on how the time up to it was cut.

#include "simulator/scene/ScrollMotion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace {

using sim::ScrollMotion;

TEST(ScrollMotion, TheBandFollowsTheFingerInsideAndResistsMoreTheFurtherItIsPulled) {
    ScrollMotion motion(0, 1000, 400);
    EXPECT_EQ(motion.banded(250), 250);
    double at50 = motion.banded(1050) - 1000;
    double at100 = motion.banded(1100) - 1000;
    double at5000 = motion.banded(6000) - 1000;
    EXPECT_GT(at50, 0);
    EXPECT_LT(at50, 50);
    EXPECT_LT(at100 - at50, at50) << "each further point of pull shows less";
    EXPECT_LT(at5000, 400) << "the band never shows more than the view's height";
    EXPECT_NEAR(motion.banded(-100), -48.4, 0.1) << "100 points past the top of a 400-point view";
}

TEST(ScrollMotion, AFlickCoastsItsSpeedTimesAboutFiveHundredMillisecondsAndRestsOnAHalfPoint) {
    // v / -ln(0.998) is the distance a velocity v decaying by 0.998 a millisecond covers; the
    // stop below 10 points a second cuts off the last few points.
    ScrollMotion motion(0, 100000, 400);
    motion.release(1000, 2.0);
    double t = 0;
    while (!motion.resting() && t < 20000) {
        motion.advance(16);
        t += 16;
    }
    ASSERT_TRUE(motion.resting());
    double ideal = 2.0 / -std::log(ScrollMotion::kDecelerationPerMs);
    EXPECT_NEAR(motion.offset() - 1000, ideal, 10);
    EXPECT_EQ(motion.offset() * 2, std::round(motion.offset() * 2));
    EXPECT_GT(t, 2000) << "it slows over seconds, not at once";
}

TEST(ScrollMotion, ACoastPastTheEndSpringsBackToRestExactlyThere) {
    ScrollMotion motion(0, 700.25f, 400);
    motion.release(600, 3.0);
    double furthest = 0;
    for (int i = 0; i < 400 && !motion.resting(); ++i) {
        furthest = std::max(furthest, motion.advance(16));
    }
    ASSERT_TRUE(motion.resting());
    EXPECT_GT(furthest, 700.25f) << "it runs past the end before it comes back";
    EXPECT_EQ(motion.offset(), static_cast<double>(700.25f));
    // Released past the start with no speed, it comes back to the start.
    motion.release(-80, 0);
    EXPECT_LT(motion.offset(), -79) << "the spring takes time: nothing moves before the clock does";
    EXPECT_LT(motion.advance(16), -40) << "and it does not snap back in one frame";
    for (int i = 0; i < 400 && !motion.resting(); ++i) {
        EXPECT_LE(motion.advance(16), 0.5) << "the spring is damped: no overshoot the other way";
    }
    EXPECT_EQ(motion.offset(), 0);
}

TEST(ScrollMotion, ContentShorterThanItsViewRestsAtTheTop) {
    ScrollMotion motion(0, -200, 400);
    EXPECT_EQ(motion.banded(0), 0);
    motion.release(30, 1.0);
    for (int i = 0; i < 400 && !motion.resting(); ++i) {
        motion.advance(16);
    }
    EXPECT_EQ(motion.offset(), 0);
}

// Seeded releases inside and past the ends: advancing in random whole milliseconds, frame by
// frame, lands on the offset one advance over the same time gives, moving or at rest.
TEST(ScrollMotion, WhereItIsDoesNotDependOnHowTheTimeIsCut) {
    int moving = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        std::uniform_real_distribution<double> offsets(-150, 1150);
        std::uniform_real_distribution<double> speeds(-4, 4);
        double offset = offsets(random);
        double speed = speeds(random);
        ScrollMotion whole(0, 1000, 400);
        ScrollMotion pieces(0, 1000, 400);
        whole.release(offset, speed);
        pieces.release(offset, speed);
        int until = static_cast<int>(random() % 400) + 40;
        int elapsed = 0;
        while (elapsed < until) {
            int piece = static_cast<int>(random() % 40) + 1;
            pieces.advance(piece);
            elapsed += piece;
        }
        whole.advance(elapsed);
        EXPECT_EQ(pieces.offset(), whole.offset()) << "after " << elapsed << " ms";
        EXPECT_EQ(pieces.resting(), whole.resting());
        moving += whole.resting() ? 0 : 1;
    }
    EXPECT_GT(moving, 20) << "most sessions end while the content still moves";
}

} // namespace
