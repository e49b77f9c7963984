// Three processes capture into one home while a fourth reads the file in a loop: with every
// writer holding the writers' lock from its read to its rename, no capture is lost, and with
// every write atomic, no read finds a file it cannot parse.

#include "tests/reliability/Campaign.h"

#include <gtest/gtest.h>

#include <fstream>

namespace reliability {
namespace {

TEST(ConcurrentWriters, ThreeWritersLoseNothingAndAReaderNeverSeesATornFile) {
    constexpr int kWriters = 3;
    constexpr int kCaptures = 300;
    Home home;
    const std::string stop = home.path() + "/stop";
    const std::string readerOut = home.path() + "/reader";
    // The reader writes its counts to a file of its own once told to stop.
    const Child reader = startProgram({"/bin/sh", "-c", "exec \"$0\" list-loop \"$1\" \"$2\" > \"$3\"",
                                       driverProgram(), home.path(), stop, readerOut});
    std::vector<Child> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.push_back(startProgram({driverProgram(), "captures", home.path(), std::to_string(kCaptures),
                                        std::to_string(100000 * (w + 1))}));
    }
    int failedCaptures = 0;
    for (const Child& writer : writers) {
        failedCaptures += waitFor(writer);
    }
    std::ofstream(stop).put('\n');
    const int readerStatus = waitFor(reader);
    const Content content = readContent(home.savedTimes());
    ASSERT_TRUE(content.parsed);
    std::multiset<long long> expected;
    for (int w = 0; w < kWriters; ++w) {
        for (int i = 0; i < kCaptures; ++i) {
            expected.insert(100000LL * (w + 1) + i);
        }
    }
    const auto lost = static_cast<long long>(expected.size()) - static_cast<long long>(content.totals.size());
    EXPECT_EQ(failedCaptures, 0);
    EXPECT_EQ(content.totals, expected);
    EXPECT_EQ(readerStatus, 0) << readWhole(readerOut);
    EXPECT_TRUE(home.temporaries().empty());
    reportFigures("concurrent writers",
                  std::to_string(kWriters) + " x " + std::to_string(kCaptures) + " captures into one home: " +
                      std::to_string(content.totals.size()) + " records stored, " + std::to_string(lost) +
                      " lost; reader: " + readWhole(readerOut).substr(0, readWhole(readerOut).find('\n')) +
                      " (a torn read is one that does not parse)");
}

} // namespace
} // namespace reliability
