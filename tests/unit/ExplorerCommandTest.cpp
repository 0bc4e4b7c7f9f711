#include "startup/ExplorerCommand.h"

#include <gtest/gtest.h>

#include "startup/CommandLine.h"

namespace {

struct ExplorerCase {
    const wchar_t* windowsDirectory;
    const wchar_t* target;
    const wchar_t* expected;
};

TEST(ExplorerCommand, QuotesBothPaths) {
    const ExplorerCase cases[] = {
        {L"C:\\Windows", L"C:\\Temp\\qmo_nlog_12", L"\"C:\\Windows\\explorer.exe\" /select,\"C:\\Temp\\qmo_nlog_12\""},
        {L"C:\\Windows", L"C:\\Log Dir\\qmo_nlog_12",
         L"\"C:\\Windows\\explorer.exe\" /select,\"C:\\Log Dir\\qmo_nlog_12\""},
        {L"D:\\My Windows", L"c:\\qmo_nlog", L"\"D:\\My Windows\\explorer.exe\" /select,\"c:\\qmo_nlog\""},
        {L"", L"c:\\qmo_nlog", L"\"\\explorer.exe\" /select,\"c:\\qmo_nlog\""},  // no Windows directory known
    };
    for (const ExplorerCase& c : cases)
        EXPECT_EQ(explorerSelectCommand(c.windowsDirectory, c.target), c.expected)
            << testing::PrintToString(std::wstring(c.target));
}

// Split at blanks outside quotes, the command keeps two parts: a blank in either path stays inside.
TEST(ExplorerCommand, BlanksDoNotSplitIt) {
    const std::wstring windowsDirectories[] = {L"C:\\Windows", L"C:\\Win dows"};
    const std::wstring targets[] = {L"C:\\Temp\\qmo_nlog_1", L"C:\\a b\\c  d\\qmo_nlog_1", L"C:\\x\\ lead"};
    for (const std::wstring& directory : windowsDirectories) {
        for (const std::wstring& target : targets) {
            ArgumentVector parts;
            splitCommandLine(explorerSelectCommand(directory, target).c_str(), parts);
            EXPECT_EQ(parts, (ArgumentVector{directory + L"\\explorer.exe", L"/select," + target}));
        }
    }
}

}  // namespace
