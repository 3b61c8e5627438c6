#pragma once

#include <cstddef>
#include <string_view>

namespace gyrena {

// What the leading-number rule read from a text.
struct LeadingNumber
{
    double value = 0.0;       // the number read; 0 when none was found. May be +-inf when the
                              // written number lies beyond the range of a double ("1e400").
    bool found = false;       // a number (at least one digit) was read
    std::size_t consumed = 0; // bytes of the text used by the number, skipped blanks included
};

// The leading-number rule for degree and minute texts (UTF-8 or any ASCII-compatible bytes):
// blanks, tabs and line feeds are skipped anywhere; an optional "+" or "-"; digits with an
// optional "." and more digits; an optional exponent "E" or "D" (either case) with an optional
// sign and digits; or "&H" hexadecimal / "&O" octal digits (either case) for a whole number.
// Reading stops at the first byte that cannot continue the number. The decimal mark is always
// ".", whatever the C locale says. Never throws.
LeadingNumber readLeadingNumber(std::string_view text);

// The value of a degree or minute text: readLeadingNumber(text).value (0 when there is none).
double leadingNumberValue(std::string_view text);

// True when the whole text is one number under the rule (trailing blanks allowed), for example
// "12", " 1 2", "30.5", "-5", "1E1", "&H10". The empty text and "12abc" are not.
bool isWholeTextANumber(std::string_view text);

// True when the text holds nothing but the blanks the rule skips, the empty text included: it
// has no number and its value is 0.
bool isBlankText(std::string_view text);

} // namespace gyrena
