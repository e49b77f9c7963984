#include "platform/substrate/LoaderFilter.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/Runtime.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

namespace {

// A class the filter's Classes list can find in the process.
class FilterProbe : public NSObject {
  public:
    static constexpr const char* kClassName = "FilterProbe";
    using Super = NSObject;
};

id strings(std::vector<std::string> names) {
    std::vector<id> items;
    for (auto& name : names) {
        items.push_back(NSString::with(name));
    }
    return NSArray::with(items);
}

id numbers(std::vector<double> values) {
    std::vector<id> items;
    for (double value : values) {
        items.push_back(NSNumber::withDouble(value));
    }
    return NSArray::with(items);
}

id withFilter(NSDictionary::Entries filter) {
    return NSDictionary::with({{"Filter", NSDictionary::with(std::move(filter))}});
}

struct FilterCase {
    const char* name;
    std::function<id()> root;
    bool load;
};

std::ostream& operator<<(std::ostream& out, const FilterCase& c) {
    return out << c.name;
}

class LoaderFilterTable : public ::testing::TestWithParam<FilterCase> {
  protected:
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
};

TEST_P(LoaderFilterTable, DecidesAsTheLoaderDoes) {
    runtime.classFor<FilterProbe>();
    ms::LoaderProcess process;
    process.bundleIdentifiers = {"com.apple.springboard", "com.apple.mobiletimer"};
    process.executableNames = {"SpringBoard", "MobileTimer"};
    process.coreFoundationVersion = 847.20;
    ms::FilterDecision decision = ms::evaluateFilter(GetParam().root(), process);
    EXPECT_EQ(decision.load, GetParam().load) << decision.reason;
    EXPECT_FALSE(decision.reason.empty());
}

const FilterCase kCases[] = {
    {"no filter file loads everywhere", [] { return id(); }, true},
    {"root that is not a dictionary is skipped", [] { return strings({"x"}); }, false},
    {"no Filter entry loads everywhere", [] { return NSDictionary::with({}); }, true},
    {"Filter that is not a dictionary is skipped",
     [] {
         return NSDictionary::with({{"Filter", strings({})}});
     },
     false},
    {"empty Filter loads", [] { return withFilter({}); }, true},
    {"matching bundle",
     [] {
         return withFilter({{"Bundles", strings({"com.apple.mobiletimer"})}});
     },
     true},
    {"one of several bundles",
     [] {
         return withFilter({{"Bundles", strings({"com.x", "com.apple.springboard"})}});
     },
     true},
    {"bundle compared exactly",
     [] {
         return withFilter({{"Bundles", strings({"com.apple.MobileTimer"})}});
     },
     false},
    {"missing bundle",
     [] {
         return withFilter({{"Bundles", strings({"com.apple.mobilesafari"})}});
     },
     false},
    {"empty bundle list matches nothing",
     [] {
         return withFilter({{"Bundles", strings({})}});
     },
     false},
    {"Bundles not a list is skipped",
     [] {
         return withFilter({{"Bundles", NSString::with("com.apple.mobiletimer")}});
     },
     false},
    {"non-string entries match nothing",
     [] {
         return withFilter({{"Bundles", numbers({1})}});
     },
     false},
    {"matching executable",
     [] {
         return withFilter({{"Executables", strings({"MobileTimer"})}});
     },
     true},
    {"missing executable",
     [] {
         return withFilter({{"Executables", strings({"MobileSafari"})}});
     },
     false},
    {"class present",
     [] {
         return withFilter({{"Classes", strings({"FilterProbe"})}});
     },
     true},
    {"class absent",
     [] {
         return withFilter({{"Classes", strings({"SBIconController"})}});
     },
     false},
    {"all lists must match by default",
     [] {
         return withFilter({{"Bundles", strings({"com.apple.mobiletimer"})}, {"Classes", strings({"Nope"})}});
     },
     false},
    {"every list matching loads",
     [] {
         return withFilter(
             {{"Bundles", strings({"com.apple.mobiletimer"})}, {"Classes", strings({"FilterProbe"})}});
     },
     true},
    {"Mode Any needs one list",
     [] {
         return withFilter({{"Mode", NSString::with("Any")},
                            {"Bundles", strings({"com.x"})},
                            {"Executables", strings({"SpringBoard"})}});
     },
     true},
    {"Mode Any with no matching list",
     [] {
         return withFilter({{"Mode", NSString::with("Any")},
                            {"Bundles", strings({"com.x"})},
                            {"Classes", strings({"Nope"})}});
     },
     false},
    {"other Mode means all",
     [] {
         return withFilter({{"Mode", NSString::with("All")},
                            {"Bundles", strings({"com.x"})},
                            {"Executables", strings({"SpringBoard"})}});
     },
     false},
    {"Mode not a string is skipped",
     [] {
         return withFilter({{"Mode", numbers({1})}});
     },
     false},
    {"version at the minimum loads",
     [] {
         return withFilter({{"CoreFoundationVersion", numbers({847.20})}});
     },
     true},
    {"version below the minimum",
     [] {
         return withFilter({{"CoreFoundationVersion", numbers({1000})}});
     },
     false},
    {"version inside the range",
     [] {
         return withFilter({{"CoreFoundationVersion", numbers({793, 1000})}});
     },
     true},
    {"range maximum is exclusive",
     [] {
         return withFilter({{"CoreFoundationVersion", numbers({793, 847.20})}});
     },
     false},
    {"three numbers are skipped",
     [] {
         return withFilter({{"CoreFoundationVersion", numbers({1, 2, 3})}});
     },
     false},
    {"empty version list is skipped",
     [] {
         return withFilter({{"CoreFoundationVersion", numbers({})}});
     },
     false},
    {"integer versions count",
     [] {
         return withFilter({{"CoreFoundationVersion", NSArray::with({NSNumber::withInteger(800)})}});
     },
     true},
    {"version gates even in Mode Any",
     [] {
         return withFilter({{"Mode", NSString::with("Any")},
                            {"CoreFoundationVersion", numbers({900})},
                            {"Bundles", strings({"com.apple.mobiletimer"})}});
     },
     false},
};

INSTANTIATE_TEST_SUITE_P(Filters, LoaderFilterTable, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name;
    for (const char* c = info.param.name; *c != '\0'; ++c) {
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    }
    return name;
});

} // namespace
