#pragma once
// Copying an included file's bytes out of the executable into its new file, unscrambling them on
// the way; the target is a file handle on Windows and a fake in tests.
#include <cstddef>
#include <cstdint>

#include "config/ByteSource.h"

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Writes up to count bytes; false on failure, else written says how many were taken.
    virtual bool write(const void* data, size_t count, size_t& written) = 0;
    // The system error code of the last failed write.
    virtual unsigned long lastError() const = 0;
};

// 0 when size bytes were copied, 1 when the source ran short, 2 when a write failed (a write that
// reports success but takes nothing counts as failed: retrying it could go on forever).
int copyData(ByteSource& source, ByteSink& target, int64_t size, bool unscramble);
