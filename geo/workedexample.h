#pragma once

#include "geo/calcs.h"
#include "geo/location.h"

#include <string>

namespace gyrena {

// The worked example of the math window, problem 23: S.F. to Sydney, computed by computeRoute from
// the start-up state exactly as the main window computes it, so the picture (and the window's text
// for screen readers) cannot show figures the output frame contradicts.
struct WorkedExample
{
    // The two places as they are typed into the main window's lists; no names.
    LocationTexts start, end;
    ResultState results;

    // The results as the worksheet prints them: "." as decimal mark, no unit, a whole number
    // without decimals. The worksheet names each side after the vertex opposite it, so its e is
    // the start's colatitude (the window's "s =" box) and its s the end's ("e =").
    std::string deltaLong;     // N, two decimals
    std::string startColat;    // e, two decimals
    std::string endColat;      // s, two decimals
    std::string arc;           // n, two decimals
    std::string distance;      // nautical miles, two decimals
    std::string startAngle;    // S, three decimals
    std::string initialCourse; // three decimals
    std::string endAngle;      // E, two decimals
    std::string arrivalCourse; // two decimals
};

WorkedExample workedExample();

// `value` rounded to `decimals` places (0 to 6) with "." as decimal mark, the decimals left out
// when they are all zero, as a worksheet writes 124 rather than 124.00. Empty when not finite.
std::string worksheetNumber(double value, int decimals);

} // namespace gyrena
