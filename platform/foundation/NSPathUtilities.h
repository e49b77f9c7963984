#pragma once
// The device's home folder. On the phone each process has one (an application's container, or
// the mobile user's home for the built-in applications); here the simulated device or a test
// names it with a Scope. It is never taken from the HOME of the user running the simulator, so
// nothing the add-on writes can land in a real home folder by accident.

#include <string>

/// `NSHomeDirectory()`: the innermost ns::HomeDirectory::Scope's folder. Raises
/// NSInternalInconsistencyException when no Scope is in force, rather than guessing a folder.
std::string NSHomeDirectory();

namespace ns {

/// Where NSHomeDirectory points.
class HomeDirectory {
  public:
    /// Makes `folder` the home folder for its lifetime, restoring the previous one after.
    class Scope {
      public:
        explicit Scope(std::string folder);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

        [[nodiscard]] const std::string& folder() const { return folder_; }

      private:
        std::string folder_;
        Scope* previous_;
    };

    /// Whether a Scope is in force.
    static bool isConfigured();
};

} // namespace ns
