#include "config/ByteSource.h"

#include <cstring>

uint64_t ByteSource::remaining() const {
    uint64_t end = size() < kPositionLimit ? size() : kPositionLimit;
    return position_ < end ? end - position_ : 0;
}

size_t ByteSource::read(void* out, size_t count) {
    uint64_t left = remaining();
    size_t wanted = count < left ? count : static_cast<size_t>(left);
    if (wanted == 0) return 0;
    size_t got = readAt(position_, out, wanted);
    position_ += got;
    return got;
}

size_t MemorySource::readAt(uint64_t offset, void* out, size_t count) {
    std::memcpy(out, bytes_.data() + offset, count);
    return count;
}
