#pragma once
// The registries of known runtimes: the vendor's own registration, the runtimes located earlier by
// installers, and the earlier installations of this application. Read only; every candidate found
// is validated with checkJavaExe.
#include <windows.h>

#include <string>

bool findRegisteredJvm(const std::string& minimum, const std::string& maximum, std::string& javaExecutable);
bool findJavaSoftJvm(const std::string& minimum, const std::string& maximum, std::string& javaExecutable,
                     std::string& version);
bool findCurrentVersionJvm(const std::string& minimum, const std::string& maximum, std::string& javaExecutable,
                           std::string& version);
bool findNewestJavaSoftJvm(const char* rootKey, const std::string& minimum, const std::string& maximum,
                           std::string& javaExecutable, std::string& version);
bool findLocatedJvm(bool everyLocatedCounts, const std::string& minimum, const std::string& maximum,
                    std::string& javaExecutable, std::string& version);
bool scanLocatedJvms(HKEY hive, bool everyLocatedCounts, const std::string& minimum, const std::string& maximum,
                     std::string& javaExecutable, std::string& version);
bool findPreviousInstallation(HKEY hive, const std::string& minimum, const std::string& maximum,
                              std::string& javaExecutable);
