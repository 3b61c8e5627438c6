#include "io/formats/fieldreader.h"

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

// Messages; '#' stands for the line number.
constexpr const char* kTooLong = "line # holds a field longer than 4,096 bytes";
constexpr const char* kNul = "line # holds a NUL byte";
constexpr const char* kEnds = "the file ends on line #";

} // namespace

FieldReader::FieldReader(std::string_view text) : m_text(text) {}

std::optional<std::string> FieldReader::next(FileError& error)
{
    if (const auto view = nextView(error))
        return std::string(*view);
    return std::nullopt;
}

// Out of line and cold, so that building a message costs the fast paths nothing.
[[gnu::noinline, gnu::cold]] std::optional<std::string_view>
FieldReader::fail(FileError& error, const char* what, int line)
{
    std::string message = what;
    const std::string number = std::to_string(line);
    if (const auto at = message.find('#'); at != std::string::npos)
        message.replace(at, 1, number);
    m_failed = true;
    m_error =
        FileError{FileError::Kind::Unreadable, std::move(message), line, m_fieldsRead + 1, {}};
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
    if (atEnd()) {
        m_ranPastEnd = true;
        return fail(error, kEnds, m_line);
    }
    m_afterComma = false;

    const char* const text = m_text.data();
    const std::size_t size = m_text.size();
    std::size_t pos = m_pos;
    while (pos < size && text[pos] == ' ')
        ++pos;
    if (pos < size && text[pos] == '"') {
        m_pos = pos;
        return quotedField(error);
    }

    const std::size_t start = pos;
    const std::size_t limit = std::min(size, start + kMaxFieldBytes + 1);
    while (pos < limit && !kStopsBareField[static_cast<unsigned char>(text[pos])])
        ++pos;
    m_pos = pos;
    if (pos - start > kMaxFieldBytes)
        return fail(error, kTooLong, m_line);
    if (pos < size) {
        // The common case, a field ended by a separator, inline.
        const char c = text[pos];
        if (c == ',') {
            m_pos = pos + 1;
            m_afterComma = true;
        } else if (c == '\0') {
            return fail(error, kNul, m_line);
        } else {
            consumeSeparator();
        }
    }
    ++m_fieldsRead;
    return std::string_view(text + start, pos - start);
}

int FieldReader::nextFields(std::string_view* out, int count, FileError& error)
{
    int i = 0;
    while (i < count) {
        i = bareFields(out, i, count);
        if (i == count)
            break;
        // Anything the fast loop does not take (quotes, blanks, the end, errors) goes this way.
        const auto value = nextView(error);
        if (!value)
            return i;
        out[i++] = *value;
    }
    return count;
}

int FieldReader::bareFields(std::string_view* out, int i, int count)
{
    if (m_failed)
        return i;
    const char* const text = m_text.data();
    const std::size_t size = m_text.size();
    // The state lives in locals here: stores through `out` could alias the members.
    std::size_t pos = m_pos;
    int line = m_line;
    int fieldLine = m_fieldLine;
    int fieldsRead = m_fieldsRead;
    bool afterComma = m_afterComma;
    // When the last byte stops a scan (a final line end, as usual), no scan can run off the
    // end: the loop below then needs no bound. A field too long is left to nextView() to report.
    const bool lastByteStops =
        size > 0 && kStopsBareField[static_cast<unsigned char>(text[size - 1])];
    // Takes unquoted fields without leading blanks that end in a separator.
    for (; i < count && pos < size; ++i) {
        if (text[pos] == ' ' || text[pos] == '"')
            break;
        const std::size_t start = pos;
        std::size_t end = start;
        if (lastByteStops) {
            while (!kStopsBareField[static_cast<unsigned char>(text[end])])
                ++end;
        } else {
            const std::size_t limit = std::min(size, start + kMaxFieldBytes + 1);
            while (end < limit && !kStopsBareField[static_cast<unsigned char>(text[end])])
                ++end;
        }
        if (end >= size || end - start > kMaxFieldBytes || text[end] == '\0')
            break;
        const char separator = text[end];
        out[i] = std::string_view(text + start, end - start);
        fieldLine = line;
        ++fieldsRead;
        pos = end + 1;
        afterComma = separator == ',';
        if (!afterComma) {
            ++line;
            if (separator == '\r' && pos < size && text[pos] == '\n')
                ++pos;
        }
    }
    m_pos = pos;
    m_line = line;
    m_fieldLine = fieldLine;
    m_fieldsRead = fieldsRead;
    m_afterComma = afterComma;
    return i;
}

std::optional<std::string_view> FieldReader::quotedField(FileError& error)
{
    const std::size_t size = m_text.size();
    const std::size_t start = m_pos + 1;
    const std::size_t limit = std::min(size, start + kMaxFieldBytes + 1);
    std::size_t i = start;
    for (; i < limit; ++i) {
        const char c = m_text[i];
        if (c == '"')
            break;
        if (c == '\0')
            return fail(error, kNul, m_line);
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
        return fail(error, kTooLong, m_fieldLine);
    }
    const std::string_view value = m_text.substr(start, i - start);
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
        return fail(error, kTooLong, m_line);
    if (m_pos < size && m_text[m_pos] == '\0')
        return fail(error, kNul, m_line);
    consumeSeparator();
    ++m_fieldsRead;
    return value;
}

} // namespace gyrena
