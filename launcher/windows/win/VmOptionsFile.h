#pragma once
// The VM options file next to the executable, the files it includes, and the handling of one
// option line that the configured and command-line VM options share with those files.
#include <cstdio>
#include <memory>
#include <string>

#include "windows/VmOptionLines.h"

struct StreamCloser {
    void operator()(FILE* stream) const { std::fclose(stream); }
};
using UniqueStream = std::unique_ptr<FILE, StreamCloser>;

// An open options file (or none) and the path it was opened by.
struct VmOptionsFile {
    UniqueStream stream;
    std::wstring path;
};

// Tool.vmoptions, else Tool.exe.vmoptions, beside the executable's long path; then the same two
// beside the module name as the system reports it (possibly its 8.3 form).
VmOptionsFile findVmOptionsFile();

// Reads every line of the file (none: nothing) and closes it. basePath is the path of an included
// file, or null for the file beside the executable; relative include names resolve against its
// directory. A file already being read, one nested too deep or one too many is not read.
void readVmOptionsFile(VmOptionsFile file, const wchar_t* basePath, VmOptionList& options,
                       ClassPathOverrides& overrides);

// One trimmed and expanded line: an included file, a class-path directive or an option.
void addVmOptionLine(const wchar_t* basePath, const std::wstring& line, VmOptionList& options,
                     ClassPathOverrides& overrides);
