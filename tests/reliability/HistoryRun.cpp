#include "tests/reliability/HistoryRun.h"

#include "tests/reliability/Campaign.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <random>
#include <regex>
#include <sstream>
#include <string_view>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace reliability::history {
namespace {

// Names the sessions add: shared, so that processes collide, and one of them is the orphan key
// of a messy starting file.
const std::vector<std::string> kNames = {"Work", "Gym", "Runs", "Default"};

// A line every step ends with: always refused (no table has that section), so its refusal,
// which names its line, confirms that every line before it was carried out.
constexpr const char* kMarker = "tap 999 0";

std::string twoDigits(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

std::string recordXml(const std::string& date, double total) {
    const std::string t = std::to_string(total);
    return "\t\t<dict>\n\t\t\t<key>All Laps</key>\n\t\t\t<array>\n\t\t\t\t<real>" + t +
           "</real>\n\t\t\t</array>\n\t\t\t<key>Date</key>\n\t\t\t<date>" + date +
           "</date>\n\t\t\t<key>Last Lap</key>\n\t\t\t<real>" + t +
           "</real>\n\t\t\t<key>Total Time</key>\n\t\t\t<real>" + t + "</real>\n\t\t</dict>\n";
}

// A starting file: sections and the records of each key (a key need not be listed).
std::string startFileText(const std::vector<std::string>& sections,
                          const std::vector<std::pair<std::string, std::vector<std::string>>>& keys) {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST "
        "1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist "
        "version=\"1.0\">\n<dict>\n\t<key>Sections</key>\n\t<array>\n";
    for (const auto& name : sections) {
        text += "\t\t<string>" + name + "</string>\n";
    }
    text += "\t</array>\n";
    double total = 10.5;
    for (const auto& [name, dates] : keys) {
        text += "\t<key>Times - " + name + "</key>\n\t<array>\n";
        for (const auto& date : dates) {
            text += recordXml(date, total);
            total += 1;
        }
        text += "\t</array>\n";
    }
    return text + "</dict>\n</plist>\n";
}

// An edit starts from the Saved tab half the time (a fresh list) and from whatever the screen
// shows otherwise (a list that may be old by now, or no list at all).
std::vector<std::string> fromSavedTab(std::mt19937& random, std::vector<std::string> lines) {
    if (random() % 2 == 0) {
        lines.insert(lines.begin(), "tab saved");
    }
    return lines;
}

StepLines withWriteLast(std::string kind, std::vector<std::string> lines, int fromEnd) {
    const int writes = static_cast<int>(lines.size()) - 1 - fromEnd;
    return {std::move(kind), std::move(lines), writes};
}

StepLines randomStep(std::mt19937& random) {
    const int roll = static_cast<int>(random() % 100);
    const auto pick = [&](int n) { return std::to_string(random() % static_cast<unsigned>(n)); };
    if (roll < 30) {
        // The wait makes each capture's date a whole second or more after the one before.
        return {"capture",
                {"tab stopwatch", "start", "wait " + std::to_string(1 + random() % 4), "stop", "save"},
                4};
    }
    if (roll < 40) {
        return {"tab", {"tab saved"}, -1};
    }
    if (roll < 55) {
        return withWriteLast("delete", fromSavedTab(random, {"delete " + pick(3) + " " + pick(3)}), 0);
    }
    if (roll < 72) {
        std::string from = pick(3) + " " + pick(3);
        std::string to = pick(3) + " " + pick(3);
        if (from == to) {
            to = from.substr(0, 2) + std::to_string(std::stoi(from.substr(2)) + 1);
        }
        return withWriteLast("move", fromSavedTab(random, {"edit", "move " + from + " " + to}), 0);
    }
    if (roll < 84) {
        return withWriteLast("add",
                             fromSavedTab(random, {"edit", "add", "type " + kNames[random() % kNames.size()],
                                                   "button Add", "button Dismiss", "button Dismiss"}),
                             2);
    }
    if (roll < 88) {
        return {"done", {"done"}, -1};
    }
    if (roll < 95) {
        return {"relaunch", {"quit", "launch"}, -1};
    }
    return {"wait", {"wait 1"}, -1};
}

} // namespace

Plan planFor(unsigned seed) {
    Plan plan;
    plan.seed = seed;
    plan.window = seed % 3 == 2 ? 3 : 1;
    plan.fault =
        std::array{Fault::None, Fault::DiskFull, Fault::ReadOnly, Fault::Kill, Fault::None}[seed % 5];
    plan.messyStart = (seed / 5) % 2 == 1;
    return plan;
}

std::string describe(const Plan& plan) {
    static const char* const faults[] = {"no fault", "full disk", "read-only folder", "a process killed"};
    return "seed-" + std::to_string(plan.seed) + " (" +
           (plan.window == 1 ? std::string("one step at a time")
                             : "up to " + std::to_string(plan.window) + " steps racing") +
           ", " + faults[static_cast<int>(plan.fault)] + (plan.messyStart ? ", messy start" : "") + ")";
}

Run runFor(const Plan& plan) {
    Run run;
    run.plan = plan;
    std::mt19937 random(plan.seed * 2654435761U + 12345U);
    if (plan.messyStart) {
        // "Default" listed twice, and "Gym" an orphan key: its records are not shown until a
        // session adds the section.
        run.startFile = startFileText({"Default", "Work", "Default"},
                                      {{"Default", {"2020-01-01T00:00:01Z", "2020-01-01T00:00:02Z"}},
                                       {"Work", {"2020-01-01T00:00:03Z"}},
                                       {"Gym", {"2020-01-01T00:00:04Z", "2020-01-01T00:00:05Z"}}});
        run.initial = {{"2020-01-01T00:00:01Z", "Default"},
                       {"2020-01-01T00:00:02Z", "Default"},
                       {"2020-01-01T00:00:03Z", "Work"},
                       {"2020-01-01T00:00:04Z", "Gym"},
                       {"2020-01-01T00:00:05Z", "Gym"}};
    } else if (plan.seed % 2 == 0) {
        run.startFile = startFileText(
            {"Default", "Work"}, {{"Default", {"2020-01-01T00:00:01Z"}}, {"Work", {"2020-01-01T00:00:02Z"}}});
        run.initial = {{"2020-01-01T00:00:01Z", "Default"}, {"2020-01-01T00:00:02Z", "Work"}};
    }
    for (int p = 0; p < plan.processes; ++p) {
        Script script;
        script.now = "2031-" + twoDigits(p + 1) + "-01T00:00:00Z";
        script.steps.push_back({"launch", {"launch"}, -1});
        for (int s = 0; s < plan.stepsPerProcess; ++s) {
            script.steps.push_back(randomStep(random));
        }
        run.scripts.push_back(script);
    }
    std::vector<int> left(static_cast<std::size_t>(plan.processes), plan.stepsPerProcess + 1);
    for (int total = plan.processes * (plan.stepsPerProcess + 1); total > 0; --total) {
        int p = 0;
        do {
            p = static_cast<int>(random() % static_cast<unsigned>(plan.processes));
        } while (left[static_cast<std::size_t>(p)] == 0);
        --left[static_cast<std::size_t>(p)];
        run.order.push_back(p);
    }
    // The fault comes after every process launched, and lasts a stretch of steps.
    const std::size_t size = run.order.size();
    run.faultFrom = static_cast<std::size_t>(plan.processes) + random() % (size / 2);
    run.faultTo = std::min(size, run.faultFrom + 6 + random() % 10);
    if (plan.fault == Fault::Kill) {
        // The process is killed in a step that writes, from the first one at or after that place.
        std::vector<std::size_t> next(static_cast<std::size_t>(plan.processes), 0);
        for (std::size_t at = 0; at < size; ++at) {
            const auto p = static_cast<std::size_t>(run.order[at]);
            const StepLines& step = run.scripts[p].steps[next[p]++];
            if (at >= run.faultFrom && step.writes >= 0) {
                run.faultFrom = at;
                break;
            }
        }
    }
    return run;
}

namespace {

struct Sent {
    std::size_t step = 0;
    int first = 0;
    int writes = -1;
    int dismiss = -1;
    int marker = 0;
    std::vector<int> required;
};

struct Process {
    pid_t pid = -1;
    int in = -1;
    int err = -1;
    std::string pending;
    int lines = 0;
    std::vector<Sent> sent;
    std::size_t confirmed = 0;
    bool ended = false;
    bool killed = false;
    std::size_t nextStep = 0;
    Session session;
};

Process start(const std::string& home, const std::string& now) {
    const std::vector<std::string> argv = {lapvaneProgram(), "sim",   "--home", home, "--tz",     "UTC",
                                           "--locale",       "en_US", "--now",  now,  "--device", "iphone-4"};
    std::vector<char*> args;
    for (const auto& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    // Everything the child needs is made before fork: a child of a process with threads may
    // call nothing that allocates.
    std::vector<std::string> environment = {"LAPVANE_TRACE=store"};
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::string_view(*entry).rfind("LAPVANE_TRACE=", 0) != 0) {
            environment.emplace_back(*entry);
        }
    }
    std::vector<char*> env;
    for (auto& entry : environment) {
        env.push_back(entry.data());
    }
    env.push_back(nullptr);
    int in[2];
    int err[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
        return {};
    }
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in[0], STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        ::execve(args[0], args.data(), env.data());
        std::_Exit(127);
    }
    ::close(in[0]);
    ::close(err[1]);
    ::close(null);
    Process process;
    process.pid = pid;
    process.in = in[1];
    process.err = err[0];
    return process;
}

void sendStep(Process& process, const StepLines& step) {
    Sent sent;
    sent.step = process.nextStep++;
    sent.first = process.lines + 1;
    std::string text;
    for (std::size_t i = 0; i < step.lines.size(); ++i) {
        text += step.lines[i] + "\n";
        const int line = ++process.lines;
        if (static_cast<int>(i) == step.writes) {
            sent.writes = line;
        }
        if (step.kind == "add" && static_cast<int>(i) == step.writes + 1) {
            sent.dismiss = line;
        }
        if (step.kind == "capture" && (step.lines[i] == "start" || step.lines[i] == "stop")) {
            sent.required.push_back(line);
        }
    }
    text += std::string(kMarker) + "\n";
    sent.marker = ++process.lines;
    process.sent.push_back(sent);
    Step record;
    record.kind = step.kind;
    record.completed = false;
    // An add's dialog refusal is told by the Dismiss after it being carried out; until one
    // shows, the dismissal is taken as refused.
    process.session.steps.push_back(record);
    for (std::size_t at = 0; at < text.size();) {
        const ssize_t n = ::write(process.in, text.data() + at, text.size() - at);
        if (n <= 0) {
            break;
        }
        at += static_cast<std::size_t>(n);
    }
}

// Takes one line of a process's standard error into its session.
void takeLine(Process& process, const std::string& line) {
    static const std::regex error(R"(^error: .*:(\d+): (.*)$)");
    if (line.rfind("fault: ", 0) == 0) {
        process.session.fault = line;
        return;
    }
    if (process.confirmed >= process.sent.size()) {
        return;
    }
    if (auto change = parseChange(line)) {
        // Lines come in the order the process ran its steps: a change belongs to the oldest
        // step not yet confirmed.
        process.session.steps[process.confirmed].stored.push_back(*change);
        return;
    }
    std::smatch m;
    if (!std::regex_match(line, m, error)) {
        return;
    }
    const int number = std::stoi(m[1]);
    for (std::size_t i = process.confirmed; i < process.sent.size(); ++i) {
        Sent& sent = process.sent[i];
        if (number < sent.first || number > sent.marker) {
            continue;
        }
        Step& step = process.session.steps[sent.step];
        if (number == sent.writes) {
            step.refusal = m[2];
        } else if (number == sent.dismiss) {
            sent.dismiss = -1;
        } else if (std::find(sent.required.begin(), sent.required.end(), number) != sent.required.end()) {
            step.attempted = false;
        } else if (number == sent.marker) {
            if (sent.dismiss != -1 && step.refusal.empty() && step.stored.empty()) {
                // The Dismiss after Add was carried out: an alert stood in front, the dialog's
                // refusal of the name (the names typed here are never empty nor invalid).
                step.refusal = "the dialog said the name already exists";
            }
            step.completed = true;
            process.confirmed = i + 1;
        }
        return;
    }
}

// Reads what the processes wrote, waiting up to `milliseconds`.
void pump(std::vector<Process>& processes, int milliseconds) {
    std::vector<pollfd> fds;
    for (const Process& process : processes) {
        fds.push_back({process.ended ? -1 : process.err, POLLIN, 0});
    }
    if (::poll(fds.data(), fds.size(), milliseconds) <= 0) {
        return;
    }
    for (std::size_t i = 0; i < processes.size(); ++i) {
        if (fds[i].revents == 0) {
            continue;
        }
        Process& process = processes[i];
        char buffer[4096];
        const ssize_t n = ::read(process.err, buffer, sizeof buffer);
        if (n <= 0) {
            process.ended = true;
            continue;
        }
        process.pending.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t end; (end = process.pending.find('\n')) != std::string::npos;) {
            takeLine(process, process.pending.substr(0, end));
            process.pending.erase(0, end + 1);
        }
    }
}

std::size_t outstanding(const std::vector<Process>& processes) {
    std::size_t count = 0;
    for (const Process& process : processes) {
        if (!process.ended) {
            count += process.sent.size() - process.confirmed;
        }
    }
    return count;
}

// The home: a small tmpfs of its own, so that a full disk or a read-only remount touches no one
// else, and fsync costs nothing.
struct MountedHome {
    std::string path;
    bool mounted = false;
    explicit MountedHome(bool small) {
        char pattern[] = "/tmp/lapvane-history-XXXXXX";
        path = ::mkdtemp(pattern);
        mounted = ::mount("tmpfs", path.c_str(), "tmpfs", 0, small ? "size=512k" : "size=8m") == 0;
        ::mkdir((path + "/Library").c_str(), 0755);
        ::mkdir((path + "/Library/Preferences").c_str(), 0755);
    }
    ~MountedHome() {
        if (mounted) {
            ::umount2(path.c_str(), MNT_DETACH);
        }
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    MountedHome(const MountedHome&) = delete;
    MountedHome& operator=(const MountedHome&) = delete;
};

bool fillDisk(const std::string& home) {
    const int fd = ::open((home + "/filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    // Ever smaller writes until not one byte more fits.
    std::vector<char> block(65536, 'x');
    for (auto size = static_cast<ssize_t>(block.size()); size > 0; size /= 2) {
        while (::write(fd, block.data(), static_cast<std::size_t>(size)) == size) {
        }
    }
    ::close(fd);
    return true;
}

bool remount(const std::string& home, bool readOnly) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (::mount(nullptr, home.c_str(), nullptr, MS_REMOUNT | (readOnly ? MS_RDONLY : 0), nullptr) == 0) {
            return true;
        }
        // A file open for writing keeps the mount writable; a moment later it is closed.
        ::usleep(500);
    }
    return false;
}

std::optional<std::vector<Held>> readFinal(const std::string& file, std::string& why) {
    static const char* const script = R"(import os, plistlib, sys
path = sys.argv[1]
if not os.path.exists(path):
    sys.exit(0)
with open(path, 'rb') as f:
    root = plistlib.load(f)
for key, value in root.items():
    if key.startswith('Times - ') and isinstance(value, list):
        for r in value:
            d = r.get('Date') if isinstance(r, dict) else None
            print((d.strftime('%Y-%m-%dT%H:%M:%SZ') if d else 'no-date') + '\t' + key[8:])
)";
    const ChildRun run = runProgram({"/usr/bin/python3", "-c", script, file});
    if (run.status != 0) {
        why = run.output.substr(run.output.rfind('\n', run.output.size() - 2) + 1);
        return std::nullopt;
    }
    std::vector<Held> held;
    std::istringstream in(run.output);
    for (std::string line; std::getline(in, line);) {
        const auto tab = line.find('\t');
        if (tab != std::string::npos) {
            held.push_back({line.substr(0, tab), line.substr(tab + 1)});
        }
    }
    return held;
}

} // namespace

Outcome runHistory(const Run& run) {
    const auto began = std::chrono::steady_clock::now();
    std::signal(SIGPIPE, SIG_IGN);
    Outcome outcome;
    const Plan& plan = run.plan;
    MountedHome home(plan.fault == Fault::DiskFull);
    const std::string file = home.path + "/Library/Preferences/" + kSavedTimes;
    if (!run.startFile.empty()) {
        writeWhole(file, run.startFile);
    }
    std::vector<Process> processes;
    for (const Script& script : run.scripts) {
        processes.push_back(start(home.path, script.now));
        Session& session = processes.back().session;
        session.firstDate = script.now;
        session.lastDate = script.now.substr(0, 8) + "28T00:00:00Z";
    }
    std::mt19937 random(plan.seed);
    bool faultOn = false;
    const auto deadline = began + std::chrono::seconds(60);
    for (std::size_t at = 0; at < run.order.size(); ++at) {
        if (plan.fault == Fault::DiskFull || plan.fault == Fault::ReadOnly) {
            // Each fault starts and ends between steps; with one step at a time, exactly there.
            if (at == run.faultFrom && home.mounted) {
                faultOn = plan.fault == Fault::DiskFull ? fillDisk(home.path) : remount(home.path, true);
                outcome.faultApplied = faultOn;
            }
            if (at == run.faultTo && faultOn) {
                faultOn = false;
                if (plan.fault == Fault::DiskFull) {
                    ::unlink((home.path + "/filler").c_str());
                } else {
                    remount(home.path, false);
                }
            }
        }
        Process& process = processes[static_cast<std::size_t>(run.order[at])];
        if (process.ended || process.killed) {
            continue;
        }
        while (outstanding(processes) >= static_cast<std::size_t>(plan.window) &&
               std::chrono::steady_clock::now() < deadline) {
            pump(processes, 50);
        }
        const Script& script = run.scripts[static_cast<std::size_t>(run.order[at])];
        sendStep(process, script.steps[process.nextStep]);
        if (plan.fault == Fault::Kill && at == run.faultFrom) {
            // Somewhere inside the step: a capture or an edit takes about a millisecond.
            ::usleep(static_cast<useconds_t>(random() % 600));
            ::kill(process.pid, SIGKILL);
            process.killed = true;
            process.session.killed = true;
            outcome.faultApplied = true;
        }
    }
    if (faultOn) {
        if (plan.fault == Fault::DiskFull) {
            ::unlink((home.path + "/filler").c_str());
        } else {
            remount(home.path, false);
        }
    }
    for (Process& process : processes) {
        ::close(process.in);
    }
    while (std::chrono::steady_clock::now() < deadline) {
        bool all = true;
        for (const Process& process : processes) {
            all = all && process.ended;
        }
        if (all) {
            break;
        }
        pump(processes, 50);
    }
    for (Process& process : processes) {
        if (!process.ended) {
            ::kill(process.pid, SIGKILL);
            process.session.fault = "the session did not end within a minute";
        }
        ::waitpid(process.pid, nullptr, 0);
        ::close(process.err);
        outcome.input.sessions.push_back(process.session);
    }
    outcome.input.initial = run.initial;
    outcome.input.final = readFinal(file, outcome.input.unreadable);
    outcome.verdict = check(outcome.input);
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    return outcome;
}

} // namespace reliability::history
