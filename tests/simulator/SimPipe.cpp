#include "tests/simulator/SimPipe.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace testing_support {

SimPipe::SimPipe(const std::vector<std::string>& arguments, const std::string& errorPath) {
    // A process that ends early must fail the test, not kill it when its input is written.
    std::signal(SIGPIPE, SIG_IGN);
    int toChild[2];
    int fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0) {
        return;
    }
    if (pipe2(fromChild, O_CLOEXEC) != 0) {
        close(toChild[0]);
        close(toChild[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::vector<std::string> all = {LAPVANE_LAPVANE_EXE};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& argument : all) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, all.front().c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        pid_ = pid;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    input_ = toChild[1];
    output_ = fromChild[0];
}

SimPipe::~SimPipe() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        finish();
    }
    if (output_ >= 0) {
        close(output_);
    }
}

bool SimPipe::writeAll(const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(input_, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::optional<std::string> SimPipe::readLine(int timeoutSeconds) {
    for (;;) {
        if (auto end = buffered_.find('\n'); end != std::string::npos) {
            std::string line = buffered_.substr(0, end);
            buffered_.erase(0, end + 1);
            return line;
        }
        pollfd ready{output_, POLLIN, 0};
        int polled = poll(&ready, 1, timeoutSeconds * 1000);
        if (polled < 0 && errno == EINTR) {
            continue;
        }
        if (polled <= 0) {
            return std::nullopt;
        }
        char chunk[65536];
        ssize_t n = read(output_, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return std::nullopt;
        }
        buffered_.append(chunk, static_cast<std::size_t>(n));
    }
}

std::optional<nlohmann::json> SimPipe::step(const std::string& lines, int timeoutSeconds) {
    if (pid_ <= 0 || input_ < 0 || !writeAll(lines + "dump\n")) {
        return std::nullopt;
    }
    // Other commands may print lines of their own; the state is the one line of JSON.
    while (auto line = readLine(timeoutSeconds)) {
        if (!line->empty() && line->front() == '{') {
            return nlohmann::json::parse(*line, nullptr, false);
        }
    }
    return std::nullopt;
}

int SimPipe::finish() {
    if (input_ >= 0) {
        close(input_);
        input_ = -1;
    }
    if (pid_ <= 0) {
        return -1;
    }
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace testing_support
