#pragma once
// The cell of both browser tables: three shadow-swapping labels placed once, from the frame the
// cell has when it is made, and added to the cell itself above its content view. The rows set their
// texts; the cell only builds and styles the labels. Highlighting or selecting the row highlights
// the labels, which then show their highlighted text colour and shadow.

#include "platform/runtime/Message.h"
#include "platform/runtime/NSObject.h"
#include "platform/uikit/UITableViewCell.h"

#include <memory>
#include <optional>
#include <string>

class LVLabel;

/// `LVTableViewCell`: a table cell with the labels `mainLabel`, `lapsLabel` and `dateLabel`.
class LVTableViewCell : public UITableViewCell {
  public:
    static constexpr const char* kClassName = "LVTableViewCell";
    using Super = UITableViewCell;
    static void describe(rt::ClassBuilder& b);

    /// A new cell made by sending `initWithStyle:reuseIdentifier:`.
    static std::shared_ptr<LVTableViewCell> make(UITableViewCellStyle style,
                                                 std::optional<std::string> reuseIdentifier);

    /// `initWithStyle:reuseIdentifier:` (registered): the inherited initialiser, then the labels
    /// `dateLabel`, `lapsLabel` and `mainLabel`, each built, styled and added in that order.
    void initWithStyleReuseIdentifier(UITableViewCellStyle style, std::optional<std::string> reuseIdentifier);

    /// `setSelected:animated:` (registered): the inherited operation, unchanged.
    void setSelectedAnimated(bool selected, bool animated);

    /// `mainLabel`: the large text (a result's total text, or a lap's text).
    [[nodiscard]] const std::shared_ptr<LVLabel>& mainLabel() const { return mainLabel_; }
    /// `setMainLabel:`; only stores the label, it neither adds nor removes a subview.
    void setMainLabel(std::shared_ptr<LVLabel> label) { mainLabel_ = std::move(label); }
    /// `lapsLabel`: the small bold text at the right (a lap count, or a lap's number).
    [[nodiscard]] const std::shared_ptr<LVLabel>& lapsLabel() const { return lapsLabel_; }
    /// `setLapsLabel:`; only stores the label.
    void setLapsLabel(std::shared_ptr<LVLabel> label) { lapsLabel_ = std::move(label); }
    /// `dateLabel`: the small text in the lower part (a result's date).
    [[nodiscard]] const std::shared_ptr<LVLabel>& dateLabel() const { return dateLabel_; }
    /// `setDateLabel:`; only stores the label.
    void setDateLabel(std::shared_ptr<LVLabel> label) { dateLabel_ = std::move(label); }

  private:
    void buildDateLabel(CGFloat width);
    void buildLapsLabel(CGFloat width);
    void buildMainLabel(CGFloat width, CGFloat height);

    std::shared_ptr<LVLabel> dateLabel_;
    std::shared_ptr<LVLabel> lapsLabel_;
    std::shared_ptr<LVLabel> mainLabel_;
};
