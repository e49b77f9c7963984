#pragma once
// Root values of the saved-times file kept as their checked text. A read that needs only part of
// the file (a capture needs the section list and the first section) checks every root value with
// the very steps that would read it, makes objects only of what it needs, and leaves a stand-in
// for each of the rest: the text under a stand-in's key is known to read, and a write copies it
// as it copies any value it did not change. A stand-in never leaves the store: whatever is asked
// of the whole file reads every stand-in first.

#include "addon/store/SavedTimesLayout.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/runtime/NSObject.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

/// What holds the place of a root value that was checked but not read.
class SavedTimesStandIn : public NSObject {
  public:
    static constexpr const char* kClassName = "LVSavedTimesStandIn";
    using Super = NSObject;
};

/// True when `value` is a stand-in.
[[nodiscard]] bool isStandIn(const id& value);

/// True when a root value of `root` is a stand-in.
[[nodiscard]] bool holdsStandIns(const NSDictionary& root);

/// The root dictionary of `text`, every value a stand-in, when `text` is exactly the writer's text
/// for a dictionary; nil for any other text, which must be read whole.
[[nodiscard]] std::shared_ptr<NSDictionary> scanStandingIn(std::string_view text);

/// The value the stand-in under `key` in `layout` (laid out in `text`) stands for, read from its
/// text as the whole file's read would have; nil when it cannot be read.
[[nodiscard]] id readStandIn(const SavedTimesLayout& layout, std::string_view text, const std::string& key);

/// Reads the stand-ins under these keys into `layout`; false when one could not be read.
[[nodiscard]] bool readStandIns(SavedTimesLayout& layout, std::string_view text,
                                const std::vector<std::string>& keys);

/// `root` with every stand-in read from `layout`'s text, where the layout holds that very
/// stand-in under the same key; nil when one cannot be read.
[[nodiscard]] std::shared_ptr<NSDictionary>
withStandInsRead(const NSDictionary& root, const SavedTimesLayout* layout, std::string_view text);

} // namespace lv
