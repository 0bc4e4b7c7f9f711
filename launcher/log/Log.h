#pragma once
// Diagnostic log: off unless TARVO_LOG/QUILLMOTE_LOG is "yes" or the log-file option was given.
// One call writes one whole line; the decision whether to log is taken once, at the first call.

#if defined(__GNUC__)
#define LAUNCHER_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define LAUNCHER_PRINTF(fmt, args)
#endif

void logMessage(const char* format, ...) LAUNCHER_PRINTF(1, 2);
void logError(const char* format, ...) LAUNCHER_PRINTF(1, 2);

// The log file's path, or nullptr while logging is off or not yet decided.
const wchar_t* logFilePath();

// Set by the log-file command-line option before the first log call.
extern bool logFileRequested;
