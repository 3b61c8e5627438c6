#include "geo/numberformat.h"

#include <algorithm>
#include <bit>
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
// the 15 significant digits are the value's binary mantissa times a power of ten, shifted by its
// binary exponent, in exact 128-bit arithmetic; the bits shifted out tell the rounding exactly.
// An exact tie, other magnitudes and compilers without 128-bit integers go the long way (which
// decides ties as the fixed-precision conversion does). Returns false when it did not format.
bool formatTwoDecimalsFast(double value, std::string_view decimalSeparator, std::string& text)
{
#ifndef __SIZEOF_INT128__
    (void)value;
    (void)decimalSeparator;
    (void)text;
    return false;
#else
    using u128 = unsigned __int128;
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-3 && magnitude < 1e15))
        return false;
    static constexpr std::uint64_t kPowers[] = {1ull,
                                                10ull,
                                                100ull,
                                                1000ull,
                                                10000ull,
                                                100000ull,
                                                1000000ull,
                                                10000000ull,
                                                100000000ull,
                                                1000000000ull,
                                                10000000000ull,
                                                100000000000ull,
                                                1000000000000ull,
                                                10000000000000ull,
                                                100000000000000ull,
                                                1000000000000000ull,
                                                10000000000000000ull,
                                                100000000000000000ull};
    // magnitude = mantissa / 2^shift exactly, with the 53-bit mantissa of a normal double and
    // 2^(binaryExponent - 1) <= magnitude < 2^binaryExponent; shift is 3..63 here.
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const std::uint64_t mantissa =
        (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int binaryExponent = static_cast<int>(bits >> 52) - 1022;
    const int shift = 53 - binaryExponent;
    // The decimal exponent: 10^exponent <= magnitude < 10^(exponent + 1), -3..14. log10(2) is
    // about 1233 / 4096; the guess is right or one too small, and the scaled value tells which.
    int exponent = std::clamp(((binaryExponent - 1) * 1233) >> 12, -3, 14);
    u128 scaled = u128{mantissa} * kPowers[14 - exponent];
    if (exponent < 14 && (scaled >> shift) >= kPowers[15]) {
        ++exponent;
        scaled = u128{mantissa} * kPowers[14 - exponent];
    }
    const u128 half = u128{1} << (shift - 1);
    const u128 dropped = scaled & ((u128{1} << shift) - 1);
    if (dropped == half)
        return false;
    // 15 significant digits (10^15 when they round up to the next decade).
    const std::uint64_t digits =
        static_cast<std::uint64_t>(scaled >> shift) + (dropped > half ? 1 : 0);

    // Hundredths, halves away from zero on the digit after them (the sign comes afterwards).
    std::uint64_t hundredths = 0;
    if (exponent >= 12) {
        hundredths = digits * kPowers[exponent - 12];
    } else {
        const std::uint64_t divisor = kPowers[12 - exponent];
        hundredths = digits / divisor;
        if ((digits % divisor) * 2 >= divisor)
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
    text.reserve(static_cast<std::size_t>(std::end(whole) - first) + decimalSeparator.size() + 2);
    text.append(first, std::end(whole));
    text.append(decimalSeparator);
    text.append(decimals, 2);
    return true;
#endif
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

std::string formatDecimals(double value, int decimals, std::string_view decimalSeparator)
{
    decimals = std::clamp(decimals, 0, 17);
    if (!std::isfinite(value))
        value = 0.0;
    // 1e308 in fixed notation needs 309 digits before the point.
    char text[340];
    const auto [end, ec] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (ec != std::errc())
        return "0";
    std::string_view written(text, static_cast<std::size_t>(end - text));
    if (written.front() == '-' && written.find_first_not_of("-0.") == std::string_view::npos)
        written.remove_prefix(1);
    const std::size_t point = written.find('.');
    if (point == std::string_view::npos)
        return std::string(written);
    std::string out(written.substr(0, point));
    out.append(decimalSeparator);
    out.append(written.substr(point + 1));
    return out;
}

std::string formatCourse(double degrees, int decimals, std::string_view decimalSeparator)
{
    const std::string plain = formatDecimals(degrees, decimals, ".");
    double shown = 0.0;
    std::from_chars(plain.data(), plain.data() + plain.size(), shown);
    return formatDecimals(shown >= 360.0 ? 0.0 : degrees, decimals, decimalSeparator);
}

} // namespace gyrena
