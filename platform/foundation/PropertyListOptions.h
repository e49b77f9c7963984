#pragma once
// Options shared by the property-list readers and writer: which container kinds a reader builds,
// and the caps that keep a hostile file from exhausting the stack, memory or time.

#include <cstddef>

namespace plist {

/// Which container kinds a reader builds.
enum class Mutability {
    /// NSArray and NSDictionary throughout, as NSDictionary's dictionaryWithContentsOfFile: gives.
    Immutable,
    /// NSMutableArray and NSMutableDictionary for the root and every nested container, as
    /// NSMutableDictionary's dictionaryWithContentsOfFile: gives; strings, numbers, dates and
    /// data stay immutable.
    MutableContainers,
};

/// Which way a reader parses XML.
enum class XmlParsing {
    /// The direct scan where the document's layout allows it, the full parser otherwise.
    ScanFirst,
    /// As ScanFirst, and a scanned document is also checked for being exactly the text the
    /// writer makes for the value read (ParseResult::writerText), for callers that can then reuse
    /// its bytes as the writer's.
    ScanFirstNotingWriterText,
    /// The full parser always, as tests comparing the two ways need.
    FullOnly,
};

/// Caps applied while reading and writing.
struct Limits {
    /// Largest input accepted, in bytes. A saved-times file of 100,000 results is about 85 MB as
    /// XML, so this leaves room for the largest files the product makes.
    std::size_t maxBytes = std::size_t{128} << 20;
    /// Deepest nesting of containers, the root container counting as 1. The saved-times file
    /// needs 4; the cap keeps the recursive readers and the writer far from the stack's end and
    /// turns a container that holds itself into an error.
    std::size_t maxDepth = 128;
    /// Most values a binary file may expand to, counting a shared object once per reference.
    std::size_t maxNodes = 16'000'000;
    /// Most values per byte of binary input. Without shared containers a binary file never holds
    /// more values than bytes; this stops a file of a few hundred bytes that references the same
    /// containers over and over from expanding to millions of values.
    std::size_t maxNodesPerByte = 16;
    /// Most bytes a binary file's shared objects may cost again per byte of input: a container
    /// built a second time for another reference, or a long key string copied into another
    /// dictionary. A writer shares strings and numbers, which cost nothing here; without this
    /// cap a file of 100 KB whose dictionaries all use one 64 KB key asks for gigabytes.
    std::size_t maxCopiedBytesPerByte = 1;
    /// The copies any binary file may take however small it is, so that modest sharing in a small
    /// file (a container a writer put in two places) still reads.
    std::size_t minCopiedBytes = std::size_t{64} << 10;
};

} // namespace plist
