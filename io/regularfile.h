#pragma once

#include "io/fileerror.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>

namespace gyrena {

// A file open for reading that is known to be a regular file. Gyrena reads only regular files:
// a named pipe blocks its reader until a writer comes, and a device or a socket either never
// ends or is no file at all, so none of them may reach a read.
class RegularFile
{
public:
    // The reason every refused kind of file gets, in messages.
    static constexpr const char* kNotRegular = "not a regular file";

    // Opens `path` (the system's bytes for the name) for reading. A path that names anything but
    // a regular file, after following symbolic links (a directory, a named pipe, a device, a
    // socket), gives Kind::Unreadable with what = kNotRegular; it is never opened in a way that
    // can block. A file that cannot be opened gives Kind::Unreadable with the system's reason
    // ("No such file or directory"). Never throws.
    static std::variant<RegularFile, FileError> open(const std::string& path);

    RegularFile(RegularFile&& other) noexcept;
    RegularFile& operator=(RegularFile&& other) noexcept;
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;
    ~RegularFile();

    // The size in bytes the system gave when the file was opened.
    std::uint64_t size() const { return m_size; }

    // Reads from the current position to the end of the file, but no more than `limit` bytes;
    // memory grows with what is read, not with the size the file claims. A read error gives
    // Kind::Unreadable with the system's reason.
    std::variant<std::string, FileError> readAtMost(std::size_t limit);

private:
    RegularFile(int descriptor, std::uint64_t size) : m_descriptor(descriptor), m_size(size) {}

    int m_descriptor = -1;
    std::uint64_t m_size = 0;
};

} // namespace gyrena
