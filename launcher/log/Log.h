#pragma once
// Diagnostic log: off unless TARVO_LOG/QUILLMOTE_LOG is "yes" or the log-file option was given.
// One call writes one whole line; the decision whether to log is taken once, at the first call.
#include <string>

#if defined(__GNUC__)
#define LAUNCHER_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define LAUNCHER_PRINTF(fmt, args)
#endif

void logMessage(const char* format, ...) LAUNCHER_PRINTF(1, 2);
void logError(const char* format, ...) LAUNCHER_PRINTF(1, 2);

// Wide text for a "%s" argument, converted by the rule for file names (a character the code page
// lacks becomes "?"): the C runtime's "%S" stops at such a character and loses the rest of the line.
std::string forLog(const std::wstring& text);
std::string forLog(const wchar_t* text);  // nullptr gives empty text

// The log file's path, or nullptr while logging is off or not yet decided, and when no log file
// could be opened.
const wchar_t* logFilePath();

// Set by the log-file command-line option before the first log call.
extern bool logFileRequested;
