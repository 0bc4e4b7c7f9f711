#include "windows/VariableExpansion.h"

#include <gtest/gtest.h>

#include <functional>

#include "HostLog.h"

namespace {

constexpr size_t textCapacity = 6000;

WideExpansionValues wideValues() {
    return {L"C:\\App\\", "C:\\Tmp\\launchfiles\\", "C:\\jre\\bin\\..", L"C:\\Tmp\\"};
}

NarrowExpansionValues narrowValues() { return {"C:\\App\\", "C:\\Tmp\\launchfiles\\", "C:\\jre\\bin\\..", "C:\\Tmp\\"}; }

std::wstring wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::string narrow(const std::wstring& ascii) {
    std::string text;
    for (wchar_t c : ascii) text.push_back(static_cast<char>(c));
    return text;
}

size_t countLines(const std::string& prefix) {
    size_t count = 0;
    for (const std::string& line : capturedLogLines())
        if (line.compare(0, prefix.size(), prefix) == 0) ++count;
    return count;
}

}  // namespace

TEST(ExpansionTokens, EachFixedTokenInBothForms) {
    struct Case {
        const char* token;
        const char* value;
    };
    const Case cases[] = {
        {"%TARVO_EXEDIR%", "C:\\App\\"},
        {"%QUILLMOTE_EXEDIR%", "C:\\App\\"},
        {"%TARVO_TEMPDIR%", "C:\\Tmp\\launchfiles\\"},
        {"%QUILLMOTE_TEMPDIR%", "C:\\Tmp\\launchfiles\\"},
        {"%TARVO_PATHLIST_SEPARATOR%", ";"},
        {"%QUILLMOTE_PATHLIST_SEPARATOR%", ";"},
        {"%TARVO_JVM_HOME%", "C:\\jre\\bin\\.."},
        {"%QUILLMOTE_JVM_HOME%", "C:\\jre\\bin\\.."},
        {"${TARVO_EXEDIR}", "C:\\App\\"},
        {"${QUILLMOTE_EXEDIR}", "C:\\App\\"},
        {"${TARVO_TEMPDIR}", "C:\\Tmp\\launchfiles\\"},
        {"${QUILLMOTE_TEMPDIR}", "C:\\Tmp\\launchfiles\\"},
        {"${TARVO_PATHLIST_SEPARATOR}", ";"},
        {"${QUILLMOTE_PATHLIST_SEPARATOR}", ";"},
        {"${TARVO_JVM_HOME}", "C:\\jre\\bin\\.."},
        {"${QUILLMOTE_JVM_HOME}", "C:\\jre\\bin\\.."},
        {"${launcher:sys.launcherDirectory}", "C:\\App\\"},
        {"${launcher:sys.launcherTempDirectory}", "C:\\Tmp\\launchfiles\\"},
        {"${launcher:sys.pathlistSeparator}", ";"},
        {"${launcher:sys.jvmHome}", "C:\\jre\\bin\\.."},
        {"${launcher:sys.tempDir}", "C:\\Tmp\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.token);
        const std::string expected = std::string("<") + c.value + ">";
        const std::string line = std::string("expanding2 ") + c.token + " to " + c.value + " in " + expected + ".";

        clearCapturedLog();
        std::wstring wideText = wide(std::string("<") + c.token + ">");
        EXPECT_TRUE(expandTokens(wideText, textCapacity, wideValues(), {}));
        EXPECT_EQ(narrow(wideText), expected);
        EXPECT_EQ(capturedLogLines(), std::vector<std::string>{line});

        clearCapturedLog();
        std::string narrowText = std::string("<") + c.token + ">";
        EXPECT_TRUE(expandTokens(narrowText, textCapacity, narrowValues(), {}));
        EXPECT_EQ(narrowText, expected);
        EXPECT_EQ(capturedLogLines(), std::vector<std::string>{line});
    }
}

TEST(ExpansionTokens, ReferencesInContext) {
    struct Case {
        const char* label;
        const char* text;
        std::vector<std::string> environment;
        const char* expected;
    };
    const Case cases[] = {
        {"relative name", "${launcher:sys.launcherDirectory}lib\\a.jar", {}, "C:\\App\\lib\\a.jar"},
        {"backslash stays doubled", "${launcher:sys.launcherDirectory}\\lib", {}, "C:\\App\\\\lib"},
        {"runtime bin", "%QUILLMOTE_JVM_HOME%\\bin", {}, "C:\\jre\\bin\\..\\bin"},
        {"tokens are case-sensitive", "%tarvo_exedir%${launcher:sys.tempdir}", {},
         "%tarvo_exedir%${launcher:sys.tempdir}"},
        {"unknown references stay", "${launcher:sys.nothing}%TARVO_EXEDIR", {},
         "${launcher:sys.nothing}%TARVO_EXEDIR"},
        {"exact name and capitals only", "${Path};${PATH};${path}", {"Path=C:\\Win"}, "C:\\Win;C:\\Win;${path}"},
        {"no percent form", "%TEMP%\\x;%Path%", {"TEMP=C:\\T", "Path=C:\\Win"}, "%TEMP%\\x;%Path%"},
        {"empty value removes", "a${EMPTY}b", {"EMPTY="}, "ab"},
        {"value split at first =", "${OPTS}", {"OPTS=-Da=b"}, "-Da=b"},
        {"entry without = skipped, empty name", "${NOEQUALS}|${}", {"NOEQUALS", "=C:=C:\\dir"},
         "${NOEQUALS}|C:=C:\\dir"},
        {"later entry expands inserted text", "${A}", {"A=${B}", "B=bee"}, "bee"},
        {"earlier entry does not", "${A}", {"B=bee", "A=${B}"}, "${B}"},
        {"launcher variables come first", "${J}", {"J=${launcher:sys.jvmHome}"}, "${launcher:sys.jvmHome}"},
        {"environment may name a launcher variable", "${TARVO_EXEDIR}", {"TARVO_EXEDIR=env"}, "C:\\App\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::string narrowText = c.text;
        EXPECT_TRUE(expandTokens(narrowText, textCapacity, narrowValues(), c.environment));
        EXPECT_EQ(narrowText, c.expected);

        std::vector<std::wstring> wideEnvironment;
        for (const std::string& entry : c.environment) wideEnvironment.push_back(wide(entry));
        std::wstring wideText = wide(c.text);
        EXPECT_TRUE(expandTokens(wideText, textCapacity, wideValues(), wideEnvironment));
        EXPECT_EQ(narrow(wideText), c.expected);
    }
}

TEST(ExpansionTokens, InsertedTextIsSearchedOnlyByLaterTokens) {
    WideExpansionValues values = wideValues();
    values.launcherDirectory = L"D\\%TARVO_EXEDIR%\\${launcher:sys.tempDir}\\";
    std::wstring text = L"%TARVO_EXEDIR%";
    EXPECT_TRUE(expandTokens(text, textCapacity, values, {}));
    EXPECT_EQ(text, L"D\\%TARVO_EXEDIR%\\C:\\Tmp\\\\");
}

TEST(ExpansionTokens, SelfReferenceExpandsOnce) {
    struct Case {
        const char* entry;
        const char* text;
        const char* expected;
        size_t replacements;
    };
    const Case cases[] = {
        {"SELF=${SELF}", "${SELF}", "${SELF}", 1},  // exact and capital token are the same
        {"loop=x${loop}", "${loop}${LOOP}", "x${loop}x${loop}", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        clearCapturedLog();
        std::string text = c.text;
        EXPECT_TRUE(expandTokens(text, textCapacity, narrowValues(), {c.entry}));
        EXPECT_EQ(text, c.expected);
        EXPECT_EQ(countLines("expanding2 "), c.replacements);
    }
}

TEST(ExpansionReplaceToken, OneLogLinePerOccurrence) {
    clearCapturedLog();
    std::string text = "${X}.${X}.${X}";
    EXPECT_TRUE(replaceToken(text, textCapacity, "${X}", "v"));
    EXPECT_EQ(text, "v.v.v");
    EXPECT_EQ(capturedLogLines(), (std::vector<std::string>{
                                      "expanding2 ${X} to v in v.${X}.${X}.",
                                      "expanding2 ${X} to v in v.v.${X}.",
                                      "expanding2 ${X} to v in v.v.v.",
                                  }));

    // Narrow values go into wide text byte for byte, without a code page.
    std::wstring wideText = L"[%TARVO_TEMPDIR%]";
    EXPECT_TRUE(replaceToken(wideText, textCapacity, L"%TARVO_TEMPDIR%", std::string("C:\\\xE9\xFF")));
    EXPECT_EQ(wideText, std::wstring(L"[C:\\\u00E9\u00FF]"));

    std::wstring untouched = L"abc";
    EXPECT_TRUE(replaceToken(untouched, textCapacity, L"", std::wstring(L"x")));
    EXPECT_EQ(untouched, L"abc");
}

// Wide texts reach the log converted like file names: a character the code page lacks becomes
// "?" and the rest of the line stays.
TEST(ExpansionLog, WideTextBeyondTheCodePageKeepsTheWholeLine) {
    struct Case {
        const char* label;
        std::function<void()> expand;
        std::string line;
    };
    const Case cases[] = {
        {"wide value",
         [] {
             std::wstring text = L"[${FOO}]";
             expandTokens(text, textCapacity, wideValues(), {L"FOO=\u0416\u0443\u043A"});
         },
         "expanding2 ${FOO} to ??? in [???]."},
        {"narrow value in wide text",
         [] {
             std::wstring text = L"\u0416 %TARVO_TEMPDIR%";
             replaceToken(text, textCapacity, L"%TARVO_TEMPDIR%", std::string("C:\\t"));
         },
         "expanding2 %TARVO_TEMPDIR% to C:\\t in ? C:\\t."},
        {"cut while expanding a wide name",
         [] {
             std::wstring text = L"${\u0416\u0423\u041A}";
             expandTokens(text, 10, wideValues(), {L"\u0416\u0423\u041A=0123456789"});
         },
         "ERROR: expanded text cut to 9 characters while expanding ${???}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        clearCapturedLog();
        c.expand();
        EXPECT_EQ(capturedLogLines(), std::vector<std::string>{c.line});
    }
}

TEST(ExpansionCapacity, ReplacementStopsAtTheBufferEnd) {
    struct Case {
        const char* label;
        std::string text;
        std::string value;
        size_t capacity;
        std::string expected;
        bool complete;
    };
    const Case cases[] = {
        {"fills exactly", "${X}", "123456789", 10, "123456789", true},
        {"one too many", "${X}", "1234567890", 10, "123456789", false},
        {"cut in the rest", "${X}abc", "12345678", 10, "12345678a", false},
        {"already too long", "0123456789ab", "", 10, "012345678", false},
        {"no room at all", "abc", "", 0, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        clearCapturedLog();
        std::string text = c.text;
        EXPECT_EQ(replaceToken(text, c.capacity, "${X}", c.value), c.complete);
        EXPECT_EQ(text, c.expected);
        EXPECT_EQ(countLines("ERROR: expanded text cut to "), c.complete ? 0u : 1u);
    }
}

TEST(ExpansionCapacity, HugeEnvironmentValueIsCutAndEndsExpansion) {
    const std::string huge(10000, 'x');
    for (size_t capacity : {size_t{6000}, size_t{2000}}) {
        SCOPED_TRACE(capacity);
        clearCapturedLog();
        std::wstring text = L"${LATER}<${HUGE}>";
        EXPECT_FALSE(expandTokens(text, capacity, wideValues(), {wide("HUGE=" + huge), L"LATER=late"}));
        EXPECT_EQ(text.size(), capacity - 1);
        EXPECT_EQ(text.substr(0, 12), L"${LATER}<xxx");
        EXPECT_EQ(capturedLogLines(), std::vector<std::string>{"ERROR: expanded text cut to " +
                                                               std::to_string(capacity - 1) +
                                                               " characters while expanding ${HUGE}"});

        clearCapturedLog();
        std::string narrowText = "${HUGE}";
        EXPECT_FALSE(expandTokens(narrowText, capacity, narrowValues(), {"HUGE=" + huge}));
        EXPECT_EQ(narrowText, huge.substr(0, capacity - 1));
        EXPECT_EQ(countLines("ERROR: "), 1u);
    }
}

TEST(ExpansionCapacity, RepeatedTokenGrowingPastTheBuffer) {
    clearCapturedLog();
    WideExpansionValues values = wideValues();
    values.launcherDirectory = std::wstring(40, L'd');
    std::wstring text;
    for (int i = 0; i < 200; ++i) text += L"%TARVO_EXEDIR%";
    text += L"%TARVO_JVM_HOME%";
    EXPECT_FALSE(expandTokens(text, textCapacity, values, {}));
    EXPECT_EQ(text.size(), textCapacity - 1);
    ASSERT_FALSE(capturedLogLines().empty());
    EXPECT_EQ(capturedLogLines().back().rfind("ERROR: expanded text cut to 5999 characters", 0), 0u);
    EXPECT_EQ(countLines("ERROR: "), 1u);
    EXPECT_EQ(countLines("expanding2 %TARVO_JVM_HOME%"), 0u);
}

TEST(ExpansionJvmHome, DerivedFromJavaExecutable) {
    struct Case {
        const char* path;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\jre\\bin\\javaw.exe", "C:\\jre\\bin\\.."},
        {"C:\\jre\\bin\\java.exe", "C:\\jre\\bin\\.."},
        {"C:\\jre\\bin\\JAVAW.EXE", "C:\\jre\\bin\\.."},
        {"java.exe", ".."},
        {"jav", ".."},  // shorter than the name it should end in
        {"", ".."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(jvmHomeFromJavaExecutable(c.path), c.expected);
    }

    setJvmHome("C:\\jre\\bin\\javaw.exe");
    EXPECT_EQ(jvmHome(), "C:\\jre\\bin\\..");
    setJvmHome(std::string(7000, 'p') + "\\java.exe");
    EXPECT_EQ(jvmHome().size(), 5999u);
}
