#include "simulator/window/WindowInput.h"

#include "simulator/device/Device.h"
#include "simulator/scene/ScreenPicture.h"
#include "simulator/scene/StateDump.h"
#include "simulator/window/WindowClock.h"
#include "simulator/window/WindowInputs.h"
#include "simulator/window/WindowState.h"

#include "simulator/render/Picture.h"

#include "platform/uikit/UITableView.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <utility>

namespace sim {
namespace {

CGPoint toPoints(const WindowState& state, double x, double y) {
    return {static_cast<CGFloat>(x / state.scale), static_cast<CGFloat>(y / state.scale)};
}

CGPoint dragPoint(const WindowState& state, double dx, double dy) {
    return {static_cast<CGFloat>(state.dragStart.x + dx / state.scale),
            static_cast<CGFloat>(state.dragStart.y + dy / state.scale)};
}

void dragBegin(GtkGestureDrag* /*gesture*/, double x, double y, gpointer data) {
    auto& state = *static_cast<WindowState*>(data);
    followWallClock(state);
    stopCoasting(state);
    state.dragStart = toPoints(state, x, y);
    state.drag = WindowState::Drag::Undecided;
    state.held = state.gestures.reorderControlAt(state.dragStart);
    state.dragTable.reset();
    state.dragMotion.reset();
    state.samples.clear();
}

// Decides what the drag is once it leaves the click's slop: vertical on a table, a scroll.
void decide(WindowState& state, CGPoint now) {
    CGFloat dx = now.x - state.dragStart.x;
    CGFloat dy = now.y - state.dragStart.y;
    if (std::abs(dx) < ScreenGestures::kClickSlop && std::abs(dy) < ScreenGestures::kClickSlop) {
        return;
    }
    state.drag = WindowState::Drag::Other;
    if (std::abs(dy) <= std::abs(dx)) {
        return;
    }
    if (auto table = state.gestures.scrollableTableAt(state.dragStart)) {
        state.drag = WindowState::Drag::Scroll;
        state.dragTable = table;
        state.dragStartOffset = table->contentOffset().y;
        double most = static_cast<double>(table->contentSize().height) - table->bounds().size.height;
        state.dragMotion.emplace(0, most, table->bounds().size.height);
    }
}

// When the event being handled happened, in ms: GTK may hand several motions over at once,
// so the time they are handled says nothing of the finger's speed.
double eventMs(GtkGestureDrag* gesture) {
    return static_cast<double>(gtk_event_controller_get_current_event_time(GTK_EVENT_CONTROLLER(gesture)));
}

void dragUpdate(GtkGestureDrag* gesture, double dx, double dy, gpointer data) {
    auto& state = *static_cast<WindowState*>(data);
    CGPoint now = dragPoint(state, dx, dy);
    if (state.held) {
        followWallClock(state);
        state.gestures.hover(*state.held, state.dragStart, now);
        gtk_widget_queue_draw(state.screen);
        return;
    }
    if (state.drag == WindowState::Drag::Undecided) {
        decide(state, now);
    }
    if (state.drag == WindowState::Drag::Scroll) {
        followWallClock(state);
        // The content moves with the finger.
        double wanted = state.dragStartOffset - (now.y - state.dragStart.y);
        state.samples.emplace_back(eventMs(gesture), wanted);
        while (state.samples.size() > 8) {
            state.samples.pop_front();
        }
        state.gestures.scroll(*state.dragTable, static_cast<CGFloat>(state.dragMotion->banded(wanted)));
        gtk_widget_queue_draw(state.screen);
    }
}

// The finger's velocity when it lifts at `now` (ms), in points of offset per millisecond, from
// its last tenth of a second; none when it stood still that long.
double releaseVelocity(const WindowState& state, double now) {
    constexpr double kWindowMs = 100;
    const std::pair<double, double>* first = nullptr;
    for (const auto& sample : state.samples) {
        if (now - sample.first <= kWindowMs) {
            first = &sample;
            break;
        }
    }
    if (first == nullptr || state.samples.back().first - first->first <= 0) {
        return 0;
    }
    const auto& last = state.samples.back();
    return (last.second - first->second) / (last.first - first->first);
}

void dragEnd(GtkGestureDrag* gesture, double dx, double dy, gpointer data) {
    auto& state = *static_cast<WindowState*>(data);
    CGPoint end = dragPoint(state, dx, dy);
    followWallClock(state);
    if (auto held = std::exchange(state.held, std::nullopt)) {
        if (std::abs(end.x - state.dragStart.x) < ScreenGestures::kClickSlop &&
            std::abs(end.y - state.dragStart.y) < ScreenGestures::kClickSlop) {
            state.gestures.letGo(*held);
            state.gestures.click(state.dragStart);
        } else {
            state.gestures.drop(*held, end);
        }
    } else if (state.drag == WindowState::Drag::Scroll) {
        double offset = state.dragTable->contentOffset().y;
        state.dragMotion->release(offset, releaseVelocity(state, eventMs(gesture)));
        state.coast = WindowState::Coast{state.dragTable, *state.dragMotion, state.dragStartOffset,
                                         state.wallSeconds() * 1000};
    } else {
        state.gestures.drag(state.dragStart, end);
    }
    state.dragTable.reset();
    afterInput(state);
}

gboolean keyPressed(GtkEventControllerKey* /*controller*/, guint keyval, guint /*keycode*/,
                    GdkModifierType modifiers, gpointer data) {
    auto& state = *static_cast<WindowState*>(data);
    followWallClock(state);
    bool control = (modifiers & GDK_CONTROL_MASK) != 0;
    const char* keyName = gdk_keyval_name(keyval);
    const WindowShortcut* shortcut = keyName == nullptr ? nullptr : windowShortcutFor(keyName, control);
    if (shortcut != nullptr) {
        switch (shortcut->action) {
        case WindowAction::Relaunch:
            relaunch(state);
            break;
        case WindowAction::Close:
            gtk_window_close(GTK_WINDOW(state.window));
            break;
        case WindowAction::Shot:
            takeShot(state);
            break;
        case WindowAction::Dump:
            *state.out << dumpText(*state.device) << std::endl;
            break;
        case WindowAction::ReturnKey:
            state.gestures.pressReturn();
            break;
        case WindowAction::EscapeKey:
            state.gestures.pressEscape();
            break;
        case WindowAction::Backspace:
            state.gestures.backspace();
            break;
        }
    } else if (control) {
        return FALSE;
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

} // namespace

void stopCoasting(WindowState& state) {
    if (!state.coast) {
        return;
    }
    auto table = state.coast->table;
    double distance = state.coast->motion.offset() - state.coast->startOffset;
    state.coast.reset();
    state.gestures.scrolled(*table, distance);
}

void refreshDump(WindowState& state) {
    std::string text = dumpText(*state.device, 2);
    gtk_text_buffer_set_text(state.dump, text.c_str(), static_cast<int>(text.size()));
}

void afterInput(WindowState& state) {
    redrawOnChange(state);
    refreshDump(state);
}

void relaunch(WindowState& state) {
    followWallClock(state);
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

void connectInput(WindowState& state) {
    GtkGesture* drag = gtk_gesture_drag_new();
    g_signal_connect(drag, "drag-begin", G_CALLBACK(dragBegin), &state);
    g_signal_connect(drag, "drag-update", G_CALLBACK(dragUpdate), &state);
    g_signal_connect(drag, "drag-end", G_CALLBACK(dragEnd), &state);
    gtk_widget_add_controller(state.screen, GTK_EVENT_CONTROLLER(drag));
    GtkEventController* keys = gtk_event_controller_key_new();
    gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
    g_signal_connect(keys, "key-pressed", G_CALLBACK(keyPressed), &state);
    gtk_widget_add_controller(state.window, keys);
}

} // namespace sim
