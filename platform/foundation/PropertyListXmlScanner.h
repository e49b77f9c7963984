#pragma once
// A single pass over the XML property-list text as writers lay it out, building the values as
// it goes, without an element tree. It handles a strict subset of what the full reader accepts
// and gives up on anything else (comments, CDATA, carriage returns, attributes on values,
// unknown elements, anything malformed), so that the full reader decides every other document
// and every error; what it does read is the value the full reader would give.

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/PropertyListOptions.h"
#include "platform/runtime/Forward.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace plist {

/// Reads the common layout of XML property lists straight into values.
class PropertyListXmlScanner {
  public:
    /// A scanner that builds containers of the given kind within the given nesting cap.
    PropertyListXmlScanner(Mutability mutability, const Limits& limits);

    /// The root value of `text` (valid UTF-8, its byte-order mark already skipped), or nil when
    /// the text is outside what the scanner handles or is wrong: the full reader must then read
    /// it. Never reports an error of its own. With `writerText`, also tells whether `text` is
    /// exactly what PropertyListXmlWriter writes for the value: its header, layout, key order,
    /// escapes and number and date texts, which costs a printing of each distinct number.
    [[nodiscard]] id scan(std::string_view text, bool* writerText = nullptr) const;

    /// What stands in the root dictionary for a value read only to be checked: made from its key
    /// and the place of its text in the document ([begin, end), from its start tag to the end of
    /// its end tag).
    using Stand = std::function<id(const std::string& key, std::size_t begin, std::size_t end)>;
    /// The root dictionary of `text` when `text` is exactly what PropertyListXmlWriter writes for
    /// a dictionary (as scan notes it) and is as valid as the reader requires (size, UTF-8). Each
    /// root value is checked by the very steps that read it, without being made, and `stand`
    /// gives what holds its place. Nil for any other text: the caller reads it as usual.
    [[nodiscard]] std::shared_ptr<NSDictionary> scanWriterTextStandingIn(std::string_view text,
                                                                         const Stand& stand) const;
    /// The value that `text` (one value and whitespace around it, such as a root value's text
    /// from a document scanWriterTextStandingIn accepted) holds, read as it is read within a
    /// document at nesting `depth` (1 for a root value); nil when it is not such a text.
    [[nodiscard]] id scanValueText(std::string_view text, std::size_t depth) const;

  private:
    Mutability mutability_;
    const Limits& limits_;
};

} // namespace plist
