#include "platform/foundation/PropertyListXmlScanner.h"

#include "platform/foundation/Base64.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListContainers.h"
#include "platform/foundation/PropertyListDate.h"
#include "platform/foundation/PropertyListScalars.h"
#include "platform/foundation/PropertyListXmlText.h"
#include "platform/foundation/SharedNumbers.h"

#include <cstring>
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

// One scan of one text. Every member function answers nil (or false) to give up; nothing it
// makes outlives a scan that gave up.
class Scan {
  public:
    Scan(std::string_view text, Mutability mutability, const Limits& limits)
        : at_(text.data()), end_(text.data() + text.size()), mutability_(mutability), limits_(limits),
          numbers_(text.size()) {}

    id document() {
        // Line ends are normalised by the full reader, in text and attributes alike; a text
        // without carriage returns needs no normalising at all.
        if (std::memchr(at_, '\r', static_cast<std::size_t>(end_ - at_)) != nullptr) {
            return nullptr;
        }
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
        id root = value(0);
        if (!root) {
            return nullptr;
        }
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
                return depth + 1 > limits_.maxDepth ? nullptr : makeDictionary({}, mutability_);
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
                return depth + 1 > limits_.maxDepth ? nullptr : makeArray({}, mutability_);
            }
            break;
        case 's':
            if (take("<string>") || take("<string/>")) {
                std::string_view content;
                if (!leafText("</string>", content)) {
                    return nullptr;
                }
                return NSString::with(std::string(content));
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
            content = {};
            return true;
        }
        const auto* open =
            static_cast<const char*>(std::memchr(at_, '<', static_cast<std::size_t>(end_ - at_)));
        if (open == nullptr) {
            return false;
        }
        const std::string_view raw(at_, static_cast<std::size_t>(open - at_));
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

    id dictionary(std::size_t depth) {
        if (depth > limits_.maxDepth) {
            return nullptr;
        }
        // Entries gather in a list kept for this depth, as an array's items do.
        if (keyed_.size() <= depth) {
            keyed_.resize(depth + 1);
        }
        for (;;) {
            skipSpace();
            if (take("</dict>")) {
                return makeDictionary(entriesFrom(keyed_[depth]), mutability_);
            }
            std::string_view keyText;
            if ((!take("<key>") && !take("<key/>")) || !leafText("</key>", keyText)) {
                keyed_[depth].clear();
                return nullptr;
            }
            std::string key(keyText);
            skipSpace();
            id item = value(depth);
            if (!item) {
                keyed_[depth].clear();
                return nullptr;
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
        for (;;) {
            skipSpace();
            if (take("</array>")) {
                break;
            }
            id item = value(depth);
            if (!item) {
                scratch_[depth].clear();
                return nullptr;
            }
            scratch_[depth].push_back(std::move(item));
        }
        std::vector<id>& gathered = scratch_[depth];
        std::vector<id> items(std::make_move_iterator(gathered.begin()),
                              std::make_move_iterator(gathered.end()));
        gathered.clear();
        return makeArray(std::move(items), mutability_);
    }

    id real() {
        std::string_view content;
        if (!leafText("</real>", content)) {
            return nullptr;
        }
        const std::optional<double> parsed = parseReal(content);
        return parsed ? numbers_.real(*parsed) : nullptr;
    }

    id integer() {
        std::string_view content;
        if (!leafText("</integer>", content)) {
            return nullptr;
        }
        if (const std::optional<std::int64_t> parsed = parseInteger(content)) {
            return numbers_.integer(*parsed);
        }
        if (const std::optional<std::uint64_t> beyond = parseUnsignedBeyondSigned(content)) {
            return NSNumber::withUnsignedInteger(*beyond);
        }
        return nullptr;
    }

    id date() {
        std::string_view content;
        if (!leafText("</date>", content)) {
            return nullptr;
        }
        const std::optional<double> parsed = parseXmlDate(content);
        return parsed ? NSDate::withTimeIntervalSinceReferenceDate(*parsed) : nullptr;
    }

    id data() {
        std::string_view content;
        if (!leafText("</data>", content)) {
            return nullptr;
        }
        std::optional<std::vector<std::uint8_t>> bytes = decodeBase64(content);
        return bytes ? NSData::with(std::move(*bytes)) : nullptr;
    }

    id boolean(bool value) { return numbers_.boolean(value); }

    const char* at_;
    const char* end_;
    Mutability mutability_;
    const Limits& limits_;
    std::vector<std::vector<id>> scratch_;
    std::vector<NSDictionary::Entries::sequence_type> keyed_;
    SharedNumbers numbers_;
    std::string buffer_;
};

} // namespace

PropertyListXmlScanner::PropertyListXmlScanner(Mutability mutability, const Limits& limits)
    : mutability_(mutability), limits_(limits) {}

id PropertyListXmlScanner::scan(std::string_view text) const {
    return Scan(text, mutability_, limits_).document();
}

} // namespace plist
