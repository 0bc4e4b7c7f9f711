#include <gtest/gtest.h>

#include "startup/CommandLine.h"

namespace {

struct SplitCase {
    const wchar_t* commandLine;
    ArgumentVector expected;
};

TEST(CommandLineSplit, FollowsTheLaunchersQuotingRules) {
    const SplitCase cases[] = {
        {L"a \"b c\" d", {L"a", L"b c", L"d"}},
        {L"x\"y z\"w", {L"xy z", L"w"}},                  // text behind a closing quote starts a new argument
        {L"\"\"", {L""}},                                 // empty quotes give one empty argument
        {L"'a \"b' c", {L"a \"b", L"c"}},                 // the other quote is literal inside
        {L"\"a 'b\" c", {L"a 'b", L"c"}},
        {L"a  b", {L"a", L"b"}},                          // blanks are skipped one at a time
        {L"  lead", {L"lead"}},
        {L"tab\there", {L"tab\there"}},                   // tabs are ordinary characters
        {L"\"open quote runs to the end", {L"open quote runs to the end"}},
        {L"pre'open", {L"preopen"}},
        {L"c:\\path\\ \"x\\\"", {L"c:\\path\\", L"x\\"}}, // no escapes: a backslash is ordinary
        {L"\"a\"  b", {L"a", L"b"}},                      // one blank behind the quote, then skipping
        {L"trailing ", {L"trailing"}},
        {L"", {}},
    };
    for (const SplitCase& c : cases) {
        ArgumentVector arguments;
        splitCommandLine(c.commandLine, arguments);
        EXPECT_EQ(arguments, c.expected) << "command line: " << testing::PrintToString(std::wstring(c.commandLine));
    }
}

TEST(CommandLineSplit, AppendsToWhatIsThere) {
    ArgumentVector arguments{L"first"};
    splitCommandLine(L"second", arguments);
    EXPECT_EQ(arguments, (ArgumentVector{L"first", L"second"}));
}

TEST(CommandLineMarkers, RecogniseTheirPrefixes) {
    EXPECT_TRUE(isRebootRequest("__qmo_reboot"));
    EXPECT_FALSE(isRebootRequest("__qmo_reboot now"));
    EXPECT_FALSE(isRebootRequest(""));
    EXPECT_FALSE(isRebootRequest(nullptr));
    EXPECT_TRUE(isLanguageRestart("__qmo_lang_restart"));
    EXPECT_TRUE(isLanguageRestart("__qmo_lang_restartXYZ more"));
    EXPECT_FALSE(isLanguageRestart("x __qmo_lang_restart"));
    EXPECT_TRUE(isInternalQuietStart("-q_qmo_internal a b"));
    EXPECT_FALSE(isInternalQuietStart("-q_qmo_interna"));
}

TEST(LogFileOption, IsTakenOnlyFromElementOne) {
    for (const wchar_t* option : {L"-create-qmo-log", L"-create-tvo-log", L"/create-qmo-log", L"/create-tvo-log"}) {
        ArgumentVector arguments{L"app.exe", option, L"x"};
        EXPECT_TRUE(takeLogFileOption(arguments));
        EXPECT_EQ(arguments, (ArgumentVector{L"app.exe", L"x"}));
    }
    ArgumentVector later{L"app.exe", L"x", L"-create-qmo-log"};
    EXPECT_FALSE(takeLogFileOption(later));
    EXPECT_EQ(later.size(), 3u);
    ArgumentVector wrongCase{L"app.exe", L"-Create-qmo-log"};
    EXPECT_FALSE(takeLogFileOption(wrongCase));
    ArgumentVector alone{L"app.exe"};
    EXPECT_FALSE(takeLogFileOption(alone));
}

struct ConsoleCase {
    ArgumentVector arguments;
    bool allOptions;
    bool attachSucceeds;
    int expectedAttaches;
    bool quiet;
    bool failed;
};

TEST(ConsoleOptions, WalkInOrderAndStopAfterC) {
    const ConsoleCase cases[] = {
        {{L"app", L"-q"}, true, true, 0, true, false},
        {{L"app", L"-q"}, false, true, 0, false, false},           // key 156 alone: only -console
        {{L"app", L"-console"}, false, true, 1, false, false},
        {{L"app", L"-c", L"-console"}, true, true, 1, true, false}, // nothing after -c is examined
        {{L"app", L"-c"}, false, true, 0, false, false},
        {{L"app", L"-c"}, true, false, 1, true, true},
        {{L"app", L"-console", L"-console"}, true, false, 2, false, false},
    };
    for (const ConsoleCase& c : cases) {
        int attaches = 0;
        ConsoleOptionResult result = walkConsoleOptions(c.arguments, c.allOptions, [&] {
            ++attaches;
            return c.attachSucceeds;
        });
        EXPECT_EQ(attaches, c.expectedAttaches);
        EXPECT_EQ(result.quiet, c.quiet);
        EXPECT_EQ(result.consoleFailed, c.failed);
    }
}

}  // namespace
