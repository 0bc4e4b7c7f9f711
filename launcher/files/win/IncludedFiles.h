#pragma once
// Files shipped inside the executable behind the configuration block, each byte XORed with 0xA7.
#include <windows.h>

#include <cstdint>
#include <string>

#include "config/ByteSource.h"

// 0 on success, else the failed copy's code (1 the executable ran short, 2 a write failed).
int extractIncludedFiles(bool createDirectory);
int extractIncludedFile(ByteSource& executable, const std::string& path);
int copyFileData(ByteSource& source, HANDLE target, int64_t size, bool unscramble);

// The first byte behind the last record read; 0 when nothing was extracted.
uint32_t unextractedPosition();
