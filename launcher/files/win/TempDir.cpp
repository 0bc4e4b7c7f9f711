#include "files/win/TempDir.h"

#include <windows.h>

#include <ctime>
#include <vector>

#include "files/TempChoice.h"
#include "files/TempNames.h"
#include "files/win/CreatedEntries.h"
#include "files/win/Paths.h"
#include "files/win/PrivateDirectory.h"
#include "files/win/UniqueHandle.h"
#include "log/Log.h"
#include "log/win/ErrorReport.h"

std::string& launcherTempDirectory() {
    static std::string directory;
    return directory;
}

namespace {

// The user's temporary path as wide text, before the ANSI code page lost anything of it.
std::wstring userTempPathWide(bool fromHome) {
    std::vector<wchar_t> buffer(kPathCapacity);
    auto variable = [&](const wchar_t* name) {
        DWORD length = GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
        return length < buffer.size() ? std::wstring(buffer.data()) : std::wstring();
    };
    if (fromHome) return variable(L"HOMEDRIVE") + variable(L"HOMEPATH");
    DWORD length = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
    return length < buffer.size() ? std::wstring(buffer.data()) : std::wstring();
}

// The narrow and wide determinations run the same steps (files/TempChoice.h) through these two
// API sets.
struct NarrowApi {
    using Text = std::string;
    static constexpr size_t kCapacity = kPathCapacity;
    static Text tempPath() {
        std::vector<char> buffer(kPathCapacity);
        DWORD result = GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
        logMessage("GetTempPath returned %lu (last error %lu)", result, GetLastError());
        return result < buffer.size() ? Text(buffer.data()) : Text();
    }
    static Text environment(const char* name) {
        std::vector<char> buffer(kPathCapacity);
        DWORD length = GetEnvironmentVariableA(name, buffer.data(), static_cast<DWORD>(buffer.size()));
        return length < buffer.size() ? Text(buffer.data()) : Text();
    }
    static void logHome(const Text& home) { logMessage("No temp dir defined. Using home %s", home.c_str()); }
    static bool createDirectory(const Text& path) { return CreateDirectoryA(path.c_str(), nullptr) != FALSE; }
    static Text longPath(const Text& path) {
        std::vector<char> buffer(kPathCapacity);
        DWORD length = GetLongPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        return (length > 0 && length < buffer.size()) ? Text(buffer.data()) : path;
    }
    static Text windowsDirectory() {
        std::vector<char> buffer(kPathCapacity);
        UINT length = GetWindowsDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
        return length < buffer.size() ? Text(buffer.data()) : Text();
    }
    static Text literal(const char* text) { return text; }
    static bool isWritable(const Text& path) { return isWritableDirectory(path); }
    // Usable when every character survives the code page and it names a directory.
    static Text usableShortForm(bool fromHome) {
        std::wstring shortWide = shortPathWide(userTempPathWide(fromHome));
        if (shortWide.empty()) {
            logMessage("no short form of the temporary path (last error %lu)", GetLastError());
            return Text();
        }
        bool lossy = false;
        Text shortForm = toFileApiCodePage(shortWide, &lossy);
        if (lossy) {
            logMessage("the short form of the temporary path cannot be spelled either");
            return Text();
        }
        DWORD attributes = GetFileAttributesA(shortForm.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            logMessage("the short form %s of the temporary path names no directory", shortForm.c_str());
            return Text();
        }
        return shortForm;
    }
};

struct WideApi {
    using Text = std::wstring;
    static constexpr size_t kCapacity = kPathCapacity;
    static Text tempPath() {
        std::vector<wchar_t> buffer(kPathCapacity);
        DWORD result = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
        logMessage("GetTempPath returned %lu (last error %lu)", result, GetLastError());
        return result < buffer.size() ? Text(buffer.data()) : Text();
    }
    static Text environment(const char* name) {
        std::vector<wchar_t> buffer(kPathCapacity);
        std::wstring wideName(name, name + std::char_traits<char>::length(name));
        DWORD length = GetEnvironmentVariableW(wideName.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        return length < buffer.size() ? Text(buffer.data()) : Text();
    }
    static void logHome(const Text& home) { logMessage("No temp dir defined. Using home %s", forLog(home).c_str()); }
    static bool createDirectory(const Text& path) { return CreateDirectoryW(path.c_str(), nullptr) != FALSE; }
    static Text longPath(const Text& path) { return longPathWide(path); }
    static Text windowsDirectory() {
        std::vector<wchar_t> buffer(kPathCapacity);
        UINT length = GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
        return length < buffer.size() ? Text(buffer.data()) : Text();
    }
    static Text literal(const char* text) { return Text(text, text + std::char_traits<char>::length(text)); }
    static bool isWritable(const Text& path) {
        Text probe = path + L"\\tvo_w_testdir";
        RemoveDirectoryW(probe.c_str());
        if (!CreateDirectoryW(probe.c_str(), nullptr)) return false;
        bool found = fileExistsWide(probe);
        RemoveDirectoryW(probe.c_str());
        return found;
    }
    // Wide text spells every path the system hands out; a '?' there is in the name itself.
    static Text usableShortForm(bool) { return Text(); }
};

template <typename Api>
typename Api::Text determine() {
    Api api;
    std::optional<typename Api::Text> path = chooseTempDirectory(api);
    if (!path) failWithWideMessage(1015, nullptr);
    return *path;
}

}  // namespace

std::string determineTempDir() { return determine<NarrowApi>(); }
std::wstring determineTempDirWide() { return determine<WideApi>(); }

bool isWritableDirectory(const std::string& path) {
    std::string probe = path + "\\tvo_w_testdir";
    RemoveDirectoryA(probe.c_str());
    if (!CreateDirectoryA(probe.c_str(), nullptr)) return false;
    bool found = fileExists(probe);
    RemoveDirectoryA(probe.c_str());
    return found;
}

std::string createTempFileName() {
    std::string tempPath = determineTempDir();
    logMessage("tempPath is %s", tempPath.c_str());
    char name[MAX_PATH + 1] = "";  // GetTempFileNameA writes at most MAX_PATH characters
    std::string result;
    if (GetTempFileNameA(tempPath.c_str(), "tvo", 0, name) != 0) {
        result = name;
    } else {
        logMessage("GetTempFileName failed (last error %lu)", GetLastError());
        static uint32_t sequence = 0;
        result = fallbackTempFileName(tempPath, GetCurrentProcessId(), ++sequence);
    }
    logMessage("tempFile is %s", result.c_str());
    return result;
}

void createLauncherTempDirectory() {
    std::string& directory = launcherTempDirectory();
    for (int attempt = 0; attempt < 10; ++attempt) {
        directory = createTempFileName() + "_dir" + std::to_string(static_cast<int32_t>(time(nullptr)));
        logMessage("Temp dir3: %s", directory.c_str());
        // Private: the launch loads what is extracted here and may put it at the front of PATH,
        // and in a shared temporary folder other users could plant files in an open directory.
        if (createPrivateDirectory(directory)) return;
        logMessage("Could not create dir (%lu)", GetLastError());
    }
    directory.clear();
    failWithMessage(1009, "7");
}

// Only what this start created goes, each entry checked to be the one created: a link planted in
// the directory, or an entry swapped for one, must not make the clean-up delete what it leads to.
void emptyDirectory(const std::string& path) {
    if (path.empty() || path[0] == '.') return;
    logMessage("emptying %s", path.c_str());
    removeCreatedEntries(path);
}
