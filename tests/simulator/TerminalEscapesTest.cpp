// What `lapvane sim` prints for a terminal, the screen and its error lines, shows control
// characters escaped: a section name from the file or a text typed into a dialog cannot drive
// the terminal. The state dump, JSON, keeps them as data.

#include "tests/simulator/LapvaneProgram.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TerminalEscapes, TheScreenAndTheErrorLinesShowControlCharactersEscaped) {
    testing_support::TemporaryDirectory home;
    testing_support::writeWholeFile(
        home.file("Library/Preferences/com.varnoth.lapvane.plist"),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n\t<key>Sections</key>\n"
        "\t<array>\n\t\t<string>Esc\x1b[31mRed</string>\n\t</array>\n\t<key>Times - Esc\x1b[31mRed</key>\n"
        "\t<array>\n\t\t<dict>\n\t\t\t<key>All Laps</key>\n\t\t\t<array/>\n\t\t\t<key>Last Lap</key>\n"
        "\t\t\t<real>1</real>\n\t\t\t<key>Total Time</key>\n\t\t\t<real>1</real>\n\t\t</dict>\n\t</array>\n"
        "</dict>\n</plist>\n");
    auto run = testing_support::runLapvane({"sim", "--home", home.path()},
                                           "launch\ntab saved\nwait 1\nedit\nwait 1\nadd\nwait 1\n"
                                           "type \x1b]0;title\x07\nscreen\nbutton Ad\x1b[1md\ndump\n");
    EXPECT_EQ(run.status, 2) << run.err;
    const std::string screen = run.out.substr(0, run.out.rfind("\n{"));
    EXPECT_EQ(screen.find('\x1b'), std::string::npos) << screen;
    EXPECT_EQ(screen.find('\x07'), std::string::npos) << screen;
    EXPECT_NE(screen.find("Esc\\x1b[31mRed"), std::string::npos) << "the section's header\n" << screen;
    EXPECT_NE(screen.find("\\x1b]0;title\\x07"), std::string::npos) << "the dialog's field\n" << screen;
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Ad\\x1b[1md"), std::string::npos) << run.err;
    auto dumps = testing_support::dumpsIn(run.out);
    ASSERT_EQ(dumps.size(), 1U);
    EXPECT_EQ(dumps[0]["alerts"][0]["text"], "\x1b]0;title\x07") << "JSON carries the text as data";
}

} // namespace
