#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace buildertest {

struct Section {
  uint32_t pointer;
  uint32_t size;
};

// A minimal PE32+ image: MZ header, PE signature, file header, optional header with
// 16 data directories, the section table and patterned raw data, then `tail`.
struct StubShape {
  std::vector<Section> sections = {{0x200, 0x200}, {0x400, 0x100}};
  uint32_t certificateSize = 0;
  std::string tail = "left-over block and other junk";
};

constexpr uint64_t kStubEnd = 0x500;  // raw data end of the default last section
constexpr uint64_t kNumberOfSectionsAt = 70;
constexpr uint64_t kSectionTableAt = 328;

std::string makeStub(const StubShape& shape = {});

std::string le32(uint32_t value);
std::string le64(uint64_t value);
// int32 length + bytes, the block's text form.
std::string text(const std::string& bytes);

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::filesystem::path path(const std::string& name) const { return root_ / name; }
  std::filesystem::path write(const std::string& name, const std::string& bytes) const;
  std::string read(const std::string& name) const;

 private:
  std::filesystem::path root_;
};

std::string readFile(const std::filesystem::path& path);

struct RunResult {
  int code;
  std::string out;
  std::string err;
};

RunResult runTool(const std::vector<std::string>& args);

}  // namespace buildertest
