#include "hosts/clock/StopwatchTimeText.h"

#include <cmath>
#include <cstdio>

namespace clk {

std::string stopwatchTimeText(double seconds) {
    if (!(seconds > 0)) {
        seconds = 0;
    }
    // Whole tenths, with a little slack so that 0.3 (0.29999...) shows as 0.3.
    auto tenths = static_cast<long long>(std::floor(seconds * 10 + 1e-6));
    long long hours = tenths / 36000;
    int minutes = static_cast<int>(tenths / 600 % 60);
    int secs = static_cast<int>(tenths / 10 % 60);
    int tenth = static_cast<int>(tenths % 10);
    char text[48];
    if (hours > 0) {
        std::snprintf(text, sizeof text, "%lld:%02d:%02d.%d", hours, minutes, secs, tenth);
    } else {
        std::snprintf(text, sizeof text, "%02d:%02d.%d", minutes, secs, tenth);
    }
    return text;
}

} // namespace clk
