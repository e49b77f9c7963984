#include "platform/uikit/UITabBarController.h"

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/NSException.h"
#include "platform/uikit/UIKitMessages.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITabBarControllerDelegate.h"
#include "platform/uikit/UITabBarItem.h"

#include <algorithm>

void UITabBarController::describe(rt::ClassBuilder& b) {
    b.method<&UITabBarController::loadView>(msg::loadView);
    b.method<&UITabBarController::viewWillAppear>(msg::viewWillAppear);
    b.method<&UITabBarController::viewDidAppear>(msg::viewDidAppear);
    b.method<&UITabBarController::viewWillDisappear>(msg::viewWillDisappear);
    b.method<&UITabBarController::viewDidDisappear>(msg::viewDidDisappear);
}

void UITabBarController::loadView() {
    setView(UIView::withFrame(UIScreen::mainScreen()->applicationFrame()));
}

CGRect UITabBarController::contentFrame() {
    CGRect area = view()->bounds();
    return {{0, 0}, {area.size.width, area.size.height - kTabBarHeight}};
}

void UITabBarController::installChildView(const std::shared_ptr<UIViewController>& child) {
    auto container = view();
    for (const auto& other : controllers_) {
        if (other != child && other->isViewLoaded()) {
            auto otherView = other->view();
            if (otherView->superview() == container) {
                otherView->removeFromSuperview();
            }
        }
    }
    auto childView = child->view();
    childView->setFrame(contentFrame());
    if (childView->superview() != container) {
        container->insertSubviewAtIndex(childView, 0);
    }
}

void UITabBarController::setViewControllers(std::vector<std::shared_ptr<UIViewController>> controllers,
                                            bool animated) {
    auto previous = selectedViewController();
    std::size_t previousIndex = selected_;
    for (const auto& old : controllers_) {
        if (std::find(controllers.begin(), controllers.end(), old) == controllers.end()) {
            old->tabBarController_.reset();
            if (old->isViewLoaded() && old->view()->superview() == (isViewLoaded() ? view() : nullptr)) {
                old->view()->removeFromSuperview();
            }
        }
    }
    controllers_ = std::move(controllers);
    for (const auto& child : controllers_) {
        child->tabBarController_ = self<UITabBarController>();
    }
    std::size_t next = 0;
    auto kept = std::find(controllers_.begin(), controllers_.end(), previous);
    if (previous && kept != controllers_.end()) {
        next = static_cast<std::size_t>(kept - controllers_.begin());
    } else if (previousIndex < controllers_.size()) {
        next = previousIndex;
    }
    selected_ = next;
    auto now = selectedViewController();
    if (visible_ && now != previous) {
        if (previous) {
            previous->beginAppearanceTransition(false, animated);
        }
        if (now) {
            now->view();
            now->beginAppearanceTransition(true, animated);
            installChildView(now);
            view()->layoutIfNeeded();
        }
        if (previous) {
            previous->endAppearanceTransition(false, animated);
        }
        if (now) {
            now->endAppearanceTransition(true, animated);
        }
    }
}

NSUInteger UITabBarController::selectedIndex() const {
    return selected_ < controllers_.size() ? static_cast<NSUInteger>(selected_)
                                           : static_cast<NSUInteger>(NSNotFound);
}

std::shared_ptr<UIViewController> UITabBarController::selectedViewController() const {
    return selected_ < controllers_.size() ? controllers_[selected_] : nullptr;
}

void UITabBarController::setSelectedIndex(NSUInteger index) {
    if (index >= controllers_.size()) {
        return;
    }
    select(index, false);
}

void UITabBarController::setSelectedViewController(const std::shared_ptr<UIViewController>& controller) {
    auto found = std::find(controllers_.begin(), controllers_.end(), controller);
    if (!controller || found == controllers_.end()) {
        throw NSException(
            NSInvalidArgumentException,
            "-[UITabBarController setSelectedViewController:] only a view controller in the tab bar "
            "controller's list of view controllers can be selected.");
    }
    select(static_cast<std::size_t>(found - controllers_.begin()), false);
}

void UITabBarController::select(std::size_t index, bool animated) {
    auto previous = selectedViewController();
    selected_ = index;
    auto now = controllers_[index];
    if (!visible_ || now == previous) {
        return;
    }
    if (previous) {
        previous->beginAppearanceTransition(false, animated);
    }
    // The tab's view is loaded (viewDidLoad) before it hears that it will appear.
    now->view();
    now->beginAppearanceTransition(true, animated);
    installChildView(now);
    view()->layoutIfNeeded();
    if (previous) {
        previous->endAppearanceTransition(false, animated);
    }
    now->endAppearanceTransition(true, animated);
}

std::vector<std::shared_ptr<UITabBarItem>> UITabBarController::visibleItems() const {
    std::vector<std::shared_ptr<UITabBarItem>> items;
    std::size_t shown = showsMoreItem() ? kMaxVisibleItems - 1 : controllers_.size();
    for (std::size_t i = 0; i < shown; ++i) {
        items.push_back(controllers_[i]->tabBarItem());
    }
    return items;
}

bool UITabBarController::simulateTapOnTab(NSUInteger index) {
    std::size_t shown = showsMoreItem() ? kMaxVisibleItems - 1 : controllers_.size();
    if (index >= shown) {
        return false;
    }
    auto me = self<UITabBarController>();
    auto target = controllers_[index];
    auto delegate = delegate_.lock();
    if (delegate && delegate->implements(UITabBarControllerDelegate::Method::ShouldSelectViewController) &&
        !delegate->tabBarControllerShouldSelectViewController(me, target)) {
        return true;
    }
    select(index, false);
    if (delegate && delegate->implements(UITabBarControllerDelegate::Method::DidSelectViewController)) {
        delegate->tabBarControllerDidSelectViewController(me, target);
    }
    return true;
}

void UITabBarController::viewWillAppear(bool animated) {
    visible_ = true;
    if (auto child = selectedViewController()) {
        child->view();
        child->beginAppearanceTransition(true, animated);
        installChildView(child);
    }
}

void UITabBarController::viewDidAppear(bool animated) {
    if (auto child = selectedViewController()) {
        child->endAppearanceTransition(true, animated);
    }
}

void UITabBarController::viewWillDisappear(bool animated) {
    visible_ = false;
    if (auto child = selectedViewController()) {
        child->beginAppearanceTransition(false, animated);
    }
}

void UITabBarController::viewDidDisappear(bool animated) {
    if (auto child = selectedViewController()) {
        child->endAppearanceTransition(false, animated);
    }
}
