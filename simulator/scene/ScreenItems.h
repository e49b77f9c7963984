#pragma once
// The visible pieces of a view tree, each as a short text at its place on screen: labels by
// their text, buttons as [Title], text fields, table section headers and navigation bars.

#include "platform/uikit/Geometry.h"

#include <memory>
#include <string>
#include <vector>

namespace sim {

struct Scene;

/// One visible piece of the screen: its frame in window coordinates, its text and where the
/// text sits in the frame.
struct ScreenItem {
    enum class Align { Left, Center, Right };
    CGFloat x = 0;
    CGFloat y = 0;
    CGFloat width = 0;
    std::string text;
    Align align = Align::Left;
};

/// The pieces of the scene a person sees: what is hidden, too faint, clipped away or covered is
/// left out; each piece stands at the part of its view that shows.
std::vector<ScreenItem> screenItems(const Scene& scene);

} // namespace sim
