#pragma once
// Table cells. A cell made with a style and a reuse identifier is 320x44 until a table lays it
// out. While it is highlighted or selected (unless its selection style is None) it sends
// setHighlighted:YES to every view below it that responds, so labels show their highlighted
// text colour and image views their highlighted image; it restores them (NO) afterwards.

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/uikit/UIView.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class UIImageView;
class UILabel;

/// `UITableViewCellStyle`.
enum UITableViewCellStyle : NSInteger {
    UITableViewCellStyleDefault = 0,
    UITableViewCellStyleValue1 = 1,
    UITableViewCellStyleValue2 = 2,
    UITableViewCellStyleSubtitle = 3,
};

/// `UITableViewCellSelectionStyle`.
enum UITableViewCellSelectionStyle : NSInteger {
    UITableViewCellSelectionStyleNone = 0,
    UITableViewCellSelectionStyleBlue = 1,
    UITableViewCellSelectionStyleGray = 2,
    UITableViewCellSelectionStyleDefault = 3,
};

/// `UITableViewCellEditingStyle`.
enum UITableViewCellEditingStyle : NSInteger {
    UITableViewCellEditingStyleNone = 0,
    UITableViewCellEditingStyleDelete = 1,
    UITableViewCellEditingStyleInsert = 2,
};

/// `UITableViewCellAccessoryType`.
enum UITableViewCellAccessoryType : NSInteger {
    UITableViewCellAccessoryNone = 0,
    UITableViewCellAccessoryDisclosureIndicator = 1,
    UITableViewCellAccessoryDetailDisclosureButton = 2,
    UITableViewCellAccessoryCheckmark = 3,
};

/// `UITableViewCell`.
class UITableViewCell : public UIView {
  public:
    static constexpr const char* kClassName = "UITableViewCell";
    using Super = UIView;
    static void describe(rt::ClassBuilder& b);

    /// The frame of a new cell on a phone, before a table lays it out.
    static constexpr CGRect kInitialFrame{{0, 0}, {320, 44}};

    /// `initWithStyle:reuseIdentifier:`: frame (0, 0, 320, 44), a content view 1 point shorter
    /// (the separator), selection style Blue (the iOS 6 default).
    void initWithStyleReuseIdentifier(UITableViewCellStyle style, std::optional<std::string> reuseIdentifier);
    /// A new cell of class T made with `initWithStyle:reuseIdentifier:`.
    template <class T = UITableViewCell>
    static std::shared_ptr<T> withStyle(UITableViewCellStyle style,
                                        std::optional<std::string> reuseIdentifier);

    [[nodiscard]] UITableViewCellStyle style() const { return style_; }
    /// Fixed at init.
    [[nodiscard]] const std::optional<std::string>& reuseIdentifier() const { return reuseIdentifier_; }
    [[nodiscard]] const std::shared_ptr<UIView>& contentView() const { return contentView_; }
    /// The main label, made on first use inside the content view.
    std::shared_ptr<UILabel> textLabel();
    /// The detail label (styles other than Default), made on first use.
    std::shared_ptr<UILabel> detailTextLabel();
    /// The image view at the left, made on first use.
    std::shared_ptr<UIImageView> imageView();

    [[nodiscard]] UITableViewCellSelectionStyle selectionStyle() const { return selectionStyle_; }
    void setSelectionStyle(UITableViewCellSelectionStyle style) { selectionStyle_ = style; }
    [[nodiscard]] UITableViewCellAccessoryType accessoryType() const { return accessoryType_; }
    void setAccessoryType(UITableViewCellAccessoryType type) { accessoryType_ = type; }
    [[nodiscard]] const std::shared_ptr<UIView>& accessoryView() const { return accessoryView_; }
    void setAccessoryView(std::shared_ptr<UIView> view);
    /// Drawn behind the content view; nil by default for plain cells.
    [[nodiscard]] const std::shared_ptr<UIView>& backgroundView() const { return backgroundView_; }
    void setBackgroundView(std::shared_ptr<UIView> view);
    /// Shown instead of the background while highlighted or selected.
    [[nodiscard]] const std::shared_ptr<UIView>& selectedBackgroundView() const {
        return selectedBackgroundView_;
    }
    void setSelectedBackgroundView(std::shared_ptr<UIView> view);

    [[nodiscard]] bool isSelected() const { return selected_; }
    [[nodiscard]] bool isHighlighted() const { return highlighted_; }
    /// `setSelected:` = setSelected:animated:NO, sent by selector.
    void setSelected(bool selected);
    /// `setHighlighted:` = setHighlighted:animated:NO, sent by selector.
    void setHighlighted(bool highlighted);
    /// `setSelected:animated:` (registered; subclasses override it).
    void setSelectedAnimated(bool selected, bool animated);
    /// `setHighlighted:animated:` (registered).
    void setHighlightedAnimated(bool highlighted, bool animated);
    /// True while the cell shows its selected look (highlighted or selected, with a style).
    [[nodiscard]] bool showsSelectionLook() const;

    [[nodiscard]] bool isEditing() const { return editing_; }
    /// `setEditing:animated:` (registered; the table forwards its editing state).
    void setEditingAnimated(bool editing, bool animated);
    /// `prepareForReuse` (registered): sent by the table before it hands the cell out again. It
    /// clears the highlighted and selected states only; texts, colours and subviews stay.
    void prepareForReuse();

    // What the table shows around the cell in editing mode (set by the table).
    /// The editing control at the left: None, Delete (red minus) or Insert (green plus).
    [[nodiscard]] UITableViewCellEditingStyle editingStyle() const { return editingStyle_; }
    /// True while the reorder grabber shows at the right.
    [[nodiscard]] bool showsReorderControl() const { return showsReorderControl_; }
    void setShowsReorderControl(bool shows) { showsReorderControl_ = shows; }
    /// True while the Delete confirmation button shows (after a swipe or a minus tap).
    [[nodiscard]] bool showingDeleteConfirmation() const { return showingDeleteConfirmation_; }
    [[nodiscard]] bool shouldIndentWhileEditing() const { return shouldIndentWhileEditing_; }
    void setShouldIndentWhileEditing(bool indent) { shouldIndentWhileEditing_ = indent; }

    // Called by UITableView only.
    void setEditingControls(UITableViewCellEditingStyle style, bool reorder);
    void setShowingDeleteConfirmation(bool showing) { showingDeleteConfirmation_ = showing; }

  protected:
    /// Fits the background views to the cell and the content view above the separator line.
    void layoutSubviews() override;

  private:
    void updateSelectionLook();
    void propagateHighlight(UIView& view, bool highlighted);

    UITableViewCellStyle style_ = UITableViewCellStyleDefault;
    std::optional<std::string> reuseIdentifier_;
    std::shared_ptr<UIView> contentView_;
    std::shared_ptr<UILabel> textLabel_;
    std::shared_ptr<UILabel> detailTextLabel_;
    std::shared_ptr<UIImageView> imageView_;
    std::shared_ptr<UIView> accessoryView_;
    std::shared_ptr<UIView> backgroundView_;
    std::shared_ptr<UIView> selectedBackgroundView_;
    UITableViewCellSelectionStyle selectionStyle_ = UITableViewCellSelectionStyleBlue;
    UITableViewCellAccessoryType accessoryType_ = UITableViewCellAccessoryNone;
    bool selected_ = false;
    bool highlighted_ = false;
    bool editing_ = false;
    bool lookShown_ = false;
    UITableViewCellEditingStyle editingStyle_ = UITableViewCellEditingStyleNone;
    bool showsReorderControl_ = false;
    bool showingDeleteConfirmation_ = false;
    bool shouldIndentWhileEditing_ = true;
    /// Background colours cleared while the selected look shows, to restore afterwards.
    std::vector<std::pair<std::weak_ptr<UIView>, std::shared_ptr<UIColor>>> clearedBackgrounds_;
};

template <class T>
std::shared_ptr<T> UITableViewCell::withStyle(UITableViewCellStyle style,
                                              std::optional<std::string> reuseIdentifier) {
    auto cell = rt::make<T>();
    cell->initWithStyleReuseIdentifier(style, std::move(reuseIdentifier));
    return cell;
}
