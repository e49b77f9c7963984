#pragma once
// The table tests' data source and delegate, with the optional methods chosen at compile time:
//
//     auto model = std::make_shared<ModelTable<DS::NumberOfSections, DS::MoveRow, DM::DidSelectRow>>();
//
// Each method named adds one class between ModelTableDataSource and the adopter that overrides
// that method; the adoption templates then announce exactly those, so a test's data source has
// the methods it says it has, the way an app's class does. `ModelTableWith<...>` adds the ones
// most tests want.

#include "platform/uikit/AdoptsUITableViewDataSource.h"
#include "platform/uikit/AdoptsUITableViewDelegate.h"
#include "tests/support/ModelTableDataSource.h"

namespace testing_support {

namespace model_parts {

using DS = UITableViewDataSource::Method;
using DM = UITableViewDelegate::Method;
using TableRef = UITableViewDelegate::TableRef;
using PathRef = UITableViewDelegate::PathRef;

/// The class that overrides the optional method `M` on top of `Base`, answering as the model
/// does. Only the methods the model answers have one.
template <auto M, class Base>
class Implementing;

template <class Base>
class Implementing<DS::NumberOfSections, Base> : public Base {
  public:
    using Base::Base;
    NSInteger numberOfSectionsInTableView(TableRef) override { return this->answerNumberOfSections(); }
};

template <class Base>
class Implementing<DS::TitleForHeaderInSection, Base> : public Base {
  public:
    using Base::Base;
    std::optional<std::string> tableViewTitleForHeaderInSection(TableRef, NSInteger section) override {
        return this->answerTitleForHeader(section);
    }
};

template <class Base>
class Implementing<DS::CanEditRow, Base> : public Base {
  public:
    using Base::Base;
    bool tableViewCanEditRowAtIndexPath(TableRef, PathRef path) override {
        return this->answerCanEditRow(path);
    }
};

template <class Base>
class Implementing<DS::CanMoveRow, Base> : public Base {
  public:
    using Base::Base;
    bool tableViewCanMoveRowAtIndexPath(TableRef, PathRef path) override {
        return this->answerCanMoveRow(path);
    }
};

template <class Base>
class Implementing<DS::CommitEditingStyle, Base> : public Base {
  public:
    using Base::Base;
    void tableViewCommitEditingStyleForRowAtIndexPath(TableRef table, UITableViewCellEditingStyle style,
                                                      PathRef path) override {
        this->answerCommitEditingStyle(table, style, path);
    }
};

template <class Base>
class Implementing<DS::MoveRow, Base> : public Base {
  public:
    using Base::Base;
    void tableViewMoveRowAtIndexPathToIndexPath(TableRef, PathRef from, PathRef to) override {
        this->answerMoveRow(from, to);
    }
};

template <class Base>
class Implementing<DM::HeightForRow, Base> : public Base {
  public:
    using Base::Base;
    CGFloat tableViewHeightForRowAtIndexPath(TableRef, PathRef path) override {
        return this->answerHeightForRow(path);
    }
};

template <class Base>
class Implementing<DM::WillDisplayCell, Base> : public Base {
  public:
    using Base::Base;
    void tableViewWillDisplayCellForRowAtIndexPath(TableRef, const std::shared_ptr<UITableViewCell>&,
                                                   PathRef path) override {
        this->answerWillDisplayCell(path);
    }
};

template <class Base>
class Implementing<DM::WillSelectRow, Base> : public Base {
  public:
    using Base::Base;
    std::shared_ptr<NSIndexPath> tableViewWillSelectRowAtIndexPath(TableRef, PathRef path) override {
        return this->answerWillSelectRow(path);
    }
};

template <class Base>
class Implementing<DM::DidSelectRow, Base> : public Base {
  public:
    using Base::Base;
    void tableViewDidSelectRowAtIndexPath(TableRef, PathRef path) override { this->answerDidSelectRow(path); }
};

template <class Base>
class Implementing<DM::DidDeselectRow, Base> : public Base {
  public:
    using Base::Base;
    void tableViewDidDeselectRowAtIndexPath(TableRef, PathRef path) override {
        this->answerDidDeselectRow(path);
    }
};

template <class Base>
class Implementing<DM::EditingStyleForRow, Base> : public Base {
  public:
    using Base::Base;
    UITableViewCellEditingStyle tableViewEditingStyleForRowAtIndexPath(TableRef, PathRef path) override {
        return this->answerEditingStyle(path);
    }
};

template <class Base>
class Implementing<DM::WillBeginEditingRow, Base> : public Base {
  public:
    using Base::Base;
    void tableViewWillBeginEditingRowAtIndexPath(TableRef table, PathRef path) override {
        this->answerWillBeginEditingRow(table, path);
    }
};

template <class Base>
class Implementing<DM::DidEndEditingRow, Base> : public Base {
  public:
    using Base::Base;
    void tableViewDidEndEditingRowAtIndexPath(TableRef table, PathRef path) override {
        this->answerDidEndEditingRow(table, path);
    }
};

/// ModelTableDataSource with one `Implementing` class per method named, innermost last.
template <auto... Methods>
struct Stack {
    using type = ModelTableDataSource;
};

template <auto First, auto... Rest>
struct Stack<First, Rest...> {
    using type = Implementing<First, typename Stack<Rest...>::type>;
};

} // namespace model_parts

/// A model data source and delegate implementing exactly the optional `Methods` (values of
/// `UITableViewDataSource::Method` and `UITableViewDelegate::Method`).
template <auto... Methods>
class ModelTable final : public model_parts::Stack<Methods...>::type,
                         public AdoptsUITableViewDataSource<ModelTable<Methods...>>,
                         public AdoptsUITableViewDelegate<ModelTable<Methods...>> {
    using Parts = typename model_parts::Stack<Methods...>::type;

  public:
    using Parts::Parts;
};

/// A model table with what most tests want (the section count, header titles and didSelect),
/// plus `More`.
template <auto... More>
using ModelTableWith = ModelTable<UITableViewDataSource::Method::NumberOfSections,
                                  UITableViewDataSource::Method::TitleForHeaderInSection,
                                  UITableViewDelegate::Method::DidSelectRow, More...>;

} // namespace testing_support
