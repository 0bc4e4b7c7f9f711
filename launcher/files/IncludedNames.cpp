#include "files/IncludedNames.h"

#include <cstring>

static bool isSeparator(char c) { return c == '\\' || c == '/'; }

static char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

static bool equalsUpper(const std::string& text, const char* upperText) {
    if (text.size() != std::strlen(upperText)) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (upper(text[i]) != upperText[i]) return false;
    return true;
}

// Windows also takes the superscripts 1, 2 and 3 of code page 1252 as port digits.
static bool isPortDigit(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (c >= '0' && c <= '9') || u == 0xB9 || u == 0xB2 || u == 0xB3;
}

bool isReservedDeviceName(const std::string& component) {
    // The device is chosen by the part in front of the first dot, with trailing blanks ignored.
    std::string base = component.substr(0, component.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (equalsUpper(base, device)) return true;
    if (base.size() != 4 || !isPortDigit(base[3])) return false;
    std::string prefix = base.substr(0, 3);
    return equalsUpper(prefix, "COM") || equalsUpper(prefix, "LPT");
}

static bool isSafeComponent(const std::string& component) {
    if (component.empty()) return false;
    // Also refuses "." and "..": Windows drops trailing dots and blanks, so "x." is "x".
    if (component.back() == '.' || component.back() == ' ') return false;
    // Wildcards and characters no Windows name holds; not "|", a trail byte in double-byte code pages.
    for (char c : component)
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>\"?*", c)) return false;
    return !isReservedDeviceName(component);
}

bool isSafeIncludedName(const std::string& name) {
    if (name.empty() || name.find(':') != std::string::npos) return false;
    // The file system takes forward slashes as separators too, so both split components.
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("\\/", start);
        if (end == std::string::npos) end = name.size();
        if (!isSafeComponent(name.substr(start, end - start))) return false;
        start = end + 1;
    }
    return true;
}

std::string firstFolderOf(const std::string& name) {
    size_t separator = name.find_first_of("\\/");
    return separator == std::string::npos ? std::string() : name.substr(0, separator);
}

bool samePathText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        bool bothSeparators = isSeparator(a[i]) && isSeparator(b[i]);
        if (!bothSeparators && upper(a[i]) != upper(b[i])) return false;
    }
    return true;
}

static bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (upper(c) >= 'A' && upper(c) <= 'F');
}

std::string nameSourceOf(const std::string& launcherDirectory) {
    size_t marker = launcherDirectory.rfind("_dir");
    if (marker == std::string::npos || marker + 4 == launcherDirectory.size()) return std::string();
    for (size_t i = marker + 4; i < launcherDirectory.size(); ++i)
        if (launcherDirectory[i] < '0' || launcherDirectory[i] > '9') return std::string();
    // Only a name in the system's form stands for a file the system created: a prefix of at most
    // three characters, one to four hexadecimal digits, ".tmp". The launcher's own fallback names
    // (no file behind them) do not have that form.
    std::string source = launcherDirectory.substr(0, marker);
    size_t nameStart = source.find_last_of("\\/") + 1;  // 0 when there is no separator
    std::string name = source.substr(nameStart);
    if (name.size() < 5 || !equalsUpper(name.substr(name.size() - 4), ".TMP")) return std::string();
    std::string stem = name.substr(0, name.size() - 4);
    size_t digits = 0;
    while (digits < 4 && digits < stem.size() && isHexDigit(stem[stem.size() - 1 - digits])) ++digits;
    if (digits == 0 || stem.size() - digits > 3) return std::string();
    return source;
}

bool isPartOfLauncherDirectory(const std::string& path, const std::string& launcherDirectory) {
    if (launcherDirectory.empty()) return false;
    if (samePathText(path, launcherDirectory)) return true;
    std::string source = nameSourceOf(launcherDirectory);
    if (!source.empty() && samePathText(path, source)) return true;
    size_t length = launcherDirectory.size();
    return path.size() > length + 1 && isSeparator(path[length]) &&
           samePathText(path.substr(0, length), launcherDirectory);
}
