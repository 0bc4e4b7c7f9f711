#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iosfwd>
#include <string>

namespace builder {

// Bounded little-endian reads from a file: every length is checked against the bytes
// left before anything is allocated, so a damaged file gives an error, never a huge buffer.
class FileReader {
 public:
  explicit FileReader(const std::filesystem::path& path);

  uint64_t size() const { return size_; }
  uint64_t position() const { return position_; }
  uint64_t remaining() const { return size_ - position_; }

  void seek(uint64_t position);
  // `what` names the field in the error message.
  std::string read(uint64_t count, const std::string& what);
  uint16_t readU16(const std::string& what);
  uint32_t readU32(const std::string& what);
  int32_t readI32(const std::string& what);
  int64_t readI64(const std::string& what);
  // Streams `count` bytes to `out` in small chunks, each byte XORed with `mask`.
  void copyTo(std::ostream& out, uint64_t count, uint8_t mask, const std::string& what);

 private:
  void need(uint64_t count, const std::string& what) const;

  std::filesystem::path path_;
  std::ifstream in_;
  uint64_t size_ = 0;
  uint64_t position_ = 0;
};

}  // namespace builder
