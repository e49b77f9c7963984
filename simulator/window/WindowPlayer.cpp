#include "simulator/window/WindowPlayer.h"

#include "simulator/device/Device.h"

#include "platform/runtime/NSException.h"

#include <exception>

namespace sim {

WindowPlayer::WindowPlayer(Device& device, std::ostream& out, std::ostream& err, const std::string& path)
    : device_(&device), out_(&out), err_(&err), path_(path), reader_(fileLineReader({path})),
      simulator_(device, out, err) {}

std::optional<double> WindowPlayer::next() {
    if (done_) {
        return std::nullopt;
    }
    while (auto line = reader_->next()) {
        ParsedLine parsed = parseScriptLine(line->text);
        if (parsed.command && parsed.command->name == "wait") {
            return device_->now() + parsed.command->seconds;
        }
        std::string why = parsed.error;
        if (parsed.command) {
            try {
                why = simulator_.execute(*parsed.command);
            } catch (const NSException& e) {
                return finish(line->where + ": " + e.name() + ": " + e.reason());
            } catch (const std::exception& e) {
                return finish(line->where + ": " + e.what());
            }
        }
        out_->flush();
        if (!why.empty()) {
            *err_ << "error: " << line->where << ": " << why << std::endl;
        }
    }
    if (std::string failure = reader_->failure(); !failure.empty()) {
        *err_ << "error: " << failure << std::endl;
        done_ = true;
        return std::nullopt;
    }
    return finish({});
}

std::optional<double> WindowPlayer::finish(const std::string& fault) {
    done_ = true;
    if (fault.empty()) {
        *out_ << "played: " << path_ << std::endl;
    } else {
        *err_ << "fault: " << fault << " (the script stops; the window stays open)" << std::endl;
    }
    return std::nullopt;
}

} // namespace sim
