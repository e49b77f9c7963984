#include "simulator/window/ScriptRecorder.h"

#include "simulator/commands/SavedActions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace sim {
namespace {

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

ScriptRecorder::ScriptRecorder(const std::string& path, const std::string& header) : file_(path) {
    file_ << header << '\n' << std::flush;
}

void ScriptRecorder::note(const std::string& line, double now) {
    if (startsWith(line, "type ")) {
        typed_ = line;
        typedAt_ = now;
        return;
    }
    if (!typed_.empty()) {
        write(typed_, typedAt_);
        typed_.clear();
    }
    write(line, now);
}

void ScriptRecorder::notePlayed(const std::string& line, double started, double ended) {
    if (!typed_.empty()) {
        write(typed_, typedAt_);
        typed_.clear();
    }
    write({}, started);
    file_ << line << '\n' << std::flush;
    clock_ = std::max(clock_, ended);
    last_ = line;
}

void ScriptRecorder::finish(double now) {
    if (!typed_.empty()) {
        write(typed_, typedAt_);
        typed_.clear();
    }
    write({}, now);
}

double ScriptRecorder::leadOf(const std::string& line) const {
    if (startsWith(line, "swipe ")) {
        return kSwipeSeconds;
    }
    if (startsWith(line, "move ")) {
        return kDragSeconds;
    }
    if (line == "unswipe") {
        return kEditingControlTapSeconds;
    }
    if (startsWith(line, "delete ")) {
        // After a recorded swipe of that row only the tap on Delete; otherwise the minus
        // control's tap comes first.
        bool swiped = last_ == "swipe " + line.substr(7);
        return swiped ? kEditingControlTapSeconds : 2 * kEditingControlTapSeconds;
    }
    return 0;
}

void ScriptRecorder::write(const std::string& line, double at) {
    double gap = at - leadOf(line) - clock_;
    // Whole milliseconds; what rounding leaves is carried into the next wait.
    double millis = std::round(gap * 1000);
    if (millis > 0) {
        // to_chars, not printf: the window runs under the user's locale, and a script's
        // numbers are read with a point.
        std::array<char, 32> text{};
        auto end =
            std::to_chars(text.data(), text.data() + text.size(), millis / 1000, std::chars_format::fixed, 3);
        file_ << "wait " << std::string(text.data(), end.ptr) << '\n';
        clock_ += millis / 1000;
    }
    if (!line.empty()) {
        file_ << line << '\n';
        clock_ += leadOf(line);
        last_ = line;
    }
    file_ << std::flush;
}

} // namespace sim
