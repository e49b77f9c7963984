// The optional methods an adopter announces are exactly those it overrides, itself or in a class
// between it and the protocol, for every protocol, and two adoptions in one class keep apart.

#include "platform/uikit/AdoptsUIAlertViewDelegate.h"
#include "platform/uikit/AdoptsUINavigationBarDelegate.h"
#include "platform/uikit/AdoptsUITabBarControllerDelegate.h"
#include "platform/uikit/AdoptsUITableViewDataSource.h"
#include "platform/uikit/AdoptsUITableViewDelegate.h"
#include "platform/uikit/AdoptsUITextFieldDelegate.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

namespace {

using DS = UITableViewDataSource::Method;
using DM = UITableViewDelegate::Method;
using AM = UIAlertViewDelegate::Method;
using NM = UINavigationBarDelegate::Method;
using TM = UITabBarControllerDelegate::Method;
using FM = UITextFieldDelegate::Method;
using TableRef = UITableViewDelegate::TableRef;
using PathRef = UITableViewDelegate::PathRef;

// The methods of `count` that `adopter` announces, as numbers.
template <class Protocol>
std::vector<int> announced(const Protocol& adopter, int count) {
    std::vector<int> out;
    for (int m = 0; m < count; ++m) {
        if (adopter.implements(static_cast<typename Protocol::Method>(m))) {
            out.push_back(m);
        }
    }
    return out;
}

template <class... M>
std::vector<int> methods(M... m) {
    return {static_cast<int>(m)...};
}

// The required methods, shared through a class between the protocol and the adopters.
class RowsOnly : public virtual UITableViewDataSource {
  public:
    NSInteger tableViewNumberOfRowsInSection(TableRef, NSInteger) override { return 0; }
    std::shared_ptr<UITableViewCell> tableViewCellForRowAtIndexPath(TableRef, PathRef) override {
        return nullptr;
    }
};

class BareSource final : public RowsOnly, public AdoptsUITableViewDataSource<BareSource> {};

class TitledRows : public RowsOnly {
  public:
    std::optional<std::string> tableViewTitleForHeaderInSection(TableRef, NSInteger) override { return "T"; }
};

class MovableSource final : public TitledRows, public AdoptsUITableViewDataSource<MovableSource> {
  public:
    void tableViewMoveRowAtIndexPathToIndexPath(TableRef, PathRef, PathRef) override {}
};

// A controller that is a data source and a delegate at once.
class Controller final : public RowsOnly,
                         public AdoptsUITableViewDataSource<Controller>,
                         public AdoptsUITableViewDelegate<Controller> {
  public:
    void tableViewCommitEditingStyleForRowAtIndexPath(TableRef, UITableViewCellEditingStyle,
                                                      PathRef) override {}
    void tableViewDidSelectRowAtIndexPath(TableRef, PathRef) override {}
    void scrollViewDidScroll(TableRef) override {}
};

class EveryDelegateMethod final : public AdoptsUITableViewDelegate<EveryDelegateMethod> {
  public:
    CGFloat tableViewHeightForRowAtIndexPath(TableRef, PathRef) override { return 1; }
    CGFloat tableViewHeightForHeaderInSection(TableRef, NSInteger) override { return 1; }
    void tableViewWillDisplayCellForRowAtIndexPath(TableRef, const std::shared_ptr<UITableViewCell>&,
                                                   PathRef) override {}
    std::shared_ptr<NSIndexPath> tableViewWillSelectRowAtIndexPath(TableRef, PathRef path) override {
        return path;
    }
    void tableViewDidSelectRowAtIndexPath(TableRef, PathRef) override {}
    void tableViewDidDeselectRowAtIndexPath(TableRef, PathRef) override {}
    UITableViewCellEditingStyle tableViewEditingStyleForRowAtIndexPath(TableRef, PathRef) override {
        return UITableViewCellEditingStyleNone;
    }
    bool tableViewShouldIndentWhileEditingRowAtIndexPath(TableRef, PathRef) override { return false; }
    void tableViewWillBeginEditingRowAtIndexPath(TableRef, PathRef) override {}
    void tableViewDidEndEditingRowAtIndexPath(TableRef, PathRef) override {}
    std::shared_ptr<NSIndexPath>
    tableViewTargetIndexPathForMoveFromRowAtIndexPathToProposedIndexPath(TableRef, PathRef,
                                                                         PathRef proposed) override {
        return proposed;
    }
    void scrollViewDidScroll(TableRef) override {}
    void scrollViewDidEndScrollingAnimation(TableRef) override {}
};

class PresentingAlerts : public virtual UIAlertViewDelegate {
  public:
    void willPresentAlertView(const std::shared_ptr<UIAlertView>&) override {}
};

class AlertDelegate final : public PresentingAlerts, public AdoptsUIAlertViewDelegate<AlertDelegate> {
  public:
    void alertViewClickedButtonAtIndex(const std::shared_ptr<UIAlertView>&, NSInteger) override {}
};

class BarDelegate final : public AdoptsUINavigationBarDelegate<BarDelegate> {
  public:
    bool navigationBarShouldPopItem(BarRef, ItemRef) override { return true; }
    void navigationBarDidPushItem(BarRef, ItemRef) override {}
};

class TabsDelegate final : public AdoptsUITabBarControllerDelegate<TabsDelegate> {
  public:
    bool tabBarControllerShouldSelectViewController(const std::shared_ptr<UITabBarController>&,
                                                    const std::shared_ptr<UIViewController>&) override {
        return false;
    }
};

class ReturningField : public virtual UITextFieldDelegate {
  public:
    bool textFieldShouldReturn(const std::shared_ptr<UITextField>&) override { return false; }
};

class FieldDelegate final : public ReturningField, public AdoptsUITextFieldDelegate<FieldDelegate> {
  public:
    void textFieldDidEndEditing(const std::shared_ptr<UITextField>&) override {}
};

struct AdoptionCase {
    const char* label;
    std::function<std::vector<int>()> announced;
    std::vector<int> expected;
};

void PrintTo(const AdoptionCase& adoption, std::ostream* out) {
    *out << adoption.label;
}

class ProtocolAdoptionTest : public ::testing::TestWithParam<AdoptionCase> {};

TEST_P(ProtocolAdoptionTest, AnnouncesExactlyTheOverriddenMethods) {
    EXPECT_EQ(GetParam().announced(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Protocols, ProtocolAdoptionTest,
    ::testing::Values(
        AdoptionCase{"DataSourceWithOnlyTheRequiredMethods",
                     [] { return announced<UITableViewDataSource>(BareSource(), 6); },
                     {}},
        AdoptionCase{"DataSourceThroughAClassBetween",
                     [] { return announced<UITableViewDataSource>(MovableSource(), 6); },
                     methods(DS::TitleForHeaderInSection, DS::MoveRow)},
        AdoptionCase{"ControllerAsDataSource",
                     [] { return announced<UITableViewDataSource>(Controller(), 6); },
                     methods(DS::CommitEditingStyle)},
        AdoptionCase{"ControllerAsDelegate", [] { return announced<UITableViewDelegate>(Controller(), 13); },
                     methods(DM::DidSelectRow, DM::ScrollViewDidScroll)},
        AdoptionCase{"DelegateWithEveryMethod",
                     [] { return announced<UITableViewDelegate>(EveryDelegateMethod(), 13); },
                     methods(DM::HeightForRow, DM::HeightForHeaderInSection, DM::WillDisplayCell,
                             DM::WillSelectRow, DM::DidSelectRow, DM::DidDeselectRow, DM::EditingStyleForRow,
                             DM::ShouldIndentWhileEditingRow, DM::WillBeginEditingRow, DM::DidEndEditingRow,
                             DM::TargetIndexPathForMove, DM::ScrollViewDidScroll,
                             DM::ScrollViewDidEndScrollingAnimation)},
        AdoptionCase{"AlertDelegateThroughAClassBetween",
                     [] { return announced<UIAlertViewDelegate>(AlertDelegate(), 5); },
                     methods(AM::ClickedButtonAtIndex, AM::WillPresentAlertView)},
        AdoptionCase{"NavigationBarDelegate",
                     [] { return announced<UINavigationBarDelegate>(BarDelegate(), 4); },
                     methods(NM::DidPushItem, NM::ShouldPopItem)},
        AdoptionCase{"TabBarControllerDelegate",
                     [] { return announced<UITabBarControllerDelegate>(TabsDelegate(), 2); },
                     methods(TM::ShouldSelectViewController)},
        AdoptionCase{"TextFieldDelegateThroughAClassBetween",
                     [] { return announced<UITextFieldDelegate>(FieldDelegate(), 4); },
                     methods(FM::DidEndEditing, FM::ShouldReturn)}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
