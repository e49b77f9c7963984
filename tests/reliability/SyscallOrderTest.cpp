// The order of the system calls of every writing operation, traced with strace: each write of
// a file creates a new private file exclusively, writes it, gives it its mode, syncs and closes it, renames
// it over the file and syncs the folder, and all of it, from the read of the old file to the
// last rename, happens while the writers' lock is held.

#include "tests/reliability/Campaign.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <sstream>

namespace reliability {
namespace {

// One traced call: its name, its arguments as strace printed them (file descriptors with their
// paths, from -y) and its result.
struct Call {
    std::string name;
    std::string args;
    std::string result;
};

std::vector<Call> parseTrace(const std::string& text) {
    static const std::regex line(R"(^\d+\s+(\w+)\((.*)\)\s+=\s+(.*)$)");
    std::vector<Call> calls;
    std::istringstream in(text);
    for (std::string entry; std::getline(in, entry);) {
        std::smatch match;
        if (std::regex_match(entry, match, line)) {
            calls.push_back({match[1], match[2], match[3]});
        }
    }
    return calls;
}

bool succeeded(const Call& call) {
    return call.result.rfind("-1", 0) != 0;
}

// Checks every replacement of the file at `path` in the trace; counts them in `writes`. Each new
// file is created readable by its owner alone and gets its mode (a replaced file's, that of a
// damaged file moved aside, or a new file's) once its content is written.
void checkWrites(const std::vector<Call>& calls, const std::string& path, int& writes) {
    const std::string folder = path.substr(0, path.rfind('/'));
    const std::string base = path.substr(path.rfind('/') + 1);
    const std::string lock = folder + "/." + base + ".lock";
    const std::string temporary = folder + "/." + base + ".tmp-";
    const auto mentions = [](const Call& call, const std::string& text) {
        return call.args.find(text) != std::string::npos;
    };
    writes = 0;
    for (std::size_t r = 0; r < calls.size(); ++r) {
        const Call& rename = calls[r];
        if (rename.name != "rename" || !succeeded(rename) || !mentions(rename, ", \"" + path + "\"") ||
            !mentions(rename, temporary)) {
            continue;
        }
        ++writes;
        SCOPED_TRACE("write " + std::to_string(writes) + " of " + path);
        const std::string tmp = rename.args.substr(1, rename.args.find('"', 1) - 1);
        // The new file's own calls, in order, with nothing else done to it in between.
        std::vector<std::string> steps;
        std::size_t created = r;
        for (std::size_t i = r; i-- > 0;) {
            if (!mentions(calls[i], tmp)) {
                continue;
            }
            steps.insert(steps.begin(), calls[i].name);
            if (calls[i].name == "openat") {
                created = i;
                EXPECT_TRUE(mentions(calls[i], "O_CREAT|O_EXCL")) << calls[i].args;
                break;
            }
        }
        std::string order;
        for (const auto& step : steps) {
            order += (step == "write" && !order.empty() && order.substr(order.size() - 6) == "write ")
                         ? ""
                         : step + " ";
        }
        // Created private, written whole, and only then given its mode (and owner), so that
        // nobody else can open it before its content is complete.
        EXPECT_TRUE(std::regex_match(order, std::regex("openat write (fchown )?fchmod fsync close ")))
            << order;
        const std::string& openArgs = calls[created].args;
        EXPECT_TRUE(openArgs.size() > 6 && openArgs.substr(openArgs.size() - 6) == ", 0600") << openArgs;
        // Then the folder is synced.
        ASSERT_LT(r + 3, calls.size());
        EXPECT_EQ(calls[r + 1].name, "openat");
        EXPECT_TRUE(mentions(calls[r + 1], "\"" + folder + "\"") && mentions(calls[r + 1], "O_DIRECTORY"));
        EXPECT_EQ(calls[r + 2].name, "fsync");
        EXPECT_TRUE(mentions(calls[r + 2], "<" + folder + ">"));
        // The lock: taken before the operation's read of the old file and this creation, given
        // back after the folder is synced.
        std::size_t locked = calls.size();
        for (std::size_t i = created; i-- > 0;) {
            if (calls[i].name == "flock" && mentions(calls[i], lock + ">") && mentions(calls[i], "LOCK_EX")) {
                locked = i;
                break;
            }
        }
        ASSERT_LT(locked, created) << "no lock taken before the write";
        const std::string lockFd = calls[locked].args.substr(0, calls[locked].args.find('<'));
        std::size_t released = calls.size();
        for (std::size_t i = locked + 1; i < calls.size(); ++i) {
            if (calls[i].name == "close" && calls[i].args.rfind(lockFd + "<" + lock, 0) == 0) {
                released = i;
                break;
            }
        }
        EXPECT_GT(released, r + 2) << "the lock was given back before the write was in place";
        EXPECT_LT(released, calls.size()) << "the lock was never given back";
        // The last read of the old file before this write happened under the same lock.
        for (std::size_t i = created; i-- > 0;) {
            if (calls[i].name == "openat" && succeeded(calls[i]) && mentions(calls[i], "\"" + path + "\"") &&
                mentions(calls[i], "O_RDONLY")) {
                EXPECT_GT(i, locked) << "the file was read before the lock was taken";
                break;
            }
        }
    }
    // Nothing ever changes the file's mode after the fact, nor writes it in place.
    for (const Call& call : calls) {
        if ((call.name == "chmod" || call.name == "fchmodat") && mentions(call, "\"" + path + "\"")) {
            ADD_FAILURE() << "mode changed after the rename: " << call.args;
        }
        if (call.name == "openat" && mentions(call, "\"" + path + "\"") && mentions(call, "O_WRONLY")) {
            ADD_FAILURE() << "written in place: " << call.args;
        }
    }
}

struct OrderCase {
    std::string name;
    std::vector<std::string> command;
    std::function<void(const Home&)> seed;
    // How many times each file is replaced.
    int savedTimesWrites;
    int settingsWrites;
};

void PrintTo(const OrderCase& c, std::ostream* out) {
    *out << c.name;
}

class SyscallOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(SyscallOrder, CreateExclusiveWriteSyncCloseRenameSyncTheFolderUnderTheLock) {
    Home home;
    if (GetParam().seed) {
        GetParam().seed(home);
    }
    const std::string trace = home.path() + "/trace";
    std::vector<std::string> argv{"/usr/bin/strace",
                                  "-f",
                                  "-qq",
                                  "-y",
                                  "-o",
                                  trace,
                                  "-e",
                                  "trace=openat,flock,write,fsync,close,rename,fchmod,fchown,chmod,"
                                  "fchmodat"};
    argv.push_back(driverProgram());
    for (const auto& word : GetParam().command) {
        argv.push_back(word == "HOME" ? home.path() : word);
    }
    const ChildRun run = runProgram(argv);
    ASSERT_EQ(run.status, 0) << run.output;
    const std::vector<Call> calls = parseTrace(readWhole(trace));
    ASSERT_FALSE(calls.empty());
    int writes = 0;
    checkWrites(calls, home.savedTimes(), writes);
    EXPECT_EQ(writes, GetParam().savedTimesWrites);
    checkWrites(calls, home.preferences() + "/" + kSettings, writes);
    EXPECT_EQ(writes, GetParam().settingsWrites);
    EXPECT_TRUE(home.temporaries().empty());
}

void seedTwoSections(const Home& home) {
    writeWhole(home.savedTimes(), savedTimesText({1}, {2, 3}));
}

INSTANTIATE_TEST_SUITE_P(
    Operations, SyscallOrder,
    ::testing::Values(
        // A session: the tab tap and the stop write the clock settings, Save the saved times.
        OrderCase{"CaptureIntoANewFile", {"save", "HOME"}, nullptr, 1, 2},
        OrderCase{"CaptureIntoAFile", {"save", "HOME"}, seedTwoSections, 1, 2},
        OrderCase{"CaptureOverADamagedFile",
                  {"save", "HOME"},
                  [](const Home& home) { writeWhole(home.savedTimes(), "<plist><dict>"); },
                  1,
                  2},
        OrderCase{"FirstLoad", {"first-load", "HOME"}, nullptr, 1, 0},
        // Deleting the only record of a section among two drops it: two writes.
        OrderCase{"DeleteDroppingASection", {"delete", "HOME"}, seedTwoSections, 2, 0},
        OrderCase{"MoveDroppingASection", {"move", "HOME"}, seedTwoSections, 2, 0},
        OrderCase{"AddSection", {"add", "HOME"}, seedTwoSections, 1, 0},
        OrderCase{"ClockSettings", {"settings", "HOME"}, nullptr, 0, 1}),
    testing_support::PrintedName());

} // namespace
} // namespace reliability
