#include "tests/reliability/Campaign.h"

#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesDocument.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/runtime/Runtime.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace reliability {

namespace fs = std::filesystem;

std::string driverProgram() {
    return LAPVANE_DRIVER_EXE;
}

std::string lapvaneProgram() {
    return LAPVANE_LAPVANE_EXE;
}

namespace {

// The argument vector of exec, built before fork: a child of a process with threads may call
// nothing that allocates.
std::vector<char*> execArguments(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const auto& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    return args;
}

[[noreturn]] void execChild(const std::vector<char*>& args, int outFd, int inFd, const Limits& limits) {
    ::dup2(outFd, STDOUT_FILENO);
    ::dup2(outFd, STDERR_FILENO);
    ::dup2(inFd, STDIN_FILENO);
    if (limits.addressSpace != 0) {
        rlimit space{limits.addressSpace, limits.addressSpace};
        ::setrlimit(RLIMIT_AS, &space);
    }
    ::execv(args[0], args.data());
    std::_Exit(127);
}

} // namespace

ChildRun runProgram(const std::vector<std::string>& argv, const Limits& limits) {
    char outPath[] = "/tmp/lapvane-run-XXXXXX";
    const int outFd = ::mkstemp(outPath);
    const int inFd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const std::vector<char*> args = execArguments(argv);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        execChild(args, outFd, inFd, limits);
    }
    ::close(inFd);
    int status = 0;
    const auto deadline = start + std::chrono::duration<double>(limits.seconds);
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            break;
        }
        ::usleep(1000);
    }
    ChildRun run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (WIFEXITED(status)) {
        run.status = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        run.signal = WTERMSIG(status);
    }
    ::close(outFd);
    run.output = readWhole(outPath);
    ::unlink(outPath);
    return run;
}

Child startProgram(const std::vector<std::string>& argv) {
    const int nullFd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    const std::vector<char*> args = execArguments(argv);
    const pid_t child = ::fork();
    if (child == 0) {
        execChild(args, nullFd, nullFd, Limits{});
    }
    ::close(nullFd);
    return Child{child};
}

int waitFor(Child child) {
    int status = 0;
    ::waitpid(child.pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

Home::Home() {
    char pattern[] = "/tmp/lapvane-home-XXXXXX";
    path_ = ::mkdtemp(pattern);
    fs::create_directories(preferences());
}

Home::~Home() {
    std::error_code error;
    fs::remove_all(path_, error);
}

void Home::clear() const {
    std::error_code error;
    fs::remove_all(preferences(), error);
    fs::create_directories(preferences());
}

std::vector<std::string> Home::listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(preferences())) {
        const std::string name = entry.path().filename();
        if (name.size() < 5 || name.substr(name.size() - 5) != ".lock") {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> Home::temporaries() const {
    std::vector<std::string> names;
    for (const auto& name : listing()) {
        if (name.find(".tmp-") != std::string::npos) {
            names.push_back(name);
        }
    }
    return names;
}

std::vector<std::string> Home::movedAside() const {
    std::vector<std::string> names;
    for (const auto& name : listing()) {
        if (name.find(".unreadable-") != std::string::npos) {
            names.push_back(name);
        }
    }
    return names;
}

namespace {
// The runtime in force is process-wide: campaigns that check from two threads take turns.
std::mutex runtimeTurn;
} // namespace

Content readContent(const std::string& path) {
    const std::lock_guard<std::mutex> turn(runtimeTurn);
    rt::Runtime runtime;
    rt::Runtime::Scope scope(runtime);
    Content content;
    const plist::ReadResult read = plist::readDictionaryFile(path, plist::Mutability::MutableContainers);
    content.missing = read.status == plist::ReadStatus::Missing;
    if (!read.ok()) {
        return content;
    }
    content.parsed = true;
    lv::SavedTimesDocument document(read.mutableDictionary());
    const auto names = document.sectionNames();
    content.sections = names.size();
    for (const auto& name : names) {
        const auto records = document.recordsOrEmpty(name);
        for (const id& item : records->items()) {
            auto record = rt::cast<NSDictionary>(item);
            auto total = record ? record->objectAs<NSNumber>(lv::kTotalTimeKey) : nullptr;
            content.totals.insert(total ? static_cast<long long>(total->doubleValue()) : -1);
        }
    }
    return content;
}

RootValues rootValues(const std::string& path) {
    const std::lock_guard<std::mutex> turn(runtimeTurn);
    rt::Runtime runtime;
    rt::Runtime::Scope scope(runtime);
    RootValues out;
    const plist::ReadResult read = plist::readDictionaryFile(path, plist::Mutability::MutableContainers);
    if (!read.ok()) {
        return out;
    }
    out.parsed = true;
    const auto names = lv::SavedTimesDocument(read.mutableDictionary()).sectionNames();
    out.firstSection = names.empty() ? "" : names.front();
    const auto text = [](const id& value) {
        return plist::xmlText(*NSDictionary::with({{"v", value}})).text;
    };
    for (const auto& [key, value] : read.dictionary->entries()) {
        auto& texts = out.values[key];
        if (auto array = rt::cast<NSArray>(value)) {
            for (const id& item : array->items()) {
                texts.push_back(text(item));
            }
        } else {
            texts.push_back("not an array: " + text(value));
        }
    }
    return out;
}

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeWhole(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string savedTimesText(const std::vector<long long>& totals, const std::vector<long long>& work) {
    const std::lock_guard<std::mutex> turn(runtimeTurn);
    rt::Runtime runtime;
    rt::Runtime::Scope scope(runtime);
    const auto records = [](const std::vector<long long>& list) {
        auto array = NSMutableArray::with();
        for (long long total : list) {
            array->addObject(lv::makeSavedTime(1.0F, {1.0F}, static_cast<double>(total),
                                               NSDate::withTimeIntervalSince1970(1796630400.0)));
        }
        return array;
    };
    auto root = NSMutableDictionary::with();
    auto names = NSMutableArray::with({NSString::with("Default")});
    root->setObject(records(totals), lv::sectionKey("Default"));
    if (!work.empty()) {
        names->addObject(NSString::with("Work"));
        root->setObject(records(work), lv::sectionKey("Work"));
    }
    root->setObject(names, lv::kSectionsKey);
    return plist::xmlText(*root).text;
}

void reportFigures(const std::string& campaign, const std::string& figures) {
    std::cout << "figures: " << campaign << ": " << figures << std::endl;
    ::testing::Test::RecordProperty("figures", figures);
}

} // namespace reliability
