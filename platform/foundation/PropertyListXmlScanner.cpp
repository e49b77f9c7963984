#include "platform/foundation/PropertyListXmlScanner.h"

#include "platform/foundation/Base64.h"
#include "platform/foundation/KnownRealTexts.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListContainers.h"
#include "platform/foundation/PropertyListDate.h"
#include "platform/foundation/PropertyListScalars.h"
#include "platform/foundation/PropertyListXmlText.h"
#include "platform/foundation/PropertyListXmlWriter.h"
#include "platform/foundation/SharedNumbers.h"
#include "platform/foundation/Utf8.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace plist {

namespace {

// The XML declaration every writer of the format puts first; any other declaration is left to
// the full reader.
constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

bool isNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool isNameChar(char c) {
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == ':';
}

// A non-null value that owns nothing: what a value read only to be checked answers. Copying it
// touches no reference count.
id checkedMark() {
    static NSObject mark;
    return id(id(), &mark);
}

// One scan of one text. Every member function answers nil (or false) to give up; nothing it
// makes outlives a scan that gave up.
//
// While `build_` is false the scan takes exactly the same steps and gives up exactly where it
// would otherwise, but makes no value: each answers checkedMark(). A text it accepts that way is
// one it reads whole when building.
//
// While `writerText_` holds, everything read so far is exactly the writer's text for it: each
// line break followed by the tabs of the next element's level, the writer's forms of empty
// containers and strings, keys in the writer's order, only the writer's escapes, and number and
// date texts as the writer prints them. The first difference clears it and no later check runs.
class Scan {
  public:
    Scan(std::string_view text, Mutability mutability, const Limits& limits, bool noting,
         const PropertyListXmlScanner::Stand* stand = nullptr)
        : begin_(text.data()), at_(text.data()), end_(text.data() + text.size()), containers_(mutability),
          limits_(limits), numbers_(text.size()), knownReals_(text.size()), stand_(stand),
          writerText_(noting) {}

    bool writerText() const { return writerText_; }

    // One value at `depth` with nothing but whitespace around it, as value() reads it there.
    id lone(std::size_t depth) {
        skipSpace();
        id item = value(depth);
        skipSpace();
        return item && at_ == end_ ? item : nullptr;
    }

    id document() {
        // Line ends are normalised by the full reader, in text and attributes alike; a text
        // without carriage returns needs no normalising at all.
        if (std::memchr(at_, '\r', static_cast<std::size_t>(end_ - at_)) != nullptr) {
            return nullptr;
        }
        const char* begin = at_;
        const std::size_t size = static_cast<std::size_t>(end_ - at_);
        // The root value's text ends with a line break, before the writer's footer.
        const std::size_t tail = 1 + kXmlFooter.size();
        writerText_ = writerText_ && size >= kXmlHeader.size() + tail &&
                      std::string_view(begin, kXmlHeader.size()) == kXmlHeader && *(end_ - tail) == '\n' &&
                      std::string_view(end_ - kXmlFooter.size(), kXmlFooter.size()) == kXmlFooter;
        take(kDeclaration);
        skipSpace();
        if (take("<!DOCTYPE ") && !skipDoctype()) {
            return nullptr;
        }
        skipSpace();
        const bool wrapped = take("<plist");
        if (wrapped && !plistAttributes()) {
            return nullptr;
        }
        skipSpace();
        // The header holds the line break before the root, and the footer the one after it.
        writerText_ = writerText_ && at_ == begin + kXmlHeader.size();
        id root = value(0);
        if (!root) {
            return nullptr;
        }
        writerText_ = writerText_ && at_ == end_ - tail;
        skipSpace();
        if (wrapped && !take("</plist>")) {
            return nullptr;
        }
        skipSpace();
        return at_ == end_ ? root : nullptr;
    }

  private:
    bool take(std::string_view literal) {
        if (static_cast<std::size_t>(end_ - at_) < literal.size() ||
            std::memcmp(at_, literal.data(), literal.size()) != 0) {
            return false;
        }
        at_ += literal.size();
        return true;
    }

    void skipSpace() {
        while (at_ != end_ && (*at_ == ' ' || *at_ == '\n' || *at_ == '\t')) {
            ++at_;
        }
    }

    // Skips whitespace, answering it.
    std::string_view space() {
        const char* run = at_;
        skipSpace();
        return {run, static_cast<std::size_t>(at_ - run)};
    }

    // Whether whitespace is the writer's before an element at `level`: a line break and a tab
    // per level.
    static bool indented(std::string_view run, std::size_t level) {
        if (run.size() != level + 1 || run.front() != '\n') {
            return false;
        }
        for (const char c : run.substr(1)) {
            if (c != '\t') {
                return false;
            }
        }
        return true;
    }

    // Clears writerText_ unless the leaf text just read is `printed`, as the writer prints it.
    void printedAs(std::string_view printed) { writerText_ = writerText_ && raw_ == printed; }
    template <class Integer>
    void printedAsInteger(Integer value) {
        if (writerText_) {
            char digits[24];
            const std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, value);
            printedAs(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
        }
    }

    // The rest of a DOCTYPE without an internal subset, up to its '>': a '[' (a subset) or any
    // markup or apostrophe inside gives up; balanced double quotes cannot hide a '>' then.
    bool skipDoctype() {
        int quotes = 0;
        for (; at_ != end_; ++at_) {
            const char c = *at_;
            if (c == '>') {
                ++at_;
                return quotes % 2 == 0;
            }
            if (c == '[' || c == '<' || c == '\'') {
                return false;
            }
            quotes += c == '"' ? 1 : 0;
        }
        return false;
    }

    // The attributes of <plist> as name="value" pairs, each after whitespace, up to its '>'.
    bool plistAttributes() {
        for (;;) {
            const char* before = at_;
            skipSpace();
            if (take(">")) {
                return true;
            }
            if (at_ == before || at_ == end_ || !isNameStart(*at_)) {
                return false; // "<plistx", "<plist/>", a missing space or a malformed name
            }
            while (at_ != end_ && isNameChar(*at_)) {
                ++at_;
            }
            if (!take("=\"")) {
                return false;
            }
            while (at_ != end_ && *at_ != '"') {
                if (*at_ == '<' || *at_ == '&') {
                    return false;
                }
                ++at_;
            }
            if (!take("\"")) {
                return false;
            }
        }
    }

    id value(std::size_t depth) {
        if (end_ - at_ < 3 || *at_ != '<') {
            return nullptr;
        }
        switch (at_[1]) {
        case 'd':
            if (take("<dict>")) {
                return dictionary(depth + 1);
            }
            if (take("<dict/>")) {
                return depth + 1 > limits_.maxDepth ? nullptr
                       : build_                     ? containers_.dictionary({})
                                                    : checkedMark();
            }
            if (take("<date>") || take("<date/>")) {
                return date();
            }
            if (take("<data>") || take("<data/>")) {
                return data();
            }
            break;
        case 'a':
            if (take("<array>")) {
                return array(depth + 1);
            }
            if (take("<array/>")) {
                return depth + 1 > limits_.maxDepth ? nullptr
                       : build_                     ? containers_.array({})
                                                    : checkedMark();
            }
            break;
        case 's':
            if (take("<string>") || take("<string/>")) {
                std::string_view content;
                if (!leafText("</string>", content)) {
                    return nullptr;
                }
                escapedAsWriter();
                return build_ ? NSString::with(std::string(content)) : checkedMark();
            }
            break;
        case 'r':
            if (take("<real>") || take("<real/>")) {
                return real();
            }
            break;
        case 'i':
            if (take("<integer>") || take("<integer/>")) {
                return integer();
            }
            break;
        case 't':
            if (take("<true/>")) {
                return boolean(true);
            }
            break;
        case 'f':
            if (take("<false/>")) {
                return boolean(false);
            }
            break;
        default:
            break;
        }
        return nullptr;
    }

    // The decoded character data of the leaf element just opened, and its end tag. An element
    // written empty ("<string/>") has just been taken whole: its content is empty.
    bool leafText(std::string_view endTag, std::string_view& content) {
        if (at_[-2] == '/') {
            // The writer writes an empty string as a start and an end tag.
            writerText_ = false;
            content = {};
            raw_ = {};
            return true;
        }
        const auto* open =
            static_cast<const char*>(std::memchr(at_, '<', static_cast<std::size_t>(end_ - at_)));
        if (open == nullptr) {
            return false;
        }
        const std::string_view raw(at_, static_cast<std::size_t>(open - at_));
        raw_ = raw;
        at_ = open;
        if (!take(endTag)) {
            return false; // markup inside the element, or the wrong end tag
        }
        if (raw.find('&') == std::string_view::npos) {
            content = raw;
            return true;
        }
        buffer_.clear();
        if (!appendUnescaped(raw, buffer_)) {
            return false;
        }
        content = buffer_;
        return true;
    }

    // Whether decoding the string just read and escaping it again as the writer does gives its
    // text: no '>' left bare, and no reference but the writer's four. Numbers and dates need no
    // such check: their text is compared with the writer's whole.
    void escapedAsWriter() {
        for (std::size_t i = 0; writerText_ && i < raw_.size(); ++i) {
            if (raw_[i] == '>') {
                writerText_ = false;
            } else if (raw_[i] == '&') {
                const std::string_view rest = raw_.substr(i);
                writerText_ = rest.starts_with("&amp;") || rest.starts_with("&lt;") ||
                              rest.starts_with("&gt;") || rest.starts_with("&#13;");
            }
        }
    }

    id dictionary(std::size_t depth) {
        if (depth > limits_.maxDepth) {
            return nullptr;
        }
        // Entries gather in a list kept for this depth, as an array's items do.
        if (keyed_.size() <= depth) {
            keyed_.resize(depth + 1);
        }
        for (;;) {
            std::string_view run = space();
            if (take("</dict>")) {
                // The writer writes an empty dictionary as <dict/>.
                writerText_ = writerText_ && !keyed_[depth].empty() && indented(run, depth - 1);
                if (!build_) {
                    keyed_[depth].clear();
                    return checkedMark();
                }
                return containers_.dictionary(entriesFrom(keyed_[depth]));
            }
            std::string_view keyText;
            if ((!take("<key>") && !take("<key/>")) || !leafText("</key>", keyText)) {
                keyed_[depth].clear();
                return nullptr;
            }
            std::string key(keyText);
            escapedAsWriter();
            // The writer lists keys in byte order, which is its order unless a key might sort
            // differently in UTF-16.
            writerText_ = writerText_ && indented(run, depth) && !mayOrderDifferentlyInUtf16(key) &&
                          (keyed_[depth].empty() || keyed_[depth].back().first < key);
            run = space();
            writerText_ = writerText_ && indented(run, depth);
            // The root's values are only checked when they are to stand for their text.
            const bool standIn = stand_ != nullptr && depth == 1;
            const char* valueBegin = at_;
            const bool building = build_;
            build_ = building && !standIn;
            id item = value(depth);
            build_ = building;
            if (!item) {
                keyed_[depth].clear();
                return nullptr;
            }
            if (standIn && building) {
                item = (*stand_)(key, static_cast<std::size_t>(valueBegin - begin_),
                                 static_cast<std::size_t>(at_ - begin_));
            }
            keyed_[depth].emplace_back(std::move(key), std::move(item));
        }
    }

    id array(std::size_t depth) {
        if (depth > limits_.maxDepth) {
            return nullptr;
        }
        // Items gather in a list kept for this depth, so that the array's own list is allocated
        // once at its size.
        if (scratch_.size() <= depth) {
            scratch_.resize(depth + 1);
        }
        const char* const start = at_;
        for (;;) {
            if (scratch_[depth].size() == kCountedItems) {
                presize(scratch_[depth], start);
            }
            const std::string_view run = space();
            if (take("</array>")) {
                // The writer writes an empty array as <array/>.
                writerText_ = writerText_ && !scratch_[depth].empty() && indented(run, depth - 1);
                break;
            }
            writerText_ = writerText_ && indented(run, depth);
            id item = value(depth);
            if (!item) {
                scratch_[depth].clear();
                return nullptr;
            }
            scratch_[depth].push_back(std::move(item));
        }
        std::vector<id>& gathered = scratch_[depth];
        if (!build_) {
            gathered.clear();
            return checkedMark();
        }
        if (gathered.size() == gathered.capacity() && gathered.size() > kCountedItems) {
            // Sized exactly by presize: the list itself becomes the array's.
            return containers_.array(std::exchange(gathered, {}));
        }
        std::vector<id> items(std::make_move_iterator(gathered.begin()),
                              std::make_move_iterator(gathered.end()));
        gathered.clear();
        return containers_.array(std::move(items));
    }

    // An array of many items of a few bytes each (empty containers, booleans) holds more in its
    // references than its text takes: a second list of them, or the slack of a list grown by
    // doubling, would cost several times the text. Past kCountedItems, when the items so far
    // average under kDenseItemBytes, the rest are counted in the text ahead and the list is
    // reserved at the array's size, so that it is filled once and handed over whole. Arrays of
    // larger items (a section's records) are never counted.
    static constexpr std::size_t kCountedItems = 8192;
    static constexpr std::size_t kDenseItemBytes = 32;

    void presize(std::vector<id>& gathered, const char* start) const {
        if (static_cast<std::size_t>(at_ - start) >= kCountedItems * kDenseItemBytes) {
            return;
        }
        gathered.reserve(gathered.size() + elementsAhead(at_, end_));
    }

    // The elements that open in [at, end) before the end tag of the container they stand in.
    // A hint only: it is exact for text the scan reads, and whatever it answers, the items are
    // gathered one by one as before.
    static std::size_t elementsAhead(const char* at, const char* end) {
        std::size_t count = 0;
        std::size_t level = 0;
        while (at != end) {
            const char* open =
                static_cast<const char*>(std::memchr(at, '<', static_cast<std::size_t>(end - at)));
            if (open == nullptr || open + 1 == end) {
                break;
            }
            if (open[1] == '/') {
                if (level == 0) {
                    break;
                }
                --level;
                at = open + 1;
                continue;
            }
            const char* close =
                static_cast<const char*>(std::memchr(open, '>', static_cast<std::size_t>(end - open)));
            if (close == nullptr) {
                break;
            }
            if (level == 0) {
                ++count;
            }
            if (close[-1] != '/') {
                ++level;
            }
            at = close + 1;
        }
        return count;
    }

    id real() {
        std::string_view content;
        if (!leafText("</real>", content)) {
            return nullptr;
        }
        // A text without references is the same text wherever it stands, so it is looked up.
        KnownRealTexts::Slot* slot = content.data() == raw_.data() ? knownReals_.place(content) : nullptr;
        if (slot != nullptr && slot->holds(content)) {
            // The note needs no second look: the text was compared with the writer's when it was
            // first met, and a note cleared then stays cleared.
            return build_ ? id(slot->number) : checkedMark();
        }
        const std::optional<double> parsed = parseReal(content);
        if (!parsed) {
            return nullptr;
        }
        writerText_ = writerText_ && printedReal(*parsed) == raw_;
        if (!build_) {
            return checkedMark();
        }
        std::shared_ptr<NSNumber> number = numbers_.real(*parsed);
        if (slot != nullptr) {
            KnownRealTexts::keep(*slot, content, number);
        }
        return number;
    }

    // The writer's text for a real. A file repeats few values many times (lap times), so the
    // last text printed for each value's place in a small table is kept and printed again only for
    // another value.
    std::string_view printedReal(double value) {
        if (printedReals_.empty()) {
            // A place for about every 512 bytes of text, as the shared numbers have: a
            // saved-times file holds a real every 40 bytes, but repeats its lap values.
            const std::size_t places = std::clamp<std::size_t>(
                std::bit_ceil(static_cast<std::size_t>(end_ - at_) / 512 + 1), 1024, 16384);
            printedReals_.resize(places);
            printedShift_ = 64 - std::countr_zero(places);
        }
        const auto bits = std::bit_cast<std::uint64_t>(value);
        PrintedReal& slot =
            printedReals_[static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15u) >> printedShift_)];
        if (slot.length == 0 || slot.bits != bits) {
            printed_.clear();
            appendReal(printed_, value);
            if (printed_.size() > sizeof slot.text) {
                return printed_; // never for "%.17g" text, but a longer one is not cut short
            }
            slot.bits = bits;
            slot.length = static_cast<std::uint8_t>(printed_.size());
            std::memcpy(slot.text, printed_.data(), slot.length);
        }
        return {slot.text, slot.length};
    }

    id integer() {
        std::string_view content;
        if (!leafText("</integer>", content)) {
            return nullptr;
        }
        if (const std::optional<std::int64_t> parsed = parseInteger(content)) {
            printedAsInteger(*parsed);
            return build_ ? numbers_.integer(*parsed) : checkedMark();
        }
        if (const std::optional<std::uint64_t> beyond = parseUnsignedBeyondSigned(content)) {
            printedAsInteger(*beyond);
            return build_ ? NSNumber::withUnsignedInteger(*beyond) : checkedMark();
        }
        return nullptr;
    }

    id date() {
        std::string_view content;
        if (!leafText("</date>", content)) {
            return nullptr;
        }
        const std::optional<double> parsed = parseXmlDate(content);
        if (!parsed) {
            return nullptr;
        }
        if (writerText_) {
            printed_.clear();
            writerText_ = isWritableDate(*parsed) && appendXmlDate(printed_, *parsed);
            printedAs(printed_);
        }
        return build_ ? NSDate::withTimeIntervalSinceReferenceDate(*parsed) : checkedMark();
    }

    id data() {
        // Data is never noted as the writer's text: its Base64 lines are not compared with the
        // writer's.
        writerText_ = false;
        std::string_view content;
        if (!leafText("</data>", content)) {
            return nullptr;
        }
        std::optional<std::vector<std::uint8_t>> bytes = decodeBase64(content);
        if (!bytes) {
            return nullptr;
        }
        return build_ ? NSData::with(std::move(*bytes)) : checkedMark();
    }

    id boolean(bool value) { return build_ ? numbers_.boolean(value) : checkedMark(); }

    const char* begin_;
    const char* at_;
    const char* end_;
    DocumentContainers containers_;
    const Limits& limits_;
    std::vector<std::vector<id>> scratch_;
    std::vector<NSDictionary::Entries::sequence_type> keyed_;
    SharedNumbers numbers_;
    KnownRealTexts knownReals_;
    std::string buffer_;
    // The text of the leaf last read, as it stands in the document, and the writer's text for
    // its value.
    std::string_view raw_;
    std::string printed_;
    // A real's text is at most 24 bytes ("-2.2250738585072014e-308"). A value has one place,
    // found from the top bits of its hashed bits, and a newcomer replaces what stood there.
    struct PrintedReal {
        std::uint64_t bits = 0;
        std::uint8_t length = 0;
        char text[31];
    };
    std::vector<PrintedReal> printedReals_;
    int printedShift_ = 0;
    const PropertyListXmlScanner::Stand* stand_;
    bool build_ = true;
    bool writerText_;
};

} // namespace

PropertyListXmlScanner::PropertyListXmlScanner(Mutability mutability, const Limits& limits)
    : mutability_(mutability), limits_(limits) {}

id PropertyListXmlScanner::scan(std::string_view text, bool* writerText) const {
    Scan scan(text, mutability_, limits_, writerText != nullptr);
    id root = scan.document();
    if (writerText != nullptr) {
        *writerText = root != nullptr && scan.writerText();
    }
    return root;
}

std::shared_ptr<NSDictionary> PropertyListXmlScanner::scanWriterTextStandingIn(std::string_view text,
                                                                               const Stand& stand) const {
    // The checks the reader makes before its scan; a text with a byte-order mark or in another
    // encoding does not start with the writer's header and is never the writer's text.
    if (text.size() > limits_.maxBytes || !isValidUtf8(text)) {
        return nullptr;
    }
    Scan scan(text, mutability_, limits_, true, &stand);
    id root = scan.document();
    return root && scan.writerText() ? rt::cast<NSDictionary>(root) : nullptr;
}

id PropertyListXmlScanner::scanValueText(std::string_view text, std::size_t depth) const {
    return Scan(text, mutability_, limits_, false).lone(depth);
}

} // namespace plist
