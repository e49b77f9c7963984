#pragma once
// Runs simulator commands against a device: each command is what a person does with the device
// (a tap, a wait) or a look at it (screen, dump). A command that cannot be carried out now is an
// error line and the session goes on; a fault raised inside the system ends the session.

#include "simulator/script/LineReader.h"
#include "simulator/script/ScriptCommand.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace sim {

class Device;

/// Exit statuses of a session.
enum ExitStatus : int {
    kExitOk = 0,
    /// A fault inside the system or a stand-in (an exception), or input that could not be read.
    kExitFault = 1,
    /// The session ran to the end, but some script lines were rejected.
    kExitRejectedLines = 2,
};

/// Every exit status with what it means, for every `lapvane` command, in order: the manual page's
/// EXIT STATUS section and the README's table say the same.
std::vector<std::pair<int, std::string>> exitStatusMeanings();

/// Carries out commands on one device.
class Simulator {
  public:
    /// Output goes to `out`; error lines to `err`. With `echo`, each command line is printed
    /// before it runs, for sessions a person watches (the demonstration).
    Simulator(Device& device, std::ostream& out, std::ostream& err, bool echo = false);

    /// Carries out one command: checks that what it needs is on screen, runs its handler from
    /// the command table and, after a touch, one run-loop pass. Returns why it could not be
    /// carried out, empty when it was. Faults propagate as exceptions.
    std::string execute(const ScriptCommand& command);

    /// Reads and runs every line. Returns kExitOk, kExitFault after a fault (reported on `err`)
    /// or kExitRejectedLines when some line was rejected in a non-interactive session.
    int run(LineReader& reader);
    /// Pictures named by a relative path (`shot FILE`) go into `folder` instead of the working
    /// folder.
    void setPictureFolder(std::filesystem::path folder) { pictureFolder_ = std::move(folder); }

  private:
    Device* device_;
    std::ostream* out_;
    std::ostream* err_;
    bool echo_;
    std::filesystem::path pictureFolder_;
    bool ended_ = false;
    /// Damaged saved-times files the last command's file work moved aside.
    std::vector<std::string> movedAside_;
};

} // namespace sim
