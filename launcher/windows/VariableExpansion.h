#pragma once
// Replaces launcher variables ("${launcher:sys.jvmHome}" and the older "%TARVO_EXEDIR%" forms) and
// "${NAME}" environment references in configured texts and VM options lines. Plain text
// replacement: no escapes, no nesting; a reference that matches nothing stays as written.
//
// Callers keep these texts in fixed buffers, so every operation takes the buffer's capacity in
// characters, terminator included, and never lets the text grow beyond capacity - 1. When a
// replacement would, the text is cut there, one error line is logged and expansion stops; the
// functions then return false.
#include <cstddef>
#include <string>
#include <vector>

// Replaces every occurrence of token by value, logging one line per occurrence. The search goes on
// directly behind each inserted value, so a value is never searched for its own token.
bool replaceToken(std::wstring& text, size_t capacity, const std::wstring& token, const std::wstring& value);
// The value is narrow and goes in widened byte for byte.
bool replaceToken(std::wstring& text, size_t capacity, const std::wstring& token, const std::string& value);
bool replaceToken(std::string& text, size_t capacity, const std::string& token, const std::string& value);

// What the launcher variables stand for in wide texts. The directories are wide (or already
// widened by the caller); the temporary directory of the launcher and jvmHome are narrow.
struct WideExpansionValues {
    std::wstring launcherDirectory;
    std::string launcherTempDirectory;
    std::string jvmHome;
    std::wstring tempDir;
};

struct NarrowExpansionValues {
    std::string launcherDirectory;
    std::string launcherTempDirectory;
    std::string jvmHome;
    std::string tempDir;
};

// Replaces the launcher variables in their fixed order, then for each "NAME=value" entry of the
// environment, in the given order, "${NAME}" and "${NAME in ASCII capitals}". Entries without "="
// are skipped. Text inserted for one token is searched by every later token and entry only.
bool expandTokens(std::wstring& text, size_t capacity, const WideExpansionValues& values,
                  const std::vector<std::wstring>& environmentEntries);
bool expandTokens(std::string& text, size_t capacity, const NarrowExpansionValues& values,
                  const std::vector<std::string>& environmentEntries);

// The runtime's home seen through its bin directory: the java executable's path without
// "javaw.exe" (or without its last 8 characters, the length of "java.exe"), followed by "..".
std::string jvmHomeFromJavaExecutable(const std::string& javaExecutablePath);

// jvmHome is empty text until a runtime has been chosen; it is held within 6,000 bytes.
void setJvmHome(const std::string& javaExecutablePath);
const std::string& jvmHome();
