#include "config/BlockReader.h"

#include <cstring>
#include <vector>

#include "log/Log.h"

const char* readFailureText(ReadFailure failure) {
    switch (failure) {
        case ReadFailure::Magic: return "Internal Error: magic";
        case ReadFailure::ReadShort: return "Internal Error: readShort";
        case ReadFailure::ReadInt: return "Internal Error: readInt";
        case ReadFailure::ReadLong: return "Internal Error: readLong";
        case ReadFailure::ReadString: return "Internal Error: readString";
        case ReadFailure::ReadWString: return "Internal Error: readWString";
        case ReadFailure::None: break;
    }
    return "";
}

bool BlockReader::readExactly(void* out, size_t count, ReadFailure failure) {
    if (failure_ != ReadFailure::None) return false;
    size_t got = source_.read(out, count);
    if (got == count) return true;
    failure_ = failure;
    return false;
}

// Values are little-endian whatever the host's byte order.
static uint64_t littleEndian(const unsigned char* bytes, size_t width) {
    uint64_t value = 0;
    for (size_t i = width; i > 0; --i) value = (value << 8) | bytes[i - 1];
    return value;
}

bool BlockReader::readNumber(unsigned char* bytes, size_t width, ReadFailure failure) {
    if (failure_ != ReadFailure::None) return false;
    size_t got = source_.read(bytes, width);
    if (got == width) return true;
    failure_ = failure;
    // The 32-bit read also reports how many bytes it got.
    if (width == 4)
        logMessage("error %lu %d\n", source_.lastError(), static_cast<int>(got));
    else
        logMessage("error %lu\n", source_.lastError());
    return false;
}

bool BlockReader::readShort(int16_t& value) {
    unsigned char bytes[2];
    if (!readNumber(bytes, 2, ReadFailure::ReadShort)) return false;
    value = static_cast<int16_t>(littleEndian(bytes, 2));
    return true;
}

bool BlockReader::readInt(int32_t& value) {
    unsigned char bytes[4];
    if (!readNumber(bytes, 4, ReadFailure::ReadInt)) return false;
    value = static_cast<int32_t>(littleEndian(bytes, 4));
    return true;
}

bool BlockReader::readLong(int64_t& value) {
    unsigned char bytes[8];
    if (!readNumber(bytes, 8, ReadFailure::ReadLong)) return false;
    value = static_cast<int64_t>(littleEndian(bytes, 8));
    return true;
}

// A stored length must fit in what is left of the file before anything is allocated for it.
bool BlockReader::readLength(int32_t& length, ReadFailure failure) {
    if (!readInt(length)) return false;
    if (length >= 0 && static_cast<uint64_t>(length) <= source_.remaining()) return true;
    fail(failure);
    return false;
}

bool BlockReader::readString(std::string& text) {
    int32_t length = 0;
    if (!readLength(length, ReadFailure::ReadString)) return false;
    std::string bytes(static_cast<size_t>(length), '\0');
    if (length > 0 && !readExactly(&bytes[0], bytes.size(), ReadFailure::ReadString)) return false;
    text.assign(bytes.c_str());
    return true;
}

bool BlockReader::readWString(std::wstring& text) {
    int32_t length = 0;
    if (!readLength(length, ReadFailure::ReadWString)) return false;
    std::vector<unsigned char> bytes(static_cast<size_t>(length));
    if (length > 0 && !readExactly(bytes.data(), bytes.size(), ReadFailure::ReadWString)) return false;
    // An odd length keeps its last byte consumed but unused, so the fields behind stay in step.
    text.clear();
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        wchar_t unit = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) break;
        text.push_back(unit);
    }
    return true;
}
