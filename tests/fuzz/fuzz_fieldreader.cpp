// The field reader against a plain reading of its rules (no limits, no speed tricks), its batch
// reading against its one-by-one reading, and the text encodings: decoding never fails,
// encoding then decoding gives the text back.
#include "io/files/textencoding.h"
#include "io/formats/fieldreader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_fieldreader: %s\n", what);
        std::abort();
    }
}

int lineEndsIn(std::string_view s)
{
    int count = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\n' || (s[i] == '\r' && (i + 1 == s.size() || s[i + 1] != '\n')))
            ++count;
    }
    return count;
}

// One field as the rules describe it, or bad = true when it breaks a limit.
struct Expected
{
    std::string_view value;
    int line = 1;
    bool bad = false;
};

class PlainReader
{
public:
    explicit PlainReader(std::string_view text) : m_text(text) {}
    bool atEnd() const { return m_pos >= m_text.size() && !m_afterComma; }

    Expected next()
    {
        Expected field;
        m_afterComma = false;
        field.line = m_line;
        while (m_pos < m_text.size() && m_text[m_pos] == ' ')
            ++m_pos;
        std::string_view skipped;
        if (m_pos < m_text.size() && m_text[m_pos] == '"') {
            const std::size_t close = m_text.find('"', m_pos + 1);
            if (close == std::string_view::npos) {
                field.value = m_text.substr(m_pos + 1);
                m_pos = m_text.size();
            } else {
                field.value = m_text.substr(m_pos + 1, close - m_pos - 1);
                const std::size_t end =
                    std::min(m_text.find_first_of(",\r\n", close + 1), m_text.size());
                skipped = m_text.substr(close + 1, end - close - 1);
                m_pos = end;
            }
            m_line += lineEndsIn(field.value);
        } else {
            const std::size_t end = std::min(m_text.find_first_of(",\r\n", m_pos), m_text.size());
            field.value = m_text.substr(m_pos, end - m_pos);
            m_pos = end;
        }
        field.bad = field.value.size() > gyrena::kMaxFieldBytes ||
                    skipped.size() > gyrena::kMaxFieldBytes ||
                    field.value.find('\0') != std::string_view::npos ||
                    skipped.find('\0') != std::string_view::npos;
        if (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (c == ',') {
                m_afterComma = true;
            } else {
                if (c == '\r' && m_pos < m_text.size() && m_text[m_pos] == '\n')
                    ++m_pos;
                ++m_line;
            }
        }
        return field;
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
    bool m_afterComma = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = gyrena::decodeFileText(bytes);
    check(gyrena::isValidUtf8(text), "decoded text is not UTF-8");
    if (!text.starts_with("\xEF\xBB\xBF"))
        check(gyrena::decodeFileText(gyrena::encodeFileText(text)) == text,
              "encoding and decoding changed the text");

    // Batches of 1 to 8 fields (sizes taken from the text itself) read what single reads read.
    {
        gyrena::FieldReader single(text), batch(text);
        gyrena::FileError singleError, batchError;
        std::string_view fields[8];
        for (std::size_t round = 0;; ++round) {
            const int count =
                text.empty() ? 8 : 1 + static_cast<unsigned char>(text[round % text.size()]) % 8;
            const int got = batch.nextFields(fields, count, batchError);
            for (int i = 0; i < got; ++i) {
                const auto value = single.nextView(singleError);
                check(value && *value == fields[i], "a batch read differs");
                if (i + 1 == count)
                    check(single.line() == batch.line(), "a batch line differs");
            }
            check(single.fieldsRead() == batch.fieldsRead(), "batch field counts differ");
            if (got < count) {
                check(!single.nextView(singleError), "a batch failed where a single read did not");
                check(singleError.what == batchError.what && singleError.line == batchError.line &&
                          singleError.field == batchError.field,
                      "batch errors differ");
                check(single.ranPastEnd() == batch.ranPastEnd() && single.line() == batch.line(),
                      "batch ends differ");
                break;
            }
            check(single.currentLine() == batch.currentLine(), "batch positions differ");
        }
    }

    gyrena::FieldReader reader(text);
    PlainReader plain(text);
    gyrena::FileError error;
    for (int fields = 0;; ++fields) {
        check(reader.atEnd() == plain.atEnd(), "the readers disagree about the end");
        if (plain.atEnd()) {
            check(!reader.next(error), "a field past the end");
            check(error.kind == gyrena::FileError::Kind::Unreadable, "wrong error kind");
            check(!reader.next(error), "the reader did not stay failed");
            return 0;
        }
        const Expected expected = plain.next();
        const auto value = reader.nextView(error);
        if (expected.bad) {
            check(!value, "a field over the limits was read");
            check(!error.what.empty() && error.field == fields + 1, "a poor error");
            return 0;
        }
        check(value.has_value(), "a good field failed");
        check(*value == expected.value, "the readers disagree about a value");
        check(reader.line() == expected.line, "the readers disagree about a line");
        check(reader.fieldsRead() == fields + 1, "wrong field count");
    }
}
