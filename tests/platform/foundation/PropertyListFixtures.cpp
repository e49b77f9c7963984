#include "PropertyListFixtures.h"

#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

#include <sys/wait.h>

namespace plist_test {

std::shared_ptr<NSMutableDictionary> oneRecordFile() {
    auto record = NSMutableDictionary::with(
        {{"Last Lap", NSNumber::withFloat(15.3f)},
         {"All Laps", NSMutableArray::with({NSNumber::withFloat(30.04f), NSNumber::withFloat(30.03f),
                                            NSNumber::withFloat(15.3f)})},
         {"Total Time", NSNumber::withDouble(75.43)},
         {"Date", NSDate::withTimeIntervalSinceReferenceDate(383918400.75)}});
    return NSMutableDictionary::with({{"Sections", NSMutableArray::with({NSString::with("Default")})},
                                      {"Times - Default", NSMutableArray::with({record})}});
}

std::shared_ptr<NSMutableDictionary> savedTimes(int sections, int records, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> lapCount(5, 30);
    std::uniform_int_distribution<int> tenths(150, 1200);
    std::vector<std::shared_ptr<NSMutableArray>> lists;
    auto names = NSMutableArray::with();
    auto root = NSMutableDictionary::with();
    for (int s = 0; s < sections; ++s) {
        const std::string name = "Section " + std::to_string(s + 1);
        names->addObject(NSString::with(name));
        lists.push_back(NSMutableArray::with());
        root->setObject(lists.back(), "Times - " + name);
    }
    root->setObject(names, "Sections");
    double date = 383918400;
    for (int r = 0; r < records; ++r) {
        auto laps = NSMutableArray::with();
        double total = 0;
        float last = 0;
        for (int l = lapCount(random); l > 0; --l) {
            last = static_cast<float>(tenths(random)) / 10.0f;
            total += static_cast<double>(last);
            laps->addObject(NSNumber::withFloat(last));
        }
        date += 3671.25;
        lists[static_cast<std::size_t>(r % sections)]->addObject(
            NSMutableDictionary::with({{"Last Lap", NSNumber::withFloat(last)},
                                       {"All Laps", laps},
                                       {"Total Time", NSNumber::withDouble(total)},
                                       {"Date", NSDate::withTimeIntervalSinceReferenceDate(date)}}));
    }
    return root;
}

ScratchFolder::ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "plist-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a scratch folder");
    }
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::listing() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::string text;
    for (const auto& name : names) {
        text += (text.empty() ? "" : " ") + name;
    }
    return text;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

int run(const std::string& command, std::string& output) {
    output.clear();
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, got);
    }
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool haveProgram(const std::string& program) {
    std::string ignored;
    return run("command -v " + program + " >/dev/null", ignored) == 0;
}

bool havePlistlib() {
    std::string ignored;
    return haveProgram("python3") && run("python3 -c 'import plistlib'", ignored) == 0;
}

int runPython(const std::string& script, const std::string& arguments, std::string& output) {
    ScratchFolder folder;
    const std::string path = folder.file("script.py");
    writeFile(path, script);
    return run("python3 " + path + " " + arguments, output);
}

} // namespace plist_test
