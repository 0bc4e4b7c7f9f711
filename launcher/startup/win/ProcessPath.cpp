#include "startup/win/ProcessPath.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "log/Log.h"

bool readProcessPath(std::string& value) {
    std::vector<char> buffer(32768);  // the largest value the system keeps
    DWORD length = GetEnvironmentVariableA("PATH", buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) {
        value.clear();
        return length != 0;
    }
    value.assign(buffer.data(), length);
    return true;
}

void setProcessPath(const std::string& value, const char* label) {
    if (SetEnvironmentVariableA("PATH", value.c_str()))
        logMessage("Setting %s %s", label, value.c_str());
    else
        logMessage("Setting %s %s failed with error %lu", label, value.c_str(), GetLastError());
    // The C runtime keeps its own copy of the environment; both must carry the new value.
    std::string assignment = "PATH=" + value;
    _putenv(assignment.c_str());
}
