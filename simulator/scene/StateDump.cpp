#include "simulator/scene/StateDump.h"

#include "simulator/device/Device.h"
#include "simulator/scene/Inspector.h"
#include "simulator/scene/SavedScreen.h"
#include "simulator/scene/Scene.h"

#include "hosts/clock/StopWatchViewController.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UITextField.h"

#include <charconv>
#include <cmath>

namespace sim {

using json = nlohmann::ordered_json;

double points(float value) {
    // The shortest text that reads back as the same single-precision value, so 0.2f is
    // written 0.2 and not 0.20000000298023224.
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value);
    double widened = 0;
    std::from_chars(text, result.ptr, widened);
    return widened;
}

namespace {

json frameJson(CGRect frame) {
    return json::array({points(frame.origin.x), points(frame.origin.y), points(frame.size.width),
                        points(frame.size.height)});
}

json optionalText(const std::optional<std::string>& text) {
    return text ? json(*text) : json(nullptr);
}

json tabJson(const Inspector& inspector) {
    auto tabs = inspector.tabBarController();
    if (!tabs) {
        return nullptr;
    }
    NSUInteger index = tabs->selectedIndex();
    return {{"index", index == NSNotFound ? json(nullptr) : json(index)}, {"titles", inspector.tabTitles()}};
}

json stopwatchJson(const Inspector& inspector) {
    auto screen = inspector.stopwatch();
    if (!screen) {
        return nullptr;
    }
    json save = nullptr;
    if (auto button = inspector.saveButton()) {
        save = {{"enabled", button->isEnabled()},
                {"title_alpha", points(button->titleLabel()->alpha())},
                {"frame", frameJson(button->frame())}};
    }
    return {{"running", screen->isRunning()}, {"laps", screen->laps()}, {"save_button", save}};
}

json alertsJson(const Scene& scene) {
    json alerts = json::array();
    for (const auto& shown : scene.alerts) {
        const auto& alert = shown.alert;
        json buttons = json::array();
        for (NSInteger i = 0; i < alert->numberOfButtons(); ++i) {
            buttons.push_back(alert->buttonTitleAtIndex(i));
        }
        json text = nullptr;
        json placeholder = nullptr;
        UIAlertViewStyle style = alert->alertViewStyle();
        if (style != UIAlertViewStyleDefault) {
            auto field = alert->textFieldAtIndex(0);
            text = field->text();
            placeholder = optionalText(field->placeholder());
        }
        alerts.push_back({{"title", optionalText(alert->title())},
                          {"message", optionalText(alert->message())},
                          {"buttons", buttons},
                          {"text", text},
                          {"placeholder", placeholder},
                          {"state", alertStateName(shown.state)}});
    }
    return alerts;
}

} // namespace

json dumpState(Device& device) {
    Inspector inspector(device);
    Scene scene = captureScene(device);
    const auto& launchImage = device.springBoard().lastLaunchImageName();
    return {
        // The virtual clock adds up its steps in binary floating point (0.1 + 0.2 is
        // 0.30000000000000004); the dump gives the time to the nanosecond, as it was meant.
        {"time", std::round(device.now() * 1e9) / 1e9},
        {"app", device.clockRunning() ? json("clock") : json(nullptr)},
        {"tab", tabJson(inspector)},
        {"stopwatch", stopwatchJson(inspector)},
        {"saved", savedScreenJson(device, scene)},
        {"alerts", alertsJson(scene)},
        {"launch_image", launchImage ? json(*launchImage) : json(nullptr)},
        {"launch_image_shown", scene.launch ? json(scene.launch->name) : json(nullptr)},
    };
}

std::string dumpText(Device& device, int indent) {
    return dumpState(device).dump(indent, ' ', false, json::error_handler_t::replace);
}

} // namespace sim
