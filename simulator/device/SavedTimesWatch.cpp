#include "simulator/device/SavedTimesWatch.h"

#include "addon/store/SavedTimesStore.h"
#include "platform/foundation/LinkTarget.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/PropertyListFile.h"

#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace sim {
namespace {

namespace fs = std::filesystem;

// What the add-on's writer changes when it writes: it renames a new file over the old one, so the
// file's identity (device, inode) changes, and so do its size or times. Nothing when the file
// cannot be inspected. Only metadata: reading the bytes would add reads of the file to every
// Save, and a read that fails must never turn a look into a fault.
std::optional<SavedTimesWatch::Identity> identityOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return SavedTimesWatch::Identity{
        static_cast<unsigned long long>(status.st_dev), static_cast<unsigned long long>(status.st_ino),
        static_cast<long long>(status.st_size),
        static_cast<long long>(status.st_mtim.tv_sec) * 1000000000LL + status.st_mtim.tv_nsec};
}

// A linked file is written, and moved aside, at the end of its links, in that file's folder;
// that path is shown without the "../" a relative link leaves in it.
std::string fileBehindLinks(const std::string& path) {
    const std::string target = plist::resolveLinkChain(path).path;
    if (target == path) {
        return path;
    }
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(target, error);
    return error ? target : canonical.string();
}

std::set<std::string> movedAsideFiles(const std::string& path) {
    std::set<std::string> found;
    fs::path file(fileBehindLinks(path));
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
    : path_(lv::savedTimesPath()), looked_(look == Look::File),
      identity_(looked_ ? identityOf(path_) : std::nullopt), asideBefore_(movedAsideFiles(path_)),
      logMark_(ns::SystemLog::mark()) {}

std::optional<std::string> SavedTimesWatch::whyStoredNothing() const {
    auto refusal = lv::SavedTimesStore::refusalLoggedSince(logMark_);
    if (!refusal) {
        return std::nullopt;
    }
    return whyNotWritable().value_or(*refusal);
}

bool SavedTimesWatch::changed() const {
    if (!looked_) {
        return true;
    }
    auto now = identityOf(path_);
    // A file that was not there and still is not stayed unchanged; one that cannot be inspected
    // either time is not held against the work.
    if (!identity_ && !now) {
        std::error_code error;
        return std::filesystem::exists(path_, error) || error;
    }
    return !identity_ || !now || *identity_ != *now;
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
    // A value that XML cannot carry (a NUL in a string) makes every write refuse the whole file.
    if (read.ok()) {
        if (plist::EncodeResult text = plist::xmlTextForFile(*read.dictionary); !text.ok) {
            return path_ + " holds a value XML cannot carry, so it is kept as it is (" + text.reason + ")";
        }
    }
    std::string folder = fs::path(fileBehindLinks(path_)).parent_path().string();
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
