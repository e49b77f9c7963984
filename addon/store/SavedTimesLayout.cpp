#include "addon/store/SavedTimesLayout.h"

#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListOptions.h"
#include "platform/foundation/PropertyListXmlWriter.h"
#include "platform/foundation/Utf8.h"

#include <algorithm>

namespace lv {

namespace {

using EntryRef = const NSDictionary::Entries::value_type*;

// The root's entries in the order the writer writes them: its keys' UTF-16 order. Nothing when a
// key is one the writer refuses.
std::optional<std::vector<EntryRef>> writerOrder(const NSDictionary& dictionary) {
    std::vector<EntryRef> order;
    order.reserve(dictionary.count());
    bool resort = false;
    for (const auto& entry : dictionary.entries()) {
        if (!plist::isValidUtf8(entry.first)) {
            return std::nullopt;
        }
        resort = resort || plist::mayOrderDifferentlyInUtf16(entry.first);
        order.push_back(&entry);
    }
    if (resort) {
        std::stable_sort(order.begin(), order.end(),
                         [](EntryRef a, EntryRef b) { return plist::lessInUtf16Order(a->first, b->first); });
    }
    return order;
}

constexpr std::string_view kKeyLineStart = "\t<key>";
constexpr std::string_view kNextKey = "\n\t<key>";
constexpr std::string_view kRootOpen = "<dict>\n";
constexpr std::string_view kRootClose = "\n</dict>\n";

// The line of a root key as the writer escapes it: the writer's text for the same string at the
// same level, with the key's tags.
std::optional<std::string> keyLine(const plist::PropertyListXmlWriter& writer, const std::string& key) {
    constexpr std::string_view open = "\t<string>";
    constexpr std::string_view close = "</string>\n";
    const plist::EncodeResult text = writer.fragment(*NSString::with(key), 1);
    const std::string_view line = text.text;
    if (!text.ok || !line.starts_with(open) || !line.ends_with(close)) {
        return std::nullopt;
    }
    return std::string(kKeyLineStart) +
           std::string(line.substr(open.size(), line.size() - open.size() - close.size())) + "</key>\n";
}

} // namespace

// Appends to the new text, copying ranges of the old one; adjacent copies become one.
class SavedTimesLayout::Builder {
  public:
    Builder(std::string_view source, std::string& out) : source_(source), out_(out) {}

    void copy(std::size_t begin, std::size_t end) {
        if (pendingEnd_ != begin) {
            flush();
            pendingBegin_ = begin;
        }
        pendingEnd_ = end;
    }
    void append(std::string_view text) {
        flush();
        out_.append(text);
    }
    [[nodiscard]] std::size_t position() const { return out_.size() + (pendingEnd_ - pendingBegin_); }
    void flush() {
        out_.append(source_.substr(pendingBegin_, pendingEnd_ - pendingBegin_));
        pendingBegin_ = pendingEnd_ = 0;
    }

  private:
    std::string_view source_;
    std::string& out_;
    std::size_t pendingBegin_ = 0;
    std::size_t pendingEnd_ = 0;
};

std::optional<SavedTimesLayout> SavedTimesLayout::scan(std::string_view text,
                                                       std::shared_ptr<NSDictionary> tree) {
    if (!tree || tree->count() == 0) {
        return std::nullopt;
    }
    const auto order = writerOrder(*tree);
    const std::size_t open = text.find(kRootOpen);
    const std::size_t close = text.rfind(kRootClose);
    if (!order || open == std::string_view::npos || close == std::string_view::npos) {
        return std::nullopt;
    }
    SavedTimesLayout layout;
    layout.prologEnd_ = open + kRootOpen.size();
    layout.epilogBegin_ = close + 1;
    layout.size_ = text.size();
    std::size_t position = layout.prologEnd_;
    for (std::size_t i = 0; i < order->size(); ++i) {
        Entry entry;
        entry.key = (*order)[i]->first;
        entry.value = (*order)[i]->second;
        entry.keyBegin = position;
        const std::size_t lineEnd = text.find('\n', position);
        if (text.substr(position, kKeyLineStart.size()) != kKeyLineStart ||
            lineEnd == std::string_view::npos) {
            return std::nullopt;
        }
        entry.valueBegin = lineEnd + 1;
        // Deeper keys have more tabs and text never holds a raw "<", so the next line that starts
        // with one tab and a key is the next root entry's.
        const std::size_t next = i + 1 < order->size() ? text.find(kNextKey, entry.valueBegin) : close;
        if (next == std::string_view::npos || next < entry.valueBegin || next + 1 > layout.epilogBegin_) {
            return std::nullopt;
        }
        entry.valueEnd = next + 1;
        position = entry.valueEnd;
        layout.byKey_.emplace(entry.key, layout.entries_.size());
        layout.entries_.push_back(std::move(entry));
    }
    if (position != layout.epilogBegin_) {
        return std::nullopt;
    }
    layout.tree_ = std::move(tree);
    return layout;
}

const SavedTimesLayout::Entry* SavedTimesLayout::find(const std::string& key) const {
    const auto found = byKey_.find(key);
    return found == byKey_.end() ? nullptr : &entries_[found->second];
}

std::optional<std::string_view> SavedTimesLayout::valueText(std::string_view text,
                                                            const std::string& key) const {
    const Entry* entry = find(key);
    if (entry == nullptr || text.size() != size_) {
        return std::nullopt;
    }
    return text.substr(entry->valueBegin, entry->valueEnd - entry->valueBegin);
}

void SavedTimesLayout::replaceValue(const std::string& key, id value) {
    const auto found = byKey_.find(key);
    if (found == byKey_.end()) {
        return;
    }
    Entry& entry = entries_[found->second];
    entry.value = value;
    // The items were looked for in a value of another kind; look again in this one.
    entry.items.reset();
    entry.itemsScanned = false;
    NSDictionary::Entries entries(tree_->entries());
    entries[key] = std::move(value);
    tree_ = NSDictionary::with(std::move(entries));
}

const SavedTimesLayout::Ranges* SavedTimesLayout::itemsOf(std::string_view text, const Entry& entry) const {
    if (entry.itemsScanned) {
        return entry.items.get();
    }
    entry.itemsScanned = true;
    auto array = rt::cast<NSArray>(entry.value);
    if (!array || array->count() == 0) {
        return nullptr;
    }
    // The value is an opening line, one block per item, each starting with a line of two tabs and
    // an element that is not a closing one, and the closing line.
    const std::string_view value = text.substr(entry.valueBegin, entry.valueEnd - entry.valueBegin);
    if (value.size() < 2 || value.back() != '\n') {
        return nullptr;
    }
    const std::size_t closing = value.rfind('\n', value.size() - 2) + 1;
    std::size_t line = value.find('\n') + 1;
    if (line == 0 || closing == 0 || line > closing) {
        return nullptr;
    }
    std::vector<std::size_t> starts;
    starts.reserve(array->count());
    while (line < closing) {
        if (value.substr(line, 3) == "\t\t<" && line + 3 < value.size() && value[line + 3] != '/') {
            starts.push_back(line);
        }
        line = value.find('\n', line) + 1;
    }
    if (starts.size() != array->count() || starts.front() != value.find('\n') + 1) {
        return nullptr;
    }
    auto ranges = std::make_shared<Ranges>();
    ranges->reserve(starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        ranges->push_back({starts[i], i + 1 < starts.size() ? starts[i + 1] : closing});
    }
    entry.items = std::move(ranges);
    return entry.items.get();
}

std::optional<SavedTimesLayout::Assembled> SavedTimesLayout::assemble(std::string_view text,
                                                                      const NSDictionary& root) const {
    const auto order = writerOrder(root);
    if (root.count() == 0 || !order || text.size() != size_) {
        return std::nullopt;
    }
    const std::size_t maxBytes = plist::Limits{}.maxBytes;
    const plist::PropertyListXmlWriter writer;
    std::optional<Assembled> result(std::in_place);
    result->text.reserve(size_ + 4096);
    Builder out(text, result->text);
    SavedTimesLayout& next = result->layout;
    NSDictionary::Entries tree;
    tree.reserve(root.count());
    out.copy(0, prologEnd_);
    for (EntryRef pair : *order) {
        const Entry* old = find(pair->first);
        const id& value = pair->second;
        if (!value) {
            return std::nullopt;
        }
        Entry entry;
        entry.key = pair->first;
        entry.keyBegin = out.position();
        if (old) {
            out.copy(old->keyBegin, old->valueBegin);
        } else if (auto line = keyLine(writer, entry.key)) {
            out.append(*line);
        } else {
            return std::nullopt;
        }
        entry.valueBegin = out.position();
        auto array = rt::cast<NSArray>(value);
        const Ranges* oldItems = nullptr;
        if (old && value.get() == old->value.get()) {
            // The very object of the tree the text was made for: the same text.
            out.copy(old->valueBegin, old->valueEnd);
            entry.value = old->value;
            entry.items = old->items;
            entry.itemsScanned = old->itemsScanned;
        } else if (array && array->count() > 0 && old && (oldItems = itemsOf(text, *old)) != nullptr) {
            // Items that are objects of the old array keep their text; a record saved, deleted or
            // moved costs the text of that record only. The old array's items are matched in
            // order, one may be skipped (a removal), and anything else is written anew.
            const std::vector<id>& before = rt::cast<NSArray>(old->value)->items();
            const std::vector<id>& after = array->items();
            out.copy(old->valueBegin, old->valueBegin + oldItems->front().begin);
            auto ranges = std::make_shared<Ranges>();
            ranges->reserve(after.size());
            std::vector<id> items;
            items.reserve(after.size());
            std::size_t cursor = 0;
            for (const id& item : after) {
                std::size_t match = before.size();
                if (cursor < before.size() && before[cursor].get() == item.get()) {
                    match = cursor;
                } else if (cursor + 1 < before.size() && before[cursor + 1].get() == item.get()) {
                    match = cursor + 1;
                }
                const std::size_t begin = out.position() - entry.valueBegin;
                if (match < before.size()) {
                    const Range& range = (*oldItems)[match];
                    out.copy(old->valueBegin + range.begin, old->valueBegin + range.end);
                    items.push_back(before[match]);
                    cursor = match + 1;
                } else {
                    const plist::EncodeResult itemText =
                        item ? writer.fragment(*item, 2) : plist::EncodeResult{};
                    if (!itemText.ok) {
                        return std::nullopt;
                    }
                    out.append(itemText.text);
                    items.push_back(immutableCopy(item));
                }
                ranges->push_back({begin, out.position() - entry.valueBegin});
                if (out.position() > maxBytes) {
                    return std::nullopt;
                }
            }
            out.copy(old->valueBegin + oldItems->back().end, old->valueEnd);
            entry.value = NSArray::with(std::move(items));
            entry.items = std::move(ranges);
            entry.itemsScanned = true;
        } else {
            const plist::EncodeResult valueText = writer.fragment(*value, 1);
            if (!valueText.ok) {
                return std::nullopt;
            }
            out.append(valueText.text);
            entry.value = immutableCopy(value);
        }
        entry.valueEnd = out.position();
        if (entry.valueEnd > maxBytes) {
            return std::nullopt;
        }
        tree.emplace(entry.key, entry.value);
        next.byKey_.emplace(entry.key, next.entries_.size());
        next.entries_.push_back(std::move(entry));
    }
    next.epilogBegin_ = out.position();
    out.copy(epilogBegin_, size_);
    out.flush();
    if (result->text.size() > maxBytes) {
        return std::nullopt;
    }
    next.prologEnd_ = prologEnd_;
    next.size_ = result->text.size();
    next.tree_ = NSDictionary::with(std::move(tree));
    return result;
}

id SavedTimesLayout::immutableCopy(const id& value) {
    if (auto dictionary = rt::cast<NSDictionary>(value)) {
        bool changed = rt::cast<NSMutableDictionary>(value) != nullptr;
        NSDictionary::Entries entries;
        entries.reserve(dictionary->count());
        for (const auto& [key, item] : dictionary->entries()) {
            id copied = immutableCopy(item);
            changed = changed || copied.get() != item.get();
            entries.emplace_hint(entries.end(), key, std::move(copied));
        }
        return changed ? NSDictionary::with(std::move(entries)) : value;
    }
    if (auto array = rt::cast<NSArray>(value)) {
        bool changed = rt::cast<NSMutableArray>(value) != nullptr;
        std::vector<id> items;
        items.reserve(array->count());
        for (const id& item : array->items()) {
            items.push_back(immutableCopy(item));
            changed = changed || items.back().get() != item.get();
        }
        return changed ? NSArray::with(std::move(items)) : value;
    }
    // Strings, numbers, dates and data never change.
    return value;
}

std::shared_ptr<NSDictionary> SavedTimesLayout::immutableTree(const NSDictionary& root) {
    NSDictionary::Entries entries;
    entries.reserve(root.count());
    for (const auto& [key, value] : root.entries()) {
        entries.emplace_hint(entries.end(), key, immutableCopy(value));
    }
    return NSDictionary::with(std::move(entries));
}

} // namespace lv
