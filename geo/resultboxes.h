#pragma once

// The main window's output boxes, one per result field: the box's design name, the caption left
// of it, the unit right of it and what a screen reader calls it. The window builds its output
// frame from this table and gyrena-route prints by it, so it is plain C++ without Qt.

#include "geo/calcs.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace gyrena {

struct ResultBox
{
    ResultField field;
    std::string_view objectName;
    std::string_view caption; // as the window shows it, trailing blank included
    std::string_view unit;
    std::string_view accessibleName;
};

// In the order of ResultField.
inline constexpr std::array<ResultBox, kResultFieldCount> kResultBoxes = {{
    {ResultField::DeltaLongitude, "Text11", "N = ", "", "N, difference of longitude, degrees"},
    {ResultField::StartColatitude, "Text14", "s = ", "", "s, colatitude of the start, degrees"},
    {ResultField::EndColatitude, "Text16", "e = ", "", "e, colatitude of the end, degrees"},
    {ResultField::Arc, "Text12", "n =", "", "n, great-circle arc, degrees"},
    {ResultField::DistanceNm, "Text3", "Great Circle Distance = ", "nautical miles",
     "Great Circle Distance, nautical miles"},
    {ResultField::DistanceStatute, "Text6", "", "staute miles",
     "Great Circle Distance, statute miles"},
    {ResultField::StartAngle, "Text19", "Sang =", "", "Sang, angle at the start, degrees"},
    {ResultField::EndAngle, "Text20", "Eang =", "", "Eang, angle at the end, degrees"},
    {ResultField::InitialCourse, "Text4", "Initial Course =", "degrees", "Initial Course, degrees"},
    {ResultField::ArrivalCourse, "Text5", "Course of Arrival = ", "degrees",
     "Course of Arrival, degrees"},
    {ResultField::DirectionEW, "Text17", "direction EW =", "", "Direction EW"},
    {ResultField::DirectionNS, "Text18", "direction NS =", "", "Direction NS"},
}};

constexpr const ResultBox& resultBox(ResultField field)
{
    return kResultBoxes[static_cast<std::size_t>(field)];
}

// A field's text as one line beside its labels: caption (without its trailing blanks), text and
// unit joined by single blanks, the parts that are empty left out ("Great Circle Distance = 6457.91
// nautical miles").
inline std::string labelledResult(const FieldWrite& write)
{
    const ResultBox& box = resultBox(write.field);
    std::string_view caption = box.caption;
    while (!caption.empty() && caption.back() == ' ')
        caption.remove_suffix(1);
    std::string line;
    for (const std::string_view part : {caption, std::string_view(write.text), box.unit}) {
        if (part.empty())
            continue;
        if (!line.empty())
            line += ' ';
        line += part;
    }
    return line;
}

} // namespace gyrena
