#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace builder {

constexpr uint32_t kBlockMagic = 0xE8E413D5;
// The Java-side data behind the included files; the launcher never reads it.
constexpr char kTrailer[4] = {'\xE8', '\xE4', '\x13', '\xD5'};
constexpr uint8_t kFileMask = 0xA7;
// Header: magic, two words and a 64-bit value, all zero apart from the magic.
constexpr uint64_t kHeaderSize = 20;

constexpr int32_t kFileCountKey = 2002;
constexpr int32_t kFileNamesKey = 2003;

struct TextEntry {
  int32_t id;
  std::string bytes;  // Windows-1252 for narrow texts, UTF-16LE for wide ones
};

struct LocaleGroup {
  std::string prefix;  // Windows-1252
  std::vector<TextEntry> entries;
};

// The block's text sections, in block order.
struct BlockTexts {
  std::vector<TextEntry> narrow;
  std::vector<TextEntry> wide;
  std::vector<LocaleGroup> groups;
};

struct IncludedFile {
  std::string name;    // Windows-1252, relative to the launcher's temporary directory
  std::string source;  // UTF-8 path as written in the configuration; may be empty
};

// The values the builder gives keys 2002 and 2003 when the configuration leaves them out.
std::string derivedFileCount(std::size_t count);
std::string derivedFileNames(const std::vector<std::string>& names);

}  // namespace builder
