#pragma once
// A device showing the saved-times browser in a tab bar beside one other tab, with a temporary
// home, the Clock bundle's images, an English locale in UTC and a virtual clock. Saved-times files
// are written from property-list text, so each test states its file inline.

#include "addon/browser/LVViewController.h"
#include "platform/foundation/BundleRegistry.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/foundation/Region.h"
#include "platform/foundation/VirtualClock.h"
#include "platform/uikit/Environment.h"
#include "tests/support/AddonFixture.h"
#include "tests/support/TableChecker.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class LVTableViewCell;
class UITabBarController;
class UITableView;
class UIWindow;

namespace testing_support {

/// The 4-inch phone the browser is usually shown on.
ui::DeviceConfiguration tallPhone();

class BrowserTest : public DeviceHomeTest {
  protected:
    BrowserTest();

    /// Writes the saved-times file from the inside of a property list's root dictionary.
    void writeSavedTimes(const std::string& dictionaryBody) const;
    /// Writes the saved-times file with exactly these bytes.
    void writeSavedTimesBytes(const std::string& bytes) const;
    /// The saved-times file as it is on disk; nil when missing or unreadable.
    [[nodiscard]] std::shared_ptr<NSDictionary> savedTimes() const;

    /// Shows the browser's tab (loading its view the first time) and runs one run-loop pass.
    void show();
    /// Shows the other tab.
    void hide();
    /// Runs the run loop for virtual seconds.
    void runFor(double seconds) { runLoop.runFor(seconds); }
    [[nodiscard]] double now() const { return virtualClock.now(); }

    /// The user taps a result (scrolled into view if needed) and the pass after the touch runs.
    void tapResult(NSInteger section, NSInteger row);
    /// The user takes the top bar's back control; false when it does not respond now.
    bool tapBack();

    /// The cell on screen for a row of the table, as the browser's cell kind.
    static std::shared_ptr<LVTableViewCell> cellAt(const std::shared_ptr<UITableView>& table,
                                                   NSInteger section, NSInteger row);
    /// The header titles the table of results shows now, asked of its data source.
    [[nodiscard]] std::vector<std::optional<std::string>> headerTitles() const;
    /// The row counts of the table of results as the table holds them.
    [[nodiscard]] std::vector<NSInteger> rowCounts() const;
    /// The lap texts, in order.
    [[nodiscard]] std::vector<std::string> lapTexts() const;

    ns::VirtualClock virtualClock;
    NSRunLoop runLoop{virtualClock};
    NSRunLoop::Scope runLoopScope{runLoop};
    ui::Environment environment{tallPhone()};
    ui::Environment::Scope environmentScope{environment};
    ns::BundleRegistry bundles;
    ns::BundleRegistry::Scope bundleScope{bundles};
    ns::Region::Scope region{ns::Region{"en_US", "UTC"}};

    std::shared_ptr<LVViewController> browser;
    std::shared_ptr<UITabBarController> tabs;
    std::shared_ptr<UIWindow> window;

    /// The checkers of both tables, attached when the view loads: every change of a table's model
    /// and every layout is re-validated against the browser.
    std::vector<std::unique_ptr<TableChecker>> checkers;
};

} // namespace testing_support
