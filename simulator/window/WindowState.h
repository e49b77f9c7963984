#pragma once
// What the window's callbacks share; it lives as long as the process, as the device does.

#include "simulator/scene/ScreenGestures.h"
#include "simulator/scene/ScrollMotion.h"
#include "simulator/window/DeviceWindow.h"
#include "simulator/window/ScriptRecorder.h"
#include "simulator/window/WindowPlayer.h"

#include "simulator/render/ImagePainter.h"

#include <gtk/gtk.h>

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <ostream>
#include <utility>

namespace sim {

class Device;

struct WindowState {
    Device* device = nullptr;
    std::ostream* out = nullptr;
    /// Window pixels per screen point.
    double scale = 2;
    ScreenGestures gestures;
    /// The decoded image files, kept across frames.
    render::ImagePainter images;

    // The clock. The virtual clock moves by the wall clock's steps times `speed`, except while
    // the launch image is held up, and never past `clockLimit` (a playing script's wait).
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    double lastWall = 0;
    double holdUntil = kLaunchImageSeconds;
    double speed = 1;
    std::optional<double> clockLimit;

    // Drawing on change: the frame clock's tick while something moves, else one timeout at the
    // next change.
    guint tickId = 0;
    guint wakeId = 0;

    GtkWidget* screen = nullptr;
    GtkWidget* window = nullptr;
    GtkTextBuffer* dump = nullptr;
    GtkWidget* shotLabel = nullptr;

    // The pointer while it is pressed: what the drag does is decided once it has moved beyond a
    // click: a held row follows it, a vertical drag on a table scrolls the table, anything else
    // is a swipe or a click when it ends.
    enum class Drag { Undecided, Scroll, Other };
    Drag drag = Drag::Undecided;
    CGPoint dragStart{};
    std::optional<ScreenGestures::HeldRow> held;
    std::shared_ptr<UITableView> dragTable;
    /// The table's offset when the finger landed, and where it was asked to go since.
    double dragStartOffset = 0;
    std::optional<ScrollMotion> dragMotion;
    /// The finger's recent offsets asked for, with their wall times in ms, for its velocity.
    std::deque<std::pair<double, double>> samples;

    /// A table coasting after the finger lifted; `startOffset` is where the scroll began.
    struct Coast {
        std::shared_ptr<UITableView> table;
        ScrollMotion motion;
        double startOffset = 0;
        double lastMs = 0;
    };
    std::optional<Coast> coast;

    std::unique_ptr<ScriptRecorder> recorder;
    std::unique_ptr<WindowPlayer> player;
    int shots = 0;
    bool closed = false;
    /// The screen's size in pixels as last reported (it follows the window's size).
    int reportedWidth = 0;
    int reportedHeight = 0;

    explicit WindowState(Device& d) : device(&d), gestures(d) {}

    /// Seconds of wall time since the window started.
    [[nodiscard]] double wallSeconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    }
};

} // namespace sim
