#include "io/files/regularfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace gyrena {

namespace {

// O_NONBLOCK keeps even a pipe that replaced the file after the first test from blocking the
// open; O_NOCTTY keeps a terminal from becoming ours. Systems without them have no such files.
constexpr int kOpenFlags = O_RDONLY
#ifdef O_BINARY
                           | O_BINARY
#endif
#ifdef O_CLOEXEC
                           | O_CLOEXEC
#endif
#ifdef O_NONBLOCK
                           | O_NONBLOCK
#endif
#ifdef O_NOCTTY
                           | O_NOCTTY
#endif
    ;

FileError unreadable(std::string what)
{
    return FileError{FileError::Kind::Unreadable, std::move(what), 0, 0, {}};
}

FileError systemError(int number)
{
    return unreadable(std::strerror(number));
}

} // namespace

std::variant<RegularFile, FileError> RegularFile::open(const std::string& path)
{
    // Tested before opening, so that a device is not even opened; tested again on what was
    // opened, so that a file swapped for a pipe in between is refused all the same.
    struct stat before = {};
    if (::stat(path.c_str(), &before) != 0)
        return systemError(errno);
    if (!S_ISREG(before.st_mode))
        return unreadable(kNotRegular);
    int descriptor = -1;
    do {
        descriptor = ::open(path.c_str(), kOpenFlags);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0)
        return systemError(errno);
    struct stat opened = {};
    if (::fstat(descriptor, &opened) != 0) {
        const int number = errno;
        ::close(descriptor);
        return systemError(number);
    }
    if (!S_ISREG(opened.st_mode)) {
        ::close(descriptor);
        return unreadable(kNotRegular);
    }
    return RegularFile(descriptor, static_cast<std::uint64_t>(
                                       std::max<decltype(opened.st_size)>(opened.st_size, 0)));
}

RegularFile::RegularFile(RegularFile&& other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1)), m_size(other.m_size)
{
}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept
{
    if (this != &other) {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        m_descriptor = std::exchange(other.m_descriptor, -1);
        m_size = other.m_size;
    }
    return *this;
}

RegularFile::~RegularFile()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

std::variant<std::string, FileError> RegularFile::readAtMost(std::size_t limit)
{
    // Sized from the file's own claim at first, but grown only as bytes arrive: a file that lies
    // about its size costs no more than it holds, and never more than the limit.
    constexpr std::size_t kFirstPiece = 4096;
    const std::size_t claimed = m_size < limit ? static_cast<std::size_t>(m_size) + 1 : limit;
    std::string bytes(std::min(limit, std::max(claimed, kFirstPiece)), '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used >= limit)
                break;
            bytes.resize(std::min(limit, used * 2));
        }
        const auto got =
            ::read(m_descriptor, bytes.data() + used,
                   static_cast<unsigned>(std::min<std::size_t>(bytes.size() - used, 1u << 30)));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return systemError(errno);
        }
        if (got == 0)
            break;
        used += static_cast<std::size_t>(got);
    }
    bytes.resize(used);
    return bytes;
}

std::variant<std::string, FileReadError> readRegularFile(const std::string& path, ReadLimit limit)
{
    std::variant<RegularFile, FileError> file = RegularFile::open(path);
    if (auto* error = std::get_if<FileError>(&file))
        return FileReadError{ReadStep::Open, std::move(*error)};
    RegularFile& regular = std::get<RegularFile>(file);
    if (limit.tooLarge && regular.size() > limit.bytes)
        return FileReadError{ReadStep::Read, unreadable(limit.tooLarge)};
    // One byte more than allowed when the size is checked, so a file that grew is seen.
    const bool checked = limit.tooLarge != nullptr && limit.bytes < SIZE_MAX;
    std::variant<std::string, FileError> bytes = regular.readAtMost(limit.bytes + checked);
    if (auto* error = std::get_if<FileError>(&bytes))
        return FileReadError{ReadStep::Read, std::move(*error)};
    if (checked && std::get<std::string>(bytes).size() > limit.bytes)
        return FileReadError{ReadStep::Read, unreadable(limit.tooLarge)};
    return std::move(std::get<std::string>(bytes));
}

} // namespace gyrena
