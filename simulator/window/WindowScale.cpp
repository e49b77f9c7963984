#include "simulator/window/WindowScale.h"

#ifdef GDK_WINDOWING_X11
#include <gdk/x11/gdkx.h>
#endif

#include <algorithm>
#include <cmath>

namespace sim {
namespace {

// What a window manager may add around the window: a title bar and borders.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 48;

} // namespace

double fittingScale(GdkDisplay* display, double pointsWide, double pointsHigh, int besideWidth) {
    GListModel* monitors = display != nullptr ? gdk_display_get_monitors(display) : nullptr;
    if (monitors == nullptr || g_list_model_get_n_items(monitors) == 0) {
        return 2;
    }
    auto* monitor = GDK_MONITOR(g_list_model_get_item(monitors, 0));
    GdkRectangle area{};
    gdk_monitor_get_geometry(monitor, &area);
#ifdef GDK_WINDOWING_X11
    // The work area leaves out panels and docks; only X11 tells it.
    if (GDK_IS_X11_MONITOR(monitor)) {
        gdk_x11_monitor_get_workarea(monitor, &area);
    }
#endif
    g_object_unref(monitor);
    double wide = (area.width - kFrameWidth - besideWidth) / pointsWide;
    double high = (area.height - kFrameHeight) / pointsHigh;
    double fits = std::floor(std::min(wide, high) / kScaleStep) * kScaleStep;
    return std::max(kSmallestScale, fits);
}

} // namespace sim
