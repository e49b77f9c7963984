#pragma once
// Draws a whole screen: the launch image while an application starts, or the application's
// window with the tab bar of its tab bar controller, the status bar strip at the top, and the
// front alert over a dimmed screen.

#include "simulator/render/ImagePainter.h"
#include "simulator/render/Scene.h"
#include "simulator/render/ViewPainter.h"

#include <cairo.h>

class UIAlertView;
class UITabBarController;

namespace render {

/// Paints scenes onto a cairo context whose unit is the point.
class ScreenPainter {
  public:
    /// Paints with images of its own, read at their first use.
    explicit ScreenPainter(cairo_t* cr) : cr_(cr), images_(&ownImages_) {}
    /// Paints with `images`, whose decoded files outlive this painter: a window that paints
    /// every frame reads each image file once, not once a frame.
    ScreenPainter(cairo_t* cr, ImagePainter& images) : cr_(cr), images_(&images) {}
    ScreenPainter(const ScreenPainter&) = delete;
    ScreenPainter& operator=(const ScreenPainter&) = delete;

    /// Draws `scene` over the whole screen.
    void paint(const Scene& scene);
    /// Notes every view the next paints draw in `record` (nil to stop).
    void recordInto(std::vector<PaintedView>* record) { record_ = record; }

  private:
    void paintLaunchScreen(const Scene& scene);
    void paintHomeScreen(const Scene& scene);
    void paintStatusBar(const Scene& scene);
    void paintTabBar(UITabBarController& tabs, CGRect bar);
    void paintAlert(UIAlertView& alert, const Scene& scene);

    cairo_t* cr_;
    ImagePainter ownImages_;
    ImagePainter* images_;
    std::vector<PaintedView>* record_ = nullptr;
};

} // namespace render
