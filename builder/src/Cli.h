#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace builder {

// Runs one command (arguments without the program name); returns the exit code.
int runBuilder(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace builder
