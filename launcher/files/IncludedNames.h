#pragma once
// Names of included files are relative to the launcher's temporary directory. A name is refused
// before anything is written when it could reach outside that directory (absolute, a drive letter,
// a ".." component) or could mean something other than a new plain file of that very name: a
// device (NUL, COM1, aux.txt ...), a component the file system trims to another name (a trailing
// dot or blank), an empty component, or characters a file name cannot hold.
#include <string>

bool isSafeIncludedName(const std::string& name);

// A path component that Windows opens as a device whatever its letter case and extension.
bool isReservedDeviceName(const std::string& component);

// The folder part of a name in front of its first separator ("lib" for "lib\b.jar"), or empty.
std::string firstFolderOf(const std::string& name);

// Whether two paths name the same entry for a case-insensitive file system: ASCII letters in any
// case, and "/" and "\" alike.
bool samePathText(const std::string& a, const std::string& b);

// The empty temporary file a launcher directory "<name>.tmp_dir<digits>" was named after, when the
// system made that name (and with it the file); else empty text.
std::string nameSourceOf(const std::string& launcherDirectory);

// Whether path is the launcher directory, lies inside it, or is the file its name was made from.
bool isPartOfLauncherDirectory(const std::string& path, const std::string& launcherDirectory);
