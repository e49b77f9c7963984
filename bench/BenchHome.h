#pragma once
// A temporary device home for one measuring process: a folder made with mkdtemp under the system's
// temporary folder, holding Library/Preferences, removed with everything in it at the end.

#include <string>

namespace bench {

class BenchHome {
  public:
    /// Makes the folder; throws std::runtime_error when it cannot.
    BenchHome();
    ~BenchHome();
    BenchHome(const BenchHome&) = delete;
    BenchHome& operator=(const BenchHome&) = delete;

    /// The home folder.
    [[nodiscard]] const std::string& path() const { return path_; }
    /// `<home>/Library/Preferences/<the saved-times file>`.
    [[nodiscard]] std::string savedTimesFile() const;

  private:
    std::string path_;
};

/// The whole content of a file; throws std::runtime_error when it cannot be read.
std::string readBytes(const std::string& path);

/// Replaces the file's content with `bytes` the way another process would: a new file beside it
/// renamed over it. Throws std::runtime_error when that fails.
void replaceFromOutside(const std::string& path, const std::string& bytes);

/// The same file changed in one digit: the seconds of its first date move by one, so the bytes
/// differ, the size does not, and the file still reads as the same saved times but for that date.
/// Throws std::invalid_argument when the bytes hold no date.
std::string changedInOneDate(std::string bytes);

} // namespace bench
