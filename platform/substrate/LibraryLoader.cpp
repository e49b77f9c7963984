#include "platform/substrate/LibraryLoader.h"

#include "platform/foundation/PropertyListReader.h"
#include "platform/runtime/Trace.h"

#include <algorithm>
#include <dlfcn.h>
#include <fstream>
#include <iterator>
#include <system_error>

namespace ms {
namespace {

namespace fs = std::filesystem;

// The phone's file system lists a folder sorted by name, so that is the listing order here too,
// whatever order the host file system keeps.
std::vector<fs::path> librariesIn(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path& path = it->path();
        std::error_code typeError;
        if (path.extension() == kLibrarySuffix && it->is_regular_file(typeError)) {
            found.push_back(path);
        }
    }
    std::sort(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) {
        return a.filename().string() < b.filename().string();
    });
    return found;
}

// The filter file's root object: nil when there is no filter file; an error text when it exists
// but cannot be read as a property list.
struct FilterFile {
    id root;
    std::optional<std::string> error;
};

FilterFile readFilter(const fs::path& library) {
    fs::path filterPath = library;
    filterPath.replace_extension(".plist");
    std::error_code error;
    if (!fs::exists(filterPath, error)) {
        return {};
    }
    std::ifstream in(filterPath, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        return {nullptr, std::string("filter file cannot be read")};
    }
    plist::ParseResult parsed = plist::PropertyListReader().parse(bytes);
    if (!parsed.ok()) {
        return {nullptr, "filter file cannot be read: " + parsed.reason};
    }
    return {parsed.value, std::nullopt};
}

void trace(const fs::path& library, const std::string& what) {
    if (rt::trace::enabled(rt::trace::Channel::Hooks)) {
        rt::trace::log(rt::trace::Channel::Hooks, "loader: " + library.filename().string() + " " + what);
    }
}

} // namespace

std::optional<std::string> openWithDlopen(const fs::path& library) {
    // The handle is never closed: a hooking library stays loaded for the life of the process, as
    // its hooks and slots do.
    if (dlopen(library.c_str(), RTLD_NOW | RTLD_GLOBAL) == nullptr) {
        const char* error = dlerror();
        return std::string(error != nullptr ? error : "dlopen failed");
    }
    return std::nullopt;
}

std::vector<LibraryOutcome> loadLibraries(const fs::path& folder, const LoaderProcess& process,
                                          const LibraryOpener& open) {
    std::vector<LibraryOutcome> outcomes;
    for (const fs::path& library : librariesIn(folder)) {
        LibraryOutcome outcome;
        outcome.path = library;
        FilterFile filter = readFilter(library);
        if (filter.error) {
            outcome.status = LibraryOutcome::Status::FilterUnreadable;
            outcome.reason = *filter.error;
        } else {
            FilterDecision decision = evaluateFilter(filter.root, process);
            outcome.reason = decision.reason;
            if (decision.load) {
                if (auto failure = open(library)) {
                    outcome.status = LibraryOutcome::Status::OpenFailed;
                    outcome.reason = *failure;
                } else {
                    outcome.status = LibraryOutcome::Status::Loaded;
                    outcome.loaded = true;
                }
            }
        }
        trace(library, (outcome.loaded ? "loaded: " : "skipped: ") + outcome.reason);
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

} // namespace ms
