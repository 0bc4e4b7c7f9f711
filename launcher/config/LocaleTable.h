#pragma once
// The user's locale as a language_COUNTRY name (for example "de_CH"), worked out from a Windows
// language identifier. The configuration reader picks localised texts by it, and the VM options
// carry its language and country when the user asked for a formatting locale of their own.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct LocaleRow {
    uint16_t languageId;
    const char* name;
};

// Ascending by identifier, each identifier once. Rows below 0x400 name a primary language alone.
constexpr size_t localeTableSize = 215;
extern const LocaleRow localeTable[localeTableSize];

// The name of the row with exactly this identifier, else of the row for its primary language
// (the low 10 bits), else "en". The result is a static text.
const char* lookupLocaleName(uint16_t languageId);

// The last argument that begins with "-Dsun.locale.formatasdefault=" decides: exactly "...=true"
// means true, any other value (empty too) false. Without such an argument the setting is true.
bool formatAsDefaultSetting(const std::vector<std::wstring>& arguments);

// Asks Windows for the user-interface language; nullopt when the system cannot tell.
using UserInterfaceLanguageQuery = std::optional<uint16_t> (*)();

// Picks the identifier to look up and returns its name (a static text). The user's default
// language is used unless the arguments turn formatasdefault off; then the user-interface language
// is asked for, and the default stays when the query gives nothing. Without arguments (nullptr)
// the command line is not looked at. Logs the setting and the chosen name.
const char* detectLocaleName(uint16_t userDefaultLanguage,
                             const std::vector<std::wstring>* arguments,
                             UserInterfaceLanguageQuery queryUserInterfaceLanguage);

// Sets the process-wide language (the first two characters) and country (the two characters after
// the underscore, only for a name of exactly five characters). nullptr clears both.
void splitLocaleName(const char* localeName);

// Copy the language or country into buffer (capacity includes the terminator) and return true;
// return false, leaving empty text when capacity allows, when the part is unset or does not fit.
bool copyLocaleLanguage(char* buffer, size_t capacity);
bool copyLocaleCountry(char* buffer, size_t capacity);
