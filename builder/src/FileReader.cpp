#include "FileReader.h"

#include <array>
#include <ostream>

#include "BuilderError.h"

namespace builder {

namespace {
constexpr std::size_t kChunk = 64 * 1024;
}

FileReader::FileReader(const std::filesystem::path& path) : path_(path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    throw BuilderError(path.string() + ": not a readable file");
  }
  size_ = std::filesystem::file_size(path, error);
  in_.open(path, std::ios::binary);
  if (error || !in_) throw BuilderError(path.string() + ": cannot open");
}

void FileReader::seek(uint64_t position) {
  if (position > size_) {
    throw BuilderError(path_.string() + ": offset " + std::to_string(position) +
                       " lies beyond the end of the file (" + std::to_string(size_) + " bytes)");
  }
  in_.clear();
  in_.seekg(static_cast<std::streamoff>(position));
  position_ = position;
}

void FileReader::need(uint64_t count, const std::string& what) const {
  if (count > remaining()) {
    throw BuilderError(path_.string() + ": " + what + " at offset " + std::to_string(position_) +
                       " needs " + std::to_string(count) + " bytes, but only " +
                       std::to_string(remaining()) + " are left in the file");
  }
}

std::string FileReader::read(uint64_t count, const std::string& what) {
  need(count, what);
  std::string bytes(static_cast<std::size_t>(count), '\0');
  if (count > 0 && !in_.read(bytes.data(), static_cast<std::streamsize>(count))) {
    throw BuilderError(path_.string() + ": read error at offset " + std::to_string(position_));
  }
  position_ += count;
  return bytes;
}

uint16_t FileReader::readU16(const std::string& what) {
  const std::string b = read(2, what);
  return static_cast<uint16_t>(static_cast<uint8_t>(b[0]) | static_cast<uint8_t>(b[1]) << 8);
}

uint32_t FileReader::readU32(const std::string& what) {
  const std::string b = read(4, what);
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(b[i]);
  return value;
}

int32_t FileReader::readI32(const std::string& what) {
  return static_cast<int32_t>(readU32(what));
}

int64_t FileReader::readI64(const std::string& what) {
  const std::string b = read(8, what);
  uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(b[i]);
  return static_cast<int64_t>(value);
}

void FileReader::copyTo(std::ostream& out, uint64_t count, uint8_t mask, const std::string& what) {
  need(count, what);
  std::array<char, kChunk> buffer;
  while (count > 0) {
    const std::size_t n = count < kChunk ? static_cast<std::size_t>(count) : kChunk;
    if (!in_.read(buffer.data(), static_cast<std::streamsize>(n))) {
      throw BuilderError(path_.string() + ": read error at offset " + std::to_string(position_));
    }
    for (std::size_t i = 0; i < n; ++i) buffer[i] = static_cast<char>(buffer[i] ^ mask);
    out.write(buffer.data(), static_cast<std::streamsize>(n));
    position_ += n;
    count -= n;
  }
  if (!out) throw BuilderError("write error while copying " + what);
}

}  // namespace builder
