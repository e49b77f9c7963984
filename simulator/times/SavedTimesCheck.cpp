#include "simulator/times/SavedTimesCheck.h"

#include "addon/store/SavedTimesDocument.h"
#include "addon/store/SectionNameText.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListDate.h"
#include "platform/foundation/PropertyListFile.h"

#include <nlohmann/json.hpp>

#include <optional>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace sim {
namespace {

constexpr std::string_view kSectionKeyPrefix = "Times - ";

// A string as JSON writes it: control characters escaped, bytes that are not UTF-8 replaced.
std::string jsonQuoted(const std::string& text) {
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string keyPath(const std::string& key) {
    return "[" + jsonQuoted(key) + "]";
}

std::string indexPath(std::size_t index) {
    return "[" + std::to_string(index) + "]";
}

// What a value is, as a person calls it.
std::string kindOf(const id& value) {
    if (!value) {
        return "nothing";
    }
    if (rt::cast<NSString>(value)) {
        return "a string";
    }
    if (auto number = rt::cast<NSNumber>(value)) {
        return number->kind() == NSNumber::Kind::Boolean ? "a boolean" : "a number";
    }
    if (rt::cast<NSDate>(value)) {
        return "a date";
    }
    if (rt::cast<NSData>(value)) {
        return "data";
    }
    if (rt::cast<NSArray>(value)) {
        return "an array";
    }
    if (rt::cast<NSDictionary>(value)) {
        return "a dictionary";
    }
    return "an unknown value";
}

class Checker {
  public:
    std::vector<CheckFinding> findings;

    void checkRoot(const NSDictionary& root) {
        std::vector<std::string> names = checkSectionList(root);
        for (const auto& [key, value] : root.entries()) {
            if (key.rfind(kSectionKeyPrefix, 0) != 0) {
                continue; // Keys the add-on does not know are kept and never read.
            }
            std::string name = key.substr(kSectionKeyPrefix.size());
            if (std::find(names.begin(), names.end(), name) == names.end()) {
                add(keyPath(key),
                    "no section " + jsonQuoted(name) + " in the section list (its records are not shown)");
            }
        }
        // A section listed twice is one section: its problems are counted once (the list's repeat
        // is reported by itself).
        std::set<std::string> checked;
        for (const auto& name : names) {
            if (!checked.insert(name).second) {
                continue;
            }
            std::string key = lv::sectionKey(name);
            id value = root.objectForKey(key);
            if (!value) {
                continue; // A section without records reads as empty, as a new one is.
            }
            auto records = rt::cast<NSArray>(value);
            if (!records) {
                add(keyPath(key), kindOf(value) + ", not an array of records (shown as none and kept: a "
                                                  "capture or a move into it writes nothing)");
                continue;
            }
            for (std::size_t i = 0; i < records->items().size(); ++i) {
                checkRecord(records->items()[i], keyPath(key) + indexPath(i));
            }
        }
        checkCharacters(root);
    }

  private:
    void add(std::string path, std::string problem) {
        findings.push_back({std::move(path), std::move(problem)});
    }

    // What is wrong with the characters of a string, or "" when every one can stand in XML.
    static std::string characterProblem(const std::string& text) {
        if (!lv::isValidUtf8(text)) {
            return "is not UTF-8";
        }
        if (auto c = lv::firstCharacterXmlForbids(text)) {
            if (*c == 0) {
                return std::string(kNulProblem);
            }
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(*c));
            return std::string("holds ") + code + ", a character XML 1.0 forbids";
        }
        return {};
    }

    // A NUL cannot be written as XML at all: the add-on's writer refuses it, so nothing is stored
    // while the file holds it, whereas other characters XML forbids are written as they are.
    static constexpr std::string_view kNulProblem = "holds U+0000, which XML cannot carry";

    static std::string consequenceOf(const std::string& problem, const std::string& consequence) {
        return problem == kNulProblem
                   ? ": the add-on writes nothing to the file while it is there (it reads it)"
                   : consequence;
    }

    // Every string of the file, keys included, must be text an XML property list can hold: one
    // that is not makes the whole file unreadable to other programs, though the add-on reads it.
    // A section's name is reported once, where the section list holds it, naming the section.
    void checkCharacters(const NSDictionary& root) {
        const std::string consequence = ": other programs refuse the whole file (the add-on reads it)";
        std::set<std::string> reported;
        if (auto list = rt::cast<NSArray>(root.objectForKey(lv::kSectionsKey))) {
            for (std::size_t i = 0; i < list->items().size(); ++i) {
                auto name = rt::cast<NSString>(list->items()[i]);
                std::string problem = name ? characterProblem(name->str()) : "";
                if (!problem.empty() && reported.insert(name->str()).second) {
                    add(keyPath(lv::kSectionsKey) + indexPath(i),
                        "the name of section " + jsonQuoted(name->str()) + " " + problem +
                            consequenceOf(problem, consequence));
                }
            }
        }
        for (const auto& [key, value] : root.entries()) {
            const bool reportedSectionKey = key.rfind(kSectionKeyPrefix, 0) == 0 &&
                                            reported.count(key.substr(kSectionKeyPrefix.size())) != 0;
            if (!reportedSectionKey) {
                checkKeyCharacters(key, keyPath(key), consequence);
            }
            if (key != lv::kSectionsKey || !rt::cast<NSArray>(value)) {
                checkValueCharacters(value, keyPath(key), consequence);
            }
        }
    }

    // The year a date is written with when other programs cannot read it (they read four digits,
    // years 1 to 9999), or "" when they can. The writer writes such dates as the platform does.
    static std::string unreadableYear(const NSDate& date) {
        const std::optional<std::string> text = plist::formatXmlDate(date.timeIntervalSinceReferenceDate());
        if (!text) {
            return "beyond the calendar";
        }
        const std::string year = text->substr(0, text->find('-', 1));
        const bool fourDigits = year.size() == 4 && year.find_first_not_of("0123456789") == std::string::npos;
        return fourDigits && year != "0000" ? std::string() : std::to_string(std::stoll(year));
    }

    void checkKeyCharacters(const std::string& key, const std::string& path, const std::string& consequence) {
        if (std::string problem = characterProblem(key); !problem.empty()) {
            add(path, "the key " + problem + consequenceOf(problem, consequence));
        }
    }

    void checkValueCharacters(const id& value, const std::string& path, const std::string& consequence) {
        if (auto text = rt::cast<NSString>(value)) {
            if (std::string problem = characterProblem(text->str()); !problem.empty()) {
                add(path, "a string that " + problem + consequenceOf(problem, consequence));
            }
        } else if (auto date = rt::cast<NSDate>(value)) {
            if (std::string year = unreadableYear(*date); !year.empty()) {
                add(path,
                    "a date in year " + year + " (other programs read years 1 to 9999 only)" + consequence);
            }
        } else if (auto array = rt::cast<NSArray>(value)) {
            for (std::size_t i = 0; i < array->items().size(); ++i) {
                checkValueCharacters(array->items()[i], path + indexPath(i), consequence);
            }
        } else if (auto dictionary = rt::cast<NSDictionary>(value)) {
            for (const auto& [key, item] : dictionary->entries()) {
                checkKeyCharacters(key, path + keyPath(key), consequence);
                checkValueCharacters(item, path + keyPath(key), consequence);
            }
        }
    }

    // The names the add-on reads from the section list, with what it leaves out or repeats. A
    // list it reads as missing or empty becomes ["Default"] at the Saved tab's first load, which
    // keeps the records already under that name.
    std::vector<std::string> checkSectionList(const NSDictionary& root) {
        const std::vector<std::string> recreated = {lv::kDefaultSectionName};
        std::vector<std::string> names;
        const std::string listPath = keyPath(lv::kSectionsKey);
        id value = root.objectForKey(lv::kSectionsKey);
        if (!value) {
            add(listPath, "missing (the Saved tab starts a new list with \"Default\")");
            return recreated;
        }
        auto list = rt::cast<NSArray>(value);
        if (!list) {
            add(listPath, kindOf(value) + ", not an array of names (read as missing and kept: nothing is "
                                          "written until it is repaired)");
            return recreated;
        }
        std::map<std::string, std::size_t> firstAt;
        for (std::size_t i = 0; i < list->items().size(); ++i) {
            const id& item = list->items()[i];
            std::string path = listPath + indexPath(i);
            auto name = rt::cast<NSString>(item);
            if (!name) {
                add(path, kindOf(item) + ", not a section name (skipped, and kept in the list)");
                continue;
            }
            names.push_back(name->str());
            if (name->str().empty()) {
                add(path, "an empty section name");
            }
            auto [at, inserted] = firstAt.emplace(name->str(), i);
            if (!inserted) {
                add(path, jsonQuoted(name->str()) + " is listed twice (first at " + listPath +
                              indexPath(at->second) + "); its records show twice");
            }
        }
        return names.empty() ? recreated : names;
    }

    void checkTime(const id& value, const std::string& path) {
        auto number = rt::cast<NSNumber>(value);
        if (!number || number->kind() == NSNumber::Kind::Boolean) {
            add(path, kindOf(value) + ", not a number (read as 0)");
            return;
        }
        double seconds = number->doubleValue();
        if (!std::isfinite(seconds) || !std::isfinite(number->floatValue())) {
            std::ostringstream text;
            text << seconds;
            add(path, text.str() + " is not a finite time");
        } else if (seconds < 0) {
            std::ostringstream text;
            text << seconds;
            add(path, text.str() + " is a negative time");
        }
    }

    void checkRecord(const id& value, const std::string& path) {
        auto record = rt::cast<NSDictionary>(value);
        if (!record) {
            add(path, kindOf(value) + ", not a record (read as a record without values: Time: 0.0, no laps)");
            return;
        }
        for (const char* key : {"Total Time", "Last Lap"}) {
            id time = record->objectForKey(key);
            if (!time) {
                add(path + keyPath(key), "missing (read as 0)");
            } else {
                checkTime(time, path + keyPath(key));
            }
        }
        id laps = record->objectForKey("All Laps");
        if (!laps) {
            add(path + keyPath("All Laps"), "missing (read as no laps)");
        } else if (auto list = rt::cast<NSArray>(laps)) {
            for (std::size_t i = 0; i < list->items().size(); ++i) {
                checkTime(list->items()[i], path + keyPath("All Laps") + indexPath(i));
            }
        } else {
            add(path + keyPath("All Laps"), kindOf(laps) + ", not an array (read as no laps)");
        }
        id date = record->objectForKey("Date");
        if (!date) {
            add(path + keyPath("Date"), "missing (read as no date)");
        } else if (!rt::cast<NSDate>(date)) {
            add(path + keyPath("Date"), kindOf(date) + ", not a date (read as no date)");
        }
    }
};

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

namespace {

// `bytes` are read only when the dictionary was: they give the layout line.
template <class Bytes>
SavedTimesCheck checkRead(const plist::ReadResult& read, Bytes bytesOfFile) {
    SavedTimesCheck check;
    if (read.status == plist::ReadStatus::Missing) {
        check.status = SavedTimesCheck::Status::Missing;
        return check;
    }
    if (read.status == plist::ReadStatus::Unreadable) {
        check.status = SavedTimesCheck::Status::Unreadable;
        check.reason = read.reason;
        return check;
    }
    if (read.status == plist::ReadStatus::Inaccessible) {
        check.status = SavedTimesCheck::Status::Inaccessible;
        check.reason = read.reason;
        return check;
    }
    check.status = SavedTimesCheck::Status::Read;
    Checker checker;
    checker.checkRoot(*read.dictionary);
    check.findings = std::move(checker.findings);

    std::string bytes = bytesOfFile();
    plist::EncodeResult written = plist::xmlText(*read.dictionary);
    if (bytes.rfind("bplist00", 0) == 0) {
        check.layout = "a binary property list; the add-on writes XML at its next change";
    } else if (written.ok && written.text == bytes) {
        check.platformLayout = true;
        check.layout = "XML exactly as the platform writes it";
    } else {
        check.layout = "XML, but not laid out as the platform writes it (another program wrote it); the "
                       "add-on rewrites it at its next change";
    }
    return check;
}

} // namespace

SavedTimesCheck checkSavedTimesFile(const std::string& path) {
    return checkRead(plist::readDictionaryFile(path, plist::Mutability::Immutable),
                     [&path] { return fileBytes(path); });
}

SavedTimesCheck checkSavedTimesBytes(const std::string& bytes) {
    return checkRead(plist::readDictionary(bytes, plist::Mutability::Immutable), [&bytes] { return bytes; });
}

std::string checkText(const SavedTimesCheck& check, const std::string& path) {
    std::ostringstream out;
    switch (check.status) {
    case SavedTimesCheck::Status::Missing:
        out << "No saved-times file at " << path << ".\n";
        return out.str();
    case SavedTimesCheck::Status::Unreadable:
        out << path << ": cannot be read (" << check.reason
            << "); the add-on moves it aside and starts a new file.\n";
        return out.str();
    case SavedTimesCheck::Status::Inaccessible:
        out << path << ": cannot be read (" << check.reason
            << "); the add-on leaves it as it is and writes nothing while that lasts.\n";
        return out.str();
    case SavedTimesCheck::Status::Read:
        break;
    }
    for (const auto& finding : check.findings) {
        out << finding.path << ": " << finding.problem << '\n';
    }
    out << "layout: " << check.layout << '\n';
    std::size_t count = check.findings.size();
    if (count == 0) {
        out << path << ": no problems found.\n";
    } else {
        out << path << ": " << count << (count == 1 ? " problem" : " problems") << " found.\n";
    }
    return out.str();
}

} // namespace sim
