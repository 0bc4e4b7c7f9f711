#pragma once
// The class-path text: the configured entries (key 121), the names a directory scan may add, and
// the order in which the parts of "-Djava.class.path=" are put together. The VM reads an empty
// element of the class path as the working directory, so nothing here makes one of its own.
#include <functional>
#include <string>
#include <vector>

#include "windows/VmOptionLines.h"

// Entries are separated by ';' (runs count as one). Each is a type letter, a flag digit ('1' makes
// it mandatory) and its text from the third character on (empty for a shorter entry).
struct ClassPathEntry {
    char letter;  // 'A' archive, 'D' class directory, 'E' environment variable, 'S' directory to scan
    bool mandatory;
    std::string text;
};

std::vector<ClassPathEntry> parseClassPathEntries(const std::string& configured);

// A search for "*.jar" also matches longer extensions ("b.jarx") through their 8.3 short names:
// only a name that really ends in '.' and the extension counts (ASCII case ignored).
bool hasArchiveExtension(const std::string& name, const std::string& extension);

// directory, a backslash unless it already ends in one, name.
std::string childPath(const std::string& directory, const std::string& name);

// What an E entry adds for the variable's value: the value without a leading and a trailing double
// quote, then ';' unless it already ends in one. Nothing when no text is left.
std::string environmentEntryText(const std::string& value);

// The steps that need the file system; each appends "element;" pieces. Any may be left empty.
struct ClassPathSteps {
    std::function<void(std::string&)> temporaryArchives;
    std::function<void(std::string&)> runtimeJar;
    std::function<void(std::string&)> configuredEntries;
};

// "-Djava.class.path=" followed by: prepend, the temporary directory's archives, the runtime jar,
// replace (without a following ';') or else the configured entries, append, with one trailing ';'
// removed. The configured entries are not looked at when replace is set.
std::string composeClassPathOption(const ClassPathOverrides& overrides, const ClassPathSteps& steps);
