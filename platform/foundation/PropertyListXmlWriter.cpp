#include "platform/foundation/PropertyListXmlWriter.h"

#include "platform/foundation/Base64.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListDate.h"
#include "platform/foundation/PropertyListScalars.h"
#include "platform/foundation/Utf8.h"
#include "platform/runtime/RuntimeFunctions.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <typeinfo>
#include <vector>

namespace plist {

namespace {

using namespace std::string_view_literals;

class Writer {
  public:
    explicit Writer(const Limits& limits) : limits_(limits) {}

    bool value(const NSObject* object, std::size_t level) {
        // Checked as the text grows, so that a tree far too large stops early instead of
        // filling memory with text that would be refused anyway.
        if (tooLarge()) {
            return false;
        }
        if (object == nullptr) {
            return fail("a nil value");
        }
        // valueKind answers for the value classes and their subclasses, so each cast below is to
        // the class the object is an instance of.
        switch (object->valueKind()) {
        case rt::ValueKind::String:
            return string(static_cast<const NSString*>(object)->str(), level);
        case rt::ValueKind::Number:
            number(*static_cast<const NSNumber*>(object), level);
            return true;
        case rt::ValueKind::Dictionary:
            return dictionary(*static_cast<const NSDictionary*>(object), level);
        case rt::ValueKind::Array:
            return array(*static_cast<const NSArray*>(object), level);
        case rt::ValueKind::Date:
            return date(*static_cast<const NSDate*>(object), level);
        case rt::ValueKind::Data:
            data(*static_cast<const NSData*>(object), level);
            return true;
        case rt::ValueKind::Other:
            break;
        }
        return fail(std::string("a value of class ") + className(object) +
                    ", which is not a property-list type");
    }

    // True, with the reason, once the text is larger than a reader accepts.
    bool tooLarge() {
        if (out_.size() <= limits_.maxBytes) {
            return false;
        }
        if (reason_.empty() || reason_.rfind("larger", 0) != 0) {
            reason_ = "larger than " + std::to_string(limits_.maxBytes) + " bytes, which readers refuse";
        }
        return true;
    }

    std::string& out() { return out_; }
    std::string& reason() { return reason_; }

  private:
    static std::string className(const NSObject* object) {
        // Objects made with rt::make carry their runtime class; others are named by their C++ type.
        if (object->isa() != nullptr) {
            return class_getName(object->isa());
        }
        return typeid(*object).name();
    }

    bool fail(std::string why) {
        reason_ = std::move(why);
        return false;
    }

    // Prefixes the path of the failing value with one more step, as the failure unwinds.
    bool failWithin(const std::string& step) {
        if (tooLarge()) {
            return false;
        }
        reason_ = step + (reason_.front() == '/' ? "" : ": ") + reason_;
        return false;
    }

    void indent(std::size_t count) { out_.append(count, '\t'); }

    // A carriage return is written as a character reference: a reader turns a raw one (and a
    // CR LF pair) into a line feed, so "A\rB" would come back as "A\nB".
    void escaped(std::string_view text) {
        std::size_t start = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            // Every character to escape lies below '?', so one comparison passes most text.
            if (c >= '?') {
                continue;
            }
            const std::string_view reference = c == '&'    ? "&amp;"sv
                                               : c == '<'  ? "&lt;"sv
                                               : c == '>'  ? "&gt;"sv
                                               : c == '\r' ? "&#13;"sv
                                                           : std::string_view();
            if (!reference.empty()) {
                out_.append(text.substr(start, i - start));
                out_.append(reference);
                start = i + 1;
            }
        }
        out_.append(text.substr(start));
    }

    bool string(const std::string& text, std::size_t level) {
        if (!isValidUtf8(text)) {
            return fail("a string that is not valid UTF-8 or holds a NUL");
        }
        indent(level);
        out_.append("<string>"sv);
        escaped(text);
        out_.append("</string>\n"sv);
        return true;
    }

    void number(const NSNumber& number, std::size_t level) {
        indent(level);
        switch (number.kind()) {
        case NSNumber::Kind::Boolean:
            out_.append(number.boolValue() ? "<true/>\n"sv : "<false/>\n"sv);
            return;
        case NSNumber::Kind::Integer: {
            out_.append("<integer>"sv);
            char digits[24];
            const std::to_chars_result printed =
                number.isUnsignedBeyondSigned()
                    ? std::to_chars(digits, digits + sizeof digits, number.unsignedIntegerValue())
                    : std::to_chars(digits, digits + sizeof digits, number.integerValue());
            out_.append(digits, printed.ptr);
            out_.append("</integer>\n"sv);
            return;
        }
        case NSNumber::Kind::Float:
        case NSNumber::Kind::Double:
            // A single-precision number is already held widened to double, so 75.3f prints as
            // 75.300003051757812, as on the platform.
            out_.append("<real>"sv);
            appendReal(out_, number.doubleValue());
            out_.append("</real>\n"sv);
            return;
        }
    }

    bool date(const NSDate& date, std::size_t level) {
        const double seconds = date.timeIntervalSinceReferenceDate();
        if (!isWritableDate(seconds)) {
            return fail("a date that is not finite or beyond the calendar's range");
        }
        indent(level);
        out_.append("<date>"sv);
        appendXmlDate(out_, seconds);
        out_.append("</date>\n"sv);
        return true;
    }

    // Base64 in lines of 76 characters less 8 for each level of indentation (at most 8 levels
    // counted), each line indented like the element itself, as the platform lays data out.
    void data(const NSData& data, std::size_t level) {
        indent(level);
        out_.append("<data>\n"sv);
        const std::string encoded = encodeBase64(data.bytes());
        const std::size_t lineIndent = std::min<std::size_t>(level, 8);
        const std::size_t lineLength = 76 - 8 * lineIndent;
        for (std::size_t pos = 0; pos < encoded.size(); pos += lineLength) {
            indent(lineIndent);
            out_.append(encoded, pos, lineLength);
            out_.push_back('\n');
        }
        indent(level);
        out_.append("</data>\n"sv);
    }

    bool enter(const NSObject& container, std::size_t level) {
        if (level + 1 > limits_.maxDepth) {
            return fail("containers nested deeper than " + std::to_string(limits_.maxDepth));
        }
        if (std::find(path_.begin(), path_.end(), &container) != path_.end()) {
            return fail("a container that contains itself");
        }
        path_.push_back(&container);
        return true;
    }

    bool array(const NSArray& array, std::size_t level) {
        if (!enter(array, level)) {
            return false;
        }
        indent(level);
        if (array.count() == 0) {
            out_.append("<array/>\n"sv);
        } else {
            out_.append("<array>\n"sv);
            const std::vector<id>& items = array.items();
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (!value(items[i].get(), level + 1)) {
                    return failWithin("/" + std::to_string(i));
                }
            }
            indent(level);
            out_.append("</array>\n"sv);
        }
        path_.pop_back();
        return true;
    }

    bool dictionary(const NSDictionary& dictionary, std::size_t level) {
        if (!enter(dictionary, level)) {
            return false;
        }
        indent(level);
        if (dictionary.count() == 0) {
            out_.append("<dict/>\n"sv);
            path_.pop_back();
            return true;
        }
        out_.append("<dict>\n"sv);
        // The map keeps its keys in byte order, which is UTF-16 order unless a key holds a
        // character at or above U+E000; only then are the keys sorted again.
        bool resort = false;
        for (const auto& entry : dictionary.entries()) {
            if (!isValidUtf8(entry.first)) {
                return fail("a key that is not valid UTF-8 or holds a NUL");
            }
            resort = resort || mayOrderDifferentlyInUtf16(entry.first);
        }
        if (!resort) {
            for (const auto& entry : dictionary.entries()) {
                if (!keyAndValue(entry, level)) {
                    return false;
                }
            }
        } else {
            std::vector<const NSDictionary::Entries::value_type*> entries;
            entries.reserve(dictionary.count());
            for (const auto& entry : dictionary.entries()) {
                entries.push_back(&entry);
            }
            std::stable_sort(entries.begin(), entries.end(), [](const auto* a, const auto* b) {
                return lessInUtf16Order(a->first, b->first);
            });
            for (const auto* entry : entries) {
                if (!keyAndValue(*entry, level)) {
                    return false;
                }
            }
        }
        indent(level);
        out_.append("</dict>\n"sv);
        path_.pop_back();
        return true;
    }

    bool keyAndValue(const NSDictionary::Entries::value_type& entry, std::size_t level) {
        indent(level + 1);
        out_.append("<key>"sv);
        escaped(entry.first);
        out_.append("</key>\n"sv);
        if (!value(entry.second.get(), level + 1)) {
            return failWithin("/" + entry.first);
        }
        return true;
    }

    const Limits& limits_;
    std::string out_;
    std::string reason_;
    std::vector<const NSObject*> path_;
};

} // namespace

PropertyListXmlWriter::PropertyListXmlWriter(Limits limits) : limits_(limits) {}

EncodeResult PropertyListXmlWriter::write(const NSObject& root, std::size_t expectedBytes) const {
    Writer writer(limits_);
    // Pages set aside but never written cost no memory; a text that grows by doubling holds its
    // old copy and its new one at once.
    writer.out().reserve(std::min(expectedBytes, limits_.maxBytes + 1));
    writer.out().append(kXmlHeader);
    if (!writer.value(&root, 0)) {
        return {false, {}, std::move(writer.reason())};
    }
    writer.out().append(kXmlFooter);
    if (writer.tooLarge()) {
        return {false, {}, std::move(writer.reason())};
    }
    return {true, std::move(writer.out()), {}};
}

EncodeResult PropertyListXmlWriter::fragment(const NSObject& value, std::size_t level) const {
    Writer writer(limits_);
    if (!writer.value(&value, level) || writer.tooLarge()) {
        return {false, {}, std::move(writer.reason())};
    }
    return {true, std::move(writer.out()), {}};
}

} // namespace plist
