#include "io/files/atomicfile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace gyrena {

namespace {

std::string failure(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

std::string writeFileAtomically(const std::string& path, std::string_view bytes)
{
    std::string target = path;
    mode_t mode = 0;
    struct stat info
    {
    };
    if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (!realpath(path.c_str(), resolved))
            return failure("cannot follow the link " + path);
        target = resolved;
    }
    if (stat(target.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode))
            return target + ": not a regular file, left untouched";
        mode = info.st_mode & 07777;
    } else if (errno != ENOENT) {
        return failure("cannot reach " + target);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }

    const std::string folder = folderOf(target);
    std::string temporary = target + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return failure("cannot create a file in " + folder);
    std::string error;
    std::string_view rest = bytes;
    while (error.empty() && !rest.empty()) {
        const ssize_t written = write(fd, rest.data(), rest.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            error = failure("cannot write " + target);
        else
            rest.remove_prefix(static_cast<std::size_t>(written));
    }
    if (error.empty() && fchmod(fd, mode) != 0)
        error = failure("cannot set the permissions of " + target);
    if (error.empty() && fsync(fd) != 0)
        error = failure("cannot write " + target + " to disk");
    if (close(fd) != 0 && error.empty())
        error = failure("cannot write " + target);
    if (error.empty() && rename(temporary.c_str(), target.c_str()) != 0)
        error = failure("cannot replace " + target);
    if (!error.empty()) {
        unlink(temporary.c_str());
        return error;
    }
    // The rename itself reaches the disk only with the folder.
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    return {};
}

} // namespace gyrena
