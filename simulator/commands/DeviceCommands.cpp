#include "simulator/commands/DeviceCommands.h"

#include "simulator/device/TerminalText.h"

#include "simulator/device/Device.h"
#include "simulator/device/TabNames.h"
#include "simulator/pictures/PicturesModule.h"
#include "simulator/scene/Inspector.h"
#include "simulator/scene/ScreenPicture.h"
#include "simulator/scene/ScreenText.h"
#include "simulator/scene/StateDump.h"
#include "simulator/script/CommandContext.h"
#include "simulator/script/CommandTable.h"
#include "simulator/script/ScriptCommand.h"

#include "hosts/springboard/SpringBoard.h"
#include "platform/uikit/UITabBarController.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace sim {

std::string launchClock(CommandContext& context, const ScriptCommand& /*command*/) {
    if (context.device.clockRunning()) {
        return "the Clock application is already running";
    }
    std::string image = context.device.launchClock();
    context.out << "launch image: " << image << '\n';
    return {};
}

std::string quitClock(CommandContext& context, const ScriptCommand& /*command*/) {
    context.device.quitClock();
    return {};
}

std::string printLaunchImage(CommandContext& context, const ScriptCommand& command) {
    const std::string& bundleIdentifier = command.words[0];
    auto image = context.device.springBoard().launchImageNameFor(bundleIdentifier);
    if (!image) {
        return "no application with bundle identifier \"" + bundleIdentifier + "\" is installed";
    }
    context.device.showLaunchImage(*image, bundleIdentifier);
    context.out << "launch image: " << *image << '\n';
    return {};
}

std::string tapTab(CommandContext& context, const ScriptCommand& command) {
    const std::string& which = command.words[0];
    Inspector inspector(context.device);
    auto tabs = inspector.tabBarController();
    if (!tabs) {
        return "there is no tab bar on screen";
    }
    std::vector<std::string> titles = inspector.tabTitles();
    NSUInteger index = NSNotFound;
    if (std::optional<std::string_view> title = tabTitle(which)) {
        for (std::size_t i = 0; i < titles.size(); ++i) {
            if (titles[i] == *title) {
                index = i;
                break;
            }
        }
        if (index == NSNotFound) {
            return "there is no \"" + std::string(*title) + "\" tab";
        }
    } else {
        // Not a name, so a position (the argument's shape admits nothing else).
        index = static_cast<NSUInteger>(which[0] - '1');
        if (index >= titles.size()) {
            return "there is no tab " + which + " (the tab bar has " + std::to_string(titles.size()) + ")";
        }
    }
    if (!tabs->simulateTapOnTab(index)) {
        return "tab " + which + " cannot be tapped";
    }
    return {};
}

std::string waitFor(CommandContext& context, const ScriptCommand& command) {
    context.device.runFor(command.seconds);
    return {};
}

std::string printScreen(CommandContext& context, const ScriptCommand& /*command*/) {
    // Section names, titles and typed text come from the file and the user: each line is shown
    // with its control characters escaped, so none can drive the terminal.
    std::string text = screenText(context.device);
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = std::min(text.find('\n', start), text.size());
        context.out << terminalText(std::string_view(text).substr(start, end - start))
                    << (end < text.size() ? "\n" : "");
        start = end + 1;
    }
    return {};
}

std::string printDump(CommandContext& context, const ScriptCommand& /*command*/) {
    context.out << dumpText(context.device) << '\n';
    return {};
}

// Why `name` cannot name a picture file: a name in quotes (script words take none, so the quotes
// would become part of the name), or an ending other than .png or .svg.
std::string pictureNameProblem(const std::string& name) {
    if (name.size() >= 2 && (name.front() == '"' || name.front() == '\'') && name.back() == name.front()) {
        return "the name " + name +
               " is in quotes; script words take none: write the name as it is (no blanks)";
    }
    std::string ending = std::filesystem::path(name).extension().string();
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    if (!ending.empty() && ending != ".png" && ending != ".svg") {
        return name + " ends in " + ending + ", which shot cannot write: give a name ending in .png or .svg";
    }
    return {};
}

std::string takePicture(CommandContext& context, const ScriptCommand& command) {
    if (std::string problem = pictureNameProblem(command.words[0]); !problem.empty()) {
        return problem;
    }
    std::filesystem::path file = command.words[0];
    if (file.is_relative() && !context.pictureFolder.empty()) {
        file = context.pictureFolder / file;
    }
    const std::string shown = file.string();
    std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        return "cannot write the picture " + shown + ": there is no folder " + folder.string() +
               " (make it first)";
    }
    if (std::filesystem::is_directory(file, error)) {
        return "cannot write the picture " + shown + ": it is a folder; give a file name";
    }
    if (std::string why = writeScreenPicture(screenScene(context.device), file.string()); !why.empty()) {
        return "cannot write the picture " + shown + ": " + why;
    }
    context.out << "picture: " << terminalText(shown) << '\n';
    return {};
}

std::string printHelp(CommandContext& context, const ScriptCommand& /*command*/) {
    context.out << helpText();
    return {};
}

std::string endSession(CommandContext& context, const ScriptCommand& /*command*/) {
    context.endsSession = true;
    return {};
}

} // namespace sim
