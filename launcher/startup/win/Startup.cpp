#include "startup/win/Startup.h"

#include <string>
#include <vector>

#include "config/ConfigBlock.h"
#include "config/win/ConfigLoader.h"
#include "files/win/Paths.h"
#include "files/win/TempDir.h"
#include "log/Log.h"
#include "startup/ExplorerCommand.h"
#include "windows/win/Expand.h"

bool languageRestart = false;

static HINSTANCE instanceHandle = nullptr;
static const wchar_t* productName = L"quillmote";

HINSTANCE launcherInstance() { return instanceHandle; }

static void changeWorkingDirectory() {
    std::vector<wchar_t> configured(kPathCapacity);
    configWideString(146, configured.data(), static_cast<int>(configured.size()));
    std::wstring directory = configured.data();
    if (directory.empty()) {
        logMessage("working directory unchanged");
        return;
    }
    expandVariables(directory, kPathCapacity, true);
    // A wide system call gets the wide form of the executable's directory.
    std::wstring path = fullPathWide(directory, false, true);
    SetCurrentDirectoryW(path.c_str());
    logMessage("change working directory to %s", forLog(path).c_str());
}

static void openExplorerAt(const wchar_t* logPath) {
    wchar_t shortPath[260];
    DWORD length = GetShortPathNameW(logPath, shortPath, 260);
    std::wstring target = (length > 0 && length < 260) ? std::wstring(shortPath) : std::wstring(logPath);
    wchar_t windowsDirectory[260];
    UINT windowsLength = GetWindowsDirectoryW(windowsDirectory, 260);
    if (windowsLength == 0 || windowsLength >= 260) windowsDirectory[0] = L'\0';

    std::wstring command = explorerSelectCommand(windowsDirectory, target);
    logMessage("calling %s", forLog(command).c_str());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<wchar_t> commandLine(command.begin(), command.end());
    commandLine.push_back(L'\0');
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                        nullptr, &startup, &process)) {
        logMessage("could not open explorer window %lu", GetLastError());
        return;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

static void showLogFileNotice() {
    const wchar_t* logPath = logFilePath();
    // No file could be taken (the fixed fallback name held someone else's file): nothing to announce.
    if (!logPath) return;
    std::wstring text = std::wstring(L"The following log file will be created:\n\n") + logPath +
                        L"\n\nDo you want to open an Explorer window?";
    if (MessageBoxW(nullptr, text.c_str(), productName, MB_YESNO) == IDYES) openExplorerAt(logPath);
}

void prepareStartup(HINSTANCE instance, ArgumentVector& arguments) {
    launcherTempDirectory().clear();
    if (takeLogFileOption(arguments)) logFileRequested = true;
    loadConfiguration(arguments);

    instanceHandle = instance;
    char flavour[2];
    configString(2001, flavour, sizeof flavour);
    productName = flavour[0] == 'e' ? L"tarvo" : L"quillmote";

    if (!languageRestart) changeWorkingDirectory();
    if (logFileRequested) showLogFileNotice();
}
