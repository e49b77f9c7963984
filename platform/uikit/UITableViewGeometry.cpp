// Geometry and scrolling of UITableView: where sections, headers and rows lie, which rows
// overlap the viewport, and the content offset.

#include "platform/uikit/UITableView.h"

#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/runtime/NSException.h"
#include "platform/uikit/UITableViewDataSource.h"
#include "platform/uikit/UITableViewDelegate.h"

#include <algorithm>
#include <string>

// ---- Geometry ------------------------------------------------------------------------------

void UITableView::computeGeometry() {
    auto source = dataSource_.lock();
    auto delegate = delegate_.lock();
    auto table = me();
    bool delegateHeights = delegate && delegate->implements(UITableViewDelegate::Method::HeightForRow);
    bool delegateHeaders =
        delegate && delegate->implements(UITableViewDelegate::Method::HeightForHeaderInSection);
    bool titles = source && source->implements(UITableViewDataSource::Method::TitleForHeaderInSection);

    geometry_.assign(counts_.size(), SectionGeometry{});
    CGFloat y = tableHeaderView_ ? tableHeaderView_->frame().size.height : 0;
    for (std::size_t s = 0; s < counts_.size(); ++s) {
        auto section = static_cast<NSInteger>(s);
        SectionGeometry& g = geometry_[s];
        g.top = y;
        if (delegateHeaders) {
            g.headerHeight = delegate->tableViewHeightForHeaderInSection(table, section);
        } else {
            // A plain table shows a header only for a section with a title.
            bool hasTitle = titles && source->tableViewTitleForHeaderInSection(table, section).has_value();
            g.headerHeight = hasTitle ? sectionHeaderHeight_ : 0;
        }
        y += g.headerHeight;
        for (NSInteger r = 0; r < counts_[s]; ++r) {
            CGFloat h = delegateHeights
                            ? delegate->tableViewHeightForRowAtIndexPath(table, path({section, r}))
                            : rowHeight_;
            g.rowTops.push_back(y);
            g.rowHeights.push_back(h);
            y += h;
        }
        g.bottom = y;
    }
    if (tableFooterView_) {
        auto f = tableFooterView_->frame();
        tableFooterView_->setFrame({{0, y}, {frame().size.width, f.size.height}});
        y += f.size.height;
    }
    if (tableHeaderView_) {
        auto h = tableHeaderView_->frame();
        tableHeaderView_->setFrame({{0, 0}, {frame().size.width, h.size.height}});
    }
    contentHeight_ = y;
    geometryValid_ = true;
}

void UITableView::ensureGeometry() {
    ensureLoaded();
    if (!geometryValid_) {
        computeGeometry();
    }
}

bool UITableView::rowExists(Row row) const {
    return row.section >= 0 && static_cast<std::size_t>(row.section) < counts_.size() && row.row >= 0 &&
           row.row < counts_[static_cast<std::size_t>(row.section)];
}

CGRect UITableView::rectOf(Row row) const {
    if (!geometryValid_ || static_cast<std::size_t>(row.section) >= geometry_.size()) {
        return CGRectZero;
    }
    const SectionGeometry& g = geometry_[static_cast<std::size_t>(row.section)];
    if (row.row < 0 || static_cast<std::size_t>(row.row) >= g.rowTops.size()) {
        return CGRectZero;
    }
    return {{0, g.rowTops[static_cast<std::size_t>(row.row)]},
            {frame().size.width, g.rowHeights[static_cast<std::size_t>(row.row)]}};
}

std::vector<UITableView::Row> UITableView::rowsInViewport(CGFloat margin) const {
    std::vector<Row> rows;
    CGFloat top = contentOffset().y - margin;
    CGFloat bottom = contentOffset().y + frame().size.height + margin;
    for (std::size_t s = 0; s < geometry_.size(); ++s) {
        const SectionGeometry& g = geometry_[s];
        if (g.bottom <= top || g.top >= bottom) {
            continue;
        }
        for (std::size_t r = 0; r < g.rowTops.size(); ++r) {
            CGFloat y = g.rowTops[r];
            CGFloat h = g.rowHeights[r];
            // A row is on screen when it overlaps the viewport by a positive amount.
            if (h > 0 && y < bottom && y + h > top) {
                rows.push_back({static_cast<NSInteger>(s), static_cast<NSInteger>(r)});
            }
        }
    }
    return rows;
}

CGSize UITableView::contentSize() {
    ensureGeometry();
    return {frame().size.width, contentHeight_};
}

CGRect UITableView::rectForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) {
    ensureGeometry();
    auto row = rowOf(indexPath);
    return row && rowExists(*row) ? rectOf(*row) : CGRectZero;
}

CGRect UITableView::rectForHeaderInSection(NSInteger section) {
    ensureGeometry();
    if (section < 0 || static_cast<std::size_t>(section) >= geometry_.size()) {
        return CGRectZero;
    }
    const SectionGeometry& g = geometry_[static_cast<std::size_t>(section)];
    return {{0, g.top}, {frame().size.width, g.headerHeight}};
}

std::shared_ptr<NSIndexPath> UITableView::indexPathForRowAtPoint(CGPoint point) {
    ensureGeometry();
    for (std::size_t s = 0; s < geometry_.size(); ++s) {
        const SectionGeometry& g = geometry_[s];
        for (std::size_t r = 0; r < g.rowTops.size(); ++r) {
            if (point.y >= g.rowTops[r] && point.y < g.rowTops[r] + g.rowHeights[r]) {
                return path({static_cast<NSInteger>(s), static_cast<NSInteger>(r)});
            }
        }
    }
    return nullptr;
}

void UITableView::scrollToRowAtIndexPathAtScrollPositionAnimated(
    const std::shared_ptr<NSIndexPath>& indexPath, UITableViewScrollPosition position, bool animated) {
    ensureGeometry();
    auto row = rowOf(indexPath);
    if (!row || !rowExists(*row)) {
        throw NSException(NSRangeException,
                          "-[UITableView scrollToRowAtIndexPath:atScrollPosition:animated:]: row (" +
                              std::to_string(row ? row->row : -1) + ") beyond bounds for section (" +
                              std::to_string(row ? row->section : -1) + ").");
    }
    CGRect rect = rectOf(*row);
    CGFloat height = frame().size.height;
    CGFloat y = contentOffset().y;
    switch (position) {
    case UITableViewScrollPositionTop:
        y = rect.origin.y;
        break;
    case UITableViewScrollPositionMiddle:
        y = rect.origin.y + rect.size.height / 2 - height / 2;
        break;
    case UITableViewScrollPositionBottom:
        y = rect.origin.y + rect.size.height - height;
        break;
    case UITableViewScrollPositionNone:
    default:
        if (rect.origin.y < y) {
            y = rect.origin.y;
        } else if (rect.origin.y + rect.size.height > y + height) {
            y = rect.origin.y + rect.size.height - height;
        }
        break;
    }
    // Scrolling to a row stays within the content.
    y = std::max<CGFloat>(0, std::min(y, std::max<CGFloat>(0, contentHeight_ - height)));
    setContentOffsetAnimated({contentOffset().x, y}, animated);
}

// ---- Scrolling -----------------------------------------------------------------------------

void UITableView::setContentOffset(CGPoint offset) {
    if (scroll_) {
        NSRunLoop::currentRunLoop().cancel(scroll_->token);
        scroll_.reset();
    }
    setBoundsOrigin(offset);
    setNeedsLayout();
    auto delegate = delegate_.lock();
    if (delegate && delegate->implements(UITableViewDelegate::Method::ScrollViewDidScroll)) {
        delegate->scrollViewDidScroll(me());
    }
}

void UITableView::setContentOffsetAnimated(CGPoint offset, bool animated) {
    if (!animated) {
        setContentOffset(offset);
        return;
    }
    NSRunLoop& runLoop = NSRunLoop::currentRunLoop();
    if (scroll_) {
        runLoop.cancel(scroll_->token);
        scroll_.reset();
    }
    if (offset == contentOffset()) {
        return;
    }
    ScrollAnimation animation{contentOffset(), offset, runLoop.now(), 0};
    std::weak_ptr<UITableView> weak = me();
    animation.token =
        runLoop.scheduleStep(kRowAnimationDuration, "scrollViewDidEndScrollingAnimation:", me(), [weak] {
            auto table = weak.lock();
            if (!table || !table->scroll_) {
                return;
            }
            CGPoint target = table->scroll_->to;
            table->scroll_.reset();
            table->setBoundsOrigin(target);
            table->setNeedsLayout();
            auto delegate = table->delegate_.lock();
            if (delegate && delegate->implements(UITableViewDelegate::Method::ScrollViewDidScroll)) {
                delegate->scrollViewDidScroll(table);
            }
            if (delegate &&
                delegate->implements(UITableViewDelegate::Method::ScrollViewDidEndScrollingAnimation)) {
                delegate->scrollViewDidEndScrollingAnimation(table);
            }
        });
    scroll_ = animation;
}

CGPoint UITableView::presentationContentOffset(NSTimeInterval moment) const {
    if (!scroll_) {
        return contentOffset();
    }
    double p = ui::Animator::curveProgress(UIViewAnimationCurveEaseInOut,
                                           (moment - scroll_->start) / kRowAnimationDuration);
    return {static_cast<CGFloat>(scroll_->from.x + (scroll_->to.x - scroll_->from.x) * p),
            static_cast<CGFloat>(scroll_->from.y + (scroll_->to.y - scroll_->from.y) * p)};
}

CGRect UITableView::laidOutRect(Row row) const {
    CGRect rect = rectOf(row);
    if (!reorder_) {
        return rect;
    }
    const Reorder& held = *reorder_;
    if (row == held.from) {
        rect.origin.y = held.top;
        return rect;
    }
    CGFloat height = rectOf(held.from).size.height;
    if (held.from < held.to) {
        // Dragged down: the rows after it, up to its new place, move up into its room. In its
        // own section the new place counts the rows without it, so that row moves too.
        bool sameSection = held.to.section == held.from.section;
        if (held.from < row && (row < held.to || (sameSection && row == held.to))) {
            rect.origin.y -= height;
        }
    } else if (held.to <= row && row < held.from) {
        rect.origin.y += height;
    }
    return rect;
}

CGFloat UITableView::headerShift(NSInteger section) const {
    if (!reorder_) {
        return 0;
    }
    const Reorder& held = *reorder_;
    CGFloat height = rectOf(held.from).size.height;
    if (held.from.section < section && section <= held.to.section) {
        return -height;
    }
    if (held.to.section < section && section <= held.from.section) {
        return height;
    }
    return 0;
}
