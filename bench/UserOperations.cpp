#include "bench/UserOperations.h"

#include "bench/BenchDevice.h"
#include "bench/BenchHome.h"
#include "bench/BrowserStage.h"
#include "bench/DurableCopy.h"

#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesStore.h"
#include "platform/foundation/NSDateFormatter.h"
#include "platform/foundation/NSLocale.h"
#include "platform/foundation/NSTimeZone.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/PropertyListXmlWriter.h"
#include "simulator/times/SavedTimesReport.h"

#include <benchmark/benchmark.h>

#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <cmath>
#include <functional>
#include <set>
#include <stdexcept>

namespace bench {
namespace {

// The base of every operation: a temporary home holding a copy of the file, and a device whose
// home it is. Declared in this order so that the device goes before the folder does.
class OnCopy : public MeasuredOperation {
  public:
    explicit OnCopy(const std::string& file) : original_(readBytes(file)), device_(home_.path()) {
        replaceFromOutside(path(), original_);
    }
    [[nodiscard]] std::size_t fileBytes() const override { return original_.size(); }
    [[nodiscard]] std::string filePath() const override { return home_.savedTimesFile(); }
    [[nodiscard]] std::size_t harnessBytes() const override {
        // What is resident is what was written: a string's spare capacity (the file is read by
        // doubling, so up to as much again) is never touched and takes no memory, and leaving it
        // out as if it did would hide that much of the operation's own.
        return original_.size() + changed_.size();
    }

  protected:
    [[nodiscard]] std::string path() const { return filePath(); }
    [[nodiscard]] const std::string& original() const { return original_; }
    BenchDevice& device() { return device_; }

    // Another process replaces the file, alternately with its original bytes and with the same
    // bytes changed in one date, so that the bytes are never what this process last saw.
    void changeFromOutside() {
        if (changed_.empty()) {
            changed_ = changedInOneDate(original_);
        }
        flip_ = !flip_;
        replaceFromOutside(path(), flip_ ? changed_ : original_);
    }

    // The browser's in-memory list as its refresh builds it from a fresh read: each listed
    // section's records as a mutable array.
    static std::shared_ptr<NSMutableArray> freshList() {
        lv::SavedTimesRead current = lv::SavedTimesStore::read();
        if (!current.root) {
            throw std::runtime_error("cannot read the saved times: " + current.reason);
        }
        lv::SavedTimesDocument document(current.root);
        auto list = NSMutableArray::with();
        for (const auto& name : document.sectionNames()) {
            list->addObject(document.recordsOrEmpty(name));
        }
        return list;
    }

    static void expectWritten(const lv::SavedTimesWrite& outcome, const char* what) {
        if (!outcome.written) {
            throw std::runtime_error(std::string(what) + " wrote nothing: " + outcome.reason);
        }
    }

  private:
    BenchHome home_;
    std::string original_;
    std::string changed_;
    bool flip_ = false;
    BenchDevice device_;
};

// The reader as a read of the file runs it: on the bytes just read, in their own buffer (the copy
// the parse works in is made before the timing, as the file's read makes it).
class Parse final : public OnCopy {
  public:
    explicit Parse(const std::string& file) : OnCopy(file) {}
    void prepare() override {
        parsed_.reset();
        // As the file's read leaves them: with room for one byte more, which the parse writes a
        // NUL into (without it the parse would copy the whole text to make room).
        bytes_.reserve(original().size() + 1);
        bytes_.assign(original());
    }
    void run() override {
        plist::ReadResult result = reader_.readDictionaryInPlace(bytes_);
        if (!result.ok()) {
            throw std::runtime_error("cannot parse: " + result.reason);
        }
        parsed_ = std::move(result.dictionary);
    }

  private:
    plist::PropertyListReader reader_{plist::Mutability::Immutable};
    std::string bytes_;
    std::shared_ptr<NSDictionary> parsed_;
};

class Write final : public OnCopy {
  public:
    explicit Write(const std::string& file) : OnCopy(file) {
        plist::ReadResult result =
            plist::PropertyListReader(plist::Mutability::MutableContainers).readDictionary(original());
        if (!result.ok()) {
            throw std::runtime_error("cannot parse: " + result.reason);
        }
        root_ = std::move(result.dictionary);
    }
    void run() override {
        plist::EncodeResult result = plist::PropertyListXmlWriter().write(*root_);
        benchmark::DoNotOptimize(result.text.data());
        if (result.text.size() != fileBytes()) {
            throw std::runtime_error("the writer's text differs in size from the file");
        }
    }

  private:
    std::shared_ptr<NSDictionary> root_;
};

class Save final : public OnCopy {
  public:
    Save(const std::string& file, bool cold) : OnCopy(file), cold_(cold) {
        if (!cold_) {
            // The first capture of a process meets a file it has never seen; the runs measure the
            // ones after it.
            run();
        }
    }
    void prepare() override {
        if (cold_) {
            changeFromOutside();
        }
    }
    void run() override {
        auto record = lv::makeSavedTime(31.25F, {42.5F, 37.75F, 31.25F}, 111.5,
                                        NSDate::withTimeIntervalSinceReferenceDate(800000000.0));
        expectWritten(lv::SavedTimesStore::appendToFirstSection(record), "the capture");
    }

  private:
    bool cold_;
};

class TabAppearing final : public OnCopy {
  public:
    TabAppearing(const std::string& file, bool cold) : OnCopy(file), cold_(cold), stage_(device().runLoop) {
        stage_.show();
    }
    void prepare() override {
        stage_.hide();
        if (cold_) {
            changeFromOutside();
        }
    }
    void run() override { stage_.show(); }

  private:
    bool cold_;
    BrowserStage stage_;
};

class Tap final : public OnCopy {
  public:
    explicit Tap(const std::string& file) : OnCopy(file), stage_(device().runLoop) { stage_.show(); }
    void prepare() override { stage_.closeLapPanel(); }
    void run() override {
        if (!stage_.tapResult(0, 0) || stage_.lapTextCount() == 0) {
            throw std::runtime_error("the tap showed no laps");
        }
    }

  private:
    BrowserStage stage_;
};

// Deleting the first result of the first section, with the browser's list as the Saved tab holds
// it and the file as this process left it. Before each run the result deleted last is captured
// back (untimed), so the file keeps its size.
class Delete final : public OnCopy {
  public:
    explicit Delete(const std::string& file) : OnCopy(file) {
        // The first change a process makes meets a file it has never written; the runs measure
        // the ones after it, as in a session with the Saved tab open.
        prepare();
        run();
        prepare();
    }
    void prepare() override {
        if (deleted_) {
            expectWritten(lv::SavedTimesStore::appendToFirstSection(deleted_), "capturing the result back");
            deleted_ = nullptr;
        }
        list_ = freshList();
        auto first = list_->objectAs<NSArray>(0);
        if (!first || first->count() == 0) {
            throw std::runtime_error("the first section has no result to delete");
        }
    }
    void run() override {
        deleted_ = list_->objectAs<NSArray>(0)->objectAtIndex(0);
        expectWritten(lv::SavedTimesStore::deleteRecord(*list_, 0, 0), "the delete");
    }

  private:
    std::shared_ptr<NSMutableArray> list_;
    id deleted_;
};

// Adding a section to the file as this process left it, with no empty section waiting to be
// dropped, so that each run makes the one write such an add makes. Before each run (untimed) the
// section added last is filled with a result and emptied again, which drops it: the file is then
// byte for byte as it started.
class AddSection final : public OnCopy {
  public:
    explicit AddSection(const std::string& file) : OnCopy(file) {
        // The first change a process makes meets a file it has never written; the runs measure
        // the ones after it.
        run();
        prepare();
    }
    void prepare() override {
        if (!added_) {
            return;
        }
        added_ = false;
        auto list = freshList();
        const std::size_t added = list->count() - 1;
        expectWritten(lv::SavedTimesStore::moveRecord(*list, 0, 0, added, 0), "filling the added section");
        list = freshList();
        expectWritten(lv::SavedTimesStore::moveRecord(*list, added, 0, 0, 0), "emptying the added section");
    }
    void run() override {
        expectWritten(lv::SavedTimesStore::addSection("Added Section"), "adding a section");
        added_ = true;
    }

  private:
    bool added_ = false;
};

// A result moved and moved back in turns, so the file is as it was after every second run.
class Move final : public OnCopy {
  public:
    Move(const std::string& file, bool between) : OnCopy(file), between_(between) {
        list_ = freshList();
        auto first = list_->objectAs<NSArray>(0);
        if (between_ && list_->count() < 2) {
            throw std::invalid_argument("moving between sections needs two sections");
        }
        if (!first || first->count() < 2) {
            throw std::invalid_argument("moving needs two results in the first section");
        }
        last_ = first->count() - 1;
        // The first change a process makes meets a file it has never written; the runs measure
        // the ones after it. There and back leaves the file as it started.
        run();
        run();
    }
    void run() override {
        const std::size_t toSection = between_ ? 1 : 0;
        const std::size_t toRow = between_ ? 0 : last_;
        const auto outcome = there_ ? lv::SavedTimesStore::moveRecord(*list_, toSection, toRow, 0, 0)
                                    : lv::SavedTimesStore::moveRecord(*list_, 0, 0, toSection, toRow);
        expectWritten(outcome, "the move");
        there_ = !there_;
    }

  private:
    bool between_;
    bool there_ = false;
    std::size_t last_ = 0;
    std::shared_ptr<NSMutableArray> list_;
};

class Export final : public OnCopy {
  public:
    explicit Export(const std::string& file) : OnCopy(file) {}
    void run() override {
        sim::SavedTimesReport report = sim::readSavedTimesReport(path());
        if (report.status != sim::SavedTimesReport::Status::Ok) {
            throw std::runtime_error("cannot export: " + report.reason);
        }
        std::string text = sim::exportJsonText(report);
        benchmark::DoNotOptimize(text.data());
    }
};

// ICU's text of each of the file's distinct days alone, under the export's pattern, locale and
// zone: with the parse, the least an export can cost. The days are found before the timing (one
// moment of each local day, as the formatter finds them); each run makes the formatter and writes
// every day's text in UTF-8.
class DistinctDates final : public OnCopy {
  public:
    explicit DistinctDates(const std::string& file) : OnCopy(file) {
        auto formatter = rt::make<NSDateFormatter>();
        locale_ = formatter->locale()->localeIdentifier();
        zone_ = formatter->timeZone()->name();
        const std::unique_ptr<icu::TimeZone> zone(
            icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(zone_)));
        plist::ReadResult read =
            plist::PropertyListReader(plist::Mutability::MutableContainers).readDictionary(original());
        if (!read.ok()) {
            throw std::runtime_error("cannot parse: " + read.reason);
        }
        lv::SavedTimesDocument document(read.mutableDictionary());
        std::set<std::int64_t> days;
        for (const auto& name : document.sectionNames()) {
            for (const id& record : document.recordsOrEmpty(name)->items()) {
                const lv::SavedTimeView view = lv::readSavedTime(record);
                if (!view.date) {
                    continue;
                }
                const double moment = view.date->timeIntervalSince1970() * 1000.0;
                std::int32_t raw = 0;
                std::int32_t dst = 0;
                UErrorCode status = U_ZERO_ERROR;
                zone->getOffset(moment, false, raw, dst, status);
                const auto day = static_cast<std::int64_t>(std::floor((moment + raw + dst) / 86400000.0));
                if (days.insert(day).second) {
                    moments_.push_back(moment);
                }
            }
        }
        if (moments_.empty()) {
            throw std::runtime_error("the file has no dates");
        }
    }
    void run() override {
        UErrorCode status = U_ZERO_ERROR;
        icu::SimpleDateFormat format(icu::UnicodeString::fromUTF8("EEE, MMM d, y"),
                                     icu::Locale::createFromName(locale_.c_str()), status);
        if (U_FAILURE(status)) {
            throw std::runtime_error("ICU cannot make the date format");
        }
        format.adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(zone_)));
        std::size_t written = 0;
        icu::UnicodeString text;
        std::string utf8;
        for (const double moment : moments_) {
            text.remove();
            format.format(moment, text);
            utf8.clear();
            text.toUTF8String(utf8);
            written += utf8.size();
        }
        benchmark::DoNotOptimize(written);
    }

  private:
    std::string locale_;
    std::string zone_;
    std::vector<double> moments_;
};

class Floor final : public OnCopy {
  public:
    explicit Floor(const std::string& file) : OnCopy(file) {}
    void run() override {
        const std::string failed = rewriteDurably(path());
        if (!failed.empty()) {
            throw std::runtime_error(failed);
        }
    }
};

using Factory = std::function<std::unique_ptr<MeasuredOperation>(const std::string&)>;

const std::vector<std::pair<std::string, Factory>>& factories() {
    static const std::vector<std::pair<std::string, Factory>> all = {
        {"parse", [](const std::string& f) { return std::make_unique<Parse>(f); }},
        {"write", [](const std::string& f) { return std::make_unique<Write>(f); }},
        {"save-warm", [](const std::string& f) { return std::make_unique<Save>(f, false); }},
        {"save-cold", [](const std::string& f) { return std::make_unique<Save>(f, true); }},
        {"tab-warm", [](const std::string& f) { return std::make_unique<TabAppearing>(f, false); }},
        {"tab-cold", [](const std::string& f) { return std::make_unique<TabAppearing>(f, true); }},
        {"tap", [](const std::string& f) { return std::make_unique<Tap>(f); }},
        {"delete", [](const std::string& f) { return std::make_unique<Delete>(f); }},
        {"move-within", [](const std::string& f) { return std::make_unique<Move>(f, false); }},
        {"move-between", [](const std::string& f) { return std::make_unique<Move>(f, true); }},
        {"add-section", [](const std::string& f) { return std::make_unique<AddSection>(f); }},
        {"export", [](const std::string& f) { return std::make_unique<Export>(f); }},
        {"dates", [](const std::string& f) { return std::make_unique<DistinctDates>(f); }},
        {"floor", [](const std::string& f) { return std::make_unique<Floor>(f); }},
    };
    return all;
}

} // namespace

const std::vector<std::string>& operationNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        for (const auto& entry : factories()) {
            out.push_back(entry.first);
        }
        return out;
    }();
    return names;
}

std::unique_ptr<MeasuredOperation> makeOperation(const std::string& name, const std::string& file) {
    for (const auto& [known, factory] : factories()) {
        if (known == name) {
            return factory(file);
        }
    }
    throw std::invalid_argument("unknown operation \"" + name + "\"");
}

} // namespace bench
