#pragma once
// A bundle: a folder of resources known by an identifier ("com.apple.mobiletimer"). Bundles
// exist only once registered with the process's ns::BundleRegistry, as the platform finds only
// bundles it has loaded.

#include "platform/foundation/NSString.h"
#include "platform/runtime/NSObject.h"

#include <filesystem>
#include <memory>
#include <string>

/// A folder of resources with an identifier.
class NSBundle : public NSObject {
  public:
    static constexpr const char* kClassName = "NSBundle";
    using Super = NSObject;

    NSBundle(std::string identifier, std::filesystem::path folder)
        : identifier_(std::move(identifier)), folder_(std::move(folder)) {}

    /// `bundleWithIdentifier:`: the registered bundle, the same object each time; nil when the
    /// identifier is unknown.
    static std::shared_ptr<NSBundle> bundleWithIdentifier(const std::string& identifier);
    /// `mainBundle`: the process's own bundle, nil when it names none.
    static std::shared_ptr<NSBundle> mainBundle();

    [[nodiscard]] const std::string& bundleIdentifier() const { return identifier_; }
    /// `bundlePath`.
    [[nodiscard]] std::string bundlePath() const { return folder_.string(); }
    /// `pathForResource:ofType:`: the path of `name` + "." + `type` (or `name` alone when `type`
    /// is empty) in the bundle's folder, else in its folder for the current language
    /// ("<language>.lproj"); nil when neither holds it. Names match exactly, case included, as
    /// on the phone's file system.
    [[nodiscard]] std::shared_ptr<NSString> pathForResourceOfType(const std::string& name,
                                                                  const std::string& type) const;

  private:
    std::string identifier_;
    std::filesystem::path folder_;
};
