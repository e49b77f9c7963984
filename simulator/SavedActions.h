#pragma once
// The commands that act on the Saved tab's screen: taps on its tables and bar items, swipes,
// deletes, moves. They find the bars and tables by observation, as an inspector would.

#include <string>

namespace sim {

class Device;
struct ScriptCommand;

/// Carries out tap, back, edit, done, add, swipe, unswipe, delete or move. Returns why it could
/// not be carried out, empty when it was.
std::string runSavedAction(Device& device, const ScriptCommand& command);

} // namespace sim
