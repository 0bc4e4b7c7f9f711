#include "runtime/win/JvmLoading.h"

#include <vector>

#include "config/ConfigBlock.h"
#include "files/win/Paths.h"
#include "log/Log.h"
#include "log/win/ErrorReport.h"
#include "runtime/RuntimePaths.h"
#include "runtime/win/RuntimeSearch.h"
#include "startup/win/ProcessPath.h"
#include "windows/VariableExpansion.h"

static CreateJavaVmFunction boundCreateJavaVm = nullptr;

// Subdirectories of a runtime's bin directory that may hold jvm.dll, after the configured one.
static const char* const kVmSubdirectories[] = {"hotspot", "client", "server", "classic", "jrockit"};
static constexpr size_t kConfiguredVmCapacity = 200;
// Environment values are limited to 32767 characters; PATH is read whole so none of it is lost.
static constexpr size_t kEnvironmentCapacity = 32768;

CreateJavaVmFunction createJavaVmEntry() { return boundCreateJavaVm; }

HMODULE tryJvmDll(const std::string& binDirectory, const std::string& subdirectory) {
    std::string library = binDirectory + "\\" + subdirectory + "\\jvm.dll";
    bool exists = fileExists(library);
    logMessage("Trying %s (exists %d)", library.c_str(), exists ? 1 : 0);
    // No system dialog for a library that cannot be loaded: the launcher reports it itself.
    DWORD previousMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    HMODULE module = LoadLibraryA(library.c_str());
    DWORD error = GetLastError();
    SetThreadErrorMode(previousMode, nullptr);
    if (exists && !module) logMessage("Failed with error code %lu", error);
    return module;
}

HMODULE loadJvmFromBinDirectory(const std::string& javaExecutable) {
    std::string binDirectory = binDirectoryOf(javaExecutable);
    std::string previous;
    readProcessPath(previous);
    setProcessPath(appendToSearchPath(previous, binDirectory, kEnvironmentCapacity), "PATH");

    HMODULE module = nullptr;
    std::string configured = configText(152, kConfiguredVmCapacity);
    if (!configured.empty()) module = tryJvmDll(binDirectory, configured);
    for (const char* subdirectory : kVmSubdirectories) {
        if (module) break;
        module = tryJvmDll(binDirectory, subdirectory);
    }
    if (!module) setProcessPath(previous, "PATH");  // failed attempts never accumulate entries
    return module;
}

HMODULE loadJvmForJavaExe(const std::string& javaExecutable) {
    logMessage("Trying to load JVM-DLL from %s", javaExecutable.c_str());
    HMODULE module = loadJvmFromBinDirectory(javaExecutable);
    if (module) return module;
    // A development kit keeps its VM in the jre\bin beside its own bin directory.
    return loadJvmFromBinDirectory(jreSiblingJavaExe(javaExecutable));
}

bool bindCreateJavaVm(HMODULE module) {
    if (!module) return false;
    auto entry = reinterpret_cast<CreateJavaVmFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "JNI_CreateJavaVM")));
    if (!entry) return false;
    boundCreateJavaVm = entry;
    return true;
}

// What the user is told when no runtime could be loaded, by how the last candidate was found.
static void showNoRuntimeMessages(JvmSourceKind kind, const std::string& location) {
    switch (kind) {
        case JvmSourceKind::none: showMessage(1016, "64"); return;
        case JvmSourceKind::searchPath: showMessage(1016, "64"); break;
        case JvmSourceKind::directory: showMessage(1020, location.c_str()); break;
        case JvmSourceKind::environmentVariable: showMessage(1018, location.c_str()); break;
        case JvmSourceKind::registry: break;
    }
    showWideMessage(1005, nullptr);
}

bool LoadDLL() {
    logMessage("LoadDLL (%d, %s, %d)", 1, "(null)", 0);
    std::string javaExecutable, location;
    JvmSourceKind kind = JvmSourceKind::none;
    HMODULE module = searchJvm(javaExecutable, kind, location);
    if (kind == JvmSourceKind::none) {
        logError("No JVM found");
        showNoRuntimeMessages(kind, location);
        return false;
    }
    setJvmHome(javaExecutable);
    if (!module) logError("Could not get DLL-Handle.");
    bool bound = bindCreateJavaVm(module);
    if (!bound) logError("Could not load functions");
    if (module && bound) {
        logMessage("Loading of JVM-DLL successful");
        return true;
    }
    showNoRuntimeMessages(kind, location);
    return false;
}
