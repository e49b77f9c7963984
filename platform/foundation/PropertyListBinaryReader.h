#pragma once
// Reads the binary form of a property list (bplist00). Every number in the file is checked
// before use: the trailer, the offset table, each object's place and size, counts, reference
// sizes and reference targets. Nesting is capped, a container that contains itself is
// rejected, and objects shared by several references count once per reference, so a file of a
// few hundred bytes cannot expand to millions of values; what a shared object costs each time it
// is made again counts against a cap in bytes, so a small file cannot ask for gigabytes.

#include "platform/foundation/PropertyListOptions.h"
#include "platform/foundation/PropertyListResult.h"

#include <string_view>

namespace plist {

/// Parses binary property lists.
class PropertyListBinaryReader {
  public:
    /// A reader that builds containers of the given kind within the given caps.
    explicit PropertyListBinaryReader(Mutability mutability = Mutability::Immutable, Limits limits = {});

    /// True when `bytes` start with the binary form's magic, "bplist".
    [[nodiscard]] static bool looksBinary(std::string_view bytes);

    /// The root value of a whole file, of any property-list type. Booleans, integers (up to 64
    /// bits), single and double reals, dates, data, ASCII and UTF-16 strings (a NUL included),
    /// arrays and dictionaries with string keys are read, and UIDs as the dictionary
    /// {"CF$UID": N} the platform's XML writer makes of one; null, fill and set objects fail the
    /// file.
    [[nodiscard]] ParseResult parse(std::string_view bytes) const;

  private:
    Mutability mutability_;
    Limits limits_;
};

} // namespace plist
