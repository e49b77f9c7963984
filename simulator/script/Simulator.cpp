#include "simulator/script/Simulator.h"

#include "simulator/device/TerminalText.h"

#include "simulator/device/Device.h"
#include "simulator/device/SavedTimesWatch.h"
#include "simulator/script/CommandContext.h"
#include "simulator/script/CommandTable.h"

#include "platform/runtime/NSException.h"

#include <exception>
#include <optional>

namespace sim {

std::vector<std::pair<int, std::string>> exitStatusMeanings() {
    return {
        {kExitOk, "The command did what was asked; for sim and demo, every line was carried out."},
        {kExitFault,
         "Nothing useful could be done: output that could not be written (whatever the command "
         "did), a refused command line, a script file that cannot be read (nothing runs), a device "
         "that cannot start, a fault inside the system (the session ends at that line), a "
         "saved-times file that cannot be read, a file or home named that does not exist, times "
         "check finding problems, window without a display."},
        {kExitRejectedLines, "sim and demo: the session ran but refused some line (a Save or an edit that "
                             "stored nothing included), or a script file holds a bad line and nothing ran. "
                             "Not counted at the terminal prompt."},
    };
}

Simulator::Simulator(Device& device, std::ostream& out, std::ostream& err, bool echo)
    : device_(&device), out_(&out), err_(&err), echo_(echo) {}

std::string Simulator::execute(const ScriptCommand& command) {
    const CommandSpec* entry = findCommand(command.name);
    if (entry == nullptr) {
        return "unknown command \"" + command.name + "\" (try \"help\")";
    }
    CommandContext context{*device_, *out_, nullptr, {}, pictureFolder_};
    if (std::string why = checkScreen(entry->needs, context); !why.empty()) {
        return why;
    }
    // Only a touch or a launch can start the add-on's file work (a Save, the Saved tab's first
    // load, an edit); other commands are not watched, which keeps a long run of `wait` and `lap`
    // free of a look at the folder per line.
    std::optional<SavedTimesWatch> watch;
    if (entry->touch == Touch::Yes || entry->name == "launch") {
        watch.emplace(SavedTimesWatch::Look::MovedAside);
    }
    std::string result = entry->handler(context, command);
    if (watch) {
        movedAside_ = watch->movedAside();
    }
    ended_ = ended_ || context.endsSession;
    if (entry->touch == Touch::Yes) {
        // What the touch left for the run loop is delivered before the next command, as the
        // phone's run loop turns after every event.
        device_->settle();
    }
    return result;
}

int Simulator::run(LineReader& reader) {
    bool rejected = false;
    while (!ended_) {
        auto line = reader.next();
        if (!line) {
            break;
        }
        ParsedLine parsed = parseScriptLine(line->text);
        if (!parsed.command && parsed.error.empty()) {
            continue;
        }
        if (echo_) {
            *out_ << "> " << terminalText(line->text) << '\n';
        }
        // A parse error escapes what it quotes itself; what a command says may quote a name from
        // the file or the screen, which must not drive the terminal.
        std::string why = parsed.error;
        if (parsed.command) {
            try {
                why = terminalText(execute(*parsed.command));
            } catch (const NSException& e) {
                out_->flush();
                *err_ << "fault: " << line->where << ": " << e.name() << ": " << terminalText(e.reason())
                      << '\n';
                return kExitFault;
            } catch (const std::exception& e) {
                out_->flush();
                *err_ << "fault: " << line->where << ": " << terminalText(e.what()) << '\n';
                return kExitFault;
            }
        }
        for (const auto& file : movedAside_) {
            out_->flush();
            *err_ << "note: " << line->where
                  << ": the saved-times file could not be read and was moved aside to " << terminalText(file)
                  << "; a new one was started\n";
        }
        movedAside_.clear();
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
