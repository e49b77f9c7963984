#include "platform/uikit/AlertPresenter.h"

#include "platform/uikit/UIAlertView.h"

#include <algorithm>

namespace ui {

std::shared_ptr<UIAlertView> AlertPresenter::front() const {
    return stack_.empty() ? nullptr : stack_.back();
}

void AlertPresenter::show(const std::shared_ptr<UIAlertView>& alert) {
    if (std::find(waiting_.begin(), waiting_.end(), alert) != waiting_.end()) {
        return;
    }
    if (dismissing_ > 0) {
        waiting_.push_back(alert);
        return;
    }
    present(alert);
}

void AlertPresenter::present(const std::shared_ptr<UIAlertView>& alert) {
    stack_.push_back(alert);
    alert->presentNow();
}

void AlertPresenter::beginDismissal(const std::shared_ptr<UIAlertView>& /*alert*/) {
    ++dismissing_;
}

void AlertPresenter::endDismissal(const std::shared_ptr<UIAlertView>& alert) {
    std::erase(stack_, alert);
    if (dismissing_ > 0) {
        --dismissing_;
    }
}

void AlertPresenter::presentWaiting() {
    if (dismissing_ == 0 && !waiting_.empty()) {
        std::vector<std::shared_ptr<UIAlertView>> next;
        next.swap(waiting_);
        for (const auto& queued : next) {
            present(queued);
        }
    }
}

void AlertPresenter::removeAll() {
    stack_.clear();
    waiting_.clear();
    // A dismissal cut short never ends, so nothing may keep new alerts waiting for it.
    dismissing_ = 0;
}

} // namespace ui
