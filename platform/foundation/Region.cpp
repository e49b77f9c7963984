#include "platform/foundation/Region.h"

#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <cstdlib>
#include <memory>

namespace ns {
namespace {

Region::Scope*& innermost() {
    static Region::Scope* scope = nullptr;
    return scope;
}

// "de_DE.UTF-8@euro" -> "de_DE"; the C library's names carry an encoding and a modifier that
// locale identifiers do not.
std::string localeFromPosixName(std::string name) {
    name = name.substr(0, name.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") {
        return "en_US";
    }
    return name;
}

std::string environmentLocale() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return localeFromPosixName(value);
        }
    }
    return "en_US";
}

std::string environmentTimeZone() {
    // ICU reads TZ and the host's zone settings itself.
    const std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::detectHostTimeZone());
    icu::UnicodeString id;
    if (zone) {
        zone->getID(id);
    }
    std::string name;
    id.toUTF8String(name);
    return name.empty() || name == "Etc/Unknown" ? "GMT" : name;
}

} // namespace

Region Region::fromEnvironment() {
    return Region{environmentLocale(), environmentTimeZone()};
}

Region Region::current() {
    Region region;
    if (const Scope* scope = innermost()) {
        region = Region{scope->localeIdentifier_, scope->timeZoneName_};
    }
    if (region.localeIdentifier.empty()) {
        region.localeIdentifier = environmentLocale();
    }
    if (region.timeZoneName.empty()) {
        region.timeZoneName = environmentTimeZone();
    }
    return region;
}

Region::Scope::Scope(Region region)
    : localeIdentifier_(std::move(region.localeIdentifier)), timeZoneName_(std::move(region.timeZoneName)),
      previous_(innermost()) {
    innermost() = this;
}

Region::Scope::~Scope() {
    innermost() = previous_;
}

} // namespace ns
