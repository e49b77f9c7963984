#include "hosts/springboard/SBApplication.h"

#include "platform/runtime/Runtime.h"
#include "platform/runtime/RuntimeFunctions.h"

void SBApplication::describe(rt::ClassBuilder& b) {
    b.ivar("_bundleIdentifier", "@");
    b.method<&SBApplication::currentDefaultPNGName>("_currentDefaultPNGName", "@@:");
}

std::shared_ptr<SBApplication> SBApplication::withBundleIdentifier(const std::string& bundleIdentifier) {
    auto record = rt::make<SBApplication>();
    object_setIvar(record, class_getInstanceVariable(record->isa(), "_bundleIdentifier"),
                   NSString::with(bundleIdentifier));
    return record;
}

std::string SBApplication::bundleIdentifier() const {
    auto self = std::const_pointer_cast<NSObject>(shared_from_this());
    auto value =
        rt::cast<NSString>(object_getIvar(self, class_getInstanceVariable(isa(), "_bundleIdentifier")));
    return value ? value->str() : std::string();
}

std::shared_ptr<NSString> SBApplication::currentDefaultPNGName() {
    return NSString::with("Default.png");
}
