#include "simulator/window/WindowInputs.h"

#include <algorithm>
#include <cctype>

namespace sim {
namespace {

bool sameKeyName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

const std::vector<WindowShortcut>& windowShortcuts() {
    static const std::vector<WindowShortcut> shortcuts = {
        {WindowAction::Relaunch,
         {{"F5", false}, {"r", true}},
         "F5, Ctrl+R",
         "quits and relaunches the Clock application, as the Relaunch button does"},
        {WindowAction::Shot,
         {{"s", true}},
         "Ctrl+S",
         "writes a picture of the screen (lapvane-shot-N.png in the working folder), as the Shot button "
         "does"},
        {WindowAction::Dump,
         {{"d", true}},
         "Ctrl+D",
         "prints the state dump on standard output, as dump does"},
        {WindowAction::Close, {{"q", true}}, "Ctrl+Q", "closes the window"},
        {WindowAction::ReturnKey,
         {{"Return", false}, {"KP_Enter", false}},
         "Return",
         "taps the front alert's last button (Add)"},
        {WindowAction::EscapeKey, {{"Escape", false}}, "Escape", "taps the front alert's cancel button"},
        {WindowAction::Backspace,
         {{"BackSpace", false}},
         "Backspace",
         "removes the last character of the front alert's text field"},
    };
    return shortcuts;
}

const WindowShortcut* windowShortcutFor(std::string_view keyName, bool control) {
    for (const auto& shortcut : windowShortcuts()) {
        for (const auto& key : shortcut.keys) {
            // Letters match in either case (Caps Lock, Shift); other names exactly.
            bool matches = key.name.size() == 1 ? sameKeyName(key.name, keyName) : key.name == keyName;
            if (matches && key.control == control) {
                return &shortcut;
            }
        }
    }
    return nullptr;
}

const std::vector<WindowGesture>& windowGestures() {
    static const std::vector<WindowGesture> gestures = {
        {"click",
         "a tap: tabs, the stopwatch's buttons, Save, rows, the top bar's items and back control, the "
         "front alert's buttons, a row's minus control and its Delete button"},
        {"drag up or down on a table",
         "scrolls it, with a rubber band past the ends; let go moving and it coasts on; a click stops it"},
        {"drag sideways across a row",
         "a swipe (30 points or more, wider than tall): the row's Delete button shows"},
        {"drag a row's reorder control",
         "in edit mode: the row follows the pointer and lands where it is let go, as move does"},
        {"typing", "goes into the front alert's text field (the New Section dialog)"},
    };
    return gestures;
}

} // namespace sim
