#pragma once

// Reading routes line by line from a stream of any size, in constant memory.

#include <array>
#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace gyrena {

// Longest line a batch accepts, in bytes without its line end.
inline constexpr std::size_t kBatchLineLimit = 4096;

struct BatchLine
{
    std::size_t number = 0; // 1 for the first line
    bool tooLong = false;   // longer than kBatchLineLimit: text is empty, the rest was skipped
    std::string_view text;  // without its LF or CR LF; valid until the next call to next()
};

class BatchLineReader
{
public:
    // Fills `buffer` with up to `size` bytes and returns how many, 0 at the end of the input,
    // or a negative number when reading failed.
    using Source = std::function<std::ptrdiff_t(char* buffer, std::size_t size)>;

    explicit BatchLineReader(Source source);

    // The next line; false at the end of the input or after a read error. A last line without a
    // line end counts; an input that ends with a line end has no empty line after it.
    bool next(BatchLine& line);
    bool readFailed() const { return m_readFailed; }

private:
    bool fill();

    Source m_source;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    std::size_t m_number = 0;
    bool m_atEnd = false;
    bool m_readFailed = false;
    bool m_skipping = false; // the rest of a line that was too long is being thrown away
};

// Splits a line into fields separated by runs of blanks and tabs; leading and trailing ones are
// ignored. Stores the first fields.size() of them and returns how many there are in all.
std::size_t splitBatchFields(std::string_view line, std::array<std::string_view, 12>& fields);

} // namespace gyrena
