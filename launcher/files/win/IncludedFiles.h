#pragma once
// Files shipped inside the executable behind the configuration block, each byte XORed with 0xA7.
// Every file and folder is created new by this start, never taken over from whatever already has
// its name, and recorded so that a failed launch removes exactly what it wrote.
#include <cstdint>

// 0 on success, else the failed copy's code (1 the executable ran short, 2 a write failed). An
// unsafe name, or an entry that is not the new plain file or folder meant, ends the launch with
// message 1009 "11".
int extractIncludedFiles(bool createDirectory);

// The first byte behind the last record read; 0 when nothing was extracted.
uint32_t unextractedPosition();
