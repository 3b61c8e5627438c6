#include "io/files/xmldocument.h"

#include "geo/utctime.h"

#include <algorithm>
#include <array>

namespace gyrena {

namespace {

FileError unreadable(std::string what, int line)
{
    FileError error;
    error.kind = FileError::Kind::Unreadable;
    error.what = std::move(what);
    error.line = line;
    return error;
}

constexpr std::string_view kNotWellFormed = "not well-formed XML: ";

// Appends code point `code` (at most U+10FFFF) to `out` as UTF-8.
void appendUtf8(std::string& out, char32_t code)
{
    const auto byte = [&](char32_t value) { out += static_cast<char>(value); };
    if (code < 0x80) {
        byte(code);
    } else if (code < 0x800) {
        byte(0xC0 | code >> 6);
        byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        byte(0xE0 | code >> 12);
        byte(0x80 | (code >> 6 & 0x3F));
        byte(0x80 | (code & 0x3F));
    } else {
        byte(0xF0 | code >> 18);
        byte(0x80 | (code >> 12 & 0x3F));
        byte(0x80 | (code >> 6 & 0x3F));
        byte(0x80 | (code & 0x3F));
    }
}

// Whether `bytes` are UTF-16, as XML 1.0 (appendix F) recognises it: a byte order mark, or
// "<?" as two 16-bit units. Sets `bigEndian` and the bytes of the mark to skip.
bool isUtf16(std::string_view bytes, bool& bigEndian, std::size_t& skip)
{
    const auto starts = [&](std::string_view prefix) {
        return bytes.substr(0, prefix.size()) == prefix;
    };
    using namespace std::string_view_literals;
    skip = starts("\xFF\xFE"sv) || starts("\xFE\xFF"sv) ? 2 : 0;
    bigEndian = starts("\xFE\xFF"sv) || starts("\0<\0?"sv);
    return skip == 2 || starts("<\0?\0"sv) || starts("\0<\0?"sv);
}

// UTF-16 `bytes` (after the mark) as UTF-8 in `out`, or why not.
std::optional<FileError> utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string& out)
{
    if (bytes.size() % 2 != 0)
        return unreadable("the UTF-16 text ends in half a character", 0);
    int line = 1;
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
        const auto lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
        return char32_t{hi} << 8 | lo;
    };
    out.reserve(bytes.size() / 2 * 3);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        char32_t code = unit(i);
        if (code >= 0xD800 && code <= 0xDBFF && i + 2 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (code >= 0xD800 && code <= 0xDFFF)
            return unreadable(std::string(kNotWellFormed) + "a lone UTF-16 surrogate", line);
        if (code == '\n')
            ++line;
        appendUtf8(out, code);
    }
    return std::nullopt;
}

// The entity reference at `at` (text[at] == '&'), when it is one XML defines without a
// document type declaration; otherwise the reference as written, cut short, for a message.
std::optional<std::string> undefinedReference(std::string_view text, std::size_t at)
{
    constexpr std::array<std::string_view, 5> kPredefined = {"amp", "lt", "gt", "quot", "apos"};
    constexpr std::size_t kLongestShown = 32;
    const std::size_t end = text.find(';', at);
    const std::string_view name =
        text.substr(at + 1, end == std::string_view::npos ? kLongestShown : end - at - 1);
    const auto isDigits = [](std::string_view digits, bool hex) {
        return !digits.empty() && std::all_of(digits.begin(), digits.end(), [hex](char c) {
            return (c >= '0' && c <= '9') ||
                   (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
        });
    };
    if (end != std::string_view::npos) {
        if (std::find(kPredefined.begin(), kPredefined.end(), name) != kPredefined.end())
            return std::nullopt;
        if (name.size() > 1 && name[0] == '#' &&
            (name[1] == 'x' ? isDigits(name.substr(2), true) : isDigits(name.substr(1), false)))
            return std::nullopt;
    }
    std::string shown(1, '&');
    shown.append(name.substr(0, kLongestShown));
    if (end == at + 1 + name.size())
        shown.push_back(';');
    return shown;
}

// The offset of the first reference to an entity XML does not define, in a document known to be
// well-formed as pugixml reads it and to hold no document type declaration; npos when none.
// Comments, CDATA sections and processing instructions hold '&' as a plain character.
std::size_t firstUndefinedReference(std::string_view text)
{
    char quote = 0;   // the quote of the attribute value we are in, inside a tag
    bool tag = false; // between '<' and '>'
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            else if (c == '&' && undefinedReference(text, i))
                return i;
        } else if (tag) {
            if (c == '"' || c == '\'')
                quote = c;
            else if (c == '>')
                tag = false;
        } else if (c == '&') {
            if (undefinedReference(text, i))
                return i;
        } else if (c == '<') {
            const std::string_view rest = text.substr(i);
            const auto skipTo = [&](std::string_view end) {
                const std::size_t found = text.find(end, i + 2);
                i = found == std::string_view::npos ? text.size() : found + end.size() - 1;
            };
            if (rest.starts_with("<!--"))
                skipTo("-->");
            else if (rest.starts_with("<![CDATA["))
                skipTo("]]>");
            else if (rest.starts_with("<?"))
                skipTo("?>");
            else
                tag = true;
        }
    }
    return std::string_view::npos;
}

// Stops at the first node beyond the depth or count limits.
class Bounds : public pugi::xml_tree_walker
{
public:
    bool for_each(pugi::xml_node& node) override
    {
        if (++m_nodes > kMaxXmlNodes)
            m_problem = "more than " + std::to_string(kMaxXmlNodes) + " XML nodes";
        else if (static_cast<std::size_t>(depth()) >= kMaxXmlDepth)
            m_problem = "elements nested deeper than " + std::to_string(kMaxXmlDepth);
        if (m_problem.empty())
            return true;
        m_where = node;
        return false;
    }
    std::size_t m_nodes = 0;
    std::string m_problem;
    pugi::xml_node m_where;
};

class StringWriter : public pugi::xml_writer
{
public:
    void write(const void* data, std::size_t size) override
    {
        m_out.append(static_cast<const char*>(data), size);
    }
    std::string m_out;
};

} // namespace

std::optional<FileError> XmlInput::parse(std::string_view bytes)
{
    m_document.reset();
    m_text.clear();
    bool bigEndian = false;
    std::size_t skip = 0;
    if (isUtf16(bytes, bigEndian, skip)) {
        if (std::optional<FileError> error = utf16ToUtf8(bytes.substr(skip), bigEndian, m_text))
            return error;
    } else {
        m_text = bytes;
    }
    // Without parse_doctype pugixml would skip a document type declaration unseen.
    const pugi::xml_parse_result parsed = m_document.load_buffer(
        m_text.data(), m_text.size(),
        pugi::parse_default | pugi::parse_doctype | pugi::parse_ws_pcdata_single,
        pugi::encoding_utf8);
    if (!parsed)
        return unreadable(std::string(kNotWellFormed) + parsed.description(),
                          lineAt(parsed.offset));
    for (pugi::xml_node node : m_document.children())
        if (node.type() == pugi::node_doctype)
            return unreadable("a document type declaration (<!DOCTYPE>) is not allowed",
                              lineOf(node));
    if (const std::size_t at = firstUndefinedReference(m_text); at != std::string_view::npos)
        return unreadable(std::string(kNotWellFormed) + "the entity " +
                              *undefinedReference(m_text, at) + " is not defined",
                          lineAt(static_cast<std::ptrdiff_t>(at)));
    Bounds bounds;
    m_document.traverse(bounds);
    if (!bounds.m_problem.empty())
        return unreadable(bounds.m_problem, lineOf(bounds.m_where));
    return std::nullopt;
}

int XmlInput::lineOf(pugi::xml_node node) const
{
    return node ? lineAt(node.offset_debug()) : 1;
}

int XmlInput::lineAt(std::ptrdiff_t offset) const
{
    const auto end =
        std::clamp<std::ptrdiff_t>(offset, 0, static_cast<std::ptrdiff_t>(m_text.size()));
    return 1 + static_cast<int>(std::count(m_text.begin(), m_text.begin() + end, '\n'));
}

std::string xmlDocumentBytes(const pugi::xml_document& document)
{
    StringWriter writer;
    writer.m_out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    document.save(writer, "  ", pugi::format_indent | pugi::format_no_declaration,
                  pugi::encoding_utf8);
    return writer.m_out;
}

std::string xmlDateTime(std::int64_t utcMinute)
{
    std::string text = utcMinuteText(utcMinute);
    text.insert(text.size() - 1, ":00");
    return text;
}

} // namespace gyrena
