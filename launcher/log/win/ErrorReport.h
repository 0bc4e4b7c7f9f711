#pragma once
// Showing errors to the user (a message box, or standard error for console and quiet starts)
// and the one way out of a failed launch.
#include <windows.h>

extern bool showErrorDialogs;  // only ever goes from true to false
extern HWND dialogOwner;       // the splash window once it exists

void showErrorText(const char* text);
void showWideErrorText(const wchar_t* text);
// Message-table texts (keys 1000-1020) with the first "{0}" replaced by the argument, if any.
void showMessage(int messageId, const char* argument);
void showWideMessage(int messageId, const wchar_t* argument);

[[noreturn]] void exitLauncher(int code);
[[noreturn]] void failWithText(const char* text);
[[noreturn]] void failWithMessage(int messageId, const char* argument);
[[noreturn]] void failWithWideMessage(int messageId, const wchar_t* argument);

// Exit codes of the launcher.
constexpr int kExitFailure = 1;
constexpr int kExitNoRuntime = 83;
