#include "files/TempNames.h"

#include <cstdio>

std::string fallbackTempFileName(const std::string& directory, uint32_t processId, uint32_t sequence) {
    char name[32];  // "tvo" + 8 + "-" + 8 + ".tmp" + NUL
    std::snprintf(name, sizeof name, "tvo%lx-%lx.tmp", static_cast<unsigned long>(processId),
                  static_cast<unsigned long>(sequence));
    bool hasSeparator = directory.empty() || directory.back() == '\\';
    return directory + (hasSeparator ? "" : "\\") + name;
}
