#include "io/formats/citylist.h"

#include "io/files/textencoding.h"
#include "io/formats/fieldreader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>

namespace gyrena {

namespace {

constexpr int kFieldsPerCity = CityTable::kFieldsPerCity;
static_assert(kMaxFieldBytes <= std::numeric_limits<std::uint16_t>::max(),
              "a field's size must fit the table's 16-bit sizes");
constexpr std::string_view kCountRange = " is not a whole number from 1 to 32,767";

FileError unreadable(std::string what, int line, int field = 0)
{
    return FileError{FileError::Kind::Unreadable, std::move(what), line, field, {}};
}

// The count field: an optional sign, digits, optionally a decimal point followed only by zeros
// ("3.0" is three, "3.5" is not a whole number), and trailing blanks; leading blanks never reach
// here. Nothing else is a count: no exponents, no hexadecimal, no blanks between digits.
struct Count
{
    bool whole = false;
    long long value = 0; // clamped to +-(kMaxCityCount + 1) so it cannot overflow
};

Count parseCount(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    Count count;
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::size_t i = 0;
    long long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = std::min<long long>(value * 10 + (text[i] - '0'), kMaxCityCount + 1);
        ++i;
    }
    if (i == 0)
        return count;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] == '0')
            ++i;
    }
    if (i != text.size())
        return count;
    count.whole = true;
    count.value = negative ? -value : value;
    return count;
}

} // namespace

std::variant<CityTable, FileError> readCityList(std::string_view bytes)
{
    if (bytes.size() > kMaxCityListBytes)
        return unreadable(kCityListTooLarge, 0);

    std::string storage;
    const std::string_view text = decodeFileText(bytes, storage);
    FieldReader reader(text);
    FileError error;

    if (reader.atEnd())
        return unreadable("the file is empty", 1, 1);
    const auto marker = reader.nextView(error);
    if (!marker)
        return error;
    if (*marker != kCityListMarker)
        return FileError{FileError::Kind::NotCityList,
                         "the first field is not \"GyrenaCityListFile\"",
                         reader.line(),
                         1,
                         {}};

    if (reader.atEnd())
        return unreadable("the file ends before the count, on line " +
                              std::to_string(reader.currentLine()),
                          reader.currentLine(), 2);
    const auto countText = reader.nextView(error);
    if (!countText)
        return error;
    const Count count = parseCount(*countText);
    if (!count.whole || count.value > kMaxCityCount)
        return unreadable("the count on line " + std::to_string(reader.line()) +
                              std::string(kCountRange),
                          reader.line(), 2);
    if (count.value < 1)
        return FileError{
            FileError::Kind::CountBelowOne, "the count is below 1", reader.line(), 2, {}};

    const auto cityCount = static_cast<std::size_t>(count.value);
    // Every field is a part of the text (a quoted one without its quotes), so the table keeps
    // where each lies and, once all are read, the text up to the end of the last.
    if (text.size() > std::numeric_limits<std::uint32_t>::max())
        return unreadable(kCityListTooLarge, 0);
    CityTable table;
    // Every record takes at least eight bytes, so a short file cannot make this reserve large.
    const std::size_t fields =
        std::min(cityCount, text.size() / kFieldsPerCity + 1) * kFieldsPerCity;
    table.m_begins.reserve(fields);
    table.m_sizes.reserve(fields);
    std::array<std::string_view, kFieldsPerCity> f;
    std::size_t end = 0;
    for (std::size_t row = 1; row <= cityCount; ++row) {
        if (reader.nextFields(f.data(), kFieldsPerCity, error) != kFieldsPerCity) {
            if (!reader.ranPastEnd())
                return error;
            return unreadable("the file ends on line " + std::to_string(reader.currentLine()) +
                                  ", before the end of city " + std::to_string(row) + " of " +
                                  std::to_string(cityCount),
                              reader.currentLine(), reader.fieldsRead() + 1);
        }
        for (const std::string_view field : f) {
            const auto begin = static_cast<std::size_t>(field.data() - text.data());
            table.m_begins.push_back(static_cast<std::uint32_t>(begin));
            table.m_sizes.push_back(static_cast<std::uint16_t>(field.size()));
            end = begin + field.size();
        }
    }
    // Records beyond the count are not kept.
    table.m_text.assign(text.data(), end);
    return table;
}

} // namespace gyrena
