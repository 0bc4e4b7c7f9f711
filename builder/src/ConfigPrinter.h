#pragma once

#include <string>
#include <vector>

#include "BlockDecoder.h"

namespace builder {

// Prints a block in the configuration format, so that building from the text gives the
// same block again. `sources` holds one path per record when the files were written out,
// or is empty. Entries that a later entry of the same id replaces are printed as comments.
std::string printConfig(const DecodedBlock& block, const std::vector<std::string>& sources,
                        const std::string& executableName);

// A TOML basic string: quotes, backslashes and control characters escaped.
std::string tomlString(const std::string& utf8);

}  // namespace builder
