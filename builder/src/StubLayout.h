#pragma once

#include <cstdint>

namespace builder {

class FileReader;

// What the builder and the dump need from a PE image's headers.
struct StubLayout {
  // PointerToRawData + SizeOfRawData of the last section table entry: where the launcher
  // looks for its block.
  uint64_t blockOffset = 0;
  uint64_t sectionTableEnd = 0;
  // Largest raw-data end of the other section table entries (0 when none has raw data).
  uint64_t otherSectionsEnd = 0;
  // Size of the certificate table (data directory entry 4); non-zero means signed.
  uint32_t certificateSize = 0;
};

// Reads the headers; throws when the file is not a PE image the launcher can read.
StubLayout readStubLayout(FileReader& file);

// The launcher seeks to the block with a signed 32-bit offset.
constexpr uint64_t kMaxBlockOffset = 0x7FFFFFFF;

// Throws when the block offset cannot be reached or lies beyond the file's end.
void checkBlockReachable(const StubLayout& layout, uint64_t fileSize);

// Throws when appending a block behind the last entry's raw data would lose or corrupt
// part of the image, or when the stub is signed.
void checkBuildableStub(const StubLayout& layout, uint64_t fileSize);

}  // namespace builder
