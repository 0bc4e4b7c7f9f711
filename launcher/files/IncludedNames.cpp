#include "files/IncludedNames.h"

bool isSafeIncludedName(const std::string& name) {
    if (name.empty() || name.find(':') != std::string::npos) return false;
    if (name[0] == '\\' || name[0] == '/') return false;
    // The file system takes forward slashes as separators too, so both split components.
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("\\/", start);
        if (end == std::string::npos) end = name.size();
        if (name.compare(start, end - start, "..") == 0) return false;
        start = end + 1;
    }
    return true;
}
