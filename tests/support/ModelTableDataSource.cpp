#include "tests/support/ModelTableDataSource.h"

#include "platform/foundation/NSIndexPath.h"
#include "platform/uikit/UILabel.h"

namespace testing_support {

std::string describe(const std::shared_ptr<NSIndexPath>& path) {
    return path ? std::to_string(path->section()) + "." + std::to_string(path->row()) : std::string("nil");
}

std::vector<std::string> ModelTableDataSource::logged(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& entry : log) {
        if (entry.rfind(prefix, 0) == 0) {
            out.push_back(entry);
        }
    }
    return out;
}

bool ModelTableDataSource::hasRow(const std::shared_ptr<NSIndexPath>& path) {
    bool ok = path && path->section() >= 0 && static_cast<std::size_t>(path->section()) < sections.size() &&
              path->row() >= 0 &&
              static_cast<std::size_t>(path->row()) <
                  sections[static_cast<std::size_t>(path->section())].rows.size();
    if (!ok) {
        ++outOfRange;
    }
    return ok;
}

NSInteger ModelTableDataSource::answerNumberOfSections() {
    log.push_back("sections");
    return static_cast<NSInteger>(sections.size());
}

NSInteger ModelTableDataSource::tableViewNumberOfRowsInSection(TableRef, NSInteger section) {
    log.push_back("rows:" + std::to_string(section));
    if (section < 0 || static_cast<std::size_t>(section) >= sections.size()) {
        ++outOfRange;
        return 0;
    }
    return static_cast<NSInteger>(sections[static_cast<std::size_t>(section)].rows.size());
}

std::shared_ptr<UITableViewCell> ModelTableDataSource::tableViewCellForRowAtIndexPath(TableRef table,
                                                                                      PathRef path) {
    log.push_back("cell:" + describe(path));
    if (answerNilCell) {
        return nullptr;
    }
    std::string identifier = identifierFor(path->section());
    auto cell = table->dequeueReusableCellWithIdentifier(identifier);
    if (!cell) {
        cell = UITableViewCell::withStyle(UITableViewCellStyleDefault, identifier);
        ++cellsMade;
    }
    if (hasRow(path)) {
        cell->textLabel()->setText(
            sections[static_cast<std::size_t>(path->section())].rows[static_cast<std::size_t>(path->row())]);
    }
    return cell;
}

std::optional<std::string> ModelTableDataSource::answerTitleForHeader(NSInteger section) {
    log.push_back("title:" + std::to_string(section));
    if (section < 0 || static_cast<std::size_t>(section) >= sections.size()) {
        ++outOfRange;
        return std::nullopt;
    }
    return sections[static_cast<std::size_t>(section)].title;
}

bool ModelTableDataSource::answerCanEditRow(PathRef path) {
    log.push_back("canEdit:" + describe(path));
    hasRow(path);
    return notEditable.count({path->section(), path->row()}) == 0;
}

UITableViewCellEditingStyle ModelTableDataSource::answerEditingStyle(PathRef path) {
    log.push_back("style:" + describe(path));
    hasRow(path);
    const auto found = editingStyles.find({path->section(), path->row()});
    return found == editingStyles.end() ? UITableViewCellEditingStyleDelete : found->second;
}

bool ModelTableDataSource::answerCanMoveRow(PathRef path) {
    log.push_back("canMove:" + describe(path));
    hasRow(path);
    return notMovable.count({path->section(), path->row()}) == 0;
}

void ModelTableDataSource::answerCommitEditingStyle(TableRef table, UITableViewCellEditingStyle style,
                                                    PathRef path) {
    log.push_back("commit:" + std::to_string(style) + ":" + describe(path));
    if (style != UITableViewCellEditingStyleDelete || !hasRow(path)) {
        return;
    }
    if (onCommitDelete) {
        onCommitDelete(table, path);
        return;
    }
    auto& rows = sections[static_cast<std::size_t>(path->section())].rows;
    rows.erase(rows.begin() + path->row());
    table->deleteRowsAtIndexPathsWithRowAnimation({path}, UITableViewRowAnimationFade);
}

void ModelTableDataSource::answerMoveRow(PathRef from, PathRef to) {
    log.push_back("move:" + describe(from) + "->" + describe(to));
    if (onMove) {
        onMove(from, to);
        return;
    }
    if (!hasRow(from)) {
        return;
    }
    auto& source = sections[static_cast<std::size_t>(from->section())].rows;
    std::string item = source[static_cast<std::size_t>(from->row())];
    source.erase(source.begin() + from->row());
    auto& target = sections[static_cast<std::size_t>(to->section())].rows;
    target.insert(target.begin() + to->row(), item);
}

CGFloat ModelTableDataSource::answerHeightForRow(PathRef path) {
    log.push_back("height:" + describe(path));
    hasRow(path);
    return height;
}

void ModelTableDataSource::answerWillDisplayCell(PathRef path) {
    log.push_back("willDisplay:" + describe(path));
}

std::shared_ptr<NSIndexPath> ModelTableDataSource::answerWillSelectRow(PathRef path) {
    log.push_back("willSelect:" + describe(path));
    return willSelectAnswer ? *willSelectAnswer : path;
}

void ModelTableDataSource::answerDidSelectRow(PathRef path) {
    log.push_back("didSelect:" + describe(path));
}

void ModelTableDataSource::answerDidDeselectRow(PathRef path) {
    log.push_back("didDeselect:" + describe(path));
}

void ModelTableDataSource::answerWillBeginEditingRow(TableRef table, PathRef path) {
    log.push_back("willBeginEditing:" + describe(path) + (table->isEditing() ? ":editing" : ":not-editing"));
}

void ModelTableDataSource::answerDidEndEditingRow(TableRef table, PathRef path) {
    log.push_back("didEndEditing:" + describe(path) + (table->isEditing() ? ":editing" : ":not-editing"));
}

} // namespace testing_support
