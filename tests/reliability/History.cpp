#include "tests/reliability/History.h"

#include <regex>

namespace reliability::history {
namespace {

// A quoted section name as the store's trace writes it; `\"`, `\\` and `\xHH` unescaped.
std::string unquote(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            if (text[i + 1] == 'x' && i + 3 < text.size()) {
                out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
                i += 3;
            } else {
                out += text[++i];
            }
        } else {
            out += text[i];
        }
    }
    return out;
}

const char* const kDeleted = "(deleted)";

// Where a record is, and where the logged changes took it.
struct Track {
    std::optional<std::string> start;
    std::string capturedBy;
    // Net arrivals less departures per section (kDeleted for a delete).
    std::map<std::string, int> balance;
    int edges = 0;
};

struct FinalCount {
    std::map<std::string, int> sections;
    int total = 0;
};

} // namespace

std::optional<Change> parseChange(const std::string& line) {
    static const std::regex capture(R"re(^(?:\[store\] )?capture (\S+) to "((?:[^"\\]|\\.)*)"$)re");
    static const std::regex remove(R"re(^(?:\[store\] )?delete (\S+) from "((?:[^"\\]|\\.)*)"$)re");
    static const std::regex move(
        R"re(^(?:\[store\] )?move (\S+) from "((?:[^"\\]|\\.)*)" to "((?:[^"\\]|\\.)*)"$)re");
    static const std::regex add(R"re(^(?:\[store\] )?add "((?:[^"\\]|\\.)*)"$)re");
    std::smatch m;
    if (std::regex_match(line, m, capture)) {
        return Change{Change::Kind::Capture, m[1], "", unquote(m[2])};
    }
    if (std::regex_match(line, m, remove)) {
        return Change{Change::Kind::Delete, m[1], unquote(m[2]), ""};
    }
    if (std::regex_match(line, m, move)) {
        return Change{Change::Kind::Move, m[1], unquote(m[2]), unquote(m[3])};
    }
    if (std::regex_match(line, m, add)) {
        return Change{Change::Kind::Add, "", "", unquote(m[1])};
    }
    return std::nullopt;
}

std::string refusalCause(const std::string& refusal) {
    const auto has = [&](const char* text) { return refusal.find(text) != std::string::npos; };
    if (has("changed since the list was read")) {
        return "list changed";
    }
    if (has("No space left") || has("ENOSPC")) {
        return "disk full";
    }
    if (has("Read-only") || has("cannot be written") || has("read-only")) {
        return "read-only";
    }
    if (has("already exists")) {
        return "name taken";
    }
    if (has("listed more than once") || has("listed twice")) {
        return "name listed twice";
    }
    if (has("there is no saved-times file")) {
        return "no file";
    }
    if (has("no section") || has("no row") || has("not on screen") || has("edit mode") || has("no alert") ||
        has("alert is in front") || has("is covered") || has("no Delete") || has("is not running") ||
        has("there is no") || has("cannot be moved")) {
        return "not possible now";
    }
    return "other";
}

namespace {

const char* kindWord(Change::Kind kind) {
    switch (kind) {
    case Change::Kind::Capture:
        return "capture";
    case Change::Kind::Delete:
        return "delete";
    case Change::Kind::Move:
        return "move";
    case Change::Kind::Add:
        return "add";
    }
    return "?";
}

// The one session, if any, that was killed with an unconfirmed capture and whose dates hold
// `record`: a capture that may have landed without being logged.
bool inFlightCaptureOf(const Input& input, const std::string& record) {
    for (const Session& session : input.sessions) {
        if (session.killed && !session.steps.empty() && !session.steps.back().completed &&
            session.steps.back().kind == "capture" && record >= session.firstDate &&
            record <= session.lastDate) {
            return true;
        }
    }
    return false;
}

} // namespace

Verdict check(const Input& input) {
    Verdict verdict;
    std::map<std::string, Track> tracks;
    for (const auto& [record, section] : input.initial) {
        tracks[record].start = section;
        tracks[record].capturedBy = "the starting file";
    }
    int inFlightEdits = 0;
    for (std::size_t p = 0; p < input.sessions.size(); ++p) {
        const Session& session = input.sessions[p];
        if (!session.fault.empty()) {
            verdict.problems.push_back("process " + std::to_string(p) + " raised a fault: " + session.fault);
        }
        for (std::size_t s = 0; s < session.steps.size(); ++s) {
            const Step& step = session.steps[s];
            const std::string where =
                "process " + std::to_string(p) + " step " + std::to_string(s + 1) + " (" + step.kind + ")";
            ++verdict.steps;
            const bool writes =
                step.kind == "capture" || step.kind == "delete" || step.kind == "move" || step.kind == "add";
            if (!step.completed) {
                ++verdict.unconfirmed;
                verdict.inFlightLanded += step.stored.empty() ? 0 : 1;
                if (writes && step.kind != "capture" && step.kind != "add") {
                    ++inFlightEdits;
                }
            } else if (writes && step.stored.empty()) {
                if (!step.refusal.empty()) {
                    ++verdict.refusals[refusalCause(step.refusal)];
                } else if (step.attempted) {
                    verdict.problems.push_back(where + " stored nothing and said nothing");
                }
            } else if (!step.stored.empty()) {
                ++verdict.stored;
                if (!step.refusal.empty()) {
                    verdict.problems.push_back(where + " was refused (" + step.refusal +
                                               ") but stored a change");
                }
            }
            for (const Change& change : step.stored) {
                if (kindWord(change.kind) != step.kind) {
                    verdict.problems.push_back(where + " stored a " + kindWord(change.kind));
                }
                if (change.kind == Change::Kind::Add) {
                    continue;
                }
                Track& track = tracks[change.record];
                if (change.kind == Change::Kind::Capture) {
                    if (track.start || !track.capturedBy.empty()) {
                        verdict.problems.push_back(where + " captured " + change.record + ", a date " +
                                                   track.capturedBy + " already stored");
                        continue;
                    }
                    track.start = change.to;
                    track.capturedBy = where;
                    continue;
                }
                ++track.edges;
                --track.balance[change.from];
                ++track.balance[change.kind == Change::Kind::Delete ? std::string(kDeleted) : change.to];
            }
        }
    }

    std::map<std::string, FinalCount> held;
    if (!input.final) {
        verdict.problems.push_back("Python's plistlib cannot read the final file: " + input.unreadable);
        return verdict;
    }
    for (const Held& h : *input.final) {
        ++held[h.record].sections[h.section];
        ++held[h.record].total;
    }

    // Records whose state differs from the model, which an unconfirmed edit may explain.
    std::vector<std::string> unexplained;
    for (auto& [record, track] : tracks) {
        const FinalCount found = held.count(record) != 0 ? held[record] : FinalCount{};
        if (found.total > 1) {
            verdict.problems.push_back("record " + record + " is in the file " + std::to_string(found.total) +
                                       " times");
        }
        if (!track.start) {
            // Edited by others but never logged as captured: only a capture cut short by a kill
            // explains it, and then where it started is unknown.
            if (!inFlightCaptureOf(input, record)) {
                verdict.problems.push_back("record " + record + " was edited but never captured");
            }
            continue;
        }
        std::map<std::string, int> balance = track.balance;
        ++balance[*track.start];
        std::vector<std::string> ends;
        bool chains = true;
        for (const auto& [section, net] : balance) {
            if (net == 1) {
                ends.push_back(section);
            } else if (net != 0) {
                chains = false;
            }
        }
        if (!chains || ends.size() != 1) {
            verdict.problems.push_back("the stored edits of record " + record +
                                       " do not chain from where it was (" + track.capturedBy +
                                       " put it in \"" + *track.start + "\")");
            continue;
        }
        const std::string& end = ends.front();
        if (end == kDeleted) {
            if (found.total > 0) {
                unexplained.push_back("record " + record + " was deleted but is in \"" +
                                      found.sections.begin()->first + "\"");
            }
            continue;
        }
        ++verdict.recordsExpected;
        if (found.total == 0) {
            ++verdict.recordsLost;
            unexplained.push_back("record " + record + " (" + track.capturedBy + ", last in \"" + end +
                                  "\") is lost");
        } else if (found.sections.count(end) == 0) {
            unexplained.push_back("record " + record + " is in \"" + found.sections.begin()->first +
                                  "\", not in \"" + end + "\" where its last stored change put it");
        }
    }
    for (const auto& [record, found] : held) {
        if (tracks.count(record) == 0 && !inFlightCaptureOf(input, record)) {
            verdict.problems.push_back("record " + record + " in \"" + found.sections.begin()->first +
                                       "\" was never captured");
        } else if (tracks.count(record) == 0) {
            ++verdict.inFlightLanded;
        }
    }
    if (static_cast<int>(unexplained.size()) <= inFlightEdits) {
        verdict.inFlightLanded += static_cast<int>(unexplained.size());
        // The differences are what unconfirmed edits may have done; a lost record among them
        // was deleted by one.
        for (const auto& text : unexplained) {
            if (text.find(" is lost") != std::string::npos) {
                --verdict.recordsLost;
            }
        }
    } else {
        verdict.problems.insert(verdict.problems.end(), unexplained.begin(), unexplained.end());
    }
    return verdict;
}

} // namespace reliability::history
