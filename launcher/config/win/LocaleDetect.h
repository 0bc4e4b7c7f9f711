#pragma once
// The user's locale name (language_COUNTRY) from the Windows language settings.
#include <cstddef>

#include "startup/CommandLine.h"

// arguments may be null: then the command line is not looked at.
void detectLocale(const ArgumentVector* arguments, char* localeName, size_t capacity);
