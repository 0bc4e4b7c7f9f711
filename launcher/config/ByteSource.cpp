#include "config/ByteSource.h"

#include <cstring>

size_t MemorySource::read(void* out, size_t count) {
    size_t available = bytes_.size() - position_;
    size_t n = count < available ? count : available;
    if (n > 0) std::memcpy(out, bytes_.data() + position_, n);
    position_ += static_cast<uint32_t>(n);
    return n;
}

// Like a file pointer, a position past the end is allowed; the next read simply gets nothing.
bool MemorySource::seek(uint32_t offset) {
    position_ = offset < bytes_.size() ? offset : static_cast<uint32_t>(bytes_.size());
    return true;
}
