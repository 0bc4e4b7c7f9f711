#pragma once

#include <filesystem>
#include <iosfwd>

namespace builder {

// Cuts the stub behind the last section table entry's raw data, appends the block made
// from the configuration and writes the result (mode 0755). Warnings go to `warnings`.
void buildExecutable(const std::filesystem::path& stub, const std::filesystem::path& config,
                     const std::filesystem::path& output, std::ostream& warnings);

}  // namespace builder
