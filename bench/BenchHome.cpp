#include "bench/BenchHome.h"

#include "addon/store/SavedTimesStore.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace bench {

BenchHome::BenchHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lapvane-bench-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder from " + pattern);
    }
    path_ = buffer.data();
    std::filesystem::create_directories(path_ + "/Library/Preferences");
}

BenchHome::~BenchHome() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string BenchHome::savedTimesFile() const {
    return path_ + "/Library/Preferences/" + lv::kSavedTimesFileName;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream out;
    out << in.rdbuf();
    return std::move(out).str();
}

void replaceFromOutside(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".outside";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + temporary);
        }
    }
    std::filesystem::rename(temporary, path);
}

std::string changedInOneDate(std::string bytes) {
    // <date>2013-03-01T00:00:00Z</date>: the units digit of the seconds is the 19th character.
    const std::string open = "<date>";
    const std::size_t at = bytes.find(open);
    const std::size_t digit = at + open.size() + 18;
    if (at == std::string::npos || digit >= bytes.size() || bytes[digit] < '0' || bytes[digit] > '9') {
        throw std::invalid_argument("the file holds no date to change");
    }
    bytes[digit] = bytes[digit] == '0' ? '1' : '0';
    return bytes;
}

} // namespace bench
