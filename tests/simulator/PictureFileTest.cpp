// `shot` names what is wrong with the name it is given, and a picture that cannot be written
// whole leaves nothing behind and says why in the system's words.

#include "simulator/render/PictureFile.h"

#include "tests/simulator/LapvaneProgram.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::size_t entriesIn(const std::string& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

TEST(PictureFile, AWriteCutShortLeavesNoFileAndSaysWhy) {
    testing_support::TemporaryDirectory folder;
    const std::string path = folder.path() + "/shot.png";
    // A file size limit makes the write fail part way, as a full disk does; in a child, so the
    // limit stays there.
    pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string why = render::writeWholeFile(path, std::string(100000, 'x'));
        _exit(why == "File too large" ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the reason is the system's";
    EXPECT_EQ(entriesIn(folder.path()), 0U) << "neither the picture nor its temporary file is left";

    EXPECT_EQ(render::writeWholeFile(path, "bytes"), "");
    EXPECT_EQ(testing_support::readWholeFile(path), "bytes");
    EXPECT_EQ(entriesIn(folder.path()), 1U);
}

struct ShotCase {
    const char* name;
    std::string word;
    const char* said;
};

void PrintTo(const ShotCase& c, std::ostream* out) {
    *out << c.name;
}

class ShotRefusals : public testing::TestWithParam<ShotCase> {};

TEST_P(ShotRefusals, NameTheProblemAndWriteNothing) {
    testing_support::TemporaryDirectory home;
    testing_support::TemporaryDirectory pictures;
    std::filesystem::create_directory(pictures.path() + "/folder");
    std::string word = GetParam().word;
    if (word.rfind("DIR", 0) == 0) {
        word.replace(0, 3, pictures.path());
    }
    auto run = testing_support::runLapvane({"sim", "--home", home.path()}, "launch\nshot " + word + "\n");
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find(GetParam().said), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("picture:"), std::string::npos) << run.out;
    EXPECT_EQ(entriesIn(pictures.path()), 1U) << "only the folder that was there";
}

INSTANTIATE_TEST_SUITE_P(
    Names, ShotRefusals,
    testing::Values(ShotCase{"OntoAFolder", "DIR/folder", "it is a folder; give a file name"},
                    ShotCase{"AnotherFormat", "DIR/out.jpg", "ends in .jpg, which shot cannot write"},
                    ShotCase{"EmptyQuotes", "\"\"", "is in quotes; script words take none"},
                    ShotCase{"QuotedName", "'DIR/a.png'", "is in quotes; script words take none"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
