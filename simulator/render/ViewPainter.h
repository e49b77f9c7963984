#pragma once
// Draws a view tree as the phone draws it: each view at its frame as it stands at the picture's
// moment (so a sliding panel is caught mid-slide), faded by its alpha, clipped where it clips,
// its subviews back to front. Each kind of view draws its own content: a background colour,
// an image, a label's text with its shadow, a button's background image and title, a text
// field's bezel, a navigation bar with its items, a table with its fixed background view,
// rows, separators and floating section headers, a cell with its selection and editing controls.

#include "simulator/render/ImagePainter.h"

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/uikit/UITableView.h"

#include <cairo.h>

#include <memory>
#include <vector>

class UIButton;
class UILabel;
class UINavigationBar;
class UITableViewCell;
class UITextField;
class UIView;

namespace render {

/// One view as the painter drew it, in the context's device space (points at scale 1).
struct PaintedView {
    const UIView* view = nullptr;
    /// Where the view's frame was drawn.
    CGRect frame{};
    /// What the clip left of the context where it was drawn.
    CGRect clip{};
};

/// Paints views onto a cairo context whose unit is the point.
class ViewPainter {
  public:
    ViewPainter(cairo_t* cr, NSTimeInterval moment, ImagePainter& images)
        : cr_(cr), moment_(moment), images_(&images) {}

    /// Draws `view` and everything below it; the context's origin is the superview's content
    /// origin.
    void paint(const std::shared_ptr<UIView>& view);
    /// Notes every view drawn from now on in `record` (nil to stop): a check that the picture
    /// holds what the screen's other views say it holds.
    void recordInto(std::vector<PaintedView>* record) { record_ = record; }

  private:
    /// Draws `view` with an extra fade (a row animating out).
    void paintFaded(const std::shared_ptr<UIView>& view, double fade);
    void paintContent(const std::shared_ptr<UIView>& view, CGSize size);
    void note(const UIView* view, CGSize size);
    void paintChildren(const std::shared_ptr<UIView>& view);
    void paintBackground(const UIView& view, CGSize size);
    void paintLabel(UILabel& label, CGSize size);
    void paintButton(UIButton& button, CGSize size);
    void paintTextField(const UITextField& field, CGSize size);
    void paintNavigationBar(const UINavigationBar& bar, CGSize size);

    // Tables (ViewPainterTables.cpp).
    void paintTable(const std::shared_ptr<UITableView>& table, CGSize size);
    void paintCellChildren(const std::shared_ptr<UITableViewCell>& cell, CGSize size);
    void paintCellControls(UITableViewCell& cell, CGSize size);
    void paintSectionHeader(const std::string& title, CGRect frame);

    cairo_t* cr_;
    NSTimeInterval moment_;
    ImagePainter* images_;
    std::vector<PaintedView>* record_ = nullptr;
};

} // namespace render
