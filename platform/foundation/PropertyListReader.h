#pragma once
// Reads a property list from bytes in either form, telling the forms apart by the binary
// form's magic, and checks that the root is a dictionary when a dictionary is asked for.

#include "platform/foundation/PropertyListOptions.h"
#include "platform/foundation/PropertyListResult.h"

#include <string>
#include <string_view>

namespace plist {

/// Parses property lists in the XML or the binary form.
class PropertyListReader {
  public:
    /// A reader that builds containers of the given kind within the given caps.
    explicit PropertyListReader(Mutability mutability = Mutability::Immutable, Limits limits = {},
                                XmlParsing parsing = XmlParsing::ScanFirst);

    /// The root value, of any property-list type.
    [[nodiscard]] ParseResult parse(std::string_view bytes) const;

    /// The root dictionary: status Ok, or Unreadable with the reason (unparseable bytes or a
    /// root of another type).
    [[nodiscard]] ReadResult readDictionary(std::string_view bytes) const;
    /// As readDictionary, reading XML text where it stands: `bytes` is overwritten. For callers
    /// that own the bytes and need them no more, such as a file's reader.
    [[nodiscard]] ReadResult readDictionaryInPlace(std::string& bytes) const;

  private:
    ParseResult parseInPlace(std::string& bytes) const;
    static ReadResult dictionaryResult(ParseResult parsed);

    Mutability mutability_;
    Limits limits_;
    XmlParsing parsing_;
};

} // namespace plist
