#include "simulator/commands/ScrollCommands.h"

#include "simulator/device/Device.h"
#include "simulator/scene/Scene.h"
#include "simulator/script/CommandContext.h"
#include "simulator/script/ScriptCommand.h"

#include "platform/uikit/UITableView.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace sim {

std::string scrollTable(CommandContext& context, const ScriptCommand& command) {
    const std::string& word = command.words.empty() ? std::string() : command.words[0];
    double distance = 0;
    const char* end = word.data() + word.size();
    auto [at, error] = std::from_chars(word.data(), end, distance);
    if (word.empty() || error != std::errc() || at != end || !std::isfinite(distance)) {
        return "\"" + word + "\" is not a number of points";
    }
    // The finger lands in the middle of what shows of the saved-times table; whatever table
    // takes the touch there scrolls.
    Scene scene = captureScene(context.device);
    const SceneElement* shown = scene.find(context.saved.savedTable.get());
    if (shown == nullptr || shown->visible.size.height <= 0) {
        return "the saved-times table is not on screen";
    }
    std::shared_ptr<UITableView> table;
    for (const SceneElement* element : scene.hitChain(shown->visibleCentre())) {
        if (auto found = std::dynamic_pointer_cast<UITableView>(element->view);
            found && element->kind == SceneElement::Kind::View) {
            table = found;
        }
    }
    if (!table) {
        return "no table takes a touch in the middle of the saved-times table";
    }
    // Worked out in double precision, so a distance recorded as the difference of two offsets
    // lands on the second exactly.
    double most = std::max(0.0, static_cast<double>(table->contentSize().height) -
                                    static_cast<double>(table->bounds().size.height));
    double offset = std::clamp(static_cast<double>(table->contentOffset().y) + distance, 0.0, most);
    table->simulateScroll(CGPointMake(table->contentOffset().x, static_cast<CGFloat>(offset)));
    table->layoutIfNeeded();
    return {};
}

} // namespace sim
