#include "geo/numberformat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace gyrena {

namespace {

// Significant digits a person reads in a double: beyond these, a binary value such as
// 1.00499999999999989... is taken as the 1.005 that was meant.
constexpr int kReadableDigits = 15;

} // namespace

std::string formatTwoDecimals(double value, std::string_view decimalSeparator)
{
    if (!std::isfinite(value))
        return {};

    // "d.dddddddddddddde+XX": the value to 15 significant digits, locale-free.
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                         std::chars_format::scientific, kReadableDigits - 1);
    if (ec != std::errc())
        return {};
    const std::string_view scientific(buffer, static_cast<std::size_t>(end - buffer));
    const std::size_t exponentMark = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(0, exponentMark)) {
        if (c != '.')
            digits.push_back(c);
    }
    const int exponent = std::atoi(std::string(scientific.substr(exponentMark + 1)).c_str());

    // Hundredths: digits[0 .. exponent + 2] form the whole number of hundredths, the digit after
    // them decides the rounding (halves away from zero, the sign is applied afterwards).
    const int lastKept = exponent + 2;
    std::string hundredths;
    for (int i = 0; i <= lastKept; ++i)
        hundredths.push_back(i < static_cast<int>(digits.size()) ? digits[i] : '0');
    const int roundingIndex = lastKept + 1;
    const bool roundUp = roundingIndex >= 0 && roundingIndex < static_cast<int>(digits.size()) &&
                         digits[static_cast<std::size_t>(roundingIndex)] >= '5';
    if (roundUp) {
        int i = static_cast<int>(hundredths.size()) - 1;
        for (; i >= 0 && hundredths[static_cast<std::size_t>(i)] == '9'; --i)
            hundredths[static_cast<std::size_t>(i)] = '0';
        if (i >= 0)
            ++hundredths[static_cast<std::size_t>(i)];
        else
            hundredths.insert(hundredths.begin(), '1');
    }
    const auto firstNonZero = hundredths.find_first_not_of('0');
    const bool isZero = firstNonZero == std::string::npos;
    hundredths = isZero ? std::string() : hundredths.substr(firstNonZero);
    while (hundredths.size() < 2)
        hundredths.insert(hundredths.begin(), '0');

    std::string text;
    if (value < 0 && !isZero)
        text.push_back('-');
    text.append(hundredths, 0, hundredths.size() - 2);
    text.append(decimalSeparator);
    text.append(hundredths, hundredths.size() - 2, 2);
    return text;
}

std::string formatPlainNumber(double value)
{
    if (!std::isfinite(value))
        return {};
    if (value == 0.0)
        return "0"; // also for -0
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc())
        return {};
    return std::string(buffer, end);
}

} // namespace gyrena
