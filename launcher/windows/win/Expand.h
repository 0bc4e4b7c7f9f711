#pragma once
// Launcher variables and environment references in configured texts, expanded in place with the
// values of this process. The result never grows past capacity - 1 characters (the caller's
// buffer size); setJvmHome and jvmHome live with the pure expansion code.
#include <cstddef>
#include <string>

#include "windows/VariableExpansion.h"

void expandVariables(std::wstring& text, size_t capacity, bool forVmOption);
void expandVariablesNarrow(std::string& text, size_t capacity);
