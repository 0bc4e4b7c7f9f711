#pragma once
// The strings the Java-side launcher's main receives: five launcher parameters, the program path
// as written, the configured arguments, then the user's arguments less those the VM took.
#include <string>
#include <vector>

struct LauncherParameterInputs {
    bool guiApplication = false;        // key 107 equals 1
    std::wstring mainClass;             // key 122, dotted
    std::wstring errorLog;              // resolved key 103, or empty when key 102 is zero
    std::wstring outputLog;             // resolved key 105, or empty when key 104 is zero
    bool furtherSwitch = false;         // key 106
    std::vector<std::wstring> arguments;            // the whole argument vector, program path first
    std::vector<std::wstring> configuredArguments;  // key 124, split
    bool jArgumentsAreVmOptions = false;            // key 125
};

std::vector<std::wstring> launcherParameters(const LauncherParameterInputs& inputs);

// True for the arguments that go to the VM rather than to the application.
bool isVmArgument(const std::wstring& argument, bool jArgumentsAreVmOptions);
