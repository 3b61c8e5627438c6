#pragma once

#include "platform/registry.h"

#include <functional>
#include <string>

namespace gyrena {

// Stands in for the registry where there is none: it holds exactly one value, the system
// information program's path (key "SOFTWARE\Microsoft\Shared Tools\MSINFO" under the local
// machine, value "PATH", a text with its terminating zero byte), and only when such a program
// is installed. Every other key and value is missing.
class DesktopRegistry final : public Registry
{
public:
    // Finds a program by name on PATH, returning its full path or an empty text.
    using Finder = std::function<std::string(const std::string& name)>;

    // The programs tried, in this order.
    static const char* const Candidates[4];

    DesktopRegistry(); // searches PATH
    // The search runs on the first use, not at start-up.
    explicit DesktopRegistry(Finder finder);

    long openKey(std::uint32_t root, const std::string& keyName, std::uint32_t accessMask,
                 Key& key) override;
    long queryValue(Key key, const std::string& valueName, std::uint32_t& type,
                    unsigned char* buffer, std::uint32_t& size) override;
    long closeKey(Key key) override;

    // The path found, empty when none of the candidates is installed.
    const std::string& programPath();

private:
    static constexpr Key MsinfoKey = 1;
    Finder m_finder;
    bool m_searched = false;
    std::string m_programPath;
    int m_openKeys = 0;
};

} // namespace gyrena
