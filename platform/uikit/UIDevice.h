#pragma once
// The device: its interface idiom, as configured for the simulated device.

#include "platform/runtime/NSObject.h"
#include "platform/uikit/Environment.h"

#include <memory>
#include <string>

/// `UIDevice`.
class UIDevice : public NSObject {
  public:
    static constexpr const char* kClassName = "UIDevice";
    using Super = NSObject;

    /// `[UIDevice currentDevice]` of the device in force.
    static std::shared_ptr<UIDevice> currentDevice();

    /// Phone (0) or pad (1); an iPhone-only app on an iPad still reports phone.
    [[nodiscard]] UIUserInterfaceIdiom userInterfaceIdiom() const;
    /// "iPhone", "iPad".
    [[nodiscard]] std::string model() const;
    /// The OS version the stand-ins follow.
    [[nodiscard]] std::string systemVersion() const { return "6.1"; }
};
