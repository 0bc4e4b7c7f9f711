#include <gtest/gtest.h>

#include <algorithm>

#include "startup/CommandLine.h"
#include "windows/ConfiguredVmOptions.h"
#include "windows/IncludeStack.h"
#include "windows/VmOptionLines.h"

namespace {

using Lines = std::vector<std::pair<FileLineStatus, std::string>>;

// All bytes of a literal, NUL bytes inside it included.
template <size_t N>
std::string bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

// Feeds the bytes in pieces of the given size, as a file read in chunks delivers them.
Lines splitLines(const std::string& bytes, size_t pieceSize, size_t maxLength = kMaxVmOptionsLineLength) {
    Lines lines;
    VmOptionsLineSplitter splitter(maxLength);
    auto collect = [&](FileLineStatus status, const std::string& line) { lines.emplace_back(status, line); };
    for (size_t at = 0; at < bytes.size(); at += pieceSize)
        splitter.feed(bytes.data() + at, std::min(pieceSize, bytes.size() - at), collect);
    splitter.finish(collect);
    return lines;
}

// Stands in for the code-page conversion: each character below 0x100 becomes that byte, others '?'.
std::string narrowed(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(c < 0x100 ? static_cast<char>(c) : '?');
    return out;
}

struct Handled {
    VmOptionList options;
    ClassPathOverrides overrides;
    std::vector<std::wstring> included;
};

Handled handleLines(const std::vector<std::wstring>& lines) {
    Handled handled;
    VmOptionLineActions actions;
    actions.toCodePage = narrowed;
    actions.include = [&](const std::wstring& name) {
        handled.included.push_back(name);
        handled.options.push_back("<included " + narrowed(name) + ">");  // marks the position
    };
    for (const std::wstring& line : lines) applyVmOptionLine(line, handled.options, handled.overrides, actions);
    return handled;
}

constexpr FileLineStatus text = FileLineStatus::text;
constexpr FileLineStatus tooLong = FileLineStatus::tooLong;
constexpr FileLineStatus notText = FileLineStatus::notText;

}  // namespace

TEST(VmOptionsFileLines, SplitAtLineFeedsWhateverThePieceSize) {
    const struct {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"-Xmx1g\n-Xss1m\n", {{text, "-Xmx1g"}, {text, "-Xss1m"}}},
        {"-Xmx1g\r\n-Xss1m", {{text, "-Xmx1g\r"}, {text, "-Xss1m"}}},  // a last line without line end
        {"a\n\n\nb", {{text, "a"}, {text, ""}, {text, ""}, {text, "b"}}},
        {"\n", {{text, ""}}},
        {"", {}},
        // A NUL byte refuses the whole line, also the part behind it; the next line is untouched.
        {bytes("-Dx=a\0b\n-Xmx1g\n"), {{notText, ""}, {text, "-Xmx1g"}}},
        {bytes("\0"), {{notText, ""}}},
        // A UTF-16 file: every line holds NUL bytes, the one behind the last line feed too.
        {bytes("\xFF\xFE-\0X\0\n\0"), {{notText, ""}, {notText, ""}}},
    };
    for (const auto& c : cases) {
        for (size_t pieceSize : {1, 2, 3, 7, 4096}) {
            SCOPED_TRACE(testing::PrintToString(c.bytes) + " in pieces of " + std::to_string(pieceSize));
            EXPECT_EQ(splitLines(c.bytes, pieceSize), c.lines);
        }
    }
}

TEST(VmOptionsFileLines, AnOverLongLineIsRefusedWholeNeverSplitIntoOptions) {
    const std::string fits(kMaxVmOptionsLineLength, 'x');
    const std::string longer = fits + "-Xmx99g";  // its tail must not become an option of its own
    EXPECT_EQ(splitLines(fits + "\n-Xss1m\n", 4096), (Lines{{text, fits}, {text, "-Xss1m"}}));
    EXPECT_EQ(splitLines(longer + "\n-Xss1m\n", 4096), (Lines{{tooLong, ""}, {text, "-Xss1m"}}));
    EXPECT_EQ(splitLines(longer, 1000), (Lines{{tooLong, ""}}));
    // With a small limit, the edge: the limit itself fits, one more byte does not.
    EXPECT_EQ(splitLines("abcd\nabcde\nab", 2, 4), (Lines{{text, "abcd"}, {tooLong, ""}, {text, "ab"}}));
}

TEST(VmOptionsFileLines, TrimsBlanksOnlyAndSkipsEmptyAndCommentLinesBeforeExpansion) {
    const struct {
        const char* line;
        bool used;
        const char* trimmed;
    } cases[] = {
        {"-Xmx512m", true, "-Xmx512m"},
        {"   -Xmx512m   ", true, "-Xmx512m"},
        {"\t-Xmx512m", true, "\t-Xmx512m"},                // tabs are not blanks
        {"-Xmx512m\t", true, "-Xmx512m\t"},
        {"-Xmx512m\r", true, "-Xmx512m"},
        {"-Xmx512m \r\r", true, "-Xmx512m"},              // line end first, then blanks
        {"-Xmx512m\r \r", true, "-Xmx512m\r"},             // one pass each: a CR inside blanks stays
        {"-Xmx512m #remark", true, "-Xmx512m #remark"},    // a remark behind an option is part of it
        {"-Dname=a  b", true, "-Dname=a  b"},
        {"# a comment", false, "# a comment"},
        {"    # after blanks", false, "# after blanks"},
        {"\t# after a tab", true, "\t# after a tab"},
        {"#", false, "#"},
        {"", false, ""},
        {"    ", false, ""},
        {"\r", false, ""},
        {"${EMPTY_VARIABLE}", true, "${EMPTY_VARIABLE}"},  // may expand to nothing: an empty option
        {"\xEF\xBB\xBF# not a comment", true, "\xEF\xBB\xBF# not a comment"},  // a BOM is no blank
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.line)));
        std::string line = c.line;
        EXPECT_EQ(trimVmOptionsFileLine(line), c.used);
        EXPECT_EQ(line, c.trimmed);
    }
}

TEST(VmOptionLines, DirectivesAreExactPrefixesWithTheirBlank) {
    using D = VmOptionDirective;
    const struct {
        const wchar_t* line;
        D directive;
        const wchar_t* value;
    } cases[] = {
        {L"-include-options more.vmoptions", D::includeOptions, L"more.vmoptions"},
        {L"-include-options  two blanks", D::includeOptions, L" two blanks"},  // the second blank stays
        {L"-include-options", D::option, L"-include-options"},
        {L"-include-optionsx y", D::option, L"-include-optionsx y"},
        {L"-classpath a.jar;b.jar", D::replaceClassPath, L"a.jar;b.jar"},
        {L"-classpath  a.jar", D::replaceClassPath, L" a.jar"},
        {L"-classpath ", D::replaceClassPath, L""},
        {L"-classpath/p first.jar", D::prependClassPath, L"first.jar"},
        {L"-classpath/a last.jar", D::appendClassPath, L"last.jar"},
        {L"-classpath", D::option, L"-classpath"},
        {L"-classpath/x y.jar", D::option, L"-classpath/x y.jar"},
        {L"-classpath/a\tlast.jar", D::option, L"-classpath/a\tlast.jar"},
        {L"-CLASSPATH a.jar", D::option, L"-CLASSPATH a.jar"},
        {L"-cp a.jar", D::option, L"-cp a.jar"},
        {L" -classpath a.jar", D::option, L" -classpath a.jar"},
        {L"-Xmx1g -Xms1g", D::option, L"-Xmx1g -Xms1g"},  // one line, one option
        {L"\u00EF\u00BB\u00BF-classpath a.jar", D::option, L"\u00EF\u00BB\u00BF-classpath a.jar"},
        {L"", D::option, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.line)));
        VmOptionLine parsed = classifyVmOptionLine(c.line);
        EXPECT_EQ(parsed.directive, c.directive);
        EXPECT_EQ(parsed.value, c.value);
    }
}

TEST(VmOptionLines, OptionsKeepTheirOrderAndTheLastDirectiveOfEachKindWins) {
    Handled handled = handleLines({
        L"-Xmx1g",
        L"-classpath/a first.jar",
        L"-include-options a.vmoptions",
        L"-classpath/a second.jar",
        L"-classpath/p p.jar",
        L"-classpath r1.jar",
        L"-classpath r2.jar",
        L"-Dname=\u20AC",
        L"-include-options b.vmoptions",
    });
    EXPECT_EQ(handled.options, (VmOptionList{"-Xmx1g", "<included a.vmoptions>", "-Dname=?", "<included b.vmoptions>"}));
    EXPECT_EQ(handled.included, (std::vector<std::wstring>{L"a.vmoptions", L"b.vmoptions"}));
    EXPECT_EQ(handled.overrides.append, std::optional<std::string>("second.jar"));
    EXPECT_EQ(handled.overrides.prepend, std::optional<std::string>("p.jar"));
    EXPECT_EQ(handled.overrides.replace, std::optional<std::string>("r2.jar"));

    Handled none = handleLines({L"-Xmx1g"});
    EXPECT_FALSE(none.overrides.replace || none.overrides.prepend || none.overrides.append);
}

TEST(IncludeStack, RefusesAFileAlreadyBeingReadButNotOneReadBefore) {
    IncludeStack stack;
    ASSERT_EQ(stack.enter(L"a"), IncludeDecision::read);
    ASSERT_EQ(stack.enter(L"b"), IncludeDecision::read);
    EXPECT_EQ(stack.enter(L"a"), IncludeDecision::alreadyReading);  // b includes a: a cycle
    EXPECT_EQ(stack.enter(L"b"), IncludeDecision::alreadyReading);  // b includes itself
    stack.leave();
    EXPECT_EQ(stack.depth(), 1u);
    EXPECT_EQ(stack.enter(L"b"), IncludeDecision::read);  // a includes b a second time: fine
    stack.leave();
    stack.leave();
    EXPECT_EQ(stack.enter(L"a"), IncludeDecision::read);  // a later top-level read of a
}

TEST(IncludeStack, BoundsNestingAndTheNumberOfFilesRead) {
    IncludeStack stack(3, 5);
    for (const wchar_t* name : {L"1", L"2", L"3"}) ASSERT_EQ(stack.enter(name), IncludeDecision::read);
    EXPECT_EQ(stack.enter(L"4"), IncludeDecision::tooDeep);
    EXPECT_EQ(stack.depth(), 3u);
    stack.leave();
    EXPECT_EQ(stack.enter(L"4"), IncludeDecision::read);
    stack.leave();
    EXPECT_EQ(stack.enter(L"5"), IncludeDecision::read);
    stack.leave();
    // Five files were read: a sixth is refused even though the nesting would allow it, so files
    // that each include the next one twice cannot double the work at every level.
    EXPECT_EQ(stack.enter(L"6"), IncludeDecision::tooMany);
    EXPECT_EQ(stack.depth(), 2u);
    stack.leave();
    stack.leave();
    stack.leave();  // one more than entered does no harm
    EXPECT_EQ(stack.depth(), 0u);
}

TEST(ConfiguredVmOptions, IncludeOptionsTakesTheNextPiece) {
    const struct {
        std::vector<std::wstring> pieces;
        std::vector<std::wstring> lines;
    } cases[] = {
        {{L"-Xmx256m", L"-include-options", L"my file.vmoptions", L"-Dx=1"},
         {L"-Xmx256m", L"-include-options my file.vmoptions", L"-Dx=1"}},
        {{L"-Xmx256m", L"-include-options"}, {L"-Xmx256m", L"-include-options"}},  // last piece: an option
        {{L"-include-options", L"-include-options", L"x"}, {L"-include-options -include-options", L"x"}},
        {{L"-include-options a", L"-Dx=1"}, {L"-include-options a", L"-Dx=1"}},  // already one piece
        {{L"-Include-Options", L"a"}, {L"-Include-Options", L"a"}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.pieces));
        EXPECT_EQ(joinIncludePieces(c.pieces), c.lines);
    }
}

TEST(ConfiguredVmOptions, JArgumentsOnlyWhenAllowed) {
    const ArgumentVector arguments{L"-Jtool.exe", L"-J-Xmx1g", L"input.txt", L"-J", L"-j-Xss1m", L"x-J-Dy", L"-J-Dz=1"};
    EXPECT_EQ(commandLineVmOptions(arguments, true), (std::vector<std::wstring>{L"tool.exe", L"-Xmx1g", L"", L"-Dz=1"}));
    EXPECT_EQ(commandLineVmOptions(arguments, false), std::vector<std::wstring>{});
}

TEST(ConfiguredVmOptions, TheLastLocaleArgumentDecides) {
    const std::wstring t = L"-Dsun.locale.formatasdefault=true";
    const std::wstring f = L"-Dsun.locale.formatasdefault=false";
    const std::wstring empty = L"-Dsun.locale.formatasdefault=";
    const struct {
        ArgumentVector arguments;
        const char* language;
        const char* country;
        std::vector<std::wstring> options;
    } cases[] = {
        {{L"tool.exe", f, t}, "de", "CH", {t}},
        {{L"tool.exe", t, f}, "de", "CH", {f, L"-Duser.language=de", L"-Duser.country=CH"}},
        {{L"tool.exe", empty}, "de", "CH", {empty, L"-Duser.language=de", L"-Duser.country=CH"}},
        {{L"tool.exe", L"-Dsun.locale.formatasdefault=TRUE"}, "fr", "",
         {L"-Dsun.locale.formatasdefault=TRUE", L"-Duser.language=fr"}},
        {{L"tool.exe", t + L" "}, "de", "CH", {t + L" ", L"-Duser.language=de", L"-Duser.country=CH"}},
        {{L"tool.exe", f}, "", "", {f}},
        {{L"tool.exe", L"-Dsun.locale.formatasdefault", L"x"}, "de", "CH", {}},
        {{}, "de", "CH", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        EXPECT_EQ(localeVmOptions(c.arguments, c.language, c.country), c.options);
    }
}
