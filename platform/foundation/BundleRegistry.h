#pragma once
// The bundles a process knows: identifiers and their folders, and which one is the process's own
// (mainBundle). The simulated device fills one per process and puts it in force with a Scope;
// tests do the same with their own folders.

#include "platform/foundation/NSBundle.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace ns {

/// Identifier -> folder, plus the main bundle's identifier.
class BundleRegistry {
  public:
    /// Registers (or moves) a bundle.
    void add(const std::string& identifier, std::filesystem::path folder);
    /// Names the process's own bundle; it must be registered to be found.
    void setMainBundleIdentifier(std::string identifier) { mainIdentifier_ = std::move(identifier); }

    /// The bundle object for `identifier`, made on first request and then kept; nil when unknown.
    [[nodiscard]] std::shared_ptr<NSBundle> bundleWithIdentifier(const std::string& identifier);
    [[nodiscard]] std::shared_ptr<NSBundle> mainBundle() { return bundleWithIdentifier(mainIdentifier_); }

    /// The registry in force, nil when none is.
    static BundleRegistry* current();

    /// Puts a registry in force for its lifetime, restoring the previous one after.
    class Scope {
      public:
        explicit Scope(BundleRegistry& registry);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        BundleRegistry* previous_;
    };

  private:
    struct Entry {
        std::filesystem::path folder;
        std::shared_ptr<NSBundle> bundle;
    };
    std::map<std::string, Entry> bundles_;
    std::string mainIdentifier_;
};

} // namespace ns
