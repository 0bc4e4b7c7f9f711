#include "config/win/LocaleDetect.h"

#include <windows.h>

#include <optional>

#include "config/LocaleTable.h"
#include "files/Text.h"

// Looked up by name: older systems do not export it.
static std::optional<uint16_t> userInterfaceLanguage() {
    HMODULE kernel = LoadLibraryA("Kernel32.DLL");
    if (!kernel) return std::nullopt;
    using Query = LANGID(WINAPI*)();
    auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetUserDefaultUILanguage")));
    if (!query) return std::nullopt;
    return static_cast<uint16_t>(query());
}

void detectLocale(const ArgumentVector* arguments, char* localeName, size_t capacity) {
    uint16_t language = static_cast<uint16_t>(GetUserDefaultLCID() & 0xFFFF);
    const char* name = detectLocaleName(language, arguments, userInterfaceLanguage);
    copyBounded(localeName, capacity, name);
    splitLocaleName(localeName);
}
