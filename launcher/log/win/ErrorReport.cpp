#include "log/win/ErrorReport.h"

#include <cstdio>
#include <string>
#include <vector>

#include "config/ConfigBlock.h"
#include "files/win/Paths.h"
#include "files/win/TempDir.h"
#include "log/Log.h"
#include "log/MessageText.h"
#include "splash/win/Splash.h"

bool showErrorDialogs = true;
HWND dialogOwner = nullptr;

static constexpr int kMessageCapacity = 6000;
static constexpr int kCaptionId = 1000;

static std::string narrowMessage(int id) {
    std::vector<char> text(kMessageCapacity);
    configString(id, text.data(), kMessageCapacity);
    return text.data();
}

static std::wstring wideMessage(int id) {
    std::vector<wchar_t> text(kMessageCapacity);
    configWideString(id, text.data(), kMessageCapacity);
    return text.data();
}

static const std::wstring* longLogPath() {
    static std::wstring path;
    const wchar_t* current = logFilePath();
    if (!current) return nullptr;
    path = longPathWide(current);
    return &path;
}

void showErrorText(const char* text) {
    controlSplash(0);
    const std::wstring* logPath = longLogPath();
    std::string narrowLogPath = logPath ? toFileApiCodePage(*logPath) : std::string();
    std::string composed = composeErrorText(text ? text : "", logPath ? narrowLogPath.c_str() : nullptr);
    if (showErrorDialogs) {
        MessageBoxA(dialogOwner, composed.c_str(), narrowMessage(kCaptionId).c_str(), MB_ICONERROR | MB_OK);
    } else {
        std::fprintf(stderr, "%s\n", composed.c_str());
        std::fflush(stderr);
    }
}

void showWideErrorText(const wchar_t* text) {
    controlSplash(0);
    const std::wstring* logPath = longLogPath();
    std::wstring composed = composeErrorText(text ? text : L"", logPath ? logPath->c_str() : nullptr);
    if (showErrorDialogs) {
        MessageBoxW(dialogOwner, composed.c_str(), wideMessage(kCaptionId).c_str(), MB_ICONERROR | MB_OK);
    } else {
        // Standard error carries the text in the file-API code page, like every narrow text.
        std::fprintf(stderr, "%s\n", toFileApiCodePage(composed).c_str());
        std::fflush(stderr);
    }
}

void showMessage(int messageId, const char* argument) {
    showErrorText(substituteFirstPlaceholder(narrowMessage(messageId), argument).c_str());
}

void showWideMessage(int messageId, const wchar_t* argument) {
    showWideErrorText(substituteFirstPlaceholder(wideMessage(messageId), argument).c_str());
}

void exitLauncher(int code) {
    // The directory itself goes with its content: removing it by name could follow a link.
    if (!launcherTempDirectory().empty()) emptyDirectory(launcherTempDirectory());
    ExitProcess(static_cast<UINT>(code));
}

void failWithText(const char* text) {
    showErrorText(text);
    exitLauncher(kExitFailure);
}

void failWithMessage(int messageId, const char* argument) {
    showMessage(messageId, argument);
    exitLauncher(kExitFailure);
}

void failWithWideMessage(int messageId, const wchar_t* argument) {
    showWideMessage(messageId, argument);
    exitLauncher(kExitFailure);
}
