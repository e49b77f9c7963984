#include "simulator/device/SavedTimesWatch.h"

#include "addon/store/SavedTimesStore.h"
#include "platform/foundation/PropertyListFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include <unistd.h>

namespace sim {
namespace {

namespace fs = std::filesystem;

// The file's bytes when it is a regular file that can be read; nothing otherwise (a FIFO is
// never opened: it would block).
std::optional<std::string> bytesOf(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> movedAsideFiles(const std::string& path) {
    std::set<std::string> found;
    fs::path file(path);
    std::string prefix = file.filename().string() + ".unreadable-";
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(file.parent_path(), error)) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0) {
            found.insert(entry.path().string());
        }
    }
    return found;
}

} // namespace

SavedTimesWatch::SavedTimesWatch(Look look)
    : path_(lv::savedTimesPath()), bytes_(look == Look::Bytes ? bytesOf(path_) : std::nullopt),
      asideBefore_(movedAsideFiles(path_)) {}

bool SavedTimesWatch::changed() const {
    return bytesOf(path_) != bytes_;
}

std::optional<std::string> SavedTimesWatch::whyNotWritable() const {
    std::error_code error;
    fs::file_status status = fs::status(path_, error);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        return path_ + " is not a regular file";
    }
    plist::ReadResult read = plist::readDictionaryFile(path_, plist::Mutability::Immutable);
    if (read.status == plist::ReadStatus::Inaccessible) {
        return path_ + " cannot be read (" + read.reason + ")";
    }
    std::string folder = fs::path(path_).parent_path().string();
    if (::access(folder.c_str(), W_OK) != 0) {
        return "the folder " + folder + " cannot be written";
    }
    return std::nullopt;
}

std::vector<std::string> SavedTimesWatch::movedAside() const {
    std::vector<std::string> moved;
    for (const auto& file : movedAsideFiles(path_)) {
        if (!asideBefore_.contains(file)) {
            moved.push_back(file);
        }
    }
    return moved;
}

} // namespace sim
