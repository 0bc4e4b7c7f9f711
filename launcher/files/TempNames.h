#pragma once
// Temporary names the launcher makes up itself.
#include <cstdint>
#include <string>

// The name used when the system cannot make a unique temporary file (no file is created for it):
// tvo, the process id and this process's sequence number, in hexadecimal, then .tmp. The process
// id keeps it apart from other launchers' names and the sequence number from this process's
// earlier ones, also within the same second. A backslash is put between directory and name
// when the directory does not end in one.
std::string fallbackTempFileName(const std::string& directory, uint32_t processId, uint32_t sequence);
