#pragma once
// Child processes of the runtime step (java -version, unpack200). Each runs inside a job object
// that kills it, and whatever it started, when the job's handle closes: when the launcher is done
// with it or when the launcher itself ends, so no child outlives the launcher.
#include <windows.h>

#include <string>

#include "files/win/UniqueHandle.h"

struct ChildProcess {
    UniqueHandle process;
    UniqueHandle job;  // closing it ends the child's whole tree
    DWORD startError = 0;
};

// CreateProcessA with handles inherited and the window hidden; application may be nullptr.
// standardError, when valid, becomes the child's standard error (standard input and output stay
// empty). False (startError set) when the process did not start.
bool startChildProcess(const char* application, const std::string& commandLine, HANDLE standardError,
                       ChildProcess& child);
