#pragma once
// A `lapvane sim` process driven one step at a time: script lines go down a pipe, and after each
// step the test reads the `dump` it asked for, so it can look at the screen and the files between
// any two steps.

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace testing_support {

/// One running `lapvane sim`; standard error goes to a file.
class SimPipe {
  public:
    /// Starts `lapvane` with `arguments`, its standard error written to `errorPath`.
    SimPipe(const std::vector<std::string>& arguments, const std::string& errorPath);
    ~SimPipe();
    SimPipe(const SimPipe&) = delete;
    SimPipe& operator=(const SimPipe&) = delete;

    /// True when the process started.
    [[nodiscard]] bool started() const { return pid_ > 0; }
    /// Sends `lines` (each ending in a newline), then `dump`, and answers the state it printed;
    /// nullopt when the process ended or printed nothing within `timeoutSeconds`.
    std::optional<nlohmann::json> step(const std::string& lines, int timeoutSeconds = 30);
    /// Closes the process's input and waits for it; answers its exit status (-1 when it did not
    /// exit by itself).
    int finish();

  private:
    bool writeAll(const std::string& text);
    std::optional<std::string> readLine(int timeoutSeconds);

    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    std::string buffered_;
};

} // namespace testing_support
