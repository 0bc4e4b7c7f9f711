#include "files/win/Paths.h"

#include <vector>

#include "config/ConfigBlock.h"
#include "files/PathText.h"
#include "files/Text.h"
#include "files/win/UniqueHandle.h"

static UINT fileApiCodePage() { return AreFileApisANSI() ? CP_ACP : CP_OEMCP; }

std::string toFileApiCodePage(const std::wstring& text, bool* usedDefault) {
    if (usedDefault) *usedDefault = false;
    if (text.empty()) return std::string();
    UINT codePage = fileApiCodePage();
    int needed = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, "?", nullptr);
    if (needed <= 0) return std::string();
    std::string out(static_cast<size_t>(needed), '\0');
    BOOL defaulted = FALSE;
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], needed, "?", &defaulted);
    if (usedDefault) *usedDefault = defaulted != FALSE;
    return out;
}

std::wstring fromFileApiCodePage(const std::string& text) {
    if (text.empty()) return std::wstring();
    UINT codePage = fileApiCodePage();
    int needed = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (needed <= 0) return std::wstring();
    std::wstring out(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], needed);
    return out;
}

// Calls a "fill this buffer" API until the buffer is large enough; empty text on failure.
template <typename Char, typename Fill>
static std::basic_string<Char> growAndRetry(Fill fill) {
    std::vector<Char> buffer(MAX_PATH + 1);
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::basic_string<Char>();
        if (length < buffer.size()) return std::basic_string<Char>(buffer.data(), length);
        buffer.resize(static_cast<size_t>(length) + 1);
    }
    return std::basic_string<Char>();
}

// GetModuleFileName returns the buffer size when it had to cut the name: grow until it fits.
template <typename Char, typename Query>
static std::basic_string<Char> moduleFileName(Query query) {
    std::vector<Char> buffer(MAX_PATH + 1);
    while (buffer.size() <= 32768) {
        DWORD length = query(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::basic_string<Char>();
        if (length < buffer.size()) return std::basic_string<Char>(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
    return std::basic_string<Char>();
}

static std::wstring moduleFileNameWide() { return moduleFileName<wchar_t>(GetModuleFileNameW); }
static std::string moduleFileNameNarrow() { return moduleFileName<char>(GetModuleFileNameA); }

std::wstring longPathWide(const std::wstring& path) {
    std::wstring longPath = growAndRetry<wchar_t>(
        [&](wchar_t* buffer, DWORD size) { return GetLongPathNameW(path.c_str(), buffer, size); });
    return longPath.empty() ? path : longPath;
}

std::wstring shortPathWide(const std::wstring& path) {
    return growAndRetry<wchar_t>(
        [&](wchar_t* buffer, DWORD size) { return GetShortPathNameW(path.c_str(), buffer, size); });
}

std::wstring systemFullPathWide(const std::wstring& path) {
    return growAndRetry<wchar_t>([&](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
    });
}

std::string systemFullPath(const std::string& path) {
    return growAndRetry<char>(
        [&](char* buffer, DWORD size) { return GetFullPathNameA(path.c_str(), size, buffer, nullptr); });
}

template <typename Char>
static void cutToPathCapacity(std::basic_string<Char>& text) {
    if (text.size() > kPathCapacity - 1) text.resize(kPathCapacity - 1);
}

const std::wstring& executableLongPath() {
    static const std::wstring path = [] {
        std::wstring p = longPathWide(moduleFileNameWide());
        collapseBackslashes(p);
        cutToPathCapacity(p);
        return p;
    }();
    return path;
}

// A narrow path is usable when every character survived and it still names an .exe.
static bool usableNarrowExecutablePath(const std::wstring& wide, std::string& narrow) {
    bool usedDefault = false;
    narrow = toFileApiCodePage(wide, &usedDefault);
    if (usedDefault || narrow.size() < 4) return false;
    return endsWithIgnoringAsciiCase(widenBytes(narrow.substr(narrow.size() - 4)), L".exe");
}

const std::string& ansiExecutablePath() {
    static const std::string path = [] {
        std::string narrow;
        if (!usableNarrowExecutablePath(executableLongPath(), narrow) &&
            !usableNarrowExecutablePath(shortPathWide(executableLongPath()), narrow)) {
            std::string moduleName = moduleFileNameNarrow();
            narrow = growAndRetry<char>([&](char* buffer, DWORD size) {
                return GetShortPathNameA(moduleName.c_str(), buffer, size);
            });
        }
        collapseBackslashesNarrow(narrow);
        cutToPathCapacity(narrow);
        return narrow;
    }();
    return path;
}

const std::string& launcherDirectory() {
    static const std::string directory = directoryOf(systemFullPath(ansiExecutablePath()));
    return directory;
}

const std::wstring& launcherDirectoryWideFromNarrow() {
    static const std::wstring directory = widenBytes(launcherDirectory());
    return directory;
}

const std::wstring& launcherDirectoryWide() {
    static const std::wstring directory = directoryOf(systemFullPathWide(executableLongPath()));
    return directory;
}

const std::wstring& launcherDirectoryFor(bool forVmOption) {
    return forVmOption ? launcherDirectoryWideFromNarrow() : launcherDirectoryWide();
}

const std::wstring& applicationDirectory() {
    static const std::wstring directory = [] {
        std::vector<wchar_t> configured(kPathCapacity);
        configWideString(10003, configured.data(), static_cast<int>(configured.size()));
        return fullPathWide(configured.data(), false, true);
    }();
    return directory;
}

// In a multi-byte code page a backslash byte can be the second half of a character, so the
// narrow forms work on the wide text and keep the result only when it converts back losslessly.
template <typename Change>
static void changeThroughWide(std::string& text, Change change) {
    std::wstring wide = fromFileApiCodePage(text);
    change(wide);
    bool usedDefault = false;
    std::string back = toFileApiCodePage(wide, &usedDefault);
    if (!usedDefault) text = back;
}

void collapseBackslashesNarrow(std::string& text) {
    changeThroughWide(text, [](std::wstring& wide) { collapseBackslashes(wide); });
}

void lowerCasePath(std::string& text) {
    changeThroughWide(text, [](std::wstring& wide) { lowerAscii(wide); });
}

std::string resolvePath(const std::string& path, const char* baseFile) {
    std::string directory = baseFile ? directoryOf(systemFullPath(baseFile)) : launcherDirectory();
    std::string out = isRelativePath(path) ? directory + path : path;
    collapseBackslashesNarrow(out);
    cutToPathCapacity(out);
    return out;
}

std::wstring resolvePathWide(const std::wstring& path, bool forVmOption, const wchar_t* baseFile) {
    std::wstring directory = baseFile ? directoryOf(systemFullPathWide(baseFile)) : launcherDirectoryFor(forVmOption);
    std::wstring out = resolveAgainst(directory, path);
    cutToPathCapacity(out);
    return out;
}

std::string fullPath(const std::string& path, bool keepCase) {
    std::string out = systemFullPath(resolvePath(path));
    if (!keepCase) lowerCasePath(out);
    collapseBackslashesNarrow(out);
    cutToPathCapacity(out);
    return out;
}

std::wstring fullPathWide(const std::wstring& path, bool forVmOption, bool keepCase) {
    std::wstring out = systemFullPathWide(resolvePathWide(path, forVmOption));
    if (!keepCase) lowerAscii(out);
    collapseBackslashes(out);
    cutToPathCapacity(out);
    return out;
}

std::string resolvePathList(const std::string& list) {
    std::string joined;
    for (const std::string& entry : splitSkippingEmpty(list, ';')) {
        if (!joined.empty()) joined += ';';
        joined += resolvePath(entry);
    }
    return joined;
}

bool fileExists(const std::string& path) {
    if (isDriveRoot(path)) return true;
    WIN32_FIND_DATAA found;
    UniqueFindHandle search(FindFirstFileA(path.c_str(), &found));
    return search.valid();
}

bool fileExistsWide(const std::wstring& path) {
    if (isDriveRoot(path)) return true;
    WIN32_FIND_DATAW found;
    UniqueFindHandle search(FindFirstFileW(path.c_str(), &found));
    return search.valid();
}

bool findFileTime(const std::string& path, uint64_t* lastWriteTime) {
    WIN32_FIND_DATAA found;
    UniqueFindHandle search(FindFirstFileA(path.c_str(), &found));
    if (!search.valid()) return false;
    if (lastWriteTime)
        *lastWriteTime = (static_cast<uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                         found.ftLastWriteTime.dwLowDateTime;
    return true;
}
