// The diagnostic log file: decided once, re-opened for every line, whole lines under one lock.
#include "log/Log.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "files/win/Paths.h"

bool logFileRequested = false;

namespace {

CRITICAL_SECTION logLock;
bool lockCreated = false;  // the first log call comes from the main thread before any other thread
bool decided = false;
bool havePath = false;
std::wstring logPath;
FILE* stream = nullptr;

bool environmentIsYes(const char* name) {
    std::vector<char> value(6000);
    DWORD length = GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size()));
    return length > 0 && length < value.size() && std::string(value.data()) == "yes";
}

bool isDirectory(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

constexpr char kHeaderStart[] = "Started executable ";

// Text mode, write only; the stream owns the handle from here on.
FILE* streamFor(HANDLE file) {
    int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_TEXT | _O_WRONLY);
    if (descriptor == -1) {
        CloseHandle(file);
        return nullptr;
    }
    FILE* opened = _fdopen(descriptor, "w");
    if (!opened) _close(descriptor);
    return opened;
}

// Shared for reading and writing; CREATE_NEW makes the chosen name this process's own.
FILE* openNewLogFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : streamFor(file);
}

bool startsWithHeader(HANDLE file) {
    char start[sizeof kHeaderStart - 1];
    DWORD total = 0;
    while (total < sizeof start) {
        DWORD read = 0;
        if (!ReadFile(file, start + total, static_cast<DWORD>(sizeof start - total), &read, nullptr) || read == 0)
            return false;
        total += read;
    }
    return std::memcmp(start, kHeaderStart, sizeof start) == 0;
}

// The fixed fallback name may hold anybody's file: it is taken only when it is new or an earlier
// log of ours, and emptied through the handle that checked it. Writers are kept out meanwhile, so
// nothing can change between the check and the truncation.
FILE* openFallbackLogFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    if (GetLastError() == ERROR_ALREADY_EXISTS &&
        (!startsWithHeader(file) || SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
         !SetEndOfFile(file))) {
        CloseHandle(file);
        return nullptr;
    }
    return streamFor(file);
}

std::wstring logDirectory() {
    std::vector<wchar_t> tmp(6000);
    DWORD length = GetEnvironmentVariableW(L"TMP", tmp.data(), static_cast<DWORD>(tmp.size()));
    std::wstring directory = (length > 0 && length < tmp.size()) ? std::wstring(tmp.data()) : std::wstring();
    if (directory.empty() || !isDirectory(directory)) return L"c:\\";
    if (directory.back() != L'\\') directory += L'\\';
    return directory;
}

void writeHeader() {
    std::vector<wchar_t> module(6000);
    DWORD length = GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    std::string executable = toFileApiCodePage(std::wstring(module.data(), length < module.size() ? length : 0));
    time_t now = time(nullptr);
    const char* when = ctime(&now);
    std::fprintf(stream, "Started executable %s at %s\n", executable.c_str(), when ? when : "\n");
    std::fflush(stream);
}

void decide() {
    decided = true;
    if (!logFileRequested && !environmentIsYes("TARVO_LOG") && !environmentIsYes("QUILLMOTE_LOG")) return;

    std::wstring directory = logDirectory();
    unsigned number = GetCurrentProcessId();
    for (int attempt = 0; attempt < 1000 && !stream; ++attempt, ++number) {
        std::wstring candidate = directory + L"qmo_nlog_" + std::to_wstring(number);
        if (GetFileAttributesW(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        stream = openNewLogFile(candidate);
        if (stream) logPath = candidate;
        else if (GetLastError() != ERROR_FILE_EXISTS) break;  // the directory itself is unusable
    }
    if (!stream) {
        logPath = L"c:\\qmo_nlog";
        stream = openFallbackLogFile(logPath);
    }
    // Without a file of ours no later line may append to that path: it may be someone else's.
    havePath = stream != nullptr;
    if (stream) writeHeader();
}

// Enters logLock and leaves it held; the stream is open afterwards when the line can be written.
void openLog() {
    if (!lockCreated) {
        InitializeCriticalSection(&logLock);
        lockCreated = true;
    }
    EnterCriticalSection(&logLock);
    if (havePath && !stream) stream = _wfsopen(logPath.c_str(), L"a", _SH_DENYNO);
    if (!decided) decide();
}

void writeLine(const char* prefix, const char* format, va_list args) {
    openLog();
    if (stream) {
        va_list copy;
        va_copy(copy, args);
        int needed = std::vsnprintf(nullptr, 0, format, copy);
        va_end(copy);
        if (needed >= 0) {
            std::vector<char> text(static_cast<size_t>(needed) + 1);
            std::vsnprintf(text.data(), text.size(), format, args);
            std::fputs(prefix, stream);
            std::fputs(text.data(), stream);
            std::fputs("\n", stream);
        }
        std::fclose(stream);
        stream = nullptr;
    }
    LeaveCriticalSection(&logLock);
}

}  // namespace

void logMessage(const char* format, ...) {
    va_list args;
    va_start(args, format);
    writeLine("", format, args);
    va_end(args);
}

void logError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    writeLine("ERROR: ", format, args);
    va_end(args);
}

std::string forLog(const std::wstring& text) { return toFileApiCodePage(text); }

std::string forLog(const wchar_t* text) { return text ? toFileApiCodePage(text) : std::string(); }

const wchar_t* logFilePath() { return havePath ? logPath.c_str() : nullptr; }
