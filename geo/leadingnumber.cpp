#include "geo/leadingnumber.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace gyrena {

namespace {

bool isSkippedBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool isDecimalDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c)
{
    return isDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Walks a text byte by byte with the blanks of the rule skipped wherever they stand.
class Cursor
{
public:
    explicit Cursor(std::string_view text) : m_text(text) { skipBlanks(); }

    bool atEnd() const { return m_pos >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_pos]; }
    std::size_t position() const { return m_pos; }
    void advance()
    {
        ++m_pos;
        skipBlanks();
    }
    // The position just after the last byte taken, before any blanks that follow it.
    std::size_t endOfLastTaken() const { return m_lastTakenEnd; }
    void take()
    {
        m_lastTakenEnd = m_pos + 1;
        advance();
    }

private:
    void skipBlanks()
    {
        while (!atEnd() && isSkippedBlank(m_text[m_pos]))
            ++m_pos;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    std::size_t m_lastTakenEnd = 0;
};

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Correctly rounded value of a string of hexadecimal digits (no leading zeros needed).
double hexDigitsValue(const std::string& digits)
{
    if (digits.empty())
        return 0.0;
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                     std::chars_format::hex);
    if (ec == std::errc::result_out_of_range)
        return kInfinity;
    return value;
}

// Octal digits regrouped as hexadecimal digits, so that one exact conversion serves both.
std::string octalToHexDigits(const std::string& octal)
{
    std::string hex;
    unsigned bits = 0;
    int bitCount = 0;
    // Regroup from the least significant end: three bits in, four bits out.
    for (auto it = octal.rbegin(); it != octal.rend(); ++it) {
        bits |= static_cast<unsigned>(*it - '0') << bitCount;
        bitCount += 3;
        while (bitCount >= 4) {
            hex.push_back("0123456789abcdef"[bits & 0xF]);
            bits >>= 4;
            bitCount -= 4;
        }
    }
    if (bitCount > 0 && bits != 0)
        hex.push_back("0123456789abcdef"[bits & 0xF]);
    std::string result(hex.rbegin(), hex.rend());
    const auto firstNonZero = result.find_first_not_of('0');
    return firstNonZero == std::string::npos ? std::string() : result.substr(firstNonZero);
}

// A "&H" or "&O" whole number; the cursor stands on the letter after "&".
LeadingNumber readBasedNumber(Cursor& cursor, bool negative)
{
    const bool hex = upper(cursor.peek()) == 'H';
    cursor.advance();
    std::string digits;
    while (hex ? isHexDigit(cursor.peek()) : isOctalDigit(cursor.peek())) {
        digits.push_back(cursor.peek());
        cursor.take();
    }
    LeadingNumber result;
    if (digits.empty())
        return result;
    const auto firstNonZero = digits.find_first_not_of('0');
    digits = firstNonZero == std::string::npos ? std::string() : digits.substr(firstNonZero);
    const double magnitude = hexDigitsValue(hex ? digits : octalToHexDigits(digits));
    result.value = negative ? -magnitude : magnitude;
    result.found = true;
    result.consumed = cursor.endOfLastTaken();
    return result;
}

// Adds without leaving the range of a 64-bit integer, so that absurdly long digit strings or
// exponents only push the value towards 0 or infinity.
std::int64_t saturatingAdd(std::int64_t a, std::int64_t b)
{
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<std::int64_t>::max()
                     : std::numeric_limits<std::int64_t>::min();
    return sum;
}

} // namespace

LeadingNumber readLeadingNumber(std::string_view text)
{
    Cursor cursor(text);
    bool negative = false;
    if (cursor.peek() == '+' || cursor.peek() == '-') {
        negative = cursor.peek() == '-';
        cursor.advance();
    }

    if (cursor.peek() == '&') {
        Cursor afterAmpersand = cursor;
        afterAmpersand.advance();
        const char letter = upper(afterAmpersand.peek());
        if (letter == 'H' || letter == 'O')
            return readBasedNumber(afterAmpersand, negative);
        return {};
    }

    // Significant digits without leading zeros, and the power of ten of the last one kept.
    std::string significant;
    std::int64_t scale = 0;
    bool anyDigit = false;
    while (isDecimalDigit(cursor.peek())) {
        anyDigit = true;
        if (!significant.empty() || cursor.peek() != '0')
            significant.push_back(cursor.peek());
        cursor.take();
    }
    if (cursor.peek() == '.') {
        // A point after digits belongs to the number: "5." reads whole as 5.
        cursor.take();
        while (isDecimalDigit(cursor.peek())) {
            anyDigit = true;
            if (!significant.empty() || cursor.peek() != '0')
                significant.push_back(cursor.peek());
            scale = saturatingAdd(scale, -1);
            cursor.take();
        }
    }
    if (!anyDigit)
        return {};

    std::size_t consumed = cursor.endOfLastTaken();
    const char exponentLetter = upper(cursor.peek());
    if (exponentLetter == 'E' || exponentLetter == 'D') {
        Cursor exponentCursor = cursor;
        exponentCursor.advance();
        bool exponentNegative = false;
        if (exponentCursor.peek() == '+' || exponentCursor.peek() == '-') {
            exponentNegative = exponentCursor.peek() == '-';
            exponentCursor.advance();
        }
        std::int64_t exponent = 0;
        bool exponentDigits = false;
        while (isDecimalDigit(exponentCursor.peek())) {
            exponentDigits = true;
            const int digit = exponentCursor.peek() - '0';
            if (exponent < 1'000'000'000)
                exponent = exponent * 10 + digit;
            exponentCursor.take();
        }
        if (exponentDigits) {
            scale = saturatingAdd(scale, exponentNegative ? -exponent : exponent);
            consumed = exponentCursor.endOfLastTaken();
        }
    }

    LeadingNumber result;
    result.found = true;
    result.consumed = consumed;
    double magnitude = 0.0;
    if (!significant.empty()) {
        // The power of ten of the leading digit decides overflow and underflow before the
        // exact conversion sees an exponent it cannot hold.
        const std::int64_t leadingPower =
            saturatingAdd(scale, static_cast<std::int64_t>(significant.size()) - 1);
        if (leadingPower > 400) {
            magnitude = kInfinity;
        } else if (leadingPower < -400) {
            magnitude = 0.0;
        } else {
            std::string buffer = significant;
            buffer += 'e';
            buffer += std::to_string(scale);
            auto [ptr, ec] = std::from_chars(buffer.data(), buffer.data() + buffer.size(),
                                             magnitude, std::chars_format::scientific);
            if (ec == std::errc::result_out_of_range)
                magnitude = leadingPower > 0 ? kInfinity : 0.0;
        }
    }
    result.value = negative ? -magnitude : magnitude;
    return result;
}

double leadingNumberValue(std::string_view text)
{
    return readLeadingNumber(text).value;
}

bool isWholeTextANumber(std::string_view text)
{
    const LeadingNumber number = readLeadingNumber(text);
    if (!number.found)
        return false;
    for (std::size_t i = number.consumed; i < text.size(); ++i) {
        if (!isSkippedBlank(text[i]))
            return false;
    }
    return true;
}

bool isBlankText(std::string_view text)
{
    for (const char c : text) {
        if (!isSkippedBlank(c))
            return false;
    }
    return true;
}

} // namespace gyrena
