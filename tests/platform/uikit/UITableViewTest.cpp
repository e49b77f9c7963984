// Loading, visibility, reuse and scrolling of UITableView.

#include "tests/platform/uikit/UITableViewTestSupport.h"
#include "tests/support/CaseName.h"

#include <algorithm>
#include <random>

namespace {

using namespace table_tests;

class UITableViewTest : public TableTest {};

TEST_F(UITableViewTest, ReloadFetchesCountsAtOnceAndCellsOnlyAtLayoutForRowsOnScreen) {
    model = std::make_shared<ModelTableWith<DM::WillDisplayCell>>();
    model->sections = {section(std::nullopt, 10, "r")};
    table->setDataSource(model);
    table->setDelegate(model);
    checker = std::make_unique<testing_support::TableChecker>(table);
    table->reloadData();
    EXPECT_EQ(model->log, (std::vector<std::string>{"sections", "rows:0"}));
    EXPECT_EQ(table->cellForRowAtIndexPath(at(0, 0)), nullptr) << "no cell before the layout pass";

    model->log.clear();
    table->layoutIfNeeded();
    EXPECT_EQ(model->logged("cell:"),
              (std::vector<std::string>{"cell:0.0", "cell:0.1", "cell:0.2", "cell:0.3", "cell:0.4"}));
    EXPECT_EQ(model->logged("willDisplay:").size(), 5u);
    EXPECT_EQ(model->log[model->log.size() - 2], "cell:0.4");
    EXPECT_EQ(model->log.back(), "willDisplay:0.4") << "each cell is followed by willDisplay";
    EXPECT_NE(table->cellForRowAtIndexPath(at(0, 4)), nullptr);
    EXPECT_EQ(table->cellForRowAtIndexPath(at(0, 5)), nullptr) << "off screen";
    EXPECT_EQ(table->cellForRowAtIndexPath(at(0, 99)), nullptr) << "out of range";
    EXPECT_EQ(table->cellForRowAtIndexPath(at(3, 0)), nullptr);
    EXPECT_EQ(table->numberOfRowsInSection(0), 10);
    EXPECT_EQ(table->contentSize().height, 440);
}

TEST_F(UITableViewTest, ANilCellRaisesThePlatformsException) {
    model->answerNilCell = true;
    model->sections = {section(std::nullopt, 1, "r")};
    table->setDataSource(model);
    table->reloadData();
    try {
        table->layoutIfNeeded();
        FAIL() << "expected an exception";
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), NSInternalInconsistencyException);
        EXPECT_EQ(e.reason(),
                  "UITableView dataSource must return a cell from tableView:cellForRowAtIndexPath:");
    }
}

struct ViewportCase {
    CGFloat offset;
    std::vector<std::string> rows;
    std::vector<NSInteger> headers;
};

void PrintTo(const ViewportCase& c, std::ostream* out) {
    *out << "offset " << c.offset;
}

class UITableViewViewportTest : public TableTest, public ::testing::WithParamInterface<ViewportCase> {};

// Section 0 has no title (no header), rows 50 high: rows at 0, 50; section 1's header at
// 100-122, its rows at 122, 172, 222, 272, 322.
TEST_P(UITableViewViewportTest, RowsOnScreenFollowHeadersHeightsAndOffset) {
    model = std::make_shared<ModelTableWith<DM::HeightForRow>>();
    model->height = 50;
    show({section(std::nullopt, 2, "a"), section(std::string("B"), 5, "b")});
    table->setContentOffset({0, GetParam().offset});
    table->layoutIfNeeded();
    std::vector<std::string> shown;
    for (const auto& path : table->indexPathsForVisibleRows()) {
        shown.push_back(testing_support::describe(path));
    }
    EXPECT_EQ(shown, GetParam().rows);
    std::vector<NSInteger> headers;
    for (const auto& header : table->visibleHeaders()) {
        headers.push_back(header.section);
        EXPECT_EQ(header.title, "B");
        EXPECT_EQ(header.frame, table->rectForHeaderInSection(header.section));
    }
    EXPECT_EQ(headers, GetParam().headers);
    ASSERT_NE(checker, nullptr);
    EXPECT_EQ(checker->check(), "");
}

INSTANTIATE_TEST_SUITE_P(Offsets, UITableViewViewportTest,
                         ::testing::Values(ViewportCase{0, {"0.0", "0.1", "1.0", "1.1"}, {1}},
                                           ViewportCase{100, {"1.0", "1.1", "1.2", "1.3"}, {1}},
                                           // Rows that only touch the viewport's edges are not on screen.
                                           ViewportCase{50, {"0.1", "1.0", "1.1", "1.2"}, {1}},
                                           ViewportCase{-50, {"0.0", "0.1", "1.0"}, {1}},
                                           ViewportCase{400, {}, {}}),
                         testing_support::PrintedName());

TEST_F(UITableViewTest, ReuseQueuesHandBackCellsOfTheRightIdentifierWithTheirOldContent) {
    model->identifierFor = [](NSInteger s) { return s == 0 ? std::string("A") : std::string("B"); };
    show({section(std::nullopt, 6, "a"), section(std::nullopt, 6, "b")});
    auto firstA = table->cellForRowAtIndexPath(at(0, 0));
    firstA->setTag(42);
    EXPECT_EQ(model->cellsMade, 5);

    table->setContentOffset({0, 264});
    table->layoutIfNeeded();
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{"b0", "b1", "b2", "b3", "b4"}));
    EXPECT_EQ(model->cellsMade, 10) << "cells queued as A are not handed out for B";
    EXPECT_EQ(table->queuedCellCount("A"), 5u);
    for (const auto& cell : table->visibleCells()) {
        EXPECT_EQ(cell->reuseIdentifier(), "B");
    }

    table->setContentOffset({0, 0});
    table->layoutIfNeeded();
    EXPECT_EQ(model->cellsMade, 10) << "the queued A cells came back";
    EXPECT_EQ(table->queuedCellCount("A"), 0u);
    bool found = false;
    for (const auto& cell : table->visibleCells()) {
        found |= cell == firstA;
        EXPECT_EQ(cell->reuseIdentifier(), "A");
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(firstA->tag(), 42) << "a reused cell keeps what its last row left on it";
    EXPECT_EQ(table->dequeueReusableCellWithIdentifier("A"), nullptr);
}

TEST_F(UITableViewTest, ReloadQueuesEveryCellAndClearsTheSelection) {
    show({section(std::nullopt, 3, "r")});
    table->selectRowAtIndexPathAnimatedScrollPosition(at(0, 1), false, UITableViewScrollPositionNone);
    table->reloadData();
    EXPECT_EQ(table->indexPathForSelectedRow(), nullptr);
    EXPECT_TRUE(table->visibleCells().empty());
    EXPECT_EQ(table->queuedCellCount("Cell"), 3u);
    EXPECT_EQ(table->cellForRowAtIndexPath(at(0, 0)), nullptr);
}

TEST_F(UITableViewTest, AnAnimatedOffsetChangeIsNotImmediate) {
    show({section(std::nullopt, 20, "r")});
    table->setContentOffsetAnimated({0, 100}, true);
    EXPECT_EQ(table->contentOffset(), CGPointMake(0, 0));
    EXPECT_GT(table->presentationContentOffset(now() + 0.15).y, 0);
    runFor(0.3);
    EXPECT_EQ(table->contentOffset(), CGPointMake(0, 100));
    table->setContentOffsetAnimated(table->contentOffset(), true);
    EXPECT_TRUE(device.runLoop.pending().empty()) << "animating to where it is does nothing";
}

TEST_F(UITableViewTest, ATableWithoutTitlesShowsNoHeaders) {
    show({section(std::nullopt, 1, "a"), section(std::nullopt, 1, "b")});
    EXPECT_TRUE(table->visibleHeaders().empty());
    EXPECT_EQ(table->rectForRowAtIndexPath(at(1, 0)), CGRectMake(0, 44, 320, 44));
}

TEST_F(UITableViewTest, TheHeaderAndFooterViewsSitAboveAndBelowTheRows) {
    auto header = UIView::withFrame(CGRectMake(7, 9, 100, 50));
    auto footer = UIView::withFrame(CGRectMake(3, 4, 100, 30));
    table->setTableHeaderView(header);
    table->setTableFooterView(footer);
    show({section(std::nullopt, 2, "a")});
    EXPECT_EQ(header->frame(), CGRectMake(0, 0, 320, 50));
    EXPECT_EQ(table->rectForRowAtIndexPath(at(0, 0)), CGRectMake(0, 50, 320, 44));
    EXPECT_EQ(footer->frame(), CGRectMake(0, 138, 320, 30));
}

TEST_F(UITableViewTest, TheBackgroundViewFillsTheTable) {
    auto background = UIView::withFrame(CGRectMake(5, 5, 10, 10));
    table->setBackgroundView(background);
    EXPECT_EQ(table->backgroundView(), background);
    EXPECT_EQ(background->frame(), CGRectMake(0, 0, 320, 220));
    table->setBackgroundView(nullptr);
    EXPECT_EQ(table->backgroundView(), nullptr);
}

// A section or row just outside the table has no rectangle, on either side.
TEST_F(UITableViewTest, PlacesOutsideTheTableHaveAnEmptyRectangle) {
    show({section("A", 2, "a"), section("B", 1, "b")});
    EXPECT_NE(table->rectForHeaderInSection(1), CGRectZero);
    for (const NSInteger section : {NSInteger{-1}, NSInteger{2}}) {
        EXPECT_EQ(table->rectForHeaderInSection(section), CGRectZero) << "section " << section;
        EXPECT_EQ(table->rectForRowAtIndexPath(at(section, 0)), CGRectZero) << "section " << section;
    }
    EXPECT_EQ(table->rectForRowAtIndexPath(at(0, 2)), CGRectZero);
    EXPECT_EQ(table->rectForRowAtIndexPath(at(0, -1)), CGRectZero);
    // Scrolling to such a place raises, naming it (a nil path as row and section -1).
    for (const auto& [path, text] :
         {std::pair{at(0, 2), std::string("row (2) beyond bounds for section (0).")},
          std::pair{std::shared_ptr<NSIndexPath>{},
                    std::string("row (-1) beyond bounds for section (-1).")}}) {
        try {
            table->scrollToRowAtIndexPathAtScrollPositionAnimated(path, UITableViewScrollPositionTop, false);
            ADD_FAILURE() << "expected NSRangeException: " << text;
        } catch (const NSException& e) {
            EXPECT_EQ(e.name(), NSRangeException);
            EXPECT_EQ(e.reason(),
                      "-[UITableView scrollToRowAtIndexPath:atScrollPosition:animated:]: " + text);
        }
    }
}

// The table caches its counts: loaded on first use, or by a reload, they are not asked again
// when the data source changes without telling the table, until the table reloads.
TEST_F(UITableViewTest, CountsStayAsLoadedUntilTheTableReloads) {
    table->setDataSource(model);
    table->setDelegate(model);
    for (const bool reloaded : {false, true}) {
        SCOPED_TRACE(reloaded ? "loaded by a reload" : "loaded on first use");
        model->sections = {section(std::nullopt, 3, "a"), section(std::string("B"), 2, "b")};
        if (reloaded) {
            table->reloadData();
        }
        EXPECT_EQ(table->numberOfRowsInSection(0), 3);
        model->sections[0].rows.emplace_back("late");
        model->sections.push_back(section(std::string("C"), 4, "c"));
        table->setContentOffset({0, 10});
        table->layoutIfNeeded();
        EXPECT_EQ(table->numberOfSections(), 2);
        EXPECT_EQ(table->numberOfRowsInSection(0), 3);
        EXPECT_EQ(table->contentSize().height, 5 * 44 + 22);
    }
    table->reloadData();
    EXPECT_EQ(table->numberOfSections(), 3);
    EXPECT_EQ(table->numberOfRowsInSection(0), 4);
    EXPECT_EQ(table->contentSize().height, 10 * 44 + 2 * 22);
}

// A new data source or delegate is asked afresh at the next layout, without a reload; a table
// with neither lays out empty.
TEST_F(UITableViewTest, ANewDataSourceOrDelegateIsAskedAfresh) {
    auto bare = UITableView::withFrameStyle(CGRectMake(0, 0, 320, 220), UITableViewStylePlain);
    bare->layoutIfNeeded();
    EXPECT_EQ(bare->numberOfSections(), 0);
    EXPECT_EQ(bare->contentSize().height, 0);
    auto tall = std::make_shared<ModelTableWith<DM::HeightForRow>>();
    tall->height = 30;
    tall->sections = {section(std::nullopt, 5, "b")};
    bare->setDataSource(tall);
    bare->layoutIfNeeded();
    EXPECT_EQ(bare->contentSize().height, 5 * 44);
    bare->setDelegate(tall);
    bare->layoutIfNeeded();
    EXPECT_EQ(bare->contentSize().height, 5 * 30);
    EXPECT_EQ(bare->rectForRowAtIndexPath(at(0, 2)), CGRectMake(0, 60, 320, 30));
}

// Seeded sessions of changes to a table's model and its surroundings (header and footer views,
// section header height, reloads, rows dragged in editing mode, scrolls to rows, selections),
// checked after every step against positions worked out from the model alone: every row's
// rectangle and the row found at its middle, the content height, which headers are on screen, the
// offset a scroll to a row (or a selection with a scroll position) lands on, and that each cell
// on screen shows whether its row is selected.
class UITableViewGeometrySessions : public TableTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(UITableViewGeometrySessions, RowsAndHeadersSitWhereTheModelPutsThem) {
    std::mt19937 random(GetParam());
    auto below = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    model = std::make_shared<ModelTableWith<DM::HeightForRow, DS::MoveRow>>();
    auto freshModel = [&] {
        std::vector<ModelSection> sections;
        const std::size_t count = 1 + below(4);
        for (std::size_t s = 0; s < count; ++s) {
            std::optional<std::string> title;
            if (below(3) != 0) {
                title = std::string(1, static_cast<char>('A' + s));
            }
            sections.push_back(
                section(title, static_cast<int>(below(7)), std::string(1, static_cast<char>('a' + s))));
        }
        return sections;
    };
    show(freshModel());
    table->setAllowsMultipleSelection(true);
    const CGFloat viewport = table->frame().size.height;
    CGFloat headerView = 0;
    CGFloat footerView = 0;
    CGFloat sectionHeader = UITableView::kDefaultSectionHeaderHeight;

    // Where the model puts section s: its top, its header's height, its rows' tops, its bottom.
    struct Place {
        CGFloat top, header, bottom;
        std::vector<CGFloat> rows;
    };
    auto places = [&] {
        std::vector<Place> out;
        CGFloat y = headerView;
        for (const auto& s : model->sections) {
            Place p{y, s.title ? sectionHeader : 0, 0, {}};
            y += p.header;
            for (std::size_t r = 0; r < s.rows.size(); ++r) {
                p.rows.push_back(y);
                y += model->height;
            }
            p.bottom = y;
            out.push_back(p);
        }
        return out;
    };
    auto contentHeight = [&] {
        return (places().empty() ? headerView : places().back().bottom) + footerView;
    };
    auto anyRow = [&]() -> std::shared_ptr<NSIndexPath> {
        std::vector<std::shared_ptr<NSIndexPath>> rows;
        for (std::size_t s = 0; s < model->sections.size(); ++s) {
            for (std::size_t r = 0; r < model->sections[s].rows.size(); ++r) {
                rows.push_back(at(static_cast<NSInteger>(s), static_cast<NSInteger>(r)));
            }
        }
        return rows.empty() ? nullptr : rows[below(rows.size())];
    };

    auto anyPosition = [&] {
        const UITableViewScrollPosition positions[] = {
            UITableViewScrollPositionNone, UITableViewScrollPositionTop, UITableViewScrollPositionMiddle,
            UITableViewScrollPositionBottom};
        return positions[below(4)];
    };
    // Where a scroll to `row` at `position` brings the offset: the row at the top, middle or bottom
    // of the viewport, or (at no position) just into view when it is not, within the content.
    auto scrollTarget = [&](const std::shared_ptr<NSIndexPath>& row, UITableViewScrollPosition position) {
        const Place p = places()[static_cast<std::size_t>(row->section())];
        const CGFloat top = p.rows[static_cast<std::size_t>(row->row())];
        const CGFloat bottom = top + model->height;
        CGFloat y = table->contentOffset().y;
        if (position == UITableViewScrollPositionTop ||
            (position == UITableViewScrollPositionNone && top < y)) {
            y = top;
        } else if (position == UITableViewScrollPositionMiddle) {
            y = (top + bottom - viewport) / 2;
        } else if (position == UITableViewScrollPositionBottom ||
                   (position == UITableViewScrollPositionNone && bottom > y + viewport)) {
            y = bottom - viewport;
        }
        return std::clamp<CGFloat>(y, 0, std::max<CGFloat>(0, contentHeight() - viewport));
    };

    for (int step = 0; step < 30; ++step) {
        std::string what;
        std::optional<CGFloat> expectedOffset;
        switch (below(8)) {
        case 0:
            headerView = below(3) == 0 ? 0 : static_cast<CGFloat>(20 + below(60));
            what = "header view " + std::to_string(headerView);
            table->setTableHeaderView(headerView > 0 ? UIView::withFrame(CGRectMake(0, 0, 320, headerView))
                                                     : nullptr);
            break;
        case 1:
            footerView = below(3) == 0 ? 0 : static_cast<CGFloat>(20 + below(60));
            what = "footer view " + std::to_string(footerView);
            table->setTableFooterView(footerView > 0 ? UIView::withFrame(CGRectMake(0, 0, 320, footerView))
                                                     : nullptr);
            break;
        case 2: {
            const CGFloat heights[] = {0, 1, 22, 30};
            sectionHeader = heights[below(4)];
            what = "section header height " + std::to_string(sectionHeader);
            table->setSectionHeaderHeight(sectionHeader);
            break;
        }
        case 3:
            what = "reload";
            model->sections = freshModel();
            model->height = below(2) == 0 ? 44 : 30;
            table->reloadData();
            break;
        case 4: {
            auto cells = table->indexPathsForVisibleRows();
            auto to = anyRow();
            if (cells.empty() || !to) {
                continue;
            }
            auto from = cells[below(cells.size())];
            what = "drag " + testing_support::describe(from) + " to " + testing_support::describe(to);
            table->setEditing(true);
            table->layoutIfNeeded();
            EXPECT_TRUE(table->simulateDrag(from, to)) << what;
            table->setEditing(false);
            break;
        }
        case 5: {
            auto row = anyRow();
            if (!row) {
                continue;
            }
            const auto position = anyPosition();
            what = "scroll to " + testing_support::describe(row) + " at " + std::to_string(position);
            expectedOffset = scrollTarget(row, position);
            table->scrollToRowAtIndexPathAtScrollPositionAnimated(row, position, false);
            break;
        }
        case 6: {
            const CGFloat most = std::max<CGFloat>(0, contentHeight() - viewport);
            const CGFloat y = std::floor(most * static_cast<CGFloat>(below(101)) / 100);
            what = "offset " + std::to_string(y);
            table->setContentOffset({0, y});
            break;
        }
        default: {
            auto row = anyRow();
            if (!row) {
                continue;
            }
            const bool selected =
                table->cellForRowAtIndexPath(row) && table->cellForRowAtIndexPath(row)->isSelected();
            const auto position = anyPosition();
            what = (selected ? "deselect " : "select at " + std::to_string(position) + " ") +
                   testing_support::describe(row);
            if (selected) {
                table->deselectRowAtIndexPathAnimated(row, false);
            } else {
                // Selecting scrolls as a scroll to the row does, unless told not to scroll.
                expectedOffset = position == UITableViewScrollPositionNone ? table->contentOffset().y
                                                                           : scrollTarget(row, position);
                table->selectRowAtIndexPathAnimatedScrollPosition(row, false, position);
            }
        }
        }
        table->layoutIfNeeded();
        SCOPED_TRACE("step " + std::to_string(step) + ": " + what);
        if (expectedOffset) {
            EXPECT_EQ(table->contentOffset().y, *expectedOffset);
        }
        const auto expected = places();
        EXPECT_EQ(table->contentSize().height, contentHeight());
        const CGFloat top = table->contentOffset().y;
        std::vector<NSInteger> headers;
        for (std::size_t s = 0; s < expected.size(); ++s) {
            const Place& p = expected[s];
            for (std::size_t r = 0; r < p.rows.size(); ++r) {
                EXPECT_EQ(
                    table->rectForRowAtIndexPath(at(static_cast<NSInteger>(s), static_cast<NSInteger>(r))),
                    CGRectMake(0, p.rows[r], 320, model->height))
                    << "row " << s << "." << r;
                const auto found = table->indexPathForRowAtPoint({160, p.rows[r] + model->height / 2});
                EXPECT_TRUE(found && found->section() == static_cast<NSInteger>(s) &&
                            found->row() == static_cast<NSInteger>(r))
                    << "the row under the middle of row " << s << "." << r;
            }
            if (p.header > 0 && p.bottom > top && p.top < top + viewport) {
                headers.push_back(static_cast<NSInteger>(s));
            }
        }
        std::vector<NSInteger> shownHeaders;
        for (const auto& header : table->visibleHeaders()) {
            shownHeaders.push_back(header.section);
        }
        EXPECT_EQ(shownHeaders, headers);
        const auto selected = table->indexPathsForSelectedRows();
        for (const auto& cell : table->visibleCells()) {
            auto path = table->indexPathForCell(cell);
            ASSERT_NE(path, nullptr);
            const bool listed = std::any_of(selected.begin(), selected.end(), [&](const auto& p) {
                return p->compare(*path) == NSOrderedSame;
            });
            EXPECT_EQ(cell->isSelected(), listed) << "the cell of " << testing_support::describe(path);
        }
        ASSERT_NE(checker, nullptr);
        ASSERT_EQ(checker->check(), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, UITableViewGeometrySessions, ::testing::Range(1U, 21U),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "seed_" + std::to_string(info.param);
                         });

} // namespace
