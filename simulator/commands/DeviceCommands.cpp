#include "simulator/commands/DeviceCommands.h"

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
    context.out << screenText(context.device);
    return {};
}

std::string printDump(CommandContext& context, const ScriptCommand& /*command*/) {
    context.out << dumpText(context.device) << '\n';
    return {};
}

std::string takePicture(CommandContext& context, const ScriptCommand& command) {
    std::filesystem::path file = command.words[0];
    if (file.is_relative() && !context.pictureFolder.empty()) {
        file = context.pictureFolder / file;
    }
    // The drawing library only says that its stream failed; the folder's state says why.
    std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        return "cannot write the picture " + file.string() + ": there is no folder " + folder.string() +
               " (make it first)";
    }
    if (std::string why = writeScreenPicture(screenScene(context.device), file.string()); !why.empty()) {
        return "cannot write the picture " + file.string() + ": " + why;
    }
    context.out << "picture: " << file.string() << '\n';
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
