#include "files/win/TempDir.h"

#include <windows.h>

#include <cstdlib>
#include <ctime>
#include <vector>

#include "files/win/Paths.h"
#include "files/win/UniqueHandle.h"
#include "log/Log.h"
#include "log/win/ErrorReport.h"

std::string& launcherTempDirectory() {
    static std::string directory;
    return directory;
}

namespace {

// The narrow and wide determinations run the same steps through these two API sets.
struct NarrowApi {
    using Text = std::string;
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
};

struct WideApi {
    using Text = std::wstring;
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
    static void logHome(const Text& home) { logMessage("No temp dir defined. Using home %S", home.c_str()); }
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
};

template <typename Api>
typename Api::Text determine() {
    using Text = typename Api::Text;
    Text path = Api::tempPath();
    if (path.empty()) {
        path = Api::environment("HOMEDRIVE") + Api::environment("HOMEPATH");
        if (path.size() > kPathCapacity - 1) path.resize(kPathCapacity - 1);
        Api::logHome(path);
    } else {
        logMessage("make dir returned %d", Api::createDirectory(path) ? 0 : -1);
    }

    // A '?' in the long form means the ANSI code page cannot spell the path.
    if (Api::longPath(path).find(typename Text::value_type('?')) == Text::npos) return path;

    Text windows = Api::windowsDirectory();
    for (const Text& candidate : {windows + Api::literal("\\temp"), Api::literal("c:\\temp"),
                                  Api::literal("c:\\tmp"), windows}) {
        if (Api::isWritable(candidate)) return candidate;
    }
    if (Api::isWritable(Api::literal("c:\\"))) {
        Text tmp = Api::literal("c:\\tmp");
        Api::createDirectory(tmp);
        if (Api::isWritable(tmp)) return tmp;
    }
    failWithWideMessage(1015, nullptr);
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
        srand(static_cast<unsigned>(time(nullptr)));
        result = tempPath + "tvo" + std::to_string(rand());
    }
    logMessage("tempFile is %s", result.c_str());
    return result;
}

void createLauncherTempDirectory() {
    std::string& directory = launcherTempDirectory();
    for (int attempt = 0; attempt < 10; ++attempt) {
        directory = createTempFileName() + "_dir" + std::to_string(static_cast<int32_t>(time(nullptr)));
        logMessage("Temp dir3: %s", directory.c_str());
        if (CreateDirectoryA(directory.c_str(), nullptr)) return;
        logMessage("Could not create dir (%lu)", GetLastError());
    }
    directory.clear();
    failWithMessage(1009, "7");
}

static std::string childPath(const std::string& directory, const char* name) {
    bool hasSeparator = !directory.empty() && directory.back() == '\\';
    return directory + (hasSeparator ? "" : "\\") + name;
}

void emptyDirectory(const std::string& path, bool recurse) {
    if (path.empty() || path[0] == '.') return;
    logMessage("emptying %s", path.c_str());
    WIN32_FIND_DATAA entry;
    UniqueFindHandle search(FindFirstFileA(childPath(path, "*.*").c_str(), &entry));
    if (!search) return;
    do {
        if (std::string(entry.cFileName) == "." || std::string(entry.cFileName) == "..") continue;
        std::string full = childPath(path, entry.cFileName);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            logMessage("attempting to remove %s (%d)", full.c_str(), recurse ? 1 : 0);
            if (recurse) emptyDirectory(full, false);
            RemoveDirectoryA(full.c_str());
        } else {
            logMessage("attempting to delete %s", full.c_str());
            DeleteFileA(full.c_str());
        }
    } while (FindNextFileA(search.get(), &entry));
}
