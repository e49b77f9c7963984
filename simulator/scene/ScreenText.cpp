#include "simulator/scene/ScreenText.h"

#include "simulator/device/Device.h"
#include "simulator/scene/Inspector.h"
#include "simulator/scene/Scene.h"
#include "simulator/scene/ScreenItems.h"

#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace sim {
namespace {

// Points per character column: a 320-point phone screen is 50 columns wide.
constexpr CGFloat kPointsPerColumn = 6.4f;
// Items whose tops are this close share a line.
constexpr CGFloat kSameLine = 8;

// Characters, not bytes, of UTF-8 text: what a terminal column counts.
std::size_t columnsOf(const std::string& text) {
    std::size_t count = 0;
    for (unsigned char c : text) {
        count += (c & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

// The column the item's text starts at, from its frame and alignment.
std::size_t startColumn(const ScreenItem& item) {
    CGFloat textWidth = static_cast<CGFloat>(columnsOf(item.text)) * kPointsPerColumn;
    CGFloat left = item.x;
    if (item.align == ScreenItem::Align::Center) {
        left = item.x + (item.width - textWidth) / 2;
    } else if (item.align == ScreenItem::Align::Right) {
        left = item.x + item.width - textWidth;
    }
    return static_cast<std::size_t>(std::max<CGFloat>(0, std::round(left / kPointsPerColumn)));
}

// Seconds with up to three decimals and no trailing zeros: 63.37, 4.2, 0.
std::string secondsText(double seconds) {
    char text[48];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    std::string out = text;
    out.erase(out.find_last_not_of('0') + 1);
    if (out.back() == '.') {
        out.pop_back();
    }
    return out;
}

std::string layoutRows(std::vector<ScreenItem> items) {
    std::stable_sort(items.begin(), items.end(), [](const ScreenItem& a, const ScreenItem& b) {
        if (std::fabs(a.y - b.y) >= kSameLine) {
            return a.y < b.y;
        }
        return startColumn(a) < startColumn(b);
    });
    std::ostringstream out;
    std::size_t i = 0;
    while (i < items.size()) {
        CGFloat lineTop = items[i].y;
        std::string line;
        for (; i < items.size() && std::fabs(items[i].y - lineTop) < kSameLine; ++i) {
            std::size_t column = startColumn(items[i]);
            std::size_t used = columnsOf(line);
            if (used < column) {
                line.append(column - used, ' ');
            } else if (!line.empty()) {
                line += ' ';
            }
            line += items[i].text;
        }
        out << "  " << line << '\n';
    }
    return out.str();
}

std::string tabBarLine(const Inspector& inspector) {
    auto tabs = inspector.tabBarController();
    if (!tabs) {
        return {};
    }
    std::vector<std::string> titles = inspector.tabTitles();
    std::string line = "  Tabs:";
    for (std::size_t i = 0; i < titles.size(); ++i) {
        bool selected = i == tabs->selectedIndex();
        line += (i == 0 ? " " : " | ") + (selected ? "[" + titles[i] + "]" : titles[i]);
    }
    return line + '\n';
}

// The width of an alert's box on the screen's text, from its two leading blanks to the end of its
// head and foot.
constexpr std::size_t kAlertBoxWidth = 48;

std::string alertBox(const SceneAlert& shown) {
    const UIAlertView& alert = *shown.alert;
    std::ostringstream out;
    // An alert that is going (or still coming) says so, so that one closing after an accepted
    // answer does not read as a refusal. The head's dashes run to the width of the box's foot.
    std::string head = "  +-- Alert ";
    if (shown.state != AlertState::Shown) {
        head += std::string("(") + alertStateName(shown.state) + ") ";
    }
    out << head << std::string(head.size() < kAlertBoxWidth ? kAlertBoxWidth - head.size() : 1, '-') << '\n';
    if (alert.title()) {
        out << "  | " << *alert.title() << '\n';
    }
    if (alert.message()) {
        out << "  | " << *alert.message() << '\n';
    }
    if (alert.alertViewStyle() != UIAlertViewStyleDefault) {
        auto field = alert.textFieldAtIndex(0);
        out << "  | ["
            << (field->text().empty() ? "(" + field->placeholder().value_or("") + ")" : field->text())
            << "]\n";
    }
    out << "  |";
    for (NSInteger i = 0; i < alert.numberOfButtons(); ++i) {
        out << " [" << alert.buttonTitleAtIndex(i) << "]";
    }
    out << "\n  +" << std::string(kAlertBoxWidth - 3, '-') << '\n';
    return out.str();
}

} // namespace

std::string screenText(Device& device) {
    Inspector inspector(device);
    const DeviceProfile& profile = device.settings().profile;
    char header[160];
    std::snprintf(header, sizeof header, "== %s %gx%g  t=%ss ", profile.name.c_str(), profile.width,
                  profile.height, secondsText(device.now()).c_str());
    std::string out = header;
    Scene scene = captureScene(device);
    if (scene.launch) {
        out += "== launch image " + scene.launch->name + "\n";
        return out;
    }
    if (!scene.window) {
        out += "== home screen (Clock not running)\n";
        return out;
    }
    auto shown = inspector.selectedController();
    out += "== Clock";
    if (shown && shown->title()) {
        out += " > " + *shown->title();
    }
    out += '\n';
    out += layoutRows(screenItems(scene));
    out += tabBarLine(inspector);
    for (const auto& alert : scene.alerts) {
        out += alertBox(alert);
    }
    return out;
}

} // namespace sim
