#pragma once
// Loading the chosen runtime's jvm.dll into the launcher's own process and binding its entry point.
#include <windows.h>

#include <string>

// The VM's creation entry, as the runtime exports it: (JavaVM**, JNIEnv**, JavaVMInitArgs*).
using CreateJavaVmFunction = int(__stdcall*)(void**, void**, void*);

// Runs the search and loads the runtime; false after the messages for the kind of the last
// candidate were shown (the caller ends the launch with exit code 83).
bool LoadDLL();

HMODULE loadJvmForJavaExe(const std::string& javaExecutable);
HMODULE loadJvmFromBinDirectory(const std::string& javaExecutable);
HMODULE tryJvmDll(const std::string& binDirectory, const std::string& subdirectory);
bool bindCreateJavaVm(HMODULE module);

// The bound entry point, or nullptr before a successful LoadDLL.
CreateJavaVmFunction createJavaVmEntry();
