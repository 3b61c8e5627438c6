#pragma once

#include <string>

namespace gyrena {

// Starts programs and tests files, as the About window needs.
class Launcher
{
public:
    virtual ~Launcher() = default;

    // Starts the program at `path` detached, in a normal window with the focus, without waiting.
    // False when it could not be started (empty path, missing or unrunnable file).
    virtual bool launch(const std::string& path) = 0;

    // True when an ordinary file exists at `path` (hidden and system files do not count).
    virtual bool fileExists(const std::string& path) = 0;
};

} // namespace gyrena
