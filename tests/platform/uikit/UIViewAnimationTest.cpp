#include "platform/uikit/UIViewAnimation.h"

#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PerformSelector.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Message.h"
#include "platform/uikit/UIView.h"
#include "tests/support/DeviceFixture.h"

#include <random>

namespace {

using testing_support::DeviceTest;

class StopListener : public NSObject {
  public:
    static constexpr const char* kClassName = "AnimationStopListener";
    using Super = NSObject;
    static constexpr rt::Msg<void()> stoppedMessage{"stopped"};
    static void describe(rt::ClassBuilder& b) { b.method<&StopListener::stopped>(stoppedMessage); }
    std::vector<double> times;
    void stopped() { times.push_back(NSRunLoop::currentRunLoop().now()); }
};

// Hears the did-stop message in its long forms: the animation's name, whether it finished, and
// (in the three-argument form) the context.
class FinishListener : public NSObject {
  public:
    static constexpr const char* kClassName = "AnimationFinishListener";
    using Super = NSObject;
    static void describe(rt::ClassBuilder& b) {
        b.method<&FinishListener::stopped>(rt::Msg<void(id, id)>{"animationDidStop:finished:"});
        b.method<&FinishListener::stoppedWithContext>(
            rt::Msg<void(id, id, id)>{"animationDidStop:finished:context:"});
    }
    std::vector<std::string> heard;
    void stopped(id name, id finished) { heard.push_back(describe(name, finished)); }
    void stoppedWithContext(id name, id finished, id context) {
        heard.push_back(describe(name, finished) + (context ? " with context" : " without context"));
    }

  private:
    static std::string describe(const id& name, const id& finished) {
        auto text = std::dynamic_pointer_cast<NSString>(name);
        auto flag = std::dynamic_pointer_cast<NSNumber>(finished);
        return (text ? text->str() : "(nil)") + (flag && flag->boolValue() ? " finished" : " not finished");
    }
};

class UIViewAnimationTest : public DeviceTest {
  protected:
    std::shared_ptr<UIView> view = UIView::withFrame(CGRectMake(320, 44, 320, 300));
};

TEST_F(UIViewAnimationTest, ModelValuesChangeAtOnceWhileTheScreenFollowsTheClock) {
    UIView::beginAnimationsContext();
    UIView::setAnimationCurve(UIViewAnimationCurveLinear);
    UIView::setAnimationDuration(0.3);
    view->setFrame(CGRectMake(-20, 44, 340, 300));
    view->setAlpha(0);
    // Inside the block the model already holds the new values.
    EXPECT_EQ(view->frame(), CGRectMake(-20, 44, 340, 300));
    UIView::commitAnimations();
    EXPECT_EQ(view->alpha(), 0.0f);

    EXPECT_EQ(view->presentationFrame(now()), CGRectMake(320, 44, 320, 300));
    EXPECT_FLOAT_EQ(view->presentationFrame(now() + 0.15).origin.x, 150);
    EXPECT_FLOAT_EQ(view->presentationAlpha(now() + 0.15), 0.5f);
    EXPECT_EQ(view->presentationFrame(now() + 0.3), view->frame());

    auto animations = device.environment.animator().animations();
    ASSERT_EQ(animations.size(), 2u);
    EXPECT_DOUBLE_EQ(animations[0].duration, 0.3);
    EXPECT_EQ(animations[0].curve, UIViewAnimationCurveLinear);
    EXPECT_DOUBLE_EQ(animations[0].end(), now() + 0.3);
}

// An animation runs from its start up to, but not at, its end: at its end the view shows the
// model value and nothing is left to draw between frames.
TEST_F(UIViewAnimationTest, AnAnimationRunsUntilJustBeforeItsEnd) {
    UIView::beginAnimationsContext();
    UIView::setAnimationDuration(0.25);
    view->setAlpha(0);
    UIView::commitAnimations();
    const ui::Animator& animator = device.environment.animator();
    ASSERT_EQ(animator.animations().size(), 1u);
    const NSTimeInterval end = animator.animations()[0].end();
    for (const NSTimeInterval moment : {now(), now() + 0.125, end - 1e-9}) {
        EXPECT_EQ(animator.runningAt(moment).size(), 1u) << "at " << moment - now();
    }
    EXPECT_TRUE(animator.runningAt(end).empty());
    EXPECT_TRUE(animator.runningAt(end + 1).empty());
}

TEST_F(UIViewAnimationTest, CurvesShapeTheProgress) {
    UIView::beginAnimationsContext();
    UIView::setAnimationCurve(UIViewAnimationCurveEaseOut);
    UIView::setAnimationDuration(1);
    view->setAlpha(0);
    UIView::commitAnimations();
    // Ease-out runs ahead of linear early on; ease-in lags behind.
    EXPECT_LT(view->presentationAlpha(now() + 0.25), 0.75f);
    EXPECT_NEAR(ui::Animator::curveProgress(UIViewAnimationCurveEaseIn, 0.25), 0.093, 0.01);
    EXPECT_NEAR(ui::Animator::curveProgress(UIViewAnimationCurveEaseInOut, 0.5), 0.5, 1e-6);
    EXPECT_DOUBLE_EQ(ui::Animator::curveProgress(UIViewAnimationCurveLinear, 0.4), 0.4);
}

TEST_F(UIViewAnimationTest, BlockDefaultsApplyAndSettersOutsideABlockAreIgnored) {
    UIView::setAnimationDuration(5);
    UIView::beginAnimationsContext();
    view->setAlpha(0.5);
    UIView::commitAnimations();
    const auto& animation = device.environment.animator().animations().back();
    EXPECT_DOUBLE_EQ(animation.duration, 0.2);
    EXPECT_EQ(animation.curve, UIViewAnimationCurveEaseInOut);
}

TEST_F(UIViewAnimationTest, ChangesOutsideABlockOrWithAnimationsOffAreNotAnimated) {
    view->setAlpha(0.3f);
    UIView::setAnimationsEnabled(false);
    UIView::beginAnimationsContext();
    view->setAlpha(0.6f);
    UIView::commitAnimations();
    UIView::setAnimationsEnabled(true);
    EXPECT_TRUE(device.environment.animator().animations().empty());
    EXPECT_EQ(view->presentationAlpha(now()), 0.6f);
}

TEST_F(UIViewAnimationTest, NestedBlocksStartTogetherAtTheOutermostCommit) {
    UIView::beginAnimationsContext();
    UIView::setAnimationDuration(0.4);
    UIView::beginAnimationsContext();
    view->setAlpha(0);
    UIView::commitAnimations();
    EXPECT_TRUE(device.environment.animator().animations().empty()) << "an inner commit starts nothing";
    runFor(0.1);
    UIView::commitAnimations();
    const auto& animation = device.environment.animator().animations().back();
    EXPECT_DOUBLE_EQ(animation.start, 0.1);
    EXPECT_DOUBLE_EQ(animation.duration, 0.4) << "the inner block inherits the outer duration";
}

TEST_F(UIViewAnimationTest, DidStopSelectorArrivesThroughTheRunLoopAfterTheDuration) {
    auto listener = rt::make<StopListener>();
    UIView::beginAnimationsContext(std::string("slide"));
    UIView::setAnimationDuration(0.3);
    UIView::setAnimationDelegate(listener);
    UIView::setAnimationDidStopSelector(sel_registerName("stopped"));
    view->setAlpha(0);
    UIView::commitAnimations();
    EXPECT_TRUE(listener->times.empty());
    runFor(0.29);
    EXPECT_TRUE(listener->times.empty());
    runFor(0.02);
    ASSERT_EQ(listener->times.size(), 1u);
    EXPECT_DOUBLE_EQ(listener->times[0], 0.3);
}

// A block that runs to its end reports it finished, in either form of the message.
TEST_F(UIViewAnimationTest, AnAnimationThatRanItsCourseReportsItFinished) {
    auto listener = rt::make<FinishListener>();
    for (const char* selector : {"animationDidStop:finished:", "animationDidStop:finished:context:"}) {
        UIView::beginAnimationsContext(std::string("fade"));
        UIView::setAnimationDuration(0.2);
        UIView::setAnimationDelegate(listener);
        UIView::setAnimationDidStopSelector(sel_registerName(selector));
        view->setAlpha(view->alpha() > 0.5f ? 0 : 1);
        UIView::commitAnimations();
        runFor(0.25);
    }
    EXPECT_EQ(listener->heard, (std::vector<std::string>{"fade finished", "fade finished without context"}));
}

TEST_F(UIViewAnimationTest, ALaterAnimationOfTheSamePropertyTakesOverTheScreen) {
    UIView::beginAnimationsContext();
    UIView::setAnimationDuration(1);
    UIView::setAnimationCurve(UIViewAnimationCurveLinear);
    view->setFrame(CGRectMake(0, 44, 320, 300));
    UIView::commitAnimations();
    runFor(0.5);
    UIView::beginAnimationsContext();
    UIView::setAnimationDuration(1);
    UIView::setAnimationCurve(UIViewAnimationCurveLinear);
    UIView::setAnimationBeginsFromCurrentState(true);
    view->setFrame(CGRectMake(320, 44, 320, 300));
    UIView::commitAnimations();
    // Beginning from the current state starts where the screen was (x = 160), not at the model.
    EXPECT_FLOAT_EQ(view->presentationFrame(now()).origin.x, 160);
    EXPECT_FLOAT_EQ(view->presentationFrame(now() + 0.5).origin.x, 240);
}

// Seeded sessions of linear blocks, each with its own duration and delay, changing the alpha of
// some of three views, some of them twice: after the commit each view shows its value from before
// the block until the delay is over, then moves in a straight line to the last value it was given,
// whatever the other views in the block do.
class UIViewAnimationSessions : public UIViewAnimationTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(UIViewAnimationSessions, EachViewMovesFromItsOwnStartToItsOwnEndAfterTheDelay) {
    std::mt19937 random(GetParam());
    auto below = [&random](unsigned n) { return random() % n; };
    std::vector<std::shared_ptr<UIView>> views;
    for (int i = 0; i < 3; ++i) {
        views.push_back(UIView::withFrame(CGRectMake(0, 0, 10, 10)));
    }
    for (int block = 0; block < 8; ++block) {
        const double duration = 0.1 * (1 + below(8));
        const double delay = 0.1 * below(3);
        std::vector<float> from;
        std::vector<float> to;
        for (const auto& view : views) {
            from.push_back(view->alpha());
        }
        to = from;
        UIView::beginAnimationsContext();
        UIView::setAnimationCurve(UIViewAnimationCurveLinear);
        UIView::setAnimationDuration(duration);
        UIView::setAnimationDelay(delay);
        const unsigned changes = 1 + below(4);
        for (unsigned c = 0; c < changes; ++c) {
            const unsigned v = below(3);
            to[v] = 0.1f * static_cast<float>(below(11));
            views[v]->setAlpha(to[v]);
        }
        UIView::commitAnimations();
        const double start = now();
        SCOPED_TRACE("block " + std::to_string(block) + ": " + std::to_string(duration) + " s after " +
                     std::to_string(delay) + " s");
        for (const double moment :
             {start, start + delay / 2, start + delay, start + delay + duration * 0.25,
              start + delay + duration * 0.5, start + delay + duration * 0.75, start + delay + duration}) {
            const double progress = std::clamp((moment - start - delay) / duration, 0.0, 1.0);
            for (std::size_t v = 0; v < views.size(); ++v) {
                EXPECT_EQ(views[v]->alpha(), to[v]) << "the model holds the end value at once";
                EXPECT_NEAR(views[v]->presentationAlpha(moment), from[v] + (to[v] - from[v]) * progress, 1e-5)
                    << "view " << v << " at " << moment - start << " s";
            }
        }
        runFor(delay + duration + 0.05);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, UIViewAnimationSessions, ::testing::Range(1U, 21U),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "seed_" + std::to_string(info.param);
                         });

// The did-stop message needs both a delegate and a selector: a block with only one of them ends
// without a word.
TEST_F(UIViewAnimationTest, ADelegateWithoutASelectorOrASelectorWithoutADelegateHearsNothing) {
    auto listener = rt::make<StopListener>();
    UIView::beginAnimationsContext();
    UIView::setAnimationDuration(0.2);
    UIView::setAnimationDelegate(listener);
    view->setAlpha(0);
    UIView::commitAnimations();
    UIView::beginAnimationsContext();
    UIView::setAnimationDuration(0.2);
    UIView::setAnimationDidStopSelector(sel_registerName("stopped"));
    view->setAlpha(1);
    UIView::commitAnimations();
    EXPECT_NO_THROW(runFor(0.5));
    EXPECT_TRUE(listener->times.empty());
}

} // namespace
