#pragma once
// Writes what a person does in the window as a `lapvane sim` script: each gesture as the command
// that means it, with `wait` lines for the virtual time between them. A command that spends a
// person's time before it acts (a swipe's 0.3 s, a drag's 0.5 s) has that time taken from the
// wait before it, so the replay acts at the moment the window did.

#include <fstream>
#include <string>

namespace sim {

/// One recording, written line by line as it goes (a session may end without warning).
class ScriptRecorder {
  public:
    /// Starts `path` with the comment `header`; check `ok()`.
    ScriptRecorder(const std::string& path, const std::string& header);

    [[nodiscard]] bool ok() const { return static_cast<bool>(file_); }
    /// The command `line` happened at virtual time `now`. A person's typing is gathered into one
    /// `type` line of the field's final text; a line of a played script is written as it came.
    void note(const std::string& line, double now);
    /// A played line ran from `started` to `ended`: the replay waits until `started`, and the
    /// line itself takes the rest (whether or not it was carried out).
    void notePlayed(const std::string& line, double started, double ended);
    /// The session ends at `now`: the last wait is written.
    void finish(double now);

  private:
    void write(const std::string& line, double at);
    [[nodiscard]] double leadOf(const std::string& line) const;

    std::ofstream file_;
    /// The replay's virtual time after the lines written so far.
    double clock_ = 0;
    std::string last_;
    /// Typing goes on until something else happens: only the field's last text is written.
    std::string typed_;
    double typedAt_ = 0;
};

} // namespace sim
