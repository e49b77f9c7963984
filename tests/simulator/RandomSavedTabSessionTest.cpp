// Random sessions on the Saved tab through `lapvane sim`, one step at a time: edit mode, swipes,
// deletes, moves, new sections with good and refused names, taps on results and the back control,
// tab switches, saves on the stopwatch and relaunches, from a file of one to three sections. After
// every step has settled, every result cell on screen must stand where the browser's mode puts it
// (main label at x 10, or 40 in edit mode; lap count shown, or hidden in edit mode and on the row
// whose Delete button shows), the table must show what the file holds, and every version of the
// file must read in Python's plistlib. A session is its seed; a failure names the seed and step.

#include "addon/store/ClockText.h"
#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesDocument.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/runtime/Runtime.h"
#include "tests/simulator/SimPipe.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <deque>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using nlohmann::json;
using testing_support::readWholeFile;

constexpr int kSessions = 100;
constexpr int kSteps = 150;
const char* const kSavedTimesFile = "/Library/Preferences/com.varnoth.lapvane.plist";

// Names a person might type, and a few a script can type that no file may hold.
const std::vector<std::string> kGoodNames = {"Work",
                                             "Gym",
                                             "Runs",
                                             "Track 2",
                                             "work",
                                             "  ",
                                             "\xC3\x9C"
                                             "ben"};
const std::vector<std::string> kBadNames = {"Esc\x1B[31mRED\x07", "Ctl\x01", "Bad\xFF\xFE", "Half\xC3",
                                            "Tab\tName"};

// A file of one to three sections of up to eight results each, whose totals tell them apart; or,
// for one seed in five, no file at all.
std::string initialFile(std::mt19937& random) {
    if (random() % 5 == 0) {
        return {};
    }
    const std::vector<std::string> names = {"Default", "Work", "Gym"};
    const std::size_t sections = 1 + random() % 3;
    std::ostringstream body;
    body << "<key>Sections</key><array>";
    for (std::size_t s = 0; s < sections; ++s) {
        body << "<string>" << names[s] << "</string>";
    }
    body << "</array>";
    int total = 1;
    for (std::size_t s = 0; s < sections; ++s) {
        body << "<key>Times - " << names[s] << "</key><array>";
        const int records = static_cast<int>(random() % 9);
        for (int r = 0; r < records; ++r, ++total) {
            body << "<dict><key>Last Lap</key><real>" << total << "</real><key>All Laps</key><array>";
            for (unsigned lap = 0; lap <= random() % 3; ++lap) {
                body << "<real>" << total << "</real>";
            }
            body << "</array><key>Total Time</key><real>" << total
                 << ".5</real><key>Date</key><date>2026-12-01T10:00:00Z</date></dict>";
        }
        body << "</array>";
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>" + body.str() +
           "</dict>\n</plist>\n";
}

// The rows on screen in the table of results, as "S R".
std::vector<std::string> visibleRows(const json& state) {
    std::vector<std::string> rows;
    const json& saved = state["saved"];
    if (!saved.is_object()) {
        return rows;
    }
    const json& sections = saved["saved_table"]["sections"];
    for (std::size_t s = 0; s < sections.size(); ++s) {
        for (const json& row : sections[s]["rows"]) {
            rows.push_back(std::to_string(s) + " " + std::to_string(row["row"].get<int>()));
        }
    }
    return rows;
}

bool inEditMode(const json& state) {
    const json& bar = state["saved"]["top_bar"];
    return bar.is_array() && !bar.empty() && bar[0]["right"].is_object() &&
           bar[0]["right"]["title"] == "Done";
}

bool onSavedTab(const json& state) {
    return !state["app"].is_null() && state["tab"].is_object() && state["tab"]["index"] == 4 &&
           state["saved"].is_object();
}

// The next step of a session, chosen from what the screen shows now.
class StepChooser {
  public:
    explicit StepChooser(unsigned seed) : random_(seed) {}

    std::string next(const json& state) {
        if (state["app"].is_null()) {
            return "launch\ntab saved\n";
        }
        const json& alerts = state["alerts"];
        if (!alerts.empty()) {
            // A refusal over a fresh dialog, or the dialog itself.
            if (alerts.back()["text"].is_null() || pick(4) == 0) {
                return "button Dismiss\n";
            }
            return "type " + name(state) + "\nbutton Add\n";
        }
        if (!onSavedTab(state)) {
            return pick(3) == 0 ? "tab world\ntab saved\n" : "tab saved\n";
        }
        const bool editing = inEditMode(state);
        switch (pick(20)) {
        case 0:
        case 1:
            return editing ? "done\n" : "edit\n";
        case 2:
        case 3:
            return "swipe " + row(state) + "\n";
        case 4:
            // Edit, or a second swipe or a delete, while a Delete button shows.
            return "swipe " + row(state) + "\n" + (pick(2) == 0 ? "edit\n" : "delete " + row(state) + "\n");
        case 5:
            return "unswipe\n";
        case 6:
        case 7:
            return "delete " + row(state) + "\n";
        case 8:
        case 9:
            return std::string(editing ? "" : "edit\n") + "move " + row(state) + " " + row(state) + "\n";
        case 10:
        case 11:
            return std::string(editing ? "" : "edit\n") + "add\n" +
                   (pick(4) == 0 ? "" : "type " + name(state) + "\nbutton Add\n");
        case 12:
            return "tap " + row(state) + "\n";
        case 13:
            return "back\n";
        case 14:
            return pick(2) == 0 ? "tab stopwatch\n" : "tab stopwatch\ntab saved\n";
        case 15:
            return "tab stopwatch\nreset\nstart\nwait " + std::to_string(1 + pick(9)) +
                   ".3\nlap\nwait 2\nstop\nsave\ntab saved\n";
        case 16:
            return "quit\nlaunch\ntab saved\n";
        case 17:
            // Two changes within the moment an emptied section waits to leave the table.
            return "delete " + row(state) + "\nwait 0.05\n" +
                   (editing ? "move " + row(state) + " " + row(state) + "\n" : "delete " + row(state) + "\n");
        case 18:
            return "screen\n";
        default:
            return "wait 0.3\n";
        }
    }

  private:
    int pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    std::string row(const json& state) {
        const auto rows = visibleRows(state);
        if (rows.empty() || pick(10) == 0) {
            return std::to_string(pick(3)) + " " + std::to_string(pick(4));
        }
        return rows[static_cast<std::size_t>(pick(static_cast<int>(rows.size())))];
    }

    std::string name(const json& state) {
        switch (pick(6)) {
        case 0:
        case 1:
            return kGoodNames[static_cast<std::size_t>(pick(static_cast<int>(kGoodNames.size())))];
        case 2:
        case 3:
            return kBadNames[static_cast<std::size_t>(pick(static_cast<int>(kBadNames.size())))];
        case 4: {
            // A name the list holds already.
            const json& sections = state["saved"]["saved_table"]["sections"];
            for (const json& section : sections) {
                if (section["title"].is_string() && pick(2) == 0) {
                    return section["title"].get<std::string>();
                }
            }
            return "Default";
        }
        default:
            return "";
        }
    }

    std::mt19937 random_;
};

// Where the cells on screen stand, against the browser's mode.
std::string misplacedCell(const json& state) {
    const bool editing = inEditMode(state);
    const json& saved = state["saved"];
    const json& swiped = saved["saved_table"]["swiped"];
    const json& sections = saved["saved_table"]["sections"];
    const double x = editing ? 40 : 10;
    for (std::size_t s = 0; s < sections.size(); ++s) {
        for (const json& row : sections[s]["rows"]) {
            const bool isSwiped = swiped.is_array() && swiped[0] == s && swiped[1] == row["row"];
            const double alpha = editing || isSwiped ? 0 : 1;
            if (row["main_frame"][0] != x || row["laps_alpha"] != alpha) {
                return "result cell " + std::to_string(s) + " " + row["row"].dump() +
                       " has its main label at x " + row["main_frame"][0].dump() +
                       " and its lap count at alpha " + row["laps_alpha"].dump() +
                       (editing ? " in edit mode" : " outside edit mode") + (isSwiped ? " (swiped)" : "");
            }
        }
    }
    // The lap panel, while it is in.
    if (saved["top_bar"].size() > 1) {
        for (const json& row : saved["laps_table"]["rows"]) {
            if (row["main_frame"][0] != x || row["laps_alpha"] != (editing ? 0 : 1)) {
                return "lap cell " + row["main"].dump() + " is out of place";
            }
        }
    }
    return {};
}

// The table of results against the file: sections, titles, row counts and the texts on screen.
std::string disagreement(const json& state, const std::string& path) {
    auto root = plist::mutableDictionaryWithContentsOfFile(path);
    if (!root) {
        return "the saved-times file does not read";
    }
    lv::SavedTimesDocument document(root);
    const auto names = document.sectionNames();
    const json& saved = state["saved"];
    const json& sections = saved["saved_table"]["sections"];
    if (sections.size() != names.size()) {
        return "the table shows " + std::to_string(sections.size()) + " sections, the file lists " +
               std::to_string(names.size());
    }
    for (std::size_t s = 0; s < names.size(); ++s) {
        auto records = document.recordsOrEmpty(names[s]);
        const bool headerless = names.size() == 1 && records->count() == 0;
        const json title = headerless ? json(nullptr) : json(names[s]);
        if (sections[s]["title"] != title) {
            return "section " + std::to_string(s) + " is titled " + sections[s]["title"].dump() + ", not " +
                   title.dump();
        }
        if (sections[s]["row_count"] != records->count()) {
            return "section " + std::to_string(s) + " shows " + sections[s]["row_count"].dump() +
                   " rows, the file holds " + std::to_string(records->count());
        }
        for (const json& row : sections[s]["rows"]) {
            const auto r = row["row"].get<std::size_t>();
            const lv::SavedTimeView record = lv::readSavedTime(records->objectAtIndex(r));
            const std::string laps = "Laps: " + std::to_string(record.laps.size()) + " >";
            if (row["main"] != lv::totalText(record.total) || row["laps"] != laps) {
                return "row " + std::to_string(s) + " " + std::to_string(r) + " shows " + row["main"].dump() +
                       " " + row["laps"].dump() + ", the file holds " + lv::totalText(record.total) + " " +
                       laps;
            }
        }
    }
    const bool onlyEmpty = names.size() == 1 && document.recordsOrEmpty(names[0])->count() == 0;
    if (saved["no_saved_times_visible"] != onlyEmpty) {
        return "the \"No Saved Times\" label is wrongly " + std::string(onlyEmpty ? "hidden" : "shown");
    }
    return {};
}

// The versions of the file that plistlib refuses, one line each.
std::string refusedByPlistlib(const std::vector<std::string>& versions) {
    if (versions.empty()) {
        return {};
    }
    testing_support::TemporaryDirectory folder;
    const std::string script = folder.file("check.py");
    const std::string report = folder.file("report");
    testing_support::writeWholeFile(script, "import plistlib, sys\n"
                                            "for path in sys.argv[1:]:\n"
                                            "    try:\n"
                                            "        plistlib.load(open(path, 'rb'))\n"
                                            "    except Exception as e:\n"
                                            "        print(path, e)\n");
    std::string command = "python3 " + script;
    for (const auto& version : versions) {
        command += " " + version;
    }
    command += " >" + report + " 2>&1";
    if (std::system(command.c_str()) != 0) {
        return "python3 could not run: " + readWholeFile(report);
    }
    return readWholeFile(report);
}

// The last lines of a text.
std::string lastLines(const std::string& text, std::size_t count) {
    std::size_t at = text.size();
    for (std::size_t lines = 0; at > 0 && lines <= count; ++lines) {
        at = text.rfind('\n', at - 1);
        if (at == std::string::npos) {
            return text;
        }
    }
    return text.substr(at + 1);
}

// One session from its seed in a home of its own. Answers the first thing found wrong ("" when
// nothing was), and adds the versions of the file it left in `versionFolder` to `fileVersions`.
std::string runSession(unsigned seed, const std::string& versionFolder,
                       std::vector<std::string>& fileVersions) {
    testing_support::TemporaryDirectory home;
    std::mt19937 setup(seed * 7919U);
    const std::string path = home.path() + kSavedTimesFile;
    static_cast<void>(home.file("Library/Preferences/.keep"));
    if (std::string file = initialFile(setup); !file.empty()) {
        testing_support::writeWholeFile(path, file);
    }
    const std::string errors = versionFolder + "/stderr-" + std::to_string(seed);
    testing_support::SimPipe sim(
        {"sim", "--home", home.path(), "--now", "2026-12-07T08:00:00Z", "--tz", "UTC", "--locale", "en_US"},
        errors);
    if (!sim.started()) {
        return "lapvane sim did not start";
    }
    StepChooser chooser(seed);
    std::deque<std::string> recent;
    std::string lastBytes;
    std::string step = "launch\ntab saved\n";
    for (int i = 0; i <= kSteps; ++i) {
        recent.push_back(step);
        if (recent.size() > 8) {
            recent.pop_front();
        }
        const auto where = [&](const std::string& what) {
            std::string text = "seed " + std::to_string(seed) + ", step " + std::to_string(i) + ": " + what +
                               "\nthe last steps:\n";
            for (const auto& earlier : recent) {
                text += "  " + json(earlier).dump(-1, ' ', true, json::error_handler_t::replace) + "\n";
            }
            return text + "the end of its standard error:\n" + lastLines(readWholeFile(errors), 4);
        };
        auto state = sim.step(step + "wait 1\n");
        if (!state || !state->is_object()) {
            return where("the session ended");
        }
        if (std::string bytes = readWholeFile(path); bytes != lastBytes) {
            lastBytes = bytes;
            fileVersions.push_back(versionFolder + "/s" + std::to_string(seed) + "-v" + std::to_string(i) +
                                   ".plist");
            testing_support::writeWholeFile(fileVersions.back(), bytes);
        }
        const bool settled = (*state)["saved"].is_object() && (*state)["saved"]["pending"].empty();
        if (onSavedTab(*state) && settled) {
            if (std::string placed = misplacedCell(*state); !placed.empty()) {
                return where(placed);
            }
            if (std::string agreed = disagreement(*state, path); !agreed.empty()) {
                return where(agreed);
            }
        }
        step = chooser.next(*state);
    }
    const int status = sim.finish();
    const std::string stderrText = readWholeFile(errors);
    if (status != 0 && status != 2) {
        return "seed " + std::to_string(seed) + ": exit status " + std::to_string(status);
    }
    if (stderrText.find("fault:") != std::string::npos || stderrText.find("arning") != std::string::npos) {
        return "seed " + std::to_string(seed) + ": " + stderrText;
    }
    return {};
}

// Ten seeds a test, so that plistlib starts once for ten sessions.
constexpr int kSessionsPerTest = 10;

class RandomSavedTabSessions : public testing::TestWithParam<int> {
  protected:
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    testing_support::TemporaryDirectory versions;
};

TEST_P(RandomSavedTabSessions, KeepEveryCellInPlaceTheTableOnTheFileAndTheFileReadable) {
    std::vector<std::string> fileVersions;
    int failed = 0;
    for (int seed = GetParam(); seed < GetParam() + kSessionsPerTest; ++seed) {
        if (std::string failure = runSession(static_cast<unsigned>(seed), versions.path(), fileVersions);
            !failure.empty()) {
            ++failed;
            ADD_FAILURE() << failure;
        }
    }
    // Each refused version is named s<seed>-v<step>.plist.
    EXPECT_EQ(refusedByPlistlib(fileVersions), "");
    EXPECT_EQ(failed, 0) << "sessions that failed, of " << kSessionsPerTest;
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomSavedTabSessions, testing::Range(1, kSessions + 1, kSessionsPerTest),
                         [](const auto& info) {
                             return "Seeds" + std::to_string(info.param) + "To" +
                                    std::to_string(info.param + kSessionsPerTest - 1);
                         });

} // namespace
