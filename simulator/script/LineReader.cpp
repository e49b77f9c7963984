#include "simulator/script/LineReader.h"

#include "simulator/script/CommandTable.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <readline.h>
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

class TerminalLineReader final : public LineReader {
  public:
    explicit TerminalLineReader(std::string prompt) : prompt_(std::move(prompt)) {
        rl_attempted_completion_function = completion;
    }
    std::optional<SourceLine> next() override {
        char* raw = readline(prompt_.c_str());
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
};

} // namespace

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
