#include <gtest/gtest.h>

#include "windows/ClassPathText.h"

namespace {

std::string describe(const std::vector<ClassPathEntry>& entries) {
    std::string text;
    for (const ClassPathEntry& entry : entries)
        text += std::string(1, entry.letter) + (entry.mandatory ? "!" : "?") + "[" + entry.text + "]";
    return text;
}

// Steps that append fixed pieces and note that they ran.
struct RecordedSteps {
    std::vector<std::string> ran;
    ClassPathSteps steps(const std::string& temporary, const std::string& runtime, const std::string& configured) {
        ClassPathSteps s;
        s.temporaryArchives = [this, temporary](std::string& value) { ran.push_back("temporary"); value += temporary; };
        s.runtimeJar = [this, runtime](std::string& value) { ran.push_back("runtime"); value += runtime; };
        s.configuredEntries = [this, configured](std::string& value) { ran.push_back("configured"); value += configured; };
        return s;
    }
};

ClassPathOverrides overrides(std::optional<std::string> replace, std::optional<std::string> prepend,
                             std::optional<std::string> append) {
    return {replace, prepend, append};
}

}  // namespace

TEST(ClassPathEntries, LetterFlagAndText) {
    const struct {
        const char* configured;
        const char* entries;
    } cases[] = {
        {"S1..\\lib;S1..\\lib\\eclipse\\plugins;A1..\\bin\\quillmote.jar;A0..\\resource\\qmoruntime.jar;"
         "S0..\\extensions;D0..\\System\\Library\\Java;",
         "S![..\\lib]S![..\\lib\\eclipse\\plugins]A![..\\bin\\quillmote.jar]A?[..\\resource\\qmoruntime.jar]"
         "S?[..\\extensions]D?[..\\System\\Library\\Java]"},
        {";;EJAVA_LIBS;;;E1EXTRA;", "E?[AVA_LIBS]E![EXTRA]"},  // the J takes the flag's place: optional
        {"A1", "A![]"},
        {"A", "A?[]"},  // shorter than three characters: no text at all
        {"Ax${HOME}\\x.jar", "A?[${HOME}\\x.jar]"},
        {"a1lower;X1unknown", "a![lower]X![unknown]"},
        {"", ""},
        {";;;", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.configured);
        EXPECT_EQ(describe(parseClassPathEntries(c.configured)), c.entries);
    }
}

TEST(ClassPathEntries, ScannedNamesMustReallyEndInTheExtension) {
    const struct {
        const char* name;
        const char* extension;
        bool taken;
    } cases[] = {
        {"a.jar", "jar", true},     {"A.JAR", "jar", true},      {"lib.Jar", "jar", true},
        {"b.jarx", "jar", false},   {"x.jarjar", "jar", false},  {"x.jar.bak", "jar", false},
        {"c.zip", "zip", true},     {"c.zip", "jar", false},     {"d.ZIP", "zip", true},
        {".jar", "jar", true},      {"jar", "jar", false},       {"ajar", "jar", false},
        {"B~1.JAR", "jar", true},   {"", "jar", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " as " + c.extension);
        EXPECT_EQ(hasArchiveExtension(c.name, c.extension), c.taken);
    }
}

TEST(ClassPathEntries, ChildPathsHaveOneBackslash) {
    EXPECT_EQ(childPath("C:\\app\\lib", "a.jar"), "C:\\app\\lib\\a.jar");
    EXPECT_EQ(childPath("C:\\app\\lib\\", "a.jar"), "C:\\app\\lib\\a.jar");
    EXPECT_EQ(childPath("C:\\", "*.jar"), "C:\\*.jar");
}

TEST(ClassPathEntries, EnvironmentValues) {
    const struct {
        const char* value;
        const char* added;
    } cases[] = {
        {"C:\\libs\\a.jar", "C:\\libs\\a.jar;"},
        {"C:\\libs\\a.jar;", "C:\\libs\\a.jar;"},  // no second ';'
        {"\"C:\\my libs\\a.jar;C:\\b.jar\"", "C:\\my libs\\a.jar;C:\\b.jar;"},
        {"\"C:\\a.jar;\"", "C:\\a.jar;"},
        {"\"C:\\a.jar", "C:\\a.jar;"},
        {"a\"b", "a\"b;"},
        {"\"\"", ""},  // nothing left: no empty element
        {"\"", ""},
        {"", ""},
        {";", ";"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(environmentEntryText(c.value), c.added);
    }
}

TEST(ClassPathComposition, PartsInOrderWithOneTrailingSeparatorRemoved) {
    const std::nullopt_t unset = std::nullopt;
    const struct {
        ClassPathOverrides overrides;
        const char* temporary;
        const char* runtime;
        const char* configured;
        const char* option;
        std::vector<std::string> ran;
    } cases[] = {
        {overrides(unset, unset, unset), "", "", "C:\\a\\x.jar;C:\\b;", "-Djava.class.path=C:\\a\\x.jar;C:\\b",
         {"temporary", "runtime", "configured"}},
        {overrides("r.jar", "p.jar", "a.jar"), "T\\t.jar;", "R\\rt.jar;", "C.jar;",
         "-Djava.class.path=p.jar;T\\t.jar;R\\rt.jar;r.jar;a.jar", {"temporary", "runtime"}},
        {overrides(unset, "p.jar", "a.jar"), "T\\t.jar;", "R\\rt.jar;", "C.jar;",
         "-Djava.class.path=p.jar;T\\t.jar;R\\rt.jar;C.jar;a.jar", {"temporary", "runtime", "configured"}},
        // Replacement text comes without a following ';': the append adds one.
        {overrides("r1.jar;r2.jar", unset, "a.jar"), "", "", "", "-Djava.class.path=r1.jar;r2.jar;a.jar",
         {"temporary", "runtime"}},
        {overrides("r.jar;", unset, "a.jar;"), "", "", "", "-Djava.class.path=r.jar;a.jar", {"temporary", "runtime"}},
        {overrides("r.jar;;", unset, unset), "", "", "", "-Djava.class.path=r.jar;", {"temporary", "runtime"}},
        // Nothing before an append or behind a prepend makes no empty element (the working directory).
        {overrides(unset, unset, "a.jar"), "", "", "", "-Djava.class.path=a.jar", {"temporary", "runtime", "configured"}},
        {overrides("", unset, "a.jar"), "", "", "C.jar;", "-Djava.class.path=a.jar", {"temporary", "runtime"}},
        {overrides(unset, "p.jar;", unset), "", "", "", "-Djava.class.path=p.jar", {"temporary", "runtime", "configured"}},
        {overrides(unset, "", ""), "", "", "C.jar;", "-Djava.class.path=C.jar", {"temporary", "runtime", "configured"}},
        {overrides("", unset, unset), "", "", "C.jar;", "-Djava.class.path=", {"temporary", "runtime"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        RecordedSteps recorded;
        EXPECT_EQ(composeClassPathOption(c.overrides, recorded.steps(c.temporary, c.runtime, c.configured)), c.option);
        EXPECT_EQ(recorded.ran, c.ran);
    }
}

TEST(ClassPathComposition, StepsLeftOutAddNothing) {
    // The tarvo flavour has no runtime jar step.
    ClassPathSteps steps;
    steps.configuredEntries = [](std::string& value) { value += "C.jar;"; };
    EXPECT_EQ(composeClassPathOption(overrides(std::nullopt, "p.jar", std::nullopt), steps), "-Djava.class.path=p.jar;C.jar");
    EXPECT_EQ(composeClassPathOption(ClassPathOverrides{}, ClassPathSteps{}), "-Djava.class.path=");
}
