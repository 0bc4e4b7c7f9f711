#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "BlockModel.h"

namespace builder {

// A configuration file turned into block contents: narrow and wide entries in ascending
// key order, groups and files in file order, keys 2002 and 2003 filled in from the
// [[file]] entries unless the file sets them.
struct Config {
  BlockTexts texts;
  std::vector<IncludedFile> files;
  std::vector<std::string> warnings;
};

// Throws BuilderError naming the file, line and key of the first fault.
Config readConfigFile(const std::filesystem::path& path);
Config readConfigText(std::string_view text, const std::string& sourceName);

}  // namespace builder
