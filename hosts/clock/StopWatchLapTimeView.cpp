#include "hosts/clock/StopWatchLapTimeView.h"

#include "hosts/clock/ClockMessages.h"
#include "hosts/clock/StopwatchTimeText.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UILabel.h"

namespace {
double now() {
    return NSRunLoop::currentRunLoop().now();
}
} // namespace

void StopWatchLapTimeView::describe(rt::ClassBuilder& b) {
    b.method<&StopWatchLapTimeView::currentLapTime>(clockmsg::currentLapTime);
}

std::shared_ptr<StopWatchLapTimeView> StopWatchLapTimeView::withFrame(CGRect frame) {
    auto view = UIView::withFrame<StopWatchLapTimeView>(frame);
    view->setBackgroundColor(UIColor::clearColor());
    view->label_ = UIView::withFrame<UILabel>(CGRectMake(0, 0, frame.size.width, frame.size.height));
    view->label_->setTextAlignment(NSTextAlignmentCenter);
    view->label_->setFont(UIFont::systemFontOfSize(20));
    view->label_->setTextColor(UIColor::darkGrayColor());
    view->label_->setBackgroundColor(UIColor::clearColor());
    view->addSubview(view->label_);
    view->refresh();
    return view;
}

double StopWatchLapTimeView::currentLapTime() {
    return accumulated_ + (counting_ ? now() - resumedAt_ : 0.0);
}

void StopWatchLapTimeView::resume() {
    if (!counting_) {
        resumedAt_ = now();
        counting_ = true;
    }
    refresh();
}

void StopWatchLapTimeView::pause() {
    if (counting_) {
        accumulated_ += now() - resumedAt_;
        counting_ = false;
    }
    refresh();
}

void StopWatchLapTimeView::startNewLap() {
    accumulated_ = 0;
    resumedAt_ = now();
    refresh();
}

void StopWatchLapTimeView::clear() {
    accumulated_ = 0;
    counting_ = false;
    refresh();
}

void StopWatchLapTimeView::restore(double seconds) {
    accumulated_ = seconds > 0 ? seconds : 0;
    counting_ = false;
    refresh();
}

void StopWatchLapTimeView::refresh() {
    label_->setText(clk::stopwatchTimeText(currentLapTime()));
}
