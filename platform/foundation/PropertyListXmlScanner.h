#pragma once
// A single pass over the XML property-list text as writers lay it out, building the values as
// it goes, without an element tree. It handles a strict subset of what the full reader accepts
// and gives up on anything else (comments, CDATA, carriage returns, attributes on values,
// unknown elements, anything malformed), so that the full reader decides every other document
// and every error; what it does read is the value the full reader would give.

#include "platform/foundation/PropertyListOptions.h"
#include "platform/runtime/Forward.h"

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

  private:
    Mutability mutability_;
    const Limits& limits_;
};

} // namespace plist
