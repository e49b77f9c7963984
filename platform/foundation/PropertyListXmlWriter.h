#pragma once
// Writes a property list as XML text byte for byte as the platform's writer lays it out: the
// XML declaration and PLIST 1.0 DOCTYPE, one tab per nesting level, dictionary keys sorted by
// UTF-16 code units, reals with 17 significant digits, dates in whole UTC seconds, `<array/>`
// and `<dict/>` for empty containers, & < > escaped (and a carriage return as "&#13;", so that
// it survives a reader's line-end handling), and data as Base64 lines.

#include "platform/foundation/PropertyListOptions.h"
#include "platform/foundation/PropertyListResult.h"

#include <cstddef>
#include <string_view>

namespace plist {

/// What the writer puts before the root value's text, and after it.
inline constexpr std::string_view kXmlHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                               "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                                               "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                                               "<plist version=\"1.0\">\n";
inline constexpr std::string_view kXmlFooter = "</plist>\n";

/// Turns a tree of property-list values into XML text.
class PropertyListXmlWriter {
  public:
    /// A writer that refuses trees nested deeper than `limits.maxDepth` and text larger than
    /// `limits.maxBytes`, so that everything it writes can be read back.
    explicit PropertyListXmlWriter(Limits limits = {});

    /// The whole document for `root`. Fails, with the path to the offending value in the
    /// reason, when the tree holds anything but strings, numbers, dates, data, arrays and
    /// dictionaries (or a nil), a string that is not valid UTF-8 or holds a NUL, a date that is
    /// not finite, or a container that contains itself; or when the text would be larger than
    /// the readers accept.
    /// `expectedBytes`, when known (the size of the text the document had before a change), is
    /// set aside at once, so that a large text is not copied as it grows.
    [[nodiscard]] EncodeResult write(const NSObject& root, std::size_t expectedBytes = 0) const;
    /// The lines `write` emits for `value` when it stands `level` containers deep in a document:
    /// the same bytes, each line indented by `level` tabs and ending in a newline, so that the
    /// text of a document can be assembled from the texts of its parts. Fails as `write` does.
    [[nodiscard]] EncodeResult fragment(const NSObject& value, std::size_t level) const;

  private:
    Limits limits_;
};

} // namespace plist
