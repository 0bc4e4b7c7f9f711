#pragma once
// The command line that opens a file manager window with the log file selected.
#include <string>

// "WINDIR\explorer.exe" /select,"TARGET" with both paths in quotes, so that a blank in either
// cannot split it; file names cannot hold a quote, so no escaping is needed.
std::wstring explorerSelectCommand(const std::wstring& windowsDirectory, const std::wstring& target);
