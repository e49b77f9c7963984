#pragma once
// What the reliability campaigns share: running the driver and the `lapvane` program as child
// processes within time and memory limits, device homes, and looking at what a run left in the
// preferences folder.

#include <map>
#include <set>
#include <string>
#include <vector>

namespace reliability {

/// The file names in the preferences folder.
inline constexpr const char* kSavedTimes = "com.varnoth.lapvane.plist";
inline constexpr const char* kSettings = "com.apple.mobiletimer.plist";

/// The driver program (tests/reliability/driver) and the `lapvane` program.
std::string driverProgram();
std::string lapvaneProgram();

/// How a child process ended.
struct ChildRun {
    /// Exit status, or -1 when it was ended by a signal.
    int status = -1;
    /// The signal that ended it, or 0.
    int signal = 0;
    double seconds = 0;
    /// Its standard output and error, merged.
    std::string output;
};

/// Limits a child runs under.
struct Limits {
    /// Ended by SIGKILL after this many seconds.
    double seconds = 60;
    /// Largest address space, in bytes; 0 for none.
    unsigned long long addressSpace = 0;
};

/// Runs `argv` (the program first) and waits for it.
ChildRun runProgram(const std::vector<std::string>& argv, const Limits& limits = {});

/// A started child process, for campaigns that end it themselves.
struct Child {
    int pid = -1;
};
/// Starts `argv` with its output thrown away.
Child startProgram(const std::vector<std::string>& argv);
/// Waits for a started child; its exit status, or -signal.
int waitFor(Child child);

/// A fresh device home (with Library/Preferences) under the system's temporary folder,
/// removed with everything in it at the end.
class Home {
  public:
    Home();
    ~Home();
    Home(const Home&) = delete;
    Home& operator=(const Home&) = delete;

    [[nodiscard]] const std::string& path() const { return path_; }
    [[nodiscard]] std::string preferences() const { return path_ + "/Library/Preferences"; }
    [[nodiscard]] std::string savedTimes() const { return preferences() + "/" + kSavedTimes; }
    /// Empties the preferences folder.
    void clear() const;
    /// The names in the preferences folder, sorted, but the writers' lock files.
    [[nodiscard]] std::vector<std::string> listing() const;
    /// Names of temporary files of writers in the preferences folder.
    [[nodiscard]] std::vector<std::string> temporaries() const;
    /// Names of files moved aside as damaged.
    [[nodiscard]] std::vector<std::string> movedAside() const;

  private:
    std::string path_;
};

/// What the saved-times file at `path` holds: whether it parsed, and the totals of its records
/// in every section (the campaigns make totals unique, so they name the records).
struct Content {
    bool parsed = false;
    bool missing = false;
    std::multiset<long long> totals;
    std::size_t sections = 0;
};
Content readContent(const std::string& path);

/// The values of the root dictionary of the file at `path`, each as the XML text of its
/// elements when it is an array and of itself otherwise; the first section's name in
/// `firstSection`. Empty when it does not parse.
struct RootValues {
    bool parsed = false;
    std::string firstSection;
    std::map<std::string, std::vector<std::string>> values;
};
RootValues rootValues(const std::string& path);

std::string readWhole(const std::string& path);
void writeWhole(const std::string& path, const std::string& bytes);

/// A saved-times file of one section "Default" holding records with the totals given, and
/// optionally a second section "Work" holding `work`.
std::string savedTimesText(const std::vector<long long>& totals, const std::vector<long long>& work = {});

/// Prints one line of figures, for the CI log and the closing note.
void reportFigures(const std::string& campaign, const std::string& figures);

} // namespace reliability
