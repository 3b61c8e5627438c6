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
    example.start = {"37", "45", "N", "122", "27", "W"};
    example.end = {"34", "0", "S", "151", "0", "E"};

    // The eight updates the window runs for the twelve lists, then one press of the button.
    LocationState location;
    const auto enter = [&location](const WorkedExample::Place& place, bool start) {
        (start ? updateStartLat : updateEndLat)(location, place.latitudeDegrees,
                                                place.latitudeMinutes);
        (start ? updateStartLatDir : updateEndLatDir)(location, place.latitudeLetter);
        (start ? updateStartLong : updateEndLong)(location, place.longitudeDegrees,
                                                  place.longitudeMinutes);
        (start ? updateStartLongDir : updateEndLongDir)(location, place.longitudeLetter);
    };
    enter(example.start, true);
    enter(example.end, false);
    const CalcsRun run = Calcs(location, ResultState{}, ".");
    example.results = run.results;

    const ResultState& r = example.results;
    example.deltaLong = worksheetNumber(r.DeltaLong, 2);
    example.startColat = worksheetNumber(r.StartColat, 2);
    example.endColat = worksheetNumber(r.EndColat, 2);
    example.arc = worksheetNumber(r.Dist, 2);
    for (const BoxWrite& write : run.writes) {
        if (write.box == "Text3") // the nautical miles, as the output frame shows them
            example.distance = write.text;
    }
    example.startAngle = worksheetNumber(r.StartAngle, 3);
    example.initialCourse = worksheetNumber(r.InitialCourse, 3);
    example.endAngle = worksheetNumber(r.EndAngle, 2);
    example.arrivalCourse = worksheetNumber(r.ArrivalCourse, 2);
    return example;
}

} // namespace gyrena
