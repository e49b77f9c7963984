#include "simulator/render/TextPainter.h"

#include <pango/pangocairo.h>

#include <memory>

namespace render {
namespace {

struct LayoutDeleter {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
using Layout = std::unique_ptr<PangoLayout, LayoutDeleter>;

Layout makeLayout(cairo_t* cr, const std::string& text, double size, bool bold) {
    Layout layout(pango_cairo_create_layout(cr));
    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family(font, "Helvetica");
    pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
    pango_layout_set_font_description(layout.get(), font);
    pango_font_description_free(font);
    // Pango warns about bytes that are not UTF-8 and draws nothing of such a text; a name in a
    // file may hold them, and shows with U+FFFD in their place.
    if (g_utf8_validate(text.c_str(), static_cast<gssize>(text.size()), nullptr) != 0) {
        pango_layout_set_text(layout.get(), text.c_str(), static_cast<int>(text.size()));
    } else {
        gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
        pango_layout_set_text(layout.get(), valid, -1);
        g_free(valid);
    }
    return layout;
}

} // namespace

void drawText(cairo_t* cr, const std::string& text, CGRect rect, const TextStyle& style) {
    if (text.empty() || rect.size.width <= 0) {
        return;
    }
    Layout layout = makeLayout(cr, text, style.size, style.bold);
    pango_layout_set_width(layout.get(), static_cast<int>(rect.size.width * PANGO_SCALE));
    if (style.wrap) {
        pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    } else {
        pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
    }
    pango_layout_set_alignment(layout.get(), style.align == TextStyle::Align::Center  ? PANGO_ALIGN_CENTER
                                             : style.align == TextStyle::Align::Right ? PANGO_ALIGN_RIGHT
                                                                                      : PANGO_ALIGN_LEFT);
    int width = 0;
    int height = 0;
    pango_layout_get_size(layout.get(), &width, &height);
    // A label centres its text block vertically in its frame.
    double top = rect.origin.y + (rect.size.height - static_cast<double>(height) / PANGO_SCALE) / 2;
    auto place = [&](double dx, double dy, const Rgba& color) {
        cairo_move_to(cr, rect.origin.x + dx, top + dy);
        setColor(cr, color);
        pango_cairo_update_layout(cr, layout.get());
        pango_cairo_show_layout(cr, layout.get());
    };
    if (style.shadow && style.shadow->alpha > 0) {
        place(style.shadowOffset.width, style.shadowOffset.height, *style.shadow);
    }
    place(0, 0, style.color);
}

double textWidth(cairo_t* cr, const std::string& text, double size, bool bold) {
    Layout layout = makeLayout(cr, text, size, bold);
    int width = 0;
    int height = 0;
    pango_layout_get_size(layout.get(), &width, &height);
    return static_cast<double>(width) / PANGO_SCALE;
}

double wrappedHeight(cairo_t* cr, const std::string& text, double width, double size, bool bold) {
    Layout layout = makeLayout(cr, text, size, bold);
    pango_layout_set_width(layout.get(), static_cast<int>(width * PANGO_SCALE));
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    int w = 0;
    int height = 0;
    pango_layout_get_size(layout.get(), &w, &height);
    return static_cast<double>(height) / PANGO_SCALE;
}

} // namespace render
