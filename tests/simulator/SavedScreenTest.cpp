// The Saved tab is observed by kind and place, whatever controller is behind it: these tests put
// a stand-in browser with the same parts (a top bar, the saved-times table, the laps table and
// the empty label) in the fifth tab and drive it with the simulator's commands.

#include "simulator/scene/SavedScreen.h"
#include "simulator/scene/Inspector.h"

#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIKitMessages.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITextField.h"
#include "tests/simulator/SimulatorFixture.h"
#include "tests/support/ModelTable.h"

namespace {

using testing_support::ModelSection;
using testing_support::ModelTableDataSource;
using testing_support::ModelTableWith;
using testing_support::SimulatorTest;
using DS = UITableViewDataSource::Method;
using DM = UITableViewDelegate::Method;

constexpr rt::Msg<void(id)> barTappedMessage{"barTapped:"};

class StandInBrowser : public UIViewController {
  public:
    static constexpr const char* kClassName = "StandInBrowser";
    using Super = UIViewController;
    static void describe(rt::ClassBuilder& b) {
        b.method<&StandInBrowser::viewDidLoad>(msg::viewDidLoad);
        b.method<&StandInBrowser::barTapped>(barTappedMessage);
    }

    // The saved-times table has 70-point rows that can be deleted and moved.
    std::shared_ptr<ModelTableDataSource> saved =
        std::make_shared<ModelTableWith<DS::CanEditRow, DS::CanMoveRow, DS::CommitEditingStyle, DS::MoveRow,
                                        DM::HeightForRow>>(std::vector<ModelSection>{
            {"Default", {"Time: 00:10.0", "Time: 00:20.0"}}, {"Work", {"Time: 00:30.0"}}});
    std::shared_ptr<ModelTableDataSource> laps =
        std::make_shared<ModelTableWith<>>(std::vector<ModelSection>{{"Laps", {"00:05.0", "00:05.0"}}});
    std::shared_ptr<UINavigationBar> bar;
    std::shared_ptr<UITableView> savedTable;

    void viewDidLoad() {
        auto root = view();
        CGFloat width = root->bounds().size.width;
        CGFloat height = root->bounds().size.height;
        saved->height = 70;
        savedTable =
            UITableView::withFrameStyle(CGRectMake(0, 44, width, height - 92), UITableViewStylePlain);
        savedTable->setDataSource(saved);
        savedTable->setDelegate(saved);
        auto lapsTable =
            UITableView::withFrameStyle(CGRectMake(width, 44, width, height - 92), UITableViewStylePlain);
        lapsTable->setAllowsSelection(false);
        lapsTable->setDataSource(laps);
        lapsTable->setDelegate(laps);
        bar = UIView::withFrame<UINavigationBar>(CGRectMake(0, 0, width, 44));
        auto rootItem = UINavigationItem::withTitle("Saved Times");
        rootItem->setRightBarButtonItem(
            UIBarButtonItem::withTitle("Edit", UIBarButtonItemStylePlain, self(), barTappedMessage.sel()));
        bar->pushNavigationItemAnimated(rootItem, false);
        auto empty = UIView::withFrame<UILabel>(CGRectMake(0, height / 2 - 20, width, 40));
        empty->setText("No Saved Times");
        empty->setHidden(true);
        root->addSubview(savedTable);
        root->addSubview(lapsTable);
        root->addSubview(bar);
        root->addSubview(empty);
    }

    void barTapped(id sender) {
        auto item = rt::cast<UIBarButtonItem>(sender);
        auto top = bar->topItem();
        if (item->title() == "Edit") {
            item->setTitle("Done");
            item->setStyle(UIBarButtonItemStyleDone);
            savedTable->setEditingAnimated(true, true);
            top->setLeftBarButtonItem(
                UIBarButtonItem::withTitle("Add", UIBarButtonItemStyleDone, self(), barTappedMessage.sel()));
        } else if (item->title() == "Done") {
            item->setTitle("Edit");
            item->setStyle(UIBarButtonItemStylePlain);
            savedTable->setEditingAnimated(false, true);
            top->setLeftBarButtonItem(nullptr);
        } else if (item->title() == "Add") {
            auto alert = UIAlertView::withTitle("New Section", std::nullopt, nullptr, "Dismiss", {"Add"});
            alert->setAlertViewStyle(UIAlertViewStylePlainTextInput);
            alert->textFieldAtIndex(0)->setPlaceholder("Section Name");
            alert->show();
        }
    }
};

class SavedScreenTest : public SimulatorTest {
  protected:
    void SetUp() override {
        SimulatorTest::SetUp();
        ASSERT_EQ(run("launch\n"), sim::kExitOk);
        browser = rt::make<StandInBrowser>();
        browser->initWithNibNameBundle(std::nullopt, nullptr);
        browser->setTitle("Saved");
        auto tabs = sim::Inspector(*device).tabBarController();
        auto controllers = tabs->viewControllers();
        controllers.push_back(browser);
        tabs->setViewControllers(controllers);
    }
    /// Runs lines that must all be carried out.
    void ok(const std::string& script) { ASSERT_EQ(run(script), sim::kExitOk) << err.str(); }

    std::shared_ptr<StandInBrowser> browser;
};

TEST_F(SavedScreenTest, IsNullUntilTheTabsViewIsLoaded) {
    EXPECT_TRUE(dump()["saved"].is_null());
    ok("tab saved\n");
    nlohmann::json saved = dump()["saved"];
    ASSERT_TRUE(saved.is_object());
    EXPECT_EQ(saved["top_bar"], nlohmann::json::parse(R"([{"title": "Saved Times", "left": null,
        "right": {"title": "Edit", "style": "plain"}}])"));
    EXPECT_EQ(saved["editing"], false);
    EXPECT_EQ(saved["no_saved_times_visible"], false);
    nlohmann::json table = saved["saved_table"];
    EXPECT_EQ(table["frame"], nlohmann::json({0.0, 44.0, 320.0, 456.0}));
    EXPECT_EQ(table["allows_selection"], true);
    EXPECT_TRUE(table["selected"].is_null());
    ASSERT_EQ(table["sections"].size(), 2u);
    EXPECT_EQ(table["sections"][0]["title"], "Default");
    EXPECT_EQ(table["sections"][0]["row_count"], 2);
    EXPECT_EQ(table["sections"][0]["rows"][1]["row"], 1);
    EXPECT_EQ(table["sections"][0]["rows"][1]["main"], "Time: 00:20.0");
    EXPECT_EQ(table["sections"][1]["title"], "Work");
    nlohmann::json lapsTable = saved["laps_table"];
    EXPECT_EQ(lapsTable["frame"], nlohmann::json({320.0, 44.0, 320.0, 456.0}));
    EXPECT_EQ(lapsTable["content_offset"], nlohmann::json({0.0, 0.0}));
    EXPECT_EQ(lapsTable["title"], "Laps");
    EXPECT_EQ(saved["pending"], nlohmann::json::array());
}

TEST_F(SavedScreenTest, BarItemsAreTappedByTheirTitles) {
    ok("tab saved\nedit\n");
    nlohmann::json saved = dump()["saved"];
    EXPECT_EQ(saved["editing"], true);
    EXPECT_EQ(saved["top_bar"][0]["right"], nlohmann::json::parse(R"({"title": "Done", "style": "done"})"));
    EXPECT_EQ(saved["top_bar"][0]["left"], nlohmann::json::parse(R"({"title": "Add", "style": "done"})"));
    EXPECT_EQ(run("edit\n"), sim::kExitRejectedLines);
    EXPECT_NE(err.str().find("no \"Edit\" item"), std::string::npos) << err.str();
    ok("done\n");
    EXPECT_EQ(dump()["saved"]["editing"], false);
}

TEST_F(SavedScreenTest, RowsAreMovedInEditModeAndDeletedBySwipeOrMinus) {
    ok("tab saved\n");
    EXPECT_EQ(run("move 0 0 1 0\n"), sim::kExitRejectedLines) << "moves need edit mode";
    ok("edit\nmove 0 0 1 1\n");
    nlohmann::json sections = dump()["saved"]["saved_table"]["sections"];
    EXPECT_EQ(sections[0]["row_count"], 1);
    EXPECT_EQ(sections[1]["row_count"], 2);
    EXPECT_EQ(browser->saved->sections[1].rows[1], "Time: 00:10.0");

    ok("delete 1 0\ndone\ndelete 0 0\n");
    EXPECT_EQ(browser->saved->sections[0].rows.size(), 0u);
    EXPECT_EQ(browser->saved->sections[1].rows, (std::vector<std::string>{"Time: 00:10.0"}));
    EXPECT_EQ(run("delete 0 0\n"), sim::kExitRejectedLines) << err.str();
}

TEST_F(SavedScreenTest, SwipeShowsTheDeleteButtonUntilUnswiped) {
    ok("tab saved\nswipe 0 1\nscreen\n");
    EXPECT_NE(out.str().find("[Delete]"), std::string::npos) << out.str();
    EXPECT_EQ(dump()["saved"]["editing"], true) << "a swipe puts the table in editing";
    ok("unswipe\n");
    EXPECT_EQ(dump()["saved"]["editing"], false);
    EXPECT_EQ(run("unswipe\n"), sim::kExitRejectedLines);
}

TEST_F(SavedScreenTest, TapSelectsAndBackNeedsABackControl) {
    ok("tab saved\ntap 1 0\n");
    EXPECT_EQ(dump()["saved"]["saved_table"]["selected"], nlohmann::json({1, 0}));
    EXPECT_EQ(run("tap 2 0\ntap 0 5\nback\n"), sim::kExitRejectedLines);
    std::string errors = err.str();
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 3) << errors;

    browser->bar->pushNavigationItemAnimated(UINavigationItem::withTitle("Time: 00:30.0"), false);
    ok("back\n");
    EXPECT_EQ(dump()["saved"]["top_bar"].size(), 1u);
}

TEST_F(SavedScreenTest, TheFrontAlertTakesTypingExactly) {
    ok("tab saved\nedit\nadd\ntype   Work  \n");
    nlohmann::json alerts = dump()["alerts"];
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0]["title"], "New Section");
    EXPECT_TRUE(alerts[0]["message"].is_null());
    EXPECT_EQ(alerts[0]["buttons"], nlohmann::json({"Dismiss", "Add"}));
    EXPECT_EQ(alerts[0]["text"], "  Work  ");
    EXPECT_EQ(alerts[0]["placeholder"], "Section Name");
    EXPECT_EQ(run("done\n"), sim::kExitRejectedLines) << "the alert is in front";
    ok("type\n");
    EXPECT_EQ(dump()["alerts"][0]["text"], "");
    EXPECT_EQ(run("button Nope\n"), sim::kExitRejectedLines);
    ok("button Dismiss\nwait 0.5\n");
    EXPECT_EQ(dump()["alerts"], nlohmann::json::array());
}

TEST_F(SavedScreenTest, ScreenShowsTheBarTheHeadersAndTheRows) {
    ok("tab saved\nedit\nscreen\n");
    std::string screen = out.str();
    for (const char* part :
         {"Saved Times", "[Done]", "[Add]", "-- Default --", "-- Work --", "Time: 00:20.0", "(-)", "="}) {
        EXPECT_NE(screen.find(part), std::string::npos) << part << " missing from\n" << screen;
    }
    EXPECT_EQ(screen.find("00:05.0"), std::string::npos) << "the laps table is off screen\n" << screen;
}

TEST_F(SavedScreenTest, ATableInFrontHidesTheRowsUnderItOnceItIsThereAndTheDumpTellsModelFromScreen) {
    ok("tab saved\n");
    auto parts = sim::findSavedParts(*device);
    ASSERT_TRUE(parts && parts->lapsTable);
    UIView::beginAnimationsContext();
    UIView::setAnimationDuration(1);
    parts->lapsTable->setFrame(CGRectMake(0, 44, 320, 456));
    UIView::commitAnimations();
    ok("screen\n");
    // The panel's model is in place, but on screen it has not moved yet: the rows still show.
    std::string screen = out.str();
    EXPECT_EQ(screen.find("00:05.0"), std::string::npos) << "the laps table is still off screen\n" << screen;
    EXPECT_NE(screen.find("Time: 00:20.0"), std::string::npos) << screen;
    nlohmann::json laps = dump()["saved"]["laps_table"];
    EXPECT_EQ(laps["frame"], nlohmann::json({0.0, 44.0, 320.0, 456.0}));
    EXPECT_EQ(laps["frame_on_screen"], nlohmann::json({320.0, 44.0, 320.0, 456.0}));
    ok("wait 1\n");
    out.str("");
    ok("screen\n");
    screen = out.str();
    EXPECT_NE(screen.find("00:05.0"), std::string::npos) << screen;
    EXPECT_EQ(screen.find("Time: 00:20.0"), std::string::npos) << "covered by the laps table\n" << screen;
    nlohmann::json after = dump()["saved"];
    EXPECT_EQ(after["laps_table"]["frame_on_screen"], nlohmann::json({0.0, 44.0, 320.0, 456.0}));
    for (const auto& section : after["saved_table"]["sections"]) {
        for (const auto& row : section["rows"]) {
            EXPECT_EQ(row["covered"], true) << row;
        }
    }
}

} // namespace
