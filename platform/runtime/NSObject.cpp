#include "platform/runtime/NSObject.h"

#include "platform/runtime/ObjcClass.h"

#include <memory>
#include <sstream>

namespace rt {

IvarBlock::IvarBlock(std::shared_ptr<const IvarLayout> ivarLayout)
    : layout(std::move(ivarLayout)), bytes(std::make_unique<std::byte[]>(layout->size)) {
    for (std::ptrdiff_t offset : layout->objectOffsets) {
        std::construct_at(reinterpret_cast<id*>(bytes.get() + offset));
    }
}

IvarBlock::~IvarBlock() {
    for (std::ptrdiff_t offset : layout->objectOffsets) {
        std::destroy_at(reinterpret_cast<id*>(bytes.get() + offset));
    }
}

} // namespace rt

NSObject::NSObject() = default;

NSObject::~NSObject() = default;

std::byte* NSObject::ivarBase() const {
    return ivars_ ? ivars_->bytes.get() : nullptr;
}

rt::ValueKind NSObject::valueKind() const {
    return rt::ValueKind::Other;
}

std::string NSObject::description() const {
    std::ostringstream out;
    out << "<" << (isa_ ? isa_->name : std::string("?")) << ": " << static_cast<const void*>(this) << ">";
    return out.str();
}
