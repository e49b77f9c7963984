// The model of the command line that the manual page and the completion are made from, the
// page's escaping, and the completion's refusal of words it could not write safely.

#include "simulator/manual/ManualPage.h"
#include "simulator/manual/CommandLineModel.h"
#include "simulator/manual/CompletionScript.h"
#include "simulator/manual/ManualExamples.h"

#include "simulator/CommandWords.h"
#include "simulator/LapvaneCommand.h"
#include "simulator/times/OutputFormats.h"
#include "simulator/window/WindowInputs.h"
#include "tests/support/TemporaryDirectory.h"

#include <CLI/CLI.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <sstream>
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
    std::string page = sim::manual::manualPage(commandLineModel(toy.app), script,
                                               {"1.2.3", "~/home", "f.plist", {}, {}, {}});
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

// Everything a command prints on standard output and standard error together.
std::string outputOf(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>&1").c_str(), "r"), pclose);
    if (!pipe) {
        return "cannot run " + command;
    }
    std::array<char, 4096> buffer{};
    while (std::size_t got = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) {
        out.append(buffer.data(), got);
    }
    return out;
}

const std::string kBuiltPage = LAPVANE_BUILD_DIR "/stage/share/man/man1/lapvane.1";

TEST(ManualPage, TheBuiltPageRendersWithoutWarnings) {
    EXPECT_EQ(outputOf("groff -man -ww -z " + kBuiltPage), "");
}

TEST(ManualPage, TheBuiltPageHasTheWindowTheFormatsTheVariablesAndExamples) {
    std::string page = testing_support::readWholeFile(kBuiltPage);
    for (const char* heading : {".SH WINDOW", ".SH OUTPUT FORMATS", ".SH ENVIRONMENT", ".SH EXAMPLES"}) {
        EXPECT_NE(page.find(heading), std::string::npos) << heading;
    }
    for (const char* variable : {".B TZ", "LC_ALL", "LANG", "XDG_DATA_HOME"}) {
        EXPECT_NE(page.find(variable), std::string::npos) << variable;
    }
    std::vector<std::string> terms;
    for (const auto* fields : {&sim::csvColumns(), &sim::exportRecordFields(), &sim::statsSectionFields(),
                               &sim::statsRecordFields(), &sim::dumpFields()}) {
        for (const auto& field : *fields) {
            terms.push_back(field.name);
        }
    }
    for (const auto& shortcut : sim::windowShortcuts()) {
        terms.push_back(shortcut.shown);
    }
    for (const auto& term : terms) {
        EXPECT_NE(page.find("\\fB" + sim::manual::roffText(term) + "\\fR\n"), std::string::npos) << term;
    }
    for (const auto& example : sim::manual::manualExamples()) {
        EXPECT_NE(page.find(".EX\n" + sim::manual::roffText(example.term) + "\n.EE\n"), std::string::npos)
            << example.term;
    }
    EXPECT_EQ(page.find(" RECORD"), std::string::npos) << "the value of --record is a FILE";
}

// The words of an example's lapvane command line: after the last "lapvane", up to a redirection.
std::vector<std::string> lapvaneWords(const std::string& line) {
    std::istringstream words(line.substr(line.rfind("lapvane ") + 8));
    std::vector<std::string> out;
    for (std::string word; words >> word && word != ">" && word != "|";) {
        out.push_back(word);
    }
    return out;
}

TEST(ManualPage, EveryExampleNamesCommandsAndOptionsTheProgramHas) {
    CLI::App app;
    int status = 0;
    sim::defineLapvaneCommand(app, status, "0");
    for (const auto& example : sim::manual::manualExamples()) {
        std::vector<std::string> words = lapvaneWords(example.term);
        EXPECT_EQ(sim::commandWordsProblem(app, words), "") << example.term;
        EXPECT_EQ(sim::emptyValueProblem(words), "") << example.term;
        const CLI::App* command = &app;
        for (const auto& word : words) {
            if (word.rfind("--", 0) == 0) {
                EXPECT_NE(command->get_option_no_throw(word), nullptr) << word << " in " << example.term;
            } else if (auto subcommands = command->get_subcommands(
                           [&word](const CLI::App* sub) { return sub->get_name() == word; });
                       !subcommands.empty()) {
                command = subcommands.front();
            }
        }
    }
}

TEST(WindowInputs, EachKeyFindsItsShortcutInEitherCaseAndNoOther) {
    for (const auto& shortcut : sim::windowShortcuts()) {
        for (const auto& key : shortcut.keys) {
            EXPECT_EQ(sim::windowShortcutFor(key.name, key.control), &shortcut) << key.name;
            EXPECT_NE(sim::windowShortcutFor(key.name, !key.control), &shortcut) << key.name;
        }
    }
    const auto* relaunch = sim::windowShortcutFor("R", true);
    ASSERT_NE(relaunch, nullptr);
    EXPECT_EQ(relaunch->action, sim::WindowAction::Relaunch);
    EXPECT_EQ(sim::windowShortcutFor("r", false), nullptr) << "a plain letter is typed";
    EXPECT_EQ(sim::windowShortcutFor("return", false), nullptr) << "only letters match in either case";
}

} // namespace
