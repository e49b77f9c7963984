#pragma once
// The home-screen process: it keeps a record of every installed application and, when one is
// launched, asks that record which launch image to show before the application starts.

#include "hosts/springboard/SBApplication.h"
#include "platform/runtime/NSObject.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

/// The home screen: installed applications and their launch images.
class SpringBoard : public NSObject {
  public:
    static constexpr const char* kClassName = "SpringBoard";
    using Super = NSObject;

    /// SpringBoard's own bundle identifier.
    static constexpr const char* kBundleIdentifier = "com.apple.springboard";

    /// A home screen with the given applications installed.
    static std::shared_ptr<SpringBoard> withApplications(const std::vector<std::string>& bundleIdentifiers);

    /// The record of an installed application, or nil.
    [[nodiscard]] std::shared_ptr<SBApplication>
    applicationWithBundleIdentifier(const std::string& bundleIdentifier) const;
    /// The installed applications' identifiers, in installation order.
    [[nodiscard]] std::vector<std::string> bundleIdentifiers() const;

    /// Asks the application's record for its launch image name (through the runtime, so a
    /// replacement of `_currentDefaultPNGName` decides) and remembers it as the last name shown.
    /// Nullopt for an application that is not installed.
    std::optional<std::string> launchImageNameFor(const std::string& bundleIdentifier);
    /// The last launch image name SpringBoard was given, if any.
    [[nodiscard]] const std::optional<std::string>& lastLaunchImageName() const { return lastLaunchImage_; }

  private:
    std::vector<std::shared_ptr<SBApplication>> applications_;
    std::optional<std::string> lastLaunchImage_;
};
