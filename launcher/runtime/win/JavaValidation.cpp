#include "runtime/win/JavaValidation.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "config/ConfigBlock.h"
#include "files/win/Paths.h"
#include "files/win/TempDir.h"
#include "files/win/UniqueHandle.h"
#include "log/Log.h"
#include "runtime/RuntimePaths.h"
#include "runtime/VersionRules.h"
#include "runtime/win/ChildProcess.h"
#include "runtime/win/VersionCache.h"

static constexpr DWORD kVersionQueryTimeoutMs = 60000;
static constexpr char kFailedRunVersion[] = "1.0.0";

static std::string cutToPath(std::string text) {
    if (text.size() > kPathCapacity - 1) text.resize(kPathCapacity - 1);
    return text;
}

bool javaExeForHome(const std::string& home, std::string& javaExecutable) {
    javaExecutable = cutToPath(home + "\\jre\\bin\\java.exe");
    if (configInt(131) != 0) return fileExists(home + "\\lib\\tools.jar");
    if (!fileExists(javaExecutable)) javaExecutable = cutToPath(home + "\\bin\\java.exe");
    return true;
}

static std::string shortPathOf(const std::string& path) {
    std::vector<char> buffer(kPathCapacity);
    DWORD length = GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    return (length > 0 && length < buffer.size()) ? std::string(buffer.data(), length) : std::string();
}

// The start of what the runtime wrote, read in text mode.
static bool readVersionOutput(const std::string& file, std::string& output) {
    FILE* stream = std::fopen(file.c_str(), "r");
    if (!stream) return false;
    char buffer[4096];
    size_t read = std::fread(buffer, 1, sizeof buffer, stream);
    std::fclose(stream);
    output.assign(buffer, read);
    return read > 0;
}

bool queryJavaVersion(const std::string& javaExecutable, uint64_t lastWriteTime, std::string& version) {
    std::string commandLine = versionQueryCommandLine(shortPathOf(javaExecutable), javaExecutable);
    std::string outputFile = createTempFileName();

    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    UniqueHandle output(CreateFileA(outputFile.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ChildProcess child;
    if (!startChildProcess(nullptr, commandLine, output.get(), child)) {
        logMessage("Could not create process %s > %s (error %lu)", commandLine.c_str(), outputFile.c_str(),
                   child.startError);
        output.reset();
        DeleteFileA(outputFile.c_str());
        return false;
    }

    bool timedOut = WaitForSingleObject(child.process.get(), kVersionQueryTimeoutMs) == WAIT_TIMEOUT;
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(child.process.get(), &exitCode)) exitCode = 1;
    logMessage("Exit Code %lu", exitCode);
    if (timedOut || exitCode == STILL_ACTIVE) {
        logMessage("Terminating process");
        TerminateProcess(child.process.get(), 1);
        WaitForSingleObject(child.process.get(), 5000);
        exitCode = STILL_ACTIVE;
    } else if (exitCode != 0) {
        storeCachedVersion(javaExecutable, lastWriteTime, kFailedRunVersion);
    }
    child = ChildProcess();  // closes the process and its job, ending anything it left running
    output.reset();

    bool found = false;
    std::string printed;
    if (exitCode == 0 && readVersionOutput(outputFile, printed)) {
        found = parseVersionOutput(printed, version);
        if (found) logMessage("Java version: %s", version.c_str());
        else logMessage("unrecognised version line");
    }
    DeleteFileA(outputFile.c_str());
    return found;
}

bool checkJavaExe(std::string& javaExecutable, const std::string& minimum, const std::string& maximum,
                  bool allowBeta, std::string* versionOut) {
    logMessage("checkJavaExe (%s, [out], %s, %s, %d)", javaExecutable.c_str(), minimum.c_str(), maximum.c_str(),
               allowBeta ? 1 : 0);
    javaExecutable = fullPath(javaExecutable, false);

    bool accepted = false;
    uint64_t lastWriteTime = 0;
    std::string version;
    if (!findFileTime(javaExecutable, &lastWriteTime)) {
        logMessage("file doesn't exist");
    } else {
        logMessage("file exists");
        bool known = false;
        if (readCachedVersion(javaExecutable, lastWriteTime, version) && version != kFailedRunVersion) {
            logMessage("got version from registry %s", version.c_str());
            known = true;
        } else if (queryJavaVersion(javaExecutable, lastWriteTime, version)) {
            logMessage("got version from execution %s", version.c_str());
            storeCachedVersion(javaExecutable, lastWriteTime, version);
            known = true;
        } else {
            logMessage("couldn't get version");
        }
        if (known) {
            accepted = versionAllowed(version, minimum, maximum, allowBeta, configInt(130) != 0);
            if (accepted && configInt(107) == 1) {
                javaExecutable = cutToPath(javawPathFor(javaExecutable));
                accepted = fileExists(javaExecutable);
            }
        }
    }
    if (versionOut) *versionOut = accepted ? version : std::string();
    logMessage("checkJavaExe returning %d", accepted ? 1 : 0);
    return accepted;
}
