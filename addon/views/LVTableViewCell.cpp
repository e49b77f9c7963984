#include "addon/views/LVTableViewCell.h"

#include "addon/views/LVLabel.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIKitMessages.h"

namespace {

/// The offset of the highlighted shadows of the bold labels: just above the text, single precision.
constexpr CGSize kRaisedShadowOffset{0, -0.9F};
/// The offset of their normal shadows: one point below the text.
constexpr CGSize kLoweredShadowOffset{0, 1};

} // namespace

void LVTableViewCell::describe(rt::ClassBuilder& b) {
    b.method<&LVTableViewCell::initWithStyleReuseIdentifier>(msg::initWithStyleReuseIdentifier);
    b.method<&LVTableViewCell::setSelectedAnimated>(msg::setSelectedAnimated);
}

std::shared_ptr<LVTableViewCell> LVTableViewCell::make(UITableViewCellStyle style,
                                                       std::optional<std::string> reuseIdentifier) {
    auto cell = rt::make<LVTableViewCell>();
    rt::send(cell, msg::initWithStyleReuseIdentifier, style, std::move(reuseIdentifier));
    return cell;
}

void LVTableViewCell::initWithStyleReuseIdentifier(UITableViewCellStyle style,
                                                   std::optional<std::string> reuseIdentifier) {
    UITableViewCell::initWithStyleReuseIdentifier(style, std::move(reuseIdentifier));
    // The labels are placed once, from the frame the cell has now; the row height a table gives
    // the cell later does not move them.
    const CGRect cellFrame = frame();
    buildDateLabel(cellFrame.size.width);
    buildLapsLabel(cellFrame.size.width);
    buildMainLabel(cellFrame.size.width, cellFrame.size.height);
}

void LVTableViewCell::buildDateLabel(CGFloat width) {
    setDateLabel(LVLabel::withFrameShadow(CGRectMake(10, 50, width * 0.5F, 20), UIColor::clearColor(),
                                          CGSizeMake(0, 0)));
    dateLabel_->setBackgroundColor(UIColor::clearColor());
    dateLabel_->setTextColor(UIColor::grayColor());
    dateLabel_->setFont(UIFont::systemFontOfSize(14));
    dateLabel_->setHighlightedTextColor(UIColor::whiteColor());
    // The highlighted pair stays as configured: no shadow while highlighted.
    addSubview(dateLabel_);
}

void LVTableViewCell::buildLapsLabel(CGFloat width) {
    setLapsLabel(LVLabel::withFrameShadow(CGRectMake(width - 80, 20, 80, 30), UIColor::whiteColor(),
                                          kLoweredShadowOffset));
    lapsLabel_->setBackgroundColor(UIColor::clearColor());
    lapsLabel_->setTextColor(UIColor::grayColor());
    lapsLabel_->setHighlightedTextColor(UIColor::whiteColor());
    lapsLabel_->setFont(UIFont::boldSystemFontOfSize(14));
    lapsLabel_->setHighlightedShadowColor(UIColor::grayColor());
    lapsLabel_->setHighlightedShadowOffset(kRaisedShadowOffset);
    lapsLabel_->setShadowColor(UIColor::whiteColor());
    lapsLabel_->setShadowOffset(kLoweredShadowOffset);
    addSubview(lapsLabel_);
}

void LVTableViewCell::buildMainLabel(CGFloat width, CGFloat height) {
    setMainLabel(LVLabel::withFrameShadow(CGRectMake(10, height * 0.5F - 5, width, 30), UIColor::whiteColor(),
                                          kLoweredShadowOffset));
    mainLabel_->setTextColor(UIColor::blackColor());
    mainLabel_->setHighlightedTextColor(UIColor::whiteColor());
    mainLabel_->setFont(UIFont::boldSystemFontOfSize(20));
    mainLabel_->setBackgroundColor(UIColor::clearColor());
    mainLabel_->setShadowColor(UIColor::whiteColor());
    mainLabel_->setShadowOffset(kLoweredShadowOffset);
    mainLabel_->setHighlightedShadowColor(UIColor::blackColor());
    mainLabel_->setHighlightedShadowOffset(kRaisedShadowOffset);
    addSubview(mainLabel_);
}

void LVTableViewCell::setSelectedAnimated(bool selected, bool animated) {
    UITableViewCell::setSelectedAnimated(selected, animated);
}
