// The table and cell parts of ViewPainter.

#include "simulator/render/RowFade.h"
#include "simulator/render/TextPainter.h"
#include "simulator/render/ViewPainter.h"

#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITableViewCell.h"
#include "platform/uikit/UIViewAnimation.h"

#include <algorithm>

namespace render {
namespace {

// The plain style's separator line.
constexpr Rgba kSeparator = Rgba::white(0.88);

} // namespace

void ViewPainter::paintTable(const std::shared_ptr<UITableView>& table, CGSize size) {
    // The background view stays put while the rows scroll over it.
    paint(table->backgroundView());
    CGPoint offset = table->presentationContentOffset(moment_);
    cairo_save(cr_);
    cairo_translate(cr_, -offset.x, -offset.y);
    const auto& dying = table->dyingCells();
    for (const auto& child : table->subviews()) {
        auto found = std::find_if(dying.begin(), dying.end(),
                                  [&](const UITableView::DyingCell& d) { return d.cell == child; });
        if (found != dying.end()) {
            paintFaded(child, dyingRowFade(*found, moment_));
        } else {
            paint(child);
        }
    }
    if (table->separatorStyle() != UITableViewCellSeparatorStyleNone) {
        setColor(cr_, kSeparator);
        for (const auto& cell : table->visibleCells()) {
            CGRect frame = cell->presentationFrame(moment_);
            cairo_rectangle(cr_, frame.origin.x, CGRectGetMaxY(frame) - 1, size.width, 1);
            cairo_fill(cr_);
        }
    }
    for (const auto& header : table->visibleHeaders()) {
        if (header.title) {
            paintSectionHeader(*header.title, header.floatingFrame);
        }
    }
    cairo_restore(cr_);
}

void ViewPainter::paintSectionHeader(const std::string& title, CGRect frame) {
    cairo_rectangle(cr_, frame.origin.x, frame.origin.y, frame.size.width, frame.size.height);
    fillVertical(cr_, frame, {0.57, 0.62, 0.68, 0.92}, {0.70, 0.74, 0.78, 0.92});
    setColor(cr_, {0.44, 0.49, 0.55, 1});
    cairo_rectangle(cr_, frame.origin.x, frame.origin.y, frame.size.width, 1);
    cairo_fill(cr_);
    TextStyle style;
    style.size = 18;
    style.bold = true;
    style.color = Rgba::white(1);
    style.shadow = {0.27, 0.30, 0.35, 1};
    style.shadowOffset = {0, 1};
    drawText(cr_, title,
             CGRectMake(frame.origin.x + 12, frame.origin.y, frame.size.width - 24, frame.size.height),
             style);
}

void ViewPainter::paintCellChildren(const std::shared_ptr<UITableViewCell>& cell, CGSize size) {
    // The selected look lies over the row's background and under its content; a selected
    // background view of the cell's own replaces it.
    bool fill = cell->showsSelectionLook() && !cell->selectedBackgroundView() &&
                cell->selectionStyle() != UITableViewCellSelectionStyleNone;
    auto paintSelection = [&] {
        if (!fill) {
            return;
        }
        fill = false;
        CGRect area = CGRectMake(0, 0, size.width, size.height);
        cairo_rectangle(cr_, 0, 0, size.width, size.height);
        if (cell->selectionStyle() == UITableViewCellSelectionStyleGray) {
            fillVertical(cr_, area, Rgba::white(0.74), Rgba::white(0.52));
        } else {
            fillVertical(cr_, area, {0.02, 0.55, 0.96, 1}, {0.01, 0.37, 0.88, 1});
        }
    };
    CGPoint origin = cell->bounds().origin;
    cairo_save(cr_);
    cairo_translate(cr_, -origin.x, -origin.y);
    for (const auto& child : cell->subviews()) {
        if (child != cell->backgroundView() && child != cell->selectedBackgroundView()) {
            paintSelection();
        }
        paint(child);
    }
    paintSelection();
    cairo_restore(cr_);
}

void ViewPainter::paintCellControls(UITableViewCell& cell, CGSize size) {
    double middle = size.height / 2;
    UITableViewCellEditingStyle style = cell.editingStyle();
    if (style != UITableViewCellEditingStyleNone) {
        // The round control at the left: a red minus, or a green plus.
        bool remove = style == UITableViewCellEditingStyleDelete;
        cairo_arc(cr_, 20, middle, 11, 0, 2 * M_PI);
        setColor(cr_, Rgba::white(1));
        cairo_fill(cr_);
        cairo_arc(cr_, 20, middle, 9.5, 0, 2 * M_PI);
        fillVertical(cr_, CGRectMake(9, static_cast<CGFloat>(middle - 10), 22, 20),
                     remove ? Rgba{0.95, 0.35, 0.33, 1} : Rgba{0.40, 0.80, 0.30, 1},
                     remove ? Rgba{0.80, 0.07, 0.05, 1} : Rgba{0.15, 0.60, 0.10, 1});
        setColor(cr_, Rgba::white(1));
        // While its Delete button shows, the minus turns upright.
        bool upright = remove && cell.showingDeleteConfirmation();
        cairo_rectangle(cr_, upright ? 18.5 : 13.5, upright ? middle - 6 : middle - 1.5, upright ? 3 : 13,
                        upright ? 13 : 3);
        if (!remove) {
            cairo_rectangle(cr_, 18.5, middle - 6.5, 3, 13);
        }
        cairo_fill(cr_);
    }
    if (cell.showingDeleteConfirmation()) {
        CGRect button = CGRectMake(size.width - 74, static_cast<CGFloat>(middle - 16), 64, 32);
        roundedRect(cr_, button, 6);
        fillVertical(cr_, button, {0.93, 0.35, 0.33, 1}, {0.72, 0.05, 0.04, 1});
        roundedRect(cr_, inset(button, 0.5f), 6);
        setColor(cr_, {0.45, 0.0, 0.0, 1});
        cairo_set_line_width(cr_, 1);
        cairo_stroke(cr_);
        TextStyle text;
        text.size = 15;
        text.bold = true;
        text.color = Rgba::white(1);
        text.shadow = Rgba::white(0, 0.4);
        text.align = TextStyle::Align::Center;
        drawText(cr_, "Delete", button, text);
    } else if (cell.showsReorderControl()) {
        // The grabber: three short lines at the right.
        setColor(cr_, Rgba::white(0.55));
        for (int line = -1; line <= 1; ++line) {
            cairo_rectangle(cr_, size.width - 36, middle + line * 5 - 1, 20, 2);
        }
        cairo_fill(cr_);
    }
}

} // namespace render
