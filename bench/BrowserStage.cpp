#include "bench/BrowserStage.h"

#include "addon/browser/LVViewController.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/runtime/Message.h"
#include "platform/uikit/UIKitMessages.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UIWindow.h"

#include <optional>
#include <string>

namespace bench {
namespace {

// Longer than the panel's slide and settle steps and the deselection that follows a tap.
constexpr double kPanelRestSeconds = 2.0;

} // namespace

BrowserStage::BrowserStage(NSRunLoop& runLoop) : runLoop_(runLoop) {
    browser_ = rt::make<LVViewController>();
    rt::send(browser_, msg::initWithNibNameBundle, std::nullopt, nullptr);
    browser_->setTitle(std::string("Saved"));
    auto other = rt::make<UIViewController>();
    other->setTitle(std::string("Other"));
    tabs_ = rt::make<UITabBarController>();
    tabs_->initWithNibNameBundle(std::nullopt, nullptr);
    tabs_->setViewControllers({other, browser_});
    window_ = UIView::withFrame<UIWindow>(UIScreen::mainScreen()->bounds());
    window_->setRootViewController(tabs_);
    window_->makeKeyAndVisible();
}

void BrowserStage::show() {
    tabs_->setSelectedIndex(1);
    runLoop_.runOnce();
}

void BrowserStage::hide() {
    tabs_->setSelectedIndex(0);
    runLoop_.runOnce();
}

bool BrowserStage::tapResult(NSInteger section, NSInteger row) {
    auto table = browser_->savedTable();
    auto path = NSIndexPath::indexPathForRowInSection(row, section);
    if (!table->cellForRowAtIndexPath(path)) {
        table->simulateScroll(table->rectForRowAtIndexPath(path).origin);
        table->layoutIfNeeded();
    }
    const bool tapped = table->simulateTapOnRow(path);
    runLoop_.runOnce();
    return tapped;
}

void BrowserStage::closeLapPanel() {
    runLoop_.runFor(kPanelRestSeconds);
    browser_->topBar()->simulateTapBackButton();
    runLoop_.runFor(kPanelRestSeconds);
}

std::size_t BrowserStage::lapTextCount() const {
    return browser_->allLaps() ? browser_->allLaps()->count() : 0;
}

NSInteger BrowserStage::sectionCount() const {
    return browser_->savedTable()->numberOfSections();
}

} // namespace bench
