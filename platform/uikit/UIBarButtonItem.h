#pragma once
// A button on a navigation bar: a title, a style, and an action sent to a target that the item
// does not retain, with the item itself as the sender.

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/runtime/NSObject.h"
#include "platform/runtime/Selector.h"

#include <memory>
#include <optional>
#include <string>

/// `UIBarButtonItemStyle`. On iOS 7 Plain and Bordered look alike; Done is bold.
enum UIBarButtonItemStyle : NSInteger {
    UIBarButtonItemStylePlain = 0,
    UIBarButtonItemStyleBordered = 1,
    UIBarButtonItemStyleDone = 2,
};

/// `UIBarButtonItem`.
class UIBarButtonItem : public NSObject {
  public:
    static constexpr const char* kClassName = "UIBarButtonItem";
    using Super = NSObject;

    /// `initWithTitle:style:target:action:`.
    void initWithTitleStyleTargetAction(std::optional<std::string> title, UIBarButtonItemStyle style,
                                        const id& target, SEL action);
    /// A new item made with `initWithTitle:style:target:action:`.
    static std::shared_ptr<UIBarButtonItem>
    withTitle(std::optional<std::string> title, UIBarButtonItemStyle style, const id& target, SEL action);

    [[nodiscard]] const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title) { title_ = std::move(title); }
    [[nodiscard]] UIBarButtonItemStyle style() const { return style_; }
    void setStyle(UIBarButtonItemStyle style) { style_ = style; }
    [[nodiscard]] id target() const { return target_.lock(); }
    void setTarget(const id& target);
    [[nodiscard]] SEL action() const { return action_; }
    void setAction(SEL action) { action_ = action; }
    [[nodiscard]] bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    [[nodiscard]] NSInteger tag() const { return tag_; }
    void setTag(NSInteger tag) { tag_ = tag; }

    /// The user taps the item: a disabled item does nothing; otherwise the action goes to the
    /// target with the item as sender. A target freed meanwhile is a crash on the phone and
    /// raises EXC_BAD_ACCESS here. Returns true when the action was sent.
    bool simulateTap();

  private:
    std::optional<std::string> title_;
    UIBarButtonItemStyle style_ = UIBarButtonItemStylePlain;
    std::weak_ptr<NSObject> target_;
    bool hadTarget_ = false;
    SEL action_;
    bool enabled_ = true;
    NSInteger tag_ = 0;
};
