#pragma once
// What a command's handler works with: the device, where its output goes, and what the screen
// checks found on the way (the stopwatch screen, the Saved tab's parts), so a handler does not
// look for them again.

#include "simulator/scene/SavedScreen.h"
#include "simulator/script/CommandTable.h"

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

class StopWatchViewController;

namespace sim {

class Device;

/// The device and output of one command, and what its screen checks found.
struct CommandContext {
    /// The device the command acts on.
    Device& device;
    /// Where the command prints what it shows.
    std::ostream& out;
    /// The stopwatch screen; set when the command needs the stopwatch tab.
    std::shared_ptr<StopWatchViewController> stopwatch;
    /// The Saved tab's parts; set when the command needs the Saved tab (the table only when it
    /// needs the table).
    SavedParts saved;
    /// Where pictures named by a relative path go; empty for the working folder.
    std::filesystem::path pictureFolder;
    /// Set by a command that ends the session (`exit`): no further line is read.
    bool endsSession = false;
};

/// Checks that what `needs` asks for is on screen, in order, filling in what it finds.
/// Returns why the command cannot act now (the first thing missing), empty when it can.
std::string checkScreen(Needs needs, CommandContext& context);

} // namespace sim
