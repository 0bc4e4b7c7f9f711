#pragma once
// The launcher's own command-line syntax: the splitter (also used for configured option and
// argument texts), the markers at the start of the tail, the log-file option and the console options.
#include <functional>
#include <string>
#include <vector>

using ArgumentVector = std::vector<std::wstring>;

// Appends the arguments of a wide command line: blanks separate, double or single quotes group,
// no escapes. Tabs are ordinary characters.
void splitCommandLine(const wchar_t* commandLine, ArgumentVector& arguments);

bool isRebootRequest(const char* tail);          // the whole tail is "__qmo_reboot"
bool isLanguageRestart(const char* tail);        // the tail begins with "__qmo_lang_restart"
bool isInternalQuietStart(const char* tail);     // the tail begins with "-q_qmo_internal"

// Removes a log-file option found as element 1; true when it was there.
bool takeLogFileOption(ArgumentVector& arguments);

// What the console options ask for, walked in order. attach() is called for "-console" and "-c"
// and returns whether a console is there afterwards. Returns false when "-c" found no console.
struct ConsoleOptionResult {
    bool quiet = false;          // "-q" or "-c" was honoured: errors go to standard error
    bool consoleFailed = false;  // "-c" could not attach or allocate a console
};
ConsoleOptionResult walkConsoleOptions(const ArgumentVector& arguments, bool allOptionsEnabled,
                                       const std::function<bool()>& attach);
