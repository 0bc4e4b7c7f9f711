#include "DumpCommand.h"

#include <fstream>
#include <ostream>

#include "BlockDecoder.h"
#include "BlockEncoder.h"
#include "BuilderError.h"
#include "ConfigPrinter.h"
#include "ConfigReader.h"
#include "FileReader.h"
#include "StubLayout.h"
#include "Text.h"

namespace builder {

namespace fs = std::filesystem;

namespace {

// Names come from the executable and may be anything: each record goes to its own numbered
// folder, and a name that could leave it is replaced.
fs::path extractionPath(const std::string& name, std::size_t index) {
  fs::path relative;
  std::string part;
  bool safe = true;
  const std::string utf8 = cp1252ToUtf8(name) + '\\';
  for (const char c : utf8) {
    if (c == '\\' || c == '/') {
      safe = safe && !part.empty() && part != "." && part != "..";
      relative /= fs::u8path(part);
      part.clear();
    } else {
      safe = safe && c != ':' && static_cast<unsigned char>(c) >= 0x20;
      part += c;
    }
  }
  return fs::path(std::to_string(index + 1)) / (safe ? relative : fs::path("file"));
}

std::vector<std::string> extractFiles(FileReader& file, const DecodedBlock& block,
                                      const fs::path& dir) {
  std::vector<std::string> sources;
  const fs::path root = fs::absolute(dir);
  for (std::size_t i = 0; i < block.records.size(); ++i) {
    const FileRecord& record = block.records[i];
    const fs::path target = root / extractionPath(record.name, i);
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!out) throw BuilderError(target.string() + ": cannot create");
    file.seek(record.dataOffset);
    file.copyTo(out, record.size, kFileMask, target.string());
    out.close();
    if (!out) throw BuilderError(target.string() + ": write error");
    sources.push_back(target.u8string());
  }
  return sources;
}

// Why building from the printed text would give a different block, or empty text.
std::string rebuildDifference(FileReader& file, const DecodedBlock& block, const std::string& text) {
  if (!block.headerIsZero) return "the header words are not zero";
  if (!block.endsWithTrailer) {
    return "the included files are not followed by exactly the four trailer bytes";
  }
  try {
    const Config config = readConfigText(text, "dump");
    file.seek(block.start);
    if (encodeBlockHead(config.texts) != file.read(block.filesOffset - block.start, "block")) {
      return "the texts are not in the builder's form (order, repeated ids, counts or encoding)";
    }
    if (config.files.size() != block.records.size()) return "the file records differ";
  } catch (const BuilderError& error) {
    return std::string("the printed configuration does not read back: ") + error.what();
  }
  return {};
}

}  // namespace

void dumpExecutable(const fs::path& executable, const std::optional<fs::path>& filesDir,
                    std::ostream& out, std::ostream& warnings) {
  FileReader file(executable);
  const StubLayout layout = readStubLayout(file);
  checkBlockReachable(layout, file.size());
  const DecodedBlock block = decodeBlock(file, layout.blockOffset);

  const std::vector<std::string> sources =
      filesDir ? extractFiles(file, block, *filesDir) : std::vector<std::string>{};
  const std::string text = printConfig(block, sources, executable.filename().string());
  const std::string difference = rebuildDifference(file, block, text);
  if (!difference.empty()) {
    warnings << "warning: building from this output gives a different block: " << difference
             << '\n';
  }
  out << text;
}

}  // namespace builder
