#pragma once

#include "io/files/fileerror.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
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

// Where reading a whole file stopped: it could not be opened or is no regular file (Open), the
// read failed (Read), or its bytes are no valid record (Parse).
enum class ReadStep { Open, Read, Parse };

struct FileReadError
{
    ReadStep step = ReadStep::Open;
    FileError error;
};

// How much of a file is read: at most `bytes`. With a `tooLarge` reason, a file larger than
// `bytes` is refused with it (from the size the system gives, before a byte is read, or when it
// grew while being read); without one, only its first `bytes` are read.
struct ReadLimit
{
    std::size_t bytes = 0;
    const char* tooLarge = nullptr;
};

// The bytes of the regular file at `path` (the system's bytes for the name), read within
// `limit`, or why not (step Open or Read, kind Unreadable). Never throws, never blocks on a
// pipe or a device.
std::variant<std::string, FileReadError> readRegularFile(const std::string& path, ReadLimit limit);

// Reads the file as above and parses its bytes with `parse` (std::string_view ->
// std::variant<Record, FileError>): the record, or why not and at which step. Every reader of
// a file a user picks goes through here.
template <class Record, class Parse>
std::variant<Record, FileReadError> readRegularFile(const std::string& path, ReadLimit limit,
                                                    Parse&& parse)
{
    std::variant<std::string, FileReadError> bytes = readRegularFile(path, limit);
    if (auto* error = std::get_if<FileReadError>(&bytes))
        return std::move(*error);
    std::variant<Record, FileError> parsed = parse(std::string_view(std::get<std::string>(bytes)));
    // The record keeps what it needs: the file's bytes go before the caller fills anything.
    std::string().swap(std::get<std::string>(bytes));
    if (auto* error = std::get_if<FileError>(&parsed))
        return FileReadError{ReadStep::Parse, std::move(*error)};
    return std::move(std::get<Record>(parsed));
}

} // namespace gyrena
