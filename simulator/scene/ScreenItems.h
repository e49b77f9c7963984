#pragma once
// The visible pieces of a view tree, each as a short text at its place on screen: labels by
// their text, buttons as [Title], text fields, table section headers and navigation bars.

#include "platform/uikit/Geometry.h"

#include <memory>
#include <string>
#include <vector>

class UIView;

namespace sim {

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

/// The visible pieces of `root`'s tree: hidden and transparent views, what lies outside the root
/// or outside a clipping ancestor, and what a table in front covers are left out.
std::vector<ScreenItem> screenItems(const std::shared_ptr<UIView>& root);

} // namespace sim
