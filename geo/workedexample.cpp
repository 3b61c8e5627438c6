#include "geo/workedexample.h"

#include "geo/location.h"

#include <charconv>
#include <cmath>

namespace gyrena {

std::string worksheetNumber(double value, int decimals)
{
    if (!std::isfinite(value) || decimals < 0 || decimals > 6)
        return {};
    char buffer[400]; // room for the largest double in fixed notation
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec != std::errc())
        return {};
    std::string text(buffer, end);
    if (const auto point = text.find('.');
        point != std::string::npos && text.find_first_not_of('0', point + 1) == std::string::npos)
        text.erase(point);
    if (text == "-0")
        text = "0";
    return text;
}

WorkedExample workedExample()
{
    WorkedExample example;
    // No names or countries: the worksheet names the places in words.
    example.start = {"", "", "37", "45", "N", "122", "27", "W"};
    example.end = {"", "", "34", "0", "S", "151", "0", "E"};

    // The eight updates the window runs for the twelve lists, then one press of the button.
    LocationState location;
    updateLocation(location, RouteEnd::Start, example.start);
    updateLocation(location, RouteEnd::End, example.end);
    const RouteRun run = computeRoute(location, ResultState{}, ".");
    example.results = run.results;

    const ResultState& r = example.results;
    example.deltaLong = worksheetNumber(r.deltaLong, 2);
    example.startColat = worksheetNumber(r.startColat, 2);
    example.endColat = worksheetNumber(r.endColat, 2);
    example.arc = worksheetNumber(r.dist, 2);
    for (const FieldWrite& write : run.writes) {
        if (write.field == ResultField::DistanceNm) // as the output frame shows them
            example.distance = write.text;
    }
    example.startAngle = worksheetNumber(r.startAngle, 3);
    example.initialCourse = worksheetNumber(r.initialCourse, 3);
    example.endAngle = worksheetNumber(r.endAngle, 2);
    example.arrivalCourse = worksheetNumber(r.arrivalCourse, 2);
    return example;
}

} // namespace gyrena
