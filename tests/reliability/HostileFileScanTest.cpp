// The XML reader's direct scan on every hostile file of the catalogue that holds bytes: where it
// reads one, the value is the full parser's, class for class; everywhere else the full parser
// answers, with its own reason.

#include "tests/reliability/HostileFiles.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/XmlScanCheck.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace reliability {
namespace {

TEST(HostileFileScan, AgreesWithTheFullParserOnEveryCatalogueFile) {
    int compared = 0;
    for (const HostileFile& file : hostileFiles()) {
        testing_support::TemporaryDirectory folder;
        const std::string path = folder.path() + "/times.plist";
        file.make(path);
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > (64 << 20)) {
            continue; // no bytes to read: a folder, a FIFO, a device, a dangling link, a huge file
        }
        const std::string bytes = testing_support::readWholeFile(path);
        for (const plist::Mutability mutability :
             {plist::Mutability::Immutable, plist::Mutability::MutableContainers}) {
            EXPECT_EQ(plist_test::checkScan(bytes, mutability).difference, "") << file.name;
        }
        ++compared;
    }
    EXPECT_GT(compared, 20);
}

} // namespace
} // namespace reliability
