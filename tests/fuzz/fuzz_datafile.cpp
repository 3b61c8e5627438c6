// The data-file reader on any bytes: it never crashes, and a record it reads writes out and
// reads back unchanged (every value it can read is one the writer can write).
#include "io/formats/datafile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_datafile: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto read = gyrena::readDataFile(bytes);
    if (const auto* error = std::get_if<gyrena::FileError>(&read)) {
        check(!error->what.empty(), "an error without a message");
        check(error->kind == gyrena::FileError::Kind::NotDataFile ||
                  error->kind == gyrena::FileError::Kind::Unreadable,
              "a read error of the wrong kind");
        check(error->line >= 1, "an error without a line");
        return 0;
    }
    const auto& record = std::get<gyrena::LocationData>(read);
    for (const gyrena::LocationTexts* texts : {&record.start, &record.end}) {
        for (const gyrena::LocationField field : gyrena::kCoordinateOrder) {
            if (gyrena::isDegreesOrMinutes(field))
                check(gyrena::isDegreeOrMinuteText((*texts)[field]),
                      "a degree or minute line that is neither a number nor blanks was read");
        }
    }
    const auto written = gyrena::writeDataFile(record);
    if (const auto* error = std::get_if<gyrena::FileError>(&written)) {
        std::fprintf(stderr, "refused: %s\n", error->what.c_str());
        check(false, "a record that was read cannot be written");
    }
    const auto reread = gyrena::readDataFile(std::get<std::string>(written));
    check(std::holds_alternative<gyrena::LocationData>(reread), "a written record does not read");
    check(std::get<gyrena::LocationData>(reread) == record, "a written record reads differently");
    return 0;
}
