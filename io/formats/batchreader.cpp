#include "io/formats/batchreader.h"

#include <cstring>

namespace gyrena {

BatchLineReader::BatchLineReader(Source source)
    : m_source(std::move(source)), m_buffer(16 * kBatchLineLimit)
{
}

bool BatchLineReader::fill()
{
    if (m_atEnd)
        return false;
    if (m_begin > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
        m_end -= m_begin;
        m_begin = 0;
    }
    const std::ptrdiff_t got = m_source(m_buffer.data() + m_end, m_buffer.size() - m_end);
    if (got <= 0) {
        m_atEnd = true;
        m_readFailed = got < 0;
        return false;
    }
    m_end += static_cast<std::size_t>(got);
    return true;
}

bool BatchLineReader::next(BatchLine& line)
{
    for (;;) {
        const char* begin = m_buffer.data() + m_begin;
        const auto* newline = static_cast<const char*>(std::memchr(begin, '\n', m_end - m_begin));
        if (m_skipping) {
            if (newline) {
                m_begin = static_cast<std::size_t>(newline - m_buffer.data()) + 1;
                m_skipping = false;
                continue;
            }
            m_begin = m_end;
            if (!fill())
                return false;
            continue;
        }
        if (newline || (m_atEnd && m_begin < m_end)) {
            const char* stop = newline ? newline : m_buffer.data() + m_end;
            std::string_view text(begin, static_cast<std::size_t>(stop - begin));
            m_begin = newline ? static_cast<std::size_t>(newline - m_buffer.data()) + 1 : m_end;
            if (!text.empty() && text.back() == '\r')
                text.remove_suffix(1);
            line.number = ++m_number;
            line.tooLong = text.size() > kBatchLineLimit;
            line.text = line.tooLong ? std::string_view() : text;
            return true;
        }
        // More than a whole line's worth and no line end yet: drop it as it streams in.
        if (m_end - m_begin > kBatchLineLimit + 1) {
            m_begin = m_end;
            m_skipping = true;
            line.number = ++m_number;
            line.tooLong = true;
            line.text = {};
            return true;
        }
        if (!fill() && m_begin >= m_end)
            return false;
    }
}

std::size_t splitBatchFields(std::string_view line, std::array<std::string_view, 12>& fields)
{
    std::size_t count = 0;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n) {
        while (i < n && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i == n)
            break;
        const std::size_t start = i;
        while (i < n && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (count < fields.size())
            fields[count] = line.substr(start, i - start);
        ++count;
    }
    return count;
}

} // namespace gyrena
