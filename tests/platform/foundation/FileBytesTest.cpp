#include "platform/foundation/FileBytes.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using testing_support::TemporaryDirectory;

struct Comparison {
    const char* name;
    std::string expected;
    std::string onDisk;
};

void PrintTo(const Comparison& c, std::ostream* os) {
    *os << c.name;
}

class FileBytesComparison : public testing::TestWithParam<Comparison> {
  protected:
    TemporaryDirectory folder;
    std::string path = folder.file("file.plist");
};

// Whatever the cached bytes, the result is what a plain read gives, and "unchanged" only when the
// file holds exactly them.
TEST_P(FileBytesComparison, ReadsWhatAPlainReadReadsUnlessTheBytesAreTheExpectedOnes) {
    const Comparison& c = GetParam();
    testing_support::writeWholeFile(path, c.onDisk);
    std::string bytes = "left over";
    bool unchanged = false;
    const plist::ReadResult read =
        plist::readFileBytesUnlessEqual(path, 1 << 20, c.expected, bytes, unchanged);
    ASSERT_TRUE(read.ok()) << read.reason;
    EXPECT_EQ(unchanged, c.expected == c.onDisk);
    EXPECT_EQ(bytes, unchanged ? std::string() : c.onDisk);
}

std::string large(char last) {
    std::string text(700'000, 'x');
    text.back() = last;
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Files, FileBytesComparison,
    testing::Values(Comparison{"same", "<dict/>", "<dict/>"},
                    Comparison{"sameSizeOtherBytes", "<dict/>", "<dict/-"},
                    Comparison{"longer", "<dict/>", "<dict/>\n"},
                    Comparison{"shorter", "<dict/>\n", "<dict/>"}, Comparison{"empty", "", ""},
                    Comparison{"largeSame", large('a'), large('a')},
                    Comparison{"largeDifferingAtTheEnd", large('a'), large('b')},
                    Comparison{"largeDifferingAtTheStart", large('a'), "y" + large('a').substr(1)}),
    [](const auto& info) { return std::string(info.param.name); });

// A file whose size says nothing (the kernel's files read as 0 bytes) is read to its end.
TEST(FileBytes, AFileLongerThanItsSizeSaysIsReadWhole) {
    std::string bytes;
    ASSERT_TRUE(plist::readFileBytes("/proc/self/status", 1 << 20, bytes).ok());
    EXPECT_EQ(bytes.rfind("Name:", 0), 0u);
    EXPECT_NE(bytes.find("\nUmask:"), std::string::npos) << "read past its first bytes";
}

TEST(FileBytes, RefusesAndReportsAsAPlainReadDoes) {
    TemporaryDirectory folder;
    const std::string missing = folder.path() + "/none";
    const std::string directory = folder.path() + "/folder";
    std::filesystem::create_directory(directory);
    const std::string big = folder.file("big");
    testing_support::writeWholeFile(big, std::string(100, 'x'));
    for (const std::string& path : {missing, directory, big}) {
        std::string plainBytes;
        std::string bytes;
        bool unchanged = true;
        const plist::ReadResult plain = plist::readFileBytes(path, 50, plainBytes);
        const plist::ReadResult compared =
            plist::readFileBytesUnlessEqual(path, 50, std::string(100, 'x'), bytes, unchanged);
        EXPECT_NE(plain.status, plist::ReadStatus::Ok) << path;
        EXPECT_EQ(compared.status, plain.status) << path;
        EXPECT_EQ(compared.reason, plain.reason) << path;
        EXPECT_FALSE(unchanged) << path;
        EXPECT_TRUE(bytes.empty()) << path;
    }
}

} // namespace
