#include "simulator/SavedScreen.h"

#include "simulator/Device.h"
#include "simulator/Inspector.h"

#include "platform/uikit/UIViewController.h"

namespace sim {

nlohmann::ordered_json savedScreenJson(Device& device) {
    Inspector inspector(device);
    auto controller = inspector.savedController();
    if (!controller || !controller->isViewLoaded()) {
        return nullptr;
    }
    return nlohmann::ordered_json::object();
}

} // namespace sim
