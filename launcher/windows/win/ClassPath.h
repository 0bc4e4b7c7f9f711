#pragma once
// The "-Djava.class.path=" option: the configured entries (key 121), the launcher's temporary
// directory, the runtime library and the class-path directives.
#include <string>

#include "windows/VmOptionLines.h"

// Appends "directory\name;" for each name in the directory that ends in ".extension", in the
// order the file system lists them. False when the directory does not exist.
bool addArchivesFromDirectory(std::string& classPath, const std::string& directory, const char* extension);

// The runtime library under the application directory (quillmote flavour).
void addRuntimeJar(std::string& classPath);

// The key 121 entries in their order. A mandatory entry that is not found ends the launch with
// message 1006 (1008 for an undefined environment variable).
void addConfiguredClassPath(std::string& classPath);

// The whole option, in the file-API code page.
std::string classPathOption(const ClassPathOverrides& overrides);
