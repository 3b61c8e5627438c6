// The city-list reader on any bytes: it never crashes, a table it reads keeps the limits, and
// the table written out again as a plain city list reads back the same.
#include "io/formats/citylist.h"
#include "io/formats/fieldreader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_citylist: %s\n", what);
        std::abort();
    }
}

void appendField(std::string& out, const std::string& value)
{
    const bool quote = value.find_first_of(",\r\n") != std::string::npos ||
                       value.starts_with(' ') || value.starts_with('"');
    check(!quote || value.find('"') == std::string::npos, "a read value cannot be quoted");
    if (quote)
        out += '"';
    out += value;
    if (quote)
        out += '"';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto read = gyrena::readCityList(bytes);
    if (const auto* error = std::get_if<gyrena::FileError>(&read)) {
        check(!error->what.empty(), "an error without a message");
        check(error->kind != gyrena::FileError::Kind::Refused &&
                  error->kind != gyrena::FileError::Kind::NotDataFile,
              "a read error of the wrong kind");
        return 0;
    }
    const auto& table = std::get<gyrena::CityTable>(read);
    check(table.cityCount() >= 1 && table.cityCount() <= gyrena::kMaxCityCount, "a bad count");

    std::string again = "GyrenaCityListFile\r\n" + std::to_string(table.cityCount()) + "\r\n";
    for (int r = 1; r <= table.cityCount(); ++r) {
        check(table.text(r, gyrena::CityRow) == std::to_string(r), "a bad row number");
        for (int c = gyrena::CityName; c <= gyrena::CityLongDir; ++c) {
            const std::string value = table.text(r, gyrena::CityColumn(c));
            check(value.size() <= gyrena::kMaxFieldBytes, "a field over the limit");
            check(value.find('\0') == std::string::npos, "a NUL in a field");
            if (c > gyrena::CityName)
                again += ',';
            appendField(again, value);
        }
        again += "\r\n";
    }
    const auto reread = gyrena::readCityList(again);
    check(std::holds_alternative<gyrena::CityTable>(reread), "a rewritten list does not read");
    check(std::get<gyrena::CityTable>(reread) == table, "a rewritten list reads differently");
    return 0;
}
