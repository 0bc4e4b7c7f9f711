#pragma once
// Names of included files are relative to the launcher's temporary directory; a name that could
// reach outside it (absolute, a drive letter, a ".." component) is refused before anything is written.
#include <string>

bool isSafeIncludedName(const std::string& name);
