#include "simulator/window/DeviceWindow.h"

#include "simulator/device/Device.h"
#include "simulator/scene/ScreenPicture.h"
#include "simulator/window/WindowClock.h"
#include "simulator/window/WindowInput.h"
#include "simulator/window/WindowScale.h"
#include "simulator/window/WindowState.h"

#include "simulator/render/ScreenPainter.h"

#include "addon/store/SavedTimesStore.h"
#include "platform/foundation/Region.h"
#include "platform/runtime/Trace.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

namespace sim {
namespace {

// The panel's width in pixels, its margins included.
constexpr int kPanelWidth = 300;
constexpr int kPanelMargin = 8;
// The panel's labels wrap at about this many characters.
constexpr int kPanelChars = 30;

// Says when the window is first drawn, and again whenever a new size of the window changes the
// screen's, where the device's screen sits in the window's surface, so a tool that moves the
// pointer knows where a point of the screen is.
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
    state.reportedWidth = width;
    state.reportedHeight = height;
}

// The screen fills the drawing area at the largest scale that shows it whole, from its top
// left corner: the window's size sets the scale.
void drawScreen(GtkDrawingArea* /*area*/, cairo_t* cr, int width, int height, gpointer data) {
    auto& state = *static_cast<WindowState*>(data);
    const DeviceProfile& profile = state.device->settings().profile;
    state.scale = std::max(kSmallestScale, std::min(width / static_cast<double>(profile.width),
                                                    height / static_cast<double>(profile.height)));
    auto wide = static_cast<int>(std::lround(profile.width * state.scale));
    auto high = static_cast<int>(std::lround(profile.height * state.scale));
    if (wide != state.reportedWidth || high != state.reportedHeight) {
        reportPlace(state, wide, high);
    }
    cairo_scale(cr, state.scale, state.scale);
    render::ScreenPainter(cr, state.images).paint(screenScene(*state.device));
    if (rt::trace::enabled(rt::trace::Channel::Frames)) {
        std::array<char, 32> moment{};
        std::snprintf(moment.data(), moment.size(), "%.3f", state.device->now());
        rt::trace::log(rt::trace::Channel::Frames, moment.data());
    }
}

std::string wholeSecondNow() {
    std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    std::array<char, 32> text{};
    std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text.data();
}

// The recording's first line: how to replay it.
std::string replayComment(const SessionOptions& session) {
    ns::Region region = ns::Region::current();
    std::string line = "# lapvane window --record; replay: lapvane sim --device " + session.device +
                       " --locale " + region.localeIdentifier + " --tz " + region.timeZoneName + " --now " +
                       session.now + (session.noAddon ? " --no-addon" : "") +
                       " FILE, on a copy of the home as it was";
    return line;
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
    gtk_widget_set_size_request(panel, kPanelWidth - 2 * kPanelMargin, -1);
    gtk_widget_set_margin_start(panel, kPanelMargin);
    gtk_widget_set_margin_end(panel, kPanelMargin);
    gtk_widget_set_margin_top(panel, kPanelMargin);
    gtk_widget_set_margin_bottom(panel, kPanelMargin);

    std::string file = "Saved times: " + lv::savedTimesPath();
    GtkWidget* path = gtk_label_new(file.c_str());
    gtk_label_set_wrap(GTK_LABEL(path), TRUE);
    // Lines break between words and after a path's slashes, inside a name only when it is
    // wider than the panel.
    gtk_label_set_wrap_mode(GTK_LABEL(path), PANGO_WRAP_WORD_CHAR);
    // A wrapping label asks for its whole text's width unless told otherwise.
    gtk_label_set_max_width_chars(GTK_LABEL(path), kPanelChars);
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
    gtk_label_set_wrap_mode(GTK_LABEL(state.shotLabel), PANGO_WRAP_CHAR);
    gtk_label_set_max_width_chars(GTK_LABEL(state.shotLabel), kPanelChars);
    gtk_label_set_xalign(GTK_LABEL(state.shotLabel), 0);
    gtk_box_append(GTK_BOX(panel), state.shotLabel);

    GtkWidget* view = gtk_text_view_new();
    gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
    gtk_text_view_set_cursor_visible(GTK_TEXT_VIEW(view), FALSE);
    gtk_text_view_set_monospace(GTK_TEXT_VIEW(view), TRUE);
    // The dump's long lines wrap at the panel's edge rather than run past it.
    gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), GTK_WRAP_WORD_CHAR);
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
    // The application's id names the window to the desktop: X11's WM_CLASS and Wayland's app id
    // are taken from it.
    g_set_prgname(kWindowApplicationId);
    g_set_application_name("Lapvane");
    if (!gtk_init_check()) {
        const char* display = g_getenv("DISPLAY");
        err << "lapvane window: cannot open a display"
            << (display ? std::string(" (DISPLAY=") + display + ")" : "")
            << "; `lapvane sim` drives the same device from commands without one\n";
        return 1;
    }
    SessionOptions session = options.session;
    if (!options.recordPath.empty() && session.now.empty()) {
        // A recording starts at a whole second, so its replay can start at the same moment.
        session.now = wholeSecondNow();
    }
    Device* device = startSessionDevice(session, out, err);
    if (device == nullptr) {
        return 1;
    }
    // The state lives until the process ends, as the device does: callbacks may still be queued
    // when the window closes.
    auto* state = std::make_unique<WindowState>(*device).release();
    state->out = &out;
    state->speed = options.speed;
    const DeviceProfile& profile = device->settings().profile;
    state->scale = options.scale.value_or(
        fittingScale(gdk_display_get_default(), profile.width, profile.height, kPanelWidth));
    if (!options.recordPath.empty()) {
        state->recorder = std::make_unique<ScriptRecorder>(options.recordPath, replayComment(session));
        if (!state->recorder->ok()) {
            err << "lapvane window: cannot write " << options.recordPath << '\n';
            return 1;
        }
        state->gestures.setRecorder(
            [state](const std::string& line) { state->recorder->note(line, state->device->now()); });
    }
    if (options.playPath.empty()) {
        out << "launch image: " << state->gestures.relaunch() << std::endl;
    } else {
        // The script launches the application itself, when it wants to, and the clock waits for
        // its first line.
        state->holdUntil = 0;
        state->clockLimit = device->now();
        state->player =
            std::make_unique<WindowPlayer>(*device, out, err, options.playPath, options.playLines);
        if (state->recorder) {
            // The recording holds the played commands, then what the person did, in the order
            // they happened, so that its replay starts from the same home.
            state->player->onCommand([state](const std::string& line, double started, double ended) {
                state->recorder->notePlayed(line, started, ended);
            });
        }
    }

    state->window = gtk_window_new();
    gtk_window_set_title(GTK_WINDOW(state->window), "lapvane window");
    // The window opens at the chosen scale and may be resized: the screen's scale follows.
    gtk_window_set_resizable(GTK_WINDOW(state->window), TRUE);
    gtk_window_set_default_size(GTK_WINDOW(state->window),
                                static_cast<int>(std::lround(profile.width * state->scale)) + kPanelWidth,
                                static_cast<int>(std::lround(profile.height * state->scale)));
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    state->screen = gtk_drawing_area_new();
    gtk_widget_set_size_request(state->screen, static_cast<int>(std::ceil(profile.width * kSmallestScale)),
                                static_cast<int>(std::ceil(profile.height * kSmallestScale)));
    gtk_widget_set_hexpand(state->screen, TRUE);
    gtk_widget_set_vexpand(state->screen, TRUE);
    gtk_drawing_area_set_draw_func(GTK_DRAWING_AREA(state->screen), drawScreen, state, nullptr);
    gtk_box_append(GTK_BOX(row), state->screen);
    gtk_box_append(GTK_BOX(row), buildPanel(*state));
    gtk_window_set_child(GTK_WINDOW(state->window), row);
    connectInput(*state);
    g_signal_connect(state->window, "close-request", G_CALLBACK(closeRequested), state);

    refreshDump(*state);
    gtk_window_present(GTK_WINDOW(state->window));
    redrawOnChange(*state);
    while (!state->closed) {
        g_main_context_iteration(nullptr, TRUE);
    }
    if (state->recorder) {
        followWallClock(*state);
        stopCoasting(*state);
        state->recorder->finish(device->now());
        out << "recorded: " << options.recordPath << std::endl;
    }
    return state->player ? state->player->status() : 0;
}

} // namespace sim
