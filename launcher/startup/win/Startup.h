#pragma once
#include <windows.h>

#include "startup/CommandLine.h"

extern bool languageRestart;

// The early set-up: log-file option, configuration, product flavour, working directory, log notice.
void prepareStartup(HINSTANCE instance, ArgumentVector& arguments);
HINSTANCE launcherInstance();

// True when the process has a console afterwards (attached to the parent's, or a new one).
bool attachConsole();
void applyConsoleOptions(const ArgumentVector& arguments);

// Puts the configured native-library directories in front of PATH.
void setNativeLibraryPath();
