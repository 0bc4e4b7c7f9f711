#pragma once
// Path rules that need no file system: which paths are relative, collapsing backslash runs,
// cutting the file name off a path and joining a relative path to a directory.
#include <string>

// Relative unless, after one optional leading double quote, characters 2 and 3 are ":\" or the
// path begins with "\\".
bool isRelativePath(const std::string& path);
bool isRelativePath(const std::wstring& path);

// Every backslash run becomes one backslash, except that a run at the very start becomes two
// (a network path's "\\" survives).
void collapseBackslashes(std::string& text);
void collapseBackslashes(std::wstring& text);

// The directory part of a path, keeping its trailing backslash ("c:\a\b.exe" -> "c:\a\").
std::string directoryOf(const std::string& path);
std::wstring directoryOf(const std::wstring& path);

// path as it is when absolute, else directory followed by path; backslash runs collapsed.
std::string resolveAgainst(const std::string& directory, const std::string& path);
std::wstring resolveAgainst(const std::wstring& directory, const std::wstring& path);

// "x:\", "x:\." and "x:\.\." count as existing drive roots without a search.
bool isDriveRoot(const std::string& path);
bool isDriveRoot(const std::wstring& path);
