#include "platform/uikit/UITableView.h"

#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/runtime/Message.h"
#include "platform/runtime/NSException.h"
#include "platform/uikit/UIKitMessages.h"
#include "platform/uikit/UITableViewDataSource.h"
#include "platform/uikit/UITableViewDelegate.h"

#include <algorithm>

UITableView::UITableView() = default;

void UITableView::initWithFrameStyle(CGRect frame, UITableViewStyle style) {
    initWithFrame(frame);
    style_ = style;
}

std::shared_ptr<UITableView> UITableView::withFrameStyle(CGRect frame, UITableViewStyle style) {
    auto table = rt::make<UITableView>();
    table->initWithFrameStyle(frame, style);
    return table;
}

std::shared_ptr<UITableView> UITableView::me() {
    return self<UITableView>();
}

std::shared_ptr<NSIndexPath> UITableView::path(Row row) {
    return NSIndexPath::indexPathForRowInSection(row.row, row.section);
}

std::optional<UITableView::Row> UITableView::rowOf(const std::shared_ptr<NSIndexPath>& indexPath) {
    if (!indexPath) {
        return std::nullopt;
    }
    return Row{indexPath->section(), indexPath->row()};
}

void UITableView::setDataSource(std::weak_ptr<UITableViewDataSource> dataSource) {
    dataSource_ = std::move(dataSource);
    loaded_ = false;
    geometryValid_ = false;
    setNeedsLayout();
}

void UITableView::setDelegate(std::weak_ptr<UITableViewDelegate> delegate) {
    delegate_ = std::move(delegate);
    geometryValid_ = false;
    setNeedsLayout();
}

void UITableView::setRowHeight(CGFloat height) {
    rowHeight_ = height;
    geometryValid_ = false;
    setNeedsLayout();
}

void UITableView::setSectionHeaderHeight(CGFloat height) {
    sectionHeaderHeight_ = height;
    geometryValid_ = false;
    setNeedsLayout();
}

void UITableView::setBackgroundView(std::shared_ptr<UIView> view) {
    backgroundView_ = std::move(view);
    if (backgroundView_) {
        backgroundView_->setFrame({{0, 0}, frame().size});
    }
}

void UITableView::setTableHeaderView(std::shared_ptr<UIView> view) {
    if (tableHeaderView_) {
        tableHeaderView_->removeFromSuperview();
    }
    tableHeaderView_ = std::move(view);
    if (tableHeaderView_) {
        addSubview(tableHeaderView_);
    }
    geometryValid_ = false;
    setNeedsLayout();
}

void UITableView::setTableFooterView(std::shared_ptr<UIView> view) {
    if (tableFooterView_) {
        tableFooterView_->removeFromSuperview();
    }
    tableFooterView_ = std::move(view);
    if (tableFooterView_) {
        addSubview(tableFooterView_);
    }
    geometryValid_ = false;
    setNeedsLayout();
}

// ---- Loading -------------------------------------------------------------------------------

ui::RowCounts UITableView::fetchCounts() {
    ui::RowCounts counts;
    auto source = dataSource_.lock();
    if (!source) {
        return counts;
    }
    auto table = me();
    NSInteger sections = source->implements(UITableViewDataSource::Method::NumberOfSections)
                             ? source->numberOfSectionsInTableView(table)
                             : 1;
    for (NSInteger s = 0; s < sections; ++s) {
        counts.push_back(std::max<NSInteger>(0, source->tableViewNumberOfRowsInSection(table, s)));
    }
    return counts;
}

void UITableView::ensureLoaded() {
    if (!loaded_) {
        counts_ = fetchCounts();
        loaded_ = true;
        geometryValid_ = false;
    }
}

void UITableView::reloadData() {
    // Rows change under a held row: it is let go.
    endReorder();
    auto keep = me();
    if (swipeRow_) {
        endSwipe();
    }
    confirmRow_.reset();
    confirmCell_.reset();
    for (auto& [row, cell] : visible_) {
        enqueue(cell);
    }
    visible_.clear();
    for (auto& dying : dying_) {
        enqueue(dying.cell);
    }
    dying_.clear();
    headers_.clear();
    selected_.clear();
    counts_ = fetchCounts();
    loaded_ = true;
    geometryValid_ = false;
    // A reload inside a batch is forbidden by the platform's documentation; the batch is then
    // validated against what this reload found, so recorded changes the data source already
    // shows fail as they would on the phone.
    if (updateDepth_ > 0) {
        batch_.before = counts_;
    }
    setNeedsLayout();
    notifyChange(Change::Model);
}

NSInteger UITableView::numberOfSections() {
    ensureLoaded();
    return static_cast<NSInteger>(counts_.size());
}

NSInteger UITableView::numberOfRowsInSection(NSInteger section) {
    ensureLoaded();
    if (section < 0 || static_cast<std::size_t>(section) >= counts_.size()) {
        return 0;
    }
    return counts_[static_cast<std::size_t>(section)];
}

// ---- Cells ---------------------------------------------------------------------------------

void UITableView::enqueue(const std::shared_ptr<UITableViewCell>& cell) {
    if (!cell) {
        return;
    }
    cell->removeFromSuperview();
    // A cell without an identifier is never queued.
    if (const auto& identifier = cell->reuseIdentifier()) {
        auto& queue = queues_[*identifier];
        if (std::find(queue.begin(), queue.end(), cell) == queue.end()) {
            queue.push_back(cell);
        }
    }
}

std::shared_ptr<UITableViewCell>
UITableView::dequeueReusableCellWithIdentifier(const std::string& identifier) {
    auto found = queues_.find(identifier);
    if (found == queues_.end() || found->second.empty()) {
        return nullptr;
    }
    auto cell = found->second.back();
    found->second.pop_back();
    rt::send(cell, msg::prepareForReuse);
    return cell;
}

std::size_t UITableView::queuedCellCount(const std::string& identifier) const {
    auto found = queues_.find(identifier);
    return found == queues_.end() ? 0 : found->second.size();
}

std::shared_ptr<UITableViewCell> UITableView::cellAt(Row row) const {
    auto found = visible_.find(row);
    return found == visible_.end() ? nullptr : found->second;
}

std::shared_ptr<UITableViewCell>
UITableView::cellForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) const {
    auto row = rowOf(indexPath);
    return row ? cellAt(*row) : nullptr;
}

std::vector<std::shared_ptr<UITableViewCell>> UITableView::visibleCells() const {
    std::vector<std::shared_ptr<UITableViewCell>> cells;
    for (const auto& [row, cell] : visible_) {
        cells.push_back(cell);
    }
    return cells;
}

std::vector<std::shared_ptr<NSIndexPath>> UITableView::indexPathsForVisibleRows() const {
    std::vector<std::shared_ptr<NSIndexPath>> paths;
    for (const auto& [row, cell] : visible_) {
        paths.push_back(path(row));
    }
    return paths;
}

std::shared_ptr<NSIndexPath>
UITableView::indexPathForCell(const std::shared_ptr<UITableViewCell>& cell) const {
    for (const auto& [row, shown] : visible_) {
        if (shown == cell) {
            return path(row);
        }
    }
    return nullptr;
}

void UITableView::displayCell(Row row, const std::shared_ptr<UITableViewCell>& cell) {
    visible_[row] = cell;
    cell->setFrame(laidOutRect(row));
    if (cell->superview().get() != this) {
        addSubview(cell);
    }
    bool cellEditing = editing_ && !swipeRow_;
    if (cell->isEditing() != cellEditing) {
        rt::send(cell, msg::setEditingAnimated, cellEditing, false);
    }
    configureEditingControls(row, cell);
    cell->setShowingDeleteConfirmation(cell == swipeCell_ || cell == confirmCell_);
    bool selected = selected_.count(row) != 0;
    if (cell->isSelected() != selected) {
        rt::send(cell, msg::setSelectedAnimated, selected, false);
    }
    auto delegate = delegate_.lock();
    if (delegate && delegate->implements(UITableViewDelegate::Method::WillDisplayCell)) {
        delegate->tableViewWillDisplayCellForRowAtIndexPath(me(), cell, path(row));
    }
}

void UITableView::layoutSubviews() {
    auto keep = me();
    ensureGeometry();
    if (backgroundView_) {
        backgroundView_->setFrame({{0, 0}, frame().size});
    }
    // While a row is held, rows a row's height beyond the viewport may move into it, and the
    // held row stays wherever it is dragged.
    std::vector<Row> rows = rowsInViewport(reorder_ ? rectOf(reorder_->from).size.height : 0);
    if (reorder_ && std::find(rows.begin(), rows.end(), reorder_->from) == rows.end()) {
        rows.push_back(reorder_->from);
    }
    std::set<Row> wanted(rows.begin(), rows.end());
    for (auto it = visible_.begin(); it != visible_.end();) {
        if (wanted.count(it->first) == 0) {
            auto cell = it->second;
            it = visible_.erase(it);
            // A Delete button leaves the screen with its cell.
            if (cell == confirmCell_) {
                confirmCell_.reset();
                confirmRow_.reset();
            }
            if (cell == swipeCell_) {
                cell->setShowingDeleteConfirmation(false);
                swipeCell_.reset();
            }
            enqueue(cell);
        } else {
            ++it;
        }
    }
    auto source = dataSource_.lock();
    for (Row row : rows) {
        if (auto cell = cellAt(row)) {
            cell->setFrame(laidOutRect(row));
            continue;
        }
        if (!source) {
            break;
        }
        auto cell = source->tableViewCellForRowAtIndexPath(keep, path(row));
        if (!cell) {
            throw NSException(
                NSInternalInconsistencyException,
                "UITableView dataSource must return a cell from tableView:cellForRowAtIndexPath:");
        }
        displayCell(row, cell);
    }
    // Headers of the sections on screen; a plain header sticks to the top while its section
    // scrolls under it, until the section's end pushes it up.
    headers_.clear();
    CGFloat top = contentOffset().y;
    CGFloat bottom = top + frame().size.height;
    bool titles = source && source->implements(UITableViewDataSource::Method::TitleForHeaderInSection);
    for (std::size_t s = 0; s < geometry_.size(); ++s) {
        SectionGeometry g = geometry_[s];
        CGFloat shift = headerShift(static_cast<NSInteger>(s));
        g.top += shift;
        g.bottom += shift;
        if (g.headerHeight <= 0 || g.bottom <= top || g.top >= bottom) {
            continue;
        }
        VisibleHeader header;
        header.section = static_cast<NSInteger>(s);
        header.title = titles ? source->tableViewTitleForHeaderInSection(keep, header.section) : std::nullopt;
        header.frame = {{0, g.top}, {frame().size.width, g.headerHeight}};
        CGFloat floating = std::max(g.top, std::min(top, g.bottom - g.headerHeight));
        header.floatingFrame = {{0, floating}, header.frame.size};
        headers_.push_back(header);
    }
    if (reorder_) {
        if (auto lifted = cellAt(reorder_->from)) {
            bringSubviewToFront(lifted);
        }
    }
    notifyChange(Change::Layout);
}

// ---- Observers -----------------------------------------------------------------------------

std::uint64_t UITableView::addChangeObserver(std::function<void(UITableView&, Change)> observer) {
    std::uint64_t token = nextObserver_++;
    observers_.emplace_back(token, std::move(observer));
    return token;
}

void UITableView::removeChangeObserver(std::uint64_t token) {
    std::erase_if(observers_, [token](const auto& entry) { return entry.first == token; });
}

void UITableView::notifyChange(Change change) {
    auto observers = observers_;
    for (auto& [token, observer] : observers) {
        observer(*this, change);
    }
}
