#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "BlockModel.h"

namespace builder {

class FileReader;

struct FileRecord {
  std::string name;  // Windows-1252; a made-up name when key 2003 lists fewer names
  uint64_t dataOffset;
  uint64_t size;
};

struct DecodedBlock {
  uint64_t start = 0;
  bool headerIsZero = true;
  BlockTexts texts;
  uint64_t filesOffset = 0;  // first byte behind the last locale group
  std::vector<FileRecord> records;
  // How many of the records the launcher extracts, by keys 2002 and 2003.
  std::size_t launcherRecordCount = 0;
  uint64_t javaDataOffset = 0;  // first byte behind the last record
  // True when exactly the four trailer bytes follow the records, up to the end of the
  // file: the shape the builder writes.
  bool endsWithTrailer = false;
};

// Reads the block at `start`. Throws on a wrong magic and on any length, count or size
// that does not fit the bytes left in the file.
DecodedBlock decodeBlock(FileReader& file, uint64_t start);

}  // namespace builder
