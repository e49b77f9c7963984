#include "platform/foundation/PropertyListBinaryReader.h"

#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListContainers.h"
#include "platform/foundation/PropertyListDate.h"
#include "platform/foundation/Utf8.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace plist {

namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kTrailerSize = 32;
// What the copy-cap charges: a container's object, an array's item, a dictionary's entry, and the
// longest key a string holds without an allocation of its own.
constexpr std::size_t kContainerBytes = 64;
constexpr std::size_t kItemBytes = 16;
constexpr std::size_t kEntryBytes = 48;
constexpr std::size_t kInlineKeyBytes = 15;
constexpr const char* kUidKey = "CF$UID";

class Parser {
  public:
    Parser(std::string_view bytes, Mutability mutability, const Limits& limits)
        : bytes_(reinterpret_cast<const std::uint8_t*>(bytes.data())), size_(bytes.size()),
          containers_(mutability), limits_(limits) {}

    ParseResult run() {
        if (!readTrailer()) {
            return {nullptr, std::move(reason_)};
        }
        id root = object(topObject_, 0);
        if (!root) {
            return {nullptr, std::move(reason_)};
        }
        return {std::move(root), {}};
    }

  private:
    bool fail(std::string why) {
        if (reason_.empty()) {
            reason_ = std::move(why);
        }
        return false;
    }

    id failObject(std::uint64_t index, const std::string& why) {
        fail("object " + std::to_string(index) + ": " + why);
        return nullptr;
    }

    // A big-endian unsigned number of `width` bytes (1 to 8) at `pos`; the caller checked bounds.
    std::uint64_t readUnsigned(std::size_t pos, std::size_t width) const {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            value = (value << 8) | bytes_[pos + i];
        }
        return value;
    }

    bool readTrailer() {
        if (size_ < kHeaderSize + 1 + 1 + kTrailerSize) {
            return fail("too short for a binary property list");
        }
        if (std::memcmp(bytes_, "bplist00", kHeaderSize) != 0) {
            return fail("not a bplist00 file");
        }
        const std::size_t trailer = size_ - kTrailerSize;
        offsetSize_ = bytes_[trailer + 6];
        refSize_ = bytes_[trailer + 7];
        const std::uint64_t objectCount = readUnsigned(trailer + 8, 8);
        topObject_ = readUnsigned(trailer + 16, 8);
        const std::uint64_t tableOffset = readUnsigned(trailer + 24, 8);
        if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8) {
            return fail("offset or reference size outside 1 to 8");
        }
        if (objectCount == 0 || topObject_ >= objectCount) {
            return fail("no objects, or the top object is outside the object table");
        }
        if (tableOffset <= kHeaderSize || tableOffset > trailer) {
            return fail("offset table outside the file");
        }
        if (objectCount > (trailer - tableOffset) / offsetSize_) {
            return fail("offset table runs past the trailer");
        }
        objectsEnd_ = static_cast<std::size_t>(tableOffset);
        objectCount_ = static_cast<std::size_t>(objectCount);
        offsets_.resize(objectCount_);
        for (std::size_t i = 0; i < objectCount_; ++i) {
            const std::uint64_t offset = readUnsigned(objectsEnd_ + i * offsetSize_, offsetSize_);
            if (offset < kHeaderSize || offset >= objectsEnd_) {
                return fail("object " + std::to_string(i) + " lies outside the object area");
            }
            offsets_[i] = static_cast<std::size_t>(offset);
        }
        onPath_.assign(objectCount_, 0);
        leaves_.assign(objectCount_, nullptr);
        built_.assign(objectCount_, 0);
        keyStamp_.assign(objectCount_, 0);
        keyEntry_.assign(objectCount_, 0);
        const std::size_t perByte = limits_.maxNodesPerByte;
        nodeCap_ =
            size_ > limits_.maxNodes / (perByte == 0 ? 1 : perByte) ? limits_.maxNodes : size_ * perByte;
        const std::size_t copiedPerByte = limits_.maxCopiedBytesPerByte;
        copiedCap_ =
            copiedPerByte != 0 && size_ > SIZE_MAX / copiedPerByte ? SIZE_MAX : size_ * copiedPerByte;
        copiedCap_ = copiedCap_ < limits_.minCopiedBytes ? limits_.minCopiedBytes : copiedCap_;
        return true;
    }

    // The element count of a variable-size object whose marker is at `pos`: the marker's low
    // nibble, or a following integer object when the nibble is 0xF. `start` gets the first byte
    // of the contents.
    bool count(std::size_t pos, std::uint64_t& value, std::size_t& start) {
        const unsigned nibble = bytes_[pos] & 0x0Fu;
        if (nibble != 0x0F) {
            value = nibble;
            start = pos + 1;
            return true;
        }
        if (pos + 2 > objectsEnd_) {
            return fail("count runs past the object area");
        }
        const std::uint8_t marker = bytes_[pos + 1];
        if ((marker & 0xF0u) != 0x10u || (marker & 0x0Fu) > 3) {
            return fail("malformed count");
        }
        const std::size_t width = std::size_t{1} << (marker & 0x0Fu);
        if (width > objectsEnd_ - (pos + 2)) {
            return fail("count runs past the object area");
        }
        value = readUnsigned(pos + 2, width);
        start = pos + 2 + width;
        return true;
    }

    // True when `units` elements of `unitSize` bytes starting at `start` lie in the object area.
    bool fits(std::size_t start, std::uint64_t units, std::size_t unitSize) const {
        return start <= objectsEnd_ && units <= (objectsEnd_ - start) / unitSize;
    }

    id object(std::uint64_t index, std::size_t depth) {
        if (++nodes_ > nodeCap_) {
            fail("expands to more than " + std::to_string(nodeCap_) + " values (shared references)");
            return nullptr;
        }
        if (leaves_[index]) {
            return leaves_[index];
        }
        const std::size_t pos = offsets_[index];
        const std::uint8_t marker = bytes_[pos];
        switch (marker >> 4) {
        case 0x0:
            if (marker == 0x08 || marker == 0x09) {
                return leaves_[index] = NSNumber::withBool(marker == 0x09);
            }
            return failObject(index, "null or fill object");
        case 0x1:
            return leaves_[index] = integer(index, pos);
        case 0x2:
            return leaves_[index] = real(index, pos);
        case 0x3:
            return leaves_[index] = date(index, pos);
        case 0x4:
            return leaves_[index] = data(index, pos);
        case 0x5:
            return leaves_[index] = ascii(index, pos);
        case 0x6:
            return leaves_[index] = utf16(index, pos);
        case 0x8:
            return leaves_[index] = uid(index, pos);
        case 0xA:
            return container(index, pos, depth + 1, false);
        case 0xD:
            return container(index, pos, depth + 1, true);
        default:
            return failObject(index, "unsupported object type " + std::to_string(marker >> 4));
        }
    }

    id integer(std::uint64_t index, std::size_t pos) {
        const unsigned power = bytes_[pos] & 0x0Fu;
        if (power > 4) {
            return failObject(index, "integer of unsupported size");
        }
        const std::size_t width = std::size_t{1} << power;
        if (!fits(pos + 1, width, 1)) {
            return failObject(index, "integer runs past the object area");
        }
        if (width == 16) {
            // 128-bit integers hold values beyond the signed 64-bit range; those of the signed
            // or the unsigned 64-bit range can be represented (the platform writes an unsigned
            // value above the signed range this way, with a high half of 0).
            const std::uint64_t high = readUnsigned(pos + 1, 8);
            const std::uint64_t low = readUnsigned(pos + 9, 8);
            if (high == 0) {
                return NSNumber::withUnsignedInteger(low);
            }
            if (high != ~std::uint64_t{0} || low >> 63 != 1) {
                return failObject(index, "integer beyond 64 bits");
            }
            return NSNumber::withInteger(static_cast<std::int64_t>(low));
        }
        // Integers of 1, 2 and 4 bytes are unsigned; 8 bytes are two's complement.
        return NSNumber::withInteger(static_cast<std::int64_t>(readUnsigned(pos + 1, width)));
    }

    id real(std::uint64_t index, std::size_t pos) {
        const unsigned power = bytes_[pos] & 0x0Fu;
        if (power != 2 && power != 3) {
            return failObject(index, "real of unsupported size");
        }
        const std::size_t width = std::size_t{1} << power;
        if (!fits(pos + 1, width, 1)) {
            return failObject(index, "real runs past the object area");
        }
        const std::uint64_t raw = readUnsigned(pos + 1, width);
        if (width == 4) {
            float value = 0;
            const auto bits = static_cast<std::uint32_t>(raw);
            std::memcpy(&value, &bits, sizeof value);
            return NSNumber::withFloat(value);
        }
        double value = 0;
        std::memcpy(&value, &raw, sizeof value);
        return NSNumber::withDouble(value);
    }

    id date(std::uint64_t index, std::size_t pos) {
        if (bytes_[pos] != 0x33 || !fits(pos + 1, 8, 1)) {
            return failObject(index, "malformed date");
        }
        const std::uint64_t raw = readUnsigned(pos + 1, 8);
        double seconds = 0;
        std::memcpy(&seconds, &raw, sizeof seconds);
        if (!isWritableDate(seconds)) {
            return failObject(index, "date is not finite or beyond the calendar's range");
        }
        return NSDate::withTimeIntervalSinceReferenceDate(seconds);
    }

    id data(std::uint64_t index, std::size_t pos) {
        std::uint64_t length = 0;
        std::size_t start = 0;
        if (!count(pos, length, start)) {
            return nullptr;
        }
        if (!fits(start, length, 1)) {
            return failObject(index, "data runs past the object area");
        }
        return NSData::with(std::vector<std::uint8_t>(bytes_ + start, bytes_ + start + length));
    }

    id ascii(std::uint64_t index, std::size_t pos) {
        std::uint64_t length = 0;
        std::size_t start = 0;
        if (!count(pos, length, start)) {
            return nullptr;
        }
        if (!fits(start, length, 1)) {
            return failObject(index, "string runs past the object area");
        }
        for (std::size_t i = 0; i < length; ++i) {
            if (bytes_[start + i] >= 0x80) {
                return failObject(index, "ASCII string holds a non-ASCII byte");
            }
        }
        return NSString::with(std::string(reinterpret_cast<const char*>(bytes_ + start), length));
    }

    id utf16(std::uint64_t index, std::size_t pos) {
        std::uint64_t units = 0;
        std::size_t start = 0;
        if (!count(pos, units, start)) {
            return nullptr;
        }
        if (!fits(start, units, 2)) {
            return failObject(index, "string runs past the object area");
        }
        std::string text;
        if (!appendUtf16BigEndianAsUtf8(bytes_ + start, static_cast<std::size_t>(units), text)) {
            return failObject(index, "UTF-16 string holds an unpaired surrogate");
        }
        return NSString::with(std::move(text));
    }

    // A keyed archive's object reference: 1 to 16 bytes of unsigned number (up to 8 kept). It
    // reads as the platform's XML writer writes it, a dictionary {"CF$UID": N}, so that it
    // survives being written as XML; immutable, as the platform's UID is a leaf.
    id uid(std::uint64_t index, std::size_t pos) {
        const std::size_t width = (bytes_[pos] & 0x0Fu) + std::size_t{1};
        if (width > 8) {
            return failObject(index, "UID beyond 64 bits");
        }
        if (!fits(pos + 1, width, 1)) {
            return failObject(index, "UID runs past the object area");
        }
        const std::uint64_t value = readUnsigned(pos + 1, width);
        id number = value >> 63 != 0 ? NSNumber::withUnsignedInteger(value)
                                     : NSNumber::withInteger(static_cast<std::int64_t>(value));
        NSDictionary::Entries::sequence_type entries;
        entries.emplace_back(kUidKey, std::move(number));
        return makeDictionary(entriesFrom(entries), Mutability::Immutable);
    }

    // Counts the bytes a shared object costs when it is made again for another reference: the
    // first time an object is made is paid for by its bytes in the file, every later time by
    // this cap. False (the file refused) once the copies exceed it.
    bool chargeCopy(std::uint64_t index, std::size_t bytes) {
        if (built_[index] == 0) {
            built_[index] = 1;
            return true;
        }
        copied_ += bytes;
        if (copied_ > copiedCap_) {
            return fail("expands to more than " + std::to_string(copiedCap_) +
                        " bytes of copies (shared references)");
        }
        return true;
    }

    bool reference(std::size_t pos, std::uint64_t& target) {
        target = readUnsigned(pos, refSize_);
        if (target >= objectCount_) {
            return fail("reference to object " + std::to_string(target) + " beyond the object table");
        }
        if (onPath_[target] != 0) {
            return fail("object " + std::to_string(target) + " contains itself");
        }
        return true;
    }

    id container(std::uint64_t index, std::size_t pos, std::size_t depth, bool isDictionary) {
        if (depth > limits_.maxDepth) {
            return failObject(index, "containers nested deeper than " + std::to_string(limits_.maxDepth));
        }
        std::uint64_t entries = 0;
        std::size_t start = 0;
        if (!count(pos, entries, start)) {
            return nullptr;
        }
        const std::uint64_t refs = isDictionary ? entries * 2 : entries;
        if ((isDictionary && entries > UINT64_MAX / 2) || !fits(start, refs, refSize_)) {
            return failObject(index, "container runs past the object area");
        }
        // An estimate of a container's own memory: its object and an entry (a key and a value, or
        // an item) per reference.
        const std::size_t ownBytes =
            kContainerBytes + static_cast<std::size_t>(entries) * (isDictionary ? kEntryBytes : kItemBytes);
        if (!chargeCopy(index, ownBytes)) {
            return nullptr;
        }
        onPath_[index] = 1;
        id result = isDictionary ? dictionary(start, entries, depth) : array(start, entries, depth);
        onPath_[index] = 0;
        return result;
    }

    id array(std::size_t start, std::uint64_t count, std::size_t depth) {
        std::vector<id> items;
        items.reserve(static_cast<std::size_t>(count));
        for (std::uint64_t i = 0; i < count; ++i) {
            std::uint64_t target = 0;
            if (!reference(start + i * refSize_, target)) {
                return nullptr;
            }
            id item = object(target, depth);
            if (!item) {
                return nullptr;
            }
            items.push_back(std::move(item));
        }
        return containers_.array(std::move(items));
    }

    id dictionary(std::size_t start, std::uint64_t count, std::size_t depth) {
        NSDictionary::Entries::sequence_type entries;
        // Marks the keys met in this dictionary, so that a key object referenced again here
        // replaces the value it holds (the last one counts) instead of being copied again.
        const std::uint32_t stamp = ++dictionaries_;
        for (std::uint64_t i = 0; i < count; ++i) {
            std::uint64_t keyIndex = 0;
            std::uint64_t valueIndex = 0;
            if (!reference(start + i * refSize_, keyIndex) ||
                !reference(start + (count + i) * refSize_, valueIndex)) {
                return nullptr;
            }
            const std::uint8_t keyMarker = bytes_[offsets_[keyIndex]] >> 4;
            if (keyMarker != 0x5 && keyMarker != 0x6) {
                return failObject(keyIndex, "dictionary key is not a string");
            }
            auto key = std::dynamic_pointer_cast<NSString>(object(keyIndex, depth));
            if (!key) {
                return nullptr;
            }
            id item = object(valueIndex, depth);
            if (!item) {
                return nullptr;
            }
            // A repeated key keeps its last value, as the platform's parser does: in place when it
            // is the same key object, by entriesFrom when another object holds the same text.
            if (keyStamp_[keyIndex] == stamp) {
                entries[keyEntry_[keyIndex]].second = std::move(item);
                continue;
            }
            if (key->str().size() > kInlineKeyBytes && !chargeCopy(keyIndex, key->str().size())) {
                return nullptr;
            }
            keyStamp_[keyIndex] = stamp;
            keyEntry_[keyIndex] = static_cast<std::uint32_t>(entries.size());
            entries.emplace_back(key->str(), std::move(item));
        }
        return containers_.dictionary(entriesFrom(entries));
    }

    const std::uint8_t* bytes_;
    std::size_t size_;
    DocumentContainers containers_;
    const Limits& limits_;
    std::string reason_;

    std::size_t offsetSize_ = 0;
    std::size_t refSize_ = 0;
    std::uint64_t topObject_ = 0;
    std::size_t objectCount_ = 0;
    std::size_t objectsEnd_ = 0;
    std::vector<std::size_t> offsets_;
    // Containers on the path from the root to the object being read, to reject cycles.
    std::vector<char> onPath_;
    // Leaves already made: immutable, so one object may serve every reference to it.
    std::vector<id> leaves_;
    std::size_t nodes_ = 0;
    std::size_t nodeCap_ = 0;
    // Objects made once already (containers, and keys copied into a dictionary), and the bytes
    // their later copies took, against the cap.
    std::vector<char> built_;
    std::size_t copied_ = 0;
    std::size_t copiedCap_ = 0;
    // For each key object, the dictionary that last met it (a number per dictionary read) and
    // the place of its entry there (both fit 32 bits: the node cap keeps the counts far below).
    std::vector<std::uint32_t> keyStamp_;
    std::vector<std::uint32_t> keyEntry_;
    std::uint32_t dictionaries_ = 0;
};

} // namespace

PropertyListBinaryReader::PropertyListBinaryReader(Mutability mutability, Limits limits)
    : mutability_(mutability), limits_(limits) {}

bool PropertyListBinaryReader::looksBinary(std::string_view bytes) {
    return bytes.size() >= 6 && bytes.substr(0, 6) == "bplist";
}

ParseResult PropertyListBinaryReader::parse(std::string_view bytes) const {
    if (bytes.size() > limits_.maxBytes) {
        return {nullptr, "larger than " + std::to_string(limits_.maxBytes) + " bytes"};
    }
    return Parser(bytes, mutability_, limits_).run();
}

} // namespace plist
