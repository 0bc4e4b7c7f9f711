#include "BlockDecoder.h"

#include <algorithm>

#include "BuilderError.h"
#include "FileReader.h"

namespace builder {

namespace {

// Bounds the bookkeeping for files made of countless empty records.
constexpr std::size_t kMaxRecords = 1u << 20;
// The launcher parses numbers out of a buffer of this many bytes.
constexpr std::size_t kNumberBuffer = 6000;

std::string entryName(const char* section, int32_t id) {
  return std::string(section) + " entry " + std::to_string(id);
}

std::string readText(FileReader& file, const std::string& what) {
  const int32_t length = file.readI32("the length of " + what);
  if (length < 0) {
    throw BuilderError("damaged block: " + what + " has the negative length " +
                       std::to_string(length) + " (offset " +
                       std::to_string(file.position() - 4) + ")");
  }
  return file.read(static_cast<uint64_t>(length), what);
}

// A count of zero or less means an empty section, as in the launcher. Entries are
// appended one by one, so a huge count just runs into the end of the file.
std::vector<TextEntry> readEntries(FileReader& file, const char* section) {
  std::vector<TextEntry> entries;
  const int32_t count = file.readI32(std::string("the number of ") + section + " entries");
  for (int32_t i = 0; i < count; ++i) {
    const int32_t id = file.readI32(std::string("the id of a ") + section + " entry");
    entries.push_back({id, readText(file, entryName(section, id))});
  }
  return entries;
}

// The last entry wins and a zero byte ends the text, as for the launcher's accessors.
std::string launcherText(const std::vector<TextEntry>& narrow, int32_t id) {
  for (auto it = narrow.rbegin(); it != narrow.rend(); ++it) {
    if (it->id == id) return it->bytes.substr(0, it->bytes.find('\0'));
  }
  return {};
}

// strtol in base 10 with the result clamped to int32.
int64_t launcherNumber(std::string text) {
  text = text.substr(0, kNumberBuffer - 1);
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t{1} << 31);
  }
  return negative ? -value : std::min<int64_t>(value, 0x7FFFFFFF);
}

// Split at ';' like strtok: empty fields vanish.
std::vector<std::string> launcherNames(const std::string& list) {
  std::vector<std::string> names;
  std::size_t begin = 0;
  while (begin <= list.size()) {
    const std::size_t end = std::min(list.find(';', begin), list.size());
    if (end > begin) names.push_back(list.substr(begin, end - begin));
    begin = end + 1;
  }
  return names;
}

bool trailerFollows(FileReader& file) {
  return file.remaining() == sizeof kTrailer &&
         file.read(sizeof kTrailer, "trailer") == std::string(kTrailer, sizeof kTrailer);
}

// Records up to a trailer that ends the file. This also finds records that keys 2002 and
// 2003 do not announce (configurations that set them on purpose), which the launcher's own
// count would miss. Returns false when the bytes do not have that shape.
bool readRecordsUpToTrailer(FileReader& file, std::vector<FileRecord>& records) {
  records.clear();
  while (records.size() < kMaxRecords) {
    const uint64_t at = file.position();
    if (trailerFollows(file)) return true;
    file.seek(at);
    if (file.remaining() < 8) return false;
    const int64_t size = file.readI64("included file size");
    if (size < 0 || static_cast<uint64_t>(size) > file.remaining()) return false;
    records.push_back({{}, file.position(), static_cast<uint64_t>(size)});
    file.seek(file.position() + static_cast<uint64_t>(size));
  }
  return false;
}

// Exactly the records the launcher extracts; anything behind them is Java-side data.
void readLauncherRecords(FileReader& file, std::size_t count, std::vector<FileRecord>& records) {
  records.clear();
  for (std::size_t i = 0; i < count; ++i) {
    const std::string what = "the size of included file " + std::to_string(i + 1);
    const int64_t size = file.readI64(what);
    if (size < 0) {
      throw BuilderError("damaged block: " + what + " is negative (" + std::to_string(size) + ")");
    }
    if (static_cast<uint64_t>(size) > file.remaining()) {
      throw BuilderError("damaged block: included file " + std::to_string(i + 1) + " has " +
                         std::to_string(size) + " bytes, but only " +
                         std::to_string(file.remaining()) + " are left in the file");
    }
    records.push_back({{}, file.position(), static_cast<uint64_t>(size)});
    file.seek(file.position() + static_cast<uint64_t>(size));
  }
}

}  // namespace

DecodedBlock decodeBlock(FileReader& file, uint64_t start) {
  DecodedBlock block;
  block.start = start;
  file.seek(start);
  const uint32_t magic = file.readU32("the block's magic");
  if (magic != kBlockMagic) {
    throw BuilderError("no configuration block at offset " + std::to_string(start) +
                       ": the magic is wrong");
  }
  const int32_t word1 = file.readI32("the block header");
  const int32_t word2 = file.readI32("the block header");
  const int64_t value = file.readI64("the block header");
  block.headerIsZero = word1 == 0 && word2 == 0 && value == 0;

  block.texts.narrow = readEntries(file, "narrow");
  block.texts.wide = readEntries(file, "wide");
  const int32_t groupCount = file.readI32("the number of locale groups");
  for (int32_t g = 0; g < groupCount; ++g) {
    const std::string group = "locale group " + std::to_string(g + 1);
    LocaleGroup decoded;
    decoded.prefix = readText(file, "the prefix of " + group);
    decoded.entries = readEntries(file, "locale");
    block.texts.groups.push_back(std::move(decoded));
  }
  block.filesOffset = file.position();

  const int64_t announced = launcherNumber(launcherText(block.texts.narrow, kFileCountKey));
  const std::vector<std::string> names =
      launcherNames(launcherText(block.texts.narrow, kFileNamesKey));
  block.launcherRecordCount =
      announced > 0 ? std::min(static_cast<std::size_t>(announced), names.size()) : 0;

  block.endsWithTrailer = readRecordsUpToTrailer(file, block.records);
  if (!block.endsWithTrailer) {
    file.seek(block.filesOffset);
    readLauncherRecords(file, block.launcherRecordCount, block.records);
  }
  block.javaDataOffset = block.records.empty()
                             ? block.filesOffset
                             : block.records.back().dataOffset + block.records.back().size;
  for (std::size_t i = 0; i < block.records.size(); ++i) {
    block.records[i].name = i < names.size() ? names[i] : "unnamed-" + std::to_string(i + 1);
  }
  return block;
}

}  // namespace builder
