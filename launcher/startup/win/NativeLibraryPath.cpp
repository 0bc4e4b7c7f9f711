#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "config/ConfigBlock.h"
#include "files/win/Paths.h"
#include "log/Log.h"
#include "startup/SearchPath.h"
#include "startup/win/Startup.h"
#include "windows/win/Expand.h"

static bool inheritedPath(std::string& value) {
    std::vector<char> buffer(kSearchPathCapacity);
    DWORD length = GetEnvironmentVariableA("PATH", buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return false;
    if (length >= buffer.size()) {  // longer than the PATH buffer: take what fits
        buffer.resize(length + 1);
        length = GetEnvironmentVariableA("PATH", buffer.data(), static_cast<DWORD>(buffer.size()));
    }
    value.assign(buffer.data(), length < buffer.size() ? length : 0);
    return true;
}

void setNativeLibraryPath() {
    std::vector<char> configured(kPathCapacity);
    configString(10004, configured.data(), static_cast<int>(configured.size()));
    logMessage("native lib dir is %s", configured.data());
    std::string directories = configured.data();
    expandVariablesNarrow(directories, kPathCapacity);

    std::string inherited;
    bool hasInherited = inheritedPath(inherited);
    std::string path = composeSearchPath(resolvePathList(directories), hasInherited ? &inherited : nullptr);
    if (SetEnvironmentVariableA("PATH", path.c_str()))
        logMessage("Setting PATH (native libs) %s", path.c_str());
    else
        logMessage("Setting PATH (native libs) %s failed with error %lu", path.c_str(), GetLastError());
    // The C runtime keeps its own copy of the environment; both must carry the new value.
    std::string assignment = "PATH=" + path;
    _putenv(assignment.c_str());
}
