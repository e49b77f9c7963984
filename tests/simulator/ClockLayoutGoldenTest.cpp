// The Clock application's screens point for point: every view a person sees in each tab, with its
// frame on screen, its text, font and colours, written one a line and compared with the recorded
// layout in golden/clock-layout.txt. A text moved, resized or restyled on any Clock screen fails
// here even where the screen's text (golden screens) and its arrangement (HostScreenLayout) stay
// right. Rewrite the record with LAPVANE_REGENERATE_GOLDEN=1 and review its diff.

#include "tests/simulator/SimulatorFixture.h"
#include "tests/support/TemporaryDirectory.h"

#include "simulator/scene/Inspector.h"
#include "simulator/scene/Scene.h"

#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIViewController.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

fs::path recordedLayout() {
    return fs::path(LAPVANE_SOURCE_DIR) / "tests" / "simulator" / "golden" / "clock-layout.txt";
}

std::string rectText(CGRect rect) {
    std::ostringstream text;
    text << rect.origin.x << ' ' << rect.origin.y << ' ' << rect.size.width << ' ' << rect.size.height;
    return text.str();
}

std::string colourText(const std::shared_ptr<UIColor>& colour) {
    return colour ? colour->description() : "none";
}

class ClockLayout : public testing_support::SimulatorTest {
  protected:
    // The selected tab's view and everything seen inside it, front to back as drawn.
    std::string describeSelectedTab() {
        auto controller = sim::Inspector(*device).selectedController();
        if (!controller) {
            return "no tab selected\n";
        }
        sim::Scene scene = sim::captureScene(*device);
        const sim::SceneElement* root = scene.find(controller->view().get());
        if (root == nullptr) {
            return "the tab's view is not drawn\n";
        }
        std::ostringstream lines;
        for (const auto& element : scene.elements) {
            if (!scene.isInside(element, *root) || !element.seen() ||
                element.kind != sim::SceneElement::Kind::View) {
                continue;
            }
            lines << "  " << rectText(element.frame);
            if (auto button = std::dynamic_pointer_cast<UIButton>(element.view)) {
                lines << " button \"" << button->currentTitle().value_or("") << "\"";
            } else if (auto label = std::dynamic_pointer_cast<UILabel>(element.view)) {
                lines << " label \"" << label->text().value_or("") << "\" "
                      << (label->font() ? label->font()->description() : "no font") << " in "
                      << colourText(label->textColor()) << " aligned "
                      << static_cast<int>(label->textAlignment());
            } else {
                lines << " panel";
            }
            lines << " on " << colourText(element.view->backgroundColor()) << '\n';
        }
        return lines.str();
    }
};

TEST_F(ClockLayout, EveryTabLooksAsRecorded) {
    // Twelve laps, more than the list holds, so the recorded list is full and cut where it ends.
    std::string laps = "launch\ntab stopwatch\nstart\n";
    for (int lap = 1; lap <= 12; ++lap) {
        laps += "wait " + std::to_string(lap * 3.7) + "\nlap\n";
    }
    ASSERT_EQ(run(laps + "wait 1.25\nstop\n"), sim::kExitOk) << err.str();
    std::string seen;
    for (const std::string tab : {"world", "alarm", "timer", "stopwatch"}) {
        ASSERT_EQ(run("tab " + tab + "\n"), sim::kExitOk) << err.str();
        seen += tab + ":\n" + describeSelectedTab();
    }
    ASSERT_EQ(run("reset\n"), sim::kExitOk) << err.str();
    seen += "stopwatch after reset:\n" + describeSelectedTab();

    if (std::getenv("LAPVANE_REGENERATE_GOLDEN") != nullptr) {
        std::ofstream(recordedLayout()) << seen;
        GTEST_SKIP() << "wrote " << recordedLayout();
    }
    std::string recorded = testing_support::readWholeFile(recordedLayout().string());
    ASSERT_FALSE(recorded.empty()) << "no recorded layout at " << recordedLayout()
                                   << "; run with LAPVANE_REGENERATE_GOLDEN=1";
    EXPECT_EQ(seen, recorded);
}

} // namespace
