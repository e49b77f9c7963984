// The model of the command line that the manual page and the completion are made from, the
// page's escaping, and the completion's refusal of words it could not write safely.

#include "simulator/manual/ManualPage.h"
#include "simulator/manual/CommandLineModel.h"
#include "simulator/manual/CompletionScript.h"

#include <CLI/CLI.hpp>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using sim::manual::commandLineModel;

struct ToyCommand {
    CLI::App app{"Toy: a program", "toy"};
    std::vector<std::string> files;
    std::string kind = "b";
    bool quiet = false;
    int secret = 0;

    ToyCommand() {
        app.require_subcommand(1);
        auto* run = app.add_subcommand("run", "Run it");
        run->add_option("files", files, "Files to read");
        run->add_option("-k,--kind", kind, "Kind")->check(CLI::IsMember({"a", "b"}))->capture_default_str();
        run->add_flag("--quiet", quiet, "Say less");
        run->add_option("--secret", secret, "Not shown")->group("");
        app.add_subcommand("hidden", "Not shown")->group("");
    }
};

TEST(CommandLineModel, ReadsFlagsValuesChoicesDefaultsAndOperands) {
    ToyCommand toy;
    auto commands = commandLineModel(toy.app);
    ASSERT_EQ(commands.size(), 2U);
    EXPECT_TRUE(commands[0].path.empty());
    EXPECT_TRUE(commands[0].needsSubcommand);
    EXPECT_EQ(commands[0].subcommands, std::vector<std::string>{"run"});
    const auto& run = commands[1];
    EXPECT_EQ(run.path, std::vector<std::string>{"run"});
    ASSERT_EQ(run.options.size(), 4U); // --help, files, --kind, --quiet; not --secret
    EXPECT_EQ(run.options[0].names, (std::vector<std::string>{"-h", "--help"}));
    EXPECT_TRUE(run.options[0].isFlag());
    EXPECT_TRUE(run.options[1].isOperand());
    EXPECT_EQ(run.options[1].valueName, "files");
    EXPECT_TRUE(run.options[1].repeats);
    EXPECT_EQ(run.options[2].names, (std::vector<std::string>{"-k", "--kind"}));
    EXPECT_EQ(run.options[2].valueName, "KIND");
    EXPECT_EQ(run.options[2].choices, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(run.options[2].defaultValue, "b");
    EXPECT_TRUE(run.options[3].isFlag());
}

TEST(ManualPage, RoffTextEscapesWhatRoffWouldRead) {
    using sim::manual::roffText;
    EXPECT_EQ(roffText("--home a-b"), "\\-\\-home a\\-b");
    EXPECT_EQ(roffText(".TH x\n'quote"), "\\&.TH x\n\\&'quote");
    EXPECT_EQ(roffText("a.b c'd"), "a.b c'd");
    EXPECT_EQ(roffText("back\\slash"), "back\\eslash");
    EXPECT_EQ(roffText("S\xC3\xA9"
                       "ance \xE2\x80\x94"),
              "S\\[u00E9]ance \\[u2014]");
    EXPECT_EQ(roffText("bad \xC3 byte"), "bad \\[uFFFD] byte");
}

TEST(ManualPage, NamesEveryCommandOptionAndScriptCommand) {
    ToyCommand toy;
    std::vector<sim::CommandSpec> script{{"tap", sim::ArgumentShape::numbers(2), "SECTION ROW", "tap a row"}};
    std::string page =
        sim::manual::manualPage(commandLineModel(toy.app), script, {"1.2.3", "~/home", "f.plist"});
    for (const char* text :
         {".TH LAPVANE 1", "lapvane \\- a program", ".SS \"lapvane run\"",
          "\\fB\\-k\\fR, \\fB\\-\\-kind\\fR \\fIKIND\\fR", "Kind (one of: a, b; default: b)",
          "\\fBtap\\fR \\fISECTION ROW\\fR\ntap a row"}) {
        EXPECT_NE(page.find(text), std::string::npos) << text;
    }
    EXPECT_EQ(page.find("secret"), std::string::npos);
}

TEST(CompletionScript, RefusesAWordThatWouldNeedQuoting) {
    CLI::App app{"Toy", "toy"};
    std::string value;
    app.add_option("--kind", value)->check(CLI::IsMember({"a b", "c"}));
    EXPECT_THROW(sim::manual::bashCompletion(commandLineModel(app)), std::invalid_argument);
}

} // namespace
