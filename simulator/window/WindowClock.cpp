#include "simulator/window/WindowClock.h"

#include "simulator/device/Device.h"
#include "simulator/scene/ScreenActivity.h"
#include "simulator/window/WindowState.h"

#include <algorithm>
#include <cmath>

namespace sim {
namespace {

gboolean frameTick(GtkWidget* /*widget*/, GdkFrameClock* /*clock*/, gpointer data);

gboolean wake(gpointer data) {
    auto& state = *static_cast<WindowState*>(data);
    state.wakeId = 0;
    redrawOnChange(state);
    return G_SOURCE_REMOVE;
}

// Wall seconds until the screen changes by itself; nullopt when it moves now, infinity when
// nothing is due.
std::optional<double> secondsToNextChange(WindowState& state) {
    double wall = state.wallSeconds();
    if (wall < state.holdUntil) {
        return state.holdUntil - wall;
    }
    if (state.coast) {
        return std::nullopt;
    }
    ScreenActivity activity = screenActivity(*state.device);
    if (activity.moving) {
        return std::nullopt;
    }
    double next = activity.nextChange.value_or(INFINITY);
    if (state.clockLimit) {
        next = std::min(next, *state.clockLimit);
    }
    return std::max(0.0, (next - state.device->now()) / state.speed);
}

void arrange(WindowState& state) {
    if (state.wakeId != 0) {
        g_source_remove(state.wakeId);
        state.wakeId = 0;
    }
    std::optional<double> next = secondsToNextChange(state);
    if (!next) {
        if (state.tickId == 0) {
            state.tickId = gtk_widget_add_tick_callback(state.screen, frameTick, &state, nullptr);
        }
        return;
    }
    if (state.tickId != 0) {
        gtk_widget_remove_tick_callback(state.screen, state.tickId);
        state.tickId = 0;
    }
    if (std::isfinite(*next)) {
        // A millisecond late rather than early, so the change has happened when it wakes.
        auto ms = static_cast<guint>(std::min(*next * 1000 + 1, 3.6e6));
        state.wakeId = g_timeout_add(ms, wake, &state);
    }
}

// A table coasting after a scroll moves on with the wall clock; once it rests, the scroll is
// told whole (to the recorder).
void coast(WindowState& state) {
    if (!state.coast) {
        return;
    }
    auto& coast = *state.coast;
    double ms = state.wallSeconds() * 1000;
    coast.motion.advance(ms - coast.lastMs);
    coast.lastMs = ms;
    state.gestures.scroll(*coast.table, static_cast<CGFloat>(coast.motion.offset()));
    if (coast.motion.resting()) {
        auto table = coast.table;
        double distance = coast.motion.offset() - coast.startOffset;
        state.coast.reset();
        state.gestures.scrolled(*table, distance);
    }
}

// A playing script runs its lines whenever the clock has reached the end of its last wait.
void play(WindowState& state) {
    while (state.player && !state.player->done() &&
           (!state.clockLimit || state.device->now() >= *state.clockLimit)) {
        state.clockLimit = state.player->next();
    }
}

void step(WindowState& state) {
    followWallClock(state);
    play(state);
    coast(state);
    gtk_widget_queue_draw(state.screen);
}

gboolean frameTick(GtkWidget* /*widget*/, GdkFrameClock* /*clock*/, gpointer data) {
    auto& state = *static_cast<WindowState*>(data);
    step(state);
    if (secondsToNextChange(state)) {
        state.tickId = 0;
        arrange(state);
        return G_SOURCE_REMOVE;
    }
    return G_SOURCE_CONTINUE;
}

} // namespace

void followWallClock(WindowState& state) {
    double wall = state.wallSeconds();
    double elapsed = wall - std::max(state.lastWall, state.holdUntil);
    state.lastWall = wall;
    if (elapsed <= 0) {
        return;
    }
    double target = state.device->now() + elapsed * state.speed;
    if (state.clockLimit) {
        target = std::min(target, *state.clockLimit);
    }
    if (target > state.device->now()) {
        state.device->runFor(target - state.device->now());
    }
}

void redrawOnChange(WindowState& state) {
    step(state);
    arrange(state);
}

} // namespace sim
