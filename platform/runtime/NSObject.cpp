#include "platform/runtime/NSObject.h"

#include "platform/runtime/ObjcClass.h"

#include <memory>
#include <sstream>

NSObject::NSObject() = default;

NSObject::~NSObject() {
    if (layout_ && ivars_) {
        for (std::ptrdiff_t offset : layout_->objectOffsets) {
            std::destroy_at(reinterpret_cast<id*>(ivars_.get() + offset));
        }
    }
}

std::string NSObject::description() const {
    std::ostringstream out;
    out << "<" << (isa_ ? isa_->name : std::string("?")) << ": " << static_cast<const void*>(this) << ">";
    return out.str();
}
