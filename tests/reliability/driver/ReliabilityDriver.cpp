// lapvane_reliability_driver: one process doing what the Clock application does to the saved
// times and its settings, for the reliability campaigns to trace, fault, kill and run side by
// side. Exit status: 0 when the operation wrote, 3 when it wrote nothing, 1 on a fault or a
// usage error.
//
//   save HOME                 a simulated session: launch, time two laps, stop, tap Save; 0 when
//                             the Save button is disabled afterwards (stored), 3 when enabled
//   first-load|delete|move|add|settings HOME
//                             one operation of the store (the browser's first load, deleting row
//                             0 of section 0, moving it to section 1, adding a section named
//                             "Added") or one write of the clock settings
//   churn HOME JOURNAL SEED   captures and edits without end, each announced in JOURNAL before
//                             it starts ("? C id") and confirmed after it wrote ("! C id")
//   captures HOME COUNT BASE  COUNT captures with the totals BASE, BASE + 1, ...; exit status:
//                             the number that failed
//   list-loop HOME STOP       reads the file until the file STOP exists, then prints
//                             "reads N torn T" and exits with T != 0
//   peak PROGRAM ARGS...      runs PROGRAM, then prints "peak N" (its peak resident memory in
//                             kilobytes) and exits with its status. A child forked from this
//                             small process starts small, where one forked from a test program
//                             would count the test's memory as its own

#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesStore.h"
#include "hosts/clock/ClockPreferences.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/runtime/Runtime.h"
#include "simulator/script/LineReader.h"
#include "simulator/script/Session.h"
#include "simulator/script/Simulator.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kWrote = 0;
constexpr int kWroteNothing = 3;
constexpr int kFault = 1;

int outcome(const lv::SavedTimesWrite& write) {
    return write.written ? kWrote : kWroteNothing;
}

id record(double total) {
    return lv::makeSavedTime(1.0F, {1.0F}, total, NSDate::date());
}

// The browser's in-memory list, from a fresh read.
std::shared_ptr<NSMutableArray> inMemory() {
    auto all = NSMutableArray::with();
    const lv::SavedTimesRead read = lv::SavedTimesStore::read();
    if (!read.root) {
        return all;
    }
    lv::SavedTimesDocument document(read.root);
    for (const auto& name : document.sectionNames()) {
        all->addObject(document.recordsOrEmpty(name));
    }
    return all;
}

int save(const std::string& home) {
    sim::SessionOptions options;
    options.home = home;
    options.device = "iphone-4";
    std::istringstream script("launch\ntab stopwatch\nstart\nwait 3\nlap\nwait 2.5\nstop\nsave\ndump\n");
    auto reader = sim::streamLineReader(script, "save");
    std::ostringstream out;
    std::ostringstream err;
    // A Save that stored nothing is a refused line (status 2), which the dump below tells from a
    // stored one; only a fault or a device that cannot start is the driver's fault.
    if (sim::runSession(options, *reader, out, err) == sim::kExitFault) {
        return kFault;
    }
    // The last line is the dump; the Save button's state says whether the result was stored.
    std::string text = out.str();
    const std::size_t start = text.rfind('{', text.rfind("{\"time\""));
    const auto dump = nlohmann::json::parse(text.substr(start), nullptr, false);
    if (dump.is_discarded()) {
        return kFault;
    }
    const auto& button = dump["stopwatch"]["save_button"];
    return button.is_object() && button["enabled"] == false ? kWrote : kWroteNothing;
}

// Appends one line to the journal, whole, before going on.
void journal(int fd, const std::string& line) {
    const std::string text = line + "\n";
    if (::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        std::_Exit(kFault);
    }
}

int churn(const std::string& journalPath, unsigned seed) {
    const int fd = ::open(journalPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        return kFault;
    }
    std::mt19937 random(seed);
    double next = static_cast<double>(seed) * 1'000'000.0;
    for (int n = 0;; ++n) {
        auto all = inMemory();
        std::size_t records = 0;
        for (const id& section : all->items()) {
            records += rt::cast<NSArray>(section)->count();
        }
        // Captures and deletes balance around 30 records, so the file keeps its size.
        const unsigned pick = random() % 10;
        const bool capture = records < 30 ? pick < 6 : pick < 3;
        if (capture || records == 0) {
            const double total = ++next;
            journal(fd, "? C " + std::to_string(static_cast<long long>(total)));
            if (!lv::SavedTimesStore::appendToFirstSection(record(total)).written) {
                return kFault;
            }
            journal(fd, "! C " + std::to_string(static_cast<long long>(total)));
            continue;
        }
        // An edit of a random record of a random non-empty section.
        const std::size_t section = random() % all->count();
        auto list = all->objectAs<NSMutableArray>(section);
        if (pick == 9 && all->count() < 5) {
            journal(fd, "? A");
            if (!lv::SavedTimesStore::addSection("S" + std::to_string(seed) + "-" + std::to_string(n))
                     .written) {
                return kFault;
            }
            journal(fd, "! A");
            continue;
        }
        if (!list || list->count() == 0) {
            continue;
        }
        const std::size_t row = random() % list->count();
        // Records are told apart by their totals, which the campaigns make unique.
        auto dictionary = rt::cast<NSDictionary>(list->objectAtIndex(row));
        auto total = dictionary ? dictionary->objectAs<NSNumber>(lv::kTotalTimeKey) : nullptr;
        const std::string id = std::to_string(total ? static_cast<long long>(total->doubleValue()) : -1);
        if (pick < 7) {
            journal(fd, "? D " + id);
            if (!lv::SavedTimesStore::deleteRecord(*all, section, row).written) {
                return kFault;
            }
            journal(fd, "! D " + id);
        } else {
            const std::size_t to = random() % all->count();
            auto destination = all->objectAs<NSMutableArray>(to);
            const std::size_t places = destination->count() + (to == section ? 0 : 1);
            journal(fd, "? M " + id);
            if (!lv::SavedTimesStore::moveRecord(*all, section, row, to, random() % places).written) {
                return kFault;
            }
            journal(fd, "! M " + id);
        }
    }
}

int captures(int count, double base) {
    int failed = 0;
    for (int i = 0; i < count; ++i) {
        failed += lv::SavedTimesStore::appendToFirstSection(record(base + i)).written ? 0 : 1;
    }
    return failed;
}

int listLoop(const std::string& stop) {
    long reads = 0;
    long torn = 0;
    struct stat info {};
    while (::stat(stop.c_str(), &info) != 0) {
        const lv::SavedTimesRead read = lv::SavedTimesStore::read();
        ++reads;
        // A reader sees the old file or the new one: never a file it cannot parse.
        if (read.status != lv::SavedTimesRead::Status::Ok &&
            read.status != lv::SavedTimesRead::Status::Missing) {
            ++torn;
        }
    }
    std::printf("reads %ld torn %ld\n", reads, torn);
    return torn == 0 ? 0 : kFault;
}

int peak(char** argv) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::execv(argv[0], argv);
        std::_Exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child) {
        return kFault;
    }
    std::printf("peak %ld\n", usage.ru_maxrss);
    return WIFEXITED(status) ? WEXITSTATUS(status) : kFault;
}

int run(int argc, char** argv) {
    if (argc < 3) {
        return kFault;
    }
    const std::string command = argv[1];
    if (command == "peak") {
        return peak(argv + 2);
    }
    const std::string home = argv[2];
    if (command == "save") {
        return save(home);
    }
    rt::Runtime runtime;
    rt::Runtime::Scope runtimeScope(runtime);
    ns::HomeDirectory::Scope homeScope(home);
    if (command == "first-load") {
        return outcome(lv::SavedTimesStore::ensureSectionList());
    }
    if (command == "delete") {
        auto all = inMemory();
        return outcome(lv::SavedTimesStore::deleteRecord(*all, 0, 0));
    }
    if (command == "move") {
        auto all = inMemory();
        return outcome(lv::SavedTimesStore::moveRecord(*all, 0, 0, 1, 0));
    }
    if (command == "add") {
        return outcome(lv::SavedTimesStore::addSection("Added"));
    }
    if (command == "settings") {
        return clk::ClockPreferences::update({{clk::kLastTimeKey, NSNumber::withDouble(12.5)}})
                   ? kWrote
                   : kWroteNothing;
    }
    if (command == "churn" && argc == 5) {
        return churn(argv[3], static_cast<unsigned>(std::stoul(argv[4])));
    }
    if (command == "captures" && argc == 5) {
        return captures(std::stoi(argv[3]), std::stod(argv[4]));
    }
    if (command == "list-loop" && argc == 4) {
        return listLoop(argv[3]);
    }
    return kFault;
}

} // namespace

int main(int argc, char** argv) {
    return run(argc, argv);
}
