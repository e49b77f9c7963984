#pragma once
// Colours: red, green, blue and alpha in 0..1, clamped as the phone did before iOS 10. The named
// colours remember their name, so screen dumps can say "gray" rather than four numbers.

#include "platform/runtime/NSObject.h"

#include <memory>
#include <optional>
#include <string>

/// A colour value.
class UIColor : public NSObject {
  public:
    static constexpr const char* kClassName = "UIColor";
    using Super = NSObject;

    UIColor(float red, float green, float blue, float alpha, std::optional<std::string> name = std::nullopt);

    /// `colorWithWhite:alpha:`.
    static std::shared_ptr<UIColor> colorWithWhiteAlpha(float white, float alpha);
    /// `colorWithRed:green:blue:alpha:`.
    static std::shared_ptr<UIColor> colorWithRedGreenBlueAlpha(float red, float green, float blue,
                                                               float alpha);
    /// White 0, alpha 0.
    static std::shared_ptr<UIColor> clearColor();
    static std::shared_ptr<UIColor> blackColor();
    /// White 1/3.
    static std::shared_ptr<UIColor> darkGrayColor();
    /// White 0.5.
    static std::shared_ptr<UIColor> grayColor();
    /// White 2/3.
    static std::shared_ptr<UIColor> lightGrayColor();
    static std::shared_ptr<UIColor> whiteColor();
    static std::shared_ptr<UIColor> redColor();
    static std::shared_ptr<UIColor> greenColor();
    static std::shared_ptr<UIColor> blueColor();

    [[nodiscard]] float red() const { return red_; }
    [[nodiscard]] float green() const { return green_; }
    [[nodiscard]] float blue() const { return blue_; }
    [[nodiscard]] float alpha() const { return alpha_; }
    /// The platform's name for a named colour ("gray", "clear"...), nullopt otherwise.
    [[nodiscard]] const std::optional<std::string>& name() const { return name_; }
    /// A copy with another alpha (`colorWithAlphaComponent:`).
    [[nodiscard]] std::shared_ptr<UIColor> colorWithAlphaComponent(float alpha) const;
    /// Equal when all four components are.
    [[nodiscard]] bool isEqual(const NSObject& other) const override;
    /// "gray" for named colours, else "rgba(r, g, b, a)".
    [[nodiscard]] std::string description() const override;

  private:
    float red_;
    float green_;
    float blue_;
    float alpha_;
    std::optional<std::string> name_;
};

/// True when both are nil or both are equal colours.
bool sameColor(const std::shared_ptr<UIColor>& a, const std::shared_ptr<UIColor>& b);
