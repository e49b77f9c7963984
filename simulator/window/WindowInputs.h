#pragma once
// What the window answers to: its keyboard shortcuts, by the key names the toolkit gives
// ("F5", "r" with Control), and the pointer's gestures. The window's key handler finds its
// action here and the manual page lists the same table, so the two cannot part. No GTK here.

#include <string>
#include <string_view>
#include <vector>

namespace sim {

/// What a shortcut does in the window.
enum class WindowAction { Relaunch, Close, Shot, Dump, ReturnKey, EscapeKey, Backspace };

/// One key as the toolkit names it (gdk_keyval_name), with or without Control held.
struct WindowKey {
    std::string name;
    bool control = false;
};

struct WindowShortcut {
    WindowAction action;
    std::vector<WindowKey> keys;
    /// The keys as the manual shows them ("F5, Ctrl+R").
    std::string shown;
    std::string meaning;
};

/// Every shortcut of the window.
const std::vector<WindowShortcut>& windowShortcuts();

/// The shortcut for the key named `keyName` (letters in either case) with Control held or not;
/// nullptr when that key does nothing of its own (a printable key is then typed).
const WindowShortcut* windowShortcutFor(std::string_view keyName, bool control);

/// The pointer's gestures and typing, each with what it does, as the manual lists them.
struct WindowGesture {
    std::string input;
    std::string meaning;
};
const std::vector<WindowGesture>& windowGestures();

} // namespace sim
