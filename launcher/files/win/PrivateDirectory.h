#pragma once
// Directories that other users of the machine can neither read nor plant files in: the launcher
// puts its temporary directory at the front of PATH and loads what it extracted there.
#include <string>

// Creates a directory that only the current user, SYSTEM and Administrators may use; false
// (with GetLastError set) when it could not be created, also when it already exists.
bool createPrivateDirectory(const std::string& path);
