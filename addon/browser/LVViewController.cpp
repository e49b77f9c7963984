// The browser's view construction and its appearance messages.

#include "addon/browser/LVViewController.h"

#include "addon/browser/BrowserImages.h"
#include "addon/browser/BrowserMessages.h"
#include "addon/store/SavedTimesStore.h"
#include "addon/views/LVLabel.h"
#include "addon/views/LVTableViewCell.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Message.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIKitMessages.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITableView.h"

#include <set>
#include <string>

namespace {

/// The offset of the label's dark shadow: just above the text.
constexpr CGSize kRaisedShadowOffset{0, -0.9F};

} // namespace

void LVViewController::describe(rt::ClassBuilder& b) {
    namespace br = lv::browser;
    b.method<&LVViewController::initWithNibNameBundle>(msg::initWithNibNameBundle);
    b.method<&LVViewController::didReceiveMemoryWarning>(msg::didReceiveMemoryWarning);
    b.method<&LVViewController::viewDidLoad>(msg::viewDidLoad);
    b.method<&LVViewController::viewWillAppear>(msg::viewWillAppear);
    b.method<&LVViewController::viewDidAppear>(msg::viewDidAppear);
    b.method<&LVViewController::viewWillDisappear>(msg::viewWillDisappear);
    b.method<&LVViewController::refreshAllStopWatchSavedTimes>(br::refreshAllStopWatchSavedTimes);
    b.method<&LVViewController::setAllLapsForSectionWithIndex>(br::setAllLapsForSectionWithIndex);
    b.method<&LVViewController::tableViewNextAnimationWithCellToDeselect>(
        br::tableViewNextAnimationWithCellToDeselect);
    b.method<&LVViewController::topBarButtonClicked>(br::topBarButtonClicked);
    b.method<&LVViewController::deleteEmptySections>(br::deleteEmptySections);
    b.method<&LVViewController::reloadDeley>(br::reloadDeley);
}

void LVViewController::initWithNibNameBundle(std::optional<std::string> nibName, id bundle) {
    UIViewController::initWithNibNameBundle(std::move(nibName), std::move(bundle));
}

void LVViewController::didReceiveMemoryWarning() {
    UIViewController::didReceiveMemoryWarning();
}

void LVViewController::viewDidLoad() {
    UIViewController::viewDidLoad();
    // The layout is computed once from the size the view has now.
    const CGSize size = view()->frame().size;
    buildTopBar(size.width);
    // The first load makes sure the file has a section list, so that a new user sees "Default".
    lv::SavedTimesStore::ensureSectionList();
    allLaps_ = NSMutableArray::with();
    buildTables(size.width, size.height);
    auto root = view();
    root->addSubview(savedTable_);
    root->addSubview(lapsTable_);
    root->addSubview(topBar_);
    // The label does not exist yet, so this first refresh leaves its visibility to the next one.
    rt::send(self(), lv::browser::refreshAllStopWatchSavedTimes);
    buildNoSavedTimesLabel(size.width, size.height);
    root->addSubview(noSavedTimes_);
}

void LVViewController::buildTopBar(CGFloat width) {
    topBar_ = UIView::withFrame<UINavigationBar>(CGRectMake(0, 0, width, UINavigationBar::kHeight));
    topBar_->setDelegate(std::static_pointer_cast<UINavigationBarDelegate>(self<LVViewController>()));
    auto rootItem = UINavigationItem::withTitle(std::string("Saved Times"));
    const SEL action = lv::browser::topBarButtonClicked.sel();
    dismissButton_ =
        UIBarButtonItem::withTitle(std::string("Close"), UIBarButtonItemStyleDone, self(), action);
    editButton_ = UIBarButtonItem::withTitle(std::string("Edit"), UIBarButtonItemStylePlain, self(), action);
    rootItem->setRightBarButtonItem(editButton_);
    // The bar holds the root item from here on.
    topBar_->pushNavigationItemAnimated(rootItem, true);
}

void LVViewController::buildTables(CGFloat width, CGFloat height) {
    const CGFloat top = topBar_->frame().size.height;
    const CGFloat tableHeight = height - kTabBarAllowance - top;
    auto me = self<LVViewController>();

    savedTable_ = UITableView::withFrameStyle(CGRectMake(0, top, width, tableHeight), UITableViewStylePlain);
    savedTable_->setSeparatorStyle(UITableViewCellSeparatorStyleNone);
    savedTable_->setDataSource(std::static_pointer_cast<UITableViewDataSource>(me));
    savedTable_->setDelegate(std::static_pointer_cast<UITableViewDelegate>(me));

    // The lap panel waits one view width to the right, outside the visible area.
    lapsTable_ =
        UITableView::withFrameStyle(CGRectMake(width, top, width, tableHeight), UITableViewStylePlain);
    lapsTable_->setAllowsSelection(false);
    lapsTable_->setSeparatorStyle(UITableViewCellSeparatorStyleNone);
    lapsTable_->setDataSource(std::static_pointer_cast<UITableViewDataSource>(me));
    lapsTable_->setDelegate(std::static_pointer_cast<UITableViewDelegate>(me));

    savedTable_->setBackgroundView(lv::stripeBackgroundView());
}

void LVViewController::buildNoSavedTimesLabel(CGFloat width, CGFloat height) {
    noSavedTimes_ = UIView::withFrame<UILabel>(CGRectMake(0, height * 0.5F - 20, width, 40));
    noSavedTimes_->setText(std::string("No Saved Times"));
    noSavedTimes_->setTextColor(UIColor::whiteColor());
    noSavedTimes_->setBackgroundColor(UIColor::clearColor());
    noSavedTimes_->setShadowColor(UIColor::blackColor());
    noSavedTimes_->setShadowOffset(kRaisedShadowOffset);
    noSavedTimes_->setHidden(true);
    noSavedTimes_->setFont(UIFont::boldSystemFontOfSize(20));
    noSavedTimes_->setTextAlignment(NSTextAlignmentCenter);
}

void LVViewController::refreshAllStopWatchSavedTimes() {
    lv::SavedTimesRead current = lv::SavedTimesStore::read();
    allStopWatchSavedTimes_ = NSMutableArray::with();
    allStopWatchSectionNames_.clear();
    if (current.root) {
        lv::SavedTimesDocument document(current.root);
        allStopWatchSectionNames_ = document.sectionNames();
        std::set<std::string> seen;
        for (const auto& name : allStopWatchSectionNames_) {
            auto records = document.recordsOrEmpty(name);
            // A name listed twice (an outside edit) gets its own array, so that a change to one
            // table section never changes another behind the table's back.
            if (!seen.insert(name).second) {
                records = NSMutableArray::with(records->items());
            }
            allStopWatchSavedTimes_->addObject(records);
        }
    }
    if (noSavedTimes_) {
        auto only =
            allStopWatchSavedTimes_->count() == 1 ? allStopWatchSavedTimes_->objectAs<NSArray>(0) : nullptr;
        noSavedTimes_->setHidden(!(only && only->count() == 0));
    }
}

void LVViewController::viewWillAppear(bool animated) {
    UIViewController::viewWillAppear(animated);
    rt::send(self(), lv::browser::refreshAllStopWatchSavedTimes);
    savedTable_->reloadData();
}

void LVViewController::viewDidAppear(bool animated) {
    UIViewController::viewDidAppear(animated);
    if (!allStopWatchSavedTimes_ || allStopWatchSavedTimes_->count() == 0) {
        return;
    }
    for (std::size_t s = 0; s < allStopWatchSavedTimes_->count(); ++s) {
        auto records = allStopWatchSavedTimes_->objectAs<NSArray>(s);
        const std::size_t rows = records ? records->count() : 0;
        for (std::size_t r = 0; r < rows; ++r) {
            // Only rows on screen have a cell; the others get their places when they are made.
            auto cell = std::dynamic_pointer_cast<LVTableViewCell>(savedTable_->cellForRowAtIndexPath(
                NSIndexPath::indexPathForRowInSection(static_cast<NSInteger>(r), static_cast<NSInteger>(s))));
            if (cell) {
                placeResultLabels(*cell, editMode_,
                                  isSwipedRow(static_cast<NSInteger>(s), static_cast<NSInteger>(r)));
            }
        }
    }
}

void LVViewController::placeResultLabels(LVTableViewCell& cell, bool editing, bool swiped) {
    if (!cell.mainLabel() || !cell.lapsLabel()) {
        return;
    }
    CGRect frame = cell.mainLabel()->frame();
    frame.origin.x = editing ? kMainLabelEditingX : kMainLabelX;
    cell.mainLabel()->setFrame(frame);
    cell.lapsLabel()->setAlpha(editing || swiped ? 0 : 1);
}
