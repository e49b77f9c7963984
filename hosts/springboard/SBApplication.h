#pragma once
// SpringBoard's record of one installed application. SpringBoard asks it for the name of the
// image to show while the application launches.

#include "platform/foundation/NSString.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/InstanceVariable.h"
#include "platform/runtime/Message.h"

#include <memory>
#include <string>

/// SpringBoard's record of an application: its bundle identifier and its launch image.
class SBApplication : public NSObject {
  public:
    static constexpr const char* kClassName = "SBApplication";
    using Super = NSObject;
    static void describe(rt::ClassBuilder& b);

    /// A record for the application with that bundle identifier.
    static std::shared_ptr<SBApplication> withBundleIdentifier(const std::string& bundleIdentifier);

    /// `_bundleIdentifier`, read from the record's instance variable.
    [[nodiscard]] std::string bundleIdentifier() const;
    /// `_currentDefaultPNGName`: the launch image file name. The system's own answer is the
    /// application's plain default image.
    std::shared_ptr<NSString> currentDefaultPNGName();
};

namespace sbmsg {
/// The launch image name, as SpringBoard asks for it.
inline constexpr rt::Msg<std::shared_ptr<NSString>()> currentDefaultPNGName{"_currentDefaultPNGName"};
/// The record's bundle identifier.
inline constexpr rt::IvarRef<std::shared_ptr<NSString>> bundleIdentifier{"_bundleIdentifier"};
} // namespace sbmsg
