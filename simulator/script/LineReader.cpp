#include "simulator/script/LineReader.h"

#include "simulator/script/CommandTable.h"
#include "simulator/script/ScriptCommand.h"

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <readline.h>
#include <signal.h>
#include <string_view>

namespace sim {
namespace {

// Removes the line terminator only ("\n" is already gone; a "\r" of a CRLF file goes too), so
// the blanks of a `type` command's text stay exactly as written.
std::string withoutTerminator(std::string line) {
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

class StreamLineReader final : public LineReader {
  public:
    StreamLineReader(std::istream& in, std::string name) : in_(&in), name_(std::move(name)) {}
    std::optional<SourceLine> next() override {
        std::string line;
        if (!std::getline(*in_, line)) {
            return std::nullopt;
        }
        // A byte order mark that some editors put at the start of a UTF-8 file is not text.
        constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
        if (number_ == 0 && std::string_view(line).substr(0, kByteOrderMark.size()) == kByteOrderMark) {
            line.erase(0, kByteOrderMark.size());
        }
        return SourceLine{withoutTerminator(std::move(line)), name_ + ":" + std::to_string(++number_)};
    }

  private:
    std::istream* in_;
    std::string name_;
    int number_ = 0;
};

class FileLineReader final : public LineReader {
  public:
    explicit FileLineReader(std::vector<std::filesystem::path> files) : files_(std::move(files)) {}
    std::optional<SourceLine> next() override {
        while (failure_.empty()) {
            if (!current_) {
                if (index_ >= files_.size()) {
                    return std::nullopt;
                }
                const auto& path = files_[index_++];
                std::error_code kind;
                if (std::filesystem::is_directory(path, kind)) {
                    failure_ = "cannot read script " + path.string() + ": it is a folder";
                    return std::nullopt;
                }
                file_ = std::make_unique<std::ifstream>(path);
                if (!*file_) {
                    failure_ = "cannot read script " + path.string() + ": " + std::strerror(errno);
                    return std::nullopt;
                }
                current_ = std::make_unique<StreamLineReader>(*file_, path.string());
            }
            if (auto line = current_->next()) {
                return line;
            }
            current_.reset();
        }
        return std::nullopt;
    }
    [[nodiscard]] std::string failure() const override { return failure_; }

  private:
    std::vector<std::filesystem::path> files_;
    std::size_t index_ = 0;
    std::unique_ptr<std::ifstream> file_;
    std::unique_ptr<StreamLineReader> current_;
    std::string failure_;
};

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

// Set by Ctrl-C while a line is being typed.
volatile std::sig_atomic_t interrupted = 0;

void noteInterrupt(int /*signal*/) {
    interrupted = 1;
}

class TerminalLineReader final : public LineReader {
  public:
    explicit TerminalLineReader(std::string prompt) : prompt_(std::move(prompt)) {
        rl_attempted_completion_function = completion;
        // The line editor reads characters as the locale's character type says: without it, an
        // accent typed in a UTF-8 terminal is dropped. Only the character type: numbers and
        // dates never follow the process locale.
        std::setlocale(LC_CTYPE, "");
        // Ctrl-C clears the line being typed, as a shell does, instead of ending the session:
        // the read is interrupted (no restart) and the prompt comes back.
        struct sigaction action {};
        action.sa_handler = noteInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &previous_);
    }
    ~TerminalLineReader() override { sigaction(SIGINT, &previous_, nullptr); }
    TerminalLineReader(const TerminalLineReader&) = delete;
    TerminalLineReader& operator=(const TerminalLineReader&) = delete;

    std::optional<SourceLine> next() override {
        char* raw = nullptr;
        for (;;) {
            interrupted = 0;
            raw = readline(prompt_.c_str());
            if (raw != nullptr || interrupted == 0) {
                break;
            }
            std::fputc('\n', stdout);
        }
        if (raw == nullptr) {
            std::fputc('\n', stdout);
            return std::nullopt;
        }
        std::string line(raw);
        std::free(raw);
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

class PreparedLineReader final : public LineReader {
  public:
    explicit PreparedLineReader(std::vector<SourceLine> lines) : lines_(std::move(lines)) {}
    std::optional<SourceLine> next() override {
        if (index_ >= lines_.size()) {
            return std::nullopt;
        }
        return lines_[index_++];
    }

  private:
    std::vector<SourceLine> lines_;
    std::size_t index_ = 0;
};

} // namespace

PreparedScript prepareScript(LineReader& reader) {
    PreparedScript script;
    while (auto line = reader.next()) {
        if (std::string why = parseScriptLine(line->text).error; !why.empty()) {
            script.errors.push_back(line->where + ": " + why);
        }
        script.lines.push_back(std::move(*line));
    }
    script.failure = reader.failure();
    return script;
}

std::unique_ptr<LineReader> preparedLineReader(std::vector<SourceLine> lines) {
    return std::make_unique<PreparedLineReader>(std::move(lines));
}

std::unique_ptr<LineReader> fileLineReader(std::vector<std::filesystem::path> files) {
    return std::make_unique<FileLineReader>(std::move(files));
}

std::unique_ptr<LineReader> streamLineReader(std::istream& in, std::string name) {
    return std::make_unique<StreamLineReader>(in, std::move(name));
}

std::unique_ptr<LineReader> terminalLineReader(std::string prompt) {
    return std::make_unique<TerminalLineReader>(std::move(prompt));
}

} // namespace sim
