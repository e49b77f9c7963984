// Each hostile file of the catalogue, generated here, put at the saved-times path of a fresh
// home; then `lapvane times list` and a capture run on it, each within its time and memory
// (two seconds and 512 MB of address space). Each gives its documented outcome, and no byte
// of the original is lost: it stays where it was, or is moved aside whole, or every value in it
// is in the new file.

#include "tests/reliability/Campaign.h"
#include "tests/reliability/HostileFiles.h"
#include "tests/support/CaseName.h"

#include "platform/foundation/PropertyListOptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include <sys/stat.h>
#include <unistd.h>

namespace reliability {

void PrintTo(const HostileFile& file, std::ostream* out) {
    *out << file.name;
}

namespace {

// What stands at a path, to tell that nothing changed it: its kind and, for a file, its bytes.
std::string snapshot(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return "nothing";
    }
    if (S_ISLNK(info.st_mode)) {
        char target[4096] = {};
        const ssize_t length = ::readlink(path.c_str(), target, sizeof target - 1);
        return "link to " + std::string(target, length > 0 ? static_cast<std::size_t>(length) : 0);
    }
    if (S_ISREG(info.st_mode)) {
        return "file of " + std::to_string(info.st_size) +
               " bytes: " + (info.st_size < (64 << 20) ? readWhole(path) : std::string("(large)"));
    }
    return "kind " + std::to_string(info.st_mode & S_IFMT);
}

constexpr long long kCaptured = 424242;

class HostileFileCatalogue : public ::testing::TestWithParam<HostileFile> {};

TEST_P(HostileFileCatalogue, GivesItsOutcomeAndLosesNoByte) {
    const HostileFile& file = GetParam();
    Home home;
    const std::string path = home.savedTimes();
    file.make(path);
    const std::string before = snapshot(path);
    const RootValues original = rootValues(path);
    const Limits limits{file.seconds, file.memory};

    const ChildRun list = runProgram({lapvaneProgram(), "times", "list", "--home", home.path()}, limits);
    EXPECT_EQ(list.signal, 0) << "times list was ended (time or memory) after " << list.seconds << " s";
    const bool listable = file.outcome == Outcome::Read || file.outcome == Outcome::ReadCaptureRefused ||
                          file.outcome == Outcome::Missing;
    EXPECT_EQ(list.status, listable ? 0 : 1) << list.output;

    const ChildRun capture =
        runProgram({driverProgram(), "captures", home.path(), "1", std::to_string(kCaptured)}, limits);
    EXPECT_EQ(capture.signal, 0) << "the capture was ended (time or memory) after " << capture.seconds
                                 << " s";
    const bool stores =
        file.outcome == Outcome::Read || file.outcome == Outcome::Damaged || file.outcome == Outcome::Missing;
    EXPECT_EQ(capture.status, stores ? 0 : 1) << capture.output;
    EXPECT_TRUE(home.temporaries().empty());

    switch (file.outcome) {
    case Outcome::Inaccessible:
    case Outcome::ReadCaptureRefused:
        EXPECT_EQ(snapshot(path), before) << "the path was changed";
        EXPECT_TRUE(home.movedAside().empty());
        break;
    case Outcome::Damaged: {
        const auto aside = home.movedAside();
        ASSERT_EQ(aside.size(), 1U);
        EXPECT_EQ(snapshot(home.preferences() + "/" + aside.front()), before) << "not moved aside whole";
        EXPECT_EQ(readContent(path).totals, std::multiset<long long>{kCaptured});
        break;
    }
    case Outcome::Missing:
        EXPECT_EQ(readContent(path).totals, std::multiset<long long>{kCaptured});
        break;
    case Outcome::Read: {
        EXPECT_TRUE(home.movedAside().empty());
        const RootValues after = rootValues(path);
        ASSERT_TRUE(original.parsed && after.parsed);
        // Every value is still there; the first section's records gained the capture at the end.
        for (const auto& [key, values] : original.values) {
            const auto now = after.values.find(key);
            ASSERT_NE(now, after.values.end()) << key << " is gone";
            if (key == "Times - " + after.firstSection) {
                ASSERT_EQ(now->second.size(), values.size() + 1) << key;
                EXPECT_TRUE(std::equal(values.begin(), values.end(), now->second.begin())) << key;
            } else if (key != "Sections") {
                EXPECT_EQ(now->second, values) << key;
            } else {
                // A list without names gains "Default"; its other values stay in place.
                EXPECT_TRUE(std::equal(values.begin(), values.end(), now->second.begin())) << key;
            }
        }
        EXPECT_EQ(readContent(path).totals.count(kCaptured), 1U);
        break;
    }
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, HostileFileCatalogue, ::testing::ValuesIn(hostileFiles()),
                         testing_support::PrintedName());

// A capture that would make the file larger than the readers accept writes nothing: the next
// save would otherwise move the whole history aside as unreadable.
TEST(HostileFileCatalogueLimits, ACaptureThatWouldCrossTheReadersCapWritesNothing) {
    Home home;
    const std::string text = savedTimesText({1});
    const std::string padding = "<key>Padding</key><string>";
    const std::size_t room = plist::Limits{}.maxBytes - text.size() - padding.size() - 30;
    std::string bytes = text.substr(0, text.rfind("</dict>")) + padding + std::string(room, 'x') +
                        "</string>\n" + text.substr(text.rfind("</dict>"));
    ASSERT_LE(bytes.size(), plist::Limits{}.maxBytes);
    writeWhole(home.savedTimes(), bytes);
    bytes.clear();
    const ChildRun capture = runProgram({driverProgram(), "captures", home.path(), "1", "7"}, Limits{60, 0});
    EXPECT_EQ(capture.status, 1) << capture.output;
    EXPECT_TRUE(home.movedAside().empty());
    EXPECT_TRUE(home.temporaries().empty());
    EXPECT_EQ(readContent(home.savedTimes()).totals, std::multiset<long long>{1});
}

} // namespace
} // namespace reliability

namespace reliability {
namespace {

// The files whose objects are shared many times, and the file of nothing but empty containers,
// cost under four times their size in memory and under two seconds: `times list`'s peak resident memory on
// each, less its peak without a file.
TEST(HostileFileCatalogueFigures, SharedObjectsCostUnderFourTimesTheFile) {
    // `times list` run by the driver, which reports the peak of a child that starts small.
    struct Listed {
        ChildRun run;
        long peakKilobytes = 0;
    };
    const auto list = [](const Home& home) {
        Listed listed;
        listed.run =
            runProgram({driverProgram(), "peak", lapvaneProgram(), "times", "list", "--home", home.path()},
                       Limits{2, 512ULL << 20});
        const std::size_t at = listed.run.output.rfind("peak ");
        listed.peakKilobytes = at == std::string::npos ? 0 : std::stol(listed.run.output.substr(at + 5));
        return listed;
    };
    // The baseline: the same command on a tiny file that takes the same way, read without a
    // section list or refused as damaged.
    const auto baseline = [&list](Outcome outcome) {
        Home home;
        const std::string body =
            outcome == Outcome::Read ? "<dict><key>x</key><integer>1</integer></dict>" : "<array/>";
        writeWhole(home.savedTimes(),
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body +
                       "\n</plist>\n");
        long peak = 0;
        for (int i = 0; i < 3; ++i) {
            const Listed listed = list(home);
            EXPECT_EQ(listed.run.status, outcome == Outcome::Read ? 0 : 1) << listed.run.output;
            peak = std::max(peak, listed.peakKilobytes);
        }
        return peak;
    };
    std::string figures;
    for (const auto& file : hostileFiles()) {
        if (file.name != "BinaryKeysAllNamingOneLargeString" &&
            file.name != "BinaryDictionaryReferenced20000Times" &&
            file.name != "XmlEmptyContainersOfFourMegabytes") {
            continue;
        }
        Home home;
        file.make(home.savedTimes());
        struct stat info {};
        ASSERT_EQ(::stat(home.savedTimes().c_str(), &info), 0);
        const Listed listed = list(home);
        EXPECT_EQ(listed.run.signal, 0) << file.name;
        ASSERT_GT(listed.peakKilobytes, 0) << listed.run.output;
        const long base = baseline(file.outcome);
        const long growth = listed.peakKilobytes - base;
        EXPECT_LT(growth * 1024, 4 * info.st_size)
            << file.name << ": " << listed.peakKilobytes << " KB against " << base << " KB";
        EXPECT_LT(listed.run.seconds, 2.0) << file.name;
        figures += (figures.empty() ? "" : "; ") + file.name + " (" + std::to_string(info.st_size / 1024) +
                   " KB): " + std::to_string(growth) + " KB over the peak on a tiny file of its outcome, " +
                   std::to_string(static_cast<int>(listed.run.seconds * 1000)) + " ms";
    }
    reportFigures("shared objects", figures);
}

TEST(HostileFileCatalogueFigures, CountsTheCasesByOutcome) {
    std::map<Outcome, int> counts;
    for (const auto& file : hostileFiles()) {
        ++counts[file.outcome];
    }
    reportFigures("hostile files",
                  std::to_string(hostileFiles().size()) + " generated cases (" +
                      std::to_string(counts[Outcome::Damaged]) + " damaged, moved aside whole; " +
                      std::to_string(counts[Outcome::Inaccessible]) + " not readable, left alone; " +
                      std::to_string(counts[Outcome::Read]) + " read, every value kept; " +
                      std::to_string(counts[Outcome::ReadCaptureRefused]) + " read, capture refused; " +
                      std::to_string(counts[Outcome::Missing]) +
                      " like no file) plus one file at the size cap, each run through times list "
                      "and a capture within 2 s and 512 MB");
}

} // namespace
} // namespace reliability
