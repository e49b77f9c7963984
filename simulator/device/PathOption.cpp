#include "simulator/device/PathOption.h"

#include <filesystem>
#include <system_error>

namespace sim {
namespace {

namespace fs = std::filesystem;

std::string kindName(fs::file_type type) {
    switch (type) {
    case fs::file_type::regular:
        return "a regular file";
    case fs::file_type::directory:
        return "a folder";
    case fs::file_type::fifo:
        return "a FIFO";
    case fs::file_type::socket:
        return "a socket";
    case fs::file_type::block:
    case fs::file_type::character:
        return "a device";
    default:
        return "not a file or a folder";
    }
}

} // namespace

std::string pathOptionProblem(const std::string& option, const std::string& path, PathKind kind) {
    const bool folder = kind == PathKind::Folder || kind == PathKind::ExistingFolder;
    const bool mustExist =
        kind == PathKind::ExistingFolder || kind == PathKind::ExistingFile || kind == PathKind::Existing;
    const char* wanted = kind == PathKind::Existing ? "a name" : folder ? "a folder" : "a file";
    // Without an option name the reason starts with the path (the command line's parser names
    // the option itself).
    const std::string named = option.empty() ? path : option + " " + path;
    if (path.empty()) {
        return (option.empty() ? std::string("the name") : option) + " is empty: give " + wanted +
               ", or leave the option out for the default";
    }
    std::error_code error;
    fs::file_status link = fs::symlink_status(path, error);
    if (link.type() == fs::file_type::not_found && mustExist) {
        // A name the user typed that names nothing is a mistake, never "nothing saved yet".
        return named + " does not exist: check the name";
    }
    if (kind == PathKind::NewFile && link.type() == fs::file_type::not_found) {
        fs::path folder = fs::path(path).parent_path();
        std::error_code folderError;
        if (!folder.empty() && !fs::is_directory(folder, folderError)) {
            return named + ": the folder " + folder.string() + " does not exist: make it first";
        }
        return {};
    }
    if (error || link.type() == fs::file_type::not_found) {
        // Nothing there yet, or nothing that can be inspected: the use that follows says why.
        return {};
    }
    fs::file_status target = fs::status(path, error);
    if (link.type() == fs::file_type::symlink && (error || target.type() == fs::file_type::not_found)) {
        fs::path to = fs::read_symlink(path, error);
        return named + " is a link to " + (error ? std::string("nothing") : to.string()) +
               ", which does not exist";
    }
    fs::file_type needed = folder ? fs::file_type::directory : fs::file_type::regular;
    if (!error && kind != PathKind::Existing && target.type() != needed) {
        return named + " is " + kindName(target.type()) + ", not " + wanted;
    }
    return {};
}

} // namespace sim
