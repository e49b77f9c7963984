#include "addon/store/ClockText.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <system_error>

namespace lv {
namespace {

// printf's "%.<precision>f" text of a value. std::to_chars with a precision promises exactly the
// text printf gives in the "C" locale (correctly rounded, ties to even), and makes it without a
// format to interpret: the display's steps print and read back several numbers per time shown.
class Printed {
  public:
    Printed(double value, int precision) {
        const std::to_chars_result result =
            std::to_chars(text_, text_ + sizeof text_, value, std::chars_format::fixed, precision);
        // A float's whole part has at most 39 digits, so the buffer always suffices.
        size_ = result.ec == std::errc() ? static_cast<std::size_t>(result.ptr - text_) : 0;
    }

    [[nodiscard]] std::string_view text() const { return {text_, size_}; }
    // The text before the first ".".
    [[nodiscard]] std::string_view wholePart() const { return text().substr(0, text().find('.')); }

  private:
    char text_[64];
    std::size_t size_;
};

std::string computedClockText(float seconds);

// A printed finite number read back as the platform's scanner reads it: the text is a sign,
// digits and a point, all of which the scanner takes, so this is the correctly rounded double
// of the text, as strtod gives it.
double readBack(std::string_view printed) {
    double value = 0;
    const std::from_chars_result result =
        std::from_chars(printed.data(), printed.data() + printed.size(), value);
    return result.ec == std::errc() ? value : 0.0;
}

// The display's steps are a pure function of the time's bits, and the times shown together
// repeat (laps of a saved file come in tenths of a second): the last text made for each of a
// fixed number of places is kept, keyed by the exact bits of the time.
class ClockTextCache {
  public:
    static ClockTextCache& forThisThread() {
        thread_local ClockTextCache cache;
        return cache;
    }

    std::string text(float seconds) {
        const auto bits = std::bit_cast<std::uint32_t>(seconds);
        Entry& entry = entries_[(bits * 0x9E3779B1u) >> (32 - kPlaceBits)];
        if (!entry.used || entry.bits != bits) {
            entry = Entry{bits, true, computedClockText(seconds)};
        }
        return entry.text;
    }

  private:
    struct Entry {
        std::uint32_t bits = 0;
        bool used = false;
        std::string text;
    };

    static constexpr int kPlaceBits = 10;
    std::array<Entry, std::size_t{1} << kPlaceBits> entries_;
};

// Each step prints a value and reads text back, as the display has always done, so its
// roundings are part of the result: the single-precision read of step 1 decides ties (a total of
// 0.15 is 0.150000006 and shows 0.2; 10.15 is 10.1499996 and shows 10.1), and "%f" rounds to six
// decimals before the whole minutes and hours are cut. Every single-precision operation is its
// own statement so that no wider intermediate or fused multiply-add changes a result.
std::string computedClockText(float seconds) {
    // 1. Tenths rounding; every later step works on x. An infinity or a NaN prints as "inf",
    // "-inf", "nan" or "-nan", in which the scanner finds no number: 0.
    const float x = std::isfinite(seconds) ? static_cast<float>(readBack(Printed(seconds, 1).text())) : 0.0F;
    // 2. Whole minutes.
    const float minutesQuotient = x / 60.0F;
    const float m = static_cast<float>(readBack(Printed(minutesQuotient, 6).wholePart()));
    // 3. Hours. Whole hours of a large float do not fit an int: they are kept as a double,
    // which holds every whole number the printed quotient can show exactly, so that no step
    // overflows (a total of 1.3e11 s has 36 million hours, FLT_MAX about 1e35).
    const float hoursQuotient = m / 60.0F;
    const double h = std::trunc(readBack(Printed(hoursQuotient, 6).wholePart()));
    // 4. Minutes within the hour.
    const float hourMinutes = static_cast<float>(60.0 * h);
    const float mm = m - hourMinutes;
    // 5. Seconds within the minute.
    const float minuteSeconds = 60.0F * m;
    const float s = x - minuteSeconds;
    // 6. Left to right. The comparisons are strict: no minutes field when mm is 0 (even after
    // hours), and no "0" before seconds of exactly 0.
    std::string text;
    text.reserve(16);
    if (h >= 1) {
        text += Printed(h, 0).text();
        text += ':';
    }
    const bool padSeconds = s > 0 && s < 10;
    if (mm > 0 && mm < 10) {
        text += '0';
        text += Printed(mm, 0).text();
        text += ':';
        if (padSeconds) {
            text += '0';
        }
    } else if (mm > 9) {
        text += Printed(mm, 0).text();
        text += ':';
        if (padSeconds) {
            text += '0';
        }
    }
    text += Printed(s, 1).text();
    return text;
}

} // namespace

std::string clockText(float seconds) {
    return ClockTextCache::forThisThread().text(seconds);
}

std::string totalText(float seconds) {
    return "Time: " + clockText(seconds);
}

std::string lapText(float seconds) {
    return clockText(seconds);
}

} // namespace lv
