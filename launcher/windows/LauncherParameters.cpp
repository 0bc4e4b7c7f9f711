#include "windows/LauncherParameters.h"

static bool startsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, std::char_traits<wchar_t>::length(prefix), prefix) == 0;
}

bool isVmArgument(const std::wstring& argument, bool jArgumentsAreVmOptions) {
    if (jArgumentsAreVmOptions && startsWith(argument, L"-J")) return true;
    return startsWith(argument, L"-Dsun.locale.formatasdefault=");
}

std::vector<std::wstring> launcherParameters(const LauncherParameterInputs& inputs) {
    std::vector<std::wstring> parameters = {
        inputs.guiApplication ? L"true" : L"false",
        inputs.mainClass,
        inputs.errorLog,
        inputs.outputLog,
        inputs.furtherSwitch ? L"true" : L"false",
    };
    if (!inputs.arguments.empty()) parameters.push_back(inputs.arguments[0]);
    parameters.insert(parameters.end(), inputs.configuredArguments.begin(), inputs.configuredArguments.end());
    for (size_t i = 1; i < inputs.arguments.size(); ++i)
        if (!isVmArgument(inputs.arguments[i], inputs.jArgumentsAreVmOptions)) parameters.push_back(inputs.arguments[i]);
    return parameters;
}
