#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "config/ConfigBlock.h"
#include "files/win/Paths.h"
#include "log/Log.h"
#include "startup/SearchPath.h"
#include "startup/win/ProcessPath.h"
#include "startup/win/Startup.h"
#include "windows/win/Expand.h"

void setNativeLibraryPath() {
    std::vector<char> configured(kPathCapacity);
    configString(10004, configured.data(), static_cast<int>(configured.size()));
    logMessage("native lib dir is %s", configured.data());
    std::string directories = configured.data();
    expandVariablesNarrow(directories, kPathCapacity);

    std::string inherited;
    bool hasInherited = readProcessPath(inherited);
    std::string path = composeSearchPath(resolvePathList(directories), hasInherited ? &inherited : nullptr);
    setProcessPath(path, "PATH (native libs)");
}
