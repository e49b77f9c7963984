// `shot` in `lapvane sim`: pictures of the device's screen as the program writes them, with the
// add-on loaded.

#include "simulator/render/Picture.h"
#include "tests/simulator/LapvaneProgram.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using testing_support::runLapvane;

double brightness(const render::Rgba& color) {
    return (color.red + color.green + color.blue) / 3;
}

class PicturesThroughSim : public ::testing::Test {
  protected:
    testing_support::ProgramRun sim(const std::string& script) {
        return runLapvane({"sim", "--home", home.path(), "--now", "2026-12-07T08:00:00Z", "--tz", "UTC"},
                          script);
    }
    render::Picture picture(const std::string& name) {
        auto read = render::Picture::readPng(pictures.path() + "/" + name, 2);
        EXPECT_TRUE(read.has_value()) << name;
        return read ? std::move(*read) : render::Picture::of({});
    }
    testing_support::TemporaryDirectory home;
    testing_support::TemporaryDirectory pictures;
};

TEST_F(PicturesThroughSim, TheSaveButtonLooksDisabledOnceTheResultIsSaved) {
    std::string dir = pictures.path();
    auto run = sim("launch\ntab stopwatch\nstart\nwait 5\nstop\nshot " + dir + "/enabled.png\nsave\nshot " +
                   dir + "/disabled.png\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("picture: " + dir + "/enabled.png\n"), std::string::npos) << run.out;
    render::Picture enabled = picture("enabled.png");
    render::Picture disabled = picture("disabled.png");
    ASSERT_EQ(enabled.width(), 640);
    ASSERT_EQ(enabled.height(), 1136);
    // The button sits at (23, 10) in the stopwatch's view, below the status bar.
    CGRect button = CGRectMake(23, 30, 125, 44);
    EXPECT_GT(brightness(enabled.meanColor(button)), brightness(disabled.meanColor(button)) + 0.1);
    CGRect elsewhere = CGRectMake(0, 300, 320, 100);
    EXPECT_NEAR(brightness(enabled.meanColor(elsewhere)), brightness(disabled.meanColor(elsewhere)), 0.001);
}

TEST_F(PicturesThroughSim, ThePictureRightAfterLaunchIsTheLaunchScreenUntilTheFirstScreenIsDrawn) {
    std::string dir = pictures.path();
    auto run = sim("launch\nshot " + dir + "/launch.png\nwait 0.1\nshot " + dir +
                   "/first.png\nlaunch-image " + "com.apple.mobilemail\nshot " + dir + "/mail.png\n");
    ASSERT_EQ(run.status, 0) << run.err;
    CGRect middle = CGRectMake(20, 100, 280, 150);
    EXPECT_LT(brightness(picture("launch.png").meanColor(middle)), 0.05);
    EXPECT_GT(brightness(picture("first.png").meanColor(middle)), 0.5);
    EXPECT_LT(brightness(picture("mail.png").meanColor(middle)), 0.05);
}

// How many pixels of `rect` (points) differ noticeably between two pictures.
int differingPixels(const render::Picture& a, const render::Picture& b, CGRect rect) {
    int count = 0;
    for (int y = static_cast<int>(rect.origin.y * 2); y < static_cast<int>(CGRectGetMaxY(rect) * 2); ++y) {
        for (int x = static_cast<int>(rect.origin.x * 2); x < static_cast<int>(CGRectGetMaxX(rect) * 2);
             ++x) {
            render::Rgba p = a.pixel(x, y);
            render::Rgba q = b.pixel(x, y);
            if (std::abs(p.red - q.red) + std::abs(p.green - q.green) + std::abs(p.blue - q.blue) > 0.1) {
                ++count;
            }
        }
    }
    return count;
}

TEST_F(PicturesThroughSim, ATappedRowIsSelectedAndItsLapPanelIsCaughtHiddenMidSlideAndShown) {
    std::string dir = pictures.path();
    auto run = sim("launch\ntab stopwatch\nstart\nwait 30\nlap\nwait 15\nstop\nsave\ntab saved\nshot " + dir +
                   "/list.png\ntap 0 0\nshot " + dir + "/hidden.png\nwait 0.15\nshot " + dir +
                   "/midway.png\nwait 0.35\nshot " + dir + "/shown.png\n");
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    render::Picture list = picture("list.png");
    render::Picture hidden = picture("hidden.png");
    render::Picture midway = picture("midway.png");
    render::Picture shown = picture("shown.png");
    // The first row, below the top bar and the section header.
    CGRect row = CGRectMake(0, 90, 320, 60);
    EXPECT_GT(brightness(list.meanColor(row)), brightness(hidden.meanColor(row)) + 0.1) << "the selected row";
    // Halfway through its time the panel has come more than halfway (ease in, ease out, and an
    // overshoot past its place), but not to the left edge.
    CGRect left = CGRectMake(10, 90, 60, 140);
    CGRect right = CGRectMake(250, 90, 60, 140);
    EXPECT_LT(differingPixels(hidden, midway, left), 20);
    EXPECT_GT(differingPixels(hidden, midway, right), 1000);
    EXPECT_GT(differingPixels(midway, shown, left), 1000);
}

TEST_F(PicturesThroughSim, TheFileTheAddOnWritesChecksCleanInThePlatformsLayout) {
    auto run = sim("launch\ntab stopwatch\nstart\nwait 12.5\nlap\nwait 3\nstop\nsave\ntab saved\nwait "
                   "0.5\nedit\nwait 0.5\nadd\n"
                   "type Runs, \"fast\"\nbutton Add\nwait 0.5\nmove 0 0 1 0\nwait 0.5\ndone\n");
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    auto check = runLapvane({"times", "check", "--home", home.path()});
    EXPECT_EQ(check.status, 0) << check.out;
    EXPECT_NE(check.out.find("layout: XML exactly as the platform writes it\n"), std::string::npos)
        << check.out;
    EXPECT_NE(check.out.find(": no problems found.\n"), std::string::npos) << check.out;
}

TEST_F(PicturesThroughSim, AFileThatCannotBeWrittenIsARefusedLine) {
    auto run = sim("shot " + pictures.path() + "/no/such/folder/screen.png\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(pictures.path() + "/no"));
}

TEST_F(PicturesThroughSim, TheDemoWritesAPictureOfEachStepAndEndsWithTheStatistics) {
    std::string dir = pictures.path() + "/steps";
    auto run = runLapvane(
        {"demo", "--now", "2026-12-07T08:00:00Z", "--tz", "UTC", "--locale", "en_US", "--pictures", dir});
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
        EXPECT_EQ(picture("steps/" + names.back()).width(), 640) << names.back();
    }
    std::sort(names.begin(), names.end());
    ASSERT_GE(names.size(), 10U);
    EXPECT_EQ(names.front(), "01-launch-image.png");
    std::size_t stats = run.out.find("\n$ lapvane times stats\n");
    ASSERT_NE(stats, std::string::npos) << run.out;
    EXPECT_GT(stats, run.out.find("\n$ lapvane times list\n"));
    EXPECT_NE(run.out.find("splits 30.0 01:0.0 01:15.3", stats), std::string::npos) << run.out;
    EXPECT_TRUE(run.out.ends_with("\nPictures of each step: " + dir + "\n")) << run.out;
}

} // namespace
