#pragma once
// Controls: enabled, highlighted and selected states, and target-action pairs per event. The
// control does not retain its targets. A user's tap on a disabled control sends nothing.

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/runtime/Selector.h"
#include "platform/uikit/UIView.h"

#include <memory>
#include <vector>

/// `UIControlState` bits. Combinations are states of their own.
enum UIControlState : NSUInteger {
    UIControlStateNormal = 0,
    UIControlStateHighlighted = 1 << 0,
    UIControlStateDisabled = 1 << 1,
    UIControlStateSelected = 1 << 2,
};

/// `UIControlEvents` bits.
enum UIControlEvents : NSUInteger {
    UIControlEventTouchDown = 1 << 0,
    UIControlEventTouchDownRepeat = 1 << 1,
    UIControlEventTouchDragInside = 1 << 2,
    UIControlEventTouchDragOutside = 1 << 3,
    UIControlEventTouchDragEnter = 1 << 4,
    UIControlEventTouchDragExit = 1 << 5,
    UIControlEventTouchUpInside = 1 << 6,
    UIControlEventTouchUpOutside = 1 << 7,
    UIControlEventTouchCancel = 1 << 8,
    UIControlEventValueChanged = 1 << 12,
    UIControlEventAllTouchEvents = 0x00000FFF,
    UIControlEventAllEvents = 0xFFFFFFFF,
};

/// `UIControl`.
class UIControl : public UIView {
  public:
    static constexpr const char* kClassName = "UIControl";
    using Super = UIView;
    static void describe(rt::ClassBuilder& b);

    /// One target-action pair, as `allTargets` / `actionsForTarget:forControlEvent:` see them.
    struct TargetAction {
        std::weak_ptr<NSObject> target;
        /// False for a nil target (the responder chain), true for a real one that may since be gone.
        bool hadTarget = false;
        SEL action;
        NSUInteger events = 0;
    };

    [[nodiscard]] bool isEnabled() { return enabled_; }
    /// `setEnabled:` (registered).
    void setEnabled(bool enabled);
    [[nodiscard]] bool isHighlighted() { return highlighted_; }
    /// `setHighlighted:` (registered: a cell reaches it by selector).
    void setHighlighted(bool highlighted);
    [[nodiscard]] bool isSelected() { return selected_; }
    /// `setSelected:` (registered).
    void setSelected(bool selected);
    /// The state bits: Highlighted, Disabled, Selected (Normal = none).
    [[nodiscard]] NSUInteger state() const;

    /// `addTarget:action:forControlEvents:`: several pairs per event are allowed; the same
    /// pair twice is kept once.
    void addTargetActionForControlEvents(const id& target, SEL action, NSUInteger events);
    /// `removeTarget:action:forControlEvents:`; a nil target or null action matches all.
    void removeTargetActionForControlEvents(const id& target, SEL action, NSUInteger events);
    [[nodiscard]] const std::vector<TargetAction>& targetActions() const { return actions_; }
    /// `actionsForTarget:forControlEvent:`: the selectors registered for that target and event.
    [[nodiscard]] std::vector<SEL> actionsForTargetForControlEvent(const id& target, NSUInteger event) const;

    /// `sendActionsForControlEvents:`: sends every matching action now, whatever the enabled
    /// state (the platform is believed to send even when disabled).
    void sendActionsForControlEvents(NSUInteger events);
    /// `sendAction:to:forEvent:`: the target method gets the control as sender when it takes an
    /// argument. A target freed while registered is a crash on the phone: EXC_BAD_ACCESS here.
    void sendActionTo(SEL action, const TargetAction& pair);

    /// The user taps the control: touch down (highlighted), touch up inside. Nothing happens on
    /// a disabled control or one that takes no touches. Returns true when the tap was taken.
    bool simulateTap();

  protected:
    /// Called when enabled, highlighted or selected changes, so subclasses can refresh.
    virtual void stateDidChange() {}

  private:
    bool enabled_ = true;
    bool highlighted_ = false;
    bool selected_ = false;
    std::vector<TargetAction> actions_;
};
