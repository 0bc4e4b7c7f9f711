#pragma once
// The configured runtime search sequence (key 128): entries separated by ';', runs of separators
// counting as one. The first character of an entry is its type letter, the rest its text.
#include <string>
#include <vector>

struct SearchEntry {
    char type;         // 'A', 'B', 'R' directory; 'E' environment variable; 'S' search path; 'Y' registries
    std::string text;  // possibly empty
};

std::vector<SearchEntry> parseSearchSequence(const std::string& sequence);

// The fallback pass's own idea of an absolute path: longer than one character and either a ':' as
// second character or a leading "\\".
bool countsAsAbsolute(const std::string& text);

// B entries always take part in the fallback pass; A and R entries only with a relative text.
bool triedInFallback(const SearchEntry& entry);

// How the last candidate that passed its checks was found; reported with the search's result and
// deciding which messages a failed load shows.
enum class JvmSourceKind { none = 0, searchPath = 1, directory = 2, environmentVariable = 3, registry = 4 };
