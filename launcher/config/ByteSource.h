#pragma once
// A positioned byte stream over the launcher's own executable (a file handle on Windows, memory in
// tests). The block reader only ever reads forward, except for the seeks that locate the block.
#include <cstddef>
#include <cstdint>
#include <vector>

// No position ever goes past this. Offsets in the executable are handed on as signed 32-bit
// numbers (the end of the included data reaches the Java side so), so bytes beyond read as missing
// instead of wrapping around: a block or record that reaches that far counts as cut short.
constexpr uint64_t kPositionLimit = 0x7FFFFFFFu;

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to count bytes; returns how many arrived (fewer at the end of the data, at
    // kPositionLimit or on error).
    size_t read(void* out, size_t count);
    // Like a file pointer, a position past the end is allowed; the next read simply gets nothing.
    void seek(uint64_t offset) { position_ = offset; }
    uint64_t position() const { return position_; }
    // Bytes between the position and the end; bounds every allocation made for a stored length.
    uint64_t remaining() const;
    // The system error code of the last failed read (0 when the data simply ended).
    virtual unsigned long lastError() const = 0;

protected:
    virtual uint64_t size() const = 0;
    // Reads up to count bytes at offset; offset + count never passes size() or kPositionLimit.
    virtual size_t readAt(uint64_t offset, void* out, size_t count) = 0;

private:
    uint64_t position_ = 0;
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}
    unsigned long lastError() const override { return 0; }

protected:
    uint64_t size() const override { return bytes_.size(); }
    size_t readAt(uint64_t offset, void* out, size_t count) override;

private:
    std::vector<unsigned char> bytes_;
};
