#pragma once
// A history of concurrent sessions on one saved-times file, and its check against a model.
//
// Each session is a `lapvane sim` process whose store logs every change it wrote (LAPVANE_TRACE=
// store: `capture DATE to "NAME"`, `delete DATE from "NAME"`, `move DATE from "A" to "B"`,
// `add "NAME"`), naming the record by its date, which is unique in these runs. A step is one
// thing a person does (a capture, a delete, a move, a new section, a tab switch, a relaunch);
// its outcome is what its process said while doing it: the changes it stored, and the refusal
// of the line that writes.
//
// The model: a record starts where its capture (or the file the history started from) put it;
// every stored move takes it from one section to another and a stored delete ends it. Stored
// changes name where they took the record from, so the model needs no order between processes:
// the moves of one record must chain from its start, and their end is where the file must hold
// it. Steps of a process killed before it confirmed them may or may not have landed.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace reliability::history {

/// One change a store logged.
struct Change {
    enum class Kind { Capture, Delete, Move, Add };
    Kind kind = Kind::Capture;
    /// The record's date (`2031-01-01T00:00:12Z`); empty for Add.
    std::string record;
    /// Capture: the section it went to. Delete: the section it left. Move: both. Add: `to`.
    std::string from;
    std::string to;
};
/// Reads a line of the store's trace (with or without its `[store] ` tag); nothing for any
/// other line.
std::optional<Change> parseChange(const std::string& line);

/// What one step of a session did.
struct Step {
    /// capture, delete, move, add (the steps that write) or another word for steps that do not.
    std::string kind;
    /// False when a line before the writing one was refused, so the write was never tried (the
    /// screen it needs was not there): such a step may store nothing without saying so.
    bool attempted = true;
    /// The changes logged while the step ran.
    std::vector<Change> stored;
    /// The refusal of the writing line (the text after `error: FILE:LINE: `), or of the name
    /// in the new-section dialog; empty when none was said.
    std::string refusal;
    /// False when the process ended (killed) before the step was confirmed.
    bool completed = true;
};

/// One session: its steps in order.
struct Session {
    std::vector<Step> steps;
    /// Killed by the harness; its last unconfirmed step may or may not have landed.
    bool killed = false;
    /// The dates its captures get lie in [first, last] (string order is time order here).
    std::string firstDate;
    std::string lastDate;
    /// A `fault:` line it printed, if any.
    std::string fault;
};

/// A record the final file holds: its date and the name of the key's section.
struct Held {
    std::string record;
    std::string section;
    bool operator<(const Held& other) const {
        return record != other.record ? record < other.record : section < other.section;
    }
};

struct Input {
    /// Records the file held before the sessions started, by date, with their key's section.
    std::map<std::string, std::string> initial;
    std::vector<Session> sessions;
    /// What the file holds at the end; nothing when Python's plistlib could not read it.
    std::optional<std::vector<Held>> final;
    /// Why plistlib refused it.
    std::string unreadable;
};

/// The check's findings, and the counts for the figures.
struct Verdict {
    std::vector<std::string> problems;
    int steps = 0;
    int stored = 0;
    /// Refusals of writing steps by cause (see refusalCause).
    std::map<std::string, int> refusals;
    int recordsExpected = 0;
    int recordsLost = 0;
    /// Steps of killed sessions cut short before they were confirmed.
    int unconfirmed = 0;
    /// Of those, the ones whose change is in the file (logged, or found there).
    int inFlightLanded = 0;
    [[nodiscard]] bool ok() const { return problems.empty(); }
};

/// A refusal in a few words: "list changed", "disk full", "read-only", "name taken", "name listed
/// twice", "no file", "not possible now" (a row, section or control the screen does not have),
/// "other".
std::string refusalCause(const std::string& refusal);

/// Holds the history against the model.
Verdict check(const Input& input);

} // namespace reliability::history
