// The simulator says when the add-on's file work did not do what the person asked: a Save or a
// delete that stored nothing is a refused line with the reason, and a damaged file moved aside
// is a note naming where it went.

#include "tests/simulator/AddonSimulatorFixture.h"
#include "tests/support/FailingWrites.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"

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

    [[nodiscard]] std::shared_ptr<NSDictionary> root() const {
        return plist::dictionaryWithContentsOfFile(file());
    }
    [[nodiscard]] std::size_t records(const std::string& section) const {
        auto list = root()->objectAs<NSArray>("Times - " + section);
        return list ? list->count() : 0;
    }
    // Writes the file as another program would: these sections, and records copied from the
    // first one of this file (one saved result) under the keys given.
    void rewrite(const std::vector<std::string>& sections,
                 const std::vector<std::pair<std::string, int>>& keys) {
        auto saved = root()->objectAs<NSArray>("Times - Default")->objectAtIndex(0);
        auto written = NSMutableDictionary::with();
        auto list = NSMutableArray::with();
        for (const auto& name : sections) {
            list->addObject(NSString::with(name));
        }
        written->setObject(list, "Sections");
        for (const auto& [name, count] : keys) {
            written->setObject(NSArray::with(std::vector<id>(static_cast<std::size_t>(count), saved)),
                               "Times - " + name);
        }
        ASSERT_TRUE(plist::writeToFile(*written, file(), true).ok);
    }
};

TEST_F(FileWorkReports, ASaveThatStoredNothingIsARefusedLineWithTheReason) {
    ASSERT_EQ(::mkfifo(file().c_str(), 0600), 0);
    EXPECT_EQ(run(kOneSave), sim::kExitRejectedLines);
    EXPECT_NE(err.str().find("test:6: Save stored nothing: " + file() + " is not a regular file"),
              std::string::npos)
        << err.str();
}

// A file the platform reads whose string holds a NUL (a binary file another program wrote) is
// read, never moved aside; XML cannot carry the NUL, so the Save writes nothing and says why.
TEST_F(FileWorkReports, ASaveOverAValueXmlCannotCarryKeepsTheFileAndSaysWhy) {
    using namespace std::string_literals;
    // A binary dictionary {"Sections": ["Default"], "x": "a\0b"}, as plistlib writes it.
    const std::string bytes =
        "bplist00\xD2\x01\x02\x03\x05XSectionsQx\xA1\x04WDefaultSa\0b\x08\x0D\x16\x18\x1A\x22"s +
        "\0\0\0\0\0\0\x01\x01"s + "\0\0\0\0\0\0\0\x06"s + "\0\0\0\0\0\0\0\0"s + "\0\0\0\0\0\0\0\x26"s;
    testing_support::writeWholeFile(file(), bytes);
    EXPECT_EQ(run(kOneSave), sim::kExitRejectedLines);
    EXPECT_NE(
        err.str().find("test:6: Save stored nothing: " + file() +
                       " holds a value XML cannot carry, so it is kept as it is (not written: /x: a string "
                       "that is not valid UTF-8 or holds a NUL)"),
        std::string::npos)
        << err.str();
    EXPECT_EQ(testing_support::readWholeFile(file()), bytes);
    EXPECT_EQ(err.str().find("moved aside"), std::string::npos) << err.str();
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

TEST_F(FileWorkReports, AnEditOnAListAnotherWriterChangedIsRefusedAndTheTableShowsTheFile) {
    ASSERT_EQ(run(std::string(kOneSave) + "tab saved\nwait 1\nedit\nwait 1\n"), sim::kExitOk) << err.str();
    // Another process saves a second result while the list shows one.
    rewrite({"Default"}, {{"Default", 2}});
    EXPECT_EQ(run("delete 0 0\n"), sim::kExitRejectedLines);
    EXPECT_NE(
        err.str().find("test:1: the delete wrote nothing: the section \"Default\" changed since the list was "
                       "read"),
        std::string::npos)
        << err.str();
    EXPECT_EQ(records("Default"), 2U);
    // The table was reloaded from the file: the same delete, asked again, is stored.
    err.str("");
    EXPECT_EQ(run("wait 1\ndelete 0 0\nwait 1\n"), sim::kExitOk) << err.str();
    EXPECT_EQ(records("Default"), 1U);
}

TEST_F(FileWorkReports, EditsThatStoredNothingNameTheirCause) {
    ASSERT_EQ(run(std::string(kOneSave) + "tab saved\nwait 1\nedit\nwait 1\n"), sim::kExitOk) << err.str();
    {
        testing_support::FailingWrites full;
        EXPECT_EQ(run("delete 0 0\nadd\ntype Work\nbutton Add\n"), sim::kExitRejectedLines);
    }
    const std::string failed = err.str();
    EXPECT_NE(failed.find("test:1: the delete wrote nothing: cannot write"), std::string::npos) << failed;
    EXPECT_NE(failed.find("test:4: adding the section stored nothing: cannot write"), std::string::npos)
        << failed;
    EXPECT_EQ(records("Default"), 1U);

    err.str("");
    auto text = NSMutableDictionary::with();
    text->setObject(NSString::with("Default"), "Sections");
    ASSERT_TRUE(plist::writeToFile(*text, file(), true).ok);
    EXPECT_EQ(run("add\ntype Work\nbutton Add\ntab stopwatch\nstart\nwait 1\nstop\nsave\n"),
              sim::kExitRejectedLines);
    EXPECT_NE(err.str().find("test:3: adding the section stored nothing: \"Sections\" is not a list"),
              std::string::npos)
        << err.str();
    EXPECT_NE(err.str().find("test:8: Save stored nothing: \"Sections\" is not a list"), std::string::npos)
        << err.str();
}

TEST_F(FileWorkReports, AnAddKeepsRecordsLeftUnderItsNameAndNamesListedTwiceAreNotEdited) {
    ASSERT_EQ(run(std::string(kOneSave) + "tab alarm\n"), sim::kExitOk) << err.str();
    rewrite({"Default", "Two", "Default"}, {{"Default", 1}, {"Two", 1}, {"Work", 2}});
    ASSERT_EQ(run("tab saved\nwait 1\nedit\nwait 1\nadd\ntype Work\nbutton Add\nwait 1\n"), sim::kExitOk)
        << err.str();
    EXPECT_EQ(records("Work"), 2U);
    EXPECT_EQ(run("move 0 0 2 0\n"), sim::kExitRejectedLines);
    EXPECT_NE(err.str().find("the move wrote nothing: the section name \"Default\" is listed more than once"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(records("Default"), 1U);
    EXPECT_EQ(records("Two"), 1U);
}

TEST_F(FileWorkReports, ASaveThatStoredNothingNamesItsCause) {
    ASSERT_EQ(run(kOneSave), sim::kExitOk) << err.str();
    {
        testing_support::FailingWrites full;
        EXPECT_EQ(run("reset\nstart\nwait 1\nstop\nsave\n"), sim::kExitRejectedLines);
    }
    EXPECT_NE(err.str().find("test:5: Save stored nothing: cannot write"), std::string::npos) << err.str();
    EXPECT_EQ(err.str().find("was left as it was"), std::string::npos) << err.str();

    err.str("");
    auto wrong = NSMutableDictionary::with();
    wrong->setObject(NSArray::with({NSString::with("Default")}), "Sections");
    wrong->setObject(NSString::with("not records"), "Times - Default");
    ASSERT_TRUE(plist::writeToFile(*wrong, file(), true).ok);
    EXPECT_EQ(run("save\n"), sim::kExitRejectedLines);
    EXPECT_NE(err.str().find("test:1: Save stored nothing: the first section's records are not a list"),
              std::string::npos)
        << err.str();
}

} // namespace
