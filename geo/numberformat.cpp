#include "geo/numberformat.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <string>

namespace gyrena {

namespace {

// Significant digits a person reads in a double: beyond these, a binary value such as
// 1.00499999999999989... is taken as the 1.005 that was meant.
constexpr int kReadableDigits = 15;

// The common case of formatTwoDecimals without any text conversion: for 1e-3 <= |value| < 1e15
// the 15 significant digits are the value scaled by a power of ten in extended precision and
// rounded to a whole number. The scaled value is off by less than 1e-4 of a unit there, so the
// whole number is exact unless the fraction lies within 1e-3 of a half; those values, the
// others outside the range and platforms without a 64-bit extended mantissa go the long way.
// Returns false when it did not format the value.
bool formatTwoDecimalsFast(double value, std::string_view decimalSeparator, std::string& text)
{
    if constexpr (std::numeric_limits<long double>::digits < 64) {
        return false;
    } else {
        const double magnitude = std::fabs(value);
        if (!(magnitude >= 1e-3 && magnitude < 1e15))
            return false;
        static constexpr double kDecades[] = {1e-3, 1e-2, 1e-1, 1e0, 1e1,  1e2,  1e3,  1e4,  1e5,
                                              1e6,  1e7,  1e8,  1e9, 1e10, 1e11, 1e12, 1e13, 1e14};
        static constexpr long double kPowers[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,
                                                  1e6L,  1e7L,  1e8L,  1e9L,  1e10L, 1e11L,
                                                  1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L};
        // The decimal exponent: 10^exponent <= magnitude < 10^(exponent + 1), -3..14; the
        // scaled value is checked against it because the smallest decades are not exact.
        int exponent = 14;
        while (exponent > -3 && magnitude < kDecades[exponent + 3])
            --exponent;
        long double scaled = static_cast<long double>(magnitude) * kPowers[14 - exponent];
        if (scaled >= 1e15L && exponent < 14)
            scaled = static_cast<long double>(magnitude) * kPowers[14 - ++exponent];
        else if (scaled < 1e14L && exponent > -3)
            scaled = static_cast<long double>(magnitude) * kPowers[14 - --exponent];
        std::uint64_t digits = static_cast<std::uint64_t>(scaled); // 15 significant digits
        const long double fraction = scaled - static_cast<long double>(digits);
        if (std::fabs(fraction - 0.5L) < 1e-3L)
            return false;
        if (fraction > 0.5L)
            ++digits;

        // Hundredths, halves away from zero on the digit after them (the sign comes afterwards).
        std::uint64_t hundredths = 0;
        if (exponent >= 12) {
            hundredths = digits * static_cast<std::uint64_t>(kPowers[exponent - 12]);
        } else {
            const auto dropped = static_cast<std::uint64_t>(kPowers[12 - exponent]);
            hundredths = digits / dropped;
            if ((digits % dropped) * 2 >= dropped)
                ++hundredths;
        }

        char whole[24];
        char* first = std::end(whole);
        for (std::uint64_t w = hundredths / 100; w != 0; w /= 10)
            *--first = static_cast<char>('0' + w % 10);
        if (value < 0 && hundredths != 0)
            *--first = '-';
        const char decimals[2] = {static_cast<char>('0' + hundredths / 10 % 10),
                                  static_cast<char>('0' + hundredths % 10)};
        text.reserve(static_cast<std::size_t>(std::end(whole) - first) + decimalSeparator.size() +
                     2);
        text.append(first, std::end(whole));
        text.append(decimalSeparator);
        text.append(decimals, 2);
        return true;
    }
}

} // namespace

std::string formatTwoDecimals(double value, std::string_view decimalSeparator)
{
    if (!std::isfinite(value))
        return {};
    if (std::string text; formatTwoDecimalsFast(value, decimalSeparator, text))
        return text;

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
