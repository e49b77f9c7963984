#include "hosts/clock/PlaceholderScreen.h"

#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UILabel.h"

namespace clk {

void buildPlaceholderScreen(const std::shared_ptr<UIView>& view, const std::string& title,
                            const std::string& note) {
    CGFloat width = view->bounds().size.width;
    CGFloat middle = view->bounds().size.height / 2;
    view->setBackgroundColor(UIColor::colorWithWhiteAlpha(0.94f, 1));
    auto heading = UIView::withFrame<UILabel>(CGRectMake(0, middle - 40, width, 36));
    heading->setText(title);
    heading->setFont(UIFont::boldSystemFontOfSize(28));
    heading->setTextAlignment(NSTextAlignmentCenter);
    heading->setBackgroundColor(UIColor::clearColor());
    view->addSubview(heading);
    auto detail = UIView::withFrame<UILabel>(CGRectMake(0, middle, width, 24));
    detail->setText(note);
    detail->setFont(UIFont::systemFontOfSize(15));
    detail->setTextColor(UIColor::grayColor());
    detail->setTextAlignment(NSTextAlignmentCenter);
    detail->setBackgroundColor(UIColor::clearColor());
    view->addSubview(detail);
}

} // namespace clk
