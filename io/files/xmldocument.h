#pragma once

// XML documents as Gyrena reads and writes them, through pugixml: one way to read a document a
// user gives (bounded, whole or not at all, its line numbers kept for messages) and one way to
// write one. For the readers and writers inside io/ only; the rest of the program sees records.

#include "io/files/fileerror.h"

#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace gyrena {

// Bounds on a document read: far beyond any file Gyrena writes, so that a wrong file is
// refused before it costs much memory or time.
inline constexpr std::size_t kMaxXmlDepth = 64;
inline constexpr std::size_t kMaxXmlNodes = 1000000;

// A document read from bytes, with the text it was parsed from (UTF-8), so that a reader can say
// on which line a node stands.
class XmlInput
{
public:
    // Parses `bytes`: UTF-8 (a byte order mark allowed) or UTF-16 in either byte order (with its
    // byte order mark, or beginning with its XML declaration). Refuses, with a FileError
    // (Kind::Unreadable) whose `what` says why and whose `line` says where (1-based): text that is
    // not well-formed XML, including a reference to an entity XML does not define (&name; other
    // than &amp; &lt; &gt; &quot; &apos;); a document type declaration (<!DOCTYPE ...>), so that
    // no entity is ever declared, let alone expanded; a document nested deeper than
    // kMaxXmlDepth or holding more than kMaxXmlNodes nodes. Time and memory grow linearly with the
    // bytes. Never throws.
    std::optional<FileError> parse(std::string_view bytes);

    const pugi::xml_document& document() const { return m_document; }

    // The 1-based line of `node` in the text parsed; 1 for a null node.
    int lineOf(pugi::xml_node node) const;

private:
    int lineAt(std::ptrdiff_t offset) const;

    std::string m_text;
    pugi::xml_document m_document;
};

// The bytes of `document` as every XML file Gyrena writes holds them: UTF-8, the declaration
// <?xml version="1.0" encoding="UTF-8"?> first, one element a line indented by two blanks.
std::string xmlDocumentBytes(const pugi::xml_document& document);

// A UTC minute (geo/utctime.h) as xs:dateTime with its seconds: "2026-06-01T09:00:00Z".
std::string xmlDateTime(std::int64_t utcMinute);

} // namespace gyrena
