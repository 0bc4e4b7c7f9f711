#include "startup/ExplorerCommand.h"

std::wstring explorerSelectCommand(const std::wstring& windowsDirectory, const std::wstring& target) {
    return L"\"" + windowsDirectory + L"\\explorer.exe\" /select,\"" + target + L"\"";
}
