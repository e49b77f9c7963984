#pragma once
// Plays a `lapvane sim` script in the window: the commands run as they would in `lapvane sim`,
// and each `wait` lets the window's clock run that long, so a person watches it happen.

#include "simulator/script/LineReader.h"
#include "simulator/script/Simulator.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace sim {

class Device;

/// One script being played.
class WindowPlayer {
  public:
    WindowPlayer(Device& device, std::ostream& out, std::ostream& err, const std::string& path);

    /// Runs the lines up to the next `wait` and answers the virtual time that wait ends at;
    /// nullopt once the script has ended (it then says `played: PATH` on `out`, or why it
    /// stopped early on `err`).
    std::optional<double> next();
    [[nodiscard]] bool done() const { return done_; }

  private:
    std::optional<double> finish(const std::string& fault);

    Device* device_;
    std::ostream* out_;
    std::ostream* err_;
    std::string path_;
    std::unique_ptr<LineReader> reader_;
    Simulator simulator_;
    bool done_ = false;
};

} // namespace sim
