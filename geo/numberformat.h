#pragma once

#include <string>
#include <string_view>

namespace gyrena {

// The patterns "###.00" and "#######.00" (they write the same text): the value rounded to two
// decimals, halves away from zero as a person reads the value (the double is first taken to
// 15 significant digits), all integer digits but no leading zero (0.5 -> ".50", 0 -> ".00",
// -0.5 -> "-.50"), then the decimal separator and two decimals. A result that rounds to zero
// carries no sign. A non-finite value gives the empty text (callers must not show one).
std::string formatTwoDecimals(double value, std::string_view decimalSeparator);

// A plain number: the shortest text that reads back as the value ("180", "0", "12.5"), always
// with "." as decimal mark; -0 gives "0". A non-finite value gives the empty text.
std::string formatPlainNumber(double value);

// `value` with exactly `decimals` digits (0 to 17) after `decimalSeparator` (UTF-8, any length),
// no exponent and no digit grouping, the same in every locale (std::to_chars): "51.500000000",
// "-0,25". Rounded as std::to_chars rounds the binary value; a result that reads as zero carries
// no sign. A non-finite value is written as 0.
std::string formatDecimals(double value, int decimals, std::string_view decimalSeparator);

// A course in degrees (0 <= course < 360) as formatDecimals writes it, except that a course that
// would read as 360 at `decimals` (359.996 at two) reads as 0: a compass has no 360.
std::string formatCourse(double degrees, int decimals, std::string_view decimalSeparator);

} // namespace gyrena
