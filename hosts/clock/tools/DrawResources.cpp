// Draws the Clock application's bundle images: simple shapes in cairo, written as PNG files into
// the folder given on the command line. Run by draw-resources; the PNGs are committed, so the
// build needs no drawing step.

#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

namespace {

using Painter = std::function<void(cairo_t*, int width, int height)>;

bool draw(const std::string& folder, const std::string& name, int width, int height, const Painter& paint) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    paint(cr, width, height);
    cairo_destroy(cr);
    std::string path = folder + "/" + name + ".png";
    bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!ok) {
        std::fprintf(stderr, "draw-resources: cannot write %s\n", path.c_str());
    }
    return ok;
}

void roundedRectangle(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

// A silver button face, lighter at the top; `pressed` darkens it.
Painter silverButton(bool pressed) {
    return [pressed](cairo_t* cr, int w, int h) {
        double shade = pressed ? 0.72 : 0.92;
        cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, 0, h);
        cairo_pattern_add_color_stop_rgb(gradient, 0, shade, shade, shade);
        cairo_pattern_add_color_stop_rgb(gradient, 1, shade - 0.22, shade - 0.22, shade - 0.2);
        roundedRectangle(cr, 1, 1, w - 2, h - 2, 12);
        cairo_set_source(cr, gradient);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(gradient);
        cairo_set_source_rgb(cr, 0.45, 0.45, 0.47);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    };
}

void stripes(cairo_t* cr, int w, int h) {
    cairo_set_source_rgb(cr, 0.86, 0.87, 0.89);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.82, 0.83, 0.86);
    for (int x = 0; x < w; x += 16) {
        cairo_rectangle(cr, x, 0, 8, h);
    }
    cairo_fill(cr);
}

void lapRow(cairo_t* cr, int w, int h) {
    cairo_set_source_rgb(cr, 0.97, 0.97, 0.98);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.78, 0.78, 0.8);
    cairo_rectangle(cr, 0, h - 2, w, 2);
    cairo_fill(cr);
}

// Tab icons are black shapes on transparency, as the tab bar tints them.
void globe(cairo_t* cr, int w, int h) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 2);
    cairo_arc(cr, w / 2.0, h / 2.0, w / 2.0 - 3, 0, 2 * M_PI);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, w / 2.0, h / 2.0);
    cairo_scale(cr, 0.45, 1);
    cairo_arc(cr, 0, 0, w / 2.0 - 3, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_stroke(cr);
    cairo_move_to(cr, 3, h / 2.0);
    cairo_line_to(cr, w - 3, h / 2.0);
    cairo_stroke(cr);
}

void bell(cairo_t* cr, int w, int h) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_move_to(cr, 5, h - 8);
    cairo_curve_to(cr, 8, h - 12, 7, 5, w / 2.0, 5);
    cairo_curve_to(cr, w - 7, 5, w - 8, h - 12, w - 5, h - 8);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_arc(cr, w / 2.0, h - 5, 3, 0, 2 * M_PI);
    cairo_fill(cr);
}

void dial(cairo_t* cr, int w, int h, double handAngle) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 2.5);
    cairo_arc(cr, w / 2.0, h / 2.0 + 2, w / 2.0 - 4, 0, 2 * M_PI);
    cairo_stroke(cr);
    cairo_move_to(cr, w / 2.0, h / 2.0 + 2);
    cairo_line_to(cr, w / 2.0 + 8 * std::sin(handAngle), h / 2.0 + 2 - 8 * std::cos(handAngle));
    cairo_stroke(cr);
}

void stopwatch(cairo_t* cr, int w, int h) {
    dial(cr, w, h, 0.8);
    cairo_rectangle(cr, w / 2.0 - 3, 0, 6, 3);
    cairo_fill(cr);
}

void timer(cairo_t* cr, int w, int h) {
    dial(cr, w, h, -1.2);
}

// A tray with a downward arrow: where saved results go.
void saveIcon(cairo_t* cr, int w, int h) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 2.5);
    cairo_move_to(cr, 4, h - 12);
    cairo_line_to(cr, 4, h - 4);
    cairo_line_to(cr, w - 4, h - 4);
    cairo_line_to(cr, w - 4, h - 12);
    cairo_stroke(cr);
    cairo_move_to(cr, w / 2.0, 3);
    cairo_line_to(cr, w / 2.0, h - 10);
    cairo_stroke(cr);
    cairo_move_to(cr, w / 2.0 - 6, h - 16);
    cairo_line_to(cr, w / 2.0, h - 9);
    cairo_line_to(cr, w / 2.0 + 6, h - 16);
    cairo_stroke(cr);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    bool ok = true;
    ok &= draw(folder, "button_silver@2x~iphone", 60, 88, silverButton(false));
    ok &= draw(folder, "button_silver_pressed@2x~iphone", 60, 88, silverButton(true));
    ok &= draw(folder, "stopwatch_lap_row_background@2x~iphone", 640, 88, lapRow);
    ok &= draw(folder, "stripe_background@2x~iphone", 640, 960, stripes);
    ok &= draw(folder, "stripe_background-568h@2x~iphone", 640, 1136, stripes);
    ok &= draw(folder, "save_icon", 30, 30, saveIcon);
    ok &= draw(folder, "worldclock_icon", 30, 30, globe);
    ok &= draw(folder, "alarm_icon", 30, 30, bell);
    ok &= draw(folder, "stopwatch_icon", 30, 30, stopwatch);
    ok &= draw(folder, "timer_icon", 30, 30, timer);
    return ok ? 0 : 1;
}
