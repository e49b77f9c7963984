#include "simulator/window/WindowPlayer.h"

#include "simulator/device/Device.h"

#include "platform/runtime/NSException.h"

#include <exception>
#include <utility>

namespace sim {

WindowPlayer::WindowPlayer(Device& device, std::ostream& out, std::ostream& err, std::string path,
                           std::vector<SourceLine> lines)
    : device_(&device), out_(&out), err_(&err), path_(std::move(path)),
      reader_(preparedLineReader(std::move(lines))), simulator_(device, out, err) {}

std::optional<double> WindowPlayer::next() {
    if (done_) {
        return std::nullopt;
    }
    while (auto line = reader_->next()) {
        ParsedLine parsed = parseScriptLine(line->text);
        if (!parsed.command) {
            // A comment or an empty line: the script was checked before it started.
            continue;
        }
        if (parsed.command->name == "wait") {
            return device_->now() + parsed.command->seconds;
        }
        std::string why;
        double started = device_->now();
        try {
            why = simulator_.execute(*parsed.command);
        } catch (const NSException& e) {
            return finish(line->where + ": " + e.name() + ": " + e.reason());
        } catch (const std::exception& e) {
            return finish(line->where + ": " + e.what());
        }
        out_->flush();
        if (heard_) {
            heard_(line->text, started, device_->now());
        }
        if (!why.empty()) {
            *err_ << "error: " << line->where << ": " << why << std::endl;
            status_ = kExitRejectedLines;
        }
    }
    return finish({});
}

std::optional<double> WindowPlayer::finish(const std::string& fault) {
    done_ = true;
    if (fault.empty()) {
        *out_ << "played: " << path_ << std::endl;
    } else {
        *err_ << "fault: " << fault << " (the script stops; the window stays open)" << std::endl;
        status_ = kExitFault;
    }
    return std::nullopt;
}

} // namespace sim
