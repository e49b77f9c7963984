#include "platform/uikit/UIWindow.h"

#include "platform/foundation/NSRunLoop.h"
#include "platform/uikit/Environment.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIViewController.h"

UIWindow::~UIWindow() = default;

void UIWindow::setRootViewController(std::shared_ptr<UIViewController> controller) {
    if (root_ == controller) {
        return;
    }
    auto previous = root_;
    if (previous && previous->isViewLoaded() && previous->view()->superview().get() == this) {
        if (visible_) {
            previous->beginAppearanceTransition(false, false);
        }
        previous->view()->removeFromSuperview();
        if (visible_) {
            previous->endAppearanceTransition(false, false);
        }
    }
    root_ = std::move(controller);
    if (visible_) {
        showRoot();
    }
}

void UIWindow::showRoot() {
    if (!root_) {
        return;
    }
    auto rootView = root_->view();
    root_->beginAppearanceTransition(true, false);
    addSubview(rootView);
    layoutIfNeeded();
    root_->endAppearanceTransition(true, false);
}

void UIWindow::makeKeyAndVisible() {
    auto me = self<UIWindow>();
    ui::Environment::current().setKeyWindow(me);
    if (frame().size == CGSizeZero) {
        setFrame(UIScreen::mainScreen()->bounds());
    }
    if (visible_) {
        return;
    }
    visible_ = true;
    setHidden(false);
    // The phone lays out and draws every window at the end of each run-loop pass.
    std::weak_ptr<UIWindow> weak = me;
    layoutObserver_ = NSRunLoop::currentRunLoop().addPassObserver([weak] {
        if (auto window = weak.lock()) {
            window->layoutIfNeeded();
        }
    });
    showRoot();
}

bool UIWindow::isKeyWindow() const {
    return ui::Environment::current().keyWindow().get() == this;
}
