#include "HostLog.h"

#include <cstdarg>
#include <cstdio>

#include "log/Log.h"

bool logFileRequested = false;

std::vector<std::string>& capturedLogLines() {
    static std::vector<std::string> lines;
    return lines;
}

void clearCapturedLog() { capturedLogLines().clear(); }

bool logContains(const std::string& fragment) {
    for (const std::string& line : capturedLogLines())
        if (line.find(fragment) != std::string::npos) return true;
    return false;
}

static void capture(const char* prefix, const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(needed > 0 ? static_cast<size_t>(needed) : 0, '\0');
    if (needed > 0) std::vsnprintf(&text[0], text.size() + 1, format, args);
    capturedLogLines().push_back(prefix + text);
}

void logMessage(const char* format, ...) {
    va_list args;
    va_start(args, format);
    capture("", format, args);
    va_end(args);
}

void logError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    capture("ERROR: ", format, args);
    va_end(args);
}

// Stands in for code page 1252 as far as Latin-1 goes: anything beyond it becomes "?".
std::string forLog(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow.push_back(static_cast<unsigned long>(c) <= 0xFF ? static_cast<char>(c) : '?');
    return narrow;
}

std::string forLog(const wchar_t* text) { return text ? forLog(std::wstring(text)) : std::string(); }

const wchar_t* logFilePath() { return nullptr; }
