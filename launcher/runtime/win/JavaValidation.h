#pragma once
// Validating a runtime candidate: its java executable, its version (from the cache or by running
// it with "-version") and the configured version range.
#include <cstdint>
#include <string>

// home\jre\bin\java.exe when it exists (or, with key 131, only when home\lib\tools.jar exists),
// else home\bin\java.exe.
bool javaExeForHome(const std::string& home, std::string& javaExecutable);

// Resolves javaExecutable in place (absolute, lower case) and accepts it when its version lies in
// the range; with key 107 = 1 the path becomes javaw.exe, which must exist.
bool checkJavaExe(std::string& javaExecutable, const std::string& minimum, const std::string& maximum,
                  bool allowBeta, std::string* versionOut = nullptr);

bool queryJavaVersion(const std::string& javaExecutable, uint64_t lastWriteTime, std::string& version);
