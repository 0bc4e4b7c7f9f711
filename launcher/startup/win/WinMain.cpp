// The entry point: one fixed start-up order on the main thread.
#include <windows.h>

#include <commctrl.h>

#include "files/win/IncludedFiles.h"
#include "log/win/ErrorReport.h"
#include "runtime/win/JvmLoading.h"
#include "startup/CommandLine.h"
#include "startup/win/Startup.h"
#include "windows/win/Launch.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandTail, int showCommand) {
    (void)showCommand;
    InitCommonControls();
    // A reboot request does nothing else: no configuration, no log.
    if (isRebootRequest(commandTail)) return 0;
    if (isLanguageRestart(commandTail)) languageRestart = true;
    if (isInternalQuietStart(commandTail)) showErrorDialogs = false;

    ArgumentVector arguments;
    splitCommandLine(GetCommandLineW(), arguments);
    prepareStartup(instance, arguments);
    applyConsoleOptions(arguments);

    if (extractIncludedFiles(true) != 0) failWithMessage(1009, "16");
    setNativeLibraryPath();
    if (!LoadDLL()) exitLauncher(kExitNoRuntime);  // the runtime step has shown its own messages
    if (!launchApplication(arguments, true)) failWithWideMessage(1005, nullptr);
    return 0;
}
