// Mistakes in adopting a protocol that must not compile. The build compiles this file once per
// mistake, with the project's warning flags, and expects the compiler's complaint; compiled with
// no mistake chosen, it must compile cleanly, so the complaints are about the mistakes alone.

#include "platform/uikit/AdoptsUITableViewDataSource.h"

#include <memory>
#include <optional>
#include <string>

using TableRef = const std::shared_ptr<UITableView>&;
using PathRef = const std::shared_ptr<NSIndexPath>&;

class Source final : public AdoptsUITableViewDataSource<Source> {
  public:
    NSInteger tableViewNumberOfRowsInSection(TableRef, NSInteger) override { return 0; }
    std::shared_ptr<UITableViewCell> tableViewCellForRowAtIndexPath(TableRef, PathRef) override {
        return nullptr;
    }
#if defined(MISTYPED_OVERRIDE)
    // The table taken by value: this hides the protocol's method instead of overriding it, and
    // the table would never call it although `implements` would say it is there.
    std::optional<std::string> tableViewTitleForHeaderInSection(std::shared_ptr<UITableView>, NSInteger) {
        return "Title";
    }
#elif defined(UNMARKED_OVERRIDE)
    std::optional<std::string> tableViewTitleForHeaderInSection(TableRef, NSInteger) {
        return "Title";
    }
#elif defined(HAND_WRITTEN_ANSWER)
    [[nodiscard]] bool implementsOptional(Method, Adoption) const {
        return true;
    }
#else
    std::optional<std::string> tableViewTitleForHeaderInSection(TableRef, NSInteger) override {
        return "Title";
    }
#endif
};

bool answer() {
    return std::make_shared<Source>()->implements(UITableViewDataSource::Method::TitleForHeaderInSection);
}

#if defined(NOT_FINAL)
// A subclass of this one could override more methods without announcing them.
class OpenSource : public AdoptsUITableViewDataSource<OpenSource> {
  public:
    NSInteger tableViewNumberOfRowsInSection(TableRef, NSInteger) override { return 0; }
    std::shared_ptr<UITableViewCell> tableViewCellForRowAtIndexPath(TableRef, PathRef) override {
        return nullptr;
    }
};

bool openAnswer() {
    return std::make_shared<OpenSource>()->implements(UITableViewDataSource::Method::MoveRow);
}
#endif
