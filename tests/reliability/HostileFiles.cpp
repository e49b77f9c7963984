#include "tests/reliability/HostileFiles.h"

#include "tests/reliability/Campaign.h"

#include "platform/foundation/PropertyListOptions.h"

#include <cstdint>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace reliability {
namespace {

const std::string kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n";

std::string document(const std::string& body) {
    return kHeader + body + "\n</plist>\n";
}

// A valid record dictionary with the total given.
std::string record(const std::string& total) {
    return "<dict><key>All "
           "Laps</key><array><real>1</real></array><key>Date</key><date>2026-12-07T08:00:00Z</date>"
           "<key>Last Lap</key><real>1</real><key>Total Time</key><real>" +
           total + "</real></dict>";
}

std::string withSections(const std::string& sections, const std::string& rest) {
    return document("<dict><key>Sections</key>" + sections + rest + "</dict>");
}

std::string repeated(const std::string& text, std::size_t count) {
    std::string out;
    out.reserve(text.size() * count);
    for (std::size_t i = 0; i < count; ++i) {
        out += text;
    }
    return out;
}

// A binary property list of the given objects (object 0 is the root), with 4-byte offsets and
// 4-byte references.
std::string binary(const std::vector<std::string>& objects) {
    std::string out = "bplist00";
    std::vector<std::uint32_t> offsets;
    for (const auto& object : objects) {
        offsets.push_back(static_cast<std::uint32_t>(out.size()));
        out += object;
    }
    const auto be = [](std::uint64_t value, int bytes) {
        std::string text;
        for (int i = bytes - 1; i >= 0; --i) {
            text += static_cast<char>((value >> (8 * i)) & 0xFF);
        }
        return text;
    };
    const std::uint64_t table = out.size();
    for (std::uint32_t offset : offsets) {
        out += be(offset, 4);
    }
    out += std::string(6, '\0') + "\x04\x04" + be(objects.size(), 8) + be(0, 8) + be(table, 8);
    return out;
}

std::string reference(std::uint32_t index) {
    return {static_cast<char>(index >> 24), static_cast<char>(index >> 16), static_cast<char>(index >> 8),
            static_cast<char>(index)};
}

// An array or dictionary marker with its count.
std::string counted(unsigned kind, std::uint64_t count) {
    if (count < 15) {
        return std::string(1, static_cast<char>(kind | count));
    }
    std::string text{static_cast<char>(kind | 0x0F), '\x13'};
    for (int i = 7; i >= 0; --i) {
        text += static_cast<char>((count >> (8 * i)) & 0xFF);
    }
    return text;
}

// A root dictionary {"Sections": object 2} followed by `rest` (objects 2, 3, ...).
std::vector<std::string> sectionsPointingAt(std::vector<std::string> rest) {
    std::vector<std::string> objects{counted(0xD0, 1) + reference(1) + reference(2), "\x58Sections"};
    objects.insert(objects.end(), rest.begin(), rest.end());
    return objects;
}

std::function<void(const std::string&)> bytes(std::string content) {
    return [content = std::move(content)](const std::string& path) { writeWhole(path, content); };
}

// A file as Python's plistlib writes it: `expression` gives its bytes.
std::function<void(const std::string&)> plistlibFile(const std::string& expression) {
    return [expression](const std::string& path) {
        const ChildRun run =
            runProgram({"/usr/bin/env", "python3", "-c",
                        "import plistlib, sys\nopen(sys.argv[1], 'wb').write(" + expression + ")", path});
        if (run.status != 0) {
            ADD_FAILURE() << "python3 with plistlib could not write the file: " << run.output;
        }
    };
}

// A 64 KB ASCII string object.
std::string largeString() {
    return counted(0x50, 65536) + std::string(65536, 'k');
}

} // namespace

std::vector<HostileFile> hostileFiles() {
    const std::string goodSections = "<array><string>Default</string></array>";
    const std::string goodRecords = "<key>Times - Default</key><array>" + record("5") + "</array>";
    std::vector<HostileFile> files = {
        // Damaged: bytes that are not a property-list dictionary.
        {"EmptyFile", bytes(""), Outcome::Damaged},
        {"WhitespaceOnly", bytes(" \n\t\n"), Outcome::Damaged},
        {"Truncated", bytes(withSections(goodSections, goodRecords).substr(0, 150)), Outcome::Damaged},
        {"EntityBomb",
         bytes("<?xml version=\"1.0\"?>\n<!DOCTYPE plist [\n<!ENTITY lol \"lol\">\n" +
               [] {
                   std::string entities;
                   for (int i = 1; i <= 9; ++i) {
                       entities +=
                           "<!ENTITY lol" + std::to_string(i) + " \"" +
                           repeated("&lol" + (i == 1 ? std::string() : std::to_string(i - 1)) + ";", 10) +
                           "\">\n";
                   }
                   return entities;
               }() +
               "]>\n<plist "
               "version=\"1.0\"><dict><key>Sections</key><array><string>&lol9;</string></array></dict>"
               "</plist>\n"),
         Outcome::Damaged},
        {"ExternalEntity",
         bytes(
             "<?xml version=\"1.0\"?>\n<!DOCTYPE plist [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>\n"
             "<plist "
             "version=\"1.0\"><dict><key>Sections</key><array><string>&x;</string></array></dict></plist>\n"),
         Outcome::Damaged},
        {"XmlArraysNested100000Deep",
         bytes(withSections(repeated("<array>", 100000) + repeated("</array>", 100000), "")),
         Outcome::Damaged},
        {"XmlDictionariesNested100000Deep",
         bytes(withSections(goodSections, "<key>x</key>" + repeated("<dict><key>k</key>", 100000) +
                                              "<true/>" + repeated("</dict>", 100000))),
         Outcome::Damaged},
        {"BinaryArraysNested100000Deep", bytes(binary(sectionsPointingAt([] {
             std::vector<std::string> chain;
             for (std::uint32_t i = 0; i < 100000; ++i) {
                 chain.push_back(counted(0xA0, 1) + reference(i + 3));
             }
             chain.push_back(counted(0xA0, 0));
             return chain;
         }()))),
         Outcome::Damaged},
        {"BinaryReferenceCycle", bytes(binary(sectionsPointingAt({counted(0xA0, 1) + reference(2)}))),
         Outcome::Damaged},
        {"BinaryHugeCount", bytes(binary(sectionsPointingAt({counted(0xA0, std::uint64_t{1} << 62)}))),
         Outcome::Damaged},
        {"BinaryHugeStringLength",
         bytes(binary(sectionsPointingAt({std::string("\x5F\x13", 2) + std::string(7, '\x7F') + "\xFF"}))),
         Outcome::Damaged},
        // 30 levels of two references to the next: 130 bytes that would expand to 2^30 values.
        {"BinarySharedReferenceBomb", bytes(binary(sectionsPointingAt([] {
             std::vector<std::string> levels;
             for (std::uint32_t i = 0; i < 30; ++i) {
                 levels.push_back(counted(0xA0, 2) + reference(i + 3) + reference(i + 3));
             }
             levels.push_back(counted(0xA0, 0));
             return levels;
         }()))),
         Outcome::Damaged},
        // 20,000 references to one dictionary whose key is a 64 KB string: 1.3 GB if each made its
        // own copy; refused once the copies pass the file's size.
        {"BinaryDictionaryReferenced20000Times", bytes(binary(sectionsPointingAt({
             counted(0xA0, 20000) + repeated(reference(3), 20000),
             counted(0xD0, 1) + reference(4) + reference(5),
             largeString(),
             "\x09",
         }))),
         Outcome::Damaged},
        {"InvalidUtf8",
         bytes(withSections("<array><string>D\xC3"
                            "(fault</string></array>",
                            "")),
         Outcome::Damaged},
        {"Utf16Document", bytes(std::string("\xFF\xFE<\0p\0l\0i\0s\0t\0>\0", 16)), Outcome::Damaged},
        {"RootIsAnArray", bytes(document("<array><string>Default</string></array>")), Outcome::Damaged},
        {"MalformedReal",
         bytes(withSections(goodSections, "<key>Times - Default</key><array>" + record("abc") + "</array>")),
         Outcome::Damaged},
        {"IntegerBeyond64Bits",
         bytes(withSections(goodSections, "<key>n</key><integer>18446744073709551616</integer>")),
         Outcome::Damaged},
        // Read: odd but readable; every value is kept through the capture's write.
        {"DuplicateKeysTheLastCounts",
         bytes(withSections("<array><string>First</string></array>",
                            "<key>Sections</key>" + goodSections + goodRecords)),
         Outcome::Read},
        {"SectionNamesThatAreNotStrings",
         bytes(withSections("<array><integer>5</integer><dict/></array>", "")), Outcome::Read},
        {"RecordsThatAreNotDictionaries",
         bytes(withSections(goodSections, "<key>Times - Default</key><array><string>odd</string><array/>" +
                                              record("6") + "</array>")),
         Outcome::Read},
        {"RecordFieldsOfTheWrongType",
         bytes(withSections(goodSections, "<key>Times - Default</key><array><dict><key>All Laps</key><dict/>"
                                          "<key>Total Time</key><string>12</string><key>Date</key><string>now"
                                          "</string><key>Last Lap</key><true/></dict></array>")),
         Outcome::Read},
        {"UnsignedIntegersAndCarriageReturns",
         bytes(withSections(
             "<array><string>A&#13;B</string></array>",
             "<key>n</key><integer>18446744073709551615</integer><key>Times - A&#13;B</key><array/>")),
         Outcome::Read},
        {"AnAmpersandTwoHundredThousandTimes",
         bytes(withSections(goodSections, "<key>x</key><string>" + repeated("&amp;", 200000) + "</string>")),
         Outcome::Read},
        // 600,000 empty containers in 4.5 MB: under eight bytes of text each, each a value of its own.
        {"XmlEmptyContainersOfFourMegabytes",
         bytes(withSections(goodSections, goodRecords + "<key>x</key><array>" +
                                              repeated("<array/><dict/>", 300000) + "</array>")),
         Outcome::Read},
        // The root's 20,000 keys all name one 64 KB string: one key, copied once.
        {"BinaryKeysAllNamingOneLargeString",
         bytes(binary({counted(0xD0, 20000) + repeated(reference(1), 20000) + repeated(reference(2), 20000),
                       largeString(), "\x10\x01"})),
         Outcome::Read},
        // Files the platform reads, as another program writes them.
        {"PlistlibBinaryHoldingAUid",
         plistlibFile("plistlib.dumps({'Sections': ['Default'], 'Times - Default': [], 'Archive': "
                      "[plistlib.UID(3)]}, fmt=plistlib.FMT_BINARY)"),
         Outcome::Read},
        {"PlistlibXmlInUtf16",
         plistlibFile("plistlib.dumps({'Sections': ['Caf\\u00e9'], 'Times - Caf\\u00e9': []}).decode()"
                      ".replace('UTF-8', 'UTF-16').encode('utf-16')"),
         Outcome::Read},
        {"OrphanKeysAndForeignValues",
         bytes(withSections(goodSections, goodRecords + "<key>Times - Gone</key><array>" + record("7") +
                                              "</array><key>Other</key><data>AAEC</data>")),
         Outcome::Read},
        {"LinkToAFile",
         [goodSections, goodRecords](const std::string& path) {
             writeWhole(path + ".target", withSections(goodSections, goodRecords));
             ::symlink((path + ".target").c_str(), path.c_str());
         },
         Outcome::Read},
        {"DanglingLink",
         [](const std::string& path) { ::symlink((path + ".nowhere").c_str(), path.c_str()); },
         Outcome::Missing},
        // Read, but the capture would replace a value of the wrong type.
        {"SectionListIsADictionary",
         bytes(withSections("<dict><key>Default</key><string>x</string></dict>", "")),
         Outcome::ReadCaptureRefused},
        {"SectionListIsAString", bytes(withSections("<string>Default</string>", "")),
         Outcome::ReadCaptureRefused},
        {"RecordListIsADictionary",
         bytes(withSections(goodSections,
                            "<key>Times - Default</key><dict><key>0</key>" + record("5") + "</dict>")),
         Outcome::ReadCaptureRefused},
        // A NUL cannot stand in XML 1.0: the file is read and kept, and nothing is written.
        {"PlistlibBinaryStringHoldingANul",
         plistlibFile("plistlib.dumps({'Sections': ['Default'], 'Other': 'a\\x00b'}, fmt=plistlib.FMT_BINARY)"),
         Outcome::ReadCaptureRefused},
        {"RecordListIsANumber",
         bytes(withSections(goodSections, "<key>Times - Default</key><integer>3</integer>")),
         Outcome::ReadCaptureRefused},
        // Inaccessible: nothing can be read, so nothing is touched.
        {"Folder", [](const std::string& path) { ::mkdir(path.c_str(), 0755); }, Outcome::Inaccessible},
        {"Fifo", [](const std::string& path) { ::mkfifo(path.c_str(), 0644); }, Outcome::Inaccessible},
        {"LinkToAFifo",
         [](const std::string& path) {
             ::mkfifo((path + ".fifo").c_str(), 0644);
             ::symlink((path + ".fifo").c_str(), path.c_str());
         },
         Outcome::Inaccessible},
        {"LinkToAFolder",
         [](const std::string& path) {
             ::mkdir((path + ".folder").c_str(), 0755);
             ::symlink((path + ".folder").c_str(), path.c_str());
         },
         Outcome::Inaccessible},
        {"DeviceNode", [](const std::string& path) { ::mknod(path.c_str(), S_IFCHR | 0644, makedev(1, 3)); },
         Outcome::Inaccessible},
        {"SparseFileBeyondTheCap",
         [goodSections, goodRecords](const std::string& path) {
             writeWhole(path, withSections(goodSections, goodRecords));
             ::truncate(path.c_str(), static_cast<off_t>(plist::Limits{}.maxBytes) + 1);
         },
         Outcome::Inaccessible},
    };
    return files;
}

} // namespace reliability
