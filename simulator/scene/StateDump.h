#pragma once
// The device's state as one JSON object, as `dump` prints it on one line. Everything is read
// off the screen and the hosts' objects; frames are [x, y, width, height] in points in the
// view's superview, offsets [x, y].

#include <nlohmann/json.hpp>

#include <string>

namespace sim {

class Device;

/// A single-precision coordinate or alpha as the double with the same shortest decimal text.
double points(float value);

/// The fields: time, app, tab, stopwatch, saved, alerts, launch_image.
nlohmann::ordered_json dumpState(Device& device);

/// The state as JSON text, on one line or indented by `indent`. Texts on screen are whatever the
/// add-on and the files put there: bytes that are not UTF-8 are written as U+FFFD rather than
/// ending the session.
std::string dumpText(Device& device, int indent = -1);

} // namespace sim
