#include "tests/addon/browser/BrowserFixture.h"

#include "addon/store/SavedTimesStore.h"
#include "addon/views/LVTableViewCell.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/runtime/Message.h"
#include "platform/uikit/UIKitMessages.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UIWindow.h"

#include <fstream>

namespace testing_support {

ui::DeviceConfiguration tallPhone() {
    ui::DeviceConfiguration phone;
    phone.screenSize = CGSizeMake(320, 568);
    return phone;
}

BrowserTest::BrowserTest() {
    bundles.add("com.apple.mobiletimer", std::string(LAPVANE_SOURCE_DIR) + "/hosts/clock/resources");
    browser = rt::make<LVViewController>();
    rt::send(browser, msg::initWithNibNameBundle, std::nullopt, nullptr);
    browser->setTitle(std::string("Saved"));
    auto other = rt::make<UIViewController>();
    other->setTitle(std::string("Other"));
    tabs = rt::make<UITabBarController>();
    tabs->initWithNibNameBundle(std::nullopt, nullptr);
    tabs->setViewControllers({other, browser});
    window = UIView::withFrame<UIWindow>(UIScreen::mainScreen()->bounds());
    window->setRootViewController(tabs);
    window->makeKeyAndVisible();
}

void BrowserTest::writeSavedTimes(const std::string& dictionaryBody) const {
    writeSavedTimesBytes(R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
)" + dictionaryBody + "\n</dict>\n</plist>\n");
}

void BrowserTest::writeSavedTimesBytes(const std::string& bytes) const {
    std::ofstream out(preferencesFile(lv::kSavedTimesFileName), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::shared_ptr<NSDictionary> BrowserTest::savedTimes() const {
    return readPreferences(lv::kSavedTimesFileName);
}

void BrowserTest::show() {
    if (!browser->isViewLoaded()) {
        // The tables exist once the view has loaded; they are watched from their first reload on.
        browser->view();
        checkers.push_back(std::make_unique<TableChecker>(browser->savedTable()));
        checkers.push_back(std::make_unique<TableChecker>(browser->lapsTable()));
    }
    tabs->setSelectedIndex(1);
    runLoop.runOnce();
}

void BrowserTest::hide() {
    tabs->setSelectedIndex(0);
    runLoop.runOnce();
}

void BrowserTest::tapResult(NSInteger section, NSInteger row) {
    auto table = browser->savedTable();
    auto path = NSIndexPath::indexPathForRowInSection(row, section);
    if (!table->cellForRowAtIndexPath(path)) {
        table->simulateScroll(table->rectForRowAtIndexPath(path).origin);
        table->layoutIfNeeded();
    }
    EXPECT_TRUE(table->simulateTapOnRow(path)) << "row " << section << " " << row << " is not on screen";
    runLoop.runOnce();
}

bool BrowserTest::tapBack() {
    bool taken = browser->topBar()->simulateTapBackButton();
    runLoop.runOnce();
    return taken;
}

std::shared_ptr<LVTableViewCell> BrowserTest::cellAt(const std::shared_ptr<UITableView>& table,
                                                     NSInteger section, NSInteger row) {
    return std::dynamic_pointer_cast<LVTableViewCell>(
        table->cellForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(row, section)));
}

std::vector<std::optional<std::string>> BrowserTest::headerTitles() const {
    std::vector<std::optional<std::string>> titles;
    auto table = browser->savedTable();
    for (NSInteger s = 0; s < table->numberOfSections(); ++s) {
        titles.push_back(browser->tableViewTitleForHeaderInSection(table, s));
    }
    return titles;
}

std::vector<NSInteger> BrowserTest::rowCounts() const {
    std::vector<NSInteger> counts;
    auto table = browser->savedTable();
    for (NSInteger s = 0; s < table->numberOfSections(); ++s) {
        counts.push_back(table->numberOfRowsInSection(s));
    }
    return counts;
}

std::vector<std::string> BrowserTest::lapTexts() const {
    std::vector<std::string> texts;
    for (const id& item : browser->allLaps()->items()) {
        auto text = rt::cast<NSString>(item);
        texts.push_back(text ? text->str() : "<not a string>");
    }
    return texts;
}

} // namespace testing_support
