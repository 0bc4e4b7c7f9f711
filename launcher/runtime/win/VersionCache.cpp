#include "runtime/win/VersionCache.h"

#include <windows.h>

#include <cstring>

#include "files/win/UniqueHandle.h"
#include "log/Log.h"
#include "runtime/RuntimePaths.h"
#include "runtime/win/RegistryText.h"

static constexpr size_t kVersionCapacity = 6000;

bool readCachedVersion(const std::string& javaExecutable, uint64_t lastWriteTime, std::string& version) {
    version.clear();
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, versionCacheKey(javaExecutable).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    UniqueRegistryKey key(opened);

    unsigned char stored[8] = {};
    DWORD size = sizeof stored;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), "LastWriteTime", nullptr, &type, stored, &size) != ERROR_SUCCESS ||
        size != sizeof stored)
        return false;
    unsigned char current[8];
    for (int i = 0; i < 8; ++i) current[i] = static_cast<unsigned char>(lastWriteTime >> (8 * i));  // low half first
    if (std::memcmp(stored, current, sizeof stored) != 0) return false;

    std::string text;
    if (!readRegistryTextLogged(key.get(), "Version", kVersionCapacity, text)) return false;
    // These are no complete versions: the runtime is asked again.
    if (text == "1.7." || text == "1.6." || text == "1.5.") return false;
    version = text;
    return true;
}

void storeCachedVersion(const std::string& javaExecutable, uint64_t lastWriteTime, const std::string& version) {
    HKEY created = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, versionCacheKey(javaExecutable).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &created, nullptr) != ERROR_SUCCESS)
        return;
    UniqueRegistryKey key(created);
    unsigned char time[8];
    for (int i = 0; i < 8; ++i) time[i] = static_cast<unsigned char>(lastWriteTime >> (8 * i));
    RegSetValueExA(key.get(), "LastWriteTime", 0, REG_BINARY, time, sizeof time);
    // Stored without its terminating zero; readers terminate it themselves.
    RegSetValueExA(key.get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.data()),
                   static_cast<DWORD>(version.size()));
}
