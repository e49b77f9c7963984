#pragma once
// Compares the XML reader's direct scan with its full parser on one text: the scan may give up,
// but a value it gives must be the full parser's, class for class. Header-only, so that the
// fuzz targets (built apart from the test support library) can use it too.

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListXmlReader.h"
#include "platform/foundation/PropertyListXmlScanner.h"
#include "platform/foundation/PropertyListXmlWriter.h"
#include "platform/foundation/Utf8.h"

#include <bit>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

namespace plist_test {

/// The first difference between two value trees (class, number kind, value, count or key) with
/// where it is; empty when they are equal.
inline std::string treeDifference(const NSObject& a, const NSObject& b, const std::string& at = "root") {
    if (typeid(a) != typeid(b)) {
        return at + ": " + typeid(a).name() + " vs " + typeid(b).name();
    }
    switch (a.valueKind()) {
    case rt::ValueKind::String:
        return static_cast<const NSString&>(a).str() == static_cast<const NSString&>(b).str()
                   ? ""
                   : at + ": strings differ";
    case rt::ValueKind::Number: {
        const auto& x = static_cast<const NSNumber&>(a);
        const auto& y = static_cast<const NSNumber&>(b);
        const bool same = x.kind() == y.kind() && x.isUnsignedBeyondSigned() == y.isUnsignedBeyondSigned() &&
                          (x.isReal() ? std::bit_cast<std::uint64_t>(x.doubleValue()) ==
                                            std::bit_cast<std::uint64_t>(y.doubleValue())
                                      : x.integerValue() == y.integerValue());
        return same ? "" : at + ": numbers differ";
    }
    case rt::ValueKind::Date:
        return std::bit_cast<std::uint64_t>(static_cast<const NSDate&>(a).timeIntervalSinceReferenceDate()) ==
                       std::bit_cast<std::uint64_t>(
                           static_cast<const NSDate&>(b).timeIntervalSinceReferenceDate())
                   ? ""
                   : at + ": dates differ";
    case rt::ValueKind::Data:
        return static_cast<const NSData&>(a).bytes() == static_cast<const NSData&>(b).bytes()
                   ? ""
                   : at + ": data differ";
    case rt::ValueKind::Array: {
        const auto& x = static_cast<const NSArray&>(a).items();
        const auto& y = static_cast<const NSArray&>(b).items();
        if (x.size() != y.size()) {
            return at + ": " + std::to_string(x.size()) + " vs " + std::to_string(y.size()) + " items";
        }
        for (std::size_t i = 0; i < x.size(); ++i) {
            std::string difference = treeDifference(*x[i], *y[i], at + "[" + std::to_string(i) + "]");
            if (!difference.empty()) {
                return difference;
            }
        }
        return "";
    }
    case rt::ValueKind::Dictionary: {
        const auto& x = static_cast<const NSDictionary&>(a).entries();
        const auto& y = static_cast<const NSDictionary&>(b).entries();
        if (x.size() != y.size()) {
            return at + ": " + std::to_string(x.size()) + " vs " + std::to_string(y.size()) + " entries";
        }
        for (auto i = x.begin(), j = y.begin(); i != x.end(); ++i, ++j) {
            if (i->first != j->first) {
                return at + ": key \"" + i->first + "\" vs \"" + j->first + "\"";
            }
            std::string difference = treeDifference(*i->second, *j->second, at + "/" + i->first);
            if (!difference.empty()) {
                return difference;
            }
        }
        return "";
    }
    case rt::ValueKind::Other:
        break;
    }
    return at + ": a value of no property-list kind";
}

/// Whether the writer's text for `value` is one the scan never notes as the writer's: it holds
/// data, or a key the writer may sort apart from byte order.
inline bool writerTextNeverNoted(const NSObject& value) {
    switch (value.valueKind()) {
    case rt::ValueKind::Data:
        return true;
    case rt::ValueKind::Array:
        for (const id& item : static_cast<const NSArray&>(value).items()) {
            if (writerTextNeverNoted(*item)) {
                return true;
            }
        }
        return false;
    case rt::ValueKind::Dictionary:
        for (const auto& [key, item] : static_cast<const NSDictionary&>(value).entries()) {
            if (plist::mayOrderDifferentlyInUtf16(key) || writerTextNeverNoted(*item)) {
                return true;
            }
        }
        return false;
    default:
        return false;
    }
}

/// How the scan that only checks the root's values strays from the reader's answer `fast` (read
/// noting the writer's text): it must accept exactly the writer's text of a dictionary, mark each
/// root value's text where it stands, and that text, read alone (as it stands or with the
/// whitespace around it), must give the value the whole read gave. Empty when it does not stray.
inline std::string standInDifference(std::string_view text, plist::Mutability mutability,
                                     const plist::Limits& limits, const plist::ParseResult& fast) {
    const plist::PropertyListXmlScanner scanner(mutability, limits);
    struct Place {
        std::string key;
        std::size_t begin;
        std::size_t end;
    };
    std::vector<Place> places;
    const auto root = scanner.scanWriterTextStandingIn(
        text, [&](const std::string& key, std::size_t begin, std::size_t end) -> id {
            places.push_back({key, begin, end});
            return NSString::with("stand-in " + key);
        });
    const auto whole = fast.ok() ? rt::cast<NSDictionary>(fast.value) : nullptr;
    if (!root || !whole || !fast.writerText) {
        return (root != nullptr) == (whole && fast.writerText) ? ""
               : root ? "only checked the root's values of a text that is not the writer's dictionary"
                      : "did not check the root's values of the writer's dictionary";
    }
    if (places.size() != whole->count() || root->count() != whole->count()) {
        return "stand-ins for " + std::to_string(places.size()) + " of " + std::to_string(whole->count()) +
               " root values";
    }
    for (const Place& place : places) {
        const id expected = whole->objectForKey(place.key);
        const auto standIn = rt::cast<NSString>(root->objectForKey(place.key));
        if (!expected || !standIn || standIn->str() != "stand-in " + place.key || place.end > text.size()) {
            return "no stand-in where the whole read has " + place.key;
        }
        std::size_t before = place.begin;
        std::size_t after = place.end;
        while (before > 0 && (text[before - 1] == '\t' || text[before - 1] == ' ')) {
            --before;
        }
        while (after < text.size() && (text[after] == '\n' || text[after] == ' ')) {
            ++after;
        }
        for (const std::string_view alone :
             {text.substr(place.begin, place.end - place.begin), text.substr(before, after - before)}) {
            const id read = scanner.scanValueText(alone, 1);
            if (!read) {
                return "the checked text of " + place.key + " did not read alone";
            }
            std::string difference = treeDifference(*read, *expected, place.key);
            if (!difference.empty()) {
                return "read alone, " + difference;
            }
        }
    }
    return "";
}

/// What the two ways of reading made of one text.
struct ScanCheck {
    /// True when the direct scan read the text (did not give up).
    bool scanned = false;
    /// True when the reader noted the text as exactly the writer's for the value it read.
    bool writerText = false;
    /// How the reader's answer with the scan differs from the full parser's; empty when equal.
    std::string difference;
};

/// Reads `text` with and without the direct scan and compares the answers.
inline ScanCheck checkScan(std::string_view text, plist::Mutability mutability, plist::Limits limits = {}) {
    ScanCheck check;
    std::string_view body = text;
    if (body.substr(0, 3) == "\xEF\xBB\xBF") {
        body.remove_prefix(3);
    }
    check.scanned =
        plist::isValidUtf8(body) && plist::PropertyListXmlScanner(mutability, limits).scan(body) != nullptr;
    const plist::ParseResult full =
        plist::PropertyListXmlReader(mutability, limits, plist::XmlParsing::FullOnly).parse(text);
    const plist::ParseResult fast =
        plist::PropertyListXmlReader(mutability, limits, plist::XmlParsing::ScanFirstNotingWriterText)
            .parse(text);
    check.writerText = fast.writerText;
    if (full.ok() != fast.ok()) {
        check.difference = full.ok() ? "only the full parser read it" : "only the scan read it";
    } else if (!full.ok()) {
        check.difference =
            full.reason == fast.reason ? "" : "reasons differ: " + full.reason + " / " + fast.reason;
    } else {
        check.difference = treeDifference(*fast.value, *full.value);
    }
    // The note must be exactly right: a text noted as the writer's is what the writer writes for
    // the value, and a scanned text the writer writes is noted, but for the kinds it never notes.
    if (check.difference.empty() && fast.ok()) {
        const plist::EncodeResult written = plist::PropertyListXmlWriter(limits).write(*fast.value);
        const bool isWriters = written.ok && written.text == text;
        if (fast.writerText && !isWriters) {
            check.difference = "noted as the writer's text, which it is not";
        } else if (!fast.writerText && isWriters && check.scanned && !writerTextNeverNoted(*fast.value)) {
            check.difference = "the writer's text, not noted as such";
        }
    }
    if (check.difference.empty()) {
        check.difference = standInDifference(text, mutability, limits, fast);
    }
    return check;
}

} // namespace plist_test
