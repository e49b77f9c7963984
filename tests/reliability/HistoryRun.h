#pragma once
// Running one history: three `lapvane sim` processes started together on one home, each given
// a seeded random session a step at a time through its standard input, with a fault injected
// in some histories, then the final file read by Python's plistlib.
//
// Everything a history does follows from its seed: the sessions, the order in which steps are
// handed out, how many steps may be in flight at once (one: each step runs alone, so the
// history is the same at every run; more: the processes really race), the starting file (some
// start from one with an orphan key and a name listed twice) and the fault (a full disk or a
// read-only folder for a stretch of steps, or a process killed in the middle of a step).

#include "tests/reliability/History.h"

#include <string>
#include <vector>

namespace reliability::history {

enum class Fault { None, DiskFull, ReadOnly, Kill };

struct Plan {
    unsigned seed = 0;
    int processes = 3;
    int stepsPerProcess = 20;
    /// Steps handed out and not yet confirmed, at most; 1 runs the steps one at a time.
    int window = 1;
    Fault fault = Fault::None;
    /// The file starts with records, an orphan key and a name listed twice.
    bool messyStart = false;
};

/// The plan a seed stands for.
Plan planFor(unsigned seed);
/// `seed-17 (one at a time, full disk, messy start)`.
std::string describe(const Plan& plan);

/// The script lines of one step, by kind, for tests that build their own sessions.
struct StepLines {
    std::string kind;
    std::vector<std::string> lines;
    /// Index in `lines` of the line that writes (save, delete, move, button Add); -1 for none.
    int writes = -1;
};

/// A session handed to one process: its steps in order, and its clock's start.
struct Script {
    std::string now;
    std::vector<StepLines> steps;
};

/// A history to run: the sessions and the order in which their steps are handed out (process
/// numbers), and the plan's window and fault.
struct Run {
    Plan plan;
    std::vector<Script> scripts;
    std::vector<int> order;
    /// The starting file's text (empty: no file) and its records by date.
    std::string startFile;
    std::map<std::string, std::string> initial;
    /// The positions in `order` where the fault starts and ends (Kill: the step cut short).
    std::size_t faultFrom = 0;
    std::size_t faultTo = 0;
};

/// The run a plan stands for.
Run runFor(const Plan& plan);

/// What a history did and what the check found.
struct Outcome {
    Input input;
    Verdict verdict;
    /// Whether the fault was in force (a remount can be refused while a file is being written).
    bool faultApplied = false;
    double seconds = 0;
};

/// Runs the history in a fresh home (a small tmpfs of its own) and checks it.
Outcome runHistory(const Run& run);

} // namespace reliability::history
