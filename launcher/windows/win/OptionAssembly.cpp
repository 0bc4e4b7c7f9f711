#include "windows/win/OptionAssembly.h"

#include <vector>

#include "config/ConfigBlock.h"
#include "config/LocaleTable.h"
#include "files/win/Paths.h"
#include "log/Log.h"
#include "windows/ConfiguredVmOptions.h"
#include "windows/win/ClassPath.h"
#include "windows/win/Expand.h"
#include "windows/win/VmOptionsFile.h"

void addConfiguredVmOptions(const ArgumentVector& arguments, VmOptionList& options, ClassPathOverrides& overrides) {
    std::wstring text = configWideText(123, kPathCapacity);
    expandVariables(text, kPathCapacity, true);
    ArgumentVector pieces;
    splitCommandLine(text.c_str(), pieces);
    logMessage("adding options\n");
    for (const std::wstring& line : joinIncludePieces(pieces)) addVmOptionLine(nullptr, line, options, overrides);

    for (const std::wstring& line : commandLineVmOptions(arguments, configInt(125) != 0))
        addVmOptionLine(nullptr, line, options, overrides);

    char language[3];
    char country[3];
    copyLocaleLanguage(language, sizeof language);
    copyLocaleCountry(country, sizeof country);
    for (const std::wstring& line : localeVmOptions(arguments, language, country))
        addVmOptionLine(nullptr, line, options, overrides);
}

std::vector<std::string> assembleVmOptions(const std::vector<std::string>& systemProperties,
                                           const ArgumentVector& arguments) {
    VmOptionList options(systemProperties);
    ClassPathOverrides overrides;
    addConfiguredVmOptions(arguments, options, overrides);

    VmOptionsFile file = findVmOptionsFile();
    logMessage("default vmoptions file: %p", static_cast<void*>(file.stream.get()));
    readVmOptionsFile(std::move(file), nullptr, options, overrides);

    options.push_back(classPathOption(overrides));
    logMessage("vmoption count %d", static_cast<int>(options.size()));
    for (size_t i = 0; i < options.size(); ++i) logMessage("vmoption %d: %s", static_cast<int>(i), options[i].c_str());
    return options;
}
