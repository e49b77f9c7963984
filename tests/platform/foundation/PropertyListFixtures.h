#pragma once
// Helpers shared by the property-list tests: value trees, a scratch folder, files and external
// commands (the oracles python3/plistlib and plistutil).

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"

#include <memory>
#include <string>

namespace plist_test {

/// A saved-times dictionary: one section "Default" with one record of laps 30.04, 30.03 and a
/// current lap of 15.3 (single precision), total 75.43, saved at 2013-03-02T12:00:00.75Z.
std::shared_ptr<NSMutableDictionary> oneRecordFile();

/// A saved-times dictionary of `sections` sections holding `records` records in all, each with
/// 5 to 30 laps, made from a fixed seed so that every run builds the same tree.
std::shared_ptr<NSMutableDictionary> savedTimes(int sections, int records, unsigned seed = 7);

/// A folder that exists for the fixture's lifetime and is removed with its content after.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    [[nodiscard]] const std::string& path() const { return path_; }
    /// `path()/name`.
    [[nodiscard]] std::string file(const std::string& name) const { return path_ + "/" + name; }
    /// The names of the entries in the folder, sorted.
    [[nodiscard]] std::string listing() const;

  private:
    std::string path_;
};

/// The bytes of a file; empty when it cannot be read.
std::string readFile(const std::string& path);
/// Writes (replaces) a file with `bytes`.
void writeFile(const std::string& path, const std::string& bytes);

/// True when `program` is found on the PATH.
bool haveProgram(const std::string& program);
/// True when python3 can import plistlib.
bool havePlistlib();
/// Runs a shell command, capturing its standard output (and error, merged); the exit status.
int run(const std::string& command, std::string& output);
/// Runs an inline python3 script with the arguments given; the exit status, output in `output`.
int runPython(const std::string& script, const std::string& arguments, std::string& output);

} // namespace plist_test
