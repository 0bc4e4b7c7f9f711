#include "BlockEncoder.h"

#include <limits>

#include "BuilderError.h"

namespace builder {

namespace {

void appendCount(std::string& out, std::size_t count, const char* what) {
  if (count > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) {
    throw BuilderError(std::string("too many ") + what + " for a 32-bit count");
  }
  appendInt32(out, static_cast<int32_t>(count));
}

void appendText(std::string& out, const std::string& bytes) {
  appendCount(out, bytes.size(), "bytes in one text");
  out += bytes;
}

void appendEntries(std::string& out, const std::vector<TextEntry>& entries) {
  appendCount(out, entries.size(), "entries");
  for (const TextEntry& entry : entries) {
    appendInt32(out, entry.id);
    appendText(out, entry.bytes);
  }
}

}  // namespace

std::string derivedFileCount(std::size_t count) { return std::to_string(count); }

std::string derivedFileNames(const std::vector<std::string>& names) {
  std::string joined;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) joined += ';';
    joined += names[i];
  }
  return joined;
}

void appendInt32(std::string& out, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>(bits >> shift & 0xFF);
}

void appendInt64(std::string& out, int64_t value) {
  const auto bits = static_cast<uint64_t>(value);
  for (int shift = 0; shift < 64; shift += 8) out += static_cast<char>(bits >> shift & 0xFF);
}

std::string encodeBlockHead(const BlockTexts& texts) {
  std::string out;
  appendInt32(out, static_cast<int32_t>(kBlockMagic));
  appendInt32(out, 0);
  appendInt32(out, 0);
  appendInt64(out, 0);
  appendEntries(out, texts.narrow);
  appendEntries(out, texts.wide);
  appendCount(out, texts.groups.size(), "locale groups");
  for (const LocaleGroup& group : texts.groups) {
    appendText(out, group.prefix);
    appendEntries(out, group.entries);
  }
  return out;
}

}  // namespace builder
