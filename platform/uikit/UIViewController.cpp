#include "platform/uikit/UIViewController.h"

#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIKitMessages.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITabBarItem.h"

void UIViewController::describe(rt::ClassBuilder& b) {
    b.ivar(ivar::view);
    b.method<&UIViewController::initWithNibNameBundle>(msg::initWithNibNameBundle);
    b.method<&UIViewController::loadView>(msg::loadView);
    b.method<&UIViewController::viewDidLoad>(msg::viewDidLoad);
    b.method<&UIViewController::viewWillAppear>(msg::viewWillAppear);
    b.method<&UIViewController::viewDidAppear>(msg::viewDidAppear);
    b.method<&UIViewController::viewWillDisappear>(msg::viewWillDisappear);
    b.method<&UIViewController::viewDidDisappear>(msg::viewDidDisappear);
    b.method<&UIViewController::didReceiveMemoryWarning>(msg::didReceiveMemoryWarning);
}

void UIViewController::initWithNibNameBundle(std::optional<std::string> nibName, id /*bundle*/) {
    nibName_ = std::move(nibName);
}

bool UIViewController::isViewLoaded() const {
    return ivar::view.get(*this) != nullptr;
}

void UIViewController::setView(std::shared_ptr<UIView> view) {
    ivar::view.set(*this, std::move(view));
}

std::shared_ptr<UIView> UIViewController::view() {
    auto me = self();
    if (!isViewLoaded()) {
        rt::send(me, msg::loadView);
        if (!isViewLoaded()) {
            // A loadView that made no view: the phone keeps asking; give it a plain one so
            // viewDidLoad runs once, as it would after a working loadView.
            UIViewController::loadView();
        }
        rt::send(me, msg::viewDidLoad);
    }
    return std::dynamic_pointer_cast<UIView>(ivar::view.get(me));
}

void UIViewController::loadView() {
    setView(UIView::withFrame(UIScreen::mainScreen()->applicationFrame()));
}

void UIViewController::setTitle(std::optional<std::string> title) {
    title_ = std::move(title);
    if (tabBarItem_) {
        tabBarItem_->setTitle(title_);
    }
    if (navigationItem_) {
        navigationItem_->setTitle(title_);
    }
}

std::shared_ptr<UITabBarItem> UIViewController::tabBarItem() {
    if (!tabBarItem_) {
        tabBarItem_ = UITabBarItem::withTitle(title_, nullptr, 0);
    }
    return tabBarItem_;
}

std::shared_ptr<UINavigationItem> UIViewController::navigationItem() {
    if (!navigationItem_) {
        navigationItem_ = UINavigationItem::withTitle(title_);
    }
    return navigationItem_;
}

void UIViewController::beginAppearanceTransition(bool appearing, bool animated) {
    onScreen_ = appearing;
    rt::send(self(), appearing ? msg::viewWillAppear : msg::viewWillDisappear, animated);
}

void UIViewController::endAppearanceTransition(bool appearing, bool animated) {
    rt::send(self(), appearing ? msg::viewDidAppear : msg::viewDidDisappear, animated);
}
