#pragma once
// The system temporary directory (with fallbacks for paths the ANSI code page cannot represent),
// unique temporary names, and the launcher's own temporary directory.
#include <string>

// Empty when no launcher temporary directory exists; removed by exitLauncher when it is not.
std::string& launcherTempDirectory();

std::string determineTempDir();       // ends the launch with message 1015 when nothing is usable
std::wstring determineTempDirWide();
bool isWritableDirectory(const std::string& path);
std::string createTempFileName();     // also creates the (empty) file when the system can
void createLauncherTempDirectory();   // ends the launch with 1009 "7" after 10 failed attempts

// Deletes the files of a directory, and with recurse the files of its subdirectories and those
// subdirectories; a path that is empty or begins with "." is left alone.
void emptyDirectory(const std::string& path, bool recurse);
