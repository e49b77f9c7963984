#include "hosts/clock/WorldClockViewController.h"

#include "hosts/clock/ClockImages.h"
#include "hosts/clock/PlaceholderScreen.h"
#include "platform/uikit/UIKitMessages.h"
#include "platform/uikit/UITabBarItem.h"

void WorldClockViewController::describe(rt::ClassBuilder& b) {
    b.method<&WorldClockViewController::viewDidLoad>(msg::viewDidLoad);
}

std::shared_ptr<WorldClockViewController> WorldClockViewController::worldClock() {
    auto controller = rt::make<WorldClockViewController>();
    controller->initWithNibNameBundle(std::nullopt, nullptr);
    controller->setTitle("World Clock");
    controller->setTabBarItem(UITabBarItem::withTitle("World Clock", clk::clockImage("worldclock_icon"), 0));
    return controller;
}

void WorldClockViewController::viewDidLoad() {
    clk::buildPlaceholderScreen(view(), "World Clock", "Not simulated");
}
