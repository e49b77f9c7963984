#include "platform/uikit/UINavigationBar.h"

#include "platform/foundation/NSRunLoop.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UINavigationBarDelegate.h"
#include "platform/uikit/UINavigationItem.h"

void UINavigationBar::setItemsAnimated(std::vector<std::shared_ptr<UINavigationItem>> items,
                                       bool /*animated*/) {
    items_ = std::move(items);
}

std::shared_ptr<UINavigationItem> UINavigationBar::topItem() const {
    return items_.empty() ? nullptr : items_.back();
}

std::shared_ptr<UINavigationItem> UINavigationBar::backItem() const {
    return items_.size() < 2 ? nullptr : items_[items_.size() - 2];
}

void UINavigationBar::afterTransition(bool animated, const char* name, std::function<void()> step) {
    if (!animated) {
        step();
        return;
    }
    ++transitions_;
    std::weak_ptr<UINavigationBar> weak = self<UINavigationBar>();
    NSRunLoop::currentRunLoop().scheduleStep(kTransitionDuration, name, self(),
                                             [weak, step = std::move(step)] {
                                                 if (auto bar = weak.lock()) {
                                                     --bar->transitions_;
                                                     step();
                                                 }
                                             });
}

void UINavigationBar::pushNavigationItemAnimated(const std::shared_ptr<UINavigationItem>& item,
                                                 bool animated) {
    if (!item) {
        return;
    }
    auto bar = self<UINavigationBar>();
    auto delegate = delegate_.lock();
    if (delegate && delegate->implements(UINavigationBarDelegate::Method::ShouldPushItem) &&
        !delegate->navigationBarShouldPushItem(bar, item)) {
        return;
    }
    // The first item of an empty bar has nothing to slide in from: it appears at once, so the bar
    // takes taps straight away, as a screen's bar does when the screen first shows.
    const bool slides = animated && !items_.empty();
    items_.push_back(item);
    afterTransition(slides, "navigationBar:didPushItem:", [bar, item] {
        auto delegate = bar->delegate_.lock();
        if (delegate && delegate->implements(UINavigationBarDelegate::Method::DidPushItem)) {
            delegate->navigationBarDidPushItem(bar, item);
        }
    });
}

std::shared_ptr<UINavigationItem> UINavigationBar::popNavigationItemAnimated(bool animated) {
    // The bar keeps its last item (whether a standalone bar pops it is not documented; the back
    // control never offers it).
    if (items_.size() < 2) {
        return nullptr;
    }
    auto bar = self<UINavigationBar>();
    auto item = items_.back();
    auto delegate = delegate_.lock();
    if (delegate && delegate->implements(UINavigationBarDelegate::Method::ShouldPopItem) &&
        !delegate->navigationBarShouldPopItem(bar, item)) {
        return nullptr;
    }
    // The stack changes at once; the delegate hears of it when the animation ends.
    items_.pop_back();
    afterTransition(animated, "navigationBar:didPopItem:", [bar, item] {
        auto delegate = bar->delegate_.lock();
        if (delegate && delegate->implements(UINavigationBarDelegate::Method::DidPopItem)) {
            delegate->navigationBarDidPopItem(bar, item);
        }
    });
    return item;
}

bool UINavigationBar::showsBackButton() const {
    auto top = topItem();
    return backItem() && top && !top->leftBarButtonItem() && !top->hidesBackButton();
}

std::optional<std::string> UINavigationBar::backButtonTitle() const {
    auto back = backItem();
    if (!back) {
        return std::nullopt;
    }
    if (back->backBarButtonItem() && back->backBarButtonItem()->title()) {
        return back->backBarButtonItem()->title();
    }
    if (back->title()) {
        return back->title();
    }
    return std::string("Back");
}

bool UINavigationBar::simulateTapBackButton() {
    if (!showsBackButton() || isTransitioning()) {
        return false;
    }
    auto keep = self();
    popNavigationItemAnimated(true);
    return true;
}

bool UINavigationBar::simulateTapLeftItem() {
    auto top = topItem();
    if (!top || !top->leftBarButtonItem() || isTransitioning()) {
        return false;
    }
    auto item = top->leftBarButtonItem();
    return item->simulateTap();
}

bool UINavigationBar::simulateTapRightItem() {
    auto top = topItem();
    if (!top || !top->rightBarButtonItem() || isTransitioning()) {
        return false;
    }
    auto item = top->rightBarButtonItem();
    return item->simulateTap();
}
