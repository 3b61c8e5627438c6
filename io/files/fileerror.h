#pragma once

#include <string>

namespace gyrena {

// Why a file could not be read or written, and where.
struct FileError
{
    enum class Kind {
        NotDataFile,   // the first field of a data file is not "GyrenaDataFile"
        NotCityList,   // the first field of a city list is not "GyrenaCityListFile"
        CountBelowOne, // a city list announces fewer than one city
        Unreadable,    // anything else that stops a read: `what` and `line` say what and where
        Refused,       // a value that cannot be written so that it reads back
    };
    Kind kind = Kind::Unreadable;
    std::string what;   // a short English phrase, e.g. "the file ends before line 9"
    int line = 0;       // the line number where the problem lies (1-based), 0 when none applies
    int field = 0;      // the field number (1-based), 0 when none applies
    std::string reason; // Refused: why, without the field, e.g. "begins with a double quote"
};

} // namespace gyrena
