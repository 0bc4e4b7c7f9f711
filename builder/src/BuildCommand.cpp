#include "BuildCommand.h"

#include <fstream>
#include <ostream>

#include "BlockEncoder.h"
#include "BuilderError.h"
#include "ConfigReader.h"
#include "FileReader.h"
#include "StubLayout.h"

namespace builder {

namespace fs = std::filesystem;

namespace {

// unextractedPosition, the offset the launcher reports behind the records, is 32-bit.
constexpr uint64_t kMaxOutputSize = 0xFFFFFFFF;

struct Source {
  fs::path path;
  uint64_t size;
};

std::vector<Source> locateSources(const Config& config, const fs::path& configPath) {
  std::vector<Source> sources;
  for (std::size_t i = 0; i < config.files.size(); ++i) {
    const IncludedFile& file = config.files[i];
    const std::string label = "[[file]] " + std::to_string(i + 1);
    if (file.source.empty()) throw BuilderError(configPath.string() + ": " + label + " has no source");
    // Relative sources are taken from the configuration file's folder.
    const fs::path path = configPath.parent_path() / fs::u8path(file.source);
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
      throw BuilderError(configPath.string() + ": " + label + ": source " + path.string() +
                         " is not a readable file");
    }
    sources.push_back({path, fs::file_size(path)});
  }
  return sources;
}

void writeOutput(const fs::path& stubPath, uint64_t cut, const std::string& head,
                 const std::vector<Source>& sources, const fs::path& target) {
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  if (!out) throw BuilderError(target.string() + ": cannot create");
  FileReader stub(stubPath);
  stub.copyTo(out, cut, 0, "the stub");
  out.write(head.data(), static_cast<std::streamsize>(head.size()));
  for (const Source& source : sources) {
    std::string size;
    appendInt64(size, static_cast<int64_t>(source.size));
    out.write(size.data(), static_cast<std::streamsize>(size.size()));
    FileReader data(source.path);
    // A source that changed size since it was measured would shift every later record.
    if (data.size() != source.size) throw BuilderError(source.path.string() + ": changed while building");
    data.copyTo(out, source.size, kFileMask, source.path.string());
  }
  out.write(kTrailer, sizeof kTrailer);
  out.close();
  if (!out) throw BuilderError(target.string() + ": write error");
}

}  // namespace

void buildExecutable(const fs::path& stubPath, const fs::path& configPath, const fs::path& output,
                     std::ostream& warnings) {
  FileReader stub(stubPath);
  const StubLayout layout = readStubLayout(stub);
  checkBuildableStub(layout, stub.size());

  const Config config = readConfigFile(configPath);
  for (const std::string& warning : config.warnings) {
    warnings << "warning: " << configPath.string() << ": " << warning << '\n';
  }
  const std::vector<Source> sources = locateSources(config, configPath);
  const std::string head = encodeBlockHead(config.texts);

  // The launcher seeks to the records with a signed 32-bit offset as well.
  const uint64_t filesOffset = layout.blockOffset + head.size();
  if (filesOffset > kMaxBlockOffset) {
    throw BuilderError("the block's texts would end at offset " + std::to_string(filesOffset) +
                       ", beyond 2 GiB");
  }
  uint64_t total = filesOffset + sizeof kTrailer;
  for (const Source& source : sources) total += 8 + source.size;
  if (total > kMaxOutputSize) {
    throw BuilderError("the executable would have " + std::to_string(total) +
                       " bytes; the launcher handles offsets up to 4 GiB");
  }

  // Written beside the target and renamed, so a failed build leaves no half file and the
  // stub may be the output itself.
  const fs::path partial = output.string() + ".partial";
  try {
    writeOutput(stubPath, layout.blockOffset, head, sources, partial);
    fs::permissions(partial, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
    fs::rename(partial, output);
  } catch (...) {
    std::error_code ignored;
    fs::remove(partial, ignored);
    throw;
  }
}

}  // namespace builder
