#include "platform/uikit/UIColor.h"

#include "platform/runtime/Runtime.h"

#include <algorithm>
#include <cstdio>

namespace {

float clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

std::shared_ptr<UIColor> named(float white, const char* name) {
    return rt::make<UIColor>(white, white, white, 1.0f, name);
}

std::shared_ptr<UIColor> namedRgb(float r, float g, float b, const char* name) {
    return rt::make<UIColor>(r, g, b, 1.0f, name);
}

} // namespace

UIColor::UIColor(float red, float green, float blue, float alpha, std::optional<std::string> name)
    : red_(clamp01(red)), green_(clamp01(green)), blue_(clamp01(blue)), alpha_(clamp01(alpha)),
      name_(std::move(name)) {}

std::shared_ptr<UIColor> UIColor::colorWithWhiteAlpha(float white, float alpha) {
    return rt::make<UIColor>(white, white, white, alpha);
}

std::shared_ptr<UIColor> UIColor::colorWithRedGreenBlueAlpha(float red, float green, float blue,
                                                             float alpha) {
    return rt::make<UIColor>(red, green, blue, alpha);
}

std::shared_ptr<UIColor> UIColor::clearColor() {
    return rt::make<UIColor>(0.0f, 0.0f, 0.0f, 0.0f, "clear");
}

std::shared_ptr<UIColor> UIColor::blackColor() {
    return named(0.0f, "black");
}

std::shared_ptr<UIColor> UIColor::darkGrayColor() {
    return named(1.0f / 3.0f, "darkGray");
}

std::shared_ptr<UIColor> UIColor::grayColor() {
    return named(0.5f, "gray");
}

std::shared_ptr<UIColor> UIColor::lightGrayColor() {
    return named(2.0f / 3.0f, "lightGray");
}

std::shared_ptr<UIColor> UIColor::whiteColor() {
    return named(1.0f, "white");
}

std::shared_ptr<UIColor> UIColor::redColor() {
    return namedRgb(1, 0, 0, "red");
}

std::shared_ptr<UIColor> UIColor::greenColor() {
    return namedRgb(0, 1, 0, "green");
}

std::shared_ptr<UIColor> UIColor::blueColor() {
    return namedRgb(0, 0, 1, "blue");
}

std::shared_ptr<UIColor> UIColor::colorWithAlphaComponent(float alpha) const {
    return rt::make<UIColor>(red_, green_, blue_, alpha);
}

bool UIColor::isEqual(const NSObject& other) const {
    const auto* color = dynamic_cast<const UIColor*>(&other);
    return color != nullptr && color->red_ == red_ && color->green_ == green_ && color->blue_ == blue_ &&
           color->alpha_ == alpha_;
}

std::string UIColor::description() const {
    if (name_) {
        return *name_;
    }
    char text[96];
    std::snprintf(text, sizeof text, "rgba(%g, %g, %g, %g)", red_, green_, blue_, alpha_);
    return text;
}

bool sameColor(const std::shared_ptr<UIColor>& a, const std::shared_ptr<UIColor>& b) {
    if (!a || !b) {
        return !a && !b;
    }
    return a->isEqual(*b);
}
