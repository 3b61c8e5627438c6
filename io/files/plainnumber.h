#pragma once

// Numbers as they go into files and onto standard output: the same bytes in every locale, built
// with std::to_chars and never through the C library's or Qt's locale. Every writer formats
// its numbers here; what a window shows follows the user's locale instead.

#include <string>

namespace gyrena {

// `value` with exactly `decimals` digits (0 to 17) after a "." and no exponent: "51.500000000",
// "-0.25", "180". Rounded as std::to_chars rounds the binary value; a result that reads as zero
// carries no sign ("-0.0001" with two decimals is "0.00"). A non-finite value is written as 0.
std::string formatFixed(double value, int decimals);

// A longitude in signed degrees taken into [-180, 180): 180 is -180, 190 is -170, -540 is -180.
// A non-finite value gives 0.
double wrappedLongitude(double degrees);

// A longitude as formatFixed writes it, in [-180, 180) as the written text reads: a value that
// rounds to 180 at `decimals` (179.9999999999 at 9 decimals) is written as -180.
std::string formatLongitude(double degrees, int decimals);

// A course in degrees [0, 360) as formatFixed writes it; one that would read as 360 at
// `decimals` (359.996 at two) reads as 0.
std::string formatCourse(double degrees, int decimals);

} // namespace gyrena

namespace gyrena {

// The most digits an xs:decimal may have for the validators we check files with (libxml2 holds
// 24), counting the zeros after the point.
inline constexpr int kMaxDecimalDigits = 24;

// The shortest text in fixed notation ("38.7", "-0.25", "1000") that reads back as exactly the
// same double: for values a file must give back unchanged. Every value from 1e-8 to 1e24 in
// magnitude fits in kMaxDecimalDigits digits; one nearer zero that would need more (a waypoint
// computed a hair off a meridian, -3.552713678800501e-15) is rounded to kMaxDecimalDigits decimals,
// less than 1e-24 off. A non-finite value is written as 0; -0 as 0.
std::string formatShortest(double value);

} // namespace gyrena
