// Every errno a file system gives, injected with strace into every call of the read and write
// paths of a capture (a whole simulated session pressing Save) and of an edit (a delete), each
// call once and from that call on. Whatever fails, the old file stays byte for byte, no
// temporary file is left, nothing is moved aside (the file is never damaged here), and Save
// stays enabled exactly when the result was not stored.

#include "tests/reliability/Campaign.h"

#include <gtest/gtest.h>

#include <future>
#include <map>
#include <regex>
#include <sstream>

namespace reliability {
namespace {

const std::vector<std::string> kErrnos = {"EIO",    "EACCES", "EMFILE", "ENFILE",
                                          "ENOMEM", "ENOSPC", "EROFS",  "EDQUOT"};
const std::string kCalls =
    "openat,newfstatat,read,write,close,flock,fchmod,fchown,fsync,rename,getdents64,unlink";

// A call of the operation on the saved times: its name and its ordinal among calls of that name.
struct Target {
    std::string call;
    int ordinal = 0;
    std::string text;
};

// The calls of a traced run that touch the saved-times file, its temporary and lock files, or
// the folder while its lock is held.
std::vector<Target> targetsOf(const std::string& trace, const std::string& folder) {
    static const std::regex line(R"(^\d+\s+(\w+)\((.*)\)\s+=\s+.*$)");
    const std::string name = std::string(kSavedTimes);
    std::map<std::string, int> seen;
    std::vector<Target> targets;
    bool locked = false;
    std::istringstream in(trace);
    for (std::string entry; std::getline(in, entry);) {
        std::smatch match;
        if (!std::regex_match(entry, match, line)) {
            continue;
        }
        const std::string call = match[1];
        const std::string args = match[2];
        const int ordinal = ++seen[call];
        const bool ours = args.find(name) != std::string::npos;
        const bool lockFile = args.find("." + name + ".lock") != std::string::npos;
        if (call == "flock" && lockFile) {
            locked = true;
        }
        if (ours || (locked && args.find("<" + folder + ">") != std::string::npos)) {
            targets.push_back({call, ordinal, entry});
        }
        if (call == "close" && lockFile) {
            locked = false;
        }
    }
    return targets;
}

struct Operation {
    std::string name;
    std::string command;
    std::vector<long long> seedDefault;
    std::vector<long long> seedWork;
    // The totals the file holds after the operation succeeded.
    std::multiset<long long> after;
};

struct Tally {
    int cases = 0;
    int failedOperations = 0;
    int storedAnyway = 0;
    std::vector<std::string> problems;
};

// Runs one case in its own home and checks what it left.
void runCase(const Operation& op, const Target& target, const std::string& error, bool fromThenOn,
             Tally& tally) {
    Home home;
    writeWhole(home.savedTimes(), savedTimesText(op.seedDefault, op.seedWork));
    const std::string before = readWhole(home.savedTimes());
    const std::string trace = home.path() + "/trace";
    const std::string when = std::to_string(target.ordinal) + (fromThenOn ? "+" : "");
    const ChildRun run =
        runProgram({"/usr/bin/strace", "-f", "-qq", "-y", "-o", trace, "-e", "trace=" + target.call, "-e",
                    "inject=" + target.call + ":error=" + error + ":when=" + when, driverProgram(),
                    op.command, home.path()},
                   Limits{60, 0});
    const std::string label = op.name + " " + target.call + "#" + when + " " + error + ": ";
    const auto problem = [&](const std::string& what) { tally.problems.push_back(label + what); };
    ++tally.cases;
    // The injected call must be the one aimed at: the runs make the same calls in the same order.
    const std::string traced = readWhole(trace);
    const std::size_t injected = traced.find("(INJECTED)");
    if (injected == std::string::npos) {
        problem("nothing was injected");
        return;
    }
    const std::size_t lineStart = traced.rfind('\n', injected) + 1;
    const std::string injectedLine = traced.substr(lineStart, injected - lineStart);
    if (injectedLine.find(kSavedTimes) == std::string::npos &&
        injectedLine.find(home.preferences()) == std::string::npos) {
        problem("injected into another call: " + injectedLine);
    }
    if (run.status != 0 && run.status != 3) {
        problem("ended with status " + std::to_string(run.status) + " signal " + std::to_string(run.signal) +
                "\n" + run.output);
        return;
    }
    if (!home.temporaries().empty()) {
        problem("left " + home.temporaries().front());
    }
    if (!home.movedAside().empty()) {
        problem("moved the file aside");
    }
    if (run.status == 3) {
        // Not stored (for a capture: Save still enabled): the old file byte for byte.
        ++tally.failedOperations;
        if (readWhole(home.savedTimes()) != before) {
            problem("wrote nothing, but the file changed");
        }
        return;
    }
    ++tally.storedAnyway;
    const Content content = readContent(home.savedTimes());
    if (!content.parsed || content.totals != op.after) {
        problem("reported stored, but the file does not hold the result");
    }
}

TEST(ErrnoInjection, NoFailingCallLosesOrChangesTheOldFileOrLeavesAnything) {
    // A capture adds a record of 5.5 s (3 + 2.5); the delete removes the first record of
    // "Default", which keeps one, so each writes once.
    const std::vector<Operation> operations = {
        Operation{"capture", "save", {1, 2}, {3}, {1, 2, 3, 5}},
        Operation{"delete", "delete", {1, 2}, {3}, {2, 3}},
    };
    Tally tally;
    std::map<std::string, int> targetsPerOperation;
    for (const auto& op : operations) {
        Home home;
        writeWhole(home.savedTimes(), savedTimesText(op.seedDefault, op.seedWork));
        const std::string trace = home.path() + "/trace";
        const ChildRun dry = runProgram({"/usr/bin/strace", "-f", "-qq", "-y", "-o", trace, "-e",
                                         "trace=" + kCalls, driverProgram(), op.command, home.path()});
        ASSERT_EQ(dry.status, 0) << dry.output;
        const std::vector<Target> targets = targetsOf(readWhole(trace), home.preferences());
        ASSERT_GE(targets.size(), 15U) << readWhole(trace);
        targetsPerOperation[op.name] = static_cast<int>(targets.size());
        // Two cases at a time: the machine has two cores.
        std::vector<std::function<void(Tally&)>> cases;
        for (const auto& target : targets) {
            for (const auto& error : kErrnos) {
                for (const bool fromThenOn : {false, true}) {
                    cases.emplace_back([&op, target, error, fromThenOn](Tally& t) {
                        runCase(op, target, error, fromThenOn, t);
                    });
                }
            }
        }
        for (std::size_t i = 0; i < cases.size(); i += 2) {
            Tally second;
            auto other = i + 1 < cases.size() ? std::async(std::launch::async, cases[i + 1], std::ref(second))
                                              : std::future<void>();
            cases[i](tally);
            if (other.valid()) {
                other.get();
            }
            tally.cases += second.cases;
            tally.failedOperations += second.failedOperations;
            tally.storedAnyway += second.storedAnyway;
            tally.problems.insert(tally.problems.end(), second.problems.begin(), second.problems.end());
        }
    }
    for (const auto& problem : tally.problems) {
        ADD_FAILURE() << problem;
    }
    reportFigures(
        "errno injection",
        std::to_string(tally.cases) + " cases (" + std::to_string(kErrnos.size()) + " errnos x " +
            std::to_string(targetsPerOperation["capture"]) + " calls of a capture + " +
            std::to_string(targetsPerOperation["delete"]) +
            " calls of a delete, once and from then on): " + std::to_string(tally.failedOperations) +
            " wrote nothing with the old file byte-identical, " + std::to_string(tally.storedAnyway) +
            " stored in spite of the error (a failure after the rename "
            "or in a step that does not matter), " +
            std::to_string(tally.problems.size()) + " problems");
}

} // namespace
} // namespace reliability
