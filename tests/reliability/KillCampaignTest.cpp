// SIGKILL at random moments of sessions doing captures and edits. Each session announces every
// operation in a journal before it starts and confirms it once it wrote, so after each kill the
// file can be compared with what was confirmed: nothing torn (it always parses), nothing lost
// (every confirmed capture is there), no rollback (no confirmed delete is undone); only the one
// operation in flight may or may not have landed. Then one more save must sweep every temporary
// file the killed session left.

#include "tests/reliability/Campaign.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <random>
#include <sstream>
#include <unistd.h>

namespace reliability {
namespace {

// The number of kills; LAPVANE_KILLS overrides it for longer runs.
int killCount() {
    const char* text = std::getenv("LAPVANE_KILLS");
    return text != nullptr ? std::atoi(text) : 2000;
}

struct Journal {
    std::vector<std::pair<char, long long>> confirmed;
    // The operation announced last and never confirmed, if any ('\0' when none).
    char inFlight = '\0';
    long long inFlightId = 0;
};

Journal readJournal(const std::string& path) {
    Journal journal;
    std::istringstream in(readWhole(path));
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        char mark = 0;
        char kind = 0;
        long long id = 0;
        words >> mark >> kind >> id;
        if (mark == '?') {
            journal.inFlight = kind;
            journal.inFlightId = id;
        } else if (mark == '!') {
            journal.confirmed.emplace_back(kind, id);
            journal.inFlight = '\0';
        }
    }
    return journal;
}

std::multiset<long long> minus(std::multiset<long long> from, const std::multiset<long long>& take) {
    for (long long id : take) {
        auto at = from.find(id);
        if (at != from.end()) {
            from.erase(at);
        }
    }
    return from;
}

TEST(KillCampaign, NoKillTearsLosesOrRollsBackAnythingOrLeavesATemporaryFile) {
    const int kills = killCount();
    Home home;
    std::mt19937 random(20261207);
    std::multiset<long long> expected;
    int insideAWrite = 0;
    int torn = 0;
    int lost = 0;
    int rolledBack = 0;
    int stale = 0;
    int inFlightLanded = 0;
    long long confirmedOperations = 0;
    for (int cycle = 1; cycle <= kills; ++cycle) {
        const std::string journalPath = home.path() + "/journal";
        std::remove(journalPath.c_str());
        const Child session =
            startProgram({driverProgram(), "churn", home.path(), journalPath, std::to_string(cycle)});
        ::usleep(static_cast<useconds_t>(2000 + random() % 78000));
        ::kill(session.pid, SIGKILL);
        waitFor(session);
        insideAWrite += home.temporaries().empty() ? 0 : 1;

        const Journal journal = readJournal(journalPath);
        for (const auto& [kind, id] : journal.confirmed) {
            ++confirmedOperations;
            if (kind == 'C') {
                expected.insert(id);
            } else if (kind == 'D') {
                expected.erase(expected.find(id));
            }
        }
        const Content content = readContent(home.savedTimes());
        if (!content.parsed && !content.missing) {
            ++torn;
            ADD_FAILURE() << "kill " << cycle << " left a file that does not parse";
            break;
        }
        if (content.totals != expected) {
            // Only the operation in flight may have landed.
            std::multiset<long long> landed = expected;
            if (journal.inFlight == 'C') {
                landed.insert(journal.inFlightId);
            } else if (journal.inFlight == 'D' && landed.count(journal.inFlightId) > 0) {
                landed.erase(landed.find(journal.inFlightId));
            }
            if (content.totals == landed) {
                ++inFlightLanded;
            } else {
                const auto missing = minus(expected, content.totals);
                const auto extra = minus(content.totals, landed);
                lost += static_cast<int>(missing.size());
                rolledBack += static_cast<int>(extra.size());
                ADD_FAILURE() << "kill " << cycle << ": " << missing.size() << " confirmed records lost, "
                              << extra.size() << " deleted records back";
            }
            expected = content.totals;
        }
        // The next save sweeps what the killed session left.
        const long long next = -cycle;
        const ChildRun save =
            runProgram({driverProgram(), "captures", home.path(), "1", std::to_string(next)});
        ASSERT_EQ(save.status, 0) << save.output;
        expected.insert(next);
        if (!home.temporaries().empty()) {
            ++stale;
            ADD_FAILURE() << "after kill " << cycle << " the next save left " << home.temporaries().front();
        }
    }
    const Content last = readContent(home.savedTimes());
    EXPECT_EQ(last.totals, expected);
    reportFigures("SIGKILL campaign",
                  std::to_string(kills) + " kills of sessions doing captures and edits (" +
                      std::to_string(insideAWrite) + " inside a write, leaving its temporary file; " +
                      std::to_string(confirmedOperations) + " operations confirmed, " +
                      std::to_string(inFlightLanded) + " in flight that landed): " + std::to_string(torn) +
                      " torn, " + std::to_string(lost) + " lost, " + std::to_string(rolledBack) +
                      " rolled back, " + std::to_string(stale) + " temporary files left after the next save");
}

} // namespace
} // namespace reliability
