#include "StubLayout.h"

#include <algorithm>
#include <string>

#include "BuilderError.h"
#include "FileReader.h"

namespace builder {

namespace {

constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr uint32_t kCertificateDirectory = 4;
constexpr uint32_t kSectionHeaderSize = 40;

std::string hex(uint64_t value) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), digits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return "0x" + text;
}

[[noreturn]] void notPe(const std::string& why) { throw BuilderError("not a PE executable: " + why); }

}  // namespace

StubLayout readStubLayout(FileReader& file) {
  if (file.size() < 64) notPe("too short for an MZ header");
  file.seek(0);
  if (file.read(2, "MZ signature") != "MZ") notPe("no MZ signature");
  file.seek(60);
  const int32_t peOffset = file.readI32("e_lfanew");
  if (peOffset < 0 || static_cast<uint64_t>(peOffset) + 24 > file.size()) {
    notPe("e_lfanew " + std::to_string(peOffset) + " points outside the file");
  }
  const uint64_t h = static_cast<uint64_t>(peOffset);
  file.seek(h);
  if (file.read(4, "PE signature") != std::string("PE\0\0", 4)) {
    notPe("no PE signature at offset " + std::to_string(h));
  }
  file.seek(h + 6);
  const uint16_t sectionCount = file.readU16("NumberOfSections");
  file.seek(h + 20);
  const uint16_t optionalSize = file.readU16("SizeOfOptionalHeader");
  // The launcher reads both as signed 16-bit values.
  if (sectionCount == 0 || sectionCount > 0x7FFF) {
    notPe("unusable NumberOfSections " + std::to_string(sectionCount));
  }
  if (optionalSize > 0x7FFF) notPe("unusable SizeOfOptionalHeader " + std::to_string(optionalSize));

  StubLayout layout;
  const uint64_t optionalStart = h + 24;
  const uint64_t tableStart = optionalStart + optionalSize;
  layout.sectionTableEnd = tableStart + uint64_t{kSectionHeaderSize} * sectionCount;
  if (layout.sectionTableEnd > file.size()) notPe("the section table runs past the end of the file");

  if (optionalSize >= 2) {
    file.seek(optionalStart);
    const uint16_t magic = file.readU16("optional header magic");
    if (magic != kPe32Magic && magic != kPe32PlusMagic) {
      notPe("unknown optional header magic " + hex(magic));
    }
    const uint32_t countOffset = magic == kPe32Magic ? 92 : 108;
    const uint32_t entryOffset = countOffset + 4 + 8 * kCertificateDirectory;
    if (entryOffset + 8 <= optionalSize) {
      file.seek(optionalStart + countOffset);
      if (file.readU32("NumberOfRvaAndSizes") > kCertificateDirectory) {
        file.seek(optionalStart + entryOffset + 4);
        layout.certificateSize = file.readU32("certificate table size");
      }
    }
  }

  for (uint32_t i = 0; i < sectionCount; ++i) {
    file.seek(tableStart + uint64_t{kSectionHeaderSize} * i + 16);
    const uint64_t rawSize = file.readU32("SizeOfRawData");
    const uint64_t rawPointer = file.readU32("PointerToRawData");
    if (i + 1 == sectionCount) {
      layout.blockOffset = rawPointer + rawSize;
    } else if (rawSize > 0) {
      layout.otherSectionsEnd = std::max(layout.otherSectionsEnd, rawPointer + rawSize);
    }
  }
  return layout;
}

void checkBlockReachable(const StubLayout& layout, uint64_t fileSize) {
  if (layout.blockOffset > kMaxBlockOffset) {
    throw BuilderError("the block would start at offset " + hex(layout.blockOffset) +
                       ", beyond 2 GiB; the launcher finds it with 32-bit offsets");
  }
  if (layout.blockOffset > fileSize) {
    throw BuilderError("the last section's raw data ends at offset " + hex(layout.blockOffset) +
                       ", beyond the end of the file (" + std::to_string(fileSize) + " bytes)");
  }
}

void checkBuildableStub(const StubLayout& layout, uint64_t fileSize) {
  if (layout.certificateSize != 0) {
    throw BuilderError("the stub is signed; sign the executable after building, not before");
  }
  checkBlockReachable(layout, fileSize);
  if (layout.otherSectionsEnd > layout.blockOffset) {
    throw BuilderError("a section's raw data ends at offset " + hex(layout.otherSectionsEnd) +
                       ", behind the last section table entry's end " + hex(layout.blockOffset) +
                       "; cutting there would lose it");
  }
  if (layout.sectionTableEnd > layout.blockOffset) {
    throw BuilderError("the last section table entry's raw data ends at offset " +
                       hex(layout.blockOffset) + ", inside the headers");
  }
}

}  // namespace builder
