#include "simulator/Simulator.h"

#include "simulator/Device.h"
#include "simulator/Inspector.h"
#include "simulator/SavedActions.h"
#include "simulator/ScreenText.h"
#include "simulator/StateDump.h"

#include "hosts/clock/StopWatchViewController.h"
#include "platform/runtime/NSException.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UITabBarItem.h"
#include "platform/uikit/UITextField.h"

#include <exception>
#include <map>

namespace sim {
namespace {

// The tab titles the `tab` command's names stand for.
const std::map<std::string, std::string>& tabTitlesByName() {
    static const std::map<std::string, std::string> titles = {
        {"world", "World Clock"},   {"alarm", "Alarm"}, {"timer", "Timer"},
        {"stopwatch", "Stopwatch"}, {"saved", "Saved"},
    };
    return titles;
}

} // namespace

Simulator::Simulator(Device& device, std::ostream& out, std::ostream& err, bool echo)
    : device_(&device), out_(&out), err_(&err), echo_(echo) {}

std::string Simulator::requireApp() const {
    return device_->clockRunning() ? std::string() : "the Clock application is not running (use \"launch\")";
}

std::string Simulator::requireNoAlert() const {
    for (const auto& alert : Inspector(*device_).alerts()) {
        if (!alert->isDismissing()) {
            return "an alert is in front (use \"button TITLE\" or \"type TEXT\")";
        }
    }
    return {};
}

std::string Simulator::execute(const ScriptCommand& command) {
    const std::string& name = command.name;
    if (name == "screen") {
        *out_ << screenText(*device_);
        return {};
    }
    if (name == "dump") {
        *out_ << dumpState(*device_).dump() << '\n';
        return {};
    }
    if (name == "help") {
        help();
        return {};
    }
    if (name == "wait") {
        device_->runFor(command.seconds);
        return {};
    }
    if (name == "launch-image") {
        return launchImage(command.words[0]);
    }
    if (name == "launch") {
        return launch();
    }
    if (name == "quit") {
        return quit();
    }
    if (std::string why = requireApp(); !why.empty()) {
        return why;
    }
    if (name == "type") {
        return type(command.text);
    }
    if (name == "button") {
        return alertButton(command.text);
    }
    if (std::string why = requireNoAlert(); !why.empty()) {
        return why;
    }
    std::string result;
    if (name == "tab") {
        result = tab(command.words[0]);
    } else if (name == "start" || name == "stop" || name == "lap" || name == "reset") {
        static const std::map<std::string, std::string> titles = {
            {"start", "Start"}, {"stop", "Stop"}, {"lap", "Lap"}, {"reset", "Reset"}};
        result = tapStopwatchButton(titles.at(name));
    } else if (name == "save") {
        result = save();
    } else {
        result = savedCommand(command);
    }
    // What the touch left for the run loop is delivered before the next command, as the phone's
    // run loop turns after every event.
    device_->settle();
    return result;
}

std::string Simulator::launch() {
    if (device_->clockRunning()) {
        return "the Clock application is already running";
    }
    std::string image = device_->launchClock();
    *out_ << "launch image: " << image << '\n';
    return {};
}

std::string Simulator::quit() {
    if (std::string why = requireApp(); !why.empty()) {
        return why;
    }
    device_->quitClock();
    return {};
}

std::string Simulator::launchImage(const std::string& bundleIdentifier) {
    auto image = device_->springBoard().launchImageNameFor(bundleIdentifier);
    if (!image) {
        return "no application with bundle identifier \"" + bundleIdentifier + "\" is installed";
    }
    *out_ << "launch image: " << *image << '\n';
    return {};
}

std::string Simulator::tab(const std::string& which) {
    Inspector inspector(*device_);
    auto tabs = inspector.tabBarController();
    if (!tabs) {
        return "there is no tab bar on screen";
    }
    std::vector<std::string> titles = inspector.tabTitles();
    NSUInteger index = NSNotFound;
    if (which.size() == 1 && which[0] >= '1' && which[0] <= '9') {
        index = static_cast<NSUInteger>(which[0] - '1');
        if (index >= titles.size()) {
            return "there is no tab " + which + " (the tab bar has " + std::to_string(titles.size()) + ")";
        }
    } else {
        const std::string& title = tabTitlesByName().at(which);
        for (std::size_t i = 0; i < titles.size(); ++i) {
            if (titles[i] == title) {
                index = i;
                break;
            }
        }
        if (index == NSNotFound) {
            return "there is no \"" + title + "\" tab";
        }
    }
    if (!tabs->simulateTapOnTab(index)) {
        return "tab " + which + " cannot be tapped";
    }
    return {};
}

std::string Simulator::tapStopwatchButton(const std::string& title) {
    Inspector inspector(*device_);
    if (!inspector.stopwatchOnScreen()) {
        return "the stopwatch is not on screen (use \"tab stopwatch\")";
    }
    auto button = Inspector::findButton(inspector.stopwatch()->view(), title);
    if (!button) {
        return "there is no " + title + " button on the stopwatch screen now";
    }
    // A disabled button takes no touch, as on the phone.
    button->simulateTap();
    return {};
}

std::string Simulator::save() {
    Inspector inspector(*device_);
    if (!inspector.stopwatchOnScreen()) {
        return "the stopwatch is not on screen (use \"tab stopwatch\")";
    }
    auto button = inspector.saveButton();
    if (!button) {
        return "there is no Save button on the stopwatch screen";
    }
    button->simulateTap();
    return {};
}

std::string Simulator::type(const std::string& text) {
    auto alerts = Inspector(*device_).alerts();
    if (alerts.empty()) {
        return "there is no alert to type into";
    }
    auto front = alerts.back();
    if (front->isDismissing()) {
        return "the front alert is closing";
    }
    if (front->alertViewStyle() == UIAlertViewStyleDefault) {
        return "the front alert has no text field";
    }
    if (!front->textFieldAtIndex(0)->simulateTyping(text)) {
        return "the text field does not take typing now";
    }
    device_->settle();
    return {};
}

std::string Simulator::alertButton(const std::string& title) {
    auto alerts = Inspector(*device_).alerts();
    if (alerts.empty()) {
        return "there is no alert on screen";
    }
    if (!alerts.back()->simulateTapButtonWithTitle(title)) {
        return "the front alert has no button \"" + title + "\" that can be tapped now";
    }
    device_->settle();
    return {};
}

std::string Simulator::savedCommand(const ScriptCommand& command) {
    return runSavedAction(*device_, command);
}

void Simulator::help() {
    *out_ << "Commands (one a line, # starts a comment):\n"
             "  launch | quit | launch-image BUNDLE-ID\n"
             "  tab world|alarm|timer|stopwatch|saved|1..5\n"
             "  start | stop | lap | reset | save | wait SECONDS\n"
             "  tap S R | back | edit | done | add | swipe S R | unswipe | delete S R | move S R S R\n"
             "  type TEXT | button TITLE\n"
             "  screen | dump | help\n";
}

int Simulator::run(LineReader& reader) {
    bool rejected = false;
    while (auto line = reader.next()) {
        ParsedLine parsed = parseScriptLine(line->text);
        if (!parsed.command && parsed.error.empty()) {
            continue;
        }
        if (echo_) {
            *out_ << "> " << line->text << '\n';
        }
        std::string why = parsed.error;
        if (parsed.command) {
            try {
                why = execute(*parsed.command);
            } catch (const NSException& e) {
                out_->flush();
                *err_ << "fault: " << line->where << ": " << e.name() << ": " << e.reason() << '\n';
                return kExitFault;
            } catch (const std::exception& e) {
                out_->flush();
                *err_ << "fault: " << line->where << ": " << e.what() << '\n';
                return kExitFault;
            }
        }
        if (!why.empty()) {
            rejected = true;
            out_->flush();
            *err_ << "error: " << line->where << ": " << why << '\n';
        }
        out_->flush();
    }
    if (std::string failure = reader.failure(); !failure.empty()) {
        *err_ << "error: " << failure << '\n';
        return kExitFault;
    }
    return rejected && !reader.interactive() ? kExitRejectedLines : kExitOk;
}

} // namespace sim
