#pragma once
// The runtime search: installer-written location files, the configured search sequence, a fallback
// pass without the version check, earlier installations and two environment variables. The first
// candidate whose VM library loads ends it.
#include <windows.h>

#include <string>

#include "runtime/SearchSequence.h"

// The loaded VM library or nullptr; javaExecutable, kind and location describe the last candidate.
HMODULE searchJvm(std::string& javaExecutable, JvmSourceKind& kind, std::string& location);

bool checkHomeDirectory(const std::string& location, const std::string& minimum, const std::string& maximum,
                        bool skipVersionCheck, std::string& javaExecutable);
bool checkEnvironmentHome(const char* variable, const std::string& minimum, const std::string& maximum,
                          std::string& javaExecutable);
bool checkSearchPath(const std::string& minimum, const std::string& maximum, std::string& javaExecutable);
// The first line of a location file under the application directory.
bool readLocationFile(const wchar_t* fileName, std::string& path);
