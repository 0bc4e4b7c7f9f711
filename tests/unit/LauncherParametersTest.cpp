#include "windows/LauncherParameters.h"

#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::wstring>;

TEST(LauncherParameters, FiveParametersThenProgramConfiguredAndUserArguments) {
    struct Case {
        const char* name;
        bool jArgumentsAreVmOptions;
        Strings arguments;
        Strings configured;
        Strings expectedTail;  // what follows the five launcher parameters
    };
    const Case cases[] = {
        {"plain start", false, {L"tool.exe", L"a", L"b"}, {}, {L"tool.exe", L"a", L"b"}},
        {"configured arguments before the user's", false, {L"tool.exe", L"a"}, {L"x y", L"z"},
         {L"tool.exe", L"x y", L"z", L"a"}},
        {"-J goes to the VM with key 125", true, {L"tool.exe", L"-J-Xmx1g", L"input.txt"}, {},
         {L"tool.exe", L"input.txt"}},
        {"-J reaches the application without key 125", false, {L"tool.exe", L"-J-Xmx1g", L"input.txt"}, {},
         {L"tool.exe", L"-J-Xmx1g", L"input.txt"}},
        {"the locale argument never reaches the application", false,
         {L"tool.exe", L"-Dsun.locale.formatasdefault=false", L"a"}, {}, {L"tool.exe", L"a"}},
        {"the program path stays even when it looks like -J", true, {L"-Jtool.exe", L"a"}, {}, {L"-Jtool.exe", L"a"}},
        {"no argument vector: still the configured arguments", false, {}, {L"c"}, {L"c"}},
    };
    for (const Case& c : cases) {
        LauncherParameterInputs inputs;
        inputs.guiApplication = true;
        inputs.mainClass = L"com.example.Main";
        inputs.errorLog = L"C:\\logs\\err.log";
        inputs.furtherSwitch = false;
        inputs.arguments = c.arguments;
        inputs.configuredArguments = c.configured;
        inputs.jArgumentsAreVmOptions = c.jArgumentsAreVmOptions;
        Strings expected = {L"true", L"com.example.Main", L"C:\\logs\\err.log", L"", L"false"};
        expected.insert(expected.end(), c.expectedTail.begin(), c.expectedTail.end());
        EXPECT_EQ(launcherParameters(inputs), expected) << c.name;
    }
}

}  // namespace
