#include "hosts/springboard/SBApplication.h"

#include "platform/runtime/Runtime.h"

void SBApplication::describe(rt::ClassBuilder& b) {
    b.ivar(sbmsg::bundleIdentifier);
    b.method<&SBApplication::currentDefaultPNGName>(sbmsg::currentDefaultPNGName);
}

std::shared_ptr<SBApplication> SBApplication::withBundleIdentifier(const std::string& bundleIdentifier) {
    auto record = rt::make<SBApplication>();
    sbmsg::bundleIdentifier.set(record, NSString::with(bundleIdentifier));
    return record;
}

std::string SBApplication::bundleIdentifier() const {
    auto value = sbmsg::bundleIdentifier.get(*this);
    return value ? value->str() : std::string();
}

std::shared_ptr<NSString> SBApplication::currentDefaultPNGName() {
    return NSString::with("Default.png");
}
