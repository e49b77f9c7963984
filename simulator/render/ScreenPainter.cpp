#include "simulator/render/ScreenPainter.h"

#include "simulator/render/AlertLayout.h"
#include "simulator/render/TextPainter.h"
#include "simulator/render/ViewPainter.h"

#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UITabBarItem.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>

namespace render {
namespace {

constexpr CGFloat kStatusBarHeight = 20;
// How dark the screen behind an alert becomes.
constexpr double kDimming = 0.45;

TextStyle whiteText(double size, bool bold, TextStyle::Align align = TextStyle::Align::Center) {
    TextStyle style;
    style.size = size;
    style.bold = bold;
    style.color = Rgba::white(1);
    style.shadow = Rgba::white(0, 0.5);
    style.align = align;
    return style;
}

} // namespace

void ScreenPainter::paint(const Scene& scene) {
    CGSize screen = scene.screenSize;
    setColor(cr_, Rgba::white(0));
    cairo_rectangle(cr_, 0, 0, screen.width, screen.height);
    cairo_fill(cr_);
    if (scene.launch) {
        paintLaunchScreen(scene);
        paintStatusBar(scene);
        return;
    }
    if (!scene.window) {
        paintHomeScreen(scene);
        paintStatusBar(scene);
        return;
    }
    ViewPainter views(cr_, scene.moment, *images_);
    views.recordInto(record_);
    views.paint(scene.window);
    if (auto tabs = std::dynamic_pointer_cast<UITabBarController>(scene.window->rootViewController());
        tabs && tabs->isViewLoaded()) {
        CGRect area = tabs->view()->frameInRootView();
        CGFloat height = UITabBarController::kTabBarHeight;
        paintTabBar(*tabs, CGRectMake(area.origin.x, CGRectGetMaxY(area) - height, area.size.width, height));
    }
    paintStatusBar(scene);
    if (!scene.alerts.empty()) {
        setColor(cr_, Rgba::white(0, kDimming));
        cairo_rectangle(cr_, 0, kStatusBarHeight, screen.width, screen.height - kStatusBarHeight);
        cairo_fill(cr_);
        // Only the front alert shows; those behind it come back when it goes.
        paintAlert(*scene.alerts.back(), scene);
    }
}

void ScreenPainter::paintLaunchScreen(const Scene& scene) {
    CGRect screen = CGRectMake(0, 0, scene.screenSize.width, scene.screenSize.height);
    if (!scene.launch->path.empty() && images_->drawFile(cr_, scene.launch->path, screen)) {
        return;
    }
    // SpringBoard shows nothing but black when the bundle has no image by that name; the name
    // is written small, so a picture still says which one was asked for.
    TextStyle style;
    style.size = 11;
    style.color = Rgba::white(0.45);
    style.align = TextStyle::Align::Center;
    style.wrap = true;
    drawText(cr_, scene.launch->name, CGRectMake(10, screen.size.height / 2 - 20, screen.size.width - 20, 40),
             style);
}

void ScreenPainter::paintHomeScreen(const Scene& scene) {
    CGRect screen = CGRectMake(0, 0, scene.screenSize.width, scene.screenSize.height);
    cairo_rectangle(cr_, 0, 0, screen.size.width, screen.size.height);
    fillVertical(cr_, screen, {0.10, 0.16, 0.28, 1}, {0.02, 0.03, 0.06, 1});
}

void ScreenPainter::paintStatusBar(const Scene& scene) {
    double width = scene.screenSize.width;
    cairo_rectangle(cr_, 0, 0, width, kStatusBarHeight);
    setColor(cr_, Rgba::white(0));
    cairo_fill(cr_);
    // Signal bars and the carrier at the left, the clock in the middle, the battery at the right.
    setColor(cr_, Rgba::white(0.9));
    for (int bar = 0; bar < 5; ++bar) {
        double height = 3 + bar * 2;
        cairo_rectangle(cr_, 5 + bar * 4, 14 - height, 3, height);
    }
    cairo_fill(cr_);
    TextStyle small = whiteText(12, true, TextStyle::Align::Left);
    small.shadow.reset();
    drawText(cr_, "Carrier", CGRectMake(27, 0, 80, kStatusBarHeight), small);
    TextStyle clock = whiteText(14, true);
    clock.shadow.reset();
    drawText(cr_, scene.clockText, CGRectMake(width / 2 - 60, 0, 120, kStatusBarHeight), clock);
    CGRect battery = CGRectMake(static_cast<CGFloat>(width - 32), 5, 24, 11);
    roundedRect(cr_, inset(battery, 0.5f), 2);
    setColor(cr_, Rgba::white(0.9));
    cairo_set_line_width(cr_, 1);
    cairo_stroke(cr_);
    cairo_rectangle(cr_, width - 30, 7, 20, 7);
    cairo_rectangle(cr_, width - 7.5, 8, 2, 5);
    cairo_fill(cr_);
}

void ScreenPainter::paintTabBar(UITabBarController& tabs, CGRect bar) {
    cairo_rectangle(cr_, bar.origin.x, bar.origin.y, bar.size.width, bar.size.height);
    fillVertical(cr_, bar, Rgba::white(0.22), Rgba::white(0.0));
    setColor(cr_, Rgba::white(1, 0.08));
    cairo_rectangle(cr_, bar.origin.x, bar.origin.y, bar.size.width, bar.size.height / 2);
    cairo_fill(cr_);
    auto items = tabs.visibleItems();
    std::size_t count = items.size() + (tabs.showsMoreItem() ? 1 : 0);
    if (count == 0) {
        return;
    }
    NSUInteger selected = tabs.selectedIndex();
    double slot = bar.size.width / static_cast<double>(count);
    for (std::size_t i = 0; i < count; ++i) {
        CGRect cell = CGRectMake(static_cast<CGFloat>(bar.origin.x + slot * static_cast<double>(i)),
                                 bar.origin.y, static_cast<CGFloat>(slot), bar.size.height);
        bool isMore = i >= items.size();
        bool isSelected = isMore ? selected >= items.size() && selected != NSNotFound : i == selected;
        if (isSelected) {
            roundedRect(
                cr_,
                CGRectMake(cell.origin.x + 2, cell.origin.y + 2, cell.size.width - 4, cell.size.height - 4),
                3);
            setColor(cr_, Rgba::white(1, 0.14));
            cairo_fill(cr_);
        }
        CGRect icon = CGRectMake(CGRectGetMidX(cell) - 15, cell.origin.y + 3, 30, 30);
        std::shared_ptr<UIImage> image = isMore ? nullptr : items[i]->image();
        Rgba tint = isSelected ? Rgba{0.35, 0.75, 1.0, 1} : Rgba::white(0.55);
        if (image) {
            images_->drawMask(cr_, *image, icon, tint);
        } else if (isMore) {
            setColor(cr_, tint);
            for (int dot = -1; dot <= 1; ++dot) {
                cairo_arc(cr_, CGRectGetMidX(icon) + dot * 8, CGRectGetMidY(icon), 2.5, 0, 2 * M_PI);
                cairo_fill(cr_);
            }
        }
        std::string title = isMore ? "More" : items[i]->title().value_or("");
        TextStyle style;
        style.size = 10;
        style.bold = true;
        style.color = isSelected ? Rgba::white(1) : Rgba::white(0.6);
        style.align = TextStyle::Align::Center;
        drawText(cr_, title, CGRectMake(cell.origin.x, cell.origin.y + 33, cell.size.width, 14), style);
    }
}

void ScreenPainter::paintAlert(UIAlertView& alert, const Scene& scene) {
    AlertLayout layout = AlertLayout::of(cr_, alert, scene.screenSize);
    CGRect box = layout.box;
    roundedRect(cr_, box, 10);
    fillVertical(cr_, box, {0.16, 0.24, 0.45, 0.93}, {0.03, 0.08, 0.25, 0.93});
    roundedRect(cr_, inset(box, 1), 10);
    setColor(cr_, Rgba::white(1, 0.85));
    cairo_set_line_width(cr_, 2);
    cairo_stroke(cr_);

    if (std::string title = alert.title().value_or(""); !title.empty()) {
        TextStyle style = whiteText(18, true);
        style.wrap = true;
        drawText(cr_, title, layout.title, style);
    }
    if (std::string message = alert.message().value_or(""); !message.empty()) {
        TextStyle style = whiteText(16, false);
        style.wrap = true;
        drawText(cr_, message, layout.message, style);
    }
    if (layout.field) {
        auto field = alert.textFieldAtIndex(0);
        CGRect frame = *layout.field;
        roundedRect(cr_, frame, 4);
        setColor(cr_, Rgba::white(1));
        cairo_fill(cr_);
        TextStyle style;
        style.size = 16;
        bool empty = field->text().empty();
        style.color = empty ? Rgba::white(0.7) : Rgba::white(0);
        drawText(cr_, empty ? field->placeholder().value_or("") : field->text(), inset(frame, 6), style);
        // The field of the front alert has the keyboard: a steady cursor stands after its text
        // (before the placeholder when it is empty), in the platform's insertion-point blue.
        double after = empty ? 0 : textWidth(cr_, field->text(), style.size, false);
        double x = std::min(frame.origin.x + 6 + after + 1, static_cast<double>(CGRectGetMaxX(frame)) - 4);
        cairo_rectangle(cr_, x, frame.origin.y + 5, 2, frame.size.height - 10);
        setColor(cr_, {0.26, 0.42, 0.95, 1});
        cairo_fill(cr_);
    }
    for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
        CGRect frame = layout.buttons[i];
        auto index = static_cast<NSInteger>(i);
        bool cancel = index == alert.cancelButtonIndex();
        roundedRect(cr_, frame, 6);
        fillVertical(cr_, frame, Rgba::white(1, cancel ? 0.22 : 0.38), Rgba::white(1, cancel ? 0.06 : 0.14));
        roundedRect(cr_, inset(frame, 0.5f), 6);
        setColor(cr_, {0.0, 0.02, 0.12, 0.7});
        cairo_set_line_width(cr_, 1);
        cairo_stroke(cr_);
        drawText(cr_, alert.buttonTitleAtIndex(index), inset(frame, 4), whiteText(17, true));
    }
}

} // namespace render
