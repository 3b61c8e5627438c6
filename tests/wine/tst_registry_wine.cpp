// getKeyValue against the real Windows registry API: built with mingw-w64 and run under Wine by
// tests/wine/run.sh. Each value is written with RegSetValueExA, then read back through
// WindowsRegistry and getKeyValue exactly as the About window reads it.

#include "platform/getkeyvalue.h"
#include "platform/registry.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <string>

using gyrena::getKeyValue;
using gyrena::Registry;

namespace {

int passed = 0;
int failed = 0;

void check(bool ok, const char* what, const std::string& detail = std::string())
{
    if (ok) {
        ++passed;
        std::printf("PASS   %s\n", what);
    } else {
        ++failed;
        std::printf("FAIL!  %s %s\n", what, detail.c_str());
    }
}

std::string shown(const std::string& s)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c >= 32 && c < 127) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    return out + "\"";
}

const char* const kTestKey = "SOFTWARE\\Gyrena Registry Test";

bool write(const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const LONG status = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// Reads through getKeyValue: "threw" when it raised the empty-value error.
struct Read
{
    bool result = false;
    bool threw = false;
    std::string value;
};

Read read(Registry& registry, const std::string& key, const std::string& name,
          const std::string& before = "before")
{
    Read r;
    r.value = before;
    try {
        r.result = getKeyValue(registry, Registry::LocalMachine, key, name, r.value);
    } catch (const gyrena::EmptyRegistryValue&) {
        r.threw = true;
    }
    return r;
}

void expectText(Registry& registry, const char* what, const char* name, const std::string& text)
{
    const Read r = read(registry, kTestKey, name);
    check(r.result && !r.threw && r.value == text, what,
          "got " + std::string(r.result ? "true " : "false ") + shown(r.value) + ", expected " +
              shown(text));
}

} // namespace

int main()
{
    const std::unique_ptr<Registry> registry = gyrena::makeSystemRegistry();
    const std::string tool = "C:\\windows\\system32\\msinfo32.exe";

    bool ok = write("WithZero", REG_SZ, tool.c_str(), DWORD(tool.size() + 1)) &&
              write("WithoutZero", REG_SZ, tool.c_str(), DWORD(tool.size())) &&
              write("Folder", REG_SZ, "C:\\Tools\\", 10) &&
              write("Binary", REG_BINARY, "\x01\x02\x03", 3) &&
              write("EmptyBinary", REG_BINARY, "", 0) &&
              write("Expand", REG_EXPAND_SZ, "%SystemRoot%\\x.exe", 19);
    const DWORD number = 0x1A2B;
    const DWORD big = 0xDEADBEEF;
    const DWORD zero = 0;
    ok = ok && write("Number", REG_DWORD, &number, 4) && write("Big", REG_DWORD, &big, 4) &&
         write("Zero", REG_DWORD, &zero, 4);
    const std::string tooLong(1024, 'x'); // 1025 bytes with its zero byte
    const std::string fits(1023, 'y');    // 1024 bytes with its zero byte
    ok = ok && write("TooLong", REG_SZ, tooLong.c_str(), DWORD(tooLong.size() + 1)) &&
         write("Fits", REG_SZ, fits.c_str(), DWORD(fits.size() + 1));
    check(ok, "test values written with RegSetValueExA");
    if (!ok) {
        std::printf("%d passed, %d failed\n", passed, failed + 1);
        return 1;
    }

    expectText(*registry, "text with its terminating zero byte", "WithZero", tool);
    expectText(*registry, "text stored without a zero byte", "WithoutZero", tool);
    expectText(*registry, "folder ending in a backslash", "Folder", "C:\\Tools\\");
    expectText(*registry, "32-bit number 0x1A2B", "Number", "&h1A2B");
    expectText(*registry, "32-bit number 0xDEADBEEF", "Big", "&hDEADBEEF");
    expectText(*registry, "32-bit number 0", "Zero", "&h0");
    expectText(*registry, "text of 1024 bytes fills the buffer", "Fits", fits);
    // Names compare without case in the registry.
    {
        const Read r = read(*registry, "software\\gyrena registry test", "withzero");
        check(r.result && r.value == tool, "key and value names without regard to case",
              shown(r.value));
    }

    const Read binary = read(*registry, kTestKey, "Binary", "kept");
    check(binary.result && binary.value == "kept", "binary value: true, text unchanged",
          shown(binary.value));
    const Read expand = read(*registry, kTestKey, "Expand", "kept");
    check(expand.result && expand.value == "kept", "expandable text: true, text unchanged",
          shown(expand.value));

    const Read empty = read(*registry, kTestKey, "EmptyBinary");
    check(empty.threw && empty.value.empty(), "value without bytes fails outright",
          std::string(empty.threw ? "threw " : "returned ") + shown(empty.value));
    const Read tooLongRead = read(*registry, kTestKey, "TooLong");
    check(!tooLongRead.result && !tooLongRead.threw && tooLongRead.value.empty(),
          "value longer than the buffer fails", shown(tooLongRead.value));
    const Read missingValue = read(*registry, kTestKey, "Nothing");
    check(!missingValue.result && missingValue.value.empty(), "missing value fails",
          shown(missingValue.value));
    const Read missingKey = read(*registry, "SOFTWARE\\Gyrena No Such Key", "PATH");
    check(!missingKey.result && missingKey.value.empty(), "missing key fails",
          shown(missingKey.value));

    // The key is opened for reading only: KEY_READ, as getKeyValue asks for it.
    {
        Registry::Key key = 0;
        const long status =
            registry->openKey(Registry::LocalMachine, kTestKey, Registry::KeyRead, key);
        check(status == 0 && key != 0, "key opens with KEY_READ");
        if (status == 0) {
            const LONG denied = RegSetValueExA(reinterpret_cast<HKEY>(key), "Write", 0, REG_SZ,
                                               reinterpret_cast<const BYTE*>("x"), 2);
            check(denied == ERROR_ACCESS_DENIED, "a key opened for reading cannot be written");
            check(registry->closeKey(key) == 0, "key closes");
        }
        check(gyrena::kKeyValueAccess == KEY_READ, "getKeyValue asks for KEY_READ (0x20019)");
    }

    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTestKey);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
