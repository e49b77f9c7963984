#include "hosts/clock/AlarmViewController.h"

#include "hosts/clock/ClockImages.h"
#include "hosts/clock/PlaceholderScreen.h"
#include "platform/uikit/UIKitMessages.h"
#include "platform/uikit/UITabBarItem.h"

void AlarmViewController::describe(rt::ClassBuilder& b) {
    b.method<&AlarmViewController::viewDidLoad>(msg::viewDidLoad);
}

std::shared_ptr<AlarmViewController> AlarmViewController::alarm() {
    auto controller = rt::make<AlarmViewController>();
    controller->initWithNibNameBundle(std::nullopt, nullptr);
    controller->setTitle("Alarm");
    controller->setTabBarItem(UITabBarItem::withTitle("Alarm", clk::clockImage("alarm_icon"), 1));
    return controller;
}

void AlarmViewController::viewDidLoad() {
    clk::buildPlaceholderScreen(view(), "Alarm", "Not simulated");
}
