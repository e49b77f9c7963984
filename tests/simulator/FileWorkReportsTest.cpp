// The simulator says when the add-on's file work did not do what the person asked: a Save or a
// delete that stored nothing is a refused line with the reason, and a damaged file moved aside
// is a note naming where it went.

#include "tests/simulator/AddonSimulatorFixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace {

class FileWorkReports : public testing_support::AddonSimulatorTest {
  protected:
    [[nodiscard]] std::string file() const {
        return home.path() + "/Library/Preferences/com.varnoth.lapvane.plist";
    }
    static constexpr const char* kOneSave = "launch\ntab stopwatch\nstart\nwait 1\nstop\nsave\n";
};

TEST_F(FileWorkReports, ASaveThatStoredNothingIsARefusedLineWithTheReason) {
    ASSERT_EQ(::mkfifo(file().c_str(), 0600), 0);
    EXPECT_EQ(run(kOneSave), sim::kExitRejectedLines);
    EXPECT_NE(err.str().find("test:6: Save stored nothing: " + file() + " is not a regular file"),
              std::string::npos)
        << err.str();
}

TEST_F(FileWorkReports, ADamagedFileMovedAsideIsANoteAndTheSaveStands) {
    testing_support::writeWholeFile(file(), "not a property list");
    EXPECT_EQ(run(kOneSave), sim::kExitOk) << err.str();
    EXPECT_NE(err.str().find("note: test:6: the saved-times file could not be read and was moved aside to " +
                             file() + ".unreadable-"),
              std::string::npos)
        << err.str();
}

// Behind a link, the damaged file moves aside beside itself, the note names it there, and the
// link stays to show the new file.
TEST_F(FileWorkReports, ADamagedFileBehindALinkIsMovedAsideInItsOwnFolder) {
    const std::string elsewhere = home.path() + "/Elsewhere";
    std::filesystem::create_directory(elsewhere);
    testing_support::writeWholeFile(elsewhere + "/times.plist", "not a property list");
    std::filesystem::create_symlink("../../Elsewhere/times.plist", file());
    EXPECT_EQ(run(kOneSave), sim::kExitOk) << err.str();
    EXPECT_NE(err.str().find("note: test:6: the saved-times file could not be read and was moved aside to " +
                             elsewhere + "/times.plist.unreadable-"),
              std::string::npos)
        << err.str();
    EXPECT_TRUE(std::filesystem::is_symlink(file()));
    EXPECT_TRUE(std::filesystem::is_regular_file(elsewhere + "/times.plist"));
}

TEST_F(FileWorkReports, ADeleteThatWroteNothingSaysWhy) {
    ASSERT_EQ(run(std::string(kOneSave) + "tab saved\nwait 1\n"), sim::kExitOk) << err.str();
    std::filesystem::remove(file());
    std::filesystem::create_directory(file());
    err.str("");
    EXPECT_EQ(run("delete 0 0\n"), sim::kExitRejectedLines);
    EXPECT_NE(err.str().find("the delete wrote nothing: " + file() + " is not a regular file"),
              std::string::npos)
        << err.str();
}

} // namespace
