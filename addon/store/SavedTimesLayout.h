#pragma once
// Where each part of a saved-times document lies in the text our writer made for it: the root
// dictionary's entries, and the items of the arrays that stand at the root (a section's records,
// the section list). A changed document's text can then be assembled from the unchanged parts'
// bytes and the writer's text for the rest, instead of writing every value again.
//
// A layout describes one immutable tree and the exact bytes plist::xmlText made for it. Values of
// that tree never change, so a value of a new document that is the very same object has the very
// same text, and its bytes are copied. Everything else is written with the writer's
// `fragment`, which gives the lines the whole document would hold for it.

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

/// The byte ranges of a canonical saved-times text.
class SavedTimesLayout {
  public:
    /// A new document's text, its tree with every container immutable, and the layout of both.
    struct Assembled;

    /// The layout of `text`, which the writer made for `tree`; nothing when the text is not laid
    /// out as the writer lays out a non-empty dictionary.
    [[nodiscard]] static std::optional<SavedTimesLayout> scan(std::string_view text,
                                                              std::shared_ptr<NSDictionary> tree);

    /// The writer's text for `root`, assembled from `text` (this layout's) where `root` holds the
    /// values of this layout's tree; nothing when it cannot be assembled (a value the writer
    /// refuses, a text larger than the readers accept, an empty root), and the whole document
    /// must be written instead.
    [[nodiscard]] std::optional<Assembled> assemble(std::string_view text, const NSDictionary& root) const;

    /// The text of the value under `key` in `text` (this layout's), from its line's first tab to
    /// its last line break; nothing when the layout has no such key.
    [[nodiscard]] std::optional<std::string_view> valueText(std::string_view text,
                                                            const std::string& key) const;
    /// Puts `value` in the tree in place of the value under `key`. The text must be the
    /// writer's text for `value` too: the layout's places stay.
    void replaceValue(const std::string& key, id value);

    /// The immutable tree the layout describes.
    [[nodiscard]] const std::shared_ptr<NSDictionary>& tree() const { return tree_; }

    /// A copy of `value` that nothing can change, sharing every part that already cannot change.
    [[nodiscard]] static id immutableCopy(const id& value);
    /// A new immutable dictionary holding immutable copies of the root's values.
    [[nodiscard]] static std::shared_ptr<NSDictionary> immutableTree(const NSDictionary& root);

  private:
    // A byte range, relative to the start of the value that holds it.
    struct Range {
        std::size_t begin = 0;
        std::size_t end = 0;
    };
    using Ranges = std::vector<Range>;

    struct Entry {
        std::string key;
        id value;
        // The key's line, then the value's text: [keyBegin, valueBegin) and [valueBegin, valueEnd).
        std::size_t keyBegin = 0;
        std::size_t valueBegin = 0;
        std::size_t valueEnd = 0;
        // For an array value, its items' ranges; found in the text when first needed.
        mutable std::shared_ptr<const Ranges> items;
        mutable bool itemsScanned = false;
    };

    class Builder;

    // The ranges of the entry's items, when its value is a non-empty array laid out as expected.
    const Ranges* itemsOf(std::string_view text, const Entry& entry) const;
    const Entry* find(const std::string& key) const;

    std::shared_ptr<NSDictionary> tree_;
    std::size_t prologEnd_ = 0;
    std::size_t epilogBegin_ = 0;
    std::size_t size_ = 0;
    std::vector<Entry> entries_;
    std::map<std::string, std::size_t, std::less<>> byKey_;
};

struct SavedTimesLayout::Assembled {
    std::string text;
    SavedTimesLayout layout;
};

} // namespace lv
