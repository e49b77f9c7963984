#include "platform/substrate/LibraryLoader.h"

#include "platform/runtime/Runtime.h"
#include "platform/runtime/Trace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* kMatchingFilter = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>Filter</key>
	<dict>
		<key>Bundles</key>
		<array>
			<string>com.apple.mobiletimer</string>
		</array>
	</dict>
</dict>
</plist>
)";

const char* kOtherAppFilter = R"(<plist version="1.0"><dict><key>Filter</key><dict>
<key>Bundles</key><array><string>com.apple.mobilesafari</string></array></dict></dict></plist>)";

class LibraryLoaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() / ("lapvane-loader-" + std::to_string(getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        process.bundleIdentifiers = {"com.apple.springboard", "com.apple.mobiletimer"};
    }
    void TearDown() override { fs::remove_all(folder); }

    void write(const std::string& name, const std::string& text) { std::ofstream(folder / name) << text; }

    std::vector<ms::LibraryOutcome> load() {
        return ms::loadLibraries(folder, process,
                                 [this](const fs::path& library) -> std::optional<std::string> {
                                     opened.push_back(library.filename().string());
                                     if (library.filename() == failing) {
                                         return std::string("cannot open");
                                     }
                                     return std::nullopt;
                                 });
    }

    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    fs::path folder;
    ms::LoaderProcess process;
    std::vector<std::string> opened;
    std::string failing;
};

TEST_F(LibraryLoaderTest, OpensTheMatchingLibrariesInNameOrder) {
    write("Zeta.so", "");
    write("Alpha.so", "");
    write("Alpha.plist", kMatchingFilter);
    write("Beta.so", "");
    write("Beta.plist", kOtherAppFilter);
    write("Gamma.so", "");
    write("Gamma.plist", "<plist><dict><key>Filter</key>");
    write("Notes.txt", "not a library");
    fs::create_directories(folder / "Folder.so");

    std::vector<ms::LibraryOutcome> outcomes = load();

    EXPECT_EQ(opened, (std::vector<std::string>{"Alpha.so", "Zeta.so"}));
    ASSERT_EQ(outcomes.size(), 4u);
    const std::vector<std::pair<std::string, bool>> expected = {
        {"Alpha.so", true}, {"Beta.so", false}, {"Gamma.so", false}, {"Zeta.so", true}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(outcomes[i].path.filename().string(), expected[i].first);
        EXPECT_EQ(outcomes[i].loaded, expected[i].second) << outcomes[i].reason;
    }
    EXPECT_NE(outcomes[2].reason.find("cannot be read"), std::string::npos) << outcomes[2].reason;
    using Status = ms::LibraryOutcome::Status;
    EXPECT_EQ(outcomes[0].status, Status::Loaded);
    EXPECT_EQ(outcomes[1].status, Status::NotChosen);
    EXPECT_EQ(outcomes[2].status, Status::FilterUnreadable);
}

TEST_F(LibraryLoaderTest, ReportsALibraryThatCannotBeOpened) {
    write("Broken.so", "");
    failing = "Broken.so";
    std::vector<ms::LibraryOutcome> outcomes = load();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_FALSE(outcomes[0].loaded);
    EXPECT_EQ(outcomes[0].status, ms::LibraryOutcome::Status::OpenFailed);
    EXPECT_EQ(outcomes[0].reason, "cannot open");
}

TEST_F(LibraryLoaderTest, AMissingFolderLoadsNothing) {
    folder /= "absent";
    EXPECT_TRUE(load().empty());
    EXPECT_TRUE(opened.empty());
}

TEST_F(LibraryLoaderTest, DlopenReportsAFileThatIsNoLibrary) {
    write("Fake.so", "not an ELF file");
    std::optional<std::string> error = ms::openWithDlopen(folder / "Fake.so");
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("Fake.so"), std::string::npos) << "the dynamic loader's own words: " << *error;
}

TEST_F(LibraryLoaderTest, LoadingWritesNothingWhileTheHooksTraceIsOff) {
    if (rt::trace::enabled(rt::trace::Channel::Hooks)) {
        GTEST_SKIP() << "LAPVANE_TRACE turns the hooks trace on in this run";
    }
    write("Tweak.so", "");
    write("Tweak.plist", kMatchingFilter);
    write("Other.so", "");
    write("Other.plist", kOtherAppFilter);
    std::ostringstream captured;
    std::streambuf* previous = std::cerr.rdbuf(captured.rdbuf());
    const auto outcomes = load();
    std::cerr.rdbuf(previous);
    EXPECT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(captured.str(), "");
}

} // namespace
