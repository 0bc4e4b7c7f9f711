#include "windows/win/Expand.h"

#include <windows.h>

#include <vector>

#include "files/Text.h"
#include "files/win/Paths.h"
#include "files/win/TempDir.h"

// The environment block is a run of zero-terminated entries ended by an empty one.
template <typename Char>
static std::vector<std::basic_string<Char>> environmentEntries(const Char* block) {
    std::vector<std::basic_string<Char>> entries;
    for (const Char* entry = block; entry && *entry; entry += std::char_traits<Char>::length(entry) + 1)
        entries.emplace_back(entry);
    return entries;
}

void expandVariables(std::wstring& text, size_t capacity, bool forVmOption) {
    WideExpansionValues values;
    values.launcherDirectory = launcherDirectoryFor(forVmOption);
    values.launcherTempDirectory = launcherTempDirectory();
    values.jvmHome = jvmHome();
    values.tempDir = forVmOption ? widenBytes(determineTempDir()) : determineTempDirWide();

    wchar_t* block = GetEnvironmentStringsW();
    std::vector<std::wstring> environment = environmentEntries<wchar_t>(block);
    if (block) FreeEnvironmentStringsW(block);
    expandTokens(text, capacity, values, environment);
}

void expandVariablesNarrow(std::string& text, size_t capacity) {
    NarrowExpansionValues values;
    values.launcherDirectory = launcherDirectory();
    values.launcherTempDirectory = launcherTempDirectory();
    values.jvmHome = jvmHome();
    values.tempDir = determineTempDir();

    char* block = GetEnvironmentStringsA();
    std::vector<std::string> environment = environmentEntries<char>(block);
    if (block) FreeEnvironmentStringsA(block);
    expandTokens(text, capacity, values, environment);
}
