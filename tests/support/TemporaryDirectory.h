#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the end.

#include <string>

namespace testing_support {

/// An empty folder that lives as long as the object.
class TemporaryDirectory {
  public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    [[nodiscard]] const std::string& path() const { return path_; }
    /// `path()/relative`, creating the folders on the way to it.
    [[nodiscard]] std::string file(const std::string& relative) const;

  private:
    std::string path_;
};

/// The whole content of a file, or "" when it cannot be read.
std::string readWholeFile(const std::string& path);
/// Writes `content` to `path`, creating folders on the way.
void writeWholeFile(const std::string& path, const std::string& content);

} // namespace testing_support
