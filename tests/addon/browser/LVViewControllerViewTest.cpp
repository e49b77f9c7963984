// The browser's view: what the first load builds and writes, where everything lies, the
// "No Saved Times" label, the striped background, and what each appearance refreshes.

#include "addon/browser/BrowserMessages.h"
#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesStore.h"
#include "addon/views/LVLabel.h"
#include "addon/views/LVTableViewCell.h"
#include "platform/runtime/RuntimeFunctions.h"
#include "platform/substrate/MSHookMessageEx.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITableView.h"
#include "tests/addon/browser/BrowserFixture.h"
#include "tests/support/TemporaryDirectory.h"

#include <filesystem>

namespace {

using testing_support::BrowserTest;

constexpr const char* kTwoRecords = R"(<key>Sections</key><array><string>Default</string></array>
<key>Times - Default</key><array>
  <dict><key>Total Time</key><real>75.43</real><key>All Laps</key><array><real>30</real><real>30</real>
    <real>15.300000190734863</real></array><key>Last Lap</key><real>15.300000190734863</real>
    <key>Date</key><date>2013-03-02T12:00:00Z</date></dict>
  <dict><key>Total Time</key><real>42.5</real><key>All Laps</key><array><real>42.5</real></array>
    <key>Date</key><date>2013-03-03T12:00:00Z</date></dict>
</array>)";

TEST_F(BrowserTest, FirstLoadWithNoFileCreatesTheDefaultSectionAndShowsTheLabel) {
    show();
    auto file = savedTimes();
    ASSERT_TRUE(file);
    EXPECT_EQ(strings(*file, "Sections"), std::vector<std::string>{"Default"});
    auto records = file->objectAs<NSArray>("Times - Default");
    ASSERT_TRUE(records);
    EXPECT_EQ(records->count(), 0U);
    EXPECT_EQ(rowCounts(), std::vector<NSInteger>{0});
    EXPECT_EQ(headerTitles(), std::vector<std::optional<std::string>>{std::nullopt});
    EXPECT_FALSE(browser->noSavedTimes()->isHidden());
}

TEST_F(BrowserTest, FirstLoadWithAnEmptySectionListKeepsEveryOtherKey) {
    writeSavedTimes(R"(<key>Sections</key><array/><key>Foreign</key><string>kept</string>
<key>Times - Old</key><array><dict/></array>)");
    show();
    auto file = savedTimes();
    ASSERT_TRUE(file);
    EXPECT_EQ(strings(*file, "Sections"), std::vector<std::string>{"Default"});
    EXPECT_EQ(file->objectAs<NSArray>("Times - Default")->count(), 0U);
    EXPECT_TRUE(file->objectForKey("Foreign"));
    EXPECT_EQ(file->objectAs<NSArray>("Times - Old")->count(), 1U);
}

// A file that lost its section list keeps the records under the default key: the first load
// lists them again instead of replacing them with an empty list.
class FirstLoadWithoutSectionList : public BrowserTest, public testing::WithParamInterface<const char*> {};

TEST_P(FirstLoadWithoutSectionList, KeepsTheRecordsAlreadyUnderTheDefaultKey) {
    std::string file = kTwoRecords;
    file.replace(0, file.find('\n') + 1, GetParam());
    writeSavedTimes(file);
    show();
    auto saved = savedTimes();
    ASSERT_TRUE(saved);
    EXPECT_EQ(strings(*saved, "Sections"), std::vector<std::string>{"Default"});
    ASSERT_TRUE(saved->objectAs<NSArray>("Times - Default"));
    EXPECT_EQ(saved->objectAs<NSArray>("Times - Default")->count(), 2U);
    EXPECT_EQ(rowCounts(), std::vector<NSInteger>{2});
    EXPECT_EQ(headerTitles(), std::vector<std::optional<std::string>>{"Default"});
    EXPECT_TRUE(browser->noSavedTimes()->isHidden());
}

INSTANTIATE_TEST_SUITE_P(Files, FirstLoadWithoutSectionList,
                         testing::Values("", "<key>Sections</key><array/>\n"),
                         [](const auto& info) { return info.index == 0 ? "ListMissing" : "ListEmpty"; });

TEST_F(BrowserTest, FirstLoadWithASectionListWritesNothing) {
    writeSavedTimes(kTwoRecords);
    const auto path = preferencesFile(lv::kSavedTimesFileName);
    const auto before = std::filesystem::last_write_time(path);
    const auto bytes = std::filesystem::file_size(path);
    show();
    EXPECT_EQ(std::filesystem::last_write_time(path), before);
    EXPECT_EQ(std::filesystem::file_size(path), bytes);
}

TEST_F(BrowserTest, LaysOutTheBarTheTablesAndTheLabelFromTheViewsSize) {
    show();
    // The view had the application frame's size (320x548) when it loaded; the tab bar may size it
    // to its own content area later, and the layout stays as it was computed.
    EXPECT_EQ(browser->topBar()->frame(), CGRectMake(0, 0, 320, 44));
    EXPECT_EQ(browser->savedTable()->frame(), CGRectMake(0, 44, 320, 456));
    // The panel waits exactly one width to the right with the same y and size.
    EXPECT_EQ(browser->lapsTable()->frame(), CGRectMake(320, 44, 320, 456));
    EXPECT_EQ(browser->noSavedTimes()->frame(), CGRectMake(0, 254, 320, 40));

    const auto& order = browser->view()->subviews();
    ASSERT_EQ(order.size(), 4U);
    EXPECT_EQ(order[0], browser->savedTable());
    EXPECT_EQ(order[1], browser->lapsTable());
    EXPECT_EQ(order[2], browser->topBar());
    EXPECT_EQ(order[3], browser->noSavedTimes());

    EXPECT_TRUE(browser->savedTable()->allowsSelection());
    EXPECT_FALSE(browser->lapsTable()->allowsSelection());
    for (const auto& table : {browser->savedTable(), browser->lapsTable()}) {
        EXPECT_EQ(table->style(), UITableViewStylePlain);
        EXPECT_EQ(table->separatorStyle(), UITableViewCellSeparatorStyleNone);
        EXPECT_EQ(table->dataSource().get(), static_cast<UITableViewDataSource*>(browser.get()));
        EXPECT_EQ(table->delegate().get(), static_cast<UITableViewDelegate*>(browser.get()));
    }
    EXPECT_EQ(browser->topBar()->delegate().get(), static_cast<UINavigationBarDelegate*>(browser.get()));
}

TEST_F(BrowserTest, TheBarShowsSavedTimesWithEditOnTheRightAndNeverTheCloseItem) {
    show();
    const auto& items = browser->topBar()->items();
    ASSERT_EQ(items.size(), 1U);
    EXPECT_EQ(items[0]->title(), "Saved Times");
    EXPECT_FALSE(items[0]->leftBarButtonItem());
    ASSERT_EQ(items[0]->rightBarButtonItem(), browser->editButton());
    EXPECT_EQ(browser->editButton()->title(), "Edit");
    EXPECT_EQ(browser->editButton()->style(), UIBarButtonItemStylePlain);
    EXPECT_EQ(browser->dismissButton()->title(), "Close");
    EXPECT_EQ(browser->dismissButton()->style(), UIBarButtonItemStyleDone);
    for (const auto& item : {browser->editButton(), browser->dismissButton()}) {
        EXPECT_EQ(item->target(), browser);
        EXPECT_EQ(item->action(), lv::browser::topBarButtonClicked.sel());
    }
}

TEST_F(BrowserTest, TheNoSavedTimesLabelIsBoldWhiteTextWithADarkShadowAboveIt) {
    show();
    const auto& label = browser->noSavedTimes();
    EXPECT_EQ(label->text(), "No Saved Times");
    const auto name = [](const std::shared_ptr<UIColor>& color) {
        return color ? color->description() : "nil";
    };
    EXPECT_EQ(name(label->textColor()), "white");
    EXPECT_EQ(name(label->backgroundColor()), "clear");
    EXPECT_EQ(name(label->shadowColor()), "black");
    EXPECT_EQ(label->shadowOffset(), CGSizeMake(0, -0.9F));
    ASSERT_TRUE(label->font());
    EXPECT_EQ(label->font()->description(), "bold 20");
    EXPECT_EQ(label->textAlignment(), NSTextAlignmentCenter);
}

TEST_F(BrowserTest, MissingImagesLeaveEmptyImageViewsBehindTheTablesAndTheRows) {
    testing_support::TemporaryDirectory emptyBundle;
    ns::BundleRegistry withoutImages;
    withoutImages.add("com.apple.mobiletimer", emptyBundle.path());
    ns::BundleRegistry::Scope scope{withoutImages};
    writeSavedTimes(kTwoRecords);
    show();
    tapResult(0, 0);
    runFor(0.5);
    const auto emptyImageView = [](const std::shared_ptr<UIView>& view) {
        auto imageView = std::dynamic_pointer_cast<UIImageView>(view);
        return imageView && !imageView->image();
    };
    EXPECT_TRUE(emptyImageView(browser->savedTable()->backgroundView()));
    EXPECT_TRUE(emptyImageView(browser->lapsTable()->backgroundView()));
    auto result = cellAt(browser->savedTable(), 0, 1);
    auto lap = cellAt(browser->lapsTable(), 0, 0);
    ASSERT_TRUE(result && lap);
    EXPECT_TRUE(emptyImageView(result->backgroundView()));
    EXPECT_TRUE(emptyImageView(lap->backgroundView()));
    EXPECT_EQ(lap->mainLabel()->text(), "30.0") << "the rows are filled all the same";
}

// The label shows for exactly one section with no records.
struct LabelCase {
    const char* name;
    const char* file;
    bool labelShown;
};

/// Prints the case by its name in test listings and failures.
void PrintTo(const LabelCase& c, std::ostream* os) {
    *os << c.name;
}

class NoSavedTimesLabel : public BrowserTest, public testing::WithParamInterface<LabelCase> {};

TEST_P(NoSavedTimesLabel, ShowsOnlyForOneEmptySection) {
    writeSavedTimes(GetParam().file);
    show();
    EXPECT_EQ(!browser->noSavedTimes()->isHidden(), GetParam().labelShown);
}

INSTANTIATE_TEST_SUITE_P(
    Files, NoSavedTimesLabel,
    testing::Values(LabelCase{"OneEmptySection", R"(<key>Sections</key><array><string>Default</string></array>
<key>Times - Default</key><array/>)",
                              true},
                    LabelCase{"OneSectionWithoutItsKey",
                              R"(<key>Sections</key><array><string>Work</string></array>)", true},
                    LabelCase{"OneSectionWithRecords", kTwoRecords, false},
                    LabelCase{"TwoEmptySections",
                              R"(<key>Sections</key><array><string>A</string><string>B</string></array>
<key>Times - A</key><array/><key>Times - B</key><array/>)",
                              false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BrowserTest, WithNoSectionsLeftTheLabelStaysHidden) {
    show();
    writeSavedTimes("<key>Sections</key><string>not a list</string>");
    hide();
    show();
    EXPECT_EQ(browser->allStopWatchSavedTimes()->count(), 0U);
    EXPECT_TRUE(browser->noSavedTimes()->isHidden());
    EXPECT_EQ(rowCounts(), std::vector<NSInteger>{});
}

// The striped background behind the results and behind the lap panel, by idiom and screen.
struct BackgroundCase {
    const char* name;
    UIUserInterfaceIdiom idiom;
    CGSize screen;
    const char* resource;
};

/// Prints the case by its name in test listings and failures.
void PrintTo(const BackgroundCase& c, std::ostream* os) {
    *os << c.name;
}

class StripeBackground : public BrowserTest, public testing::WithParamInterface<BackgroundCase> {};

std::string imageFile(const std::shared_ptr<UIView>& view) {
    auto imageView = std::dynamic_pointer_cast<UIImageView>(view);
    if (!imageView) {
        return "<no image view>";
    }
    return imageView->image() ? std::filesystem::path(imageView->image()->path()).stem().string()
                              : "<no image>";
}

TEST_P(StripeBackground, FollowsTheIdiomAndTheScreenHeight) {
    ui::DeviceConfiguration device;
    device.idiom = GetParam().idiom;
    device.screenSize = GetParam().screen;
    environment.configure(device);
    writeSavedTimes(kTwoRecords);
    show();
    EXPECT_EQ(imageFile(browser->savedTable()->backgroundView()), GetParam().resource);
    tapResult(0, 0);
    EXPECT_EQ(imageFile(browser->lapsTable()->backgroundView()), GetParam().resource);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, StripeBackground,
    testing::Values(
        BackgroundCase{"Phone568", UIUserInterfaceIdiomPhone, {320, 568}, "stripe_background-568h@2x~iphone"},
        BackgroundCase{"Phone480", UIUserInterfaceIdiomPhone, {320, 480}, "stripe_background@2x~iphone"},
        BackgroundCase{"Pad", UIUserInterfaceIdiomPad, {768, 1024}, "stripe_background@2x~iphone"},
        BackgroundCase{"PadOf568", UIUserInterfaceIdiomPad, {320, 568}, "stripe_background@2x~iphone"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BrowserTest, AResultCapturedWhileTheTabIsHiddenIsListedWhenItShowsAgain) {
    writeSavedTimes(kTwoRecords);
    show();
    hide();
    auto record =
        lv::makeSavedTime(1.0F, {1.0F}, 1.0, NSDate::withTimeIntervalSince1970(testing_support::kFixedNow));
    ASSERT_TRUE(lv::SavedTimesStore::appendToFirstSection(record).written);
    EXPECT_EQ(rowCounts(), std::vector<NSInteger>{2}) << "nothing changes while the tab is hidden";
    show();
    EXPECT_EQ(rowCounts(), std::vector<NSInteger>{3});
    auto cell = cellAt(browser->savedTable(), 0, 2);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->mainLabel()->text(), "Time: 1.0");
}

TEST_F(BrowserTest, ComingOnScreenPutsTheVisibleLabelsWhereEditModeWantsThem) {
    writeSavedTimes(kTwoRecords);
    show();
    auto cell = cellAt(browser->savedTable(), 0, 1);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->mainLabel()->frame().origin.x, 10);
    EXPECT_EQ(cell->lapsLabel()->alpha(), 1);

    // Edit mode is the Edit and Done switch's; it stays on while the tab is away.
    ASSERT_TRUE(browser->topBar()->simulateTapRightItem());
    hide();
    show();
    cell = cellAt(browser->savedTable(), 0, 1);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->mainLabel()->frame(), CGRectMake(40, 17, 320, 30)) << "only x moves";
    EXPECT_EQ(cell->lapsLabel()->alpha(), 0);

    ASSERT_TRUE(browser->topBar()->simulateTapRightItem());
    hide();
    show();
    cell = cellAt(browser->savedTable(), 0, 1);
    EXPECT_EQ(cell->mainLabel()->frame().origin.x, 10);
    EXPECT_EQ(cell->lapsLabel()->alpha(), 1);
}

TEST_F(BrowserTest, AppearingPlacesTheLabelsOfEveryCellOnScreenButOneWithoutThem) {
    // The labels are properties anyone may set; a cell without one is not placed, not a crash.
    writeSavedTimes(kTwoRecords);
    show();
    auto first = cellAt(browser->savedTable(), 0, 0);
    auto cell = cellAt(browser->savedTable(), 0, 1);
    ASSERT_TRUE(first && cell);
    cell->setLapsLabel(nullptr);
    ASSERT_TRUE(browser->topBar()->simulateTapRightItem());
    // Labels out of place, as an animation cut short could leave them.
    CGRect away = first->mainLabel()->frame();
    away.origin.x = 99;
    first->mainLabel()->setFrame(away);
    first->lapsLabel()->setAlpha(1);
    browser->viewDidAppear(false);
    ASSERT_EQ(cellAt(browser->savedTable(), 0, 0), first);
    ASSERT_EQ(cellAt(browser->savedTable(), 0, 1), cell);
    EXPECT_EQ(first->mainLabel()->frame().origin.x, 40);
    EXPECT_EQ(first->lapsLabel()->alpha(), 0);
    EXPECT_EQ(cell->mainLabel()->frame().origin.x, 10);
}

TEST_F(BrowserTest, AppearingRefreshesThroughTheRuntimeSoAReplacementRuns) {
    // A replacement installed the way a hooking library would must be what runs.
    IMP original;
    int refreshes = 0;
    MSHookMessageEx(
        objc_getClass("LVViewController"), lv::browser::refreshAllStopWatchSavedTimes,
        [&](const id& self, SEL sel) {
            ++refreshes;
            rt::callImp(lv::browser::refreshAllStopWatchSavedTimes, original, self, sel);
        },
        &original);
    show();
    EXPECT_EQ(refreshes, 2) << "once while the view loads, once as it appears";
    hide();
    show();
    EXPECT_EQ(refreshes, 3);
}

TEST_F(BrowserTest, AReplacementRefreshThatMakesNoListLeavesAnEmptyTable) {
    // A hook may stand in for the refresh without calling it: the list is then never made.
    IMP original;
    MSHookMessageEx(
        objc_getClass("LVViewController"), lv::browser::refreshAllStopWatchSavedTimes, [](const id&, SEL) {},
        &original);
    writeSavedTimes(kTwoRecords);
    show();
    EXPECT_EQ(rowCounts(), std::vector<NSInteger>{});
}

} // namespace
