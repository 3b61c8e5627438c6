#pragma once

#include "io/files/fileerror.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace gyrena {

// The longest field either file type may hold, in bytes.
inline constexpr std::size_t kMaxFieldBytes = 4096;

// Reads decoded file text as a sequence of fields separated by commas or line ends (CR LF, LF
// or CR, each one line end). Leading blanks (spaces) of a field are skipped; a field that begins
// with a double quote runs to the next double quote, line ends included, and what follows it up
// to the next separator is skipped; a quote that never closes runs to the end of the text. A
// comma always announces one more field (possibly empty, even at the very end); a line end at
// the very end does not, so the last line's line end is optional. The reader does not own the
// text: it must outlive the reader and every view it returned. Each byte is looked at once.
class FieldReader
{
public:
    explicit FieldReader(std::string_view text);

    // The next field, or an error (Kind::Unreadable): past the end of the text, a field longer
    // than kMaxFieldBytes, or a NUL byte. After an error the reader stays failed and repeats it.
    std::optional<std::string> next(FileError& error);
    // As next(), the value as a view into the text.
    std::optional<std::string_view> nextView(FileError& error);

    // Reads `count` fields into `out` as next() would, one after the other, and returns how many
    // it read: fewer than `count` only on an error, which is then in `error`. Faster than
    // `count` calls of nextView() for the short unquoted fields of long lists.
    int nextFields(std::string_view* out, int count, FileError& error);

    // True when the text is used up: the next read would be past the end.
    bool atEnd() const { return m_pos >= m_text.size() && !m_afterComma; }
    // 1-based line on which the field last returned (or failed) begins.
    int line() const { return m_fieldLine; }
    // 1-based line the reader stands on now (the line after a line end just consumed).
    int currentLine() const { return m_line; }
    // True when the reader failed because the text was used up (not for a bad field).
    bool ranPastEnd() const { return m_ranPastEnd; }
    // How many fields have been returned so far.
    int fieldsRead() const { return m_fieldsRead; }

private:
    std::optional<std::string_view> fail(FileError& error, const char* what, int line);
    std::optional<std::string_view> quotedField(FileError& error);
    int bareFields(std::string_view* out, int i, int count);
    void consumeSeparator();

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
    int m_fieldLine = 1;
    int m_fieldsRead = 0;
    bool m_afterComma = false;
    bool m_failed = false;
    bool m_ranPastEnd = false;
    FileError m_error;
};

} // namespace gyrena
