#include "hosts/clock/StopWatchViewController.h"

#include "hosts/clock/ClockImages.h"
#include "hosts/clock/ClockMessages.h"
#include "hosts/clock/ClockPreferences.h"
#include "hosts/clock/StopWatchLapTimeView.h"
#include "hosts/clock/StopwatchTimeText.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIKitMessages.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UITabBarItem.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr CGFloat kLapRowHeight = 30;
constexpr CGFloat kButtonWidth = 125;
constexpr CGFloat kButtonHeight = 44;

std::shared_ptr<UILabel> makeLabel(CGRect frame, float size, NSTextAlignment alignment) {
    auto label = UIView::withFrame<UILabel>(frame);
    label->setFont(UIFont::systemFontOfSize(size));
    label->setTextAlignment(alignment);
    label->setBackgroundColor(UIColor::clearColor());
    return label;
}

std::shared_ptr<UIButton> makeButton(CGRect frame, const id& target, SEL action) {
    auto button = UIButton::buttonWithType(UIButtonTypeRoundedRect);
    button->setFrame(frame);
    button->titleLabel()->setFont(UIFont::boldSystemFontOfSize(20));
    button->addTargetActionForControlEvents(target, action, UIControlEventTouchUpInside);
    return button;
}

} // namespace

void StopWatchViewController::describe(rt::ClassBuilder& b) {
    b.ivar(clockivar::isTimerRunning).ivar(clockivar::laptimeView).ivar(clockivar::laps);
    b.method<&StopWatchViewController::viewDidLoad>(msg::viewDidLoad);
    b.method<&StopWatchViewController::viewDidAppear>(msg::viewDidAppear);
    b.method<&StopWatchViewController::startTimer>(clockmsg::startTimer);
    b.method<&StopWatchViewController::stopTimer>(clockmsg::stopTimer);
    b.method<&StopWatchViewController::lap>(clockmsg::lap);
    b.method<&StopWatchViewController::clearAllLaps>(clockmsg::clearAllLaps);
    b.method<&StopWatchViewController::startStopButtonClicked>(clockmsg::startStopButtonClicked);
    b.method<&StopWatchViewController::lapResetButtonClicked>(clockmsg::lapResetButtonClicked);
}

StopWatchViewController::~StopWatchViewController() {
    if (refreshObserver_ != 0) {
        NSRunLoop::currentRunLoop().removePassObserver(refreshObserver_);
    }
}

std::shared_ptr<StopWatchViewController> StopWatchViewController::stopwatch() {
    auto controller = rt::make<StopWatchViewController>();
    controller->initWithNibNameBundle(std::nullopt, nullptr);
    controller->setTitle("Stopwatch");
    controller->setTabBarItem(UITabBarItem::withTitle("Stopwatch", clk::clockImage("stopwatch_icon"), 2));
    clockivar::laps.set(*controller, NSMutableArray::with());
    clockivar::laptimeView.set(*controller, StopWatchLapTimeView::withFrame(CGRectMake(0, 0, 320, 24)));
    clockivar::isTimerRunning.set(*controller, false);
    controller->restoreStoppedResult();
    return controller;
}

void StopWatchViewController::restoreStoppedResult() {
    double lastTime = clk::ClockPreferences::doubleValue(clk::kLastTimeKey);
    if (!(lastTime > 0)) {
        return;
    }
    auto stored = clk::ClockPreferences::read()->objectAs<NSArray>(clk::kLapTimesKey);
    std::vector<double> finished;
    if (stored) {
        for (const auto& item : stored->items()) {
            if (auto number = rt::cast<NSNumber>(item)) {
                finished.push_back(number->doubleValue());
            }
        }
    }
    double sum = std::accumulate(finished.begin(), finished.end(), 0.0);
    // A lap list that does not fit the total was not written with it: keep the total alone.
    if (sum > lastTime) {
        finished.clear();
        sum = 0;
    }
    auto array = lapArray();
    for (double seconds : finished) {
        array->addObject(NSNumber::withDouble(seconds));
    }
    lapTimeView()->restore(lastTime - sum);
}

void StopWatchViewController::viewDidLoad() {
    auto root = view();
    CGFloat width = root->bounds().size.width;
    root->setBackgroundColor(UIColor::colorWithWhiteAlpha(0.94f, 1));

    // The band at the top stays free: the screen keeps its own controls below it.
    timeLabel_ = makeLabel(CGRectMake(0, 60, width, 56), 48, NSTextAlignmentCenter);
    root->addSubview(timeLabel_);

    auto lapView = lapTimeView();
    lapView->setFrame(CGRectMake(0, 116, width, 24));
    lapView->label()->setFrame(CGRectMake(0, 0, width, 24));
    root->addSubview(lapView);

    auto me = self();
    startStop_ = makeButton(CGRectMake(23, 150, kButtonWidth, kButtonHeight), me,
                            clockmsg::startStopButtonClicked.sel());
    lapReset_ = makeButton(CGRectMake(width - 23 - kButtonWidth, 150, kButtonWidth, kButtonHeight), me,
                           clockmsg::lapResetButtonClicked.sel());
    root->addSubview(startStop_);
    root->addSubview(lapReset_);

    CGFloat listTop = 210;
    lapList_ = UIView::withFrame(CGRectMake(0, listTop, width, root->bounds().size.height - listTop));
    lapList_->setClipsToBounds(true);
    lapList_->setBackgroundColor(UIColor::whiteColor());
    root->addSubview(lapList_);

    // The running display follows the clock: the phone redraws it before every frame, here at
    // the end of every run-loop pass.
    std::weak_ptr<StopWatchViewController> weak = self<StopWatchViewController>();
    refreshObserver_ = NSRunLoop::currentRunLoop().addPassObserver([weak] {
        if (auto controller = weak.lock(); controller && controller->isRunning()) {
            controller->refreshDisplay();
        }
    });
    rebuildLapRows();
    refreshDisplay();
}

bool StopWatchViewController::isRunning() const {
    return clockivar::isTimerRunning.get(*this);
}

std::shared_ptr<NSMutableArray> StopWatchViewController::lapArray() const {
    return clockivar::laps.get(*this);
}

std::shared_ptr<StopWatchLapTimeView> StopWatchViewController::lapTimeView() const {
    return rt::cast<StopWatchLapTimeView>(clockivar::laptimeView.get(*this));
}

std::vector<double> StopWatchViewController::laps() const {
    std::vector<double> seconds;
    if (auto array = lapArray()) {
        for (const auto& item : array->items()) {
            if (auto number = rt::cast<NSNumber>(item)) {
                seconds.push_back(number->doubleValue());
            }
        }
    }
    return seconds;
}

double StopWatchViewController::finishedLapsTotal() const {
    // The display asks for the total at every tick; summing every lap each time would make a long
    // run slower with each lap. The sum is kept while only appends have changed the same array
    // (the platform's mutation count tells), and the appended laps are added in order, as a fresh
    // sum would add them.
    auto array = lapArray();
    if (!array) {
        return 0;
    }
    FinishedLapsSum& sum = finishedSum_;
    const auto& items = array->items();
    bool onlyAppended = sum.array.lock() == array && items.size() >= sum.count &&
                        array->mutationCount() == sum.mutations + (items.size() - sum.count);
    if (!onlyAppended) {
        sum = FinishedLapsSum{array, 0, 0, 0};
    }
    for (std::size_t i = sum.count; i < items.size(); ++i) {
        if (auto number = rt::cast<NSNumber>(items[i])) {
            sum.seconds += number->doubleValue();
        }
    }
    sum.count = items.size();
    sum.mutations = array->mutationCount();
    return sum.seconds;
}

double StopWatchViewController::totalTime() const {
    auto lapView = lapTimeView();
    return finishedLapsTotal() + (lapView ? lapView->currentLapTime() : 0.0);
}

void StopWatchViewController::startTimer() {
    if (isRunning()) {
        return;
    }
    clockivar::isTimerRunning.set(*this, true);
    lapTimeView()->resume();
    refreshDisplay();
}

void StopWatchViewController::stopTimer() {
    if (!isRunning()) {
        return;
    }
    lapTimeView()->pause();
    clockivar::isTimerRunning.set(*this, false);
    storeResult(totalTime());
    refreshDisplay();
}

void StopWatchViewController::lap() {
    if (!isRunning()) {
        return;
    }
    auto lapView = lapTimeView();
    lapArray()->addObject(NSNumber::withDouble(lapView->currentLapTime()));
    lapView->startNewLap();
    rebuildLapRows();
    refreshDisplay();
}

void StopWatchViewController::clearAllLaps() {
    if (isRunning()) {
        return;
    }
    lapArray()->removeAllObjects();
    lapTimeView()->clear();
    storeResult(0);
    rebuildLapRows();
    refreshDisplay();
}

void StopWatchViewController::startStopButtonClicked(id /*sender*/) {
    rt::send(self(), isRunning() ? clockmsg::stopTimer : clockmsg::startTimer);
}

void StopWatchViewController::lapResetButtonClicked(id /*sender*/) {
    rt::send(self(), isRunning() ? clockmsg::lap : clockmsg::clearAllLaps);
}

void StopWatchViewController::storeResult(double lastTime) {
    std::vector<id> finished;
    if (lastTime > 0) {
        for (double seconds : laps()) {
            finished.push_back(NSNumber::withDouble(seconds));
        }
    }
    clk::ClockPreferences::update(
        {{clk::kLastTimeKey, NSNumber::withDouble(lastTime)}, {clk::kLapTimesKey, NSArray::with(finished)}});
}

void StopWatchViewController::refreshDisplay() {
    if (!isViewLoaded()) {
        return;
    }
    bool running = isRunning();
    timeLabel_->setText(clk::stopwatchTimeText(totalTime()));
    lapTimeView()->refresh();
    startStop_->setTitleForState(running ? "Stop" : "Start", UIControlStateNormal);
    lapReset_->setTitleForState(running ? "Lap" : "Reset", UIControlStateNormal);
    // Reset has nothing to clear on a stopwatch at zero.
    auto array = lapArray();
    lapReset_->setEnabled(running || totalTime() > 0 || (array && array->count() > 0));
}

void StopWatchViewController::viewDidAppear(bool animated) {
    UIViewController::viewDidAppear(animated);
    // The screen is built at the size it has when it loads (the whole application area); the tab
    // bar controller fits it to the area above the bar only as it shows it.
    fitLapList();
}

void StopWatchViewController::fitLapList() {
    if (!lapList_) {
        return;
    }
    CGRect frame = lapList_->frame();
    CGFloat height = std::max<CGFloat>(0, view()->bounds().size.height - frame.origin.y);
    if (height != frame.size.height) {
        lapList_->setFrame(CGRectMake(frame.origin.x, frame.origin.y, frame.size.width, height));
        rebuildLapRows();
    }
}

void StopWatchViewController::rebuildLapRows() {
    if (!lapList_) {
        return;
    }
    while (!lapList_->subviews().empty()) {
        lapList_->subviews().back()->removeFromSuperview();
    }
    CGFloat width = lapList_->bounds().size.width;
    auto fitting = static_cast<std::size_t>(lapList_->bounds().size.height / kLapRowHeight);
    // Newest first, as many as the list shows: only those are read, each named by its place in
    // the array.
    auto array = lapArray();
    const std::vector<id> none;
    const auto& items = array ? array->items() : none;
    std::size_t shown = 0;
    for (std::size_t place = items.size(); place > 0 && shown < fitting; --place) {
        auto number = rt::cast<NSNumber>(items[place - 1]);
        if (!number) {
            continue;
        }
        std::size_t index = place - 1;
        double seconds = number->doubleValue();
        CGFloat y = static_cast<CGFloat>(shown) * kLapRowHeight;
        auto name = makeLabel(CGRectMake(20, y, 120, kLapRowHeight), 17, NSTextAlignmentLeft);
        name->setText("Lap " + std::to_string(index + 1));
        auto time = makeLabel(CGRectMake(width - 20 - 140, y, 140, kLapRowHeight), 17, NSTextAlignmentRight);
        time->setText(clk::stopwatchTimeText(seconds));
        lapList_->addSubview(name);
        lapList_->addSubview(time);
        ++shown;
    }
}
