#include "startup/SearchPath.h"

std::string composeSearchPath(const std::string& directories, const std::string* inherited, size_t capacity) {
    std::string path = directories;
    if (!path.empty() && path.back() != ';') path += ';';
    if (inherited) path += *inherited;
    if (capacity > 0 && path.size() > capacity - 1) path.resize(capacity - 1);
    return path;
}
