// The saved-times file under faults: errors that keep its bytes from being read, writers in other
// processes, leftovers of killed writers, and values of the wrong type that must be kept.

#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesStore.h"
#include "platform/foundation/FileLock.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListFile.h"
#include "tests/support/AddonFixture.h"
#include "tests/support/CaseName.h"
#include "tests/support/DescriptorLimit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Names = std::vector<std::string>;
namespace fs = std::filesystem;

class SavedTimesStoreFaultsTest : public testing_support::DeviceHomeTest {
  protected:
    static id record(double total) {
        return lv::makeSavedTime(1.0F, {1.0F}, total,
                                 NSDate::withTimeIntervalSince1970(testing_support::kFixedNow));
    }
    [[nodiscard]] std::string path() const { return preferencesFile(lv::kSavedTimesFileName); }
    [[nodiscard]] std::string bytes() const { return testing_support::readWholeFile(path()); }
    // Every entry of the preferences folder but the writers' lock file, sorted.
    [[nodiscard]] Names folder() const {
        Names names;
        for (const auto& entry : fs::directory_iterator(fs::path(path()).parent_path())) {
            const std::string name = entry.path().filename();
            if (name != ".com.varnoth.lapvane.plist.lock") {
                names.push_back(name);
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    void seedDefault(int records) {
        for (int i = 0; i < records; ++i) {
            ASSERT_TRUE(lv::SavedTimesStore::appendToFirstSection(record(i + 1)).written);
        }
    }
    std::size_t recordCount(const std::string& section) const {
        auto file = readPreferences(lv::kSavedTimesFileName);
        auto records = file ? file->objectAs<NSArray>(lv::sectionKey(section)) : nullptr;
        return records ? records->count() : 0;
    }
    // The root of the file written from `root`, with the text a hand edit would leave.
    void writeRoot(const NSDictionary& root) const { writePreferences(lv::kSavedTimesFileName, root); }
};

// Faults that keep the file's bytes from being read whole: the file is not known to be damaged,
// so neither the capture nor the first load may move it aside or write over it: both write
// nothing and move nothing.
struct ReadFault {
    std::string name;
    // Runs `operation` with the fault in force.
    std::function<void(const std::string& path, const std::function<void()>& operation)> inject;
};

void PrintTo(const ReadFault& fault, std::ostream* out) {
    *out << fault.name;
}

class SavedTimesStoreReadFault : public SavedTimesStoreFaultsTest,
                                 public ::testing::WithParamInterface<ReadFault> {};

TEST_P(SavedTimesStoreReadFault, StopsTheCaptureAndTheFirstLoad) {
    seedDefault(2);
    const std::string before = bytes();
    lv::SavedTimesWrite capture;
    lv::SavedTimesWrite firstLoad;
    GetParam().inject(path(), [&] {
        capture = lv::SavedTimesStore::appendToFirstSection(record(9));
        firstLoad = lv::SavedTimesStore::ensureSectionList();
    });
    EXPECT_FALSE(capture.written);
    EXPECT_FALSE(capture.reason.empty());
    EXPECT_FALSE(firstLoad.written);
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(folder(), Names{lv::kSavedTimesFileName});
    EXPECT_EQ(recordCount("Default"), 2U);
}

INSTANTIATE_TEST_SUITE_P(SavedTimesStore, SavedTimesStoreReadFault,
                         ::testing::Values(
                             // Not even the lock file can be opened.
                             ReadFault{"NoDescriptorLeft",
                                       [](const std::string&, const std::function<void()>& operation) {
                                           testing_support::DescriptorLimit limit(0);
                                           operation();
                                       }},
                             // The lock is taken, then the file's own open fails.
                             ReadFault{"NoDescriptorForTheRead",
                                       [](const std::string&, const std::function<void()>& operation) {
                                           testing_support::DescriptorLimit limit(1);
                                           operation();
                                       }},
                             ReadFault{"LargerThanTheReadersAccept",
                                       [](const std::string& path, const std::function<void()>& operation) {
                                           const std::string kept = testing_support::readWholeFile(path);
                                           ASSERT_EQ(
                                               ::truncate(path.c_str(),
                                                          static_cast<off_t>(plist::Limits{}.maxBytes) + 1),
                                               0);
                                           operation();
                                           EXPECT_EQ(fs::file_size(path), plist::Limits{}.maxBytes + 1);
                                           testing_support::writeWholeFile(path, kept);
                                       }}),
                         testing_support::PrintedName());

TEST_F(SavedTimesStoreFaultsTest, AFolderOrAFifoAtThePathIsLeftAloneAndNothingBlocks) {
    for (const bool fifo : {false, true}) {
        fs::remove_all(path());
        ASSERT_EQ(fifo ? ::mkfifo(path().c_str(), 0644) : ::mkdir(path().c_str(), 0755), 0);
        // A child ended by an alarm: an open that waits for a FIFO's writer fails the test.
        EXPECT_EXIT(
            {
                ::alarm(2);
                const bool written = lv::SavedTimesStore::appendToFirstSection(record(1)).written ||
                                     lv::SavedTimesStore::ensureSectionList().written;
                std::_Exit(written ? 1 : 0);
            },
            ::testing::ExitedWithCode(0), "");
        EXPECT_EQ(folder(), Names{lv::kSavedTimesFileName});
        EXPECT_EQ(fs::is_fifo(path()), fifo);
    }
}

TEST_F(SavedTimesStoreFaultsTest, ConcurrentProcessesLoseNoCapture) {
    constexpr int kWriters = 3;
    constexpr int kCaptures = 40;
    std::vector<pid_t> writers;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t child = ::fork();
        if (child == 0) {
            int failed = 0;
            for (int i = 0; i < kCaptures; ++i) {
                failed += lv::SavedTimesStore::appendToFirstSection(record(w * 1000 + i)).written ? 0 : 1;
            }
            std::_Exit(failed);
        }
        writers.push_back(child);
    }
    for (pid_t writer : writers) {
        int status = 0;
        ::waitpid(writer, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(recordCount("Default"), static_cast<std::size_t>(kWriters * kCaptures));
    EXPECT_EQ(folder(), Names{lv::kSavedTimesFileName});
}

// Whether the process is waiting in flock(2) now, by the system call /proc says it is in.
bool waitsInFlock(pid_t pid) {
    std::ifstream call("/proc/" + std::to_string(pid) + "/syscall");
    long number = -1;
    return call >> number && number == SYS_flock;
}

TEST_F(SavedTimesStoreFaultsTest, AFirstLoadThatFindsTheListMadeMeanwhileWritesNothing) {
    // The first load looks for the section list before it takes the lock; another process makes
    // the list (and no default section) while the load waits for the lock.
    std::optional<plist::FileLock> held(plist::FileLock::acquire(path()));
    ASSERT_TRUE(held->held());
    const pid_t child = ::fork();
    if (child == 0) {
        // Its copy of the parent's descriptor would keep the lock after the parent lets it go.
        held.reset();
        const lv::SavedTimesWrite outcome = lv::SavedTimesStore::ensureSectionList();
        std::_Exit(outcome.written ? 1 : outcome.reason.empty() ? 0 : 2);
    }
    for (int i = 0; i < 10000 && !waitsInFlock(child); ++i) {
        ::usleep(1000);
    }
    ASSERT_TRUE(waitsInFlock(child)) << "the first load never came to the lock";
    writeRoot(*NSDictionary::with({{"Sections", NSArray::with({NSString::with("Mine")})},
                                   {lv::sectionKey("Mine"), NSArray::with({record(3)})}}));
    const std::string written = bytes();
    held.reset();
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_EQ(bytes(), written) << "nothing added to a list another process made";
}

TEST_F(SavedTimesStoreFaultsTest, TheNextWriteSweepsWhatKilledWritersLeft) {
    seedDefault(1);
    const std::string dead = std::to_string(testing_support::deadProcessId());
    const std::string leftover = preferencesFile(".com.varnoth.lapvane.plist.tmp-" + dead + "-4");
    const std::string settingsLeftover = preferencesFile(".com.apple.mobiletimer.plist.tmp-" + dead + "-0");
    testing_support::writeWholeFile(leftover, "<?xml");
    testing_support::writeWholeFile(settingsLeftover, "<?xml");
    ASSERT_TRUE(lv::SavedTimesStore::appendToFirstSection(record(2)).written);
    EXPECT_FALSE(fs::exists(leftover));
    // Only the saved-times file's own leftovers: the settings' writer sweeps its own.
    EXPECT_TRUE(fs::exists(settingsLeftover));
}

TEST_F(SavedTimesStoreFaultsTest, ADamagedFileIsMovedAsideAndItsReplacementKeepsItsOwnerAndMode) {
    if (::geteuid() != 0) {
        GTEST_FAIL() << "giving files away needs the superuser, as CI runs";
    }
    testing_support::writeWholeFile(path(), "<plist><dict>");
    ASSERT_EQ(::chown(path().c_str(), 4321, 4322), 0);
    ASSERT_EQ(::chmod(path().c_str(), 0640), 0);
    ASSERT_TRUE(lv::SavedTimesStore::appendToFirstSection(record(3)).written);
    struct stat info {};
    ASSERT_EQ(::stat(path().c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 4322u);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(testing_support::readWholeFile(path() + ".unreadable-20261207T080000Z"), "<plist><dict>");
}

// Files whose record lists (or section list) hold values of the wrong type: those values stay
// in the file byte for byte, and an operation that would replace one writes nothing.
class SavedTimesStoreWrongTypes : public SavedTimesStoreFaultsTest {
  protected:
    // Sections A (a dictionary where its records belong), B (empty) and C (one record).
    void SetUp() override {
        auto root = NSMutableDictionary::with();
        root->setObject(NSArray::with({NSString::with("A"), NSString::with("B"), NSString::with("C")}),
                        lv::kSectionsKey);
        auto wrong = NSMutableDictionary::with();
        wrong->setObject(record(7), "0");
        root->setObject(wrong, lv::sectionKey("A"));
        root->setObject(NSMutableArray::with(), lv::sectionKey("B"));
        root->setObject(NSMutableArray::with({record(8)}), lv::sectionKey("C"));
        writeRoot(*root);
    }
    [[nodiscard]] std::string aText() const {
        return plist::xmlText(
                   *readPreferences(lv::kSavedTimesFileName)->objectAs<NSDictionary>(lv::sectionKey("A")))
            .text;
    }
    std::shared_ptr<NSMutableArray> inMemory() const {
        auto all = NSMutableArray::with();
        lv::SavedTimesDocument document(lv::SavedTimesStore::read().root);
        for (const auto& name : document.sectionNames()) {
            all->addObject(document.recordsOrEmpty(name));
        }
        return all;
    }
};

TEST_F(SavedTimesStoreWrongTypes, ACaptureIntoThatSectionWritesNothing) {
    const std::string before = bytes();
    const auto result = lv::SavedTimesStore::appendToFirstSection(record(9));
    EXPECT_FALSE(result.written);
    EXPECT_NE(result.reason.find("the first section's records are not a list"), std::string::npos)
        << result.reason;
    EXPECT_EQ(bytes(), before);
}

TEST_F(SavedTimesStoreWrongTypes, AMoveIntoThatSectionWritesNothing) {
    const std::string before = bytes();
    auto all = inMemory();
    EXPECT_FALSE(lv::SavedTimesStore::moveRecord(*all, 2, 0, 0, 0).written);
    EXPECT_EQ(bytes(), before);
}

TEST_F(SavedTimesStoreWrongTypes, AddingASectionKeepsItAsANonEmptySection) {
    const std::string a = aText();
    ASSERT_TRUE(lv::SavedTimesStore::addSection("N").written);
    EXPECT_EQ(strings(*readPreferences(lv::kSavedTimesFileName), lv::kSectionsKey), (Names{"A", "C", "N"}));
    EXPECT_EQ(aText(), a);
}

TEST_F(SavedTimesStoreWrongTypes, ValuesInTheSectionListThatAreNotNamesSurviveEdits) {
    auto root = rt::cast<NSMutableDictionary>(lv::SavedTimesStore::read().root);
    root->setObject(NSArray::with({NSNumber::withInteger(5), NSString::with("B"), NSString::with("C")}),
                    lv::kSectionsKey);
    writeRoot(*root);
    ASSERT_TRUE(lv::SavedTimesStore::addSection("N").written);
    // B was empty and dropped; the number stays where it was.
    EXPECT_EQ(strings(*readPreferences(lv::kSavedTimesFileName), lv::kSectionsKey),
              (Names{"<not a string>", "C", "N"}));
}

TEST_F(SavedTimesStoreWrongTypes, TheFirstLoadKeepsAWrongTypeUnderTheDefaultKey) {
    auto root = NSMutableDictionary::with();
    root->setObject(NSString::with("kept"), lv::sectionKey(lv::kDefaultSectionName));
    writeRoot(*root);
    ASSERT_TRUE(lv::SavedTimesStore::ensureSectionList().written);
    auto file = readPreferences(lv::kSavedTimesFileName);
    EXPECT_EQ(strings(*file, lv::kSectionsKey), Names{"Default"});
    auto kept = file->objectAs<NSString>(lv::sectionKey(lv::kDefaultSectionName));
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->str(), "kept");
}

} // namespace
