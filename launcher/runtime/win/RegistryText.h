#pragma once
// Reading text values out of the registry. Registry values are outside input: a value that is
// missing, empty, longer than its buffer or not text is refused, never cut or copied unbounded.
#include <windows.h>

#include <string>

enum class RegistryText { ok, missing, empty, tooLong, notText };

// Reads a REG_SZ or REG_EXPAND_SZ value of at most capacity - 1 bytes into text.
// queryStatus, when given, receives the system status of the query.
RegistryText readRegistryText(HKEY key, const char* valueName, size_t capacity, std::string& text,
                              long* queryStatus = nullptr);

// The same, logging "registry value NAME ...: skipped" for any outcome but ok and missing.
bool readRegistryTextLogged(HKEY key, const char* valueName, size_t capacity, std::string& text);
