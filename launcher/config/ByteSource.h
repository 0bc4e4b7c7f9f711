#pragma once
// A positioned byte stream over the launcher's own executable (a file handle on Windows, memory in
// tests). The block reader only ever reads forward, except for the seeks that locate the block.
#include <cstddef>
#include <cstdint>
#include <vector>

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to count bytes; returns how many arrived (fewer at the end of the data or on error).
    virtual size_t read(void* out, size_t count) = 0;
    virtual bool seek(uint32_t offset) = 0;
    virtual uint32_t position() const = 0;
    // Bytes between the position and the end; bounds every allocation made for a stored length.
    virtual uint64_t remaining() const = 0;
    // The system error code of the last failed read (0 when the data simply ended).
    virtual unsigned long lastError() const = 0;
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}
    size_t read(void* out, size_t count) override;
    bool seek(uint32_t offset) override;
    uint32_t position() const override { return position_; }
    uint64_t remaining() const override { return bytes_.size() - position_; }
    unsigned long lastError() const override { return 0; }

private:
    std::vector<unsigned char> bytes_;
    uint32_t position_ = 0;
};
