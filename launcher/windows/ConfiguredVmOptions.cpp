#include "windows/ConfiguredVmOptions.h"

#include "files/Text.h"

std::vector<std::wstring> joinIncludePieces(const std::vector<std::wstring>& pieces) {
    std::vector<std::wstring> lines;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i] == L"-include-options" && i + 1 < pieces.size()) {
            lines.push_back(pieces[i] + L" " + pieces[i + 1]);
            ++i;
        } else {
            lines.push_back(pieces[i]);
        }
    }
    return lines;
}

std::vector<std::wstring> commandLineVmOptions(const ArgumentVector& arguments, bool allowed) {
    std::vector<std::wstring> options;
    if (!allowed) return options;
    for (const std::wstring& argument : arguments)
        if (argument.compare(0, 2, L"-J") == 0) options.push_back(argument.substr(2));
    return options;
}

std::vector<std::wstring> localeVmOptions(const ArgumentVector& arguments, const std::string& language,
                                          const std::string& country) {
    static const std::wstring prefix = L"-Dsun.locale.formatasdefault=";
    const std::wstring* last = nullptr;
    for (const std::wstring& argument : arguments)
        if (argument.compare(0, prefix.size(), prefix) == 0) last = &argument;
    std::vector<std::wstring> options;
    if (!last) return options;
    options.push_back(*last);
    if (*last == prefix + L"true") return options;
    if (!language.empty()) options.push_back(L"-Duser.language=" + widenBytes(language));
    if (!country.empty()) options.push_back(L"-Duser.country=" + widenBytes(country));
    return options;
}
