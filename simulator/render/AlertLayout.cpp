#include "simulator/render/AlertLayout.h"

#include "simulator/render/TextPainter.h"

#include "platform/uikit/UIAlertView.h"

#include <algorithm>
#include <memory>

namespace render {
namespace {

constexpr double kStatusBarHeight = 20;
constexpr double kAlertWidth = 284;
constexpr double kAlertPadding = 12;
constexpr double kAlertButtonHeight = 43;
constexpr double kFieldHeight = 29;

CGRect rect(double x, double y, double width, double height) {
    return CGRectMake(static_cast<CGFloat>(x), static_cast<CGFloat>(y), static_cast<CGFloat>(width),
                      static_cast<CGFloat>(height));
}

} // namespace

AlertLayout AlertLayout::of(cairo_t* cr, UIAlertView& alert, CGSize screen) {
    AlertLayout layout;
    double inner = kAlertWidth - 2 * kAlertPadding;
    std::string title = alert.title().value_or("");
    std::string message = alert.message().value_or("");
    double titleHeight = title.empty() ? 0 : wrappedHeight(cr, title, inner, 18, true);
    double messageHeight = message.empty() ? 0 : wrappedHeight(cr, message, inner, 16, false);
    bool hasField = alert.alertViewStyle() != UIAlertViewStyleDefault;
    NSInteger buttons = alert.numberOfButtons();
    bool sideBySide = buttons == 2;
    double buttonRows = sideBySide ? 1 : static_cast<double>(buttons);
    double height = 18 + titleHeight + (message.empty() ? 0 : 6 + messageHeight) +
                    (hasField ? 12 + kFieldHeight : 0) + 16 + buttonRows * kAlertButtonHeight +
                    std::max(0.0, buttonRows - 1) * 8 + 14;
    double left = (screen.width - kAlertWidth) / 2;
    // An alert that takes text sits higher, above where the keyboard comes up.
    double top = hasField ? kStatusBarHeight + 30 : (screen.height - height) / 2;
    layout.box = rect(left, top, kAlertWidth, height);

    double y = top + 18;
    layout.title = rect(left + kAlertPadding, y, inner, titleHeight);
    y += titleHeight;
    if (!message.empty()) {
        y += 6;
        layout.message = rect(left + kAlertPadding, y, inner, messageHeight);
        y += messageHeight;
    }
    if (hasField) {
        y += 12;
        layout.field = rect(left + kAlertPadding, y, inner, kFieldHeight);
        y += kFieldHeight;
    }
    y += 16;
    double buttonWidth = sideBySide ? (inner - 8) / 2 : inner;
    for (NSInteger i = 0; i < buttons; ++i) {
        double x = left + kAlertPadding + (sideBySide ? static_cast<double>(i) * (buttonWidth + 8) : 0);
        double rowTop = sideBySide ? y : y + static_cast<double>(i) * (kAlertButtonHeight + 8);
        layout.buttons.push_back(rect(x, rowTop, buttonWidth, kAlertButtonHeight));
    }
    return layout;
}

AlertLayout AlertLayout::of(UIAlertView& alert, CGSize screen) {
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1), &cairo_surface_destroy);
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(surface.get()), &cairo_destroy);
    return of(cr.get(), alert, screen);
}

int AlertLayout::buttonAt(CGPoint point) const {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (CGRectContainsPoint(buttons[i], point)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace render
