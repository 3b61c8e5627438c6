#pragma once

#include <string>
#include <string_view>

namespace gyrena {

// Writes `bytes` to `path` so that the file holds either its old bytes or all the new ones: a
// temporary file in the same folder is written, flushed to disk (fsync) and renamed over the
// target, then the folder is flushed. A symbolic link is followed and its target replaced; an
// existing target keeps its permissions, a new one gets 0666 less the umask. A target that is
// not a regular file (a folder, a device, a pipe) is refused untouched. Returns an empty text on
// success, else why it failed (in English, with the system's reason); nothing is left beside
// the target then.
std::string writeFileAtomically(const std::string& path, std::string_view bytes);

} // namespace gyrena
