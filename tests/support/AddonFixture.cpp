#include "tests/support/AddonFixture.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListFile.h"

namespace testing_support {

void DeviceHomeTest::writePreferences(const std::string& name, const NSDictionary& dictionary) const {
    auto result = plist::writeToFile(dictionary, preferencesFile(name), true);
    ASSERT_TRUE(result.ok) << result.reason;
}

std::shared_ptr<NSDictionary> DeviceHomeTest::readPreferences(const std::string& name) const {
    return plist::dictionaryWithContentsOfFile(preferencesFile(name));
}

std::vector<std::string> DeviceHomeTest::strings(const NSDictionary& dictionary, const std::string& key) {
    std::vector<std::string> out;
    if (auto array = dictionary.objectAs<NSArray>(key)) {
        for (const id& item : array->items()) {
            auto text = rt::cast<NSString>(item);
            out.push_back(text ? text->str() : "<not a string>");
        }
    }
    return out;
}

} // namespace testing_support
