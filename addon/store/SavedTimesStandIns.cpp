#include "addon/store/SavedTimesStandIns.h"

#include "platform/foundation/PropertyListOptions.h"
#include "platform/foundation/PropertyListXmlScanner.h"

namespace lv {

namespace {

// The cache keeps every container immutable, as its whole reads make them.
const plist::PropertyListXmlScanner& scanner() {
    static const plist::Limits limits;
    static const plist::PropertyListXmlScanner scanner(plist::Mutability::Immutable, limits);
    return scanner;
}

} // namespace

bool isStandIn(const id& value) {
    return value && rt::cast<SavedTimesStandIn>(value) != nullptr;
}

bool holdsStandIns(const NSDictionary& root) {
    for (const auto& entry : root.entries()) {
        if (isStandIn(entry.second)) {
            return true;
        }
    }
    return false;
}

std::shared_ptr<NSDictionary> scanStandingIn(std::string_view text) {
    return scanner().scanWriterTextStandingIn(text, [](const std::string&, std::size_t, std::size_t) -> id {
        return std::make_shared<SavedTimesStandIn>();
    });
}

id readStandIn(const SavedTimesLayout& layout, std::string_view text, const std::string& key) {
    const std::optional<std::string_view> valueText = layout.valueText(text, key);
    if (!valueText) {
        return nullptr;
    }
    id value = scanner().scanValueText(*valueText, 1);
    return isStandIn(value) ? nullptr : value;
}

bool readStandIns(SavedTimesLayout& layout, std::string_view text, const std::vector<std::string>& keys) {
    for (const std::string& key : keys) {
        if (!isStandIn(layout.tree()->objectForKey(key))) {
            continue;
        }
        id value = readStandIn(layout, text, key);
        if (!value) {
            return false;
        }
        layout.replaceValue(key, std::move(value));
    }
    return true;
}

std::shared_ptr<NSDictionary> withStandInsRead(const NSDictionary& root, const SavedTimesLayout* layout,
                                               std::string_view text) {
    NSDictionary::Entries entries;
    entries.reserve(root.count());
    for (const auto& [key, value] : root.entries()) {
        if (!isStandIn(value)) {
            entries.emplace_hint(entries.end(), key, value);
            continue;
        }
        if (layout == nullptr || layout->tree()->objectForKey(key).get() != value.get()) {
            return nullptr;
        }
        id read = readStandIn(*layout, text, key);
        if (!read) {
            return nullptr;
        }
        entries.emplace_hint(entries.end(), key, std::move(read));
    }
    return NSDictionary::with(std::move(entries));
}

} // namespace lv
