#include <windows.h>

#include <io.h>

#include <cstdio>

#include "config/ConfigBlock.h"
#include "log/win/ErrorReport.h"
#include "startup/win/Startup.h"

// A GUI program starts without standard streams; once it has a console, an error text written to
// standard error should reach it, unless standard error was redirected at start.
static void connectStandardErrorToConsole() {
    intptr_t handle = _get_osfhandle(_fileno(stderr));
    if (handle == -1 || handle == -2 || handle == 0) freopen("CONOUT$", "w", stderr);
}

bool attachConsole() {
    using AttachConsoleFunction = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto attach = kernel ? reinterpret_cast<AttachConsoleFunction>(
                               reinterpret_cast<void*>(GetProcAddress(kernel, "AttachConsole")))
                         : nullptr;
    bool attached = false;
    if (attach) attached = attach(ATTACH_PARENT_PROCESS) || GetLastError() == ERROR_ACCESS_DENIED;
    if (!attached) attached = AllocConsole() != FALSE;
    if (attached) connectStandardErrorToConsole();
    return attached;
}

void applyConsoleOptions(const ArgumentVector& arguments) {
    bool allOptions = configInt(154) != 0;
    if (!allOptions && configInt(156) == 0) return;
    ConsoleOptionResult result = walkConsoleOptions(arguments, allOptions, attachConsole);
    if (result.quiet) showErrorDialogs = false;
    if (result.consoleFailed) {
        MessageBoxA(nullptr, "Error: Could not allocate console.", "quillmote", MB_OK);
        exitLauncher(kExitFailure);
    }
}
