#pragma once

// In-memory stand-ins for the registry and the program launcher, shared by the About window
// suites. The registry behaves as the Windows one does where getKeyValue can tell: names
// compare without case, data longer than the caller's buffer fails with ERROR_MORE_DATA, and a
// key asked for more than reading can be refused, as for a user without administrator rights.

#include "platform/launcher.h"
#include "platform/registry.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace gyrena {

class FakeRegistry : public Registry
{
public:
    struct Value
    {
        std::uint32_t type = TypeString;
        std::string bytes;
    };

    // Text stored with its terminating zero byte, as programs usually write it.
    static Value text(const std::string& s) { return {TypeString, s + std::string(1, '\0')}; }
    static Value dword(std::uint32_t n)
    {
        std::string bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[i] = static_cast<char>((n >> (8 * i)) & 0xFFu);
        return {TypeDword, bytes};
    }

    void set(const std::string& key, const std::string& name, const Value& value)
    {
        m_keys[lower(key)][lower(name)] = value;
    }
    void addKey(const std::string& key) { m_keys[lower(key)]; }
    // Only read access is granted, as to a user without administrator rights.
    bool readOnlyUser = true;

    long openKey(std::uint32_t root, const std::string& keyName, std::uint32_t accessMask,
                 Key& key) override
    {
        openMasks.push_back(accessMask);
        key = 0;
        const auto it = m_keys.find(lower(keyName));
        if (root != LocalMachine || it == m_keys.end())
            return ErrorNotFound;
        if (readOnlyUser && (accessMask & ~KeyRead) != 0)
            return ErrorAccess;
        key = m_nextKey++;
        m_open[key] = it->first;
        return 0;
    }

    long queryValue(Key key, const std::string& valueName, std::uint32_t& type,
                    unsigned char* buffer, std::uint32_t& size) override
    {
        bufferSizes.push_back(size);
        buffersZeroed.push_back(
            std::all_of(buffer, buffer + size, [](unsigned char b) { return b == 0; }));
        const auto open = m_open.find(key);
        if (open == m_open.end())
            return 6; // ERROR_INVALID_HANDLE
        const auto& values = m_keys[open->second];
        const auto it = values.find(lower(valueName));
        if (it == values.end())
            return ErrorNotFound;
        type = it->second.type;
        const auto needed = static_cast<std::uint32_t>(it->second.bytes.size());
        if (needed > size) {
            size = needed;
            return ErrorMoreData;
        }
        std::memcpy(buffer, it->second.bytes.data(), needed);
        size = needed;
        return 0;
    }

    long closeKey(Key key) override { return m_open.erase(key) == 1 ? 0 : 6; }

    // Keys opened and not closed yet.
    std::size_t openKeys() const { return m_open.size(); }

    std::vector<std::uint32_t> openMasks;
    std::vector<std::uint32_t> bufferSizes;
    std::vector<bool> buffersZeroed;

private:
    static std::string lower(std::string s)
    {
        for (char& c : s)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    }

    std::map<std::string, std::map<std::string, Value>> m_keys;
    std::map<Key, std::string> m_open;
    Key m_nextKey = 0x100;
};

// Files exist only when listed; a launch succeeds only for a listed file.
class FakeLauncher : public Launcher
{
public:
    std::set<std::string> files;
    std::set<std::string> unrunnable; // exist but fail to start
    std::vector<std::string> launched;
    std::vector<std::string> tried;
    std::vector<std::string> existsAsked;

    bool launch(const std::string& path) override
    {
        tried.push_back(path);
        if (files.count(path) == 0 || unrunnable.count(path) != 0)
            return false;
        launched.push_back(path);
        return true;
    }
    bool fileExists(const std::string& path) override
    {
        existsAsked.push_back(path);
        return files.count(path) != 0;
    }
};

} // namespace gyrena
