#include "platform/desktopregistry.h"

#include <QStandardPaths>
#include <QString>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

namespace gyrena {

namespace {

// Key names compare without regard to case, as the registry's do.
bool sameName(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string findOnPath(const std::string& name)
{
    return QStandardPaths::findExecutable(QString::fromStdString(name)).toStdString();
}

} // namespace

const char* const DesktopRegistry::Candidates[4] = {"kinfocenter", "gnome-system-monitor",
                                                    "hardinfo", "xfce4-taskmanager"};

DesktopRegistry::DesktopRegistry() : DesktopRegistry(findOnPath) {}

DesktopRegistry::DesktopRegistry(Finder finder) : m_finder(std::move(finder)) {}

const std::string& DesktopRegistry::programPath()
{
    if (!m_searched) {
        m_searched = true;
        for (const char* name : Candidates) {
            m_programPath = m_finder(name);
            if (!m_programPath.empty())
                break;
        }
    }
    return m_programPath;
}

long DesktopRegistry::openKey(std::uint32_t root, const std::string& keyName, std::uint32_t,
                              Key& key)
{
    key = 0;
    if (root != LocalMachine || programPath().empty() ||
        !sameName(keyName, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"))
        return ErrorNotFound;
    key = MsinfoKey;
    ++m_openKeys;
    return 0;
}

long DesktopRegistry::queryValue(Key key, const std::string& valueName, std::uint32_t& type,
                                 unsigned char* buffer, std::uint32_t& size)
{
    if (key != MsinfoKey || m_openKeys == 0 || !sameName(valueName, "PATH"))
        return ErrorNotFound;
    const std::uint32_t needed = static_cast<std::uint32_t>(m_programPath.size() + 1);
    type = TypeString;
    if (needed > size) {
        size = needed;
        return ErrorMoreData;
    }
    std::memcpy(buffer, m_programPath.c_str(), needed); // with its terminating zero byte
    size = needed;
    return 0;
}

long DesktopRegistry::closeKey(Key key)
{
    if (key != MsinfoKey || m_openKeys == 0)
        return ErrorNotFound;
    --m_openKeys;
    return 0;
}

#ifndef _WIN32
std::unique_ptr<Registry> makeSystemRegistry()
{
    return std::make_unique<DesktopRegistry>();
}
#endif

} // namespace gyrena
