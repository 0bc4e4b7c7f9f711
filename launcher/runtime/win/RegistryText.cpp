#include "runtime/win/RegistryText.h"

#include <vector>

#include "log/Log.h"

RegistryText readRegistryText(HKEY key, const char* valueName, size_t capacity, std::string& text,
                              long* queryStatus) {
    text.clear();
    std::vector<char> buffer(capacity + 1, '\0');  // one spare byte: the value may lack its terminator
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(capacity);
    LONG status = RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (queryStatus) *queryStatus = status;
    if (status == ERROR_MORE_DATA) return RegistryText::tooLong;
    if (status != ERROR_SUCCESS) return RegistryText::missing;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return RegistryText::notText;
    if (size > capacity) size = static_cast<DWORD>(capacity);
    text.assign(buffer.data(), size);
    size_t end = text.find('\0');  // a terminator, or an embedded zero: the text ends there
    if (end != std::string::npos) text.resize(end);
    if (text.size() > capacity - 1) return RegistryText::tooLong;
    return text.empty() ? RegistryText::empty : RegistryText::ok;
}

bool readRegistryTextLogged(HKEY key, const char* valueName, size_t capacity, std::string& text) {
    RegistryText result = readRegistryText(key, valueName, capacity, text);
    const char* why = nullptr;
    switch (result) {
        case RegistryText::ok: return true;
        case RegistryText::missing: return false;
        case RegistryText::empty: why = "empty"; break;
        case RegistryText::tooLong: why = "too long"; break;
        case RegistryText::notText: why = "not text"; break;
    }
    logMessage("registry value %s is %s: skipped", valueName, why);
    text.clear();
    return false;
}
