#include "platform/foundation/PropertyListXmlReader.h"

#include "platform/foundation/Base64.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListContainers.h"
#include "platform/foundation/PropertyListDate.h"
#include "platform/foundation/PropertyListScalars.h"
#include "platform/foundation/PropertyListXmlEncoding.h"
#include "platform/foundation/PropertyListXmlScanner.h"
#include "platform/foundation/PropertyListXmlText.h"
#include "platform/foundation/SharedNumbers.h"
#include "platform/foundation/Utf8.h"

#include <pugixml.hpp>

#include <cstring>
#include <new>
#include <vector>

namespace plist {

namespace {

bool isXmlSpace(const char* text) {
    for (; *text != 0; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r') {
            return false;
        }
    }
    return true;
}

// True when an element's name is exactly `expected`, compared in place: element names are
// checked for every value, so a call to strcmp each time shows in a file's parse time.
template <std::size_t N>
bool isName(const char* name, const char (&expected)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        if (name[i] != expected[i]) {
            return false; // stops at the name's end at the latest, the last expected is its NUL
        }
    }
    return true;
}

template <std::size_t N>
bool named(const pugi::xml_node& node, const char (&expected)[N]) {
    return isName(node.name(), expected);
}

class Mapper {
  public:
    Mapper(Mutability mutability, const Limits& limits, std::size_t documentBytes)
        : containers_(mutability), limits_(limits), numbers_(documentBytes) {}

    id value(const pugi::xml_node& node, std::size_t depth) {
        const char* name = node.name();
        switch (name[0]) {
        case 'd':
            if (isName(name, "dict")) {
                return dictionary(node, depth + 1);
            }
            if (isName(name, "date")) {
                return date(node);
            }
            if (isName(name, "data")) {
                return data(node);
            }
            break;
        case 'a':
            if (isName(name, "array")) {
                return array(node, depth + 1);
            }
            break;
        case 's':
            if (isName(name, "string")) {
                std::string content;
                if (!text(node, content)) {
                    return nullptr;
                }
                return NSString::with(std::move(content));
            }
            break;
        case 'r':
            if (isName(name, "real")) {
                return real(node);
            }
            break;
        case 'i':
            if (isName(name, "integer")) {
                return integer(node);
            }
            break;
        case 't':
            if (isName(name, "true")) {
                return boolean(node, true);
            }
            break;
        case 'f':
            if (isName(name, "false")) {
                return boolean(node, false);
            }
            break;
        case 'k':
            if (isName(name, "key")) {
                return fail(node, "a <key> outside a dictionary");
            }
            break;
        default:
            break;
        }
        return fail(node, std::string("unknown element <") + name + ">");
    }

    id fail(const pugi::xml_node& node, const std::string& why) {
        if (reason_.empty()) {
            reason_ = why + " at byte " + std::to_string(node.offset_debug());
        }
        return nullptr;
    }

    std::string takeReason() { return std::move(reason_); }

  private:
    // The next element among a container's children, skipping whitespace; false at the end or
    // on stray text (set in `failed`).
    bool nextElement(pugi::xml_node& cursor, bool& failed) {
        for (; cursor; cursor = cursor.next_sibling()) {
            const pugi::xml_node_type type = cursor.type();
            if (type == pugi::node_element) {
                return true;
            }
            if ((type == pugi::node_pcdata && !isXmlSpace(cursor.value())) || type == pugi::node_cdata) {
                fail(cursor, "text between elements");
                failed = true;
                return false;
            }
        }
        return false;
    }

    id array(const pugi::xml_node& node, std::size_t depth) {
        if (depth > limits_.maxDepth) {
            return fail(node, "containers nested deeper than " + std::to_string(limits_.maxDepth));
        }
        // The items gather in a list kept for this depth, so that the array's own list is
        // allocated once at its size instead of growing item by item.
        if (scratch_.size() <= depth) {
            scratch_.resize(depth + 1);
        }
        bool failed = false;
        for (pugi::xml_node child = node.first_child(); nextElement(child, failed);
             child = child.next_sibling()) {
            id item = value(child, depth);
            if (!item) {
                return nullptr;
            }
            scratch_[depth].push_back(std::move(item));
        }
        if (failed) {
            return nullptr;
        }
        std::vector<id>& gathered = scratch_[depth];
        std::vector<id> items(std::make_move_iterator(gathered.begin()),
                              std::make_move_iterator(gathered.end()));
        gathered.clear();
        return containers_.array(std::move(items));
    }

    id dictionary(const pugi::xml_node& node, std::size_t depth) {
        if (depth > limits_.maxDepth) {
            return fail(node, "containers nested deeper than " + std::to_string(limits_.maxDepth));
        }
        NSDictionary::Entries::sequence_type entries;
        bool failed = false;
        for (pugi::xml_node child = node.first_child(); nextElement(child, failed);
             child = child.next_sibling()) {
            if (!named(child, "key")) {
                return fail(child, std::string("<") + child.name() + "> where a <key> belongs");
            }
            std::string key;
            if (!text(child, key)) {
                return nullptr;
            }
            const pugi::xml_node keyNode = child;
            child = child.next_sibling();
            if (!nextElement(child, failed)) {
                return failed ? nullptr : fail(keyNode, "a <key> without a value");
            }
            if (named(child, "key")) {
                return fail(child, "a <key> without a value");
            }
            id item = value(child, depth);
            if (!item) {
                return nullptr;
            }
            entries.emplace_back(std::move(key), std::move(item));
        }
        if (failed) {
            return nullptr;
        }
        return containers_.dictionary(entriesFrom(entries));
    }

    // The character content of a leaf element: its text and CDATA sections joined, nothing else.
    bool text(const pugi::xml_node& node, std::string& out) {
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            const pugi::xml_node_type type = child.type();
            if (type == pugi::node_pcdata) {
                if (!appendUnescaped(child.value(), out)) {
                    fail(child, "an unknown or malformed '&' reference");
                    return false;
                }
            } else if (type == pugi::node_cdata) {
                out.append(child.value());
            } else if (type == pugi::node_element) {
                fail(child, std::string("an element inside <") + node.name() + ">");
                return false;
            }
        }
        return true;
    }

    // The character content of a leaf element as text to read, without a copy when it is one
    // run of text with no references (every number and date a writer makes); `storage` holds
    // the content otherwise.
    bool scalarText(const pugi::xml_node& node, std::string& storage, std::string_view& out) {
        const pugi::xml_node only = node.first_child();
        if (only && !only.next_sibling() && only.type() == pugi::node_pcdata) {
            const std::string_view raw = only.value();
            if (raw.find('&') == std::string_view::npos) {
                out = raw;
                return true;
            }
        }
        if (!text(node, storage)) {
            return false;
        }
        out = storage;
        return true;
    }

    id real(const pugi::xml_node& node) {
        std::string storage;
        std::string_view content;
        if (!scalarText(node, storage, content)) {
            return nullptr;
        }
        const std::optional<double> parsed = parseReal(content);
        if (!parsed) {
            return fail(node, "a malformed <real> \"" + std::string(content.substr(0, 40)) + "\"");
        }
        return numbers_.real(*parsed);
    }

    id integer(const pugi::xml_node& node) {
        std::string storage;
        std::string_view content;
        if (!scalarText(node, storage, content)) {
            return nullptr;
        }
        const std::optional<std::int64_t> parsed = parseInteger(content);
        if (!parsed) {
            if (const std::optional<std::uint64_t> beyond = parseUnsignedBeyondSigned(content)) {
                return NSNumber::withUnsignedInteger(*beyond);
            }
            return fail(node, "a malformed or out-of-range <integer> \"" +
                                  std::string(content.substr(0, 40)) + "\"");
        }
        return numbers_.integer(*parsed);
    }

    id date(const pugi::xml_node& node) {
        std::string storage;
        std::string_view content;
        if (!scalarText(node, storage, content)) {
            return nullptr;
        }
        const std::optional<double> parsed = parseXmlDate(content);
        if (!parsed) {
            return fail(node, "a malformed <date> \"" + std::string(content.substr(0, 40)) + "\"");
        }
        return NSDate::withTimeIntervalSinceReferenceDate(*parsed);
    }

    id data(const pugi::xml_node& node) {
        std::string content;
        if (!text(node, content)) {
            return nullptr;
        }
        std::optional<std::vector<std::uint8_t>> bytes = decodeBase64(content);
        if (!bytes) {
            return fail(node, "malformed Base64 in <data>");
        }
        return NSData::with(std::move(*bytes));
    }

    id boolean(const pugi::xml_node& node, bool value) {
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_pcdata || !isXmlSpace(child.value())) {
                return fail(node, std::string("content inside <") + node.name() + ">");
            }
        }
        return numbers_.boolean(value);
    }

    DocumentContainers containers_;
    const Limits& limits_;
    std::vector<std::vector<id>> scratch_;
    SharedNumbers numbers_;
    std::string reason_;
};

ParseResult failure(std::string reason) {
    return ParseResult{nullptr, std::move(reason)};
}

// True when the text holds a comment, a CDATA section or a processing instruction other than
// the XML declaration at its start: markup that can stand between two runs of text inside one
// element, so that a run of whitespace there is part of the element's content without being
// its only child. The DOCTYPE is the one such "<!" markup that cannot stand inside an element.
bool hasMarkupBetweenText(std::string_view text) {
    for (const char mark : {'!', '?'}) {
        for (std::size_t at = text.find(mark, 1); at != std::string_view::npos;
             at = text.find(mark, at + 1)) {
            if (text[at - 1] != '<') {
                continue;
            }
            if (mark == '?' && at == 1) {
                continue; // the XML declaration
            }
            if (mark == '!' && text.substr(at + 1, 7) == "DOCTYPE") {
                continue;
            }
            return true;
        }
    }
    return false;
}

} // namespace

PropertyListXmlReader::PropertyListXmlReader(Mutability mutability, Limits limits, XmlParsing parsing)
    : mutability_(mutability), limits_(limits), parsing_(parsing) {}

ParseResult PropertyListXmlReader::parse(std::string_view bytes) const {
    return parseText(nullptr, bytes);
}

ParseResult PropertyListXmlReader::parseInPlace(std::string& bytes) const {
    const std::size_t size = bytes.size();
    // pugixml reads a copied text with a NUL after it and reports the offsets of errors at the
    // end accordingly; the same NUL here gives the same reasons. A file's bytes have room for
    // it (they are read into one byte more than the file's size).
    bytes.push_back('\0');
    return parseText(bytes.data(), std::string_view(bytes.data(), size));
}

// `text`, when given, is the writable buffer that `bytes` views, followed by a NUL; pugixml then
// cuts the tree out of it instead of copying it first.
ParseResult PropertyListXmlReader::parseText(char* text, std::string_view bytes) const {
    if (bytes.size() > limits_.maxBytes) {
        return failure("larger than " + std::to_string(limits_.maxBytes) + " bytes");
    }
    // Text in another form is read as its UTF-8 equivalent; it is never the writer's own text.
    const XmlParsing converted =
        parsing_ == XmlParsing::FullOnly ? XmlParsing::FullOnly : XmlParsing::ScanFirst;
    if (isWideXml(bytes)) {
        std::optional<std::string> utf8 = wideXmlAsUtf8(bytes);
        if (!utf8) {
            return failure("not valid UTF-16 or UTF-32 text");
        }
        return PropertyListXmlReader(mutability_, limits_, converted).parseInPlace(*utf8);
    }
    // The writer writes no byte-order mark.
    const bool marked = bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF";
    if (marked) {
        bytes.remove_prefix(3);
        if (text != nullptr) {
            text += 3;
        }
    }
    // Checking the whole text once covers every string and key. A NUL byte, which the check
    // refuses, stands for a NUL character in a string's text, as the platform reads it: the text
    // is read again with each written as a reference (rare, so the common text pays nothing).
    if (!isValidUtf8(bytes)) {
        if (bytes.find('\0') != std::string_view::npos) {
            std::string referenced = nulsAsReferences(bytes);
            if (isValidUtf8(referenced)) {
                return PropertyListXmlReader(mutability_, limits_, converted).parseInPlace(referenced);
            }
        }
        return failure("not valid UTF-8 text");
    }
    // The scan reads the text as it stands and gives up without a trace where it cannot be sure
    // of the full parser's answer, which then decides (the text is still untouched).
    if (parsing_ != XmlParsing::FullOnly) {
        const bool noting = parsing_ == XmlParsing::ScanFirstNotingWriterText && !marked;
        bool writerText = false;
        if (id value =
                PropertyListXmlScanner(mutability_, limits_).scan(bytes, noting ? &writerText : nullptr)) {
            return ParseResult{std::move(value), {}, writerText};
        }
    }
    pugi::xml_document document;
    // No entity expansion by pugixml (see appendUnescaped), no DOCTYPE, comments or processing
    // instructions in the tree. Whitespace-only text matters only inside a leaf element
    // ("<string> </string>" keeps its space); between elements it is skipped. Unless the text
    // holds comments, CDATA sections or processing instructions, a leaf's content is one run of
    // text, and keeping whitespace-only text only where it is an element's sole content gives
    // the same values without a tree node for every line break (half the nodes of a file).
    const unsigned whitespace =
        hasMarkupBetweenText(bytes) ? pugi::parse_ws_pcdata : pugi::parse_ws_pcdata_single;
    const unsigned options = pugi::parse_cdata | whitespace | pugi::parse_eol;
    const pugi::xml_parse_result parsed =
        text != nullptr ? document.load_buffer_inplace(text, bytes.size() + 1, options, pugi::encoding_utf8)
                        : document.load_buffer(bytes.data(), bytes.size(), options, pugi::encoding_utf8);
    if (parsed.status == pugi::status_out_of_memory) {
        throw std::bad_alloc();
    }
    if (!parsed) {
        return failure(std::string("XML: ") + parsed.description() + " at byte " +
                       std::to_string(parsed.offset));
    }
    pugi::xml_node root;
    for (pugi::xml_node child = document.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element) {
            if (root) {
                return failure("more than one element at the top of the document");
            }
            root = child;
        } else if (child.type() != pugi::node_pcdata || !isXmlSpace(child.value())) {
            return failure("text outside the root element");
        }
    }
    if (!root) {
        return failure("no root element");
    }
    Mapper mapper(mutability_, limits_, bytes.size());
    if (named(root, "plist")) {
        pugi::xml_node valueNode;
        for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
            if (child.type() == pugi::node_element) {
                if (valueNode) {
                    return failure("more than one value inside <plist>");
                }
                valueNode = child;
            } else if (child.type() != pugi::node_pcdata || !isXmlSpace(child.value())) {
                return failure("text inside <plist>");
            }
        }
        if (!valueNode) {
            return failure("<plist> holds no value");
        }
        root = valueNode;
    }
    id value = mapper.value(root, 0);
    if (!value) {
        return failure(mapper.takeReason());
    }
    return ParseResult{std::move(value), {}};
}

} // namespace plist
