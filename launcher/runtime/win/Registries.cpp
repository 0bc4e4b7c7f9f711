#include "runtime/win/Registries.h"

#include <vector>

#include "config/ConfigBlock.h"
#include "files/Text.h"
#include "files/win/Paths.h"
#include "files/win/UniqueHandle.h"
#include "log/Log.h"
#include "runtime/RuntimePaths.h"
#include "runtime/VersionRules.h"
#include "runtime/win/JavaValidation.h"
#include "runtime/win/RegistryText.h"

static const char kRuntimeKey[] = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
static const char kDevelopmentKitKey[] = "SOFTWARE\\JavaSoft\\Java Development Kit";
static const char kLocatedKey[] = "SOFTWARE\\quorvian\\tarvo\\locatedjvms\\";
static const char kInstallationsKey[] = "SOFTWARE\\quorvian\\quillmote\\installations";
static constexpr size_t kCurrentVersionCapacity = 100;
static constexpr REGSAM k64BitView = KEY_WOW64_64KEY;

static UniqueRegistryKey openKey(HKEY hive, const std::string& name, REGSAM extraAccess = 0) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(hive, name.c_str(), 0, KEY_READ | extraAccess, &opened) != ERROR_SUCCESS) opened = nullptr;
    return UniqueRegistryKey(opened);
}

// The names of a key's subkeys; a name longer than the buffer is skipped, not cut.
static std::vector<std::string> subkeyNames(HKEY key) {
    std::vector<std::string> names;
    std::vector<char> name(kPathCapacity);
    for (DWORD index = 0; index < 100000; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        LONG status = RegEnumKeyExA(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status == ERROR_MORE_DATA) {
            logMessage("registry key name %lu too long: skipped", index);
            continue;
        }
        if (status != ERROR_SUCCESS) break;
        names.emplace_back(name.data(), length);
    }
    return names;
}

// A JavaSoft home read out of the key's "JavaHome" and validated (beta versions not allowed).
static bool checkJavaHomeValue(HKEY key, const std::string& minimum, const std::string& maximum,
                               std::string& javaExecutable, std::string& version) {
    std::string home;
    if (!readRegistryTextLogged(key, "JavaHome", kPathCapacity, home)) return false;
    if (!javaExeForHome(home, javaExecutable)) return false;
    return checkJavaExe(javaExecutable, minimum, maximum, false, &version);
}

static std::string currentVersionIn(const char* rootKey, const std::string& minimum, const std::string& maximum) {
    UniqueRegistryKey key = openKey(HKEY_LOCAL_MACHINE, rootKey);
    std::string version;
    if (!key || !readRegistryTextLogged(key.get(), "CurrentVersion", kCurrentVersionCapacity, version)) return "";
    return versionInRange(version, minimum, maximum) ? version : "";
}

bool findCurrentVersionJvm(const std::string& minimum, const std::string& maximum, std::string& javaExecutable,
                           std::string& version) {
    std::string kitVersion = currentVersionIn(kDevelopmentKitKey, minimum, maximum);
    std::string runtimeVersion = configInt(131) == 0 ? currentVersionIn(kRuntimeKey, minimum, maximum) : "";
    // Ties go to the runtime registration.
    std::string keyName = compareVersionText(kitVersion, runtimeVersion) > 0
                              ? std::string(kDevelopmentKitKey) + "\\" + kitVersion
                              : std::string(kRuntimeKey) + "\\" + runtimeVersion;
    UniqueRegistryKey key = openKey(HKEY_LOCAL_MACHINE, keyName);
    return key && checkJavaHomeValue(key.get(), minimum, maximum, javaExecutable, version);
}

bool findNewestJavaSoftJvm(const char* rootKey, const std::string& minimum, const std::string& maximum,
                           std::string& javaExecutable, std::string& version) {
    UniqueRegistryKey root = openKey(HKEY_LOCAL_MACHINE, rootKey);
    if (!root) return false;
    std::vector<std::string> names = sortedVersionNames(subkeyNames(root.get()), minimum, maximum);
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        UniqueRegistryKey key = openKey(root.get(), *name);
        if (key && checkJavaHomeValue(key.get(), minimum, maximum, javaExecutable, version)) return true;
    }
    return false;
}

bool findJavaSoftJvm(const std::string& minimum, const std::string& maximum, std::string& javaExecutable,
                     std::string& version) {
    if (findCurrentVersionJvm(minimum, maximum, javaExecutable, version)) return true;
    if (configInt(131) == 0 && findNewestJavaSoftJvm(kRuntimeKey, minimum, maximum, javaExecutable, version))
        return true;
    return findNewestJavaSoftJvm(kDevelopmentKitKey, minimum, maximum, javaExecutable, version);
}

bool scanLocatedJvms(HKEY hive, bool everyLocatedCounts, const std::string& minimum, const std::string& maximum,
                     std::string& javaExecutable, std::string& version) {
    UniqueRegistryKey key = openKey(hive, kLocatedKey);
    if (!key) return false;
    bool found = false;
    std::string bestVersion;
    for (const std::string& name : subkeyNames(key.get())) {
        std::string candidate = locatedNameToPath(name);
        if (!everyLocatedCounts && candidate.find("qmo_jres") == std::string::npos) continue;
        std::string candidateVersion;
        if (!checkJavaExe(candidate, minimum, maximum, true, &candidateVersion)) continue;
        // Of equal versions the one enumerated first stays.
        if (!found || compareVersionText(candidateVersion, bestVersion) > 0) {
            found = true;
            bestVersion = candidateVersion;
            javaExecutable = candidate;
        }
    }
    if (found) version = bestVersion;
    return found;
}

bool findLocatedJvm(bool everyLocatedCounts, const std::string& minimum, const std::string& maximum,
                    std::string& javaExecutable, std::string& version) {
    std::string userPath, userVersion, machinePath, machineVersion;
    bool user = scanLocatedJvms(HKEY_CURRENT_USER, everyLocatedCounts, minimum, maximum, userPath, userVersion);
    bool machine =
        scanLocatedJvms(HKEY_LOCAL_MACHINE, everyLocatedCounts, minimum, maximum, machinePath, machineVersion);
    // The user's entry wins only with a strictly higher version.
    if (user && (!machine || compareVersionText(userVersion, machineVersion) > 0)) {
        javaExecutable = userPath;
        version = userVersion;
        return true;
    }
    if (!machine) return false;
    javaExecutable = machinePath;
    version = machineVersion;
    return true;
}

bool findRegisteredJvm(const std::string& minimum, const std::string& maximum, std::string& javaExecutable) {
    bool onlyOwnRuntimes = configInt(165) != 0;
    std::string vendorPath, vendorVersion, locatedPath, locatedVersion;
    bool vendor = !onlyOwnRuntimes && findJavaSoftJvm(minimum, maximum, vendorPath, vendorVersion);
    if (vendor) logMessage("found sun %s %s", vendorPath.c_str(), vendorVersion.c_str());
    bool located = findLocatedJvm(!onlyOwnRuntimes, minimum, maximum, locatedPath, locatedVersion);
    if (located) logMessage("found located %s %s", locatedPath.c_str(), locatedVersion.c_str());
    if (!vendor && !located) return false;
    // A located runtime wins ties.
    bool takeLocated = located && (!vendor || compareVersionText(vendorVersion, locatedVersion) <= 0);
    javaExecutable = takeLocated ? locatedPath : vendorPath;
    return true;
}

static bool findPreviousInstallationInView(HKEY hive, REGSAM view, const std::string& minimum,
                                           const std::string& maximum, std::string& javaExecutable) {
    std::string applicationId = configStringCopy(160);
    if (applicationId.size() > kPathCapacity - 1) applicationId.resize(kPathCapacity - 1);
    logMessage("checking app id %s (%d, %p)", applicationId.c_str(), static_cast<int>(view),
               static_cast<void*>(hive));
    if (applicationId.empty()) return false;

    HKEY opened = nullptr;
    LONG status = RegOpenKeyExA(hive, kInstallationsKey, 0, KEY_READ | view, &opened);
    if (status != ERROR_SUCCESS) {
        logMessage("could not open installation node %ld", status);
        return false;
    }
    UniqueRegistryKey key(opened);
    std::string directories;
    long queryStatus = 0;
    RegistryText read = readRegistryText(key.get(), applicationId.c_str(), kPathCapacity, directories, &queryStatus);
    if (read != RegistryText::ok) {
        // An empty value reports 0, like a successful query that returned nothing.
        logMessage("could not query value node %ld", read == RegistryText::empty ? 0L : queryStatus);
        return false;
    }
    logMessage("found installations: %s", directories.c_str());
    for (const std::string& directory : splitSkippingEmpty(directories, ';')) {
        std::string home = directory + "\\jre";
        if (!javaExeForHome(home, javaExecutable)) logMessage("did not find java in %s", home.c_str());
        else if (checkJavaExe(javaExecutable, minimum, maximum, false)) return true;
        else logMessage("java version did not match in %s", home.c_str());
    }
    return false;
}

bool findPreviousInstallation(HKEY hive, const std::string& minimum, const std::string& maximum,
                              std::string& javaExecutable) {
    return findPreviousInstallationInView(hive, 0, minimum, maximum, javaExecutable) ||
           findPreviousInstallationInView(hive, k64BitView, minimum, maximum, javaExecutable);
}
