#pragma once
// The primitive reads of the configuration block. A failed read is sticky: it records which read
// failed (its "Internal Error: ..." text) and logs the system error where the launcher always has.
#include <cstdint>
#include <string>

#include "config/ByteSource.h"

enum class ReadFailure { None, Magic, ReadShort, ReadInt, ReadLong, ReadString, ReadWString };

// The literal text shown when the block cannot be read, e.g. "Internal Error: readInt".
const char* readFailureText(ReadFailure failure);

class BlockReader {
public:
    explicit BlockReader(ByteSource& source) : source_(source) {}

    bool readShort(int16_t& value);
    bool readInt(int32_t& value);
    bool readLong(int64_t& value);
    // Length-prefixed texts. A length that is negative or runs past the end of the file fails
    // before anything is allocated. A zero byte inside a narrow text ends it.
    bool readString(std::string& text);
    bool readWString(std::wstring& text);

    // Marks the block as damaged with a failure that is not a short read (the magic check).
    void fail(ReadFailure failure) { if (failure_ == ReadFailure::None) failure_ = failure; }
    ReadFailure failure() const { return failure_; }
    ByteSource& source() { return source_; }

private:
    bool readExactly(void* out, size_t count, ReadFailure failure);
    bool readNumber(unsigned char* bytes, size_t width, ReadFailure failure);
    bool readLength(int32_t& length, ReadFailure failure);
    ByteSource& source_;
    ReadFailure failure_ = ReadFailure::None;
};
