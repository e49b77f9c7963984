#include "addon/store/SavedTimesDocument.h"

#include "platform/foundation/NSString.h"

#include <algorithm>

namespace lv {

std::string sectionKey(const std::string& name) {
    return "Times - " + name;
}

SavedTimesDocument::SavedTimesDocument(std::shared_ptr<NSMutableDictionary> root) : root_(std::move(root)) {}

std::vector<std::string> SavedTimesDocument::sectionNames() const {
    return sectionNamesOf(*root_);
}

std::vector<std::string> sectionNamesOf(const NSDictionary& root) {
    std::vector<std::string> names;
    auto list = root.objectAs<NSArray>(kSectionsKey);
    if (!list) {
        return names;
    }
    for (const id& item : list->items()) {
        if (auto name = rt::cast<NSString>(item)) {
            names.push_back(name->str());
        }
    }
    return names;
}

std::shared_ptr<NSMutableArray> SavedTimesDocument::records(const std::string& sectionName) const {
    auto value = root_->objectForKey(sectionKey(sectionName));
    if (auto mutableRecords = rt::cast<NSMutableArray>(value)) {
        return mutableRecords;
    }
    // An immutable array (a dictionary built in code rather than read) is copied so that the
    // caller can change it and store it back.
    if (auto array = rt::cast<NSArray>(value)) {
        return NSMutableArray::with(array->items());
    }
    return nullptr;
}

std::shared_ptr<NSMutableArray> SavedTimesDocument::recordsOrEmpty(const std::string& sectionName) const {
    auto found = records(sectionName);
    return found ? found : NSMutableArray::with();
}

bool SavedTimesDocument::sectionListHasWrongType() const {
    auto value = root_->objectForKey(kSectionsKey);
    return value && !rt::cast<NSArray>(value);
}

bool SavedTimesDocument::recordsHaveWrongType(const std::string& sectionName) const {
    auto value = root_->objectForKey(sectionKey(sectionName));
    return value && !rt::cast<NSArray>(value);
}

bool SavedTimesDocument::sectionIsEmpty(const std::string& sectionName) const {
    auto value = root_->objectForKey(sectionKey(sectionName));
    auto array = rt::cast<NSArray>(value);
    return !value || (array && array->count() == 0);
}

bool SavedTimesDocument::ensureSectionList() {
    if (!sectionNames().empty()) {
        return false;
    }
    mutableSectionList()->addObject(NSString::with(kDefaultSectionName));
    return true;
}

void SavedTimesDocument::storeRecords(const std::string& sectionName,
                                      std::shared_ptr<NSMutableArray> records) {
    root_->setObject(std::move(records), sectionKey(sectionName));
}

void SavedTimesDocument::appendSection(const std::string& name) {
    mutableSectionList()->addObject(NSString::with(name));
    if (!root_->objectForKey(sectionKey(name))) {
        storeRecords(name, NSMutableArray::with());
    }
}

void SavedTimesDocument::dropSections(const std::vector<std::size_t>& positions) {
    auto list = mutableSectionList();
    std::vector<std::size_t> itemsToRemove;
    std::size_t position = 0;
    for (std::size_t i = 0; i < list->count(); ++i) {
        auto name = rt::cast<NSString>(list->objectAtIndex(i));
        if (!name) {
            continue;
        }
        if (std::find(positions.begin(), positions.end(), position) != positions.end()) {
            root_->removeObjectForKey(sectionKey(name->str()));
            itemsToRemove.push_back(i);
        }
        ++position;
    }
    for (auto i = itemsToRemove.rbegin(); i != itemsToRemove.rend(); ++i) {
        list->removeObjectAtIndex(*i);
    }
}

std::shared_ptr<NSMutableArray> SavedTimesDocument::mutableSectionList() {
    auto value = root_->objectForKey(kSectionsKey);
    if (auto list = rt::cast<NSMutableArray>(value)) {
        return list;
    }
    auto array = rt::cast<NSArray>(value);
    auto list = array ? NSMutableArray::with(array->items()) : NSMutableArray::with();
    root_->setObject(list, kSectionsKey);
    return list;
}

} // namespace lv
