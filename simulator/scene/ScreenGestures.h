#pragma once
// A pointer and a keyboard on the device's screen: a click, a drag or a key at a place on the
// screen becomes the toolkit's own gesture on whatever is drawn there (the same gestures the
// simulator's commands make), found from the front: the launch image takes nothing, the front
// alert takes everything while one shows, then the tab bar, then the window's views.

#include "platform/uikit/Geometry.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class UITableView;
class UITableViewCell;

namespace sim {

class Device;

/// Turns pointer and key input in screen points into the toolkit's gestures.
class ScreenGestures {
  public:
    /// A drag shorter than this on both axes is a click.
    static constexpr CGFloat kClickSlop = 8;
    /// A drag at least this wide, and wider than it is tall, across a row is a swipe.
    static constexpr CGFloat kSwipeWidth = 30;

    explicit ScreenGestures(Device& device) : device_(&device) {}

    /// Hears, for each gesture that took effect, the `lapvane sim` command line that means it
    /// (`tap 0 1`, `start`, `button Add`); a gesture no command means is a `#` comment saying
    /// what it was. A tap on a row's minus control says nothing: the `delete` that follows
    /// includes it.
    using Recorder = std::function<void(const std::string& line)>;
    void setRecorder(Recorder recorder) { recorder_ = std::move(recorder); }

    /// A tap at `point`. Returns true when something took it.
    bool click(CGPoint point);
    /// The pointer pressed at `from` and released at `to`: a click when it hardly moved, a move
    /// when it started on a row's reorder control, a swipe when it crossed a row sideways.
    bool drag(CGPoint from, CGPoint to);

    /// A row held by its reorder control: what the window draws following the pointer.
    struct HeldRow {
        std::shared_ptr<UITableView> table;
        std::shared_ptr<UITableViewCell> cell;
        /// The table's content origin on screen.
        CGPoint contentOrigin{};
    };
    /// The row whose reorder control is at `point`, if any.
    [[nodiscard]] std::optional<HeldRow> reorderControlAt(CGPoint point) const;
    /// The held row, pressed at `from`, is dragged to `to` without letting go: it lifts and
    /// follows the pointer up and down, and the gap opens where a drop would put it.
    void hover(const HeldRow& held, CGPoint from, CGPoint to);
    /// The held row is dropped at `to`: it moves where it lands, as `move` moves it.
    bool drop(const HeldRow& held, CGPoint to);
    /// The held row goes back to its place (the drag became something else).
    void letGo(const HeldRow& held);

    /// The table a vertical drag at `point` scrolls; nil when none takes the touch there.
    [[nodiscard]] std::shared_ptr<UITableView> scrollableTableAt(CGPoint point) const;
    /// Scrolls `table` to the vertical offset `offset` as a finger does (a Delete button
    /// showing hides first).
    void scroll(UITableView& table, CGFloat offset);
    /// A scroll by hand came to rest having moved the content by `distance` points: tells the
    /// recorder (`scroll DISTANCE` for the Saved tab's tables).
    void scrolled(UITableView& table, double distance);

    /// Typed text goes to the front alert's text field, after what it holds.
    bool type(const std::string& text);
    /// Backspace: the front alert's text field loses its last character.
    bool backspace();
    /// Return: taps the front alert's last button.
    bool pressReturn();
    /// Escape: taps the front alert's cancel button.
    bool pressEscape();

    /// Quits the Clock application when it runs and launches it again; SpringBoard's launch
    /// image stays on screen until the next run-loop pass. Returns the launch image's name.
    std::string relaunch();

  private:
    void note(const std::string& line) const;
    [[nodiscard]] bool isSavedTable(const UITableView& table) const;
    [[nodiscard]] bool isSavedTabTable(const UITableView& table) const;

    Device* device_;
    Recorder recorder_;
};

} // namespace sim
