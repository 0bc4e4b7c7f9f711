#pragma once
// The executable's own paths and the path operations that need the file system.
#include <windows.h>

#include <cstdint>
#include <string>

// Paths and configuration texts live in buffers of this many characters (bytes for narrow text).
constexpr size_t kPathCapacity = 6000;

const std::wstring& executableLongPath();
const std::string& ansiExecutablePath();
const std::string& launcherDirectory();               // narrow, trailing backslash
const std::wstring& launcherDirectoryWideFromNarrow(); // the narrow form widened byte for byte
const std::wstring& launcherDirectoryWide();          // from the long wide path
const std::wstring& launcherDirectoryFor(bool forVmOption);
// Key 10003 resolved against the executable's directory, letter case kept; read once the
// configuration is loaded.
const std::wstring& applicationDirectory();

// Conversions between wide text and the file-API code page (ANSI, or OEM when so set).
// usedDefault reports that some character could not be represented.
std::string toFileApiCodePage(const std::wstring& text, bool* usedDefault = nullptr);
std::wstring fromFileApiCodePage(const std::string& text);

void collapseBackslashesNarrow(std::string& text);  // through wide text, kept only when lossless
void lowerCasePath(std::string& text);              // ASCII letters only, kept only when lossless

std::string resolvePath(const std::string& path, const char* baseFile = nullptr);
std::wstring resolvePathWide(const std::wstring& path, bool forVmOption, const wchar_t* baseFile = nullptr);
std::string fullPath(const std::string& path, bool keepCase);
std::wstring fullPathWide(const std::wstring& path, bool forVmOption, bool keepCase);
std::string resolvePathList(const std::string& list);

bool fileExists(const std::string& path);
bool fileExistsWide(const std::wstring& path);
bool findFileTime(const std::string& path, uint64_t* lastWriteTime);

// Grow-and-retry wrappers for the system calls that fill a caller's buffer with a path.
std::wstring systemFullPathWide(const std::wstring& path);
std::string systemFullPath(const std::string& path);
std::wstring longPathWide(const std::wstring& path);  // the path unchanged when that fails
std::wstring shortPathWide(const std::wstring& path);  // empty when that fails
