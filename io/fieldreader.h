#pragma once

#include "io/fileerror.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace gyrena {

// The longest field either file type may hold, in bytes.
inline constexpr std::size_t kMaxFieldBytes = 4096;

// Reads decoded file text as a sequence of fields separated by commas or line ends (CR LF, LF
// or CR). Leading blanks of a field are skipped; a field that begins with a double quote runs to
// the next double quote and what follows it up to the next separator is skipped. The reader
// does not own the text: it must outlive the reader.
class FieldReader
{
public:
    explicit FieldReader(std::string_view text);

    // The next field, or an error: past the end of the text, a field longer than
    // kMaxFieldBytes, or a NUL byte. After an error the reader stays failed.
    std::optional<std::string> next(FileError& error);

    // 1-based line on which the field last returned (or failed) begins.
    int line() const { return m_fieldLine; }
    // How many fields have been returned so far.
    int fieldsRead() const { return m_fieldsRead; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
    int m_fieldLine = 1;
    int m_fieldsRead = 0;
    bool m_failed = false;
};

} // namespace gyrena
