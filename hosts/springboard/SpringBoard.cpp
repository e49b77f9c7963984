#include "hosts/springboard/SpringBoard.h"

#include "platform/runtime/Runtime.h"

std::shared_ptr<SpringBoard>
SpringBoard::withApplications(const std::vector<std::string>& bundleIdentifiers) {
    auto board = rt::make<SpringBoard>();
    for (const auto& bundleIdentifier : bundleIdentifiers) {
        board->applications_.push_back(SBApplication::withBundleIdentifier(bundleIdentifier));
    }
    return board;
}

std::shared_ptr<SBApplication>
SpringBoard::applicationWithBundleIdentifier(const std::string& bundleIdentifier) const {
    for (const auto& application : applications_) {
        if (application->bundleIdentifier() == bundleIdentifier) {
            return application;
        }
    }
    return nullptr;
}

std::vector<std::string> SpringBoard::bundleIdentifiers() const {
    std::vector<std::string> identifiers;
    for (const auto& application : applications_) {
        identifiers.push_back(application->bundleIdentifier());
    }
    return identifiers;
}

std::optional<std::string> SpringBoard::launchImageNameFor(const std::string& bundleIdentifier) {
    auto application = applicationWithBundleIdentifier(bundleIdentifier);
    if (!application) {
        return std::nullopt;
    }
    auto name = rt::send(application, sbmsg::currentDefaultPNGName);
    // A record that answers nil shows no image; SpringBoard then falls back to an empty name.
    lastLaunchImage_ = name ? name->str() : std::string();
    return lastLaunchImage_;
}
