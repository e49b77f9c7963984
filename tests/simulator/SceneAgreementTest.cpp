// Long random sessions on the simulated device: stopwatch runs, saves, tabs, taps, back, edit,
// swipes, deletes, moves, new sections, typing and alert buttons, in any order. After every step
// the views of the screen must agree: the picture draws what the scene says at the same place and
// nothing else, `screen` prints nothing the scene hides, `dump` says of every row and alert what
// the scene says; and once the screen has settled, the saved-times table shows the file.
//
// Every session comes from its seed, the number in the test's name (`--gtest_filter=*/17` runs
// session 17 alone); a failure prints the session as a script for `lapvane sim`.

#include "tests/simulator/AddonSimulatorFixture.h"

#include "simulator/render/ScreenPainter.h"
#include "simulator/scene/SavedScreen.h"
#include "simulator/scene/Scene.h"
#include "simulator/scene/ScreenPicture.h"
#include "simulator/scene/ScreenText.h"
#include "simulator/times/SavedTimesReport.h"

#include "platform/runtime/RuntimeFunctions.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITableViewCell.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using nlohmann::json;

constexpr int kSteps = 100;
// Drawing costs more than every other check together: the picture is compared at every fourth
// step and the last.
constexpr int kPictureEvery = 4;

bool near(CGRect a, CGRect b) {
    return std::fabs(a.origin.x - b.origin.x) < 0.51f && std::fabs(a.origin.y - b.origin.y) < 0.51f &&
           std::fabs(a.size.width - b.size.width) < 0.51f && std::fabs(a.size.height - b.size.height) < 0.51f;
}

bool holds(CGRect rect, CGPoint point) {
    return point.x >= CGRectGetMinX(rect) - 0.5f && point.x <= CGRectGetMaxX(rect) + 0.5f &&
           point.y >= CGRectGetMinY(rect) - 0.5f && point.y <= CGRectGetMaxY(rect) + 0.5f;
}

// One step of a session, as the line `lapvane sim` takes.
std::string randomStep(std::mt19937& random) {
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const auto row = [&] { return std::to_string(pick(3)) + " " + std::to_string(pick(7)); };
    static const std::vector<std::string> names = {"Work", "Gym", "Default", "", "  ", "Runs", "Séance"};
    switch (pick(24)) {
    case 0:
        return "tab stopwatch";
    case 1:
    case 2:
        return "tab saved";
    case 3:
        return pick(2) == 0 ? "start" : "lap";
    case 4:
        return "stop";
    case 5:
        return "save";
    case 6:
        return "reset";
    case 7:
        return pick(2) == 0 ? "edit" : "done";
    case 8:
        return "add";
    case 9:
        return "swipe " + row();
    case 10:
        return "unswipe";
    case 11:
    case 12:
        return "delete " + row();
    case 13:
        return "move " + row() + " " + row();
    case 14:
    case 15:
        return "tap " + row();
    case 16:
        return "back";
    case 17:
        return "type " + names[static_cast<std::size_t>(pick(static_cast<int>(names.size())))];
    case 18:
        return std::string("button ") + (pick(3) == 0 ? "Dismiss" : "Add");
    case 19:
        return pick(12) == 0 ? "quit" : "launch";
    case 20:
        return "wait 1.5";
    default: {
        static const char* waits[] = {"wait 0.05", "wait 0.1", "wait 0.2", "wait 0.35"};
        return waits[pick(4)];
    }
    }
}

class SceneAgreement : public testing_support::AddonSimulatorTest,
                       public testing::WithParamInterface<unsigned> {
  protected:
    // What the renderer draws of the screen now, view by view.
    std::vector<render::PaintedView> painted(const sim::Scene& scene) {
        render::Scene picture = sim::pictureScene(*device, scene);
        picture.scale = 1;
        cairo_surface_t* surface =
            cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(scene.screenSize.width),
                                       static_cast<int>(scene.screenSize.height));
        cairo_t* cr = cairo_create(surface);
        std::vector<render::PaintedView> record;
        render::ScreenPainter painter(cr);
        painter.recordInto(&record);
        painter.paint(picture);
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        return record;
    }

    // The picture draws every view the scene shows, where the scene says, and nothing the scene
    // leaves out.
    static void expectPictureAgrees(const sim::Scene& scene, const std::vector<render::PaintedView>& drawn) {
        for (const auto& element : scene.elements) {
            if (element.kind != sim::SceneElement::Kind::View || !element.seen()) {
                continue;
            }
            bool found = false;
            for (const auto& view : drawn) {
                found = found || (view.view == element.view.get() && near(view.frame, element.frame) &&
                                  holds(view.clip, element.visibleCentre()));
            }
            EXPECT_TRUE(found) << "the picture does not draw a " << class_getName(element.view->isa())
                               << " at (" << element.frame.origin.x << ", " << element.frame.origin.y << ")";
        }
        for (const auto& view : drawn) {
            const sim::SceneElement* element = scene.find(view.view);
            EXPECT_TRUE(element != nullptr && near(element->frame, view.frame))
                << "the picture draws a " << class_getName(view.view->isa()) << " at (" << view.frame.origin.x
                << ", " << view.frame.origin.y << ") that the scene does not hold there";
        }
    }

    // `screen` prints no text that only hidden views hold.
    static void expectScreenHidesWhatIsHidden(const sim::Scene& scene, const std::string& screen) {
        std::set<std::string> seen;
        std::set<std::string> hidden;
        for (const auto& element : scene.elements) {
            auto label = std::dynamic_pointer_cast<UILabel>(element.view);
            if (element.kind != sim::SceneElement::Kind::View || !label || !label->text() ||
                label->text()->empty()) {
                continue;
            }
            (element.seen() ? seen : hidden).insert(*label->text());
        }
        for (const auto& element : scene.elements) {
            if (element.kind == sim::SceneElement::Kind::SectionHeader) {
                (element.seen() ? seen : hidden).insert(element.title.value_or(""));
            }
        }
        for (const auto& text : hidden) {
            bool alsoShown = false;
            for (const auto& other : seen) {
                alsoShown = alsoShown || other.find(text) != std::string::npos;
            }
            // Texts of the bars and buttons are not labels the scene tracks one by one.
            if (!alsoShown && text.size() > 3 && text.rfind("Saved", 0) != 0) {
                EXPECT_EQ(screen.find(text), std::string::npos) << "screen prints hidden \"" << text << "\"";
            }
        }
    }

    // `dump` tells of rows and alerts what the scene knows.
    static void expectDumpAgrees(const sim::Scene& scene, const json& state) {
        ASSERT_EQ(state["alerts"].size(), scene.alerts.size());
        for (std::size_t i = 0; i < scene.alerts.size(); ++i) {
            EXPECT_EQ(state["alerts"][i]["state"], sim::alertStateName(scene.alerts[i].state));
        }
        EXPECT_EQ(state["launch_image_shown"].is_null(), !scene.launch.has_value());
        const json& saved = state["saved"];
        if (saved.is_null() || scene.launch) {
            return;
        }
        std::size_t uncovered = 0;
        for (const auto& section : saved["saved_table"]["sections"]) {
            for (const auto& row : section["rows"]) {
                uncovered += row["covered"] == false ? 1 : 0;
            }
        }
        for (const auto& row : saved["laps_table"]["rows"]) {
            uncovered += row["covered"] == false ? 1 : 0;
        }
        // A row fading out after a delete is drawn but is no longer a row of its table.
        std::size_t seenCells = 0;
        for (const auto& element : scene.elements) {
            auto table = element.parent == sim::SceneElement::kNoParent
                             ? nullptr
                             : std::dynamic_pointer_cast<UITableView>(scene.elements[element.parent].view);
            bool dying = table && std::any_of(table->dyingCells().begin(), table->dyingCells().end(),
                                              [&](const auto& d) { return d.cell == element.view; });
            seenCells +=
                element.seen() && !dying && std::dynamic_pointer_cast<UITableViewCell>(element.view) ? 1 : 0;
        }
        EXPECT_EQ(uncovered, seenCells) << "rows the dump shows uncovered against cells the scene shows";
    }

    // Once settled, the table shows the file's sections and their records (an empty list shows
    // as one untitled empty section, beside the "No Saved Times" label).
    void expectTableShowsTheFile(const json& state) {
        const json& saved = state["saved"];
        if (saved.is_null() || !state["alerts"].empty() || state["tab"].is_null() ||
            state["tab"]["index"] != 4) {
            return;
        }
        auto report =
            sim::readSavedTimesReport(home.path() + "/Library/Preferences/com.varnoth.lapvane.plist");
        std::vector<std::string> shown;
        for (const auto& section : saved["saved_table"]["sections"]) {
            if (section["row_count"] == 0 && section["title"].is_null()) {
                continue;
            }
            shown.push_back(section["title"].dump() + ":" + std::to_string(section["row_count"].get<int>()));
        }
        std::vector<std::string> stored;
        for (const auto& section : report.sections) {
            if (section.records.empty() && report.sections.size() == 1) {
                continue;
            }
            stored.push_back(json(section.name).dump() + ":" + std::to_string(section.records.size()));
        }
        EXPECT_EQ(shown, stored);
    }

    // Runs one session; returns its script so far when a check failed.
    void runSession(unsigned seed) {
        std::mt19937 random(seed);
        std::string script = "launch\n";
        ASSERT_NE(run("launch\n"), sim::kExitFault) << err.str();
        for (int step = 0; step < kSteps && !HasFailure(); ++step) {
            std::string line = randomStep(random);
            script += line + "\n";
            out.str("");
            ASSERT_NE(run(line + "\n"), sim::kExitFault) << err.str();
            sim::Scene scene = sim::captureScene(*device);
            if (step % kPictureEvery == 0 || step == kSteps - 1) {
                expectPictureAgrees(scene, painted(scene));
            }
            expectScreenHidesWhatIsHidden(scene, sim::screenText(*device));
            json state = dump();
            expectDumpAgrees(scene, state);
            if (line == "wait 1.5") {
                expectTableShowsTheFile(state);
            }
        }
        if (HasFailure()) {
            ADD_FAILURE() << "session " << seed
                          << " failed; as a script for lapvane sim --now 2026-12-07T08:00:00Z --tz UTC "
                             "--locale en_US:\n"
                          << script;
        }
    }
};

TEST_P(SceneAgreement, EveryViewOfTheScreenAgreesThroughALongRandomSession) {
    runSession(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Sessions, SceneAgreement, testing::Range(0U, 200U));

} // namespace
