#include "platform/runtime/Selector.h"

#include <memory>
#include <mutex>
#include <unordered_map>

namespace {
struct SelectorTable {
    std::mutex lock;
    std::unordered_map<std::string_view, std::unique_ptr<std::string>> names;
};

SelectorTable& table() {
    static SelectorTable instance;
    return instance;
}

const std::string& emptyName() {
    static const std::string empty;
    return empty;
}
} // namespace

const std::string& SEL::name() const {
    return name_ ? *name_ : emptyName();
}

SEL sel_registerName(std::string_view name) {
    auto& t = table();
    std::scoped_lock guard(t.lock);
    auto found = t.names.find(name);
    if (found != t.names.end()) {
        return SEL(found->second.get());
    }
    auto stored = std::make_unique<std::string>(name);
    const std::string* raw = stored.get();
    t.names.emplace(std::string_view(*raw), std::move(stored));
    return SEL(raw);
}

const char* sel_getName(SEL sel) {
    return sel.name().c_str();
}
