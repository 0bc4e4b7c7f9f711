#pragma once
// The VM options that come from the configuration (key 123) and the command line: which pieces
// and arguments become option lines, before the line handling sees them.
#include <string>
#include <vector>

#include "startup/CommandLine.h"

// The split pieces of the configured options, where a piece that is exactly "-include-options"
// takes the piece after it, joined by one blank, so a file name given as a piece of its own works
// as one directive. A last "-include-options" stays a plain option.
std::vector<std::wstring> joinIncludePieces(const std::vector<std::wstring>& pieces);

// With allowed (key 125): every argument, element 0 too, that begins with "-J", without those two
// characters, in argument order. Nothing otherwise.
std::vector<std::wstring> commandLineVmOptions(const ArgumentVector& arguments, bool allowed);

// The last argument that begins with "-Dsun.locale.formatasdefault=", unchanged; unless it is
// exactly "...=true", followed by "-Duser.language=" and "-Duser.country=" with the detected parts
// that are known (empty text: unknown). Nothing without such an argument.
std::vector<std::wstring> localeVmOptions(const ArgumentVector& arguments, const std::string& language,
                                          const std::string& country);
