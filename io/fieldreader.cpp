#include "io/fieldreader.h"

#include <algorithm>
#include <array>
#include <utility>

namespace gyrena {

namespace {

// Bytes that end the scan of an unquoted field (separators) or stop it as an error (NUL).
constexpr std::array<bool, 256> kStopsBareField = [] {
    std::array<bool, 256> stops{};
    stops[static_cast<unsigned char>(',')] = true;
    stops[static_cast<unsigned char>('\r')] = true;
    stops[static_cast<unsigned char>('\n')] = true;
    stops[0] = true;
    return stops;
}();

const std::string kTooLong = " holds a field longer than 4,096 bytes";

} // namespace

FieldReader::FieldReader(std::string_view text) : m_text(text) {}

std::optional<std::string> FieldReader::next(FileError& error)
{
    if (const auto view = nextView(error))
        return std::string(*view);
    return std::nullopt;
}

std::optional<std::string_view> FieldReader::fail(FileError& error, std::string what)
{
    m_failed = true;
    m_error = FileError{FileError::Kind::Unreadable, std::move(what), m_line, m_fieldsRead + 1};
    error = m_error;
    return std::nullopt;
}

void FieldReader::consumeSeparator()
{
    if (m_pos >= m_text.size())
        return;
    const char c = m_text[m_pos++];
    if (c == ',') {
        m_afterComma = true;
        return;
    }
    if (c == '\r' && m_pos < m_text.size() && m_text[m_pos] == '\n')
        ++m_pos;
    ++m_line;
}

std::optional<std::string_view> FieldReader::nextView(FileError& error)
{
    if (m_failed) {
        error = m_error;
        return std::nullopt;
    }
    m_fieldLine = m_line;
    if (atEnd())
        return fail(error, "the file ends on line " + std::to_string(m_line));
    m_afterComma = false;

    const std::size_t size = m_text.size();
    while (m_pos < size && m_text[m_pos] == ' ')
        ++m_pos;

    std::string_view value;
    if (m_pos < size && m_text[m_pos] == '"') {
        const std::size_t start = m_pos + 1;
        const std::size_t limit = std::min(size, start + kMaxFieldBytes + 1);
        std::size_t i = start;
        for (; i < limit; ++i) {
            const char c = m_text[i];
            if (c == '"')
                break;
            if (c == '\0')
                return fail(error, "line " + std::to_string(m_line) + " holds a NUL byte");
            if (c == '\r') {
                ++m_line;
                if (i + 1 < size && m_text[i + 1] == '\n')
                    ++i;
            } else if (c == '\n') {
                ++m_line;
            }
        }
        if (i - start > kMaxFieldBytes) {
            m_line = m_fieldLine;
            return fail(error, "line " + std::to_string(m_fieldLine) + kTooLong);
        }
        value = m_text.substr(start, i - start);
        if (i >= size) {
            // The quote never closes: the value is the rest of the text.
            m_pos = size;
            ++m_fieldsRead;
            return value;
        }
        // Skip what follows the closing quote up to the next separator.
        m_pos = i + 1;
        const std::size_t skipLimit = std::min(size, m_pos + kMaxFieldBytes + 1);
        while (m_pos < skipLimit && !kStopsBareField[static_cast<unsigned char>(m_text[m_pos])])
            ++m_pos;
        if (m_pos == skipLimit && m_pos < size)
            return fail(error, "line " + std::to_string(m_line) + kTooLong);
    } else {
        const std::size_t start = m_pos;
        const std::size_t limit = std::min(size, start + kMaxFieldBytes + 1);
        while (m_pos < limit && !kStopsBareField[static_cast<unsigned char>(m_text[m_pos])])
            ++m_pos;
        if (m_pos - start > kMaxFieldBytes)
            return fail(error, "line " + std::to_string(m_line) + kTooLong);
        value = m_text.substr(start, m_pos - start);
    }
    if (m_pos < size && m_text[m_pos] == '\0')
        return fail(error, "line " + std::to_string(m_line) + " holds a NUL byte");
    consumeSeparator();
    ++m_fieldsRead;
    return value;
}

} // namespace gyrena
