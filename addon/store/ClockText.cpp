#include "addon/store/ClockText.h"

#include "platform/foundation/NumberScanning.h"
#include "platform/foundation/StringFormat.h"

#include <cmath>

namespace lv {
namespace {

// The text before the first "." of a printed number.
std::string beforePoint(const std::string& printed) {
    return printed.substr(0, printed.find('.'));
}

} // namespace

// Each step prints a value and reads text back, as the display has always done, so its
// roundings are part of the result: the single-precision read of step 1 decides ties (a total of
// 0.15 is 0.150000006 and shows 0.2; 10.15 is 10.1499996 and shows 10.1), and "%f" rounds to six
// decimals before the whole minutes and hours are cut. Every single-precision operation is its
// own statement so that no wider intermediate or fused multiply-add changes a result.
std::string clockText(float seconds) {
    // 1. Tenths rounding; every later step works on x.
    const float x = ns::scanFloat(ns::format("%.1f", seconds));
    // 2. Whole minutes.
    const float minutesQuotient = x / 60.0F;
    const float m = ns::scanFloat(beforePoint(ns::format("%f", minutesQuotient)));
    // 3. Hours. Whole hours of a large float do not fit an int: they are kept as a double,
    // which holds every whole number the printed quotient can show exactly, so that no step
    // overflows (a total of 1.3e11 s has 36 million hours, FLT_MAX about 1e35).
    const float hoursQuotient = m / 60.0F;
    const double h = std::trunc(ns::scanDouble(beforePoint(ns::format("%f", hoursQuotient))));
    // 4. Minutes within the hour.
    const float hourMinutes = static_cast<float>(60.0 * h);
    const float mm = m - hourMinutes;
    // 5. Seconds within the minute.
    const float minuteSeconds = 60.0F * m;
    const float s = x - minuteSeconds;
    // 6. Left to right. The comparisons are strict: no minutes field when mm is 0 (even after
    // hours), and no "0" before seconds of exactly 0.
    std::string text;
    if (h >= 1) {
        text += ns::format("%.0f:", h);
    }
    const bool padSeconds = s > 0 && s < 10;
    if (mm > 0 && mm < 10) {
        text += ns::format("0%.f:", mm);
        if (padSeconds) {
            text += "0";
        }
    } else if (mm > 9) {
        text += ns::format("%.f:", mm);
        if (padSeconds) {
            text += "0";
        }
    }
    text += ns::format("%.1f", s);
    return text;
}

std::string totalText(float seconds) {
    return "Time: " + clockText(seconds);
}

std::string lapText(float seconds) {
    return clockText(seconds);
}

} // namespace lv
