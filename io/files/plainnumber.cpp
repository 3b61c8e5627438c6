#include "io/files/plainnumber.h"

#include "geo/numberformat.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace gyrena {

std::string formatFixed(double value, int decimals)
{
    return formatDecimals(value, decimals, ".");
}

std::string formatCourse(double degrees, int decimals)
{
    return formatCourse(degrees, decimals, ".");
}

double wrappedLongitude(double degrees)
{
    if (!std::isfinite(degrees))
        return 0.0;
    double wrapped = std::fmod(degrees + 180.0, 360.0);
    if (wrapped < 0.0)
        wrapped += 360.0;
    wrapped -= 180.0;
    // fmod is exact, but the additions around it may round up to the top of the range.
    return wrapped >= 180.0 ? -180.0 : wrapped;
}

std::string formatLongitude(double degrees, int decimals)
{
    const double wrapped = wrappedLongitude(degrees);
    std::string text = formatFixed(wrapped, decimals);
    double written = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), written);
    return written >= 180.0 ? formatFixed(-180.0, decimals) : text;
}

} // namespace gyrena

namespace gyrena {

std::string formatShortest(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return "0";
    char text[340];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    if (ec != std::errc())
        return "0";
    const auto digits = std::count_if(text, end, [](char c) { return c >= '0' && c <= '9'; });
    if (digits <= kMaxDecimalDigits || std::fabs(value) >= 1.0)
        return std::string(text, end);
    // Nearer zero than 1e-8 with many digits: rounded to the digits a validator takes.
    const auto [rounded, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, kMaxDecimalDigits);
    std::string out(text, error == std::errc() ? rounded : text);
    out.erase(out.find_last_not_of('0') + 1);
    if (out.back() == '.')
        out.pop_back();
    return out == "0" || out == "-0" ? "0" : out;
}

} // namespace gyrena
