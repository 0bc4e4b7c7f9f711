#include "runtime/win/RuntimeSearch.h"

#include <cstdio>
#include <vector>

#include "config/ConfigBlock.h"
#include "files/PathText.h"
#include "files/win/Paths.h"
#include "log/Log.h"
#include "runtime/RuntimePaths.h"
#include "runtime/win/JavaValidation.h"
#include "runtime/win/JvmLoading.h"
#include "runtime/win/PackedRuntime.h"
#include "runtime/win/Registries.h"
#include "windows/win/Expand.h"

static const wchar_t kPreferredLocationFile[] = L"\\.quillmote\\pref_jre.cfg";
static const wchar_t kInstallerLocationFile[] = L"\\.quillmote\\inst_jre.cfg";
static constexpr size_t kLocationLineLimit = 5999;

bool checkHomeDirectory(const std::string& location, const std::string& minimum, const std::string& maximum,
                        bool skipVersionCheck, std::string& javaExecutable) {
    std::string home = fullPath(location, false);
    prepareRuntime(home);
    bool composed = javaExeForHome(home, javaExecutable);
    if (skipVersionCheck) return true;
    return composed && checkJavaExe(javaExecutable, minimum, maximum, true);
}

bool checkEnvironmentHome(const char* variable, const std::string& minimum, const std::string& maximum,
                          std::string& javaExecutable) {
    std::vector<char> value(kPathCapacity);
    DWORD length = GetEnvironmentVariableA(variable, value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) return false;
    if (length >= value.size()) {
        logMessage("%s is too long: skipped", variable);
        return false;
    }
    std::string home(value.data(), length);
    for (char& c : home)
        if (c == '/') c = '\\';
    return javaExeForHome(home, javaExecutable) && checkJavaExe(javaExecutable, minimum, maximum, false);
}

bool checkSearchPath(const std::string& minimum, const std::string& maximum, std::string& javaExecutable) {
    std::vector<char> found(kPathCapacity);
    DWORD length = SearchPathA(nullptr, "java.exe", nullptr, static_cast<DWORD>(found.size()), found.data(), nullptr);
    if (length == 0 || length >= found.size()) return false;
    javaExecutable.assign(found.data(), length);
    return checkJavaExe(javaExecutable, minimum, maximum, false);
}

bool readLocationFile(const wchar_t* fileName, std::string& path) {
    std::wstring file = applicationDirectory() + fileName;
    collapseBackslashes(file);  // the directory usually ends in a backslash already
    FILE* stream = _wfopen(file.c_str(), L"rb");
    if (!stream) return false;
    // One byte more than the longest accepted line and its line end tells an over-long line apart.
    std::vector<char> content(kLocationLineLimit + 3);
    size_t read = std::fread(content.data(), 1, content.size(), stream);
    std::fclose(stream);
    switch (firstLocationLine(std::string(content.data(), read), kLocationLineLimit, path)) {
        case LocationLine::ok: return true;
        case LocationLine::missing: return false;
        case LocationLine::empty:
            logMessage("location file %s has an empty first line: skipped", forLog(file).c_str());
            break;
        case LocationLine::tooLong:
            logMessage("location file %s has an over-long first line: skipped", forLog(file).c_str());
            break;
        case LocationLine::binary: logMessage("location file %s is not text: skipped", forLog(file).c_str()); break;
    }
    path.clear();
    return false;
}

namespace {

// One search: the candidates' outputs and the loading of each accepted candidate.
struct Search {
    std::string minimum, maximum;
    std::string& javaExecutable;
    JvmSourceKind& kind;
    std::string& location;
    HMODULE module = nullptr;

    // Records an accepted candidate and tries to load its VM library; true ends the search.
    bool accept(JvmSourceKind sourceKind, const std::string* recordedLocation) {
        kind = sourceKind;
        if (recordedLocation) location = *recordedLocation;
        module = loadJvmForJavaExe(javaExecutable);
        return module != nullptr;
    }

    bool locationFile(const wchar_t* fileName, const char* which) {
        std::string line;
        if (!readLocationFile(fileName, line)) return false;
        logMessage("Has %s location %s", which, line.c_str());
        if (!checkHomeDirectory(line, minimum, maximum, false, javaExecutable)) return false;
        logMessage("Using %s location", which);
        return accept(JvmSourceKind::directory, &line);
    }

    bool entry(const SearchEntry& entry) {
        std::string text = entry.text;
        expandVariablesNarrow(text, kPathCapacity);
        logMessage("Testing location %s (type %c)", text.c_str(), entry.type);
        switch (entry.type) {
            case 'A':
            case 'B':
            case 'R':
                return checkHomeDirectory(text, minimum, maximum, false, javaExecutable) &&
                       accept(JvmSourceKind::directory, &text);
            case 'E':
                return checkEnvironmentHome(text.c_str(), minimum, maximum, javaExecutable) &&
                       accept(JvmSourceKind::environmentVariable, &text);
            case 'S':
                return checkSearchPath(minimum, maximum, javaExecutable) && accept(JvmSourceKind::searchPath, &text);
            case 'Y':
                return findRegisteredJvm(minimum, maximum, javaExecutable) && accept(JvmSourceKind::registry, nullptr);
            default:
                return false;
        }
    }

    bool fallbackEntry(const SearchEntry& entry) {
        if (!triedInFallback(entry)) return false;
        logMessage("Testing relative location %s", entry.text.c_str());
        checkHomeDirectory(entry.text, minimum, maximum, true, javaExecutable);
        if (!fileExists(javaExecutable)) return false;
        logMessage("%s exists", javaExecutable.c_str());
        return accept(JvmSourceKind::directory, &entry.text);
    }

    bool previousInstallation(HKEY hive, const char* which) {
        if (!findPreviousInstallation(hive, minimum, maximum, javaExecutable)) return false;
        logMessage("found JRE from previous installation (%s) %s", which, javaExecutable.c_str());
        return accept(JvmSourceKind::registry, nullptr);
    }

    bool environmentHome(const char* variable) {
        if (!checkEnvironmentHome(variable, minimum, maximum, javaExecutable)) return false;
        std::string name = variable;
        return accept(JvmSourceKind::environmentVariable, &name);
    }

    void run() {
        std::vector<SearchEntry> sequence = parseSearchSequence(configText(128, kPathCapacity));
        if (locationFile(kPreferredLocationFile, "preferred")) return;
        for (const SearchEntry& item : sequence)
            if (entry(item)) return;
        if (locationFile(kInstallerLocationFile, "installer")) return;
        for (const SearchEntry& item : sequence)
            if (fallbackEntry(item)) return;
        if (previousInstallation(HKEY_CURRENT_USER, "user")) return;
        if (previousInstallation(HKEY_LOCAL_MACHINE, "machine")) return;
        logMessage("Search sequence finished");
        if (environmentHome("TARVO_JAVA_HOME")) return;
        environmentHome("QUILLMOTE_JAVA_HOME");
    }
};

}  // namespace

HMODULE searchJvm(std::string& javaExecutable, JvmSourceKind& kind, std::string& location) {
    logMessage("Searching for a JVM");
    kind = JvmSourceKind::none;
    Search search{configText(126, kPathCapacity), configText(127, kPathCapacity), javaExecutable, kind, location};
    search.run();
    return search.module;
}
