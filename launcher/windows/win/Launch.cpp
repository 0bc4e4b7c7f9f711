#include "windows/win/Launch.h"

#include <windows.h>

#include <vector>

#include "config/ConfigBlock.h"
#include "files/PathText.h"
#include "files/win/IncludedFiles.h"
#include "files/win/Paths.h"
#include "files/win/TempDir.h"
#include "log/Log.h"
#include "log/win/ErrorReport.h"
#include "runtime/win/JvmLoading.h"
#include "startup/win/ProcessPath.h"
#include "startup/win/Startup.h"
#include "windows/JavaVMLauncher.h"
#include "windows/LauncherParameters.h"
#include "windows/win/Expand.h"
#include "windows/win/OptionAssembly.h"

namespace {

constexpr size_t kSplashTextCapacity = 2000;
constexpr size_t kConfiguredArgumentsCapacity = 2000;

bool quillmoteFlavour() {
    char flavour[2];
    configString(2001, flavour, sizeof flavour);
    return flavour[0] == 'i';
}

// Set at all, even to empty text: asking for the size needs no buffer.
bool environmentDefined(const char* name) {
    SetLastError(0);
    return GetEnvironmentVariableA(name, nullptr, 0) > 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
}

std::vector<std::string> systemProperties() {
    std::vector<std::string> properties;
    // The instance guard's semaphore name comes first once single-instance mode exists.
    if (quillmoteFlavour()) properties.push_back("-Dtarvo.isQuillmote=true");
    properties.push_back("-Dtarvo.moduleName=" + ansiExecutablePath());
    properties.push_back("-Dsun.java.command=" + ansiExecutablePath());
    properties.push_back("-Dtarvo.tempDir=" + launcherTempDirectory());
    long position = languageRestart ? -1L : static_cast<long>(unextractedPosition());
    properties.push_back("-Dtarvo.unextractedPosition=" + std::to_string(position));
    // PATH as it is now, with the native-library and runtime directories in front and behind.
    std::string path;
    readProcessPath(path);
    properties.push_back("-Djava.library.path=" + path);
    if (!environmentDefined("MANPATH")) {
        // Without a console the call answers 0, which names no code page; a console would use OEM.
        UINT codePage = GetConsoleOutputCP();
        properties.push_back("-Dtarvo.consoleCodepage=cp" + std::to_string(codePage != 0 ? codePage : GetOEMCP()));
    }
    return properties;
}

SplashLayout configuredSplashLayout() {
    SplashLayout layout;
    layout.flag = configInt(163) != 0;
    layout.statusText = configText(10111, kSplashTextCapacity);
    layout.statusX = configInt(10109);
    layout.statusY = configInt(10110);
    layout.statusColour = configText(10114, kSplashTextCapacity);
    layout.statusFontSize = configInt(10113);
    layout.statusFontWeight = configInt(10115);
    layout.versionText = configText(10118, kSplashTextCapacity);
    layout.versionX = configInt(10116);
    layout.versionY = configInt(10117);
    layout.versionColour = configText(10121, kSplashTextCapacity);
    layout.versionFontSize = configInt(10120);
    layout.versionFontWeight = configInt(10122);
    return layout;
}

// A log-file name for the Java side: expanded, and resolved against the executable's directory
// unless it still begins with "$" (a reference nothing matched, left for the Java side).
std::wstring logFileParameter(int enabledKey, int nameKey) {
    if (configInt(enabledKey) == 0) return std::wstring();
    std::wstring name = configWideText(nameKey, kPathCapacity);
    expandVariables(name, kPathCapacity, false);
    if (!name.empty() && name[0] == L'$') return name;
    return fullPathWide(name, false, true);
}

std::u16string utf16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

LauncherCall launcherCall(const ArgumentVector& arguments) {
    LauncherParameterInputs inputs;
    inputs.guiApplication = configInt(107) == 1;
    inputs.mainClass = configWideText(122, kPathCapacity);
    inputs.errorLog = logFileParameter(102, 103);
    inputs.outputLog = logFileParameter(104, 105);
    inputs.furtherSwitch = configInt(106) != 0;
    inputs.arguments.assign(arguments.begin(), arguments.end());
    std::wstring configured = configWideText(124, kConfiguredArgumentsCapacity);
    expandVariables(configured, kConfiguredArgumentsCapacity, false);
    splitCommandLine(configured.c_str(), inputs.configuredArguments);
    inputs.jArgumentsAreVmOptions = configInt(125) != 0;

    LauncherCall call;
    bool quillmote = quillmoteFlavour();
    call.launcherClass = quillmote ? "com/quillmote/runtime/launcher/WinLauncher" : "com/tarvo/runtime/WinLauncher";
    for (const std::wstring& parameter : launcherParameters(inputs)) {
        call.parameters.push_back(utf16(parameter));
        call.loggedParameters.push_back(toFileApiCodePage(parameter));
    }
    if (quillmote) {
        std::wstring marker = applicationDirectory() + L"\\.quillmote\\firstrun";
        collapseBackslashes(marker);
        call.checkFirstRun = fileExistsWide(marker);
    }
    return call;
}

// HotSpot ends the process itself when it cannot start, for example with a heap it cannot reserve,
// after calling this hook: the user still gets the VM-creation message and the temporary
// directory is removed. A VM that is already running ends as it must.
void JNICALL onVmAbort() {
    if (vmCreated()) return;
    logError("could not initialize JVM");
    failWithWideMessage(1005, nullptr);
}

}  // namespace

bool launchApplication(const ArgumentVector& arguments, bool destroyVmAfterMain) {
    logMessage("launching program");
    std::vector<std::string> options = assembleVmOptions(systemProperties(), arguments);
    if (!createJavaVm(reinterpret_cast<CreateJavaVmEntry>(createJavaVmEntry()), options, onVmAbort)) {
        logError("could not initialize JVM");
        return false;
    }
    logMessage("JVM created");
    JNIEnv* env = mainThreadEnvironment();
    if (configInt(108) != 0 && configInt(10123) != 0) passSplashLayout(env, configuredSplashLayout());

    switch (invokeLauncherMain(env, launcherCall(arguments))) {
        case MainOutcome::returned:
        case MainOutcome::stoppedByFirstRun: break;
        case MainOutcome::threw: logError("could not call main"); return false;
        case MainOutcome::launcherClassMissing: failWithWideMessage(1010, nullptr);
        case MainOutcome::mainMethodMissing: failWithWideMessage(1011, nullptr);
        case MainOutcome::firstRunClassMissing: failWithMessage(1009, "14");
        case MainOutcome::firstRunMethodMissing: failWithMessage(1009, "15");
        case MainOutcome::parameterArrayFailed: failWithText("Internal Error: paramArray");
        case MainOutcome::parameterStringFailed: failWithText("Internal Error: jstr");
    }
    if (destroyVmAfterMain) {
        logMessage("dest JVM");
        destroyJavaVm();
    }
    logMessage("launch done");
    return true;
}
