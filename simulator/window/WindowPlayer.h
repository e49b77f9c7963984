#pragma once
// Plays a `lapvane sim` script in the window: the commands run as they would in `lapvane sim`,
// and each `wait` lets the window's clock run that long, so a person watches it happen.

#include "simulator/script/LineReader.h"
#include "simulator/script/Simulator.h"

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace sim {

class Device;

/// One script being played, read and checked before the window opened.
class WindowPlayer {
  public:
    WindowPlayer(Device& device, std::ostream& out, std::ostream& err, std::string path,
                 std::vector<SourceLine> lines);

    /// Called with each command line once it has run, with the virtual times it started and
    /// ended at (a command may take a person's time before it acts), as a recording writes it.
    using Heard = std::function<void(const std::string& line, double started, double ended)>;
    void onCommand(Heard heard) { heard_ = std::move(heard); }

    /// Runs the lines up to the next `wait` and answers the virtual time that wait ends at;
    /// nullopt once the script has ended (it then says `played: PATH` on `out`, or why it
    /// stopped early on `err`).
    std::optional<double> next();
    [[nodiscard]] bool done() const { return done_; }
    /// The exit status `lapvane sim` would give the lines run so far: 0, 2 when a line was refused,
    /// 1 after a fault.
    [[nodiscard]] int status() const { return status_; }

  private:
    std::optional<double> finish(const std::string& fault);

    Device* device_;
    std::ostream* out_;
    std::ostream* err_;
    std::string path_;
    std::unique_ptr<LineReader> reader_;
    Simulator simulator_;
    Heard heard_;
    bool done_ = false;
    int status_ = kExitOk;
};

} // namespace sim
