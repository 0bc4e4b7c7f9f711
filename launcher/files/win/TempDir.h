#pragma once
// The system temporary directory (for a path the ANSI code page cannot represent: its short form,
// then shared fallbacks), unique temporary names, and the launcher's own temporary directory.
#include <string>

// Empty when no launcher temporary directory exists; removed by exitLauncher when it is not.
std::string& launcherTempDirectory();

std::string determineTempDir();       // ends the launch with message 1015 when nothing is usable
std::wstring determineTempDirWide();
bool isWritableDirectory(const std::string& path);
std::string createTempFileName();     // also creates the (empty) file when the system can
// Only the user, SYSTEM and Administrators may use it; ends the launch with 1009 "7" after 10
// failed attempts.
void createLauncherTempDirectory();

// Removes what this start created of the launcher directory path, newest first: its files and
// folders, path itself and the empty file its name was made from, each only while it is still the
// entry created; links found there go as links. Anything else stays, and with it the directory.
// A path that is empty or begins with "." is left alone.
void emptyDirectory(const std::string& path);
