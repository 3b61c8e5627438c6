#include "platform/qtlauncher.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QString>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace gyrena {

namespace {

// Paths arrive in the system's single-byte encoding, as the registry hands them out.
QString fromSystem(const std::string& path)
{
    return QString::fromLocal8Bit(path);
}

} // namespace

bool QtLauncher::launch(const std::string& path)
{
    if (path.empty())
        return false;
    // startDetached fails for a missing or unrunnable file; the program opens its own window.
    return QProcess::startDetached(fromSystem(path), {});
}

bool QtLauncher::fileExists(const std::string& path)
{
    if (path.empty())
        return false;
    const QFileInfo info(fromSystem(path));
    if (!info.exists() || !info.isFile() || info.isHidden())
        return false;
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(
        reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(info.absoluteFilePath()).utf16()));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_SYSTEM))
        return false;
#endif
    return true;
}

} // namespace gyrena
