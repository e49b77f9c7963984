#pragma once
// Reads the XML form of a property list (PLIST 1.0) into value objects. Documents laid out as
// writers lay them out are scanned straight into values (PropertyListXmlScanner); any other
// document, and every error, goes to pugixml, which builds the element tree that this class
// maps strictly: unknown elements, stray text, a key without a
// value, malformed numbers or dates and invalid text all fail the whole document, because a
// half-understood file must not be taken for a good one.

#include "platform/foundation/PropertyListOptions.h"
#include "platform/foundation/PropertyListResult.h"

#include <string>
#include <string_view>

namespace plist {

/// Parses XML property lists.
class PropertyListXmlReader {
  public:
    /// A reader that builds containers of the given kind within the given caps.
    explicit PropertyListXmlReader(Mutability mutability = Mutability::Immutable, Limits limits = {},
                                   XmlParsing parsing = XmlParsing::ScanFirst);

    /// The root value of a whole document, of any property-list type. The text is UTF-8 (a
    /// byte-order mark is skipped), or UTF-16 or UTF-32 told by a byte-order mark or the
    /// declaration's first bytes; a NUL character may stand raw or as "&#0;" in a string's text.
    /// The DOCTYPE is skipped and its entities are never expanded,
    /// only the five predefined entities and character references are. The `<plist>` wrapper
    /// may be left out, as the platform allows.
    [[nodiscard]] ParseResult parse(std::string_view bytes) const;
    /// As parse, reading the text where it stands: `bytes` is overwritten (names and values cut
    /// out in place, a NUL appended), which saves a copy of the whole text. For callers that own
    /// the bytes and need them no more.
    [[nodiscard]] ParseResult parseInPlace(std::string& bytes) const;

  private:
    ParseResult parseText(char* text, std::string_view bytes) const;

    Mutability mutability_;
    Limits limits_;
    XmlParsing parsing_;
};

} // namespace plist
