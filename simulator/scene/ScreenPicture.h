#pragma once
// What the device's screen shows, handed to the renderer: the launch image SpringBoard put up,
// or the Clock application's window and alerts, at the virtual clock's moment.

#include "simulator/render/Scene.h"

namespace sim {

class Device;
struct Scene;

/// The device's screen as a scene to draw.
render::Scene screenScene(Device& device);
/// What `seen` shows, as a scene to draw (the device gives the status bar's clock and where
/// the launch image's file is).
render::Scene pictureScene(Device& device, const Scene& seen);

} // namespace sim
