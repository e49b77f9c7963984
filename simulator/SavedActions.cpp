#include "simulator/SavedActions.h"

#include "simulator/ScriptCommand.h"

namespace sim {

std::string runSavedAction(Device& /*device*/, const ScriptCommand& command) {
    return "\"" + command.name + "\" needs the Saved tab's tables, which this build cannot observe yet";
}

} // namespace sim
