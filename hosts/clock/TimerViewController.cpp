#include "hosts/clock/TimerViewController.h"

#include "hosts/clock/ClockImages.h"
#include "hosts/clock/PlaceholderScreen.h"
#include "platform/uikit/UIKitMessages.h"
#include "platform/uikit/UITabBarItem.h"

void TimerViewController::describe(rt::ClassBuilder& b) {
    b.method<&TimerViewController::viewDidLoad>(msg::viewDidLoad);
}

std::shared_ptr<TimerViewController> TimerViewController::timer() {
    auto controller = rt::make<TimerViewController>();
    controller->initWithNibNameBundle(std::nullopt, nullptr);
    controller->setTitle("Timer");
    controller->setTabBarItem(UITabBarItem::withTitle("Timer", clk::clockImage("timer_icon"), 3));
    return controller;
}

void TimerViewController::viewDidLoad() {
    clk::buildPlaceholderScreen(view(), "Timer", "Not simulated");
}
