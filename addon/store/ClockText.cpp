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

// Below this size every number the steps print has a whole part and a count of tenths or
// millionths that fit 64-bit integers, and the texts can be made from those integers.
constexpr float kDirectLimit = 1e12F;

void appendDigits(std::string& out, std::uint64_t value) {
    char digits[24];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, end.ptr);
}

// printf's "%.1f" text of a float. Ten times a float is exact in a double, so rounding it to a
// whole number (to nearest, ties to even, as printf rounds the exact value) gives the tenths
// printed; the sign is the value's own, so -0.04 prints as "-0.0".
void appendTenths(std::string& out, float value) {
    const auto tenths =
        static_cast<std::uint64_t>(std::fabs(std::nearbyint(static_cast<double>(value) * 10.0)));
    if (std::signbit(value)) {
        out += '-';
    }
    appendDigits(out, tenths / 10);
    out += '.';
    out += static_cast<char>('0' + tenths % 10);
}

// The scanner's reading of the text before the point of printf's "%f" text of a float: a
// million times a float is exact in a double, so its rounding gives the millionths printed,
// and their whole part is cut toward zero; "-0" reads as -0.
double printedWholePart(float value) {
    const auto micros = static_cast<std::int64_t>(std::nearbyint(static_cast<double>(value) * 1e6));
    const std::int64_t whole = micros / 1000000;
    return whole == 0 ? std::copysign(0.0, static_cast<double>(value)) : static_cast<double>(whole);
}

// The steps of computedClockText for a finite time below kDirectLimit, with each printed and
// scanned text replaced by the integers it shows (the tests check both against printf and the
// scanner). Step 1: "%.1f" read back is the nearest double of tenths / 10, which the division
// of the exact whole number of tenths by 10 gives.
void directClockText(float seconds, std::string& text) {
    const double tenths = std::nearbyint(static_cast<double>(seconds) * 10.0);
    const float x = static_cast<float>(std::copysign(tenths / 10.0, static_cast<double>(seconds)));
    const float minutesQuotient = x / 60.0F;
    const float m = static_cast<float>(printedWholePart(minutesQuotient));
    const float hoursQuotient = m / 60.0F;
    const double h = printedWholePart(hoursQuotient);
    const float hourMinutes = static_cast<float>(60.0 * h);
    const float mm = m - hourMinutes;
    const float minuteSeconds = 60.0F * m;
    const float s = x - minuteSeconds;
    // Whole numbers print as their digits ("%.0f", "%.f").
    if (h >= 1) {
        appendDigits(text, static_cast<std::uint64_t>(h));
        text += ':';
    }
    const bool padSeconds = s > 0 && s < 10;
    if (mm > 0 && mm < 10) {
        text += '0';
        appendDigits(text, static_cast<std::uint64_t>(mm));
        text += ':';
        if (padSeconds) {
            text += '0';
        }
    } else if (mm > 9) {
        appendDigits(text, static_cast<std::uint64_t>(mm));
        text += ':';
        if (padSeconds) {
            text += '0';
        }
    }
    appendTenths(text, s);
}

// Each step prints a value and reads text back, as the display has always done, so its
// roundings are part of the result: the single-precision read of step 1 decides ties (a total of
// 0.15 is 0.150000006 and shows 0.2; 10.15 is 10.1499996 and shows 10.1), and "%f" rounds to six
// decimals before the whole minutes and hours are cut. Every single-precision operation is its
// own statement so that no wider intermediate or fused multiply-add changes a result.
std::string computedClockText(float seconds) {
    std::string text;
    text.reserve(16);
    if (std::isfinite(seconds) && std::fabs(seconds) < kDirectLimit) {
        directClockText(seconds, text);
        return text;
    }
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
