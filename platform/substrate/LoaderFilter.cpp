#include "platform/substrate/LoaderFilter.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/RuntimeFunctions.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace ms {
namespace {

FilterDecision skip(std::string reason) {
    return {false, std::move(reason)};
}

// The outcome of one name list: absent, present and matching, present and not matching, or
// present with a value of the wrong kind (a damaged filter).
enum class ListMatch { Absent, Matches, Misses, Damaged };

ListMatch matchList(const NSDictionary& filter, const std::string& key,
                    const std::function<bool(const std::string&)>& present) {
    id value = filter.objectForKey(key);
    if (!value) {
        return ListMatch::Absent;
    }
    auto list = rt::cast<NSArray>(value);
    if (!list) {
        return ListMatch::Damaged;
    }
    // An entry that is not a string names nothing and so matches nothing.
    bool any = std::any_of(list->items().begin(), list->items().end(), [&](const id& item) {
        auto name = rt::cast<NSString>(item);
        return name && present(name->str());
    });
    return any ? ListMatch::Matches : ListMatch::Misses;
}

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The [min] or [min, max) range of CoreFoundation versions; nullopt when the value is damaged.
std::optional<bool> versionInRange(const id& value, double version) {
    auto range = rt::cast<NSArray>(value);
    if (!range || range->count() < 1 || range->count() > 2) {
        return std::nullopt;
    }
    auto low = range->objectAs<NSNumber>(0);
    if (!low) {
        return std::nullopt;
    }
    if (low->doubleValue() > version) {
        return false;
    }
    if (range->count() == 2) {
        auto high = range->objectAs<NSNumber>(1);
        if (!high) {
            return std::nullopt;
        }
        if (high->doubleValue() <= version) {
            return false;
        }
    }
    return true;
}

} // namespace

FilterDecision evaluateFilter(const id& root, const LoaderProcess& process) {
    if (!root) {
        return {true, "no filter: loads everywhere"};
    }
    auto plist = rt::cast<NSDictionary>(root);
    if (!plist) {
        return skip("filter file is not a dictionary");
    }
    id filterValue = plist->objectForKey("Filter");
    if (!filterValue) {
        return {true, "no Filter entry: loads everywhere"};
    }
    auto filter = rt::cast<NSDictionary>(filterValue);
    if (!filter) {
        return skip("Filter is not a dictionary");
    }

    // The version range is a requirement in every mode: a library built for another system is
    // never loaded.
    if (id versions = filter->objectForKey("CoreFoundationVersion")) {
        std::optional<bool> inRange = versionInRange(versions, process.coreFoundationVersion);
        if (!inRange) {
            return skip("CoreFoundationVersion is not a list of one or two numbers");
        }
        if (!*inRange) {
            return skip("CoreFoundationVersion excludes this system");
        }
    }

    bool any = false;
    if (id modeValue = filter->objectForKey("Mode")) {
        auto mode = rt::cast<NSString>(modeValue);
        if (!mode) {
            return skip("Mode is not a string");
        }
        any = mode->str() == "Any";
    }

    const std::pair<const char*, std::function<bool(const std::string&)>> lists[] = {
        {"Bundles", [&](const std::string& n) { return contains(process.bundleIdentifiers, n); }},
        {"Executables", [&](const std::string& n) { return contains(process.executableNames, n); }},
        {"Classes", [](const std::string& n) { return objc_getClass(n.c_str()) != nullptr; }},
    };
    bool anyPresent = false;
    bool anyMatched = false;
    std::string missed;
    for (const auto& [key, present] : lists) {
        switch (matchList(*filter, key, present)) {
        case ListMatch::Absent:
            break;
        case ListMatch::Damaged:
            return skip(std::string(key) + " is not a list");
        case ListMatch::Matches:
            anyPresent = true;
            anyMatched = true;
            break;
        case ListMatch::Misses:
            anyPresent = true;
            if (missed.empty()) {
                missed = key;
            }
            break;
        }
    }
    // A filter that names no list places no condition on the process, in either mode.
    if (!anyPresent) {
        return {true, "filter names no bundle, executable or class"};
    }
    if (any) {
        return anyMatched ? FilterDecision{true, "a list matches (Mode Any)"}
                          : skip("no list matches (Mode Any)");
    }
    return missed.empty() ? FilterDecision{true, "every list matches"} : skip(missed + " does not match");
}

} // namespace ms
