#pragma once
// The user operations the benchmarks measure, each on its own copy of a saved-times file in a
// temporary home, through the same public code the add-on and `lapvane times` run. An operation is
// measured as: set up once, then for each run an untimed `prepare` that puts the file and the
// device where the run starts from, and the timed `run`.
//
// The names are stable: the benchmark suite, `lapvane_compare --op` and `bench/compare` use them.
//   parse         the reader alone on the file's bytes, in their own buffer as a read parses them
//                 (the values are freed outside the timing)
//   write         the writer alone on the file's values
//   save-warm     a capture into the file as this process left it
//   save-cold     a capture after another process replaced the file with different bytes
//   tab-warm      the Saved tab appearing: the browser's refresh, its table's reload and layout
//   tab-cold      the same after another process replaced the file
//   tap           tapping a result: the lap panel's fresh read and the lap texts
//   delete        deleting a result with the browser's list, the file as this process left it
//   move-within   moving a result inside its section (to its end, then back)
//   move-between  moving a result to the next section (and back)
//   add-section   adding a section to the file as this process left it, no empty one to drop
//   export        `lapvane times export --format json`, in this process
//   dates         ICU's text of the file's distinct days alone, as the export writes them (its
//                 least cost besides the parse)
//   floor         the file's bytes written back durably, the least any change costs

#include <memory>
#include <string>
#include <vector>

namespace bench {

class MeasuredOperation {
  public:
    virtual ~MeasuredOperation() = default;
    /// Untimed: brings the file and the device to where the next run starts.
    virtual void prepare() {}
    /// Timed: the operation. Throws std::runtime_error when it did not do what it should.
    virtual void run() = 0;
    /// The size of the file the operation was set up with.
    [[nodiscard]] virtual std::size_t fileBytes() const = 0;
    /// The copy of the file the operation works on.
    [[nodiscard]] virtual std::string filePath() const = 0;
    /// Bytes the measuring harness itself holds for the operation (the file's original bytes it
    /// restores or changes the file from), which a measure of the operation's memory leaves out.
    [[nodiscard]] virtual std::size_t harnessBytes() const { return 0; }
};

/// Every operation's name, in the order the tables show them.
const std::vector<std::string>& operationNames();

/// The operation called `name`, set up on a copy of `file`. Throws std::invalid_argument for an
/// unknown name or a file the operation cannot work on (moving between sections needs two), and
/// std::runtime_error when the setup fails.
std::unique_ptr<MeasuredOperation> makeOperation(const std::string& name, const std::string& file);

} // namespace bench
