#pragma once

#include "platform/launcher.h"

namespace gyrena {

// Starts programs with QProcess, detached, and tests files with QFileInfo.
class QtLauncher final : public Launcher
{
public:
    bool launch(const std::string& path) override;
    // A regular file that is not hidden (on Unix a name starting with a dot is hidden) and, on
    // Windows, not a system file.
    bool fileExists(const std::string& path) override;
};

} // namespace gyrena
