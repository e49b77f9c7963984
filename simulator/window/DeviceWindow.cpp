#include "simulator/window/DeviceWindow.h"

#include "simulator/device/Device.h"
#include "simulator/scene/ScreenGestures.h"
#include "simulator/scene/ScreenPicture.h"
#include "simulator/scene/StateDump.h"

#include "simulator/render/ImagePainter.h"
#include "simulator/render/Picture.h"
#include "simulator/render/ScreenPainter.h"
#include "simulator/render/ViewPainter.h"

#include "addon/store/SavedTimesStore.h"
#include "platform/uikit/UITableViewCell.h"

#include <gtk/gtk.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace sim {
namespace {

// How often the clock follows the wall clock and the screen is redrawn.
constexpr guint kFrameMilliseconds = 33;

// Everything the window's callbacks share; lives as long as the main loop runs.
struct WindowState {
    Device* device = nullptr;
    std::ostream* out = nullptr;
    double scale = 2;
    ScreenGestures gestures;
    render::ImagePainter images;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    // The virtual clock stands still until then, so the launch image stays up.
    double holdUntil = kLaunchImageSeconds;
    GtkWidget* screen = nullptr;
    GtkWidget* window = nullptr;
    GtkTextBuffer* dump = nullptr;
    GtkWidget* shotLabel = nullptr;
    CGPoint dragStart{};
    CGPoint dragNow{};
    std::optional<ScreenGestures::HeldRow> held;
    int shots = 0;
    bool closed = false;
    bool placeReported = false;

    explicit WindowState(Device& d) : device(&d), gestures(d) {}

    [[nodiscard]] double wallSeconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    }
};

void refreshDump(WindowState& state) {
    std::string text = dumpText(*state.device, 2);
    gtk_text_buffer_set_text(state.dump, text.c_str(), static_cast<int>(text.size()));
}

// The virtual clock catches up with the wall clock; a gesture that took its own time on the
// virtual clock is ahead for a moment, and the wall clock catches up with it. While the launch
// image shows the clock stands still.
void followWallClock(WindowState& state) {
    double wall = state.wallSeconds();
    if (wall >= state.holdUntil && wall > state.device->now()) {
        state.device->runFor(wall - state.device->now());
    }
}

void afterInput(WindowState& state) {
    followWallClock(state);
    refreshDump(state);
    gtk_widget_queue_draw(state.screen);
}

gboolean tick(gpointer data) {
    auto& state = *static_cast<WindowState*>(data);
    followWallClock(state);
    gtk_widget_queue_draw(state.screen);
    return G_SOURCE_CONTINUE;
}

// Says once, when the window is first drawn, where the device's screen sits in the window's
// surface, so a tool that moves the pointer knows where a point of the screen is.
void reportPlace(WindowState& state, int width, int height) {
    GtkNative* native = gtk_widget_get_native(state.screen);
    graphene_point_t origin = GRAPHENE_POINT_INIT(0, 0);
    graphene_point_t inWindow;
    if (native == nullptr ||
        !gtk_widget_compute_point(state.screen, GTK_WIDGET(native), &origin, &inWindow)) {
        return;
    }
    double dx = 0;
    double dy = 0;
    gtk_native_get_surface_transform(native, &dx, &dy);
    *state.out << "screen: " << width << "x" << height << " pixels at " << static_cast<int>(inWindow.x + dx)
               << "," << static_cast<int>(inWindow.y + dy) << " in the window" << std::endl;
    state.placeReported = true;
}

void drawScreen(GtkDrawingArea* /*area*/, cairo_t* cr, int width, int height, gpointer data) {
    auto& state = *static_cast<WindowState*>(data);
    if (!state.placeReported) {
        reportPlace(state, width, height);
    }
    cairo_scale(cr, state.scale, state.scale);
    render::Scene scene = screenScene(*state.device);
    render::ScreenPainter(cr).paint(scene);
    if (state.held) {
        // The held row follows the pointer up and down over the table.
        cairo_save(cr);
        cairo_translate(cr, state.held->contentOrigin.x,
                        state.held->contentOrigin.y + (state.dragNow.y - state.dragStart.y));
        cairo_push_group(cr);
        render::ViewPainter(cr, scene.moment, state.images).paint(state.held->cell);
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, 0.85);
        cairo_restore(cr);
    }
}

CGPoint toPoints(const WindowState& state, double x, double y) {
    return {static_cast<CGFloat>(x / state.scale), static_cast<CGFloat>(y / state.scale)};
}

void dragBegin(GtkGestureDrag* /*gesture*/, double x, double y, gpointer data) {
    auto& state = *static_cast<WindowState*>(data);
    state.dragStart = toPoints(state, x, y);
    state.dragNow = state.dragStart;
    state.held = state.gestures.reorderControlAt(state.dragStart);
}

void dragUpdate(GtkGestureDrag* /*gesture*/, double dx, double dy, gpointer data) {
    auto& state = *static_cast<WindowState*>(data);
    state.dragNow = {static_cast<CGFloat>(state.dragStart.x + dx / state.scale),
                     static_cast<CGFloat>(state.dragStart.y + dy / state.scale)};
    if (state.held) {
        gtk_widget_queue_draw(state.screen);
    }
}

void dragEnd(GtkGestureDrag* /*gesture*/, double dx, double dy, gpointer data) {
    auto& state = *static_cast<WindowState*>(data);
    CGPoint end{static_cast<CGFloat>(state.dragStart.x + dx / state.scale),
                static_cast<CGFloat>(state.dragStart.y + dy / state.scale)};
    state.held.reset();
    followWallClock(state);
    state.gestures.drag(state.dragStart, end);
    afterInput(state);
}

void relaunch(WindowState& state) {
    std::string image = state.gestures.relaunch();
    state.holdUntil = state.wallSeconds() + kLaunchImageSeconds;
    *state.out << "launch image: " << image << std::endl;
    afterInput(state);
}

void takeShot(WindowState& state) {
    std::string path;
    do {
        path = "lapvane-shot-" + std::to_string(++state.shots) + ".png";
    } while (std::filesystem::exists(path));
    followWallClock(state);
    std::string problem = render::writePicture(screenScene(*state.device), path);
    std::string text = problem.empty() ? "wrote " + std::filesystem::absolute(path).string() : problem;
    gtk_label_set_text(GTK_LABEL(state.shotLabel), text.c_str());
    *state.out << "shot: " << (problem.empty() ? path : problem) << std::endl;
}

gboolean keyPressed(GtkEventControllerKey* /*controller*/, guint keyval, guint /*keycode*/,
                    GdkModifierType modifiers, gpointer data) {
    auto& state = *static_cast<WindowState*>(data);
    followWallClock(state);
    bool control = (modifiers & GDK_CONTROL_MASK) != 0;
    if (keyval == GDK_KEY_F5 || (control && (keyval == GDK_KEY_r || keyval == GDK_KEY_R))) {
        relaunch(state);
    } else if (control && (keyval == GDK_KEY_q || keyval == GDK_KEY_Q)) {
        gtk_window_close(GTK_WINDOW(state.window));
    } else if (control && (keyval == GDK_KEY_s || keyval == GDK_KEY_S)) {
        takeShot(state);
    } else if (control && (keyval == GDK_KEY_d || keyval == GDK_KEY_D)) {
        followWallClock(state);
        *state.out << dumpText(*state.device) << std::endl;
    } else if (control) {
        return FALSE;
    } else if (keyval == GDK_KEY_Return || keyval == GDK_KEY_KP_Enter) {
        state.gestures.pressReturn();
    } else if (keyval == GDK_KEY_Escape) {
        state.gestures.pressEscape();
    } else if (keyval == GDK_KEY_BackSpace) {
        state.gestures.backspace();
    } else if (gunichar c = gdk_keyval_to_unicode(keyval); c != 0 && g_unichar_isprint(c)) {
        std::array<char, 8> text{};
        g_unichar_to_utf8(c, text.data());
        state.gestures.type(text.data());
    } else {
        return FALSE;
    }
    afterInput(state);
    return TRUE;
}

gboolean closeRequested(GtkWindow* /*window*/, gpointer data) {
    static_cast<WindowState*>(data)->closed = true;
    return FALSE;
}

GtkWidget* panelButton(const char* title, GCallback callback, WindowState& state) {
    GtkWidget* button = gtk_button_new_with_label(title);
    // The keyboard belongs to the device's screen: a focused button would take Return.
    gtk_widget_set_focusable(button, FALSE);
    g_signal_connect(button, "clicked", callback, &state);
    return button;
}

GtkWidget* buildPanel(WindowState& state) {
    GtkWidget* panel = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
    gtk_widget_set_size_request(panel, 300, -1);
    gtk_widget_set_margin_start(panel, 8);
    gtk_widget_set_margin_end(panel, 8);
    gtk_widget_set_margin_top(panel, 8);
    gtk_widget_set_margin_bottom(panel, 8);

    std::string file = "Saved times: " + lv::savedTimesPath();
    GtkWidget* path = gtk_label_new(file.c_str());
    gtk_label_set_wrap(GTK_LABEL(path), TRUE);
    gtk_label_set_selectable(GTK_LABEL(path), TRUE);
    gtk_label_set_xalign(GTK_LABEL(path), 0);
    gtk_widget_set_focusable(path, FALSE);
    gtk_box_append(GTK_BOX(panel), path);

    GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
    gtk_box_append(GTK_BOX(buttons), panelButton("Shot", G_CALLBACK(+[](GtkButton*, gpointer data) {
                                                     takeShot(*static_cast<WindowState*>(data));
                                                 }),
                                                 state));
    gtk_box_append(GTK_BOX(buttons), panelButton("Relaunch", G_CALLBACK(+[](GtkButton*, gpointer data) {
                                                     relaunch(*static_cast<WindowState*>(data));
                                                 }),
                                                 state));
    gtk_box_append(GTK_BOX(buttons), panelButton("Dump", G_CALLBACK(+[](GtkButton*, gpointer data) {
                                                     refreshDump(*static_cast<WindowState*>(data));
                                                 }),
                                                 state));
    gtk_box_append(GTK_BOX(panel), buttons);
    state.shotLabel = gtk_label_new("");
    gtk_label_set_wrap(GTK_LABEL(state.shotLabel), TRUE);
    gtk_label_set_xalign(GTK_LABEL(state.shotLabel), 0);
    gtk_box_append(GTK_BOX(panel), state.shotLabel);

    GtkWidget* view = gtk_text_view_new();
    gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
    gtk_text_view_set_monospace(GTK_TEXT_VIEW(view), TRUE);
    gtk_widget_set_focusable(view, FALSE);
    state.dump = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
    GtkWidget* scroller = gtk_scrolled_window_new();
    gtk_scrolled_window_set_child(GTK_SCROLLED_WINDOW(scroller), view);
    gtk_widget_set_vexpand(scroller, TRUE);
    gtk_box_append(GTK_BOX(panel), scroller);
    return panel;
}

} // namespace

int runDeviceWindow(const WindowOptions& options, std::ostream& out, std::ostream& err) {
    if (!gtk_init_check()) {
        const char* display = g_getenv("DISPLAY");
        err << "lapvane window: cannot open a display"
            << (display ? std::string(" (DISPLAY=") + display + ")" : "")
            << "; `lapvane sim` drives the same device from commands without one\n";
        return 1;
    }
    Device* device = startSessionDevice(options.session, out, err);
    if (device == nullptr) {
        return 1;
    }
    // The state lives until the process ends, as the device does: callbacks may still be queued
    // when the window closes.
    auto* state = std::make_unique<WindowState>(*device).release();
    state->out = &out;
    state->scale = options.scale;
    out << "launch image: " << device->launchClock() << std::endl;

    const DeviceProfile& profile = device->settings().profile;
    state->window = gtk_window_new();
    gtk_window_set_title(GTK_WINDOW(state->window), "lapvane window");
    gtk_window_set_resizable(GTK_WINDOW(state->window), FALSE);
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    state->screen = gtk_drawing_area_new();
    gtk_drawing_area_set_content_width(GTK_DRAWING_AREA(state->screen),
                                       static_cast<int>(profile.width * options.scale));
    gtk_drawing_area_set_content_height(GTK_DRAWING_AREA(state->screen),
                                        static_cast<int>(profile.height * options.scale));
    gtk_drawing_area_set_draw_func(GTK_DRAWING_AREA(state->screen), drawScreen, state, nullptr);
    gtk_box_append(GTK_BOX(row), state->screen);
    gtk_box_append(GTK_BOX(row), buildPanel(*state));
    gtk_window_set_child(GTK_WINDOW(state->window), row);

    GtkGesture* drag = gtk_gesture_drag_new();
    g_signal_connect(drag, "drag-begin", G_CALLBACK(dragBegin), state);
    g_signal_connect(drag, "drag-update", G_CALLBACK(dragUpdate), state);
    g_signal_connect(drag, "drag-end", G_CALLBACK(dragEnd), state);
    gtk_widget_add_controller(state->screen, GTK_EVENT_CONTROLLER(drag));
    GtkEventController* keys = gtk_event_controller_key_new();
    gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
    g_signal_connect(keys, "key-pressed", G_CALLBACK(keyPressed), state);
    gtk_widget_add_controller(state->window, keys);
    g_signal_connect(state->window, "close-request", G_CALLBACK(closeRequested), state);

    refreshDump(*state);
    gtk_window_present(GTK_WINDOW(state->window));
    g_timeout_add(kFrameMilliseconds, tick, state);
    while (!state->closed) {
        g_main_context_iteration(nullptr, TRUE);
    }
    return 0;
}

} // namespace sim
