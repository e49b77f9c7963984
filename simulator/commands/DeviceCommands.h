#pragma once
// The commands that act on the device as a whole: starting and ending the Clock application,
// asking SpringBoard for a launch image, the tab bar, the clock, and looking at the screen.

#include <string>

namespace sim {

struct CommandContext;
struct ScriptCommand;

/// `launch`: SpringBoard launches the Clock application; prints its launch image.
std::string launchClock(CommandContext& context, const ScriptCommand& command);
/// `quit`: ends the Clock application.
std::string quitClock(CommandContext& context, const ScriptCommand& command);
/// `launch-image BUNDLE-ID`: prints the launch image SpringBoard names for an application.
std::string printLaunchImage(CommandContext& context, const ScriptCommand& command);
/// `tab NAME|POSITION`: taps a tab of the tab bar.
std::string tapTab(CommandContext& context, const ScriptCommand& command);
/// `wait SECONDS`: runs the run loop for that much virtual time.
std::string waitFor(CommandContext& context, const ScriptCommand& command);
/// `screen`: prints the screen as text.
std::string printScreen(CommandContext& context, const ScriptCommand& command);
/// `dump`: prints the state as one line of JSON.
std::string printDump(CommandContext& context, const ScriptCommand& command);
/// `shot FILE`: writes a picture of the screen, PNG or (for a name ending in .svg) SVG.
std::string takePicture(CommandContext& context, const ScriptCommand& command);
/// `help`: prints the commands.
std::string printHelp(CommandContext& context, const ScriptCommand& command);
/// `exit`: ends the session; the lines after it are not read.
std::string endSession(CommandContext& context, const ScriptCommand& command);

} // namespace sim
