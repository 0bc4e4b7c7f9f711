#include "runtime/win/PackedRuntime.h"

#include <windows.h>

#include <cstdio>

#include "files/win/Paths.h"
#include "files/win/UniqueHandle.h"
#include "log/Log.h"
#include "log/win/ErrorReport.h"
#include "runtime/RuntimePaths.h"
#include "runtime/win/ChildProcess.h"

void unpackPackedJar(const std::string& home, const std::string& packedPath) {
    std::string jarPath = jarNameForPacked(packedPath);
    if (!fileExists(packedPath)) {
        logMessage("pack path doesn't exists");
        return;
    }
    std::string tool = home + "\\bin\\unpack200.exe";
    std::string commandLine = unpackCommandLine(tool, packedPath, jarPath);
    logMessage("%s", tool.c_str());
    logMessage("%s", commandLine.c_str());
    ChildProcess child;
    if (!startChildProcess(tool.c_str(), commandLine, nullptr, child)) {
        logMessage("could not create unpack process");
        failWithMessage(1009, "20");
    }
    logMessage("waiting for unpack200 to finish");
    WaitForSingleObject(child.process.get(), INFINITE);
    logMessage("unpack done");
    if (!DeleteFileA(packedPath.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        logMessage("could not delete packed file (error %lu)", GetLastError());
}

void unpackDirectory(const std::string& home, const char* subdirectory, bool& announced) {
    std::string directory = home + "\\" + subdirectory;
    WIN32_FIND_DATAA found;
    UniqueFindHandle search(FindFirstFileA((directory + "\\*.jar.pack").c_str(), &found));
    if (!search) return;
    do {
        std::string name = found.cFileName;
        // The wildcard also matches longer names through their short forms.
        if (!isPackedJarName(name)) continue;
        std::string jarPath = directory + "\\" + jarNameForPacked(name);
        logMessage("checking %s", jarPath.c_str());
        if (fileExists(jarPath)) continue;
        if (!announced) {
            logMessage("Unpacking JRE");
            std::fputs("Preparing JRE ...\n", stdout);
            std::fflush(stdout);
            announced = true;
        }
        unpackPackedJar(home, directory + "\\" + name);
    } while (FindNextFileA(search.get(), &found));
}

void prepareRuntime(const std::string& home) {
    bool announced = false;
    unpackDirectory(home, "lib", announced);
    unpackDirectory(home, "lib\\ext", announced);
    if (announced) logMessage("Unpacking JRE done");
}
