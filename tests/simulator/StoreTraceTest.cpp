// LAPVANE_TRACE=store: one line on standard error for each change the add-on's store wrote,
// naming the record by its date as the file holds it and the sections it went from and to;
// nothing for what was not written. Tools that check histories of concurrent sessions read it.

#include "tests/simulator/LapvaneProgram.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <string>
#include <vector>

namespace {

using testing_support::runLapvane;
using testing_support::TemporaryDirectory;

std::vector<std::string> storeLines(const std::string& err) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; (at = err.find("[store] ", at)) != std::string::npos;) {
        const std::size_t end = err.find('\n', at);
        lines.push_back(err.substr(at, end - at));
        at = end;
    }
    return lines;
}

std::vector<std::string> options(const TemporaryDirectory& home) {
    return {"sim", "--home", home.path(), "--now", "2031-01-01T00:00:00Z", "--tz", "UTC"};
}

TEST(StoreTrace, NamesEachStoredChangeByTheRecordsDateAndItsSections) {
    TemporaryDirectory home;
    const auto run =
        runLapvane(options(home),
                   "launch\ntab stopwatch\nstart\nwait 2\nstop\nsave\nstart\nwait 1.5\nstop\nsave\n"
                   "tab saved\nedit\nadd\ntype Work \"A\"\nbutton Add\nmove 0 1 1 0\ndelete 0 0\n",
                   {"LAPVANE_TRACE=store"});
    EXPECT_EQ(run.status, 0) << run.err;
    // The second result was saved at 3.5 s, written as the file writes dates: whole seconds.
    EXPECT_EQ(storeLines(run.err), (std::vector<std::string>{
                                       R"([store] capture 2031-01-01T00:00:02Z to "Default")",
                                       R"([store] capture 2031-01-01T00:00:03Z to "Default")",
                                       R"([store] add "Work \"A\"")",
                                       R"([store] move 2031-01-01T00:00:03Z from "Default" to "Work \"A\"")",
                                       R"([store] delete 2031-01-01T00:00:02Z from "Default")",
                                   }));
}

TEST(StoreTrace, SaysNothingOfAChangeThatWasNotWrittenNorWithoutTheChannel) {
    TemporaryDirectory home;
    const std::string folder = home.path() + "/Library/Preferences";
    const std::string script = "launch\ntab stopwatch\nstart\nwait 2\nstop\nsave\n";
    // The saved-times file is a folder: the Save writes nothing.
    std::filesystem::create_directories(folder + "/com.varnoth.lapvane.plist");
    auto run = runLapvane(options(home), script, {"LAPVANE_TRACE=store"});
    EXPECT_EQ(storeLines(run.err), std::vector<std::string>{}) << run.err;
    EXPECT_NE(run.err.find("Save stored nothing"), std::string::npos) << run.err;
    std::filesystem::remove(folder + "/com.varnoth.lapvane.plist");
    run = runLapvane(options(home), script, {"LAPVANE_TRACE=send"});
    EXPECT_EQ(run.err.find("[store]"), std::string::npos);
    EXPECT_EQ(storeLines(runLapvane(options(home), script, {"LAPVANE_TRACE=all"}).err).size(), 1U);
}

} // namespace
