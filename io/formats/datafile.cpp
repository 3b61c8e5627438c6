#include "io/formats/datafile.h"

#include "geo/leadingnumber.h"
#include "io/files/textencoding.h"
#include "io/formats/fieldreader.h"

#include <algorithm>
#include <array>
#include <string>

namespace gyrena {

namespace {

constexpr int kDataFileLines = 17;

bool isDegreeOrMinuteLine(int line)
{
    return line >= 2 && isDegreesOrMinutes(dataFileLine(line).field);
}

std::string lineName(int line)
{
    const DataFileLine what = dataFileLine(line);
    return "line " + std::to_string(line) + " (" + locationFieldName(what.end, what.field) + ")";
}

// The value of line 2..17, for a LocationData or a const one.
template <typename Data> auto& valueOfLine(Data& data, int line)
{
    const DataFileLine what = dataFileLine(line);
    return data.at(what.end)[what.field];
}

FileError unreadable(std::string what, int line, int field)
{
    return FileError{FileError::Kind::Unreadable, std::move(what), line, field, {}};
}

} // namespace

DataFileLine dataFileLine(int line)
{
    constexpr int firstCoordinateLine = 6;
    if (line < firstCoordinateLine) {
        const int k = std::max(line - 2, 0);
        return {k < 2 ? RouteEnd::Start : RouteEnd::End,
                k % 2 == 0 ? LocationField::Name : LocationField::Country};
    }
    const auto k =
        static_cast<std::size_t>(line - firstCoordinateLine) % (2 * kCoordinateOrder.size());
    return {k < kCoordinateOrder.size() ? RouteEnd::Start : RouteEnd::End,
            kCoordinateOrder[k % kCoordinateOrder.size()]};
}

bool isDegreeOrMinuteText(std::string_view text)
{
    return isBlankText(text) || isWholeTextANumber(text);
}

std::variant<LocationData, FileError> readDataFile(std::string_view bytes)
{
    std::string storage;
    FieldReader reader(decodeFileText(bytes, storage));
    FileError error;
    LocationData data;
    for (int line = 1; line <= kDataFileLines; ++line) {
        if (reader.atEnd()) {
            if (line == 1)
                return unreadable("the file is empty", 1, 1);
            return unreadable("the file ends before " + lineName(line), reader.currentLine(), line);
        }
        const auto value = reader.nextView(error);
        if (!value)
            return error;
        if (line == 1) {
            if (*value != kDataFileMarker)
                return FileError{FileError::Kind::NotDataFile,
                                 "the first line is not \"GyrenaDataFile\"",
                                 reader.line(),
                                 1,
                                 {}};
            continue;
        }
        std::string& target = valueOfLine(data, line);
        if (isDegreeOrMinuteLine(line)) {
            if (!isDegreeOrMinuteText(*value)) {
                std::string what = lineName(line) + " is not a number";
                if (reader.line() != line)
                    what += ", on line " + std::to_string(reader.line()) + " of the file";
                return unreadable(std::move(what), reader.line(), line);
            }
            if (value->empty()) {
                // Not `= "0"`: GCC 12 warns (-Wrestrict) about that assignment at -O3, wrongly.
                target.assign(1, '0');
                continue;
            }
        }
        target = *value;
    }
    return data;
}

std::variant<std::string, FileError> writeDataFile(const LocationData& data)
{
    std::string text;
    text.reserve(256);
    text += kDataFileMarker;
    text += "\r\n";
    for (int line = 2; line <= kDataFileLines; ++line) {
        const std::string& value = valueOfLine(data, line);
        const auto refuse = [&](const std::string& why) {
            return FileError{FileError::Kind::Refused, lineName(line) + " " + why, line, line, why};
        };
        if (value.size() > kMaxFieldBytes)
            return refuse("is longer than 4,096 bytes");
        if (value.find('\0') != std::string::npos)
            return refuse("holds a NUL character");
        if (!isValidUtf8(value))
            return refuse("is not valid text");
        if (!value.empty() && value.front() == '"')
            return refuse("begins with a double quote");
        const bool needsQuotes = value.find_first_of(",\r\n") != std::string::npos ||
                                 (!value.empty() && value.front() == ' ');
        if (needsQuotes && value.find('"') != std::string::npos)
            return refuse("holds a double quote together with a comma, a line break or a leading "
                          "blank");
        if (isDegreeOrMinuteLine(line) && !isDegreeOrMinuteText(value))
            return refuse("is not a number");
        if (needsQuotes) {
            text += '"';
            text += value;
            text += '"';
        } else {
            text += value;
        }
        text += "\r\n";
    }
    return encodeFileText(text);
}

} // namespace gyrena
