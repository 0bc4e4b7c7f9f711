#include "runtime/SearchSequence.h"

#include "files/Text.h"

std::vector<SearchEntry> parseSearchSequence(const std::string& sequence) {
    std::vector<SearchEntry> entries;
    for (const std::string& field : splitSkippingEmpty(sequence, ';')) entries.push_back({field[0], field.substr(1)});
    return entries;
}

bool countsAsAbsolute(const std::string& text) {
    if (text.size() < 2) return false;
    return text[1] == ':' || (text[0] == '\\' && text[1] == '\\');
}

bool triedInFallback(const SearchEntry& entry) {
    if (entry.type == 'B') return true;
    if (entry.type == 'A' || entry.type == 'R') return !countsAsAbsolute(entry.text);
    return false;
}
