#include "addon/store/SavedTimesDocument.h"

#include "platform/foundation/NSString.h"

#include <algorithm>

namespace lv {

std::string sectionKey(const std::string& name) {
    return "Times - " + name;
}

SavedTimesDocument::SavedTimesDocument(std::shared_ptr<NSMutableDictionary> root) : root_(std::move(root)) {}

std::vector<std::string> SavedTimesDocument::sectionNames() const {
    std::vector<std::string> names;
    auto list = root_->objectAs<NSArray>(kSectionsKey);
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

bool SavedTimesDocument::ensureSectionList() {
    if (!sectionNames().empty()) {
        return false;
    }
    writeSectionList({kDefaultSectionName});
    return true;
}

void SavedTimesDocument::storeRecords(const std::string& sectionName,
                                      std::shared_ptr<NSMutableArray> records) {
    root_->setObject(std::move(records), sectionKey(sectionName));
}

void SavedTimesDocument::appendSection(const std::string& name) {
    auto names = sectionNames();
    names.push_back(name);
    writeSectionList(names);
    storeRecords(name, NSMutableArray::with());
}

void SavedTimesDocument::dropSections(const std::vector<std::size_t>& positions) {
    auto names = sectionNames();
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (std::find(positions.begin(), positions.end(), i) != positions.end()) {
            root_->removeObjectForKey(sectionKey(names[i]));
        } else {
            kept.push_back(names[i]);
        }
    }
    writeSectionList(kept);
}

void SavedTimesDocument::writeSectionList(const std::vector<std::string>& names) {
    auto list = NSMutableArray::with();
    for (const auto& name : names) {
        list->addObject(NSString::with(name));
    }
    root_->setObject(list, kSectionsKey);
}

} // namespace lv
