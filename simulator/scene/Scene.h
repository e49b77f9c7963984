#pragma once
// What a person sees on the device's screen at one moment, from one walk of the view tree: each
// view that is drawn, with its frame on screen as it stands at that moment (an animation caught
// where it is), the part of it that no clipping ancestor cuts away, its alpha, whether something
// opaque lies over it, and its place front to back; the tables' floating section headers and the
// tab bar, which are drawn but are not views of their own; the alerts and how far each has come
// (appearing, shown, closing); and the launch image while it shows. The text of the screen, the
// state dump, the pictures, the window and every touch read this one account, so they cannot
// disagree about what is there.

#include "simulator/device/Device.h"

#include "platform/uikit/Geometry.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class UIAlertView;
class UIView;
class UIWindow;

namespace sim {

/// One drawn thing on the screen.
struct SceneElement {
    enum class Kind {
        /// A view of the window's tree.
        View,
        /// A table's section header, drawn by the table over its rows (`view` is the table).
        SectionHeader,
        /// The tab bar at the foot of the tab bar controller's view (`view` is that view).
        TabBar,
    };
    static constexpr std::size_t kNoParent = static_cast<std::size_t>(-1);

    Kind kind = Kind::View;
    std::shared_ptr<UIView> view;
    /// A section header's title.
    std::optional<std::string> title;
    /// The nearest enclosing element, kNoParent for the window.
    std::size_t parent = kNoParent;
    /// Where it is drawn, in screen points, at the scene's moment.
    CGRect frame{};
    /// The part of `frame` that every clipping ancestor leaves; empty when nothing is left.
    CGRect visible{};
    /// Where a touch reaches it: its frame as the model has it (a touch during an animation
    /// meets the view where it is going), cut by every ancestor's bounds, as the platform's hit
    /// test requires the point inside each; empty when it takes no touch (it or an ancestor is
    /// hidden, nearly transparent or does not take touches).
    CGRect touchArea{};
    /// Its frame as the model has it, in screen points, uncut.
    CGRect modelFrame{};
    /// Its alpha on screen, its ancestors' and a fading row's included.
    CGFloat alpha = 1;
    /// True when it paints over all of its frame (a background colour at full strength, a
    /// table, a navigation bar, a section header, the tab bar).
    bool opaque = false;
    /// True when the middle of its visible part lies under an opaque element in front of it
    /// that is not inside it.
    bool covered = false;

    /// True when a person can see it: something of it shows, it is not covered and not too
    /// faint to make out.
    [[nodiscard]] bool seen() const;
    /// The middle of its visible part.
    [[nodiscard]] CGPoint visibleCentre() const;
};

/// How far an alert on screen has come.
enum class AlertState {
    /// Its appear animation runs; it already takes taps.
    Appearing,
    /// It is up.
    Shown,
    /// A button was tapped and it is going; it takes nothing more.
    Closing,
};

/// The name `dump` and `screen` give a state: "appearing", "shown", "closing".
const char* alertStateName(AlertState state);

/// An alert on the screen.
struct SceneAlert {
    std::shared_ptr<UIAlertView> alert;
    AlertState state = AlertState::Shown;
};

/// The screen at one moment.
struct Scene {
    /// The virtual clock's time the scene was taken at.
    double moment = 0;
    /// The screen in points.
    CGSize screenSize{};
    /// The launch image on screen; while it shows, nothing of the application is seen.
    std::optional<Device::ShownLaunchImage> launch;
    /// The application's window; nil on the home screen and while the launch image shows.
    std::shared_ptr<UIWindow> window;
    /// Everything drawn, back to front (a parent before its children).
    std::vector<SceneElement> elements;
    /// The alerts on screen, back to front; only the front one is seen and takes touches.
    std::vector<SceneAlert> alerts;

    /// The element of `view`, nil when it is not drawn.
    [[nodiscard]] const SceneElement* find(const UIView* view) const;
    /// The elements that a touch at `point` passes through, from the window down to the
    /// frontmost one that takes touches there; empty when none does. Alerts and the launch
    /// image are not in it: the caller asks `takesTouches` first.
    [[nodiscard]] std::vector<const SceneElement*> hitChain(CGPoint point) const;
    /// False while the launch image shows or an alert is in front: touches on the window's views
    /// go nowhere then.
    [[nodiscard]] bool windowTakesTouches() const;
    /// The front alert, nil when none.
    [[nodiscard]] const SceneAlert* frontAlert() const;
    /// True when `inner` is `outer` or lies inside it.
    [[nodiscard]] bool isInside(const SceneElement& inner, const SceneElement& outer) const;
};

/// The device's screen as it stands now.
Scene captureScene(Device& device);

/// A point given in screen points in `element`'s own bounds coordinates, as the toolkit's
/// gestures take it (the model geometry a touch meets).
CGPoint pointInElement(const SceneElement& element, CGPoint point);

} // namespace sim
