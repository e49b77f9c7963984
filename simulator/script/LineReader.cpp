#include "simulator/script/LineReader.h"

#include "simulator/script/ScriptCommand.h"

#include <cerrno>
#include <cstring>
#include <fstream>
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

} // namespace sim
