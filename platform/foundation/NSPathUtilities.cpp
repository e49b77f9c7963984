#include "platform/foundation/NSPathUtilities.h"

#include "platform/runtime/NSException.h"

namespace ns {
namespace {
HomeDirectory::Scope*& innermost() {
    static HomeDirectory::Scope* scope = nullptr;
    return scope;
}
} // namespace

HomeDirectory::Scope::Scope(std::string folder) : folder_(std::move(folder)), previous_(innermost()) {
    innermost() = this;
}

HomeDirectory::Scope::~Scope() {
    innermost() = previous_;
}

bool HomeDirectory::isConfigured() {
    return innermost() != nullptr;
}

} // namespace ns

std::string NSHomeDirectory() {
    if (const ns::HomeDirectory::Scope* scope = ns::innermost()) {
        return scope->folder();
    }
    throw NSException(NSInternalInconsistencyException,
                      "NSHomeDirectory(): the device has no home folder configured");
}
