#include "StubFixture.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "Cli.h"

namespace buildertest {

namespace fs = std::filesystem;

namespace {

void put(std::string& image, std::size_t at, const std::string& bytes) {
  std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
}

std::string le16(uint16_t value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

}  // namespace

std::string le32(uint32_t value) {
  std::string out;
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>(value >> shift & 0xFF);
  return out;
}

std::string le64(uint64_t value) {
  std::string out;
  for (int shift = 0; shift < 64; shift += 8) out += static_cast<char>(value >> shift & 0xFF);
  return out;
}

std::string text(const std::string& bytes) { return le32(static_cast<uint32_t>(bytes.size())) + bytes; }

std::string makeStub(const StubShape& shape) {
  constexpr std::size_t peAt = 64, optionalAt = peAt + 24, optionalSize = 240;
  std::size_t end = kSectionTableAt + 40 * shape.sections.size();
  for (const Section& s : shape.sections) {
    // Raw data beyond 64 KiB is left out, so a section can claim offsets the file lacks.
    if (uint64_t{s.pointer} + s.size <= 0x10000) end = std::max<std::size_t>(end, s.pointer + s.size);
  }
  std::string image(end, '\0');
  for (std::size_t i = kSectionTableAt + 40 * shape.sections.size(); i < end; ++i) {
    image[i] = static_cast<char>('a' + i % 26);
  }
  put(image, 0, "MZ");
  put(image, 60, le32(peAt));
  put(image, peAt, std::string("PE\0\0", 4));
  put(image, peAt + 4, le16(0x8664));
  put(image, kNumberOfSectionsAt, le16(static_cast<uint16_t>(shape.sections.size())));
  put(image, peAt + 20, le16(optionalSize));
  put(image, optionalAt, le16(0x20B));
  put(image, optionalAt + 108, le32(16));
  put(image, optionalAt + 112 + 8 * 4, le32(shape.certificateSize == 0 ? 0 : 0x600));
  put(image, optionalAt + 112 + 8 * 4 + 4, le32(shape.certificateSize));
  for (std::size_t i = 0; i < shape.sections.size(); ++i) {
    const std::size_t header = kSectionTableAt + 40 * i;
    put(image, header, ".sect" + std::to_string(i));
    put(image, header + 16, le32(shape.sections[i].size));
    put(image, header + 20, le32(shape.sections[i].pointer));
  }
  return image + shape.tail;
}

TempDir::TempDir() {
  std::random_device random;
  root_ = fs::temp_directory_path() / ("builder-test-" + std::to_string(random()));
  fs::create_directories(root_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

fs::path TempDir::write(const std::string& name, const std::string& bytes) const {
  const fs::path target = path(name);
  fs::create_directories(target.parent_path());
  std::ofstream(target, std::ios::binary) << bytes;
  return target;
}

std::string TempDir::read(const std::string& name) const { return readFile(path(name)); }

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

RunResult runTool(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int code = builder::runBuilder(args, out, err);
  return {code, out.str(), err.str()};
}

}  // namespace buildertest
