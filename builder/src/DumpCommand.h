#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>

namespace builder {

// Finds the block the way the launcher does and prints it as a configuration. With
// `filesDir`, the included files are written there, unscrambled, and the printed
// configuration points at them. Warns when building from the output would not give the
// same block byte for byte.
void dumpExecutable(const std::filesystem::path& executable,
                    const std::optional<std::filesystem::path>& filesDir, std::ostream& out,
                    std::ostream& warnings);

}  // namespace builder
