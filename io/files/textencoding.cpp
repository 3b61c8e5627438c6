#include "io/files/textencoding.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace gyrena {

namespace {

// Windows-1252 bytes 0x80..0x9F; the five bytes the code page leaves unassigned keep the C1
// control of the same number so that every byte decodes to something and encodes back.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Length of the well-formed UTF-8 sequence at `pos`, 0 when there is none.
std::size_t utf8SequenceLength(std::string_view s, std::size_t pos)
{
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0)
            lo = 0xA0; // overlong
        else if (b0 == 0xED)
            hi = 0x9F; // surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0)
            lo = 0x90; // overlong
        else if (b0 == 0xF4)
            hi = 0x8F; // beyond U+10FFFF
    } else {
        return 0;
    }
    if (s.size() - pos < length)
        return 0;
    const auto b1 = static_cast<unsigned char>(s[pos + 1]);
    if (b1 < lo || b1 > hi)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if (b < 0x80 || b > 0xBF)
            return 0;
    }
    return length;
}

char32_t decodeUtf8At(std::string_view s, std::size_t pos, std::size_t length)
{
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (length == 1)
        return b0;
    char32_t c = b0 & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i)
        c = (c << 6) | (static_cast<unsigned char>(s[pos + i]) & 0x3F);
    return c;
}

// The Windows-1252 byte of a character, or -1 when the code page has none.
int cp1252Byte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] == c)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

bool isAscii(std::string_view s)
{
    for (char ch : s) {
        if (static_cast<unsigned char>(ch) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

bool isValidUtf8(std::string_view bytes)
{
    const char* const data = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t pos = 0;
    while (pos < size) {
        // Runs of ASCII are the common case: skip them sixteen bytes at a time.
        while (size - pos >= 16) {
            std::uint64_t words[2];
            std::memcpy(words, data + pos, sizeof words);
            if ((words[0] | words[1]) & 0x8080808080808080ULL)
                break;
            pos += 16;
        }
        while (pos < size && static_cast<unsigned char>(data[pos]) < 0x80)
            ++pos;
        if (pos >= size)
            break;
        const std::size_t length = utf8SequenceLength(bytes, pos);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

std::string decodeFileText(std::string_view bytes)
{
    std::string storage;
    const std::string_view text = decodeFileText(bytes, storage);
    if (text.data() == storage.data())
        return storage;
    return std::string(text);
}

std::string_view decodeFileText(std::string_view bytes, std::string& storage)
{
    if (isValidUtf8(bytes)) {
        // Editors that save "UTF-8 with signature" put a byte order mark first; it is no text.
        if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom)
            bytes.remove_prefix(kUtf8Bom.size());
        return bytes;
    }
    // At most three UTF-8 bytes per byte; written through a pointer, then cut to length.
    storage.resize(bytes.size() * 3);
    char* out = storage.data();
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            *out++ = ch;
            continue;
        }
        const char32_t c = b < 0xA0 ? kCp1252High[b - 0x80] : b;
        if (c < 0x800) {
            *out++ = static_cast<char>(0xC0 | (c >> 6));
        } else {
            *out++ = static_cast<char>(0xE0 | (c >> 12));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        }
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    storage.resize(static_cast<std::size_t>(out - storage.data()));
    return storage;
}

std::string encodeFileText(std::string_view utf8)
{
    if (isAscii(utf8) || !isValidUtf8(utf8))
        return std::string(utf8);
    std::string single;
    single.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t length = utf8SequenceLength(utf8, pos);
        const int byte = cp1252Byte(decodeUtf8At(utf8, pos, length));
        if (byte < 0)
            return std::string(utf8);
        single.push_back(static_cast<char>(byte));
        pos += length;
    }
    // A reader takes valid UTF-8 as UTF-8: single-byte text that happens to be valid UTF-8
    // ("Ã©" is C3 A9, which is UTF-8 for "é") would come back changed, so it is written as UTF-8.
    if (isValidUtf8(single))
        return std::string(utf8);
    return single;
}

} // namespace gyrena
