#pragma once
// Reading the configuration block out of the launcher's own executable file.
#include <windows.h>

#include <cstdint>

#include "config/ByteSource.h"
#include "startup/CommandLine.h"
#include "files/win/UniqueHandle.h"

// A buffered ByteSource over a file handle: one system call per 64 KiB instead of one per field.
class HandleSource : public ByteSource {
public:
    explicit HandleSource(HANDLE file);
    unsigned long lastError() const override { return lastError_; }

protected:
    uint64_t size() const override { return fileSize_; }
    size_t readAt(uint64_t offset, void* out, size_t count) override;

private:
    HANDLE file_;
    uint64_t fileSize_ = 0;
    uint64_t bufferStart_ = 0;     // file offset of buffer_[0]
    uint32_t bufferLength_ = 0;
    unsigned long lastError_ = 0;
    unsigned char buffer_[64 * 1024];
};

// Opens the executable for reading (shared); shows the media-file error and exits when it cannot.
UniqueHandle openOwnExecutable();

// Fills the configuration tables, detects the locale between the wide entries and the locale
// groups, and applies key 107 to showErrorDialogs. Does not return when the block is damaged.
int loadConfiguration(const ArgumentVector& arguments);

// readLong for the included-file records: ends the launch with the block's error text on failure.
int64_t readLongOrFail(ByteSource& source);
