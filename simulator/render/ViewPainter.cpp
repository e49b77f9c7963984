#include "simulator/render/ViewPainter.h"

#include "simulator/render/TextPainter.h"

#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITextField.h"

#include <algorithm>

namespace render {
namespace {

// Views drawn this faintly leave no trace at two pixels a point.
constexpr double kInvisibleAlpha = 0.004;

TextStyle::Align alignOf(NSTextAlignment alignment) {
    switch (alignment) {
    case NSTextAlignmentCenter:
        return TextStyle::Align::Center;
    case NSTextAlignmentRight:
        return TextStyle::Align::Right;
    default:
        return TextStyle::Align::Left;
    }
}

// The outline of a bar's button, after its fill.
void strokeBarButtonOutline(cairo_t* cr) {
    setColor(cr, {0.16, 0.22, 0.31, 0.9});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// The title of a bar's button: small, bold and white over a faint shadow.
TextStyle barButtonTitleStyle() {
    TextStyle text;
    text.size = 12;
    text.bold = true;
    text.color = Rgba::white(1);
    text.shadow = Rgba::white(0, 0.45);
    text.align = TextStyle::Align::Center;
    return text;
}

// The bar's items: a bordered button, blue when it is the Done style, dimmed when disabled.
void paintBarButton(cairo_t* cr, const std::string& title, CGRect frame, UIBarButtonItemStyle style,
                    bool enabled) {
    cairo_save(cr);
    if (!enabled) {
        cairo_push_group(cr);
    }
    roundedRect(cr, frame, 5);
    if (style == UIBarButtonItemStyleDone) {
        fillVertical(cr, frame, {0.35, 0.56, 0.92, 1}, {0.10, 0.33, 0.80, 1});
    } else {
        fillVertical(cr, frame, {0.58, 0.65, 0.75, 1}, {0.34, 0.43, 0.56, 1});
    }
    roundedRect(cr, inset(frame, 0.5f), 5);
    strokeBarButtonOutline(cr);
    drawText(cr, title, inset(frame, 4), barButtonTitleStyle());
    if (!enabled) {
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, 0.5);
    }
    cairo_restore(cr);
}

// The back control: a bordered button whose left end is an arrow point.
void paintBackButton(cairo_t* cr, const std::string& title, CGRect frame) {
    double x = frame.origin.x;
    double y = frame.origin.y;
    double w = frame.size.width;
    double h = frame.size.height;
    double point = 12;
    auto outline = [&] {
        cairo_new_path(cr);
        cairo_move_to(cr, x, y + h / 2);
        cairo_line_to(cr, x + point, y + 1);
        cairo_line_to(cr, x + w - 5, y);
        cairo_arc(cr, x + w - 5, y + 5, 5, -M_PI / 2, 0);
        cairo_arc(cr, x + w - 5, y + h - 5, 5, 0, M_PI / 2);
        cairo_line_to(cr, x + point, y + h - 1);
        cairo_close_path(cr);
    };
    outline();
    fillVertical(cr, frame, {0.58, 0.65, 0.75, 1}, {0.34, 0.43, 0.56, 1});
    outline();
    strokeBarButtonOutline(cr);
    drawText(cr, title,
             CGRectMake(frame.origin.x + point - 2, frame.origin.y, frame.size.width - point - 2,
                        frame.size.height),
             barButtonTitleStyle());
}

} // namespace

void ViewPainter::paint(const std::shared_ptr<UIView>& view) {
    paintFaded(view, 1);
}

void ViewPainter::paintFaded(const std::shared_ptr<UIView>& view, double fade) {
    if (!view || view->isHidden()) {
        return;
    }
    double alpha = view->presentationAlpha(moment_) * fade;
    if (alpha < kInvisibleAlpha) {
        return;
    }
    CGRect frame = view->presentationFrame(moment_);
    cairo_save(cr_);
    cairo_translate(cr_, frame.origin.x, frame.origin.y);
    bool faded = alpha < 1;
    if (faded) {
        cairo_push_group(cr_);
    }
    // A table always clips: it is a scroll view.
    if (view->clipsToBounds() || std::dynamic_pointer_cast<UITableView>(view)) {
        cairo_rectangle(cr_, 0, 0, frame.size.width, frame.size.height);
        cairo_clip(cr_);
    }
    if (record_ != nullptr) {
        note(view.get(), frame.size);
    }
    paintContent(view, frame.size);
    if (faded) {
        cairo_pop_group_to_source(cr_);
        cairo_paint_with_alpha(cr_, alpha);
    }
    cairo_restore(cr_);
}

void ViewPainter::note(const UIView* view, CGSize size) {
    double left = 0;
    double top = 0;
    double right = size.width;
    double bottom = size.height;
    cairo_user_to_device(cr_, &left, &top);
    cairo_user_to_device(cr_, &right, &bottom);
    double clipLeft = 0;
    double clipTop = 0;
    double clipRight = 0;
    double clipBottom = 0;
    cairo_clip_extents(cr_, &clipLeft, &clipTop, &clipRight, &clipBottom);
    cairo_user_to_device(cr_, &clipLeft, &clipTop);
    cairo_user_to_device(cr_, &clipRight, &clipBottom);
    auto rect = [](double x0, double y0, double x1, double y1) {
        return CGRectMake(static_cast<CGFloat>(x0), static_cast<CGFloat>(y0), static_cast<CGFloat>(x1 - x0),
                          static_cast<CGFloat>(y1 - y0));
    };
    record_->push_back(
        {view, rect(left, top, right, bottom), rect(clipLeft, clipTop, clipRight, clipBottom)});
}

void ViewPainter::paintContent(const std::shared_ptr<UIView>& view, CGSize size) {
    paintBackground(*view, size);
    if (auto table = std::dynamic_pointer_cast<UITableView>(view)) {
        paintTable(table, size);
        return;
    }
    if (auto cell = std::dynamic_pointer_cast<UITableViewCell>(view)) {
        paintCellChildren(cell, size);
        paintCellControls(*cell, size);
        return;
    }
    if (auto label = std::dynamic_pointer_cast<UILabel>(view)) {
        paintLabel(*label, size);
    } else if (auto imageView = std::dynamic_pointer_cast<UIImageView>(view)) {
        if (auto image = imageView->displayedImage()) {
            images_->draw(cr_, *image, CGRectMake(0, 0, size.width, size.height));
        }
    } else if (auto button = std::dynamic_pointer_cast<UIButton>(view)) {
        paintButton(*button, size);
    } else if (auto field = std::dynamic_pointer_cast<UITextField>(view)) {
        paintTextField(*field, size);
    }
    paintChildren(view);
    if (auto bar = std::dynamic_pointer_cast<UINavigationBar>(view)) {
        paintNavigationBar(*bar, size);
    }
}

void ViewPainter::paintChildren(const std::shared_ptr<UIView>& view) {
    CGPoint origin = view->bounds().origin;
    cairo_save(cr_);
    cairo_translate(cr_, -origin.x, -origin.y);
    for (const auto& child : view->subviews()) {
        paint(child);
    }
    cairo_restore(cr_);
}

void ViewPainter::paintBackground(const UIView& view, CGSize size) {
    Rgba color = Rgba::of(view.presentationBackgroundColor(moment_));
    if (color.alpha <= 0) {
        return;
    }
    setColor(cr_, color);
    cairo_rectangle(cr_, 0, 0, size.width, size.height);
    cairo_fill(cr_);
}

void ViewPainter::paintLabel(UILabel& label, CGSize size) {
    if (!label.text() || label.text()->empty()) {
        return;
    }
    TextStyle style;
    const auto& font = label.font();
    style.size = font ? font->pointSize() : 17;
    style.bold = font && font->isBold();
    style.color = Rgba::of(label.effectiveTextColor());
    if (!label.isEnabled()) {
        style.color.alpha *= 0.45;
    }
    if (label.drawsShadow()) {
        style.shadow = Rgba::of(label.shadowColor());
        style.shadowOffset = label.shadowOffset();
    }
    style.align = alignOf(label.textAlignment());
    style.wrap = label.numberOfLines() != 1;
    drawText(cr_, *label.text(), CGRectMake(0, 0, size.width, size.height), style);
}

void ViewPainter::paintButton(UIButton& button, CGSize size) {
    CGRect area = CGRectMake(0, 0, size.width, size.height);
    auto background = button.currentBackgroundImage();
    NSUInteger state = button.state();
    bool disabled = (state & UIControlStateDisabled) != 0;
    bool highlighted = (state & UIControlStateHighlighted) != 0;
    if (background) {
        // A state without an image of its own shows the Normal one darkened, when the button
        // adjusts its images for that state.
        bool ownImage =
            button.backgroundImageForState(state) != button.backgroundImageForState(UIControlStateNormal);
        bool darken = !ownImage && ((disabled && button.adjustsImageWhenDisabled()) ||
                                    (highlighted && button.adjustsImageWhenHighlighted()));
        cairo_push_group(cr_);
        images_->draw(cr_, *background, area);
        cairo_pattern_t* drawn = cairo_pop_group(cr_);
        cairo_set_source(cr_, drawn);
        cairo_paint(cr_);
        if (darken) {
            setColor(cr_, Rgba::white(0, disabled ? 0.3 : 0.4));
            cairo_mask(cr_, drawn);
        }
        cairo_pattern_destroy(drawn);
    } else if (button.buttonType() == UIButtonTypeRoundedRect) {
        roundedRect(cr_, inset(area, 0.5f), 9);
        if (highlighted) {
            fillVertical(cr_, area, {0.05, 0.55, 0.96, 1}, {0.02, 0.36, 0.88, 1});
        } else {
            setColor(cr_, Rgba::white(1));
            cairo_fill(cr_);
        }
        roundedRect(cr_, inset(area, 0.5f), 9);
        setColor(cr_, Rgba::white(0.55, disabled ? 0.5 : 1));
        cairo_set_line_width(cr_, 1);
        cairo_stroke(cr_);
    }
}

void ViewPainter::paintTextField(const UITextField& field, CGSize size) {
    CGRect area = CGRectMake(0, 0, size.width, size.height);
    roundedRect(cr_, inset(area, 0.5f), 4);
    setColor(cr_, Rgba::white(1));
    cairo_fill_preserve(cr_);
    setColor(cr_, Rgba::white(0.45));
    cairo_set_line_width(cr_, 1);
    cairo_stroke(cr_);
    TextStyle style;
    style.size = 16;
    bool empty = field.text().empty();
    style.color = empty ? Rgba::white(0.7) : Rgba::white(0);
    std::string text = empty ? field.placeholder().value_or("") : field.text();
    if (!empty && field.isSecureTextEntry()) {
        text.assign(text.size(), '*');
    }
    drawText(cr_, text, CGRectMake(8, 0, size.width - 16, size.height), style);
}

void ViewPainter::paintNavigationBar(const UINavigationBar& bar, CGSize size) {
    CGRect area = CGRectMake(0, 0, size.width, size.height);
    cairo_rectangle(cr_, 0, 0, size.width, size.height);
    fillVertical(cr_, area, {0.69, 0.75, 0.83, 1}, {0.43, 0.52, 0.64, 1});
    setColor(cr_, {0.18, 0.24, 0.33, 1});
    cairo_rectangle(cr_, 0, size.height - 1, size.width, 1);
    cairo_fill(cr_);
    setColor(cr_, Rgba::white(1, 0.35));
    cairo_rectangle(cr_, 0, 0, size.width, 1);
    cairo_fill(cr_);

    auto top = bar.topItem();
    if (!top) {
        return;
    }
    constexpr double kItemHeight = 30;
    constexpr double kMargin = 5;
    double itemTop = (size.height - kItemHeight) / 2;
    double leftEnd = kMargin;
    double rightStart = size.width - kMargin;
    auto itemWidth = [&](const std::string& title, double extra) {
        return std::clamp(textWidth(cr_, title, 12, true) + extra, 48.0, static_cast<double>(size.width) / 3);
    };
    if (bar.showsBackButton()) {
        std::string title = bar.backButtonTitle().value_or("Back");
        double width = itemWidth(title, 28);
        paintBackButton(cr_, title, CGRectMake(kMargin, itemTop, width, kItemHeight));
        leftEnd += width;
    } else if (const auto& left = top->leftBarButtonItem()) {
        std::string title = left->title().value_or("");
        double width = itemWidth(title, 20);
        paintBarButton(cr_, title, CGRectMake(kMargin, itemTop, width, kItemHeight), left->style(),
                       left->isEnabled());
        leftEnd += width;
    }
    if (const auto& right = top->rightBarButtonItem()) {
        std::string title = right->title().value_or("");
        double width = itemWidth(title, 20);
        rightStart -= width;
        paintBarButton(cr_, title, CGRectMake(rightStart, itemTop, width, kItemHeight), right->style(),
                       right->isEnabled());
    }
    if (top->title()) {
        // The title is centred on the bar when it fits between the items; otherwise it is
        // centred in the room they leave, and shortened only if that is still too narrow.
        double width = textWidth(cr_, *top->title(), 20, true);
        double left = leftEnd + 6;
        double right = rightStart - 6;
        double centredLeft = size.width / 2 - width / 2;
        if (centredLeft >= left && centredLeft + width <= right) {
            left = centredLeft;
            right = centredLeft + width;
        }
        TextStyle style;
        style.size = 20;
        style.bold = true;
        style.color = Rgba::white(1);
        style.shadow = Rgba::white(0.2, 0.6);
        style.align = TextStyle::Align::Center;
        drawText(cr_, *top->title(),
                 CGRectMake(static_cast<CGFloat>(left), 0, static_cast<CGFloat>(std::max(right - left, 0.0)),
                            size.height),
                 style);
    }
}

} // namespace render
