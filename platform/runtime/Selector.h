#pragma once
// Selectors are interned method names: two selectors are equal exactly when their names are.

#include <functional>
#include <string>
#include <string_view>

/// A method name, interned process-wide as on the phone.
class SEL {
  public:
    SEL() = default;
    /// The selector's text, or "" for the null selector.
    [[nodiscard]] const std::string& name() const;
    explicit operator bool() const { return name_ != nullptr; }
    friend bool operator==(SEL a, SEL b) { return a.name_ == b.name_; }
    [[nodiscard]] std::size_t hash() const { return std::hash<const void*>{}(name_); }

  private:
    explicit SEL(const std::string* name) : name_(name) {}
    const std::string* name_ = nullptr;
    friend SEL sel_registerName(std::string_view name);
};

/// Interns a selector name and returns its selector.
SEL sel_registerName(std::string_view name);
/// The text of a selector.
const char* sel_getName(SEL sel);

template <>
struct std::hash<SEL> {
    std::size_t operator()(SEL s) const noexcept { return s.hash(); }
};
