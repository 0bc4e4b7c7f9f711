#pragma once
// The configuration block appended to the executable: its tables, the reader that fills them and
// the typed accessors every other part reads its settings through. Keys are numbers.
#include <cstdint>
#include <map>
#include <string>

#include "config/BlockReader.h"

constexpr uint32_t kConfigMagic = 0xE8E413D5u;

struct ConfigBlock {
    std::map<int32_t, std::string> entries;       // narrow texts, read by the accessors
    std::map<int32_t, std::wstring> wideEntries;  // wide texts and the locale groups that apply
    uint32_t includedDataOffset = 0;              // first byte behind the last locale group
};

// The process-wide tables: filled once during start-up, read-only afterwards (no lock needed).
ConfigBlock& configBlock();

// Seeks to the block: it starts behind the raw data of the last entry of the PE section table.
bool seekConfigBlock(BlockReader& reader);

// Header, narrow and wide entries. Entries read before a failure stay in the tables.
bool readConfigEntries(BlockReader& reader, ConfigBlock& block);

// Locale groups: a group applies when its prefix is the start of localeName; later groups win.
// Records includedDataOffset on success.
bool readLocaleGroups(BlockReader& reader, ConfigBlock& block, const char* localeName);

// Accessors over configBlock().entries; an absent key reads as empty text or 0.
int configString(int id, char* buffer, int size);
std::string configStringCopy(int id);
int configInt(int id);
uint32_t configColor(int id);
int configWideString(int id, wchar_t* buffer, int size);
// The same reads as texts: cut (and logged) as a buffer of capacity units would cut them.
std::string configText(int id, size_t capacity);
std::wstring configWideText(int id, size_t capacity);

// The conversions behind configInt and configColor (strtol rules, base 10, clamped to int32).
int parseConfigInt(const char* text);
uint32_t parseConfigColor(const char* text);
