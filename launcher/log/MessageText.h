#pragma once
// Composing the texts of error messages: "{0}" substitution and the log-file suffix.
#include <string>

// Texts shown to the user are cut to this many characters.
constexpr size_t kMaxErrorTextLength = 5999;

// Replaces the first "{0}" with the argument; without an argument the text stays as it is.
std::string substituteFirstPlaceholder(const std::string& text, const char* argument);
std::wstring substituteFirstPlaceholder(const std::wstring& text, const wchar_t* argument);

// "<text>\n\nLog: <log path>" when a log path is given, else the text; cut to the limit.
std::string composeErrorText(const std::string& text, const char* logPath);
std::wstring composeErrorText(const std::wstring& text, const wchar_t* logPath);
