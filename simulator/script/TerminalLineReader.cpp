// The terminal's line reader: a prompt, line editing, completion and history from the line editor,
// and the keyboard's signals taken between keys.
#include "simulator/script/LineReader.h"

#include "simulator/script/CommandTable.h"

#include <array>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <readline.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace sim {
namespace {

// The candidates for the word being completed, chosen when its completion starts.
const std::vector<std::string>* completionWords = nullptr;

char* nextCompletion(const char* text, int state) {
    static std::size_t index = 0;
    if (state == 0) {
        index = 0;
    }
    std::size_t length = std::strlen(text);
    while (completionWords != nullptr && index < completionWords->size()) {
        const std::string& word = (*completionWords)[index++];
        if (word.compare(0, length, text) == 0) {
            return strdup(word.c_str());
        }
    }
    return nullptr;
}

char** completion(const char* text, int start, int /*end*/) {
    rl_attempted_completion_over = 1;
    completionWords =
        &completionCandidates(std::string_view(rl_line_buffer, static_cast<std::size_t>(start)));
    return completionWords->empty() ? nullptr : rl_completion_matches(text, nextCompletion);
}

// Ctrl-C while a command runs: the command goes on (while a line is typed, the reader takes Ctrl-C
// itself; see HeldSignals).
void letCommandFinish(int /*signal*/) {}

// What the line editor hands over when a line is finished: its text, or nothing at the end of
// the input (Ctrl-D on an empty line).
struct FinishedLine {
    bool finished = false;
    std::optional<std::string> text;
};
FinishedLine finishedLine;

void takeFinishedLine(char* raw) {
    // Removed here, the handler does not print the next prompt before the command's output.
    rl_callback_handler_remove();
    finishedLine.finished = true;
    if (raw != nullptr) {
        finishedLine.text = std::string(raw);
        std::free(raw);
    }
}

// The signals a person sends from the keyboard or the window while a line is typed. They are
// held back and read from a descriptor beside the terminal's, so each is taken between two keys,
// in the order typed: a Ctrl-C that came while a key was being handled cannot be lost, nor leave
// the terminal half set up, nor be mistaken for a later Ctrl-D.
class HeldSignals {
  public:
    HeldSignals() {
        sigemptyset(&held_);
        for (int signal : {SIGINT, SIGTSTP, SIGWINCH}) {
            sigaddset(&held_, signal);
        }
        sigprocmask(SIG_BLOCK, &held_, &before_);
        fd_ = signalfd(-1, &held_, SFD_NONBLOCK | SFD_CLOEXEC);
    }
    ~HeldSignals() {
        if (fd_ >= 0) {
            close(fd_);
        }
        sigprocmask(SIG_SETMASK, &before_, nullptr);
    }
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

    /// What to watch beside the terminal; -1 (which poll skips) if the descriptor could not be made.
    [[nodiscard]] int fd() const { return fd_; }
    /// One held signal that came, or 0 if none did.
    [[nodiscard]] int take() const {
        signalfd_siginfo info{};
        if (fd_ < 0 || read(fd_, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) {
            return 0;
        }
        return static_cast<int>(info.ssi_signo);
    }
    /// Stops the process as Ctrl-Z does, the terminal given back to the shell meanwhile.
    static void suspend() {
        rl_deprep_terminal();
        std::fputc('\n', stdout);
        std::fflush(stdout);
        struct sigaction stop {};
        struct sigaction previous {};
        stop.sa_handler = SIG_DFL;
        sigemptyset(&stop.sa_mask);
        sigaction(SIGTSTP, &stop, &previous);
        sigset_t stopOnly;
        sigemptyset(&stopOnly);
        sigaddset(&stopOnly, SIGTSTP);
        raise(SIGTSTP);
        sigprocmask(SIG_UNBLOCK, &stopOnly, nullptr);
        sigprocmask(SIG_BLOCK, &stopOnly, nullptr);
        sigaction(SIGTSTP, &previous, nullptr);
        rl_prep_terminal(1);
        rl_forced_update_display();
    }

  private:
    sigset_t held_{};
    sigset_t before_{};
    int fd_ = -1;
};

class TerminalLineReader final : public LineReader {
  public:
    explicit TerminalLineReader(std::string prompt) : prompt_(std::move(prompt)) {
        rl_attempted_completion_function = completion;
        // The line editor reads characters as the locale's character type says: without it, an
        // accent typed in a UTF-8 terminal is dropped. Only the character type: numbers and
        // dates never follow the process locale.
        std::setlocale(LC_CTYPE, "");
        // The reader takes the keyboard's signals itself, between keys (see HeldSignals).
        rl_catch_signals = 0;
        // Ctrl-C while a command runs does not end the session: the command finishes and the
        // prompt comes back.
        struct sigaction action {};
        action.sa_handler = letCommandFinish;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &previous_);
    }
    ~TerminalLineReader() override { sigaction(SIGINT, &previous_, nullptr); }
    TerminalLineReader(const TerminalLineReader&) = delete;
    TerminalLineReader& operator=(const TerminalLineReader&) = delete;

    std::optional<SourceLine> next() override {
        HeldSignals signals;
        finishedLine = {};
        rl_callback_handler_install(prompt_.c_str(), takeFinishedLine);
        while (!finishedLine.finished) {
            // The editor reads `rl_instream` (standard input), set up by the handler's installation.
            std::array<pollfd, 2> watched{{{fileno(rl_instream), POLLIN, 0}, {signals.fd(), POLLIN, 0}}};
            int ready = poll(watched.data(), watched.size(), -1);
            int pollError = ready < 0 ? errno : 0;
            if (int signal = signals.take(); signal == SIGINT) {
                // Ctrl-C drops the line typed so far; a fresh prompt comes on the next line, as
                // at a shell.
                rl_callback_handler_remove();
                std::fputc('\n', stdout);
                rl_callback_handler_install(prompt_.c_str(), takeFinishedLine);
                continue;
            } else if (signal == SIGTSTP) {
                HeldSignals::suspend();
                continue;
            } else if (signal == SIGWINCH) {
                rl_resize_terminal();
                continue;
            }
            if (ready < 0 && pollError == EINTR) {
                continue;
            }
            if (ready < 0 || (watched[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
                // The terminal is gone: the session ends as at Ctrl-D.
                rl_callback_handler_remove();
                break;
            }
            if ((watched[0].revents & POLLIN) != 0) {
                rl_callback_read_char();
            }
        }
        if (!finishedLine.text) {
            std::fputc('\n', stdout);
            return std::nullopt;
        }
        std::string line = std::move(*finishedLine.text);
        if (!line.empty()) {
            add_history(line.c_str());
        }
        return SourceLine{line, "<stdin>:" + std::to_string(++number_)};
    }
    [[nodiscard]] bool interactive() const override { return true; }

  private:
    std::string prompt_;
    int number_ = 0;
    struct sigaction previous_ {};
};

} // namespace

std::unique_ptr<LineReader> terminalLineReader(std::string prompt) {
    return std::make_unique<TerminalLineReader>(std::move(prompt));
}

} // namespace sim
